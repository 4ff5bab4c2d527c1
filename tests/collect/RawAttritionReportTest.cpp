#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "collect/RawAttritionReport.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

using testing::Lines;

std::string Repeat(const std::string& piece, int times)
{
    std::string s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

std::string G5(double v)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%#.5g", v);
    return buffer;
}

std::string Right(const std::string& s, int width) { return std::string(std::max(0, width - int(s.size())), ' ') + s; }

void Survivors(CBrevimarDoc& d, int s, std::vector<int> red, std::vector<int> blue)
{
    for (int t = 0; t < int(red.size()); ++t) {
        d.SampleRedAlive[SampleIndex(s, t)] = red[t];
        d.SampleBlueAlive[SampleIndex(s, t)] = blue[t];
    }
}

// One row of a binned block: per side the bin width (as an exact decimal)
// and the bins holding a sample (each 0.5 of S = 2).
std::string BinRow(int j, const double width[3], const int held[3][2])
{
    std::string row = "\n";
    for (int k = 0; k < 3; ++k) {
        const std::string centre = G5((j + 0.5) * width[k]);
        row += k == 0 ? centre : Right(centre, 12);
        row += Right(held[k][0] == j || held[k][1] == j ? "0.50000" : "0.0000", 12);
    }
    return row;
}

