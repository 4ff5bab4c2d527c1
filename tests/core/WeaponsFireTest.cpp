#include <algorithm>
#include <initializer_list>

#include <gtest/gtest.h>

#include "support/CombatRound.h"

namespace brevimar {
namespace {

using testing::DrawCopy;

// rand() value whose scaled value lies in the middle of ((k - 1) / n, k / n].
int RandFor(int k, int n) { return static_cast<int>((k - 0.5) / n * 32767.0); }

class WeaponsFire : public testing::CombatRound {
protected:
    SideWeapons& redWeapons = doc->AgentWeapons.Red;
    SideWeapons& blueWeapons = doc->AgentWeapons.Blue;

    void SetUp() override
    {
        StartRound(-2024);
        doc->RunHeader.LatticeSize = 50;
        red.WeaponsOn = 1;
        for (SideWeapons* w : {&redWeapons, &blueWeapons}) {
            w->max_throw_range = 6;
            w->blast_range = 1;
            w->use_threshold = 1;
        }
    }
    void Place(Side side, int i, int x, int y, int state = Alive, int weapon = Grenade)
    {
        CForce& force = doc->Force(side);
        force.NumAgents = std::max(force.NumAgents, i);
        force.AgentX[i] = x;
        force.AgentY[i] = y;
        force.AgentState[i] = state;
        force.AgentSquad[i] = 2;
        force.AgentWeapon[i] = weapon;
        force.SensorRange[i] = 10;
        field.OccupancyGrid[GridIndex(x, y)] = SideCode(side);
    }
    void Aim(int x0, int y0, int R = 10) { doc->SelectLocalSite(1, x0, y0, R); }
    int LandX() { return doc->AgentWeapons.GrenadeLandingX; }
    int LandY() { return doc->AgentWeapons.GrenadeLandingY; }
    void Mark(int x, int y, int code) { field.OccupancyGrid[GridIndex(x, y)] = code; }
};

TEST_F(WeaponsFire, EqualScoresTieAndOneDrawPicksAmongThem)
{
    // One enemy: the nine cells whose blast square covers it score 1/9 each.
    Mark(25, 20, 2);
    doc.Host.Clock = 4242;
    const struct {
        int rand, x, y;
    } cases[] = {{0, 24, 19}, {16384, 25, 20}, {32767, 26, 21}, {RandFor(2, 9), 24, 20}};
    for (const auto& c : cases) {
        doc.Host.RandValues = {c.rand, 0};
        Aim(20, 20);
        EXPECT_EQ(LandX(), c.x) << c.rand;
        EXPECT_EQ(LandY(), c.y) << c.rand;
        EXPECT_TRUE(doc.Host.RandValues.empty());
    }
    EXPECT_EQ(doc.Host.SrandSeeds, std::vector<unsigned>(4, 4242u));
}

TEST_F(WeaponsFire, CellsThatAreNeverAimedAt)
{
    Mark(25, 20, 2);
    // Within throwing range but too close for the minimum range: no site, no draws.
    redWeapons.min_throw_range = 6;
    doc.Host.RandValues = {5, 5};
    Aim(20, 20);
    EXPECT_EQ(LandX(), -1);
    EXPECT_EQ(LandY(), -1);
    EXPECT_EQ(doc.Host.RandValues.size(), 2u);
    redWeapons.min_throw_range = 0;

    // Too few enemies for the threshold.
    redWeapons.use_threshold = 2;
    Aim(20, 20);
    EXPECT_EQ(LandX(), -1);
    redWeapons.use_threshold = 1;

    // A friend over the tolerance rules out every cell whose blast covers it.
    Mark(25, 21, 1);
    doc.Host.RandValues = {32767, 0};
    Aim(20, 20);
    EXPECT_EQ(LandX(), 26);
    EXPECT_EQ(LandY(), 19);
    redWeapons.fratricide_tolerance = 1;
    doc.Host.RandValues = {32767, 0};
    Aim(20, 20);
    EXPECT_EQ(LandY(), 21);

    // The blast range keeps the thrower clear of its own grenade.
    Mark(25, 20, 0);
    Mark(25, 21, 0);
    Mark(21, 20, 2);
    doc.Host.RandValues = {0, 0};
    Aim(20, 20);
    EXPECT_EQ(LandX(), 22);
    EXPECT_EQ(LandY(), 19);

    // Nothing sensed: no cell has a blast square to score.
    Aim(20, 20, -1);
    EXPECT_EQ(LandX(), -1);

    // A negative throwing range throws nowhere.
    redWeapons.max_throw_range = -1;
    Aim(20, 20);
    EXPECT_EQ(LandX(), -1);
}

TEST_F(WeaponsFire, AtMostNinetyNineTiesTakePart)
{
    // No enemy and no threshold: every admissible cell scores 0 and ties.
    redWeapons.use_threshold = 0;
    doc.Host.RandValues = {32767, 0};
    Aim(20, 20);
    // The 99th admissible cell in scan order (x, then y).
    EXPECT_EQ(LandX(), 22);
    EXPECT_EQ(LandY(), 17);
}

TEST_F(WeaponsFire, ScatterBeyondTheTableIsDistanceNine)
{
    redWeapons.blast_range = 0;  // the enemy's own cell is the only aim
    Mark(25, 25, 2);
    for (float& p : redWeapons.prob_landing)
        p = 0.0f;
    doc.Host.RandValues = {0, 0};  // 0 <= an empty sum: distance 0
    Aim(20, 25);
    EXPECT_EQ(LandX(), 25);
    EXPECT_EQ(LandY(), 25);

    doc.Host.RandValues = {1, 0};
    Aim(20, 25);
    EXPECT_EQ(LandX(), 16);  // first cell of the top row at distance 9
    EXPECT_EQ(LandY(), 34);

    redWeapons.prob_landing[0] = 0.25f;
    redWeapons.prob_landing[3] = 0.5f;
    doc.Host.RandValues = {RandFor(2, 4), 0};
    Aim(20, 25);
    EXPECT_EQ(LandX(), 22);
    EXPECT_EQ(LandY(), 28);
}

TEST_F(WeaponsFire, RingPartsInOrder)
{
    redWeapons.blast_range = 0;
    redWeapons.prob_landing[0] = 0.0f;
    redWeapons.prob_landing[1] = 1.0f;
    Mark(25, 25, 2);
    const int ring[8][2] = {{24, 26}, {25, 26}, {26, 26}, {24, 24}, {25, 24}, {26, 24}, {24, 25}, {26, 25}};
    for (int k = 1; k <= 8; ++k) {
        doc.Host.RandValues = {32767, RandFor(k, 8)};
        Aim(20, 25);
        EXPECT_EQ(LandX(), ring[k - 1][0]) << k;
        EXPECT_EQ(LandY(), ring[k - 1][1]) << k;
    }
}

TEST_F(WeaponsFire, RingNearTheEdges)
{
    redWeapons.blast_range = 0;
    redWeapons.prob_landing[0] = 0.0f;
    redWeapons.prob_landing[1] = 1.0f;

    // Right edge: the right column is skipped and the shares stay 1/8; a
    // choice past the last position on the battlefield lands on the target.
    Mark(50, 25, 2);
    doc.Host.RandValues = {32767, 32767};
    Aim(45, 25);
    EXPECT_EQ(LandX(), 50);
    EXPECT_EQ(LandY(), 25);
    doc.Host.RandValues = {32767, RandFor(3, 8)};  // the top row's third cell is off the field
    Aim(45, 25);
    EXPECT_EQ(LandX(), 49);
    EXPECT_EQ(LandY(), 24);
    Mark(50, 25, 0);

    // Top edge: the top row is skipped and each of the five remaining cells gets 1/5.
    Mark(25, 50, 2);
    doc.Host.RandValues = {32767, 32767};
    Aim(25, 45);
    EXPECT_EQ(LandX(), 26);
    EXPECT_EQ(LandY(), 50);
    doc.Host.RandValues = {32767, RandFor(2, 5)};
    Aim(25, 45);
    EXPECT_EQ(LandX(), 25);
    EXPECT_EQ(LandY(), 49);

    // The top row is admitted by the battlefield, not by a larger lattice
    // size: at the top edge each of the five cells on the field gets 1/5.
    doc->RunHeader.LatticeSize = 150;
    const int five[5][2] = {{24, 49}, {25, 49}, {26, 49}, {24, 50}, {26, 50}};
    for (int k = 1; k <= 5; ++k) {
        doc.Host.RandValues = {32767, RandFor(k, 5)};
        Aim(25, 45);
        EXPECT_EQ(LandX(), five[k - 1][0]) << k;
        EXPECT_EQ(LandY(), five[k - 1][1]) << k;
    }
}

TEST_F(WeaponsFire, GrenadesOfOneSecondShareTheirDraws)
{
    Mark(25, 20, 2);
    doc.Host.Clock = 777;
    Aim(20, 20);
    const int x = LandX(), y = LandY();
    for (int n = 0; n < 5; ++n) {
        Aim(20, 20);
        EXPECT_EQ(LandX(), x);
        EXPECT_EQ(LandY(), y);
    }
    EXPECT_EQ(doc.Host.SrandSeeds, std::vector<unsigned>(6, 777u));
}

TEST_F(WeaponsFire, GrenadeSparesLowerIndicesButNotTheThrowerOrLaterFriends)
{
    Place(Side::Red, 1, 24, 20);  // lower index, in the blast
    Place(Side::Red, 2, 20, 20);  // the thrower
    Place(Side::Red, 3, 26, 21);
    Place(Side::Red, 4, 26, 19);
    Place(Side::Blue, 1, 25, 20);
    Targets(Side::Red, 2, {1});
    redWeapons.fratricide_tolerance = 5;
    redWeapons.max_tgts[0] = 0;  // plays no part for grenades
    doc->WeaponStatsOn = 1;
    doc.Host.RandValues = {16384, 0};  // aim at the enemy's cell, no scatter

    DrawCopy expected = Draws();
    expected.Combat();  // BLUE 1
    expected.Combat();  // RED 3 falls; RED 4 is not drawn for
    StartWorking();
    doc->FireRedWeapons(redState, blueState, redHit, blueHit);
    ExpectSameGenerator(expected);
    EXPECT_EQ(LandX(), 25);
    EXPECT_EQ(LandY(), 20);
    EXPECT_EQ(blueState[1], Injured);
    EXPECT_EQ(redState[1], Alive);
    EXPECT_EQ(redState[3], Injured);
    EXPECT_EQ(redState[4], Alive);
    EXPECT_EQ(field.red_frat_flag, 0);
    EXPECT_EQ(field.RedFratricideCount, 1);
    EXPECT_EQ(doc->RedTallies.WeaponShots[0], 1.0);
    EXPECT_EQ(doc->RedTallies.WeaponHits[0], 1.0);
    EXPECT_EQ(doc->RedTallies.SquadWeaponShots[2][0], 1.0);
    EXPECT_EQ(doc->RedTallies.SquadWeaponHits[2][0], 1.0);

    // Scattered back next to the thrower: the thrower is struck first.
    Mark(20, 20, 0);
    red.AgentX[2] = 22;
    Mark(22, 20, 1);
    redWeapons.prob_landing[0] = 0.0f;
    redWeapons.prob_landing[2] = 1.0f;
    doc.Host.RandValues = {16384, 32767, RandFor(12, 16)};  // left column of the ring at 2
    StartWorking();
    doc->FireRedWeapons(redState, blueState, redHit, blueHit);
    EXPECT_EQ(LandX(), 23);
    EXPECT_EQ(LandY(), 20);
    EXPECT_EQ(blueState[1], Alive);
    EXPECT_EQ(redState[1], Alive);
    EXPECT_EQ(redState[2], Injured);
    EXPECT_EQ(redState[3], Alive);
    EXPECT_EQ(field.RedFratricideCount, 2);
    EXPECT_EQ(doc->RedTallies.WeaponShots[0], 1.0);
}

TEST_F(WeaponsFire, NoSiteMeansNoDrawsNoTallyAndNoFriendScan)
{
    Place(Side::Red, 1, 20, 20);
    Place(Side::Red, 2, 25, 21);
    Place(Side::Blue, 1, 25, 20);
    Targets(Side::Red, 1, {1});
    redWeapons.use_threshold = 2;
    doc->WeaponStatsOn = 1;
    DrawCopy expected = Draws();
    StartWorking();
    doc->FireRedWeapons(redState, blueState, redHit, blueHit);
    ExpectSameGenerator(expected);
    EXPECT_EQ(LandX(), -1);
    EXPECT_EQ(doc->RedTallies.WeaponShots[0], 0.0);
    EXPECT_EQ(blueState[1], Alive);
    EXPECT_EQ(redState[2], Alive);

    // Nobody sensed: no throw at all, not even an aim.
    Targets(Side::Red, 1, {});
    redWeapons.use_threshold = 1;
    doc->FireRedWeapons(redState, blueState, redHit, blueHit);
    EXPECT_TRUE(doc.Host.SrandSeeds.size() == 1u);
}

TEST_F(WeaponsFire, EmptyBlastIsNoShotButFriendsStillRisk)
{
    Place(Side::Red, 1, 20, 20);
    Place(Side::Red, 2, 25, 21);
    Place(Side::Blue, 1, 25, 20, Dead);  // still marks its cell
    Targets(Side::Red, 1, {1});
    redWeapons.fratricide_tolerance = 1;
    doc->WeaponStatsOn = 1;
    doc.Host.RandValues = {16384, 0};
    DrawCopy expected = Draws();
    expected.Combat();  // RED 2 only
    StartWorking();
    doc->FireRedWeapons(redState, blueState, redHit, blueHit);
    ExpectSameGenerator(expected);
    EXPECT_EQ(doc->RedTallies.WeaponShots[0], 0.0);
    EXPECT_EQ(redState[2], Injured);
}

TEST_F(WeaponsFire, EnemyKilledThisStepStaysDeadButItsHitCounts)
{
    Place(Side::Red, 1, 20, 20);
    Place(Side::Blue, 1, 25, 20);
    Targets(Side::Red, 1, {1});
    doc->WeaponStatsOn = 1;
    for (int defence : {0, 1}) {
        blue.defense_flag = defence;
        blue.HitCount[1] = 0;
        doc.Host.RandValues = {16384, 0};
        StartWorking();
        blueState[1] = Dead;
        blueHit[1] = 1;
        doc->FireRedWeapons(redState, blueState, redHit, blueHit);
        EXPECT_EQ(blueState[1], Dead);
        EXPECT_EQ(blue.HitCount[1], defence);
    }
    EXPECT_EQ(doc->RedTallies.WeaponHits[0], 2.0);
}

TEST_F(WeaponsFire, PointWeaponUsesItsOwnReachLimitAndTable)
{
    Place(Side::Red, 1, 20, 20, Alive, 3);
    Place(Side::Red, 2, 30, 30, Alive, 3);  // sees nobody
    red.FireRange[1] = 0;                   // the squad fire range plays no part
    redWeapons.max_tgts[3] = 1;
    redWeapons.fire_range[3] = 2;
    redWeapons.sensor_type = 1;
    redWeapons.prob_hit[3][1] = 1.0f;
    redWeapons.prob_hit[3][2] = 1.0f;
    Place(Side::Blue, 1, 22, 18);
    Place(Side::Blue, 2, 23, 20);  // out of reach
    Place(Side::Blue, 3, 21, 21);
    Targets(Side::Red, 1, {2, 1, 3});
    doc->WeaponStatsOn = 1;

    for (int seed : {-1, -5, -77, -1234}) {
        doc->RandomState = seed;
        DrawCopy expected = Draws();
        const int chosen = expected.Plain() < 0.5 ? 1 : 3;
        expected.Combat();
        StartWorking();
        doc->FireRedWeapons(redState, blueState, redHit, blueHit);
        ExpectSameGenerator(expected);
        EXPECT_EQ(blueState[chosen], Injured) << seed;
        EXPECT_EQ(blueState[4 - chosen], Alive) << seed;
        EXPECT_EQ(blueState[2], Alive);
    }
    EXPECT_EQ(doc->RedTallies.WeaponShots[3], 4.0);
    EXPECT_EQ(doc->RedTallies.WeaponHits[3], 4.0);
    EXPECT_EQ(doc->RedTallies.SquadWeaponShots[2][3], 4.0);
    EXPECT_EQ(doc->RedTallies.SquadWeaponHits[2][3], 4.0);

    // Tallies only while weapon statistics are on; a miss may strike a friend.
    doc->WeaponStatsOn = 0;
    redWeapons.max_tgts[3] = 2;
    redWeapons.prob_hit[3][1] = 0.0f;
    redWeapons.prob_hit[3][2] = 0.0f;
    field.red_frat_flag = 1;
    field.red_frat_rad = 2;
    field.red_frat_prob = 1.0f;
    StartWorking();
    doc->FireRedWeapons(redState, blueState, redHit, blueHit);
    EXPECT_EQ(redState[1], Dead);  // each miss strikes the shooter itself
    EXPECT_EQ(field.RedFratricideCount, 2);
    EXPECT_EQ(doc->RedTallies.WeaponShots[3], 4.0);
}

TEST_F(WeaponsFire, UnknownWeaponNumbersDoNotFire)
{
    Place(Side::Red, 1, 20, 20, Alive, 6);
    Place(Side::Red, 2, 20, 21, Alive, -1);
    Place(Side::Blue, 1, 21, 20);
    Targets(Side::Red, 1, {1});
    Targets(Side::Red, 2, {1});
    DrawCopy expected = Draws();
    StartWorking();
    doc->FireRedWeapons(redState, blueState, redHit, blueHit);
    ExpectSameGenerator(expected);
    EXPECT_EQ(blueState[1], Alive);
    EXPECT_TRUE(doc.Host.SrandSeeds.empty());
}

TEST_F(WeaponsFire, BlastListsAreInIndexOrderAndRespectSight)
{
    Place(Side::Blue, 3, 12, 10);
    Place(Side::Blue, 1, 10, 14);
    Place(Side::Blue, 2, 9, 9, Dead);
    Place(Side::Blue, 4, 20, 20);
    Place(Side::Red, 1, 11, 11);
    int list[EnemyListColumns] = {};
    ASSERT_EQ(doc->ScanRedWeaponTargets(10, 10, 4, list), 2);
    EXPECT_EQ(list[1], 1);
    EXPECT_EQ(list[2], 3);
    ASSERT_EQ(doc->ListRedInSquare(10, 10, 1, list), 1);
    EXPECT_EQ(list[1], 1);

    // A wall across the line hides BLUE 1 while sight lines are in use.
    field.TerrainMode = 1;
    for (int x = 9; x <= 11; ++x)
        field.TerrainType[GridIndex(x, 12)] = Pillar;
    EXPECT_EQ(doc->ScanRedWeaponTargets(10, 10, 4, list), 2);
    field.LineOfSightOn = 1;
    ASSERT_EQ(doc->ScanRedWeaponTargets(10, 10, 4, list), 1);
    EXPECT_EQ(list[1], 3);

    // A count beyond the arrays is never followed past them.
    blue.NumAgents = 5000;
    EXPECT_EQ(doc->ScanRedWeaponTargets(10, 10, 100, list), 2);  // BLUE 3 and 4
}

TEST_F(WeaponsFire, BlueThrowsThroughResolveCombat)
{
    red.WeaponsOn = 0;
    blue.WeaponsOn = 1;
    Place(Side::Blue, 1, 20, 20);
    Place(Side::Blue, 2, 24, 20);  // friend in the blast
    Place(Side::Red, 1, 25, 20);
    Targets(Side::Blue, 1, {1});
    blueWeapons.fratricide_tolerance = 1;
    doc->WeaponStatsOn = 1;
    doc.Host.RandValues = {16384, 0};
    doc->ResolveCombat();
    EXPECT_EQ(LandX(), 25);
    EXPECT_EQ(LandY(), 20);
    EXPECT_EQ(red.AgentState[1], Injured);
    EXPECT_EQ(blue.AgentState[2], Injured);
    EXPECT_EQ(field.BlueFratricideCount, 1);
    EXPECT_EQ(doc->BlueTallies.WeaponShots[0], 1.0);
    EXPECT_EQ(doc->RedTallies.WeaponShots[0], 0.0);
}

}  // namespace
}  // namespace brevimar
