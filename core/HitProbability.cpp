// How a distance becomes a chance to hit: the squad weapon functions (a table
// by square range or a curve of Euclidean range), the linear fall-off of the
// single-shot P(k), and the agent-specific weapon tables. All are pure.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/Document.h"

namespace brevimar {

namespace {

int SquareRange(int x1, int y1, int x2, int y2) { return std::max(std::abs(x2 - x1), std::abs(y2 - y1)); }

double EuclideanRange(int x1, int y1, int x2, int y2)
{
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    return std::sqrt(dx * dx + dy * dy);
}

// The curve between the two ranges. A negative r_min is taken as it stands:
// integer powers of it are well defined. Only a curve that has no value (a
// real power of a negative base, power 0 making both ends equal, or powers
// that overflow) gives the value at r_min.
double CurveValue(double r, double rmin, double rmax, double pmin, double pmax, double k, int decay)
{
    const double A = std::pow(rmax, k);
    const double B = std::pow(rmin, k);
    double p;
    if (decay == 0)
        p = pmin + (pmax - pmin) * (std::pow(r, k) - B) / (A - B);
    else
        p = pmax + (pmin - pmax) * (std::pow(rmin + rmax - r, k) - B) / (A - B);
    if (A - B == 0.0 || !std::isfinite(p))
        return pmin;
    return p;
}

float HitProbAtRange(CBrevimarDoc& doc, Side side, int i, int x1, int y1, int x2, int y2)
{
    const CForce& force = doc.Force(side);
    const SquadWeaponFunction& f = force.WeaponFunction;
    const int squad = force.AgentSquad[i];
    if (squad < 0 || squad > MaxSquads)
        return 0.0f;
    const int W = f.weapon_squad[squad];
    if (W < 1 || W > MaxSquads)  // no such weapon function
        return 0.0f;
    const int a = force.AgentState[i] == Alive ? AliveColumn : InjuredColumn;

    if (f.sensor_type == 0) {
        const int d = SquareRange(x1, y1, x2, y2);
        if (d > force.FireRange[i] || d >= HitTableRanges)
            return 0.0f;
        return f.p_r[W][d][a];
    }

    const double r = EuclideanRange(x1, y1, x2, y2);
    const double rmin = f.rmin[W][a];
    const double rmax = f.rmax[W][a];
    if (r < rmin)
        return static_cast<float>(f.plow[W][a]);
    if (r == rmin)
        return static_cast<float>(f.pmin[W][a]);
    if (r < rmax)
        return static_cast<float>(CurveValue(r, rmin, rmax, f.pmin[W][a], f.pmax[W][a], f.power[W][a], f.decay[W][a]));
    if (r == rmax)
        return static_cast<float>(f.pmax[W][a]);
    return static_cast<float>(f.phigh[W][a]);
}

float WeaponHitProb(CBrevimarDoc& doc, Side side, int i, int x1, int y1, int x2, int y2)
{
    const SideWeapons& weapons = doc.Weapons(side);
    const int w = doc.Force(side).AgentWeapon[i];
    if (w < 0 || w >= WeaponKinds)
        return 0.0f;
    const int reach = w == Grenade ? weapons.blast_range : weapons.fire_range[w];
    int d;
    switch (weapons.sensor_type) {
    case 0:
        return weapons.prob_hit[w][0];
    case 1:
        d = SquareRange(x1, y1, x2, y2);
        break;
    case 2:
        d = static_cast<int>(EuclideanRange(x1, y1, x2, y2));
        break;
    default:  // no P(hit) is defined for other sensor kinds
        return 0.0f;
    }
    // The table stops at range 10 even when the reach goes further.
    if (d < 0 || d > reach || d >= HitRanges)
        return 0.0f;
    return weapons.prob_hit[w][d];
}

}  // namespace

float CBrevimarDoc::GetRedHitProbAtRange(int i, int x1, int y1, int, int x2, int y2)
{
    return HitProbAtRange(*this, Side::Red, i, x1, y1, x2, y2);
}

float CBrevimarDoc::GetBlueHitProbAtRange(int i, int x1, int y1, int, int x2, int y2)
{
    return HitProbAtRange(*this, Side::Blue, i, x1, y1, x2, y2);
}

// The shooter's P(k) at distance 1 falls linearly to 0 at its fire range and is
// shared over the targets the shooter engages this step (EngagedTargets, set by
// the fire routine before its shots).
float CBrevimarDoc::RangeFalloffWeight(Side side, int i, int x1, int y1, int x2, int y2)
{
    const CForce& force = Force(side);
    const float R = static_cast<float>(force.FireRange[i]);
    const bool alive = force.AgentState[i] == Alive;
    const float p = alive ? force.ShotProbAlive[i] : force.ShotProbInjured[i];
    const int unlimited = side == Side::Red ? Battlefield.RedCombatUnlimited : Battlefield.BlueCombatUnlimited;
    const float M = unlimited == 1 ? 301.0f
                                   : static_cast<float>(alive ? force.MaxTargetsAlive[i] : force.MaxTargetsInjured[i]);
    const float N = static_cast<float>(force.EngagedTargets[i]);
    const float D = std::min(N, M);
    const float dx = static_cast<float>(x2 - x1);
    const float dy = static_cast<float>(y2 - y1);
    const float r = std::sqrt(dx * dx + dy * dy);
    if (D <= 0.0f || R < 1.0f || r < 1.0f || r > R)
        return 0.0f;
    if (R == 1.0f)
        return p / D;
    return (R - r) * p / ((R - 1.0f) * D);
}

float CBrevimarDoc::GetRedWeaponHitProb(int i, int x1, int y1, int, int x2, int y2)
{
    return WeaponHitProb(*this, Side::Red, i, x1, y1, x2, y2);
}

float CBrevimarDoc::GetBlueWeaponHitProb(int i, int x1, int y1, int, int x2, int y2)
{
    return WeaponHitProb(*this, Side::Blue, i, x1, y1, x2, y2);
}

}  // namespace brevimar
