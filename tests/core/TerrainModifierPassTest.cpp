#include <gtest/gtest.h>

#include <limits>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

class TerrainModifierPass : public ::testing::TestWithParam<Side> {
protected:
    testing::TestDocument doc;
    Side side = GetParam();

    CForce& F() { return doc->Force(side); }
    CTerrainModifierSet& M() { return doc->Modifiers(side); }
    CAgentBaseCopies& B() { return doc->BaseCopies(side); }
    int& Mark(int i) { return doc->TerrainModified(side)[i]; }

    void SetUp() override
    {
        doc->Battlefield.BattleSize = 20;
        doc->Battlefield.TerrainMode = 1;
        doc->Battlefield.TerrainModifiersOn = 1;
        doc->RedForce.NumAgents = 0;
        doc->BlueForce.NumAgents = 0;
    }

    void Terrain(int x, int y, int type) { doc->Battlefield.TerrainType[GridIndex(x, y)] = type; }

    // An agent whose working values equal its base copies.
    void AddAgent(int i, int squad, int x, int y)
    {
        CForce& f = F();
        if (f.NumAgents < i)
            f.NumAgents = i;
        f.AgentSquad[i] = squad;
        f.AgentX[i] = x;
        f.AgentY[i] = y;
        f.AgentState[i] = Alive;
        CAgentBaseCopies& b = B();
        b.BaseSensorRangeAlive[i] = f.SensorRangeAlive[i] = 5;
        b.BaseSensorRangeInjured[i] = f.SensorRangeInjured[i] = 4;
        b.BaseFireRangeAlive[i] = f.FireRangeAlive[i] = 3;
        b.BaseFireRangeInjured[i] = f.FireRangeInjured[i] = 2;
        b.BaseConstraintRangeAlive[i] = f.ConstraintRangeAlive[i] = 6;
        b.BaseConstraintRangeInjured[i] = f.ConstraintRangeInjured[i] = 6;
        b.BaseMoveRangeAlive[i] = f.MoveRangeAlive[i] = 2;
        b.BaseMoveRangeInjured[i] = f.MoveRangeInjured[i] = 1;
        b.BaseMaxTargetsAlive[i] = f.MaxTargetsAlive[i] = 4;
        b.BaseMaxTargetsInjured[i] = f.MaxTargetsInjured[i] = 3;
        b.BaseAliveStrength[i] = f.AliveStrength[i] = 1;
        b.BaseInjuredStrength[i] = f.InjuredStrength[i] = 1;
        b.BaseShotProbAlive[i] = f.ShotProbAlive[i] = 0.5f;
        b.BaseShotProbInjured[i] = f.ShotProbInjured[i] = 0.25f;
        b.BaseCommWeightAlive[i] = f.CommWeightAlive = 0.75f;
        b.BaseCommWeightInjured[i] = f.CommWeightInjured = 0.5f;
        b.BaseCommRange[i] = f.CommRange = 10;
    }

    void Apply(int i)
    {
        if (side == Side::Red)
            doc->ApplyRedTerrainModifiers(i);
        else
            doc->ApplyBlueTerrainModifiers(i);
    }
    void Restore(int i)
    {
        if (side == Side::Red)
            doc->RestoreRedAgentParams(i);
        else
            doc->RestoreBlueAgentParams(i);
    }
};

