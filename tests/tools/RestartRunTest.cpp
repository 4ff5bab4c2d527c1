// A restart gives the battle a read of the scenario gives: the runner on a
// fresh document is the independent account of that battle.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <functional>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

#include "files/ScenarioWriter.h"
#include "run/RunLoop.h"
#include "support/TestFiles.h"
#include "tools/ScenarioRunner.h"

namespace brevimar {
namespace {

std::string DataFile(const std::string& name)
{
    const std::string data = BREVIMAR_TEST_DATA;
    return name.starts_with("scenario") ? data + "/" + name : data + "/../../bench/data/" + name;
}

// Step 0 and the digest of every step after it.
std::string Battle(CScenarioRunner& runner, int steps)
{
    std::ostringstream out;
    out << runner.Digest() << '\n';
    for (int n = 1; n <= steps && runner.Advance(); ++n)
        out << runner.Digest() << '\n';
    return out.str();
}

std::string ReadBattle(const std::string& path, int steps)
{
    RunnerOptions options;
    options.ScenarioPath = path;
    CScenarioRunner runner(options);
    EXPECT_TRUE(runner.Load()) << runner.Error();
    return Battle(runner, steps);
}

// scenario_v4.dat with every agent's weights taken from its squad (RED's
// rows and BLUE's squad 1 hold area and flock weights) and both sides under
// local command: a commander's personality sets neither weight, so each
// battle's commanders must start them at the read's 0.
std::string CommandedSquadsScenario()
{
    std::string text = testing::FixtureText("scenario_v4.dat");
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"personality       0", "personality       1"},
                                   {"num_blues         10\nsquads            2", "num_blues         10\nsquads            1"}}) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos)
            text.replace(at, from.size(), to);
    }
    return testing::WriteTemp("commanded_squads.dat", text);
}

// small.dat takes its personalities from the squad tables; scenario_v4.dat
// draws RED's (and two commanders'), which the read does before it deploys,
// and gives injured agents shorter ranges than alive ones; by step 150 of
// large_terrain.dat agents stand weakened on passable terrain.
TEST(RestartRun, EveryInteractiveRestartGivesTheReadsBattle)
{
    const std::pair<const char*, std::function<void(CBrevimarDoc&)>> restarts[] = {
        {"Restart/Go", [](CBrevimarDoc& doc) { doc.RestartRun(); }},
        {"reset tail", [](CBrevimarDoc& doc) { doc.ResetTail(); }},
        {"Interactive Time-Series from playback",
         [](CBrevimarDoc& doc) {
             doc.RunMode = PlaybackMode;
             doc.StartInteractiveRun();
         }},
        {"Randomize, then Restart/Go",
         [](CBrevimarDoc& doc) {
             doc.RandomizeRun();
             doc.RestartRun();
         }},
        // Randomize appoints other commanders: the read's fight as ordinary
        // agents, with their squads' area and flock weights, until Restart
        // appoints them again.
        {"Randomize, 20 steps, then Restart/Go",
         [](CBrevimarDoc& doc) {
             doc.RandomizeRun();
             for (int n = 0; n < 20; ++n)
                 TakeInteractiveStep(doc);
             doc.RestartRun();
         }},
    };
    constexpr int Steps = 40;
    const std::pair<std::string, int> runs[] = {{DataFile("small.dat"), 17},
                                                {DataFile("scenario_v4.dat"), 17},
                                                {DataFile("large_terrain.dat"), 150},
                                                {CommandedSquadsScenario(), 5}};
    for (const auto& [file, before] : runs) {
        const std::string read = ReadBattle(file, Steps);
        for (const auto& [what, restart] : restarts) {
            RunnerOptions options;
            options.ScenarioPath = file;
            CScenarioRunner runner(options);
            ASSERT_TRUE(runner.Load()) << runner.Error();
            for (int n = 0; n < before; ++n)
                runner.Advance();
            restart(runner.Document());
            EXPECT_EQ(Battle(runner, Steps), read) << file << ", " << what;
            // and a second restart repeats it.
            restart(runner.Document());
            EXPECT_EQ(Battle(runner, Steps), read) << file << ", " << what << " again";
        }
    }
}

