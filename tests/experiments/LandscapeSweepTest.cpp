#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "experiments/LandscapeChartData.h"
#include "experiments/LandscapeFiles.h"
#include "experiments/LandscapeSetup.h"
#include "experiments/LandscapeSweep.h"
#include "files/ScenarioWriter.h"
#include "run/BatchDrivers.h"
#include "run/ScenarioLoad.h"
#include "support/Scenarios.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

using testing::MakeSkirmish;
using testing::TestDocument;

void Place(CForce& force, int i, int x, int y, int state)
{
    force.AgentX[i] = x;
    force.AgentY[i] = y;
    force.AgentState[i] = state;
}

// A 20 x 20 field; RED's goal (the BLUE flag) at (18, 18), BLUE's at (3, 3).
// RED: alive at (18, 18), injured at (16, 17), dead at (1, 1).
// BLUE: alive at (3, 4) and at (10, 10).
class HandMadeEndState : public ::testing::Test {
protected:
    TestDocument doc;
    CLandscapeRunState& run = doc->Landscape.Run;
    CLandscapeResults& res = doc->Landscape.Results();
    void SetUp() override
    {
        CBrevimarDoc& d = *doc;
        SetLandscapeModeDefaults(d);
        d.Battlefield.BattleSize = 20;
        d.RedForce.GoalFlagX = d.RedForce.GoalFlagY = 18;
        d.BlueForce.GoalFlagX = d.BlueForce.GoalFlagY = 3;
        d.RedForce.NumAgents = 3;
        d.BlueForce.NumAgents = 2;
        d.RedForce.NumSquads = d.BlueForce.NumSquads = 1;
        d.Battlefield.RED_cen_x[1] = d.Battlefield.RED_cen_y[1] = 5;
        d.Battlefield.R_box_l[1] = d.Battlefield.R_box_w[1] = 4;
        d.Battlefield.BLUE_cen_x[1] = d.Battlefield.BLUE_cen_y[1] = 15;
        d.Battlefield.B_box_l[1] = d.Battlefield.B_box_w[1] = 4;
        Place(d.RedForce, 1, 18, 18, 2);
        Place(d.RedForce, 2, 16, 17, 1);
        Place(d.RedForce, 3, 1, 1, 0);
        Place(d.BlueForce, 1, 3, 4, 2);
        Place(d.BlueForce, 2, 10, 10, 2);
        d.Landscape.Settings.LandscapeContainmentRange = 2.0;
        d.Landscape.Settings.LandscapeContainmentNumber = 2.0;
        run.LandscapeConditionIndex = 1;
    }
};

TEST_F(HandMadeEndState, PointConstantsFromTheBoxesAndFlags)
{
    ComputeLandscapePointConstants(*doc);
    EXPECT_EQ(run.LandscapeDistanceNorm, 29);  // 1 + trunc(1.4142135 * 20)
    // RED box corner (5 - 2, 5 - 2) = (3, 3): trunc(dist to (18, 18) = 21.21) - 1.
    EXPECT_EQ(run.LandscapeMinTimeToFlag, 20);
    // 5 x 5 cells around each goal, held to the side's agents.
    EXPECT_EQ(run.LandscapeRedContainmentCap, 3);
    EXPECT_EQ(run.LandscapeBlueContainmentCap, 2);
    // (16, 16) to (3, 3): trunc(18.38) - 1; (5, 5) to BLUE's corner (13, 13): trunc(11.31) - 1.
    EXPECT_EQ(run.LandscapeRedContainmentStart, 17);
    EXPECT_EQ(run.LandscapeBlueContainmentStart, 10);
    EXPECT_EQ(run.LandscapeContainmentStart, 10);
}

