// Sizes of the document's fixed arrays. Index 0 of agent, squad, commander,
// sector and block arrays is never used: agents run 1..300, squads 1..10.
#pragma once

namespace brevimar {

constexpr int MaxAgents = 300;
constexpr int AgentSlots = MaxAgents + 1;
constexpr int MaxSquads = 10;
constexpr int SquadSlots = MaxSquads + 1;
constexpr int MaxCommanders = 10;
constexpr int CommanderSlots = MaxCommanders + 1;
constexpr int MaxSubordinates = 50;
constexpr int SubordinateSlots = MaxSubordinates + 1;
constexpr int SectorCount = 16;
constexpr int SectorSlots = SectorCount + 1;
constexpr int MaxTerrainBlocks = 32;
constexpr int TerrainBlockSlots = MaxTerrainBlocks + 1;

// Battlefield grids: cell (x, y) at GridStride * x + y, 1 <= x, y <= BattleSize.
constexpr int MaxBattleSize = 150;
constexpr int GridStride = MaxBattleSize + 1;
constexpr int GridCells = GridStride * GridStride;
constexpr int GridIndex(int x, int y) { return GridStride * x + y; }

// Display lattice and activity grids: 152 x 152 with a border row and column.
constexpr int LatticeStride = MaxBattleSize + 2;
constexpr int LatticeCells = LatticeStride * LatticeStride;

// Run capture: rows are steps 0..351, columns agents 0..351.
constexpr int CaptureRows = 352;
constexpr int CaptureCells = CaptureRows * CaptureRows;
constexpr int CaptureIndex(int step, int agent) { return CaptureRows * step + agent; }
// The run-file readers keep steps up to this one.
constexpr int MaxStoredFrameStep = 350;

// Per-step series hold steps 0..500 (entry 501 is spare).
constexpr int SeriesLength = 502;
constexpr int MaxSeriesStep = 500;

// A targeting list holds at most every agent of the other side.
constexpr int EnemyListColumns = 604;

// Movement boxes are at most 9 x 9 cells: ranges 0..4.
constexpr int MaxMoveRange = 4;
constexpr int MoveTableSize = 81;
constexpr int MoveTableIndex(int dx, int dy) { return 9 * dx + 40 + dy; }

// Multiple time-series tallies: samples 0..351, steps 0..201.
constexpr int MultiRunSampleSlots = 352;
constexpr int MultiRunStepSlots = 202;

// Layouts of the heap series. A series of several rows ([6][502] weapon logs,
// [8][502] neighbour and goal-count logs) keeps row r, step t at
// SeriesIndex(r, t); the per-squad weapon logs are [11][6][502].
constexpr int SeriesIndex(int row, int t) { return SeriesLength * row + t; }
constexpr int SquadWeaponLogIndex(int squad, int weapon, int t) { return SeriesLength * (6 * squad + weapon) + t; }
// Multiple time-series tallies [352][202] and per-squad tallies [11][352][202].
constexpr int SampleIndex(int sample, int step) { return MultiRunStepSlots * sample + step; }
constexpr int SquadSampleIndex(int squad, int sample, int step)
{
    return MultiRunSampleSlots * MultiRunStepSlots * squad + SampleIndex(sample, step);
}

}  // namespace brevimar