// Commands in random order on two scenarios under local command: after
// every restart the next 15 steps are those of a fresh read of the scenario
// the writer saves at that point.
TEST(RestartRun, RandomCommandSequencesRestartTheSavedScenariosBattle)
{
    using Command = std::pair<const char*, std::function<void(CBrevimarDoc&)>>;
    const Command restarts[] = {
        {"Restart/Go", [](CBrevimarDoc& doc) { doc.RestartRun(); }},
        {"reset tail", [](CBrevimarDoc& doc) { doc.ResetTail(); }},
        {"Interactive Time-Series from playback",
         [](CBrevimarDoc& doc) {
             doc.RunMode = PlaybackMode;
             doc.StartInteractiveRun();
         }},
    };
    const Command randomize{"Randomize", [](CBrevimarDoc& doc) { doc.RandomizeRun(); }};
    const std::string files[] = {DataFile("scenario_v4.dat"), CommandedSquadsScenario()};
    std::mt19937 draws(20250);
    for (int sequence = 0; sequence < 24; ++sequence) {
        RunnerOptions options;
        options.ScenarioPath = files[sequence % 2];
        CScenarioRunner runner(options);
        ASSERT_TRUE(runner.Load()) << runner.Error();
        CBrevimarDoc& doc = runner.Document();
        std::string done = options.ScenarioPath;
        for (int n = 0; n < 5; ++n) {
            for (int step = draws() % 25; step > 0; --step)
                runner.Advance();
            const bool restarting = draws() % 3 != 0;
            const Command& command = restarting ? restarts[draws() % std::size(restarts)] : randomize;
            command.second(doc);
            done += std::string(", ") + command.first;
            if (!restarting)
                continue;
            std::ostringstream saved;
            WriteScenario(doc, saved);
            const std::string path = testing::WriteTemp("saved.dat", saved.str());
            EXPECT_EQ(Battle(runner, 15), ReadBattle(path, 15)) << done;
        }
    }
}

// Every set-up starts each side's commanders, whom their personality gives
// neither weight, at the area and flock weights 0 a read gives them, in
// every run mode: whatever the agents of the same numbers held in the
// battle, sample or run before.
TEST(RestartRun, EverySetUpStartsTheCommandersAreaAndFlockWeightsAtZero)
{
    const int modes[] = {InteractiveMode, MultipleTimeSeriesMode, FitnessLandscapeMode, GeneticAlgorithmMode};
    for (int mode : modes) {
        RunnerOptions options;
        options.ScenarioPath = CommandedSquadsScenario();
        CScenarioRunner runner(options);
        ASSERT_TRUE(runner.Load()) << runner.Error();
        CBrevimarDoc& doc = runner.Document();
        for (Side side : {Side::Red, Side::Blue}) {
            ASSERT_EQ(doc.Local(side).LocalCommandOn, 1);
            std::fill(std::begin(doc.Force(side).FlockWeight), std::end(doc.Force(side).FlockWeight), 0.75f);
            std::fill(std::begin(doc.Force(side).EffWArea), std::end(doc.Force(side).EffWArea), -0.5f);
        }
        doc.RunMode = mode;
        doc.SetupBattlefield();
        for (Side side : {Side::Red, Side::Blue}) {
            const CLocalCommand& local = doc.Local(side);
            ASSERT_GT(local.NumLocalCommanders, 0);
            for (int c = 1; c <= local.NumLocalCommanders; ++c) {
                const int i = local.CommanderAgent[c];
                EXPECT_EQ(doc.Force(side).FlockWeight[i], 0.0f) << mode << " " << SideCode(side) << " " << c;
                EXPECT_EQ(doc.Force(side).EffWArea[i], 0.0f) << mode << " " << SideCode(side) << " " << c;
            }
        }
    }
}

// CommandedSquadsScenario with every injured range its squad's alive one.
// (An agent injured in one sample of a batch starts the next with its
// injured ranges: the batch keeps that, so these scenarios give it no
// weight.)
std::string CommandedSquadsScenarioOfOneRange()
{
    std::ifstream file(CommandedSquadsScenario());
    std::ostringstream out;
    std::map<std::string, std::string> alive;
    for (std::string line; std::getline(file, line);) {
        std::istringstream words(line);
        std::string label;
        words >> label;
        for (const char* range : {"S_RANGE", "F_RANGE", "C_RANGE"}) {
            if (label == std::string("A:") + range)
                alive[range] = line.substr(label.size());
            else if (label == std::string("I:") + range)
                line = label + alive[range];
        }
        out << line << '\n';
    }
    return testing::WriteTemp("commanded_one_range.dat", out.str());
}

// The samples of a multiple time-series batch, set up one after another as
// the batch sets them up, fight the battles of a read of the scenario with
// the generator where each sample found it: none takes over what the one
// before left in its commanders.
TEST(RestartRun, EverySampleIsABattleOfTheScenarioAsRead)
{
    RunnerOptions options;
    options.ScenarioPath = CommandedSquadsScenarioOfOneRange();
    options.Batch = true;  // the batch's step
    constexpr int Samples = 3, Steps = 40;
    CScenarioRunner batch(options);
    ASSERT_TRUE(batch.Load()) << batch.Error();
    CBrevimarDoc& doc = batch.Document();
    doc.RunMode = MultipleTimeSeriesMode;
    doc.InitializeForces();
    for (int s = 1; s <= Samples; ++s) {
        CScenarioRunner read(options);
        ASSERT_TRUE(read.Load()) << read.Error();
        CBrevimarDoc& fresh = read.Document();
        fresh.RunMode = MultipleTimeSeriesMode;
        fresh.InitializeForces();
        fresh.RandomState = doc.RandomState;
        fresh.Generator = doc.Generator;
        for (CBrevimarDoc* d : {&doc, &fresh}) {
            d->RunTerminated = 0;
            d->RunHeader.CurrentStep = 0;
            d->SetupBattlefield();
        }
        EXPECT_EQ(Battle(batch, Steps), Battle(read, Steps)) << "sample " << s;
    }
}

