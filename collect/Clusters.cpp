// Clusters: maximal groups of occupied cells (agents of either side and
// occupied terrain) connected through neighbours within a distance D.
//
// One raster scan labels the cells, merging the labels of the neighbours
// already passed in a union-find forest, so that cells joined only through a
// later cell still end in one cluster; the roots are resolved at the end.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "collect/StatisticsKernels.h"
#include "core/Document.h"

namespace brevimar {

namespace {

int Root(int* parent, int label)
{
    while (parent[label] != label) {
        parent[label] = parent[parent[label]];
        label = parent[label];
    }
    return label;
}

// The neighbours a raster scan (x outer, y inner) has already passed.
struct Offset {
    int Dx, Dy;
};
constexpr Offset NeighboursD1[] = {{-1, -1}, {0, -1}, {-1, 0}, {-1, 1}};
constexpr Offset NeighboursD2[] = {{-2, -2}, {-2, -1}, {-2, 0}, {-2, 1}, {-2, 2}, {-1, -2}, {-1, -1},
                                   {-1, 0},  {-1, 1},  {-1, 2}, {0, -2},  {0, -1}};

// Those of them that the cell just before in the same column does not reach.
constexpr Offset BeyondAboveD1[] = {{-1, 1}};
constexpr Offset BeyondAboveD2[] = {{-2, 2}, {-1, 2}};

}  // namespace

double LabelClusterGrid(const int* grid, int battleSize, int distance, CClusterWork& work,
                        int (&sizeCount)[ClusterSizeSlots])
{
    const int size = std::clamp(battleSize, 0, MaxBattleSize);
    const Offset* begin = distance == 2 ? std::begin(NeighboursD2) : std::begin(NeighboursD1);
    const Offset* end = distance == 2 ? std::end(NeighboursD2) : std::end(NeighboursD1);
    int* label = work.Label;
    int* parent = work.Parent;
    int* occupied = work.Size;  // cells in scan order; sizes come after the scan
    int labels = 0;
    int cells = 0;
    // Only occupied cells are labelled: a neighbour is looked up only when
    // the grid shows it occupied, and then the scan has labelled it already,
    // so the empty cells, most of the battlefield, are passed over eight at
    // a time and their labels left as they were.
    auto labelCell = [&](int x, int y) {
        const int at = GridIndex(x, y);
        occupied[cells++] = at;
        // The cell beside it in the column before lies within the distance
        // of every neighbour passed, so when it is occupied they all joined
        // its cluster already: the cell takes its label, whose root the end
        // resolves.
        if (x > 1 && grid[at - GridStride] > 0) {
            label[at] = label[at - GridStride];
            return;
        }
        int mine = 0;
        auto join = [&](int nx, int ny) {
            if (nx < 1 || ny < 1 || ny > size)
                return;
            const int near = GridIndex(nx, ny);
            if (grid[near] <= 0)
                return;
            const int root = Root(parent, label[near]);
            if (mine == 0) {
                mine = root;
            } else if (root != mine) {
                // The smaller label stays the root.
                const int low = std::min(root, mine), high = std::max(root, mine);
                parent[high] = low;
                mine = low;
            }
        };
        // Likewise the cell before it in its column reaches every neighbour
        // passed but those of the columns before that lie further on by the
        // distance plus one.
        const Offset* from = begin;
        const Offset* to = end;
        if (y > 1 && grid[at - 1] > 0) {
            join(x, y - 1);
            from = distance == 2 ? std::begin(BeyondAboveD2) : std::begin(BeyondAboveD1);
            to = distance == 2 ? std::end(BeyondAboveD2) : std::end(BeyondAboveD1);
        }
        for (const Offset* o = from; o != to; ++o)
            join(x + o->Dx, y + o->Dy);
        if (mine == 0) {
            // At most one label per cell: the forest never outgrows the grid.
            mine = ++labels;
            parent[mine] = mine;
        }
        label[at] = mine;
    };
    // Each column's occupied cells as bytes, 0 past the edge, so that eight
    // of them are tested at once.
    constexpr int Block = 8;
    unsigned char occupiedHere[MaxBattleSize + 1 + Block] = {};
    for (int x = 1; x <= size; ++x) {
        const int* column = grid + GridIndex(x, 0);
        for (int y = 1; y <= size; ++y)
            occupiedHere[y] = column[y] > 0;
        for (int y = 1; y <= size; y += Block) {
            std::uint64_t eight;
            std::memcpy(&eight, occupiedHere + y, sizeof eight);
            if (eight == 0)
                continue;
            for (int i = 0; i < Block; ++i)
                if (occupiedHere[y + i] != 0)
                    labelCell(x, y + i);
        }
    }

    // Each root label's cell count, kept in the parent table's place: the
    // roots are taken first, as a count would overwrite a parent link.
    for (int i = 0; i < cells; ++i)
        occupied[i] = Root(parent, label[occupied[i]]);
    int* cellsOf = parent;
    std::fill(cellsOf, cellsOf + labels + 1, 0);
    for (int i = 0; i < cells; ++i)
        ++cellsOf[occupied[i]];
    std::fill(std::begin(sizeCount), std::end(sizeCount), 0);
    int clusters = 0;
    for (int l = 1; l <= labels; ++l) {
        if (cellsOf[l] == 0)
            continue;
        ++clusters;
        // The distribution ends at 603 cells; a larger cluster counts there.
        ++sizeCount[std::min(cellsOf[l], MaxClusterSize)];
    }
    // Single precision, as the series has always been kept.
    const float sum = static_cast<float>(cells);
    const float mean = clusters >= 2 ? sum / static_cast<float>(clusters) : sum;
    return mean;
}

void CBrevimarDoc::LabelClusters()
{
    const double mean = LabelClusterGrid(Battlefield.AgentGrid, Battlefield.BattleSize, 1, StatisticsWork.Clusters,
                                         Collected.ClusterSizeCountD1);
    const int t = RunHeader.CurrentStep;
    if (t >= 0 && t <= MaxSeriesStep)
        Collected.MeanClusterSizeD1[t] = mean;
}

void CBrevimarDoc::LabelClustersD2()
{
    const double mean = LabelClusterGrid(Battlefield.AgentGrid, Battlefield.BattleSize, 2, StatisticsWork.Clusters,
                                         Collected.ClusterSizeCountD2);
    const int t = RunHeader.CurrentStep;
    if (t >= 0 && t <= MaxSeriesStep)
        Collected.MeanClusterSizeD2[t] = mean;
}

}  // namespace brevimar
