#include "core/AgentGrid.h"

#include <algorithm>

#include "core/Force.h"
#include "core/Side.h"

namespace brevimar {

void CAgentGrid::Clear()
{
    for (auto& cell : Cell)
        cell.Clear();
    for (int& c : HeldIn)
        c = 0;
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
}

void CForce::RebuildAgentGrid()
{
    Grid.Clear();
    for (int j = 1; j <= MaxAgents; ++j)
        if (AgentState[j] > Dead)
            Grid.Hold(j, AgentX[j], AgentY[j]);
}

bool CForce::AgentGridFollowsAgents() const
{
    bool same = Grid.HeldIn[0] == 0;
    for (int j = 1; j <= MaxAgents; ++j) {
        const int expected = AgentState[j] > Dead ? CAgentGrid::CoarseIndex(AgentX[j], AgentY[j]) + 1 : 0;
        same &= Grid.HeldIn[j] == expected;
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
        for (std::uint64_t w : cell.W)
            members += __builtin_popcountll(w);
    return members == held;
}

}  // namespace brevimar
