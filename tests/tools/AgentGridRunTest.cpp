// The agent grids the forces keep must equal grids rebuilt from the agent
// arrays after every step of whole runs, in every form of the step, and
// after the run-control events that set the battle up again; the step must
// never have to repair one.
#include <gtest/gtest.h>

#include <string>

#include "tools/ScenarioRunner.h"

namespace brevimar {
namespace {

std::string DataFile(const std::string& name)
{
    const std::string data = BREVIMAR_TEST_DATA;
    return name.find(".dat") != std::string::npos && name.rfind("large", 0) == 0
               ? data + "/../../bench/data/" + name
               : data + "/" + name;
}

bool GridsCurrent(const CBrevimarDoc& doc)
{
    return doc.RedForce.AgentGridCurrent() && doc.BlueForce.AgentGridCurrent();
}

TEST(AgentGrids, StayCurrentThroughWholeRunsAndResets)
{
    struct Form {
        bool comms, sight, weapons, batch;
    };
    const Form forms[] = {{false, false, false, false}, {true, false, false, false}, {true, true, true, false},
                          {false, false, false, true}};
    const char* files[] = {"large.dat", "large_terrain.dat", "scenario_v1.dat", "scenario_v2.dat",
                           "scenario_v3.dat", "scenario_v4.dat", "golden_rich.run", "stored_v4.run",
                           "frames_startup.out"};
    for (const char* file : files)
        for (const Form& form : forms) {
            RunnerOptions options;
            options.ScenarioPath = DataFile(file);
            options.ShareCommunications = form.comms;
            options.LineOfSight = form.sight;
            options.Weapons = form.weapons;
            options.Batch = form.batch;
            CScenarioRunner runner(options);
            ASSERT_TRUE(runner.Load()) << file << ": " << runner.Error();
            CBrevimarDoc& doc = runner.Document();
            const std::string what = std::string(file) + (form.comms ? " comms" : "") + (form.sight ? " sight" : "") +
                                     (form.batch ? " batch" : "");
            ASSERT_TRUE(GridsCurrent(doc)) << what << " after loading";
            for (int step = 1; step <= 200; ++step) {
                if (step == 120) {
                    doc.RandomizeRun();
                    ASSERT_TRUE(GridsCurrent(doc)) << what << " after a new deployment";
                }
                if (step == 160) {
                    doc.RestartRun();
                    ASSERT_TRUE(GridsCurrent(doc)) << what << " after a restart";
                }
                runner.Advance();
                ASSERT_TRUE(GridsCurrent(doc)) << what << " step " << step;
            }
            EXPECT_EQ(doc.NeighborGrids.GridRepairs, 0) << what;
        }
}

// A position written past the force's owner functions is caught by the next
// step, which rebuilds the grid before any question is asked of it.
TEST(AgentGrids, AStepRepairsAGridLeftBehind)
{
    RunnerOptions options;
    options.ScenarioPath = DataFile("large.dat");
    options.Batch = true;
    CScenarioRunner runner(options);
    ASSERT_TRUE(runner.Load()) << runner.Error();
    CBrevimarDoc& doc = runner.Document();
    runner.Advance();
    CForce& blue = doc.BlueForce;
    blue.AgentX[1] += blue.AgentX[1] > 75 ? -20 : 20;  // another coarse cell
    ASSERT_FALSE(blue.AgentGridCurrent());
    runner.Advance();
    EXPECT_EQ(doc.NeighborGrids.GridRepairs, 1);
    EXPECT_TRUE(GridsCurrent(doc));
}

}  // namespace
}  // namespace brevimar
