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
