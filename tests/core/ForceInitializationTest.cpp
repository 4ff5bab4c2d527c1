#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

constexpr int ScenarioSeed = -31415926;

void SetSquads(CForce& f, int agents, std::vector<int> sizes)
{
    f.NumAgents = agents;
    f.NumSquads = static_cast<int>(sizes.size());
    for (int k = 1; k <= f.NumSquads; ++k)
        f.num_per_squad[k] = sizes[k - 1];
}

TEST(ForceInitialization, SquadSizesAreReconciledWithTheAgentCount)
{
    struct Case {
        int agents;
        std::vector<int> sizes;
        int squads;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {12, {5, 5, 5}, 3, {5, 5, 2}},
        {10, {5, 5, 5}, 2, {5, 5}},
        {14, {5, 5}, 2, {5, 9}},
        {12, {20, 5}, 1, {12}},
    };
    for (const Case& c : cases) {
        testing::TestDocument doc;
        SetSquads(doc->RedForce, c.agents, c.sizes);
        SetSquads(doc->BlueForce, c.agents, c.sizes);
        doc->InitializeForces();
        for (Side side : {Side::Red, Side::Blue}) {
            const CForce& f = doc->Force(side);
            ASSERT_EQ(f.NumSquads, c.squads) << c.agents;
            int agent = 1;
            for (int k = 1; k <= c.squads; ++k) {
                EXPECT_EQ(f.num_per_squad[k], c.expected[k - 1]) << c.agents << " squad " << k;
                for (int j = 0; j < c.expected[k - 1]; ++j)
                    EXPECT_EQ(f.AgentSquad[agent++], k) << "agents are numbered in squad order";
            }
            EXPECT_EQ(agent, c.agents + 1);
        }
    }
}

TEST(ForceInitialization, BadCountsNeverIndexPastTheArrays)
{
    testing::TestDocument doc;
    SetSquads(doc->RedForce, 900, {400, 400});
    doc->RedForce.NumSquads = 40;
    doc->BlueForce.NumAgents = -5;
    doc->RedLocal.LocalCommandOn = 1;
    doc->RedLocal.NumLocalCommanders = 99;
    doc->RedLocal.undr_cmd[1] = 500;
    doc->Battlefield.BattleSize = 400;
    doc->InitializeForces();
    EXPECT_LE(doc->RedForce.NumSquads, 10);
    EXPECT_EQ(doc->RedForce.AgentSquad[300], 1);
    EXPECT_EQ(doc->RedLocal.SubordinateCount[1], 50);
    EXPECT_EQ(doc->LatticeExtentX, 152);
    EXPECT_EQ(doc->RunHeader.BlueAlive, 0);
}

TEST(ForceInitialization, FixedPersonalitiesAreNormalisedPerSquad)
{
    testing::TestDocument doc;
    CForce& red = doc->RedForce;
    SetSquads(red, 4, {2, 2});
    red.personality = 1;
    red.w1_a[1] = 1.0f;
    red.w2_a[1] = -2.0f;
    red.w_flock_alive[1] = 1.0f;
    red.w6_i[1] = 4.0f;
    // Squad 2 has no weights at all.
    doc->InitializeForces();

    EXPECT_EQ(red.AliveWeight[W1][1], 0.25f);
    EXPECT_EQ(red.AliveWeight[W2][2], -0.5f);
    EXPECT_EQ(red.AliveWeight[WFlock][1], 0.25f);
    EXPECT_EQ(red.InjuredWeight[W6][1], 1.0f);
    EXPECT_EQ(red.MaxAliveWeight[1], 0.5f) << "flock is not one of the six basic weights";
    EXPECT_EQ(red.MaxInjuredWeight[1], 1.0f);
    for (int i = 3; i <= 4; ++i) {
        for (int k = W1; k < WeightSlots; ++k) {
            EXPECT_EQ(red.AliveWeight[k][i], 0.0f);
            EXPECT_EQ(red.InjuredWeight[k][i], 0.0f);
        }
        EXPECT_EQ(red.MaxAliveWeight[i], 0.0f);
    }
}

