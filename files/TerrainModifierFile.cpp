#include "files/TerrainModifierFile.h"

#include <memory>
#include <ostream>

#include "core/Document.h"
#include "files/AuxiliaryFileCommand.h"
#include "files/WordReader.h"

namespace brevimar {

namespace {

constexpr const char* StarLine = "************************************************************";
constexpr const char* BlockTitles[6] = {
    "RED Type-I", "RED Type-II", "RED Type-III", "BLUE Type-I", "BLUE Type-II", "BLUE Type-III",
};
constexpr int BannerWords = 9;

using IntTable = int[SquadSlots][TerrainColumns];
using FloatTable = float[SquadSlots][TerrainColumns];
using DoubleTable = double[SquadSlots][TerrainColumns];

// One row of a block, in file order; exactly one of the tables is set.
struct RowSpec {
    const char* Label;
    IntTable CTerrainModifierSet::*Ints;
    FloatTable CTerrainModifierSet::*Floats;
    DoubleTable CTerrainModifierSet::*Doubles;
};

constexpr RowSpec Rows[] = {
    {"\nvisibility\t\t\t", nullptr, nullptr, &CTerrainModifierSet::TerrainVisibility},
    {"\nA:comm_range\t\t", &CTerrainModifierSet::A_comm_range, nullptr, nullptr},
    {"\nI:comm_range\t\t", &CTerrainModifierSet::I_comm_range, nullptr, nullptr},
    {"\nA:comm_weight\t\t", nullptr, &CTerrainModifierSet::A_comm_weight, nullptr},
    {"\nI:comm_weight\t\t", nullptr, &CTerrainModifierSet::I_comm_weight, nullptr},
    {"\nA:threshold_range\t", &CTerrainModifierSet::A_threshold_range, nullptr, nullptr},
    {"\nI:threshold_range\t", &CTerrainModifierSet::I_threshold_range, nullptr, nullptr},
    {"\nA:sensor_range\t\t", &CTerrainModifierSet::A_sensor_range, nullptr, nullptr},
    {"\nI:sensor_range\t\t", &CTerrainModifierSet::I_sensor_range, nullptr, nullptr},
    {"\nA:fire_range\t\t", &CTerrainModifierSet::A_fire_range, nullptr, nullptr},
    {"\nI:fire_range\t\t", &CTerrainModifierSet::I_fire_range, nullptr, nullptr},
    {"\nA:movement_range\t", &CTerrainModifierSet::A_movement_range, nullptr, nullptr},
    {"\nI:movement_range\t", &CTerrainModifierSet::I_movement_range, nullptr, nullptr},
    {"\nA:defense_alive\t\t", &CTerrainModifierSet::A_defense_alive, nullptr, nullptr},
    {"\nI:defense_alive\t\t", &CTerrainModifierSet::I_defense_alive, nullptr, nullptr},
    {"\nA:max_tgts_alive\t", &CTerrainModifierSet::A_max_tgts_alive, nullptr, nullptr},
    {"\nI:max_tgts_alive\t", &CTerrainModifierSet::I_max_tgts_alive, nullptr, nullptr},
    {"\nA:pk_alive\t\t\t", nullptr, &CTerrainModifierSet::A_pk_alive, nullptr},
    {"\nI:pk_alive\t\t\t", nullptr, &CTerrainModifierSet::I_pk_alive, nullptr},
};

// The passable-terrain dialogs take a delta from -99 (one that raises the
// value), a defence delta from 0; neither bounds what a file may hold above.
constexpr int LowestDelta = -99;

bool IsDefenceRow(const RowSpec& row)
{
    return row.Ints == &CTerrainModifierSet::A_defense_alive || row.Ints == &CTerrainModifierSet::I_defense_alive;
}

CTerrainModifierSet& SetOfBlock(CTerrainModifiers& m, int block) { return block < 3 ? m.Red : m.Blue; }
const CTerrainModifierSet& SetOfBlock(const CTerrainModifiers& m, int block) { return block < 3 ? m.Red : m.Blue; }

}  // namespace

void WriteTerrainModifiedAgentText(const CTerrainModifiers& modifiers, std::ostream& out)
{
    for (int block = 0; block < 6; ++block) {
        const CTerrainModifierSet& set = SetOfBlock(modifiers, block);
        const int t = block % 3 + 1;
        if (block > 0)
            out << '\n';
        out << StarLine << "\n*     " << BlockTitles[block] << " Passable Terrain-Modified Agent Data\n" << StarLine;
        for (const RowSpec& row : Rows) {
            out << row.Label;
            for (int s = 1; s <= MaxSquads; ++s) {
                if (s > 1)
                    out << ' ';
                if (row.Ints)
                    out << (set.*row.Ints)[s][t];
                else if (row.Floats)
                    out << (set.*row.Floats)[s][t];
                else
                    out << (set.*row.Doubles)[s][t];
            }
        }
    }
}

bool ReadTerrainModifiedAgentText(std::string_view text, CTerrainModifiers* modifiers, std::string* problem)
{
    CWordReader words(text);
    auto scratch = std::make_unique<CTerrainModifiers>(*modifiers);
    for (int block = 0; block < 6; ++block) {
        CTerrainModifierSet& set = SetOfBlock(*scratch, block);
        const int t = block % 3 + 1;
        if (!words.Skip(BannerWords)) {
            *problem = DescribeReadFailure(words);
            return false;
        }
        for (const RowSpec& row : Rows) {
            if (!words.Skip(1)) {
                *problem = DescribeReadFailure(words);
                return false;
            }
            for (int s = 1; s <= MaxSquads; ++s) {
                bool ok;
                if (row.Ints)
                    ok = words.Read((set.*row.Ints)[s][t]);
                else if (row.Floats)
                    ok = words.Read((set.*row.Floats)[s][t]);
                else
                    ok = words.Read((set.*row.Doubles)[s][t]);
                if (!ok) {
                    *problem = DescribeReadFailure(words);
                    return false;
                }
                const int lowest = IsDefenceRow(row) ? 0 : LowestDelta;
                if (row.Ints && (set.*row.Ints)[s][t] < lowest) {
                    *problem = std::string(BlockTitles[block]) + ", squad " + std::to_string(s) + ": the delta " +
                               std::string(row.Label + 1, row.Label + 1 + std::string_view(row.Label + 1).find('\t')) +
                               " is " + std::to_string((set.*row.Ints)[s][t]) +
                               (lowest == 0 ? "; a defence delta must not be negative"
                                            : "; a delta must not lie below " + std::to_string(LowestDelta));
                    return false;
                }
            }
        }
    }
    *modifiers = *scratch;
    return true;
}

void SaveTerrainModifiedAgentFile(CBrevimarDoc& doc)
{
    RunAuxiliaryWrite(doc, FileCommand::TerrainModifiersWrite,
                      [&](std::ostream& out) { WriteTerrainModifiedAgentText(doc.TerrainModifiers, out); });
}

int LoadTerrainModifiedAgentFile(CBrevimarDoc& doc)
{
    return RunAuxiliaryRead(doc, FileCommand::TerrainModifiersRead, [&](std::string_view text, std::string* problem) {
        return ReadTerrainModifiedAgentText(text, &doc.TerrainModifiers, problem);
    });
}

}  // namespace brevimar