TEST_F(HandMadeEndState, PerStepMeasures)
{
    ComputeLandscapePointConstants(*doc);
    AccumulateLandscapeCenterOfMass(*doc);
    // RED centre (17, 17.5): sqrt(1 + 0.25) / 29; BLUE centre (6.5, 7): sqrt(12.25 + 16) / 29.
    EXPECT_NEAR(res.LandscapeMeasure[5][1], 1.1180340 / 29, 1e-7);
    EXPECT_NEAR(res.LandscapeMeasure[6][1], 5.3150729 / 29, 1e-7);

    CountForcesNearFlags(*doc);
    // Both RED agents within 2 of (18, 18): 2 of cap 3, contained; BLUE: 1 of cap 2.
    EXPECT_DOUBLE_EQ(res.LandscapeMeasure[7][1], 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(res.LandscapeMeasure[8][1], 0.5);
    EXPECT_EQ(run.LandscapeContained, 1);

    // Box (16..18) x (16..18), threshold range 1, one agent suffices: every cell
    // but (18, 16) has a RED agent next to it.
    CBattlefield& f = doc->Battlefield;
    f.TerritoryCenterX = f.TerritoryCenterY = 17;
    f.TerritoryRangeX = f.TerritoryRangeY = 1;
    f.TerritoryRange = 1, f.TerritoryMinCount = 1, f.TerritoryDelta = 0;
    doc->Landscape.Settings.LandscapeTerritoryCells = CountLandscapeTerritoryCells(f);
    AccumulateLandscapeTerritory(*doc);
    EXPECT_DOUBLE_EQ(res.LandscapeMeasure[11][1], 8.0 / 9.0);
    EXPECT_EQ(res.LandscapeMeasure[12][1], 0.0);
    EXPECT_EQ(doc->TerritoryOwner[LatticeStride * 18 + 16], 0);
    EXPECT_EQ(doc->TerritoryOwner[LatticeStride * 17 + 17], 1);
}

TEST_F(HandMadeEndState, ContainmentCapOfAnEmptySideCountsAsOne)
{
    doc->BlueForce.NumAgents = 0;
    ComputeLandscapePointConstants(*doc);
    EXPECT_EQ(run.LandscapeBlueContainmentCap, 0);
    CountForcesNearFlags(*doc);
    EXPECT_EQ(res.LandscapeMeasure[8][1], 0.0);
    EXPECT_TRUE(std::isfinite(res.LandscapeMeasure[8][1]));
}

// RED's cap is 3, its agent count when the point began; a fourth placed
// since and the dead third alive again at (18, 16) put 4 within 2 of the
// flag: the force there is whole, a fraction of 1, not 4 / 3.
TEST_F(HandMadeEndState, AnAgentAddedAfterTheCapMakesNoFractionAboveOne)
{
    ComputeLandscapePointConstants(*doc);
    ASSERT_EQ(run.LandscapeRedContainmentCap, 3);
    doc->RedForce.NumAgents = 4;
    Place(doc->RedForce, 3, 18, 16, 2);
    Place(doc->RedForce, 4, 17, 17, 2);
    CountForcesNearFlags(*doc);
    EXPECT_EQ(res.LandscapeMeasure[7][1], 1.0);
}

struct Expected {
    int K;
    double Score, Raw;
};

TEST_F(HandMadeEndState, ScoresAndRawValuesAfterTheRun)
{
    CLandscapeSettings& s = doc->Landscape.Settings;
    s.LandscapeMaxTimeToFlag = 5;
    s.LandscapePenaltyPower = 2;
    s.LandscapeUseTerritory = 1;
    s.LandscapeTerritoryTimeMin = 2, s.LandscapeTerritoryTimeMax = 4;  // L = 3
    run.LandscapeTime = 5;
    run.LandscapeMinTimeToFlag = 1;
    run.LandscapeContainmentRecorded = 1, run.LandscapeContainmentTime = 3;
    run.LandscapeContainmentStart = 2;  // W = 3
    res.LandscapeMeasure[5][1] = 1.0;
    res.LandscapeMeasure[6][1] = 0.5;
    res.LandscapeMeasure[7][1] = 1.5;
    res.LandscapeMeasure[8][1] = 0.6;
    res.LandscapeMeasure[11][1] = 1.5;
    res.LandscapeMeasure[12][1] = 0.3;
    doc->Battlefield.red_frat_flag = 1;
    doc->Battlefield.RedFratricideCount = 1;
    doc->Battlefield.BlueFratricideCount = 2;  // BLUE fratricide off: not taken
    ScoreLandscapeRun(*doc, 2, 3);
    const Expected rows[] = {
        {1, 0.5, 0.5},                // (5 - 3) / (5 - 1)
        {2, 2.0 / 3, 2.0 / 3},        // 2 RED present of 3
        {3, 0.0, 0.0},                // no BLUE loss
        {4, 0.25, 0.25},              // r = 2 / (2 * 3); m = c = 1: (1/3) / (4/3)
        {5, 0.8, 0.2},                // 1 - 1.0 / 5
        {6, 0.1, 0.1},                // 0.5 / 5
        {7, 0.375, 0.375},            // 1.5 / 4, the 4 observations 2..5 (W = 3 gave 0.5)
        {8, 0.85, 0.15},              // 1 - 0.6 / 4; 0.6 / 4
        {9, 2.0 / 3, 1.0 / 3},        // 1 - 1/3
        {10, 0.0, 0.0},
        {11, 0.5, 0.5},               // 1.5 / 3
        {12, 0.9, 0.1},               // 1 - 0.3 / 3
    };
    for (const Expected& e : rows) {
        EXPECT_NEAR(res.LandscapeMeasure[e.K][1], e.Score * e.Score, 1e-12) << "measure " << e.K;
        EXPECT_NEAR(doc->Landscape.LandscapeRawMeasure(e.K, 2, 3, 1), e.Raw, 1e-12) << "measure " << e.K;
    }
    EXPECT_EQ(run.LandscapeRedSurvivors, 2);
    EXPECT_EQ(run.LandscapeBlueSurvivors, 2);
}

struct NearFlags {
    int End, Start;
    double Sum7, Sum8, Raw7, Raw8, Score7, Score8;
    int Power = 1;
};

// A run's own value of measures 7 and 8 is the mean near fraction over the
// observations its window holds, t = max(start, 1) .. end: each fraction
// is at most 1, and so is the mean. The scores are that mean (8's is 1 less
// it), so they lie in [0, 1] too; W = end - start held one observation
// fewer once the window opens after the run's first.
TEST_F(HandMadeEndState, NearFlagValuesOfARunAreTheMeanOverItsObservations)
{
    const NearFlags rows[] = {
        // observations 2..5: 4 / 4 (the 4 / 3 written before), 2 / 4; 8 scores 1 - 2 / 4
        {5, 2, 4.0, 2.0, 1.0, 0.5, 1.0, 0.5},
        // BLUE near the flag at all 4: 8 scores 0, not 1 - 4 / 3 = -1 / 3 (cubed, a
        // negative term); RED near at half of them: 2 / 4 = 0.5, not 2 / 3; stored
        // cubed, 0.125 and 0
        {5, 2, 2.0, 4.0, 0.5, 1.0, 0.5, 0.0, 3},
        {5, 4, 2.0, 1.0, 1.0, 0.5, 1.0, 0.5},   // observations 4 and 5: 2 / 2, 1 / 2
        {5, 0, 2.5, 0.0, 0.5, 0.0, 0.5, 1.0},   // a window opening before the run: observations 1..5, 2.5 / 5
        {5, -1, 5.0, 5.0, 1.0, 1.0, 1.0, 0.0},  // W = 6 holds 5 observations: 5 / 5
        {5, 5, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0},   // W = 0: 1, as the measures score it
    };
    CLandscapeSettings& s = doc->Landscape.Settings;
    s.LandscapeMaxTimeToFlag = 5;
    for (const NearFlags& r : rows) {
        s.LandscapePenaltyPower = r.Power;
        run.LandscapeTime = r.End;
        run.LandscapeContainmentStart = r.Start;
        res.LandscapeMeasure[7][1] = r.Sum7;
        res.LandscapeMeasure[8][1] = r.Sum8;
        ScoreLandscapeRun(*doc, 1, 1);
        EXPECT_EQ(doc->Landscape.LandscapeRawMeasure(7, 1, 1, 1), r.Raw7) << r.Start;
        EXPECT_EQ(doc->Landscape.LandscapeRawMeasure(8, 1, 1, 1), r.Raw8) << r.Start;
        EXPECT_EQ(res.LandscapeMeasure[7][1], std::pow(r.Score7, r.Power)) << r.Start;
        EXPECT_EQ(res.LandscapeMeasure[8][1], std::pow(r.Score8, r.Power)) << r.Start;
    }
}

struct TimeToFlag {
    int T, EarliestArrival, ContainedAt, Power;
    double Raw, Stored;
};

TEST_F(HandMadeEndState, TimeToFlagStaysInZeroToOneWhenTheEarliestArrivalIsLate)
{
    // Score 1 = (T - tc) / max(T - earliest, 1), tc = max(contained at, earliest),
    // and no run can beat its earliest arrival: a negative value is 0.
    const TimeToFlag rows[] = {
        {50, 61, 30, 2, 0.0, 0.0},  // tc = 61: (50 - 61) / 1 = -11, whose square 121 was stored
        {50, 61, 30, 3, 0.0, 0.0},  // and whose cube was negative
        {50, 50, 30, 2, 0.0, 0.0},  // tc = T: 0 / 1
        {50, 20, 35, 1, 0.5, 0.5},  // (50 - 35) / (50 - 20)
        {50, 20, 10, 2, 1.0, 1.0},  // contained before the earliest arrival: tc = 20, 30 / 30
    };
    CLandscapeSettings& s = doc->Landscape.Settings;
    for (const TimeToFlag& r : rows) {
        s.LandscapeMaxTimeToFlag = r.T;
        s.LandscapePenaltyPower = r.Power;
        run.LandscapeTime = r.T;
        run.LandscapeMinTimeToFlag = r.EarliestArrival;
        run.LandscapeContainmentRecorded = 1, run.LandscapeContainmentTime = r.ContainedAt;
        ScoreLandscapeRun(*doc, 1, 1);
        EXPECT_EQ(doc->Landscape.LandscapeRawMeasure(1, 1, 1, 1), r.Raw) << r.EarliestArrival << " " << r.ContainedAt;
        EXPECT_EQ(res.LandscapeMeasure[1][1], r.Stored) << r.EarliestArrival << " " << r.ContainedAt;
    }
}

struct Survival {
    int NumBlue, BluePresent;
    double Expected;
};

TEST_F(HandMadeEndState, SurvivalRatioAndEmptyRed)
{
    // RED intact (3 of 3 after reviving agent 3).
    doc->RedForce.AgentState[3] = 2;
    const Survival rows[] = {{3, 3, 0.5}, {3, 0, 1.0}, {2, 2, 1.0 / 3}, {2, 0, 0.5}};
    doc->Landscape.Settings.LandscapePenaltyPower = 1;
    for (const Survival& r : rows) {
        doc->BlueForce.NumAgents = r.NumBlue;
        for (int i = 1; i <= r.NumBlue; ++i)
            doc->BlueForce.AgentState[i] = i <= r.BluePresent ? 2 : 0;
        ScoreLandscapeRun(*doc, 1, 1);
        EXPECT_NEAR(res.LandscapeMeasure[4][1], r.Expected, 1e-12) << r.NumBlue << " " << r.BluePresent;
    }
    doc->RedForce.NumAgents = 0;
    ScoreLandscapeRun(*doc, 1, 1);
    EXPECT_EQ(res.LandscapeMeasure[2][1], 0.0);
    EXPECT_EQ(doc->RedForce.NumAgents, 0);
}

// A 3 x 3 sweep of alive sensor range by alive COMBAT threshold on a small
// skirmish, two initial conditions of 8 observed steps each.
void SetUpSweep(TestDocument& doc)
{
    MakeSkirmish(*doc, {.PerSide = 6, .BattleSize = 30});
    doc->InputFileName = "skirmish.dat";
    SetLandscapeModeDefaults(*doc);
    ResetFitnessLandscapeData(*doc);
    CLandscapeSettings& s = doc->Landscape.Settings;
    s.LandscapeXParameter = 2, s.LandscapeXMin = 3, s.LandscapeXMax = 7, s.LandscapeXSamples = 2;
    s.LandscapeYParameter = 30, s.LandscapeYMin = -5, s.LandscapeYMax = 5, s.LandscapeYSamples = 2;
    s.LandscapeInitialConditions = 2;
    s.LandscapeMaxTimeToFlag = 8;
    s.LandscapeContainmentRange = 3;
    s.LandscapeContainmentNumber = 1;
    DeriveLandscapeGrid(*doc);
    doc->RandomState = doc->InitialSeed;
}

class SweepDriver : public CBatchDrivers {
public:
    explicit SweepDriver(CBrevimarDoc& d) : Doc(d) {}
    void RunLandscapeBatch() override { brevimar::RunLandscapeBatch(Doc); }
    void OnLandscape3DGraph() override { ++Displays; }
    CBrevimarDoc& Doc;
    int Displays = 0;
};

bool SameResults(CBrevimarDoc& a, CBrevimarDoc& b)
{
    const CLandscapeResults& ra = a.Landscape.Results();
    const CLandscapeResults& rb = b.Landscape.Results();
    for (int k = 1; k <= 12; ++k)
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j)
                for (int c = 1; c <= 2; ++c)
                    if (a.Landscape.LandscapeRawMeasure(k, i, j, c) != b.Landscape.LandscapeRawMeasure(k, i, j, c))
                        return false;
    return std::memcmp(ra.LandscapeFitnessAve, rb.LandscapeFitnessAve, sizeof ra.LandscapeFitnessAve) == 0 &&
           std::memcmp(ra.LandscapeFitnessDelta, rb.LandscapeFitnessDelta, sizeof ra.LandscapeFitnessDelta) == 0 &&
           std::memcmp(ra.LandscapeMeasureMean, rb.LandscapeMeasureMean, sizeof ra.LandscapeMeasureMean) == 0 &&
           a.RandomState == b.RandomState;
}

