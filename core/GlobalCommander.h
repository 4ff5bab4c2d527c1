// One side's global commander: it sorts the battlefield edge into 16 sectors
// around each local commander and sends each command toward a target sector
// and, when a neighbouring command is in worse health, toward its help cell.
#pragma once

#include "core/Limits.h"

namespace brevimar {

struct CGlobalCommander {
    int GlobalCommandOn = 0;  // RED_global_flag / BLUE_global_flag

    // Per local commander c (1..10) and sector s (1..16).
    float SectorWeight[CommanderSlots][SectorSlots] = {};        // area of sector s seen from c, at least 1
    float SectorAliveTally[CommanderSlots][SectorSlots] = {};    // normalised density of alive enemies
    float SectorInjuredTally[CommanderSlots][SectorSlots] = {};  // normalised density of injured enemies

    float GC_fear_index = 0;  // share of the enemy term in a sector's score

    // Per sector s (1..16), laid by battlefield set-up.
    float SectorProfile[SectorSlots] = {};  // preference profile, 1.0 at the side's peak sector
    int SectorEdgeX[SectorSlots] = {};      // reference point of the sector on the edge
    int SectorEdgeY[SectorSlots] = {};

    // Orders per local commander c: target cell and help cell ((0, 0) = no help).
    int GcTargetX[CommanderSlots] = {};
    int GcTargetY[CommanderSlots] = {};
    int GcHelpX[CommanderSlots] = {};
    int GcHelpY[CommanderSlots] = {};

    float GC_w_alpha = 0;        // weight of the alive-enemy density
    float GC_w_beta = 0;         // weight of the injured-enemy density
    float GC_frac_R[3] = {};     // [1]: near-swath radius as a fraction of the edge distance
    float GC_w_swath[4] = {};    // [1] near amount, [3] far amount

    float GC_max_red_f = 0;      // m in the commander-health formula
    int GC_help_radius = 0;      // half side of the square searched for commands to help
    float GC_h_thresh = 0;       // a commander helps only when its health is above this
    float GC_rel_h_thresh = 0;   // ... and the other's relative shortfall reaches this
};

}  // namespace brevimar
