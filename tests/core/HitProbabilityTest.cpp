#include <cmath>

#include <gtest/gtest.h>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

class HitProbability : public ::testing::Test {
protected:
    testing::TestDocument doc;
    CForce& red = doc->RedForce;
    CForce& blue = doc->BlueForce;
    SquadWeaponFunction& fn = doc->RedForce.WeaponFunction;

    void SetUp() override
    {
        red.NumAgents = 1;
        red.AgentState[1] = Alive;
        red.AgentSquad[1] = 3;
        red.AgentX[1] = 50;
        red.AgentY[1] = 50;
        fn.weapon_squad[3] = 4;
    }
    float AtRange(int dx, int dy) { return doc->GetRedHitProbAtRange(1, 50, 50, 1, 50 + dx, 50 + dy); }
    void Curve(double rmin, double rmax, double pmin, double pmax, double power, int decay)
    {
        fn.sensor_type = 1;
        fn.rmin[4][0] = rmin;
        fn.rmax[4][0] = rmax;
        fn.pmin[4][0] = pmin;
        fn.pmax[4][0] = pmax;
        fn.plow[4][0] = 0.95;
        fn.phigh[4][0] = 0.05;
        fn.power[4][0] = power;
        fn.decay[4][0] = decay;
    }
};

TEST_F(HitProbability, CookieCutterTableEndsAtTheFireRange)
{
    red.FireRange[1] = 5;
    for (int d = 0; d < HitTableRanges; ++d) {
        fn.p_r[4][d][AliveColumn] = 0.01f * d + 0.001f;
        fn.p_r[4][d][InjuredColumn] = 0.5f;
    }
    EXPECT_EQ(AtRange(0, 0), fn.p_r[4][0][0]);  // two agents on one cell
    EXPECT_EQ(AtRange(5, -3), fn.p_r[4][5][0]);
    EXPECT_EQ(AtRange(-2, 5), fn.p_r[4][5][0]);
    EXPECT_EQ(AtRange(6, 0), 0.0f);
    EXPECT_EQ(AtRange(1, 6), 0.0f);

    // Any state other than alive reads the injured column.
    for (int state : {Injured, Dead}) {
        red.AgentState[1] = state;
        EXPECT_EQ(AtRange(3, 3), 0.5f);
    }
}

TEST_F(HitProbability, CookieCutterBeyondTheTableIsZero)
{
    red.FireRange[1] = 140;
    fn.p_r[4][99][AliveColumn] = 0.25f;
    EXPECT_EQ(AtRange(99, 0), 0.25f);
    EXPECT_EQ(AtRange(100, 10), 0.0f);
    EXPECT_EQ(AtRange(-1, 139), 0.0f);
}

TEST_F(HitProbability, WeaponFunctionOutsideOneToTenHasNoTable)
{
    red.FireRange[1] = 5;
    fn.p_r[0][1][AliveColumn] = 0.7f;
    for (int W : {0, 11, -1, 1000}) {
        fn.weapon_squad[3] = W;
        fn.sensor_type = 0;
        EXPECT_EQ(AtRange(1, 0), 0.0f) << W;
        Curve(1, 5, 0.9, 0.1, 2, 0);
        EXPECT_EQ(AtRange(3, 0), 0.0f) << W;
    }
}

TEST_F(HitProbability, CurveEndpointsAndOutsideIgnoreFireRange)
{
    red.FireRange[1] = 0;
    Curve(2, 5, 0.9, 0.1, 2, 0);
    EXPECT_EQ(AtRange(1, 1), 0.95f);  // 1.41 < r_min
    EXPECT_EQ(AtRange(2, 0), 0.9f);   // exactly r_min
    EXPECT_EQ(AtRange(3, 4), 0.1f);   // exactly r_max
    EXPECT_EQ(AtRange(0, 6), 0.05f);
    EXPECT_EQ(AtRange(100, 0), 0.05f);
}

TEST_F(HitProbability, SlowAndFastCurvesBetweenTheRanges)
{
    Curve(1, 5, 0.9, 0.1, 2, 0);
    EXPECT_FLOAT_EQ(AtRange(3, 0), static_cast<float>(0.9 + (0.1 - 0.9) * (9.0 - 1.0) / 24.0));
    Curve(1, 5, 0.9, 0.1, 2, 1);
    EXPECT_FLOAT_EQ(AtRange(3, 0), static_cast<float>(0.1 + (0.9 - 0.1) * (9.0 - 1.0) / 24.0));
    // Any nonzero decay is fast, and a real power is used as such.
    Curve(1, 5, 0.9, 0.1, 1.5, -1);
    const double r = std::sqrt(8.0);
    EXPECT_FLOAT_EQ(AtRange(2, 2), static_cast<float>(0.1 + 0.8 * (std::pow(6.0 - r, 1.5) - 1.0) /
                                                                 (std::pow(5.0, 1.5) - 1.0)));
    // The injured column is separate.
    red.AgentState[1] = Injured;
    EXPECT_EQ(AtRange(3, 0), 0.0f);
}

