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

// Reads and checks every record before any is kept; *fileSize receives the
// size the file names (when it names one).
TerrainFileResult ReadTerrainRecords(std::istream& in, int size, std::vector<TerrainRecord>* records,
                                     long long* fileSize, std::string* problem);

}  // namespace brevimar
