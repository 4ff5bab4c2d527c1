#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

#include "core/PenaltyTerms.h"
#include "support/TestDocument.h"

namespace brevimar {
namespace {

// The moving agent stands at (10, 10) on a 20 x 20 battlefield with every
// weight zero, so each test switches on only the terms it looks at. The
// normaliser N is 10.
class MovePenalty : public ::testing::Test {
protected:
    testing::TestDocument doc;
    float table[MoveTableSize];
    int red = 0;   // the RED mover
    int blue = 0;  // the BLUE mover

    void SetUp() override
    {
        doc->Battlefield.BattleSize = 20;
        doc->Battlefield.TerrainMode = 0;
        doc->Battlefield.termination = 2;
        doc->NumRed() = 0;
        doc->NumBlue() = 0;
        std::fill(table, table + MoveTableSize, -7.0f);
        red = AddAgent(Side::Red, 10, 10);
        doc->RedForce.DistanceNormaliser[red] = 10.0f;
        // Flags far away unless a test puts them near.
        doc->RedForce.GoalFlagX = doc->RedForce.GoalFlagY = 1;
        doc->BlueForce.GoalFlagX = doc->BlueForce.GoalFlagY = 1;
    }

    int AddAgent(Side side, int x, int y, int state = Alive, int squad = 1)
    {
        CForce& f = doc->Force(side);
        const int i = ++f.NumAgents;
        f.AgentX[i] = x;
        f.AgentY[i] = y;
        f.AgentState[i] = state;
        f.AgentSquad[i] = squad;
        doc->Battlefield.AgentGrid[GridIndex(x, y)] = CellAgent;
        return i;
    }
    void PutTerrain(int x, int y, int type)
    {
        doc->Battlefield.AgentGrid[GridIndex(x, y)] = CellTerrain;
        doc->Battlefield.TerrainType[GridIndex(x, y)] = type;
    }
    float& At(int dx, int dy) { return table[MoveTableIndex(dx, dy)]; }
    int Admissible(int dx, int dy) { return doc->AdmissibleCells[MoveTableIndex(dx, dy)]; }
    float Red(MovePenaltyKind kind = MovePenaltyKind::Default, int r = 1)
    {
        const CForce& f = doc->RedForce;
        return doc->EvalMovePenalties(Side::Red, kind, red, r, 99999.0f, table, f.GoalFlagX, f.GoalFlagY);
    }
};

TEST_F(MovePenalty, BoxedInAgentScoresTheStartValue)
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0)
                AddAgent(dx < 0 ? Side::Red : Side::Blue, 10 + dx, 10 + dy);
    std::fill(doc->AdmissibleCells.get(), doc->AdmissibleCells.get() + MoveTableSize, 7);
    doc->RedForce.EffW6[red] = 1.0f;

    EXPECT_EQ(doc->EvalRedMovePenalties(red, 1, 99999.0f, table), 99999.0f);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            EXPECT_EQ(Admissible(dx, dy), 0);
            EXPECT_EQ(At(dx, dy), -7.0f) << "no entry is written for a cell that is not admissible";
        }
    EXPECT_EQ(Admissible(2, 2), 7) << "entries outside the box keep their values";
}

TEST_F(MovePenalty, AdmissibleCells)
{
    // At the left edge: x = 0 is off the battlefield.
    doc->RedForce.AgentX[red] = 1;
    doc->Battlefield.AgentGrid[GridIndex(10, 10)] = CellFree;
    doc->Battlefield.AgentGrid[GridIndex(1, 10)] = CellAgent;
    PutTerrain(2, 11, PassableI);
    PutTerrain(2, 9, Lava);
    PutTerrain(1, 11, Pillar);
    PutTerrain(1, 9, PassableIII);

    EXPECT_EQ(Red(), 0.0f);
    for (int dy = -1; dy <= 1; ++dy)
        EXPECT_EQ(Admissible(-1, dy), 0);
    EXPECT_EQ(Admissible(0, 0), 0) << "the own cell";
    EXPECT_EQ(Admissible(1, 1), 1) << "passable terrain";
    EXPECT_EQ(Admissible(0, -1), 1) << "passable terrain";
    EXPECT_EQ(Admissible(1, -1), 0) << "impassable terrain";
    EXPECT_EQ(Admissible(0, 1), 0) << "impassable terrain";
    EXPECT_EQ(Admissible(1, 0), 1);
    EXPECT_EQ(At(1, 0), 0.0f);
    EXPECT_EQ(At(1, -1), -7.0f);

    PutTerrain(2, 11, PassableII);
    Red();
    EXPECT_EQ(Admissible(1, 1), 1);
}

