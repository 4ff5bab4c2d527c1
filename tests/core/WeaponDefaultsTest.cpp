#include <gtest/gtest.h>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

// Squad 1 of each side: P(k) 0.5 alive / 0.25 injured, fire range 4 / 2,
// 3 targets; two squads of 6 and 4 agents.
void SetSquadOne(CBrevimarDoc& doc)
{
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = doc.Force(side);
        f.shot_prob_alive[1] = 0.5f;
        f.shot_prob_injured[1] = 0.25f;
        f.A_F_RANGE[1] = 4;
        f.I_F_RANGE[1] = 2;
        f.A_R_max_eng_num[1] = 3;
        f.NumSquads = 2;
        f.num_per_squad[1] = 6;
        f.num_per_squad[2] = 4;
        f.num_per_squad[3] = 5;  // not in use
    }
}

TEST(WeaponDefaults, TerrainModifierTablesForEverySquadRow)
{
    testing::TestDocument doc;
    doc->InitWeaponDefaults();
    for (Side side : {Side::Red, Side::Blue}) {
        const CTerrainModifierSet& m = doc->Modifiers(side);
        for (int s : {0, 1, 10}) {
            for (int k = 1; k <= 3; ++k) {
                EXPECT_EQ(m.A_comm_range[s][k], 5);
                EXPECT_EQ(m.I_comm_range[s][k], 5);
                EXPECT_EQ(m.A_fire_range[s][k], k);
                EXPECT_EQ(m.I_max_tgts_alive[s][k], k);
                EXPECT_EQ(m.A_movement_range[s][k], k);
                EXPECT_EQ(m.I_sensor_range[s][k], k);
                EXPECT_EQ(m.A_defense_alive[s][k], k);
                EXPECT_EQ(m.I_threshold_range[s][k], k - 1);
            }
            EXPECT_EQ(m.A_comm_weight[s][1], 1.0f);
            EXPECT_EQ(m.I_comm_weight[s][2], 0.75f);
            EXPECT_EQ(m.A_comm_weight[s][3], 0.25f);
            EXPECT_EQ(m.A_pk_alive[s][1], 0.9f);
            EXPECT_EQ(m.I_pk_alive[s][2], 0.75f);
            EXPECT_EQ(m.I_pk_alive[s][3], 0.5f);
            EXPECT_EQ(m.TerrainVisibility[s][1], 0.9);
            EXPECT_EQ(m.TerrainVisibility[s][2], 0.75);
            EXPECT_EQ(m.TerrainVisibility[s][3], 0.5);
            EXPECT_EQ(m.A_fire_range[s][0], 0) << "column 0 is no terrain type";
        }
    }
}

TEST(WeaponDefaults, LoadedModifierTablesAreKeptButBaseCopiesRetaken)
{
    testing::TestDocument doc;
    doc->TerrainModifiersLoaded = 1;
    doc->TerrainModifiers.Red.A_fire_range[2][1] = 9;
    doc->TerrainModifiers.RedTerrainModified[3] = 1;
    CForce& red = doc->RedForce;
    red.NumAgents = 3;
    red.SensorRangeAlive[3] = 8;
    red.FireRangeAlive[3] = 4;
    red.ConstraintRangeAlive[3] = 2;
    red.SensorRangeInjured[3] = 6;
    red.MoveRangeInjured[3] = 1;
    red.COMM_range = 12;
    red.A_COMM_weight = 0.4f;
    red.ShotProbInjured[3] = 0.3f;
    red.MaxTargetsAlive[3] = 5;
    doc->InitWeaponDefaults();

    EXPECT_EQ(doc->TerrainModifiers.Red.A_fire_range[2][1], 9);
    EXPECT_EQ(doc->TerrainModifiers.Red.A_fire_range[2][2], 0);
    EXPECT_EQ(doc->TerrainModifiers.RedTerrainModified[3], 0);
    const CAgentBaseCopies& base = doc->TerrainModifiers.RedBase;
    EXPECT_EQ(base.BaseSensorRange[3], 8);  // the current value's base is the alive value
    EXPECT_EQ(base.BaseSensorRangeAlive[3], 8);
    EXPECT_EQ(base.BaseFireRange[3], 4);
    EXPECT_EQ(base.BaseConstraintRangeAlive[3], 2);
    EXPECT_EQ(base.BaseSensorRangeInjured[3], 6);
    EXPECT_EQ(base.BaseMoveRangeInjured[3], 1);
    EXPECT_EQ(base.BaseCommRange[3], 12);
    EXPECT_EQ(base.BaseCommWeightAlive[3], 0.4f);
    EXPECT_EQ(base.BaseShotProbInjured[3], 0.3f);
    EXPECT_EQ(base.BaseMaxTargetsAlive[3], 5);
}