TEST(LandscapeSweep, ThreeByThreeSweepRepeatsExactlyAndKeepsItsInvariants)
{
    TestDocument a, b;
    SetUpSweep(a);
    SetUpSweep(b);
    RunLandscapeBatch(*a);
    RunLandscapeBatch(*b);
    EXPECT_TRUE(SameResults(*a, *b));

    const CLandscapeResults& r = a->Landscape.Results();
    EXPECT_EQ(a->Experiment.LandscapeGridPoint, 9);
    EXPECT_EQ(a->Experiment.LandscapePointCount, 9);
    EXPECT_EQ(a->Experiment.LandscapeBusy, 0);
    EXPECT_EQ(a->Paused, 0);
    EXPECT_EQ(r.LandscapeXValues[3], 7.0);
    EXPECT_EQ(r.LandscapeYValues[2], 0.0);
    // The last grid point's values stay in the squad.
    EXPECT_EQ(a->RedForce.A_S_RANGE[1], 7);
    EXPECT_EQ(a->RedForce.A_COMBAT_num[1], 5);
    // The step within the run, not the grid point.
    EXPECT_EQ(a->RunHeader.CurrentStep, 8);
    EXPECT_EQ(a.Host.LastStatus(),
              " skirmish.dat      [ x ]: 3/3     [ y ]: 3/3     [ IC ]: 2/2     [ T ]: 8/8");
    // 9 points x 2 runs x 8 observations, one message pumped per observation.
    EXPECT_EQ(a.Host.PumpCount, 144);
    ASSERT_FALSE(a.Host.StartedTimers.empty());
    EXPECT_EQ(a.Host.StartedTimers.front(), std::make_pair(DefaultLandscapeTimerId, 150));
    EXPECT_EQ(a.Host.KilledTimers.back(), DefaultLandscapeTimerId);
    bool someLoss = false;
    for (int c = 1; c <= 12; ++c)
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j) {
                EXPECT_GE(r.LandscapeFitnessAve[c][i][j], 0.0);
                EXPECT_LE(r.LandscapeFitnessAve[c][i][j], 1.0);
                EXPECT_GE(r.LandscapeMeasureMean[c][i][j], 0.0);
                EXPECT_LE(r.LandscapeMeasureMean[c][i][j], 1.0);
                someLoss |= c == 3 && r.LandscapeMeasureMean[3][i][j] > 0.0;
            }
    EXPECT_TRUE(someLoss) << "the skirmish should see BLUE losses somewhere";
}

