#include "core/SquadCopies.h"

#include <algorithm>
#include <type_traits>

#include "core/Document.h"

namespace brevimar {

namespace {

// Entry `to` of each row := entry `from`; an entry may itself be a row (the
// terrain modifiers hold one value per terrain type).
template <typename... Rows>
void CopyEntries(int from, int to, Rows&... rows)
{
    auto copy = [from, to](auto& row) {
        if constexpr (std::is_array_v<std::remove_reference_t<decltype(row[0])>>)
            std::copy(std::begin(row[from]), std::end(row[from]), std::begin(row[to]));
        else
            row[to] = row[from];
    };
    (copy(rows), ...);
}

void CopyForceRows(CForce& f, int from, int to)
{
    CopyEntries(from, to, f.num_per_squad, f.A_S_RANGE, f.A_F_RANGE, f.I_S_RANGE, f.I_F_RANGE, f.shot_prob_alive,
                f.shot_prob_injured, f.w1_a, f.w2_a, f.w3_a, f.w4_a, f.w5_a, f.w6_a, f.w1_i, f.w2_i, f.w3_i, f.w4_i,
                f.w5_i, f.w6_i, f.w_terrain_alive, f.w_terrain_injured, f.movement_flag);
    CopyEntries(from, to, f.A_ADVANCE_num, f.I_ADVANCE_num, f.A_C_RANGE, f.I_C_RANGE, f.A_CLUSTER_num,
                f.I_CLUSTER_num, f.A_COMBAT_num, f.I_COMBAT_num, f.A_HOLD_f, f.I_HOLD_f, f.A_PURSUIT1_num,
                f.I_PURSUIT1_num, f.A_PURSUIT2_num, f.I_PURSUIT2_num, f.A_RETREAT_num, f.I_RETREAT_num,
                f.A_SUPPORT1_num, f.I_SUPPORT1_num, f.A_SUPPORT2_num, f.I_SUPPORT2_num);
    CopyEntries(from, to, f.ADVANCE_flag, f.CLUSTER_flag, f.COMBAT_flag, f.HOLD_flag, f.PURSUIT1_flag,
                f.PURSUIT2_flag, f.RETREAT_flag, f.SUPPORT1_flag, f.SUPPORT2_flag, f.R_R_min_dist_flag_flag,
                f.R_B_min_dist_flag_flag, f.R_R_goal_min_flag, f.R_terrain_min_flag);
    CopyEntries(from, to, f.A_R_R_min_dist, f.I_R_R_min_dist, f.A_R_R_goal_min, f.I_R_R_goal_min, f.A_R_B_min_dist,
                f.I_R_B_min_dist, f.A_R_terrain_min, f.I_R_terrain_min, f.A_M_RANGE, f.I_M_RANGE,
                f.A_R_max_eng_num, f.I_R_max_eng_num, f.alive_strength, f.injured_strength);
    CopyEntries(from, to, f.w_area_alive, f.w_area_injured, f.A_R_area_min, f.I_R_area_min, f.R_area_min_flag,
                f.AreaCenterX, f.AreaRangeX, f.AreaCenterY, f.AreaRangeY, f.w_flock_alive, f.w_flock_injured,
                f.A_R_flock_min, f.I_R_flock_min, f.A_R_flock_max, f.I_R_flock_max);
    CopyEntries(from, to, f.grenades, f.point_to_point_1, f.point_to_point_2, f.point_to_point_3,
                f.point_to_point_4, f.point_to_point_5, f.WeaponFunction.weapon_squad);
    CopyEntries(from, to, f.MoveProbAlive, f.MoveProbInjured, f.MovePeriodAlive, f.MovePeriodInjured);
    CopySquadRowAndColumn(f.CommMatrix, from, to);
    CopySquadRowAndColumn(f.SquadWeightMatrix, from, to);
    f.HandRemoved[to] = 0;
}

void CopyModifierRows(CTerrainModifierSet& m, int from, int to)
{
    CopyEntries(from, to, m.A_comm_range, m.I_comm_range, m.A_comm_weight, m.I_comm_weight, m.A_fire_range,
                m.I_fire_range, m.A_max_tgts_alive, m.I_max_tgts_alive, m.A_movement_range, m.I_movement_range,
                m.A_pk_alive, m.I_pk_alive, m.A_sensor_range, m.I_sensor_range, m.A_threshold_range,
                m.I_threshold_range, m.A_defense_alive, m.I_defense_alive, m.TerrainVisibility);
}

CForce& ForceOf(CDocumentState& doc, Side side)
{
    return side == Side::Red ? static_cast<CForce&>(doc.RedForce) : doc.BlueForce;
}

}  // namespace

void CopySquadValues(CDocumentState& doc, Side side, int from, int to)
{
    if (from < 1 || from > MaxSquads || to < 1 || to > MaxSquads || from == to)
        return;
    CopyForceRows(ForceOf(doc, side), from, to);
    CBattlefield& b = doc.Battlefield;
    if (side == Side::Red)
        CopyEntries(from, to, b.R_box_l, b.R_box_w, b.RED_cen_x, b.RED_cen_y);
    else
        CopyEntries(from, to, b.B_box_l, b.B_box_w, b.BLUE_cen_x, b.BLUE_cen_y);
    CopyModifierRows(side == Side::Red ? doc.TerrainModifiers.Red : doc.TerrainModifiers.Blue, from, to);
}

void AddSquadCopies(CDocumentState& doc, Side side, int count)
{
    CForce& f = ForceOf(doc, side);
    const int last = std::clamp(f.NumSquads, 1, MaxSquads);
    const int grown = std::min(count, MaxSquads);
    if (grown <= last)
        return;
    for (int s = last + 1; s <= grown; ++s)
        CopySquadValues(doc, side, last, s);
    f.NumSquads = grown;
}

}  // namespace brevimar
