// Whether terrain stands between two cells: impassable terrain stops a move,
// only sight-blocking terrain stops a line of sight. Both walk the same
// discrete line.
#include <algorithm>
#include <cmath>

#include "core/Document.h"

namespace brevimar {

namespace {

// Function objects rather than function pointers, so that the line walk is
// compiled once per kind with the test inlined: sensing runs it per pair.
struct BlocksMove {
    bool operator()(int terrain) const { return terrain == Lava || terrain == Pillar; }
};
struct BlocksSight {
    bool operator()(int terrain) const { return terrain == Pillar; }
};

template <typename Blocking>
bool LineBlocked(const CBattlefield& field, int x0, int y0, int x1, int y1, Blocking blocks)
{
    if (field.TerrainMode < 1)
        return false;
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    // A cell never blocks the way to itself or to any of its neighbours
    // (a distance below 1.5, that is dx^2 + dy^2 at most 2).
    if (static_cast<long long>(dx) * dx + static_cast<long long>(dy) * dy <= 2)
        return false;

    const int size = field.BattleSize;
    // Cells off the battlefield (including the unused row and column 0) never block.
    auto at = [&](int x, int y) {
        if (x < 1 || y < 1 || x > size || y > size)
            return false;
        return blocks(field.TerrainType[GridIndex(x, y)]);
    };

    const int xFirst = (x0 < x1 ? x0 : x1) + 1, xLast = (x0 < x1 ? x1 : x0) - 1;
    const int yFirst = (y0 < y1 ? y0 : y1) + 1, yLast = (y0 < y1 ? y1 : y0) - 1;

    // A straight line is stopped only by a wall three cells wide across it.
    if (dx == 0) {
        for (int y = yFirst; y <= yLast; ++y)
            if (at(x0 - 1, y) && at(x0, y) && at(x0 + 1, y))
                return true;
        return false;
    }
    if (dy == 0) {
        for (int x = xFirst; x <= xLast; ++x)
            if (at(x, y0 - 1) && at(x, y0) && at(x, y0 + 1))
                return true;
        return false;
    }
    // Otherwise both cells that straddle the line must block, column by
    // column, then row by row.
    for (int x = xFirst; x <= xLast; ++x) {
        const double yl = static_cast<double>(x * dy + y0 * x1 - x0 * y1) / dx;
        if (at(x, static_cast<int>(std::floor(yl))) && at(x, static_cast<int>(std::ceil(yl))))
            return true;
    }
    for (int y = yFirst; y <= yLast; ++y) {
        const double xl = static_cast<double>(y * dx + x0 * y1 - y0 * x1) / dy;
        if (at(static_cast<int>(std::floor(xl)), y) && at(static_cast<int>(std::ceil(xl)), y))
            return true;
    }
    return false;
}

}  // namespace

bool CBrevimarDoc::IsPathBlocked(int x0, int y0, int x1, int y1) const
{
    return LineBlocked(Battlefield, x0, y0, x1, y1, BlocksMove{});
}

bool CBrevimarDoc::HasLineOfSight(int x0, int y0, int x1, int y1) const
{
    // Every cell the walk can test lies within one cell of the rectangle
    // spanned by the two ends.
    const CNeighborGrids& g = NeighborGrids;
    if (g.Current && g.SightSums &&
        g.NoSightBlockerIn(std::min(x0, x1) - 1, std::min(y0, y1) - 1, std::max(x0, x1) + 1, std::max(y0, y1) + 1))
        return true;
    return !LineBlocked(Battlefield, x0, y0, x1, y1, BlocksSight{});
}

}  // namespace brevimar
