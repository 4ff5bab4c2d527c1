// What the territorial owner map was last worked out from, so that the next
// update revisits only the cells around the agent cells that changed hands.
#pragma once

#include <cstdint>

#include "core/Limits.h"

namespace brevimar {

struct CTerritoryKept {
    bool Valid = false;
    // The settings the kept counts and owners were worked out with.
    int Size = 0, Range = 0, MinCount = 0, Delta = 0;
    int UserArea = 0, CenterX = 0, RangeX = 0, CenterY = 0, RangeY = 0;
    // Agent cells (1 RED, 2 BLUE) of the last two updates, by turns, with
    // the list of the cells each one marked, so that neither is ever cleared
    // whole.
    int Current = 0;
    std::int8_t Mark[2][LatticeCells] = {};
    int Marked[2][2 * MaxAgents] = {};
    int MarkedCount[2] = {};
    // Marked cells of each side in the square of the territory range around
    // each cell, and the owner map as last written (writes by others to the
    // document's map are noticed and answered with a whole recomputation).
    std::int16_t RedCount[LatticeCells] = {};
    std::int16_t BlueCount[LatticeCells] = {};
    int Owner[LatticeCells] = {};
    // Cells whose square saw a change in this update, each listed once.
    std::int8_t Dirty[LatticeCells] = {};
    int DirtyCells[LatticeCells] = {};
};

}  // namespace brevimar