struct RandomPersonalities : ::testing::Test {
    testing::TestDocument doc;
    void SetUp() override
    {
        doc->RunMode = InteractiveMode;
        doc->InitialSeed = ScenarioSeed;
        for (Side side : {Side::Red, Side::Blue}) {
            SetSquads(doc->Force(side), 20, {20});
            doc->Force(side).personality = 0;
            doc->Force(side).AliveWeight[WTerrain][5] = 0.75f;
        }
        doc->RedLocal.LocalCommandOn = 1;
        doc->RedLocal.NumLocalCommanders = 2;
        doc->RedLocal.w_terrain[1] = 3.0f;
        doc->RedLocal.w1[1] = 1.0f;
    }
};

TEST_F(RandomPersonalities, SixWeightsSumToOneWithNoOwnFlagWeight)
{
    doc->InitializeForces();
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& f = doc->Force(side);
        for (int i = 1; i <= 20; ++i) {
            float alive = 0, injured = 0;
            for (int k = W1; k <= W6; ++k) {
                if (k != W5) {
                    EXPECT_GT(f.AliveWeight[k][i], 0.0f);
                }
                alive += f.AliveWeight[k][i];
                injured += f.InjuredWeight[k][i];
            }
            EXPECT_EQ(f.AliveWeight[W5][i], 0.0f);
            EXPECT_EQ(f.InjuredWeight[W5][i], 0.0f);
            EXPECT_NEAR(alive, 1.0f, 1e-6f);
            EXPECT_NEAR(injured, 1.0f, 1e-6f);
        }
        // Not drawn: the 0 a read gives them, not what the slot held.
        EXPECT_EQ(f.AliveWeight[WTerrain][5], 0.0f) << "terrain weights are not drawn";
    }
    const CCommanderWeights& lc = doc->RedLocal.Normalised;
    for (int c = 1; c <= 2; ++c) {
        EXPECT_EQ(lc.w5[c], 0.0f);
        EXPECT_NEAR(lc.w1[c] + lc.w2[c] + lc.w3[c] + lc.w4[c] + lc.w6[c], 1.0f, 1e-6f);
    }
    // Normalised with the other six in the command step, and not drawn;
    // the scenario's own weights stay as they were.
    EXPECT_EQ(lc.w_terrain[1], 0.75f);
    EXPECT_EQ(doc->RedLocal.w_terrain[1], 3.0f);
    EXPECT_EQ(doc->RedLocal.w1[1], 1.0f);
    const CLocalCommand& local = doc->RedLocal;
    EXPECT_GT(local.w7, 0.0f);
    EXPECT_GT(local.w8, 0.0f);
}

TEST_F(RandomPersonalities, TheSameSeedDrawsTheSameWeights)
{
    doc->InitializeForces();
    std::vector<float> first(doc->BlueForce.AliveWeight[W2], doc->BlueForce.AliveWeight[W2] + AgentSlots);
    const float w7 = doc->RedLocal.w7;
    const int state = doc->RandomState;
    for (int i = 0; i < 50; ++i)
        doc->DrawUniform(&doc->RandomState);
    doc->InitializeForces();
    EXPECT_EQ(std::vector<float>(doc->BlueForce.AliveWeight[W2], doc->BlueForce.AliveWeight[W2] + AgentSlots), first);
    EXPECT_EQ(doc->RedLocal.w7, w7);
    EXPECT_EQ(doc->RandomState, state);
    // RED's 2 commanders x 5 and 20 agents x 12 draws, BLUE's 20 x 10, after the discarded one.
    int seed = ScenarioSeed;
    CUniformGenerator generator;
    for (int i = 0; i < 1 + 10 + 240 + 200; ++i)
        generator.Draw(&seed);
    EXPECT_EQ(doc->RandomState, seed);
}