TEST(WeaponDefaults, DefaultHitTableAndSideWeapons)
{
    testing::TestDocument doc;
    SetSquadOne(*doc);
    doc->RedForce.WeaponsOn = doc->BlueForce.WeaponsOn = 1;
    doc->RedForce.WeaponAssignType = 2;
    doc->AgentWeapons.GrenadeLandingX = 40;
    doc->SetDefaultWeaponParameters();

    EXPECT_EQ(doc->AgentWeapons.GrenadeLandingX, -1);
    EXPECT_EQ(doc->AgentWeapons.GrenadeLandingY, -1);
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& f = doc->Force(side);
        EXPECT_EQ(f.WeaponsOn, 0);
        EXPECT_EQ(f.WeaponAssignType, 1);
        EXPECT_EQ(f.point_to_point_1[1], 6);
        EXPECT_EQ(f.point_to_point_1[2], 4);
        EXPECT_EQ(f.point_to_point_1[3], 0) << "squads past NumSquads carry nothing";
        EXPECT_EQ(f.grenades[1], 0);
        EXPECT_EQ(f.point_to_point_2[1], 0);
        EXPECT_EQ(f.AgentWeapon[1], 1);
        EXPECT_EQ(f.AgentWeapon[300], 1);

        const SideWeapons& w = doc->Weapons(side);
        EXPECT_EQ(w.fratricide_tolerance, 0);
        EXPECT_EQ(w.use_threshold, 1);
        EXPECT_EQ(w.min_throw_range, 3);
        EXPECT_EQ(w.max_throw_range, 5);
        EXPECT_EQ(w.blast_range, 3);
        EXPECT_EQ(w.sensor_type, 0);
        EXPECT_EQ(w.prob_landing[0], 1.0f);
        EXPECT_EQ(w.prob_landing[1], 0.0f);
        EXPECT_EQ(w.max_tgts[Grenade], 999);
        EXPECT_EQ(w.fire_range[Grenade], 3);
        EXPECT_EQ(w.prob_hit[Grenade][0], 0.1f);
        EXPECT_EQ(w.prob_hit[Grenade][1], 0.0f);
        EXPECT_EQ(w.max_tgts[1], 3);
        EXPECT_EQ(w.fire_range[1], 4);
        EXPECT_EQ(w.prob_hit[1][0], 0.5f);
        EXPECT_EQ(w.prob_hit[1][1], 0.0f);
        for (int k = 2; k <= 5; ++k) {
            EXPECT_EQ(w.max_tgts[k], 2);
            EXPECT_EQ(w.fire_range[k], 3);
            EXPECT_EQ(w.prob_hit[k][0], 0.5f);
            EXPECT_EQ(w.prob_hit[k][10], 0.0f);
        }

        // Every function: 0.5 at ranges 1..4 alive, 0.25 at 1..2 injured.
        const SquadWeaponFunction& fn = f.WeaponFunction;
        for (int W = 1; W <= 10; ++W) {
            EXPECT_EQ(fn.weapon_squad[W], 1);
            for (int r = 0; r < HitTableRanges; ++r) {
                ASSERT_EQ(fn.p_r[W][r][AliveColumn], r >= 1 && r <= 4 ? 0.5f : 0.0f) << W << " " << r;
                ASSERT_EQ(fn.p_r[W][r][InjuredColumn], r >= 1 && r <= 2 ? 0.25f : 0.0f) << W << " " << r;
            }
            EXPECT_EQ(fn.plow[W][AliveColumn], 0.5);
            EXPECT_EQ(fn.pmax[W][InjuredColumn], 0.25);
            EXPECT_EQ(fn.rmin[W][AliveColumn], 1.0);
            EXPECT_EQ(fn.power[W][InjuredColumn], 1.0);
        }
    }
}

TEST(WeaponDefaults, SidesDifferInRangeEndAndDecay)
{
    testing::TestDocument doc;
    SetSquadOne(*doc);
    doc->BlueForce.A_F_RANGE[1] = 7;
    doc->SetDefaultWeaponParameters();
    const SquadWeaponFunction& red = doc->RedForce.WeaponFunction;
    const SquadWeaponFunction& blue = doc->BlueForce.WeaponFunction;
    for (int W = 1; W <= 10; ++W) {
        EXPECT_EQ(red.rmax[W][AliveColumn], 4.0);
        EXPECT_EQ(red.rmax[W][InjuredColumn], 2.0);
        EXPECT_EQ(red.decay[W][AliveColumn], 0);
        EXPECT_EQ(red.decay[W][InjuredColumn], 0);
        EXPECT_EQ(blue.rmax[W][AliveColumn], 2.0);
        EXPECT_EQ(blue.rmax[W][InjuredColumn], 2.0);
        EXPECT_EQ(blue.decay[W][AliveColumn], 1);
        EXPECT_EQ(blue.decay[W][InjuredColumn], 1);
    }
}