// The 3 x 3 sweep with RED's six agents deployed next to the BLUE flag
// (box 3 x 3 centred on the flag at (28, 28)) and never moving, BLUE's far
// off (centred at (8, 25)): within 3 of the flag, all six of a cap of 6 at
// every observation, and never contained (6 agents can never make 7). The
// window opens at trunc(dist((25, 25), box corner (26.5, 26.5))) - 1 = 1
// (BLUE's at trunc(dist((6, 6), (4.5, 21.5))) - 1 = 14), so every run
// observes 8 fractions of 1: its value of measure 7 is 1.
void SetUpSweepAtTheFlag(TestDocument& doc)
{
    SetUpSweep(doc);
    CBattlefield& f = doc->Battlefield;
    f.RED_cen_x[1] = f.RED_cen_y[1] = 28;
    f.R_box_l[1] = f.R_box_w[1] = 3;
    f.BLUE_cen_x[1] = 8, f.BLUE_cen_y[1] = 25;
    doc->RedForce.A_M_RANGE[1] = doc->RedForce.I_M_RANGE[1] = 0;
    doc->Landscape.Settings.LandscapeContainmentNumber = 7;
}

// Every run's values of 7 and 8 lie in [0, 1] (the count over the window of
// W = 7 gave 8 / 7), and so does every run's score: 7 scores 1 in each, so
// objective 7 (the defaults' identity combination, power 2) has fitness 1
// in every run, a mean of 1 and no deviation (8 / 7 squared, 64 / 49, gave
// a mean clamped to 1 but a deviation of 15 / 49).
void ExpectNearFlagValuesOfFractions(TestDocument& doc)
{
    ASSERT_EQ(doc->Experiment.LandscapeGridPoint, 9);
    ASSERT_EQ(doc->Landscape.Run.LandscapeContainmentStart, 1);
    const CLandscapeResults& r = doc->Landscape.Results();
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) {
            for (int ic = 1; ic <= 2; ++ic) {
                EXPECT_EQ(doc->Landscape.RawMeasureAt(7, i, j, ic), 1.0) << i << " " << j << " " << ic;
                EXPECT_GE(doc->Landscape.RawMeasureAt(8, i, j, ic), 0.0);
                EXPECT_LE(doc->Landscape.RawMeasureAt(8, i, j, ic), 1.0);
            }
            EXPECT_EQ(r.LandscapeFitnessAve[7][i][j], 1.0) << i << " " << j;
            EXPECT_EQ(r.LandscapeFitnessDelta[7][i][j], 0.0) << i << " " << j;
        }
    // The last point's runs, as scored.
    EXPECT_EQ(r.LandscapeMeasure[7][1], 1.0);
    EXPECT_EQ(r.LandscapeMeasure[7][2], 1.0);
}

