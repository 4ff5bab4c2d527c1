#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

// One RED agent at (10, 10) on a 20 x 20 battlefield, range 1, all weights 0.
class MoveSelection : public ::testing::Test {
protected:
    testing::TestDocument doc;
    int red = 0;

    void SetUp() override
    {
        doc->Battlefield.BattleSize = 20;
        doc->Battlefield.TerrainMode = 0;
        doc->Battlefield.termination = 2;
        doc->NumRed() = 0;
        doc->NumBlue() = 0;
        doc->RunHeader.CurrentStep = 7;
        doc->RunHeader.LastStep = 123;
        red = AddAgent(Side::Red, 10, 10);
        doc->RedForce.GoalFlagX = doc->RedForce.GoalFlagY = 1;
        doc->BlueForce.GoalFlagX = doc->BlueForce.GoalFlagY = 1;
    }

    int AddAgent(Side side, int x, int y, int range = 1)
    {
        CForce& f = doc->Force(side);
        const int i = ++f.NumAgents;
        f.AgentX[i] = x;
        f.AgentY[i] = y;
        f.AgentState[i] = Alive;
        f.AgentSquad[i] = 1;
        f.MoveRangeAlive[i] = range;
        f.MoveRangeInjured[i] = range;
        f.DistanceNormaliser[i] = 10.0f;
        doc->Battlefield.AgentGrid[GridIndex(x, y)] = CellAgent;
        return i;
    }
    void PutTerrain(int x, int y, int type)
    {
        doc->Battlefield.AgentGrid[GridIndex(x, y)] = CellTerrain;
        doc->Battlefield.TerrainType[GridIndex(x, y)] = type;
    }
    // Pull the RED agent toward (x, y) through its enemy-flag term.
    void PullRedToward(int x, int y)
    {
        doc->RedForce.GoalFlagX = x;
        doc->RedForce.GoalFlagY = y;
        doc->RedForce.EffW6[red] = 1.0f;
    }
    int& Activity(int plane, int x, int y) { return doc->ActivityGrids[plane][LatticeStride * x + y]; }
    std::pair<int, int> Cell(Side side, int i) { return {doc->Force(side).AgentX[i], doc->Force(side).AgentY[i]}; }
    int Grid(int x, int y) { return doc->Battlefield.AgentGrid[GridIndex(x, y)]; }

    // Sets the generator so that the next tie draw gives exactly u.
    void NextTieDrawGives(float u)
    {
        const double estimate = (u * 10000.0 - 1.0) / 9999.0 * 2147483647.0;
        for (int v = static_cast<int>(estimate) - 5000; v < static_cast<int>(estimate) + 5000; ++v) {
            CUniformGenerator g;
            g.ShuffleOutput = 1;  // the next draw returns table entry 0
            g.ShuffleTable[0] = v;
            const CUniformGenerator before = g;
            int seed = 1;
            if (static_cast<float>(g.DrawRange(1, 10000, &seed) * 0.0001) == u) {
                doc->Generator = before;
                doc->RandomState = 1;
                return;
            }
        }
        FAIL() << "no generator state gives " << u;
    }
};

TEST_F(MoveSelection, BoxedInAgentStays)
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0)
                AddAgent(Side::Blue, 10 + dx, 10 + dy);
    PullRedToward(18, 18);
    doc->RedActivityMapOn = 1;
    Activity(0, 10, 10) = 5;
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(10, 10));
    EXPECT_EQ(Grid(10, 10), CellAgent);
    EXPECT_EQ(Activity(0, 10, 10), 0);
}

TEST_F(MoveSelection, MovesToTheCheapestCell)
{
    doc->RedForce.MoveRangeAlive[red] = 2;
    PullRedToward(10, 18);
    doc->RedActivityMapOn = 1;
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(10, 12));
    EXPECT_EQ(Grid(10, 10), CellFree);
    EXPECT_EQ(Grid(10, 12), CellAgent);
    EXPECT_EQ(Activity(0, 10, 10), 1);
    EXPECT_EQ(Activity(1, 10, 10), 0);

    // An injured agent uses its injured range.
    doc->RedForce.AgentState[red] = Injured;
    doc->RedForce.MoveRangeInjured[red] = 1;
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(10, 13));
}

