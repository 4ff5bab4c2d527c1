#include <gtest/gtest.h>

#include <cstring>

#include "core/LatticeCodes.h"
#include "support/TestDocument.h"

namespace brevimar {
namespace {

class Lattice : public ::testing::Test {
protected:
    testing::TestDocument doc;

    void SetUp() override
    {
        SetSize(10);
        doc->RedForce.NumAgents = 0;
        doc->BlueForce.NumAgents = 0;
    }

    void SetSize(int size)
    {
        doc->Battlefield.BattleSize = size;
        doc->LatticeExtentX = size + 2;
        doc->LatticeExtentY = size + 2;
    }

    void Terrain(int x, int y, int type) { doc->Battlefield.TerrainType[GridIndex(x, y)] = type; }

    void Agent(Side side, int i, int x, int y, int state)
    {
        CForce& f = doc->Force(side);
        if (f.NumAgents < i)
            f.NumAgents = i;
        f.AgentX[i] = x;
        f.AgentY[i] = y;
        f.AgentState[i] = state;
    }

    void Captured(Side side, int step, int i, int x, int y, int state)
    {
        const int base = side == Side::Red ? RedCaptureState : BlueCaptureState;
        doc->Capture(base, step, i) = state;
        doc->Capture(base + 1, step, i) = x;
        doc->Capture(base + 2, step, i) = y;
    }

    // Code of battlefield cell (x, y) in plane p for the current battle size.
    int At(int plane, int x, int y)
    {
        const int extent = doc->Battlefield.BattleSize + 2;
        return doc->DisplayPlane(plane)[LatticeCellOffset(extent, x, y)];
    }
    int Shown(int x, int y) { return At(doc->DisplayFrame, x, y); }