// S = 2, T = 3 (steps 0..2). RED: 2 agents in two squads of 1; BLUE: 1.
// Sample 1: a RED agent dies in step 1 (2 -> 1, the survivor injured at
// step 2), the BLUE agent dies in step 2. Sample 2: no losses.
TEST(RawAttritionReport, WholeReportOfTwoSamplesWrittenOutByHand)
{
    testing::TestDocument doc;
    CBrevimarDoc& d = *doc;
    d.AllocateMultiRunBuffers();
    d.Series.MultiRunSampleCount = 2;
    d.Series.MultiRunStepCount = 3;
    d.RedForce.NumAgents = 2;
    d.RedForce.NumSquads = 2;
    d.RedForce.num_per_squad[1] = d.RedForce.num_per_squad[2] = 1;
    d.BlueForce.NumAgents = 1;
    d.BlueForce.NumSquads = 1;
    d.BlueForce.num_per_squad[1] = 1;
    Survivors(d, 1, {2, 1, 0}, {1, 1, 0});
    d.SampleRedInjured[SampleIndex(1, 2)] = 1;
    Survivors(d, 2, {2, 2, 2}, {1, 1, 1});
    d.SampleSquadRedInjured[SquadSampleIndex(2, 1, 2)] = 1;  // squad 1 lost its agent
    d.SampleSquadRedAlive[SquadSampleIndex(1, 2, 2)] = 1;
    d.SampleSquadRedAlive[SquadSampleIndex(2, 2, 2)] = 1;
    d.SampleSquadBlueAlive[SquadSampleIndex(1, 2, 2)] = 1;
    // Left by an earlier, larger run: a third sample and a third squad.
    Survivors(d, 3, {9, 5, 1}, {9, 5, 1});
    d.SampleSquadRedAlive[SquadSampleIndex(3, 1, 2)] = 5;

    RawAttritionLevels levels;
    levels.CasualtyLevel[0] = 1, levels.CasualtyLevel[1] = 2, levels.CasualtyLevel[2] = 3;
    levels.SaveRateData = 1;
    std::ostringstream out;
    WriteRawAttritionReport(d, levels, out);

    const std::string rule(76, '*');
    const std::string z10 = "    0.0000", z12 = "      0.0000";
    std::string expected =
        rule + "\n                        Raw Attrition Data\n" + rule +
        "\nSamples:                  2   Time/Sample:              3\n"
        // Final losses RED 1, 0; BLUE 1, 0; Total 2, 0. Var = sum ds^2 / (S - 1).
        "\nRed Attrition:       1.0000     Ave:    0.50000     Abs Dev:    0.50000     Std Dev:    0.70711     Var:    0.50000"
        "\nBlue Attrition:      1.0000     Ave:    0.50000     Abs Dev:    0.50000     Std Dev:    0.70711     Var:    0.50000"
        "\nTotal Attrition:     2.0000     Ave:     1.0000     Abs Dev:     1.0000     Std Dev:     1.4142     Var:     2.0000"
        "\n"
        // The losses are the dead only, and the headings say so: sample 1
        // ends with one RED agent dead and one injured, a loss of 1, not 2.
        "\n===  (Total) Attrition by Sample: [Red Killed]  [Blue Killed]   [Total Killed];  ===\n"
        "\n     1      1.0000      1.0000      2.0000"
        "\n     2      0.0000      0.0000      0.0000"
        // Losses in steps: sample 1 RED 1 at t = 1, BLUE 1 at t = 2. First
        // loss steps 1 and none (0); last 2 and none (T = 3): t = 0..3, 8
        // (sample, step) pairs, one of them with RED rate 1.
        "\n\n=== Distribution of Red Attrition Rates  ===\n=== Min Time =    0   Max Time =    3"
        "\n=== Format: [Attrition Rate]   [PDF]\n\n   1     0.12500"
        "\n\n=== Distribution of Blue Attrition Rates  ===\n=== Min Time =    0   Max Time =    3"
        "\n=== Format: [Attrition Rate]   [PDF]\n\n   1     0.12500"
        "\n\n=== Distribution of Total (Red + Blue) Attrition Rates  ===\n=== Min Time =    0   Max Time =    3"
        "\n=== Format: [Attrition Rate]   [PDF]\n\n   1     0.25000"
        "\n\n=== Distribution of Red Casualties  ===\n=== Format: [Casualty Number]   [PDF]\n"
        "\n   1     0.50000\n   2      0.0000"
        "\n\n=== Distribution of Blue Casualties  ===\n=== Format: [Casualty Number]   [PDF]\n"
        "\n   1     0.50000"
        "\n\n=== Distribution of Total Casualties  ===\n=== Format: [Casualty Number]   [PDF]\n"
        "\n   1      0.0000\n   2     0.50000\n   3      0.0000"
        "\n\n===  (Fractional) Attrition by Sample:  [Red %(Killed)]  [Blue %(Killed)]   [Total "
        "%(Killed)] ===\n"
        "\n     1     0.50000      1.0000     0.66667"
        "\n     2      0.0000      0.0000      0.0000";
    // Squad 1 of each side lost its one agent in sample 1; RED squad 2 lost
    // nothing (its own size 1 minus its 1 survivor).
    // Each of the three squad tables RED then BLUE, table by table.
    for (const std::string side : {"Red", "Blue"})
        expected += "\n\n===  " + side + " Squad-specific Attrition: [Squad 1]  [Squad 2]   [Squad 10];  ===\n" +
                    "\nAverage:          0.50000" + Repeat(z10, 9) + "\nAbsolute Dev:     0.50000" + Repeat(z10, 9) +
                    "\nStandard Dev:     0.70711" + Repeat(z10, 9) + "\nVariance:         0.50000" + Repeat(z10, 9);
    for (const std::string side : {"Red", "Blue"})
        expected += "\n\n===  " + side + " Squad-specific Attrition by Sample: [Squad 1]  [Squad 2]   [Squad 10];  ===\n" +
                    "\n     1      1.0000" + Repeat(z12, 9) + "\n     2      0.0000" + Repeat(z12, 9);
    for (const std::string side : {"Red", "Blue"})
        expected += "\n\n=== Distribution of " + side + " Squad-Specific Casualties  ===" +
                    "\n=== Format: [Casualty Number]   [Squad 1 PDF]  [Squad 2 PDF]   [Squad 10 PDF];  ===\n" +
                    "\n   1     0.50000" + Repeat(z12, 9) + (side == "Red" ? "\n   2" + Repeat(z12, 10) : "");
    // Fractions: RED 0.5 and 0, BLUE 1 and 0, Total 2/3 and 0. Blocks 1 and
    // 3 span 0..largest; the largest lands in the last bin.
    const double spread10[3] = {0.05, 0.1, 2.0 / 30}, fixed10[3] = {0.1, 0.1, 0.1};
    const double spread20[3] = {0.025, 0.05, 2.0 / 60}, fixed20[3] = {0.05, 0.05, 0.05};
    const int last10[3][2] = {{0, 9}, {0, 9}, {0, 9}}, last20[3][2] = {{0, 19}, {0, 19}, {0, 19}};
    // Fixed bins: 0.5 in (0.4, 0.5], 1 in (0.9, 1], 2/3 in (0.6, 0.7]; by 0.05: 9, 19, 13.
    const int in10[3][2] = {{0, 4}, {0, 9}, {0, 6}}, in20[3][2] = {{0, 9}, {0, 19}, {0, 13}};
    const struct {
        int Bins;
        const char* Widths;
        const double* Width;
        const int (*Held)[2];
    } blocks[4] = {
        {10, "Red Bin Width = 0.050000  Blue Bin Width = 0.10000  (R+B) Bin Width = 0.066667", spread10, last10},
        {10, "Red Bin Width = 0.10000  Blue Bin Width = 0.10000  (R+B) Bin Width = 0.10000", fixed10, in10},
        {20, "Red Bin Width = 0.025000  Blue Bin Width = 0.050000  (R+B) Bin Width = 0.033333", spread20, last20},
        {20, "Red Bin Width = 0.050000  Blue Bin Width = 0.050000  (R+B) Bin Width = 0.050000", fixed20, in20},
    };
    expected += "\n\n=== PDF: red_bin:center  pdf_red  blue_bin:center  pdf_blue   tot_bin:center pdf_tot  ===";
    for (int b = 0; b < 4; ++b) {
        expected += std::string(b == 0 ? "" : "\n") + "\nNumber of Bins = " + std::to_string(blocks[b].Bins) + "\n" +
                    blocks[b].Widths + "\n";
        for (int j = 0; j < blocks[b].Bins; ++j)
            expected += BinRow(j, blocks[b].Width, blocks[b].Held);
    }
    // Sample 1 survives (RED, BLUE, Total): t = 1: 1/2, 1/1, 2/3; t = 2:
    // 1/2, 0/1, 1/3. The BLUE levels are first met at the last step, 2.
    expected +=
        "\n\n=== Time to achieve a specified percentage attrition"
        "\n    %[1]= 0.90000  %[2]= 0.75000  %[3]= 0.50000  %[4]= 0.10000"
        "\nFormat:  R[%1] R[%2] R[%3] R[%4]   B[%1] B[%2] B[%3] B[%4]   Total[%1] Total[%2] Total[%3] Total[%4]"
        "\nNote: If given attrition level not achieved within (a fixed) run time = 3 then the entry = -1\n"
        "\n     1     1     1     1    -1     2     2     2     2     1     1     2    -1"
        "\n     2" + Repeat("    -1", 12) +
        // Casualties: RED 1, 1; BLUE 0, 1; Total 1, 2.
        "\n\n=== Time to achieve a specified number of killed agents"
        "\n    N[1]= 1.0000  N[2]= 2.0000  N[3]= 3.0000  N[4]= 75.000"
        "\nFormat:  R[N1] R[N2] R[N3] R[N4]   B[N1] B[N2] B[N3] B[N4]   Total[N1] Total[N2] Total[N3] Total[N4]"
        "\nNote: If given attrition level not achieved within (a fixed) run time = 3 then the entry = -1\n"
        "\n     1     1    -1    -1    -1     2    -1    -1    -1     1     2    -1    -1"
        "\n     2" + Repeat("    -1", 12) +
        "\n\n=== (Single-Step) Attrition (= Number killed at time t for first 25 samples==="
        "\nFormat:   t   #Red[1][t]  #Blue[1][t]  #Total[1][t] ...  #Total[25][t]\n" + rule + "\n" +
        "\n   1   1   0   1" + Repeat("   0", 72) +
        "\n   2   0   1   1" + Repeat("   0", 72) +
        "\n\n===  Attrition rate versus enemy force size"
        "\n===  Format: [Sample]   [Time]  [Blue Alive+Inj](T-1)   [Red Killed](T)    [Red Killed](T-1)    "
        "[Red Alive+Inj](T-1)   [Blue Killed](T)  [Blue Killed](T-1);  ===\n"
        "\n     1     1     1     1     0     2     0     0"
        "\n     1     2     1     0     1     1     1     0"
        "\n     1     3     0     0     0     1     0     1"
        "\n     2     1     1     0     0     2     0     0"
        "\n     2     2     1     0     0     2     0     0"
        "\n     2     3     1     0     0     2     0     0";

    const std::vector<std::string> got = Lines(out.str()), want = Lines(expected);
    for (std::size_t i = 0; i < std::min(got.size(), want.size()); ++i)
        ASSERT_EQ(got[i], want[i]) << "line " << i + 1;
    EXPECT_EQ(got.size(), want.size());
    EXPECT_EQ(out.str(), expected);
}