TEST_P(TerrainModifierPass, ChangeTableOnTypeII)
{
    AddAgent(1, 3, 5, 5);
    Terrain(5, 5, PassableII);
    const int k = 2;
    CTerrainModifierSet& m = M();
    m.A_sensor_range[3][k] = 2;
    m.I_sensor_range[3][k] = 9;  // more than the value: floor at 0
    m.A_fire_range[3][k] = 1;
    m.I_fire_range[3][k] = 2;
    m.A_threshold_range[3][k] = 4;
    m.I_threshold_range[3][k] = 7;
    m.A_movement_range[3][k] = 1;
    m.I_movement_range[3][k] = 5;
    m.A_max_tgts_alive[3][k] = 3;
    m.I_max_tgts_alive[3][k] = 1;
    m.A_defense_alive[3][k] = 2;
    m.I_defense_alive[3][k] = 7;
    m.A_pk_alive[3][k] = 0.5f;
    m.I_pk_alive[3][k] = -2.0f;  // negative product: 0
    m.A_comm_weight[3][k] = 0.5f;
    m.I_comm_weight[3][k] = 2.0f;
    m.A_comm_range[3][k] = 4;
    m.I_comm_range[3][k] = 100;  // a side has one range: never applied
    // Other columns and squads must not be read.
    m.A_sensor_range[3][1] = 1;
    m.A_sensor_range[3][3] = 1;
    m.A_sensor_range[2][k] = 1;

    Apply(1);

    const CForce& f = F();
    EXPECT_EQ(f.SensorRangeAlive[1], 3);
    EXPECT_EQ(f.SensorRangeInjured[1], 0);
    EXPECT_EQ(f.FireRangeAlive[1], 2);
    EXPECT_EQ(f.FireRangeInjured[1], 0);
    EXPECT_EQ(f.ConstraintRangeAlive[1], 2);
    EXPECT_EQ(f.ConstraintRangeInjured[1], 0);
    EXPECT_EQ(f.MoveRangeAlive[1], 1);
    EXPECT_EQ(f.MoveRangeInjured[1], 0);
    EXPECT_EQ(f.MaxTargetsAlive[1], 1);
    EXPECT_EQ(f.MaxTargetsInjured[1], 2);
    EXPECT_EQ(f.AliveStrength[1], 3);
    EXPECT_EQ(f.InjuredStrength[1], 8);
    EXPECT_EQ(f.ShotProbAlive[1], 0.25f);
    EXPECT_EQ(f.ShotProbInjured[1], 0.0f);
    EXPECT_EQ(f.CommWeightAlive, 0.375f);
    EXPECT_EQ(f.CommWeightInjured, 1.0f);
    EXPECT_EQ(f.CommRange, 6);

    Restore(1);
    EXPECT_EQ(f.SensorRangeAlive[1], 5);
    EXPECT_EQ(f.SensorRangeInjured[1], 4);
    EXPECT_EQ(f.FireRangeAlive[1], 3);
    EXPECT_EQ(f.FireRangeInjured[1], 2);
    EXPECT_EQ(f.ConstraintRangeAlive[1], 6);
    EXPECT_EQ(f.ConstraintRangeInjured[1], 6);
    EXPECT_EQ(f.MoveRangeAlive[1], 2);
    EXPECT_EQ(f.MoveRangeInjured[1], 1);
    EXPECT_EQ(f.MaxTargetsAlive[1], 4);
    EXPECT_EQ(f.MaxTargetsInjured[1], 3);
    EXPECT_EQ(f.AliveStrength[1], 1);
    EXPECT_EQ(f.InjuredStrength[1], 1);
    EXPECT_EQ(f.ShotProbAlive[1], 0.5f);
    EXPECT_EQ(f.ShotProbInjured[1], 0.25f);
    EXPECT_EQ(f.CommWeightAlive, 0.75f);
    EXPECT_EQ(f.CommWeightInjured, 0.5f);
    EXPECT_EQ(f.CommRange, 10);
}

TEST_P(TerrainModifierPass, SensorRangeFiveThreeFiveAcrossPassableTerrain)
{
    AddAgent(1, 1, 5, 5);
    Terrain(6, 5, PassableII);
    M().A_sensor_range[1][2] = 2;

    doc->ApplyPassableTerrainModifiers();  // open ground, unmarked: nothing
    EXPECT_EQ(F().SensorRangeAlive[1], 5);
    EXPECT_EQ(Mark(1), 0);

    F().AgentX[1] = 6;
    doc->ApplyPassableTerrainModifiers();
    EXPECT_EQ(F().SensorRangeAlive[1], 3);
    EXPECT_EQ(Mark(1), 1);
    doc->ApplyPassableTerrainModifiers();  // staying on it applies nothing more
    EXPECT_EQ(F().SensorRangeAlive[1], 3);

    F().AgentX[1] = 7;
    doc->ApplyPassableTerrainModifiers();
    EXPECT_EQ(F().SensorRangeAlive[1], 5);
    EXPECT_EQ(Mark(1), 0);
}

TEST_P(TerrainModifierPass, KeepsFirstTypeUntilOpenGround)
{
    AddAgent(1, 1, 5, 5);
    Terrain(5, 5, PassableI);
    Terrain(6, 5, PassableIII);
    Terrain(7, 5, Pillar);
    Terrain(8, 5, Lava);
    M().A_sensor_range[1][1] = 1;
    M().A_sensor_range[1][3] = 3;

    doc->ApplyPassableTerrainModifiers();
    EXPECT_EQ(F().SensorRangeAlive[1], 4);
    for (int x : {6, 7, 8}) {
        F().AgentX[1] = x;
        doc->ApplyPassableTerrainModifiers();
        EXPECT_EQ(F().SensorRangeAlive[1], 4) << "x = " << x;
        EXPECT_EQ(Mark(1), 1);
    }
    F().AgentX[1] = 9;
    doc->ApplyPassableTerrainModifiers();
    EXPECT_EQ(F().SensorRangeAlive[1], 5);
    EXPECT_EQ(Mark(1), 0);
}

TEST_P(TerrainModifierPass, SwitchedOffDoesNothingWhateverTheMarks)
{
    AddAgent(1, 1, 5, 5);
    AddAgent(2, 1, 6, 6);
    Terrain(5, 5, PassableI);
    M().A_sensor_range[1][1] = 2;
    F().SensorRangeAlive[2] = 1;  // carries modifiers but stands on open ground
    Mark(2) = 1;
    doc->Battlefield.TerrainModifiersOn = 0;

    doc->ApplyPassableTerrainModifiers();
    EXPECT_EQ(F().SensorRangeAlive[1], 5);
    EXPECT_EQ(Mark(1), 0);
    EXPECT_EQ(F().SensorRangeAlive[2], 1);
    EXPECT_EQ(Mark(2), 1);
}

