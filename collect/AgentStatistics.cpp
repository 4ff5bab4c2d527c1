// Statistics of where the agents stand: interpoint distances, spatial
// entropy, neighbour counts, centre of mass and goal counts.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "collect/StatisticsKernels.h"
#include "core/Document.h"

namespace brevimar {

namespace {

bool SeriesStep(int t) { return t >= 0 && t <= MaxSeriesStep; }

// In 64 bits: a flag read from a file may lie anywhere.
long long Chebyshev(int x0, int y0, int x1, int y1)
{
    return std::max(std::llabs(static_cast<long long>(x1) - x0), std::llabs(static_cast<long long>(y1) - y0));
}

// Sum, count and unit-bin counts of the distances of one measure.
struct DistanceTally {
    double Sum = 0;
    int Count = 0;
    int Bins[InterpointBins] = {};

    void Add(double d, int times)
    {
        Sum += d * times;
        Count += times;
        // Far flags read from a file can lie beyond the last bin.
        const double bin = std::trunc(d + 0.5);
        Bins[bin < InterpointBins - 1 ? static_cast<int>(bin) : InterpointBins - 1] += times;
    }
    // Offsets in double: a flag read from a file may lie anywhere.
    void Add(double dx, double dy) { Add(std::sqrt(dx * dx + dy * dy), 1); }
};

// The pair measures have up to 90,000 pairs a step: their distances and bins
// come from a table of offsets, and four partial sums and bin counts keep
// the additions from waiting on each other. Offsets beyond the table
// (positions off any battlefield) are added one by one.
class PairDistances {
public:
    PairDistances(CInterpointWork& work, DistanceTally& tally) : Work(work), Tally(tally)
    {
        if (work.Ready == 1)
            return;
        for (int dx = 0; dx < PairOffsetSide; ++dx)
            for (int dy = 0; dy < PairOffsetSide; ++dy) {
                const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
                work.Distance[PairOffsetSide * dx + dy] = d;
                work.Bin[PairOffsetSide * dx + dy] = static_cast<unsigned char>(std::trunc(d + 0.5));
            }
        work.Ready = 1;
    }

    // Pairs of one agent (x, y) with agents x[0..n), y[0..n), n <= MaxAgents,
    // when every offset lies within the table: the table indices are worked
    // out first, all at once, which vectorises; the sums and bins then take
    // them in the order AddRow would, lane by lane, so that each sum gets the
    // same additions in the same order.
    void AddNearRow(int x0, int y0, const int* x, const int* y, int n)
    {
        int at[MaxAgents];
        for (int j = 0; j < n; ++j)
            at[j] = PairOffsetSide * std::abs(x[j] - x0) + std::abs(y[j] - y0);
        const double* distance = Work.Distance;
        const unsigned char* bin = Work.Bin;
        double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
        int j = 0;
        for (; j + 4 <= n; j += 4) {
            s0 += distance[at[j]];
            s1 += distance[at[j + 1]];
            s2 += distance[at[j + 2]];
            s3 += distance[at[j + 3]];
            ++Bins[0][bin[at[j]]];
            ++Bins[1][bin[at[j + 1]]];
            ++Bins[2][bin[at[j + 2]]];
            ++Bins[3][bin[at[j + 3]]];
        }
        for (; j < n; ++j) {
            s0 += distance[at[j]];
            ++Bins[0][bin[at[j]]];
        }
        Sum[0] += s0;
        Sum[1] += s1;
        Sum[2] += s2;
        Sum[3] += s3;
        Count += n;
    }

    // Pairs of one agent (x, y) with agents x[0..n), y[0..n).
    void AddRow(int x0, int y0, const int* x, const int* y, int n)
    {
        // Sums in locals, so that each addition waits only on its own lane.
        double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
        int near = n;
        auto distance = [&](int j, int (&bins)[InterpointBins]) {
            const int dx = std::abs(x[j] - x0), dy = std::abs(y[j] - y0);
            if (dx >= PairOffsetSide || dy >= PairOffsetSide) {
                Tally.Add(static_cast<double>(dx), static_cast<double>(dy));
                --near;
                return 0.0;
            }
            const int at = PairOffsetSide * dx + dy;
            ++bins[Work.Bin[at]];
            return Work.Distance[at];
        };
        int j = 0;
        for (; j + 4 <= n; j += 4) {
            s0 += distance(j, Bins[0]);
            s1 += distance(j + 1, Bins[1]);
            s2 += distance(j + 2, Bins[2]);
            s3 += distance(j + 3, Bins[3]);
        }
        for (; j < n; ++j)
            s0 += distance(j, Bins[0]);
        Sum[0] += s0;
        Sum[1] += s1;
        Sum[2] += s2;
        Sum[3] += s3;
        Count += near;
    }

