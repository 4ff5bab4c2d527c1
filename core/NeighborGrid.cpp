#include "core/NeighborGrid.h"

#include <algorithm>

namespace brevimar {

void SideNeighborGrid::Build(int agents, const int* x, const int* y)
{
    for (auto& cell : Cell)
        cell.Clear();
    Agents = std::clamp(agents, 0, MaxAgents);
    for (int j = 1; j <= Agents; ++j) {
        const int c = CoarseIndex(x[j], y[j]);
        AgentCell[j] = c;
        Cell[c].Set(j);
    }
}

void SideNeighborGrid::Move(int j, int x, int y)
{
    if (j < 1 || j > Agents)
        return;
    const int c = CoarseIndex(x, y);
    Cell[AgentCell[j]].Reset(j);
    AgentCell[j] = c;
    Cell[c].Set(j);
}

bool SideNeighborGrid::Near(const SquareBox& box, AgentBits* out) const
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
    if (cells * AgentBits::Words > 2 * Agents)
        return false;
    for (int cx = x0; cx <= x1; ++cx)
        for (int cy = y0; cy <= y1; ++cy)
            out->Or(Cell[cx * Span + cy]);
    return true;
}

}  // namespace brevimar

#include "core/Document.h"

namespace brevimar {

void CBrevimarDoc::BeginStepGrids()
{
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& own = Force(side);
        const int friends = std::clamp(own.NumAgents, 0, MaxAgents);
        const int enemies = std::clamp(Force(Opponent(side)).NumAgents, 0, MaxAgents);
        SideNeighborGrid& grid = NeighborGrids.Grid[SideCode(side) - 1];
        grid.Build(friends, own.AgentX, own.AgentY);
        grid.FriendSensedMarks.MarkNonZero(own.FriendSensed, friends);
        grid.FriendCommMarks.MarkNonZero(own.FriendViaComm, friends);
        grid.EnemySensedMarks.MarkNonZero(own.EnemySensed, enemies);
        grid.EnemyCommMarks.MarkNonZero(own.EnemyViaComm, enemies);
    }
    // Terrain stands still through a step; the sums serve its sight lines.
    CNeighborGrids& g = NeighborGrids;
    g.SightSums = Battlefield.LineOfSightOn == 1 && Battlefield.TerrainMode > 0;
    if (g.SightSums) {
        const int size = std::clamp(Battlefield.BattleSize, 0, MaxBattleSize);
        constexpr int S = CNeighborGrids::SumStride;
        for (int x = 0; x <= MaxBattleSize; ++x) {
            int row = 0;
            for (int y = 0; y <= MaxBattleSize; ++y) {
                const bool inField = x >= 1 && y >= 1 && x <= size && y <= size;
                row += inField && Battlefield.TerrainType[GridIndex(x, y)] == Pillar;
                g.SightBlockers[x * S + y] = row + (x > 0 ? g.SightBlockers[(x - 1) * S + y] : 0);
            }
        }
    }
    NeighborGrids.Current = true;
}

}  // namespace brevimar