TEST_F(MoveSelection, HoldOrZeroRangeMakesNoMove)
{
    PullRedToward(10, 18);
    doc->RedActivityMapOn = 1;
    Activity(0, 10, 10) = 1;
    doc->RedForce.GoalFlagX = 10;
    doc->RedForce.GoalFlagY = 11;  // in reach, but nothing is evaluated
    doc->Battlefield.termination = 1;
    doc->SelectRedMove(red, 1);
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(10, 10));
    EXPECT_EQ(Activity(0, 10, 10), 0);
    EXPECT_EQ(doc->WinningSide, 0);

    doc->RedForce.MoveRangeAlive[red] = 0;
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(10, 10));
    doc->RedForce.MoveRangeAlive[red] = -3;
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(10, 10));
}

TEST_F(MoveSelection, RangeAboveFourIsTakenAsFour)
{
    doc->RedForce.MoveRangeAlive[red] = 9;
    PullRedToward(20, 10);
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(14, 10));
}

// Only (9, 10) and (11, 10) are free, and nothing pulls: two exact ties, in
// scan order (9, 10) first.
class MoveSelectionTies : public MoveSelection {
protected:
    void SetUp() override
    {
        MoveSelection::SetUp();
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (dy != 0)
                    AddAgent(Side::Blue, 10 + dx, 10 + dy);
        doc->RedActivityMapOn = 1;
    }
};

TEST_F(MoveSelectionTies, HalfTakesTheFirst)
{
    NextTieDrawGives(0.5f);
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(9, 10));
    EXPECT_EQ(Activity(0, 10, 10), 1);
}

TEST_F(MoveSelectionTies, JustAboveHalfTakesTheSecond)
{
    NextTieDrawGives(0.5001f);
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(11, 10));
}

TEST_F(MoveSelection, RedReachingTheBlueFlagEndsTheRun)
{
    doc->Battlefield.termination = 1;
    doc->RedForce.MoveRangeAlive[red] = 2;
    doc->RedForce.GoalFlagX = 12;
    doc->RedForce.GoalFlagY = 10;
    // Only the own flag pulls: the agent moves away from the enemy flag it reached.
    doc->BlueForce.GoalFlagX = 10;
    doc->BlueForce.GoalFlagY = 1;
    doc->RedForce.EffW5[red] = 1.0f;
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(doc->WinningSide, 1);
    EXPECT_EQ(doc->RunHeader.CurrentStep, 123);
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(10, 8));
}

TEST_F(MoveSelection, BlueReachingTheRedFlagDoesNotEndTheRun)
{
    doc->Battlefield.termination = 1;
    const int b = AddAgent(Side::Blue, 5, 5);
    doc->BlueForce.GoalFlagX = 6;
    doc->BlueForce.GoalFlagY = 6;
    doc->SelectBlueMove(b, 0);
    EXPECT_EQ(doc->WinningSide, 2);
    EXPECT_EQ(doc->RunHeader.CurrentStep, 7);
}

TEST_F(MoveSelection, CommunicationsEvaluatorWinsOverGlobalCommand)
{
    PullRedToward(18, 10);
    CLocalCommand& lc = doc->RedLocal;
    lc.CommandRole[red] = LocalCommander;
    lc.CommanderNumberOf[red] = 1;
    lc.NumLocalCommanders = 1;
    lc.ObeyGlobalWeight[1] = 10.0f;
    doc->RedGlobal.GcTargetX[1] = 2;
    doc->RedGlobal.GcTargetY[1] = 10;
    doc->RedForce.MaxAliveWeight[red] = 1.0f;
    doc->RedGlobal.GlobalCommandOn = 1;

    doc->SelectRedMove(red, 0);
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(9, 10)) << "global command alone: its target wins";

    doc->RedForce.CommOn = 1;
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(10, 10)) << "communications: no global term";
}

