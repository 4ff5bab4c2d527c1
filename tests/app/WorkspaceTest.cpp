#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMdiArea>
#include <QPainter>
#include <QScreen>
#include <QMdiSubWindow>
#include <QTimer>

#include <cstdint>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "app/AppFixture.h"
#include "app/BatchRuns.h"
#include "app/ChildFrame.h"
#include "app/ResourceIds.h"
#include "dialogs/LandscapeDialogs.h"
#include "dialogs/MultiRunDialogs.h"
#include "dialogs/SquadSections.h"
#include "platform/FileDialog.h"

namespace brevimar::testing {
namespace {

using Workspace = AppTest;

TEST_F(Workspace, ANewBattlefieldWindowFitsAndTheWorkspaceScrolls)
{
    Hooks.CancelFile();  // the built-in 150 x 150 battlefield
    ASSERT_TRUE(Start());
    Frame().show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QMdiSubWindow* window = Frame().MdiArea()->activeSubWindow();
    ASSERT_NE(window, nullptr);
    const QRect room(QPoint(0, 0), Frame().MdiArea()->viewport()->size());
    EXPECT_TRUE(room.contains(window->geometry())) << window->geometry().width() << "x"
                                                   << window->geometry().height();
    // The 152 x 152 cells of 5 pixels are zoomed to fit, not trimmed.
    EXPECT_GE(window->widget()->height(), static_cast<int>(152 * 5 * Doc().ZoomFactor));
    EXPECT_GE(window->widget()->width(), static_cast<int>(152 * 5 * Doc().ZoomFactor));
    EXPECT_EQ(Frame().MdiArea()->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
}

TEST_F(Workspace, TheMainWindowTakesTheScreenAndANewFieldShowsWhole)
{
    Hooks.CancelFile();  // the built-in battlefield: 152 x 152 cells of 5 pixels
    ASSERT_TRUE(Start());
    QCoreApplication::processEvents();
    // The window with its frame and title bar: the free screen, no more.
    EXPECT_EQ(Frame().frameGeometry(), QGuiApplication::primaryScreen()->availableGeometry());
    QMdiSubWindow* window = Frame().MdiArea()->activeSubWindow();
    ASSERT_NE(window, nullptr);
    const QSize room = Frame().MdiArea()->viewport()->size();
    const QSize shown = window->widget()->size();
    const float zoom = Doc().ZoomFactor;
    // The whole picture is in the window, and the window in the workspace.
    EXPECT_GE(shown.width(), static_cast<int>(760 * zoom));
    EXPECT_GE(shown.height(), static_cast<int>(760 * zoom));
    EXPECT_TRUE(QRect(QPoint(0, 0), room).contains(window->geometry()));
    // The Zoom menu goes in quarters up to 200%: a quarter more would not fit.
    // (The window's own title bar and borders take their share of the room.)
    if (zoom < 2.0f) {
        const QSize inside = room - (window->size() - shown);
        const int larger = static_cast<int>(760 * (zoom + 0.25f));
        EXPECT_TRUE(larger > inside.width() || larger > inside.height()) << zoom << " " << inside.height();
    }
}

// An 80 x 80 field (82 x 82 cells of 5 pixels with its border, 410 pixels at
// 100%) opens at the largest zoom that fits the workspace, above 100% on a
// 1280 x 1024 screen. Every command that resets the display defaults returns
// to it, from a zoom the user chose as from the one the window opened with:
// the picture keeps its size and the Zoom menu ticks that zoom alone.
TEST_F(Workspace, ResetsReturnTheZoomTheWindowOpenedWith)
{
    using V = CBrevimarView;
    const std::string seeds = std::string(BREVIMAR_TEST_DATA) + "/../../fuzz/seeds/";
    auto Tick = [this] {
        Doc().Resume();
        View()->OnTimer(V::RunTimerId);
    };
    auto run = [this](unsigned id) { return [this, id] { ASSERT_TRUE(Frame().RunCommand(id)); }; };
    auto load = [this](unsigned id, std::string path) {
        return [this, id, path] {
            Hooks.AnswerFile(path);
            ASSERT_TRUE(Frame().RunCommand(id));
        };
    };
    struct Case {
        const char* what;
        std::function<void()> command;
    };
    const Case cases[] = {
        {"Edit RED Agents, OK with a value changed",
         [this] {
             Hooks.AnswerDialog(IDOK, {{IDC_LC_INJURED, "0.5"}});
             ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_RED_AGENTS));
         }},
        {"Load Agent Data File, Restart > Use Block Data, Go",
         [&] {
             load(V::ID_FILE_LOAD_AGENT_DATA, seeds + "agent_data/written.agt")();
             run(V::ID_RESTART_USE_BLOCK_DATA)();
             run(V::ID_RESTART_GO)();
         }},
        {"Load Input Data File", load(ID_FILE_LOAD_INPUT_DATA, Fixture("menu_v1.dat"))},
        {"Load Agent Data File", load(V::ID_FILE_LOAD_AGENT_DATA, seeds + "agent_data/written.agt")},
        {"Load Terrain Data File", load(V::ID_FILE_LOAD_TERRAIN, seeds + "terrain_data/written.ter")},
        // A batch mode chosen, then one tick of its batch, which sets the
        // forces up for its runs.
        {"Multiple Time-Series mode",
         [this, Tick] {
             Hooks.AnswerDialog(IDOK, {{CMultiRunParamsDlg::IDC_SAMPLES, "2"},
                                       {CMultiRunParamsDlg::IDC_RUN_TIME, "3"}});
             ASSERT_TRUE(Frame().RunCommand(V::ID_MULTIPLE_TIME_SERIES));
             Tick();
         }},
        {"Genetic algorithm mode",
         [this, Tick] {
             ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_GA_FIRST));
             CBrevimarDoc& doc = Doc();
             doc.Ga.GaPopulationSize = 3;
             doc.Ga.GaInitialConditions = 1;
             doc.Ga.GaMaxTimeToFlag = 3;
             doc.Experiment.GaGenerations = 1;
             Tick();
         }},
        {"Fitness landscape mode",
         [this, Tick] {
             Hooks.AnswerDialog(IDOK, {{CLandscapeRunParamsDlg::IDC_CONDITIONS, "1"},
                                       {CLandscapeRunParamsDlg::IDC_MAX_TIME, "3"}});
             Hooks.AnswerDialog(IDOK, {{CLandscapeParamsDlg::IDC_X_SAMPLES, "1"},
                                       {CLandscapeParamsDlg::IDC_Y_SAMPLES, "1"}});
             ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_LANDSCAPE));
             Tick();
         }},
    };
    for (const Case& c : cases)
        for (bool chosen : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (chosen ? ", after 50% was chosen" : ""));
            App = std::make_unique<CBrevimarApp>(&Hooks);
            Hooks.Reset();
            Hooks.AnswerFile(Fixture("menu_v2.dat"));
            ASSERT_TRUE(Start());
            CBrevimarDoc& doc = Doc();
            const float opened = doc.ZoomFactor;
            const std::map<float, unsigned> items{{1.25f, 33172}, {1.5f, 32911}, {1.75f, 33174}, {2.0f, 33173}};
            ASSERT_EQ(items.count(opened), 1u) << opened;
            const int side = static_cast<int>(410 * opened);
            if (chosen) {
                ASSERT_TRUE(Frame().RunCommand(33170));  // 50%
                ASSERT_EQ(View()->PictureSize(), QSize(205, 205));
            }
            c.command();
            EXPECT_EQ(doc.ZoomFactor, opened);
            EXPECT_EQ(View()->PictureSize(), QSize(side, side));
            CCmdUI tick(items.at(opened)), half(33170), whole(32910);
            for (CCmdUI* ui : {&tick, &half, &whole})
                View()->MessageMap().Update(*ui);
            EXPECT_TRUE(tick.Checked);
            EXPECT_FALSE(half.Checked);
            EXPECT_FALSE(whole.Checked);
        }
}

