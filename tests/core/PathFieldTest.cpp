#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <vector>

#include "core/PathField.h"
#include "support/ScriptedHost.h"
#include "support/TestDocument.h"

namespace brevimar {
namespace {

std::vector<int> OpenGrid(int size) { return std::vector<int>((size + 1) * (size + 1), 0); }

TEST(PathField, OpenGroundFollowsAShortestPath)
{
    testing::ScriptedHost host;
    auto grid = OpenGrid(30);
    CPathField diagonal(grid.data(), 30, 30, 20, 20, 1, host);
    int px = -1, py = -1;
    diagonal.GetPredecessor(10, 10, &px, &py);
    EXPECT_EQ(px, 11);
    EXPECT_EQ(py, 11);
    diagonal.GetPredecessor(20, 20, &px, &py);
    EXPECT_EQ(px, 0);  // the source has no predecessor
    EXPECT_EQ(py, 0);

    // Toward (20, 25) any shortest path takes ten diagonal and five straight steps.
    CPathField field(grid.data(), 30, 30, 20, 25, 1, host);
    int x = 10, y = 10, diagonals = 0, straights = 0;
    while (!(x == 20 && y == 25) && diagonals + straights < 100) {
        field.GetPredecessor(x, y, &px, &py);
        ASSERT_LE(std::abs(px - x), 1);
        ASSERT_LE(std::abs(py - y), 1);
        (px != x && py != y ? diagonals : straights) += 1;
        x = px;
        y = py;
    }
    EXPECT_EQ(diagonals, 10);
    EXPECT_EQ(straights, 5);
}

TEST(PathField, WalledOffCellsAndOutsideLookups)
{
    testing::ScriptedHost host;
    auto grid = OpenGrid(20);
    for (int x = 4; x <= 6; ++x)
        for (int y = 4; y <= 6; ++y)
            if (x != 5 || y != 5)
                grid[21 * x + y] = (x + y) % 2 ? Lava : Pillar;
    grid[21 * 12 + 12] = PassableII;  // passable costs as open ground
    CPathField field(grid.data(), 20, 20, 15, 15, 1, host);
    int px = -1, py = -1;
    field.GetPredecessor(5, 5, &px, &py);
    EXPECT_EQ(px, 0);
    EXPECT_EQ(py, 0);
    field.GetPredecessor(11, 11, &px, &py);
    EXPECT_EQ(px, 12);
    EXPECT_EQ(py, 12);
    px = py = -1;
    field.GetPredecessor(21, 3, &px, &py);
    EXPECT_EQ(px, 0);
    EXPECT_EQ(py, 0);

    CPathField empty;
    px = py = 7;
    empty.GetPredecessor(3, 3, &px, &py);
    EXPECT_EQ(px, 7);  // a field without a buffer writes nothing
    EXPECT_EQ(py, 7);
}

TEST(PathField, TiesAreBrokenByTheRuntimeGenerator)
{
    auto grid = OpenGrid(12);
    testing::ScriptedHost a, c;
    CPathField first(grid.data(), 12, 12, 6, 6, 1, a);
    CPathField same(grid.data(), 12, 12, 6, 6, 1, c);
    EXPECT_TRUE(first == same);  // same generator state, same field
    EXPECT_TRUE(a.SrandSeeds.empty());  // seed 1 does not reseed
    testing::ScriptedHost d;
    CPathField reseeded(grid.data(), 12, 12, 6, 6, 7, d);
    ASSERT_EQ(d.SrandSeeds.size(), 1u);
    EXPECT_EQ(d.SrandSeeds[0], 7u);
}

TEST(PathField, CopyAndTextRoundTrip)
{
    testing::ScriptedHost host;
    auto grid = OpenGrid(25);
    grid[26 * 10 + 10] = Lava;
    CPathField field(grid.data(), 25, 25, 3, 22, 1, host);
    CPathField copy;
    copy = field;
    EXPECT_TRUE(copy == field);

    std::stringstream text;
    text << field;
    std::string firstLine;
    std::getline(text, firstLine);
    EXPECT_EQ(firstLine, "26 26");
    text.seekg(0);
    CPathField read;
    text >> read;
    EXPECT_FALSE(text.fail());
    EXPECT_TRUE(read == field);

    std::stringstream zero("0 0\n");
    zero >> read;
    EXPECT_FALSE(read.Owned);
    EXPECT_EQ(read.CellCount, 0u);
}

TEST(PathField, BadBodiesAreRefusedAndLeaveTheFieldAsItWas)
{
    testing::ScriptedHost host;
    auto grid = OpenGrid(5);
    CPathField field(grid.data(), 5, 5, 2, 2, 1, host);
    const CPathField before = field;
    const char* bodies[] = {
        "152 152\n",          // larger than any battlefield
        "3 3\n0 1 2 3 4\n",   // truncated
        "2 2\n0 1 2 9\n",     // points outside the field
        "2 2\n0 1 -2 3\n",    // not an unsigned number
        "4294967295 2\n",     // overflowing dimensions
        "",
    };
    for (const char* body : bodies) {
        std::stringstream in(body);
        std::string error;
        EXPECT_FALSE(field.Read(in, &error)) << body;
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(field == before) << body;
        std::stringstream again(body);
        again >> field;
        EXPECT_TRUE(again.fail());
    }
}

TEST(PathField, FlagsOffTheBattlefieldAreRefusedBeforeBuilding)
{
    testing::TestDocument doc;
    doc->RunMode = InteractiveMode;
    doc->Battlefield.BattleSize = 40;
    doc->RedForce.GoalFlagX = 41;  // the BLUE flag, off the field
    doc->RedForce.GoalFlagY = 20;
    doc->BlueForce.GoalFlagX = 2;
    doc->BlueForce.GoalFlagY = 2;
    doc->BuildFlagPathFields();
    EXPECT_FALSE(doc->RedWaypointField.Owned);
    EXPECT_FALSE(doc->BlueWaypointField.Owned);
    EXPECT_TRUE(doc.Host.SawMessageContaining("BLUE flag"));

    doc->RedForce.GoalFlagX = 40;
    doc->BuildFlagPathFields();
    ASSERT_TRUE(doc->RedWaypointField.Owned);
    EXPECT_EQ(doc->RedWaypointField.Rows, 41u);
    int px = 0, py = 0;
    doc->RedWaypointField.GetPredecessor(39, 20, &px, &py);
    EXPECT_EQ(px, 40);
    EXPECT_EQ(py, 20);

    // Only the interactive mode builds.
    doc->RunMode = PlaybackMode;
    doc->RedWaypointField = CPathField();
    doc->BuildFlagPathFields();
    EXPECT_FALSE(doc->RedWaypointField.Owned);
}

}  // namespace
}  // namespace brevimar
