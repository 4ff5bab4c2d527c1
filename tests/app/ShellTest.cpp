// The main window's shell: the map legend, the Window menu, the choosers'
// titles and the stored settings.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QScreen>

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>

#include "app/AppFixture.h"
#include "app/HelpWindow.h"
#include "app/ResourceIds.h"
#include "core/FileFilters.h"
#include "files/FileCommandFrame.h"

namespace brevimar::testing {
namespace {

using Shell = AppTest;

TEST_F(Shell, LegendNamesTheColoursOfTheMapOnShow)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    CBrevimarDoc& d = Doc();
    d.BackgroundToggle = 1;  // white ground
    // Each row is a menu choice from a field with no map; the words come from
    // what the drawing puts in the cells: red/blue territory cells, black
    // crosses (RED) and black squares (BLUE) on white, a grey ramp of moves.
    struct Case {
        std::vector<unsigned> Ids;
        const char* Expected;
    } cases[] = {
        {{}, ""},
        {{33166}, "Territory: RED-held cells red"},
        {{33165}, "Territory: RED-held cells red, BLUE-held cells blue"},
        {{33107}, "Kill map: RED killed: black crosses, BLUE killed: black squares"},
        {{33108, 33114}, "Kill map, agents hidden: RED killed: black crosses"},
        // Kill-only with no side's kills shown: the empty field is explained.
        {{33114}, "Kill map: agents hidden and no side's kills chosen, so the field is empty"},
        {{33132}, "Activity (BLUE moves): black none, grey to white more moves nearby"},
        {{33136}, "Activity (RED and BLUE moves): black none, grey to white more moves nearby"},
        {{33175}, "Battle front: front cells black"},
        {{33257, 33175}, "Battle front: grey from white (weak front) to black (strong front)"},
    };
    for (const Case& c : cases) {
        d.KillMapOnly = d.KillMapRed = d.KillMapBlue = 0;
        d.TerritoryMapRed = d.TerritoryMapBlue = d.RedActivityMapOn = d.BlueActivityMapOn = d.BattleFrontOn = 0;
        d.BattleFrontGrayscale = 0;
        d.BattleFrontSolid = 1;
        Frame().RefreshLegend();
        for (unsigned id : c.Ids)
            ASSERT_TRUE(Frame().RunCommand(id)) << id;
        EXPECT_EQ(Frame().LegendText(), c.Expected) << c.Expected;
    }
}

TEST_F(Shell, WindowMenuListsTheOpenWindowsAndCtrlF4ClosesTheActiveOne)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Frame().RunCommand(ID_WINDOW_NEW));
    QCoreApplication::processEvents();
    ASSERT_EQ(Frame().MdiArea()->subWindowList().size(), 2);
    QMenu* windowMenu = nullptr;
    for (QMenu* menu : Frame().ShownMenus())
        if (menu->title() == "&Window")
            windowMenu = menu;
    ASSERT_NE(windowMenu, nullptr);
    auto listed = [&] {
        emit windowMenu->aboutToShow();
        std::vector<QAction*> items;
        for (QAction* a : windowMenu->actions())
            if (!a->isSeparator() && a->data().toUInt() == 0)
                items.push_back(a);
        return items;
    };
    std::vector<QAction*> items = listed();
    ASSERT_EQ(items.size(), 2u);
    QMdiSubWindow* first = Frame().MdiArea()->subWindowList().front();
    EXPECT_TRUE(items[0]->text().startsWith("&1 "));
    EXPECT_TRUE(items[0]->text().endsWith(first->windowTitle()));
    EXPECT_FALSE(items[0]->isChecked());  // the new window is the active one
    EXPECT_TRUE(items[1]->isChecked());
    items[0]->trigger();
    EXPECT_EQ(Frame().MdiArea()->activeSubWindow(), first);
    EXPECT_EQ(listed().size(), 2u);  // opening again does not add a second list

    QAction* close = nullptr;
    for (QAction* a : Frame().actions())
        if (a->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_F4))
            close = a;
    ASSERT_NE(close, nullptr);
    close->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(Frame().MdiArea()->subWindowList().size(), 1);
    EXPECT_NE(Frame().MdiArea()->subWindowList().front(), first);
    EXPECT_EQ(listed().size(), 1u);
}

TEST_F(Shell, TheMainWindowOpensWholeOnTheScreenAndKeepsItsSize)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    QCoreApplication::processEvents();
    const QRect room = Frame().screen()->availableGeometry();
    EXPECT_TRUE(room.contains(Frame().frameGeometry()))
        << Frame().frameGeometry().y() << " " << Frame().frameGeometry().height() << " in " << room.height();
    // A size of the user's own, left with File > Exit, is the next run's.
    Frame().setWindowState(Qt::WindowNoState);
    Frame().setGeometry(QRect(room.topLeft() + QPoint(60, 70), QSize(700, 500)));
    QCoreApplication::processEvents();
    ASSERT_TRUE(Frame().RunCommand(ID_APP_EXIT));
    App.reset();
    QCoreApplication::processEvents();
    App = std::make_unique<CBrevimarApp>(&Hooks);
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    QCoreApplication::processEvents();
    EXPECT_FALSE(Frame().isMaximized());
    EXPECT_EQ(Frame().size(), QSize(700, 500));
}