TEST_F(MovePenalty, CellsBehindImpassableTerrainAreNotAdmissible)
{
    doc->Battlefield.TerrainMode = 1;
    for (int y = 9; y <= 11; ++y)
        PutTerrain(11, y, Lava);
    Red(MovePenaltyKind::Default, 2);
    EXPECT_EQ(Admissible(2, 0), 0);
    EXPECT_EQ(Admissible(0, 2), 1);
    doc->Battlefield.TerrainMode = 0;  // without terrain no line is ever blocked
    Red(MovePenaltyKind::Default, 2);
    EXPECT_EQ(Admissible(2, 0), 1);
}

TEST_F(MovePenalty, EnemyFlagTerm)
{
    doc->RedForce.GoalFlagX = 10;
    doc->RedForce.GoalFlagY = 14;  // dCur = 4
    doc->RedForce.EffW6[red] = 0.5f;
    const float best = Red();
    EXPECT_EQ(At(0, 1), 0.375f);  // 1 * 0.5 * 3 / 4
    EXPECT_EQ(At(-1, 1), 0.5f * std::sqrt(10.0f) / 4.0f);
    EXPECT_EQ(At(1, -1), 0.5f * std::sqrt(26.0f) / 4.0f);
    EXPECT_EQ(best, 0.375f);
    // From the flag cell itself there is nothing to pull toward.
    doc->RedForce.GoalFlagY = 10;
    EXPECT_EQ(Red(), 0.0f);
}

TEST_F(MovePenalty, OwnFlagMinimumDistanceRepels)
{
    CForce& f = doc->RedForce;
    f.GoalFlagX = f.GoalFlagY = 1;
    doc->BlueForce.GoalFlagX = 10;
    doc->BlueForce.GoalFlagY = 12;  // RED's own flag, dCur = 2
    f.EffW5[red] = 0.7f;
    f.AliveWeight[W5][red] = -0.25f;
    f.InjuredWeight[W5][red] = 0.5f;
    f.GoalMinDistAlive[red] = 3.0f;
    f.GoalMinDistInjured[red] = 1.0f;

    // Rules off: the plain attraction.
    Red();
    EXPECT_EQ(At(0, -1), 0.7f * 3.0f / 2.0f);

    f.MovementFlag[red] = 1;
    const float best = Red();
    EXPECT_EQ(At(0, -1), -0.375f);  // -|-0.25| * 1 * 3 / 2
    EXPECT_EQ(At(0, 1), -0.125f);
    EXPECT_EQ(best, -0.25f * std::sqrt(10.0f) / 2.0f) << "the cells farthest from the flag win";

    // Injured: the injured threshold 1 is not undercut, so the plain term applies.
    f.AgentState[red] = Injured;
    Red();
    EXPECT_EQ(At(0, -1), 0.7f * 3.0f / 2.0f);
    f.GoalMinDistInjured[red] = 2.5f;
    Red();
    EXPECT_EQ(At(0, -1), -0.5f * 3.0f / 2.0f);
}

