// Combat of one time step. Both sides fire from the states they had at the
// start of the step; losses go into working copies that are written back only
// after both have fired, so an agent killed this step still shoots this step.
#include <algorithm>
#include <cstdlib>

#include "core/CombatWork.h"
#include "core/Document.h"

namespace brevimar {

namespace {

using combat::AgentCount;
using combat::InSquare;
using combat::WorkingArrays;

// Sensing never lists more than a row holds; a corrupt count must not lead
// the routines past it.
int ListLength(const CForce& force, int i) { return std::clamp(force.EnemyCount[i], 0, EnemyListColumns - 1); }


float SquadHitProb(CBrevimarDoc& doc, Side side, int i, int j, float p0)
{
    const CForce& own = doc.Force(side);
    const CForce& enemy = doc.Force(Opponent(side));
    const int x1 = own.AgentX[i], y1 = own.AgentY[i];
    const int x2 = enemy.AgentX[j], y2 = enemy.AgentY[j];
    switch (own.WeaponFunction.function_type) {
    case 1:
        return side == Side::Red ? doc.GetRedHitProbAtRange(i, x1, y1, j, x2, y2)
                                 : doc.GetBlueHitProbAtRange(i, x1, y1, j, x2, y2);
    case 2:
        return doc.RangeFalloffWeight(side, i, x1, y1, x2, y2);
    default:
        return p0;
    }
}

// One shot of a squad weapon at enemy j: a hit lowers j, a miss may strike a friend.
void ShootSquadWeapon(CBrevimarDoc& doc, Side side, int i, int j, float p0, const WorkingArrays& work)
{
    const Side enemySide = Opponent(side);
    const float P = SquadHitProb(doc, side, i, j, p0);
    if (P > doc.CombatDraw()) {
        doc.ApplyHit(enemySide, j, work.State(enemySide), work.Hit(enemySide));
    } else {
        const CForce& enemy = doc.Force(enemySide);
        doc.FratricideOnMiss(side, i, enemy.AgentX[j], enemy.AgentY[j], work.State(side), work.Hit(side));
    }
}

bool SeenOnTerrain(CBrevimarDoc& doc, Side targetSide, int j, int terrain)
{
    const double visibility =
        doc.Modifiers(targetSide).TerrainVisibility[doc.Force(targetSide).AgentSquad[j]][terrain - 2];
    return doc.CombatDraw() < visibility;
}

void FireDefault(CBrevimarDoc& doc, Side side, const WorkingArrays& work)
{
    CForce& own = doc.Force(side);
    const Side enemySide = Opponent(side);
    const CForce& enemy = doc.Force(enemySide);
    const int* enemyState = work.State(enemySide);
    const int shooters = AgentCount(own);
    int candidates[EnemyListColumns];
    int engaged[EnemyListColumns];

    for (int i = 1; i <= shooters; ++i) {
        const int state = own.AgentState[i];
        if (state <= Dead)
            continue;
        const int m = state == Injured ? own.MaxTargetsInjured[i] : own.MaxTargetsAlive[i];
        const float p0 = state == Alive ? own.ShotProbAlive[i] : own.ShotProbInjured[i];
        const int range = own.FireRange[i];
        const int* list = doc.EnemyList(side, i);
        const int length = ListLength(own, i);

        int n = 0;
        for (int k = 1; k <= length; ++k) {
            const int j = list[k];
            if (enemyState[j] <= Dead || !InSquare(own.AgentX[i], own.AgentY[i], enemy.AgentX[j], enemy.AgentY[j], range))
                continue;
            // Impassable ground hides nobody from this routine.
            const int t = doc.Battlefield.TerrainType[GridIndex(enemy.AgentX[j], enemy.AgentY[j])];
            if (t < PassableI || SeenOnTerrain(doc, enemySide, j, t))
                candidates[++n] = j;
        }

        const int count = doc.ChooseEngagedTargets(candidates, n, m, engaged);
        own.EngagedTargets[i] = count;
        for (int e = 1; e <= count; ++e)
            ShootSquadWeapon(doc, side, i, engaged[e], p0, work);
    }
}

void FireUnlimited(CBrevimarDoc& doc, Side side, const WorkingArrays& work)
{
    CForce& own = doc.Force(side);
    const Side enemySide = Opponent(side);
    const CForce& enemy = doc.Force(enemySide);
    const int* enemyState = work.State(enemySide);
    const int shooters = AgentCount(own);
    const auto& terrain = doc.Battlefield.TerrainType;

    for (int i = 1; i <= shooters; ++i) {
        const int state = own.AgentState[i];
        if (state <= Dead)
            continue;
        const float p0 = state == Alive ? own.ShotProbAlive[i] : own.ShotProbInjured[i];
        const int range = own.FireRange[i];
        const int xi = own.AgentX[i], yi = own.AgentY[i];
        const int* list = doc.EnemyList(side, i);
        const int length = ListLength(own, i);

        auto engageable = [&](int j) {
            return enemyState[j] >= Injured && InSquare(xi, yi, enemy.AgentX[j], enemy.AgentY[j], range) &&
                   !IsImpassable(terrain[GridIndex(enemy.AgentX[j], enemy.AgentY[j])]);
        };
        if (own.WeaponFunction.function_type == 2) {
            // Concealment is drawn shot by shot, so the fall-off shares the
            // fire over every target the shooter could engage.
            int count = 0;
            for (int k = 1; k <= length; ++k)
                count += engageable(list[k]) ? 1 : 0;
            own.EngagedTargets[i] = count;
        }

        for (int k = 1; k <= length; ++k) {
            const int j = list[k];
            if (!engageable(j))
                continue;
            const int t = terrain[GridIndex(enemy.AgentX[j], enemy.AgentY[j])];
            if (t >= PassableI && !SeenOnTerrain(doc, enemySide, j, t))
                continue;
            ShootSquadWeapon(doc, side, i, j, p0, work);
        }
    }
}

void WriteBack(CBrevimarDoc& doc, Side side, const int* workingState, const int* hitThisStep)
{
    CForce& force = doc.Force(side);
    const int reconFlag = side == Side::Red ? doc.Battlefield.RED_recon_flag : doc.Battlefield.BLUE_recon_flag;
    const int reconTime = force.recon_time;
    const int count = AgentCount(force);
    for (int i = 1; i <= count; ++i) {
        force.SetAgentState(i, workingState[i]);
        if (force.AgentState[i] == Dead && hitThisStep[i] == 1)
            doc.Battlefield.AgentGrid[GridIndex(force.AgentX[i], force.AgentY[i])] = CellFree;
        if (force.AgentState[i] == Injured && reconFlag == 1 && hitThisStep[i] == 0) {
            const int before = force.ReconstitutionTimer[i];
            force.ReconstitutionTimer[i] = before - 1;
            if ((before == 1 && force.ReconstitutionTimer[i] == 0) || reconTime == 0) {
                force.SetAgentState(i, Alive);
                force.ReconstitutionTimer[i] = reconTime;
            }
        }
    }
}

}  // namespace

bool CBrevimarDoc::ApplyHit(Side side, int agent, int* workingState, int* hitThisStep, bool enemyShot)
{
    if (enemyShot)
        ++(side == Side::Red ? BlueHitTally : RedHitTally);
    CForce& force = Force(side);
    if (force.defense_flag == 1) {
        // Equality tests: a strength of 0 can never be reached by counting.
        force.HitCount[agent] += 1;
        if (workingState[agent] == Alive && force.HitCount[agent] == force.AliveStrength[agent]) {
            workingState[agent] = Injured;
        } else if (workingState[agent] == Injured && force.HitCount[agent] == force.InjuredStrength[agent]) {
            workingState[agent] = Dead;
        } else {
            return false;
        }
        hitThisStep[agent] = 1;
        force.HitCount[agent] = 0;
        return true;
    }
    // A blast can list an enemy already killed this step; it stays dead.
    if (workingState[agent] <= Dead)
        return false;
    workingState[agent] -= 1;
    hitThisStep[agent] = 1;
    return true;
}

// A missed shot at the cell (missedX, missedY) may strike the shooter or a
// friend after it in index order; at most one of them loses a state.
void CBrevimarDoc::FratricideOnMiss(Side side, int shooter, int missedX, int missedY, int* workingState,
                                    int* hitThisStep)
{
    const bool red = side == Side::Red;
    if ((red ? Battlefield.red_frat_flag : Battlefield.blue_frat_flag) != 1)
        return;
    const int radius = red ? Battlefield.red_frat_rad : Battlefield.blue_frat_rad;
    const float probability = red ? Battlefield.red_frat_prob : Battlefield.blue_frat_prob;
    int& fratricides = red ? Battlefield.RedFratricideCount : Battlefield.BlueFratricideCount;
    CForce& force = Force(side);
    const int count = AgentCount(force);
    for (int m = std::max(shooter, 1); m <= count; ++m) {
        if (workingState[m] <= Dead || !InSquare(force.AgentX[m], force.AgentY[m], missedX, missedY, radius))
            continue;
        if (!(probability > CombatDraw()))
            continue;
        const bool fell = ApplyHit(side, m, workingState, hitThisStep, false);
        if (fell || force.defense_flag != 1) {
            fratricides += 1;
            return;
        }
    }
}

// Chooses the targets among candidates[1..n]: all of them when they are no
// more than m, otherwise m distinct ones at random (redrawing repeats), none
// when m < 1. Returns how many went into engaged[1..].
int CBrevimarDoc::ChooseEngagedTargets(const int* candidates, int n, int m, int* engaged)
{
    if (n <= m) {
        for (int k = 1; k <= n; ++k)
            engaged[k] = candidates[k];
        return n;
    }
    if (m < 1)
        return 0;
    bool taken[EnemyListColumns] = {};
    int chosen = 0;
    while (chosen < m) {
        const int q = static_cast<int>(DrawUniform(&RandomState) * n);
        if (taken[q])
            continue;
        taken[q] = true;
        engaged[++chosen] = candidates[q + 1];
    }
    return chosen;
}

void CBrevimarDoc::ResolveCombat()
{
    int redState[AgentSlots] = {};
    int blueState[AgentSlots] = {};
    int redHit[AgentSlots] = {};
    int blueHit[AgentSlots] = {};
    const int reds = AgentCount(RedForce);
    const int blues = AgentCount(BlueForce);
    for (int i = 1; i <= reds; ++i)
        redState[i] = RedForce.AgentState[i];
    for (int i = 1; i <= blues; ++i)
        blueState[i] = BlueForce.AgentState[i];

    if (RedForce.WeaponsOn == 1)
        FireRedWeapons(redState, blueState, redHit, blueHit);
    else if (Battlefield.RedCombatUnlimited == 1)
        FireRedUnlimited(redState, blueState, redHit, blueHit);
    else
        FireRedDefault(redState, blueState, redHit, blueHit);

    if (BlueForce.WeaponsOn == 1)
        FireBlueWeapons(redState, blueState, redHit, blueHit);
    else if (Battlefield.BlueCombatUnlimited == 1)
        FireBlueUnlimited(redState, blueState, redHit, blueHit);
    else
        FireBlueDefault(redState, blueState, redHit, blueHit);

    WriteBack(*this, Side::Red, redState, redHit);
    WriteBack(*this, Side::Blue, blueState, blueHit);
}

void CBrevimarDoc::FireRedDefault(int* redState, int* blueState, int* redHit, int* blueHit)
{
    FireDefault(*this, Side::Red, {redState, blueState, redHit, blueHit});
}

void CBrevimarDoc::FireBlueDefault(int* redState, int* blueState, int* redHit, int* blueHit)
{
    FireDefault(*this, Side::Blue, {redState, blueState, redHit, blueHit});
}

void CBrevimarDoc::FireRedUnlimited(int* redState, int* blueState, int* redHit, int* blueHit)
{
    FireUnlimited(*this, Side::Red, {redState, blueState, redHit, blueHit});
}

void CBrevimarDoc::FireBlueUnlimited(int* redState, int* blueState, int* redHit, int* blueHit)
{
    FireUnlimited(*this, Side::Blue, {redState, blueState, redHit, blueHit});
}

}  // namespace brevimar
