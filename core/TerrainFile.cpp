#include "core/TerrainFile.h"

#include <charconv>
#include <iomanip>
#include <locale>

#include "core/Battlefield.h"

namespace brevimar {

namespace {

// The longest word taken for a number, far more than any value of a
// terrain file needs: a longer one is refused once this much of it is read,
// rather than held whole.
constexpr std::size_t LongestNumberWord = 64;

bool ReadInt(std::istream& in, long long* value)
{
    std::string word;
    if (!(in >> std::setw(static_cast<int>(LongestNumberWord) + 1) >> word) || word.size() > LongestNumberWord)
        return false;
    const char* first = word.data();
    const char* last = first + word.size();
    if (*first == '+')
        ++first;
    long long v = 0;
    auto [end, error] = std::from_chars(first, last, v);
    if (error != std::errc() || end != last)
        return false;
    *value = v;
    return true;
}

}  // namespace

std::string TerrainCellProblem(long long occupancy, long long type)
{
    if (occupancy < CellFree || occupancy > CellTerrain)
        return "the occupancy value " + std::to_string(occupancy) + ", which is not 0..2";
    if (type < OpenGround || type > PassableIII)
        return "the terrain type " + std::to_string(type) + ", which is not 0..5";
    // A terrain cell is occupied by its terrain: an impassable cell marked
    // free would take agents, and an agent mark with no agent would block the
    // cell for the whole run. Open ground may be occupied, as a Terrain
    // Blocks block of type 0 lays it and the terrain file saves it.
    if (occupancy == CellAgent || (occupancy == CellFree && type != OpenGround))
        return "the occupancy value " + std::to_string(occupancy) + " and the terrain type " +
               std::to_string(type) + ", which disagree (terrain cells are 2, free open ground 0)";
    return {};
}

TerrainFileResult ReadTerrainRecords(std::istream& in, int size, std::vector<TerrainRecord>* records,
                                     long long* fileSize, std::string* problem)
{
    in.imbue(std::locale::classic());
    auto fail = [&](const std::string& what) {
        *problem = what;
        records->clear();
        return TerrainFileResult::Refused;
    };
    long long count = 0;
    *fileSize = 0;
    if (!ReadInt(in, fileSize))
        return fail("does not begin with a battlefield size.");
    if (*fileSize > size)
        return TerrainFileResult::TooLarge;
    if (*fileSize < 1)
        return fail("gives the battlefield size " + std::to_string(*fileSize) + ", which is not 1..150.");
    if (!ReadInt(in, &count) || count < 0)
        return fail("has no valid count of terrain cells after the battlefield size.");
    for (long long k = 1; k <= count; ++k) {
        long long v[4];
        for (long long& value : v)
            if (!ReadInt(in, &value))
                return fail("ends or holds an unreadable value in cell record " + std::to_string(k) + " of " +
                            std::to_string(count) + ".");
        const std::string where = "cell record " + std::to_string(k) + " (" + std::to_string(v[0]) + ", " +
                                  std::to_string(v[1]) + ")";
        if (v[0] < 1 || v[0] > size || v[1] < 1 || v[1] > size)
            return fail("has " + where + " off the " + std::to_string(size) + " x " + std::to_string(size) +
                        " battlefield.");
        if (const std::string bad = TerrainCellProblem(v[2], v[3]); !bad.empty())
            return fail("has " + where + " with " + bad + ".");
        records->push_back({static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]),
                            static_cast<int>(v[3])});
    }
    return TerrainFileResult::Read;
}

}  // namespace brevimar
