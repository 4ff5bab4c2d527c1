#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "experiments/LandscapeParameters.h"
#include "experiments/LandscapeSetup.h"
#include "support/TestDocument.h"

namespace brevimar {
namespace {

using testing::TestDocument;

struct Conversion {
    int Index;
    double Value;
    std::function<double(const CForce&)> Field;  // of squad 3 unless side-wide
    double Expected;
};

// Every entry written into squad 3 with 7.6 (or the value the row names):
// int fields truncate to 7, float fields hold 7.6f, double fields 7.6.
TEST(LandscapeParameters, EveryEntryReachesItsFieldWithItsConversion)
{
    const double f76 = static_cast<double>(7.6f);
    const std::vector<Conversion> rows = {
        {1, 37.9, [](const CForce& r) { return r.num_per_squad[3]; }, 37},
        {2, 0.4, [](const CForce& r) { return r.A_S_RANGE[3]; }, 1},  // 0 becomes 1
        {3, 7.6, [](const CForce& r) { return r.I_S_RANGE[3]; }, 7},
        {4, 9.0, [](const CForce& r) { return r.A_F_RANGE[3]; }, 5},  // held to the alive sensor range 5
        {5, 0.4, [](const CForce& r) { return r.I_F_RANGE[3]; }, 1},
        {6, 0.9, [](const CForce& r) { return r.A_C_RANGE[3]; }, 1},
        {7, 7.6, [](const CForce& r) { return r.I_C_RANGE[3]; }, 7},
        {8, 3.6, [](const CForce& r) { return r.A_M_RANGE[3]; }, 3},
        {9, 9.0, [](const CForce& r) { return r.I_M_RANGE[3]; }, 4},  // the move tables reach 4
        {10, 7.6, [](const CForce& r) { return r.COMM_range; }, 7},
        {11, 7.6, [](const CForce& r) { return r.COMM_range; }, 7},
        {12, 7.6, [](const CForce& r) { return r.A_COMM_weight; }, f76},
        {13, 7.6, [](const CForce& r) { return r.I_COMM_weight; }, f76},
        {14, 7.6, [](const CForce& r) { return r.w1_a[3]; }, f76},
        {15, 7.6, [](const CForce& r) { return r.w1_i[3]; }, f76},
        {16, 7.6, [](const CForce& r) { return r.w2_a[3]; }, f76},
        {17, 7.6, [](const CForce& r) { return r.w2_i[3]; }, f76},
        {18, 7.6, [](const CForce& r) { return r.w3_a[3]; }, f76},
        {19, 7.6, [](const CForce& r) { return r.w3_i[3]; }, f76},
        {20, 7.6, [](const CForce& r) { return r.w4_a[3]; }, f76},
        {21, 7.6, [](const CForce& r) { return r.w4_i[3]; }, f76},
        {22, 7.6, [](const CForce& r) { return r.w5_a[3]; }, f76},
        {23, 7.6, [](const CForce& r) { return r.w5_i[3]; }, f76},
        {24, 7.6, [](const CForce& r) { return r.w6_a[3]; }, f76},
        {25, 7.6, [](const CForce& r) { return r.w6_i[3]; }, f76},
        {26, 7.6, [](const CForce& r) { return r.A_ADVANCE_num[3]; }, 7},
        {27, 7.6, [](const CForce& r) { return r.I_ADVANCE_num[3]; }, 7},
        {28, 7.6, [](const CForce& r) { return r.A_CLUSTER_num[3]; }, 7},
        {29, 7.6, [](const CForce& r) { return r.I_CLUSTER_num[3]; }, 7},
        {30, -7.6, [](const CForce& r) { return r.A_COMBAT_num[3]; }, -7},  // toward zero
        {31, 7.6, [](const CForce& r) { return r.I_COMBAT_num[3]; }, 7},
        {32, 7.6, [](const CForce& r) { return r.A_R_R_min_dist[3]; }, f76},
        {33, 7.6, [](const CForce& r) { return r.I_R_R_min_dist[3]; }, f76},
        {34, 7.6, [](const CForce& r) { return r.A_R_B_min_dist[3]; }, f76},
        {35, 7.6, [](const CForce& r) { return r.I_R_B_min_dist[3]; }, f76},
        {36, 7.6, [](const CForce& r) { return r.A_R_R_goal_min[3]; }, f76},
        {37, 7.6, [](const CForce& r) { return r.I_R_R_goal_min[3]; }, f76},
        {38, 7.6, [](const CForce& r) { return r.A_R_max_eng_num[3]; }, 7},
        {39, 7.6, [](const CForce& r) { return r.I_R_max_eng_num[3]; }, 7},
        {40, 0.35, [](const CForce& r) { return r.shot_prob_alive[3]; }, static_cast<double>(0.35f)},
        {41, 7.6, [](const CForce& r) { return r.shot_prob_injured[3]; }, f76},
        {42, 7.6, [](const CForce& r) { return r.w_terrain_alive[3]; }, f76},
        {43, 7.6, [](const CForce& r) { return r.w_terrain_injured[3]; }, f76},
        {44, 7.6, [](const CForce& r) { return r.A_R_terrain_min[3]; }, f76},
        {45, 7.6, [](const CForce& r) { return r.I_R_terrain_min[3]; }, f76},
        {46, 0.35, [](const CForce& r) { return r.A_HOLD_f[3]; }, 0.35},  // unrounded
        {47, 7.6, [](const CForce& r) { return r.I_HOLD_f[3]; }, 7.6},
        {48, -7.6, [](const CForce& r) { return r.A_PURSUIT1_num[3]; }, -7},
        {49, 7.6, [](const CForce& r) { return r.I_PURSUIT1_num[3]; }, 7},
        {50, 7.6, [](const CForce& r) { return r.A_PURSUIT2_num[3]; }, 7},
        {51, 7.6, [](const CForce& r) { return r.I_PURSUIT2_num[3]; }, 7},
        {52, 7.6, [](const CForce& r) { return r.A_RETREAT_num[3]; }, 7},
        {53, 7.6, [](const CForce& r) { return r.I_RETREAT_num[3]; }, 7},
        {54, 7.6, [](const CForce& r) { return r.A_SUPPORT1_num[3]; }, 7},
        {55, 7.6, [](const CForce& r) { return r.I_SUPPORT1_num[3]; }, 7},
        {56, 7.6, [](const CForce& r) { return r.A_SUPPORT2_num[3]; }, 7},
        {57, 7.6, [](const CForce& r) { return r.I_SUPPORT2_num[3]; }, 7},
    };
    ASSERT_EQ(rows.size(), 57u);
    for (const Conversion& row : rows) {
        TestDocument doc;
        doc->Landscape.Settings.LandscapeSquad = 3;
        doc->RedForce.NumSquads = 4;
        doc->RedForce.A_S_RANGE[3] = 5;
        doc->RedForce.I_S_RANGE[3] = 5;
        WriteLandscapeParameter(*doc, row.Index, row.Value);
        EXPECT_EQ(row.Field(doc->RedForce), row.Expected) << "entry " << row.Index;
        // No other squad is touched.
        EXPECT_EQ(doc->RedForce.A_S_RANGE[2], 0) << row.Index;
        EXPECT_EQ(doc->RedForce.w1_a[2], 0.0f) << row.Index;
    }
}

TEST(LandscapeParameters, SquadCountSumsTheForceAndHoldsItTo300)
{
    TestDocument doc;
    CForce& red = doc->RedForce;
    red.NumSquads = 3;
    red.num_per_squad[1] = 20, red.num_per_squad[2] = 30, red.num_per_squad[3] = 40;
    red.num_per_squad[4] = 99;  // beyond NumSquads: not counted
    doc->Landscape.Settings.LandscapeSquad = 2;
    WriteLandscapeParameter(*doc, 1, 37.9);
    EXPECT_EQ(red.num_per_squad[2], 37);
    EXPECT_EQ(red.NumAgents, 97);
    WriteLandscapeParameter(*doc, 1, 999);
    EXPECT_EQ(red.num_per_squad[2], 240);  // 300 - 20 - 40
    EXPECT_EQ(red.NumAgents, 300);
}

TEST(LandscapeParameters, XIsWrittenBeforeYAndBadIndicesWriteNothing)
{
    TestDocument doc;
    CLandscapeSettings& s = doc->Landscape.Settings;
    s.LandscapeSquad = 1;
    s.LandscapeXParameter = 10, s.LandscapeYParameter = 11;
    SetLandscapeParameters(*doc, 12, 20);
    EXPECT_EQ(doc->RedForce.COMM_range, 20);
    // The fire-range cap of x uses the sensor range before y writes it.
    doc->RedForce.A_S_RANGE[1] = 4;
    s.LandscapeXParameter = 4, s.LandscapeYParameter = 2;
    SetLandscapeParameters(*doc, 9, 11);
    EXPECT_EQ(doc->RedForce.A_F_RANGE[1], 4);
    EXPECT_EQ(doc->RedForce.A_S_RANGE[1], 11);
    s.LandscapeXParameter = 0, s.LandscapeYParameter = 58;
    SetLandscapeParameters(*doc, 1, 1);
    EXPECT_EQ(doc->RedForce.A_S_RANGE[1], 11);
    EXPECT_EQ(doc->RedForce.A_F_RANGE[1], 4);
}

TEST(LandscapeParameters, SymmetrizingCopiesAliveToInjuredButNotTheHoldFamily)
{
    TestDocument doc;
    CForce& r = doc->RedForce;
    r.A_S_RANGE[10] = 6, r.I_S_RANGE[10] = 2;
    r.w2_a[10] = 0.5f, r.w2_i[10] = -0.5f;
    r.alive_strength[10] = 3, r.injured_strength[10] = 1;
    r.A_HOLD_f[10] = 0.8, r.I_HOLD_f[10] = 0.2;
    r.A_RETREAT_num[10] = 4, r.I_RETREAT_num[10] = 1;
    r.A_COMM_weight = 0.7f, r.I_COMM_weight = 0.1f;
    SymmetrizeAliveInjured(*doc);
    EXPECT_EQ(r.I_S_RANGE[10], 6);
    EXPECT_EQ(r.w2_i[10], 0.5f);
    EXPECT_EQ(r.injured_strength[10], 3);
    EXPECT_EQ(r.I_COMM_weight, 0.7f);
    EXPECT_EQ(r.I_HOLD_f[10], 0.2);
    EXPECT_EQ(r.I_RETREAT_num[10], 1);

    r.w1_a[1] = 0.1f, r.w2_a[1] = 0.2f, r.w1_i[1] = 0.3f, r.w2_i[1] = 0.4f;
    SymmetrizeWeightPairs(*doc);
    EXPECT_EQ(r.w3_a[1], 0.1f);
    EXPECT_EQ(r.w4_a[1], 0.2f);
    EXPECT_EQ(r.w3_i[1], 0.3f);
    EXPECT_EQ(r.w4_i[1], 0.4f);
}

TEST(LandscapeParameters, NamesMatchExactlyAndDefaultRangesFollowTheTable)
{
    EXPECT_EQ(FindLandscapeParameter("Alive COMBAT Threshold"), 30);
    EXPECT_EQ(FindLandscapeParameter("Alive Weight w3 (Alive Red -->Injured Red)"), 18);
    EXPECT_EQ(FindLandscapeParameter("alive combat threshold"), 0);
    EXPECT_EQ(FindLandscapeParameter(""), 0);
    EXPECT_EQ(LandscapeParameter(40).Max, 0.02);
    EXPECT_EQ(LandscapeParameter(30).Samples, 10);
    EXPECT_EQ(LandscapeParameter(30).Min, -15);
    EXPECT_EQ(LandscapeParameter(0).Samples, 0);
}

struct TerritoryBox {
    int CenterX, RangeX, CenterY, RangeY, Expected;
};

TEST(LandscapeSetup, DefaultsGiveTheFiveBySixGridAndCountTheBoxOnTheField)
{
    TestDocument doc;
    doc->Battlefield.BattleSize = 100;
    const std::vector<TerritoryBox> boxes = {
        {100, 5, 5, 6, 6 * 11},      // x 95..105: 95..100; y -1..11: 1..11
        {50, 10, 50, 10, 21 * 21},   // wholly inside
        {0, 0, 0, 0, 0},             // centre 0, range 0: no cell
        {300, 5, 50, 5, 0},          // wholly outside
        {50, 2000000000, 50, 0, 100} // a huge range costs nothing and counts the row
    };
    for (const TerritoryBox& b : boxes) {
        CBattlefield& f = doc->Battlefield;
        f.TerritoryCenterX = b.CenterX, f.TerritoryRangeX = b.RangeX;
        f.TerritoryCenterY = b.CenterY, f.TerritoryRangeY = b.RangeY;
        SetLandscapeModeDefaults(*doc);
        EXPECT_EQ(doc->Landscape.Settings.LandscapeTerritoryCells, b.Expected) << b.CenterX << "," << b.RangeX;
    }
    const CLandscapeSettings& s = doc->Landscape.Settings;
    EXPECT_EQ(doc->RunMode, FitnessLandscapeMode);
    EXPECT_EQ(s.LandscapeXCount, 5);
    EXPECT_EQ(s.LandscapeYCount, 6);
    EXPECT_EQ(doc->Experiment.LandscapePointCount, 30);
    EXPECT_EQ(s.LandscapeXStep, 2.25);
    EXPECT_EQ(s.LandscapeYStep, 8.0);
    double xs[LandscapeAxisSlots] = {};
    LandscapeAxisValues(s.LandscapeXMin, s.LandscapeXStep, s.LandscapeXCount, xs);
    EXPECT_EQ(xs[1], 3.0);
    EXPECT_EQ(xs[3], 7.5);
    EXPECT_EQ(xs[5], 12.0);
    for (int c = 1; c <= 12; ++c)
        for (int k = 1; k <= 12; ++k)
            EXPECT_EQ(s.LandscapeMeasureMatrix[k][c], k == c ? 1.0 : 0.0);
    EXPECT_EQ(s.LandscapeObjectiveUsed[4], 1);
    EXPECT_EQ(s.LandscapeObjectiveUsed[3], 0);
}

struct AxisCase {
    double Min, Max;
    int Samples, Values;
};

// Values are counted from the samples, so no range can make the count run away.
TEST(LandscapeSetup, AxisValuesAreSamplesPlusOneWhateverTheStep)
{
    const std::vector<AxisCase> cases = {
        {3, 12, 4, 5},      {5, 5, 4, 5},    // a zero step still ends
        {1e20, 1e20 + 1, 3, 4},              // a step below the range's precision
        {0, 1, 0, 0},       {0, 1, -3, 0},   // no intervals
        {2, 1, 4, 0},                        // an empty range
        {0, 1, 200, 50},                     // held to the arrays
        {0, std::nan(""), 4, 0},
    };
    for (const AxisCase& c : cases)
        EXPECT_EQ(LandscapeAxisValueCount(c.Min, c.Max, c.Samples), c.Values) << c.Min << " " << c.Samples;
}

TEST(LandscapeSetup, ResetClearsTheFitnessPlanesButNotTheMeans)
{
    TestDocument doc;
    CLandscapeResults& r = doc->Landscape.Results();
    r.LandscapeFitnessAve[12][50][50] = 0.5;
    r.LandscapeFitnessDelta[1][1][1] = 0.5;
    r.LandscapeMeasure[12][100] = 0.5;
    r.LandscapeMeasureMean[3][2][2] = 0.25;
    doc->RunHeader.CurrentStep = 17;
    ResetFitnessLandscapeData(*doc);
    EXPECT_EQ(r.LandscapeFitnessAve[12][50][50], 0.0);
    EXPECT_EQ(r.LandscapeFitnessDelta[1][1][1], 0.0);
    EXPECT_EQ(r.LandscapeMeasure[12][100], 0.0);
    EXPECT_EQ(r.LandscapeMeasureMean[3][2][2], 0.25);
    EXPECT_EQ(doc->RunHeader.CurrentStep, 0);
}

}  // namespace
}  // namespace brevimar
