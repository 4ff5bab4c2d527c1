#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "collect/MultiRunRawReports.h"
#include "support/TestDocument.h"

namespace brevimar {
namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

const std::string GraphHeader = "\n" + std::string(76, '*') + "\n                 RAW MULTIPLE TIME_SERIES GRAPH DATA\n\n" +
                                "Format:   time   data_ave[time]   data_absolute_deviation[time]\n" +
                                std::string(76, '*') + "\n";

TEST(RawGraphData, LayoutOfTwoSeriesOverThreeSteps)
{
    testing::TestDocument doc;
    doc->Series.MultiRunStepCount = 3;  // rows for t = 1, 2
    CMultiRunCharted& c = doc->MultiRunCharts;
    c.MultiRunGraphCount = 2;
    doc->MultiRunGraphLabels[0] = "Red Alive";
    // Two samples of RED alive 10 and 15 at t = 1: mean 12.5, deviation 2.5;
    // 9 and 9 at t = 2: mean 9, deviation 0. Written with 5 significant
    // digits and the point kept.
    c.MultiRunGraphSeries[0][1] = (10 + 15) / 2.0;
    c.MultiRunGraphDev[0][1] = (2.5 + 2.5) / 2.0;
    c.MultiRunGraphSeries[0][2] = 9;
    c.MultiRunGraphSeries[1][1] = 1.0 / 3.0;
    c.MultiRunGraphDev[1][1] = 123456.0;
    c.MultiRunGraphSeries[1][2] = 0.00012345;
    c.MultiRunGraphSeries[1][3] = 77;  // step T is not written

    const std::string path = std::string(BREVIMAR_BINARY_DIR) + "/raw_graph_test.mtg";
    std::remove(path.c_str());
    doc.Host.FileChoices.push_back(path);
    WriteRawGraphData(*doc);
    EXPECT_EQ(ReadAll(path), GraphHeader +
                                 "\n\nRed Alive\n"
                                 "\n1 12.500 2.5000"
                                 "\n2 9.0000 0.0000"
                                 "\n\n\n"
                                 "\n1 0.33333 1.2346e+05"
                                 "\n2 0.00012345 0.0000");
    EXPECT_EQ(doc->Paused, 1);

    // A cancelled chooser writes nothing.
    std::remove(path.c_str());
    WriteRawGraphData(*doc);
    EXPECT_FALSE(std::ifstream(path).good());
}

TEST(RawGraphData, NothingChartedSinceTheResetWritesNoFileAndSaysWhy)
{
    // After the reset the hand-off is one unlabelled series of zeros: written
    // out it would look like a run without a single loss.
    testing::TestDocument doc;
    doc->Series.MultiRunStepCount = 3;
    doc->ResetMultipleRunStatistics();
    const std::string path = std::string(BREVIMAR_BINARY_DIR) + "/raw_graph_uncharted.mtg";
    std::remove(path.c_str());
    doc.Host.FileChoices.push_back(path);
    WriteRawGraphData(*doc);
    EXPECT_FALSE(std::ifstream(path).good());
    ASSERT_EQ(doc.Host.Messages.size(), 1u);
    EXPECT_NE(doc.Host.Messages[0].Text.find("No raw graph data was written"), std::string::npos);
    EXPECT_EQ(doc->Paused, 1);
}

TEST(RawGraphData, CountsAndRunTimesStayInsideTheHandOff)
{
    struct Case {
        int Count, StepCount;
        int Labels, Rows;
    } cases[] = {
        {0, 3, 0, 0},    // ends after the second rule
        {1, 1, 1, 0},    // label without rows
        {9, 3, 7, 14},   // only seven series exist
        {7, 999, 7, 1400},  // only points 1..200 exist
        {-4, 3, 0, 0},
    };
    for (const Case& k : cases) {
        testing::TestDocument doc;
        doc->MultiRunCharts.MultiRunGraphCount = k.Count;
        doc->Series.MultiRunStepCount = k.StepCount;
        std::ostringstream out;
        WriteRawGraphReport(*doc, out);
        const std::string text = out.str();
        ASSERT_EQ(text.substr(0, GraphHeader.size()), GraphHeader) << k.Count;
        const std::string body = text.substr(GraphHeader.size());
        // Each block opens with three line feeds around its empty label; each row with one.
        const auto lineFeeds = std::count(body.begin(), body.end(), '\n');
        EXPECT_EQ(lineFeeds, 3 * k.Labels + k.Rows) << k.Count << " " << k.StepCount;
        if (k.StepCount == 999) {
            EXPECT_TRUE(body.ends_with("\n200 0.0000 0.0000"));
        }
    }
}

// A row of the sample file: the step, the given columns, then "zero" up to
// 25 columns.
std::string SampleRow(int t, std::vector<std::string> columns, const std::string& zero)
{
    columns.resize(25, zero);
    std::string row = "\n" + std::to_string(t);
    for (const std::string& c : columns)
        row += " " + c;
    return row;
}

TEST(RawSampleData, SectionsOfTwoSamplesOverThreeSteps)
{
    testing::TestDocument doc;
    CBrevimarDoc& d = *doc;
    d.AllocateMultiRunBuffers();
    d.Series.MultiRunSampleCount = 2;  // S = 2
    d.Series.MultiRunStepCount = 3;    // T = 3: rows t = 1, 2
    d.SampleRedAlive[SampleIndex(1, 1)] = 10;
    d.SampleRedAlive[SampleIndex(2, 1)] = 8;
    d.SampleRedAlive[SampleIndex(1, 2)] = 9;
    d.SampleRedAlive[SampleIndex(3, 1)] = 99;  // left by an earlier, larger run
    d.SampleBlueInjured[SampleIndex(2, 2)] = 1;
    // Interpoint on with the pair kind "VORLAX : VORLAX": of the default
    // boxes only "Red : Blue" is an agent-to-agent one (series 6).
    d.Statistics.InterpointOn = 1;
    d.Charts.InterpointGraphPair = 1;
    d.MultiRunData.SampleInterpoint[6][SampleIndex(1, 1)] = 12.5;
    d.MultiRunData.SampleInterpoint[6][SampleIndex(2, 1)] = 0.25;
    d.MultiRunData.SampleInterpoint[0][SampleIndex(1, 1)] = 5;  // a flag series: not written
    // Neighbours at range 3, default boxes: total within RED (series 2) and BLUE (series 5).
    d.Statistics.NeighborStatsOn = 1;
    d.Charts.NeighborGraphRange = 3;
    d.MultiRunData.SampleNeighbors[2][SampleRangeIndex(2, 3, 2)] = 7;
    d.MultiRunData.SampleNeighbors[2][SampleRangeIndex(2, 2, 2)] = 4;  // another range

    std::ostringstream out;
    WriteRawSampleReport(d, out);
    const std::string z = "0.0000";
    auto section = [](const std::string& heading, const std::string& rows) { return "\n\n" + heading + "\n" + rows; };
    const std::string expected =
        "\n" + std::string(76, '*') + "\n                 RAW MULTIPLE TIME_SERIES SAMPLE DATA\n\n" +
        "Format:   time   sample[1][time]   sample[2][time]   ...   sample[25][time]\n" + std::string(76, '*') +
        section("=== Attrition: RED Alive ===", SampleRow(1, {"10", "8"}, "0") + SampleRow(2, {"9", "0"}, "0")) +
        section("=== Attrition: RED Injured ===", SampleRow(1, {}, "0") + SampleRow(2, {}, "0")) +
        section("=== Attrition: BLUE Alive ===", SampleRow(1, {}, "0") + SampleRow(2, {}, "0")) +
        section("=== Attrition: BLUE Injured ===", SampleRow(1, {}, "0") + SampleRow(2, {"0", "1"}, "0")) +
        section("=== Interpoint Distance: Ave Red : Blue-VORLAX Distance ===",
                SampleRow(1, {"12.500", "0.25000"}, z) + SampleRow(2, {}, z)) +
        section("=== Neighbor Count Distribution: Total within Red ===",
                SampleRow(1, {}, z) + SampleRow(2, {z, "7.0000"}, z)) +
        section("=== Neighbor Count Distribution: Total within Blue ===", SampleRow(1, {}, z) + SampleRow(2, {}, z));
    EXPECT_EQ(out.str(), expected);

    // Under "VORLAX : Enemy-Flag" the default flag boxes write sections 13 and 14 instead.
    d.Charts.InterpointGraphPair = 2;
    d.Statistics.NeighborStatsOn = 0;
    d.Series.MultiRunStepCount = 1;  // headings without rows
    std::ostringstream flags;
    WriteRawSampleReport(d, flags);
    EXPECT_TRUE(flags.str().ends_with("\n\n=== Attrition: BLUE Injured ===\n"
                                      "\n\n=== Interpoint Distance: Ave Red : Blue-Flag Distance ===\n"
                                      "\n\n=== Interpoint Distance: Ave Blue : Red-Flag Distance ===\n"))
        << flags.str();
}

}  // namespace
}  // namespace brevimar