TEST(LandscapeSweep, NearFlagValuesOfEveryRunAreFractionsOfTheForce)
{
    TestDocument doc;
    SetUpSweepAtTheFlag(doc);
    RunLandscapeBatch(*doc);
    ExpectNearFlagValuesOfFractions(doc);
}

// The same sweep paused at T 5 of the first run of its third point (pump
// 37) for a parameter command's reset: the run starts again and counts its
// own 8 observations only, not the 5 of its voided start with them.
TEST(LandscapeSweep, ARunStartedAgainInAPauseCountsOnlyItsOwnObservations)
{
    TestDocument doc;
    SetUpSweepAtTheFlag(doc);
    int pumps = 0;
    doc.Host.OnPump = [&] {
        if (++pumps == 37)
            doc->Pause();
    };
    RunLandscapeBatch(*doc);
    ASSERT_EQ(doc->Paused, 1);
    doc->ResetTail();
    doc->Resume();
    RunLandscapeBatch(*doc);
    ExpectNearFlagValuesOfFractions(doc);
}

TEST(LandscapeSweep, TicksDuringTheSweepLeaveItRunningAndPauseResumesWhereItStopped)
{
    TestDocument whole, paused;
    SetUpSweep(whole);
    SetUpSweep(paused);
    RunLandscapeBatch(*whole);

    SweepDriver driver(*paused);
    paused->SetBatchDrivers(&driver);
    int pumps = 0;
    paused.Host.OnPump = [&] {
        paused->OnTimer(DefaultLandscapeTimerId);  // the sweep's own timer: ignored while busy
        if (++pumps == 37)
            paused->Pause();                       // the user's Pause
    };
    paused->OnTimer(42);
    EXPECT_EQ(paused->Paused, 1);
    EXPECT_EQ(paused->Experiment.LandscapeBusy, 0);
    EXPECT_EQ(paused->Experiment.LandscapeGridPoint, 2);  // 37 pumps: 2 points of 16 done
    paused->OnTimer(42);                                   // paused: nothing
    EXPECT_EQ(paused->Experiment.LandscapeGridPoint, 2);
    paused->Resume();
    paused->OnTimer(42);
    EXPECT_EQ(paused->Experiment.LandscapeGridPoint, 9);
    EXPECT_EQ(pumps, 144);
    EXPECT_TRUE(SameResults(*whole, *paused));
    EXPECT_EQ(driver.Displays, 0);
    paused->OnTimer(42);  // the finished sweep opens its display
    EXPECT_EQ(driver.Displays, 1);
}

struct UnsoundSetting {
    const char* Names;
    std::function<void(CLandscapeSettings&)> Set;
};

TEST(LandscapeSweep, UnsoundSettingsAreRefusedNotRun)
{
    const std::vector<UnsoundSetting> rows = {
        {"initial conditions", [](CLandscapeSettings& s) { s.LandscapeInitialConditions = 101; }},
        // The skirmish has one RED squad.
        {"RED squad 2", [](CLandscapeSettings& s) { s.LandscapeSquad = 2; }},
        // Movement ranges index the move tables, which reach 4.
        {"x_max is 6", [](CLandscapeSettings& s) { s.LandscapeXParameter = 8, s.LandscapeXMin = 0, s.LandscapeXMax = 6; }},
    };
    for (const UnsoundSetting& row : rows) {
        TestDocument doc;
        SetUpSweep(doc);
        row.Set(doc->Landscape.Settings);
        DeriveLandscapeGrid(*doc);
        const int sensor = doc->RedForce.A_S_RANGE[1];
        RunLandscapeBatch(*doc);
        EXPECT_TRUE(doc.Host.SawMessageContaining(row.Names)) << row.Names;
        EXPECT_EQ(doc->Paused, 1);
        EXPECT_EQ(doc.Host.PumpCount, 0) << row.Names;
        EXPECT_EQ(doc->Experiment.LandscapeGridPoint, 0);
        EXPECT_EQ(doc->RedForce.A_S_RANGE[1], sensor) << row.Names;  // no point was set up
    }
}

// A sweep of squad 2 paused half-way, and RED's squads then cut to one (as
// the RED agent parameters dialog may): the resumed sweep runs no squad the
// scenario lacks.
TEST(LandscapeSweep, AResumedSweepRefusesASquadTheScenarioNoLongerHas)
{
    TestDocument doc;
    SetUpSweep(doc);
    doc->RedForce.NumSquads = 2;
    doc->Landscape.Settings.LandscapeSquad = 2;
    int pumps = 0;
    doc.Host.OnPump = [&] {
        if (++pumps == 20)
            doc->Pause();
    };
    RunLandscapeBatch(*doc);
    ASSERT_EQ(doc->Paused, 1);
    ASSERT_TRUE(doc.Host.Messages.empty());
    const int done = doc->Experiment.LandscapeGridPoint;
    ASSERT_LT(done, doc->Experiment.LandscapePointCount);
    doc->RedForce.NumSquads = 1;
    doc->Resume();
    RunLandscapeBatch(*doc);
    EXPECT_TRUE(doc.Host.SawMessageContaining("RED squad 2"));
    EXPECT_EQ(doc->Paused, 1);
    EXPECT_EQ(pumps, 20);
    EXPECT_EQ(doc->Experiment.LandscapeGridPoint, done);
}

