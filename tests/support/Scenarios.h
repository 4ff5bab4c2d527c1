// Scenarios built in code, for tests that need a whole battle but not a file.
#pragma once

#include "core/Document.h"

namespace brevimar::testing {

struct SkirmishOptions {
    int PerSide = 20;
    int BattleSize = 60;
    int SensorRange = 5;
    int FireRange = 3;
    int MoveRange = 2;
    float ShotProb = 0.05f;
    bool Communications = false;
    bool Weapons = false;
    bool Terrain = false;
    bool LocalCommand = false;
    bool MetaPersonality = false;
};

// Two one-squad forces facing each other across the battlefield, each
// heading for the other's flag; then forces initialised and set up.
inline void MakeSkirmish(CBrevimarDoc& doc, const SkirmishOptions& o = {})
{
    doc.RunMode = InteractiveMode;
    doc.InitialSeed = -31415926;
    doc.RandomState = -31415926;
    CBattlefield& f = doc.Battlefield;
    f.BattleSize = o.BattleSize;
    f.MoveOrder = 2;
    f.termination = 1;
    const int quarter = o.BattleSize / 4;
    const int box = o.BattleSize / 4;
    f.R_box_l[1] = f.R_box_w[1] = box;
    f.RED_cen_x[1] = f.RED_cen_y[1] = quarter;
    f.B_box_l[1] = f.B_box_w[1] = box;
    f.BLUE_cen_x[1] = f.BLUE_cen_y[1] = o.BattleSize - quarter;
    doc.RedForce.GoalFlagX = doc.RedForce.GoalFlagY = o.BattleSize - 2;  // the BLUE flag
    doc.BlueForce.GoalFlagX = doc.BlueForce.GoalFlagY = 3;                // the RED flag

    for (Side side : {Side::Red, Side::Blue}) {
        CForce& force = doc.Force(side);
        force.NumAgents = o.PerSide;
        force.NumSquads = 1;
        force.num_per_squad[1] = o.PerSide;
        force.personality = 1;
        force.w1_a[1] = 10, force.w2_a[1] = 40, force.w3_a[1] = 10, force.w4_a[1] = 40;
        force.w5_a[1] = 0, force.w6_a[1] = 50;
        force.w1_i[1] = 10, force.w2_i[1] = -40, force.w3_i[1] = 10, force.w4_i[1] = -20;
        force.w5_i[1] = 30, force.w6_i[1] = 10;
        force.A_S_RANGE[1] = o.SensorRange;
        force.I_S_RANGE[1] = o.SensorRange;
        force.A_F_RANGE[1] = o.FireRange;
        force.I_F_RANGE[1] = o.FireRange > 1 ? o.FireRange - 1 : o.FireRange;
        force.A_C_RANGE[1] = 2;
        force.I_C_RANGE[1] = 2;
        force.A_M_RANGE[1] = o.MoveRange;
        force.I_M_RANGE[1] = o.MoveRange > 1 ? o.MoveRange - 1 : o.MoveRange;
        force.shot_prob_alive[1] = o.ShotProb;
        force.shot_prob_injured[1] = o.ShotProb / 2;
        force.A_R_max_eng_num[1] = 3;
        force.I_R_max_eng_num[1] = 2;
        force.movement_flag[1] = o.MetaPersonality ? 1 : 0;
        force.A_ADVANCE_num[1] = 3;
        force.A_CLUSTER_num[1] = 5;
        force.A_COMBAT_num[1] = 2;
        force.COMBAT_flag[1] = o.MetaPersonality ? 1 : 0;
        force.CLUSTER_flag[1] = o.MetaPersonality ? 1 : 0;
        force.ADVANCE_flag[1] = o.MetaPersonality ? 1 : 0;
        if (o.Communications) {
            force.CommOn = 1;
            force.COMM_range = 8;
            force.A_COMM_weight = 0.5f;
            force.I_COMM_weight = 0.25f;
            force.CommMatrix[1][1] = 1;
        }
        if (o.LocalCommand) {
            CLocalCommand& local = doc.Local(side);
            local.LocalCommandOn = 1;
            local.NumLocalCommanders = 2;
            local.patch_type = 1;
            for (int c = 1; c <= 2; ++c) {
                local.undr_cmd[c] = o.PerSide / 4;
                local.cmnd_rad[c] = 3;
                local.SENSOR_rng[c] = o.SensorRange + 2;
                local.w1[c] = 10, local.w2[c] = 40, local.w3[c] = 10, local.w4[c] = 40, local.w6[c] = 50;
                local.ADV_range[c] = 3;
                local.w_alpha[c] = 1, local.w_beta[c] = 0.5f, local.w_delta[c] = 0.5f, local.w_gamma[c] = 0.25f;
            }
            local.w7 = 0.5f;
            local.w8 = 0.5f;
        }
    }
    // What the scenario readers do before reading weapon data.
    doc.SetDefaultWeaponParameters();
    if (o.Weapons) {
        doc.RedForce.WeaponsOn = 1;
        doc.BlueForce.WeaponsOn = 1;
    }
    if (o.Terrain) {
        f.TerrainMode = 1;
        f.terrain_blocks = 3;
        const int types[] = {Lava, Pillar, PassableII};
        for (int b = 1; b <= 3; ++b) {
            f.TerrainBlockType[b] = types[b - 1];
            f.TerrainBlockLength[b] = 4;
            f.TerrainBlockWidth[b] = 6;
            f.TerrainBlockX[b] = o.BattleSize / 2 + (b - 2) * 10;
            f.TerrainBlockY[b] = o.BattleSize / 2;
            f.TerrainBlockUsed[b] = 1;
        }
        f.TerrainModifiersOn = 1;
        f.LineOfSightOn = 1;
    }
    doc.InitializeForces();
    doc.ResetBattlefield();
}

}  // namespace brevimar::testing
