#include <algorithm>
#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>

#include "support/CombatRound.h"

namespace brevimar {
namespace {

using testing::DrawCopy;

class Combat : public testing::CombatRound {
protected:
    void SetUp() override { StartRound(-4711); }
    void Place(CForce& force, int i, int x, int y, int state = Alive)
    {
        force.NumAgents = std::max(force.NumAgents, i);
        force.AgentX[i] = x;
        force.AgentY[i] = y;
        force.AgentState[i] = state;
        force.AgentSquad[i] = 1;
        force.FireRange[i] = 5;
        force.MaxTargetsAlive[i] = force.MaxTargetsInjured[i] = 10;
        force.ShotProbAlive[i] = force.ShotProbInjured[i] = 1.0f;
        field.AgentGrid[GridIndex(x, y)] = CellAgent;
    }
    void Terrain(int x, int y, int type) { field.TerrainType[GridIndex(x, y)] = type; }
};

TEST_F(Combat, CombatDrawStaysInsideTheOpenUnitInterval)
{
    DrawCopy copy = Draws();
    for (int n = 0; n < 20000; ++n) {
        const double c = doc->CombatDraw();
        ASSERT_EQ(c, copy.Combat());
        ASSERT_GT(c, 0.0001);
        ASSERT_LT(c, 1.0);
    }
    EXPECT_LT((CUniformGenerator::Cap * 9999.0 + 1.0) * 0.0001, 1.0);
}

TEST_F(Combat, CertainShotsAlwaysHitAndHopelessOnesNever)
{
    Place(red, 1, 10, 10);
    Place(blue, 1, 12, 10);
    Targets(Side::Red, 1, {1});
    for (int n = 0; n < 500; ++n) {
        StartWorking();
        doc->FireRedDefault(redState, blueState, redHit, blueHit);
        ASSERT_EQ(blueState[1], Injured);
    }
    red.ShotProbAlive[1] = 0.0001f;
    for (int n = 0; n < 5000; ++n) {
        StartWorking();
        doc->FireRedUnlimited(redState, blueState, redHit, blueHit);
        ASSERT_EQ(blueState[1], Alive);
    }
}

TEST_F(Combat, BothSidesFireFromTheStateAtTheStartOfTheStep)
{
    Place(red, 1, 10, 10);
    Place(blue, 1, 11, 10, Injured);
    Place(red, 2, 30, 30, Dead);  // dead before the step: keeps its cell mark
    Targets(Side::Red, 1, {1});
    Targets(Side::Blue, 1, {1});
    doc->ResolveCombat();
    EXPECT_EQ(blue.AgentState[1], Dead);
    EXPECT_EQ(red.AgentState[1], Injured);  // shot back although killed
    EXPECT_EQ(field.AgentGrid[GridIndex(11, 10)], CellFree);
    EXPECT_EQ(field.AgentGrid[GridIndex(10, 10)], CellAgent);
    EXPECT_EQ(field.AgentGrid[GridIndex(30, 30)], CellAgent);
}

TEST_F(Combat, AFriendKilledByRedFireIsNoLongerBluesTarget)
{
    Place(red, 1, 10, 10);
    Place(red, 2, 14, 11, Injured);
    Place(blue, 1, 13, 10);
    red.ShotProbAlive[1] = 0.0f;
    field.red_frat_flag = 1;
    field.red_frat_rad = 1;
    field.red_frat_prob = 1.0f;
    Targets(Side::Red, 1, {1});
    Targets(Side::Blue, 1, {2});

    DrawCopy expected = Draws();
    expected.Combat();  // RED 1's miss
    expected.Combat();  // RED 2 struck; BLUE 1 then has nobody to shoot at
    doc->ResolveCombat();
    ExpectSameGenerator(expected);
    EXPECT_EQ(red.AgentState[2], Dead);
    EXPECT_EQ(red.AgentState[1], Alive);
    EXPECT_EQ(blue.AgentState[1], Alive);
    EXPECT_EQ(field.RedFratricideCount, 1);
    EXPECT_EQ(field.AgentGrid[GridIndex(14, 11)], CellFree);
}

TEST_F(Combat, FratricideStartsAtTheShooterAndNeverGoesBelowIt)
{
    Place(red, 1, 20, 21);  // lower index, next to the target
    Place(red, 2, 20, 22);  // the shooter, within the radius
    Place(red, 3, 21, 20);
    Place(blue, 1, 20, 20);
    red.ShotProbAlive[2] = 0.0f;
    field.red_frat_flag = 1;
    field.red_frat_rad = 2;
    field.red_frat_prob = 1.0f;
    Targets(Side::Red, 2, {1});
    StartWorking();
    doc->FireRedDefault(redState, blueState, redHit, blueHit);
    EXPECT_EQ(redState[1], Alive);
    EXPECT_EQ(redState[2], Injured);  // the shooter hits itself first
    EXPECT_EQ(redState[3], Alive);    // one friend per miss
    EXPECT_EQ(field.RedFratricideCount, 1);

    // With the shooter out of the radius the next friend up is struck.
    red.AgentY[2] = 30;
    red.FireRange[2] = 10;
    StartWorking();
    doc->FireRedDefault(redState, blueState, redHit, blueHit);
    EXPECT_EQ(redState[1], Alive);
    EXPECT_EQ(redState[2], Alive);
    EXPECT_EQ(redState[3], Injured);
    EXPECT_EQ(field.RedFratricideCount, 2);

    // Without the switch a miss is only a miss.
    field.red_frat_flag = 0;
    StartWorking();
    doc->FireRedDefault(redState, blueState, redHit, blueHit);
    EXPECT_EQ(redState[3], Alive);
}

TEST_F(Combat, HitCountingChangesAtMostOneFriendPerMiss)
{
    Place(red, 1, 10, 10);
    Place(red, 2, 12, 10);
    Place(red, 3, 12, 11);
    Place(red, 4, 12, 12);
    Place(blue, 1, 12, 9);
    red.ShotProbAlive[1] = 0.0f;
    red.defense_flag = 1;
    red.AliveStrength[2] = 3;
    red.AliveStrength[3] = 2;
    red.HitCount[3] = 1;
    red.AliveStrength[4] = 1;
    field.red_frat_flag = 1;
    field.red_frat_rad = 3;
    field.red_frat_prob = 1.0f;
    red.FireRange[1] = 2;
    Targets(Side::Red, 1, {1});

    DrawCopy expected = Draws();
    for (int n = 0; n < 4; ++n)  // the miss, then the shooter, RED 2 and RED 3
        expected.Combat();
    StartWorking();
    doc->FireRedDefault(redState, blueState, redHit, blueHit);
    ExpectSameGenerator(expected);
    EXPECT_EQ(red.HitCount[1], 1);  // only counted (strength 0)
    EXPECT_EQ(red.HitCount[2], 1);
    EXPECT_EQ(redState[2], Alive);
    EXPECT_EQ(redState[3], Injured);
    EXPECT_EQ(red.HitCount[3], 0);
    EXPECT_EQ(redHit[3], 1);
    EXPECT_EQ(redState[4], Alive);
    EXPECT_EQ(red.HitCount[4], 0);
    EXPECT_EQ(field.RedFratricideCount, 1);
}

TEST_F(Combat, HitCountingNeedsTheExactStrength)
{
    for (int i = 1; i <= 3; ++i) {
        Place(red, i, 10, 10 + i);
        Targets(Side::Red, i, {1});
    }
    Place(blue, 1, 12, 12);
    blue.defense_flag = 1;
    blue.AliveStrength[1] = 2;
    blue.InjuredStrength[1] = 1;
    StartWorking();
    doc->FireRedDefault(redState, blueState, redHit, blueHit);
    EXPECT_EQ(blueState[1], Dead);
    EXPECT_EQ(blue.HitCount[1], 0);

    // A strength of 0 is never reached: the agent cannot be degraded.
    blue.AliveStrength[1] = 0;
    StartWorking();
    doc->FireRedDefault(redState, blueState, redHit, blueHit);
    EXPECT_EQ(blueState[1], Alive);
    EXPECT_EQ(blue.HitCount[1], 3);
    EXPECT_EQ(blueHit[1], 0);
}

TEST_F(Combat, ImpassableGroundHidesOnlyFromTheUnlimitedRoutine)
{
    for (int type : {Lava, Pillar}) {
        Place(red, 1, 10, 10);
        Place(blue, 1, 12, 10);
        Terrain(12, 10, type);
        Targets(Side::Red, 1, {1});
        StartWorking();
        DrawCopy expected = Draws();
        expected.Combat();
        doc->FireRedDefault(redState, blueState, redHit, blueHit);
        EXPECT_EQ(blueState[1], Injured);
        ExpectSameGenerator(expected);

        StartWorking();
        doc->FireRedUnlimited(redState, blueState, redHit, blueHit);
        EXPECT_EQ(blueState[1], Alive);
        ExpectSameGenerator(expected);  // passed over without a draw
    }
}

TEST_F(Combat, FireSquareBoundaryAndDeadTargets)
{
    Place(red, 1, 10, 10);
    red.FireRange[1] = 3;
    Place(blue, 1, 13, 7);   // on the corner of the square
    Place(blue, 2, 14, 10);  // one beyond
    Place(blue, 3, 11, 11, Dead);
    Targets(Side::Red, 1, {1, 2, 3});
    StartWorking();
    doc->FireRedDefault(redState, blueState, redHit, blueHit);
    EXPECT_EQ(blueState[1], Injured);
    EXPECT_EQ(blueState[2], Alive);
    EXPECT_EQ(blueState[3], Dead);
    EXPECT_EQ(red.EngagedTargets[1], 1);
}

TEST_F(Combat, NoTargetLimitMeansNoFireAndNoChoiceDraws)
{
    Place(red, 1, 10, 10);
    Place(blue, 1, 11, 10);
    Place(blue, 2, 12, 10);
    Targets(Side::Red, 1, {1, 2});
    red.MaxTargetsAlive[1] = 0;
    DrawCopy expected = Draws();
    StartWorking();
    doc->FireRedDefault(redState, blueState, redHit, blueHit);
    ExpectSameGenerator(expected);
    EXPECT_EQ(blueState[1], Alive);
    EXPECT_EQ(blueState[2], Alive);

    // n <= m: both engaged in list order, one hit draw each and nothing else.
    red.MaxTargetsAlive[1] = 2;
    expected.Combat();
    expected.Combat();
    StartWorking();
    doc->FireRedDefault(redState, blueState, redHit, blueHit);
    ExpectSameGenerator(expected);
    EXPECT_EQ(blueState[1], Injured);
    EXPECT_EQ(blueState[2], Injured);

    // An injured shooter uses its injured limit.
    red.AgentState[1] = Injured;
    red.MaxTargetsInjured[1] = 0;
    StartWorking();
    doc->FireRedDefault(redState, blueState, redHit, blueHit);
    ExpectSameGenerator(expected);
}

// The limited routine: visibility draws in list order, then choice draws with
// rejection, then per target its hit draw and, on a miss, fratricide draws.
TEST_F(Combat, LimitedRoutineDrawOrder)
{
    Place(red, 1, 20, 20);
    Place(red, 2, 22, 22);
    red.ShotProbAlive[1] = 0.5f;
    red.MaxTargetsAlive[1] = 2;
    field.red_frat_flag = 1;
    field.red_frat_rad = 5;
    field.red_frat_prob = 0.3f;
    for (int j = 1; j <= 5; ++j)
        Place(blue, j, 20 + j, 19);
    Terrain(22, 19, PassableI);
    Terrain(23, 19, PassableII);
    Terrain(24, 19, PassableIII);
    doc->Modifiers(Side::Blue).TerrainVisibility[1][1] = 1.0;
    doc->Modifiers(Side::Blue).TerrainVisibility[1][2] = 0.6;
    doc->Modifiers(Side::Blue).TerrainVisibility[1][3] = 0.0;
    Targets(Side::Red, 1, {5, 2, 3, 4, 1});

    for (int seed : {-4711, -99, -123456}) {
        doc->RandomState = seed;
        doc->Generator = CUniformGenerator();
        DrawCopy e = Draws();
        std::vector<int> candidates = {5, 2};
        e.Combat();            // BLUE 2 is always seen
        if (e.Combat() < 0.6)  // BLUE 3
            candidates.push_back(3);
        e.Combat();  // BLUE 4 is never seen but still drawn for
        candidates.push_back(1);
        const int n = static_cast<int>(candidates.size());
        std::vector<int> chosen;
        std::vector<bool> taken(n, false);
        while (static_cast<int>(chosen.size()) < 2) {
            const int q = static_cast<int>(e.Plain() * n);
            if (!taken[q])
                taken[q] = true, chosen.push_back(candidates[q]);
        }
        int expectedRed[3] = {0, Alive, Alive};
        int expectedBlue[6] = {0, Alive, Alive, Alive, Alive, Alive};
        int fratricides = 0;
        for (int j : chosen) {
            if (0.5 > e.Combat()) {
                expectedBlue[j] -= 1;
                continue;
            }
            for (int m = 1; m <= 2; ++m)
                if (expectedRed[m] > 0 && 0.3f > e.Combat()) {
                    expectedRed[m] -= 1;
                    ++fratricides;
                    break;
                }
        }

        field.RedFratricideCount = 0;
        StartWorking();
        doc->FireRedDefault(redState, blueState, redHit, blueHit);
        ExpectSameGenerator(e);
        for (int m = 1; m <= 2; ++m)
            EXPECT_EQ(redState[m], expectedRed[m]) << seed << " RED " << m;
        for (int j = 1; j <= 5; ++j)
            EXPECT_EQ(blueState[j], expectedBlue[j]) << seed << " BLUE " << j;
        EXPECT_EQ(field.RedFratricideCount, fratricides);
        EXPECT_EQ(red.EngagedTargets[1], 2);
    }
}

TEST_F(Combat, UnlimitedRoutineDrawsEntryByEntry)
{
    Place(blue, 1, 20, 20);
    Place(blue, 2, 22, 22);
    blue.ShotProbAlive[1] = 0.5f;
    blue.MaxTargetsAlive[1] = 1;  // no effect without a limit
    field.BlueCombatUnlimited = 1;
    field.blue_frat_flag = 1;
    field.blue_frat_rad = 5;
    field.blue_frat_prob = 0.4f;
    for (int j = 1; j <= 4; ++j)
        Place(red, j, 20 + j, 21);
    Terrain(22, 21, PassableI);
    doc->Modifiers(Side::Red).TerrainVisibility[1][1] = 0.5;
    Targets(Side::Blue, 1, {3, 2, 1, 4});

    for (int seed : {-4711, -8, -31337}) {
        doc->RandomState = seed;
        doc->Generator = CUniformGenerator();
        DrawCopy e = Draws();
        int expectedBlue[3] = {0, Alive, Alive};
        int expectedRed[5] = {0, Alive, Alive, Alive, Alive};
        for (int j : {3, 2, 1, 4}) {
            if (j == 2 && !(e.Combat() < 0.5))
                continue;
            if (0.5 > e.Combat()) {
                expectedRed[j] -= 1;
                continue;
            }
            for (int m = 1; m <= 2; ++m)
                if (expectedBlue[m] > 0 && 0.4f > e.Combat()) {
                    expectedBlue[m] -= 1;
                    break;
                }
        }
        StartWorking();
        doc->ResolveCombat();
        ExpectSameGenerator(e);
        for (int m = 1; m <= 2; ++m)
            EXPECT_EQ(blue.AgentState[m], expectedBlue[m]) << seed;
        for (int j = 1; j <= 4; ++j)
            EXPECT_EQ(red.AgentState[j], expectedRed[j]) << seed;
        for (int j = 1; j <= 4; ++j)
            red.AgentState[j] = Alive;
        for (int m = 1; m <= 2; ++m)
            blue.AgentState[m] = Alive;
    }
}

TEST_F(Combat, ReconstitutionAtWriteBack)
{
    field.RED_recon_flag = 1;
    red.recon_time = 3;
    Place(red, 1, 10, 10, Injured);
    red.ReconstitutionTimer[1] = 2;
    red.HitCount[1] = 4;
    red.defense_flag = 1;
    red.AliveStrength[1] = red.InjuredStrength[1] = 10;
    doc->ResolveCombat();
    EXPECT_EQ(red.AgentState[1], Injured);
    EXPECT_EQ(red.ReconstitutionTimer[1], 1);
    doc->ResolveCombat();
    EXPECT_EQ(red.AgentState[1], Alive);
    EXPECT_EQ(red.ReconstitutionTimer[1], 3);
    EXPECT_EQ(red.HitCount[1], 4);  // kept across reconstitution

    // Injured this step: no countdown. A counted hit is no change of state.
    Place(blue, 1, 12, 10);
    Targets(Side::Blue, 1, {1});
    red.InjuredStrength[1] = 10;
    red.AliveStrength[1] = 5;
    doc->ResolveCombat();
    EXPECT_EQ(red.AgentState[1], Injured);
    EXPECT_EQ(red.ReconstitutionTimer[1], 3);
    doc->ResolveCombat();
    EXPECT_EQ(red.HitCount[1], 1);
    EXPECT_EQ(red.ReconstitutionTimer[1], 2);

    // BLUE follows its own switch.
    blue.AgentState[1] = Injured;
    blue.ReconstitutionTimer[1] = 1;
    Targets(Side::Blue, 1, {});
    doc->ResolveCombat();
    EXPECT_EQ(blue.AgentState[1], Injured);
    EXPECT_EQ(blue.ReconstitutionTimer[1], 1);
}

TEST_F(Combat, ZeroReconTimeRestoresEveryInjuredAgentNotHitThisStep)
{
    field.BLUE_recon_flag = 1;
    blue.recon_time = 0;
    Place(blue, 1, 10, 10, Injured);
    Place(blue, 2, 20, 20);
    Place(red, 1, 21, 20);
    Targets(Side::Red, 1, {2});
    doc->ResolveCombat();
    EXPECT_EQ(blue.AgentState[1], Alive);
    EXPECT_EQ(blue.ReconstitutionTimer[1], 0);
    EXPECT_EQ(blue.AgentState[2], Injured);
}

TEST_F(Combat, FalloffSharesFireOverTheShootersOwnTargets)
{
    // The last RED agent saw nobody; each shooter still shares over its own targets.
    red.WeaponFunction.function_type = 2;
    blue.WeaponFunction.function_type = 2;
    Place(red, 1, 10, 10);
    red.FireRange[1] = 1;
    red.MaxTargetsAlive[1] = 5;
    Place(red, 2, 40, 40);
    Place(blue, 1, 11, 10);
    blue.FireRange[1] = 1;
    Targets(Side::Red, 1, {1});
    Targets(Side::Blue, 1, {1});
    red.Scan.EnemiesSensed = 0;
    doc->ResolveCombat();
    EXPECT_EQ(blue.AgentState[1], Injured);
    EXPECT_EQ(red.AgentState[1], Injured);
    EXPECT_EQ(red.EngagedTargets[1], 1);

    // Two targets in range: half the P(k) each.
    red.AgentState[1] = Alive;
    blue.AgentState[1] = Alive;
    Place(blue, 2, 10, 11);
    Targets(Side::Red, 1, {1, 2});
    Targets(Side::Blue, 1, {});
    StartWorking();
    doc->FireRedDefault(redState, blueState, redHit, blueHit);
    EXPECT_EQ(red.EngagedTargets[1], 2);
    EXPECT_EQ(doc->RangeFalloffWeight(Side::Red, 1, 10, 10, 11, 10), 0.5f);

    // Unlimited: every entry it could engage counts, concealed or not;
    // impassable ground and entries out of range do not.
    field.RedCombatUnlimited = 1;
    Place(blue, 3, 9, 9);
    Place(blue, 4, 9, 10);
    Place(blue, 5, 13, 10);
    Terrain(9, 9, PassableI);
    Terrain(9, 10, Pillar);
    Targets(Side::Red, 1, {1, 2, 3, 4, 5});
    StartWorking();
    doc->FireRedUnlimited(redState, blueState, redHit, blueHit);
    EXPECT_EQ(red.EngagedTargets[1], 3);
}

}  // namespace
}  // namespace brevimar
