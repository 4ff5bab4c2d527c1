#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "core/Force.h"
#include "core/NeighborGrid.h"
#include "core/Side.h"
#include "support/TestDocument.h"

namespace brevimar {
namespace {

std::vector<int> Members(const AgentBits& bits)
{
    std::vector<int> out;
    bits.ForEach([&](int j) { out.push_back(j); });
    return out;
}

TEST(AgentBits, VisitsAscendingAcrossWordsWhileTheSetChanges)
{
    AgentBits bits;
    for (int j : {300, 1, 64, 63, 128, 65})
        bits.Set(j);
    std::vector<int> seen;
    bits.ForEach([&](int j) {
        seen.push_back(j);
        bits.Reset(j);  // taking members out must not disturb the visit
    });
    EXPECT_EQ(seen, (std::vector<int>{1, 63, 64, 65, 128, 300}));
    EXPECT_TRUE(Members(bits).empty());
}

// A force whose agents 1..n stand at (x[j], y[j]), alive.
std::unique_ptr<CForce> ForceAt(const std::vector<int>& x, const std::vector<int>& y)
{
    auto force = std::make_unique<CForce>();
    force->NumAgents = static_cast<int>(x.size()) - 1;
    for (size_t j = 1; j < x.size(); ++j) {
        force->PlaceAgent(static_cast<int>(j), x[j], y[j]);
        force->SetAgentState(static_cast<int>(j), Alive);
    }
    return force;
}

// Coarse cells are 4 x 4, so the candidates of a box are the agents of
// every coarse cell the box touches, never fewer.
TEST(AgentGrid, NearHoldsEveryAgentInTheBoxAndSkipsFarOnes)
{
    //                              1   2   3    4    5    6
    const auto force = ForceAt({0, 10, 12, 140, -5, 400, 75}, {0, 10, 13, 140, 3, 151, 75});
    const CAgentGrid& grid = force->Grid;
    struct Case {
        SquareBox box;
        std::vector<int> inside;  // worked out from the coordinates above
        std::vector<int> outside;  // far from every touched coarse cell
    } cases[] = {
        {SquareBox(10, 10, 1), {1}, {3, 5, 6}},
        {SquareBox(11, 11, 2), {1, 2}, {3, 4, 5, 6}},
        {SquareBox(0, 0, 5), {4}, {1, 2, 3, 5, 6}},        // x = -5 is kept at the edge
        {SquareBox(400, 151, 2), {5}, {1, 2, 3, 4, 6}},     // so is x = 400
        {SquareBox(75, 75, -1), {}, {1, 2, 3, 4, 5, 6}},    // an empty box
    };
    for (const Case& c : cases) {
        AgentBits near;
        ASSERT_TRUE(grid.Near(c.box, &near, MaxAgents));  // priced for a full force
        for (int j : c.inside)
            EXPECT_TRUE(near.Has(j)) << j;
        for (int j : c.outside)
            EXPECT_FALSE(near.Has(j)) << j;
    }
    // A box over most of the field is cheaper as a plain pass.
    AgentBits whole;
    EXPECT_FALSE(grid.Near(SquareBox(75, 75, 75), &whole, MaxAgents));
    EXPECT_TRUE(Members(whole).empty());
}

// Box questions by rows and columns are exact: inside means both coordinates
// within range of the centre, worked out by hand from the positions; agents
// off the grid's lines (x = -5, x = 400) are answered too.
TEST(AgentGrid, InBoxesHoldsExactlyTheAgentsOfBothBoxes)
{
    //                              1   2   3    4    5    6
    const auto force = ForceAt({0, 10, 12, 140, -5, 400, 75}, {0, 10, 13, 140, 3, 151, 75});
    const CAgentGrid& grid = force->Grid;
    struct Case {
        int x, y, inner, outer;
        std::vector<int> in, out;
    } cases[] = {
        {11, 11, 1, 2, {1}, {1, 2}},            // 2 is 1 and 2 away from (11, 11)
        {10, 10, 2, 3, {1}, {1, 2}},            // 2 is 2 and 3 away
        {0, 0, 4, 5, {}, {4}},                  // 4 is 5 and 3 away
        {398, 151, -1, 2, {}, {5}},             // an empty inner box
        {75, 75, 0, 65, {6}, {1, 2, 3, 6}},     // 3 is 65 away along both axes
    };
    for (const Case& c : cases) {
        AgentBits in, out;
        grid.InBoxes(c.x, c.y, c.inner, c.outer, &in, &out, AgentBits::Words);
        EXPECT_EQ(Members(in), c.in) << c.x << ", " << c.y;
        EXPECT_EQ(Members(out), c.out) << c.x << ", " << c.y;
    }
}

// The same exact question for a box of any shape (the bounds of several
// boxes), including boxes reaching or lying beyond the grid's lines.
TEST(AgentGrid, InBoxHoldsExactlyTheAgentsOfARectangle)
{
    //                              1   2   3    4    5    6
    const auto force = ForceAt({0, 10, 12, 140, -5, 400, 75}, {0, 10, 13, 140, 3, 151, 75});
    auto box = [](int x0, int x1, int y0, int y1) {
        SquareBox b;
        b.XLow = x0, b.XHigh = x1, b.YLow = y0, b.YHigh = y1;
        return b;
    };
    struct Case {
        SquareBox box;
        std::vector<int> in;
    } cases[] = {
        {box(10, 12, 10, 13), {1, 2}},
        {box(11, 140, 11, 140), {2, 3, 6}},   // 1 stands at x = 10
        {box(-10, 0, 0, 5), {4}},             // (-5, 3), off the lines
        {box(152, 500, 150, 151), {5}},       // wholly beyond the lines: (400, 151)
        {box(0, 151, 76, 139), {}},           // between 6 (y = 75) and 3 (y = 140)
        {box(12, 10, 0, 151), {}},            // empty
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Members(force->Grid.InBox(c.box, MaxAgents)), c.in) << c.box.XLow << ".." << c.box.XHigh << ", " << c.box.YLow << ".." << c.box.YHigh;
    }
}

// The force's writers keep its grid equal to one rebuilt from the arrays
// through every kind of change; agents are held only while alive or
// injured.
TEST(AgentGrid, TheForcesWritersKeepItCurrent)
{
    auto force = ForceAt({0, 20, 100, 30}, {0, 20, 100, 30});
    CForce& f = *force;
    auto near = [&](int x, int y) { return Members(f.Grid.Cell[CAgentGrid::CoarseIndex(x, y)]); };
    const std::vector<int> none;
    struct Step {
        const char* what;
        std::function<void()> change;
        int x, y;  // a cell whose coarse cell is asked about afterwards
        std::vector<int> found;
    } steps[] = {
        {"move", [&] { f.PlaceAgent(1, 90, 90); }, 90, 90, {1}},
        {"moved away", [] {}, 20, 20, none},
        {"injured", [&] { f.SetAgentState(2, Injured); }, 100, 100, {2}},
        {"killed", [&] { f.SetAgentState(2, Dead); }, 100, 100, none},
        {"dead agent moved", [&] { f.PlaceAgent(2, 30, 31); }, 30, 30, {3}},
        {"reconstituted", [&] { f.SetAgentState(2, Alive); }, 30, 30, {2, 3}},
        {"killed again", [&] { f.SetAgentState(3, Dead); }, 30, 30, {2}},
        {"rebuilt", [&] { f.RebuildAgentGrid(); }, 90, 90, {1}},
        // Agents sharing a cell: the cell stays taken until the last leaves.
        {"stacked", [&] { f.PlaceAgent(1, 30, 31); }, 30, 30, {1, 2}},
        {"stacked twice", [&] { f.SetAgentState(3, Alive); }, 30, 30, {1, 2, 3}},
        {"first to stand there leaves", [&] { f.PlaceAgent(2, 60, 60); }, 30, 30, {1, 3}},
        {"another leaves", [&] { f.SetAgentState(3, Dead); }, 30, 30, {1}},
        {"last leaves", [&] { f.PlaceAgent(1, 90, 90); }, 30, 30, none},
    };
    for (const Step& s : steps) {
        s.change();
        EXPECT_TRUE(f.AgentGridCurrent()) << s.what;
        EXPECT_EQ(near(s.x, s.y), s.found) << s.what;
    }
    // A position written past the force is noticed.
    f.AgentX[1] = 10;
    EXPECT_FALSE(f.AgentGridFollowsAgents());
    EXPECT_FALSE(f.AgentGridCurrent());
    f.RebuildAgentGrid();
    EXPECT_TRUE(f.AgentGridCurrent());
}

// Inside a step the sight lines use the blocker sums; every answer must be
// the walk's own. Pillars (sight blockers) and lava (not one) round (20, 20).
TEST(NeighborGrids, SightLinesInsideAStepAnswerAsTheWalk)
{
    testing::TestDocument doc;
    CBattlefield& f = doc->Battlefield;
    f.BattleSize = 40;
    f.TerrainMode = 1;
    f.LineOfSightOn = 1;
    for (int y = 15; y <= 25; ++y)
        for (int x = 19; x <= 21; ++x)
            f.TerrainType[GridIndex(x, y)] = Pillar;
    for (int y = 5; y <= 8; ++y)
        f.TerrainType[GridIndex(30, y)] = Lava;
    std::vector<bool> walk;
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1)
            doc->BeginStepGrids();
        int n = 0;
        int blocked = 0;
        for (int x0 = 1; x0 <= 40; x0 += 3)
            for (int y0 = 1; y0 <= 40; y0 += 3)
                for (int x1 = 2; x1 <= 40; x1 += 5)
                    for (int y1 = 2; y1 <= 40; y1 += 5) {
                        const bool seen = doc->HasLineOfSight(x0, y0, x1, y1);
                        blocked += !seen;
                        if (pass == 0)
                            walk.push_back(seen);
                        else
                            ASSERT_EQ(seen, walk[n]) << x0 << "," << y0 << " -> " << x1 << "," << y1;
                        ++n;
                    }
        EXPECT_GT(blocked, 0) << "the wall must block some lines";
    }
    doc->EndStepGrids();
}

