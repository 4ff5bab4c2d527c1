// The terrain file (*.ter) and the terrain waypoint path file (*.pth).
//
// Terrain: the battle size, the number N of terrain cells, then per cell (x
// outer, y inner) a line "x y" and a line "2 type".
//
// Waypoint paths: for each side a banner and the side's path field (its two
// dimensions, then one predecessor per line).
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace brevimar {

class CBrevimarDoc;
class CPathField;
struct CBattlefield;

void WriteTerrainText(const CBattlefield& field, std::ostream& out);
// Replaces the terrain of the battlefield's cells 1..BattleSize with the
// file's cells, agents' marks included, and takes the switches those cells
// imply (TakeCellTerrainSwitches). Refused, with the grids unchanged: a
// file battle size outside 1..150 or above the current one, a cell count below
// 0 or above the file's cells, a cell outside the battlefield, a cell whose
// occupancy and terrain type break TerrainCellProblem's rule (the one the
// battlefield set-up's reader applies), a file that breaks off.
bool ReadTerrainText(std::string_view text, CBattlefield* field, std::string* problem);
void SaveTerrainFile(CBrevimarDoc& doc);
int LoadTerrainFile(CBrevimarDoc& doc);

void WriteWaypointPathText(const CPathField& red, const CPathField& blue, std::ostream& out);
// Both fields are replaced only when both were read and checked. A field
// with cells must be the one a battlefield of `battleSize` builds
// (battleSize + 1 cells each way); a field of none is taken.
bool ReadWaypointPathText(std::string_view text, int battleSize, CPathField* red, CPathField* blue,
                          std::string* problem);
void SaveWaypointPathFile(CBrevimarDoc& doc);
int LoadWaypointPathFile(CBrevimarDoc& doc);

}  // namespace brevimar
