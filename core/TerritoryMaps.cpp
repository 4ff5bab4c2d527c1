// The territorial owner map that the HOLD rule reads and the battle-front
// map drawn over the battlefield: a side holds a cell when enough of its
// agents stand around it and they outnumber the enemy there by a margin.
#include <algorithm>
#include <cstring>

#include "core/Document.h"
#include "core/TerritoryMaps.h"

namespace brevimar {

namespace {

// Calls mark(x, y, side code) for every living agent on the battlefield,
// RED first, from the capture row of the current step in playback.
template <class Mark>
void ForEachAgentMark(const CBrevimarDoc& doc, int size, Mark mark)
{
    auto place = [&](int x, int y, int state, int code) {
        if (state != Alive && state != Injured)
            return;
        if (x < 1 || y < 1 || x > size || y > size)
            return;
        mark(x, y, code);
    };
    const bool fromCapture = doc.RunMode == PlaybackMode;
    const int t = doc.RunHeader.CurrentStep;
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& force = doc.Force(side);
        const int n = std::min(force.NumAgents, MaxAgents);
        const int base = side == Side::Red ? RedCaptureState : BlueCaptureState;
        for (int i = 1; i <= n; ++i) {
            if (fromCapture) {
                if (t < 0 || t >= CaptureRows || !doc.CaptureBuffer[base])
                    break;
                const int* buffer[3] = {doc.CaptureBuffer[base].get(), doc.CaptureBuffer[base + 1].get(),
                                        doc.CaptureBuffer[base + 2].get()};
                const int at = CaptureIndex(t, i);
                place(buffer[1][at], buffer[2][at], buffer[0][at], SideCode(side));
            } else {
                place(force.AgentX[i], force.AgentY[i], force.AgentState[i], SideCode(side));
            }
        }
    }
}

// Counts of RED-held and BLUE-held cells in any square of the battlefield,
// from prefix sums over the marked cells. A cell holding agents of both
// sides counts as BLUE's, as BLUE is marked after RED.
class SideCellCounts {
public:
    SideCellCounts(const CBrevimarDoc& doc, CTerritoryWork& work)
        : Size(Clamp(doc.Battlefield.BattleSize)), Red(work.RedSums), Blue(work.BlueSums)
    {
        const int stride = Size + 1;
        int* mark = work.Mark;
        std::fill(mark, mark + stride * stride, 0);
        ForEachAgentMark(doc, Size, [&](int x, int y, int code) { mark[stride * x + y] = code; });
        Sum(mark);
    }

    // Counts of the cells each side owns in the owner map.
    SideCellCounts(const CBrevimarDoc& doc, const int* owners, CTerritoryWork& work)
        : Size(Clamp(doc.Battlefield.BattleSize)), Red(work.RedSums), Blue(work.BlueSums)
    {
        const int stride = Size + 1;
        int* mark = work.Mark;
        std::fill(mark, mark + stride * stride, 0);
        for (int x = 1; x <= Size; ++x)
            for (int y = 1; y <= Size; ++y)
                mark[stride * x + y] = owners[LatticeStride * x + y];
        Sum(mark);
    }

    int Size;
    int InBox(const int* sums, int x0, int y0, int x1, int y1) const
    {
        x0 = std::max(x0, 1);
        y0 = std::max(y0, 1);
        x1 = std::min(x1, Size);
        y1 = std::min(y1, Size);
        if (x0 > x1 || y0 > y1)
            return 0;
        const int stride = Size + 1;
        return sums[stride * x1 + y1] - sums[stride * (x0 - 1) + y1] - sums[stride * x1 + (y0 - 1)] +
               sums[stride * (x0 - 1) + (y0 - 1)];
    }
    int* Red;
    int* Blue;

private:
    static int Clamp(int size) { return std::clamp(size, 0, MaxBattleSize); }

    // Prefix sums of the cells marked 1 (RED) and 2 (BLUE).
    void Sum(const int* mark)
    {
        const int stride = Size + 1;
        std::fill(Red, Red + stride * stride, 0);
        std::fill(Blue, Blue + stride * stride, 0);
        for (int x = 1; x <= Size; ++x)
            for (int y = 1; y <= Size; ++y) {
                const int at = stride * x + y;
                const int up = at - stride, left = at - 1, diagonal = at - stride - 1;
                Red[at] = (mark[at] == 1) + Red[up] + Red[left] - Red[diagonal];
                Blue[at] = (mark[at] == 2) + Blue[up] + Blue[left] - Blue[diagonal];
            }
    }
};

}  // namespace

