#include "core/AgentGrid.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "core/Force.h"
#include "core/Side.h"

namespace brevimar {

void CAgentGrid::Clear()
{
    for (auto& cell : Cell)
        cell.Clear();
    for (int& c : HeldIn)
        c = 0;
    for (int j = 0; j < AgentSlots; ++j)
        HeldX[j] = HeldY[j] = 0;
    Held.Clear();
    for (int l = 0; l <= Last; ++l) {
        Row[l].Clear();
        Column[l].Clear();
    }
    OffRows.Clear();
    InjuredHeld.Clear();
    std::fill(std::begin(Standing), std::end(Standing), std::uint64_t{0});
    std::fill(std::begin(At), std::end(At), std::int16_t{0});
    Stacked = 0;
}

bool CAgentGrid::Near(const SquareBox& box, AgentBits* out, int agents) const
{
    if (box.XLow > box.XHigh || box.YLow > box.YHigh)
        return true;
    // Clamping is monotone, so an agent inside the box stays inside the
    // clamped box of coarse cells.
    auto coarse = [](int v) { return (v < 0 ? 0 : (v > Last ? Last : v)) >> Shift; };
    const int x0 = coarse(box.XLow), x1 = coarse(box.XHigh);
    const int y0 = coarse(box.YLow), y1 = coarse(box.YHigh);
    // A coarse cell costs a few words; the plain pass some operations per agent.
    const int cells = (x1 - x0 + 1) * (y1 - y0 + 1);
    if (cells * AgentBits::Words > 2 * agents)
        return false;
    for (int cx = x0; cx <= x1; ++cx)
        for (int cy = y0; cy <= y1; ++cy)
            out->Or(Cell[cx * Span + cy]);
    return true;
}

namespace {

// Lines lo..hi of a box along one axis, cut to the grid's lines 0..Last.
struct LineSpan {
    int Lo, Hi;  // empty when Lo > Hi
};

LineSpan Lines(int c, int r)
{
    if (r < 0)
        return {1, 0};
    const long long lo = static_cast<long long>(c) - r, hi = static_cast<long long>(c) + r;
    return {static_cast<int>(std::max<long long>(lo, 0)), static_cast<int>(std::min<long long>(hi, CAgentGrid::Last))};
}

template <int N>
void OrLines(const AgentBits* lines, int lo, int hi, std::uint64_t* acc)
{
    for (int l = lo; l <= hi; ++l)
        for (int k = 0; k < N; ++k)
            acc[k] |= lines[l].W[k];
}

// acc |= the lines of `outer` outside `inner` (inner inside outer, or empty).
template <int N>
void OrRing(const AgentBits* lines, LineSpan inner, LineSpan outer, std::uint64_t* acc)
{
    if (inner.Lo > inner.Hi) {
        OrLines<N>(lines, outer.Lo, outer.Hi, acc);
        return;
    }
    OrLines<N>(lines, outer.Lo, std::min(outer.Hi, inner.Lo - 1), acc);
    OrLines<N>(lines, std::max(outer.Lo, inner.Hi + 1), outer.Hi, acc);
}

// InBoxes over the first N words, N known to the compiler so that the line
// loops unroll into whole-register operations.
template <int N>
void InBoxWords(const CAgentGrid& grid, int x, int y, int inner, int outer, AgentBits* in, AgentBits* out)
{
    const LineSpan yIn = Lines(y, inner), yOut = Lines(y, outer);
    const LineSpan xIn = Lines(x, inner), xOut = Lines(x, outer);
    std::uint64_t rows[N] = {}, columns[N] = {};
    OrLines<N>(grid.Row, yIn.Lo, yIn.Hi, rows);
    OrLines<N>(grid.Column, xIn.Lo, xIn.Hi, columns);
    for (int k = 0; k < N; ++k)
        in->W[k] = rows[k] & columns[k];
    OrRing<N>(grid.Row, yIn, yOut, rows);
    OrRing<N>(grid.Column, xIn, xOut, columns);
    for (int k = 0; k < N; ++k)
        out->W[k] = rows[k] & columns[k];
}

template <int N>
void InBoxWords(const CAgentGrid& grid, const SquareBox& box, AgentBits* out)
{
    // Cut to the lines 0..Last: a box beyond them on either side is empty.
    const int y0 = std::max(box.YLow, 0), y1 = std::min(box.YHigh, CAgentGrid::Last);
    const int x0 = std::max(box.XLow, 0), x1 = std::min(box.XHigh, CAgentGrid::Last);
    std::uint64_t rows[N] = {}, columns[N] = {};
    OrLines<N>(grid.Row, y0, y1, rows);
    OrLines<N>(grid.Column, x0, x1, columns);
    for (int k = 0; k < N; ++k)
        out->W[k] = rows[k] & columns[k];
}

}  // namespace

AgentBits CAgentGrid::InBox(const SquareBox& box, int agents) const
{
    AgentBits in;
    switch (std::clamp(agents, 0, MaxAgents) / 64 + 1) {
    case 1: InBoxWords<1>(*this, box, &in); break;
    case 2: InBoxWords<2>(*this, box, &in); break;
    case 3: InBoxWords<3>(*this, box, &in); break;
    case 4: InBoxWords<4>(*this, box, &in); break;
    default: InBoxWords<5>(*this, box, &in); break;
    }
    OffRows.ForEach([&](int j) { in.SetIf(j, box.Contains(HeldX[j], HeldY[j])); });
    in.And(AgentBits::Range(agents));
    return in;
}

void CAgentGrid::InBoxes(int x, int y, int inner, int outer, AgentBits* in, AgentBits* out, int words) const
{
    words = std::clamp(words, 0, AgentBits::Words);
    static_assert(AgentBits::Words == 5);
    switch (words) {
    case 0: break;
    case 1: InBoxWords<1>(*this, x, y, inner, outer, in, out); break;
    case 2: InBoxWords<2>(*this, x, y, inner, outer, in, out); break;
    case 3: InBoxWords<3>(*this, x, y, inner, outer, in, out); break;
    case 4: InBoxWords<4>(*this, x, y, inner, outer, in, out); break;
    default: InBoxWords<5>(*this, x, y, inner, outer, in, out); break;
    }
    if (!OffRows.Empty()) {
        const SquareBox innerBox(x, y, inner), outerBox(x, y, outer);
        OffRows.ForEach([&](int j) {
            if ((j >> 6) >= words)
                return;
            in->SetIf(j, innerBox.Contains(HeldX[j], HeldY[j]));
            out->SetIf(j, outerBox.Contains(HeldX[j], HeldY[j]));
        });
    }
}

// --- the force as the one writer of its agents' positions and states

void CForce::PlaceAgent(int i, int x, int y)
{
    if (i < 1 || i > MaxAgents)
        return;
    AgentX[i] = x;
    AgentY[i] = y;
    if (Grid.Holds(i)) {
        Grid.Drop(i);
        Grid.Hold(i, x, y);
    }
}

void CForce::SetAgentState(int i, int state)
{
    if (i < 1 || i > MaxAgents)
        return;
    AgentState[i] = state;
    const bool held = state > Dead;
    if (held && !Grid.Holds(i))
        Grid.Hold(i, AgentX[i], AgentY[i]);
    else if (!held && Grid.Holds(i))
        Grid.Drop(i);
    Grid.InjuredHeld.Reset(i);
    Grid.InjuredHeld.SetIf(i, held && state == Injured);
}

void CForce::RebuildAgentGrid()
{
    Grid.Clear();
    for (int j = 1; j <= MaxAgents; ++j)
        if (AgentState[j] > Dead) {
            Grid.Hold(j, AgentX[j], AgentY[j]);
            Grid.InjuredHeld.SetIf(j, AgentState[j] == Injured);
        }
}

bool CForce::AgentGridFollowsAgents() const
{
    bool same = Grid.HeldIn[0] == 0 && !Grid.InjuredHeld.Has(0);
    for (int j = 1; j <= MaxAgents; ++j) {
        const bool held = AgentState[j] > Dead;
        const int expected = held ? CAgentGrid::CoarseIndex(AgentX[j], AgentY[j]) + 1 : 0;
        same &= Grid.HeldIn[j] == expected;
        same &= !held || (Grid.HeldX[j] == AgentX[j] && Grid.HeldY[j] == AgentY[j]);
        same &= Grid.InjuredHeld.Has(j) == (held && AgentState[j] == Injured);
    }
    return same;
}

bool CForce::AgentGridCurrent() const
{
    if (!AgentGridFollowsAgents())
        return false;
    // Every held agent in its own cell and no other member anywhere: the
    // cells are then exactly those a rebuild from the arrays would give.
    int held = 0;
    for (int j = 1; j <= MaxAgents; ++j)
        if (Grid.Holds(j)) {
            if (!Grid.Cell[Grid.HeldIn[j] - 1].Has(j))
                return false;
            ++held;
        }
    int members = 0;
    for (const AgentBits& cell : Grid.Cell)
        members += cell.Count();
    if (members != held || Grid.Held.Count() != held)
        return false;
    // Each held agent on its own row and column, or off them, and nowhere else.
    int onRows = 0, onColumns = 0;
    for (int l = 0; l <= CAgentGrid::Last; ++l) {
        onRows += Grid.Row[l].Count();
        onColumns += Grid.Column[l].Count();
    }
    for (int j = 1; j <= MaxAgents; ++j) {
        if (!Grid.Holds(j))
            continue;
        const int x = Grid.HeldX[j], y = Grid.HeldY[j];
        const bool placed = CAgentGrid::OnRows(x, y) ? Grid.Row[y].Has(j) && Grid.Column[x].Has(j) : Grid.OffRows.Has(j);
        if (!placed || !Grid.Held.Has(j))
            return false;
    }
    if (onRows + Grid.OffRows.Count() != held || onColumns + Grid.OffRows.Count() != held)
        return false;
    // Each cell with held agents standing, naming one of them, and no other;
    // every agent past the first on a cell counted as stacked.
    std::vector<std::uint64_t> standing(std::size(Grid.Standing), 0);
    for (int j = 1; j <= MaxAgents; ++j) {
        const int x = Grid.HeldX[j], y = Grid.HeldY[j];
        if (!Grid.Holds(j) || !CAgentGrid::OnRows(x, y))
            continue;
        const int word = y * CAgentGrid::StandingWords + ((x + 64) >> 6);
        standing[word] |= std::uint64_t{1} << (x & 63);
        const int named = Grid.At[y * (CAgentGrid::Last + 1) + x] - 1;
        if (named < 1 || named > MaxAgents || !Grid.Holds(named) || Grid.HeldX[named] != x || Grid.HeldY[named] != y)
            return false;
    }
    int cells = 0;
    for (std::size_t w = 0; w < standing.size(); ++w) {
        if (standing[w] != Grid.Standing[w])
            return false;
        cells += PopCount(standing[w]);
    }
    return Grid.Stacked == onRows - cells;
}

}  // namespace brevimar
