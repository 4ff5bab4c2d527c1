#include <gtest/gtest.h>

#include <utility>

#include "experiments/LandscapeChartData.h"
#include "experiments/LandscapeSetup.h"
#include "support/TestDocument.h"

namespace brevimar {
namespace {

using testing::TestDocument;

// x: kind 2 over 3..4 in 1 interval (2 sets); y: kind 12 over 0..1 in 2 (3 points).
class ChartData : public ::testing::Test {
protected:
    TestDocument doc;
    CLandscapeSettings& s = doc->Landscape.Settings;
    CLandscapeResults& r = doc->Landscape.Results();
    void SetUp() override
    {
        SetLandscapeModeDefaults(*doc);
        s.LandscapeXParameter = 2, s.LandscapeXMin = 3, s.LandscapeXMax = 4, s.LandscapeXSamples = 1;
        s.LandscapeYParameter = 12, s.LandscapeYMin = 0, s.LandscapeYMax = 1, s.LandscapeYSamples = 2;
        DeriveLandscapeGrid(*doc);
        for (int k = 1; k <= 12; ++k)
            s.LandscapeObjectiveUsed[k] = 0;
        s.LandscapeObjectiveUsed[2] = s.LandscapeObjectiveUsed[3] = 1;
        s.LandscapeObjectiveWeight[2] = s.LandscapeObjectiveWeight[3] = 0.5;
        s.LandscapeObjectiveWeight[4] = 9;  // not in use: no effect
        r.LandscapeMeasureMean[4][1][1] = 1;
        r.LandscapeMeasureMean[2][1][1] = 0.4, r.LandscapeMeasureMean[3][1][1] = 0.2;
        r.LandscapeMeasureMean[2][2][3] = 0.9, r.LandscapeMeasureMean[3][2][3] = 0.9;
        r.LandscapeMeasureMean[2][1][3] = 0.6, r.LandscapeMeasureMean[3][1][3] = 0.4;
        r.LandscapeMeasureDeviation[2][2][1] = 0.6, r.LandscapeMeasureDeviation[3][2][1] = 0.8;
    }
};

TEST_F(ChartData, AverageSurfaceCornersAxesAndLabels)
{
    const CLandscapeChartData c = ComputeLandscapeChart(*doc);
    EXPECT_EQ(c.Sets, 2);
    EXPECT_EQ(c.Points, 3);
    EXPECT_DOUBLE_EQ(c.Values[0][0], 0.3);   // 0.5 * 0.4 + 0.5 * 0.2
    EXPECT_DOUBLE_EQ(c.Values[1][2], 0.9);   // 0.5 * 0.9 + 0.5 * 0.9
    EXPECT_DOUBLE_EQ(c.Values[0][2], 0.5);
    EXPECT_EQ(c.Values[1][0], 0.0);
    EXPECT_EQ(c.ValueAxisMin, 0.0);
    EXPECT_DOUBLE_EQ(c.ValueAxisMax, 0.9);
    EXPECT_EQ(c.Title, "Mission-Fitness Landscape (Average)");
    EXPECT_EQ(c.RightTitle, "ALIVE RS");
    EXPECT_EQ(c.BottomTitle, "COMM WT ALIVE");
    EXPECT_EQ(c.XAxisMin, 0.0);  // the chart's x axis carries y
    EXPECT_EQ(c.ZAxisMax, 4.0);
    EXPECT_EQ(c.XLabels, (std::vector<std::string>{"3", "4"}));
    EXPECT_EQ(c.YLabels, (std::vector<std::string>{"  0.000", "  0.500", "  1.000"}));

    // Weights above one: the sum is drawn as 1.
    s.LandscapeObjectiveWeight[2] = s.LandscapeObjectiveWeight[3] = 1;
    EXPECT_EQ(ComputeLandscapeChart(*doc).Values[1][2], 1.0);
}

TEST_F(ChartData, VariabilityWinMapAndNoObjective)
{
    s.LandscapePlotKind = 2;
    s.LandscapeObjectiveWeight[2] = s.LandscapeObjectiveWeight[3] = 1;
    CLandscapeChartData c = ComputeLandscapeChart(*doc);
    EXPECT_DOUBLE_EQ(c.Values[1][0], 1.0);  // sqrt(0.36 + 0.64), held at 1
    EXPECT_EQ(c.Values[0][0], 0.0);
    EXPECT_EQ(c.Title, "Mission-Fitness Landscape (Variability)");

    // The win map uses the average whatever the plot; a tie wins.
    s.LandscapeGraphKind = 3;
    s.LandscapeObjectiveWeight[2] = s.LandscapeObjectiveWeight[3] = 0.5;
    doc->Experiment.LandscapeWinThreshold = 0.5;
    c = ComputeLandscapeChart(*doc);
    EXPECT_EQ(c.Values[0][0], 0.0);  // 0.3
    EXPECT_EQ(c.Values[0][2], 1.0);  // 0.5
    EXPECT_EQ(c.Values[1][2], 1.0);
    EXPECT_EQ(c.ValueAxisMin, 0.0);
    EXPECT_EQ(c.ValueAxisMax, 1.0);
    EXPECT_FALSE(c.Surface);

    s.LandscapeGraphKind = 1;
    s.LandscapePlotKind = 1;
    s.LandscapeObjectiveUsed[2] = s.LandscapeObjectiveUsed[3] = 0;
    c = ComputeLandscapeChart(*doc);
    EXPECT_EQ(c.Values[1][2], 0.0);
    EXPECT_EQ(c.ValueAxisMin, 0.0);
    EXPECT_EQ(c.ValueAxisMax, 0.0);
}

struct TitleCase {
    int Used, Plot;
    const char* Title;
};

// A document no sweep has run in charts a flat landscape of zeros, and
// drawing it does not take the results' memory.
TEST(LandscapeChartBeforeAnySweep, FlatAndTakesNoResults)
{
    TestDocument doc;
    SetLandscapeModeDefaults(*doc);
    DeriveLandscapeGrid(*doc);
    const CLandscapeChartData c = ComputeLandscapeChart(std::as_const(*doc));
    EXPECT_FALSE(doc->Landscape.HasResults());
    ASSERT_EQ(c.Sets, 5);  // the default x axis: 4 intervals
    ASSERT_EQ(c.Points, 6);
    for (int i = 0; i < c.Sets; ++i)
        for (int j = 0; j < c.Points; ++j)
            EXPECT_EQ(c.Values[i][j], 0.0);
}

TEST(LandscapeChartTitles, OneObjectiveNamesItself)
{
    const TitleCase cases[] = {
        {1, 1, "Minimize Time to Goal (f/ave)"},
        {5, 1, "Minimize Dist between Red-CoM and Blue-Flag (f/ave)"},
        {5, 2, "Minimize Dist Between Red-CoM and Blue-Flag (f/var)"},
        {7, 2, "Maximize Number of Red forces Near Blue Flag (f/var)"},
        {12, 1, "Minimize Blue Territorial Possession (f/ave)"},
    };
    for (const TitleCase& c : cases) {
        CLandscapeSettings s;
        s.LandscapeObjectiveUsed[4] = 0;
        s.LandscapeObjectiveUsed[c.Used] = 1;
        s.LandscapePlotKind = c.Plot;
        EXPECT_EQ(LandscapeChartTitle(s), c.Title);
    }
}

TEST(LandscapeChartTitles, AxisNamesAndValueLabels)
{
    EXPECT_EQ(LandscapeAxisName(11), "COMM RNG");
    EXPECT_EQ(LandscapeAxisName(46), "HOLD ALIVE");
    EXPECT_EQ(LandscapeAxisName(57), "SUPPORT-II INJURED");
    EXPECT_EQ(LandscapeAxisName(0), "");
    EXPECT_EQ(FormatLandscapeAxisValue(30, 2.9), "2");
    EXPECT_EQ(FormatLandscapeAxisValue(30, -2.9), "-2");
    EXPECT_EQ(FormatLandscapeAxisValue(40, 2.9), "  2.900");
    EXPECT_EQ(FormatLandscapeAxisValue(33, 2.9), "2");  // a float field with integer labels
    // Int fields: the value the field took.
    EXPECT_EQ(FormatLandscapeAxisValue(2, 0.75), "1");     // a sensor range of 0 becomes 1
    EXPECT_EQ(FormatLandscapeAxisValue(1, 412.5), "300");  // a side holds 300 agents
}

}  // namespace
}  // namespace brevimar
