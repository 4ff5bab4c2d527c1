#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPixmap>
#include <QSaveFile>

#include <algorithm>
#include <fstream>
#include <vector>

#include "app/AppFixture.h"
#include "app/Pictures.h"
#include "app/ResourceIds.h"

namespace brevimar::testing {
namespace {

// The interactive status line up to the RED counts, and the BLUE label.
void ExpectRunStatusLine(CBrevimarDoc& doc, const std::string& status)
{
    const std::string head = " " + doc.InputFileName + "       [ TIME ]: " + std::to_string(doc.RunHeader.CurrentStep) +
                             "      [RED/" + std::to_string(doc.NumRed()) + "] Alive ";
    EXPECT_EQ(status.substr(0, head.size()), head);
    EXPECT_NE(status.find("   [BLUE/" + std::to_string(doc.NumBlue()) + "] Alive "), std::string::npos) << status;
    EXPECT_NE(status.find("  / Injured "), std::string::npos) << status;
}

void RunTicks(CBrevimarView& view, int count)
{
    for (int i = 0; i < count; ++i)
        view.OnTimer(CBrevimarView::RunTimerId);
}

using Startup = AppTest;

TEST_F(Startup, CancelledStartupDialogKeepsTheDefaultsAndTheRunAdvances)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    ASSERT_EQ(FileDialogsShown(), 1);
    EXPECT_EQ(Hooks.Log().front().Result, IDCANCEL);
    EXPECT_NE(Hooks.Log().front().Text.find("*.dat"), std::string::npos);

    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(Frame().StatusText(), "Attrition Tally-Board");
    EXPECT_TRUE(Frame().DocumentMenuShown());
    ASSERT_NE(View(), nullptr);
    EXPECT_TRUE(View()->HasTimer(42));
    EXPECT_EQ(Doc().RunMode, InteractiveMode);
    const int side = Doc().Battlefield.BattleSize;
    // At the zoom the new window was fitted with.
    const int extent = static_cast<int>(5 * (side + 2) * Doc().ZoomFactor);
    EXPECT_EQ(View()->GetTotalSize(), QSize(extent, extent));

    // A tick at step 1 pauses the run; a left click resumes it.
    RunTicks(*View(), 2);
    ASSERT_EQ(Doc().Paused, 1);
    View()->OnLButtonUp(0, QPoint(10, 10));
    ASSERT_EQ(Doc().Paused, 0);
    const int before = Doc().RunHeader.CurrentStep;
    RunTicks(*View(), 5);
    EXPECT_EQ(Doc().RunHeader.CurrentStep, before + 5);
    ExpectRunStatusLine(Doc(), Frame().StatusText());
}

TEST_F(Startup, StartupDialogAnsweredWithAScenarioFile)
{
    Hooks.AnswerFile(Fixture("scenario_v1.dat"));
    ASSERT_TRUE(Start());
    EXPECT_EQ(FileDialogsShown(), 1);
    EXPECT_EQ(Doc().Battlefield.BattleSize, 80);
    // 82 cells of 5 pixels, at the zoom the new window was fitted with.
    EXPECT_EQ(View()->GetTotalSize(), QSize(static_cast<int>(410 * Doc().ZoomFactor), static_cast<int>(410 * Doc().ZoomFactor)));
    EXPECT_FALSE(Doc().InputFileName.empty());

    RunTicks(*View(), 2);
    Doc().Resume();
    RunTicks(*View(), 3);
    ExpectRunStatusLine(Doc(), Frame().StatusText());
}

TEST_F(Startup, FileOnTheCommandLineIsReadWithoutAsking)
{
    const std::string path = Fixture("scenario_v2.dat");
    ASSERT_TRUE(Start({QString::fromStdString(path)}));
    EXPECT_EQ(FileDialogsShown(), 0);
    EXPECT_FALSE(Doc().InputFileName.empty());
    ASSERT_FALSE(App->RecentFiles().Files().empty());
    EXPECT_EQ(App->RecentFiles().Files().front(), QDir(QString::fromStdString(path)).absolutePath().toStdString());

    // A later File/New asks again.
    Hooks.CancelFile();
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_NEW));
    EXPECT_EQ(FileDialogsShown(), 1);
    EXPECT_EQ(App->DocTemplate().DocumentCount(), 2u);
}