// The last RED squad swept from size 0 in 2 samples: bench/data/small.dat
// (RED 2 x 25) squad 2 over 0..50 gives sizes 0, 25, 50, so the runs of the
// three x values hold 25 + 0, 25 + 25 and 25 + 50 RED agents; large.dat
// (3 x 100) squad 3 over 0..100 gives 200 + 0, 200 + 50, 200 + 100. Paused
// at the second x value the sweep resumes, and the scenario saved there
// reads back with all of RED's squads, the swept one at that value.
TEST(LandscapeSweep, ASquadSweptFromSizeZeroStaysInTheForce)
{
    struct Row {
        const char* Scenario;
        int Squads, Others, Max;  // the squad swept is the last
    };
    for (const Row& row : {Row{"small.dat", 2, 25, 50}, Row{"large.dat", 3, 200, 100}}) {
        TestDocument doc;
        ASSERT_TRUE(LoadScenario(*doc, std::string(BREVIMAR_TEST_DATA) + "/../../bench/data/" + row.Scenario).Read);
        CLandscapeInput input = StartingLandscapeInput(*doc);
        CLandscapeSettings& s = input.Settings;
        s.LandscapeSquad = row.Squads;
        s.LandscapeXParameter = 1, s.LandscapeXMin = 0, s.LandscapeXMax = row.Max, s.LandscapeXSamples = 2;
        s.LandscapeYParameter = 2, s.LandscapeYMin = s.LandscapeYMax = 5, s.LandscapeYSamples = 1;
        s.LandscapeInitialConditions = 2, s.LandscapeMaxTimeToFlag = 2;
        ApplyLandscapeInput(*doc, input);
        ASSERT_EQ(doc->Experiment.LandscapePointCount, 6);  // y at 5 twice

        struct Held {
            int Red = 0, InSwept = 0, Squads = 0;
            bool operator==(const Held&) const = default;
        };
        std::vector<Held> held(3);
        doc.Host.OnPump = [&] {
            const CForce& red = doc->RedForce;
            Held h{red.NumAgents, 0, red.NumSquads};
            for (int i = 1; i <= red.NumAgents; ++i)
                h.InSwept += red.AgentSquad[i] == row.Squads;
            const int x = doc->Landscape.Run.PointX - 1;
            EXPECT_TRUE(held[x] == Held{} || held[x] == h) << row.Scenario << " x " << x + 1;
            held[x] = h;
            if (doc->Experiment.LandscapeGridPoint == 2 && doc->Landscape.Run.LandscapeTime == 1 &&
                doc->Landscape.Run.LandscapeConditionIndex == 1)
                doc->Pause();
        };
        RunLandscapeBatch(*doc);
        ASSERT_EQ(doc->Paused, 1);
        const std::string saved = testing::TempFolder() + "/during.dat";
        doc.Host.FileChoices.push_back(saved);
        ASSERT_EQ(WriteInputDataFile(*doc), FileCommandResult::Done);
        doc->Resume();
        RunLandscapeBatch(*doc);
        EXPECT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages.front().Text;
        EXPECT_EQ(doc->Experiment.LandscapeGridPoint, 6) << row.Scenario;
        const int half = row.Max / 2;
        EXPECT_EQ(held[0], (Held{row.Others, 0, row.Squads})) << row.Scenario;
        EXPECT_EQ(held[1], (Held{row.Others + half, half, row.Squads})) << row.Scenario;
        EXPECT_EQ(held[2], (Held{row.Others + row.Max, row.Max, row.Squads})) << row.Scenario;
        const CLandscapeResults& r = doc->Landscape.Results();
        EXPECT_EQ(r.LandscapeXUsed[1][1], 0) << row.Scenario;
        EXPECT_EQ(r.LandscapeXUsed[3][1], row.Max) << row.Scenario;

        TestDocument back;
        ASSERT_TRUE(LoadScenario(*back, saved).Read);
        EXPECT_EQ(back->RedForce.NumSquads, row.Squads) << row.Scenario;
        EXPECT_EQ(back->RedForce.num_per_squad[row.Squads], half) << row.Scenario;
    }
}

// RED squad 1 swept through 50 and 60 agents (and three COMBAT thresholds)
// while its 7 x 7 box holds 49: every run of the sweep meets the problem, with
// two sets of counts. The sweep says it once, without waiting on an answer;
// the next sweep once again.
TEST(LandscapeSweep, ASetUpProblemIsSaidOncePerSweep)
{
    TestDocument doc;
    SetUpSweep(doc);
    CLandscapeSettings& s = doc->Landscape.Settings;
    s.LandscapeXParameter = 1, s.LandscapeXMin = 50, s.LandscapeXMax = 60, s.LandscapeXSamples = 1;
    DeriveLandscapeGrid(*doc);
    for (std::size_t sweep = 1; sweep <= 2; ++sweep) {
        RunLandscapeBatch(*doc);
        ASSERT_EQ(doc->Experiment.LandscapeGridPoint, 6);
        EXPECT_TRUE(doc.Host.Messages.empty());
        ASSERT_EQ(doc.Host.Notices.size(), sweep);
        EXPECT_EQ(doc.Host.Notices.back().Text,
                  "Setting up skirmish.dat:\nNot every agent can be deployed:\n- the deployment box of RED squad 1 "
                  "has 49 free cells for 50 agents\nAgents that find no free cell are left off the battlefield, "
                  "dead.\nLater runs of this batch may meet this problem too; it is not said again until the next "
                  "batch.");
    }
}

