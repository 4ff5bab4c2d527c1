#include "core/NeighborGrid.h"

#include <algorithm>

#include "core/Document.h"

namespace brevimar {

void CBrevimarDoc::BeginStepGrids()
{
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& own = Force(side);
        const int friends = std::clamp(own.NumAgents, 0, MaxAgents);
        const int enemies = std::clamp(Force(Opponent(side)).NumAgents, 0, MaxAgents);
        SideNeighborGrid& grid = NeighborGrids.Grid[SideCode(side) - 1];
        // The force keeps its grid as it writes; a writer that went past it
        // (a test setting positions by hand) is caught here.
        if (!own.AgentGridFollowsAgents()) {
            Force(side).RebuildAgentGrid();
            ++NeighborGrids.GridRepairs;
        }
        grid.Cells = &own.Grid;
        grid.Agents = friends;
        grid.HeldRange = SideNeighborGrid::RangesUnknown;
        grid.Enemies = enemies;
        AgentBits members[SquadSlots];
        AgentBits unlisted;
        for (int j = 1; j <= friends; ++j) {
            const int s = own.AgentSquad[j];
            if (s >= 0 && s < SquadSlots)
                members[s].Set(j);
            else
                unlisted.Set(j);
        }
        for (int s = 0; s < SquadSlots; ++s) {
            AgentBits& weighted = grid.WeightedFriends[s];
            weighted = unlisted;
            for (int t = 0; t < SquadSlots; ++t)
                if (static_cast<float>(own.SquadWeightMatrix[s][t]) != 0.0f)
                    weighted.Or(members[t]);
        }
        AgentBits bySlot[SquadSlots];
        for (int j = 1; j <= friends; ++j) {
            const int s = own.AgentSquad[j];
            bySlot[(s >= 1 && s <= MaxSquads) ? s : 0].Set(j);
        }
        for (int s = 0; s < SquadSlots; ++s) {
            AgentBits& heard = grid.HeardFriends[s];
            heard.Clear();
            for (int t = 0; t < SquadSlots; ++t)
                if (own.CommMatrix[s][t] == 1)
                    heard.Or(bySlot[t]);
        }
        grid.FriendSensedMarks.MarkNonZero(own.FriendSensed, friends);
        grid.FriendCommMarks.MarkNonZero(own.FriendViaComm, friends);
        grid.EnemySensedMarks.MarkNonZero(own.EnemySensed, enemies);
        grid.EnemyCommMarks.MarkNonZero(own.EnemyViaComm, enemies);
    }
    // Terrain stands still through a step; the sums serve its sight lines.
    CNeighborGrids& g = NeighborGrids;
    g.SightSums = Battlefield.LineOfSightOn == 1 && Battlefield.TerrainMode > 0;
    if (g.SightSums) {
        // Cells off the field count nothing: column 0 and the columns past
        // the field repeat the column before, rows past it the row before.
        const int size = std::clamp(Battlefield.BattleSize, 0, MaxBattleSize);
        constexpr int S = CNeighborGrids::SumStride;
        std::fill_n(g.SightBlockers, S, 0);
        for (int x = 1; x <= MaxBattleSize; ++x) {
            std::uint16_t* column = g.SightBlockers + x * S;
            const std::uint16_t* before = column - S;
            if (x > size) {
                std::copy_n(before, S, column);
                continue;
            }
            const int* terrain = Battlefield.TerrainType + GridIndex(x, 0);
            column[0] = 0;
            int run = 0;
            for (int y = 1; y <= size; ++y) {
                run += terrain[y] == Pillar;
                column[y] = static_cast<std::uint16_t>(run + before[y]);
            }
            for (int y = size + 1; y <= MaxBattleSize; ++y)
                column[y] = static_cast<std::uint16_t>(run + before[y]);
        }
    }
    NeighborGrids.Current = true;
}

}  // namespace brevimar

namespace brevimar {

void CBrevimarDoc::EndStepGrids()
{
    if (!NeighborGrids.Current)
        return;
    // The scans and sharing kept their flags as bits through the step.
    for (Side side : {Side::Red, Side::Blue}) {
        const SideNeighborGrid& grid = NeighborGrids.Grid[SideCode(side) - 1];
        CForce& own = Force(side);
        for (int j = 1; j <= grid.Agents; ++j)
            own.FriendSensed[j] = grid.FriendSensed(j);
        for (int j = 1; j <= grid.Enemies; ++j)
            own.EnemySensed[j] = grid.EnemySensed(j);
        for (int j = 1; j <= grid.Agents; ++j)
            own.FriendViaComm[j] = grid.FriendCommMarks.Has(j);
        for (int j = 1; j <= grid.Enemies; ++j)
            own.EnemyViaComm[j] = grid.EnemyCommMarks.Has(j);
    }
    NeighborGrids.Current = false;
}

}  // namespace brevimar