TEST_F(MovePenalty, CountScalesTheFlagTerms)
{
    CForce& f = doc->RedForce;
    f.GoalFlagX = 10;
    f.GoalFlagY = 14;  // from (10, 11): 1 * 0.5 * 3 / 4 with K = 1
    f.EffW6[red] = 0.5f;
    f.EffW1[red] = 0.5f;
    const int mates[] = {AddAgent(Side::Red, 10, 13), AddAgent(Side::Red, 10, 15)};  // 2 and 4 from (10, 11)
    for (int j : mates)
        f.FriendSensed[j] = 1;

    // Squad pair weight 0: no term and no count.
    Red();
    EXPECT_EQ(At(0, 1), 0.375f);

    f.SquadWeightMatrix[1][1] = 2.0;
    Red();
    const float friends = (0.0f + 0.5f * 2.0f * 2.0f / 10.0f) + 0.5f * 2.0f * 4.0f / 10.0f;
    EXPECT_EQ(At(0, 1), friends + 2.0f * 0.5f * 3.0f / 4.0f) << "K = 2";

    // Injured counts join only through the scan's totals and their weights.
    f.Scan.InjuredFriendsSensed = 3;
    f.Scan.InjuredEnemiesSensed = 5;
    Red();
    EXPECT_EQ(At(0, 1), friends + 2.0f * 0.5f * 3.0f / 4.0f) << "w3 and w4 are 0";
    f.EffW3[red] = 0.1f;
    Red();
    EXPECT_EQ(At(0, 1), friends + 5.0f * 0.5f * 3.0f / 4.0f) << "K = 2 + 3";

    // Alive enemies count only while w2 is not 0.
    f.EffW1[red] = 0.0f;
    f.EffW3[red] = 0.0f;
    for (int x : {14, 6})
        f.EnemySensed[AddAgent(Side::Blue, x, 10)] = 1;  // both sqrt(17) from (10, 11)
    Red();
    EXPECT_EQ(At(0, 1), 0.375f) << "K = 1";
    f.EffW2[red] = 0.25f;
    Red();
    const float enemy = 0.25f * std::sqrt(17.0f) / 10.0f;
    EXPECT_EQ(At(0, 1), (enemy + enemy) + 2.0f * 0.5f * 3.0f / 4.0f) << "K = 2";
    f.EffW4[red] = -0.25f;
    Red();
    EXPECT_EQ(At(0, 1), (enemy + enemy) + 7.0f * 0.5f * 3.0f / 4.0f) << "K = 2 + 5";
}

TEST_F(MovePenalty, FlockRings)
{
    CForce& f = doc->RedForce;
    f.FlockWeight[red] = -0.4f;
    f.FlockMinAlive[red] = 2.0f;
    f.FlockMaxAlive[red] = 5.0f;
    f.LocalCenterX = 13.0;  // dCur 3: between the rings
    f.LocalCenterY = 10.0;
    Red();
    EXPECT_EQ(At(-1, 0), 0.0f) << "no flock weight: no term";

    f.AliveWeight[WFlock][red] = 0.1f;
    Red();
    EXPECT_EQ(At(-1, 0), 0.0f);
    EXPECT_EQ(At(1, 1), 0.0f);

    f.LocalCenterX = 11.5;  // dCur 1.5: inside the inner ring, pushed out
    Red();
    EXPECT_EQ(At(-1, 0), -0.4f * 2.5f / 10.0f);
    EXPECT_EQ(At(1, 0), -0.4f * 0.5f / 10.0f);

    f.LocalCenterX = 15.0;  // dCur 5: on the outer ring, pulled in
    Red();
    EXPECT_EQ(At(1, 0), 0.4f * 4.0f / 10.0f);
    f.LocalCenterX = 12.0;  // dCur 2: on the inner ring
    Red();
    EXPECT_EQ(At(1, 0), -0.4f * 1.0f / 10.0f);

    // An injured agent uses the injured rings and weight.
    f.AgentState[red] = Injured;
    f.FlockMinInjured[red] = 1.0f;
    f.FlockMaxInjured[red] = 9.0f;
    Red();
    EXPECT_EQ(At(1, 0), 0.0f) << "injured flock weight is 0";
    f.InjuredWeight[WFlock][red] = 0.3f;
    Red();
    EXPECT_EQ(At(1, 0), 0.0f) << "between the injured rings";
}

