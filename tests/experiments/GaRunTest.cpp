// Whole generations on a small battle: what a run leaves behind, and that
// the same start gives the same evolution.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "experiments/GaEngine.h"
#include "run/BatchDrivers.h"
#include "run/ScenarioLoad.h"
#include "support/Scenarios.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar::testing {
namespace {

constexpr int GaTimer = 43;

struct Evolution {
    std::vector<double> BestGenes;
    std::vector<double> Fitness;
    double BestFitness = 0;
};

// Mode 1 on a 12-against-12 skirmish: 4 members, 2 conditions, 12 steps.
void StartSmallGa(TestDocument& t, int mode = GaPersonalityMode)
{
    SkirmishOptions o;
    o.PerSide = 12;
    o.BattleSize = 30;
    o.FireRange = 4;
    o.ShotProb = 0.3f;
    MakeSkirmish(*t, o);
    SelectGaSearchMode(*t, mode, nullptr);
    CGaData& d = t->Ga;
    d.GaPopulationSize = 4;
    d.GaInitialConditions = 2;
    d.GaMaxTimeToFlag = 12;
    t->Experiment.GaGenerations = 2;
    CGeneticAlgorithm(*t).ResetGeneticAlgorithmState();
}

Evolution Evolve(TestDocument& t)
{
    CGeneticAlgorithm ga(*t);
    while (t->Experiment.GaGeneration < t->Experiment.GaGenerations)
        ga.RunGABatch(GaTimer);
    Evolution e;
    e.BestFitness = ga.Best().Fitness;
    for (int k = 1; k <= t->Ga.ActiveGeneCount; ++k)
        e.BestGenes.push_back(ga.Best().Gene[1][t->Ga.ActiveGenes[k]]);
    for (int m = 0; m < ga.Population(); ++m)
        e.Fitness.push_back(ga.Member(m).Fitness);
    return e;
}

TEST(GaRun, TwoGenerationsRepeatExactly)
{
    TestDocument first, second;
    StartSmallGa(first);
    StartSmallGa(second);
    const Evolution a = Evolve(first), b = Evolve(second);
    EXPECT_EQ(a.BestGenes, b.BestGenes);
    EXPECT_EQ(a.Fitness, b.Fitness);
    EXPECT_EQ(a.BestFitness, b.BestFitness);
    EXPECT_GT(a.BestFitness, 0);  // BLUE lost agents in some run
}

TEST(GaRun, AGenerationLeavesItsBookkeeping)
{
    TestDocument t;
    StartSmallGa(t);
    t.Host.OnPump = [&] { t->OnTimer(42); };  // a tick arriving mid-generation changes nothing
    Evolve(t);
    const CGaData& d = t->Ga;
    EXPECT_EQ(t->Experiment.GaGeneration, 2);
    EXPECT_EQ(t->RunHeader.CurrentStep, 2);
    EXPECT_EQ(t->Experiment.GABusy, 0);
    EXPECT_EQ(t->Paused, 0);
    // Only primitive 3 weighs and rule 4 ends nothing early: every run lasts
    // 12 measured steps, one pumped message each.
    EXPECT_EQ(t.Host.PumpCount, 2 * 4 * 2 * 12);
    EXPECT_EQ(d.GaEndTime, 12);
    // RED starts further from the flag than 12 steps: the time primitive
    // scores the floor, the status line the 12 steps the run had.
    EXPECT_GT(d.GaMinTimeToFlag, 12);
    CGeneticAlgorithm(*t).UpdateGaStatusLine();
    EXPECT_NE(t.Host.LastStatus().find("   [ T ]: 12/12   "), std::string::npos) << t.Host.LastStatus();
    ASSERT_EQ(t.Host.StartedTimers.size(), 2u);
    EXPECT_EQ(t.Host.StartedTimers[0], std::make_pair(GaTimer, 150));
    EXPECT_EQ(t.Host.KilledTimers, std::vector<int>({GaTimer, GaTimer}));
    EXPECT_EQ(d.GaBestHistory[1], 0);
    EXPECT_EQ(d.GaBestHistory[2], d.GaBestFitness);
    for (int m = 0; m <= 4; ++m) {
        const double f = CGeneticAlgorithm(*t).Member(m).Fitness;
        EXPECT_GE(f, 0);
        EXPECT_LE(f, 1);
    }
    // The elitist best is never below any member evaluated last.
    CGeneticAlgorithm ga(*t);
    for (int m = 0; m < 4; ++m)
        EXPECT_LE(ga.Member(m).Fitness, ga.Best().Fitness);
}

TEST(GaRun, RunLoopRunsGenerationsThenShowsTheBest)
{
    struct Drivers : CBatchDrivers {
        CBrevimarDoc* Doc = nullptr;
        int Shown = 0;
        void RunGABatch() override { CGeneticAlgorithm(*Doc).RunGABatch(GaTimer); }
        void OnDisplayGaBestChromosome() override { ++Shown; }
    } drivers;
    TestDocument t;
    StartSmallGa(t);
    drivers.Doc = t.Doc.get();
    t->SetBatchDrivers(&drivers);
    t->Resume();
    for (int tick = 0; tick < 3; ++tick)
        t->OnTimer(42);
    EXPECT_EQ(t->Experiment.GaGeneration, 2);
    EXPECT_EQ(drivers.Shown, 1);
}

TEST(GaRun, APauseGivenMidGenerationHoldsOnceItEnds)
{
    struct Drivers : CBatchDrivers {
        CBrevimarDoc* Doc = nullptr;
        void RunGABatch() override { CGeneticAlgorithm(*Doc).RunGABatch(GaTimer); }
    } drivers;
    TestDocument t;
    StartSmallGa(t);
    drivers.Doc = t.Doc.get();
    t->SetBatchDrivers(&drivers);
    t->Resume();
    // The user presses Pause while the first generation pumps its messages.
    t.Host.OnPump = [&] {
        if (t.Host.PumpCount == 5)
            t->Pause();
        t->OnTimer(42);
    };
    for (int tick = 0; tick < 3; ++tick)
        t->OnTimer(42);
    EXPECT_EQ(t->Experiment.GaGeneration, 1);
    EXPECT_EQ(t->Paused, 1);
}

TEST(GaRun, EverySearchModeRunsAGeneration)
{
    for (int mode : {GaMultiSquadMode, GaCompositionMode, GaCommMatrixMode, GaWeightMatrixMode}) {
        TestDocument t;
        StartSmallGa(t, mode);
        CGeneticAlgorithm ga(*t);
        if (mode == GaCompositionMode)
            for (int m = 0; m < 4; ++m) {
                // Bits are bits, and the squad sizes split the whole force.
                double sum = 0;
                for (int g = 4; g <= 11; ++g)
                    sum += ga.Member(m).Gene[1][g];
                EXPECT_EQ(sum, 50);
                EXPECT_TRUE(ga.Member(m).Gene[1][3] == 0 || ga.Member(m).Gene[1][3] == 1);
            }
        ga.RunGABatch(GaTimer);
        EXPECT_EQ(t->Experiment.GaGeneration, 1) << mode;
        for (int m = 0; m < 4; ++m) {
            EXPECT_GE(ga.Member(m).Fitness, 0) << mode;
            EXPECT_LE(ga.Member(m).Fitness, 1) << mode;
        }
        if (mode == GaCompositionMode) {
            EXPECT_EQ(t->RedForce.NumAgents, 50);
            EXPECT_EQ(t->Ga.GaSquadCount, t->RedForce.NumSquads);
        }
    }
}

// A squad-composition search on the small reference scenario: 50 RED agents
// split over up to eight squads, and only squads 1 and 2 have a box (8 x 8,
// 64 cells); most members put agents in a squad without a box. Thirty member
// runs meet that problem with ever other counts: the GA says it once, in a
// notice it does not wait on, and a GA started anew says it once again.
TEST(GaRun, ASetUpProblemIsSaidOncePerGa)
{
    TestDocument t;
    ASSERT_TRUE(LoadScenario(*t, std::string(BREVIMAR_TEST_DATA) + "/../../bench/data/small.dat").Read);
    ASSERT_TRUE(t.Host.Messages.empty());
    for (std::size_t ga = 1; ga <= 2; ++ga) {
        SelectGaSearchMode(*t, GaCompositionMode, nullptr);
        t->Ga.GaPopulationSize = 6;
        t->Experiment.GaGenerations = 5;
        CGeneticAlgorithm(*t).ResetGeneticAlgorithmState();
        Evolve(t);
        EXPECT_TRUE(t.Host.Messages.empty());
        ASSERT_EQ(t.Host.Notices.size(), ga);
        const std::string& text = t.Host.Notices.back().Text;
        EXPECT_TRUE(text.starts_with("Setting up small.dat:\nNot every agent can be deployed:\n")) << text;
        EXPECT_TRUE(text.ends_with("\nLater runs of this batch may meet this problem too; it is not said again "
                                   "until the next batch."))
            << text;
    }
}

// User-defined terrain that holds no cells yet: the GA's 16 runs (4 members
// x 2 conditions x 2 generations, each generation a tick of its own) ask for
// a terrain file once. A cancel leaves every run without terrain and the next
// GA asks again; the cells of a file read at that ask stand for every later
// run, and for the next GA too. A file past the 16 MiB bound is refused from
// its size, once, in a notice the GA does not wait on, and kept on the error
// stream; the next GA asks again (and is cancelled).
TEST(GaRun, AGaAsksForATerrainFileOnce)
{
    // Lava in two corners, far from the 7 x 7 boxes round (7, 7) and (23, 23).
    const std::string corners = WriteTemp("corners.ter", "30\n2\n1 30\n2 1\n30 1\n2 1");
    const std::string huge = testing::WriteSparse("huge.ter", (16u << 20) + 1);
    const std::string refusal = "The terrain file " + huge +
                                " is refused: the file holds 16777217 bytes, more than the 16777216 any file of its "
                                "kind may hold. No terrain was read from it.";
    const struct {
        std::optional<std::string> Answer;
        int Held;
    } cases[] = {{std::nullopt, 0}, {corners, 1}, {huge, 0}};
    for (const auto& c : cases) {
        const bool refused = c.Answer == huge;
        TestDocument t;
        StartSmallGa(t);
        t->Battlefield.TerrainMode = 2;
        t->Battlefield.CellTerrainDefined = 0;
        t.Host.FileChoices = {c.Answer};
        for (std::size_t ga = 1; ga <= 2; ++ga) {
            CGeneticAlgorithm(*t).ResetGeneticAlgorithmState();
            Evolve(t);
            EXPECT_EQ(t.Host.FileRequests.size(), c.Held == 1 ? 1u : ga) << c.Held;
            EXPECT_TRUE(t.Host.Messages.empty());
            ASSERT_EQ(t.Host.Notices.size(), refused ? 1u : 0u);
            if (refused) {
                EXPECT_EQ(t.Host.Notices[0].Text, refusal);
                EXPECT_EQ(t.Host.Logs, std::vector<std::string>{refusal});
            }
            EXPECT_EQ(t->Battlefield.CellTerrainDefined, c.Held);
            for (auto [x, y] : {std::pair{1, 30}, std::pair{30, 1}}) {
                EXPECT_EQ(t->Battlefield.TerrainType[GridIndex(x, y)], c.Held == 1 ? Lava : OpenGround);
                EXPECT_EQ(t->Battlefield.AgentGrid[GridIndex(x, y)], c.Held == 1 ? CellTerrain : CellFree);
            }
        }
    }
}

TEST(GaRun, TerminationRulesEndRunsEarly)
{
    TestDocument t;
    StartSmallGa(t);
    CGaData& d = t->Ga;
    d.GaTerminationRule = 3;
    d.GaCenterOfMassFraction = 1.0;  // any distance meets it
    CGeneticAlgorithm(*t).RunGABatch(GaTimer);
    EXPECT_EQ(d.GaEndTime, 1);
    EXPECT_EQ(t.Host.PumpCount, 4 * 2 * 1);
}

TEST(GaRun, BadSettingsAreRefusedBeforeAnyRun)
{
    struct Case {
        int Population, Conditions, Generations, MaxTime;
    } cases[] = {{0, 2, 2, 10}, {301, 2, 2, 10}, {4, 101, 2, 10}, {4, 2, 1000, 10}, {4, 2, 2, 0}};
    for (const Case& c : cases) {
        TestDocument t;
        StartSmallGa(t);
        t->Ga.GaPopulationSize = c.Population;
        t->Ga.GaInitialConditions = c.Conditions;
        t->Experiment.GaGenerations = c.Generations;
        t->Ga.GaMaxTimeToFlag = c.MaxTime;
        CGeneticAlgorithm(*t).RunGABatch(GaTimer);
        EXPECT_EQ(t->Experiment.GaGeneration, 0);
        EXPECT_EQ(t.Host.PumpCount, 0);
        EXPECT_EQ(t->Paused, 1);
        EXPECT_EQ(t.Host.Messages.size(), 1u);
    }
}

TEST(GaRun, SearchModesSetUpTheirGenes)
{
    TestDocument t;
    SkirmishOptions o;
    MakeSkirmish(*t, o);
    t->RedForce.NumSquads = 3;
    SelectGaSearchMode(*t, GaCommMatrixMode, nullptr);
    const CGaData& d = t->Ga;
    EXPECT_EQ(t->RunMode, GeneticAlgorithmMode);
    EXPECT_EQ(d.GaSearchModeFlags[5], 1);
    EXPECT_EQ(d.GaMultiSquad, 1);
    EXPECT_EQ(t->CommMatricesSet, 1);
    EXPECT_EQ(t->RedForce.CommMatrix[1][1], 0);
    // Cells (i, j) of a 3 x 3 matrix in the eight-wide layout.
    const std::vector<int> genes = {1, 2, 3, 9, 10, 11, 17, 18, 19};
    ASSERT_EQ(d.ActiveGeneCount, 9);
    for (int k = 1; k <= 9; ++k)
        EXPECT_EQ(d.ActiveGenes[k], genes[k - 1]);
    CGeneticAlgorithm ga(*t);
    for (int g : genes)
        EXPECT_EQ(ga.Member(0).Gene[1][g], 1.0);  // member 0 seeded with every link
    for (int m = 1; m < ga.Population(); ++m)
        EXPECT_EQ(ga.Member(m).Gene[1][2], ga.Member(m).Gene[1][9]);  // symmetric

    // Modes without a search only select themselves.
    SelectGaSearchMode(*t, GaTerrainMode, nullptr);
    EXPECT_EQ(d.GaSearchModeFlags[8], 1);
    EXPECT_EQ(d.GaSearchModeFlags[5], 0);
}

}  // namespace
}  // namespace brevimar::testing
