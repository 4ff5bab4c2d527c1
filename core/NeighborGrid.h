// What the neighbour questions of a step share besides the sides' agent
// grids (core/AgentGrid.h): the marks of the flag arrays, the coverage rows
// of communications sharing and the sums of sight-blocking terrain.
#pragma once

#include <cstdint>

#include "core/AgentGrid.h"
#include "core/Limits.h"
#include "core/SquareBox.h"

namespace brevimar {

// Step scratch of one side: which entries of the side's scan and
// communications flag arrays may be non-zero, and the side's agent grid.
struct SideNeighborGrid {
    static constexpr int Last = CAgentGrid::Last;
    const CAgentGrid* Cells = nullptr;
    int Agents = 0;  // the side's agent count

    // Inside a step the marks ARE the flags FriendSensed, EnemySensed,
    // FriendViaComm and EnemyViaComm of this side's force (entries 1..count;
    // the flags only ever hold 0 and 1): the scans and sharing write the
    // marks alone and EndStepGrids writes the arrays back.
    AgentBits FriendSensedMarks, EnemySensedMarks, FriendCommMarks, EnemyCommMarks;
    int Enemies = 0;  // the other side's agent count
    // Per squad s of a mover, the friends whose squad weighs non-zero in
    // row s of the force's squad weight matrix, plus those whose squad
    // number indexes no row: the only friends whose terms a mover of
    // squad s can add. Squads and the matrix stand still through a step.
    AgentBits WeightedFriends[SquadSlots];
    // Per squad row s of the force's communications matrix, the friends 1..count
    // whose squad s hears (a squad number outside 1..10 reads column 0): the
    // only friends that can report to a member of squad s.
    AgentBits HeardFriends[SquadSlots];
    // The sensor range every agent the side's grid holds has, once asked in
    // a step (ranges and states stand still through a side's phase):
    // RangesUnknown until then, MixedRanges where they differ.
    static constexpr int RangesUnknown = -(1 << 30), MixedRanges = RangesUnknown + 1;
    int HeldRange = RangesUnknown;

    bool FriendSensed(int j) const { return FriendSensedMarks.Has(j); }
    bool EnemySensed(int j) const { return EnemySensedMarks.Has(j); }
};

struct CNeighborGrids {
    bool Current = false;  // set for the length of a step
    // Steps that found a side's agent grid behind its force's arrays (a
    // write that passed the force's owner functions) and rebuilt it.
    int GridRepairs = 0;
    SideNeighborGrid Grid[2];  // RED, BLUE
    // Scratch of communications sharing: per row y, bit x is set where at
    // least one (twice: two) reporters' boxes hold cell (x, y), for cells
    // 0..Last along both axes.
    static constexpr int RowWords = (SideNeighborGrid::Last + 64) / 64;
    std::uint64_t CoveredOnce[(SideNeighborGrid::Last + 1) * RowWords] = {};
    std::uint64_t CoveredTwice[(SideNeighborGrid::Last + 1) * RowWords] = {};
    // Reporters' boxes sharing a first row and a last row, merged along the
    // row (at least once, at least twice) before they are painted down it;
    // SpanEnd[y0] is 1 + the last row of the boxes starting at row y0, 0 for
    // none, and back at 0 after each use.
    std::uint64_t SpanOnce[(SideNeighborGrid::Last + 1) * RowWords] = {};
    std::uint64_t SpanTwice[(SideNeighborGrid::Last + 1) * RowWords] = {};
    int SpanEnd[SideNeighborGrid::Last + 1] = {};
    int SpanWordLow[SideNeighborGrid::Last + 1] = {}, SpanWordHigh[SideNeighborGrid::Last + 1] = {};

    // Sight-blocking cells of the battlefield in [1, x] x [1, y], while
    // SightSums is set: a sight line whose surrounding rectangle holds none
    // needs no walk. A field holds at most 150 * 150 cells: 16 bits count
    // them, and half the bytes keep more of the table in cache.
    static constexpr int SumStride = MaxBattleSize + 1;
    static_assert(MaxBattleSize * MaxBattleSize <= 0xFFFF);
    bool SightSums = false;
    std::uint16_t SightBlockers[SumStride * SumStride] = {};
    // True when no sight-blocking cell lies in [x0, x1] x [y0, y1].
    bool NoSightBlockerIn(int x0, int y0, int x1, int y1) const
    {
        x0 = x0 < 1 ? 1 : x0;
        y0 = y0 < 1 ? 1 : y0;
        x1 = x1 > MaxBattleSize ? MaxBattleSize : x1;
        y1 = y1 > MaxBattleSize ? MaxBattleSize : y1;
        if (x0 > x1 || y0 > y1)
            return true;
        auto at = [&](int x, int y) { return static_cast<int>(SightBlockers[x * SumStride + y]); };
        return at(x1, y1) - at(x0 - 1, y1) - at(x1, y0 - 1) + at(x0 - 1, y0 - 1) == 0;
    }
};

}  // namespace brevimar
