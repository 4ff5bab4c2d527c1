#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

constexpr double C = 2.718281828248031;

void SetStates(CForce& force, std::initializer_list<int> states)
{
    force.NumAgents = static_cast<int>(states.size());
    int i = 1;
    for (int s : states)
        force.AgentState[i++] = s;
}

TEST(Attrition, CountsAndSeriesAreFiledUnderTheCurrentStep)
{
    testing::TestDocument doc;
    SetStates(doc->RedForce, {Alive, Injured, Dead, Alive, Alive, Dead, Dead, Alive, Injured, Dead});
    SetStates(doc->BlueForce, {Alive, Alive, Injured});
    doc->RunHeader.CurrentStep = 17;
    doc->RecordAttrition();

    EXPECT_EQ(doc->RunHeader.RedAlive, 4);
    EXPECT_EQ(doc->RunHeader.RedInjured, 2);
    EXPECT_EQ(doc->RunHeader.BlueAlive, 2);
    EXPECT_EQ(doc->RunHeader.BlueInjured, 1);
    const CStatisticsSeries& s = doc->Series;
    EXPECT_EQ(s.RedAliveSeries[17], 4);
    EXPECT_EQ(s.RedInjuredSeries[17], 2);
    EXPECT_EQ(s.BlueAliveSeries[17], 2);
    EXPECT_EQ(s.BlueInjuredSeries[17], 1);
    EXPECT_EQ(s.RedAliveSeries[16], 0);
    // Four of ten lost: c 0.4 ln 2.5; nothing lost: 0.
    EXPECT_DOUBLE_EQ(s.RedCombatEntropy[17], C * 0.4 * std::log(1.0 / 0.4));
    EXPECT_EQ(s.BlueCombatEntropy[17], 0.0);
}

TEST(Attrition, CombatEntropyIsZeroAtTheEnds)
{
    testing::TestDocument doc;
    SetStates(doc->RedForce, {Dead, Dead, Dead});
    doc->BlueForce.NumAgents = 0;
    doc->Series.RedCombatEntropy[3] = doc->Series.BlueCombatEntropy[3] = 9;
    doc->RunHeader.CurrentStep = 3;
    doc->RecordAttrition();
    EXPECT_EQ(doc->Series.RedCombatEntropy[3], 0.0) << "all lost";
    EXPECT_EQ(doc->Series.BlueCombatEntropy[3], 0.0) << "no agents";
    EXPECT_EQ(doc->Series.BlueAliveSeries[3], 0);
    EXPECT_FALSE(std::isnan(doc->Series.BlueCombatEntropy[3]));

    // The largest value, c/e, at a loss share of 1/e is below 1 as c < e.
    testing::TestDocument peak;
    CForce& red = peak->RedForce;
    red.NumAgents = 300;
    for (int i = 1; i <= 300; ++i)
        red.AgentState[i] = i <= 110 ? Dead : Alive;
    peak->RecordAttrition();
    EXPECT_NEAR(peak->Series.RedCombatEntropy[0], C / std::exp(1.0), 1e-4);
    EXPECT_LT(peak->Series.RedCombatEntropy[0], 1.0);
}

TEST(Attrition, AStepPastTheSeriesUpdatesOnlyTheLiveCounts)
{
    testing::TestDocument doc;
    SetStates(doc->RedForce, {Alive});
    doc->RunHeader.CurrentStep = 501;
    doc->Series.RedAliveSeries[501] = 8;
    doc->RecordAttrition();
    EXPECT_EQ(doc->RunHeader.RedAlive, 1);
    EXPECT_EQ(doc->Series.RedAliveSeries[501], 8);
    doc->RunHeader.CurrentStep = -1;
    doc->Series.RedAliveSeries[0] = 8;
    doc->RedForce.AgentState[1] = Injured;
    doc->RecordAttrition();  // must not write before the series
    doc->RecordStepStatistics();
    EXPECT_EQ(doc->RunHeader.RedAlive, 0);
    EXPECT_EQ(doc->RunHeader.RedInjured, 1);
    EXPECT_EQ(doc->Series.RedAliveSeries[0], 8);
    EXPECT_EQ(doc->Series.RedInjuredSeries[0], 0);
}

TEST(Attrition, CapturedFramesAreCountedWithTheirOwnAgentCounts)
{
    testing::TestDocument doc;
    doc->NumRed() = 4;
    doc->NumBlue() = 2;
    doc->RunHeader.RedCount = 2;
    doc->RunHeader.BlueCount = 3;
    doc->RunHeader.CurrentStep = 5;
    const int red[] = {0, Alive, Injured, Alive, Injured};
    const int blue[] = {0, Injured, Dead, Alive};
    for (int i = 1; i <= 4; ++i)
        doc->Capture(RedCaptureState, 5, i) = red[i];
    for (int i = 1; i <= 3; ++i)
        doc->Capture(BlueCaptureState, 5, i) = blue[i];
    doc->Series.RedAliveSeries[5] = 42;

    doc->CountPlaybackAttrition();
    EXPECT_EQ(doc->RunHeader.RedAlive, 1);
    EXPECT_EQ(doc->RunHeader.RedInjured, 1);
    EXPECT_EQ(doc->RunHeader.BlueAlive, 1);
    EXPECT_EQ(doc->RunHeader.BlueInjured, 1);

    doc->CountReplayAttrition();
    EXPECT_EQ(doc->RunHeader.RedAlive, 2);
    EXPECT_EQ(doc->RunHeader.RedInjured, 2);
    EXPECT_EQ(doc->RunHeader.BlueAlive, 0);
    EXPECT_EQ(doc->RunHeader.BlueInjured, 1);
    EXPECT_EQ(doc->Series.RedAliveSeries[5], 42) << "no series is written";

    doc->RunHeader.CurrentStep = 400;  // past the captured rows
    doc->RunHeader.RedCount = 1000;
    doc->CountPlaybackAttrition();
    EXPECT_EQ(doc->RunHeader.RedAlive, 0);
}