TEST_P(TerrainModifierPass, CommRangeLoweredOncePerEnteringAgent)
{
    AddAgent(1, 1, 5, 5);
    AddAgent(2, 2, 6, 6);
    Terrain(5, 5, PassableI);
    Terrain(6, 6, PassableIII);
    M().A_comm_range[1][1] = 2;
    M().A_comm_range[2][3] = 3;
    B().BaseCommRange[2] = 9;  // agent 2's own copy

    doc->ApplyPassableTerrainModifiers();
    EXPECT_EQ(F().CommRange, 5);  // 10 - 2 - 3

    // Any agent back on open ground sets the side's range to its own copy.
    F().AgentX[2] = 7;
    doc->ApplyPassableTerrainModifiers();
    EXPECT_EQ(F().CommRange, 9);
    EXPECT_EQ(Mark(1), 1);
}

TEST_P(TerrainModifierPass, DeadAgentsAreSkipped)
{
    AddAgent(1, 1, 5, 5);
    AddAgent(2, 1, 7, 7);
    Terrain(5, 5, PassableII);
    M().A_sensor_range[1][2] = 2;
    F().AgentState[1] = Dead;
    F().AgentState[2] = Dead;
    F().SensorRangeAlive[2] = 1;
    Mark(2) = 1;

    doc->ApplyPassableTerrainModifiers();
    EXPECT_EQ(F().SensorRangeAlive[1], 5);
    EXPECT_EQ(Mark(1), 0);
    EXPECT_EQ(F().SensorRangeAlive[2], 1);
    EXPECT_EQ(Mark(2), 1);

    F().AgentState[1] = Injured;  // the injured are living
    doc->ApplyPassableTerrainModifiers();
    EXPECT_EQ(F().SensorRangeAlive[1], 3);
}

TEST_P(TerrainModifierPass, OtherSideUntouched)
{
    AddAgent(1, 1, 5, 5);
    Terrain(5, 5, PassableI);
    M().A_comm_range[1][1] = 2;
    const Side other = Opponent(side);
    doc->Force(other).CommRange = 10;
    doc->Modifiers(other).A_comm_range[1][1] = 7;

    doc->ApplyPassableTerrainModifiers();
    EXPECT_EQ(F().CommRange, 8);
    EXPECT_EQ(doc->Force(other).CommRange, 10);
    EXPECT_EQ(doc->TerrainModified(other)[1], 0);
}

// A negative delta, which the dialogs take down to -99, raises the value by
// its size; a value a scenario left near the largest int stops there.
TEST_P(TerrainModifierPass, NegativeDeltasRaiseUpToTheLargestInt)
{
    constexpr int Top = std::numeric_limits<int>::max();
    AddAgent(1, 2, 5, 5);
    Terrain(5, 5, PassableIII);
    CForce& f = F();
    CTerrainModifierSet& m = M();
    m.A_sensor_range[2][3] = -5;    // 5 + 5
    m.I_fire_range[2][3] = -99;     // 2 + 99
    m.A_movement_range[2][3] = -99;  // 2 + 99; the move itself stays within its tables
    f.ConstraintRangeAlive[1] = Top - 10;
    m.A_threshold_range[2][3] = -99;  // Top - 10 + 99 passes Top
    f.CommRange = Top - 1;
    m.A_comm_range[2][3] = -2;
    f.AliveStrength[1] = Top - 1;
    m.A_defense_alive[2][3] = 99;
    Apply(1);
    EXPECT_EQ(f.SensorRangeAlive[1], 10);
    EXPECT_EQ(f.FireRangeInjured[1], 101);
    EXPECT_EQ(f.MoveRangeAlive[1], 101);
    EXPECT_EQ(f.ConstraintRangeAlive[1], Top);
    EXPECT_EQ(f.CommRange, Top);
    EXPECT_EQ(f.AliveStrength[1], Top);
    Restore(1);
    EXPECT_EQ(f.SensorRangeAlive[1], 5);
    EXPECT_EQ(f.MoveRangeAlive[1], 2);
}

// Squads and cells outside the tables carry no amounts.
TEST_P(TerrainModifierPass, OutOfTableValuesAreHarmless)
{
    AddAgent(1, 11, 5, 5);
    Terrain(5, 5, PassableI);
    Apply(1);
    EXPECT_EQ(F().SensorRangeAlive[1], 5);

    AddAgent(2, 1, -4, 900);
    Apply(2);
    Apply(0);
    Apply(MaxAgents + 1);
    Restore(-1);
    Restore(MaxAgents + 1);
    EXPECT_EQ(F().SensorRangeAlive[2], 5);
}

INSTANTIATE_TEST_SUITE_P(BothSides, TerrainModifierPass, ::testing::Values(Side::Red, Side::Blue),
                         [](const auto& info) { return info.param == Side::Red ? "Red" : "Blue"; });

}  // namespace
}  // namespace brevimar