TEST_F(MoveSelection, MoveAgentCellIndices)
{
    doc->MoveRedAgent(red, 2, 1);  // top left: (-2, +2)
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(8, 12));
    EXPECT_EQ(Grid(10, 10), CellFree);
    EXPECT_EQ(Grid(8, 12), CellAgent);
    doc->MoveRedAgent(red, 2, 25);  // bottom right: (+2, -2)
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(10, 10));
    doc->MoveRedAgent(red, 3, 25);  // the centre of a range-3 box
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(10, 10));
    EXPECT_EQ(Grid(10, 10), CellAgent);
    doc->MoveRedAgent(red, 1, 6);  // (+1, 0)
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(11, 10));
    for (auto [r, k] : {std::pair{1, 0}, {1, 10}, {0, 1}, {5, 1}, {4, 82}}) {
        doc->MoveRedAgent(red, r, k);
        EXPECT_EQ(Cell(Side::Red, red), std::make_pair(11, 10)) << r << " " << k;
    }
    // Never off the battlefield.
    for (int n = 0; n < 3; ++n)
        doc->MoveRedAgent(red, 4, 9 * 4 + 9);  // (+4, 0): to 15, to 19, then refused
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(19, 10));

    const int b = AddAgent(Side::Blue, 5, 5);
    doc->MoveBlueAgent(b, 1, 3);  // (+1, +1)
    EXPECT_EQ(Cell(Side::Blue, b), std::make_pair(6, 6));
    EXPECT_EQ(Grid(6, 6), CellAgent);
    EXPECT_EQ(Grid(5, 5), CellFree);
}

// Steering round a wall of lava at x = 8, y = 6..14, from (5, 10) toward the
// BLUE flag at (15, 10).
class MoveSteering : public MoveSelection {
protected:
    void SetUp() override
    {
        MoveSelection::SetUp();
        CBattlefield& field = doc->Battlefield;
        field.AgentGrid[GridIndex(10, 10)] = CellFree;
        doc->RedForce.AgentX[red] = 5;
        doc->RedForce.AgentY[red] = 10;
        field.AgentGrid[GridIndex(5, 10)] = CellAgent;
        field.TerrainMode = 1;
        for (int y = 6; y <= 14; ++y)
            PutTerrain(8, y, Lava);
        field.WaypointPathsOn = 1;
        field.PathStartDistance = 3;
        PullRedToward(15, 10);
        doc->BlueForce.GoalFlagX = 2;
        doc->BlueForce.GoalFlagY = 2;
        BuildFields();
    }
    // RED's field leads to the BLUE flag, BLUE's to the RED flag.
    void BuildFields(int blueFlagX = 15, int blueFlagY = 10, int redFlagX = 2, int redFlagY = 2)
    {
        std::vector<int> grid(21 * 21, 0);
        for (int x = 1; x <= 20; ++x)
            for (int y = 1; y <= 20; ++y)
                grid[21 * x + y] = doc->Battlefield.TerrainType[GridIndex(x, y)];
        doc->RedWaypointField = CPathField(grid.data(), 20, 20, blueFlagX, blueFlagY, 1, doc.Host);
        doc->BlueWaypointField = CPathField(grid.data(), 20, 20, redFlagX, redFlagY, 1, doc.Host);
    }
    std::pair<int, int> Along(const CPathField& field, int x, int y, int steps)
    {
        for (int s = 0; s < steps; ++s)
            field.GetPredecessor(x, y, &x, &y);
        return {x, y};
    }
};

TEST_F(MoveSteering, RangeThreeHeadsForTheThirdCellAlongThePath)
{
    doc->RedForce.MoveRangeAlive[red] = 3;
    const auto waypoint = Along(doc->RedWaypointField, 5, 10, 3);
    ASSERT_NE(waypoint.second, 10) << "the path bends round the wall";
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(Cell(Side::Red, red), waypoint);
    EXPECT_EQ(doc->RedForce.GoalFlagX, 15) << "flags are restored";
    EXPECT_EQ(doc->RedForce.GoalFlagY, 10);
    EXPECT_EQ(doc->BlueForce.GoalFlagX, 2);
    EXPECT_EQ(doc->BlueForce.GoalFlagY, 2);

    // Far from the terrain nothing steers.
    doc->Battlefield.PathStartDistance = 1;
    doc->Battlefield.AgentGrid[GridIndex(waypoint.first, waypoint.second)] = CellFree;
    doc->RedForce.AgentX[red] = 4;
    doc->RedForce.AgentY[red] = 10;
    doc->Battlefield.AgentGrid[GridIndex(4, 10)] = CellAgent;
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(7, 10));
}

