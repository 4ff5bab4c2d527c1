#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>

#include "support/Scenarios.h"
#include "support/TestDocument.h"

namespace brevimar {
namespace {

using testing::MakeSkirmish;
using testing::SkirmishOptions;
using testing::TestDocument;

int Living(const CForce& force)
{
    int n = 0;
    for (int i = 1; i <= force.NumAgents; ++i)
        n += force.AgentState[i] > Dead;
    return n;
}

// Positions are on the battlefield, on no impassable cell, one living agent
// per cell, and the agent grid agrees.
void ExpectSoundBattlefield(CBrevimarDoc& doc)
{
    const CBattlefield& f = doc.Battlefield;
    std::set<std::pair<int, int>> cells;
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& force = doc.Force(side);
        for (int i = 1; i <= force.NumAgents; ++i) {
            if (force.AgentState[i] == Dead)
                continue;
            const int x = force.AgentX[i], y = force.AgentY[i];
            ASSERT_GE(x, 1);
            ASSERT_GE(y, 1);
            ASSERT_LE(x, f.BattleSize);
            ASSERT_LE(y, f.BattleSize);
            ASSERT_FALSE(IsImpassable(f.TerrainType[GridIndex(x, y)]));
            ASSERT_TRUE(cells.insert({x, y}).second) << "two living agents on (" << x << ", " << y << ")";
            ASSERT_EQ(f.AgentGrid[GridIndex(x, y)], CellAgent);
        }
    }
}

TEST(Step, FixedMoveOrderDrawsNothing)
{
    TestDocument doc;
    MakeSkirmish(*doc, {.PerSide = 5});
    doc->Battlefield.MoveOrder = 1;
    int red[AgentSlots] = {}, blue[AgentSlots] = {};
    const CUniformGenerator before = doc->Generator;
    const int seed = doc->RandomState;
    doc->ShuffleMoveOrder(blue, red);
    EXPECT_EQ(doc->RandomState, seed);
    EXPECT_EQ(0, std::memcmp(&before, &doc->Generator, sizeof before));
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(red[k], k);
        EXPECT_EQ(blue[k], k);
    }
}

TEST(Step, RandomMoveOrderIsAPermutationDrawnRedFirst)
{
    TestDocument doc;
    MakeSkirmish(*doc, {.PerSide = 12});
    doc->NumBlue() = 1;
    int red[AgentSlots] = {}, blue[AgentSlots] = {};
    CUniformGenerator shadow = doc->Generator;
    int shadowSeed = doc->RandomState;
    doc->ShuffleMoveOrder(blue, red);
    std::set<int> seen(red + 1, red + 13);
    EXPECT_EQ(seen.size(), 12u);
    EXPECT_EQ(*seen.begin(), 1);
    EXPECT_EQ(*seen.rbegin(), 12);
    EXPECT_EQ(blue[1], 1);
    // Replaying the draws: RED's rejection sampling, then one draw for BLUE's single agent.
    bool taken[13] = {};
    int filled = 0;
    while (filled < 12) {
        const int r = static_cast<int>(shadow.DrawRange(0, 12, &shadowSeed)) + 1;
        if (!taken[r]) {
            taken[r] = true;
            EXPECT_EQ(red[++filled], r);
        }
    }
    shadow.DrawRange(0, 1, &shadowSeed);
    EXPECT_EQ(doc->RandomState, shadowSeed);

    doc->NumBlue() = 0;
    blue[1] = 77;
    doc->ShuffleMoveOrder(blue, red);
    EXPECT_EQ(blue[1], 77);  // an empty side is left untouched
}

