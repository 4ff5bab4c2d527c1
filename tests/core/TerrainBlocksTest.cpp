#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/TerrainBlocks.h"

namespace brevimar {
namespace {

TEST(TerrainBlocks, SpanOfASideFollowsItsLengthsParity)
{
    // Cells covered around a centre of 10: centre - Half .. centre + Half + Extra.
    const struct {
        int length, first, last;
    } cases[] = {{4, 8, 12}, {3, 9, 12}, {1, 9, 11}, {2, 9, 11}, {5, 8, 13}, {6, 7, 13}};
    for (const auto& c : cases) {
        const BlockSpan s = BlockSpanOf(c.length);
        EXPECT_EQ(10 - s.Half, c.first) << c.length;
        EXPECT_EQ(10 + s.Half + s.Extra, c.last) << c.length;
    }
}

// Row y of the terrain types on an 8 x 8 field, x = 1..8; '.' is open ground.
std::string TypeRow(const CBattlefield& b, int y)
{
    std::string row;
    for (int x = 1; x <= 8; ++x) {
        const int t = b.TerrainType[GridIndex(x, y)];
        row += t == 0 ? '.' : static_cast<char>('0' + t);
    }
    return row;
}

void Block(CBattlefield& b, int k, int type, int length, int width, int x, int y, int used)
{
    b.TerrainBlockType[k] = type;
    b.TerrainBlockLength[k] = length;
    b.TerrainBlockWidth[k] = width;
    b.TerrainBlockX[k] = x;
    b.TerrainBlockY[k] = y;
    b.TerrainBlockUsed[k] = used;
}

TEST(TerrainBlocks, UsedBlocksAreLaidInOrderAndClippedToTheField)
{
    auto field = std::make_unique<CBattlefield>();
    CBattlefield& b = *field;
    b.BattleSize = 8;
    b.TerrainMode = 1;
    b.CellTerrainDefined = 1;
    b.AgentGrid[GridIndex(8, 1)] = CellAgent;
    Block(b, 1, PassableI, 3, 2, 2, 2, 1);     // x 1..4, y 1..3
    Block(b, 2, Lava, 1, 4, 7, 7, 1);          // x 6..8, y 5..9 cut at 8
    Block(b, 3, Pillar, 2, 2, 6, 2, 0);        // not used: not laid, still sets line of sight
    Block(b, 4, PassableIII, 2, 1, 3, 3, 1);   // x 2..4, y 2..4, over block 1
    Block(b, 5, Lava, 4, 0, 4, 4, 0);          // a zero width: empty, cleared
    Block(b, 6, PassableII, 2, 2, 6, 3, 1);    // after the empty one: block 5, x 5..7, y 2..4
    ApplyEditedTerrainBlocks(b);

    const char* expected[] = {"3333....", "3555444.", "3555444.", ".555444.",
                              ".....111", ".....111", ".....111", ".....111"};
    for (int y = 1; y <= 8; ++y)
        EXPECT_EQ(TypeRow(b, y), expected[y - 1]) << "y = " << y;
    EXPECT_EQ(b.AgentGrid[GridIndex(1, 1)], CellTerrain);
    EXPECT_EQ(b.AgentGrid[GridIndex(5, 1)], CellFree);
    EXPECT_EQ(b.AgentGrid[GridIndex(8, 1)], CellAgent);  // an agent off the blocks stays
    EXPECT_EQ(b.AgentGrid[GridIndex(8, 9)], CellFree);   // nothing beyond the field
    EXPECT_EQ(b.terrain_blocks, 5);
    EXPECT_EQ(b.TerrainModifiersOn, 1);
    EXPECT_EQ(b.LineOfSightOn, 1);
    EXPECT_EQ(b.CellTerrainDefined, 0);
    // Each block moves with its use flag; the empty one goes last, cleared.
    EXPECT_EQ(b.TerrainBlockType[5], PassableII);
    EXPECT_EQ(b.TerrainBlockX[5], 6);
    EXPECT_EQ(b.TerrainBlockUsed[5], 1);
    for (int k : {6, 7}) {
        EXPECT_EQ(b.TerrainBlockType[k] + b.TerrainBlockLength[k] + b.TerrainBlockWidth[k] + b.TerrainBlockX[k] +
                      b.TerrainBlockY[k],
                  0)
            << k;
        EXPECT_EQ(b.TerrainBlockUsed[k], 0) << k;
    }
}

TEST(TerrainBlocks, SwitchesFollowUseAndTypeAndTerrainOffClearsTheField)
{
    struct Case {
        int type, used, mode;
        int passable, sight, laidCells;
    };
    // One 2 x 2 block at (4, 4): 3 x 3 cells.
    const Case cases[] = {
        {PassableII, 0, 1, 0, 0, 0},  // passable but unused
        {PassableII, 1, 1, 1, 0, 9},
        {Lava, 1, 1, 0, 0, 9},
        {Pillar, 1, 0, 0, 1, 0},      // terrain off: nothing stays
    };
    for (const Case& c : cases) {
        auto field = std::make_unique<CBattlefield>();
        CBattlefield& b = *field;
        b.BattleSize = 8;
        b.TerrainMode = c.mode;
        b.TerrainType[GridIndex(7, 7)] = PassableIII;  // left from before
        b.AgentGrid[GridIndex(7, 7)] = CellTerrain;
        Block(b, 1, c.type, 2, 2, 4, 4, c.used);
        ApplyEditedTerrainBlocks(b);
        int laid = 0;
        for (int x = 1; x <= 8; ++x)
            for (int y = 1; y <= 8; ++y)
                laid += b.AgentGrid[GridIndex(x, y)] == CellTerrain && b.TerrainType[GridIndex(x, y)] == c.type;
        EXPECT_EQ(laid, c.laidCells) << c.type << " " << c.used << " " << c.mode;
        EXPECT_EQ(b.TerrainModifiersOn, c.passable);
        EXPECT_EQ(b.LineOfSightOn, c.sight);
        EXPECT_EQ(b.terrain_blocks, 1);
        EXPECT_EQ(b.TerrainType[GridIndex(7, 7)], c.mode == 0 ? 0 : PassableIII);
    }
}

// Terrain On lays the blocks back with their modifiers only when a block it
// lays is passable: one listed among terrain_blocks, ticked Use, of type 3..5.
TEST(TerrainBlocks, OnlyAPassableBlockLaidTurnsTheModifiersOn)
{
    struct Case {
        const char* What;
        int Count;
        int Type1, Used1, Type2, Used2;
        bool Passable;
    };
    const Case cases[] = {
        {"passable, used", 1, PassableII, 1, OpenGround, 0, true},
        {"passable, not used", 1, PassableII, 0, OpenGround, 0, false},
        {"impassable, used", 1, Lava, 1, OpenGround, 0, false},
        {"passable, used, past the list", 1, Lava, 1, PassableIII, 1, false},
        {"pillar used, passable not", 2, Pillar, 1, PassableI, 0, false},
        {"the second block passable and used", 2, Pillar, 1, PassableI, 1, true},
    };
    for (const Case& c : cases) {
        auto field = std::make_unique<CBattlefield>();
        CBattlefield& b = *field;
        b.BattleSize = 8;
        b.terrain_blocks = c.Count;
        Block(b, 1, c.Type1, 2, 2, 3, 3, c.Used1);
        Block(b, 2, c.Type2, 2, 2, 6, 6, c.Used2);
        EXPECT_EQ(LaysPassableTerrain(b), c.Passable) << c.What;
    }
}

}  // namespace
}  // namespace brevimar
