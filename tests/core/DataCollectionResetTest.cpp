#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

// The chart-selection block in storage order, chart by chart.
std::vector<int> ExpectedChartSelections()
{
    std::vector<int> v = {0, 0, 0, 0, 1, 1, 0,                             // attrition
                          2, 2, 0, 1, 100,                                 // cluster distribution
                          1, 50, 75, 25, 2, 2, 0, 0, 1, 1, 1, 0, 0, 0, 0,  // interpoint distribution
                          1, 1, 0, 0, 0, 0, 2,                             // neighbour count
                          0, 1, 1, 0, 5,                                   // goal count
                          0, 0, 1,                                         // spatial entropy, sides
                          0, 0, 1, 1,                                      // capacity dimension
                          0, 1, 0,                                         // spatial entropy, divisions
                          1, 1, 0, 2,                                      // centre of mass
                          1,                                               // combat entropy
                          1, 1, 1, 1,                                      // GA mission fitness
                          0, 1, 0, 1,                                      // territorial possession
                          1, 11, 11, 1, 1, 0, 1, 1};                       // weapon shots and hits
    v.insert(v.end(), 13, 0);
    v.insert(v.end(), {1, 1, 0, 1, 1});
    v.insert(v.end(), 13, 0);
    v.insert(v.end(), {1, 1, 1});
    v.insert(v.end(), 7, 0);
    return v;
}

std::vector<int> StoredChartSelections(const CChartSelections& charts)
{
    static_assert(sizeof(CChartSelections) == 111 * sizeof(int), "the chart selections are 111 ints");
    std::vector<int> v(111);
    std::memcpy(v.data(), &charts, sizeof charts);
    return v;
}

TEST(DataCollectionReset, ChartSelectionsReturnToTheirDefaultsInStorageOrder)
{
    testing::TestDocument doc;
    std::memset(static_cast<void*>(&doc->Charts), 0x5A, sizeof doc->Charts);
    doc->ResetDataCollection();
    EXPECT_EQ(StoredChartSelections(doc->Charts), ExpectedChartSelections());
    // The attrition chart's seven switches, named: "Red + Blue" is stored
    // last, so the defaults 0,0,0,0,1,1,0 show the two side totals only.
    const CChartSelections& c = doc->Charts;
    EXPECT_EQ((std::vector<int>{c.AttritionShowAll, c.AttritionShowRedAlive, c.AttritionShowRedInjured,
                                c.AttritionShowBlueAlive, c.AttritionShowBlueInjured, c.AttritionShowRedTotal,
                                c.AttritionShowBlueTotal}),
              (std::vector<int>{0, 0, 0, 0, 0, 1, 1}));
}

TEST(DataCollectionReset, TerritorialAndDisplayDefaults)
{
    testing::TestDocument doc;
    doc->ZoomFactor = 3.0f;
    doc->ZoomAreaCleared = 1;
    doc->TerrainEditMode = 1;
    doc->EditTerrainType = 4;
    doc->EditRedSquad = doc->EditBlueSquad = 7;
    doc->BattleFrontOn = 1;
    doc->BattleFrontSolid = 1;
    doc->RedActivityMapOn = doc->BlueActivityMapOn = 1;
    doc->ResetDataCollection();

    const CBattlefield& f = doc->Battlefield;
    EXPECT_EQ(f.TerritoryRange, 2);
    EXPECT_EQ(f.TerritoryMinCount, 4);
    EXPECT_EQ(f.TerritoryDelta, 2);
    EXPECT_EQ(f.TerritoryCenterX, 10);
    EXPECT_EQ(f.TerritoryRangeX, 5);
    EXPECT_EQ(f.TerritoryCenterY, 10);
    EXPECT_EQ(f.TerritoryRangeY, 5);
    EXPECT_EQ(f.TerritoryUserArea, 0);

    EXPECT_EQ(doc->ZoomFactor, 1.0f);
    EXPECT_EQ(doc->ZoomAreaCleared, 0);
    EXPECT_EQ(doc->TerrainEditMode, 0);
    EXPECT_EQ(doc->EditTerrainType, 1);
    EXPECT_EQ(doc->EditRedSquad, 1);
    EXPECT_EQ(doc->EditBlueSquad, 1);
    EXPECT_EQ(doc->Statistics.BattleFrontRadius, 2);
    EXPECT_EQ(doc->Statistics.BattleFrontThreshold, 3);
    EXPECT_EQ(doc->BattleFrontOn, 0);
    EXPECT_EQ(doc->BattleFrontGrayscale, 1);
    EXPECT_EQ(doc->BattleFrontSolid, 0);
    EXPECT_EQ(doc->RedActivityMapOn, 0);
    EXPECT_EQ(doc->BlueActivityMapOn, 0);
    EXPECT_EQ(doc->ActivityNormaliser, 3);
    EXPECT_EQ(doc->ActivityRadius, 1);
}

