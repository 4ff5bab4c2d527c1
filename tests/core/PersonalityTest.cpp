#include <gtest/gtest.h>

#include <array>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

using Eff = std::array<float, 6>;

// Makes the next draw return output / (2^31 - 1).
void InjectNextDraw(CBrevimarDoc& doc, int output)
{
    doc.RandomState = 12345;
    doc.Generator.ShuffleOutput = 1;  // picks table entry 0
    doc.Generator.ShuffleTable[0] = output;
}
constexpr int HalfOutput = 1073741824;   // just above 0.5, exactly 0.5 in single precision
constexpr int LowOutput = 1073741823;    // just below 0.5
constexpr int HighOutput = 1503238553;   // 0.7

constexpr Eff AliveBasic = {0.5f, -0.4f, 0.3f, -0.2f, 0.1f, 0.6f};
constexpr Eff InjuredBasic = {-0.15f, 0.25f, -0.35f, 0.45f, -0.55f, 0.65f};

class Personality : public ::testing::TestWithParam<Side> {
protected:
    testing::TestDocument doc;
    Side own = GetParam();
    CForce& f = doc->Force(own);
    static constexpr int i = 1;
    static constexpr int squad = 2;  // the rule switches are read from the agent's squad

    void SetUp() override
    {
        f.NumAgents = 1;
        f.AgentState[i] = Alive;
        f.AgentSquad[i] = squad;
        f.AgentX[i] = 10;
        f.AgentY[i] = 10;
        f.MovementFlag[i] = 1;
        for (int k = 0; k < 6; ++k) {
            f.AliveWeight[W1 + k][i] = AliveBasic[k];
            f.InjuredWeight[W1 + k][i] = InjuredBasic[k];
        }
        f.AliveWeight[WTerrain][i] = 0.7f;
        f.AliveWeight[WArea][i] = 0.8f;
        f.AliveWeight[WFlock][i] = 0.9f;
        f.InjuredWeight[WTerrain][i] = -0.1f;
        f.InjuredWeight[WArea][i] = -0.2f;
        f.InjuredWeight[WFlock][i] = -0.3f;
        f.A_COMM_weight = 0.11f;
        f.I_COMM_weight = 0.22f;
        doc->RandomState = -7;
        Counts(100, 0, 0);
    }
    void Counts(int friends, int enemies, int injuredFriends)
    {
        f.Scan.FriendsInThreshold = friends;
        f.Scan.EnemiesSensed = enemies;
        f.Scan.InjuredFriendsSensed = injuredFriends;
    }
    int Compute() { return own == Side::Red ? doc->ComputeRedPersonality(i) : doc->ComputeBluePersonality(i); }
    void Commander() { own == Side::Red ? doc->SetRedCommanderPersonality(i) : doc->SetBlueCommanderPersonality(i); }
    void GlobalOrders() { own == Side::Red ? doc->ApplyRedGlobalOrders(i) : doc->ApplyBlueGlobalOrders(i); }
    Eff Weights() const
    {
        return {f.EffW1[i], f.EffW2[i], f.EffW3[i], f.EffW4[i], f.EffW5[i], f.EffW6[i]};
    }
    void Own(int x, int y, int code) { doc->TerritoryOwner[LatticeStride * x + y] = code; }
};

INSTANTIATE_TEST_SUITE_P(BothSides, Personality, ::testing::Values(Side::Red, Side::Blue),
                         [](const auto& info) { return info.param == Side::Red ? "Red" : "Blue"; });

TEST_P(Personality, WithoutMovementConstraintsTheBasicWeightsStand)
{
    for (auto* flag : {f.ADVANCE_flag, f.CLUSTER_flag, f.COMBAT_flag, f.HOLD_flag, f.PURSUIT1_flag, f.PURSUIT2_flag,
                       f.RETREAT_flag, f.SUPPORT1_flag, f.SUPPORT2_flag})
        flag[squad] = 1;
    f.HoldFractionAlive[i] = 0.1;
    f.RetreatNumAlive[i] = 1000;
    Own(10, 10, SideCode(own));
    f.MovementFlag[i] = 0;
    Counts(301, 3, 1);
    const int start = doc->RandomState;
    EXPECT_EQ(Compute(), 0);
    EXPECT_EQ(Weights(), AliveBasic);
    EXPECT_EQ(f.EffWTerrain[i], 0.7f);
    EXPECT_EQ(f.EffWArea[i], 0.8f);
    EXPECT_EQ(f.FlockWeight[i], 0.9f);
    EXPECT_EQ(f.CommWeightAlive, 0.11f);
    EXPECT_EQ(f.CommWeightInjured, 0.22f);
    EXPECT_EQ(doc->RandomState, start);

    f.AgentState[i] = Injured;
    EXPECT_EQ(Compute(), 0);
    EXPECT_EQ(Weights(), InjuredBasic);
    EXPECT_EQ(f.FlockWeight[i], -0.3f);
}