// Replays the draws in their order: the discarded one, RED's commanders,
// then per RED agent five alive, five injured, w7 and w8, then BLUE (whose
// local command is off). Any other order changes every battle.
TEST(ForceInitialization, RandomPersonalitiesDrawInTheirOrder)
{
    testing::TestDocument doc;
    doc->RunMode = InteractiveMode;
    doc->InitialSeed = ScenarioSeed;
    for (Side side : {Side::Red, Side::Blue}) {
        SetSquads(doc->Force(side), 2, {2});
        doc->Force(side).personality = 0;
    }
    doc->RedLocal.LocalCommandOn = 1;
    doc->RedLocal.NumLocalCommanders = 1;
    doc->InitializeForces();

    int seed = ScenarioSeed;
    CUniformGenerator generator;
    generator.Draw(&seed);
    auto five = [&]() {
        double u[5], total = 0;
        for (double& v : u)
            total += v = generator.DrawRange(1, 10000, &seed) * 0.0001;
        return std::vector<float>{static_cast<float>(u[0] / total), static_cast<float>(u[1] / total),
                                  static_cast<float>(u[2] / total), static_cast<float>(u[3] / total), 0.0f,
                                  static_cast<float>(u[4] / total)};
    };
    auto weights = [](const float* w1, const float* w2, const float* w3, const float* w4, const float* w5,
                      const float* w6) { return std::vector<float>{*w1, *w2, *w3, *w4, *w5, *w6}; };
    const CLocalCommand& lc = doc->RedLocal;
    const CCommanderWeights& n = lc.Normalised;
    EXPECT_EQ(weights(&n.w1[1], &n.w2[1], &n.w3[1], &n.w4[1], &n.w5[1], &n.w6[1]), five());
    float w7 = 0, w8 = 0;
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& f = doc->Force(side);
        for (int i = 1; i <= 2; ++i) {
            const auto column = [&](const float (*w)[AgentSlots]) {
                return weights(&w[W1][i], &w[W2][i], &w[W3][i], &w[W4][i], &w[W5][i], &w[W6][i]);
            };
            EXPECT_EQ(column(f.AliveWeight), five()) << i;
            EXPECT_EQ(column(f.InjuredWeight), five()) << i;
            if (side == Side::Red) {
                w7 = static_cast<float>(generator.DrawRange(1, 10000, &seed) * 0.0001);
                w8 = static_cast<float>(generator.DrawRange(1, 10000, &seed) * 0.0001);
            }
        }
    }
    EXPECT_EQ(lc.w7, w7);
    EXPECT_EQ(lc.w8, w8);
    EXPECT_EQ(doc->RandomState, seed);
}

// Set-up derives every working value from the scenario's: a run on passable
// terrain between two set-ups, or the set-up itself, changes nothing that
// the next one starts from.
TEST_F(RandomPersonalities, TwoSetUpsLeaveTheSameValues)
{
    CForce& red = doc->RedForce;
    red.CommOn = 1;
    red.COMM_range = 10;
    red.A_COMM_weight = 0.5f;
    doc->RedLocal.w_terrain[1] = 0.25f;
    doc->RedLocal.w1[1] = 0.3f;
    doc->RedLocal.w6[1] = 0.7f;
    doc->InitializeForces();
    const CCommanderWeights first = doc->RedLocal.Normalised;
    // 0.25 / (0.3 + 0.7 + 0.25): drawn in the random branch, but not the terrain weight.
    EXPECT_EQ(first.w_terrain[1], 0.25f / 1.25f);

    red.AgentX[1] = red.AgentY[1] = 5;
    red.AgentSquad[1] = 1;
    doc->Battlefield.TerrainType[GridIndex(5, 5)] = PassableI;
    doc->ApplyRedTerrainModifiers(1);  // default modifiers: range - 5, weight x 1
    EXPECT_EQ(red.CommRange, 5);
    EXPECT_EQ(red.COMM_range, 10);

    doc->InitializeForces();
    EXPECT_EQ(red.CommRange, 10);
    EXPECT_EQ(red.CommWeightAlive, 0.5f);
    EXPECT_EQ(doc->RedLocal.w_terrain[1], 0.25f);
    EXPECT_EQ(std::memcmp(&doc->RedLocal.Normalised, &first, sizeof first), 0);
}