// small.dat's 80 x 80 field opens above 100% (its picture is 410 pixels at
// 100%), and a few steps of its battle are drawn, its RED force in the
// corner far below the 410 pixels. In each batch mode, chosen, running
// (painted from inside the batch's pump), paused and ended, the view shows
// the batch's 410-pixel picture and nothing of that battle: painted onto
// what it showed before, as onto its window, no pixel is an agent's red or
// blue, and none beside the picture is other than the white ground. A page
// printed then shows none of the battle either.
TEST_F(Workspace, ABatchModeShowsNothingOfTheInteractiveBattle)
{
    using V = CBrevimarView;
    const QRgb white = qRgb(255, 255, 255), red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
    const QRect batchPicture(0, 0, 410, 410);
    struct Mode {
        const char* what;
        unsigned command;
        std::function<bool(const CBrevimarDoc&)> ended;
    };
    const Mode modes[] = {
        {"Multiple Time-Series", V::ID_MULTIPLE_TIME_SERIES,
         [](const CBrevimarDoc& doc) { return doc.Series.MultiRunSample == 2 && doc.MultiRunEnded(); }},
        {"genetic algorithm", V::ID_RUN_MODE_GA_FIRST,
         [](const CBrevimarDoc& doc) {
             return doc.Experiment.GABusy == 0 && doc.Experiment.GaGeneration == doc.Experiment.GaGenerations;
         }},
        {"fitness landscape", V::ID_RUN_MODE_LANDSCAPE, [](const CBrevimarDoc& doc) { return doc.LandscapeEnded(); }},
    };
    for (const Mode& mode : modes) {
        SCOPED_TRACE(mode.what);
        App = std::make_unique<CBrevimarApp>(&Hooks);
        Hooks.Reset();
        Hooks.AnswerFile(Fixture("../../bench/data/small.dat"));
        ASSERT_TRUE(Start());
        CBrevimarDoc& doc = Doc();
        ASSERT_GT(doc.ZoomFactor, 1.0f);
        for (int k = 0; k < 3; ++k) {
            doc.Resume();
            View()->OnTimer(V::RunTimerId);
        }
        doc.Pause();
        QImage window(View()->size(), QImage::Format_RGB32);
        window.fill(qRgb(0, 200, 0));
        auto paint = [&] { View()->render(&window, QPoint(), QRegion(), QWidget::DrawChildren); };
        // What the view shows beside the batch's picture, and the agents'
        // colours anywhere.
        auto battlePixels = [&](const QImage& image, const QRect& picture) {
            int seen = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb p = image.pixel(x, y);
                    seen += p == red || p == blue || (!picture.contains(x, y) && p != white);
                }
            return seen;
        };
        paint();
        // Agents below the batch's picture, or nothing could stay of the battle.
        const QImage below = window.copy(0, 410, window.width(), window.height() - 410);
        ASSERT_GT(battlePixels(below, below.rect()), 0);

        auto expectNothingOfTheBattle = [&](const char* state) {
            paint();
            EXPECT_EQ(battlePixels(window, batchPicture), 0) << state;
            QImage page(600, 700, QImage::Format_RGB32);
            page.fill(white);
            {
                QPainter printer(&page);
                View()->PaintPage(printer, page.rect());
            }
            EXPECT_EQ(battlePixels(page, page.rect()), 0) << state << ", printed";
        };
        if (mode.command == V::ID_MULTIPLE_TIME_SERIES) {
            Hooks.AnswerDialog(IDOK, {{CMultiRunParamsDlg::IDC_SAMPLES, "2"}, {CMultiRunParamsDlg::IDC_RUN_TIME, "3"}});
            ASSERT_TRUE(Frame().RunCommand(mode.command));
        } else {
            ChooseBatch(Frame(), doc, mode.command);
        }
        ASSERT_GT(doc.RunMode, ReplayMode);
        expectNothingOfTheBattle("chosen");
        bool running = false;
        QTimer::singleShot(0, View(), [&] {
            running = doc.BatchBusy();
            expectNothingOfTheBattle("running");
            doc.Pause();
        });
        doc.Resume();
        View()->OnTimer(V::RunTimerId);
        EXPECT_TRUE(running);
        ASSERT_FALSE(mode.ended(doc));
        expectNothingOfTheBattle("paused");
        for (int k = 0; k < 20 && !mode.ended(doc); ++k) {
            doc.Resume();
            View()->OnTimer(V::RunTimerId);
        }
        ASSERT_TRUE(mode.ended(doc));
        expectNothingOfTheBattle("ended");
    }
}