TEST_F(MovePenalty, SquadAreaTerm)
{
    CForce& f = doc->RedForce;
    f.AliveWeight[WArea][red] = 0.2f;
    f.EffWArea[red] = 0.5f;
    f.AreaCenterX[1] = 14;
    f.AreaCenterY[1] = 10;
    f.AreaRangeX[1] = 4;
    f.AreaRangeY[1] = 3;
    Red();
    EXPECT_EQ(At(-1, 0), 0.0f) << "inside the box and drawn to it";

    f.AreaRangeX[1] = 3;
    Red();
    EXPECT_EQ(At(-1, 0), 0.5f * 5.0f / 10.0f);

    f.AreaRangeX[1] = 4;
    f.EffWArea[red] = -0.5f;
    Red();
    EXPECT_EQ(At(-1, 0), -0.5f * 5.0f / 10.0f) << "a repelling area acts from inside too";

    f.MovementFlag[red] = 1;
    f.AreaMinDistAlive[red] = 4.5f;  // dCur 4
    Red();
    EXPECT_EQ(At(-1, 0), -0.2f * 5.0f / 10.0f);
}

class MovePenaltyTerrain : public MovePenalty {
protected:
    void SetUp() override
    {
        MovePenalty::SetUp();
        doc->Battlefield.TerrainMode = 1;
        CForce& f = doc->RedForce;
        f.SensorRangeAlive[red] = 5;
        f.AliveWeight[WTerrain][red] = 0.2f;
        f.EffWTerrain[red] = 1.0f;
    }
};

TEST_F(MovePenaltyTerrain, EveryImpassableCellInRangeIsATarget)
{
    PutTerrain(8, 10, Lava);
    PutTerrain(10, 8, Pillar);
    PutTerrain(12, 12, PassableI);  // passable: no target
    PutTerrain(16, 10, Lava);        // beyond the sensor range
    Red();
    EXPECT_EQ(At(-1, 0), 1.0f * 1.0f / 10.0f + 1.0f * std::sqrt(5.0f) / 10.0f);

    // The sensor range is the alive one even for an injured agent.
    doc->RedForce.AgentState[red] = Injured;
    doc->RedForce.InjuredWeight[WTerrain][red] = 0.1f;
    doc->RedForce.SensorRangeAlive[red] = 1;
    doc->RedForce.SensorRangeInjured[red] = 5;
    Red();
    EXPECT_EQ(At(-1, 0), 0.0f);
}

TEST_F(MovePenaltyTerrain, NearestCellPrefersSmallerXThenSmallerY)
{
    doc->RedForce.near_terrain_flag = 1;
    PutTerrain(10, 8, Lava);
    PutTerrain(8, 10, Lava);  // same distance 2, smaller x
    Red();
    EXPECT_EQ(At(-1, 0), 0.1f);
    EXPECT_EQ(At(0, -1), 1.0f * std::sqrt(5.0f) / 10.0f);

    doc->Battlefield.AgentGrid[GridIndex(8, 10)] = CellFree;
    PutTerrain(10, 12, Pillar);  // same x as (10, 8), larger y
    Red();
    EXPECT_EQ(At(0, -1), 0.1f);
    EXPECT_EQ(At(0, 1), 3.0f / 10.0f);

    // Too close: repelled with the agent's own weight.
    doc->RedForce.MovementFlag[red] = 1;
    doc->RedForce.TerrainMinDistAlive[red] = 2.5f;
    Red();
    EXPECT_EQ(At(0, 1), -0.2f * 3.0f / 10.0f);
}