TEST(ForceInitialization, CornerDeploymentMovesTheBoxCentres)
{
    testing::TestDocument doc;
    CBattlefield& f = doc->Battlefield;
    f.BattleSize = 150;
    f.init_dist = 2;
    for (int k = 1; k <= 10; ++k) {
        f.R_box_l[k] = f.B_box_l[k] = 21;
        f.R_box_w[k] = f.B_box_w[k] = 20;
    }
    doc->InitializeForces();
    EXPECT_EQ(f.RED_cen_x[1], 10);
    EXPECT_EQ(f.RED_cen_y[1], 10);
    EXPECT_EQ(f.BLUE_cen_x[10], 139);
    EXPECT_EQ(f.BLUE_cen_y[10], 140);
}

TEST(ForceInitialization, LocalCommandSetUp)
{
    testing::TestDocument doc;
    doc->BlueLocal.NumLocalCommanders = 4;
    doc->BlueLocal.patch_type = 2;
    doc->BlueLocal.patch_flag = 0;
    doc->RedForce.personality = 1;  // random personalities would redraw the weights
    CLocalCommand& red = doc->RedLocal;
    red.LocalCommandOn = 1;
    red.NumLocalCommanders = 2;
    red.patch_type = 1;
    red.cmnd_rad[1] = 2;
    red.undr_cmd[1] = 6;
    red.w1[1] = 2.0f;
    red.w4[1] = -1.0f;
    red.w_terrain[1] = 1.0f;
    red.cmnd_rad[2] = 3;
    doc->InitializeForces();

    EXPECT_EQ(doc->BlueLocal.NumLocalCommanders, 0);
    EXPECT_EQ(doc->BlueLocal.patch_type, 1);
    EXPECT_EQ(doc->BlueLocal.patch_flag, 1);
    EXPECT_EQ(red.SubordinateCount[1], 6);
    EXPECT_EQ(red.CommandPatchSize[1], 7);
    EXPECT_EQ(red.CommandPatchSize[2], 10);
    EXPECT_EQ(red.Normalised.w1[1], 0.5f);
    EXPECT_EQ(red.Normalised.w4[1], -0.25f);
    EXPECT_EQ(red.Normalised.w_terrain[1], 0.25f);
    EXPECT_EQ(red.Normalised.w1[2], 0.0f) << "a zero sum is taken as 1";
    EXPECT_EQ(red.w1[1], 2.0f) << "the scenario's weights are kept";

    red.patch_type = 2;
    doc->InitializeForces();
    EXPECT_EQ(red.CommandPatchSize[1], 12);
}