TEST_F(HitProbability, DegenerateCurvesGiveTheValueAtRmin)
{
    // Power 0 makes both ends of the curve 1: no value between the ranges.
    for (int decay : {0, 1}) {
        Curve(1, 5, 0.9, 0.1, 0, decay);
        EXPECT_EQ(AtRange(3, 0), 0.9f);
    }
    // Overflowing powers.
    Curve(1, 5, 0.9, 0.1, 1e6, 0);
    EXPECT_EQ(AtRange(3, 0), 0.9f);
}

TEST_F(HitProbability, NegativeRminKeepsTheCurveItDefines)
{
    // r_min -1, r_max 3, p 1 -> 0.6, power 2, slow: A = 9, B = 1, so
    // P(r) = 1 - 0.05 (r^2 - 1): 1.05 at r = 0, 1 at r = 1, 0.85 at r = 2.
    Curve(-1, 3, 1.0, 0.6, 2, 0);
    EXPECT_FLOAT_EQ(AtRange(0, 0), 1.05f);
    EXPECT_FLOAT_EQ(AtRange(1, 0), 1.0f);
    EXPECT_FLOAT_EQ(AtRange(2, 0), 0.85f);
    // Fast: P = 0.6 + 0.4 ((2 - r)^2 - 1) / 8: r = 0 -> 0.75, r = 1 -> 0.6.
    Curve(-1, 3, 1.0, 0.6, 2, 1);
    EXPECT_FLOAT_EQ(AtRange(0, 0), 0.75f);
    EXPECT_FLOAT_EQ(AtRange(1, 0), 0.6f);
    // A real power of a negative base has no value: the value at r_min.
    Curve(-2, 4, 0.8, 0.2, 0.5, 0);
    for (int d = 0; d <= 3; ++d)
        EXPECT_EQ(AtRange(d, 0), 0.8f) << d;
}

TEST_F(HitProbability, BlueReadsItsOwnFunctions)
{
    blue.NumAgents = 1;
    blue.AgentState[1] = Alive;
    blue.AgentSquad[1] = 1;
    blue.FireRange[1] = 3;
    blue.WeaponFunction.weapon_squad[1] = 2;
    blue.WeaponFunction.p_r[2][3][AliveColumn] = 0.125f;
    red.FireRange[1] = 3;
    EXPECT_EQ(doc->GetBlueHitProbAtRange(1, 10, 10, 1, 13, 12), 0.125f);
    EXPECT_EQ(doc->GetRedHitProbAtRange(1, 10, 10, 1, 13, 12), 0.0f);
}

TEST_F(HitProbability, LinearFalloffAtOneCellAndOnTheDiagonal)
{
    red.FireRange[1] = 1;
    red.ShotProbAlive[1] = 0.6f;
    red.MaxTargetsAlive[1] = 4;
    red.EngagedTargets[1] = 3;
    auto falloff = [&](int dx, int dy) { return doc->RangeFalloffWeight(Side::Red, 1, 50, 50, 50 + dx, 50 + dy); };
    EXPECT_EQ(falloff(1, 0), 0.6f / 3.0f);
    EXPECT_EQ(falloff(0, -1), 0.6f / 3.0f);
    EXPECT_EQ(falloff(1, 1), 0.0f);
    EXPECT_EQ(falloff(0, 0), 0.0f);

    red.FireRange[1] = 4;
    EXPECT_EQ(falloff(0, 1), (4.0f - 1.0f) * 0.6f / ((4.0f - 1.0f) * 3.0f));
    EXPECT_EQ(falloff(3, 0), (4.0f - 3.0f) * 0.6f / (3.0f * 3.0f));
    EXPECT_EQ(falloff(4, 0), 0.0f);
    EXPECT_EQ(falloff(3, 3), 0.0f);  // 4.24 beyond the fire range

    // Shared over the smaller of the targets engaged and the target limit.
    red.MaxTargetsAlive[1] = 2;
    EXPECT_EQ(falloff(1, 0), 0.6f / 2.0f);
    red.MaxTargetsAlive[1] = 0;
    EXPECT_EQ(falloff(1, 0), 0.0f);
    red.EngagedTargets[1] = 0;
    red.MaxTargetsAlive[1] = 4;
    EXPECT_EQ(falloff(1, 0), 0.0f);
}

