// The display lattice and its builders. A builder writes the plane that is
// not on show and then flips DisplayFrame, so the view always draws a whole
// frame; the resets write plane 0 and return the run to step 0.
//
// Positions in the capture buffers come from stored runs and frame files,
// so every write goes through a plane that refuses cells off the
// battlefield, and every count and step read from them is held to the
// buffers' size.
#include <cstring>

#include "core/Document.h"
#include "core/LatticeCodes.h"

namespace brevimar {

namespace {

int Clamped(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

// Extent of the lattice for a battle size: the size plus a border on each side.
int ExtentForSize(int battleSize) { return Clamped(battleSize, 0, MaxBattleSize) + 2; }

int TerrainAt(const CBattlefield& field, int x, int y)
{
    if (x < 0 || y < 0 || x >= GridStride || y >= GridStride)
        return OpenGround;
    return field.TerrainType[GridIndex(x, y)];
}

// One plane seen through its extents: rows 0..ExtentX - 1, columns
// 0..ExtentY - 1, battlefield cells 1..ExtentX - 2 by 1..ExtentY - 2. Beside
// the codes it keeps each side's death codes, which the living drawn over
// them hide from the picture of the agents but not from the kill-only view.
struct LatticePlane {
    unsigned char* Bytes;
    unsigned char* Kills[2];  // RED's, BLUE's
    int ExtentX;
    int ExtentY;

    bool Holds(int x, int y) const { return x >= 1 && y >= 1 && x <= ExtentX - 2 && y <= ExtentY - 2; }

    void Put(int x, int y, unsigned char code)
    {
        if (Holds(x, y))
            Bytes[LatticeStride * x + LatticeColumn(ExtentY, y)] = code;
    }

    void PutDead(Side side, int x, int y, unsigned char code)
    {
        if (!Holds(x, y))
            return;
        const int at = LatticeStride * x + LatticeColumn(ExtentY, y);
        Bytes[at] = code;
        Kills[SideCode(side) - 1][at] = code;
    }

    // Clears the plane, its death codes with it, over its extents and/or
    // stamps every terrain cell.
    // Lattice cell (r, c) shows battlefield cell (r, ExtentY - 1 - c); border
    // cells off the terrain grid count as open.
    void PaintBackground(const CBattlefield& field, bool clear, bool terrain)
    {
        for (int r = 0; r < ExtentX; ++r) {
            unsigned char* row = Bytes + LatticeStride * r;
            if (clear) {
                std::memset(row, LatticeEmpty, static_cast<std::size_t>(ExtentY));
                for (unsigned char* kills : Kills)
                    std::memset(kills + LatticeStride * r, LatticeEmpty, static_cast<std::size_t>(ExtentY));
            }
            if (!terrain || r >= GridStride)
                continue;
            const int* types = field.TerrainType + GridStride * r;
            for (int c = 0; c < ExtentY; ++c) {
                const int y = ExtentY - 1 - c;
                if (y < GridStride && types[y] > OpenGround)
                    row[c] = LatticeTerrain;
            }
        }
    }
};

LatticePlane PlaneOfSize(CBrevimarDoc& doc, int plane, int battleSize)
{
    const int extent = ExtentForSize(battleSize);
    return {doc.DisplayPlane(plane), {doc.KillPlane(plane, Side::Red), doc.KillPlane(plane, Side::Blue)}, extent,
            extent};
}

// The resets work on plane 0 over the document's lattice extents.
LatticePlane StartPlane(CBrevimarDoc& doc)
{
    return {doc.DisplayPlane(0), {doc.KillPlane(0, Side::Red), doc.KillPlane(0, Side::Blue)},
            Clamped(doc.LatticeExtentX, 0, LatticeStride), Clamped(doc.LatticeExtentY, 0, LatticeStride)};
}

struct SideCodes {
    unsigned char Alive;
    unsigned char Injured;
    unsigned char Dead;          // on terrain 0..2, and in a stored-run frame
    unsigned char DeadPassable;  // on passable terrain
};

constexpr SideCodes RedCodes{LatticeRedAlive, LatticeRedInjured, LatticeRedDead, LatticeRedDeadPassable};
constexpr SideCodes BlueCodes{LatticeBlueAlive, LatticeBlueInjured, LatticeBlueDead, LatticeBlueDeadPassable};

const SideCodes& CodesOf(Side side) { return side == Side::Red ? RedCodes : BlueCodes; }

int AgentCount(int n) { return Clamped(n, 0, MaxAgents); }

// Agent columns of a capture row are 0..351, whatever a header claims.
int CaptureCount(int n) { return Clamped(n, 0, CaptureRows - 1); }

// Every frame draws the dead of both sides before any living agent, so that
// a living agent, of either side, is never hidden by a dead one on its cell;
// among the living, later writes still win.
void PutDeadAgents(LatticePlane& plane, CBrevimarDoc& doc, Side side)
{
    const CForce& f = doc.Force(side);
    const SideCodes& codes = CodesOf(side);
    const int n = AgentCount(f.NumAgents);
    for (int i = 1; i <= n; ++i) {
        if (f.AgentState[i] != Dead)
            continue;
        const int x = f.AgentX[i];
        const int y = f.AgentY[i];
        plane.PutDead(side, x, y, TerrainAt(doc.Battlefield, x, y) < PassableI ? codes.Dead : codes.DeadPassable);
    }
}

// The living of one side, told apart by state.
void PutLivingByState(LatticePlane& plane, CBrevimarDoc& doc, Side side)
{
    const CForce& f = doc.Force(side);
    const SideCodes& codes = CodesOf(side);
    const int n = AgentCount(f.NumAgents);
    for (int i = 1; i <= n; ++i) {
        const int state = f.AgentState[i];
        if (state == Alive)
            plane.Put(f.AgentX[i], f.AgentY[i], codes.Alive);
        else if (state == Injured)
            plane.Put(f.AgentX[i], f.AgentY[i], codes.Injured);
    }
}

// Living agents of the current force, as one start-picture code per side.
void PutLivingAgents(LatticePlane& plane, CBrevimarDoc& doc, Side side)
{
    const CForce& f = doc.Force(side);
    const int n = AgentCount(f.NumAgents);
    for (int i = 1; i <= n; ++i)
        if (f.AgentState[i] > Dead)
            plane.Put(f.AgentX[i], f.AgentY[i], CodesOf(side).Alive);
}

// What one pass over a capture row draws: every living agent alike (the
// start pictures), the living told apart by state, or the dead. A stored-run
// frame draws its dead in a pass before its living, as the live frame does;
// a frame file's dead leave no mark.
enum class CapturePass { StartPicture, Living, Dead };

// Agents 1..count of one capture row.
void PutCapturedAgents(LatticePlane& plane, CBrevimarDoc& doc, Side side, int step, int count, CapturePass pass)
{
    const int base = side == Side::Red ? RedCaptureState : BlueCaptureState;
    if (step < 0 || step >= CaptureRows || !doc.CaptureBuffer[base] || !doc.CaptureBuffer[base + 1] ||
        !doc.CaptureBuffer[base + 2])
        return;
    const SideCodes& codes = CodesOf(side);
    const int n = CaptureCount(count);
    for (int i = 1; i <= n; ++i) {
        const int state = doc.Capture(base, step, i);
        const int x = doc.Capture(base + 1, step, i);
        const int y = doc.Capture(base + 2, step, i);
        unsigned char code = LatticeEmpty;
        if (pass == CapturePass::Dead) {
            if (state == Dead)
                plane.PutDead(side, x, y, codes.Dead);
            continue;
        }
        if (pass == CapturePass::StartPicture)
            code = state > Dead ? codes.Alive : LatticeEmpty;
        else if (state == Alive)
            code = codes.Alive;
        else if (state == Injured)
            code = codes.Injured;
        if (code != LatticeEmpty)
            plane.Put(x, y, code);
    }
}

int NextPlane(int displayFrame) { return displayFrame == 0 ? 1 : 0; }

// Steps 1-4 of a return to the start: a fresh plane 0 with the two goal flags.
void StartPicture(CBrevimarDoc& doc, LatticePlane& plane)
{
    plane.PaintBackground(doc.Battlefield, true, false);
    // RED's goal is the BLUE flag and BLUE's the RED flag; both show alike.
    plane.Put(doc.RedForce.GoalFlagX, doc.RedForce.GoalFlagY, LatticeGoalFlag);
    plane.Put(doc.BlueForce.GoalFlagX, doc.BlueForce.GoalFlagY, LatticeGoalFlag);
}

}  // namespace

void CBrevimarDoc::ClearLattice()
{
    DisplayFrame = 0;
    RunHeader.CurrentStep = 0;
    if (DisplayGrid)
        std::memset(DisplayGrid.get(), LatticeEmpty, LatticePlanes * LatticePlaneBytes);
    if (KillGrid)
        std::memset(KillGrid.get(), LatticeEmpty, LatticePlanes * 2 * LatticePlaneBytes);
}

void CBrevimarDoc::ResetBattlefield()
{
    SetupBattlefield();
    DisplayFrame = 0;
    RunHeader.CurrentStep = 1;
    ClearLattice();  // so a reset run starts at step 0

    LatticePlane plane = StartPlane(*this);
    if (DisplayGrid)
        StartPicture(*this, plane);

    if (Battlefield.TerrainMode > 0) {
        for (Side side : {Side::Red, Side::Blue}) {
            const int n = AgentCount(Force(side).NumAgents);
            int* modified = TerrainModified(side);
            for (int i = 1; i <= n; ++i) {
                if (side == Side::Red)
                    RestoreRedAgentParams(i);
                else
                    RestoreBlueAgentParams(i);
                modified[i] = 0;
            }
        }
        if (DisplayGrid)
            plane.PaintBackground(Battlefield, false, true);
    }

    if (DisplayGrid) {
        PutLivingAgents(plane, *this, Side::Red);
        PutLivingAgents(plane, *this, Side::Blue);
    }

    const int size = Clamped(Battlefield.BattleSize, 0, MaxBattleSize);
    for (auto& grid : ActivityGrids)
        for (int x = 1; x <= size; ++x)
            std::memset(&grid[LatticeStride * x + 1], 0, sizeof(int) * static_cast<std::size_t>(size));

    // The run loop files each step as it reaches it, from step 1 on: step 0
    // of a fresh interactive run is filed here, however the run was started.
    if (RunMode == InteractiveMode && RecordStartAttrition)
        RecordStartAttrition(*this);
}

void CBrevimarDoc::RebuildLatticeFromSaved()
{
    SetupBattlefield();
    DisplayFrame = 0;
    RunHeader.CurrentStep = 0;
    ClearLattice();
    if (!DisplayGrid)
        return;

    LatticePlane plane = StartPlane(*this);
    StartPicture(*this, plane);
    // The stored run's agents carry their own parameters: terrain is only drawn.
    if (Battlefield.TerrainMode > 0)
        plane.PaintBackground(Battlefield, false, true);
    PutCapturedAgents(plane, *this, Side::Red, 0, NumRed(), CapturePass::StartPicture);
    PutCapturedAgents(plane, *this, Side::Blue, 0, NumBlue(), CapturePass::StartPicture);
}

void CBrevimarDoc::RebuildLatticeFromPlayback()
{
    DisplayFrame = 0;
    RunHeader.CurrentStep = 1;
    ClearLattice();
    if (!DisplayGrid)
        return;

    LatticePlane plane = StartPlane(*this);
    plane.PaintBackground(Battlefield, true, false);
    PutCapturedAgents(plane, *this, Side::Red, 1, RunHeader.RedCount, CapturePass::StartPicture);
    PutCapturedAgents(plane, *this, Side::Blue, 1, RunHeader.BlueCount, CapturePass::StartPicture);
}

void CBrevimarDoc::RenderDisplayGrid()
{
    if (!DisplayGrid)
        return;
    const int p = NextPlane(DisplayFrame);
    LatticePlane plane = PlaneOfSize(*this, p, Battlefield.BattleSize);
    // With the trace on the plane keeps what it held, so each plane gathers
    // the agents of every second frame.
    plane.PaintBackground(Battlefield, TraceOn == 0, Battlefield.TerrainMode > 0);

    // Among the living, later writes win: BLUE over RED.
    PutDeadAgents(plane, *this, Side::Red);
    PutDeadAgents(plane, *this, Side::Blue);
    PutLivingByState(plane, *this, Side::Red);
    if (RedCommanderMarks == 1) {
        const int commanders = Clamped(RedLocal.NumLocalCommanders, 0, MaxCommanders);
        for (int c = 1; c <= commanders; ++c) {
            const int a = RedLocal.CommanderAgent[c];
            if (a >= 1 && a <= MaxAgents && RedForce.AgentState[a] > Dead)
                plane.Put(RedForce.AgentX[a], RedForce.AgentY[a], LatticeRedCommander);
        }
    }
    // BLUE local commanders get no lattice code: the BLUE agents' own codes
    // would cover it in this same frame. The view marks them from
    // BlueCommanderMarks.
    PutLivingByState(plane, *this, Side::Blue);
    DisplayFrame = p;
}

void CBrevimarDoc::BuildReplayFrame()
{
    if (!DisplayGrid)
        return;
    const int p = NextPlane(DisplayFrame);
    LatticePlane plane = PlaneOfSize(*this, p, Battlefield.BattleSize);
    plane.PaintBackground(Battlefield, TraceOn == 0, Battlefield.TerrainMode > 0);
    const int t = RunHeader.CurrentStep;
    // A stored run does not say where the dead lay relative to terrain.
    for (CapturePass pass : {CapturePass::Dead, CapturePass::Living}) {
        PutCapturedAgents(plane, *this, Side::Red, t, NumRed(), pass);
        PutCapturedAgents(plane, *this, Side::Blue, t, NumBlue(), pass);
    }
    DisplayFrame = p;
    host().InvalidateView();
}

void CBrevimarDoc::BuildPlaybackFrame()
{
    if (!DisplayGrid)
        return;
    const int p = NextPlane(DisplayFrame);
    LatticePlane plane = PlaneOfSize(*this, p, RunHeader.LatticeSize);
    plane.PaintBackground(Battlefield, true, false);
    const int t = RunHeader.CurrentStep;
    PutCapturedAgents(plane, *this, Side::Red, t, RunHeader.RedCount, CapturePass::Living);
    PutCapturedAgents(plane, *this, Side::Blue, t, RunHeader.BlueCount, CapturePass::Living);
    DisplayFrame = p;
    host().InvalidateView();
}

// Plane 2 grows at every cell by the sum of planes 0 and 1 over the square of
// radius R around it, clipped to the battlefield. Running sums make it
// linear in the cells: columnSum[y] holds rows x - R..x + R of column y, and
// a window over it gives the square.
void CBrevimarDoc::UpdateActivityMap()
{
    const int n = Clamped(Battlefield.BattleSize, 0, MaxBattleSize);
    if (ActivityRadius < 0 || n == 0)
        return;
    const int radius = ActivityRadius < n ? ActivityRadius : n;
    const int* plane0 = ActivityGrids[0];
    const int* plane1 = ActivityGrids[1];
    int* map = ActivityGrids[2];
    // Both sides' moves are marked; the map shows those of the sides it is on
    // for (of both when it is on for neither, and so not shown).
    const bool either = RedActivityMapOn == 1 || BlueActivityMapOn == 1;
    const int red = !either || RedActivityMapOn == 1 ? 1 : 0;
    const int blue = !either || BlueActivityMapOn == 1 ? 1 : 0;
    auto moves = [&](int x, int y) {
        return red * plane0[LatticeStride * x + y] + blue * plane1[LatticeStride * x + y];
    };

    int columnSum[LatticeStride] = {};
    for (int x = 1; x <= radius && x <= n; ++x)
        for (int y = 1; y <= n; ++y)
            columnSum[y] += moves(x, y);

    for (int x = 1; x <= n; ++x) {
        const int enter = x + radius;
        const int leave = x - radius - 1;
        for (int y = 1; y <= n; ++y) {
            if (enter <= n)
                columnSum[y] += moves(enter, y);
            if (leave >= 1)
                columnSum[y] -= moves(leave, y);
        }
        int window = 0;
        for (int y = 1; y <= radius && y <= n; ++y)
            window += columnSum[y];
        int* row = map + LatticeStride * x;
        for (int y = 1; y <= n; ++y) {
            if (y + radius <= n)
                window += columnSum[y + radius];
            if (y - radius - 1 >= 1)
                window -= columnSum[y - radius - 1];
            row[y] += window;
        }
    }
}

}  // namespace brevimar