TEST(ForceInitialization, EveryAgentCopiesItsSquadsParameters)
{
    testing::TestDocument doc;
    CForce& f = doc->BlueForce;
    SetSquads(f, 3, {1, 2});
    const int s = 2, i = 3;
    f.alive_strength[s] = 1;
    f.injured_strength[s] = 2;
    f.A_S_RANGE[s] = 3;
    f.I_S_RANGE[s] = 4;
    f.A_F_RANGE[s] = 5;
    f.I_F_RANGE[s] = 6;
    f.A_M_RANGE[s] = 7;
    f.I_M_RANGE[s] = 8;
    f.shot_prob_alive[s] = 0.9f;
    f.shot_prob_injured[s] = 0.8f;
    f.A_R_max_eng_num[s] = 9;
    f.I_R_max_eng_num[s] = 10;
    f.A_R_R_min_dist[s] = 1.5f;
    f.I_R_R_min_dist[s] = 2.5f;
    f.A_R_B_min_dist[s] = 3.5f;
    f.I_R_B_min_dist[s] = 4.5f;
    f.A_R_R_goal_min[s] = 5.5f;
    f.I_R_R_goal_min[s] = 6.5f;
    f.A_R_terrain_min[s] = 7.5f;
    f.I_R_terrain_min[s] = 8.5f;
    f.A_R_area_min[s] = 9.5f;
    f.I_R_area_min[s] = 10.5f;
    f.A_R_flock_min[s] = 11.5f;
    f.I_R_flock_min[s] = 12.5f;
    f.A_R_flock_max[s] = 13.5f;
    f.I_R_flock_max[s] = 14.5f;
    f.A_C_RANGE[s] = 11;
    f.I_C_RANGE[s] = 12;
    f.A_ADVANCE_num[s] = 13;
    f.I_ADVANCE_num[s] = 14;
    f.A_CLUSTER_num[s] = 15;
    f.I_CLUSTER_num[s] = 16;
    f.A_COMBAT_num[s] = 17;
    f.I_COMBAT_num[s] = 18;
    f.A_HOLD_f[s] = 0.125;
    f.I_HOLD_f[s] = 0.375;
    f.A_PURSUIT1_num[s] = 19;
    f.I_PURSUIT1_num[s] = 20;
    f.A_PURSUIT2_num[s] = 21;
    f.I_PURSUIT2_num[s] = 22;
    f.A_RETREAT_num[s] = 23;
    f.I_RETREAT_num[s] = 24;
    f.A_SUPPORT1_num[s] = 25;
    f.I_SUPPORT1_num[s] = 26;
    f.A_SUPPORT2_num[s] = 27;
    f.I_SUPPORT2_num[s] = 28;
    f.movement_flag[s] = 1;
    doc->InitializeForces();

    ASSERT_EQ(f.AgentSquad[i], s);
    EXPECT_EQ(f.AliveStrength[i], 1);
    EXPECT_EQ(f.InjuredStrength[i], 2);
    EXPECT_EQ(f.SensorRangeAlive[i], 3);
    EXPECT_EQ(f.SensorRangeInjured[i], 4);
    EXPECT_EQ(f.FireRangeAlive[i], 5);
    EXPECT_EQ(f.FireRangeInjured[i], 6);
    EXPECT_EQ(f.MoveRangeAlive[i], 7);
    EXPECT_EQ(f.MoveRangeInjured[i], 8);
    EXPECT_EQ(f.ShotProbAlive[i], 0.9f);
    EXPECT_EQ(f.ShotProbInjured[i], 0.8f);
    EXPECT_EQ(f.MaxTargetsAlive[i], 9);
    EXPECT_EQ(f.MaxTargetsInjured[i], 10);
    EXPECT_EQ(f.FriendMinDistAlive[i], 1.5f);
    EXPECT_EQ(f.FriendMinDistInjured[i], 2.5f);
    EXPECT_EQ(f.EnemyMinDistAlive[i], 3.5f);
    EXPECT_EQ(f.EnemyMinDistInjured[i], 4.5f);
    EXPECT_EQ(f.GoalMinDistAlive[i], 5.5f);
    EXPECT_EQ(f.GoalMinDistInjured[i], 6.5f);
    EXPECT_EQ(f.TerrainMinDistAlive[i], 7.5f);
    EXPECT_EQ(f.TerrainMinDistInjured[i], 8.5f);
    EXPECT_EQ(f.AreaMinDistAlive[i], 9.5f);
    EXPECT_EQ(f.AreaMinDistInjured[i], 10.5f);
    EXPECT_EQ(f.FlockMinAlive[i], 11.5f);
    EXPECT_EQ(f.FlockMinInjured[i], 12.5f);
    EXPECT_EQ(f.FlockMaxAlive[i], 13.5f);
    EXPECT_EQ(f.FlockMaxInjured[i], 14.5f);
    EXPECT_EQ(f.ConstraintRangeAlive[i], 11);
    EXPECT_EQ(f.ConstraintRangeInjured[i], 12);
    EXPECT_EQ(f.AdvanceNumAlive[i], 13);
    EXPECT_EQ(f.AdvanceNumInjured[i], 14);
    EXPECT_EQ(f.ClusterNumAlive[i], 15);
    EXPECT_EQ(f.ClusterNumInjured[i], 16);
    EXPECT_EQ(f.CombatNumAlive[i], 17);
    EXPECT_EQ(f.CombatNumInjured[i], 18);
    EXPECT_EQ(f.HoldFractionAlive[i], 0.125);
    EXPECT_EQ(f.HoldFractionInjured[i], 0.375);
    EXPECT_EQ(f.Pursuit1NumAlive[i], 19);
    EXPECT_EQ(f.Pursuit1NumInjured[i], 20);
    EXPECT_EQ(f.Pursuit2NumAlive[i], 21);
    EXPECT_EQ(f.Pursuit2NumInjured[i], 22);
    EXPECT_EQ(f.RetreatNumAlive[i], 23);
    EXPECT_EQ(f.RetreatNumInjured[i], 24);
    EXPECT_EQ(f.Support1NumAlive[i], 25);
    EXPECT_EQ(f.Support1NumInjured[i], 26);
    EXPECT_EQ(f.Support2NumAlive[i], 27);
    EXPECT_EQ(f.Support2NumInjured[i], 28);
    EXPECT_EQ(f.MovementFlag[i], 1);
    // Current values start from the alive copies; the weapon base copies follow them.
    EXPECT_EQ(f.SensorRange[i], 3);
    EXPECT_EQ(f.FireRange[i], 5);
    EXPECT_EQ(f.ConstraintRange[i], 11);
    EXPECT_EQ(doc->TerrainModifiers.BlueBase.BaseFireRangeInjured[i], 6);
    EXPECT_EQ(f.SensorRangeAlive[1], 0) << "agent 1 is in squad 1";
}

