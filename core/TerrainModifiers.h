// Passable terrain (types 3..5) lowers the parameters of the agents standing
// on it. Tables are [squad 1..10][terrain column 1..3 for types 3..5]; the
// int tables hold amounts to subtract (added for defence), the float tables
// factors. Names follow the terrain-modifier file's keywords (`A:comm_range`
// is `A_comm_range`).
#pragma once

#include "core/Limits.h"

namespace brevimar {

constexpr int TerrainColumns = 4;

struct CTerrainModifierSet {
    int A_comm_range[SquadSlots][TerrainColumns] = {};
    int I_comm_range[SquadSlots][TerrainColumns] = {};
    float A_comm_weight[SquadSlots][TerrainColumns] = {};
    float I_comm_weight[SquadSlots][TerrainColumns] = {};
    int A_fire_range[SquadSlots][TerrainColumns] = {};
    int I_fire_range[SquadSlots][TerrainColumns] = {};
    int A_max_tgts_alive[SquadSlots][TerrainColumns] = {};
    int I_max_tgts_alive[SquadSlots][TerrainColumns] = {};
    int A_movement_range[SquadSlots][TerrainColumns] = {};
    int I_movement_range[SquadSlots][TerrainColumns] = {};
    float A_pk_alive[SquadSlots][TerrainColumns] = {};
    float I_pk_alive[SquadSlots][TerrainColumns] = {};
    int A_sensor_range[SquadSlots][TerrainColumns] = {};
    int I_sensor_range[SquadSlots][TerrainColumns] = {};
    int A_threshold_range[SquadSlots][TerrainColumns] = {};
    int I_threshold_range[SquadSlots][TerrainColumns] = {};
    int A_defense_alive[SquadSlots][TerrainColumns] = {};
    int I_defense_alive[SquadSlots][TerrainColumns] = {};
    // Probability that an agent of squad s on the terrain is seen.
    double TerrainVisibility[SquadSlots][TerrainColumns] = {};
};

// What an agent's terrain-modifiable values were when the forces were set up;
// open ground restores them.
struct CAgentBaseCopies {
    int BaseSensorRange[AgentSlots] = {};
    int BaseFireRange[AgentSlots] = {};
    int BaseConstraintRange[AgentSlots] = {};
    int BaseSensorRangeAlive[AgentSlots] = {};
    int BaseFireRangeAlive[AgentSlots] = {};
    int BaseConstraintRangeAlive[AgentSlots] = {};
    int BaseSensorRangeInjured[AgentSlots] = {};
    int BaseFireRangeInjured[AgentSlots] = {};
    int BaseConstraintRangeInjured[AgentSlots] = {};
    int BaseMoveRangeAlive[AgentSlots] = {};
    int BaseMoveRangeInjured[AgentSlots] = {};
    int BaseCommRange[AgentSlots] = {};
    int BaseAliveStrength[AgentSlots] = {};
    int BaseInjuredStrength[AgentSlots] = {};
    int BaseMaxTargetsAlive[AgentSlots] = {};
    int BaseMaxTargetsInjured[AgentSlots] = {};
    float BaseCommWeightAlive[AgentSlots] = {};
    float BaseCommWeightInjured[AgentSlots] = {};
    float BaseShotProbAlive[AgentSlots] = {};
    float BaseShotProbInjured[AgentSlots] = {};
};

struct CForce;
// The base copies of every agent of the force, which leaves the terrain.
void TakeBaseCopies(const CForce& force, CAgentBaseCopies& base, int* terrainModified);
// The same for agent i alone (one added by hand).
void TakeBaseCopy(const CForce& force, CAgentBaseCopies& base, int* terrainModified, int i);

struct CTerrainModifiers {
    int RedTerrainModified[AgentSlots] = {};  // 1 while the agent carries modifiers
    int BlueTerrainModified[AgentSlots] = {};
    CTerrainModifierSet Red;
    CTerrainModifierSet Blue;
    CAgentBaseCopies RedBase;
    CAgentBaseCopies BlueBase;
};

}  // namespace brevimar