TEST_F(HitProbability, LinearFalloffUnlimitedAndInjured)
{
    red.FireRange[1] = 1;
    red.ShotProbAlive[1] = 0.6f;
    red.ShotProbInjured[1] = 0.3f;
    red.MaxTargetsAlive[1] = 1;
    red.MaxTargetsInjured[1] = 2;
    red.EngagedTargets[1] = 5;
    doc->Battlefield.RedCombatUnlimited = 1;
    EXPECT_EQ(doc->RangeFalloffWeight(Side::Red, 1, 5, 5, 6, 5), 0.6f / 5.0f);
    doc->Battlefield.RedCombatUnlimited = 0;
    red.AgentState[1] = Injured;
    EXPECT_EQ(doc->RangeFalloffWeight(Side::Red, 1, 5, 5, 6, 5), 0.3f / 2.0f);
    // BLUE's variant reads BLUE's switch and fields.
    doc->Battlefield.RedCombatUnlimited = 1;
    EXPECT_EQ(doc->RangeFalloffWeight(Side::Blue, 1, 5, 5, 6, 5), 0.0f);
}

class WeaponHitProbability : public HitProbability {
protected:
    SideWeapons& weapons = doc->AgentWeapons.Red;
    void SetUp() override
    {
        HitProbability::SetUp();
        for (int w = 0; w < WeaponKinds; ++w)
            for (int d = 0; d < HitRanges; ++d)
                weapons.prob_hit[w][d] = 0.05f * w + 0.01f * d + 0.001f;
        weapons.fire_range[2] = 4;
        weapons.blast_range = 2;
        red.AgentWeapon[1] = 2;
    }
    float Weapon(int dx, int dy) { return doc->GetRedWeaponHitProb(1, 20, 20, 7, 20 + dx, 20 + dy); }
};

TEST_F(WeaponHitProbability, SensorTypesReadTheTable)
{
    weapons.sensor_type = 0;  // the range-0 value everywhere, even out of reach
    EXPECT_EQ(Weapon(0, 0), weapons.prob_hit[2][0]);
    EXPECT_EQ(Weapon(30, -9), weapons.prob_hit[2][0]);

    weapons.sensor_type = 1;
    EXPECT_EQ(Weapon(3, -4), weapons.prob_hit[2][4]);
    EXPECT_EQ(Weapon(5, 0), 0.0f);

    weapons.sensor_type = 2;
    EXPECT_EQ(Weapon(2, 2), weapons.prob_hit[2][2]);  // 2.83 reads range 2
    EXPECT_EQ(Weapon(3, 3), weapons.prob_hit[2][4]);  // 4.24
    EXPECT_EQ(Weapon(4, 3), 0.0f);                    // 5

    // The grenade's reach is the blast range.
    red.AgentWeapon[1] = Grenade;
    EXPECT_EQ(Weapon(1, 1), weapons.prob_hit[0][1]);
    EXPECT_EQ(Weapon(3, 0), 0.0f);
}

TEST_F(WeaponHitProbability, OutOfRangeValuesNeverReadPastTheTables)
{
    weapons.sensor_type = 1;
    weapons.fire_range[2] = 999;
    EXPECT_EQ(Weapon(10, 0), weapons.prob_hit[2][10]);
    EXPECT_EQ(Weapon(11, 0), 0.0f);
    EXPECT_EQ(Weapon(-120, 0), 0.0f);

    for (int type : {3, -1, 99}) {
        weapons.sensor_type = type;
        EXPECT_EQ(Weapon(1, 0), 0.0f) << type;
    }
    weapons.sensor_type = 0;
    for (int w : {6, -1, 77}) {
        red.AgentWeapon[1] = w;
        EXPECT_EQ(Weapon(0, 0), 0.0f) << w;
    }
}

TEST_F(WeaponHitProbability, BlueUsesItsOwnRecordAndWeapons)
{
    blue.AgentWeapon[4] = 5;
    doc->AgentWeapons.Blue.sensor_type = 2;
    doc->AgentWeapons.Blue.fire_range[5] = 3;
    doc->AgentWeapons.Blue.prob_hit[5][3] = 0.75f;
    EXPECT_EQ(doc->GetBlueWeaponHitProb(4, 1, 1, 1, 4, 2), 0.75f);
}

}  // namespace
}  // namespace brevimar
