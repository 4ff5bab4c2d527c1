// The territorial statistic: the fractions of the battlefield, and of the
// ground each side stands near, that each side holds.
#include <algorithm>
#include <cstdint>

#include "collect/StatisticsKernels.h"
#include "core/Document.h"

namespace brevimar {

void ComputeTerritoryFractions(const CBrevimarDoc& doc, CTerritoryWork& work, double (&fractions)[4])
{
    const CBattlefield& f = doc.Battlefield;
    const int size = std::clamp(f.BattleSize, 0, MaxBattleSize);
    const int range = f.TerritoryRange;

    // Unlike the maps, the statistic always counts the live positions. A
    // cell holding agents of both sides counts as BLUE's, as BLUE is marked
    // after RED; the marks are taken back once the cells are listed.
    constexpr int BlueShift = 16;
    static_assert(MaxAgents < (1 << BlueShift));
    std::uint8_t* held = work.Held;
    int marked = 0;
    int markedAt[2 * MaxAgents];
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& force = doc.Force(side);
        for (int i = 1, n = std::clamp(force.NumAgents, 0, MaxAgents); i <= n; ++i) {
            const int x = force.AgentX[i], y = force.AgentY[i];
            if ((force.AgentState[i] == Alive || force.AgentState[i] == Injured) && x >= 1 && y >= 1 && x <= size &&
                y <= size) {
                const int at = GridIndex(x, y);
                if (held[at] == 0)
                    markedAt[marked++] = at;
                held[at] = static_cast<std::uint8_t>(SideCode(side));
            }
        }
    }
    // The held cells by column, each as its row and its packed count: RED
    // in the low 16 bits, BLUE in the high.
    int columnStart[MaxBattleSize + 2] = {};
    for (int k = 0; k < marked; ++k)
        ++columnStart[markedAt[k] / GridStride];
    for (int x = 1, total = 0; x <= size + 1; ++x) {
        const int here = columnStart[x];
        columnStart[x] = total;
        total += here;
    }
    int cellRow[2 * MaxAgents];
    std::uint32_t cellCount[2 * MaxAgents];
    {
        int next[MaxBattleSize + 2];
        std::copy(std::begin(columnStart), std::end(columnStart), next);
        for (int k = 0; k < marked; ++k) {
            const int at = markedAt[k];
            const int slot = next[at / GridStride]++;
            cellRow[slot] = at % GridStride;
            cellCount[slot] = held[at] == 1 ? 1u : 1u << BlueShift;
            held[at] = 0;
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
    // difference of two entries without clipping. No side has 2^16 agents,
    // so differences of packed sums, taken modulo 2^32, hold both counts
    // exactly.
    std::uint32_t rows[MaxBattleSize + 1] = {};
    std::uint32_t inWindow = 0;  // all of rows' agents
    constexpr int Pad = MaxBattleSize + 1;
    std::uint32_t prefix[MaxBattleSize + 2 * Pad + 1];
    std::uint32_t* sumTo = prefix + Pad;  // sumTo[y], y from -Pad
    auto addColumn = [&](int x) {
        for (int k = columnStart[x]; k < columnStart[x + 1]; ++k) {
            rows[cellRow[k]] += cellCount[k];
            inWindow += cellCount[k];
        }
    };
    auto dropColumn = [&](int x) {
        for (int k = columnStart[x]; k < columnStart[x + 1]; ++k) {
            rows[cellRow[k]] -= cellCount[k];
            inWindow -= cellCount[k];
        }
    };
    for (int x = 1; x <= reach && x <= size; ++x)
        addColumn(x);

    const int least = f.TerritoryMinCount, lead = f.TerritoryDelta;
    int nearRed = 0, nearBlue = 0, ownRed = 0, ownBlue = 0;
    // A cell with no agent within reach counts by the thresholds alone; BLUE
    // never owns one, as RED's claim, tested first, is the same.
    const bool emptyNear = least <= 0;
    const bool emptyRedOwns = emptyNear && lead <= 0;
    for (int x = 1; x <= x1; ++x) {
        if (reach >= 0) {
            if (x + reach <= size)
                addColumn(x + reach);
            if (x - reach - 1 >= 1)
                dropColumn(x - reach - 1);
        }
        if (x < x0 || y0 > y1)
            continue;
        if (inWindow == 0) {
            // Most columns of a battle far from the forces.
            const int cells = y1 - y0 + 1;
            nearRed += emptyNear * cells;
            nearBlue += emptyNear * cells;
            ownRed += emptyRedOwns * cells;
            continue;
        }
        std::uint32_t run = 0;
        for (int y = -reach - 1; y <= 0; ++y)
            sumTo[y] = 0;
        for (int y = 1; y <= size; ++y) {
            run += rows[y];
            sumTo[y] = run;
        }
        for (int y = size + 1; y <= size + reach; ++y)
            sumTo[y] = run;
        for (int y = y0; y <= y1; ++y) {
            const std::uint32_t both = sumTo[y + reach] - sumTo[y - reach - 1];
            const int red = static_cast<int>(both & 0xffffu), blue = static_cast<int>(both >> BlueShift);
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