TEST(ForceInitialization, RunCountersAndSwitchesAreReset)
{
    testing::TestDocument doc;
    doc->RunMode = InteractiveMode;
    doc->RunCaptureOn = 1;
    doc->Battlefield.BattleSize = 80;
    doc->Battlefield.MoveOrder = 2;
    doc->Battlefield.RedFratricideCount = 4;
    doc->Battlefield.WaypointPathsOn = 1;
    doc->Battlefield.PathStartDistance = 9;
    doc->RunHeader.LastStep = 40;
    doc->HighlightRedSquadOn = 1;
    doc->HighlightBlueSquadNumber = 4;
    doc->BlueCommandLinks = 1;
    doc->StepsPerBurst = 10;
    doc->RedForce.MoveGateByTime = 1;
    doc->BlueForce.MovePeriodInjured[10] = 5;
    SetSquads(doc->RedForce, 7, {7});
    SetSquads(doc->BlueForce, 9, {9});
    doc->InitializeForces();

    EXPECT_EQ(doc->RunCaptureOn, 0);
    EXPECT_EQ(doc->Battlefield.RedFratricideCount, 0);
    EXPECT_EQ(doc->Battlefield.WaypointPathsOn, 0);
    EXPECT_EQ(doc->Battlefield.PathStartDistance, 3);
    EXPECT_EQ(doc->RunHeader.LastStep, 501);
    EXPECT_EQ(doc->LatticeExtentX, 82);
    EXPECT_EQ(doc->LatticeExtentY, 82);
    EXPECT_EQ(doc->RunHeader.RedAlive, 7);
    EXPECT_EQ(doc->RunHeader.BlueAlive, 9);
    EXPECT_EQ(doc->RunHeader.FixedMoveOrderSelected, 0);
    EXPECT_EQ(doc->RunHeader.RandomMoveOrderSelected, 1);
    EXPECT_EQ(doc->HighlightRedSquadOn, 0);
    EXPECT_EQ(doc->HighlightBlueSquadNumber, 1);
    EXPECT_EQ(doc->ShowOtherRedAgents, 1);
    EXPECT_EQ(doc->BlueCommandLinks, 0);
    EXPECT_EQ(doc->StepsPerBurst, 1);
    EXPECT_EQ(doc->LoadInputFile, 1);
    EXPECT_EQ(doc->Experiment.LandscapeWinThreshold, 0.5);
    EXPECT_EQ(doc->RedForce.MoveGateByTime, 0);
    EXPECT_EQ(doc->BlueForce.MovePeriodInjured[10], 1);
    EXPECT_EQ(doc->RedForce.MoveProbAlive[1], 1.0f);

    // Outside the interactive mode the movement gate is the scenario's.
    doc->RunMode = MultipleTimeSeriesMode;
    doc->RedForce.MoveGateByTime = 1;
    doc->InitializeForces();
    EXPECT_EQ(doc->RedForce.MoveGateByTime, 1);
}

