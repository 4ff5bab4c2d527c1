#include <gtest/gtest.h>

#include <vector>

#include "run/BatchDrivers.h"
#include "support/Scenarios.h"
#include "support/TestDocument.h"

namespace brevimar {
namespace {

using testing::MakeSkirmish;
using testing::TestDocument;

std::vector<int> Deployment(CBrevimarDoc& doc)
{
    std::vector<int> cells;
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& f = doc.Force(side);
        for (int i = 1; i <= f.NumAgents; ++i) {
            cells.push_back(f.AgentState[i]);
            cells.push_back(f.AgentSquad[i]);
            cells.push_back(f.AgentX[i]);
            cells.push_back(f.AgentY[i]);
        }
    }
    return cells;
}

class RunControl : public ::testing::Test {
protected:
    TestDocument doc;
    void SetUp() override { MakeSkirmish(*doc, {.PerSide = 6, .BattleSize = 30}); }
    void Run(int ticks)
    {
        for (int i = 0; i < ticks; ++i) {
            doc->Resume();
            doc->OnTimer(42);
        }
    }

    // What a scenario load keeps, then an agent file with three RED and two
    // BLUE agents on fixed cells.
    void LoadAgentFile()
    {
        CForceComposition& c = doc->InitialComposition;
        c.RedCount = c.BlueCount = 6;
        c.RedSquads = c.BlueSquads = 1;
        c.RedPerSquad[1] = c.BluePerSquad[1] = 6;
        for (int i = 1; i <= 6; ++i)
            c.RedAgentSquad[i] = c.BlueAgentSquad[i] = 1;
        for (Side side : {Side::Red, Side::Blue}) {
            CForce& f = doc->Force(side);
            const int n = side == Side::Red ? 3 : 2;
            for (int r = 1; r <= n; ++r) {
                f.StoredAgentState[r] = Alive;
                f.StoredAgentSquad[r] = 1;
                f.StoredAgentX[r] = side == Side::Red ? r : 20 + r;
                f.StoredAgentY[r] = side == Side::Red ? 2 : 25;
            }
            f.NumAgents = n;
        }
        doc->DeploymentSource = AgentFileDeployment;
        doc->InitializeForcesFromAgentFile();
        doc->ResetBattlefield();
    }
};

TEST_F(RunControl, RestartResetTailAndInteractiveSwitchDeployTheSameBattle)
{
    doc->RestartRun();
    const std::vector<int> first = Deployment(*doc);
    Run(5);
    doc->ResetTail();
    EXPECT_EQ(Deployment(*doc), first);
    doc->RunMode = PlaybackMode;
    doc->LoadInputFile = 0;
    doc->RunHeader.TimeDirection = -1;
    doc->RunTerminated = 1;
    doc->StartInteractiveRun();
    EXPECT_EQ(doc->RunMode, InteractiveMode);
    EXPECT_EQ(doc->LoadInputFile, 1);
    EXPECT_EQ(doc->RunHeader.TimeDirection, 1);
    EXPECT_EQ(doc->RunTerminated, 0);
    EXPECT_EQ(Deployment(*doc), first);
    // Already interactive: only the loader switch changes.
    Run(4);
    const std::vector<int> running = Deployment(*doc);
    doc->LoadInputFile = 0;
    doc->StartInteractiveRun();
    EXPECT_EQ(doc->LoadInputFile, 1);
    EXPECT_EQ(Deployment(*doc), running);
    // The batch modes own their runs: restart and randomize leave them be.
    for (int mode : {GeneticAlgorithmMode, FitnessLandscapeMode, MultipleTimeSeriesMode}) {
        doc->RunMode = mode;
        const int state = doc->RandomState;
        doc->RestartRun();
        doc->RandomizeRun();
        EXPECT_EQ(Deployment(*doc), running) << mode;
        EXPECT_EQ(doc->RandomState, state) << mode;
    }
}

// Interactive Time-Series puts the search space back to mode 1, from the
// genetic algorithm's mode and from the interactive run alike.
TEST_F(RunControl, InteractiveSwitchReturnsTheSearchSpaceToModeOne)
{
    for (int from : {GeneticAlgorithmMode, InteractiveMode}) {
        doc->RunMode = from;
        doc->Ga.GaSearchMode = 4;
        doc->Ga.GaMultiSquad = 1;
        for (int k = 1; k < GaModeSlots; ++k)
            doc->Ga.GaSearchModeFlags[k] = k == 4 ? 1 : 0;
        doc->StartInteractiveRun();
        EXPECT_EQ(doc->Ga.GaSearchMode, 1) << from;
        EXPECT_EQ(doc->Ga.GaMultiSquad, 0) << from;
        for (int k = 1; k < GaModeSlots; ++k)
            EXPECT_EQ(doc->Ga.GaSearchModeFlags[k], k == 1 ? 1 : 0) << from << " flag " << k;
    }
}

TEST_F(RunControl, RestartAfterAnAgentFileFollowsTheRestartOption)
{
    LoadAgentFile();
    ASSERT_EQ(doc->NumRed(), 3);
    ASSERT_EQ(doc->NumBlue(), 2);

    // The agent-file option keeps the file's agents on their cells.
    doc->RestartUsesAgentFile = 1;
    Run(5);
    doc->RestartRun();
    EXPECT_EQ(doc->DeploymentSource, AgentFileDeployment);
    EXPECT_EQ(doc->NumRed(), 3);
    EXPECT_EQ(doc->RedForce.AgentX[2], 2);
    EXPECT_EQ(doc->BlueForce.AgentX[1], 21);

    // The block-data option brings back the input file's forces and ends
    // agent-file mode.
    doc->RedForce.AgentState[1] = Dead;
    doc->RestartUsesAgentFile = 0;
    doc->RestartRun();
    EXPECT_EQ(doc->DeploymentSource, RandomDeployment);
    ASSERT_EQ(doc->NumRed(), 6);
    ASSERT_EQ(doc->NumBlue(), 6);
    EXPECT_EQ(doc->RedForce.num_per_squad[1], 6);
    for (Side side : {Side::Red, Side::Blue})
        for (int i = 1; i <= 6; ++i) {
            EXPECT_EQ(doc->Force(side).AgentState[i], Alive);
            EXPECT_EQ(doc->Force(side).AgentSquad[i], 1);
            EXPECT_GE(doc->Force(side).AgentX[i], 1);
        }
    // and a second restart repeats that battle.
    const std::vector<int> restored = Deployment(*doc);
    Run(5);
    doc->RestartRun();
    EXPECT_EQ(Deployment(*doc), restored);
}

class CountingDrivers : public CBatchDrivers {
public:
    void OnDisplayGaBestChromosome() override { ++BestShown; }
    int BestShown = 0;
};

TEST_F(RunControl, TerminateEndsTheRunAndClosesTheGeneticAlgorithm)
{
    CountingDrivers drivers;
    doc->SetBatchDrivers(&drivers);
    doc->RunHeader.LastStep = 120;
    doc->RunHeader.CurrentStep = 17;
    doc->LoadInputFile = 0;
    doc->TerminateRun();
    EXPECT_EQ(doc->RunHeader.CurrentStep, 120);
    EXPECT_EQ(doc->RunTerminated, 1);
    EXPECT_EQ(doc->RunMode, InteractiveMode);
    EXPECT_EQ(doc->LoadInputFile, 1);
    EXPECT_EQ(drivers.BestShown, 0);

    doc->RunMode = GeneticAlgorithmMode;
    doc->Experiment.GaGeneration = 4;
    doc->Experiment.GaGenerations = 30;
    doc->TerminateRun();
    EXPECT_EQ(doc->Experiment.GaGeneration, 30);
    EXPECT_EQ(drivers.BestShown, 1);
    EXPECT_EQ(doc->RunMode, InteractiveMode);
    doc->SetBatchDrivers(nullptr);
}

}  // namespace
}  // namespace brevimar