TEST(DataCollectionReset, AgentFileDeploymentAndInteractiveRestartChoiceSurvive)
{
    testing::TestDocument doc;
    const int expected[] = {RandomDeployment, RandomDeployment, RandomDeployment, AgentFileDeployment};
    for (int source = 0; source <= 3; ++source) {
        doc->DeploymentSource = source;
        doc->ResetDataCollection();
        EXPECT_EQ(doc->DeploymentSource, expected[source]) << "source " << source;
    }
    for (int mode = 0; mode <= 5; ++mode) {
        doc->RunMode = mode;
        doc->RestartUsesAgentFile = 1;
        doc->ResetDataCollection();
        EXPECT_EQ(doc->RestartUsesAgentFile, mode == InteractiveMode ? 1 : 0) << "run mode " << mode;
    }
}

TEST(DataCollectionReset, SeriesAreClearedForSteps0To500Only)
{
    testing::TestDocument doc;
    CStatisticsSeries& s = doc->Series;
    for (int t = 0; t < SeriesLength; ++t) {
        s.RedAliveSeries[t] = s.RedInjuredSeries[t] = s.BlueAliveSeries[t] = s.BlueInjuredSeries[t] = 7;
        s.RedCombatEntropy[t] = s.BlueCombatEntropy[t] = 7;
    }
    std::vector<double*> rangeLogs;
    for (auto& log : doc->NeighborLog)
        rangeLogs.push_back(log.get());
    for (auto& log : doc->GoalCountLog)
        rangeLogs.push_back(log.get());
    for (double* log : rangeLogs)
        std::fill(log, log + 8 * SeriesLength, 7.0);
    for (auto* log : {&doc->RedShotsLog, &doc->RedHitsLog, &doc->BlueShotsLog, &doc->BlueHitsLog})
        std::fill(log->get(), log->get() + WeaponKinds * SeriesLength, 7.0);
    for (auto* log : {&doc->RedSquadShotsLog, &doc->RedSquadHitsLog, &doc->BlueSquadShotsLog, &doc->BlueSquadHitsLog})
        std::fill(log->get(), log->get() + SquadSlots * WeaponKinds * SeriesLength, 7.0);

    doc->ResetDataCollection();

    for (int t = 0; t <= MaxSeriesStep; ++t) {
        ASSERT_EQ(s.RedAliveSeries[t], 1) << t;
        ASSERT_EQ(s.RedInjuredSeries[t], 0) << t;
        ASSERT_EQ(s.BlueAliveSeries[t], 1) << t;
        ASSERT_EQ(s.BlueInjuredSeries[t], 0) << t;
        ASSERT_EQ(s.RedCombatEntropy[t], 0.0) << t;
        ASSERT_EQ(s.BlueCombatEntropy[t], 0.0) << t;
    }
    EXPECT_EQ(s.RedAliveSeries[501], 7);
    EXPECT_EQ(s.BlueCombatEntropy[501], 7.0);

    for (double* log : rangeLogs) {
        for (int t = 0; t < SeriesLength; ++t)
            ASSERT_EQ(log[SeriesIndex(0, t)], 7.0) << "row 0 is not a range";
        for (int r = 1; r <= 7; ++r) {
            for (int t = 0; t <= MaxSeriesStep; ++t)
                ASSERT_EQ(log[SeriesIndex(r, t)], 0.0);
            ASSERT_EQ(log[SeriesIndex(r, 501)], 7.0);
        }
    }
    for (auto* log : {&doc->RedShotsLog, &doc->RedHitsLog, &doc->BlueShotsLog, &doc->BlueHitsLog})
        for (int w = 0; w < WeaponKinds; ++w) {
            for (int t = 0; t <= MaxSeriesStep; ++t)
                ASSERT_EQ((*log)[SeriesIndex(w, t)], 0.0);
            ASSERT_EQ((*log)[SeriesIndex(w, 501)], 7.0);
        }
    for (auto* log : {&doc->RedSquadShotsLog, &doc->RedSquadHitsLog, &doc->BlueSquadShotsLog, &doc->BlueSquadHitsLog})
        for (int sq = 0; sq < SquadSlots; ++sq)
            for (int w = 0; w < WeaponKinds; ++w) {
                for (int t = 0; t <= MaxSeriesStep; ++t)
                    ASSERT_EQ((*log)[SquadWeaponLogIndex(sq, w, t)], 0.0);
                ASSERT_EQ((*log)[SquadWeaponLogIndex(sq, w, 501)], 7.0);
            }
}

TEST(DataCollectionReset, WorksBeforeTheHeapBuffersExist)
{
    auto doc = CBrevimarDoc::Create();
    doc->ResetDataCollection();
    EXPECT_EQ(doc->Series.RedAliveSeries[0], 1);
    EXPECT_EQ(doc->Charts.ClusterGraphMaxSize, 100);
}

}  // namespace
}  // namespace brevimar
