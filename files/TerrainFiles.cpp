#include "files/TerrainFiles.h"

#include <algorithm>
#include <locale>
#include <ostream>
#include <vector>

#include "core/Document.h"
#include "core/TerrainBlocks.h"
#include "core/TerrainFile.h"
#include "files/AuxiliaryFileCommand.h"
#include "files/WordReader.h"

namespace brevimar {

namespace {

const std::string PathStars(83, '*');
constexpr int PathBannerWords = 6;  // star line, four title words, star line

bool SkipWords(std::istream& in, int n)
{
    std::string word;
    for (int k = 0; k < n; ++k)
        if (!(in >> word))
            return false;
    return true;
}

}  // namespace

// --- terrain

void WriteTerrainText(const CBattlefield& field, std::ostream& out)
{
    const int size = std::clamp(field.BattleSize, 1, MaxBattleSize);
    int n = 0;
    for (int x = 1; x <= size; ++x)
        for (int y = 1; y <= size; ++y)
            n += HoldsTerrain(field, GridIndex(x, y));
    out << field.BattleSize << '\n' << n;
    for (int x = 1; x <= size; ++x)
        for (int y = 1; y <= size; ++y) {
            const int i = GridIndex(x, y);
            if (HoldsTerrain(field, i))
                out << '\n' << x << ' ' << y << '\n' << CellTerrain << ' ' << field.TerrainType[i];
        }
}

bool ReadTerrainText(std::string_view text, CBattlefield* field, std::string* problem)
{
    CWordReader words(text);
    const int size = std::clamp(field->BattleSize, 1, MaxBattleSize);
    int fileSize = 0;
    int n = 0;
    if (!words.Read(fileSize)) {
        *problem = DescribeReadFailure(words);
        return false;
    }
    if (fileSize < 1 || fileSize > MaxBattleSize) {
        *problem = "the battle size " + std::to_string(fileSize) + " lies outside 1 to " + std::to_string(MaxBattleSize);
        return false;
    }
    if (fileSize > size) {
        *problem = "current battlefield size is too small (the file is for " + std::to_string(fileSize) + " x " +
                   std::to_string(fileSize) + ", the battlefield is " + std::to_string(size) + " x " +
                   std::to_string(size) + ")";
        return false;
    }
    if (!words.Read(n)) {
        *problem = DescribeReadFailure(words);
        return false;
    }
    if (n < 0 || n > fileSize * fileSize) {
        *problem = "the file gives " + std::to_string(n) + " terrain cells; a battlefield of " +
                   std::to_string(fileSize) + " x " + std::to_string(fileSize) + " holds 0 to " +
                   std::to_string(fileSize * fileSize);
        return false;
    }
    std::vector<TerrainRecord> records(n);
    for (int r = 0; r < n; ++r) {
        TerrainRecord& rec = records[r];
        if (!words.Read(rec.X) || !words.Read(rec.Y) || !words.Read(rec.Grid) || !words.Read(rec.Type)) {
            *problem = DescribeReadFailure(words);
            return false;
        }
        const std::string which = "terrain cell " + std::to_string(r + 1);
        if (rec.X < 1 || rec.X > size || rec.Y < 1 || rec.Y > size) {
            *problem = which + " at (" + std::to_string(rec.X) + ", " + std::to_string(rec.Y) +
                       ") lies outside the battlefield";
            return false;
        }
        // The battlefield set-up's reader of the same format applies the same rule.
        if (const std::string bad = TerrainCellProblem(rec.Grid, rec.Type); !bad.empty()) {
            *problem = which + " at (" + std::to_string(rec.X) + ", " + std::to_string(rec.Y) + ") has " + bad;
            return false;
        }
    }
    for (int x = 1; x <= size; ++x)
        for (int y = 1; y <= size; ++y) {
            field->AgentGrid[GridIndex(x, y)] = CellFree;
            field->TerrainType[GridIndex(x, y)] = OpenGround;
        }
    for (const TerrainRecord& rec : records) {
        field->AgentGrid[GridIndex(rec.X, rec.Y)] = rec.Grid;
        field->TerrainType[GridIndex(rec.X, rec.Y)] = rec.Type;
    }
    TakeCellTerrainSwitches(*field);
    return true;
}

void SaveTerrainFile(CBrevimarDoc& doc)
{
    RunAuxiliaryWrite(doc, FileCommand::TerrainWrite, [&](std::ostream& out) { WriteTerrainText(doc.Battlefield, out); });
}

int LoadTerrainFile(CBrevimarDoc& doc)
{
    return RunAuxiliaryRead(doc, FileCommand::TerrainRead, [&](std::string_view text, std::string* problem) {
        return ReadTerrainText(text, &doc.Battlefield, problem);
    });
}

// --- waypoint paths

void WriteWaypointPathText(const CPathField& red, const CPathField& blue, std::ostream& out)
{
    out << PathStars << "\n Red terrain waypoint data\n" << PathStars << '\n' << red;
    out << PathStars << "\n Blue terrain waypoint data\n" << PathStars << '\n' << blue;
}

bool ReadWaypointPathText(std::string_view text, int battleSize, CPathField* red, CPathField* blue,
                          std::string* problem)
{
    // The fields are built one cell wider and longer than the battlefield,
    // for its cells 1..battleSize and the unused row and column 0.
    const unsigned extent = static_cast<unsigned>(std::clamp(battleSize, 1, MaxBattleSize)) + 1;
    TextViewStream in(text);
    in.imbue(std::locale::classic());
    CPathField fields[2] = {*red, *blue};
    const char* names[2] = {"RED", "BLUE"};
    for (int k = 0; k < 2; ++k) {
        if (!SkipWords(in, PathBannerWords)) {
            *problem = std::string("the file ends before the ") + names[k] + " waypoint data";
            return false;
        }
        std::string error;
        if (!fields[k].Read(in, &error)) {
            *problem = std::string(names[k]) + " waypoint data: " + error;
            return false;
        }
        // A field of no cells steers nowhere, on any battlefield; any other
        // field must be this battlefield's, or its cells would be other cells.
        const CPathField& f = fields[k];
        if (f.CellCount != 0 && (f.Rows != extent || f.Columns != extent)) {
            *problem = std::string(names[k]) + " waypoint data: the field of " + std::to_string(f.Rows) + " x " +
                       std::to_string(f.Columns) + " cells is for a " + std::to_string(f.Rows - 1) + " x " +
                       std::to_string(f.Columns - 1) + " battlefield, not this " + std::to_string(extent - 1) +
                       " x " + std::to_string(extent - 1) + " one";
            return false;
        }
    }
    *red = fields[0];
    *blue = fields[1];
    return true;
}

void SaveWaypointPathFile(CBrevimarDoc& doc)
{
    RunAuxiliaryWrite(doc, FileCommand::WaypointPathWrite,
                      [&](std::ostream& out) { WriteWaypointPathText(doc.RedWaypointField, doc.BlueWaypointField, out); });
}

int LoadWaypointPathFile(CBrevimarDoc& doc)
{
    return RunAuxiliaryRead(doc, FileCommand::WaypointPathRead, [&](std::string_view text, std::string* problem) {
        return ReadWaypointPathText(text, doc.Battlefield.BattleSize, &doc.RedWaypointField, &doc.BlueWaypointField,
                                    problem);
    });
}

}  // namespace brevimar