TEST(ForceInitialization, WeaponLogsAndTalliesAreClearedOnlyWithWeaponStatistics)
{
    testing::TestDocument doc;
    doc->RedTallies.SquadWeaponHits[10][5] = 3;
    doc->RedShotsLog[SeriesIndex(2, 40)] = 6;
    doc->Weapons(Side::Blue).blast_range = 9;
    doc->InitializeForces();
    EXPECT_EQ(doc->RedTallies.SquadWeaponHits[10][5], 3) << "weapon statistics are off";

    doc->Statistics.DataCollectionOn = 1;
    doc->WeaponStatsOn = 1;
    doc->BlueForce.WeaponsOn = 1;
    doc->RedShotsLog[SeriesIndex(2, 40)] = 6;
    doc->InitializeForces();
    EXPECT_EQ(doc->RedTallies.SquadWeaponHits[10][5], 0);
    EXPECT_EQ(doc->RedShotsLog[SeriesIndex(2, 40)], 0.0);
    EXPECT_EQ(doc->Weapons(Side::Blue).blast_range, 9) << "the agent-specific weapons are not part of the logs";
}

TEST(ForceInitialization, AgentFileFormKeepsSquadsAndFollowsStates)
{
    testing::TestDocument doc;
    doc->RunMode = InteractiveMode;
    doc->InitialSeed = ScenarioSeed;
    doc->RandomState = 12345;
    CForce& red = doc->RedForce;
    SetSquads(red, 3, {1, 1});
    red.personality = 1;
    red.AgentSquad[1] = 2;
    red.AgentSquad[2] = 1;
    red.AgentSquad[3] = 2;
    red.AgentState[1] = Alive;
    red.AgentState[2] = Injured;
    red.AgentState[3] = Alive;
    red.A_S_RANGE[1] = 5;
    red.I_S_RANGE[1] = 2;
    red.A_S_RANGE[2] = 8;
    red.w2_a[2] = 4.0f;
    red.w2_a[1] = 1.0f;
    red.w3_a[1] = 1.0f;
    doc->BlueForce.personality = 1;
    doc->RunHeader.LastStep = 77;
    doc->InitializeForcesFromAgentFile();

    EXPECT_EQ(doc->RandomState, 12345) << "no reseeding and no draws with fixed personalities";
    EXPECT_EQ(red.AgentSquad[1], 2);
    EXPECT_EQ(red.num_per_squad[2], 2) << "the last squad absorbs the difference";
    EXPECT_EQ(red.SensorRange[1], 8);
    EXPECT_EQ(red.SensorRange[2], 2) << "an injured agent starts from the injured copies";
    EXPECT_EQ(red.DistanceNormaliser[2], static_cast<float>(2 * 1.4142135));
    EXPECT_EQ(red.AliveWeight[W2][1], 1.0f);
    EXPECT_EQ(red.AliveWeight[W2][2], 0.5f);
    EXPECT_EQ(doc->RunHeader.LastStep, 77) << "the run length is left alone";
}

