// The scenario input data file, line by line: one table of every section's
// lines that the writer and both scenario readers walk.
//
// A line is a banner or comment (text only) or a keyword line: a label with
// its padding, then the values of one member or, for a pair row, of two
// members interleaved. The readers skip every banner and comment word and
// every label by count, so the table is also what tells them how many words
// lie before each value. What a reader derives from the values, and the
// checks it makes, follow the line that `After` names; the order of the
// sections, and which sections a file holds, stay with the writer and the
// readers.
#pragma once

#include <span>
#include <string>
#include <type_traits>

#include "core/Battlefield.h"
#include "core/Force.h"
#include "core/GlobalCommander.h"
#include "core/LocalCommand.h"
#include "core/Side.h"
#include "core/StatisticsParameters.h"

namespace brevimar {

struct CDocumentState;

// The random state both scenario readers start from, which also becomes the
// initial seed of the scenario read.
constexpr int ScenarioSeed = -31415926;

// The data version the program writes.
constexpr int ScenarioDataVersion = 4;

// Where the values of one walk live. The writer hands in the document's
// blocks (or copies of them) and only reads through the pointers.
struct ScenarioBlocks {
    CBattlefield* Battlefield = nullptr;
    CStatisticsParameters* Statistics = nullptr;
    CForce* Force[2] = {};           // RED, BLUE
    CGlobalCommander* Global[2] = {};
    CLocalCommand* Local[2] = {};
    // Values with no member of their own: the file's data version and one
    // terrain cell of the cell list with the list's length.
    int DataVersion = ScenarioDataVersion;
    int CellCount = 0;
    int CellX = 0;
    int CellY = 0;
    int CellType = 0;
};

// The blocks of one document state, every value read and written in place.
ScenarioBlocks BlocksOf(CDocumentState& state);

enum class ScenarioValueType : unsigned char { Int, Float, Double };

// The values one member gives a line.
struct ScenarioField {
    ScenarioValueType Type = ScenarioValueType::Int;
    int First = 0;            // index of the first value in an array member
    int Count = 1;            // values on the line
    bool ByNumber = false;    // the commander's or block's number is added to First
    int FixedSide = 0;        // 0: the side being walked; else the Side this member belongs to
    void* (*Member)(ScenarioBlocks&, Side) = nullptr;  // the member, or its array's first element

    constexpr bool Used() const { return Member != nullptr; }
};

// What a reader does with a line that the file's version does not carry.
enum class WhenAbsent : unsigned char {
    Zero,          // every value 0
    One,           // every value 1
    AreaFlag,      // the area flags: 1 in a version-2 file, else 0
    KeepUnlabelled,  // read only when its label is there (before the version
                     // that always carries it); otherwise the values stay
};

// What a reader derives or checks once a line is read, or filled in when the
// version lacks it.
enum class ScenarioStep : unsigned char {
    None,
    // general battle parameters
    DataVersion,
    BattleSize,
    DeploymentBoxes,
    RedGoalFlag,
    BlueGoalFlag,
    MoveOrder,
    RedReconTime,
    BlueReconTime,
    // statistics switches
    SetAll,
    // local command
    CommanderCount,
    Subordinates,
    CommandRadius,
    CommanderWeights,
    // agent parameters
    AgentCount,
    SquadCount,
    SquadSizes,
    MoveRanges,
    SquadWeights,
    AgentWeights,
    SensorFireRanges,
    Communications,
    SquadCopies,
    // terrain
    BlockCount,
    BlockType,
    BlockPlaced,
    CellPlaced,
};

enum class ScenarioLineKind : unsigned char { Text, Values };

struct ScenarioLine {
    ScenarioLineKind Kind = ScenarioLineKind::Text;
    // The comment or banner text, or the label with its padding; '#' stands
    // for the number of the commander, terrain block or cell.
    const char* Red = nullptr;
    const char* Blue = nullptr;  // BLUE's where it differs
    ScenarioField Values[2];     // the second only in a pair row
    int FirstVersion = 1;        // first data version that carries the line
    WhenAbsent Missing = WhenAbsent::Zero;
    // The version-1 layout of the best-chromosome file: the line written as
    // zeros, and labels of its own where they differ.
    bool ZeroInVersion1 = false;
    const char* Version1Red = nullptr;
    const char* Version1Blue = nullptr;
    ScenarioStep After = ScenarioStep::None;

    constexpr const char* Text(Side side) const { return side == Side::Blue && Blue ? Blue : Red; }
    // The label for a file of the given version, with its padding.
    constexpr const char* Label(Side side, int version) const
    {
        if (version == 1 && (Version1Red || Version1Blue)) {
            const char* old = side == Side::Blue ? Version1Blue : Version1Red;
            if (old)
                return old;
        }
        return Text(side);
    }
    // Whether a file of that version holds the line.
    constexpr bool CarriedBy(int version) const { return version >= FirstVersion; }

    // For building the table.
    constexpr ScenarioLine Since(int version) const
    {
        ScenarioLine line = *this;
        line.FirstVersion = version;
        return line;
    }
    constexpr ScenarioLine Absent(WhenAbsent missing) const
    {
        ScenarioLine line = *this;
        line.Missing = missing;
        return line;
    }
    constexpr ScenarioLine Zero1() const
    {
        ScenarioLine line = *this;
        line.ZeroInVersion1 = true;
        return line;
    }
    constexpr ScenarioLine Labels1(const char* red, const char* blue) const
    {
        ScenarioLine line = *this;
        line.Version1Red = red;
        line.Version1Blue = blue;
        return line;
    }
    constexpr ScenarioLine Then(ScenarioStep step) const
    {
        ScenarioLine line = *this;
        line.After = step;
        return line;
    }
};

// Value k of a line's field for the walk at `side` and `number`.
template <typename T>
T* ScenarioValue(ScenarioBlocks& blocks, const ScenarioField& field, Side side, int number, int k)
{
    const Side owner = field.FixedSide != 0 ? static_cast<Side>(field.FixedSide) : side;
    return static_cast<T*>(field.Member(blocks, owner)) + field.First + (field.ByNumber ? number : 0) + k;
}

enum class ScenarioSection {
    General,            // banner, data version, general battle parameters
    Statistics,
    GlobalFlag,         // a side's global command banner and switch
    Global,             // ... its parameters, while the switch is 1
    LocalFlag,          // a side's local command banner and switch
    Local,              // ... commander count and patches, while the switch is 1
    Commander,          // one local commander, numbered
    Agents,             // a side's agent parameters
    TerrainBanner,
    TerrainBlockCount,  // terrain from blocks
    TerrainBlock,       // one block, numbered
    TerrainCellCount,   // terrain from cells
    TerrainCell,        // one cell, numbered
};

std::span<const ScenarioLine> SectionLines(ScenarioSection section);

// Number of whitespace-separated words in a text line.
int WordCount(const char* text);
// The label as one word: padding dropped, '#' replaced by the number.
std::string LabelWord(const char* label, int number);

}  // namespace brevimar