TEST_P(Personality, LocalCommandWeightsAreCopiedForTheStep)
{
    CLocalCommand& local = doc->Local(own);
    local.w7 = 0.4f;
    local.w8 = 0.6f;
    f.MovementFlag[i] = 0;
    Compute();
    EXPECT_EQ(local.LocalCommanderWeight, 0.0f);
    local.LocalCommandOn = 1;
    Compute();
    EXPECT_EQ(local.LocalCommanderWeight, 0.4f);
    EXPECT_EQ(local.LocalGoalWeight, 0.6f);
}

TEST_P(Personality, ThresholdTest)
{
    // PURSUIT-I clears the enemy weights when its threshold test passes.
    f.PURSUIT1_flag[squad] = 1;
    struct Case {
        int threshold, enemies;
        bool fires;
    };
    const Case cases[] = {{-2, 1, true}, {-2, 2, true}, {-2, 3, false}, {-2, 0, false}, {0, 1, true},
                          {0, 7, true},  {0, 0, false}, {3, 2, false},  {3, 3, true}};
    for (const Case& c : cases) {
        f.Pursuit1NumAlive[i] = c.threshold;
        Counts(100, c.enemies, 0);
        Compute();
        EXPECT_EQ(f.EffW2[i] == 0.0f, c.fires) << "threshold " << c.threshold << ", " << c.enemies << " enemies";
    }
}

TEST_P(Personality, AdvanceOnlyWithoutEnemiesAndItBlocksHold)
{
    f.ADVANCE_flag[squad] = 1;
    f.HOLD_flag[squad] = 1;
    f.HoldFractionAlive[i] = 0.01;
    f.AdvanceNumAlive[i] = 3;
    Own(10, 10, SideCode(own));
    Counts(2, 0, 0);
    EXPECT_EQ(Compute(), 0);
    EXPECT_EQ(f.EffW6[i], 0.0f);
    Counts(3, 0, 0);
    EXPECT_EQ(Compute(), 1);
    EXPECT_EQ(f.EffW6[i], 0.6f);
    Counts(2, 1, 0);
    EXPECT_EQ(Compute(), 1);
    EXPECT_EQ(f.EffW6[i], 0.6f);
}

TEST_P(Personality, RetreatClusterAndTheirOrder)
{
    f.RETREAT_flag[squad] = 1;
    f.RetreatNumAlive[i] = 3;
    Counts(2, 0, 0);
    Compute();
    EXPECT_EQ(Weights(), (Eff{0.0f, -0.33f, 0.0f, -0.33f, 0.34f, 0.0f}));

    // CLUSTER comes after RETREAT and restores the friend weights while friends are few.
    f.CLUSTER_flag[squad] = 1;
    f.ClusterNumAlive[i] = 5;
    Compute();
    EXPECT_EQ(Weights(), (Eff{0.5f, -0.33f, 0.3f, -0.33f, 0.34f, 0.0f}));
    f.ClusterNumAlive[i] = 2;
    Compute();
    EXPECT_EQ(Weights(), (Eff{0.0f, -0.33f, 0.0f, -0.33f, 0.34f, 0.0f}));

    // A support outcome keeps RETREAT's own-flag weight.
    f.ClusterNumAlive[i] = 5;
    f.SUPPORT2_flag[squad] = 1;
    f.Support2NumAlive[i] = 1;
    Counts(2, 1, 0);
    Compute();
    EXPECT_EQ(Weights(), (Eff{0.5f, 0.0f, 0.0f, 0.0f, 0.34f, 0.0f}));
}

