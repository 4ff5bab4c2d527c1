// What an agent learns from the squads that report to it, and where its
// nearby squad-mates are gathered.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/Document.h"
#include "core/NeighborGrid.h"
#include "core/SquareBox.h"

namespace brevimar {

namespace {

constexpr int RangeLimit = SquareBox::RangeLimit;

int ClampCount(int n) { return std::clamp(n, 0, MaxAgents); }
int SquadSlot(int squad) { return (squad >= 1 && squad <= MaxSquads) ? squad : 0; }


// A reporter of agent i is a live squad-mate or member of a linked squad
// within communications range; every friend and enemy inside a reporter's
// sensor box is marked for agent i, except that a reporter never reports
// itself (another reporter may). Reports pass through terrain and
// concealment. The marks are sets, so the order reporters and agents are
// visited in is free.

// The reporters' sensor boxes, and whether one of them holds a cell.
struct ReporterBoxes {
    SquareBox Box[AgentSlots];
    int Reporter[AgentSlots];
    int Count = 0;

    void Add(const CForce& own, int k)
    {
        Box[Count] = SquareBox(own.AgentX[k], own.AgentY[k], own.SensorRange[k]);
        Reporter[Count] = k;
        ++Count;
    }
    // Held by the box of a reporter other than `self` (0: any reporter).
    bool Hold(int x, int y, int self) const
    {
        for (int r = 0; r < Count; ++r)
            if (Reporter[r] != self && Box[r].Contains(x, y))
                return true;
        return false;
    }
    // The smallest box around every non-empty box; false when all are empty.
    bool Bounds(SquareBox* bounds) const
    {
        bool any = false;
        for (int r = 0; r < Count; ++r) {
            const SquareBox& b = Box[r];
            if (b.XLow > b.XHigh || b.YLow > b.YHigh)
                continue;
            bounds->XLow = any ? std::min(bounds->XLow, b.XLow) : b.XLow;
            bounds->XHigh = any ? std::max(bounds->XHigh, b.XHigh) : b.XHigh;
            bounds->YLow = any ? std::min(bounds->YLow, b.YLow) : b.YLow;
            bounds->YHigh = any ? std::max(bounds->YHigh, b.YHigh) : b.YHigh;
            any = true;
        }
        return any;
    }
};

// Outside a step: passes over the force arrays.
void SharePlain(CBrevimarDoc& doc, Side side, int i, ReporterBoxes& reporters)
{
    CForce& own = doc.Force(side);
    const CForce& enemy = doc.Force(Opponent(side));
    const int friends = ClampCount(own.NumAgents);
    const int enemies = ClampCount(enemy.NumAgents);
    std::fill(own.FriendViaComm + 1, own.FriendViaComm + 1 + friends, 0);
    std::fill(own.EnemyViaComm + 1, own.EnemyViaComm + 1 + enemies, 0);

    const int* hears = own.CommMatrix[SquadSlot(own.AgentSquad[i])];
    const SquareBox range(own.AgentX[i], own.AgentY[i], own.CommRange);
    for (int k = 1; k <= friends; ++k)
        if (hears[SquadSlot(own.AgentSquad[k])] == 1 && own.AgentState[k] > Dead && k != i &&
            range.Contains(own.AgentX[k], own.AgentY[k]))
            reporters.Add(own, k);
    if (reporters.Count == 0)
        return;
    for (int j = 1; j <= friends; ++j)
        if (own.AgentState[j] > Dead && j != i && reporters.Hold(own.AgentX[j], own.AgentY[j], j))
            own.FriendViaComm[j] = 1;
    for (int j = 1; j <= enemies; ++j)
        if (enemy.AgentState[j] > Dead && reporters.Hold(enemy.AgentX[j], enemy.AgentY[j], 0))
            own.EnemyViaComm[j] = 1;
}

// Marks the living friends (but i) and enemies in `bounds` for which
// reported(x, y, self) holds; `self` is the friend asked about (0 for an
// enemy), which must not count its own report.
template <typename Reported>
void MarkReported(CBrevimarDoc& doc, Side side, int i, const SquareBox& bounds, Reported&& reported)
{
    const CForce& own = doc.Force(side);
    const CForce& enemy = doc.Force(Opponent(side));
    SideNeighborGrid& ownGrid = *doc.StepGrid(side);
    const SideNeighborGrid& enemyGrid = *doc.StepGrid(Opponent(side));

    AgentBits near = ownGrid.Cells->InBox(bounds, ClampCount(own.NumAgents));
    near.Reset(i);
    ownGrid.FriendCommMarks = near.Filter(
        [&](int j) { return own.AgentState[j] > Dead && reported(own.AgentX[j], own.AgentY[j], j); });
    ownGrid.EnemyCommMarks = enemyGrid.Cells->InBox(bounds, ClampCount(enemy.NumAgents)).Filter([&](int j) {
        return enemy.AgentState[j] > Dead && reported(enemy.AgentX[j], enemy.AgentY[j], 0);
    });
}

// A window's rows as one word each, padded with empty rows above and below
// so that every row a box around a window cell reaches can be read, a group
// of rows at a time.
constexpr int Half = 31, Width = 2 * Half + 1;
constexpr int RowsAtOnce = 4;
struct WindowRows {
    static constexpr int Pad = Half + 1;
    std::uint64_t Rows[Pad + Width + Pad + RowsAtOnce - 1] = {};
    std::uint64_t& operator[](int y) { return Rows[Pad + y]; }
    const std::uint64_t* Begin() const { return Rows + Pad; }
};

// Four rows at once: the word operations below are the same for each row.
using RowGroup = std::uint64_t __attribute__((vector_size(8 * RowsAtOnce)));


// Adds to (once, twice) the cells of window rows y0..y1 (and the rows after,
// up to a whole group, which the window's arrays hold) that the boxes of half width `range`
// around the points (each bit shifted `range` up) hold at least once and at
// least two times. Counts saturate at two, so a sum over disjoint parts is
// exact: the rows first, then the columns in runs of doubling length.
// Compiled twice, the processor choosing at load time: with 256-bit
// registers a group of four rows is one register.
__attribute__((target_clones("avx2", "default"))) void CoverWindow(const WindowRows& points, int y0, int y1, int range,
                                                                   std::uint64_t* once, std::uint64_t* twice)
{
    const std::uint64_t* rows = points.Begin();
    const int n = 2 * range + 1;
    for (int y = y0; y <= y1; y += RowsAtOnce) {
        RowGroup ao = {}, at = {};  // the points of rows y - range .. y + range (and the group's others)
        for (int r = y - range; r <= y + range; ++r) {
            RowGroup p;
            std::memcpy(&p, rows + r, sizeof p);
            at |= ao & p;
            ao |= p;
        }
        // Bit x of (ao, at) counts columns x .. x + len - 1, of (ro, rt) x .. x + done - 1.
        RowGroup ro = {}, rt = {};
        int done = 0;
        for (int len = 1; len <= n; len <<= 1) {
            if (n & len) {
                const RowGroup so = ao >> done, st = at >> done;
                rt |= st | (ro & so);
                ro |= so;
                done += len;
            }
            const RowGroup so = ao >> len, st = at >> len;
            at |= st | (ao & so);
            ao |= so;
        }
        RowGroup o, t;
        std::memcpy(&o, once + y, sizeof o);
        std::memcpy(&t, twice + y, sizeof t);
        rt |= t | (o & ro);
        ro |= o;
        std::memcpy(once + y, &ro, sizeof ro);
        std::memcpy(twice + y, &rt, sizeof rt);
    }
}

// Marks the friends (but i) and enemies that window rows y0..y1 cover, cell
// by cell from where the grids say agents stand, each friend that reports
// (stands on a bit of `standing`) only where another box holds it too. False,
// with nothing changed, where a grid cannot name every agent on a cell.
bool MarkByCell(CBrevimarDoc& doc, Side side, int i, int ox, int oy, int y0, int y1, const std::uint64_t* standing,
                const std::uint64_t* once, const std::uint64_t* twice)
{
    const CForce& own = doc.Force(side);
    const CForce& enemy = doc.Force(Opponent(side));
    SideNeighborGrid& ownGrid = *doc.StepGrid(side);
    const CAgentGrid& friends = *ownGrid.Cells;
    const CAgentGrid& enemies = *doc.StepGrid(Opponent(side))->Cells;
    constexpr int Last = CAgentGrid::Last;
    if (friends.Stacked != 0 || enemies.Stacked != 0 || !friends.OffRows.Empty() || !enemies.OffRows.Empty() ||
        ox < -64 || ox > Last || oy < -64 || oy > Last)
        return false;
    const int friendCount = ClampCount(own.NumAgents), enemyCount = ClampCount(enemy.NumAgents);
    AgentBits friendMarks, enemyMarks;
    for (int y = std::max(y0, -oy); y <= std::min(y1, Last - oy); ++y) {
        const int row = y + oy;
        const std::int16_t* at = friends.At + row * (Last + 1) + ox;
        std::uint64_t bits = friends.StandingRun(row, ox) & ((once[y] & ~standing[y]) | (twice[y] & standing[y]));
        for (; bits != 0; bits &= bits - 1) {
            const int j = at[__builtin_ctzll(bits)] - 1;
            friendMarks.SetIf(j, own.AgentState[j] > Dead);
        }
        at = enemies.At + row * (Last + 1) + ox;
        for (bits = enemies.StandingRun(row, ox) & once[y]; bits != 0; bits &= bits - 1) {
            const int j = at[__builtin_ctzll(bits)] - 1;
            enemyMarks.SetIf(j, enemy.AgentState[j] > Dead);
        }
    }
    // Agents held past their side's count, and i itself, are not marked.
    friendMarks.And(AgentBits::Range(friendCount));
    friendMarks.Reset(i);
    enemyMarks.And(AgentBits::Range(enemyCount));
    ownGrid.FriendCommMarks = friendMarks;
    ownGrid.EnemyCommMarks = enemyMarks;
    return true;
}

// The common case: every reporter stands within the communications range of
// agent i, so when that range plus the widest sensor range is at most 31
// cells, every box lies in the 63 x 63 cells around i and a row of them is
// one word. The cells the boxes hold at least once (and at least twice, for
// a reporter's own cell, which its own box holds) are found there far more
// cheaply than in rows of the whole battlefield. False, with nothing
// changed, when the boxes do not fit or their sensor ranges are too many.
bool ShareInWindow(CBrevimarDoc& doc, Side side, int i, const AgentBits& candidates)
{
    const CForce& own = doc.Force(side);
    const int comm = own.CommRange;
    if (comm < 0 || comm > Half)
        return false;
    const int ox = own.AgentX[i] - Half, oy = own.AgentY[i] - Half;
    const unsigned far = 2u * static_cast<unsigned>(comm);

    // Reporters of one sensor range are grown into their boxes together,
    // whatever their number; a crowd of them is the usual case. Groups of
    // one range beyond its first hold only reporters stacked on a cell.
    constexpr int MaxRanges = 4;
    int ranges[MaxRanges];
    int rangeCount = 0, reach = 0;
    WindowRows points[MaxRanges];
    AgentBits reporting;  // reporters whose box holds their own cell
    std::uint64_t standing[Width] = {};   // and the cells they stand on
    std::uint64_t rows = 0, columns = 0;  // where reporters with a box stand
    for (int w = 0; w < AgentBits::Words; ++w) {
        for (std::uint64_t bits = candidates.W[w]; bits != 0; bits &= bits - 1) {
            const int k = w * 64 + __builtin_ctzll(bits);
            const int range = own.SensorRange[k];
            if (own.AgentState[k] <= Dead || range < 0)
                continue;
            const int x = own.AgentX[k] - ox, y = own.AgentY[k] - oy;
            // The grids found the reporters; the window is only safe around them.
            if (static_cast<unsigned>(x - (Half - comm)) > far || static_cast<unsigned>(y - (Half - comm)) > far ||
                range > Half - comm)
                return false;
            // Shifted by the range, so that the grown bit x stands for cell x.
            const std::uint64_t point = std::uint64_t{1} << (x + range), cell = std::uint64_t{1} << x;
            int g = 0, taken = 0;
            while (g < rangeCount && ranges[g] != range)
                ++g;
            // A group's bit stands for one reporter on the cell: a second one
            // of the same range there goes into a later group of the range,
            // so that its box is counted again; a third adds nothing to
            // counts that stop at two.
            if ((standing[y] & cell) != 0)
                while (g < rangeCount && (ranges[g] != range || (points[g][y] & point) != 0)) {
                    taken += ranges[g] == range;
                    ++g;
                }
            if (g == rangeCount && taken < 2) {
                if (g == MaxRanges)
                    return false;
                ranges[rangeCount++] = range;
                reach = std::max(reach, range);
            }
            if (g < rangeCount)
                points[g][y] |= point;
            reporting.Set(k);
            standing[y] |= cell;
            rows |= std::uint64_t{1} << y;
            columns |= std::uint64_t{1} << x;
        }
    }
    if (rows == 0)
        return true;  // no reporter has a box: nothing is reported
    const int y0 = __builtin_ctzll(rows) - reach, y1 = 63 - __builtin_clzll(rows) + reach;

    std::uint64_t once[Width + RowsAtOnce - 1], twice[Width + RowsAtOnce - 1];
    std::fill(once + y0, once + y1 + RowsAtOnce, std::uint64_t{0});
    std::fill(twice + y0, twice + y1 + RowsAtOnce, std::uint64_t{0});
    for (int g = 0; g < rangeCount; ++g)
        CoverWindow(points[g], y0, y1, ranges[g], once, twice);
    if (MarkByCell(doc, side, i, ox, oy, y0, y1, standing, once, twice))
        return true;
    SquareBox bounds;
    bounds.XLow = __builtin_ctzll(columns) - reach + ox;
    bounds.XHigh = 63 - __builtin_clzll(columns) + reach + ox;
    bounds.YLow = y0 + oy;
    bounds.YHigh = y1 + oy;
    MarkReported(doc, side, i, bounds, [&](int x, int y, int self) {
        const unsigned lx = static_cast<unsigned>(x - ox), ly = static_cast<unsigned>(y - oy);
        if (lx >= static_cast<unsigned>(Width) || ly >= static_cast<unsigned>(Width))
            return false;
        const std::uint64_t* bits = self != 0 && reporting.Has(self) ? twice : once;
        return ((bits[ly] >> lx) & 1u) != 0;
    });
    return true;
}

// The sensor range of every agent the side's grid holds, or MixedRanges.
int HeldRange(const CForce& own, SideNeighborGrid& grid)
{
    if (grid.HeldRange == SideNeighborGrid::RangesUnknown) {
        int range = SideNeighborGrid::RangesUnknown;
        grid.Cells->Held.ForEach([&](int j) {
            const int r = own.SensorRange[j];
            range = range == SideNeighborGrid::RangesUnknown || range == r ? r : SideNeighborGrid::MixedRanges;
        });
        grid.HeldRange = range == SideNeighborGrid::RangesUnknown ? -1 : range;
    }
    return grid.HeldRange;
}

// The usual case of all: every agent the grid holds but i is heard by i's
// squad and has one sensor range, so the reporters are exactly the taken
// cells of the communications box, read from the grid's rows of cells
// without visiting an agent. False, with nothing changed, otherwise.
bool ShareFromStanding(CBrevimarDoc& doc, Side side, int i, const AgentBits& heard)
{
    const CForce& own = doc.Force(side);
    SideNeighborGrid& ownGrid = *doc.StepGrid(side);
    const CAgentGrid& cells = *ownGrid.Cells;
    const CAgentGrid& enemies = *doc.StepGrid(Opponent(side))->Cells;
    const int comm = own.CommRange;
    const int xi = own.AgentX[i], yi = own.AgentY[i];
    if (comm < 0 || comm > Half || cells.Stacked != 0 || enemies.Stacked != 0 || !cells.OffRows.Empty() ||
        !enemies.OffRows.Empty() || !cells.Holds(i) || cells.HeldX[i] != xi || cells.HeldY[i] != yi ||
        !CAgentGrid::OnRows(xi, yi))
        return false;
    AgentBits unheard = cells.Held;
    unheard.Reset(i);
    for (int k = 0; k < AgentBits::Words; ++k)
        unheard.W[k] &= ~heard.W[k];
    const int range = unheard.Empty() ? HeldRange(own, ownGrid) : SideNeighborGrid::MixedRanges;
    if (range == SideNeighborGrid::MixedRanges || range > Half - comm)
        return false;
    if (range < 0)
        return true;  // no reporter has a box: nothing is reported

    const int ox = xi - Half, oy = yi - Half;
    const std::uint64_t inRange = (~std::uint64_t{0} >> (63 - 2 * comm)) << (Half - comm);
    WindowRows points;
    std::uint64_t standing[Width];
    std::uint64_t rows = 0;
    for (int y = Half - comm; y <= Half + comm; ++y) {
        const int row = y + oy;
        std::uint64_t here = row >= 0 && row <= CAgentGrid::Last ? cells.StandingRun(row, ox) & inRange : 0;
        if (y == Half)
            here &= ~(std::uint64_t{1} << Half);  // i reports nothing to itself
        standing[y] = here;
        // Shifted by the range, so that the grown bit x stands for cell x.
        points[y] = here << range;
        rows |= std::uint64_t{here != 0} << y;
    }
    if (rows == 0)
        return true;
    const int y0 = __builtin_ctzll(rows) - range, y1 = 63 - __builtin_clzll(rows) + range;
    std::uint64_t once[Width + RowsAtOnce - 1], twice[Width + RowsAtOnce - 1];
    std::fill(once + y0, once + y1 + RowsAtOnce, std::uint64_t{0});
    std::fill(twice + y0, twice + y1 + RowsAtOnce, std::uint64_t{0});
    std::fill(standing, standing + Half - comm, std::uint64_t{0});
    std::fill(standing + Half + comm + 1, standing + Width, std::uint64_t{0});
    CoverWindow(points, y0, y1, range, once, twice);
    return MarkByCell(doc, side, i, ox, oy, y0, y1, standing, once, twice);
}

// Inside a step: the grids give the reporters and the agents near their
// boxes exactly, as bit sets. Where the boxes do not fit a window around
// agent i and there are many reporters, the cells their boxes hold are
// painted as rows of the whole battlefield, so that an agent's test is one
// bit instead of a walk over the boxes.
void ShareFromGrids(CBrevimarDoc& doc, Side side, int i, ReporterBoxes& reporters)
{
    const CForce& own = doc.Force(side);
    const int friends = ClampCount(own.NumAgents);
    SideNeighborGrid& ownGrid = *doc.StepGrid(side);

    ownGrid.FriendCommMarks.Clear();
    ownGrid.EnemyCommMarks.Clear();

    const AgentBits& heard = ownGrid.HeardFriends[SquadSlot(own.AgentSquad[i])];
    if (heard.Empty() || ShareFromStanding(doc, side, i, heard))
        return;
    AgentBits candidates = ownGrid.Cells->InBox(SquareBox(own.AgentX[i], own.AgentY[i], own.CommRange), friends);
    candidates.And(heard);
    candidates.Reset(i);
    if (ShareInWindow(doc, side, i, candidates))
        return;
    candidates.ForEach([&](int k) {
        if (own.AgentState[k] > Dead)
            reporters.Add(own, k);
    });
    SquareBox bounds;
    if (reporters.Count == 0 || !reporters.Bounds(&bounds))
        return;

    CNeighborGrids& scratch = doc.NeighborGrids;
    constexpr int Last = SideNeighborGrid::Last;
    constexpr int Words = CNeighborGrids::RowWords;
    std::uint64_t* once = scratch.CoveredOnce;
    std::uint64_t* twice = scratch.CoveredTwice;
    const int ry0 = std::max(bounds.YLow, 0), ry1 = std::min(bounds.YHigh, Last);
    const bool painted = reporters.Count > 2 && ry0 <= ry1;
    AgentBits reporting;  // reporters whose box holds a painted cell
    if (painted) {
        std::fill(once + ry0 * Words, once + (ry1 + 1) * Words, std::uint64_t{0});
        std::fill(twice + ry0 * Words, twice + (ry1 + 1) * Words, std::uint64_t{0});
        // Boxes with the same rows are merged along the row first: most
        // reporters of a crowd share their rows with others.
        int starts[Last + 1];
        int spans = 0;
        for (int r = 0; r < reporters.Count; ++r) {
            const SquareBox& b = reporters.Box[r];
            const int x0 = std::max(b.XLow, 0), x1 = std::min(b.XHigh, Last);
            const int y0 = std::max(b.YLow, 0), y1 = std::min(b.YHigh, Last);
            if (x0 > x1 || y0 > y1)
                continue;
            reporting.Set(reporters.Reporter[r]);
            const int w0 = x0 >> 6, w1 = x1 >> 6;
            int& end = scratch.SpanEnd[y0];
            const bool merged = end == 0 || end == y1 + 1;
            if (end == 0) {
                end = y1 + 1;
                starts[spans++] = y0;
                scratch.SpanWordLow[y0] = w0;
                scratch.SpanWordHigh[y0] = w1;
                for (int w = 0; w < Words; ++w)
                    scratch.SpanOnce[y0 * Words + w] = scratch.SpanTwice[y0 * Words + w] = 0;
            } else if (merged) {
                scratch.SpanWordLow[y0] = std::min(scratch.SpanWordLow[y0], w0);
                scratch.SpanWordHigh[y0] = std::max(scratch.SpanWordHigh[y0], w1);
            }
            for (int w = w0; w <= w1; ++w) {
                const int lo = std::max(x0 - 64 * w, 0), hi = std::min(x1 - 64 * w, 63);
                const std::uint64_t mask = (~std::uint64_t{0} >> (63 - hi)) & (~std::uint64_t{0} << lo);
                if (merged) {
                    scratch.SpanTwice[y0 * Words + w] |= scratch.SpanOnce[y0 * Words + w] & mask;
                    scratch.SpanOnce[y0 * Words + w] |= mask;
                } else {
                    // Rows that start together but end apart: painted alone.
                    for (int y = y0; y <= y1; ++y) {
                        twice[y * Words + w] |= once[y * Words + w] & mask;
                        once[y * Words + w] |= mask;
                    }
                }
            }
        }
        for (int s = 0; s < spans; ++s) {
            const int y0 = starts[s];
            const int y1 = scratch.SpanEnd[y0] - 1;
            scratch.SpanEnd[y0] = 0;
            for (int w = scratch.SpanWordLow[y0]; w <= scratch.SpanWordHigh[y0]; ++w) {
                const std::uint64_t a = scratch.SpanOnce[y0 * Words + w], b = scratch.SpanTwice[y0 * Words + w];
                for (int y = y0; y <= y1; ++y) {
                    twice[y * Words + w] |= (once[y * Words + w] & a) | b;
                    once[y * Words + w] |= a;
                }
            }
        }
    }
    // Whether the painted bits, or the boxes where nothing is painted or the
    // agent stands off the painted lines, report an agent at (x, y).
    MarkReported(doc, side, i, bounds, [&](int x, int y, int self) {
        if (!painted || x < 0 || x > Last || y < ry0 || y > ry1)
            return reporters.Hold(x, y, self);
        const std::uint64_t* bits = self != 0 && reporting.Has(self) ? twice : once;
        return ((bits[y * Words + (x >> 6)] >> (x & 63)) & 1u) != 0;
    });
}

void ShareCommunications(CBrevimarDoc& doc, Side side, int i)
{
    if (i < 1 || i > MaxAgents)
        return;
    // Left uninitialised: only the first Count boxes are ever read.
    union Scratch {
        Scratch() {}
        ReporterBoxes Boxes;
    } scratch;
    scratch.Boxes.Count = 0;
    if (doc.StepGrid(side))
        ShareFromGrids(doc, side, i, scratch.Boxes);
    else
        SharePlain(doc, side, i, scratch.Boxes);
}

// Mean cell of the live members of agent i's squad, itself included, within
// a disc of the communications range (or its sensor range without comms).
void LocalCenterOfMass(CBrevimarDoc& doc, Side side, int i)
{
    CForce& own = doc.Force(side);
    own.LocalCenterX = 0.0;
    own.LocalCenterY = 0.0;
    if (i < 1 || i > MaxAgents)
        return;
    const long long R = std::clamp(own.CommOn == 1 ? own.CommRange : own.SensorRange[i], -RangeLimit, RangeLimit);
    // sqrt(d2) <= R on integer cells is exactly d2 <= R * R for R >= 0.
    const long long limit = R * R;
    const int squad = own.AgentSquad[i];
    const int xi = own.AgentX[i];
    const int yi = own.AgentY[i];
    const int friends = ClampCount(own.NumAgents);
    long long sumX = 0, sumY = 0;
    int n = 0;
    if (R >= 0) {
        for (int j = 1; j <= friends; ++j) {
            if (own.AgentSquad[j] != squad || own.AgentState[j] <= Dead)
                continue;
            const long long dx = own.AgentX[j] - xi;
            const long long dy = own.AgentY[j] - yi;
            if (dx * dx + dy * dy <= limit) {
                sumX += own.AgentX[j];
                sumY += own.AgentY[j];
                ++n;
            }
        }
    }
    if (n > 0) {
        own.LocalCenterX = static_cast<double>(sumX) / n;
        own.LocalCenterY = static_cast<double>(sumY) / n;
    }
}

}  // namespace

void CBrevimarDoc::ShareRedCommunications(int agent) { ShareCommunications(*this, Side::Red, agent); }
void CBrevimarDoc::ShareBlueCommunications(int agent) { ShareCommunications(*this, Side::Blue, agent); }
void CBrevimarDoc::RedLocalCenterOfMass(int agent) { LocalCenterOfMass(*this, Side::Red, agent); }
void CBrevimarDoc::BlueLocalCenterOfMass(int agent) { LocalCenterOfMass(*this, Side::Blue, agent); }

}  // namespace brevimar
