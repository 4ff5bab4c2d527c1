// The terrain-modified agent data file (*.tma): for each side and each
// passable terrain type I..III, the visibility index and the alive and injured
// degradation rows of squads 1..10. Six blocks (RED I, II, III, BLUE I, II,
// III), each a three-line banner and 19 labelled rows of ten values.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace brevimar {

class CBrevimarDoc;
struct CTerrainModifiers;

// The file's text for the document's tables.
void WriteTerrainModifiedAgentText(const CTerrainModifiers& modifiers, std::ostream& out);

// Reads the tables of both sides. Reads into a copy and commits to *modifiers
// only when all 1,308 words were read, every defence delta is >= 0 and every
// other delta >= -99 (a negative delta raises the value, as the dialogs let
// it); otherwise *problem says what is wrong and *modifiers is unchanged.
bool ReadTerrainModifiedAgentText(std::string_view text, CTerrainModifiers* modifiers, std::string* problem);

// File > Save > Terrain Data > "Terrain-Modified Agent Data...".
void SaveTerrainModifiedAgentFile(CBrevimarDoc& doc);
// File > Load > Terrain Data > "Terrain-Modified Agent Data...": 1 when a file
// was read, 0 otherwise.
int LoadTerrainModifiedAgentFile(CBrevimarDoc& doc);

}  // namespace brevimar