TEST_P(Personality, CombatSkipsPursuitButNotSupport)
{
    f.COMBAT_flag[squad] = 1;
    f.CombatNumAlive[i] = 1;
    f.PURSUIT1_flag[squad] = 1;
    f.Pursuit1NumAlive[i] = 1;
    Counts(3, 2, 0);  // F - E = 1: fires at equality
    Compute();
    EXPECT_EQ(Weights(), (Eff{0.5f, -0.4f, 0.3f, -0.2f, 0.1f, 0.6f}));
    f.AliveWeight[W2][i] = 0.4f;
    f.AliveWeight[W4][i] = 0.2f;
    Compute();
    EXPECT_EQ(f.EffW2[i], -0.4f);
    EXPECT_EQ(f.EffW4[i], -0.2f);

    Counts(4, 2, 0);  // F - E = 2: no COMBAT, so PURSUIT-I acts
    Compute();
    EXPECT_EQ(f.EffW2[i], 0.0f);
    EXPECT_EQ(f.EffW4[i], 0.0f);

    f.SUPPORT2_flag[squad] = 1;
    f.Support2NumAlive[i] = 2;
    Counts(3, 2, 0);
    Compute();
    EXPECT_EQ(Weights(), (Eff{0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f}));
}

TEST_P(Personality, PursuitTwoAlonePursues)
{
    f.PURSUIT2_flag[squad] = 1;
    f.Pursuit2NumAlive[i] = 1;
    Counts(100, 1, 0);
    Compute();
    EXPECT_EQ(Weights(), (Eff{0.0f, 0.4f, 0.0f, 0.2f, 0.0f, 0.0f}));
}

TEST_P(Personality, PursuitTieTable)
{
    f.PURSUIT1_flag[squad] = 1;
    f.PURSUIT2_flag[squad] = 1;
    const Eff first = {0.5f, 0.0f, 0.3f, 0.0f, 0.1f, 0.6f};
    const Eff second = {0.0f, 0.4f, 0.0f, 0.2f, 0.0f, 0.0f};
    struct Case {
        int t1, t2, combat, enemies;
        int draw;  // 0: no draw, else the injected draw
        bool secondWins;
    };
    const Case cases[] = {
        {2, 5, 0, 5, 0, true},           {5, 2, 0, 5, 0, false},          {-2, -3, 0, 1, 0, false},
        {-3, -2, 0, 1, 0, true},         {2, -3, 1, 2, 0, false},         {2, -3, -1, 2, 0, true},
        {3, 3, 0, 3, LowOutput, false},  {3, 3, 0, 3, HighOutput, true},  {-1, -1, 5, 1, HighOutput, true},
        {2, -3, 0, 2, LowOutput, false}, {2, -3, 0, 2, HighOutput, true},
        // The plain draw is compared with 0.5: one just above it decides
        // although it rounds to 0.5 in single precision.
        {3, 3, 0, 3, HalfOutput, true},  {2, -3, 0, 2, HalfOutput, true},
    };
    for (const Case& c : cases) {
        f.Pursuit1NumAlive[i] = c.t1;
        f.Pursuit2NumAlive[i] = c.t2;
        f.CombatNumAlive[i] = c.combat;
        Counts(100, c.enemies, 0);
        if (c.draw != 0)
            InjectNextDraw(*doc, c.draw);
        const int start = doc->RandomState;
        Compute();
        EXPECT_EQ(Weights(), c.secondWins ? second : first) << c.t1 << " vs " << c.t2 << ", C " << c.combat;
        EXPECT_EQ(doc->RandomState != start, c.draw != 0) << c.t1 << " vs " << c.t2;
    }
}