// User-defined terrain without cells, the chooser cancelled: the 18 runs of
// a sweep, paused and resumed on the way, ask once; the next sweep once more.
TEST(LandscapeSweep, ASweepAsksForATerrainFileOnce)
{
    TestDocument doc;
    SetUpSweep(doc);
    doc->Battlefield.TerrainMode = 2;
    doc->Battlefield.CellTerrainDefined = 0;
    int pumps = 0;
    doc.Host.OnPump = [&] {
        if (++pumps == 37)
            doc->Pause();
    };
    RunLandscapeBatch(*doc);
    ASSERT_EQ(doc->Experiment.LandscapeGridPoint, 2);
    RunLandscapeBatch(*doc);
    ASSERT_EQ(doc->Experiment.LandscapeGridPoint, 9);
    EXPECT_EQ(doc.Host.FileRequests.size(), 1u);
    RunLandscapeBatch(*doc);
    EXPECT_EQ(doc.Host.FileRequests.size(), 2u);
    EXPECT_TRUE(doc.Host.Messages.empty());
    EXPECT_TRUE(doc.Host.Notices.empty());
}

// The numbers after each `key` in `text`, in order.
std::vector<double> NumbersAfter(const std::string& text, const std::string& key)
{
    std::vector<double> values;
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1))
        values.push_back(std::strtod(text.c_str() + at + key.size(), nullptr));
    return values;
}

struct CappedSweep {
    int X;
    double XMin, XMax;
    int XSamples;
    int Y;
    double YMin, YMax;
    int YSamples;
    int SymmetrizeAliveInjured;
    std::vector<double> UsedX, UsedY;  // per grid point, x outer
    std::vector<std::string> XLabels, YLabels;
};

TEST(LandscapeSweep, ReportAndChartShowTheValuesTheRunsUsed)
{
    // scenario_v4.dat, RED squad 1: alive sensor range 5, injured 4; squads of
    // 5, 5 and 5 agents with num_reds 12, so the third keeps 2 and squads 2
    // and 3 hold 7 agents between them. Unless a row says otherwise y is the
    // alive COMBAT threshold at -5 and 5, which its int field takes as they are.
    const std::vector<double> combat = {-5, 5};
    const CappedSweep rows[] = {
        // Squad 1 at 300 would make 307: it gets the 293 left of the 300.
        {1, 100, 300, 1, 30, -5, 5, 1, 0, {100, 100, 293, 293}, {-5, 5, -5, 5}, {"100", "293"}, {"-5", "5"}},
        // Fire ranges 1, 3, ..., 11 held to the sensor range of the squad.
        {4, 1, 11, 5, 30, -5, 5, 1, 0, {1, 1, 3, 3, 5, 5, 5, 5, 5, 5, 5, 5}, {}, {"1", "3", "5", "5", "5", "5"}, {"-5", "5"}},
        {5, 1, 11, 5, 30, -5, 5, 1, 0, {1, 1, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4}, {}, {"1", "3", "4", "4", "4", "4"}, {"-5", "5"}},
        // Movement ranges up to the move tables' 4.
        {8, 0, 4, 2, 30, -5, 5, 1, 0, {0, 0, 2, 2, 4, 4}, {}, {"0", "2", "4"}, {"-5", "5"}},
        // Symmetrised: every injured value is the alive one, 5.
        {3, 2, 10, 2, 30, -5, 5, 1, 1, {5, 5, 5, 5, 5, 5}, {}, {"5", "5", "5"}, {"-5", "5"}},
        // x, the alive fire range, is written before y, the alive sensor
        // range, so it is held to the range the previous point left: 5 at the
        // first point, then 2, 6 and 2 (points (3,2), (3,6), (7,2), (7,6)).
        {4, 3, 7, 1, 2, 2, 6, 1, 0, {3, 2, 6, 2}, {2, 6, 2, 6}, {"2..3", "2..6"}, {"2", "6"}},
        // Both axes write the one communications range: y's value stays.
        {10, 5, 15, 1, 11, 20, 30, 1, 0, {20, 30, 20, 30}, {20, 30, 20, 30}, {"20..30", "20..30"}, {"20", "30"}},
    };
    for (const CappedSweep& row : rows) {
        TestDocument doc;
        ASSERT_TRUE(LoadScenario(*doc, testing::DataPath("scenario_v4.dat")).Read);
        SetLandscapeModeDefaults(*doc);
        ResetFitnessLandscapeData(*doc);
        CLandscapeSettings& s = doc->Landscape.Settings;
        s.LandscapeXParameter = row.X, s.LandscapeXMin = row.XMin, s.LandscapeXMax = row.XMax;
        s.LandscapeXSamples = row.XSamples;
        s.LandscapeYParameter = row.Y, s.LandscapeYMin = row.YMin, s.LandscapeYMax = row.YMax;
        s.LandscapeYSamples = row.YSamples;
        s.LandscapeSymmetrizeAliveInjured = row.SymmetrizeAliveInjured;
        s.LandscapeInitialConditions = 1;
        s.LandscapeMaxTimeToFlag = 1;
        DeriveLandscapeGrid(*doc);
        RunLandscapeBatch(*doc);
        ASSERT_EQ(doc->Experiment.LandscapeGridPoint, static_cast<int>(row.UsedX.size())) << row.X;

        std::vector<double> usedY = row.UsedY;
        for (std::size_t k = 0; usedY.size() < row.UsedX.size(); ++k)
            usedY.push_back(combat[k % 2]);
        std::ostringstream out;
        WriteRawFitnessReport(out, *doc);
        const std::string text = out.str();
        // Section 2: the lines after the FORMAT caption's line of stars.
        const std::string section2 = text.substr(text.find('\n', text.find("mean_absolute_deviation")) + 1);
        EXPECT_EQ(NumbersAfter(text, "\nx = "), row.UsedX) << row.X;
        EXPECT_EQ(NumbersAfter(text, "\ny = "), usedY) << row.X;
        // Section 2 starts each line with x, then y after five blanks.
        std::vector<double> x2, y2;
        for (std::size_t at = section2.find('\n'); at != std::string::npos; at = section2.find('\n', at + 1)) {
            char* end = nullptr;
            x2.push_back(std::strtod(section2.c_str() + at + 1, &end));
            y2.push_back(std::strtod(end, nullptr));
        }
        EXPECT_EQ(x2, row.UsedX) << row.X;
        EXPECT_EQ(y2, usedY) << row.X;

        const CLandscapeChartData chart = ComputeLandscapeChart(*doc);
        EXPECT_EQ(chart.XLabels, row.XLabels) << row.X;
        EXPECT_EQ(chart.YLabels, row.YLabels) << row.X;
    }
}