TEST_F(Workspace, TheMainWindowOpensAtTheSizeLastUsed)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    Frame().resize(640, 500);
    App = std::make_unique<CBrevimarApp>(&Hooks);
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    EXPECT_EQ(Frame().size(), QSize(640, 500));
}

TEST_F(Workspace, CascadeKeepsWindowsAtAUsableSize)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    Frame().show();
    ASSERT_TRUE(Frame().RunCommand(ID_WINDOW_NEW));
    ASSERT_TRUE(Frame().RunCommand(ID_WINDOW_CASCADE));
    const QList<QMdiSubWindow*> windows = Frame().MdiArea()->subWindowList(QMdiArea::StackingOrder);
    ASSERT_EQ(windows.size(), 2);
    for (QMdiSubWindow* w : windows) {
        EXPECT_GE(w->width(), CMainFrame::MinCascadeSize);
        EXPECT_GE(w->height(), CMainFrame::MinCascadeSize);
    }
    EXPECT_EQ(windows[1]->pos() - windows[0]->pos(), QPoint(CMainFrame::CascadeStep, CMainFrame::CascadeStep));
}

TEST_F(Workspace, EveryWindowOnTheDocumentRepaintsAfterAStep)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    CBrevimarView* first = View();
    ASSERT_TRUE(Frame().RunCommand(ID_WINDOW_NEW));
    CBrevimarView* second = View();
    ASSERT_NE(first, second);
    const int before[] = {first->InvalidateCount(), second->InvalidateCount()};
    Doc().Resume();
    first->OnTimer(CBrevimarView::RunTimerId);
    EXPECT_GT(first->InvalidateCount(), before[0]);
    EXPECT_GT(second->InvalidateCount(), before[1]);
}

