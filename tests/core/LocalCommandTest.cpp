#include <gtest/gtest.h>

#include <utility>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

// Makes the next draw return output / (2^31 - 1).
void InjectNextDraw(CBrevimarDoc& doc, int output)
{
    doc.RandomState = 12345;
    doc.Generator.ShuffleOutput = 1;  // picks table entry 0
    doc.Generator.ShuffleTable[0] = output;
}

// A draw just above one half that rounds to exactly 0.5 in single precision.
constexpr int HalfOutput = 1073741824;

class LocalCommand : public ::testing::TestWithParam<Side> {
protected:
    testing::TestDocument doc;
    Side own = GetParam();
    Side other = Opponent(GetParam());
    CLocalCommand& local = doc->Local(own);

    // Command 1 led by agent 1 at (50, 50) with radius 1: patches of 3 x 3 cells
    // centred 3 cells apart.
    void SetUp() override
    {
        doc->Force(own).NumAgents = 0;
        doc->Force(other).NumAgents = 0;
        doc->RandomState = -99;
        doc->RunHeader.CurrentStep = 5;
        local.NumLocalCommanders = 1;
        local.CommanderAgent[1] = Add(own, 50, 50);
        local.cmnd_rad[1] = 1;
        local.w_alpha[1] = 1.0f;
    }
    int Add(Side side, int x, int y, int state = Alive)
    {
        CForce& f = doc->Force(side);
        const int i = ++f.NumAgents;
        f.AgentX[i] = x;
        f.AgentY[i] = y;
        f.AgentState[i] = state;
        f.AgentSquad[i] = 1;
        return i;
    }
    void Command() { own == Side::Red ? doc->RedLocalCommand() : doc->BlueLocalCommand(); }
    std::pair<int, int> Goal(int c = 1) { return {local.CommanderGoalX[c], local.CommanderGoalY[c]}; }
    std::pair<int, int> PrevGoal(int c = 1) { return {local.CommanderPrevGoalX[c], local.CommanderPrevGoalY[c]}; }
};

INSTANTIATE_TEST_SUITE_P(BothSides, LocalCommand, ::testing::Values(Side::Red, Side::Blue),
                         [](const auto& info) { return info.param == Side::Red ? "Red" : "Blue"; });

TEST_P(LocalCommand, NoEnemyInTheBlockKeepsTheOwnCellAndThePreviousGoal)
{
    local.CommanderPrevGoalX[1] = 7;
    local.CommanderPrevGoalY[1] = 8;
    Add(own, 53, 53);
    Add(other, 55, 50);  // the block spans 46..54 on each axis
    Add(other, 52, 50, Dead);
    const int start = doc->RandomState;
    Command();
    EXPECT_EQ(Goal(), std::make_pair(50, 50));
    EXPECT_EQ(PrevGoal(), std::make_pair(7, 8));
    EXPECT_EQ(doc->RandomState, start);
}

TEST_P(LocalCommand, PatchesAreNumberedFromTheTopRowAndHoldTheirEdges)
{
    // One enemy decides the goal: its patch alone scores below zero.
    struct Case {
        int x, y;
        std::pair<int, int> goal;
    };
    const Case type1[] = {
        {47, 53, {47, 53}}, {50, 53, {50, 53}}, {53, 53, {53, 53}}, {46, 50, {47, 50}}, {51, 51, {50, 50}},
        {54, 48, {53, 47}}, {48, 46, {47, 47}}, {49, 48, {50, 47}}, {52, 46, {53, 47}}, {54, 54, {53, 53}},
    };
    for (const Case& c : type1) {
        doc->Force(other).NumAgents = 0;
        Add(other, c.x, c.y);
        Command();
        EXPECT_EQ(Goal(), c.goal) << "enemy at " << c.x << "," << c.y;
        EXPECT_EQ(PrevGoal(), c.goal);
    }

    // Radius 0: the nine cells around the commander.
    local.cmnd_rad[1] = 0;
    doc->Force(other).NumAgents = 0;
    Add(other, 51, 51);
    Command();
    EXPECT_EQ(Goal(), std::make_pair(51, 51));

    // Patch type 2: 5 x 5 patches, the block reaching two patches out.
    local.patch_type = 2;
    local.cmnd_rad[1] = 1;
    const Case type2[] = {{43, 57, {44, 56}}, {57, 43, {56, 44}}, {45, 49, {44, 50}}, {57, 57, {56, 56}}};
    for (const Case& c : type2) {
        doc->Force(other).NumAgents = 0;
        Add(other, c.x, c.y);
        Command();
        EXPECT_EQ(Goal(), c.goal) << "enemy at " << c.x << "," << c.y;
    }
    doc->Force(other).NumAgents = 0;
    Add(other, 58, 50);
    local.CommanderGoalX[1] = -5;
    Command();
    EXPECT_EQ(Goal(), std::make_pair(50, 50)) << "outside the 5 x 5 block";
}

