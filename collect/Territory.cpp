// The territorial statistic: the fractions of the battlefield, and of the
// ground each side stands near, that each side holds.
#include <algorithm>
#include <cstring>

#include "collect/StatisticsKernels.h"
#include "core/Document.h"
#include "core/TerritoryMaps.h"

namespace brevimar {

void ComputeTerritoryFractions(const CBrevimarDoc& doc, CTerritoryWork& work, double (&fractions)[4])
{
    const CBattlefield& f = doc.Battlefield;
    const int size = std::clamp(f.BattleSize, 0, MaxBattleSize);
    const int stride = size + 1;
    const int range = f.TerritoryRange;

    // Unlike the maps, the statistic always counts the live positions.
    int* mark = work.Mark;
    std::fill(mark, mark + stride * stride, 0);
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& force = doc.Force(side);
        for (int i = 1, n = std::clamp(force.NumAgents, 0, MaxAgents); i <= n; ++i) {
            const int x = force.AgentX[i], y = force.AgentY[i];
            if ((force.AgentState[i] == Alive || force.AgentState[i] == Injured) && x >= 1 && y >= 1 && x <= size &&
                y <= size)
                mark[stride * x + y] = SideCode(side);
        }
    }

    // Window sums, taken along y within each column x, then summed over x:
    // Red[stride * x + y] holds the RED agents of columns 1..x within R of
    // row y, so that a cell's count is the difference of two entries.
    int* red = work.RedSums;
    int* blue = work.BlueSums;
    std::fill(red, red + stride, 0);
    std::fill(blue, blue + stride, 0);
    for (int x = 1; x <= size; ++x) {
        int redPrefix[MaxBattleSize + 1], bluePrefix[MaxBattleSize + 1];
        redPrefix[0] = bluePrefix[0] = 0;
        for (int y = 1; y <= size; ++y) {
            redPrefix[y] = redPrefix[y - 1] + (mark[stride * x + y] == 1);
            bluePrefix[y] = bluePrefix[y - 1] + (mark[stride * x + y] == 2);
        }
        red[stride * x] = blue[stride * x] = 0;
        for (int y = 1; y <= size; ++y) {
            int r = 0, b = 0;
            if (range >= 0) {
                const int top = std::min(y + range, size), bottom = std::max(y - range, 1) - 1;
                r = redPrefix[top] - redPrefix[bottom];
                b = bluePrefix[top] - bluePrefix[bottom];
            }
            red[stride * x + y] = red[stride * (x - 1) + y] + r;
            blue[stride * x + y] = blue[stride * (x - 1) + y] + b;
        }
    }

    // The area counts only battlefield cells, also of a user-defined box that
    // reaches over the edge.
    double area = static_cast<double>(size) * size;
    if (f.TerritoryUserArea == 1) {
        const int x0 = std::max(f.TerritoryCenterX - f.TerritoryRangeX, 1);
        const int x1 = std::min(f.TerritoryCenterX + f.TerritoryRangeX, size);
        const int y0 = std::max(f.TerritoryCenterY - f.TerritoryRangeY, 1);
        const int y1 = std::min(f.TerritoryCenterY + f.TerritoryRangeY, size);
        area = x0 <= x1 && y0 <= y1 ? static_cast<double>(x1 - x0 + 1) * (y1 - y0 + 1) : 0.0;
    }
    if (area <= 0)
        area = 1;
    const int least = f.TerritoryMinCount, lead = f.TerritoryDelta;
    int nearRed = 0, nearBlue = 0, ownRed = 0, ownBlue = 0;
    for (int x = 1; x <= size; ++x) {
        const int right = stride * (range >= 0 ? std::min(x + range, size) : 0);
        const int left = stride * (range >= 0 ? std::max(x - range, 1) - 1 : 0);
        for (int y = 1; y <= size; ++y) {
            // The map owns no cell outside the user's box, even when a zero
            // minimum and margin would give an empty cell to RED; counting
            // one there could lift a fraction of the box above 1.
            if (OutsideUserArea(f, x, y))
                continue;
            const int r = red[right + y] - red[left + y];
            const int b = blue[right + y] - blue[left + y];
            nearRed += r >= least;
            nearBlue += b >= least;
            const bool redOwns = r >= least && r >= lead + b;
            ownRed += redOwns;
            ownBlue += !redOwns && b >= least && b >= lead + r;
        }
    }
    fractions[0] = ownRed / area;
    fractions[1] = ownRed > 0 && nearRed > 0 ? static_cast<double>(ownRed) / nearRed : 0.0;
    fractions[2] = ownBlue / area;
    fractions[3] = ownBlue > 0 && nearBlue > 0 ? static_cast<double>(ownBlue) / nearBlue : 0.0;
}

void CBrevimarDoc::CollectTerritorialPossession()
{
    double fractions[4];
    ComputeTerritoryFractions(*this, StatisticsWork.Territory, fractions);
    const int t = RunHeader.CurrentStep;
    if (t < 0 || t > MaxSeriesStep)
        return;
    Collected.RedTerritoryRaw[t] = fractions[0];
    Collected.RedTerritoryNormalized[t] = fractions[1];
    Collected.BlueTerritoryRaw[t] = fractions[2];
    Collected.BlueTerritoryNormalized[t] = fractions[3];
}

}  // namespace brevimar