    // Files the partial results into the measure's tally.
    ~PairDistances()
    {
        Tally.Sum += (Sum[0] + Sum[1]) + (Sum[2] + Sum[3]);
        Tally.Count += Count;
        for (int lane = 0; lane < 4; ++lane)
            for (int b = 0; b < InterpointBins; ++b)
                Tally.Bins[b] += Bins[lane][b];
    }

private:
    CInterpointWork& Work;
    DistanceTally& Tally;
    double Sum[4] = {};
    int Count = 0;
    int Bins[4][InterpointBins] = {};
};

}  // namespace

void GatherPresentAgents(const CBrevimarDoc& doc, PresentAgents& agents)
{
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& force = doc.Force(side);
        const int s = side == Side::Red ? 0 : 1;
        int n = 0;
        for (int a = 1, count = std::clamp(force.NumAgents, 0, MaxAgents); a <= count; ++a) {
            if (force.AgentState[a] != Alive && force.AgentState[a] != Injured)
                continue;
            agents.X[s][n] = force.AgentX[a];
            agents.Y[s][n] = force.AgentY[a];
            ++n;
        }
        agents.Count[s] = n;
    }
}

FlagCells GetFlagCells(const CBrevimarDoc& doc)
{
    FlagCells flags;
    flags.RedX = doc.BlueForce.GoalFlagX;
    flags.RedY = doc.BlueForce.GoalFlagY;
    flags.BlueX = doc.RedForce.GoalFlagX;
    flags.BlueY = doc.RedForce.GoalFlagY;
    return flags;
}

void ComputeInterpoint(const PresentAgents& agents, const FlagCells& flags, CInterpointWork& work,
                       double (&histogram)[InterpointMeasures][InterpointBins], double (&means)[InterpointMeasures])
{
    DistanceTally tally[InterpointMeasures];
    const int nr = agents.Count[0], nb = agents.Count[1];
    const int* rx = agents.X[0];
    const int* ry = agents.Y[0];
    const int* bx = agents.X[1];
    const int* by = agents.Y[1];
    auto toFlag = [](DistanceTally& t, int x, int y, int fx, int fy) {
        t.Add(static_cast<double>(x) - fx, static_cast<double>(y) - fy);
    };
    for (int a = 0; a < nr; ++a) {
        toFlag(tally[0], rx[a], ry[a], flags.BlueX, flags.BlueY);
        toFlag(tally[2], rx[a], ry[a], flags.RedX, flags.RedY);
    }
    for (int a = 0; a < nb; ++a) {
        toFlag(tally[1], bx[a], by[a], flags.RedX, flags.RedY);
        toFlag(tally[3], bx[a], by[a], flags.BlueX, flags.BlueY);
    }
    // Positions come from the battlefield, so every offset between two of
    // them lies within the table; positions read from a file need not.
    int lowX = 0, highX = 0, lowY = 0, highY = 0;
    for (int s = 0; s < 2; ++s)
        for (int a = 0; a < agents.Count[s]; ++a) {
            lowX = std::min(lowX, agents.X[s][a]);
            highX = std::max(highX, agents.X[s][a]);
            lowY = std::min(lowY, agents.Y[s][a]);
            highY = std::max(highY, agents.Y[s][a]);
        }
    const bool near = lowX >= 0 && lowY >= 0 && highX < PairOffsetSide && highY < PairOffsetSide;
    auto addRow = [near](PairDistances& pairs, int x0, int y0, const int* x, const int* y, int n) {
        if (near)
            pairs.AddNearRow(x0, y0, x, y, n);
        else
            pairs.AddRow(x0, y0, x, y, n);
    };
    {
        PairDistances pairs(work, tally[4]);
        for (int a = 0; a + 1 < nr; ++a)
            addRow(pairs, rx[a], ry[a], rx + a + 1, ry + a + 1, nr - a - 1);
    }
    {
        PairDistances pairs(work, tally[5]);
        for (int a = 0; a + 1 < nb; ++a)
            addRow(pairs, bx[a], by[a], bx + a + 1, by + a + 1, nb - a - 1);
    }
    {
        PairDistances pairs(work, tally[6]);
        for (int a = 0; a < nr; ++a)
            addRow(pairs, rx[a], ry[a], bx, by, nb);
    }

    for (int k = 0; k < InterpointMeasures; ++k) {
        const double count = tally[k].Count > 0 ? tally[k].Count : 1;
        means[k] = tally[k].Sum / count;
        for (int b = 0; b < InterpointBins; ++b)
            histogram[k][b] = tally[k].Bins[b] / count;
    }
}