// 5 x 1.4142135 is rounded to single precision once: 7.07106733f, where a
// product of floats gives 7.07106781f.
TEST(ForceInitialization, DistanceNormaliserRoundsTheProductOnce)
{
    testing::TestDocument doc;
    CForce& red = doc->RedForce;
    SetSquads(red, 2, {2});
    red.personality = 1;
    red.AgentSquad[1] = red.AgentSquad[2] = 1;
    red.AgentState[1] = Alive;
    red.AgentState[2] = Injured;
    red.A_S_RANGE[1] = 5;
    red.I_S_RANGE[1] = 7;
    doc->InitializeForcesFromAgentFile();
    EXPECT_EQ(red.DistanceNormaliser[1], 7.07106733f);
    EXPECT_EQ(red.DistanceNormaliser[2], static_cast<float>(7 * 1.4142135));
    EXPECT_NE(red.DistanceNormaliser[2], 7.0f * 1.4142135f);

    red.NumAgents = 3;
    doc->EditRedSquad = 1;
    doc->InitializeAddedAgent(1);
    EXPECT_EQ(red.DistanceNormaliser[3], 7.07106733f);
}

TEST(ForceInitialization, AddedAgentTakesItsSquadsValues)
{
    testing::TestDocument doc;
    CForce& blue = doc->BlueForce;
    blue.NumAgents = 5;
    doc->EditBlueSquad = 3;
    blue.personality = 0;  // ignored for an added agent
    blue.A_S_RANGE[3] = 6;
    blue.A_F_RANGE[3] = 3;
    blue.A_C_RANGE[3] = 2;
    blue.A_ADVANCE_num[3] = 4;
    blue.A_HOLD_f[3] = 0.5;
    blue.I_SUPPORT2_num[3] = 7;
    blue.w1_a[3] = 3.0f;
    blue.w_area_alive[3] = 1.0f;
    blue.HoldFractionAlive[5] = 0.25;
    blue.Support2NumInjured[5] = 2;
    blue.MaxAliveWeight[5] = 9.0f;
    const int state = doc->RandomState;
    doc->InitializeAddedAgent(2);

    EXPECT_EQ(blue.SensorRangeAlive[5], 6);
    EXPECT_EQ(blue.AdvanceNumAlive[5], 4);
    EXPECT_EQ(blue.HoldFractionAlive[5], 0.25) << "the hold fraction is kept";
    EXPECT_EQ(blue.Support2NumInjured[5], 2);
    EXPECT_EQ(blue.AliveWeight[W1][5], 0.75f);
    EXPECT_EQ(blue.AliveWeight[WArea][5], 0.25f);
    EXPECT_EQ(blue.MaxAliveWeight[5], 9.0f);
    EXPECT_EQ(blue.SensorRange[5], 6);
    EXPECT_EQ(blue.FireRange[5], 3);
    EXPECT_EQ(blue.ConstraintRange[5], 2);
    EXPECT_EQ(blue.DistanceNormaliser[5], static_cast<float>(6 * 1.4142135));
    EXPECT_EQ(doc->RandomState, state);

    doc->RedForce.A_S_RANGE[1] = 4;
    doc->RedForce.NumAgents = 2;
    doc->InitializeAddedAgent(3);
    doc->InitializeAddedAgent(0);
    EXPECT_EQ(doc->RedForce.SensorRange[2], 0) << "only sides 1 and 2 exist";
}

}  // namespace
}  // namespace brevimar
