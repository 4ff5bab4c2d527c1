// What an agent perceives: the targeting list that combat shoots from, and
// the friend and enemy counts that its personality and move read.
//
// Both scans run for every agent of both sides every step. Inside a step they
// visit only the agents the grids' rows and columns place in the box, in
// ascending index; outside a step they are single passes over the force
// arrays with the box bounds worked out once.
#include <algorithm>
#include <cassert>

#include "core/Document.h"
#include "core/NeighborGrid.h"
#include "core/SquareBox.h"

namespace brevimar {

namespace {

// What FriendsInThreshold holds for an agent without movement constraints:
// more friends than any side can have, so no "too few friends" rule fires.
constexpr int UnconstrainedFriends = 301;

// Usable entries of a targeting row: 1..EnemyListColumns - 1.
constexpr int MaxListEntries = EnemyListColumns - 1;

int ClampCount(int n) { return std::clamp(n, 0, MaxAgents); }


int TerrainAt(const CBattlefield& field, int x, int y)
{
    if (x < 0 || y < 0 || x > MaxBattleSize || y > MaxBattleSize)
        return OpenGround;
    return field.TerrainType[GridIndex(x, y)];
}

// Column of the visibility tables for a terrain type; 0 (never seen) for a
// code the tables have no column for.
int VisibilityColumn(int terrain) { return (terrain >= PassableI && terrain <= PassableIII) ? terrain - 2 : 0; }

// Row of a squad in the per-squad tables; 0, a row nobody fills, for a squad
// number out of range.
int SquadSlot(int squad) { return (squad >= 1 && squad <= MaxSquads) ? squad : 0; }

int CommandSlot(int c) { return (c >= 0 && c <= MaxCommanders) ? c : 0; }

// Targeting scan: the live enemies in agent i's sensor box that it may shoot
// at, in ascending order. An enemy on passable terrain is seen only with its
// squad's visibility there, one draw per such enemy: the draw order is part
// of a run's reproducibility.
int SenseTargets(CBrevimarDoc& doc, Side side, int i, bool lineOfSight)
{
    if (i < 1 || i > MaxAgents)
        return 0;
    CForce& own = doc.Force(side);
    const CForce& enemy = doc.Force(Opponent(side));
    // The visibility is the target's: its side's table, its squad's row.
    const auto& visibility = doc.Modifiers(Opponent(side)).TerrainVisibility;
    int* row = doc.EnemyList(side, i);

    const int xi = own.AgentX[i];
    const int yi = own.AgentY[i];
    const SquareBox box(xi, yi, own.SensorRange[i]);
    const int enemies = ClampCount(enemy.NumAgents);

    // One question about the whole box spares a sight test per enemy in it.
    const bool sightTests = lineOfSight && !doc.SightClearIn(box);
    int count = 0;
    bool full = false;
    auto consider = [&](int j) {
        if (full || enemy.AgentState[j] <= Dead)
            return;
        const int xj = enemy.AgentX[j];
        const int yj = enemy.AgentY[j];
        if (!box.Contains(xj, yj))
            return;
        if (sightTests && !doc.HasLineOfSight(xi, yi, xj, yj))
            return;
        const int terrain = TerrainAt(doc.Battlefield, xj, yj);
        if (terrain > Pillar) {
            const double u = (doc.DrawUniform(&doc.RandomState) * 9999.0 + 1.0) * 0.0001;
            if (!(u < visibility[SquadSlot(enemy.AgentSquad[j])][VisibilityColumn(terrain)]))
                return;
        }
        // A row holds every agent of the other side, so this cannot trip.
        assert(count < MaxListEntries);
        if (count == MaxListEntries) {
            full = true;
            return;
        }
        row[++count] = j;
    };
    const SideNeighborGrid* grid = doc.StepGrid(Opponent(side));
    if (grid) {
        grid->Cells->InBox(box, enemies).ForEach(consider);
    } else {
        for (int j = 1; j <= enemies; ++j)
            consider(j);
    }
    own.EnemyCount[i] = count;
    return count;
}

// Move-phase scan of agent i with sensor box S and threshold box T. It draws
// nothing and conceals nothing: terrain only hides agents from the shooters.
//
// Inside a step the boxes are answered as bit sets from the grids' rows and
// columns, so the cost follows the box, not the crowd in it; outside a step
// the loops are branch-free passes over the force arrays. A dead friend's
// mark is left as it was.
void ScanNeighbors(CBrevimarDoc& doc, Side side, int i, int sensorRange, int thresholdRange, bool lineOfSight)
{
    CForce& own = doc.Force(side);
    const CForce& enemy = doc.Force(Opponent(side));

    const int xi = own.AgentX[i];
    const int yi = own.AgentY[i];
    const SquareBox sensor(xi, yi, sensorRange);
    const SquareBox threshold(xi, yi, thresholdRange);
    const bool constrained = own.MovementFlag[i] == 1;

    const int friends = ClampCount(own.NumAgents);
    int injuredFriends = 0;
    int friendsInThreshold = 0;
    SideNeighborGrid* ownGrid = doc.StepGrid(side);
    SideNeighborGrid* enemyGrid = doc.StepGrid(Opponent(side));
    if (ownGrid) {
        // The rows and columns of the grid give exactly the friends in both
        // boxes as bit sets; only the flags that change are written.
        const CAgentGrid& cells = *ownGrid->Cells;
        const AgentBits living = [&] {
            AgentBits l = AgentBits::Range(friends);
            for (int k = 0; k < AgentBits::Words; ++k)
                l.W[k] &= cells.Held.W[k];
            return l;
        }();
        AgentBits inner, outer;
        const bool sensorInside = sensorRange <= thresholdRange;
        cells.InBoxes(xi, yi, std::min(sensorRange, thresholdRange), std::max(sensorRange, thresholdRange), &inner,
                      &outer, friends / 64 + 1);
        const AgentBits& inSensor = sensorInside ? inner : outer;
        const AgentBits& inThreshold = sensorInside ? outer : inner;
        const std::uint64_t thresholdUsed = (constrained | !lineOfSight) ? ~std::uint64_t{0} : 0;
        AgentBits sensed, counted;
        for (int k = 0; k < AgentBits::Words; ++k) {
            sensed.W[k] = inSensor.W[k] & living.W[k];
            counted.W[k] = inThreshold.W[k] & living.W[k] & thresholdUsed;
        }
        sensed.Reset(i);
        counted.Reset(i);
        // Neither box holds a friend out of the larger box's sight when no
        // line inside it can be blocked.
        const SquareBox both(xi, yi, std::max(sensorRange, thresholdRange));
        if (lineOfSight && !doc.SightClearIn(both)) {
            // A line from the centre to a cell of one quadrant of the box
            // (its row and column in both) tests cells of that quadrant
            // alone: a quadrant clear of blockers needs no test per friend.
            // Quadrant q lies east of the centre for bit 0, north for bit 1.
            bool clear[4];
            for (int q = 0; q < 4; ++q) {
                SquareBox part = both;
                (q & 1 ? part.XLow : part.XHigh) = xi;
                (q & 2 ? part.YLow : part.YHigh) = yi;
                clear[q] = doc.SightClearIn(part);
            }
            // Sight depends on the two cells alone, so one test serves both boxes.
            AgentBits look = sensed;
            look.Or(counted);
            look.ForEach([&](int j) {
                const int xj = own.AgentX[j], yj = own.AgentY[j];
                if (!clear[(xj >= xi) | (yj >= yi) << 1] && !doc.HasLineOfSight(xi, yi, xj, yj)) {
                    sensed.Reset(j);
                    counted.Reset(j);
                }
            });
        }
        for (int k = 0; k < AgentBits::Words; ++k)
            injuredFriends += PopCount(sensed.W[k] & cells.InjuredHeld.W[k]);
        friendsInThreshold = counted.Count();
        // Every living friend's flag becomes its bit; dead friends keep theirs.
        // The marks are the flags until the step ends (EndStepGrids).
        AgentBits& marks = ownGrid->FriendSensedMarks;
        for (int k = 0; k < AgentBits::Words; ++k)
            marks.W[k] = (marks.W[k] & ~living.W[k]) | sensed.W[k];
    } else if (!lineOfSight) {
        for (int j = 1; j <= friends; ++j) {
            const int state = own.AgentState[j];
            const int x = own.AgentX[j];
            const int y = own.AgentY[j];
            const int living = state > Dead;
            const int present = living & (j != i);
            const int inSensor = present & sensor.Contains(x, y);
            own.FriendSensed[j] = living ? inSensor : own.FriendSensed[j];
            injuredFriends += inSensor & (state == Injured);
            friendsInThreshold += present & threshold.Contains(x, y);
        }
    } else {
        for (int j = 1; j <= friends; ++j) {
            const int state = own.AgentState[j];
            const int x = own.AgentX[j];
            const int y = own.AgentY[j];
            const bool present = state > Dead && j != i;
            const bool inSensor = present && sensor.Contains(x, y);
            const bool inThreshold = present && constrained && threshold.Contains(x, y);
            // Sight depends on the two cells alone, so one test serves both boxes.
            const bool seen = (inSensor || inThreshold) && doc.HasLineOfSight(xi, yi, x, y);
            if (state > Dead)
                own.FriendSensed[j] = inSensor && seen;
            injuredFriends += inSensor && seen && state == Injured;
            friendsInThreshold += inThreshold && seen;
        }
    }
    own.Scan.InjuredFriendsSensed = injuredFriends;
    own.Scan.FriendsInThreshold = (constrained || friends == 0) ? friendsInThreshold : UnconstrainedFriends;

    const int enemies = ClampCount(enemy.NumAgents);
    int enemiesSensed = 0;
    int injuredEnemies = 0;
    if (ownGrid && enemyGrid) {
        const CAgentGrid& cells = *enemyGrid->Cells;
        AgentBits none, inSensor;
        cells.InBoxes(xi, yi, -1, sensorRange, &none, &inSensor, enemies / 64 + 1);
        AgentBits sensed = AgentBits::Range(enemies);
        for (int k = 0; k < AgentBits::Words; ++k)
            sensed.W[k] &= inSensor.W[k] & cells.Held.W[k];
        if (lineOfSight && !doc.SightClearIn(sensor))
            sensed.ForEach([&](int j) {
                if (!doc.HasLineOfSight(xi, yi, enemy.AgentX[j], enemy.AgentY[j]))
                    sensed.Reset(j);
            });
        enemiesSensed = sensed.Count();
        for (int k = 0; k < AgentBits::Words; ++k)
            injuredEnemies += PopCount(sensed.W[k] & cells.InjuredHeld.W[k]);
        // Every enemy's flag becomes its bit, kept in the marks until the step ends.
        ownGrid->EnemySensedMarks = sensed;
    } else {
        for (int j = 1; j <= enemies; ++j) {
            const int state = enemy.AgentState[j];
            int sensed = (state > Dead) & sensor.Contains(enemy.AgentX[j], enemy.AgentY[j]);
            if (lineOfSight && sensed)
                sensed = doc.HasLineOfSight(xi, yi, enemy.AgentX[j], enemy.AgentY[j]);
            own.EnemySensed[j] = sensed;
            enemiesSensed += sensed;
            injuredEnemies += sensed & (state == Injured);
        }
    }
    own.Scan.EnemiesSensed = enemiesSensed;
    own.Scan.InjuredEnemiesSensed = injuredEnemies;
}

void ScanAgent(CBrevimarDoc& doc, Side side, int i, bool lineOfSight)
{
    if (i < 1 || i > MaxAgents)
        return;
    const CForce& own = doc.Force(side);
    ScanNeighbors(doc, side, i, own.SensorRange[i], own.ConstraintRange[i], lineOfSight);
}

// A local commander looks with its command's sensor range and counts friends
// within its command's advance range; the switch stays its own movement flag.
void ScanCommander(CBrevimarDoc& doc, Side side, int i, bool lineOfSight)
{
    if (i < 1 || i > MaxAgents)
        return;
    const CLocalCommand& local = doc.Local(side);
    const int c = CommandSlot(local.CommanderNumberOf[i]);
    ScanNeighbors(doc, side, i, local.SENSOR_rng[c], local.ADV_range[c], lineOfSight);
}

}  // namespace

int CBrevimarDoc::SenseForRedAgent(int agent) { return SenseTargets(*this, Side::Red, agent, false); }
int CBrevimarDoc::SenseForRedAgentLOS(int agent) { return SenseTargets(*this, Side::Red, agent, true); }
int CBrevimarDoc::SenseForBlueAgent(int agent) { return SenseTargets(*this, Side::Blue, agent, false); }
int CBrevimarDoc::SenseForBlueAgentLOS(int agent) { return SenseTargets(*this, Side::Blue, agent, true); }

void CBrevimarDoc::ScanRedNeighbors(int agent) { ScanAgent(*this, Side::Red, agent, false); }
void CBrevimarDoc::ScanRedNeighborsLOS(int agent) { ScanAgent(*this, Side::Red, agent, true); }
void CBrevimarDoc::ScanRedCommanderNeighbors(int agent) { ScanCommander(*this, Side::Red, agent, false); }
void CBrevimarDoc::ScanRedCommanderNeighborsLOS(int agent) { ScanCommander(*this, Side::Red, agent, true); }
void CBrevimarDoc::ScanBlueNeighbors(int agent) { ScanAgent(*this, Side::Blue, agent, false); }
void CBrevimarDoc::ScanBlueNeighborsLOS(int agent) { ScanAgent(*this, Side::Blue, agent, true); }
void CBrevimarDoc::ScanBlueCommanderNeighbors(int agent) { ScanCommander(*this, Side::Blue, agent, false); }
void CBrevimarDoc::ScanBlueCommanderNeighborsLOS(int agent) { ScanCommander(*this, Side::Blue, agent, true); }

}  // namespace brevimar