TEST_F(Workspace, StatusLineAndTitleFollowLoadsRestartsAndClosing)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    Hooks.AnswerFile(Fixture("menu_v2.dat"));
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_LOAD_INPUT_DATA));
    EXPECT_EQ(Frame().ActiveChildFrame()->windowTitle(), "menu_v2.dat");
    EXPECT_NE(Frame().StatusText().find("menu_v2.dat"), std::string::npos) << Frame().StatusText();

    // A stale count on the line is replaced by the restarted run's.
    Doc().RunHeader.RedAlive = 35;
    Frame().SetStatusText("stale");
    ASSERT_TRUE(Frame().RunCommand(CBrevimarView::ID_RESTART_GO));
    EXPECT_NE(Frame().StatusText().find("[RED/3] Alive 3 "), std::string::npos) << Frame().StatusText();
    Frame().SetStatusText("stale");
    ASSERT_TRUE(Frame().RunCommand(CBrevimarView::ID_RANDOMIZE));
    EXPECT_NE(Frame().StatusText().find("[RED/3] Alive 3 "), std::string::npos) << Frame().StatusText();

    Frame().MdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame().StatusText(), StatusPaneRestText);
}

// With two documents open the status line speaks of the active window's: a
// document whose window is not active writes nothing on it, and its own last
// text comes back when its window is activated; at rest, running, in a batch
// and after its run was ended.
TEST_F(Workspace, TheStatusLineFollowsTheActiveWindow)
{
    using V = CBrevimarView;
    Hooks.AnswerFile(Fixture("menu_v2.dat"));
    ASSERT_TRUE(Start());
    CChildFrame* first = Frame().ActiveChildFrame();
    CBrevimarView* firstView = View();
    auto tick = [](CBrevimarView* view, int n) {
        for (int k = 0; k < n; ++k) {
            view->GetDocument()->Resume();
            view->OnTimer(V::RunTimerId);
        }
        view->GetDocument()->Pause();
    };
    tick(firstView, 2);
    App->OpenDocumentFile(Fixture("scenario_v1.dat"));
    CChildFrame* second = Frame().ActiveChildFrame();
    CBrevimarView* secondView = View();
    ASSERT_NE(first, second);
    tick(secondView, 3);
    auto shows = [this](const std::string& file, const std::string& count) {
        const std::string line = Frame().StatusText();
        return line.find(file) != std::string::npos && line.find(count) != std::string::npos;
    };
    EXPECT_TRUE(shows("scenario_v1.dat", "[ TIME ]: 3 ")) << Frame().StatusText();

    Frame().MdiArea()->setActiveSubWindow(first);
    EXPECT_TRUE(shows("menu_v2.dat", "[ TIME ]: 2 ")) << Frame().StatusText();
    tick(secondView, 1);  // the other document's run goes on unseen
    EXPECT_TRUE(shows("menu_v2.dat", "[ TIME ]: 2 ")) << Frame().StatusText();
    Frame().MdiArea()->setActiveSubWindow(second);
    EXPECT_TRUE(shows("scenario_v1.dat", "[ TIME ]: 4 ")) << Frame().StatusText();

    Hooks.AnswerDialog(IDOK, {{CMultiRunParamsDlg::IDC_SAMPLES, "2"}, {CMultiRunParamsDlg::IDC_RUN_TIME, "3"}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_MULTIPLE_TIME_SERIES));
    EXPECT_TRUE(shows("scenario_v1.dat", "[ Samples ]: 0/2")) << Frame().StatusText();
    Frame().MdiArea()->setActiveSubWindow(first);
    EXPECT_TRUE(shows("menu_v2.dat", "[ TIME ]: 2 ")) << Frame().StatusText();
    tick(secondView, 1);  // the batch runs unseen
    EXPECT_TRUE(shows("menu_v2.dat", "[ TIME ]: 2 ")) << Frame().StatusText();

    ASSERT_TRUE(Frame().RunCommand(V::ID_TERMINATE_RUN));
    EXPECT_TRUE(shows("menu_v2.dat", "[ TIME ]: 501 ")) << Frame().StatusText();
    Frame().MdiArea()->setActiveSubWindow(second);
    EXPECT_TRUE(shows("scenario_v1.dat", "[ Samples ]: 2/2")) << Frame().StatusText();
    Frame().MdiArea()->setActiveSubWindow(first);
    EXPECT_TRUE(shows("menu_v2.dat", "[ TIME ]: 501 ")) << Frame().StatusText();

    // Closing the active window shows the one that becomes active.
    first->close();
    QCoreApplication::processEvents();
    ASSERT_EQ(Frame().ActiveChildFrame(), second);
    EXPECT_TRUE(shows("scenario_v1.dat", "[ Samples ]: 2/2")) << Frame().StatusText();
}

