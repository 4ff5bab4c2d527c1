// The territorial statistic: the fractions of the battlefield, and of the
// ground each side stands near, that each side holds.
#include <algorithm>

#include "collect/StatisticsKernels.h"
#include "core/Document.h"

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

    // The area counts only battlefield cells, also of a user-defined box that
    // reaches over the edge; the map owns no cell outside the user's box, even
    // when a zero minimum and margin would give an empty cell to RED (counting
    // one there could lift a fraction of the box above 1).
    int x0 = 1, x1 = size, y0 = 1, y1 = size;
    if (f.TerritoryUserArea == 1) {
        x0 = std::max(f.TerritoryCenterX - f.TerritoryRangeX, 1);
        x1 = std::min(f.TerritoryCenterX + f.TerritoryRangeX, size);
        y0 = std::max(f.TerritoryCenterY - f.TerritoryRangeY, 1);
        y1 = std::min(f.TerritoryCenterY + f.TerritoryRangeY, size);
    }
    double area = x0 <= x1 && y0 <= y1 ? static_cast<double>(x1 - x0 + 1) * (y1 - y0 + 1) : 0.0;
    if (area <= 0)
        area = 1;

    // A range past the battlefield's size reaches every cell from every cell,
    // as the size itself does; a negative one reaches none.
    const int reach = range < 0 ? -1 : std::min(range, size);
    // The agents of columns x - reach .. x + reach in each row y, kept as
    // the column x moves on; then, per column, their sums along y padded
    // with the first and last sums, so that each cell's window is the
    // difference of two entries without clipping.
    int redRows[MaxBattleSize + 1] = {}, blueRows[MaxBattleSize + 1] = {};
    constexpr int Pad = MaxBattleSize + 1;
    int redPrefix[MaxBattleSize + 2 * Pad + 1], bluePrefix[MaxBattleSize + 2 * Pad + 1];
    int* redAt = redPrefix + Pad;  // redAt[y], y from -Pad
    int* blueAt = bluePrefix + Pad;
    auto addColumn = [&](int x) {
        const int* column = mark + stride * x;
        for (int y = 1; y <= size; ++y) {
            redRows[y] += column[y] == 1;
            blueRows[y] += column[y] == 2;
        }
    };
    auto dropColumn = [&](int x) {
        const int* column = mark + stride * x;
        for (int y = 1; y <= size; ++y) {
            redRows[y] -= column[y] == 1;
            blueRows[y] -= column[y] == 2;
        }
    };
    for (int x = 1; x <= reach && x <= size; ++x)
        addColumn(x);

    const int least = f.TerritoryMinCount, lead = f.TerritoryDelta;
    int nearRed = 0, nearBlue = 0, ownRed = 0, ownBlue = 0;
    for (int x = 1; x <= x1; ++x) {
        if (reach >= 0) {
            if (x + reach <= size)
                addColumn(x + reach);
            if (x - reach - 1 >= 1)
                dropColumn(x - reach - 1);
        }
        if (x < x0 || y0 > y1)
            continue;
        int r = 0, b = 0;
        for (int y = -reach - 1; y <= 0; ++y)
            redAt[y] = blueAt[y] = 0;
        for (int y = 1; y <= size; ++y) {
            r += redRows[y];
            b += blueRows[y];
            redAt[y] = r;
            blueAt[y] = b;
        }
        for (int y = size + 1; y <= size + reach; ++y) {
            redAt[y] = r;
            blueAt[y] = b;
        }
        // With no reach the sums are all 0, and so is every window.
        for (int y = y0; y <= y1; ++y) {
            const int red = redAt[y + reach] - redAt[y - reach - 1];
            const int blue = blueAt[y + reach] - blueAt[y - reach - 1];
            nearRed += red >= least;
            nearBlue += blue >= least;
            const bool redOwns = red >= least && red >= lead + blue;
            ownRed += redOwns;
            ownBlue += !redOwns && blue >= least && blue >= lead + red;
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
