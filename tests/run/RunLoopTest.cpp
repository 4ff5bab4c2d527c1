#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "files/ScenarioWriter.h"
#include "run/BatchDrivers.h"
#include "run/ScenarioLoad.h"
#include "support/Scenarios.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

using testing::MakeSkirmish;
using testing::TestDocument;

class RunLoop : public ::testing::Test {
protected:
    TestDocument doc;
    void SetUp() override { MakeSkirmish(*doc, {.PerSide = 6, .BattleSize = 30}); }
    void Tick() { doc->OnTimer(42); }
    int& T() { return doc->RunHeader.CurrentStep; }
};

TEST_F(RunLoop, PausedTicksDoNothing)
{
    doc->Pause();
    const int statusCount = static_cast<int>(doc.Host.StatusTexts.size());
    const int seed = doc->RandomState;
    for (int i = 0; i < 5; ++i)
        Tick();
    EXPECT_EQ(T(), 0);
    EXPECT_EQ(doc->RandomState, seed);
    EXPECT_EQ(static_cast<int>(doc.Host.StatusTexts.size()), statusCount);
}

TEST_F(RunLoop, AfterAResetRunDoesTwoStepsThenContinues)
{
    EXPECT_EQ(T(), 0);
    Tick();
    EXPECT_EQ(T(), 1);
    EXPECT_EQ(doc->Paused, 0);
    Tick();  // finds t == 1: pauses, and still runs step 2
    EXPECT_EQ(T(), 2);
    EXPECT_EQ(doc->Paused, 1);
    Tick();
    EXPECT_EQ(T(), 2);
    doc->Resume();
    for (int i = 0; i < 10; ++i)
        Tick();
    EXPECT_EQ(T(), 12);
    EXPECT_EQ(doc->Paused, 0);
    EXPECT_EQ(doc->Series.RedAliveSeries[12] + doc->Series.RedInjuredSeries[12] <= 6, true);
    EXPECT_FALSE(doc.Host.LastStatus().empty());
}

TEST_F(RunLoop, StepExecuteBurstsPauseAfterTTicks)
{
    T() = 10;
    doc->StepExecuteMode = 1;
    doc->StepsPerBurst = 3;
    doc->StepsSincePause = 0;
    for (int i = 0; i < 6; ++i)
        Tick();
    EXPECT_EQ(T(), 13);
    EXPECT_EQ(doc->Paused, 1);
    EXPECT_EQ(doc->StepsSincePause, 0);
    doc->Resume();
    for (int i = 0; i < 6; ++i)
        Tick();
    EXPECT_EQ(T(), 16);
}

// A run that reaches LastStep stops there, paused, with every step's
// statistics in place (a chart drawn now covers steps 0..LastStep - 1); the
// next Run wraps to step 1 and takes it, as a run's end always did.
TEST_F(RunLoop, TheRunHoldsAtItsLastStepThenWraps)
{
    doc->Statistics.DataCollectionOn = 1;
    doc->RunHeader.LastStep = 5;
    int redAlive[5] = {};
    Tick();  // step 1
    Tick();  // t == 1 pauses and still runs step 2
    doc->Resume();
    Tick();
    Tick();  // steps 3 and 4
    for (int t = 1; t <= 4; ++t)
        redAlive[t] = doc->Series.RedAliveSeries[t];
    EXPECT_EQ(doc->Paused, 0);
    EXPECT_EQ(T(), 4);
    doc->RedForce.AgentState[1] = Dead;  // would show at step 1 if it were collected again
    Tick();
    EXPECT_EQ(T(), 5);
    EXPECT_EQ(doc->Paused, 1);
    for (int t = 1; t <= 4; ++t)
        EXPECT_EQ(doc->Series.RedAliveSeries[t], redAlive[t]) << t;
    Tick();
    EXPECT_EQ(T(), 5) << "paused at the end";
    doc->Resume();
    Tick();
    EXPECT_EQ(T(), 1);
    EXPECT_EQ(doc->Paused, 1);
    EXPECT_EQ(doc->RunEndStep, 0);
}

