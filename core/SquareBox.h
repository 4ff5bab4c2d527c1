// The square of cells within R of (x, y) along both axes, bounds included:
// the shape of every sensor, threshold, communications and fire range.
#pragma once

#include <algorithm>

namespace brevimar {

struct SquareBox {
    // Ranges come from scenario files. Beyond this bound a box already holds
    // the whole battlefield, and the bound keeps x - R and x + R inside an int.
    static constexpr int RangeLimit = 1 << 28;

    SquareBox() = default;
    SquareBox(int x, int y, int range)
    {
        const int r = std::clamp(range, -RangeLimit, RangeLimit);
        XLow = x - r;
        XHigh = x + r;
        YLow = y - r;
        YHigh = y + r;
    }
    // Bitwise, not short-circuit: the scans over whole forces stay branch-free.
    bool Contains(int x, int y) const { return (x >= XLow) & (x <= XHigh) & (y >= YLow) & (y <= YHigh); }

    int XLow = 0, XHigh = -1, YLow = 0, YHigh = -1;  // empty until set
};

}  // namespace brevimar
