#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "collect/StatisticsKernels.h"
#include "support/TestDocument.h"

namespace brevimar {
namespace {

using Cells = std::vector<std::pair<int, int>>;

struct ClusterResult {
    std::map<int, int> Sizes;  // size -> clusters
    double Mean;
};

ClusterResult Label(const std::vector<int>& grid, int size, int distance)
{
    const auto work = std::make_unique<CClusterWork>();  // too large for the stack
    int counts[ClusterSizeSlots];
    ClusterResult r;
    r.Mean = LabelClusterGrid(grid.data(), size, distance, *work, counts);
    for (int s = 1; s < ClusterSizeSlots; ++s)
        if (counts[s] > 0)
            r.Sizes[s] = counts[s];
    return r;
}

std::vector<int> Grid(const Cells& cells, int value = CellAgent)
{
    std::vector<int> grid(GridCells, 0);
    for (auto [x, y] : cells)
        grid[GridIndex(x, y)] = value;
    return grid;
}

TEST(Clusters, HandCountedConfigurations)
{
    struct Case {
        const char* Name;
        Cells Occupied;
        int Distance;
        std::map<int, int> Sizes;
        double Mean;
    };
    const Case cases[] = {
        {"empty", {}, 1, {}, 0},
        {"one agent", {{4, 4}}, 1, {{1, 1}}, 1},
        {"diagonal neighbours", {{4, 4}, {5, 5}}, 1, {{2, 1}}, 2},
        {"two apart, D=1", {{4, 4}, {6, 4}}, 1, {{1, 2}}, 1},
        {"two apart, D=2", {{4, 4}, {6, 4}}, 2, {{2, 1}}, 2},
        // One 8-connected group of six that a label table without merging splits in two.
        {"joined late", {{1, 5}, {2, 4}, {2, 3}, {2, 1}, {3, 2}, {4, 1}}, 1, {{6, 1}}, 6},
        {"sizes 1, 1 and 4", {{1, 1}, {10, 10}, {5, 5}, {5, 6}, {6, 5}, {6, 6}}, 1, {{1, 2}, {4, 1}}, 2},
    };
    for (const Case& c : cases) {
        const ClusterResult r = Label(Grid(c.Occupied), 20, c.Distance);
        EXPECT_EQ(r.Sizes, c.Sizes) << c.Name;
        EXPECT_DOUBLE_EQ(r.Mean, c.Mean) << c.Name;
    }
    // Occupied terrain joins the cluster of an agent beside it.
    std::vector<int> grid = Grid({{3, 3}});
    grid[GridIndex(3, 4)] = CellTerrain;
    EXPECT_EQ(Label(grid, 20, 1).Sizes, (std::map<int, int>{{2, 1}}));
    // A cluster past the table's end counts in its last entry; the mean keeps the true size.
    Cells block;
    for (int x = 1; x <= 30; ++x)
        for (int y = 1; y <= 30; ++y)
            block.push_back({x, y});
    const ClusterResult big = Label(Grid(block), 30, 2);
    EXPECT_EQ(big.Sizes, (std::map<int, int>{{MaxClusterSize, 1}}));
    EXPECT_DOUBLE_EQ(big.Mean, 900);
}

// Cluster sizes by flood fill over the square neighbourhood |dx|, |dy| <= D.
std::map<int, int> FloodFill(const std::vector<int>& grid, int size, int distance)
{
    std::vector<char> seen(GridCells, 0);
    std::map<int, int> sizes;
    for (int x = 1; x <= size; ++x)
        for (int y = 1; y <= size; ++y) {
            if (grid[GridIndex(x, y)] <= 0 || seen[GridIndex(x, y)])
                continue;
            std::vector<std::pair<int, int>> stack{{x, y}};
            seen[GridIndex(x, y)] = 1;
            int n = 0;
            while (!stack.empty()) {
                auto [cx, cy] = stack.back();
                stack.pop_back();
                ++n;
                for (int dx = -distance; dx <= distance; ++dx)
                    for (int dy = -distance; dy <= distance; ++dy) {
                        const int nx = cx + dx, ny = cy + dy;
                        if (nx < 1 || ny < 1 || nx > size || ny > size)
                            continue;
                        const int at = GridIndex(nx, ny);
                        if (grid[at] > 0 && !seen[at]) {
                            seen[at] = 1;
                            stack.push_back({nx, ny});
                        }
                    }
            }
            ++sizes[std::min(n, MaxClusterSize)];
        }
    return sizes;
}

TEST(Clusters, AgreeWithAFloodFillOnRandomGrids)
{
    std::mt19937 random(20261207);
    for (int trial = 0; trial < 300; ++trial) {
        const int size = 5 + static_cast<int>(random() % 60);
        const double density = 0.05 + 0.6 * (random() % 1000) / 1000.0;
        std::vector<int> grid(GridCells, 0);
        for (int x = 1; x <= size; ++x)
            for (int y = 1; y <= size; ++y)
                if ((random() % 1000) / 1000.0 < density)
                    grid[GridIndex(x, y)] = random() % 4 == 0 ? CellTerrain : CellAgent;
        for (int distance : {1, 2})
            ASSERT_EQ(Label(grid, size, distance).Sizes, FloodFill(grid, size, distance))
                << "trial " << trial << " D " << distance;
    }
}

TEST(CapacityDimension, CountOccupiedBoxesByHand)
{
    const auto owned = std::make_unique<CBoxCountWork>();
    CBoxCountWork& work = *owned;
    // x span 0.8 in boxes of 0.5: 2 columns, scale 1.25; x 0.1, 0.2 -> 0, x 0.9 -> 1.
    // All y equal: one row.
    const double x[] = {0.1, 0.2, 0.9}, y[] = {0.1, 0.1, 0.1};
    EXPECT_EQ(CountOccupiedBoxes(x, y, 3, 0.5, work), 2u);
    EXPECT_EQ(CountOccupiedBoxes(x, y, 0, 0.5, work), 0u);
    EXPECT_EQ(CountOccupiedBoxes(x, y, 1, 0.5, work), 1u);
}

struct Positions {
    Cells Red, Blue;
};

void PlaceAll(CBrevimarDoc& doc, const Positions& p, int size)
{
    doc.Battlefield.BattleSize = size;
    for (auto [side, cells] : {std::pair{Side::Red, &p.Red}, std::pair{Side::Blue, &p.Blue}}) {
        CForce& force = doc.Force(side);
        force.NumAgents = static_cast<int>(cells->size());
        for (int i = 0; i < force.NumAgents; ++i) {
            force.AgentX[i + 1] = (*cells)[i].first;
            force.AgentY[i + 1] = (*cells)[i].second;
            force.AgentState[i + 1] = Alive;
        }
    }
}

TEST(CapacityDimension, SlopesAndErrorsOfKnownSpreads)
{
    Cells row;
    for (int x = 1; x <= 150; ++x)
        row.push_back({x, 40});
    struct Case {
        const char* Name;
        Positions Agents;
        double Red, Blue, Both;
    };
    const Case cases[] = {
        // Four corners of the field: 4 boxes at every size, a flat line.
        {"corners", {{{1, 1}, {1, 150}, {150, 1}, {150, 150}}, {{70, 70}}}, 0, 0, 0},
        // A full row: 8, 16, 32 and 64 boxes, slope 1 exactly; no BLUE.
        {"row", {row, {}}, 1, 0, 1},
    };
    for (const Case& c : cases) {
        testing::TestDocument doc;
        PlaceAll(*doc, c.Agents, 150);
        doc->RunHeader.CurrentStep = 6;
        doc->ComputeCapacityDimension();
        const double expected[3] = {c.Red, c.Blue, c.Both};
        for (int g = 0; g < 3; ++g) {
            EXPECT_EQ(doc->Collected.CapacityDimension[g][6], expected[g]) << c.Name << " group " << g;
            EXPECT_EQ(doc->Collected.CapacityDimensionError[g][6], 0.0) << c.Name << " group " << g;
        }
    }
}

TEST(CapacityDimension, SnapshotFileLayout)
{
    testing::TestDocument doc;
    PlaceAll(*doc, {{{1, 1}, {1, 150}, {150, 1}, {150, 150}}, {}}, 150);
    doc->RunHeader.CurrentStep = 12;
    const std::string path = std::string(BREVIMAR_BINARY_DIR) + "/snapshot_test.cdm";
    doc.Host.FileChoices.push_back(path);
    WriteCapacityDimensionData(*doc);
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();

    // Epsilon, then ln(1/epsilon) at six digits; counts 4 (ln 4 = 1.38629)
    // for the corners and 1 (ln 1 = 0) for the empty BLUE side.
    const char* rows[8][2] = {{"       0.5", "  0.693147"}, {"      0.25", "   1.38629"},
                              {"     0.125", "   2.07944"}, {"    0.0625", "   2.77259"},
                              {"   0.03125", "   3.46574"}, {"  0.015625", "   4.15888"},
                              {" 0.0078125", "   4.85203"}, {"0.00390625", "   5.54518"}};
    auto section = [&](const char* title, const char* count, const char* logCount) {
        std::string s = std::string("\n") + title + "\n";
        for (auto& row : rows)
            s += std::string("\n") + row[0] + "  " + count + " " + row[1] + " " + logCount;
        return s + "\nEstimated Capacity Dimension = 0 +/- 0";
    };
    const std::string stars(76, '*');
    const std::string expected = stars + "\n                        (Raw) Capacity Dimension Data " +
                                 "\nFormat:  [epsilon]  [count]   [log(1/epsilon)]    [log(count)]" + "\n" + stars +
                                 "\nTime = 12\n" + section("Red ===", "         4", "   1.38629") + "\n\n" +
                                 section("Blue ===", "         1", "         0") + "\n\n" +
                                 section("Total (Red & Blue) ===", "         4", "   1.38629") + "\n";
    EXPECT_EQ(text.str(), expected);

    // A cancelled chooser writes nothing.
    std::remove(path.c_str());
    WriteCapacityDimensionData(*doc);
    EXPECT_FALSE(std::ifstream(path).good());
}

}  // namespace
}  // namespace brevimar