// A restart that does not rebuild the forces leaves the personalities as
// they stand, drawn or set since, while it deploys as the read did.
TEST(RestartRun, RestartKeepsThePersonalitiesItDoesNotRebuild)
{
    RunnerOptions options;
    options.ScenarioPath = DataFile("scenario_v4.dat");
    CScenarioRunner runner(options);
    ASSERT_TRUE(runner.Load()) << runner.Error();
    CBrevimarDoc& doc = runner.Document();
    ASSERT_NE(doc.RedForce.personality, 1);
    const std::string read = ReadBattle(options.ScenarioPath, 0);
    doc.RedForce.AliveWeight[W1][1] = 0.125f;
    doc.RedLocal.w7 = 0.25f;
    const float drawn = doc.RedForce.InjuredWeight[W6][2];
    runner.Advance();
    doc.RestartRun();
    EXPECT_EQ(doc.RedForce.AliveWeight[W1][1], 0.125f);
    EXPECT_EQ(doc.RedLocal.w7, 0.25f);
    EXPECT_EQ(doc.RedForce.InjuredWeight[W6][2], drawn);
    EXPECT_EQ(Battle(runner, 0), read);
}

// A new deployment from the running generator starts every agent alive, with
// the alive ranges of its squad (scenario_v4.dat: sensor ranges 5, 6, 7
// alive and one less injured, fire ranges 3, 4, 5 and one less) and the
// distance normaliser of its alive sensor range (range x 1.4142135), as a
// read starts it.
TEST(RestartRun, ANewDeploymentStartsEveryAgentWithItsAliveRanges)
{
    const std::pair<const char*, std::function<void(CBrevimarDoc&)>> redeployments[] = {
        {"Randomize", [](CBrevimarDoc& doc) { doc.RandomizeRun(); }},
        {"File/Open's first frame", [](CBrevimarDoc& doc) { doc.ShowFirstFrame(); }},
    };
    for (const auto& [what, redeploy] : redeployments) {
        RunnerOptions options;
        options.ScenarioPath = DataFile("scenario_v4.dat");
        CScenarioRunner runner(options);
        ASSERT_TRUE(runner.Load()) << runner.Error();
        CBrevimarDoc& doc = runner.Document();
        for (int n = 0; n < 3; ++n)
            runner.Advance();
        int shortened = 0;
        for (Side side : {Side::Red, Side::Blue})
            for (int i = 1; i <= doc.Force(side).NumAgents; ++i)
                shortened += doc.Force(side).SensorRange[i] != doc.Force(side).SensorRangeAlive[i];
        ASSERT_GT(shortened, 0) << "no agent injured by step 3";
        redeploy(doc);
        for (Side side : {Side::Red, Side::Blue}) {
            const CForce& f = doc.Force(side);
            for (int i = 1; i <= f.NumAgents; ++i) {
                ASSERT_EQ(f.AgentState[i], Alive) << what << " " << i;
                EXPECT_EQ(f.SensorRange[i], f.A_S_RANGE[f.AgentSquad[i]]) << what << " " << i;
                EXPECT_EQ(f.FireRange[i], f.A_F_RANGE[f.AgentSquad[i]]) << what << " " << i;
                EXPECT_EQ(f.DistanceNormaliser[i], static_cast<float>(f.A_S_RANGE[f.AgentSquad[i]] * 1.4142135))
                    << what << " " << i;
            }
        }
    }
}

// A restart of a deployment placed by hand leaves every agent where it
// stands, in its state: an injured agent starts with its squad's injured
// ranges (scenario_v4.dat: one less than alive) and the distance
// normaliser of its injured sensor range, an alive one with the alive ones.
TEST(RestartRun, AHandPlacedDeploymentStartsEachAgentWithTheRangesOfItsState)
{
    RunnerOptions options;
    options.ScenarioPath = DataFile("scenario_v4.dat");
    CScenarioRunner runner(options);
    ASSERT_TRUE(runner.Load()) << runner.Error();
    CBrevimarDoc& doc = runner.Document();
    for (int n = 0; n < 3; ++n)
        runner.Advance();
    doc.DeploymentSource = RedHandPlacement;
    doc.RestartRun();
    int injured = 0;
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& f = doc.Force(side);
        for (int i = 1; i <= f.NumAgents; ++i) {
            if (f.AgentState[i] == Dead)
                continue;
            const bool alive = f.AgentState[i] == Alive;
            injured += !alive;
            const int s = f.AgentSquad[i];
            const int sensor = alive ? f.A_S_RANGE[s] : f.I_S_RANGE[s];
            EXPECT_EQ(f.SensorRange[i], sensor) << i;
            EXPECT_EQ(f.FireRange[i], alive ? f.A_F_RANGE[s] : f.I_F_RANGE[s]) << i;
            EXPECT_EQ(f.DistanceNormaliser[i], static_cast<float>(sensor * 1.4142135)) << i;
        }
    }
    EXPECT_GT(injured, 0) << "no agent injured by step 3";
}

}  // namespace
}  // namespace brevimar
