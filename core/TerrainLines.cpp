// Whether terrain stands between two cells: impassable terrain stops a move,
// only sight-blocking terrain stops a line of sight. Both walk the same
// discrete line.
#include <algorithm>

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

// Calls test(k, floor(k * rise / span), ceil(k * rise / span)) for
// k = 1 .. span - 1 (span > 0) until one returns true, and says whether one
// did. The floor and ceil are carried from k to k + 1 as a quotient and a
// remainder in [0, span), with no division in the loop, and are exactly
// those of the quotient taken in doubles: numerator and span are small
// integers, exact as doubles; a whole quotient is exact too, and one that
// is not lies at least 1 / span from every integer, while rounding moves it
// by at most |quotient| * 2^-53, less than 1 / span while the numerator stays
// below 2^53. So the rounded quotient never reaches an integer.
template <typename Test>
bool AnyCrossing(int span, int rise, Test test)
{
    // Floor division (rounding down for a negative rise too), remainder in [0, span).
    int stepWhole = rise / span;
    int stepPart = rise % span;
    if (stepPart < 0) {
        stepPart += span;
        --stepWhole;
    }
    int whole = 0;
    int part = 0;
    for (int k = 1; k < span; ++k) {
        whole += stepWhole;
        part += stepPart;
        if (part >= span) {
            part -= span;
            ++whole;
        }
        if (test(k, whole, whole + (part != 0)))
            return true;
    }
    return false;
}

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

    // Every cell tested below lies in the rectangle spanned by the two ends,
    // but for the sides of a straight line's wall, whose middle cell lies on
    // the line: a rectangle free of blocking cells blocks nothing.
    //
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
    // column, then row by row (in either order: the answer is whether any
    // does). The line crosses column x0 + sx * k at y0 + k * dy / |dx|.
    const int sx = dx > 0 ? 1 : -1;
    const int sy = dy > 0 ? 1 : -1;
    if (AnyCrossing(dx * sx, dy, [&](int k, int below, int above) {
            const int x = x0 + sx * k;
            return at(x, y0 + below) && at(x, y0 + above);
        }))
        return true;
    return AnyCrossing(dy * sy, dx, [&](int k, int below, int above) {
        const int y = y0 + sy * k;
        return at(x0 + below, y) && at(x0 + above, y);
    });
}

}  // namespace

bool CBrevimarDoc::IsPathBlocked(int x0, int y0, int x1, int y1) const
{
    return LineBlocked(Battlefield, x0, y0, x1, y1, BlocksMove{});
}

bool CBrevimarDoc::PathsClearIn(const SquareBox& box) const
{
    // A box holds the rectangle spanned by any two of its cells. A size past
    // the grid is left to the walk.
    const CBattlefield& field = Battlefield;
    if (field.TerrainMode < 1)
        return true;
    const int size = field.BattleSize;
    if (size > MaxBattleSize)
        return false;
    const int x0 = std::max(box.XLow, 1), x1 = std::min(box.XHigh, size);
    const int y0 = std::max(box.YLow, 1), y1 = std::min(box.YHigh, size);
    for (int x = x0; x <= x1; ++x) {
        const int* column = field.TerrainType + GridIndex(x, 0);
        for (int y = y0; y <= y1; ++y)
            if (IsImpassable(column[y]))
                return false;
    }
    return true;
}

bool CBrevimarDoc::HasLineOfSight(int x0, int y0, int x1, int y1) const
{
    // The walk needs a blocker in the rectangle spanned by the two ends.
    const CNeighborGrids& g = NeighborGrids;
    if (g.Current && g.SightSums &&
        g.NoSightBlockerIn(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)))
        return true;
    return !LineBlocked(Battlefield, x0, y0, x1, y1, BlocksSight{});
}

bool CBrevimarDoc::SightClearIn(const SquareBox& box) const
{
    // A box holds the rectangle spanned by any two of its cells.
    const CNeighborGrids& g = NeighborGrids;
    return g.Current && g.SightSums && g.NoSightBlockerIn(box.XLow, box.YLow, box.XHigh, box.YHigh);
}

}  // namespace brevimar
