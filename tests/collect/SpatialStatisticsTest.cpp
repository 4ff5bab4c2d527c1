// Hand-worked values of the statistics of agent positions.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "collect/StatisticsKernels.h"
#include "support/TestDocument.h"

namespace brevimar {
namespace {

struct Cell {
    int X, Y, State = Alive;
};

// Places the agents of both sides; flags: RED flag and BLUE flag.
void Place(CBrevimarDoc& doc, std::vector<Cell> red, std::vector<Cell> blue, Cell redFlag = {1, 1},
           Cell blueFlag = {10, 1})
{
    for (auto [side, cells] : {std::pair{Side::Red, &red}, std::pair{Side::Blue, &blue}}) {
        CForce& force = doc.Force(side);
        force.NumAgents = static_cast<int>(cells->size());
        for (int i = 0; i < force.NumAgents; ++i) {
            force.AgentX[i + 1] = (*cells)[i].X;
            force.AgentY[i + 1] = (*cells)[i].Y;
            force.AgentState[i + 1] = (*cells)[i].State;
        }
    }
    doc.BlueForce.GoalFlagX = redFlag.X;  // BLUE heads for the RED flag
    doc.BlueForce.GoalFlagY = redFlag.Y;
    doc.RedForce.GoalFlagX = blueFlag.X;
    doc.RedForce.GoalFlagY = blueFlag.Y;
}

TEST(Interpoint, MeansAndDistributionsOfASmallConfiguration)
{
    testing::TestDocument doc;
    // RED (1,1), (4,5) and a dead one; BLUE (1,5). RED flag (1,1), BLUE flag (10,1).
    Place(*doc, {{1, 1}, {4, 5}, {7, 7, Dead}}, {{1, 5}});
    doc->RunHeader.CurrentStep = 9;
    doc->ComputeInterpointDistances();
    const CCollectedStatistics& c = doc->Collected;
    struct Case {
        int K;
        double Mean;
        std::vector<std::pair<int, double>> Bins;
    };
    const Case cases[] = {
        {0, (9 + std::sqrt(52.0)) / 2, {{9, 0.5}, {7, 0.5}}},  // RED to BLUE flag: 9 and sqrt(36+16)=7.21
        {1, 4, {{4, 1}}},                                       // BLUE (1,5) to RED flag
        {2, 2.5, {{0, 0.5}, {5, 0.5}}},                         // RED to RED flag: on it, and 3-4-5
        {3, std::sqrt(97.0), {{10, 1}}},                        // BLUE to BLUE flag: sqrt(81+16)=9.85
        {4, 5, {{5, 1}}},                                       // the one RED pair
        {5, 0, {}},                                             // no BLUE pair
        {6, 3.5, {{4, 0.5}, {3, 0.5}}},                         // RED-BLUE: 4 and 3
    };
    for (const Case& k : cases) {
        EXPECT_DOUBLE_EQ(c.InterpointMean[k.K][9], k.Mean) << "measure " << k.K;
        double total = 0;
        for (int b = 0; b < InterpointBins; ++b)
            total += c.InterpointHistogram[k.K][b];
        double expected = 0;
        for (auto [bin, share] : k.Bins) {
            EXPECT_DOUBLE_EQ(c.InterpointHistogram[k.K][bin], share) << "measure " << k.K << " bin " << bin;
            expected += share;
        }
        EXPECT_DOUBLE_EQ(total, expected) << "measure " << k.K;
    }
}

TEST(Interpoint, DistancesPastTheLastBinCountInIt)
{
    testing::TestDocument doc;
    // A BLUE flag read from a file far off the battlefield: 399 cells away.
    Place(*doc, {{1, 1}}, {}, {1, 1}, {400, 1});
    doc->Collected.InterpointMean[0][1] = 7;
    doc->RunHeader.CurrentStep = 1;
    doc->ComputeInterpointDistances();
    EXPECT_EQ(doc->Collected.InterpointHistogram[0][InterpointBins - 1], 1.0);
    EXPECT_EQ(doc->Collected.InterpointMean[0][1], 399.0);
}

TEST(Interpoint, PairsFartherApartThanAnyBattlefield)
{
    // Positions read from a file need not lie on the battlefield: RED (1, 1)
    // and (400, 1) are 399 apart; BLUE (4, 5) is 5 from the first (3-4-5)
    // and sqrt(396^2 + 4^2) = 396.02 from the second. Far pairs count in
    // the last bin.
    testing::TestDocument doc;
    Place(*doc, {{1, 1}, {400, 1}}, {{4, 5}});
    doc->RunHeader.CurrentStep = 2;
    doc->ComputeInterpointDistances();
    const CCollectedStatistics& c = doc->Collected;
    EXPECT_EQ(c.InterpointMean[4][2], 399.0);
    EXPECT_EQ(c.InterpointHistogram[4][InterpointBins - 1], 1.0);
    EXPECT_DOUBLE_EQ(c.InterpointMean[6][2], (5.0 + std::sqrt(396.0 * 396 + 4 * 4)) / 2);
    EXPECT_EQ(c.InterpointHistogram[6][5], 0.5);
    EXPECT_EQ(c.InterpointHistogram[6][InterpointBins - 1], 0.5);
}

double Entropy16(const std::vector<Cell>& red, const std::vector<Cell>& blue, int group, int size = 150)
{
    testing::TestDocument doc;
    doc->RunMode = InteractiveMode;
    doc->Battlefield.BattleSize = size;
    doc->SetupBattlefield();
    Place(*doc, red, blue);
    doc->CollectSpatialEntropy();
    return doc->Collected.SpatialEntropy16[group][0];
}

TEST(SpatialEntropy, KnownSpreads)
{
    const double ln16 = 2.772589;  // the divisor as the series uses it
    std::vector<Cell> everyBox;
    for (int x : {20, 50, 90, 130})
        for (int y : {20, 50, 90, 130})
            everyBox.push_back({x, y});
    struct Case {
        const char* Name;
        std::vector<Cell> Red, Blue;
        int Group;
        double Expected;
    };
    const Case cases[] = {
        {"all in one box", {{5, 5}, {6, 9}, {30, 30}}, {}, 0, 0.0},
        {"one per box", everyBox, {}, 0, std::log(16.0) / ln16},
        // x = 36 and 37 lie in neighbouring boxes: the limit 37 belongs to the
        // box above it, not to neither.
        {"on a box limit", {{36, 1}, {37, 1}}, {}, 0, std::log(2.0) / ln16},
        {"no agents", {}, {{5, 5}}, 0, 0.0},
        // Both sides: three in one box and one in another.
        {"both", {{5, 5}, {140, 140}}, {{6, 6}, {7, 7}}, 2, -(0.75 * std::log(0.75) + 0.25 * std::log(0.25)) / ln16},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(Entropy16(c.Red, c.Blue, c.Group), c.Expected, 1e-12) << c.Name;
}

TEST(SpatialEntropy, EveryCellLiesInExactlyOneBoxOfEachPartition)
{
    // A reference agent and a second one anywhere: two agents in two boxes
    // give exactly ln 2 / ln n, in one box 0; an agent in no box would give
    // half that, an agent in two boxes more than it.
    for (int size : {150, 100, 80, 37}) {
        testing::TestDocument doc;
        doc->RunMode = InteractiveMode;
        doc->Battlefield.BattleSize = size;
        doc->SetupBattlefield();
        const CStatisticsParameters& boxes = doc->Statistics;
        const double scale[3] = {2.772589, 4.1588831, 5.54517745};
        PresentAgents agents;
        agents.Count[0] = 2;
        agents.Count[1] = 0;
        agents.X[0][0] = agents.Y[0][0] = 1;
        int bad = 0, apart = 0;
        for (int x = 1; x <= size; ++x)
            for (int y = 1; y <= size; ++y) {
                agents.X[0][1] = x;
                agents.Y[0][1] = y;
                double entropy[3][SideGroups];
                ComputeSpatialEntropy(agents, boxes, entropy);
                for (int p = 0; p < 3; ++p) {
                    const bool value = std::abs(entropy[p][0] - std::log(2.0) / scale[p]) < 1e-12;
                    apart += value;
                    bad += !value && std::abs(entropy[p][0]) > 1e-12;
                }
            }
        EXPECT_EQ(bad, 0) << "battle size " << size;
        // All but the reference's own box: (n^2 - 1) / n^2 of the cells, roughly.
        EXPECT_GT(apart, size * size) << "battle size " << size;
    }
}

TEST(Neighbors, CountsByRange)
{
    testing::TestDocument doc;
    // RED on diagonal neighbours (5,5), (6,6), and a dead one beside them;
    // BLUE at (12,5): 7 from the first RED agent and 6 from the second.
    Place(*doc, {{5, 5}, {6, 6}, {5, 6, Dead}}, {{12, 5}});
    doc->RunHeader.CurrentStep = 4;
    doc->CountNeighbors();
    for (int r = 1; r <= 7; ++r) {
        const double redNearRed = 1;                            // each sees the other
        const double blueNearRed = r < 6 ? 0 : (r == 6 ? 0.5 : 1);  // per RED agent
        const double redNearBlue = r < 6 ? 0 : (r == 6 ? 1 : 2);    // per BLUE agent
        const double expected[6] = {redNearRed, blueNearRed, redNearRed + blueNearRed, redNearBlue, 0, redNearBlue};
        for (int j = 0; j < 6; ++j) {
            EXPECT_EQ(doc->Collected.NeighborMean[j][r - 1], expected[j]) << "kind " << j << " R " << r;
            EXPECT_EQ(doc->NeighborLog[j][SeriesIndex(r, 4)], expected[j]) << "kind " << j << " R " << r;
        }
    }
}

TEST(Neighbors, AgreeWithCountingEveryPairOnCrowdedFields)
{
    // Agents packed onto small fields, edges included, against a direct count
    // of every ordered pair.
    std::mt19937 random(7);
    for (int trial = 0; trial < 40; ++trial) {
        const int size = 8 + static_cast<int>(random() % 30);
        PresentAgents agents;
        std::vector<char> taken(GridCells, 0);
        for (int s = 0; s < 2; ++s) {
            agents.Count[s] = 0;
            for (int tries = 0; tries < 60; ++tries) {
                const int x = 1 + static_cast<int>(random() % size), y = 1 + static_cast<int>(random() % size);
                if (taken[GridIndex(x, y)])
                    continue;
                taken[GridIndex(x, y)] = 1;
                agents.X[s][agents.Count[s]] = x;
                agents.Y[s][agents.Count[s]] = y;
                ++agents.Count[s];
            }
        }
        const auto work = std::make_unique<CNeighborWork>();
        double means[NeighborKinds][StatisticRanges];
        ComputeNeighborCounts(agents, size, *work, means);
        for (int r = 1; r <= 7; ++r) {
            double count[2][2] = {};
            for (int s = 0; s < 2; ++s)
                for (int a = 0; a < agents.Count[s]; ++a)
                    for (int o = 0; o < 2; ++o)
                        for (int b = 0; b < agents.Count[o]; ++b)
                            if ((s != o || a != b) && std::abs(agents.X[s][a] - agents.X[o][b]) <= r &&
                                std::abs(agents.Y[s][a] - agents.Y[o][b]) <= r)
                                ++count[s][o];
            ASSERT_DOUBLE_EQ(means[0][r - 1], count[0][0] / agents.Count[0]) << trial << " R " << r;
            ASSERT_DOUBLE_EQ(means[1][r - 1], count[0][1] / agents.Count[0]) << trial << " R " << r;
            ASSERT_DOUBLE_EQ(means[3][r - 1], count[1][0] / agents.Count[1]) << trial << " R " << r;
            ASSERT_DOUBLE_EQ(means[4][r - 1], count[1][1] / agents.Count[1]) << trial << " R " << r;
        }
    }
}

TEST(CenterOfMassAndGoals, HandValues)
{
    testing::TestDocument doc;
    // RED flag (1,1), BLUE flag (10,1). RED (2,4), (4,8): centre (3,6);
    // BLUE (10,1) on its own flag and (4,6), 3 and 5 from the RED flag.
    Place(*doc, {{2, 4}, {4, 8}}, {{10, 1}, {4, 6}, {100, 100, Dead}});
    doc->RunHeader.CurrentStep = 2;
    doc->ComputeCenterOfMass();
    const double center[6] = {3, 6, 7, 3.5, 5, 4.75};
    for (int i = 0; i < 6; ++i)
        EXPECT_DOUBLE_EQ(doc->Collected.CenterOfMassSeries[i][2], center[i]) << i;

    doc->ComputeGoalCount();
    // Chebyshev distances: RED to the BLUE flag 8, 7 → R = 7 has one, none below.
    // BLUE to the RED flag: 9 and 5. RED to the RED flag: 3 and 7.
    // BLUE to the BLUE flag: 0 and 6.
    const double counts[4][7] = {
        {0, 0, 0, 0, 0, 0, 1},
        {0, 0, 0, 0, 1, 1, 1},
        {0, 0, 1, 1, 1, 1, 2},
        {1, 1, 1, 1, 1, 2, 2},
    };
    for (int k = 0; k < 4; ++k)
        for (int r = 1; r <= 7; ++r)
            EXPECT_EQ(doc->GoalCountLog[k][SeriesIndex(r, 2)], counts[k][r - 1]) << "kind " << k << " R " << r;

    // Without BLUE, the centre of both sides is RED's.
    Place(*doc, {{2, 4}, {4, 8}}, {});
    doc->ComputeCenterOfMass();
    const double redOnly[6] = {3, 6, 0, 0, 3, 6};
    for (int i = 0; i < 6; ++i)
        EXPECT_DOUBLE_EQ(doc->Collected.CenterOfMass[i], redOnly[i]) << i;
}

TEST(Territory, FractionsOfASmallConfiguration)
{
    // Four RED agents in the square (10..11, 10..11) with R 2, N 4, D 2: the
    // cells whose 5 x 5 window holds all four are x, y = 9..12, 16 cells, and
    // only those have 4 RED agents around them.
    struct Case {
        int UserArea;
        int Size;
        double Raw;
    };
    // A 12-cell field: the default user area (10, 10) +/- 5 has 8 x 8 cells on
    // the field (5..12), the whole field 144.
    const Case cases[] = {{1, 12, 16.0 / 64}, {0, 12, 16.0 / 144}, {1, 150, 16.0 / 121}};
    for (const Case& c : cases) {
        testing::TestDocument doc;
        doc->ResetDataCollection();
        doc->Battlefield.BattleSize = c.Size;
        doc->Battlefield.TerritoryUserArea = c.UserArea;
        Place(*doc, {{10, 10}, {10, 11}, {11, 10}, {11, 11}}, {{1, 12}});
        doc->RunHeader.CurrentStep = 3;
        doc->CollectTerritorialPossession();
        const CCollectedStatistics& s = doc->Collected;
        EXPECT_DOUBLE_EQ(s.RedTerritoryRaw[3], c.Raw) << c.Size << " " << c.UserArea;
        EXPECT_DOUBLE_EQ(s.RedTerritoryNormalized[3], 1.0);
        EXPECT_EQ(s.BlueTerritoryRaw[3], 0.0);
        EXPECT_EQ(s.BlueTerritoryNormalized[3], 0.0);
    }

    // Two BLUE agents join at (12, 12) and (12, 11): cells whose window holds
    // both and all four RED (x, y = 10..12, 9 cells) are RED's only with a lead
    // of 2 over them, which 4 against 2 has; with 3 BLUE it is nobody's.
    testing::TestDocument doc;
    doc->ResetDataCollection();
    doc->Battlefield.BattleSize = 20;
    Place(*doc, {{10, 10}, {10, 11}, {11, 10}, {11, 11}}, {{12, 12}, {12, 11}, {1, 1}});
    doc->CollectTerritorialPossession();
    EXPECT_DOUBLE_EQ(doc->Collected.RedTerritoryRaw[0], 16.0 / 400);
    Place(*doc, {{10, 10}, {10, 11}, {11, 10}, {11, 11}}, {{12, 12}, {12, 11}, {12, 10}});
    doc->CollectTerritorialPossession();
    // The cells x, y = 10..12 see all three BLUE as well: 9 of the 16 lost.
    EXPECT_DOUBLE_EQ(doc->Collected.RedTerritoryRaw[0], 7.0 / 400);
    EXPECT_DOUBLE_EQ(doc->Collected.RedTerritoryNormalized[0], 7.0 / 16);
}

TEST(Territory, ZeroMinimumAndMarginOwnOnlyTheUserBox)
{
    // N = 0 and D = 0 give every counted cell to RED (0 >= 0 and 0 >= 0 + 0),
    // but outside the user box nothing is counted: on a 3 x 3 field with the
    // box = cell (1, 1) and no agents, RED owns that one cell of the 1-cell
    // area, so both its fractions are 1 and BLUE (tested after RED) has none.
    testing::TestDocument doc;
    doc->ResetDataCollection();
    CBattlefield& f = doc->Battlefield;
    f.BattleSize = 3;
    f.TerritoryUserArea = 1;
    f.TerritoryCenterX = f.TerritoryCenterY = 1;
    f.TerritoryRangeX = f.TerritoryRangeY = 0;
    f.TerritoryMinCount = f.TerritoryDelta = 0;
    Place(*doc, {}, {});
    doc->CollectTerritorialPossession();
    const CCollectedStatistics& s = doc->Collected;
    EXPECT_DOUBLE_EQ(s.RedTerritoryRaw[0], 1.0);
    EXPECT_DOUBLE_EQ(s.RedTerritoryNormalized[0], 1.0);
    EXPECT_EQ(s.BlueTerritoryRaw[0], 0.0);
    EXPECT_EQ(s.BlueTerritoryNormalized[0], 0.0);
}

TEST(Territory, RangesPastTheFieldNegativeOrReachingNoAgent)
{
    // A 5 x 5 field (25 cells), the whole field counted.
    struct Case {
        int Range, MinCount, Delta;
        std::vector<Cell> Red, Blue;
        double RedRaw, RedNormalized, BlueRaw, BlueNormalized;
    };
    const Case cases[] = {
        // Every window holds the whole field: 1 RED >= N 1 and >= 0 + D 1 everywhere.
        {1000, 1, 1, {{3, 3}}, {}, 1.0, 1.0, 0.0, 0.0},
        // The 3 x 3 cells around (3, 3) see it: 9 owned of 9 near.
        {1, 1, 1, {{3, 3}}, {}, 9.0 / 25, 1.0, 0.0, 0.0},
        // A negative range sees nobody: no cell has N 1 ...
        {-1, 1, 1, {{3, 3}}, {}, 0.0, 0.0, 0.0, 0.0},
        // ... but with N 0 and D 0 every cell has 0 >= 0 and 0 >= 0 + 0 for RED.
        {-1, 0, 0, {{3, 3}}, {}, 1.0, 1.0, 0.0, 0.0},
        // RED at (1, 1) and BLUE at (5, 5) each reach their 2 x 2 corner, which
        // they own with 1 >= 0 + D 1; the 17 cells between (columns 3 and
        // beyond reach no agent) are near both (0 >= N 0) but owned by
        // neither (0 < 0 + 1).
        {1, 0, 1, {{1, 1}}, {{5, 5}}, 4.0 / 25, 4.0 / 25, 4.0 / 25, 4.0 / 25},
    };
    for (const Case& c : cases) {
        testing::TestDocument doc;
        doc->ResetDataCollection();
        CBattlefield& f = doc->Battlefield;
        f.BattleSize = 5;
        f.TerritoryUserArea = 0;
        f.TerritoryRange = c.Range;
        f.TerritoryMinCount = c.MinCount;
        f.TerritoryDelta = c.Delta;
        Place(*doc, c.Red, c.Blue);
        doc->CollectTerritorialPossession();
        const CCollectedStatistics& s = doc->Collected;
        EXPECT_DOUBLE_EQ(s.RedTerritoryRaw[0], c.RedRaw) << c.Range << " " << c.MinCount;
        EXPECT_DOUBLE_EQ(s.RedTerritoryNormalized[0], c.RedNormalized) << c.Range << " " << c.MinCount;
        EXPECT_DOUBLE_EQ(s.BlueTerritoryRaw[0], c.BlueRaw) << c.Range << " " << c.MinCount;
        EXPECT_DOUBLE_EQ(s.BlueTerritoryNormalized[0], c.BlueNormalized) << c.Range << " " << c.MinCount;
    }
}

}  // namespace
}  // namespace brevimar