TEST(RawAttritionReport, LargestFractionAndEmptySides)
{
    // RED 10 agents losing 0 and 1: the block-1 width (0.1 - 0) * 0.1 in
    // single precision puts the last edge just below 0.1; the second
    // sample still counts, in the last bin.
    testing::TestDocument doc;
    CBrevimarDoc& d = *doc;
    d.AllocateMultiRunBuffers();
    d.Series.MultiRunSampleCount = 2;
    d.Series.MultiRunStepCount = 2;
    d.RedForce.NumAgents = 10;
    d.BlueForce.NumAgents = 0;
    Survivors(d, 1, {10, 10}, {0, 0});
    Survivors(d, 2, {10, 9}, {0, 0});
    std::ostringstream out;
    WriteRawAttritionReport(d, {}, out);
    const std::vector<std::string> lines = Lines(out.str());
    std::size_t block = 0;
    while (block < lines.size() && lines[block].rfind("=== PDF:", 0) != 0)
        ++block;
    ASSERT_LT(block + 13, lines.size());
    // A side with no agents has fractions and widths of 0.
    EXPECT_EQ(lines[block + 2], "Red Bin Width = 0.010000  Blue Bin Width = 0.0000  (R+B) Bin Width = 0.010000");
    EXPECT_EQ(lines[block + 4], "0.0050000     0.50000      0.0000      1.0000   0.0050000     0.50000");
    EXPECT_EQ(lines[block + 13], "0.095000     0.50000      0.0000      0.0000    0.095000     0.50000");
    EXPECT_EQ(out.str().find("nan"), std::string::npos);
    EXPECT_NE(out.str().find("\n     2     0.10000      0.0000     0.10000"), std::string::npos);
}

}  // namespace
}  // namespace brevimar