TEST_F(RunLoop, AGoalEndsTheRunWithoutOverrunningTheSeries)
{
    // A RED agent on the BLUE flag sets t to LastStep in the middle of a step.
    T() = doc->RunHeader.LastStep;
    Tick();
    EXPECT_EQ(T(), doc->RunHeader.LastStep);
    EXPECT_EQ(doc->Paused, 1);
    doc->Resume();
    Tick();
    EXPECT_EQ(T(), 1);

    // A LastStep beyond the series is held to it.
    doc->Resume();
    doc->RunHeader.LastStep = 9000;
    T() = 499;
    Tick();
    EXPECT_EQ(T(), 500);
    Tick();
    EXPECT_EQ(T(), 501);
    EXPECT_EQ(doc->Paused, 1);
}

// A RED agent that finds the BLUE flag in its move box at step 10 ends the
// run with that step: the run holds, paused, at t = 11 (one past its last
// step, as a run that reaches LastStep holds at LastStep), and the next Run
// wraps to step 1.
TEST_F(RunLoop, ReachingTheEnemyFlagHoldsTheRunAfterThatStep)
{
    CForce& red = doc->RedForce;
    for (int i = 1; i <= doc->BlueForce.NumAgents; ++i)
        doc->BlueForce.AgentState[i] = Dead;  // nobody fires at the runner
    doc->Battlefield.AgentGrid[GridIndex(red.AgentX[1], red.AgentY[1])] = CellFree;
    red.AgentX[1] = red.GoalFlagX - 1;  // the BLUE flag one cell away, inside a box of range 2
    red.AgentY[1] = red.GoalFlagY - 1;
    doc->Battlefield.AgentGrid[GridIndex(red.AgentX[1], red.AgentY[1])] = CellAgent;
    ASSERT_EQ(doc->Battlefield.AgentGrid[GridIndex(red.GoalFlagX, red.GoalFlagY)], CellFree);
    T() = 9;
    Tick();
    ASSERT_EQ(doc->WinningSide, 1);
    EXPECT_EQ(T(), 11);
    EXPECT_EQ(doc->Paused, 1);
    doc->Resume();
    Tick();
    EXPECT_EQ(T(), 1);
    EXPECT_EQ(doc->Paused, 1);
}

TEST_F(RunLoop, CaptureRecordsEveryAgentBeforeTheStep)
{
    doc->RunCaptureOn = 1;
    doc->RedForce.AgentState[2] = Dead;
    T() = 6;
    const int x = doc->RedForce.AgentX[2], y = doc->RedForce.AgentY[2];
    const int bx = doc->BlueForce.AgentX[3];
    Tick();
    EXPECT_EQ(doc->CapturedStep[7], 7);
    EXPECT_EQ(doc->Capture(RedCaptureState, 7, 2), Dead);
    EXPECT_EQ(doc->Capture(RedCaptureX, 7, 2), x);
    EXPECT_EQ(doc->Capture(RedCaptureY, 7, 2), y);
    EXPECT_EQ(doc->Capture(BlueCaptureX, 7, 3), bx);

    // Past the last capture row nothing is written and the capture stays on.
    T() = 351;
    Tick();
    EXPECT_EQ(T(), 352);
    EXPECT_EQ(doc->RunCaptureOn, 1);
    EXPECT_EQ(doc->CapturedStep[352], 0);
}

// Once the run wraps, its frames stay as played: the steps after the wrap
// record nothing, until the next set-up starts a new capture.
TEST_F(RunLoop, CaptureStopsAtTheRunsEnd)
{
    doc->RunCaptureOn = 1;
    doc->RunHeader.LastStep = 5;
    doc->Resume();
    T() = 3;
    const int x = doc->RedForce.AgentX[1];
    Tick();  // records row 4, then runs step 4
    doc->Capture(RedCaptureX, 1, 1) = -7;
    Tick();  // the end: held at t = 5, paused
    EXPECT_EQ(T(), 5);
    EXPECT_EQ(doc->CaptureEndStep, 5);
    doc->Resume();
    for (int i = 0; i < 3; ++i)  // wraps: t = 1, paused, and step 1 runs again
        Tick();
    EXPECT_EQ(doc->Capture(RedCaptureX, 1, 1), -7) << "row 1 of the finished run is kept";
    EXPECT_EQ(doc->Capture(RedCaptureX, 4, 1), x);
    doc->ResetBattlefield();
    EXPECT_EQ(doc->CaptureEndStep, 0);
}

