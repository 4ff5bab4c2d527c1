#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScrollArea>

#include <map>

#include "platform/MessagePump.h"
#include "platform/ScrollView.h"
#include "platform/TestHooks.h"
#include "platform/Wnd.h"

namespace brevimar {
namespace {

class TickCounter : public CWnd {
public:
    std::map<unsigned, int> Ticks;
    unsigned KillOnTick = 0;  // a timer that stops itself at its first tick
    void OnTimer(unsigned id) override
    {
        ++Ticks[id];
        if (id == KillOnTick)
            KillTimer(id);
    }
};

void SpinFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// The platform promises that a timer ticks while the event loop runs, not
// when or how often: a busy machine may hold a process back for seconds and
// then deliver one tick of each timer due. The minute only ends a wait that
// would otherwise hang.
constexpr int HangGuardMs = 60000;

// Runs the event loop until `done` holds.
template <typename Condition>
bool SpinUntil(Condition done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < HangGuardMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

class WndTest : public ::testing::Test {
protected:
    CModalHooks Hooks;
};

TEST_F(WndTest, EveryTimerReachesOnTimerWithItsOwnId)
{
    TickCounter window;
    ASSERT_TRUE(window.SetTimer(42, 1));
    ASSERT_TRUE(window.SetTimer(7, 20));
    // Which of the two ticks more often is the machine's business.
    EXPECT_TRUE(SpinUntil([&] { return window.Ticks[42] >= 2 && window.Ticks[7] >= 2; }));
    EXPECT_EQ(window.Ticks.size(), 2u);
}

TEST_F(WndTest, KillTimerStopsOnlyThatTimer)
{
    TickCounter window;
    ASSERT_TRUE(window.SetTimer(1, 1));
    ASSERT_TRUE(window.SetTimer(2, 1));
    EXPECT_TRUE(window.KillTimer(1));
    EXPECT_FALSE(window.KillTimer(1));  // already gone
    EXPECT_FALSE(window.HasTimer(1));
    EXPECT_TRUE(SpinUntil([&] { return window.Ticks[2] >= 5; }));
    EXPECT_EQ(window.Ticks.count(1), 0u);
}

TEST_F(WndTest, TimerKilledInsideItsTickStopsAndSettingAgainRestarts)
{
    TickCounter window;
    window.KillOnTick = 5;
    ASSERT_TRUE(window.SetTimer(5, 1));
    EXPECT_TRUE(SpinUntil([&] { return window.Ticks[5] >= 1; }));
    SpinFor(30);
    EXPECT_EQ(window.Ticks[5], 1);
    // Setting the same id twice keeps one timer under that id.
    ASSERT_TRUE(window.SetTimer(9, 1));
    ASSERT_TRUE(window.SetTimer(9, 1));
    EXPECT_TRUE(window.KillTimer(9));
    EXPECT_FALSE(window.HasTimer(9));
}

// The window system the program was made for raises a period below 10 ms to
// 10 ms; the run's 1 ms timer thus allows at most 100 steps a second.
TEST_F(WndTest, TimerPeriodsBelowTenMillisecondsAreRaisedToTen)
{
    TickCounter window;
    const struct {
        unsigned Asked, Runs;
    } cases[] = {{1, 10}, {9, 10}, {10, 10}, {11, 11}, {150, 150}};
    for (const auto& c : cases) {
        ASSERT_TRUE(window.SetTimer(3, c.Asked));
        EXPECT_EQ(window.TimerPeriod(3), c.Runs) << c.Asked;
        // The timer the event loop really runs, not only the one recorded.
        const QList<QAbstractEventDispatcher::TimerInfo> running =
            QAbstractEventDispatcher::instance()->registeredTimers(&window);
        ASSERT_EQ(running.size(), 1) << c.Asked;
        EXPECT_EQ(running.front().interval, static_cast<int>(c.Runs)) << c.Asked;
    }
    window.KillTimer(3);
    EXPECT_EQ(window.TimerPeriod(3), 0u);
}

TEST_F(WndTest, NoFreeTimerFailsSetTimer)
{
    TickCounter window;
    SetModalHooks(window, &Hooks);
    Hooks.SetTimersAvailable(false);
    EXPECT_FALSE(window.SetTimer(42, 1));
    EXPECT_FALSE(window.HasTimer(42));
}

TEST_F(WndTest, PumpHandlesPendingTimerTicks)
{
    TickCounter window;
    ASSERT_TRUE(window.SetTimer(3, 1));
    QElapsedTimer clock;
    clock.start();
    while (window.Ticks[3] == 0 && clock.elapsed() < HangGuardMs)
        PumpOneMessage();
    EXPECT_GT(window.Ticks[3], 0);
}

TEST_F(WndTest, InvalidateCountsAndScrollSizesFixTheViewSize)
{
    auto* view = new CScrollView;
    view->Invalidate(false);
    view->Invalidate(true);
    EXPECT_EQ(view->InvalidateCount(), 2);
    view->SetScrollSizes(QSize(750, 400));
    EXPECT_EQ(view->GetTotalSize(), QSize(750, 400));
    EXPECT_EQ(view->size(), QSize(750, 400));
    ASSERT_NE(view->Container(), nullptr);
    EXPECT_EQ(view->Container(), view->Container());
    delete view->Container();  // and the view inside it
}

}  // namespace
}  // namespace brevimar
