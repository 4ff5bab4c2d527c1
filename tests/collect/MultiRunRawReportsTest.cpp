#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

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

}  // namespace
}  // namespace brevimar
