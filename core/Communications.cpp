// What an agent learns from the squads that report to it, and where its
// nearby squad-mates are gathered.
#include <algorithm>
#include <cstdint>

#include "core/Document.h"
#include "core/NeighborGrid.h"
#include "core/SquareBox.h"

namespace brevimar {

namespace {

constexpr int RangeLimit = SquareBox::RangeLimit;

int ClampCount(int n) { return std::clamp(n, 0, MaxAgents); }
int SquadSlot(int squad) { return (squad >= 1 && squad <= MaxSquads) ? squad : 0; }


// Every friend and enemy inside the sensor box of a reporter is marked for
// agent i. A reporter is a live squad-mate or member of a linked squad within
// communications range. Reports pass through terrain and concealment.
void ShareCommunications(CBrevimarDoc& doc, Side side, int i)
{
    if (i < 1 || i > MaxAgents)
        return;
    CForce& own = doc.Force(side);
    const CForce& enemy = doc.Force(Opponent(side));
    const int friends = ClampCount(own.NumAgents);
    const int enemies = ClampCount(enemy.NumAgents);

    SideNeighborGrid* ownGrid = doc.StepGrid(side);
    SideNeighborGrid* enemyGrid = doc.StepGrid(Opponent(side));
    if (ownGrid) {
        // Only the marked entries can be non-zero.
        ownGrid->FriendCommMarks.ForEach([&](int j) { own.FriendViaComm[j] = 0; });
        ownGrid->EnemyCommMarks.ForEach([&](int j) { own.EnemyViaComm[j] = 0; });
        ownGrid->FriendCommMarks.Clear();
        ownGrid->EnemyCommMarks.Clear();
    } else {
        std::fill(own.FriendViaComm + 1, own.FriendViaComm + 1 + friends, 0);
        std::fill(own.EnemyViaComm + 1, own.EnemyViaComm + 1 + enemies, 0);
    }

    // Gather the reporters' boxes first; each agent is then marked by the
    // first box that holds it, instead of every box sweeping every agent.
    // The grids narrow both the reporters and the agents to look at down to
    // those near enough; the marks are a set, so the visiting order is free.
    // Left uninitialised: only the first `reporters` are ever read.
    union BoxSlot {
        BoxSlot() {}
        SquareBox Box;
    };
    BoxSlot boxSlots[AgentSlots];
    int reporter[AgentSlots];
    int reporters = 0;
    const int* hears = own.CommMatrix[SquadSlot(own.AgentSquad[i])];
    const SquareBox range(own.AgentX[i], own.AgentY[i], own.CommRange);
    auto considerReporter = [&](int k) {
        if (hears[SquadSlot(own.AgentSquad[k])] != 1 || own.AgentState[k] <= Dead || k == i)
            return;
        if (!range.Contains(own.AgentX[k], own.AgentY[k]))
            return;
        boxSlots[reporters].Box = SquareBox(own.AgentX[k], own.AgentY[k], own.SensorRange[k]);
        reporter[reporters] = k;
        ++reporters;
    };
    // A squad that hears no squad has no reporters to look for.
    bool hearsSome = false;
    for (int s = 0; s <= MaxSquads; ++s)
        hearsSome |= hears[s] == 1;
    AgentBits near;
    if (hearsSome && ownGrid && ownGrid->Near(range, &near)) {
        near.ForEach([&](int k) {
            if (k <= friends)
                considerReporter(k);
        });
    } else if (hearsSome) {
        for (int k = 1; k <= friends; ++k)
            considerReporter(k);
    }
    if (reporters == 0)
        return;
    auto boxes = [&](int r) -> const SquareBox& { return boxSlots[r].Box; };

    // Where there are many reporters, the cells their boxes hold are painted
    // as bits row by row, so that an agent's test no longer walks them all.
    constexpr int Last = SideNeighborGrid::Last;
    constexpr int Words = CNeighborGrids::RowWords;
    std::uint64_t* rows = ownGrid ? doc.NeighborGrids.CoveredOnce : nullptr;
    std::uint64_t* twice = doc.NeighborGrids.CoveredTwice;
    int ry0 = 0, ry1 = -1;  // painted rows
    AgentBits reporting;
    auto paint = [&](const SquareBox& bounds) {
        ry0 = std::max(bounds.YLow, 0);
        ry1 = std::min(bounds.YHigh, Last);
        if (ry0 > ry1)
            return;
        std::fill(rows + ry0 * Words, rows + (ry1 + 1) * Words, std::uint64_t{0});
        std::fill(twice + ry0 * Words, twice + (ry1 + 1) * Words, std::uint64_t{0});
        for (int r = 0; r < reporters; ++r) {
            const SquareBox& b = boxes(r);
            const int x0 = std::max(b.XLow, 0), x1 = std::min(b.XHigh, Last);
            const int y0 = std::max(b.YLow, 0), y1 = std::min(b.YHigh, Last);
            if (x0 > x1 || y0 > y1)
                continue;
            reporting.Set(reporter[r]);
            for (int w = x0 >> 6; w <= x1 >> 6; ++w) {
                const int lo = std::max(x0 - 64 * w, 0), hi = std::min(x1 - 64 * w, 63);
                const std::uint64_t mask = (~std::uint64_t{0} >> (63 - hi)) & (~std::uint64_t{0} << lo);
                for (int y = y0; y <= y1; ++y) {
                    twice[y * Words + w] |= rows[y * Words + w] & mask;
                    rows[y * Words + w] |= mask;
                }
            }
        }
    };
    // 1 where at least `least` (1 or 2) boxes hold (x, y), 0 where fewer
    // do, -1 off the painted range.
    auto painted = [&](int x, int y, int least) {
        if (x < 0 || y < 0 || x > Last || y > Last)
            return -1;
        if (y < ry0 || y > ry1)
            return 0;
        const std::uint64_t* bits = least == 1 ? rows : twice;
        return static_cast<int>((bits[y * Words + (x >> 6)] >> (x & 63)) & 1u);
    };

    auto considerFriend = [&](int j) {
        if (own.AgentState[j] <= Dead || j == i)
            return;
        const int x = own.AgentX[j];
        const int y = own.AgentY[j];
        // A reporter's own box holds it: another must hold it too.
        const int n = rows ? painted(x, y, reporting.Has(j) ? 2 : 1) : -1;
        bool reported = n == 1;
        if (n < 0) {
            // A reporter never reports itself, though another reporter may.
            for (int r = 0; r < reporters && !reported; ++r)
                reported = reporter[r] != j && boxes(r).Contains(x, y);
        }
        if (reported) {
            own.FriendViaComm[j] = 1;
            if (ownGrid)
                ownGrid->FriendCommMarks.Set(j);
        }
    };
    auto considerEnemy = [&](int j) {
        if (enemy.AgentState[j] <= Dead)
            return;
        const int x = enemy.AgentX[j];
        const int y = enemy.AgentY[j];
        const int n = rows ? painted(x, y, 1) : -1;
        bool reported = n == 1;
        if (n < 0) {
            for (int r = 0; r < reporters && !reported; ++r)
                reported = boxes(r).Contains(x, y);
        }
        if (reported) {
            own.EnemyViaComm[j] = 1;
            if (ownGrid)
                ownGrid->EnemyCommMarks.Set(j);
        }
    };
    // Agents within the bounds of all reporters' boxes, or every agent where
    // the grid would cost more.
    SquareBox bounds;
    bool anyBox = false;
    for (int r = 0; r < reporters; ++r) {
        const SquareBox& b = boxes(r);
        if (b.XLow > b.XHigh || b.YLow > b.YHigh)
            continue;
        bounds.XLow = anyBox ? std::min(bounds.XLow, b.XLow) : b.XLow;
        bounds.XHigh = anyBox ? std::max(bounds.XHigh, b.XHigh) : b.XHigh;
        bounds.YLow = anyBox ? std::min(bounds.YLow, b.YLow) : b.YLow;
        bounds.YHigh = anyBox ? std::max(bounds.YHigh, b.YHigh) : b.YHigh;
        anyBox = true;
    }
    auto nearReporters = [&](const SideNeighborGrid* grid, AgentBits* out) {
        return grid && grid->Near(bounds, out);
    };
    if (rows && anyBox && reporters > 2)
        paint(bounds);
    else
        rows = nullptr;
    AgentBits nearFriends, nearEnemies;
    if (nearReporters(ownGrid, &nearFriends)) {
        nearFriends.ForEach([&](int j) {
            if (j <= friends)
                considerFriend(j);
        });
    } else {
        for (int j = 1; j <= friends; ++j)
            considerFriend(j);
    }
    if (nearReporters(enemyGrid, &nearEnemies)) {
        nearEnemies.ForEach([&](int j) {
            if (j <= enemies)
                considerEnemy(j);
        });
    } else {
        for (int j = 1; j <= enemies; ++j)
            considerEnemy(j);
    }
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