TEST_F(MoveSteering, BlueFollowsTheFieldTowardTheRedFlag)
{
    const int b = AddAgent(Side::Blue, 11, 10, 3);
    doc->BlueForce.GoalFlagX = 2;  // the RED flag
    doc->BlueForce.GoalFlagY = 10;
    doc->RedForce.GoalFlagX = 18;
    doc->RedForce.GoalFlagY = 18;
    doc->BlueForce.EffW6[b] = 1.0f;
    BuildFields(15, 10, 2, 10);
    const auto waypoint = Along(doc->BlueWaypointField, 11, 10, 3);
    ASSERT_NE(waypoint.second, 10);
    doc->SelectBlueMove(b, 0);
    EXPECT_EQ(Cell(Side::Blue, b), waypoint);
}

TEST_F(MoveSteering, AgentOnItsEnemyFlagHeadsForTheCorner)
{
    // On the flag the first waypoint is (0, 0); it pulls toward the corner.
    doc->Battlefield.AgentGrid[GridIndex(5, 10)] = CellFree;
    doc->RedForce.AgentX[red] = 15;
    doc->RedForce.AgentY[red] = 10;
    doc->Battlefield.AgentGrid[GridIndex(15, 10)] = CellAgent;
    PutTerrain(17, 12, Lava);
    BuildFields();
    doc->Battlefield.termination = 1;
    doc->RedForce.MoveRangeAlive[red] = 2;
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(13, 8));
    EXPECT_EQ(doc->WinningSide, 0);
    EXPECT_EQ(doc->RedForce.GoalFlagX, 15);
}

// While steering the flag cell holds a waypoint; reaching an empty waypoint is
// not reaching the flag.
TEST_F(MoveSteering, WaypointCellIsNoGoal)
{
    doc->Battlefield.termination = 1;
    doc->RedForce.MoveRangeAlive[red] = 3;
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(doc->WinningSide, 0);
    EXPECT_EQ(doc->RunHeader.CurrentStep, 7);
}

TEST_F(MoveSteering, RealFlagInReachWhileSteering)
{
    // Two cells from the flag, with the wall of lava behind.
    doc->Battlefield.AgentGrid[GridIndex(5, 10)] = CellFree;
    doc->RedForce.AgentX[red] = 13;
    doc->RedForce.AgentY[red] = 10;
    doc->Battlefield.AgentGrid[GridIndex(13, 10)] = CellAgent;
    PutTerrain(11, 10, Lava);
    BuildFields();
    doc->Battlefield.termination = 1;
    doc->RedForce.MoveRangeAlive[red] = 3;
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(doc->WinningSide, 1);
    EXPECT_EQ(doc->RunHeader.CurrentStep, 123);
    // The waypoint walk stops at the flag instead of running on past it to (0, 0).
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(15, 10));
}

TEST_F(MoveSteering, WaypointsOffTheBattlefieldAreNeverWalkedTo)
{
    // A field saved for a larger battlefield: (5, 10) -> (12, 10) -> (30, 3).
    std::ostringstream text;
    text << "41 41\n";
    for (int x = 0; x <= 40; ++x)
        for (int y = 0; y <= 40; ++y) {
            unsigned p = 0;
            if (x == 5 && y == 10)
                p = 41 * 12 + 10;
            else if (x == 12 && y == 10)
                p = 41 * 30 + 3;
            text << p << "\n";
        }
    std::istringstream in(text.str());
    ASSERT_TRUE(in >> doc->RedWaypointField);
    doc->Battlefield.AgentGrid[GridIndex(8, 10)] = CellFree;  // open a gap in the wall
    doc->Battlefield.TerrainType[GridIndex(8, 10)] = OpenGround;
    doc->RedForce.MoveRangeAlive[red] = 4;
    doc->SelectRedMove(red, 0);
    EXPECT_EQ(Cell(Side::Red, red), std::make_pair(9, 10)) << "toward (12, 10); (30, 3) would pull to (9, 9)";
}

}  // namespace
}  // namespace brevimar