// The title names the file on show, however it came to be shown; a second
// window on the document keeps its number under the new name.
TEST_F(Workspace, TheTitleNamesTheFileOnShowHoweverItCameThere)
{
    using V = CBrevimarView;
    auto run = [this](unsigned id, const std::string& answer) {
        Hooks.AnswerFile(Fixture(answer));
        ASSERT_TRUE(Frame().RunCommand(id));
    };
    const struct {
        const char* way;
        const char* startUpFile;
        std::function<void()> then;
        const char* titles;  // of every window, in the order they opened
    } rows[] = {
        {"the start-up chooser", "menu_v1.dat", [] {}, "menu_v1.dat"},
        {"Terminate Run from a GA, answered with another scenario", "scenario_v4.dat",
         [&] {
             ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_GA_FIRST));
             run(V::ID_TERMINATE_RUN, "menu_v2.dat");
         },
         "menu_v2.dat"},
        {"Playback Stored Run", "scenario_v1.dat", [&] { run(V::ID_RUN_MODE_PLAYBACK, "stored_400.run"); },
         "stored_400.run"},
        {"a load in a second window", "menu_v1.dat",
         [&] {
             ASSERT_TRUE(Frame().RunCommand(ID_WINDOW_NEW));
             run(ID_FILE_LOAD_INPUT_DATA, "menu_v2.dat");
         },
         "menu_v2.dat | menu_v2.dat:2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.way);
        App = std::make_unique<CBrevimarApp>(&Hooks);
        Hooks.AnswerFile(Fixture(row.startUpFile));
        ASSERT_TRUE(Start());
        row.then();
        QStringList titles;
        for (QMdiSubWindow* window : Frame().MdiArea()->subWindowList())
            titles << window->windowTitle();
        EXPECT_EQ(titles.join(" | ").toStdString(), row.titles);
    }
}

