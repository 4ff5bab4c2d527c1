// General battle parameters and the battlefield grids.
//
// Scenario keywords become member names with ':' and the bracketed
// coordinate lists turned into suffixes and '?' dropped: `termination?` is
// `termination`, `R_box_(l,w)` is `R_box_l` and `R_box_w`.
#pragma once

#include "core/Limits.h"

namespace brevimar {

// TerrainType values.
constexpr int OpenGround = 0;
constexpr int Lava = 1;    // impassable, seen across
constexpr int Pillar = 2;  // impassable, blocks sight
constexpr int PassableI = 3;
constexpr int PassableII = 4;
constexpr int PassableIII = 5;
constexpr bool IsImpassable(int terrain) { return terrain == Lava || terrain == Pillar; }
constexpr bool IsPassableTerrain(int terrain) { return terrain >= PassableI; }

// AgentGrid values.
constexpr int CellFree = 0;
constexpr int CellAgent = 1;
constexpr int CellTerrain = 2;

struct CBattlefield {
    // Side code of the agent on each cell (0, 1 RED, 2 BLUE), rebuilt by the
    // step while weapons are in use.
    int OccupancyGrid[GridCells] = {};

    int BattleSize = 150;  // battle_size, 1..150
    int init_dist = 0;     // 2: both sides deploy in a central square

    // Initial-distribution boxes per squad.
    int R_box_l[SquadSlots] = {};
    int R_box_w[SquadSlots] = {};
    int RED_cen_x[SquadSlots] = {};
    int RED_cen_y[SquadSlots] = {};
    int B_box_l[SquadSlots] = {};
    int B_box_w[SquadSlots] = {};
    int BLUE_cen_x[SquadSlots] = {};
    int BLUE_cen_y[SquadSlots] = {};

    int termination = 2;          // termination?: 1 ends the run when RED takes the BLUE flag
    int MoveOrder = 1;            // move_order?: 1 fixed order, otherwise shuffled each step
    int RedCombatUnlimited = 0;   // RED_combat_flag?
    int BlueCombatUnlimited = 0;  // BLUE_combat_flag?
    int TerrainMode = 0;          // terrain_flag?: 0 none, 1 blocks, 2 cells
    int CellTerrainDefined = 1;   // 1 while TerrainType holds cells that set-up keeps
    int TerrainModifiersOn = 0;   // 1 when some terrain is passable: modifiers apply

    int TerrainType[GridCells] = {};

    // Terrain blocks 1..terrain_blocks.
    int terrain_blocks = 0;
    int TerrainBlockType[TerrainBlockSlots] = {};    // type(
    int TerrainBlockLength[TerrainBlockSlots] = {};  // terrain_l_w_(
    int TerrainBlockWidth[TerrainBlockSlots] = {};
    int TerrainBlockX[TerrainBlockSlots] = {};       // terrain_x_y_(
    int TerrainBlockY[TerrainBlockSlots] = {};
    int TerrainBlockUsed[TerrainBlockSlots] = {};    // 1: the block is laid

    int LineOfSightOn = 0;  // LOS_flag?

    int AgentGrid[GridCells] = {};  // 0 free, 1 agent of either side, 2 terrain

    int RED_recon_flag = 0;
    int BLUE_recon_flag = 0;
    int red_frat_flag = 0;
    int blue_frat_flag = 0;
    int red_frat_rad = 0;
    int blue_frat_rad = 0;
    int RedFratricideCount = 0;  // own-fire strikes that lowered a state, this run
    int BlueFratricideCount = 0;
    float red_frat_prob = 0;
    float blue_frat_prob = 0;

    // Territorial possession.
    int TerritoryRange = 0;     // threshold range R
    int TerritoryMinCount = 0;  // fewest own agents around a possessed cell
    int TerritoryDelta = 0;     // lead needed over enemies nearby
    int TerritoryCenterX = 0;   // user-defined area
    int TerritoryRangeX = 0;
    int TerritoryCenterY = 0;
    int TerritoryRangeY = 0;
    int TerritoryUserArea = 0;  // 0 whole battlefield, 1 the user-defined area

    int WaypointPathsOn = 0;    // 1 while the waypoint path fields steer the moves
    int PathStartDistance = 3;  // steer only within this distance of impassable terrain
};

// Whether the cell holds terrain: a terrain mark, or a terrain type under an
// agent's mark or a free one (an agent on passable terrain marks the cell as
// its own, and leaves it free when it moves on or dies).
inline bool HoldsTerrain(const CBattlefield& b, int cell)
{
    return b.AgentGrid[cell] == CellTerrain || b.TerrainType[cell] != OpenGround;
}

// Whether an agent may stand on the cell: free ground that is not
// impassable, or passable terrain no agent stands on.
inline bool AgentMayStand(const CBattlefield& b, int cell)
{
    const int grid = b.AgentGrid[cell];
    const int terrain = b.TerrainType[cell];
    return grid == CellFree ? !IsImpassable(terrain) : grid == CellTerrain && IsPassableTerrain(terrain);
}

}  // namespace brevimar