TEST_F(MovePenaltyTerrain, OnlyRedDefaultEvaluatorNeedsNearFlagExactlyOne)
{
    PutTerrain(8, 10, Lava);
    PutTerrain(10, 8, Lava);
    const int b = AddAgent(Side::Blue, 5, 5);
    CForce& bf = doc->BlueForce;
    bf.DistanceNormaliser[b] = 10.0f;
    bf.SensorRangeAlive[b] = 5;
    bf.AliveWeight[WTerrain][b] = 0.2f;
    bf.EffWTerrain[b] = 1.0f;
    PutTerrain(3, 5, Lava);
    PutTerrain(5, 3, Lava);
    auto blue = [&](MovePenaltyKind kind) {
        return doc->EvalMovePenalties(Side::Blue, kind, b, 1, 99999.0f, table, 1, 1);
    };

    doc->RedForce.near_terrain_flag = 2;
    bf.near_terrain_flag = 2;
    Red(MovePenaltyKind::Default);
    EXPECT_EQ(At(-1, 0), 0.0f) << "RED default: no terrain term at all";
    Red(MovePenaltyKind::Communications);
    EXPECT_EQ(At(-1, 0), 0.1f);
    Red(MovePenaltyKind::GlobalCommand);
    EXPECT_EQ(At(-1, 0), 0.1f);
    for (auto kind : {MovePenaltyKind::Default, MovePenaltyKind::Communications, MovePenaltyKind::GlobalCommand}) {
        blue(kind);
        EXPECT_EQ(At(-1, 0), 0.1f);
    }
    doc->RedForce.near_terrain_flag = 1;
    Red(MovePenaltyKind::Default);
    EXPECT_EQ(At(-1, 0), 0.1f);
}

TEST_F(MovePenalty, GoalInReachEvenBehindImpassableTerrain)
{
    doc->Battlefield.TerrainMode = 1;
    for (int y = 9; y <= 11; ++y)
        PutTerrain(11, y, Lava);
    doc->RedForce.GoalFlagX = 12;
    doc->RedForce.GoalFlagY = 10;
    doc->GoalInReach = 0;
    Red(MovePenaltyKind::Default, 2);
    EXPECT_EQ(doc->GoalInReach, 0) << "termination off";

    doc->Battlefield.termination = 1;
    Red(MovePenaltyKind::Default, 1);
    EXPECT_EQ(doc->GoalInReach, 0) << "outside the box";
    Red(MovePenaltyKind::Default, 2);
    EXPECT_EQ(doc->GoalInReach, 1);
    EXPECT_EQ(Admissible(2, 0), 0);

    doc->GoalInReach = 0;
    doc->Battlefield.AgentGrid[GridIndex(12, 10)] = CellAgent;
    Red(MovePenaltyKind::Default, 2);
    EXPECT_EQ(doc->GoalInReach, 0) << "the flag cell is taken";

    // The test looks at the cell it is given, whatever the flag field holds.
    doc->Battlefield.AgentGrid[GridIndex(12, 10)] = CellFree;
    doc->EvalMovePenalties(Side::Red, MovePenaltyKind::Default, red, 2, 99999.0f, table, 30, 30);
    EXPECT_EQ(doc->GoalInReach, 0);

    const int b = AddAgent(Side::Blue, 5, 5);
    doc->BlueForce.GoalFlagX = 6;
    doc->BlueForce.GoalFlagY = 4;
    doc->EvalBlueMovePenalties(b, 1, 99999.0f, table);
    EXPECT_EQ(doc->GoalInReach, 2);
}