// A window is retitled when the name or its number changes, not after every
// command. Each row starts with every title overwritten by hand: a title
// the command left so was not set again.
TEST_F(Workspace, TheTitleIsSetOnlyWhenTheNameOrTheNumberChanges)
{
    using V = CBrevimarView;
    Hooks.AnswerFile(Fixture("menu_v1.dat"));
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Frame().RunCommand(ID_WINDOW_NEW));
    const struct {
        const char* way;
        unsigned command;
        const char* answer;  // the file chosen, if the command asks for one
        const char* titles;  // of every window, in the order they opened
    } rows[] = {
        {"Pause", V::ID_PAUSE, nullptr, "by hand | by hand"},
        {"Restart, which rewrites the status line", V::ID_RESTART_GO, nullptr, "by hand | by hand"},
        {"another scenario", ID_FILE_LOAD_INPUT_DATA, "menu_v2.dat", "menu_v2.dat | menu_v2.dat:2"},
        {"a third window", ID_WINDOW_NEW, nullptr, "menu_v2.dat | menu_v2.dat:2 | menu_v2.dat:3"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.way);
        for (QMdiSubWindow* window : Frame().MdiArea()->subWindowList())
            window->setWindowTitle("by hand");
        if (row.answer)
            Hooks.AnswerFile(Fixture(row.answer));
        ASSERT_TRUE(Frame().RunCommand(row.command));
        QStringList titles;
        for (QMdiSubWindow* window : Frame().MdiArea()->subWindowList())
            titles << window->windowTitle();
        EXPECT_EQ(titles.join(" | ").toStdString(), row.titles);
    }
}

// A file refused as a new document opens leaves the built-in scenario,
// which no file names: the status line names none, and the window is named
// as a Cancel in the start-up chooser names it, "Brevimar" and the
// document's number, however the file came.
TEST_F(Workspace, ARefusedFileLeavesTheWindowUnnamedAsTheStatusLine)
{
    std::ifstream small(std::string(BREVIMAR_TEST_DATA) + "/../../bench/data/small.dat", std::ios::binary);
    std::string head(300, '\0');
    ASSERT_TRUE(small.read(head.data(), 300));
    const std::string truncated = WriteTemp("trunc.dat", head);
    const std::string sparse = WriteSparse("sparse.dat", std::uintmax_t{300} << 20);
    FedPipe pipe("pipe.dat", head);
    const struct {
        const char* way;
        std::string path;
        bool recent;
        const char* titles;  // of every window, in the order they opened
    } rows[] = {
        {"the first 300 bytes of small.dat on the command line", truncated, false, "Brevimar1"},
        {"a sparse file of 300 MB on the command line", sparse, false, "Brevimar1"},
        {"a FIFO from the recent-file list", pipe.Path, true, "Brevimar1 | Brevimar2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.way);
        App = std::make_unique<CBrevimarApp>(&Hooks);
        Hooks.Reset();
        if (row.recent) {
            Hooks.CancelFile();
            ASSERT_TRUE(Start());
            App->RecentFiles().Add(row.path);
            ASSERT_TRUE(Frame().RunCommand(ID_FILE_MRU_FILE1));
        } else {
            ASSERT_TRUE(Start({QString::fromStdString(row.path)}));
        }
        ASSERT_EQ(Doc().InputFileName, "");
        QStringList titles;
        for (QMdiSubWindow* window : Frame().MdiArea()->subWindowList())
            titles << window->windowTitle();
        EXPECT_EQ(titles.join(" | ").toStdString(), row.titles);
        const std::string name = QFileInfo(QString::fromStdString(row.path)).fileName().toStdString();
        EXPECT_EQ(Frame().StatusText().find(name), std::string::npos) << Frame().StatusText();
    }
}

TEST(FileChooser, StartsOnTheFilterOfTheDefaultExtension)
{
    const auto filters =
        ParseFilterString("Brevimar Input Data Files (*.dat)|*.dat|Brevimar RUN Files (*.run)|*.run||");
    struct Case {
        const char* Extension;
        std::size_t Index;
    } cases[] = {{"dat", 0}, {"run", 1}, {".run", 1}, {"RUN", 1}, {"out", 0}, {"", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(InitialFilterIndex(filters, c.Extension), c.Index) << c.Extension;
}

}  // namespace
}  // namespace brevimar::testing
