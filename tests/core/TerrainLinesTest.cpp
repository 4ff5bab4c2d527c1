#include <gtest/gtest.h>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

class TerrainLines : public ::testing::Test {
protected:
    testing::TestDocument doc;
    void SetUp() override
    {
        doc->Battlefield.TerrainMode = 1;
        doc->Battlefield.BattleSize = 50;
    }
    void Put(int x, int y, int type) { doc->Battlefield.TerrainType[GridIndex(x, y)] = type; }
};

TEST_F(TerrainLines, NeighboursAreNeverBlocked)
{
    for (int x = 9; x <= 11; ++x)
        for (int y = 9; y <= 11; ++y)
            Put(x, y, Pillar);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            EXPECT_FALSE(doc->IsPathBlocked(10, 10, 10 + dx, 10 + dy));
            EXPECT_TRUE(doc->HasLineOfSight(10, 10, 10 + dx, 10 + dy));
        }
}

TEST_F(TerrainLines, NothingBlocksWithoutTerrain)
{
    Put(11, 11, Pillar);
    doc->Battlefield.TerrainMode = 0;
    EXPECT_FALSE(doc->IsPathBlocked(10, 10, 13, 13));
    EXPECT_TRUE(doc->HasLineOfSight(10, 10, 13, 13));
}

TEST_F(TerrainLines, DiagonalAcrossLavaAndPillar)
{
    Put(11, 11, Lava);
    EXPECT_TRUE(doc->IsPathBlocked(10, 10, 13, 13));
    EXPECT_TRUE(doc->HasLineOfSight(10, 10, 13, 13));
    Put(11, 11, Pillar);
    EXPECT_TRUE(doc->IsPathBlocked(10, 10, 13, 13));
    EXPECT_FALSE(doc->HasLineOfSight(10, 10, 13, 13));
}

TEST_F(TerrainLines, PassableTerrainBlocksNeither)
{
    for (int type : {PassableI, PassableII, PassableIII}) {
        for (int x = 9; x <= 14; ++x)
            for (int y = 9; y <= 14; ++y)
                Put(x, y, type);
        EXPECT_FALSE(doc->IsPathBlocked(10, 10, 13, 13)) << type;
        EXPECT_TRUE(doc->HasLineOfSight(10, 10, 10, 14)) << type;
    }
}

TEST_F(TerrainLines, StraightLineNeedsAWallThreeCellsWide)
{
    Put(10, 12, Lava);
    EXPECT_FALSE(doc->IsPathBlocked(10, 10, 10, 13));
    Put(9, 12, Lava);
    EXPECT_FALSE(doc->IsPathBlocked(10, 10, 10, 13));
    Put(11, 12, Lava);
    EXPECT_TRUE(doc->IsPathBlocked(10, 10, 10, 13));
    EXPECT_TRUE(doc->HasLineOfSight(10, 10, 10, 13));  // lava is seen across

    // The same across a horizontal line.
    Put(20, 30, Pillar);
    Put(20, 31, Pillar);
    Put(20, 29, Pillar);
    EXPECT_TRUE(doc->IsPathBlocked(18, 30, 23, 30));
    EXPECT_FALSE(doc->HasLineOfSight(18, 30, 23, 30));
}

TEST_F(TerrainLines, FractionalLineTestsBothStraddlingCells)
{
    // From (1, 1) to (4, 2): x = 2 crosses at 4/3 and x = 3 at 5/3.
    Put(2, 1, Lava);
    EXPECT_FALSE(doc->IsPathBlocked(1, 1, 4, 2));
    Put(2, 2, Lava);
    EXPECT_TRUE(doc->IsPathBlocked(1, 1, 4, 2));
    Put(2, 1, OpenGround);
    Put(2, 2, OpenGround);
    Put(3, 1, Lava);
    Put(3, 2, Lava);
    EXPECT_TRUE(doc->IsPathBlocked(1, 1, 4, 2));
}

TEST_F(TerrainLines, SlopedLinesTakeTheFloorAndCeilOfTheirCrossings)
{
    // Pillar pairs across rows 11 and 12 in column 12, in column 1 (on the
    // field's first column), in the unused column 0 and in column 51, past
    // the 50-cell field. Most lines run dx = 4, dy = -3: from (x0, y0) they
    // cross column x0 + k at y0 - 3k/4 and row y0 - k at x0 + 4k/3.
    for (int x : {12, 1, 0, 51})
        for (int y : {11, 12})
            Put(x, y, Pillar);
    Put(51, 20, Pillar);
    Put(51, 21, Pillar);
    struct Case {
        int x0, y0, x1, y1;
        bool seen;
    };
    const Case cases[] = {
        // Column 12 crossed at 13 - 1.5 = 11.5: cells (12, 11) and (12, 12), both pillars.
        {10, 13, 14, 10, false},
        // The same line walked from its other end.
        {14, 10, 10, 13, false},
        // One row lower: column 12 at 12.5 holds (12, 12) and (12, 13), row 12
        // at 10 + 8/3 = 12.67 holds (12, 12) and (13, 12): one pillar each.
        {10, 14, 14, 11, true},
        // dx = 4, dy = -4 crosses column 12 at exactly 12: (12, 12) alone blocks.
        {10, 14, 14, 10, false},
        // From x = -1, column 1 crossed at 11.5: (1, 11) and (1, 12).
        {-1, 13, 3, 10, false},
        // From x = -2, column 0 crossed at 11.5 is off the field, column 1 at
        // 10.75 holds (1, 10) and (1, 11), row 11 at 0.67 holds (0, 11) and (1, 11).
        {-2, 13, 2, 10, true},
        // Column 51 crossed at 20.5: (51, 20) and (51, 21) lie past the field.
        {49, 22, 53, 19, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(doc->HasLineOfSight(c.x0, c.y0, c.x1, c.y1), c.seen)
            << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
        // A pillar blocks moves as well.
        EXPECT_EQ(doc->IsPathBlocked(c.x0, c.y0, c.x1, c.y1), !c.seen) << c.x0 << "," << c.y0;
    }
}

TEST_F(TerrainLines, BoxesClearOfWaysHoldNoImpassableCell)
{
    // Lava at (20, 20), a pillar at (30, 30); passable terrain and cells off
    // the 50-cell field never count.
    Put(20, 20, Lava);
    Put(30, 30, Pillar);
    Put(10, 10, PassableIII);
    Put(51, 40, Lava);
    struct Case {
        int x, y, range;
        bool clear;
    };
    const Case cases[] = {
        {18, 20, 2, false},  // columns 16..20
        {17, 20, 2, true},   // columns 15..19
        {30, 32, 2, false},  // rows 30..34
        {30, 33, 2, true},   // rows 31..35
        {10, 10, 3, true},   // passable only
        {50, 40, 1, true},   // (51, 40) lies past the field
    };
    for (const Case& c : cases)
        EXPECT_EQ(doc->PathsClearIn(SquareBox(c.x, c.y, c.range)), c.clear) << c.x << "," << c.y << " r " << c.range;
    doc->Battlefield.TerrainMode = 0;
    EXPECT_TRUE(doc->PathsClearIn(SquareBox(20, 20, 1)));
}

TEST_F(TerrainLines, WallAtTheBattlefieldEdgeIsNotReadPastTheGrid)
{
    doc->Battlefield.BattleSize = 150;
    Put(149, 75, Lava);
    Put(150, 75, Lava);
    // The third cell of the wall would be x = 151, off the battlefield: not blocking.
    EXPECT_FALSE(doc->IsPathBlocked(150, 73, 150, 77));
}

}  // namespace
}  // namespace brevimar