TEST_P(LocalCommand, LowestScoreWinsWithScoresDividedByThePatchsFriends)
{
    local.w_delta[1] = 1.0f;  // alpha = delta = 1: a patch scores -(2 Ae - Af) / friends
    // Patch 4: one enemy, no friend: -2.
    Add(other, 47, 50);
    // Patch 6: two enemies, two friends: (0 - 2) / 2 = -1.
    Add(other, 53, 50);
    Add(other, 53, 51);
    Add(own, 52, 49);
    Add(own, 54, 49);
    Command();
    EXPECT_EQ(Goal(), std::make_pair(47, 50));
    // Patch 2 gets three enemies and an injured friend.
    Add(other, 50, 53);
    Add(other, 50, 54);
    Add(other, 49, 52);
    Add(own, 51, 52, Injured);
    local.w_delta[1] = 0.0f;
    local.w_gamma[1] = 1.0f;  // a patch now scores ((Af - Ae) + (If - Ie)) / friends
    // Patch 2: (0 - 3) + (1 - 0) = -2 over one friend; patch 4: -1; patch 6: 0.
    Command();
    EXPECT_EQ(Goal(), std::make_pair(50, 53));
}

TEST_P(LocalCommand, NearestTieToThePreviousGoalAndTheLaterPatchAtEqualDistance)
{
    local.patch_flag = 1;
    Add(other, 47, 50);  // patch 4
    Add(other, 53, 50);  // patch 6
    local.CommanderPrevGoalX[1] = 50;
    local.CommanderPrevGoalY[1] = 60;
    const int start = doc->RandomState;
    Command();
    EXPECT_EQ(Goal(), std::make_pair(53, 50));
    EXPECT_EQ(doc->RandomState, start);

    local.CommanderPrevGoalX[1] = 40;
    local.CommanderPrevGoalY[1] = 50;
    Command();
    EXPECT_EQ(Goal(), std::make_pair(47, 50));
    EXPECT_EQ(PrevGoal(), std::make_pair(47, 50));
}

TEST_P(LocalCommand, RandomTieTakesOneSinglePrecisionDraw)
{
    Add(other, 47, 50);  // patch 4
    Add(other, 53, 50);  // patch 6
    ASSERT_GT(HalfOutput / 2147483647.0, 0.5);
    ASSERT_EQ(static_cast<float>(HalfOutput / 2147483647.0), 0.5f);
    InjectNextDraw(*doc, HalfOutput);
    Command();
    EXPECT_EQ(Goal(), std::make_pair(47, 50)) << "u = 0.5 picks the first of two";

    InjectNextDraw(*doc, 1503238553);  // 0.7
    Command();
    EXPECT_EQ(Goal(), std::make_pair(53, 50));

    // The patch flag asks for the nearest patch, but step 1 always draws.
    local.patch_flag = 1;
    doc->RunHeader.CurrentStep = 1;
    local.CommanderPrevGoalX[1] = 53;
    local.CommanderPrevGoalY[1] = 50;
    InjectNextDraw(*doc, 107374182);  // 0.05
    Command();
    EXPECT_EQ(Goal(), std::make_pair(47, 50));
}