TEST_F(Shell, ChartWindowsCascadeAndTheWindowMenuBringsThemBack)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    QPointer<QWidget> charts[2];
    for (QPointer<QWidget>& chart : charts) {
        Hooks.AnswerDialog(IDOK);
        ASSERT_TRUE(Frame().RunCommand(CBrevimarView::ID_COMBAT_ENTROPY_GRAPH));
        chart = View()->LastChartWindow;
        ASSERT_FALSE(chart.isNull());
    }
    QCoreApplication::processEvents();
    // Stepped down and right, so that each title bar stays in sight.
    const QPoint step = charts[1]->pos() - charts[0]->pos();
    EXPECT_GT(step.x(), 0);
    EXPECT_GT(step.y(), 0);
    EXPECT_TRUE(charts[0]->screen()->availableGeometry().contains(charts[1]->frameGeometry().topLeft()));

    // Listed after the battlefield window; choosing one brings it back.
    charts[0]->showMinimized();
    QCoreApplication::processEvents();
    QMenu* windowMenu = nullptr;
    for (QMenu* menu : Frame().ShownMenus())
        if (menu->title() == "&Window")
            windowMenu = menu;
    ASSERT_NE(windowMenu, nullptr);
    emit windowMenu->aboutToShow();
    QStringList listed;
    QAction* first = nullptr;
    for (QAction* a : windowMenu->actions())
        if (!a->isSeparator() && a->data().toUInt() == 0) {
            listed << a->text();
            if (a->text().startsWith("&2 "))
                first = a;
        }
    const QString caption = "2D Graph::Carvalho-Rodrigues Combat Entropy";
    EXPECT_EQ(listed.join(" | ").toStdString(),
              ("&1 " + Frame().MdiArea()->subWindowList().front()->windowTitle() + " | &2 " + caption + " | &3 " + caption)
                  .toStdString());
    ASSERT_NE(first, nullptr);
    first->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(charts[0]->isMinimized());
    EXPECT_TRUE(charts[0]->isVisible());
    EXPECT_EQ(QApplication::activeWindow(), charts[0].data());
}

// The guide's keys in a chart window: F1 opens the guide, Ctrl+F4 closes
// the chart and leaves the battlefield window open.
TEST_F(Shell, F1AndCtrlF4WorkInAChartWindow)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    // The splash window takes the first key.
    QKeyEvent anyKey(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(View(), &anyKey);
    ASSERT_FALSE(App->Splash().IsShown());
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Frame().RunCommand(CBrevimarView::ID_COMBAT_ENTROPY_GRAPH));
    const QPointer<QWidget> chart = View()->LastChartWindow;
    ASSERT_TRUE(chart);
    const auto press = [&chart](QKeyCombination key) {
        chart->activateWindow();
        QCoreApplication::processEvents();
        ASSERT_EQ(QApplication::activeWindow(), chart.data());
        QKeyEvent event(QEvent::KeyPress, key.key(), key.keyboardModifiers());
        QCoreApplication::sendEvent(chart, &event);
        QCoreApplication::processEvents();
    };
    const auto helpShown = [] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        return std::any_of(windows.begin(), windows.end(),
                           [](QWidget* w) { return dynamic_cast<CHelpWindow*>(w) && w->isVisible(); });
    };
    ASSERT_FALSE(helpShown());
    press(Qt::Key_F1);
    EXPECT_TRUE(helpShown());
    press(Qt::CTRL | Qt::Key_F4);
    EXPECT_TRUE(chart.isNull());
    EXPECT_EQ(Frame().MdiArea()->subWindowList().size(), 1);
}

TEST_F(Shell, FilesOpenedFromTheMenusJoinTheRecentFiles)
{
    // The start-up chooser's scenario, then a stored run and a second
    // scenario from the File menu: newest first.
    Hooks.AnswerFile(Fixture("menu_v1.dat"));
    ASSERT_TRUE(Start());
    Hooks.AnswerFile(Fixture("stored_400.run"));
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_LOAD_RUN));
    Hooks.AnswerFile(Fixture("menu_v2.dat"));
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_LOAD_INPUT_DATA));
    // A file that is refused does not join.
    const std::string bad = ::testing::TempDir() + "/not_a_scenario.dat";
    { std::ofstream(bad) << "nonsense\n"; }
    Hooks.AnswerFile(bad);
    Hooks.AnswerMessage(IDOK);
    Frame().RunCommand(ID_FILE_LOAD_INPUT_DATA);
    std::vector<std::string> names;
    for (const std::string& path : App->RecentFiles().Files())
        names.push_back(QFileInfo(QString::fromStdString(path)).fileName().toStdString());
    EXPECT_EQ(names, (std::vector<std::string>{"menu_v2.dat", "stored_400.run", "menu_v1.dat"}));
    // Kept under the program's own name, in its settings file.
    const QString file = QSettings(CRecentFileList::ProfileName, CRecentFileList::ApplicationName).fileName();
    EXPECT_FALSE(file.contains("AppWizard")) << file.toStdString();
    EXPECT_TRUE(file.contains("Brevimar/Brevimar")) << file.toStdString();
}