// The 3 x 3 sweep paused at T 5 of both runs of its third point (x 1, y 3;
// pumps 32 + 5 and 32 + 8 + 8 + 2 = 50), each time a parameter command's
// reset: each run starts again at its first step, shown at T 0, so the
// sweep pumps 144 + 5 + 5 times. The generator draws on: the two runs, set
// up again on the same forces, are not one battle twice. Points 1 and 2 stay
// as one run through gave them.
TEST(LandscapeSweep, ARestartInAPauseStartsTheRunUnderWayAgain)
{
    TestDocument whole, doc;
    SetUpSweep(whole);
    RunLandscapeBatch(*whole);
    SetUpSweep(doc);
    int pumps = 0;
    doc.Host.OnPump = [&] {
        if (++pumps == 37 || pumps == 50)
            doc->Pause();
    };
    for (const char* ic : {"1", "2"}) {
        RunLandscapeBatch(*doc);
        ASSERT_EQ(doc->Paused, 1);
        doc->ResetTail();
        EXPECT_EQ(doc.Host.LastStatus(),
                  std::string(" skirmish.dat      [ x ]: 1/3     [ y ]: 3/3     [ IC ]: ") + ic + "/2     [ T ]: 0/8");
        doc->Resume();
    }
    RunLandscapeBatch(*doc);
    EXPECT_EQ(pumps, 154);
    ASSERT_EQ(doc->Experiment.LandscapeGridPoint, 9);
    const CLandscapeData &a = whole->Landscape, &b = doc->Landscape;
    bool scoredStay = true, oneBattleTwice = true;
    for (int k = 1; k <= 12; ++k) {
        for (int iy = 1; iy <= 2; ++iy)
            for (int ic = 1; ic <= 2; ++ic)
                scoredStay &= a.RawMeasureAt(k, 1, iy, ic) == b.RawMeasureAt(k, 1, iy, ic);
        oneBattleTwice &= b.RawMeasureAt(k, 1, 3, 1) == b.RawMeasureAt(k, 1, 3, 2);
    }
    EXPECT_TRUE(scoredStay);
    EXPECT_FALSE(oneBattleTwice);
}

// The 3 x 3 sweep measuring territory in the user-defined box (12 +- 4,
// 15 +- 3), threshold range 1, 2 agents, lead 0, paused at pump 37 for a
// parameter command's reset and run on: to its end it measures in that box
// and by that rule, not in the ones data collection resets to.
TEST(LandscapeSweep, ARestartInAPauseKeepsTheBoxTheSweepMeasuresIn)
{
    TestDocument doc;
    SetUpSweep(doc);
    CLandscapeSettings& s = doc->Landscape.Settings;
    s.LandscapeUseTerritory = 1, s.LandscapeTerritoryTimeMin = 1, s.LandscapeTerritoryTimeMax = 8;
    CBattlefield& f = doc->Battlefield;
    const std::vector<int> rule = {1, 2, 0, 12, 4, 15, 3, 1};
    auto held = [&f] {
        return std::vector<int>{f.TerritoryRange,   f.TerritoryMinCount, f.TerritoryDelta,  f.TerritoryCenterX,
                                f.TerritoryRangeX,  f.TerritoryCenterY,  f.TerritoryRangeY, f.TerritoryUserArea};
    };
    int* fields[] = {&f.TerritoryRange,  &f.TerritoryMinCount, &f.TerritoryDelta,  &f.TerritoryCenterX,
                     &f.TerritoryRangeX, &f.TerritoryCenterY,  &f.TerritoryRangeY, &f.TerritoryUserArea};
    for (std::size_t k = 0; k < rule.size(); ++k)
        *fields[k] = rule[k];
    int pumps = 0;
    doc.Host.OnPump = [&] {
        if (++pumps == 37)
            doc->Pause();
    };
    RunLandscapeBatch(*doc);
    ASSERT_EQ(doc->Paused, 1);
    doc->ResetTail();
    EXPECT_EQ(held(), rule);
    doc->Resume();
    RunLandscapeBatch(*doc);
    ASSERT_EQ(doc->Experiment.LandscapeGridPoint, 9);
    EXPECT_EQ(held(), rule);
}

}  // namespace
}  // namespace brevimar