void ComputeSpatialEntropy(const PresentAgents& agents, const CStatisticsParameters& boxes,
                           double (&entropy)[3][SideGroups])
{
    struct Partition {
        int N;
        const EntropyBox* Boxes;  // 1..N*N
        double Scale;             // -1 / ln(N * N), as the charts have always used it
    };
    const Partition partitions[3] = {
        {4, boxes.EntropyBoxes16, -1.0 / 2.772589},
        {8, boxes.EntropyBoxes64, -1.0 / 4.1588831},
        {16, boxes.EntropyBoxes256, -1.0 / 5.54517745},
    };
    for (int p = 0; p < 3; ++p) {
        const Partition& part = partitions[p];
        const int n = part.N;
        int count[SideGroups][256] = {};
        for (int s = 0; s < 2; ++s) {
            for (int a = 0; a < agents.Count[s]; ++a) {
                const int x = agents.X[s][a], y = agents.Y[s][a];
                // Column: the last whose lower x limit is at or left of x.
                // Row 0 is the top: the first row whose lower y limit is at or below y.
                int column = 0;
                for (int c = 1; c < n; ++c)
                    if (part.Boxes[c + 1].XLo <= x)
                        column = c;
                int row = n - 1;
                for (int r = 0; r < n; ++r)
                    if (part.Boxes[r * n + 1].YLo <= y) {
                        row = r;
                        break;
                    }
                const int box = row * n + column;
                ++count[s][box];
                ++count[2][box];
            }
        }
        const int nr = agents.Count[0] > 0 ? agents.Count[0] : 1;
        const int nb = agents.Count[1] > 0 ? agents.Count[1] : 1;
        const int nt = agents.Count[0] + agents.Count[1] > 0 ? agents.Count[0] + agents.Count[1] : 1;
        const int total[SideGroups] = {nr, nb, nt};
        for (int g = 0; g < SideGroups; ++g) {
            double sum = 0;
            for (int box = 0; box < n * n; ++box) {
                double share = static_cast<double>(count[g][box]) / total[g];
                if (share == 0.0)
                    share = 1.0;
                sum += share * std::log(share);
            }
            entropy[p][g] = sum * part.Scale + 0.0;
        }
    }
}