TEST_F(MovePenalty, CommunicationsAddReportedAgents)
{
    CForce& f = doc->RedForce;
    f.SquadWeightMatrix[1][1] = 1.0;
    f.EffW1[red] = 0.5f;
    f.EffW2[red] = 0.9f;
    f.AliveWeight[W2][red] = 0.3f;
    f.CommWeightAlive = 0.5f;
    f.CommWeightInjured = 0.25f;
    const int mate = AddAgent(Side::Red, 10, 13);
    f.FriendViaComm[mate] = 1;
    const int foe = AddAgent(Side::Blue, 10, 14);
    f.EnemyViaComm[foe] = 1;

    Red(MovePenaltyKind::Default);
    EXPECT_EQ(At(0, 1), 0.0f) << "reports count only in the communications variant";

    Red(MovePenaltyKind::Communications);
    const float friendTerm = 0.5f * 1.0f * 2.0f / 10.0f * 0.5f;
    const float enemyTerm = 0.3f * 0.5f * 3.0f / 10.0f;  // base weight, not EffW2
    EXPECT_EQ(At(0, 1), friendTerm + enemyTerm);

    // Repelled by a reported enemy: the base weight's magnitude, times C.
    f.MovementFlag[red] = 1;
    f.EnemyMinDistAlive[red] = 5.0f;  // dCur 4
    Red(MovePenaltyKind::Communications);
    EXPECT_EQ(At(0, 1), friendTerm + -0.3f * 0.5f * 3.0f / 10.0f);
    f.EffW2[red] = 0.0f;  // the repulsive branch needs w2 > 0
    Red(MovePenaltyKind::Communications);
    EXPECT_EQ(At(0, 1), friendTerm + enemyTerm);
    f.EffW2[red] = 0.9f;

    // A sensed agent gives the plain term, without C.
    f.FriendSensed[mate] = 1;
    f.MovementFlag[red] = 0;
    Red(MovePenaltyKind::Communications);
    EXPECT_EQ(At(0, 1), 0.5f * 1.0f * 2.0f / 10.0f + enemyTerm);

    // C = 0 silences the reports.
    f.CommWeightAlive = 0.0f;
    Red(MovePenaltyKind::Communications);
    EXPECT_EQ(At(0, 1), 0.5f * 1.0f * 2.0f / 10.0f);

    // An injured agent reads the injured communications weight.
    f.AgentState[red] = Injured;
    f.InjuredWeight[W2][red] = 0.3f;
    Red(MovePenaltyKind::Communications);
    EXPECT_EQ(At(0, 1), 0.5f * 1.0f * 2.0f / 10.0f + 0.3f * 0.25f * 3.0f / 10.0f);
}

TEST_F(MovePenalty, LocalCommanderAndItsGoal)
{
    CForce& f = doc->RedForce;
    CLocalCommand& lc = doc->RedLocal;
    const int boss = AddAgent(Side::Red, 10, 16);  // dCur 6
    lc.LocalCommandOn = 1;
    lc.CommanderOf[red] = 1;
    lc.CommanderAgent[1] = boss;
    lc.CommandPatchSize[1] = 4;
    lc.AgentGoalX[red] = 16;
    lc.AgentGoalY[red] = 10;
    lc.LocalCommanderWeight = 0.5f;
    lc.LocalGoalWeight = 0.25f;
    f.MaxAliveWeight[red] = 0.8f;
    f.MaxInjuredWeight[red] = 0.4f;

    Red();
    const float goal = 0.8f * 0.25f * 1.0f * std::sqrt(37.0f) / 6.0f;
    EXPECT_EQ(At(0, 1), 0.8f * 0.5f * 1.0f * 5.0f / 6.0f + goal);

    lc.CommandPatchSize[1] = 6;  // within the patch: only the goal pulls
    Red();
    EXPECT_EQ(At(0, 1), goal);

    f.AgentState[red] = Injured;
    Red();
    EXPECT_EQ(At(0, 1), 0.4f * 0.25f * 1.0f * std::sqrt(37.0f) / 6.0f);

    lc.LocalCommandOn = 0;
    Red();
    EXPECT_EQ(At(0, 1), 0.0f);
}

