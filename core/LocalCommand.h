// One side's local commanders: each leads up to 50 subordinates toward a goal
// cell it chooses every step from the patches around it.
//
// Scenario keywords that carry the side in their prefix (R_undr_cmd /
// B_undr_cmd) are stored under the name without the prefix.
#pragma once

#include "core/Limits.h"

namespace brevimar {

// CommandRole values.
constexpr int NoCommandRole = 0;
constexpr int Subordinate = 1;
constexpr int LocalCommander = 2;

// A commander's seven personality weights: own alive, enemy alive, own
// injured, enemy injured, own flag, enemy flag, terrain.
struct CCommanderWeights {
    float w1[CommanderSlots] = {};
    float w2[CommanderSlots] = {};
    float w3[CommanderSlots] = {};
    float w4[CommanderSlots] = {};
    float w5[CommanderSlots] = {};
    float w6[CommanderSlots] = {};
    float w_terrain[CommanderSlots] = {};
};

struct CLocalCommand {
    int NumLocalCommanders = 0;  // num_RED_comdrs / num_BLUE_comdrs
    int LocalCommandOn = 0;      // RED_command_flag / BLUE_command_flag
    int patch_type = 1;          // 1: 3 x 3 patches, 2: 5 x 5 patches
    int patch_flag = 0;          // ties: 0 random, otherwise nearest to the previous goal

    // Per commander c = 1..10.
    int CommanderAgent[CommanderSlots] = {};                  // agent index of commander c
    int SubordinateCount[CommanderSlots] = {};                // subordinates in the list (undr_cmd at set-up)
    int Subordinates[CommanderSlots][SubordinateSlots] = {};  // entries 1..SubordinateCount
    int CommanderGoalX[CommanderSlots] = {};
    int CommanderGoalY[CommanderSlots] = {};
    int CommanderPrevGoalX[CommanderSlots] = {};  // goal of the last step that saw an enemy
    int CommanderPrevGoalY[CommanderSlots] = {};
    float CommanderHealth[CommanderSlots] = {};   // -1..1, read by the global commander

    int undr_cmd[CommanderSlots] = {};          // agents under command
    int cmnd_rad[CommanderSlots] = {};          // command radius r; a patch is 2r + 1 wide
    int CommandPatchSize[CommanderSlots] = {};  // 3r + 1 (patch type 1) or 5r + 2
    int SENSOR_rng[CommanderSlots] = {};        // the commander's sensor range

    // The commander's personality as the scenario gives it: own alive, enemy
    // alive, own injured, enemy injured, own flag, enemy flag, terrain.
    float w1[CommanderSlots] = {};
    float w2[CommanderSlots] = {};
    float w3[CommanderSlots] = {};
    float w4[CommanderSlots] = {};
    float w5[CommanderSlots] = {};
    float w6[CommanderSlots] = {};
    float w_terrain[CommanderSlots] = {};
    // The weights the step uses: derived afresh at every force set-up (the
    // scenario's weights over the sum of their magnitudes, the first six
    // drawn with random personalities), so repeated set-ups agree bit for bit.
    CCommanderWeights Normalised;

    // The commander's constraints.
    int ADV_range[CommanderSlots] = {};  // threshold box of the commander's scan
    int ADVANCE_num[CommanderSlots] = {};
    int CLUSTER_num[CommanderSlots] = {};
    int COMBAT_num[CommanderSlots] = {};

    // Patch-score weights.
    float w_alpha[CommanderSlots] = {};
    float w_beta[CommanderSlots] = {};
    float w_delta[CommanderSlots] = {};
    float w_gamma[CommanderSlots] = {};

    // Global-command weights: defaults, and the values in force this step.
    float w_obey_GC_def[CommanderSlots] = {};
    float w_help_LC_def[CommanderSlots] = {};
    float ObeyGlobalWeight[CommanderSlots] = {};
    float HelpLocalWeight[CommanderSlots] = {};

    // Per agent i = 1..300.
    int CommandRole[AgentSlots] = {};        // 0 none, 1 subordinate, 2 local commander
    int CommanderOf[AgentSlots] = {};        // command a subordinate follows
    int CommanderNumberOf[AgentSlots] = {};  // command a local commander leads
    int AgentGoalX[AgentSlots] = {};         // subordinate's copy of its commander's goal
    int AgentGoalY[AgentSlots] = {};

    // Weights agents give their local commander (w7) and its goal (w8):
    // w7:R_loc_comdr for RED; w7:B_loc_comdr and w8:B_loc_goal for BLUE.
    float w7 = 0;
    float w8 = 0;
    // This step's copies of w7 and w8.
    float LocalCommanderWeight = 0;
    float LocalGoalWeight = 0;
};

}  // namespace brevimar