// A start-up file that the reader refuses is no file opened: it is named in
// a message, stays out of the recent files and leaves the built-in scenario a
// Cancel gives, whether the chooser or the command line named it.
TEST_F(Startup, RefusedStartupFileLeavesTheBuiltInScenarioAndStaysOutOfTheRecentFiles)
{
    // The boxes and the deployment of both sides.
    const auto deployment = [](CBrevimarDoc& doc) {
        std::vector<int> values = {doc.Battlefield.R_box_l[1], doc.Battlefield.B_box_w[1]};
        for (const Side side : {Side::Red, Side::Blue})
            for (int i = 1; i <= doc.Force(side).NumAgents; ++i)
                values.insert(values.end(), {doc.Force(side).AgentX[i], doc.Force(side).AgentY[i]});
        return values;
    };
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    const std::vector<int> cancelled = deployment(Doc());
    ASSERT_EQ(cancelled.size(), 2u + 2 * 20);
    EXPECT_GT(cancelled[0], 0);

    const std::string folder = TempFolder();
    const std::string bad = folder + "/refused_at_startup.dat", vlx = folder + "/x.vlx", txt = folder + "/scenario.txt";
    std::ofstream(bad) << "nonsense\n";
    std::ofstream(vlx) << FixtureText("scenario_v4.dat");
    std::ofstream(txt) << FixtureText("scenario_v4.dat");
    for (const std::string& path : {bad, vlx, txt}) {
        for (const bool commandLine : {false, true}) {
            App.reset();
            Hooks.Reset();
            App = std::make_unique<CBrevimarApp>(&Hooks);
            if (!commandLine)
                Hooks.AnswerFile(path);
            Hooks.AnswerMessage(IDOK);
            ASSERT_TRUE(commandLine ? Start({QString::fromStdString(path)}) : Start()) << path;
            const auto message = std::find_if(Hooks.Log().begin(), Hooks.Log().end(),
                                               [](const ModalRecord& r) { return r.Kind == ModalKind::MessageBox; });
            ASSERT_NE(message, Hooks.Log().end()) << path;
            EXPECT_EQ(message->Text.rfind("Error: cannot read input file " + path + ":\n", 0), 0u) << message->Text;
            EXPECT_TRUE(App->RecentFiles().Files().empty()) << path;
            EXPECT_EQ(Doc().InputFileName, "") << path;
            EXPECT_EQ(deployment(Doc()), cancelled) << path << (commandLine ? " on the command line" : "");
        }
    }
}

TEST_F(Startup, NoFreeTimerEndsStartupWithTheMessage)
{
    Hooks.SetTimersAvailable(false);
    EXPECT_FALSE(Start());
    ASSERT_FALSE(Hooks.Log().empty());
    EXPECT_EQ(Hooks.Log().back().Kind, ModalKind::MessageBox);
    EXPECT_EQ(Hooks.Log().back().Text, "Not enought timers.");
    EXPECT_EQ(Hooks.Log().back().Title, "Brevimar");
    EXPECT_EQ(App->DocTemplate().DocumentCount(), 0u);
    EXPECT_EQ(FileDialogsShown(), 0);  // the document was never set up
}

TEST_F(Startup, SplashGoesAtAKeyPressWhichIsNotPassedOn)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(App->Splash().IsShown());
    EXPECT_EQ(App->Splash().TimeoutMs(), 7500u);
    EXPECT_TRUE(App->Splash().WindowWidget()->isVisible());

    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_TRUE(QCoreApplication::sendEvent(View(), &press));
    EXPECT_FALSE(App->Splash().IsShown());
    // Gone for good: later keys are the program's again.
    QKeyEvent again(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_FALSE(App->PreTranslateMessage(View(), &again));
}

// The splash window paints its scene itself: what it shows is the picture
// the program-information box takes, drawn at the window's size.
TEST_F(Startup, SplashShowsTheProgramsPicture)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(App->Splash().IsShown());
    QWidget* splash = App->Splash().WindowWidget();
    const QImage shown = splash->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage picture = MakeSplashPicture(splash->size()).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, picture);
}

TEST_F(Startup, SplashGoesAtAMouseButtonPressOrItsTimer)
{
    ASSERT_TRUE(Start());
    const int paused = Doc().Paused;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 20), QPointF(20, 20), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    EXPECT_TRUE(QCoreApplication::sendEvent(View(), &press));
    EXPECT_FALSE(App->Splash().IsShown());
    EXPECT_EQ(Doc().Paused, paused);

    CBrevimarApp second;  // a splash window on its own timer
    ASSERT_TRUE(second.Splash().ShowSplashScreen(7500, &Frame()));
    second.Splash().OnTimer(CSplashScreenDlg::TimerId);
    EXPECT_FALSE(second.Splash().IsShown());
}

TEST_F(Startup, MinimisedStartShowsNoSplash)
{
    ASSERT_TRUE(Start({"--minimized"}));
    EXPECT_TRUE(Frame().isMinimized());
    EXPECT_FALSE(App->Splash().IsShown());
}

TEST_F(Startup, ScreenshotOfTheMainWindow)
{
    ASSERT_TRUE(Start({QString::fromStdString(Fixture("scenario_v1.dat"))}));
    RunTicks(*View(), 1);
    Doc().Resume();
    RunTicks(*View(), 2);
    QCoreApplication::processEvents();
    const QPixmap shot = Frame().grab();
    const QString path = QString(BREVIMAR_BINARY_DIR) + "/brevimar-main-window.png";
    // Written whole or not at all, so that a copy of the tests running beside
    // this one never reads a picture half written.
    QSaveFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(shot.save(&file, "PNG"));
    ASSERT_TRUE(file.commit());
    const QImage image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), Frame().size() * shot.devicePixelRatio());
}

TEST(CommandLine, FileAndMinimisedOption)
{
    CCommandLineInfo info = ParseCommandLine({"brevimar"});
    EXPECT_FALSE(info.FileName.has_value());
    EXPECT_FALSE(info.Minimized);
    info = ParseCommandLine({"brevimar", "--minimized", "/data/a.dat", "/data/b.dat"});
    EXPECT_TRUE(info.Minimized);
    EXPECT_EQ(info.FileName, std::optional<std::string>("/data/a.dat"));
}

}  // namespace
}  // namespace brevimar::testing