    // Cells of plane p that hold a nonzero code.
    int Marked(int plane)
    {
        int count = 0;
        const unsigned char* bytes = doc->DisplayPlane(plane);
        for (int k = 0; k < LatticePlaneBytes; ++k)
            count += bytes[k] != 0;
        return count;
    }
};

TEST_F(Lattice, CodeTable)
{
    EXPECT_EQ(LatticeEmpty, 0);
    EXPECT_EQ(LatticeRedAlive, 1);
    EXPECT_EQ(LatticeBlueAlive, 2);
    EXPECT_EQ(LatticeRedInjured, 3);
    EXPECT_EQ(LatticeBlueInjured, 4);
    EXPECT_EQ(LatticeTerrain, 5);
    EXPECT_EQ(LatticeRedDead, 'V');
    EXPECT_EQ(LatticeBlueDead, 'W');
    EXPECT_EQ(LatticeRedDeadPassable, 'X');
    EXPECT_EQ(LatticeBlueDeadPassable, 'Y');
    EXPECT_EQ(LatticeRedCommander, 'b');
    EXPECT_EQ(LatticeGoalFlag, 'c');
    EXPECT_EQ(LatticeRedDead, 86);
    EXPECT_EQ(LatticeGoalFlag, 99);
}

TEST_F(Lattice, AddressingOnBattleSizeTen)
{
    EXPECT_EQ(LatticePlaneBytes, 23104);
    EXPECT_EQ(LatticeOffset(1, 0, 0), 23104);
    EXPECT_EQ(LatticeOffset(1, 151, 151), 2 * 23104 - 1);
    EXPECT_EQ(LatticeCellOffset(12, 1, 1), 152 * 1 + 10);
    EXPECT_EQ(LatticeCellOffset(12, 10, 10), 152 * 10 + 1);

    Agent(Side::Red, 1, 1, 1, Alive);
    Agent(Side::Blue, 1, 10, 10, Injured);
    doc->RenderDisplayGrid();
    ASSERT_EQ(doc->DisplayFrame, 1);
    const unsigned char* grid = doc->DisplayGrid.get();
    EXPECT_EQ(grid[23104 + 152 * 1 + 10], LatticeRedAlive);
    EXPECT_EQ(grid[23104 + 152 * 10 + 1], LatticeBlueInjured);
    EXPECT_EQ(Marked(1), 2);
}

TEST_F(Lattice, ClearLatticeZeroesBothPlanesAndStep)
{
    std::memset(doc->DisplayGrid.get(), 7, 2 * LatticePlaneBytes);
    doc->DisplayFrame = 1;
    doc->RunHeader.CurrentStep = 40;
    doc->ClearLattice();
    EXPECT_EQ(doc->DisplayFrame, 0);
    EXPECT_EQ(doc->RunHeader.CurrentStep, 0);
    EXPECT_EQ(Marked(0), 0);
    EXPECT_EQ(Marked(1), 0);
}

TEST_F(Lattice, LiveFrameCodesAndPlaneFlip)
{
    Terrain(3, 3, PassableII);
    Terrain(4, 4, PassableI);
    Terrain(5, 5, Pillar);
    doc->Battlefield.TerrainMode = 1;
    Agent(Side::Red, 1, 1, 2, Alive);
    Agent(Side::Red, 2, 2, 2, Injured);
    Agent(Side::Red, 3, 3, 3, Dead);  // on type 4
    Agent(Side::Red, 4, 6, 6, Dead);
    Agent(Side::Blue, 1, 7, 2, Alive);
    Agent(Side::Blue, 2, 8, 2, Injured);
    Agent(Side::Blue, 3, 4, 4, Dead);  // on type 3
    Agent(Side::Blue, 4, 5, 5, Dead);  // on type 2: below 3

    doc->RenderDisplayGrid();
    EXPECT_EQ(doc->DisplayFrame, 1);
    EXPECT_EQ(Shown(1, 2), LatticeRedAlive);
    EXPECT_EQ(Shown(2, 2), LatticeRedInjured);
    EXPECT_EQ(Shown(3, 3), LatticeRedDeadPassable);
    EXPECT_EQ(Shown(6, 6), LatticeRedDead);
    EXPECT_EQ(Shown(7, 2), LatticeBlueAlive);
    EXPECT_EQ(Shown(8, 2), LatticeBlueInjured);
    EXPECT_EQ(Shown(4, 4), LatticeBlueDeadPassable);
    EXPECT_EQ(Shown(5, 5), LatticeBlueDead);
    EXPECT_EQ(Marked(1), 8);

    // The next frame goes to the other plane.
    doc->RedForce.AgentX[1] = 9;
    doc->RenderDisplayGrid();
    EXPECT_EQ(doc->DisplayFrame, 0);
    EXPECT_EQ(At(0, 9, 2), LatticeRedAlive);
    EXPECT_EQ(At(0, 1, 2), LatticeEmpty);
    EXPECT_EQ(At(1, 1, 2), LatticeRedAlive);  // the older frame is left as it was
}

TEST_F(Lattice, LiveFrameStampsTerrainOverTheWholePlane)
{
    Terrain(2, 3, Lava);
    Terrain(0, 4, PassableIII);  // a border cell that lies on the terrain grid
    doc->RenderDisplayGrid();
    EXPECT_EQ(Marked(1), 0);  // no terrain without a terrain mode

    doc->Battlefield.TerrainMode = 2;
    doc->RenderDisplayGrid();
    EXPECT_EQ(At(0, 2, 3), LatticeTerrain);
    EXPECT_EQ(At(0, 0, 4), LatticeTerrain);
    EXPECT_EQ(Marked(0), 2);
}

TEST_F(Lattice, FullSizeBorderOffTheTerrainGridIsOpen)
{
    SetSize(150);
    doc->Battlefield.TerrainMode = 1;
    for (int k = 0; k < GridCells; ++k)
        doc->Battlefield.TerrainType[k] = PassableI;
    doc->RenderDisplayGrid();
    const unsigned char* plane = doc->DisplayPlane(1);
    // Row 151 and column 0 (y = 151) lie off the 151 x 151 terrain grid.
    EXPECT_EQ(plane[152 * 151 + 5], LatticeEmpty);
    EXPECT_EQ(plane[152 * 5 + 0], LatticeEmpty);
    EXPECT_EQ(plane[152 * 5 + 151], LatticeTerrain);  // y = 0
    EXPECT_EQ(plane[152 * 0 + 1], LatticeTerrain);
    EXPECT_EQ(Marked(1), 151 * 151);
}

// A dead agent shows only where no living one stands, whatever their
// indices and sides; among the living BLUE is written after RED, and of two
// dead BLUE after RED too. Every frame builder keeps the rule: the live frame
// with the trace off and on, a stored run's replay and a frame file's
// playback (whose dead leave no mark). Under whatever shows, each side's own
// death code stays, for the kill-only view: 'X' for the RED agent that fell
// on passable terrain (type 4) in the live frame, 'V' in the stored run's.
TEST_F(Lattice, ALivingAgentIsDrawnOverTheDeadOnItsCell)
{
    Terrain(7, 7, PassableII);
    struct Placed {
        Side side;
        int i, x, y, state;
    };
    const Placed agents[] = {
        {Side::Red, 1, 4, 4, Alive},   {Side::Blue, 1, 4, 4, Dead},     // a dead BLUE after a living RED
        {Side::Red, 2, 5, 5, Injured}, {Side::Red, 3, 5, 5, Dead},      // a dead RED after a living RED
        {Side::Blue, 2, 6, 6, Alive},  {Side::Blue, 3, 6, 6, Dead},     // the same within BLUE
        {Side::Red, 4, 7, 7, Dead},    {Side::Blue, 4, 7, 7, Injured},  // a living BLUE after a dead RED
        {Side::Red, 5, 8, 8, Dead},    {Side::Red, 6, 8, 8, Alive},     // a living RED after a dead RED
        {Side::Blue, 5, 8, 8, Injured}, {Side::Blue, 6, 8, 8, Dead},    // ... and BLUE over it, a dead BLUE last
        {Side::Red, 7, 9, 9, Dead},    {Side::Blue, 7, 9, 9, Dead},     // no living: the dead BLUE
    };
    for (const Placed& a : agents) {
        Agent(a.side, a.i, a.x, a.y, a.state);
        Captured(a.side, 3, a.i, a.x, a.y, a.state);
    }
    doc->RunHeader.CurrentStep = 3;
    doc->RunHeader.LatticeSize = 10;
    doc->RunHeader.RedCount = 7;
    doc->RunHeader.BlueCount = 7;
    const int deadBlue = LatticeBlueDead;
    struct Expected {
        int x, y, live, replay, playback;
    };
    const Expected cells[] = {
        {4, 4, LatticeRedAlive, LatticeRedAlive, LatticeRedAlive},
        {5, 5, LatticeRedInjured, LatticeRedInjured, LatticeRedInjured},
        {6, 6, LatticeBlueAlive, LatticeBlueAlive, LatticeBlueAlive},
        {7, 7, LatticeBlueInjured, LatticeBlueInjured, LatticeBlueInjured},
        {8, 8, LatticeBlueInjured, LatticeBlueInjured, LatticeBlueInjured},
        {9, 9, deadBlue, deadBlue, LatticeEmpty},
    };
    const int V = LatticeRedDead, W = LatticeBlueDead, X = LatticeRedDeadPassable;
    struct Kills {
        int x, y, liveRed, replayRed, blue;
    };
    const Kills kills[] = {{4, 4, 0, 0, W}, {5, 5, V, V, 0}, {6, 6, 0, 0, W},
                           {7, 7, X, V, 0}, {8, 8, V, V, W}, {9, 9, V, V, W}};
    auto kill = [&](Side side, int x, int y) {
        return doc->GetKillCell(doc->DisplayFrame, side, x, LatticeColumn(12, y));
    };
    auto expectKills = [&](const char* frame, bool replay) {
        for (const Kills& k : kills) {
            EXPECT_EQ(kill(Side::Red, k.x, k.y), replay ? k.replayRed : k.liveRed) << frame << ", cell " << k.x;
            EXPECT_EQ(kill(Side::Blue, k.x, k.y), k.blue) << frame << ", cell " << k.x;
        }
    };
    for (int trace : {0, 1}) {
        doc->TraceOn = trace;
        doc->RenderDisplayGrid();
        for (const Expected& e : cells)
            EXPECT_EQ(Shown(e.x, e.y), e.live) << "live, trace " << trace << ", cell " << e.x;
        expectKills(trace ? "live, trace" : "live", false);
        doc->BuildReplayFrame();
        for (const Expected& e : cells)
            EXPECT_EQ(Shown(e.x, e.y), e.replay) << "replay, trace " << trace << ", cell " << e.x;
        expectKills(trace ? "replay, trace" : "replay", true);
    }
    doc->BuildPlaybackFrame();
    for (const Expected& e : cells)
        EXPECT_EQ(Shown(e.x, e.y), e.playback) << "playback, cell " << e.x;
    // Stored frames played backwards to one where every agent lives keep no
    // kill in either plane, trace off.
    doc->TraceOn = 0;
    for (const Placed& a : agents)
        Captured(a.side, 2, a.i, a.x, a.y, Alive);
    doc->RunHeader.CurrentStep = 2;
    for (int frame = 0; frame < 2; ++frame) {
        doc->BuildReplayFrame();
        for (const Kills& k : kills)
            EXPECT_EQ(kill(Side::Red, k.x, k.y) + kill(Side::Blue, k.x, k.y), 0) << "all alive, cell " << k.x;
    }

    // A living RED local commander keeps its mark over a dead BLUE.
    doc->RedCommanderMarks = 1;
    doc->RedLocal.NumLocalCommanders = 1;
    doc->RedLocal.CommanderAgent[1] = 1;
    doc->RenderDisplayGrid();
    EXPECT_EQ(Shown(4, 4), LatticeRedCommander);
}

TEST_F(Lattice, RedCommanderHighlight)
{
    Agent(Side::Red, 1, 2, 2, Alive);
    Agent(Side::Red, 2, 3, 3, Injured);
    Agent(Side::Red, 3, 4, 4, Dead);
    Agent(Side::Blue, 1, 3, 3, Alive);
    Agent(Side::Blue, 2, 5, 5, Alive);
    doc->RedLocal.NumLocalCommanders = 3;
    doc->RedLocal.CommanderAgent[1] = 1;
    doc->RedLocal.CommanderAgent[2] = 2;
    doc->RedLocal.CommanderAgent[3] = 3;
    doc->BlueLocal.NumLocalCommanders = 1;
    doc->BlueLocal.CommanderAgent[1] = 2;

    doc->RenderDisplayGrid();
    EXPECT_EQ(Shown(2, 2), LatticeRedAlive);  // switch off

    doc->RedCommanderMarks = 1;
    doc->BlueCommanderMarks = 1;
    doc->RenderDisplayGrid();
    EXPECT_EQ(Shown(2, 2), LatticeRedCommander);
    EXPECT_EQ(Shown(3, 3), LatticeBlueAlive);  // BLUE is written after the highlight
    EXPECT_EQ(Shown(4, 4), LatticeRedDead);    // dead commanders are not highlighted
    EXPECT_EQ(Shown(5, 5), LatticeBlueAlive);  // BLUE commanders keep their own code
}

TEST_F(Lattice, TraceAccumulatesEverySecondFrame)
{
    doc->TraceOn = 1;
    Agent(Side::Red, 1, 1, 1, Alive);
    for (int step = 0; step < 4; ++step) {
        doc->RedForce.AgentX[1] = 1 + step;
        doc->RenderDisplayGrid();
    }
    // Frames 1 and 3 went to plane 1, frames 2 and 4 to plane 0.
    EXPECT_EQ(doc->DisplayFrame, 0);
    EXPECT_EQ(At(1, 1, 1), LatticeRedAlive);
    EXPECT_EQ(At(1, 3, 1), LatticeRedAlive);
    EXPECT_EQ(At(0, 2, 1), LatticeRedAlive);
    EXPECT_EQ(At(0, 4, 1), LatticeRedAlive);
    EXPECT_EQ(Marked(0), 2);
    EXPECT_EQ(Marked(1), 2);

    // Without the trace a frame shows only the present.
    doc->TraceOn = 0;
    doc->RenderDisplayGrid();
    EXPECT_EQ(Marked(1), 1);
    EXPECT_EQ(At(1, 4, 1), LatticeRedAlive);
}

TEST_F(Lattice, DeadRedOnTypeIVLiveAndReplayCodes)
{
    doc->Battlefield.TerrainMode = 1;
    Terrain(5, 6, PassableII);
    Agent(Side::Red, 1, 5, 6, Dead);
    doc->RenderDisplayGrid();
    EXPECT_EQ(Shown(5, 6), LatticeRedDeadPassable);

    doc->RunHeader.CurrentStep = 7;
    Captured(Side::Red, 7, 1, 5, 6, Dead);
    doc->BuildReplayFrame();
    EXPECT_EQ(Shown(5, 6), LatticeRedDead);
}

TEST_F(Lattice, ReplayFrameFromCaptureRow)
{
    doc->RunHeader.CurrentStep = 12;
    doc->RedForce.NumAgents = 3;
    doc->BlueForce.NumAgents = 3;
    Captured(Side::Red, 12, 1, 1, 1, Alive);
    Captured(Side::Red, 12, 2, 2, 2, Injured);
    Captured(Side::Red, 12, 3, 3, 3, Dead);
    Captured(Side::Blue, 12, 1, 4, 4, Alive);
    Captured(Side::Blue, 12, 2, 5, 5, Injured);
    Captured(Side::Blue, 12, 3, 6, 6, Dead);
    Captured(Side::Red, 11, 1, 9, 9, Alive);  // another step: not shown
    doc->RedCommanderMarks = 1;
    doc->RedLocal.NumLocalCommanders = 1;
    doc->RedLocal.CommanderAgent[1] = 1;
    doc->RedForce.AgentState[1] = Alive;
    doc->RedForce.AgentX[1] = 1;
    doc->RedForce.AgentY[1] = 1;

    const int before = doc.Host.InvalidateCount;
    doc->BuildReplayFrame();
    EXPECT_EQ(doc->DisplayFrame, 1);
    EXPECT_EQ(doc.Host.InvalidateCount, before + 1);
    EXPECT_EQ(Shown(1, 1), LatticeRedAlive);  // no commander highlight in a replay
    EXPECT_EQ(Shown(2, 2), LatticeRedInjured);
    EXPECT_EQ(Shown(3, 3), LatticeRedDead);
    EXPECT_EQ(Shown(4, 4), LatticeBlueAlive);
    EXPECT_EQ(Shown(5, 5), LatticeBlueInjured);
    EXPECT_EQ(Shown(6, 6), LatticeBlueDead);
    EXPECT_EQ(Marked(1), 6);
}

TEST_F(Lattice, PlaybackFrameUsesHeaderSizeAndDropsTheDead)
{
    SetSize(20);
    doc->RunHeader.LatticeSize = 10;
    doc->RunHeader.RedCount = 2;
    doc->RunHeader.BlueCount = 2;
    doc->RunHeader.CurrentStep = 3;
    doc->Battlefield.TerrainMode = 1;
    Terrain(2, 2, PassableI);  // frame files draw no terrain
    Captured(Side::Red, 3, 1, 1, 1, Alive);
    Captured(Side::Red, 3, 2, 2, 3, Dead);
    Captured(Side::Blue, 3, 1, 10, 10, Injured);
    Captured(Side::Blue, 3, 2, 4, 4, Dead);
    std::memset(doc->DisplayPlane(1), 33, LatticePlaneBytes);

    doc->BuildPlaybackFrame();
    EXPECT_EQ(doc->DisplayFrame, 1);
    EXPECT_EQ(doc.Host.InvalidateCount, 1);
    const unsigned char* plane = doc->DisplayPlane(1);
    EXPECT_EQ(plane[LatticeCellOffset(12, 1, 1)], LatticeRedAlive);
    EXPECT_EQ(plane[LatticeCellOffset(12, 10, 10)], LatticeBlueInjured);
    EXPECT_EQ(plane[LatticeCellOffset(12, 2, 3)], LatticeEmpty);
    EXPECT_EQ(plane[LatticeCellOffset(12, 4, 4)], LatticeEmpty);
    EXPECT_EQ(plane[LatticeCellOffset(12, 2, 2)], LatticeEmpty);
    // Only rows and columns 0..11 are cleared.
    EXPECT_EQ(plane[152 * 12 + 3], 33);
    EXPECT_EQ(plane[152 * 3 + 12], 33);
}

// Positions, counts and steps of a stored run or frame file are file data.
TEST_F(Lattice, CapturedFramesNeverLeaveTheBattlefield)
{
    doc->RunHeader.LatticeSize = 10;
    doc->RunHeader.CurrentStep = 2;
    doc->RunHeader.RedCount = 5;
    doc->RunHeader.BlueCount = 0;
    Captured(Side::Red, 2, 1, 0, 5, Alive);
    Captured(Side::Red, 2, 2, 11, 5, Alive);
    Captured(Side::Red, 2, 3, 5, 0, Alive);
    Captured(Side::Red, 2, 4, 5, 11, Alive);
    Captured(Side::Red, 2, 5, -200000, 1000000, Alive);
    doc->BuildPlaybackFrame();
    EXPECT_EQ(Marked(1), 0);

    doc->RedForce.NumAgents = 5;
    doc->BuildReplayFrame();
    EXPECT_EQ(Marked(0), 0);

    // Counts beyond the buffers' 351 agent columns read no further.
    doc->RunHeader.RedCount = 100000;
    doc->RunHeader.BlueCount = 352;
    doc->RedForce.NumAgents = 5000;
    doc->BlueForce.NumAgents = 400;
    doc->RunHeader.CurrentStep = CaptureRows - 1;  // the last row: a column past 351 would leave the buffer
    Captured(Side::Red, CaptureRows - 1, CaptureRows - 1, 3, 3, Alive);
    doc->BuildPlaybackFrame();
    EXPECT_EQ(Shown(3, 3), LatticeRedAlive);
    doc->BuildReplayFrame();
    EXPECT_EQ(Shown(3, 3), LatticeRedAlive);
    doc->RenderDisplayGrid();  // live arrays stop at agent 300

    // A step outside the capture rows shows no agents.
    for (int t : {-1, CaptureRows, 100000}) {
        doc->RunHeader.CurrentStep = t;
        doc->BuildPlaybackFrame();
        EXPECT_EQ(Marked(doc->DisplayFrame), 0);
        doc->BuildReplayFrame();
        EXPECT_EQ(Marked(doc->DisplayFrame), 0);
    }
}

TEST_F(Lattice, BattleSizeOutsideRangeStaysInTheLattice)
{
    Agent(Side::Red, 1, 151, 151, Alive);
    Agent(Side::Blue, 1, 150, 150, Alive);
    doc->Battlefield.TerrainMode = 1;
    for (int size : {-5, 0, 151, 1000000}) {
        doc->Battlefield.BattleSize = size;
        doc->RunHeader.LatticeSize = size;
        doc->LatticeExtentX = size + 2;
        doc->LatticeExtentY = size + 2;
        doc->RenderDisplayGrid();
        doc->BuildReplayFrame();
        doc->BuildPlaybackFrame();
        doc->RebuildLatticeFromPlayback();
        doc->UpdateActivityMap();
    }
    // A size beyond 150 is drawn as 150.
    doc->Battlefield.BattleSize = 1000000;
    doc->RenderDisplayGrid();
    const unsigned char* plane = doc->DisplayPlane(doc->DisplayFrame);
    EXPECT_EQ(plane[LatticeCellOffset(152, 150, 150)], LatticeBlueAlive);
    EXPECT_EQ(Marked(doc->DisplayFrame), 1);
}

TEST_F(Lattice, RebuildFromPlaybackDrawsRowOne)
{
    doc->DisplayFrame = 1;
    doc->RunHeader.CurrentStep = 30;
    doc->RunHeader.RedCount = 2;
    doc->RunHeader.BlueCount = 2;
    doc->Battlefield.TerrainMode = 1;
    Terrain(7, 7, PassableI);
    doc->RedForce.GoalFlagX = 8;
    doc->RedForce.GoalFlagY = 8;
    Captured(Side::Red, 1, 1, 1, 1, Alive);
    Captured(Side::Red, 1, 2, 2, 2, Injured);
    Captured(Side::Blue, 1, 1, 3, 3, Dead);
    Captured(Side::Blue, 1, 2, 4, 4, Injured);
    Captured(Side::Red, 0, 1, 9, 9, Alive);

    doc->RebuildLatticeFromPlayback();
    EXPECT_EQ(doc->DisplayFrame, 0);
    EXPECT_EQ(doc->RunHeader.CurrentStep, 0);
    EXPECT_EQ(At(0, 1, 1), LatticeRedAlive);
    EXPECT_EQ(At(0, 2, 2), LatticeRedAlive);
    EXPECT_EQ(At(0, 4, 4), LatticeBlueAlive);
    EXPECT_EQ(Marked(0), 3);  // no flags, no terrain, no dead
    EXPECT_EQ(Marked(1), 0);
}

// The resets run battlefield set-up first. In playback mode with hand-placed
// agents and terrain held from a file, set-up keeps agents and terrain where
// the test put them.
class LatticeReset : public Lattice {
protected:
    void SetUp() override
    {
        Lattice::SetUp();
        doc->RunMode = PlaybackMode;
        doc->DeploymentSource = RedHandPlacement;
        doc->Battlefield.TerrainMode = 2;
        doc->Battlefield.CellTerrainDefined = 1;
        doc->RedForce.GoalFlagX = 10;  // the BLUE flag
        doc->RedForce.GoalFlagY = 10;
        doc->BlueForce.GoalFlagX = 1;  // the RED flag
        doc->BlueForce.GoalFlagY = 1;
    }
};

TEST_F(LatticeReset, ResetReturnsToStepZeroWithTheStartPicture)
{
    Terrain(5, 5, Lava);
    Terrain(6, 6, PassableI);
    Agent(Side::Red, 1, 2, 3, Alive);
    Agent(Side::Red, 2, 3, 3, Injured);  // not told apart from the alive
    Agent(Side::Red, 3, 4, 3, Dead);
    Agent(Side::Blue, 1, 8, 8, Injured);
    Agent(Side::Blue, 2, 6, 6, Alive);  // on terrain: the agent is written last
    std::memset(doc->DisplayGrid.get(), 9, 2 * LatticePlaneBytes);
    doc->DisplayFrame = 1;
    doc->RunHeader.CurrentStep = 77;

    doc->ResetBattlefield();
    EXPECT_EQ(doc->RunHeader.CurrentStep, 0);
    EXPECT_EQ(doc->DisplayFrame, 0);
    EXPECT_EQ(At(0, 10, 10), LatticeGoalFlag);
    EXPECT_EQ(At(0, 1, 1), LatticeGoalFlag);
    EXPECT_EQ(At(0, 5, 5), LatticeTerrain);
    EXPECT_EQ(At(0, 2, 3), LatticeRedAlive);
    EXPECT_EQ(At(0, 3, 3), LatticeRedAlive);
    EXPECT_EQ(At(0, 4, 3), LatticeEmpty);
    EXPECT_EQ(At(0, 8, 8), LatticeBlueAlive);
    EXPECT_EQ(At(0, 6, 6), LatticeBlueAlive);
    EXPECT_EQ(Marked(0), 7);
    EXPECT_EQ(Marked(1), 0);

    // The first frame after a reset goes to plane 1.
    doc->RenderDisplayGrid();
    EXPECT_EQ(doc->DisplayFrame, 1);
}

TEST_F(LatticeReset, TerrainCoversAFlagOnIt)
{
    Terrain(10, 10, PassableII);
    doc->ResetBattlefield();
    EXPECT_EQ(At(0, 10, 10), LatticeTerrain);
    EXPECT_EQ(At(0, 1, 1), LatticeGoalFlag);

    doc->Battlefield.TerrainMode = 0;  // no terrain drawn without a terrain mode
    doc->ResetBattlefield();
    EXPECT_EQ(At(0, 10, 10), LatticeGoalFlag);
}

TEST_F(LatticeReset, ResetRestoresModifiedAgentsOnlyWithTerrain)
{
    for (Side side : {Side::Red, Side::Blue}) {
        Agent(side, 1, 3, 3 + SideCode(side), Alive);
        doc->Force(side).SensorRangeAlive[1] = 2;
        doc->Force(side).CommRange = 1;
        doc->BaseCopies(side).BaseSensorRangeAlive[1] = 7;
        doc->BaseCopies(side).BaseCommRange[1] = 12;
        doc->TerrainModified(side)[1] = 1;
    }
    doc->Battlefield.TerrainMode = 0;
    doc->ResetBattlefield();
    for (Side side : {Side::Red, Side::Blue}) {
        EXPECT_EQ(doc->Force(side).SensorRangeAlive[1], 2);
        EXPECT_EQ(doc->TerrainModified(side)[1], 1);
    }

    doc->Battlefield.TerrainMode = 2;
    doc->ResetBattlefield();
    for (Side side : {Side::Red, Side::Blue}) {
        EXPECT_EQ(doc->Force(side).SensorRangeAlive[1], 7);
        EXPECT_EQ(doc->Force(side).CommRange, 12);
        EXPECT_EQ(doc->TerrainModified(side)[1], 0);
    }
}

TEST_F(LatticeReset, ResetClearsTheActivityPlanesOverTheBattlefield)
{
    for (auto& grid : doc->ActivityGrids)
        for (int& cell : grid)
            cell = 3;
    doc->ResetBattlefield();
    for (int plane = 0; plane < 3; ++plane) {
        EXPECT_EQ(doc->ActivityGrids[plane][LatticeStride * 1 + 1], 0);
        EXPECT_EQ(doc->ActivityGrids[plane][LatticeStride * 10 + 10], 0);
        EXPECT_EQ(doc->ActivityGrids[plane][LatticeStride * 11 + 10], 3);
        EXPECT_EQ(doc->ActivityGrids[plane][LatticeStride * 10 + 11], 3);
        EXPECT_EQ(doc->ActivityGrids[plane][0], 3);
    }
}

TEST_F(LatticeReset, FlagsOffTheBattlefieldAreNotDrawn)
{
    doc->RedForce.GoalFlagX = 11;
    doc->RedForce.GoalFlagY = 5;
    doc->BlueForce.GoalFlagX = -3;
    doc->BlueForce.GoalFlagY = 500;
    doc->ResetBattlefield();
    EXPECT_EQ(Marked(0), 0);
}

// With random deployment the start picture shows where set-up put everyone.
TEST_F(LatticeReset, ResetAfterRandomDeploymentShowsEveryAgent)
{
    doc->RunMode = InteractiveMode;
    doc->DeploymentSource = RandomDeployment;
    doc->Battlefield.TerrainMode = 0;
    doc->RandomState = -17;
    CBattlefield& field = doc->Battlefield;
    field.R_box_l[1] = field.R_box_w[1] = field.B_box_l[1] = field.B_box_w[1] = 4;
    field.RED_cen_x[1] = field.RED_cen_y[1] = 3;
    field.BLUE_cen_x[1] = field.BLUE_cen_y[1] = 7;
    for (Side side : {Side::Red, Side::Blue}) {
        doc->Force(side).NumAgents = 5;
        for (int i = 1; i <= 5; ++i)
            doc->Force(side).AgentSquad[i] = 1;
    }
    doc->ResetBattlefield();
    EXPECT_EQ(doc->RunHeader.CurrentStep, 0);
    for (Side side : {Side::Red, Side::Blue})
        for (int i = 1; i <= 5; ++i) {
            const CForce& f = doc->Force(side);
            EXPECT_EQ(At(0, f.AgentX[i], f.AgentY[i]), side == Side::Red ? LatticeRedAlive : LatticeBlueAlive);
        }
    EXPECT_EQ(Marked(0), 10 + 2 - (At(0, 1, 1) != LatticeGoalFlag) - (At(0, 10, 10) != LatticeGoalFlag));
}

TEST_F(LatticeReset, RebuildFromSavedDrawsCaptureRowZero)
{
    Terrain(5, 5, PassableIII);
    Agent(Side::Red, 1, 9, 9, Alive);  // live positions are not used
    Agent(Side::Red, 2, 9, 8, Alive);
    Agent(Side::Blue, 1, 8, 9, Alive);
    Captured(Side::Red, 0, 1, 2, 2, Alive);
    Captured(Side::Red, 0, 2, 3, 2, Dead);
    Captured(Side::Blue, 0, 1, 4, 2, Injured);
    Captured(Side::Red, 1, 1, 7, 7, Alive);  // a later row
    doc->RedForce.SensorRangeAlive[1] = 2;
    doc->BaseCopies(Side::Red).BaseSensorRangeAlive[1] = 7;
    doc->TerrainModified(Side::Red)[1] = 1;
    doc->ActivityGrids[2][LatticeStride * 3 + 3] = 5;
    doc->RunHeader.CurrentStep = 40;

    doc->RebuildLatticeFromSaved();
    EXPECT_EQ(doc->RunHeader.CurrentStep, 0);
    EXPECT_EQ(doc->DisplayFrame, 0);
    EXPECT_EQ(At(0, 10, 10), LatticeGoalFlag);
    EXPECT_EQ(At(0, 1, 1), LatticeGoalFlag);
    EXPECT_EQ(At(0, 5, 5), LatticeTerrain);
    EXPECT_EQ(At(0, 2, 2), LatticeRedAlive);
    EXPECT_EQ(At(0, 4, 2), LatticeBlueAlive);
    EXPECT_EQ(Marked(0), 5);
    // Terrain is only drawn: no restore, marks and activity kept.
    EXPECT_EQ(doc->RedForce.SensorRangeAlive[1], 2);
    EXPECT_EQ(doc->TerrainModified(Side::Red)[1], 1);
    EXPECT_EQ(doc->ActivityGrids[2][LatticeStride * 3 + 3], 5);
}

TEST_F(LatticeReset, RebuildFromSavedKeepsToTheBuffers)
{
    doc->RedForce.NumAgents = 100000;
    doc->BlueForce.NumAgents = -4;
    Captured(Side::Red, 0, CaptureRows - 1, 10, 500, Alive);
    Captured(Side::Red, 0, 1, 0, 0, Alive);
    doc->RebuildLatticeFromSaved();
    EXPECT_EQ(Marked(0), 2);  // the flags only
}

// Plain form of the activity map, kept as the reference.
void NaiveActivityMap(const int (&grids)[3][LatticeCells], int (&map)[LatticeCells], int size, int radius)
{
    for (int x = 1; x <= size; ++x)
        for (int y = 1; y <= size; ++y)
            for (int i = x - radius; i <= x + radius; ++i)
                for (int j = y - radius; j <= y + radius; ++j)
                    if (i >= 1 && j >= 1 && i <= size && j <= size)
                        map[LatticeStride * x + y] += grids[0][LatticeStride * i + j] + grids[1][LatticeStride * i + j];
}

TEST_F(Lattice, ActivityMapRadiusZeroAddsCellByCell)
{
    doc->ActivityRadius = 0;
    doc->ActivityGrids[0][LatticeStride * 2 + 3] = 4;
    doc->ActivityGrids[1][LatticeStride * 2 + 3] = 5;
    doc->ActivityGrids[1][LatticeStride * 10 + 10] = 1;
    doc->ActivityGrids[2][LatticeStride * 2 + 3] = 100;
    doc->UpdateActivityMap();
    EXPECT_EQ(doc->ActivityGrids[2][LatticeStride * 2 + 3], 109);
    EXPECT_EQ(doc->ActivityGrids[2][LatticeStride * 10 + 10], 1);
    EXPECT_EQ(doc->ActivityGrids[2][LatticeStride * 2 + 4], 0);
    doc->UpdateActivityMap();  // the map accumulates
    EXPECT_EQ(doc->ActivityGrids[2][LatticeStride * 2 + 3], 118);
}

TEST_F(Lattice, ActivityMapClipsAtTheEdges)
{
    doc->ActivityRadius = 1;
    for (int x = 0; x < LatticeStride; ++x)
        for (int y = 0; y < LatticeStride; ++y)
            doc->ActivityGrids[0][LatticeStride * x + y] = 1;  // also off the battlefield: never counted
    doc->UpdateActivityMap();
    EXPECT_EQ(doc->ActivityGrids[2][LatticeStride * 1 + 1], 4);
    EXPECT_EQ(doc->ActivityGrids[2][LatticeStride * 1 + 5], 6);
    EXPECT_EQ(doc->ActivityGrids[2][LatticeStride * 5 + 5], 9);
    EXPECT_EQ(doc->ActivityGrids[2][LatticeStride * 10 + 10], 4);
    EXPECT_EQ(doc->ActivityGrids[2][LatticeStride * 11 + 11], 0);
    EXPECT_EQ(doc->ActivityGrids[2][LatticeStride * 0 + 3], 0);
}

TEST_F(Lattice, ActivityMapMatchesThePlainSum)
{
    static int reference[LatticeCells];
    unsigned seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % 4);
    };
    for (int size : {1, 7, 30, 150}) {
        SetSize(size);
        for (int radius : {0, 1, 2, 5, 9, 40}) {
            if (size == 150 && radius > 9)
                continue;
            for (int p = 0; p < 2; ++p)
                for (int k = 0; k < LatticeCells; ++k)
                    doc->ActivityGrids[p][k] = next();
            for (int k = 0; k < LatticeCells; ++k)
                reference[k] = doc->ActivityGrids[2][k] = k % 5;
            doc->ActivityRadius = radius;
            doc->UpdateActivityMap();
            NaiveActivityMap(doc->ActivityGrids, reference, size, radius);
            ASSERT_EQ(0, std::memcmp(reference, doc->ActivityGrids[2], sizeof reference))
                << "size " << size << " radius " << radius;
        }
    }
}

}  // namespace
}  // namespace brevimar