TEST(Attrition, MultiRunSamplesAreFiledPerSquad)
{
    testing::TestDocument doc;
    doc->AllocateMultiRunBuffers();
    CForce& red = doc->RedForce;
    SetStates(red, {Alive, Injured, Alive, Dead});
    red.AgentSquad[1] = 1;
    red.AgentSquad[2] = 1;
    red.AgentSquad[3] = 3;
    red.AgentSquad[4] = 3;
    SetStates(doc->BlueForce, {Dead, Dead});
    doc->BlueForce.AgentSquad[1] = doc->BlueForce.AgentSquad[2] = 2;
    doc->Series.MultiRunSample = 351;
    doc->Series.MultiRunStep = 201;
    doc->SampleSquadRedAlive[SquadSampleIndex(0, 351, 201)] = 6;
    doc->SampleSquadRedAlive[SquadSampleIndex(1, 351, 201)] = 6;
    doc->RunHeader.CurrentStep = 0;
    doc->RecordMultiRunAttrition();

    const int cell = SampleIndex(351, 201);
    EXPECT_EQ(doc->SampleRedAlive[cell], 2);
    EXPECT_EQ(doc->SampleRedInjured[cell], 1);
    EXPECT_EQ(doc->SampleBlueAlive[cell], 0);
    EXPECT_EQ(doc->SampleSquadRedAlive[SquadSampleIndex(0, 351, 201)], 0);
    EXPECT_EQ(doc->SampleSquadRedAlive[SquadSampleIndex(1, 351, 201)], 1);
    EXPECT_EQ(doc->SampleSquadRedInjured[SquadSampleIndex(1, 351, 201)], 1);
    EXPECT_EQ(doc->SampleSquadRedAlive[SquadSampleIndex(3, 351, 201)], 1);
    EXPECT_DOUBLE_EQ(doc->SampleRedCombatEntropy[cell], C * 0.25 * std::log(4.0));
    EXPECT_EQ(doc->SampleBlueCombatEntropy[cell], 0.0);
    EXPECT_EQ(doc->RunHeader.RedAlive, 2);
    EXPECT_EQ(doc->Series.RedAliveSeries[0], 0) << "the single-run series are not written";
}

TEST(WeaponStatistics, LogsTakeTheStepsTalliesThenTalliesAreCleared)
{
    testing::TestDocument doc;
    doc->RunHeader.CurrentStep = 12;
    doc->RedTallies.WeaponShots[1] = 4;
    doc->RedTallies.WeaponHits[1] = 2;
    doc->BlueTallies.WeaponShots[Grenade] = 1;
    doc->RedTallies.SquadWeaponShots[10][5] = 3;
    doc->BlueTallies.SquadWeaponHits[2][0] = 1;
    doc->RedTallies.SquadWeaponShots[0][1] = 9;  // row 0 is only cleared
    doc->RedShotsLog[SeriesIndex(3, 12)] = 5;
    doc->RecordStepStatistics();

    EXPECT_EQ(doc->RedShotsLog[SeriesIndex(1, 12)], 4.0);
    EXPECT_EQ(doc->RedHitsLog[SeriesIndex(1, 12)], 2.0);
    EXPECT_EQ(doc->BlueShotsLog[SeriesIndex(Grenade, 12)], 1.0);
    EXPECT_EQ(doc->RedShotsLog[SeriesIndex(3, 12)], 0.0) << "no shot is a 0 in the log";
    EXPECT_EQ(doc->RedSquadShotsLog[SquadWeaponLogIndex(10, 5, 12)], 3.0);
    EXPECT_EQ(doc->BlueSquadHitsLog[SquadWeaponLogIndex(2, 0, 12)], 1.0);
    EXPECT_EQ(doc->RedSquadShotsLog[SquadWeaponLogIndex(0, 1, 12)], 0.0);
    EXPECT_EQ(doc->RedShotsLog[SeriesIndex(1, 11)], 0.0);

    EXPECT_EQ(doc->RedTallies.WeaponShots[1], 0.0);
    EXPECT_EQ(doc->RedTallies.SquadWeaponShots[10][5], 0.0);
    EXPECT_EQ(doc->RedTallies.SquadWeaponShots[0][1], 0.0);
    EXPECT_EQ(doc->BlueTallies.SquadWeaponHits[2][0], 0.0);
}

