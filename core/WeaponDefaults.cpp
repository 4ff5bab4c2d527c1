#include <algorithm>

#include "core/Document.h"

namespace brevimar {

namespace {

int AgentCount(const CForce& force) { return std::clamp(force.NumAgents, 0, MaxAgents); }

void SetModifierDefaults(CTerrainModifierSet& m)
{
    // Columns 1..3 are passable terrain types I..III; squad row 0 is set too.
    static constexpr int CommRange[4] = {0, 5, 5, 5};
    static constexpr float CommWeight[4] = {0, 1.0f, 0.75f, 0.25f};
    static constexpr int Degradation[4] = {0, 1, 2, 3};  // fire, targets, movement, sensor, defence
    static constexpr float Pk[4] = {0, 0.9f, 0.75f, 0.5f};
    static constexpr int Threshold[4] = {0, 0, 1, 2};
    static constexpr double Visibility[4] = {0, 0.9, 0.75, 0.5};
    for (int s = 0; s < SquadSlots; ++s) {
        for (int k = 1; k < TerrainColumns; ++k) {
            m.A_comm_range[s][k] = m.I_comm_range[s][k] = CommRange[k];
            m.A_comm_weight[s][k] = m.I_comm_weight[s][k] = CommWeight[k];
            m.A_fire_range[s][k] = m.I_fire_range[s][k] = Degradation[k];
            m.A_max_tgts_alive[s][k] = m.I_max_tgts_alive[s][k] = Degradation[k];
            m.A_movement_range[s][k] = m.I_movement_range[s][k] = Degradation[k];
            m.A_pk_alive[s][k] = m.I_pk_alive[s][k] = Pk[k];
            m.A_sensor_range[s][k] = m.I_sensor_range[s][k] = Degradation[k];
            m.A_threshold_range[s][k] = m.I_threshold_range[s][k] = Threshold[k];
            m.A_defense_alive[s][k] = m.I_defense_alive[s][k] = Degradation[k];
            m.TerrainVisibility[s][k] = Visibility[k];
        }
    }
}

// Weapon counts per squad: every agent of squads 1..squads carries
// point-to-point weapon 1, and every agent slot holds weapon 1.
void AssignPointWeaponOne(CForce& force, int squads)
{
    for (int k = 1; k <= MaxSquads; ++k) {
        force.grenades[k] = 0;
        force.point_to_point_1[k] = 0;
        force.point_to_point_2[k] = 0;
        force.point_to_point_3[k] = 0;
        force.point_to_point_4[k] = 0;
        force.point_to_point_5[k] = 0;
    }
    for (int k = 1, last = std::clamp(squads, 0, MaxSquads); k <= last; ++k)
        force.point_to_point_1[k] = force.num_per_squad[k];
    for (int i = 1; i <= MaxAgents; ++i)
        force.AgentWeapon[i] = 1;
}

// The side's agent-specific weapons: weapon 1 is the squad-1 rifle; the
// grenade and weapons 2..5 get fixed short-range values.
void SetSideWeaponDefaults(const CForce& force, SideWeapons& w)
{
    const float pAlive = force.shot_prob_alive[1];
    w.fratricide_tolerance = 0;
    w.use_threshold = 1;
    w.min_throw_range = 3;
    w.max_throw_range = 5;
    w.blast_range = 3;
    w.sensor_type = 0;
    for (int r = 0; r < HitRanges; ++r)
        w.prob_landing[r] = r == 0 ? 1.0f : 0.0f;
    for (int k = 0; k < WeaponKinds; ++k)
        for (int r = 0; r < HitRanges; ++r)
            w.prob_hit[k][r] = 0.0f;
    w.max_tgts[Grenade] = 999;
    w.fire_range[Grenade] = 3;
    w.prob_hit[Grenade][0] = 0.1f;
    w.max_tgts[1] = force.A_R_max_eng_num[1];
    w.fire_range[1] = force.A_F_RANGE[1];
    w.prob_hit[1][0] = pAlive;
    for (int k = 2; k < WeaponKinds; ++k) {
        w.max_tgts[k] = 2;
        w.fire_range[k] = 3;
        w.prob_hit[k][0] = pAlive;
    }
}

// Every squad weapon function W = 1..10 becomes the squad-1 single-shot
// P(k) out to the squad-1 fire range. The table holds ranges 0..99, so a
// longer fire range fills it to its end.
void SetSquadFunctionDefaults(const CForce& force, SquadWeaponFunction& f, double rmaxAlive, double rmaxInjured,
                              int decay)
{
    const float pAlive = force.shot_prob_alive[1];
    const float pInjured = force.shot_prob_injured[1];
    const int lastAlive = std::min(force.A_F_RANGE[1], HitTableRanges - 1);
    const int lastInjured = std::min(force.I_F_RANGE[1], HitTableRanges - 1);
    for (int s = 1; s <= MaxSquads; ++s)
        f.weapon_squad[s] = 1;
    for (int W = 1; W <= MaxSquads; ++W) {
        for (int r = 0; r < HitTableRanges; ++r)
            f.p_r[W][r][AliveColumn] = f.p_r[W][r][InjuredColumn] = 0.0f;
        for (int r = 1; r <= lastAlive; ++r)
            f.p_r[W][r][AliveColumn] = pAlive;
        for (int r = 1; r <= lastInjured; ++r)
            f.p_r[W][r][InjuredColumn] = pInjured;
        for (auto* p : {&f.plow, &f.phigh, &f.pmin, &f.pmax}) {
            (*p)[W][AliveColumn] = pAlive;
            (*p)[W][InjuredColumn] = pInjured;
        }
        f.rmin[W][AliveColumn] = f.rmin[W][InjuredColumn] = 1.0;
        f.power[W][AliveColumn] = f.power[W][InjuredColumn] = 1.0;
        f.rmax[W][AliveColumn] = rmaxAlive;
        f.rmax[W][InjuredColumn] = rmaxInjured;
        f.decay[W][AliveColumn] = f.decay[W][InjuredColumn] = decay;
    }
}

// Agents first..last.
void CopyBases(const CForce& force, CAgentBaseCopies& base, int* terrainModified, int first, int last)
{
    for (int i = first; i <= last; ++i) {
        terrainModified[i] = 0;
        base.BaseSensorRange[i] = force.SensorRangeAlive[i];
        base.BaseFireRange[i] = force.FireRangeAlive[i];
        base.BaseConstraintRange[i] = force.ConstraintRangeAlive[i];
        base.BaseSensorRangeAlive[i] = force.SensorRangeAlive[i];
        base.BaseFireRangeAlive[i] = force.FireRangeAlive[i];
        base.BaseConstraintRangeAlive[i] = force.ConstraintRangeAlive[i];
        base.BaseSensorRangeInjured[i] = force.SensorRangeInjured[i];
        base.BaseFireRangeInjured[i] = force.FireRangeInjured[i];
        base.BaseConstraintRangeInjured[i] = force.ConstraintRangeInjured[i];
        base.BaseMoveRangeAlive[i] = force.MoveRangeAlive[i];
        base.BaseMoveRangeInjured[i] = force.MoveRangeInjured[i];
        base.BaseCommRange[i] = force.COMM_range;
        base.BaseAliveStrength[i] = force.AliveStrength[i];
        base.BaseInjuredStrength[i] = force.InjuredStrength[i];
        base.BaseMaxTargetsAlive[i] = force.MaxTargetsAlive[i];
        base.BaseMaxTargetsInjured[i] = force.MaxTargetsInjured[i];
        base.BaseCommWeightAlive[i] = force.A_COMM_weight;
        base.BaseCommWeightInjured[i] = force.I_COMM_weight;
        base.BaseShotProbAlive[i] = force.ShotProbAlive[i];
        base.BaseShotProbInjured[i] = force.ShotProbInjured[i];
    }
}

}  // namespace

void TakeBaseCopies(const CForce& force, CAgentBaseCopies& base, int* terrainModified)
{
    CopyBases(force, base, terrainModified, 1, AgentCount(force));
}

void TakeBaseCopy(const CForce& force, CAgentBaseCopies& base, int* terrainModified, int i)
{
    if (i >= 1 && i <= MaxAgents)
        CopyBases(force, base, terrainModified, i, i);
}

void CBrevimarDoc::InitWeaponDefaults()
{
    if (TerrainModifiersLoaded == 0) {
        SetModifierDefaults(TerrainModifiers.Red);
        SetModifierDefaults(TerrainModifiers.Blue);
    }
    TakeBaseCopies(RedForce, TerrainModifiers.RedBase, TerrainModifiers.RedTerrainModified);
    TakeBaseCopies(BlueForce, TerrainModifiers.BlueBase, TerrainModifiers.BlueTerrainModified);
}

void CBrevimarDoc::SetDefaultWeaponParameters()
{
    AssignPointWeaponOne(RedForce, RedForce.NumSquads);
    AssignPointWeaponOne(BlueForce, BlueForce.NumSquads);
    RedForce.WeaponsOn = 0;
    BlueForce.WeaponsOn = 0;
    RedForce.WeaponAssignType = 1;
    BlueForce.WeaponAssignType = 1;
    AgentWeapons.GrenadeLandingX = -1;
    AgentWeapons.GrenadeLandingY = -1;
    SetSideWeaponDefaults(RedForce, AgentWeapons.Red);
    SetSideWeaponDefaults(BlueForce, AgentWeapons.Blue);
    // The two sides' default curves differ: RED's reaches out to its fire
    // ranges and decays slowly, BLUE's ends at range 2 and decays fast.
    SetSquadFunctionDefaults(RedForce, RedForce.WeaponFunction, RedForce.A_F_RANGE[1], RedForce.I_F_RANGE[1], 0);
    SetSquadFunctionDefaults(BlueForce, BlueForce.WeaponFunction, 2.0, 2.0, 1);
}

namespace {

void SetDefaultAssignments(CBrevimarDoc& doc, Side side, int decay)
{
    CForce& force = doc.Force(side);
    // Here every squad slot counts its agents, whether in use or not.
    AssignPointWeaponOne(force, 0);
    for (int k = 1; k <= MaxSquads; ++k)
        force.point_to_point_1[k] = force.num_per_squad[k];
    force.WeaponAssignType = 1;
    force.WeaponsOn = 0;
    doc.AgentWeapons.GrenadeLandingX = -1;
    doc.AgentWeapons.GrenadeLandingY = -1;
    SetSideWeaponDefaults(force, doc.Weapons(side));
    // Functions the user defined for the squads are kept.
    if (force.SquadWeaponsDefined == 0) {
        force.WeaponFunction.sensor_type = 0;
        SetSquadFunctionDefaults(force, force.WeaponFunction, force.A_F_RANGE[1], force.I_F_RANGE[1], decay);
    }
}

}  // namespace

void CBrevimarDoc::SetDefaultRedWeaponAssignments() { SetDefaultAssignments(*this, Side::Red, 0); }

void CBrevimarDoc::SetDefaultBlueWeaponAssignments() { SetDefaultAssignments(*this, Side::Blue, 1); }

}  // namespace brevimar
