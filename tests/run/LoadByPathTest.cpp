// Loading by path: what the runner, the menu commands after their chooser and
// the tests share.
#include <gtest/gtest.h>

#include <string>

#include "core/Document.h"
#include "run/ScenarioLoad.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

using testing::DataPath;
using testing::TestDocument;
using testing::WriteTemp;

TEST(LoadByPath, ReadsAScenarioAndAStoredRun)
{
    TestDocument doc;
    const LoadResult scenario = LoadScenario(*doc, DataPath("scenario_v4.dat"));
    EXPECT_TRUE(scenario.Read);
    EXPECT_EQ(doc->InputFileName, "scenario_v4.dat");
    EXPECT_EQ(doc->RunMode, InteractiveMode);
    EXPECT_EQ(doc->LoadInputFile, 1);

    const LoadResult run = LoadStoredRun(*doc, DataPath("stored_v4.run"));
    EXPECT_TRUE(run.Read);
    EXPECT_EQ(doc->InputFileName, "stored_v4.run");
    EXPECT_EQ(doc->RunMode, PlaybackMode);
    // The file's counts (num_reds 12, num_blues 10).
    EXPECT_EQ(doc->RedForce.NumAgents, 12);
    EXPECT_EQ(doc->BlueForce.NumAgents, 10);
}

// The first run after a read shares as the file says (scenario_v1.dat: RED
// COMM_flag 1, COMM_range 4, weights 0.5 and 0.25; BLUE COMM_flag 0, range 4
// in the file), whatever range and weights the previous run worked with.
TEST(LoadByPath, TheStepSharesWithTheFilesCommunications)
{
    using Load = LoadResult (*)(CBrevimarDoc&, const std::string&);
    for (Load load : {Load{&LoadScenario}, Load{&LoadStartupFile}}) {
        TestDocument doc;
        for (Side side : {Side::Red, Side::Blue}) {
            doc->Force(side).CommRange = 9;
            doc->Force(side).CommWeightAlive = doc->Force(side).CommWeightInjured = 0.75f;
        }
        ASSERT_TRUE(load(*doc, DataPath("scenario_v1.dat")).Read);
        EXPECT_EQ(doc->RedForce.CommRange, 4);
        EXPECT_EQ(doc->RedForce.CommWeightAlive, 0.5f);
        EXPECT_EQ(doc->RedForce.CommWeightInjured, 0.25f);
        EXPECT_EQ(doc->BlueForce.CommRange, 0);
        EXPECT_EQ(doc->BlueForce.CommWeightAlive, 0.0f);
        EXPECT_EQ(doc->BlueForce.CommWeightInjured, 0.0f);
    }
}

// A refused file is named in the message, and the document, its run mode and
// the loader's kind stay as they were.
TEST(LoadByPath, ARefusedFileChangesNothing)
{
    TestDocument doc;
    ASSERT_TRUE(LoadScenario(*doc, DataPath("scenario_v4.dat")).Read);
    const int reds = doc->RedForce.NumAgents;
    const std::string missing = DataPath("no_such_file.run");
    const std::string broken = WriteTemp("broken.dat", "this is not a scenario\n");

    const LoadResult none = LoadStoredRun(*doc, missing);
    EXPECT_FALSE(none.Read);
    EXPECT_NE(none.Message.find(missing), std::string::npos);
    EXPECT_EQ(doc->RunMode, InteractiveMode);
    EXPECT_EQ(doc->LoadInputFile, 1);

    for (const LoadResult& refused : {LoadScenario(*doc, broken), LoadStartupFile(*doc, broken)}) {
        EXPECT_FALSE(refused.Read);
        EXPECT_NE(refused.Message.find(broken), std::string::npos);
    }
    EXPECT_EQ(doc->InputFileName, "scenario_v4.dat");
    EXPECT_EQ(doc->RedForce.NumAgents, reds);
}

}  // namespace
}  // namespace brevimar