// A box is clear of sight blockers only while no pillar lies in it, its edge
// rows and columns included; lava is seen across. Outside a step there are
// no sums and the answer says nothing.
TEST(NeighborGrids, SightClearBoxesCountTheirEdges)
{
    testing::TestDocument doc;
    CBattlefield& f = doc->Battlefield;
    f.BattleSize = 40;
    f.TerrainMode = 1;
    f.LineOfSightOn = 1;
    f.TerrainType[GridIndex(20, 20)] = Pillar;
    f.TerrainType[GridIndex(10, 10)] = Lava;
    EXPECT_FALSE(doc->SightClearIn(SquareBox(30, 30, 1)));
    doc->BeginStepGrids();
    struct Case {
        int x, y, range;
        bool clear;
    };
    const Case cases[] = {
        {17, 20, 3, false},  // columns 14..20
        {16, 20, 3, true},   // columns 13..19
        {20, 23, 3, false},  // rows 20..26
        {20, 24, 3, true},   // rows 21..27
        {10, 10, 2, true},   // lava only
        {20, 20, -1, true},  // an empty box
    };
    for (const Case& c : cases)
        EXPECT_EQ(doc->SightClearIn(SquareBox(c.x, c.y, c.range)), c.clear) << c.x << "," << c.y << " r " << c.range;
    doc->EndStepGrids();
}

}  // namespace
}  // namespace brevimar