TEST(Step, DeadCommanderIsReplacedByALivingSubordinate)
{
    TestDocument doc;
    MakeSkirmish(*doc, {.PerSide = 10});
    CLocalCommand& local = doc->RedLocal;
    local.LocalCommandOn = 1;
    local.NumLocalCommanders = 2;
    local.CommanderAgent[1] = 1;
    local.SubordinateCount[1] = 4;
    local.Subordinates[1][1] = 2, local.Subordinates[1][2] = 3, local.Subordinates[1][3] = 4, local.Subordinates[1][4] = 5;
    local.CommanderAgent[2] = 6;
    local.SubordinateCount[2] = 1;
    local.Subordinates[2][1] = 7;
    for (int i = 1; i <= 7; ++i)
        local.CommanderOf[i] = i <= 5 ? 1 : 2;
    local.CommanderOf[1] = local.CommanderOf[6] = 0;
    CForce& red = doc->RedForce;
    red.AgentState[1] = Dead;
    red.AgentState[3] = Dead;
    red.AgentState[6] = Dead;
    red.AgentState[7] = Dead;

    CUniformGenerator shadow = doc->Generator;
    int seed = doc->RandomState;
    const int k = static_cast<int>(shadow.Draw(&seed) * 3 + 1.0);
    const int expected[] = {2, 4, 5};
    doc->ReplaceDeadRedCommanders();
    const int a = expected[k - 1];
    EXPECT_EQ(local.CommanderAgent[1], a);
    EXPECT_EQ(local.CommandRole[a], LocalCommander);
    EXPECT_EQ(local.CommanderNumberOf[a], 1);
    EXPECT_EQ(local.CommanderOf[a], 0);
    ASSERT_EQ(local.SubordinateCount[1], 2);
    for (int j = 1; j <= 2; ++j) {
        EXPECT_NE(local.Subordinates[1][j], a);
        EXPECT_EQ(local.CommanderOf[local.Subordinates[1][j]], 1);
    }
    // A dead commander with no living subordinate stays recorded.
    EXPECT_EQ(local.CommanderAgent[2], 6);
    EXPECT_EQ(local.SubordinateCount[2], 0);
    EXPECT_EQ(doc->RandomState, seed);  // exactly one draw
}

TEST(Step, AgentStateSelectsItsParameterSet)
{
    TestDocument doc;
    MakeSkirmish(*doc, {.PerSide = 3});
    CForce& red = doc->RedForce;
    red.SensorRangeAlive[2] = 7, red.SensorRangeInjured[2] = 4;
    red.FireRangeAlive[2] = 3, red.FireRangeInjured[2] = 1;
    red.ConstraintRangeAlive[2] = 6, red.ConstraintRangeInjured[2] = 2;
    red.AgentState[2] = Injured;
    doc->ApplyAgentStateParameters();
    EXPECT_EQ(red.SensorRange[2], 4);
    EXPECT_EQ(red.FireRange[2], 1);
    EXPECT_EQ(red.ConstraintRange[2], 2);
    red.AgentState[2] = Alive;
    doc->ApplyAgentStateParameters();
    EXPECT_EQ(red.SensorRange[2], 7);
    red.AgentState[2] = Dead;  // the dead take the injured set
    doc->ApplyAgentStateParameters();
    EXPECT_EQ(red.SensorRange[2], 4);
}

TEST(Step, MovementGateByProbabilityAndByPeriod)
{
    TestDocument doc;
    MakeSkirmish(*doc, {.PerSide = 8, .BattleSize = 40});
    for (Side side : {Side::Red, Side::Blue}) {
        doc->Force(side).MoveProbAlive[1] = 0.0f;
        doc->Force(side).MoveProbInjured[1] = 0.0f;
    }
    int x[AgentSlots];
    for (int i = 1; i <= 8; ++i)
        x[i] = doc->RedForce.AgentX[i] * 1000 + doc->RedForce.AgentY[i];
    doc->StepSimulation();
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(doc->RedForce.AgentX[i] * 1000 + doc->RedForce.AgentY[i], x[i]) << "agent " << i;

    // Every third step only.
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& force = doc.Doc->Force(side);
        force.MoveGateByTime = 1;
        force.MovePeriodAlive[1] = force.MovePeriodInjured[1] = 3;
    }
    for (int t = 1; t <= 3; ++t) {
        doc->RunHeader.CurrentStep = t;
        int before[AgentSlots];
        for (int i = 1; i <= 8; ++i)
            before[i] = doc->RedForce.AgentX[i] * 1000 + doc->RedForce.AgentY[i];
        doc->StepSimulation();
        bool moved = false;
        for (int i = 1; i <= 8; ++i)
            moved |= doc->RedForce.AgentX[i] * 1000 + doc->RedForce.AgentY[i] != before[i];
        // Without the gate somebody moves in a skirmish of eight a side.
        EXPECT_EQ(moved, t % 3 == 0) << "step " << t;
    }
}

