// Terrain files: the battlefield size the file was made for, a count of cell
// records, then per record x, y, the occupancy (0 free, 2 terrain) and the
// terrain type.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace brevimar {

struct TerrainRecord {
    int X, Y, Grid, Type;
};

enum class TerrainFileResult {
    Read,
    TooLarge,  // made for a larger battlefield than `size`
    Refused,   // *problem says why
};

// The rule every reader of terrain cells applies to one record: the
// occupancy 0..2 and the terrain type 0..5, agreeing with each other (a
// terrain cell is 2 with a type 1..5, open ground 0 with type 0; an agent mark
// 1 names no agent). Empty when the record stands, else a phrase saying why
// not, to follow "has" or "with" ("the terrain type 6, which is not 0..5").
std::string TerrainCellProblem(long long occupancy, long long type);

// Reads and checks every record before any is kept; *fileSize receives the
// size the file names (when it names one). A word far longer than any number
// is unreadable, and not held whole.
TerrainFileResult ReadTerrainRecords(std::istream& in, int size, std::vector<TerrainRecord>* records,
                                     long long* fileSize, std::string* problem);

}  // namespace brevimar