TEST_P(Personality, PursuitAgainstSupport)
{
    f.PURSUIT2_flag[squad] = 1;
    f.Pursuit2NumAlive[i] = 1;
    f.SUPPORT1_flag[squad] = 1;
    f.Support1NumAlive[i] = 1;
    Counts(100, 1, 1);
    const Eff pursue = {0.0f, 0.4f, 0.0f, 0.2f, 0.0f, 0.0f};
    const Eff supportOne = {0.0f, 0.0f, 0.3f, 0.0f, 0.0f, 0.0f};

    f.CombatNumAlive[i] = 1;
    Compute();
    EXPECT_EQ(Weights(), supportOne);
    f.CombatNumAlive[i] = -1;
    Compute();
    EXPECT_EQ(Weights(), pursue);
    f.CombatNumAlive[i] = 0;
    InjectNextDraw(*doc, LowOutput);
    Compute();
    EXPECT_EQ(Weights(), pursue);
    InjectNextDraw(*doc, HalfOutput);
    Compute();
    EXPECT_EQ(Weights(), supportOne);
    InjectNextDraw(*doc, HighOutput);
    Compute();
    EXPECT_EQ(Weights(), supportOne);

    // SUPPORT-II, tested on the enemies, keeps SUPPORT-I from being tested.
    f.SUPPORT2_flag[squad] = 1;
    f.Support2NumAlive[i] = 1;
    f.CombatNumAlive[i] = 1;
    Counts(100, 1, 5);
    Compute();
    EXPECT_EQ(Weights(), (Eff{0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f}));
}

TEST_P(Personality, ZeroSupportWeightTakesTheStrongestAliveWeight)
{
    f.SUPPORT1_flag[squad] = 1;
    f.Support1NumAlive[i] = 1;
    f.Support1NumInjured[i] = 2;
    f.AliveWeight[W3][i] = 0.0f;
    f.AliveWeight[W2][i] = -0.75f;
    Counts(100, 0, 2);
    Compute();
    EXPECT_EQ(f.EffW3[i], 0.75f);

    // An injured agent also takes the largest of its alive weights.
    f.AgentState[i] = Injured;
    f.InjuredWeight[W3][i] = 0.0f;
    Compute();
    EXPECT_EQ(f.EffW3[i], 0.75f);
    EXPECT_EQ(f.EffWTerrain[i], -0.1f);

    f.AgentState[i] = Alive;
    f.SUPPORT2_flag[squad] = 1;
    f.Support2NumAlive[i] = 1;
    f.AliveWeight[W1][i] = 0.0f;
    Counts(100, 1, 0);
    Compute();
    EXPECT_EQ(f.EffW1[i], 0.75f);
}

TEST_P(Personality, PursuitDrawThenCombinationDraw)
{
    f.PURSUIT1_flag[squad] = 1;
    f.PURSUIT2_flag[squad] = 1;
    f.SUPPORT1_flag[squad] = 1;
    f.Pursuit1NumAlive[i] = 3;
    f.Pursuit2NumAlive[i] = 3;
    f.Support1NumAlive[i] = 1;
    Counts(100, 3, 1);
    // A seed whose first draw gives PURSUIT-II, so that the combination draws too.
    CUniformGenerator reference;
    int seed = 0;
    bool found = false;
    for (int s = -1; s > -100 && !found; --s) {
        reference = doc->Generator;
        seed = s;
        found = reference.Draw(&seed) > 0.5;
        doc->RandomState = s;
    }
    ASSERT_TRUE(found);
    const bool support = reference.Draw(&seed) > 0.5;
    Compute();
    EXPECT_EQ(doc->RandomState, seed);
    EXPECT_EQ(Weights(), support ? (Eff{0.0f, 0.0f, 0.3f, 0.0f, 0.0f, 0.0f}) : (Eff{0.0f, 0.4f, 0.0f, 0.2f, 0.0f, 0.0f}));
}

