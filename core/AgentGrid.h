// Where a side's living agents stand, by coarse cell, so that a question
// about the agents near a point visits only the agents of the cells around
// it instead of the whole force.
//
// The force owns one (CForce::Grid) and keeps it current itself: every write
// of an agent's position or state goes through the force's PlaceAgent and
// SetAgentState, which move the agent between cells as they write.
//
// Answers are candidate sets, never final: every caller still applies its
// own exact test to each candidate and visits them in ascending index, so
// sums, marks and random draws happen exactly as in a pass over the force.
#pragma once

#include <cstdint>

#include "core/Limits.h"
#include "core/SquareBox.h"

namespace brevimar {

// Members of a word, inline: without a processor-specific build the builtin
// becomes a library call.
inline int PopCount(std::uint64_t w)
{
    w = w - ((w >> 1) & 0x5555555555555555ull);
    w = (w & 0x3333333333333333ull) + ((w >> 2) & 0x3333333333333333ull);
    w = (w + (w >> 4)) & 0x0f0f0f0f0f0f0f0full;
    return static_cast<int>((w * 0x0101010101010101ull) >> 56);
}

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
    void And(const AgentBits& other)
    {
        for (int k = 0; k < Words; ++k)
            W[k] &= other.W[k];
    }
    bool Empty() const
    {
        std::uint64_t any = 0;
        for (std::uint64_t w : W)
            any |= w;
        return any == 0;
    }
    int Count() const
    {
        int n = 0;
        for (std::uint64_t w : W)
            n += PopCount(w);
        return n;
    }
    // The set of j in 1..n.
    static AgentBits Range(int n)
    {
        AgentBits r;
        n = n < 0 ? 0 : (n >= AgentSlots ? AgentSlots - 1 : n);
        for (int k = 0; k < Words; ++k) {
            const int below = n + 1 - k * 64;  // members j < below in this word
            r.W[k] = below <= 0 ? 0 : (below >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << below) - 1);
        }
        r.W[0] &= ~std::uint64_t{1};
        return r;
    }
    // The members j for which keep(j) holds, asked in ascending order. Built
    // a word at a time in a register, not a bit at a time in memory.
    template <typename F>
    AgentBits Filter(F&& keep) const
    {
        AgentBits kept;
        for (int k = 0; k < Words; ++k) {
            std::uint64_t bits = W[k], word = 0;
            while (bits != 0) {
                const int b = __builtin_ctzll(bits);
                word |= std::uint64_t{keep(k * 64 + b)} << b;
                bits &= bits - 1;
            }
            kept.W[k] = word;
        }
        return kept;
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

// Every agent slot 1..MaxAgents whose state is above dead, in the coarse
// cell of its position. Slots past the force's count are held too when
// their state says so: the count is written in many places (dialogs,
// readers) and every question filters by it anyway.
struct CAgentGrid {
    static constexpr int Shift = 2;  // coarse cells of 4 x 4 battlefield cells
    static constexpr int Span = ((MaxBattleSize + 1) >> Shift) + 1;
    static constexpr int Last = (Span << Shift) - 1;  // coordinates beyond are kept at the edge

    AgentBits Cell[Span * Span];
    // 1 + the coarse cell agent j is held in; 0 while it is not held.
    int HeldIn[AgentSlots] = {};
    // The position agent j is held at while held.
    int HeldX[AgentSlots] = {}, HeldY[AgentSlots] = {};
    // Every held agent; those held at row y (column x) in 0..Last; those
    // held off the rows and columns, which a box question tests one by one.
    AgentBits Held;
    AgentBits Row[Last + 1], Column[Last + 1];
    AgentBits OffRows;
    // The held agents whose state is injured.
    AgentBits InjuredHeld;
    // Where held agents stand, for questions over cells rather than agents.
    // Row y of Standing has bit x + 64 set while an agent stands at (x, y)
    // on the rows and columns: a word on either side keeps every run of 64
    // cells around a battlefield cell inside the row. At names that agent
    // (1 + its number; 0 for none). Stacked counts agents held on a cell
    // another already held, which At cannot name.
    static constexpr int StandingWords = (64 + Last + 1 + 64 + 63) / 64;
    std::uint64_t Standing[(Last + 1) * StandingWords] = {};
    std::int16_t At[(Last + 1) * (Last + 1)] = {};
    int Stacked = 0;

    static int CoarseIndex(int x, int y)
    {
        const int cx = (x < 0 ? 0 : (x > Last ? Last : x)) >> Shift;
        const int cy = (y < 0 ? 0 : (y > Last ? Last : y)) >> Shift;
        return cx * Span + cy;
    }
    bool Holds(int j) const { return HeldIn[j] != 0; }
    static bool OnRows(int x, int y) { return x >= 0 && y >= 0 && x <= Last && y <= Last; }
    void Hold(int j, int x, int y)
    {
        const int c = CoarseIndex(x, y);
        HeldIn[j] = c + 1;
        HeldX[j] = x;
        HeldY[j] = y;
        Cell[c].Set(j);
        Held.Set(j);
        if (OnRows(x, y)) {
            Row[y].Set(j);
            Column[x].Set(j);
            std::int16_t& at = At[y * (Last + 1) + x];
            if (at == 0) {
                at = static_cast<std::int16_t>(j + 1);
                Standing[y * StandingWords + ((x + 64) >> 6)] |= std::uint64_t{1} << (x & 63);
            } else {
                ++Stacked;
            }
        } else {
            OffRows.Set(j);
        }
    }
    void Drop(int j)
    {
        Cell[HeldIn[j] - 1].Reset(j);
        HeldIn[j] = 0;
        Held.Reset(j);
        const int x = HeldX[j], y = HeldY[j];
        if (OnRows(x, y)) {
            Row[y].Reset(j);
            Column[x].Reset(j);
            std::int16_t& at = At[y * (Last + 1) + x];
            if (at != j + 1) {
                --Stacked;
                return;
            }
            at = 0;
            if (Stacked > 0) {
                AgentBits other = Row[y];
                other.And(Column[x]);
                other.ForEach([&](int k) { at = at == 0 ? static_cast<std::int16_t>(k + 1) : at; });
                if (at != 0) {
                    --Stacked;
                    return;
                }
            }
            Standing[y * StandingWords + ((x + 64) >> 6)] &= ~(std::uint64_t{1} << (x & 63));
        } else {
            OffRows.Reset(j);
        }
    }
    // Bits x0 .. x0 + 63 of row y of Standing: bit b for cell (x0 + b, y),
    // for y in 0..Last and x0 in -64..Last.
    std::uint64_t StandingRun(int y, int x0) const
    {
        const int p = x0 + 64, b = p & 63;
        const std::uint64_t* row = Standing + y * StandingWords + (p >> 6);
        return b == 0 ? row[0] : (row[0] >> b) | (row[1] << (64 - b));
    }
    void Clear();
    // Adds to `out` every held agent that may stand in `box`. False, with
    // `out` untouched, when a pass over `agents` agents is cheaper.
    bool Near(const SquareBox& box, AgentBits* out, int agents) const;
    // Exactly the held agents in the square boxes of ranges `inner` and
    // `outer` (inner <= outer) around (x, y), in words 0..words - 1 of `in`
    // and `out`; the other words are left as they are.
    void InBoxes(int x, int y, int inner, int outer, AgentBits* in, AgentBits* out, int words) const;
    // Exactly the held agents 1..agents in `box`.
    AgentBits InBox(const SquareBox& box, int agents) const;
};

}  // namespace brevimar