// bench/data/small.dat captured to the run's end at step 500: a RUN file
// keeps frames 0..350, the frames before the newest recorded, so recording
// frame 351 at step 351 completes it. That tick says so once, in a notice
// that holds nothing; the run goes on to its end, and the file the restart
// offers holds frames 0..350. The restart's new capture says it again.
TEST_F(RunLoop, ACaptureSaysOnceWhenItHoldsAllAFileKeeps)
{
    ASSERT_TRUE(LoadScenario(*doc, std::string(BREVIMAR_TEST_DATA) + "/../../bench/data/small.dat").Read);
    doc->RunCaptureOn = 1;
    doc->ResetBattlefield();  // set-up records frame 0
    const std::size_t boxes = doc.Host.Messages.size();
    doc.Host.Notices.clear();
    auto runUntil = [&](int last, std::vector<int>& noticedAt) {
        for (int tick = 0; tick < 2 * last && T() < last; ++tick) {
            doc->Resume();
            const std::size_t before = doc.Host.Notices.size();
            Tick();
            if (doc.Host.Notices.size() != before)
                noticedAt.push_back(T());
            if (T() == 350) {
                EXPECT_EQ(doc->CapturedFrames(), 350);  // frames 0..349 so far
            }
        }
    };
    std::vector<int> noticedAt;
    runUntil(MaxSeriesStep + 1, noticedAt);
    EXPECT_EQ(T(), 501);  // held at the run's end
    EXPECT_EQ(noticedAt, std::vector<int>{351});
    ASSERT_EQ(doc.Host.Notices.size(), 1u);
    EXPECT_NE(doc.Host.Notices[0].Text.find("351 frames"), std::string::npos) << doc.Host.Notices[0].Text;
    EXPECT_NE(doc.Host.Notices[0].Text.find("not recorded"), std::string::npos) << doc.Host.Notices[0].Text;
    EXPECT_EQ(doc.Host.Messages.size(), boxes);
    EXPECT_EQ(doc->RunCaptureOn, 1);
    EXPECT_EQ(doc->CapturedFrames(), 351);

    doc->RunCaptureOn = 0;
    std::ostringstream scenario;
    WriteScenario(*doc, scenario);
    doc->RunCaptureOn = 1;
    const std::string path = testing::TempFolder() + "/small.run";
    doc.Host.MessageAnswers.push_back(IDYES);
    doc.Host.FileChoices.push_back(path);
    doc->RestartRun();
    std::string written;
    ASSERT_TRUE(ReadTextFile(path, &written));
    ASSERT_EQ(written.substr(0, scenario.str().size()), scenario.str());
    // Each frame: "\n" and its step, then a line per RED and per BLUE agent.
    const std::string frames = written.substr(scenario.str().size());
    const long perFrame = 1 + doc->NumRed() + doc->NumBlue();
    EXPECT_EQ(std::count(frames.begin(), frames.end(), '\n'), 351 * perFrame);
    std::size_t last = 0;
    for (long line = 0; line < 350 * perFrame + 1; ++line)
        last = frames.find('\n', last) + 1;
    EXPECT_EQ(frames.substr(last, frames.find('\n', last) - last), "350");

    std::vector<int> again;
    runUntil(352, again);
    EXPECT_EQ(again, std::vector<int>{351});
}

TEST_F(RunLoop, PlaybackForwardsAndBackwards)
{
    doc->RunMode = PlaybackMode;
    doc->RunHeader.LastStep = 5;
    T() = 0;
    for (int frame = 1; frame <= 4; ++frame) {
        Tick();
        EXPECT_EQ(T(), frame);
    }
    Tick();
    EXPECT_EQ(T(), 1);
    EXPECT_EQ(doc->Paused, 1);

    doc->Resume();
    T() = 2;
    doc->RunHeader.TimeDirection = -1;
    Tick();
    EXPECT_EQ(T(), 1);
    EXPECT_EQ(doc->Paused, 0);
    Tick();
    EXPECT_EQ(T(), 1);
    EXPECT_EQ(doc->RunHeader.TimeDirection, 1);
    EXPECT_EQ(doc->Paused, 1);
}