TEST_P(LocalCommand, QuietPatchesTieWithABestScoreOfZero)
{
    // With all weights 0 every patch scores 0: the enemy's patch sets the best
    // and all nine patches tie with it.
    local.w_alpha[1] = 0.0f;
    local.CommanderAgent[1] = Add(own, 2, 2);  // next to the battlefield corner
    Add(other, 2, 3);
    CUniformGenerator reference = doc->Generator;
    int seed = doc->RandomState;
    const float u = static_cast<float>(reference.Draw(&seed));
    int j = 1;
    while (j < 9 && u > static_cast<float>(j) / 9.0f)
        ++j;
    Command();
    const std::pair<int, int> centres[] = {{-1, 5}, {2, 5}, {5, 5}, {-1, 2}, {2, 2}, {5, 2}, {-1, -1}, {2, -1}, {5, -1}};
    EXPECT_EQ(Goal(), centres[j - 1]) << "u = " << u;
    EXPECT_EQ(doc->RandomState, seed);

    // A goal may lie off the battlefield.
    InjectNextDraw(*doc, 107374182);  // 0.05
    Command();
    EXPECT_EQ(Goal(), std::make_pair(-1, 5));
}

TEST_P(LocalCommand, HealthUnderGlobalCommand)
{
    doc->Global(own).GlobalCommandOn = 1;
    doc->Global(own).GC_max_red_f = 0.5f;
    local.SubordinateCount[1] = 4;  // n m + 1 = 3
    Add(own, 51, 51);
    Add(own, 46, 46, Injured);
    Add(own, 60, 60);  // outside the block
    Add(other, 53, 53);
    Command();
    // 2 friends, 1 enemy: 2 (3 - 1) / (3 * 4).
    EXPECT_FLOAT_EQ(local.CommanderHealth[1], 1.0f / 3.0f);

    struct Case {
        int n, friends, enemies;
        float health;
    };
    const Case cases[] = {
        {1, 5, 0, 1.0f},  {1, 1, 9, -1.0f}, {0, 2, 0, 1.0f},  {0, 2, 1, -1.0f},
        {0, 0, 0, -1.0f}, {0, 0, 2, -1.0f}, {0, 1, 3, -1.0f}, {2, 0, 1, 0.0f},
    };
    for (const Case& c : cases) {
        doc->Force(own).NumAgents = 1;
        doc->Force(other).NumAgents = 0;
        for (int k = 0; k < c.friends; ++k)
            Add(own, 49, 49);
        for (int k = 0; k < c.enemies; ++k)
            Add(other, 51, 49);
        local.SubordinateCount[1] = c.n;
        Command();
        EXPECT_EQ(local.CommanderHealth[1], c.health) << "n " << c.n << " F " << c.friends << " E " << c.enemies;
    }

    // Only patch type 1 under global command rates the health.
    local.CommanderHealth[1] = 0.25f;
    local.patch_type = 2;
    Command();
    EXPECT_EQ(local.CommanderHealth[1], 0.25f);
    local.patch_type = 1;
    doc->Global(own).GlobalCommandOn = 0;
    Command();
    EXPECT_EQ(local.CommanderHealth[1], 0.25f);
}

TEST_P(LocalCommand, OtherPatchTypesAndBadIndicesLeaveGoalsAlone)
{
    Add(other, 47, 50);
    local.CommanderGoalX[1] = 3;
    local.CommanderGoalY[1] = 4;
    local.patch_type = 3;
    Command();
    EXPECT_EQ(Goal(), std::make_pair(3, 4));

    local.patch_type = 1;
    local.NumLocalCommanders = 99;
    local.CommanderAgent[1] = 5000;
    Command();
    EXPECT_EQ(Goal(), std::make_pair(3, 4));

    local.CommanderAgent[1] = 1;
    local.cmnd_rad[1] = 2000000000;  // one patch covers everything; no overflow
    Command();
    EXPECT_EQ(Goal(), std::make_pair(50, 50));
}

}  // namespace
}  // namespace brevimar
