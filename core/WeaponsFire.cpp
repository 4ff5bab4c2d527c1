// Fire with agent-specific weapons: five point-to-point weapons that fire like
// squad weapons with their own reach, target limit and P(hit) table, and the
// grenade, aimed at the densest enemy area in throwing range, scattered
// around its aim point and dangerous to everyone near where it lands.
#include <algorithm>
#include <cstdlib>

#include "core/CombatWork.h"
#include "core/Document.h"

namespace brevimar {

namespace {

// 1 / 32767: scales the C runtime's rand() into [0, 1].
constexpr double RandScale = 3.0518509e-5;
// Aim points kept for the random choice among equally good cells.
constexpr int MaxTies = 99;
// A distance beyond the whole landing table is read as this one.
constexpr int ScatterBeyondTable = 9;

// A blast or targeting list can never hold more than every agent of a side.
static_assert(MaxAgents <= EnemyListColumns - 1, "agent lists must fit a sensor list");

using combat::AgentCount;
using combat::InSquare;
using combat::WorkingArrays;


bool SightFrom(CBrevimarDoc& doc, int x1, int y1, int x2, int y2)
{
    if (doc.Battlefield.LineOfSightOn != 1 || doc.Battlefield.TerrainMode <= 0)
        return true;
    return doc.HasLineOfSight(x1, y1, x2, y2);
}

float WeaponHitProb(CBrevimarDoc& doc, Side side, int i, int x1, int y1, int j, int x2, int y2)
{
    return side == Side::Red ? doc.GetRedWeaponHitProb(i, x1, y1, j, x2, y2)
                             : doc.GetBlueWeaponHitProb(i, x1, y1, j, x2, y2);
}

// Living agents of one side in the square of half-width h around (x, y), in
// index order, into list[1..n]; with lines of sight on, only those seen from (x, y).
int ListAgentsInSquare(CBrevimarDoc& doc, Side listed, int x, int y, int h, int* list)
{
    const CForce& force = doc.Force(listed);
    const int count = AgentCount(force);
    int n = 0;
    for (int j = 1; j <= count; ++j) {
        if (force.AgentState[j] <= Dead || !InSquare(x, y, force.AgentX[j], force.AgentY[j], h))
            continue;
        if (!SightFrom(doc, x, y, force.AgentX[j], force.AgentY[j]))
            continue;
        list[++n] = j;
    }
    return n;
}

void Tally(CBrevimarDoc& doc, Side side, int squad, int weapon, double shots, double hits)
{
    if (doc.WeaponStatsOn != 1)
        return;
    CWeaponTallies& tallies = doc.Tallies(side);
    tallies.WeaponShots[weapon] += shots;
    tallies.WeaponHits[weapon] += hits;
    if (squad >= 0 && squad < SquadSlots) {
        tallies.SquadWeaponShots[squad][weapon] += shots;
        tallies.SquadWeaponHits[squad][weapon] += hits;
    }
}

void FirePointWeapon(CBrevimarDoc& doc, Side side, int i, const WorkingArrays& work)
{
    CForce& own = doc.Force(side);
    const Side enemySide = Opponent(side);
    const CForce& enemy = doc.Force(enemySide);
    const int* enemyState = work.State(enemySide);
    const SideWeapons& weapons = doc.Weapons(side);
    const int w = own.AgentWeapon[i];
    const int squad = own.AgentSquad[i];
    const int m = weapons.max_tgts[w];
    const int reach = weapons.fire_range[w];
    const int xi = own.AgentX[i], yi = own.AgentY[i];
    const int* list = doc.EnemyList(side, i);
    const int length = std::clamp(own.EnemyCount[i], 0, EnemyListColumns - 1);
    int candidates[EnemyListColumns];
    int engaged[EnemyListColumns];

    int n = 0;
    for (int k = 1; k <= length; ++k) {
        const int j = list[k];
        if (enemyState[j] < Injured || !InSquare(xi, yi, enemy.AgentX[j], enemy.AgentY[j], reach))
            continue;
        const int t = doc.Battlefield.TerrainType[GridIndex(enemy.AgentX[j], enemy.AgentY[j])];
        if (t >= PassableI &&
            !(doc.CombatDraw() < doc.Modifiers(enemySide).TerrainVisibility[enemy.AgentSquad[j]][t - 2]))
            continue;
        candidates[++n] = j;
    }

    const int count = doc.ChooseEngagedTargets(candidates, n, m, engaged);
    Tally(doc, side, squad, w, count, 0);
    for (int e = 1; e <= count; ++e) {
        const int j = engaged[e];
        const float P = WeaponHitProb(doc, side, i, xi, yi, j, enemy.AgentX[j], enemy.AgentY[j]);
        if (P > doc.CombatDraw()) {
            Tally(doc, side, squad, w, 0, 1);
            doc.ApplyHit(enemySide, j, work.State(enemySide), work.Hit(enemySide));
        } else {
            doc.FratricideOnMiss(side, i, enemy.AgentX[j], enemy.AgentY[j], work.State(side), work.Hit(side));
        }
    }
}

void ThrowGrenade(CBrevimarDoc& doc, Side side, int i, const WorkingArrays& work)
{
    CForce& own = doc.Force(side);
    const Side enemySide = Opponent(side);
    const CForce& enemy = doc.Force(enemySide);
    const int blast = doc.Weapons(side).blast_range;
    const int squad = own.AgentSquad[i];

    doc.AgentWeapons.GrenadeLandingX = -1;
    doc.AgentWeapons.GrenadeLandingY = -1;
    doc.SelectLocalSite(SideCode(side), own.AgentX[i], own.AgentY[i], own.SensorRange[i]);
    const int lx = doc.AgentWeapons.GrenadeLandingX;
    const int ly = doc.AgentWeapons.GrenadeLandingY;

    int list[EnemyListColumns];
    int n = 0;
    if (lx != -1 && ly != -1) {
        n = side == Side::Red ? doc.ScanRedWeaponTargets(lx, ly, blast, list)
                              : doc.ListRedInSquare(lx, ly, blast, list);
        if (n > 0)
            Tally(doc, side, squad, Grenade, 1, 0);
    }
    for (int k = 1; k <= n; ++k) {
        const int j = list[k];
        const float P = WeaponHitProb(doc, side, i, lx, ly, j, enemy.AgentX[j], enemy.AgentY[j]);
        if (P > doc.CombatDraw()) {
            Tally(doc, side, squad, Grenade, 0, 1);
            doc.ApplyHit(enemySide, j, work.State(enemySide), work.Hit(enemySide));
        }
    }

    if (lx <= 0 || ly <= 0)
        return;
    // A blast spares no friend, whatever the fratricide switch says; as with a
    // miss, only the thrower and those after it in index order are exposed.
    int* ownState = work.State(side);
    int* ownHit = work.Hit(side);
    const int count = AgentCount(own);
    for (int m = i; m <= count; ++m) {
        if (ownState[m] < Injured || !InSquare(lx, ly, own.AgentX[m], own.AgentY[m], blast))
            continue;
        if (!SightFrom(doc, lx, ly, own.AgentX[m], own.AgentY[m]))
            continue;
        const float P = WeaponHitProb(doc, side, i, lx, ly, m, own.AgentX[m], own.AgentY[m]);
        if (!(P > doc.CombatDraw()))
            continue;
        if (doc.ApplyHit(side, m, ownState, ownHit, false) || own.defense_flag != 1) {
            (side == Side::Red ? doc.Battlefield.RedFratricideCount : doc.Battlefield.BlueFratricideCount) += 1;
            return;
        }
    }
}

void FireWeapons(CBrevimarDoc& doc, Side side, const WorkingArrays& work)
{
    CForce& own = doc.Force(side);
    const int shooters = AgentCount(own);
    for (int i = 1; i <= shooters; ++i) {
        if (own.AgentState[i] <= Dead)
            continue;
        const int w = own.AgentWeapon[i];
        if (w == Grenade) {
            if (own.EnemyCount[i] > 0)
                ThrowGrenade(doc, side, i, work);
        } else if (w >= 1 && w < WeaponKinds) {
            FirePointWeapon(doc, side, i, work);
        }
        // Any other weapon number is no weapon: the agent does not fire.
    }
}

// Picks the landing cell of a ring of square radius r around the aim point:
// top row, bottom row, left column, right column. Parts off the battlefield
// are skipped and the share of each remaining cell grows; when the choice
// falls past the last cell on the battlefield the grenade lands on its aim.
bool RingCell(CBrevimarDoc& doc, int tx, int ty, int r, int& lx, int& ly)
{
    const int size = doc.Battlefield.BattleSize;
    auto onField = [size](int c) { return c >= 1 && c <= size; };
    double q = 1.0 / (8 * r);
    const double v = doc.host().Rand() * RandScale;
    int k = 0;

    if (onField(ty + r)) {
        for (int x = tx - r; x <= tx + r; ++x) {
            ++k;
            if (k * q >= v && onField(x)) {
                lx = x, ly = ty + r;
                return true;
            }
        }
    } else {
        q = 1.0 / (6 * r - 1);
    }
    if (onField(ty - r)) {
        for (int x = tx - r; x <= tx + r; ++x) {
            ++k;
            if (k * q >= v && onField(x)) {
                lx = x, ly = ty - r;
                return true;
            }
        }
    } else {
        q = 1.0 / (4 * r - 2);
    }
    if (onField(tx - r)) {
        for (int y = ty - r + 1; y <= ty + r - 1; ++y) {
            ++k;
            if (k * q >= v && onField(y)) {
                lx = tx - r, ly = y;
                return true;
            }
        }
    } else {
        q = 1.0 / (2 * r - 1);
    }
    if (onField(tx + r)) {
        for (int y = ty - r + 1; y <= ty + r - 1; ++y) {
            ++k;
            if (k * q >= v && onField(y)) {
                lx = tx + r, ly = y;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

void CBrevimarDoc::FireRedWeapons(int* redState, int* blueState, int* redHit, int* blueHit)
{
    FireWeapons(*this, Side::Red, {redState, blueState, redHit, blueHit});
}

void CBrevimarDoc::FireBlueWeapons(int* redState, int* blueState, int* redHit, int* blueHit)
{
    FireWeapons(*this, Side::Blue, {redState, blueState, redHit, blueHit});
}

int CBrevimarDoc::ScanRedWeaponTargets(int x, int y, int h, int* list)
{
    return ListAgentsInSquare(*this, Side::Blue, x, y, h, list);
}

int CBrevimarDoc::ListRedInSquare(int x, int y, int h, int* list)
{
    return ListAgentsInSquare(*this, Side::Red, x, y, h, list);
}

// Aims one grenade of the side (1 RED, 2 BLUE) thrown from (x0, y0) by an agent
// whose sensors reach R, and scatters it. Leaves the landing cell in
// GrenadeLandingX/Y, or -1 and -1 when no cell is worth a throw.
void CBrevimarDoc::SelectLocalSite(int side, int x0, int y0, int R)
{
    // Reseeded from the clock on every throw: grenades thrown within the same
    // second share their aim and scatter draws.
    host().Srand(static_cast<unsigned>(host().Now()));
    AgentWeapons.GrenadeLandingX = -1;
    AgentWeapons.GrenadeLandingY = -1;
    if (side != SideCode(Side::Red) && side != SideCode(Side::Blue))
        return;
    const SideWeapons& weapons = Weapons(side == SideCode(Side::Red) ? Side::Red : Side::Blue);
    const long long T = weapons.max_throw_range;
    const long long B = weapons.blast_range;
    const int Tmin = weapons.min_throw_range;
    const int F = weapons.fratricide_tolerance;
    const int U = weapons.use_threshold;
    if (T < 0)
        return;
    const int ownCode = side;
    const int enemyCode = 3 - side;
    const long long size = std::min(Battlefield.BattleSize, MaxBattleSize);
    const auto& occupancy = Battlefield.OccupancyGrid;

    // Ties are collected as the scan goes: a better score starts them afresh.
    float best = -1.0f;
    int tieX[MaxTies], tieY[MaxTies];
    int ties = 0;
    const long long cxFirst = std::max(1LL, x0 - T), cxLast = std::min(size, x0 + T);
    const long long cyFirst = std::max(1LL, y0 - T), cyLast = std::min(size, y0 + T);
    for (long long cx = cxFirst; cx <= cxLast; ++cx) {
        for (long long cy = cyFirst; cy <= cyLast; ++cy) {
            // The blast square, as far as it lies on the battlefield and the
            // thrower can sense it.
            const long long bxFirst = std::max({cx - B, 1LL, static_cast<long long>(x0) - R});
            const long long bxLast = std::min({cx + B, size, static_cast<long long>(x0) + R});
            const long long byFirst = std::max({cy - B, 1LL, static_cast<long long>(y0) - R});
            const long long byLast = std::min({cy + B, size, static_cast<long long>(y0) + R});
            int cells = 0, own = 0, enemies = 0;
            for (long long bx = bxFirst; bx <= bxLast; ++bx)
                for (long long by = byFirst; by <= byLast; ++by) {
                    ++cells;
                    const int code = occupancy[GridIndex(static_cast<int>(bx), static_cast<int>(by))];
                    own += code == ownCode ? 1 : 0;
                    enemies += code == enemyCode ? 1 : 0;
                }
            const long long d0 = std::max(std::llabs(cx - x0), std::llabs(cy - y0));
            float score;
            if (own > F || d0 <= B || d0 <= Tmin || enemies < U || cells == 0)
                score = -1.0f;
            else
                score = static_cast<float>(enemies) / cells;
            if (score > best) {
                best = score;
                ties = 0;
            }
            if (score == best && ties < MaxTies) {
                tieX[ties] = static_cast<int>(cx);
                tieY[ties] = static_cast<int>(cy);
                ++ties;
            }
        }
    }
    if (best == -1.0f || ties == 0)
        return;

    int pick = 1;
    if (ties > 1) {
        pick = static_cast<int>(host().Rand() * RandScale * ties) + 1;
        pick = std::clamp(pick, 1, ties);
    }
    const int tx = tieX[pick - 1];
    const int ty = tieY[pick - 1];
    int lx = tx, ly = ty;

    const double u = host().Rand() * RandScale;
    float sum = 0.0f;
    int r = ScatterBeyondTable;
    for (int d = 0; d < HitRanges; ++d) {
        sum += weapons.prob_landing[d];
        if (u <= sum) {
            r = d;
            break;
        }
    }
    if (r >= 1 && !RingCell(*this, tx, ty, r, lx, ly)) {
        lx = tx;
        ly = ty;
    }
    AgentWeapons.GrenadeLandingX = lx;
    AgentWeapons.GrenadeLandingY = ly;
}

}  // namespace brevimar
