// Where each side's agents stand, kept by coarse cells for the length of a
// step, so that a question about the agents near a point visits only the
// agents of the cells around it instead of the whole force.
//
// Answers are candidate sets, never final: every caller still applies its
// own exact test to each candidate and visits them in ascending index, so
// sums, marks and random draws happen exactly as in a pass over the force.
#pragma once

#include <cstdint>

#include "core/Limits.h"
#include "core/SquareBox.h"

namespace brevimar {

// A set of agent indices 0..AgentSlots - 1, visited in ascending order.
struct AgentBits {
    static constexpr int Words = (AgentSlots + 63) / 64;
    std::uint64_t W[Words] = {};

    void Set(int j) { W[j >> 6] |= std::uint64_t{1} << (j & 63); }
    // Set(j) when `on`, without a branch.
    void SetIf(int j, bool on) { W[j >> 6] |= std::uint64_t{on} << (j & 63); }
    void Reset(int j) { W[j >> 6] &= ~(std::uint64_t{1} << (j & 63)); }
    bool Has(int j) const { return (W[j >> 6] >> (j & 63)) & 1u; }
    void Clear()
    {
        for (auto& w : W)
            w = 0;
    }
    // The set of j in 1..n with flags[j] != 0.
    void MarkNonZero(const int* flags, int n)
    {
        Clear();
        for (int j = 1; j <= n; ++j)
            if (flags[j] != 0)
                Set(j);
    }
    void Or(const AgentBits& other)
    {
        for (int k = 0; k < Words; ++k)
            W[k] |= other.W[k];
    }
    // f(j) for every member in ascending order; f may add or remove members
    // of this set, which this visit then neither sees nor skips.
    template <typename F>
    void ForEach(F&& f) const
    {
        for (int k = 0; k < Words; ++k) {
            std::uint64_t bits = W[k];
            while (bits != 0) {
                f(k * 64 + __builtin_ctzll(bits));
                bits &= bits - 1;
            }
        }
    }
};

// One side's agents by coarse cell, and which entries of the side's scan
// and communications flag arrays may be non-zero.
struct SideNeighborGrid {
    static constexpr int Shift = 2;  // coarse cells of 4 x 4 battlefield cells
    static constexpr int Span = ((MaxBattleSize + 1) >> Shift) + 1;
    static constexpr int Last = (Span << Shift) - 1;  // coordinates beyond are kept at the edge

    AgentBits Cell[Span * Span];
    int AgentCell[AgentSlots] = {};
    int Agents = 0;  // indices 1..Agents are kept

    // Supersets of the non-zero entries of FriendSensed, EnemySensed,
    // FriendViaComm and EnemyViaComm of this side's force.
    AgentBits FriendSensedMarks, EnemySensedMarks, FriendCommMarks, EnemyCommMarks;

    static int CoarseIndex(int x, int y)
    {
        const int cx = (x < 0 ? 0 : (x > Last ? Last : x)) >> Shift;
        const int cy = (y < 0 ? 0 : (y > Last ? Last : y)) >> Shift;
        return cx * Span + cy;
    }
    void Build(int agents, const int* x, const int* y);
    void Move(int j, int x, int y);
    // Adds to `out` every kept agent that may stand in `box`. False, with
    // `out` untouched, when a pass over all `agents` is cheaper.
    bool Near(const SquareBox& box, AgentBits* out) const;
};

struct CNeighborGrids {
    bool Current = false;  // set for the length of a step
    SideNeighborGrid Grid[2];  // RED, BLUE
    // Scratch of communications sharing: per row y, bit x is set where at
    // least one (twice: two) reporters' boxes hold cell (x, y), for cells
    // 0..Last along both axes.
    static constexpr int RowWords = (SideNeighborGrid::Last + 64) / 64;
    std::uint64_t CoveredOnce[(SideNeighborGrid::Last + 1) * RowWords] = {};
    std::uint64_t CoveredTwice[(SideNeighborGrid::Last + 1) * RowWords] = {};

    // Sight-blocking cells of the battlefield in [1, x] x [1, y], while
    // SightSums is set: a sight line whose surrounding rectangle holds none
    // needs no walk.
    static constexpr int SumStride = MaxBattleSize + 1;
    bool SightSums = false;
    int SightBlockers[SumStride * SumStride] = {};
    // True when no sight-blocking cell lies in [x0, x1] x [y0, y1].
    bool NoSightBlockerIn(int x0, int y0, int x1, int y1) const
    {
        x0 = x0 < 1 ? 1 : x0;
        y0 = y0 < 1 ? 1 : y0;
        x1 = x1 > MaxBattleSize ? MaxBattleSize : x1;
        y1 = y1 > MaxBattleSize ? MaxBattleSize : y1;
        if (x0 > x1 || y0 > y1)
            return true;
        auto at = [&](int x, int y) { return SightBlockers[x * SumStride + y]; };
        return at(x1, y1) - at(x0 - 1, y1) - at(x1, y0 - 1) + at(x0 - 1, y0 - 1) == 0;
    }
};

}  // namespace brevimar
