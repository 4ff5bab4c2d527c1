// Territorial possession: a side holds a cell when enough of its agents stand
// around it and they outnumber the enemy there by a margin.
#include <algorithm>
#include <vector>

#include "core/Document.h"

namespace brevimar {

namespace {

// Counts of RED-held and BLUE-held cells in any square of the battlefield,
// from prefix sums over the marked cells. A cell holding agents of both
// sides counts as BLUE's, as BLUE is marked after RED.
class SideCellCounts {
public:
    explicit SideCellCounts(const CBrevimarDoc& doc) : Size(Clamp(doc.Battlefield.BattleSize))
    {
        const int stride = Size + 1;
        // Scratch kept between calls so that a step does not allocate.
        static thread_local std::vector<int> mark;
        mark.assign(static_cast<std::size_t>(stride) * stride, 0);
        auto place = [&](int x, int y, int state, int code) {
            if (state != Alive && state != Injured)
                return;
            if (x < 1 || y < 1 || x > Size || y > Size)
                return;
            mark[stride * x + y] = code;
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
        Sum(mark);
    }

    // Counts of the cells each side owns in the owner map.
    SideCellCounts(const CBrevimarDoc& doc, const int* owners) : Size(Clamp(doc.Battlefield.BattleSize))
    {
        const int stride = Size + 1;
        static thread_local std::vector<int> mark;
        mark.assign(static_cast<std::size_t>(stride) * stride, 0);
        for (int x = 1; x <= Size; ++x)
            for (int y = 1; y <= Size; ++y)
                mark[stride * x + y] = owners[LatticeStride * x + y];
        Sum(mark);
    }

    int Size;
    int InBox(const std::vector<int>& sums, int x0, int y0, int x1, int y1) const
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
    const std::vector<int>* Red;
    const std::vector<int>* Blue;

private:
    static int Clamp(int size) { return std::clamp(size, 0, MaxBattleSize); }

    // Prefix sums of the cells marked 1 (RED) and 2 (BLUE).
    void Sum(const std::vector<int>& mark)
    {
        const int stride = Size + 1;
        static thread_local std::vector<int> red, blue;
        red.assign(mark.size(), 0);
        blue.assign(mark.size(), 0);
        for (int x = 1; x <= Size; ++x)
            for (int y = 1; y <= Size; ++y) {
                const int at = stride * x + y;
                const int up = at - stride, left = at - 1, diagonal = at - stride - 1;
                red[at] = (mark[at] == 1) + red[up] + red[left] - red[diagonal];
                blue[at] = (mark[at] == 2) + blue[up] + blue[left] - blue[diagonal];
            }
        Red = &red;
        Blue = &blue;
    }
};

}  // namespace

void CBrevimarDoc::ComputeTerritorialPossession()
{
    const SideCellCounts counts(*this);
    const CBattlefield& f = Battlefield;
    const int range = f.TerritoryRange;
    for (int x = 1; x <= counts.Size; ++x) {
        for (int y = 1; y <= counts.Size; ++y) {
            int& owner = TerritoryOwner[LatticeStride * x + y];
            owner = 0;
            if (f.TerritoryUserArea == 1 &&
                (x < f.TerritoryCenterX - f.TerritoryRangeX || x > f.TerritoryCenterX + f.TerritoryRangeX ||
                 y < f.TerritoryCenterY - f.TerritoryRangeY || y > f.TerritoryCenterY + f.TerritoryRangeY))
                continue;
            const int r = counts.InBox(*counts.Red, x - range, y - range, x + range, y + range);
            const int b = counts.InBox(*counts.Blue, x - range, y - range, x + range, y + range);
            if (r >= f.TerritoryMinCount && r >= f.TerritoryDelta + b)
                owner = SideCode(Side::Red);
            else if (b >= f.TerritoryMinCount && b >= f.TerritoryDelta + r)
                owner = SideCode(Side::Blue);
        }
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
    const SideCellCounts counts = owned ? SideCellCounts(*this, TerritoryOwner) : SideCellCounts(*this);
    const int radius = Statistics.BattleFrontRadius;
    const int threshold = Statistics.BattleFrontThreshold;
    const bool greyscale = BattleFrontGrayscale == 1;
    for (int x = 1; x <= counts.Size; ++x) {
        for (int y = 1; y <= counts.Size; ++y) {
            int& level = BattleFrontGrid[LatticeStride * x + y];
            level = 0;
            const int r = counts.InBox(*counts.Red, x - radius, y - radius, x + radius, y + radius);
            const int b = counts.InBox(*counts.Blue, x - radius, y - radius, x + radius, y + radius);
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