TEST_P(Personality, HoldFraction)
{
    doc->Battlefield.BattleSize = 150;
    f.HOLD_flag[squad] = 1;
    f.SensorRange[i] = 1;
    const int mine = SideCode(own);
    const int theirs = SideCode(Opponent(own));
    struct Case {
        double h;
        int owned;  // of the nine cells around (10, 10); the rest belong to the other side
        int hold;
    };
    const Case cases[] = {{0.5, 5, 1},  {0.5, 4, 0},  {-0.5, 0, 0}, {-0.5, 4, 1},
                          {-0.5, 5, 0}, {0.0, 9, 0}, {0.0, 0, 0},  {1.0, 9, 1}};
    for (const Case& c : cases) {
        int n = 0;
        for (int x = 9; x <= 11; ++x)
            for (int y = 9; y <= 11; ++y)
                Own(x, y, n++ < c.owned ? mine : theirs);
        f.HoldFractionAlive[i] = c.h;
        EXPECT_EQ(Compute(), c.hold) << "H " << c.h << ", " << c.owned << " of 9";
    }

    // The box is clipped to the battlefield: four cells in the corner.
    f.AgentX[i] = 1;
    f.AgentY[i] = 1;
    Own(1, 1, mine);
    Own(1, 2, mine);
    Own(2, 1, 0);
    Own(2, 2, theirs);
    f.HoldFractionAlive[i] = 0.5;
    EXPECT_EQ(Compute(), 1);
    f.HoldFractionAlive[i] = 0.51;
    EXPECT_EQ(Compute(), 0);

    // An injured agent uses its injured fraction; CLUSTER does not block holding.
    f.AgentState[i] = Injured;
    f.HoldFractionInjured[i] = 0.5;
    f.CLUSTER_flag[squad] = 1;
    f.ClusterNumInjured[i] = 0;
    EXPECT_EQ(Compute(), 1);
    EXPECT_EQ(f.EffW1[i], 0.0f);
}

TEST_P(Personality, CommanderPersonality)
{
    CLocalCommand& local = doc->Local(own);
    local.CommanderNumberOf[i] = 4;
    const Eff w = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
    CCommanderWeights& n = local.Normalised;
    n.w1[4] = w[0];
    n.w2[4] = w[1];
    n.w3[4] = w[2];
    n.w4[4] = w[3];
    n.w5[4] = w[4];
    n.w6[4] = w[5];
    n.w_terrain[4] = 0.7f;
    local.CLUSTER_num[4] = 3;
    local.COMBAT_num[4] = 1;
    local.ADVANCE_num[4] = 4;
    f.EffWArea[i] = 5.0f;
    f.FlockWeight[i] = 6.0f;

    // No enemy sensed: only the enemy flag draws it, and the comm copies stay.
    f.CommWeightAlive = 9.0f;
    Counts(10, 0, 0);
    Commander();
    EXPECT_EQ(Weights(), (Eff{0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.6f}));
    EXPECT_EQ(f.EffWTerrain[i], 0.0f);
    EXPECT_EQ(f.CommWeightAlive, 9.0f);

    Counts(3, 2, 0);  // cluster, engage at F - E = 1, too few to advance
    Commander();
    EXPECT_EQ(Weights(), (Eff{0.0f, 0.2f, 0.0f, 0.4f, 0.5f, -0.6f}));
    EXPECT_EQ(f.EffWTerrain[i], 0.7f);
    EXPECT_EQ(f.CommWeightAlive, 0.11f);

    Counts(2, 2, 0);
    Commander();
    EXPECT_EQ(Weights(), (Eff{0.1f, -0.2f, 0.3f, -0.4f, 0.5f, -0.6f}));
    Counts(5, 1, 0);
    Commander();
    EXPECT_EQ(Weights(), (Eff{0.0f, 0.2f, 0.0f, 0.4f, 0.5f, 0.6f}));

    f.MovementFlag[i] = 0;
    Counts(0, 0, 0);
    Commander();
    EXPECT_EQ(Weights(), w);
    EXPECT_EQ(f.EffWTerrain[i], 0.7f);
    EXPECT_EQ(f.EffWArea[i], 5.0f);
    EXPECT_EQ(f.FlockWeight[i], 6.0f);
}

TEST_P(Personality, GlobalOrdersTakeTheCommandsDefaults)
{
    CLocalCommand& local = doc->Local(own);
    for (int c = 0; c <= MaxCommanders; ++c) {
        local.w_obey_GC_def[c] = 0.1f * c;
        local.w_help_LC_def[c] = 0.5f + c;
    }
    local.CommanderNumberOf[i] = 2;
    GlobalOrders();
    EXPECT_EQ(local.ObeyGlobalWeight[2], 0.2f);
    EXPECT_EQ(local.HelpLocalWeight[2], 2.5f);
    for (int c : {0, 99, -4}) {
        local.HelpLocalWeight[0] = -1.0f;
        local.CommanderNumberOf[i] = c;
        GlobalOrders();
        EXPECT_EQ(local.HelpLocalWeight[0], 0.5f) << "command " << c;
    }
}

}  // namespace
}  // namespace brevimar