TEST(StepStatisticsDispatcher, RunsOnlyWhatIsSwitchedOn)
{
    testing::TestDocument doc;
    SetStates(doc->RedForce, {Alive, Alive});
    doc->RunHeader.CurrentStep = 7;
    doc->RedTallies.WeaponHits[2] = 5;
    doc->Series.RedAliveSeries[7] = 33;

    doc->CollectStepStatistics();
    EXPECT_EQ(doc->RedTallies.WeaponHits[2], 5.0) << "weapon statistics off: neither filed nor cleared";
    EXPECT_EQ(doc->RedHitsLog[SeriesIndex(2, 7)], 0.0);
    EXPECT_EQ(doc->Series.RedAliveSeries[7], 33) << "attrition is not the dispatcher's";

    doc->WeaponStatsOn = 2;  // only exactly 1 counts
    doc->CollectStepStatistics();
    EXPECT_EQ(doc->RedTallies.WeaponHits[2], 5.0);

    doc->WeaponStatsOn = 1;
    doc->CollectStepStatistics();
    EXPECT_EQ(doc->RedHitsLog[SeriesIndex(2, 7)], 5.0);
    EXPECT_EQ(doc->RedTallies.WeaponHits[2], 0.0);
    EXPECT_EQ(doc->Series.RedAliveSeries[7], 33);
}

TEST(StepStatisticsDispatcher, InteractiveForceInitialisationFilesStepZero)
{
    testing::TestDocument doc;
    doc->RunMode = InteractiveMode;
    doc->Statistics.DataCollectionOn = 1;
    doc->WeaponStatsOn = 1;
    doc->RunHeader.CurrentStep = 0;
    doc->RedTallies.WeaponShots[4] = 2;
    doc->InitializeForces();
    EXPECT_EQ(doc->RedShotsLog[SeriesIndex(4, 0)], 2.0);
    EXPECT_EQ(doc->RedTallies.WeaponShots[4], 0.0);
}

TEST(TerritorialPossession, OwnerNeedsCountAndMarginInsideTheArea)
{
    testing::TestDocument doc;
    doc->ResetDataCollection();  // R = 2, N = 4, delta = 2, whole battlefield
    doc->RunMode = InteractiveMode;
    doc->Battlefield.BattleSize = 20;
    auto put = [&](Side side, int i, int x, int y, int state) {
        CForce& f = doc->Force(side);
        f.NumAgents = std::max(f.NumAgents, i);
        f.AgentX[i] = x, f.AgentY[i] = y, f.AgentState[i] = state;
    };
    auto owner = [&](int x, int y) { return doc->TerritoryOwner[LatticeStride * x + y]; };
    doc->NumRed() = doc->NumBlue() = 0;
    put(Side::Red, 1, 9, 9, Alive), put(Side::Red, 2, 10, 9, Injured), put(Side::Red, 3, 11, 9, Alive);
    put(Side::Red, 4, 12, 12, Alive);
    put(Side::Blue, 1, 8, 11, Alive), put(Side::Blue, 2, 8, 12, Alive), put(Side::Blue, 3, 9, 12, Dead);
    doc->ComputeTerritorialPossession();
    EXPECT_EQ(owner(10, 10), 1) << "4 RED and 2 BLUE";
    EXPECT_EQ(owner(13, 10), 0) << "only 2 RED within R";
    doc->BlueForce.AgentState[3] = Injured;
    doc->ComputeTerritorialPossession();
    EXPECT_EQ(owner(10, 10), 0) << "4 RED and 3 BLUE";

    // A cell holding both sides counts for BLUE; the square is clipped at the edge.
    doc->NumRed() = doc->NumBlue() = 0;
    for (int i = 1; i <= 4; ++i)
        put(Side::Red, i, 1, i, Alive);
    put(Side::Blue, 1, 1, 1, Alive);
    doc->Battlefield.TerritoryDelta = 0;
    doc->ComputeTerritorialPossession();
    EXPECT_EQ(owner(1, 2), 0) << "3 RED cells and 1 BLUE";
    doc->Battlefield.TerritoryMinCount = 3;
    doc->ComputeTerritorialPossession();
    EXPECT_EQ(owner(1, 2), 1);
    doc->Battlefield.TerritoryUserArea = 1;  // centre (10, 10), ranges (5, 5)
    doc->ComputeTerritorialPossession();
    EXPECT_EQ(owner(1, 2), 0) << "outside the user-defined area";
    doc->Battlefield.TerritoryUserArea = 0;

    // Playback of a stored run reads the capture row of the current step.
    doc->RunMode = PlaybackMode;
    doc->RunHeader.CurrentStep = 5;
    for (int i = 1; i <= 4; ++i) {
        doc->Capture(RedCaptureState, 5, i) = Alive;
        doc->Capture(RedCaptureX, 5, i) = 15;
        doc->Capture(RedCaptureY, 5, i) = 10 + i;
    }
    doc->ComputeTerritorialPossession();
    EXPECT_EQ(owner(15, 12), 1);
    EXPECT_EQ(owner(1, 2), 0);
}

}  // namespace
}  // namespace brevimar