TEST_F(MovePenalty, GlobalCommandTerms)
{
    CLocalCommand& lc = doc->RedLocal;
    CGlobalCommander& gc = doc->RedGlobal;
    gc.GlobalCommandOn = 1;
    lc.CommandRole[red] = LocalCommander;
    lc.CommanderNumberOf[red] = 1;
    lc.NumLocalCommanders = 1;
    lc.ObeyGlobalWeight[1] = 0.5f;
    lc.HelpLocalWeight[1] = 0.25f;
    gc.GcTargetX[1] = 10;
    gc.GcTargetY[1] = 15;  // dCur 5
    gc.GcHelpX[1] = 14;
    gc.GcHelpY[1] = 10;  // dCur 4
    doc->RedForce.MaxAliveWeight[red] = 0.8f;

    Red(MovePenaltyKind::Default);
    EXPECT_EQ(At(0, 1), 0.0f);
    Red(MovePenaltyKind::Communications);
    EXPECT_EQ(At(0, 1), 0.0f);

    Red(MovePenaltyKind::GlobalCommand);
    EXPECT_EQ(At(0, 1), 0.5f * 0.8f * 1.0f * 4.0f / 5.0f) << "one command: no help";

    lc.NumLocalCommanders = 2;
    Red(MovePenaltyKind::GlobalCommand);
    EXPECT_EQ(At(0, 1), (1.0f - 0.25f) * 0.5f * 0.8f * 1.0f * 4.0f / 5.0f +
                            0.25f * 0.5f * 0.8f * 1.0f * std::sqrt(17.0f) / 4.0f);

    gc.GcHelpX[1] = gc.GcHelpY[1] = 0;
    Red(MovePenaltyKind::GlobalCommand);
    EXPECT_EQ(At(0, 1), 0.5f * 0.8f * 1.0f * 4.0f / 5.0f);

    lc.CommandRole[red] = Subordinate;
    Red(MovePenaltyKind::GlobalCommand);
    EXPECT_EQ(At(0, 1), 0.0f);
}

// Three terms whose single-precision sum depends on the order: RED adds its
// friends first, BLUE its enemies first. Friends stand at (5, 12) and
// (12, 14), the enemy at (17, 13); the candidate is (10, 11).
class MovePenaltyOrder : public MovePenalty {
protected:
    const float f1 = 0.3f * 1.0f * std::sqrt(26.0f) / 10.0f;
    const float f2 = 0.3f * 1.0f * std::sqrt(13.0f) / 10.0f;
    const float e = 0.7f * 1.0f * std::sqrt(53.0f) / 10.0f;

    void Surround(Side side, int mover)
    {
        CForce& own = doc->Force(side);
        own.SquadWeightMatrix[1][1] = 1.0;
        own.EffW1[mover] = 0.3f;
        own.EffW2[mover] = 0.7f;
        own.DistanceNormaliser[mover] = 10.0f;
        const int a = AddAgent(side, 5, 12), b = AddAgent(side, 12, 14);
        own.FriendSensed[a] = own.FriendSensed[b] = 1;
        own.EnemySensed[AddAgent(Opponent(side), 17, 13)] = 1;
    }
};

TEST_F(MovePenaltyOrder, RedSumsFriendsBeforeEnemies)
{
    ASSERT_NE(((0.0f + f1) + f2) + e, ((0.0f + e) + f1) + f2);
    Surround(Side::Red, red);
    Red();
    EXPECT_EQ(At(0, 1), ((0.0f + f1) + f2) + e);
}

TEST_F(MovePenaltyOrder, BlueSumsEnemiesBeforeFriends)
{
    ASSERT_NE(((0.0f + f1) + f2) + e, ((0.0f + e) + f1) + f2);
    // The RED mover steps aside for a BLUE one.
    doc->Battlefield.AgentGrid[GridIndex(10, 10)] = CellFree;
    doc->RedForce.AgentX[red] = doc->RedForce.AgentY[red] = 2;
    doc->Battlefield.AgentGrid[GridIndex(2, 2)] = CellAgent;
    const int b = AddAgent(Side::Blue, 10, 10);
    Surround(Side::Blue, b);
    doc->EvalBlueMovePenalties(b, 1, 99999.0f, table);
    EXPECT_EQ(At(0, 1), ((0.0f + e) + f1) + f2);
}

TEST_F(MovePenalty, EnemyRepulsionNeedsPositiveEffectiveWeight)
{
    CForce& f = doc->RedForce;
    f.MovementFlag[red] = 1;
    f.EnemyMinDistAlive[red] = 5.0f;
    f.AliveWeight[W2][red] = 0.4f;
    f.AliveWeight[W4][red] = 0.6f;
    const int foe = AddAgent(Side::Blue, 10, 14);  // dCur 4
    f.EnemySensed[foe] = 1;

    f.EffW2[red] = 0.5f;
    Red();
    EXPECT_EQ(At(0, 1), -0.4f * 1.0f * 3.0f / 10.0f);
    f.EffW2[red] = -0.5f;
    Red();
    EXPECT_EQ(At(0, 1), -0.5f * 1.0f * 3.0f / 10.0f) << "the plain term with the effective weight";

    doc->BlueForce.AgentState[foe] = Injured;
    f.EffW4[red] = 0.25f;
    Red();
    EXPECT_EQ(At(0, 1), -0.6f * 1.0f * 3.0f / 10.0f);
    doc->BlueForce.AgentState[foe] = Dead;
    Red();
    EXPECT_EQ(At(0, 1), 0.0f) << "a stale mark of a dead enemy is ignored";
}

}  // namespace
}  // namespace brevimar