TEST(WeaponDefaults, FireRangeBeyondTheTableFillsItToItsEnd)
{
    testing::TestDocument doc;
    SetSquadOne(*doc);
    doc->RedForce.A_F_RANGE[1] = 250;
    doc->RedForce.I_F_RANGE[1] = 0;
    doc->SetDefaultWeaponParameters();
    const SquadWeaponFunction& fn = doc->RedForce.WeaponFunction;
    for (int W = 1; W <= 10; ++W) {
        EXPECT_EQ(fn.p_r[W][0][AliveColumn], 0.0f);
        EXPECT_EQ(fn.p_r[W][99][AliveColumn], 0.5f);
        for (int r = 0; r < HitTableRanges; ++r)
            ASSERT_EQ(fn.p_r[W][r][InjuredColumn], 0.0f) << "fire range 0 leaves the column empty";
    }
    // What follows the table is untouched.
    for (int s = 0; s < SquadSlots; ++s)
        EXPECT_EQ(fn.weapon_squad[s], 1);
    EXPECT_EQ(doc->RedForce.SquadWeightMatrix[0][0], 0.0);
    EXPECT_EQ(doc->RedForce.SquadWeightMatrix[10][10], 0.0);
}

TEST(WeaponDefaults, DefaultAssignmentCommandsPerSide)
{
    testing::TestDocument doc;
    SetSquadOne(*doc);
    doc->BlueForce.A_F_RANGE[1] = 6;
    doc->BlueForce.I_F_RANGE[1] = 5;
    doc->BlueForce.WeaponFunction.sensor_type = 1;
    doc->RedForce.WeaponsOn = doc->BlueForce.WeaponsOn = 1;
    doc->RedForce.WeaponFunction.rmax[1][0] = 33.0;

    doc->SetDefaultBlueWeaponAssignments();
    const CForce& blue = doc->BlueForce;
    EXPECT_EQ(blue.WeaponsOn, 0);
    EXPECT_EQ(doc->RedForce.WeaponsOn, 1) << "the other side is left alone";
    EXPECT_EQ(doc->RedForce.WeaponFunction.rmax[1][0], 33.0);
    EXPECT_EQ(blue.point_to_point_1[3], 5) << "every squad slot counts its agents here";
    EXPECT_EQ(blue.WeaponFunction.sensor_type, 0);
    for (int W = 1; W <= 10; ++W) {
        EXPECT_EQ(blue.WeaponFunction.rmax[W][AliveColumn], 6.0);
        EXPECT_EQ(blue.WeaponFunction.rmax[W][InjuredColumn], 5.0);
        EXPECT_EQ(blue.WeaponFunction.decay[W][AliveColumn], 1);
        EXPECT_EQ(blue.WeaponFunction.p_r[W][6][AliveColumn], 0.5f);
        EXPECT_EQ(blue.WeaponFunction.p_r[W][7][AliveColumn], 0.0f);
    }
    EXPECT_EQ(doc->Weapons(Side::Blue).fire_range[1], 6);

    doc->SetDefaultRedWeaponAssignments();
    for (int W = 1; W <= 10; ++W) {
        EXPECT_EQ(doc->RedForce.WeaponFunction.rmax[W][AliveColumn], 4.0);
        EXPECT_EQ(doc->RedForce.WeaponFunction.decay[W][InjuredColumn], 0);
    }
}

TEST(WeaponDefaults, UserDefinedSquadFunctionsSurviveTheAssignmentCommand)
{
    testing::TestDocument doc;
    SetSquadOne(*doc);
    doc->RedForce.SquadWeaponsDefined = 1;
    doc->RedForce.WeaponFunction.p_r[3][2][AliveColumn] = 0.8f;
    doc->RedForce.WeaponFunction.sensor_type = 2;
    doc->Weapons(Side::Red).blast_range = 7;
    doc->SetDefaultRedWeaponAssignments();
    EXPECT_EQ(doc->RedForce.WeaponFunction.p_r[3][2][AliveColumn], 0.8f);
    EXPECT_EQ(doc->RedForce.WeaponFunction.sensor_type, 2);
    EXPECT_EQ(doc->Weapons(Side::Red).blast_range, 3) << "the agent-specific weapons are reset all the same";
}

}  // namespace
}  // namespace brevimar