TEST_F(Shell, SwitchingDataCollectionOnKeepsTheZoomAndSaysSo)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    CBrevimarDoc& d = Doc();
    d.Statistics.DataCollectionOn = 0;
    d.Resume();
    for (int i = 0; i < 4; ++i)
        View()->OnTimer(CBrevimarView::RunTimerId), d.Resume();
    ASSERT_TRUE(Frame().RunCommand(33173));  // 200%
    const int step = d.RunHeader.CurrentStep;
    const int x = d.RedForce.AgentX[1];
    ASSERT_TRUE(Frame().RunCommand(32958));
    EXPECT_EQ(d.Statistics.DataCollectionOn, 1);
    EXPECT_EQ(d.ZoomFactor, 2.0f);
    EXPECT_EQ(d.RunHeader.CurrentStep, step);
    EXPECT_EQ(d.RedForce.AgentX[1], x);
    EXPECT_NE(Frame().StatusText().find("Data collection"), std::string::npos) << Frame().StatusText();
}

TEST(Help, NamesOnlyWaysThatExistAndExplainsEveryStatusCode)
{
    QFile file(":/brevimar/help.html");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString help = QString::fromUtf8(file.readAll());
    // No menu has a File > Open item.
    EXPECT_FALSE(help.contains("File &gt; Open"));
    // The codes as the status lines of the batch runs print them.
    for (const char* code : {"[ G ]", "[ P ]", "[ IC ]", "[ T ]", "[ F_max ]", "[ x ]", "[ y ]", "[ Samples ]",
                             "[ Time ]", "[ TIME ]"})
        EXPECT_TRUE(help.contains(code)) << code;
    for (const char* topic : {"<h2>Charts</h2>", "<h2>Batch experiments</h2>", "Ctrl+O while no battlefield window"})
        EXPECT_TRUE(help.contains(topic)) << topic;
    // A chart window is drawn once, and two charts do not wait for data
    // collection (MenuEnabling holds the menu to the guide's account).
    EXPECT_FALSE(help.contains("follows the run"));
    EXPECT_TRUE(help.contains("Attrition and combat entropy are always offered"));
    // What a hand edit in a paused batch and Restart keep, as they keep it.
    EXPECT_TRUE(help.contains("one taken off is\nmissing from every later sample"));
    EXPECT_TRUE(help.contains("On-the-Fly changes included"));
}

TEST(FileChoosers, EachFilterNamesItsOwnFileTypeAndEachChooserItsOwnTitle)
{
    // The words that name each file type, from the File menu's items.
    const std::map<std::string, std::string> kinds = {
        {"agt", "Agent Input"},       {"awp", "Agent Weapon"},      {"wp", "Squad Weapon"},
        {"cmw", "Comm Matrix"},       {"smw", "Squad Matrix"},      {"ter", "Terrain Input"},
        {"tma", "Terrain-Modified"},  {"pth", "Waypoint Path"},     {"dat", "Input Data"},
        {"run", "RUN"},               {"out", "OUT"},               {"vlx", "VLX"},
        {"brv", "Brevimar Files"},    {"fit", "Fitness"},           {"att", "Attrition"},
        {"mtg", "Graph"},             {"mts", "Sample"},            {"cdm", "Capacity Dimension"},
        {"rwd", "Raw Weapon"},        {"ga1", "GA1"},               {"ga2", "GA2"},
        {"lnd", "Landscape"},
    };
    std::set<std::string> titles;
    for (const FileCommandSpec& spec : FileCommandTable()) {
        EXPECT_TRUE(titles.insert(spec.Title).second) << "title used twice: " << spec.Title;
        // "Description (*.x)|*.x|...||": pairs up to the empty entry.
        const std::string filter = spec.Filter;
        std::vector<std::string> parts;
        for (std::size_t at = 0, bar; (bar = filter.find('|', at)) != std::string::npos; at = bar + 1)
            parts.push_back(filter.substr(at, bar - at));
        ASSERT_GE(parts.size(), 2u) << filter;
        for (std::size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
            const std::string& description = parts[i];
            const std::string& pattern = parts[i + 1];
            ASSERT_EQ(pattern.rfind("*.", 0), 0u) << filter;
            EXPECT_TRUE(description.ends_with("(" + pattern + ")")) << description;
            const auto kind = kinds.find(pattern.substr(2));
            ASSERT_NE(kind, kinds.end()) << pattern;
            EXPECT_NE(description.find(kind->second), std::string::npos) << description;
        }
    }
    EXPECT_NE(std::string(TerrainFileFilter).find("Terrain Input"), std::string::npos);
}

}  // namespace
}  // namespace brevimar::testing