bool OutsideUserArea(const CBattlefield& f, int x, int y)
{
    return f.TerritoryUserArea == 1 &&
           (x < f.TerritoryCenterX - f.TerritoryRangeX || x > f.TerritoryCenterX + f.TerritoryRangeX ||
            y < f.TerritoryCenterY - f.TerritoryRangeY || y > f.TerritoryCenterY + f.TerritoryRangeY);
}

namespace {

int OwnerOf(const CBattlefield& f, int x, int y, int r, int b)
{
    if (OutsideUserArea(f, x, y))
        return 0;
    if (r >= f.TerritoryMinCount && r >= f.TerritoryDelta + b)
        return SideCode(Side::Red);
    if (b >= f.TerritoryMinCount && b >= f.TerritoryDelta + r)
        return SideCode(Side::Blue);
    return 0;
}

bool SameSettings(const CTerritoryKept& k, const CBattlefield& f, int size)
{
    return k.Valid && k.Size == size && k.Range == f.TerritoryRange && k.MinCount == f.TerritoryMinCount &&
           k.Delta == f.TerritoryDelta && k.UserArea == f.TerritoryUserArea && k.CenterX == f.TerritoryCenterX &&
           k.RangeX == f.TerritoryRangeX && k.CenterY == f.TerritoryCenterY && k.RangeY == f.TerritoryRangeY;
}

void KeepSettings(CTerritoryKept& k, const CBattlefield& f, int size)
{
    k.Valid = true;
    k.Size = size, k.Range = f.TerritoryRange, k.MinCount = f.TerritoryMinCount, k.Delta = f.TerritoryDelta;
    k.UserArea = f.TerritoryUserArea, k.CenterX = f.TerritoryCenterX, k.RangeX = f.TerritoryRangeX;
    k.CenterY = f.TerritoryCenterY, k.RangeY = f.TerritoryRangeY;
}

// The cells x0..x1 by y0..y1 of the square of the territory range around
// (x, y), clipped to the battlefield; empty for a negative range.
struct Square {
    int X0, X1, Y0, Y1;
    Square(int x, int y, int range, int size)
        : X0(static_cast<int>(std::max<long long>(1LL * x - range, 1))),
          X1(static_cast<int>(std::min<long long>(1LL * x + range, size))),
          Y0(static_cast<int>(std::max<long long>(1LL * y - range, 1))),
          Y1(static_cast<int>(std::min<long long>(1LL * y + range, size)))
    {
    }
};

}  // namespace