namespace brevimar {
namespace {

// Each operation of a term rounded to single precision on its own: a value
// that has passed through memory cannot be fused into the next operation.
float Stored(float v)
{
    volatile float kept = v;
    return kept;
}

// The eight-lane form runs on processors with AVX and the four-lane form
// elsewhere (and for boxes of four cells or fewer), so the same battle must
// come of either: both must give every cell the bits of the terms taken one
// operation at a time, ((c * dNew) / D) [* post] added to P in turn, with no
// product fused into the sum after it.
TEST(MovePenaltyLanes, EightAndFourLanesGiveTheSameBits)
{
#if defined(__x86_64__) && defined(__GNUC__)
    if (!__builtin_cpu_supports("avx"))
        GTEST_SKIP() << "the processor has no AVX";
#else
    GTEST_SKIP() << "no eight-lane form on this processor";
#endif
    std::mt19937 draw(49);
    auto cell = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(draw); };
    auto real = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(draw); };
    for (int agent = 0; agent < 2000; ++agent) {
        // The agent's movement box on a 150 x 150 field, cut by the edges.
        const int x = cell(1, 150), y = cell(1, 150), r = cell(1, 4);
        alignas(32) float X[88] = {}, Y[88] = {}, four[88] = {}, eight[88] = {};
        float plain[88] = {};
        int count = 0;
        for (int cx = std::max(x - r, 1); cx <= std::min(x + r, 150); ++cx)
            for (int cy = std::max(y - r, 1); cy <= std::min(y + r, 150); ++cy)
                if (cx != x || cy != y) {
                    X[count] = static_cast<float>(cx);
                    Y[count] = static_cast<float>(cy);
                    ++count;
                }
        // Friends, enemies and flags anywhere near the field, with weights,
        // normalisers and communications weights of every sign and size.
        for (int term = 0; term < 12; ++term) {
            const int tx = cell(-5, 155), ty = cell(-5, 155);
            const float c = real(-3.0f, 3.0f), D = real(0.5f, 40.0f), post = real(-1.0f, 1.0f);
            const bool scaled = term % 2 == 1;
            AddPenaltyTermsFourLanes(X, Y, four, count, static_cast<float>(tx), static_cast<float>(ty), c, D, post,
                                     scaled);
            ASSERT_TRUE(AddPenaltyTermsEightLanes(X, Y, eight, count, static_cast<float>(tx), static_cast<float>(ty),
                                                  c, D, post, scaled));
            for (int n = 0; n < count; ++n) {
                const float dx = X[n] - static_cast<float>(tx), dy = Y[n] - static_cast<float>(ty);
                float t = Stored(c * std::sqrt(Stored(dx * dx) + Stored(dy * dy))) / D;
                if (scaled)
                    t = Stored(t * post);
                plain[n] = plain[n] + t;
            }
        }
        for (int n = 0; n < count; ++n) {
            ASSERT_EQ(std::bit_cast<std::uint32_t>(eight[n]), std::bit_cast<std::uint32_t>(four[n]))
                << "agent " << agent << ", cell " << n << ": " << eight[n] << " against " << four[n];
            ASSERT_EQ(std::bit_cast<std::uint32_t>(four[n]), std::bit_cast<std::uint32_t>(plain[n]))
                << "agent " << agent << ", cell " << n << ": " << four[n] << " against " << plain[n];
        }
    }
}

}  // namespace
}  // namespace brevimar
