// The display lattice: the byte picture of the battlefield the view draws,
// double-buffered in two planes of LatticeStride x LatticeStride bytes.
// Battlefield cell (x, y) sits at row x and column E - 1 - y, where the
// extent E is the battle size plus a border row and column on each side, so
// y grows from the right edge of a row to the left.
#pragma once

#include "core/Limits.h"

namespace brevimar {

// One byte per lattice cell.
constexpr unsigned char LatticeEmpty = 0;
constexpr unsigned char LatticeRedAlive = 1;    // in the start picture: any living RED agent
constexpr unsigned char LatticeBlueAlive = 2;   // in the start picture: any living BLUE agent
constexpr unsigned char LatticeRedInjured = 3;
constexpr unsigned char LatticeBlueInjured = 4;
constexpr unsigned char LatticeTerrain = 5;     // any terrain type above open ground
constexpr unsigned char LatticeRedDead = 86;    // 'V': on terrain 0..2, and every dead RED agent of a stored run
constexpr unsigned char LatticeBlueDead = 87;   // 'W': on terrain 0..2, and every dead BLUE agent of a stored run
constexpr unsigned char LatticeRedDeadPassable = 88;   // 'X': on passable terrain 3..5
constexpr unsigned char LatticeBlueDeadPassable = 89;  // 'Y': on passable terrain 3..5
constexpr unsigned char LatticeRedCommander = 98;      // 'b': living RED local commander, when highlighted
constexpr unsigned char LatticeGoalFlag = 99;          // 'c': goal flag of either side

constexpr int LatticePlanes = 2;
constexpr int LatticePlaneBytes = LatticeCells;  // 152 * 152 = 23104

// Byte offset of lattice row r, column c of plane p within the whole grid.
constexpr int LatticeOffset(int plane, int row, int column)
{
    return plane * LatticePlaneBytes + LatticeStride * row + column;
}

// Lattice column of battlefield ordinate y for lattice extent E.
constexpr int LatticeColumn(int extent, int y) { return extent - 1 - y; }

// Byte of battlefield cell (x, y) within a plane of extent E.
constexpr int LatticeCellOffset(int extent, int x, int y) { return LatticeStride * x + LatticeColumn(extent, y); }

}  // namespace brevimar