TEST(Step, OccupancyGridMarksBothSidesBlueLast)
{
    TestDocument doc;
    MakeSkirmish(*doc, {.PerSide = 4, .Weapons = true});
    doc->BlueForce.AgentX[1] = doc->RedForce.AgentX[1];
    doc->BlueForce.AgentY[1] = doc->RedForce.AgentY[1];
    for (Side side : {Side::Red, Side::Blue})
        for (int i = 1; i <= 4; ++i)
            doc->Force(side).MoveProbAlive[1] = doc->Force(side).MoveProbInjured[1] = 0.0f;
    for (Side side : {Side::Red, Side::Blue})
        for (int i = 1; i <= 4; ++i)
            doc->Force(side).AgentState[i] = Dead;  // dead agents still mark their cells
    doc->StepSimulation();
    EXPECT_EQ(doc->Battlefield.OccupancyGrid[GridIndex(doc->RedForce.AgentX[1], doc->RedForce.AgentY[1])], 2);
    EXPECT_EQ(doc->Battlefield.OccupancyGrid[GridIndex(doc->RedForce.AgentX[2], doc->RedForce.AgentY[2])], 1);
}

TEST(Step, BatchStepLeavesTheDisplayAlone)
{
    TestDocument doc;
    MakeSkirmish(*doc, {.PerSide = 10, .BattleSize = 40});
    doc->RedActivityMapOn = 1;
    doc->ActivityGrids[2][LatticeStride * 5 + 5] = 9;
    const int invalidations = doc.Host.InvalidateCount;
    const unsigned char before = doc->DisplayPlane(0)[LatticeStride * 3 + 3];
    const int frame = doc->DisplayFrame;
    doc->StepSimulation();
    EXPECT_EQ(doc->ActivityGrids[2][LatticeStride * 5 + 5], 9);
    EXPECT_EQ(doc.Host.InvalidateCount, invalidations);
    EXPECT_EQ(doc->DisplayFrame, frame);
    EXPECT_EQ(doc->DisplayPlane(0)[LatticeStride * 3 + 3], before);

    doc->StepSimulationInView();
    EXPECT_EQ(doc.Host.InvalidateCount, invalidations + 1);
    EXPECT_NE(doc->DisplayFrame, frame);
}

TEST(Step, WholeRunsKeepTheBattlefieldSound)
{
    const SkirmishOptions variants[] = {
        {.PerSide = 40, .BattleSize = 50},
        {.PerSide = 30, .BattleSize = 45, .ShotProb = 0.3f, .Communications = true},
        {.PerSide = 30, .BattleSize = 60, .Weapons = true, .Terrain = true},
        {.PerSide = 24, .BattleSize = 40, .LocalCommand = true, .MetaPersonality = true},
    };
    for (const auto& options : variants) {
        TestDocument doc;
        doc.Host.RandValues.clear();
        MakeSkirmish(*doc, options);
        ExpectSoundBattlefield(*doc);
        int red = Living(doc->RedForce), blue = Living(doc->BlueForce);
        const int startX = doc->RedForce.AgentX[1], startY = doc->RedForce.AgentY[1];
        for (int t = 1; t <= 120; ++t) {
            doc->RunHeader.CurrentStep = t;
            doc->StepSimulationInView();
            ExpectSoundBattlefield(*doc);
            if (::testing::Test::HasFatalFailure())
                return;
            // Nobody comes back from the dead; reconstitution only heals the injured.
            const int r = Living(doc->RedForce), b = Living(doc->BlueForce);
            ASSERT_LE(r, red);
            ASSERT_LE(b, blue);
            red = r;
            blue = b;
        }
        // The battle really happened: agents moved and met.
        EXPECT_TRUE(doc->RedForce.AgentX[1] != startX || doc->RedForce.AgentY[1] != startY);
        EXPECT_LT(red + blue, 2 * options.PerSide) << "variant with " << options.PerSide << " a side";
    }
}

TEST(Step, SameSeedSameBattle)
{
    auto run = [](CBrevimarDoc& doc) {
        MakeSkirmish(doc, {.PerSide = 30, .BattleSize = 50, .ShotProb = 0.2f, .Communications = true,
                           .LocalCommand = true, .MetaPersonality = true});
        for (int t = 1; t <= 60; ++t) {
            doc.RunHeader.CurrentStep = t;
            doc.StepSimulation();
        }
    };
    TestDocument a, b;
    run(*a);
    run(*b);
    for (Side side : {Side::Red, Side::Blue})
        for (int i = 1; i <= 30; ++i) {
            EXPECT_EQ(a->Force(side).AgentX[i], b->Force(side).AgentX[i]);
            EXPECT_EQ(a->Force(side).AgentY[i], b->Force(side).AgentY[i]);
            EXPECT_EQ(a->Force(side).AgentState[i], b->Force(side).AgentState[i]);
        }
    EXPECT_EQ(a->RandomState, b->RandomState);
}

}  // namespace
}  // namespace brevimar