void ComputeNeighborCounts(const PresentAgents& agents, int battleSize, CNeighborWork& work,
                           double (&means)[NeighborKinds][StatisticRanges])
{
    // Agents per cell summed from the corner, so that the agents of a side
    // in any square take four reads, however crowded the battle. Both sides
    // share one sum, RED in the low half and BLUE in the high: neither count
    // reaches 2^16, so a square's packed difference, taken modulo 2^32,
    // holds both counts exactly.
    const int size = std::clamp(battleSize, 0, MaxBattleSize);
    const int stride = size + 1;
    constexpr int BlueShift = 16;
    static_assert(MaxAgents < (1 << BlueShift));
    std::uint32_t* sum = work.Packed;
    auto onField = [size](int x, int y) { return x >= 1 && y >= 1 && x <= size && y <= size; };
    // The agents on the field in column order, rows ascending within a
    // column: sorted by row, then stably by column, each pass counting.
    int placed = 0;
    int fromX[2 * MaxAgents], fromY[2 * MaxAgents];
    std::uint32_t fromCount[2 * MaxAgents];
    for (int s = 0; s < 2; ++s)
        for (int a = 0; a < agents.Count[s]; ++a)
            if (onField(agents.X[s][a], agents.Y[s][a])) {
                fromX[placed] = agents.X[s][a];
                fromY[placed] = agents.Y[s][a];
                fromCount[placed] = s == 0 ? 1u : 1u << BlueShift;
                ++placed;
            }
    int byRow[2 * MaxAgents], inOrder[2 * MaxAgents];
    int start[MaxBattleSize + 2];
    auto countingSort = [&](const int* key, const int* from, int* to) {
        std::fill(start, start + size + 2, 0);
        for (int k = 0; k < placed; ++k)
            ++start[key[from[k]] + 1];
        for (int v = 1; v <= size + 1; ++v)
            start[v] += start[v - 1];
        for (int k = 0; k < placed; ++k)
            to[start[key[from[k]]]++] = from[k];
    };
    for (int k = 0; k < placed; ++k)
        inOrder[k] = k;
    countingSort(fromY, inOrder, byRow);
    countingSort(fromX, byRow, inOrder);

    // Each column's sums are the column before's plus the running count of
    // its own agents, which stays the same between them: the stretches in
    // between are filled in loops that vectorise, with no grid to clear.
    std::fill(sum, sum + stride, 0u);
    for (int x = 1, k = 0; x <= size; ++x) {
        std::uint32_t* column = sum + stride * x;
        const std::uint32_t* before = column - stride;
        column[0] = 0;
        std::uint32_t run = 0;
        int y = 1;
        for (; k < placed && fromX[inOrder[k]] == x; ++k) {
            const int row = fromY[inOrder[k]];
            for (; y < row; ++y)
                column[y] = run + before[y];
            run += fromCount[inOrder[k]];
        }
        for (; y <= size; ++y)
            column[y] = run + before[y];
    }
    auto inSquare = [&](int x, int y, int r) {
        const int x0 = std::max(x - r, 1) - 1, y0 = std::max(y - r, 1) - 1;
        const int x1 = std::min(x + r, size), y1 = std::min(y + r, size);
        return sum[stride * x1 + y1] - sum[stride * x0 + y1] - sum[stride * x1 + y0] + sum[stride * x0 + y0];
    };

    // [counting side][counted side] at each range; an agent is not its own neighbour.
    int within[2][2][StatisticRanges + 1] = {};
    for (int s = 0; s < 2; ++s)
        for (int a = 0; a < agents.Count[s]; ++a) {
            const int x = agents.X[s][a], y = agents.Y[s][a];
            if (!onField(x, y))
                continue;
            for (int r = 1; r <= StatisticRanges; ++r) {
                const std::uint32_t both = inSquare(x, y, r);
                const int red = static_cast<int>(both & 0xffffu), blue = static_cast<int>(both >> BlueShift);
                within[s][0][r] += red - (s == 0);
                within[s][1][r] += blue - (s == 1);
            }
        }

    const double perRed = agents.Count[0] > 0 ? agents.Count[0] : 1;
    const double perBlue = agents.Count[1] > 0 ? agents.Count[1] : 1;
    for (int r = 1; r <= StatisticRanges; ++r) {
        means[0][r - 1] = within[0][0][r] / perRed;
        means[1][r - 1] = within[0][1][r] / perRed;
        means[2][r - 1] = means[0][r - 1] + means[1][r - 1];
        means[3][r - 1] = within[1][0][r] / perBlue;
        means[4][r - 1] = within[1][1][r] / perBlue;
        means[5][r - 1] = means[3][r - 1] + means[4][r - 1];
    }
}

void ComputeCenterOfMassValues(const PresentAgents& agents, double (&center)[6])
{
    double sum[6] = {};
    int count[3] = {};
    for (int s = 0; s < 2; ++s)
        for (int a = 0; a < agents.Count[s]; ++a) {
            for (int g : {s, 2}) {
                sum[2 * g] += agents.X[s][a];
                sum[2 * g + 1] += agents.Y[s][a];
                ++count[g];
            }
        }
    for (int g = 0; g < 3; ++g) {
        center[2 * g] = count[g] > 0 ? sum[2 * g] / count[g] : 0.0;
        center[2 * g + 1] = count[g] > 0 ? sum[2 * g + 1] / count[g] : 0.0;
    }
}

