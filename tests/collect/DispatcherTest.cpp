#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/Scenarios.h"
#include "support/TestDocument.h"

namespace brevimar {
namespace {

// One value of each statistic's series at step t.
struct Probe {
    const char* Name;
    std::function<int&(CBrevimarDoc&)> Switch;
    std::function<double(CBrevimarDoc&, int t)> Value;
};

std::vector<Probe> Probes()
{
    return {
        {"interpoint", [](CBrevimarDoc& d) -> int& { return d.Statistics.InterpointOn; },
         [](CBrevimarDoc& d, int t) { return d.Collected.InterpointMean[6][t]; }},
        {"entropy", [](CBrevimarDoc& d) -> int& { return d.Statistics.SpatialEntropyOn; },
         [](CBrevimarDoc& d, int t) { return d.Collected.SpatialEntropy256[2][t]; }},
        {"clusters D=1", [](CBrevimarDoc& d) -> int& { return d.Statistics.ClusterD1On; },
         [](CBrevimarDoc& d, int t) { return d.Collected.MeanClusterSizeD1[t]; }},
        {"clusters D=2", [](CBrevimarDoc& d) -> int& { return d.Statistics.ClusterD2On; },
         [](CBrevimarDoc& d, int t) { return d.Collected.MeanClusterSizeD2[t]; }},
        {"neighbours", [](CBrevimarDoc& d) -> int& { return d.Statistics.NeighborStatsOn; },
         [](CBrevimarDoc& d, int t) { return d.NeighborLog[2][SeriesIndex(7, t)]; }},
        {"centre of mass", [](CBrevimarDoc& d) -> int& { return d.Statistics.CenterOfMassOn; },
         [](CBrevimarDoc& d, int t) { return d.Collected.CenterOfMassSeries[4][t]; }},
        {"goal counts", [](CBrevimarDoc& d) -> int& { return d.Statistics.GoalStatsOn; },
         [](CBrevimarDoc& d, int t) { return d.GoalCountLog[0][SeriesIndex(7, t)]; }},
        {"territory", [](CBrevimarDoc& d) -> int& { return d.Statistics.TerritoryStatsOn; },
         [](CBrevimarDoc& d, int t) { return d.Collected.RedTerritoryRaw[t]; }},
        {"weapons", [](CBrevimarDoc& d) -> int& { return d.WeaponStatsOn; },
         [](CBrevimarDoc& d, int t) { return d.RedShotsLog[SeriesIndex(1, t)]; }},
        {"capacity dimension", [](CBrevimarDoc& d) -> int& { return d.Statistics.CapacityDimensionOn; },
         [](CBrevimarDoc& d, int t) { return d.Collected.CapacityDimensionError[2][t]; }},
    };
}

// Agents that make every probe above non-zero: a RED block beside the BLUE
// flag, a BLUE agent near it, and a shot fired with weapon 1.
void Crowd(CBrevimarDoc& doc)
{
    doc.RunMode = InteractiveMode;
    doc.Battlefield.BattleSize = 40;
    doc.SetupBattlefield();
    doc.RedForce.GoalFlagX = doc.RedForce.GoalFlagY = 20;  // the BLUE flag
    doc.BlueForce.GoalFlagX = doc.BlueForce.GoalFlagY = 1;
    CForce& red = doc.RedForce;
    red.NumAgents = 9;
    for (int i = 1; i <= 9; ++i) {
        red.AgentX[i] = 17 + (i - 1) % 3 + (i > 6 ? 10 : 0);
        red.AgentY[i] = 17 + (i - 1) / 3;
        red.AgentState[i] = Alive;
        doc.Battlefield.AgentGrid[GridIndex(red.AgentX[i], red.AgentY[i])] = CellAgent;
    }
    doc.BlueForce.NumAgents = 1;
    doc.BlueForce.AgentX[1] = doc.BlueForce.AgentY[1] = 22;
    doc.BlueForce.AgentState[1] = Alive;
    doc.RedTallies.WeaponShots[1] = 3;
}

TEST(StepStatisticsDispatcher, EachSwitchRunsItsOwnStatisticOnly)
{
    for (const Probe& on : Probes()) {
        testing::TestDocument doc;
        Crowd(*doc);
        doc->RunHeader.CurrentStep = 5;
        on.Switch(*doc) = 1;
        doc->CollectStepStatistics();
        for (const Probe& p : Probes()) {
            if (std::string(p.Name) == on.Name)
                EXPECT_NE(p.Value(*doc, 5), 0.0) << on.Name;
            else
                EXPECT_EQ(p.Value(*doc, 5), 0.0) << p.Name << " ran with only " << on.Name << " on";
            EXPECT_EQ(p.Value(*doc, 4), 0.0) << "only step 5 is filed";
        }
    }
}

TEST(SetAll, SwitchesEveryStatisticOnAfterAResetAndASecondChoiceOnlyClearsTheMark)
{
    testing::TestDocument doc;
    doc->Collected.InterpointMean[3][8] = 4;
    doc->Charts.GoalGraphRange = 2;
    doc->BlueForce.WeaponsOn = 1;
    doc->SetAllStatistics();
    const CStatisticsParameters& s = doc->Statistics;
    for (const Probe& p : Probes())
        EXPECT_EQ(p.Switch(*doc), 1) << p.Name;
    EXPECT_EQ(s.AllStatisticsOn, 1);
    EXPECT_EQ(s.DataCollectionOn, 0) << "the master switch is the user's";
    EXPECT_EQ(doc->Collected.InterpointMean[3][8], 0.0) << "collection reset";
    EXPECT_EQ(doc->Charts.GoalGraphRange, 5) << "chart selections back to their defaults";

    doc->SetAllStatistics();
    EXPECT_EQ(s.AllStatisticsOn, 0);
    for (const Probe& p : Probes())
        EXPECT_EQ(p.Switch(*doc), 1) << p.Name;

    // Without weapons on either side their statistics stay off.
    doc->BlueForce.WeaponsOn = 0;
    doc->SetAllStatistics();
    EXPECT_EQ(doc->WeaponStatsOn, 0);
}

TEST(StepStatistics, AnInteractiveRunFilesEveryStepFromZeroUntilASwitchGoesOff)
{
    testing::TestDocument doc;
    testing::SkirmishOptions options;
    options.PerSide = 40;
    testing::MakeSkirmish(*doc, options);
    doc->Battlefield.termination = 2;  // no early end at the flag
    doc->Statistics.DataCollectionOn = 1;
    doc->SetAllStatistics();
    doc->InitializeForces();
    doc->ResetBattlefield();
    const int steps = 40;
    for (int tick = 1; tick <= steps; ++tick) {
        if (tick == 25)
            doc->Statistics.CenterOfMassOn = 0;
        doc->Resume();
        doc->OnTimer(42);
    }
    ASSERT_EQ(doc->RunHeader.CurrentStep, steps);
    const CCollectedStatistics& c = doc->Collected;
    const int size = options.BattleSize;
    for (int t = 0; t <= steps; ++t) {
        SCOPED_TRACE(t);
        // Invariants of every statistic over the run.
        EXPECT_GE(c.MeanClusterSizeD2[t], c.MeanClusterSizeD1[t]) << "D=2 clusters join D=1 clusters";
        EXPECT_GT(c.MeanClusterSizeD1[t], 0.0);
        for (int g = 0; g < 3; ++g) {
            EXPECT_GE(c.SpatialEntropy64[g][t], 0.0);
            EXPECT_LE(c.SpatialEntropy64[g][t], 1.0);
            EXPECT_GE(c.CapacityDimension[g][t], -0.5);
            EXPECT_LE(c.CapacityDimension[g][t], 2.5);
        }
        EXPECT_GT(c.InterpointMean[6][t], 0.0);
        EXPECT_LE(c.InterpointMean[6][t], size * 1.5);
        for (int r = 1; r <= 7; ++r)
            EXPECT_DOUBLE_EQ(doc->NeighborLog[2][SeriesIndex(r, t)],
                             doc->NeighborLog[0][SeriesIndex(r, t)] + doc->NeighborLog[1][SeriesIndex(r, t)]);
        for (double f : {c.RedTerritoryRaw[t], c.RedTerritoryNormalized[t], c.BlueTerritoryNormalized[t]}) {
            EXPECT_GE(f, 0.0);
            EXPECT_LE(f, 1.0);
        }
        if (t < 25) {
            EXPECT_GE(c.CenterOfMassSeries[0][t], 1.0);
            EXPECT_LE(c.CenterOfMassSeries[0][t], size);
        } else {
            EXPECT_EQ(c.CenterOfMassSeries[0][t], 0.0) << "switched off";
        }
    }
    // The RED forces start in their box and close on BLUE: the cross distance shrinks.
    EXPECT_LT(c.InterpointMean[6][steps], c.InterpointMean[6][0]);
}

}  // namespace
}  // namespace brevimar
