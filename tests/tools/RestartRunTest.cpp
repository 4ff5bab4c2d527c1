// A restart gives the battle a read of the scenario gives: the runner on a
// fresh document is the independent account of that battle.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

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

// small.dat takes its personalities from the squad tables.
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
    };
    constexpr int Steps = 40;
    const std::pair<const char*, int> runs[] = {{"small.dat", 17}};
    for (const auto& [file, before] : runs) {
        const std::string read = ReadBattle(DataFile(file), Steps);
        for (const auto& [what, restart] : restarts) {
            RunnerOptions options;
            options.ScenarioPath = DataFile(file);
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

}  // namespace
}  // namespace brevimar
