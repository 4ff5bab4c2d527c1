// The pixels of a one-pixel line between two whole-pixel points, the same
// pixels Qt's raster engine sets for an aliased cosmetic pen with square caps
// (the pen the command lines were first drawn with), so that the painter can
// set them straight into its kept picture or the window.
//
// Along the major axis every pixel from one end to the other is set, both
// ends included; the minor coordinate runs in 16.16 fixed point from a start
// half a step in, as the raster engine computes it. Diagonals count as
// running along x. Pixels outside width x height are skipped, the others set
// as the line would be on a device big enough to hold it whole.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace brevimar {

template <typename Plot>
void ForEachLinePixel(int x0, int y0, int x1, int y1, int width, int height, Plot plot)
{
    if (x0 == x1 && y0 == y1) {
        if (x0 >= 0 && y0 >= 0 && x0 < width && y0 < height)
            plot(x0, y0);
        return;
    }
    // The walk is written once along the major axis; Major(a, b) turns it
    // back into (x, y).
    const bool alongX = std::abs(static_cast<long long>(x1) - x0) >= std::abs(static_cast<long long>(y1) - y0);
    long long a0 = alongX ? x0 : y0, b0 = alongX ? y0 : x0;
    long long a1 = alongX ? x1 : y1, b1 = alongX ? y1 : x1;
    const long long majorExtent = alongX ? width : height;
    const long long minorExtent = alongX ? height : width;
    if (a0 > a1) {
        std::swap(a0, a1);
        std::swap(b0, b1);
    }
    const long long step = (b1 - b0) * 65536 / (a1 - a0);  // truncated toward zero
    // Half a step back for the square cap, then on to the first pixel's
    // centre; a falling line rounds that last move down.
    const long long start = b0 * 65536 - (step >> 1) + (((step > 0 ? 64 : 32) * step) >> 6);
    const long long first = std::max(a0, 0LL);
    const long long last = std::min(a1, majorExtent - 1);
    long long b = start + (first - a0) * step;
    for (long long a = first; a <= last; ++a, b += step) {
        const long long minor = b >> 16;
        if (minor < 0 || minor >= minorExtent)
            continue;
        if (alongX)
            plot(static_cast<int>(a), static_cast<int>(minor));
        else
            plot(static_cast<int>(minor), static_cast<int>(a));
    }
}

// The same pixels as ForEachLinePixel, handed over as runs along the rows:
// run(x, y, length) stands for pixels x to x + length - 1 of row y. A line
// running along x gives one run for each row it crosses, found by division
// rather than pixel by pixel; any other line a run for each pixel.
template <typename Run>
void ForEachLineRun(int x0, int y0, int x1, int y1, int width, int height, Run run)
{
    const bool alongX = std::abs(static_cast<long long>(x1) - x0) >= std::abs(static_cast<long long>(y1) - y0);
    if (!alongX || (x0 == x1 && y0 == y1)) {
        ForEachLinePixel(x0, y0, x1, y1, width, height, [&](int x, int y) { run(x, y, 1); });
        return;
    }
    long long a0 = x0, b0 = y0, a1 = x1, b1 = y1;
    if (a0 > a1) {
        std::swap(a0, a1);
        std::swap(b0, b1);
    }
    // The walk of ForEachLinePixel, along x.
    const long long step = (b1 - b0) * 65536 / (a1 - a0);
    const long long start = b0 * 65536 - (step >> 1) + (((step > 0 ? 64 : 32) * step) >> 6);
    const long long last = std::min(a1, static_cast<long long>(width) - 1);
    long long a = std::max(a0, 0LL);
    long long b = start + (a - a0) * step;
    while (a <= last) {
        const long long row = b >> 16;
        // The pixels from a on that stay in this row: up to the first whose
        // 16.16 coordinate reaches the next row up or falls below this one.
        long long count = last - a + 1;
        if (step > 0)
            count = std::min(count, ((row + 1) * 65536 - b + step - 1) / step);
        else if (step < 0)
            count = std::min(count, (b - row * 65536) / -step + 1);
        if (row >= 0 && row < height)
            run(static_cast<int>(a), static_cast<int>(row), static_cast<int>(count));
        a += count;
        b += count * step;
    }
}

}  // namespace brevimar