TEST_F(RunLoop, ReplayCountsTheFrameFileAgents)
{
    doc->RunMode = ReplayMode;
    doc->RunHeader.LastStep = 4;
    doc->RunHeader.RedCount = 2;
    doc->RunHeader.BlueCount = 1;
    doc->Capture(RedCaptureState, 1, 1) = Alive;
    doc->Capture(RedCaptureState, 1, 2) = Injured;
    doc->Capture(BlueCaptureState, 1, 1) = Alive;
    doc->Capture(RedCaptureX, 1, 1) = doc->Capture(RedCaptureY, 1, 1) = 3;
    doc->Capture(RedCaptureX, 1, 2) = doc->Capture(RedCaptureY, 1, 2) = 4;
    doc->Capture(BlueCaptureX, 1, 1) = doc->Capture(BlueCaptureY, 1, 1) = 5;
    Tick();
    EXPECT_EQ(T(), 1);
    EXPECT_EQ(doc->RunHeader.RedAlive, 1);
    EXPECT_EQ(doc->RunHeader.RedInjured, 1);
    EXPECT_EQ(doc->RunHeader.BlueAlive, 1);
}

class CountingDrivers : public CBatchDrivers {
public:
    int Generations = 0, Displays = 0, StatusLines = 0, MultiRuns = 0, Completions = 0;
    void RunGABatch() override { ++Generations; }
    void UpdateGaStatusLine() override { ++StatusLines; }
    void OnDisplayGaBestChromosome() override { ++Displays; }
    void RunMultiTimeSeriesBatch() override { ++MultiRuns; }
    void OnMultiRunComplete() override { ++Completions; }
};

TEST_F(RunLoop, BatchModesDispatchOrOnlyPauseWhileBusy)
{
    CountingDrivers drivers;
    doc->SetBatchDrivers(&drivers);
    doc->RunMode = GeneticAlgorithmMode;
    doc->Experiment.GaGenerations = 2;
    doc->Experiment.GABusy = 1;
    Tick();
    EXPECT_EQ(doc->Paused, 0);
    EXPECT_EQ(drivers.Generations, 0);
    doc->Experiment.GABusy = 0;
    Tick();
    EXPECT_EQ(drivers.Generations, 1);
    EXPECT_EQ(drivers.StatusLines, 1);
    doc->Experiment.GaGeneration = 2;
    doc->Experiment.GaStartTime = doc.Host.Clock - 42;
    Tick();
    EXPECT_EQ(drivers.Displays, 1);
    EXPECT_EQ(doc->Experiment.GaElapsedSeconds, 42.0);

    doc->RunMode = MultipleTimeSeriesMode;
    doc->Series.MultiRunSampleCount = 3;
    Tick();
    EXPECT_EQ(drivers.MultiRuns, 1);
    doc->Series.MultiRunSample = 3;
    Tick();
    EXPECT_EQ(drivers.Completions, 1);
}

TEST_F(RunLoop, MultiRunTicksLeaveABusyBatchAloneAndResumeASuspendedOne)
{
    CountingDrivers drivers;
    doc->SetBatchDrivers(&drivers);
    doc->RunMode = MultipleTimeSeriesMode;
    doc->Series.MultiRunSampleCount = doc->Series.MultiRunSample = 3;
    doc->Series.MultiRunBusy = 1;
    Tick();  // nested in the batch's own pump
    EXPECT_EQ(doc->Paused, 0);
    EXPECT_EQ(drivers.MultiRuns + drivers.Completions, 0);
    doc->Series.MultiRunBusy = 0;
    doc->MultiRunData.BatchOpen = 1;  // paused inside the last sample
    Tick();
    EXPECT_EQ(drivers.MultiRuns, 1);
    EXPECT_EQ(drivers.Completions, 0);
}

TEST_F(RunLoop, UnknownRunModesDoNothing)
{
    doc->RunMode = 6;
    const int seed = doc->RandomState;
    Tick();
    EXPECT_EQ(T(), 0);
    EXPECT_EQ(doc->RandomState, seed);
    EXPECT_EQ(doc->Paused, 0);
}

}  // namespace
}  // namespace brevimar