// Cells are only worked out again around the agent cells whose mark changed
// since the last update; the counts are whole numbers, so the map is the one
// a full recomputation would give.
void CBrevimarDoc::ComputeTerritorialPossession()
{
    CTerritoryKept& k = TerritoryKept;
    const CBattlefield& f = Battlefield;
    const int size = std::clamp(f.BattleSize, 0, MaxBattleSize);
    const int range = f.TerritoryRange;

    // This update's agent cells, in the generation before last's place.
    const int last = k.Current, next = 1 - k.Current;
    std::int8_t* mark = k.Mark[next];
    const std::int8_t* was = k.Mark[last];
    for (int j = 0; j < k.MarkedCount[next]; ++j)
        mark[k.Marked[next][j]] = 0;
    k.MarkedCount[next] = 0;
    ForEachAgentMark(*this, size, [&](int x, int y, int code) {
        const int at = LatticeStride * x + y;
        if (mark[at] == 0)
            k.Marked[next][k.MarkedCount[next]++] = at;
        mark[at] = static_cast<std::int8_t>(code);
    });
    k.Current = next;

    // Cells whose mark changed: the last update's marked cells, then this
    // one's that were not marked then.
    int changed = 0;
    for (int j = 0; j < k.MarkedCount[last]; ++j)
        changed += mark[k.Marked[last][j]] != was[k.Marked[last][j]];
    for (int j = 0; j < k.MarkedCount[next]; ++j)
        changed += was[k.Marked[next][j]] == 0;
    // Updating a cell's square costs about an eighth of counting a cell afresh.
    const long long side = range < 0 ? 1 : 2LL * std::min(range, size) + 1;
    const bool whole = !SameSettings(k, f, size) ||
                       std::memcmp(k.Owner, TerritoryOwner, sizeof TerritoryOwner) != 0 ||
                       changed * side * side > 8LL * size * size;

    if (whole) {
        const SideCellCounts counts(*this, StatisticsWork.Territory);
        for (int x = 1; x <= size; ++x) {
            for (int y = 1; y <= size; ++y) {
                const int at = LatticeStride * x + y;
                const int r = counts.InBox(counts.Red, x - range, y - range, x + range, y + range);
                const int b = counts.InBox(counts.Blue, x - range, y - range, x + range, y + range);
                k.RedCount[at] = static_cast<std::int16_t>(r);
                k.BlueCount[at] = static_cast<std::int16_t>(b);
                TerritoryOwner[at] = OwnerOf(f, x, y, r, b);
            }
        }
        std::memcpy(k.Owner, TerritoryOwner, sizeof TerritoryOwner);
        KeepSettings(k, f, size);
        return;
    }

    // Counts first, then each cell whose square saw a change once.
    int dirty = 0;
    auto apply = [&](int at) {
        const int from = was[at], to = mark[at];
        if (from == to)
            return;
        const Square square(at / LatticeStride, at % LatticeStride, range, size);
        const int red = (to == 1) - (from == 1), blue = (to == 2) - (from == 2);
        for (int x = square.X0; x <= square.X1; ++x)
            for (int y = square.Y0; y <= square.Y1; ++y) {
                const int cell = LatticeStride * x + y;
                k.RedCount[cell] = static_cast<std::int16_t>(k.RedCount[cell] + red);
                k.BlueCount[cell] = static_cast<std::int16_t>(k.BlueCount[cell] + blue);
                if (!k.Dirty[cell]) {
                    k.Dirty[cell] = 1;
                    k.DirtyCells[dirty++] = cell;
                }
            }
    };
    for (int j = 0; j < k.MarkedCount[last]; ++j)
        apply(k.Marked[last][j]);
    for (int j = 0; j < k.MarkedCount[next]; ++j)
        if (was[k.Marked[next][j]] == 0)
            apply(k.Marked[next][j]);
    for (int j = 0; j < dirty; ++j) {
        const int cell = k.DirtyCells[j];
        k.Dirty[cell] = 0;
        TerritoryOwner[cell] = k.Owner[cell] =
            OwnerOf(f, cell / LatticeStride, cell % LatticeStride, k.RedCount[cell], k.BlueCount[cell]);
    }
}

// The battle-front map: cells where both sides stand in strength within
// BattleFrontRadius, counted as agent cells or, while a territory map is
// shown, as owned cells.
void CBrevimarDoc::UpdateTerritoryGrid()
{
    const bool owned = TerritoryMapRed == 1 || TerritoryMapBlue == 1;
    if (owned)
        ComputeTerritorialPossession();
    const SideCellCounts counts = owned ? SideCellCounts(*this, TerritoryOwner, StatisticsWork.Territory)
                                        : SideCellCounts(*this, StatisticsWork.Territory);
    const int radius = Statistics.BattleFrontRadius;
    const int threshold = Statistics.BattleFrontThreshold;
    const bool greyscale = BattleFrontGrayscale == 1;
    for (int x = 1; x <= counts.Size; ++x) {
        for (int y = 1; y <= counts.Size; ++y) {
            int& level = BattleFrontGrid[LatticeStride * x + y];
            level = 0;
            const int r = counts.InBox(counts.Red, x - radius, y - radius, x + radius, y + radius);
            const int b = counts.InBox(counts.Blue, x - radius, y - radius, x + radius, y + radius);
            if (!greyscale) {
                if (r >= threshold && b >= threshold)
                    level = 1;
                continue;
            }
            if (r < 1 || b < 1)
                continue;
            const int most = std::max(r, b);
            const int least = std::min(r, b);
            if (most < 2 * radius)
                level = 1;
            else if (most < 3 * radius)
                level = 2;
            else if (most < 4 * radius)
                level = 3;
            else if (most < 5 * radius)
                level = 4;
            else if (least <= 5 * radius)
                level = 5;
        }
    }
}

}  // namespace brevimar
