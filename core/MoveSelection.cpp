// Move selection: steer along the shortest paths round impassable terrain,
// score the movement box, take the cheapest cell (exact ties drawn at
// random) and carry the move out on the battlefield grid.
#include <algorithm>

#include "core/Document.h"

namespace brevimar {

namespace {

// Penalty that no admissible cell undercut: the agent stays.
constexpr float StayPenalty = 99999.0f;

// Cells of the movement box are numbered 1..(2r+1)^2 row by row from the top
// (dy = r), each row from the left (dx = -r).
constexpr int BoxCellIndex(int r, int dx, int dy) { return (r - dy) * (2 * r + 1) + (dx + r) + 1; }
constexpr int BoxCentreIndex(int r) { return BoxCellIndex(r, 0, 0); }

bool OnBattlefield(const CBattlefield& field, int x, int y)
{
    const int size = std::min(field.BattleSize, MaxBattleSize);
    return x >= 1 && y >= 1 && x <= size && y <= size;
}

// Steering pays off only near impassable terrain.
bool SteeringActive(const CBrevimarDoc& doc, int x, int y)
{
    const CBattlefield& field = doc.Battlefield;
    if (field.TerrainMode < 1 || field.WaypointPathsOn != 1)
        return false;
    const int size = std::min(field.BattleSize, MaxBattleSize);
    const int D = field.PathStartDistance;
    const int x0 = std::max(x - D, 1), x1 = std::min(x + D, size);
    const int y0 = std::max(y - D, 1), y1 = std::min(y + D, size);
    for (int cx = x0; cx <= x1; ++cx)
        for (int cy = y0; cy <= y1; ++cy)
            if (IsImpassable(field.TerrainType[GridIndex(cx, cy)]))
                return true;
    return false;
}

// Pulls a waypoint up to `steps` cells further along its path while the agent
// still has a clear way to it. A next cell off the battlefield ends the walk:
// (0, 0) past the flag itself, or a field loaded for another battlefield size,
// is no place to head for.
void AdvanceWaypoint(const CBrevimarDoc& doc, const CPathField& path, int x, int y, int steps, int* wx, int* wy)
{
    for (int s = 0; s < steps; ++s) {
        int px = *wx, py = *wy;
        path.GetPredecessor(*wx, *wy, &px, &py);
        if (!OnBattlefield(doc.Battlefield, px, py) || doc.IsPathBlocked(x, y, px, py))
            return;
        *wx = px;
        *wy = py;
    }
}

void MoveAgent(CBrevimarDoc& doc, Side side, int i, int r, int k)
{
    if (r < 1 || r > MaxMoveRange)
        return;
    const int width = 2 * r + 1;
    if (k < 1 || k > width * width)
        return;
    const int dx = (k - 1) % width - r;
    const int dy = r - (k - 1) / width;
    CForce& force = doc.Force(side);
    const int x = force.AgentX[i], y = force.AgentY[i];
    // Never mark a cell outside the battlefield grid.
    if (!OnBattlefield(doc.Battlefield, x, y) || !OnBattlefield(doc.Battlefield, x + dx, y + dy))
        return;
    doc.Battlefield.AgentGrid[GridIndex(x, y)] = CellFree;
    force.PlaceAgent(i, x + dx, y + dy);
    doc.Battlefield.AgentGrid[GridIndex(x + dx, y + dy)] = CellAgent;
}

void SelectMove(CBrevimarDoc& doc, Side side, int i, int hold)
{
    CForce& own = doc.Force(side);
    // The goal cell of this side's block is the enemy flag; the other block's
    // is the own flag.
    int& enemyFlagX = own.GoalFlagX;
    int& enemyFlagY = own.GoalFlagY;
    int& ownFlagX = doc.Force(Opponent(side)).GoalFlagX;
    int& ownFlagY = doc.Force(Opponent(side)).GoalFlagY;
    const int savedEnemyX = enemyFlagX, savedEnemyY = enemyFlagY;
    const int savedOwnX = ownFlagX, savedOwnY = ownFlagY;
    const int x = own.AgentX[i], y = own.AgentY[i];

    // While steering, the flag cells hold the first waypoints of the shortest
    // paths; a field without data leaves the real flags in place.
    const bool steering = SteeringActive(doc, x, y);
    if (steering) {
        doc.WaypointField(side).GetPredecessor(x, y, &enemyFlagX, &enemyFlagY);
        doc.WaypointField(Opponent(side)).GetPredecessor(x, y, &ownFlagX, &ownFlagY);
    }
    doc.GoalInReach = 0;

    int r = hold == 1 ? 0 : (own.AgentState[i] == Alive ? own.MoveRangeAlive[i] : own.MoveRangeInjured[i]);
    // The penalty and admissibility tables hold a box of range 4 at most.
    r = std::min(r, MaxMoveRange);

    // Moves are marked whether or not the map is on, so that switching it on
    // while paused shows the last step's moves at once.
    int* activity = nullptr;
    if (x >= 0 && y >= 0 && x < LatticeStride && y < LatticeStride)
        activity = &doc.ActivityGrids[side == Side::Red ? 0 : 1][LatticeStride * x + y];

    if (r <= 0) {
        if (activity)
            *activity = 0;
    } else {
        if (steering && r > 1) {
            AdvanceWaypoint(doc, doc.WaypointField(side), x, y, r - 1, &enemyFlagX, &enemyFlagY);
            AdvanceWaypoint(doc, doc.WaypointField(Opponent(side)), x, y, r - 1, &ownFlagX, &ownFlagY);
        }

        const MovePenaltyKind kind = own.CommOn != 0                          ? MovePenaltyKind::Communications
                                     : doc.Global(side).GlobalCommandOn == 0 ? MovePenaltyKind::Default
                                                                             : MovePenaltyKind::GlobalCommand;
        float penalties[MoveTableSize];
        // The goal is the real enemy flag, never a waypoint standing in for it.
        const float best =
            doc.EvalMovePenalties(side, kind, i, r, StayPenalty, penalties, savedEnemyX, savedEnemyY);

        // Only RED taking the BLUE flag ends the run; the agent still makes its move.
        if (doc.GoalInReach == SideCode(side)) {
            doc.WinningSide = SideCode(side);
            if (side == Side::Red)
                doc.RunHeader.CurrentStep = doc.RunHeader.LastStep;
        }

        int k = BoxCentreIndex(r);
        if (best == StayPenalty) {
            if (activity)
                *activity = 0;
        } else {
            const int* admissible = doc.AdmissibleCells.get();
            int ties[MoveTableSize];
            int n = 0;
            for (int dx = -r; dx <= r; ++dx) {
                for (int dy = -r; dy <= r; ++dy) {
                    const int index = MoveTableIndex(dx, dy);
                    if (admissible[index] != 1 || penalties[index] != best)
                        continue;
                    ties[n++] = BoxCellIndex(r, dx, dy);
                    if ((dx != 0 || dy != 0) && activity)
                        *activity = 1;
                }
            }
            if (n == 1) {
                k = ties[0];
            } else if (n > 1) {
                const float u = static_cast<float>(doc.DrawUniformRange(1, 10000, &doc.RandomState) * 0.0001);
                k = ties[PickTied(u, n) - 1];
            }
        }
        MoveAgent(doc, side, i, r, k);
    }

    if (steering) {
        enemyFlagX = savedEnemyX;
        enemyFlagY = savedEnemyY;
        ownFlagX = savedOwnX;
        ownFlagY = savedOwnY;
    }
}

}  // namespace

void CBrevimarDoc::SelectRedMove(int agent, int hold)
{
    SelectMove(*this, Side::Red, agent, hold);
}

void CBrevimarDoc::SelectBlueMove(int agent, int hold)
{
    SelectMove(*this, Side::Blue, agent, hold);
}

void CBrevimarDoc::MoveRedAgent(int agent, int r, int k)
{
    MoveAgent(*this, Side::Red, agent, r, k);
}

void CBrevimarDoc::MoveBlueAgent(int agent, int r, int k)
{
    MoveAgent(*this, Side::Blue, agent, r, k);
}

}  // namespace brevimar
