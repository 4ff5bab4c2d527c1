#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>

#include "platform/QtHost.h"
#include "platform/StatusBar.h"
#include "platform/TestHooks.h"

namespace brevimar {
namespace {

class Counter : public CWnd {
public:
    int Ticks = 0;
    void OnTimer(unsigned) override { ++Ticks; }
};

class QtHostTest : public ::testing::Test {
protected:
    void SetUp() override { SetModalHooks(Owner, &Hooks); }

    CModalHooks Hooks;
    QWidget Owner;  // the window the test's windows are opened from
};

TEST_F(QtHostTest, TheChooserAnswersWithItsDefaultExtension)
{
    QtHost host;
    host.SetParentWindow(&Owner);
    FileDialogRequest request;
    request.Filter = "Brevimar Input Data Files (*.dat)|*.dat||";
    request.DefaultExtension = "dat";
    Hooks.AnswerFile("/data/other");
    EXPECT_EQ(host.ChooseFileToOpen(request), std::optional<std::string>("/data/other.dat"));
    EXPECT_EQ(host.ChooseFileToOpen(request), std::nullopt);
    Hooks.AnswerFile("/data/saved.run");
    EXPECT_EQ(host.ChooseFileToSave(request), std::optional<std::string>("/data/saved.run"));
}

TEST_F(QtHostTest, StatusTimersAndMessagesGoWhereTheyBelong)
{
    QtHost host;
    host.SetParentWindow(&Owner);
    std::string status;
    host.SetStatusSink([&](const std::string& text) { status = text; });
    host.SetStatusText(" run.dat       [ TIME ]: 3");
    EXPECT_EQ(status, " run.dat       [ TIME ]: 3");

    EXPECT_FALSE(host.StartTimer(42, 1));  // no view yet
    Counter view;
    host.SetView(&view);
    ASSERT_TRUE(host.StartTimer(150, 1));
    // A tick comes while the messages are pumped, not by any time: the
    // minute only ends a wait that would otherwise hang.
    QElapsedTimer clock;
    clock.start();
    while (view.Ticks < 3 && clock.elapsed() < 60000)
        host.PumpOneMessage();
    EXPECT_GE(view.Ticks, 3);
    host.KillTimer(150);
    EXPECT_FALSE(view.HasTimer(150));

    host.InvalidateView();
    EXPECT_EQ(view.InvalidateCount(), 1);

    Hooks.AnswerMessage(IDNO);
    EXPECT_EQ(host.MessageBox("Overwrite?", "Brevimar", MB_YESNO), IDNO);
    host.ShowError("Error: cannot open input file.");
    EXPECT_EQ(Hooks.Log().back().Text, "Error: cannot open input file.");

    // The runtime generator runs to 32767.
    host.Srand(1);
    for (int i = 0; i < 1000; ++i) {
        const int r = host.Rand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
}

TEST(StatusBar, OnePaneByIdStretchedToAMinimumWidth)
{
    CStatusBar bar;
    bar.SetIndicators({131}, {"Attrition Tally-Board"});
    bar.SetPaneInfo(0, 131, true, 480);
    EXPECT_EQ(bar.CommandToIndex(131), 0);
    EXPECT_EQ(bar.CommandToIndex(57600), -1);
    EXPECT_EQ(bar.GetPaneText(0), "Attrition Tally-Board");
    EXPECT_TRUE(bar.SetPaneText(0, " x.dat       [ TIME ]: 1"));
    EXPECT_EQ(bar.GetPaneText(0), " x.dat       [ TIME ]: 1");
    EXPECT_FALSE(bar.SetPaneText(1, "no such pane"));
    EXPECT_EQ(bar.Pane(0)->minimumWidth(), 480);
}

}  // namespace
}  // namespace brevimar
