// What an agent learns from the squads that report to it, and where its
// nearby squad-mates are gathered.
#include <algorithm>

#include "core/Document.h"
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

    std::fill(own.FriendViaComm + 1, own.FriendViaComm + 1 + friends, 0);
    std::fill(own.EnemyViaComm + 1, own.EnemyViaComm + 1 + enemies, 0);

    // Gather the reporters' boxes first; each agent is then marked by the
    // first box that holds it, instead of every box sweeping every agent.
    SquareBox boxes[AgentSlots];
    int reporter[AgentSlots];
    int reporters = 0;
    const int* hears = own.CommMatrix[SquadSlot(own.AgentSquad[i])];
    const SquareBox range(own.AgentX[i], own.AgentY[i], own.CommRange);
    for (int k = 1; k <= friends; ++k) {
        if (hears[SquadSlot(own.AgentSquad[k])] != 1 || own.AgentState[k] <= Dead || k == i)
            continue;
        if (!range.Contains(own.AgentX[k], own.AgentY[k]))
            continue;
        boxes[reporters] = SquareBox(own.AgentX[k], own.AgentY[k], own.SensorRange[k]);
        reporter[reporters] = k;
        ++reporters;
    }
    if (reporters == 0)
        return;

    for (int j = 1; j <= friends; ++j) {
        if (own.AgentState[j] <= Dead || j == i)
            continue;
        const int x = own.AgentX[j];
        const int y = own.AgentY[j];
        // A reporter never reports itself, though another reporter may.
        for (int r = 0; r < reporters; ++r) {
            if (reporter[r] != j && boxes[r].Contains(x, y)) {
                own.FriendViaComm[j] = 1;
                break;
            }
        }
    }
    for (int j = 1; j <= enemies; ++j) {
        if (enemy.AgentState[j] <= Dead)
            continue;
        const int x = enemy.AgentX[j];
        const int y = enemy.AgentY[j];
        for (int r = 0; r < reporters; ++r) {
            if (boxes[r].Contains(x, y)) {
                own.EnemyViaComm[j] = 1;
                break;
            }
        }
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
