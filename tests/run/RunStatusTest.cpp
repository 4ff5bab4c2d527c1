#include <gtest/gtest.h>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

TEST(RunStatus, InteractiveLineWithItsExactSpacing)
{
    testing::TestDocument doc;
    doc->InputFileName = "attack.dat";
    doc->RunHeader.CurrentStep = 37;
    doc->NumRed() = 45;
    doc->NumBlue() = 120;
    doc->RunHeader.RedAlive = 30;
    doc->RunHeader.RedInjured = 9;
    doc->RunHeader.BlueAlive = 101;
    doc->RunHeader.BlueInjured = 0;
    doc->ShowRunStatus();
    ASSERT_EQ(doc.Host.StatusTexts.size(), 1u);
    EXPECT_EQ(doc.Host.LastStatus(),
              " attack.dat       [ TIME ]: 37      [RED/45] Alive 30 / Injured 9   [BLUE/120] Alive 101  / Injured 0");
    EXPECT_EQ(doc->StatusText, doc.Host.LastStatus());
}

TEST(RunStatus, EmptyForcesStillShowEveryLabel)
{
    testing::TestDocument doc;
    doc->NumRed() = 0;
    doc->NumBlue() = 0;
    doc->RunHeader.CurrentStep = 0;
    doc->ShowRunStatus();
    EXPECT_EQ(doc.Host.LastStatus(),
              "        [ TIME ]: 0      [RED/0] Alive 0 / Injured 0   [BLUE/0] Alive 0  / Injured 0");
    // A second line replaces the first.
    doc->RunHeader.CurrentStep = 1;
    doc->ShowRunStatus();
    EXPECT_EQ(doc.Host.StatusTexts.size(), 2u);
    EXPECT_EQ(doc.Host.LastStatus().substr(0, 19), "        [ TIME ]: 1");
}

TEST(RunStatus, MultipleTimeSeriesLine)
{
    testing::TestDocument doc;
    doc->InputFileName = "sweep.dat";
    doc->Series.MultiRunSample = 3;
    doc->Series.MultiRunSampleCount = 10;
    doc->Series.MultiRunStep = 42;
    doc->Series.MultiRunStepCount = 100;
    doc->ShowMultipleTimeSeriesStatus();
    EXPECT_EQ(doc.Host.LastStatus(), " sweep.dat      [ Samples ]: 3/10     [ Time ]: 42/100");
}

}  // namespace
}  // namespace brevimar