void ComputeGoalCounts(const PresentAgents& agents, const FlagCells& flags,
                       double (&counts)[GoalCountKinds][StatisticRanges])
{
    // Kind: side and flag. RED near the BLUE flag, BLUE near the RED flag,
    // RED near the RED flag, BLUE near the BLUE flag.
    struct Kind {
        int Side, FlagX, FlagY;
    };
    const Kind kinds[GoalCountKinds] = {
        {0, flags.BlueX, flags.BlueY},
        {1, flags.RedX, flags.RedY},
        {0, flags.RedX, flags.RedY},
        {1, flags.BlueX, flags.BlueY},
    };
    for (int k = 0; k < GoalCountKinds; ++k) {
        int within[StatisticRanges + 1] = {};
        const int s = kinds[k].Side;
        for (int a = 0; a < agents.Count[s]; ++a) {
            const long long m = Chebyshev(agents.X[s][a], agents.Y[s][a], kinds[k].FlagX, kinds[k].FlagY);
            if (m <= StatisticRanges)
                ++within[m];
        }
        int total = within[0];
        for (int r = 1; r <= StatisticRanges; ++r) {
            total += within[r];
            counts[k][r - 1] = total;
        }
    }
}

// --- the run's statistics, filed under the current step

void CBrevimarDoc::ComputeInterpointDistances()
{
    PresentAgents agents;
    GatherPresentAgents(*this, agents);
    double means[InterpointMeasures];
    ComputeInterpoint(agents, GetFlagCells(*this), StatisticsWork.Interpoint, Collected.InterpointHistogram, means);
    const int t = RunHeader.CurrentStep;
    if (SeriesStep(t))
        for (int k = 0; k < InterpointMeasures; ++k)
            Collected.InterpointMean[k][t] = means[k];
}

void CBrevimarDoc::CollectSpatialEntropy()
{
    PresentAgents agents;
    GatherPresentAgents(*this, agents);
    double entropy[3][SideGroups];
    ComputeSpatialEntropy(agents, Statistics, entropy);
    const int t = RunHeader.CurrentStep;
    if (!SeriesStep(t))
        return;
    for (int g = 0; g < SideGroups; ++g) {
        Collected.SpatialEntropy16[g][t] = entropy[0][g];
        Collected.SpatialEntropy64[g][t] = entropy[1][g];
        Collected.SpatialEntropy256[g][t] = entropy[2][g];
    }
}

void CBrevimarDoc::CountNeighbors()
{
    PresentAgents agents;
    GatherPresentAgents(*this, agents);
    ComputeNeighborCounts(agents, Battlefield.BattleSize, StatisticsWork.Neighbors, Collected.NeighborMean);
    const int t = RunHeader.CurrentStep;
    if (HeapBuffersAllocated != 1 || !SeriesStep(t))
        return;
    for (int j = 0; j < NeighborKinds; ++j)
        for (int r = 1; r <= StatisticRanges; ++r)
            NeighborLog[j][SeriesIndex(r, t)] = Collected.NeighborMean[j][r - 1];
}

void CBrevimarDoc::ComputeCenterOfMass()
{
    PresentAgents agents;
    GatherPresentAgents(*this, agents);
    ComputeCenterOfMassValues(agents, Collected.CenterOfMass);
    const int t = RunHeader.CurrentStep;
    if (SeriesStep(t))
        for (int i = 0; i < 6; ++i)
            Collected.CenterOfMassSeries[i][t] = Collected.CenterOfMass[i];
}

void CBrevimarDoc::ComputeGoalCount()
{
    PresentAgents agents;
    GatherPresentAgents(*this, agents);
    ComputeGoalCounts(agents, GetFlagCells(*this), Collected.GoalCount);
    const int t = RunHeader.CurrentStep;
    if (HeapBuffersAllocated != 1 || !SeriesStep(t))
        return;
    for (int k = 0; k < GoalCountKinds; ++k)
        for (int r = 1; r <= StatisticRanges; ++r)
            GoalCountLog[k][SeriesIndex(r, t)] = Collected.GoalCount[k][r - 1];
}

}  // namespace brevimar
