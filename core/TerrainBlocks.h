// Laying the terrain blocks onto the battlefield grids after they were
// edited: the switches they imply, the end of the block list, and the cells
// each used block covers.
#pragma once

#include "core/Battlefield.h"

namespace brevimar {

// The cells a block side of length `length` spans around its centre:
// centre - Half .. centre + Half + Extra. A length of 1 spans three cells,
// as a length of 2 does.
struct BlockSpan {
    int Half = 0;
    int Extra = 0;
};
BlockSpan BlockSpanOf(int length);

// The used blocks 1..terrain_blocks laid in order, later ones over earlier
// ones, clipped to a battlefield of `size` cells a side; no terrain file.
void LayTerrainBlocks(CBattlefield& b, int size);

// Whether a block laid (used, among 1..terrain_blocks) is of a passable
// type: the terrain modifiers apply, as a read of those blocks turns them on.
bool LaysPassableTerrain(const CBattlefield& b);

// Whether some cell of the battlefield holds passable terrain, whatever laid
// it and whatever stands on it.
bool HoldsPassableTerrain(const CBattlefield& b);

// The switches the terrain cells a read laid imply, by the rule a read of
// blocks and a cell edit follow: the modifiers apply while some cell is
// passable, and a pillar turns line of sight on. Without this a saved field
// would read back into another battle than the one that was run.
void TakeCellTerrainSwitches(CBattlefield& b);

// Terrain and agent marks of every cell of the battlefield := 0.
void ClearTerrainCells(CBattlefield& b);

// Every terrain cell of the grids becomes open ground, whatever laid it;
// the cells agents stand on keep their marks.
void TakeTerrainOff(CBattlefield& b);

// With the blocks' values and use flags and the terrain switch already in
// place: the passable-terrain and line-of-sight switches, the block list
// (the blocks with both sides non-zero, moved up in order over any block with
// a zero side, which is cleared, its use flag kept, and goes after them), no
// terrain file, and the used blocks laid in order, later ones over earlier
// ones, clipped to the battlefield. With the terrain switched off the grids
// are cleared instead.
void ApplyEditedTerrainBlocks(CBattlefield& b);

}  // namespace brevimar
