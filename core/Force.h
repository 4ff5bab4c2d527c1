// One force: its squad parameter rows, its agents and the working arrays the
// step keeps per agent. RED and BLUE share the layout; fields named by a
// scenario keyword carry RED's keyword in both blocks (`w1_a:R_alive_R` is
// `w1_a`, BLUE's `w1_a:B_alive_B` too), with ':' written '_', a bracketed
// pair turned into two suffixes (`C_RANGE_(m,M)` is `C_RANGE_m`, `C_RANGE_M`)
// and prefixes that only name the side dropped (`RED_recon_time` is
// `recon_time`).
#pragma once

#include "core/AgentGrid.h"
#include "core/Limits.h"

namespace brevimar {

// Index of a personality weight in AliveWeight / InjuredWeight.
enum WeightIndex {
    W1 = 1,  // own alive
    W2,      // enemy alive
    W3,      // own injured
    W4,      // enemy injured
    W5,      // own flag
    W6,      // enemy flag
    WTerrain,
    WArea,
    WFlock,
    WeightSlots
};

// Alive / injured column of the squad weapon functions.
constexpr int AliveColumn = 0;
constexpr int InjuredColumn = 1;
constexpr int HitTableRanges = 100;

// P(hit) versus range of the squad-specific weapon functions W = 1..10.
struct SquadWeaponFunction {
    int function_type = 0;  // 1 weapon function, 2 linear fall-off, otherwise single-shot P(k)
    int sensor_type = 0;    // 0 cookie-cutter table, otherwise the curve over Euclidean range
    double plow[SquadSlots][2] = {};   // p (r < r_min)
    double phigh[SquadSlots][2] = {};  // p (r > r_max)
    double pmin[SquadSlots][2] = {};   // p (r = r_min)
    double pmax[SquadSlots][2] = {};   // p (r = r_max)
    double rmin[SquadSlots][2] = {};
    double rmax[SquadSlots][2] = {};
    double power[SquadSlots][2] = {};  // fall-off power n
    int decay[SquadSlots][2] = {{1, -1}, {1, -1}, {1, -1}, {1, -1}, {1, -1}, {1, -1},
                                {1, -1}, {1, -1}, {1, -1}, {1, -1}, {1, -1}};  // 0 slow, otherwise fast
    float p_r[SquadSlots][HitTableRanges][2] = {};  // P(hit) at range 0..99
    int weapon_squad[SquadSlots] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};  // function W used by squad s
};

// Counts left by the latest move-phase scan of a side (they describe only
// the agent handled last).
struct NeighborScan {
    int EnemiesSensed = 0;
    int FriendsInThreshold = 0;  // 301 when the agent's movement constraints are off
    int InjuredEnemiesSensed = 0;
    int InjuredFriendsSensed = 0;
};

struct CForce {
    // --- squads
    int NumSquads = 1;                      // squads
    int num_per_squad[SquadSlots] = {};
    // Agents a right click took off since the forces were last deployed, by
    // squad: they stay in their slots, dead, but are no longer the scenario's.
    int HandRemoved[SquadSlots] = {};
    // Agents a right click placed since then: they stand in the last slots,
    // whatever their squad, with the values the placement gave them.
    int HandPlaced = 0;

    // --- the goal flag: the enemy's flag. RED's block holds B_flag_(x,y),
    // BLUE's holds R_flag_(x,y).
    int GoalFlagX = 0;
    int GoalFlagY = 0;

    int NumAgents = 10;  // num_reds (NumRed) / num_blues (NumBlue), at most 300

    // --- per-squad rows
    int A_S_RANGE[SquadSlots] = {};
    int A_F_RANGE[SquadSlots] = {};
    int I_S_RANGE[SquadSlots] = {};
    int I_F_RANGE[SquadSlots] = {};
    float shot_prob_alive[SquadSlots] = {};
    float shot_prob_injured[SquadSlots] = {};
    int personality = 0;  // 1: weights from the squad rows; otherwise drawn per agent
    int near_terrain_flag = 0;
    float w1_a[SquadSlots] = {};
    float w2_a[SquadSlots] = {};
    float w3_a[SquadSlots] = {};
    float w4_a[SquadSlots] = {};
    float w5_a[SquadSlots] = {};
    float w6_a[SquadSlots] = {};
    float w1_i[SquadSlots] = {};
    float w2_i[SquadSlots] = {};
    float w3_i[SquadSlots] = {};
    float w4_i[SquadSlots] = {};
    float w5_i[SquadSlots] = {};
    float w6_i[SquadSlots] = {};
    float w_terrain_alive[SquadSlots] = {};
    float w_terrain_injured[SquadSlots] = {};
    int movement_flag[SquadSlots] = {};  // 1: meta-personality rules and minimum distances apply
    int A_ADVANCE_num[SquadSlots] = {};
    int I_ADVANCE_num[SquadSlots] = {};
    int A_C_RANGE[SquadSlots] = {};
    int I_C_RANGE[SquadSlots] = {};
    int A_CLUSTER_num[SquadSlots] = {};
    int I_CLUSTER_num[SquadSlots] = {};
    int A_COMBAT_num[SquadSlots] = {};
    int I_COMBAT_num[SquadSlots] = {};
    double A_HOLD_f[SquadSlots] = {};
    double I_HOLD_f[SquadSlots] = {};
    int A_PURSUIT1_num[SquadSlots] = {};
    int I_PURSUIT1_num[SquadSlots] = {};
    int A_PURSUIT2_num[SquadSlots] = {};
    int I_PURSUIT2_num[SquadSlots] = {};
    int A_RETREAT_num[SquadSlots] = {};
    int I_RETREAT_num[SquadSlots] = {};
    int A_SUPPORT1_num[SquadSlots] = {};
    int I_SUPPORT1_num[SquadSlots] = {};
    int A_SUPPORT2_num[SquadSlots] = {};
    int I_SUPPORT2_num[SquadSlots] = {};
    int ADVANCE_flag[SquadSlots] = {};
    int CLUSTER_flag[SquadSlots] = {};
    int COMBAT_flag[SquadSlots] = {};
    int HOLD_flag[SquadSlots] = {};
    int PURSUIT1_flag[SquadSlots] = {};
    int PURSUIT2_flag[SquadSlots] = {};
    int RETREAT_flag[SquadSlots] = {};
    int SUPPORT1_flag[SquadSlots] = {};
    int SUPPORT2_flag[SquadSlots] = {};
    int R_R_min_dist_flag_flag[SquadSlots] = {};
    int R_B_min_dist_flag_flag[SquadSlots] = {};
    int R_R_goal_min_flag[SquadSlots] = {};
    int R_terrain_min_flag[SquadSlots] = {};

    // --- meta-personality search ranges (min, max)
    int C_RANGE_m = 0, C_RANGE_M = 1;
    int A_ADV_m = 0, A_ADV_M = 1;
    int I_ADV_m = 0, I_ADV_M = 1;
    int A_CLUS_m = 0, A_CLUS_M = 1;
    int I_CLUS_m = 0, I_CLUS_M = 1;
    int A_COMB_m = 0, A_COMB_M = 1;
    int I_COMB_m = 0, I_COMB_M = 1;

    // --- minimum distances (friend, own goal, enemy, terrain), movement and engagement
    float A_R_R_min_dist[SquadSlots] = {};
    float I_R_R_min_dist[SquadSlots] = {};
    float A_R_R_goal_min[SquadSlots] = {};
    float I_R_R_goal_min[SquadSlots] = {};
    float A_R_B_min_dist[SquadSlots] = {};
    float I_R_B_min_dist[SquadSlots] = {};
    float A_R_terrain_min[SquadSlots] = {};
    float I_R_terrain_min[SquadSlots] = {};
    int A_M_RANGE[SquadSlots] = {};
    int I_M_RANGE[SquadSlots] = {};
    int A_R_max_eng_num[SquadSlots] = {};
    int I_R_max_eng_num[SquadSlots] = {};

    // --- communications, side-wide
    int CommOn = 0;  // COMM_flag
    int COMM_range = 0;
    float A_COMM_weight = 0;
    float I_COMM_weight = 0;
    // The values in force this step: passable terrain lowers these, never the
    // scenario's COMM_range and weights above, which every set-up starts from.
    int CommRange = 0;
    float CommWeightAlive = 0;
    float CommWeightInjured = 0;
    int CommMatrix[SquadSlots][SquadSlots] = {};  // [a][b] == 1: squad a hears squad b

    // --- reconstitution and defence
    int recon_time = 1;
    int defense_flag = 0;  // 1: states fall only after the squad's strength in hits
    int alive_strength[SquadSlots] = {};
    int injured_strength[SquadSlots] = {};

    // --- squad area and flock
    float w_area_alive[SquadSlots] = {};
    float w_area_injured[SquadSlots] = {};
    float A_R_area_min[SquadSlots] = {};
    float I_R_area_min[SquadSlots] = {};
    int R_area_min_flag[SquadSlots] = {};
    int AreaCenterX[SquadSlots] = {};
    int AreaRangeX[SquadSlots] = {};
    int AreaCenterY[SquadSlots] = {};
    int AreaRangeY[SquadSlots] = {};
    float w_flock_alive[SquadSlots] = {};
    float w_flock_injured[SquadSlots] = {};
    float A_R_flock_min[SquadSlots] = {};
    float I_R_flock_min[SquadSlots] = {};
    float A_R_flock_max[SquadSlots] = {};
    float I_R_flock_max[SquadSlots] = {};

    // --- weapons
    int WeaponsOn = 0;            // RedWeaponsOn / BlueWeaponsOn: agent-specific weapons in use
    int WeaponAssignType = 1;     // 1: weapons assigned per squad
    int SquadWeaponsDefined = 0;  // while set, the default assignment keeps the squad functions
    int AgentWeapon[AgentSlots] = {};  // 0 grenade, 1..5 point-to-point weapon
    int grenades[SquadSlots] = {};
    int point_to_point_1[SquadSlots] = {};
    int point_to_point_2[SquadSlots] = {};
    int point_to_point_3[SquadSlots] = {};
    int point_to_point_4[SquadSlots] = {};
    int point_to_point_5[SquadSlots] = {};
    SquadWeaponFunction WeaponFunction;

    // --- inter-squad weights and movement gate
    double SquadWeightMatrix[SquadSlots][SquadSlots] = {};
    int MoveGateByTime = 0;  // 0: move with a probability; otherwise every n steps
    float MoveProbAlive[SquadSlots] = {};
    float MoveProbInjured[SquadSlots] = {};
    int MovePeriodAlive[SquadSlots] = {};
    int MovePeriodInjured[SquadSlots] = {};
    int MinSensorRange = 0;  // smallest alive sensor range over the squads

    // --- agents as an agent file gave them; battlefield set-up redeploys from these
    int StoredAgentState[AgentSlots] = {};
    int StoredAgentSquad[AgentSlots] = {};
    int StoredAgentX[AgentSlots] = {};
    int StoredAgentY[AgentSlots] = {};

    // --- per agent i = 1..NumAgents
    int AgentSquad[AgentSlots] = {};
    // Positions and states are written only through PlaceAgent and
    // SetAgentState (or followed by RebuildAgentGrid), which keep Grid current.
    int AgentX[AgentSlots] = {};
    int AgentY[AgentSlots] = {};
    int AgentState[AgentSlots] = {};  // 2 alive, 1 injured, 0 dead
    CAgentGrid Grid;  // the living agents by coarse cell

    // Copies of the squad's parameters, alive and injured.
    int AliveStrength[AgentSlots] = {};
    int InjuredStrength[AgentSlots] = {};
    int SensorRangeAlive[AgentSlots] = {};
    int SensorRangeInjured[AgentSlots] = {};
    int FireRangeAlive[AgentSlots] = {};
    int FireRangeInjured[AgentSlots] = {};
    int MoveRangeAlive[AgentSlots] = {};
    int MoveRangeInjured[AgentSlots] = {};
    float ShotProbAlive[AgentSlots] = {};
    float ShotProbInjured[AgentSlots] = {};
    int MaxTargetsAlive[AgentSlots] = {};
    int MaxTargetsInjured[AgentSlots] = {};
    float FriendMinDistAlive[AgentSlots] = {};   // A:R_R_min_dist
    float FriendMinDistInjured[AgentSlots] = {};
    float EnemyMinDistAlive[AgentSlots] = {};    // A:R_B_min_dist
    float EnemyMinDistInjured[AgentSlots] = {};
    float GoalMinDistAlive[AgentSlots] = {};     // A:R_R_goal_min
    float GoalMinDistInjured[AgentSlots] = {};
    float TerrainMinDistAlive[AgentSlots] = {};  // A:R_terrain_min
    float TerrainMinDistInjured[AgentSlots] = {};
    float AreaMinDistAlive[AgentSlots] = {};     // A:R_area_min
    float AreaMinDistInjured[AgentSlots] = {};
    float FlockMinAlive[AgentSlots] = {};        // A:R_flock_min
    float FlockMinInjured[AgentSlots] = {};
    float FlockMaxAlive[AgentSlots] = {};        // A:R_flock_max
    float FlockMaxInjured[AgentSlots] = {};
    int ConstraintRangeAlive[AgentSlots] = {};   // A:C_RANGE
    int ConstraintRangeInjured[AgentSlots] = {};
    int AdvanceNumAlive[AgentSlots] = {};
    int AdvanceNumInjured[AgentSlots] = {};
    int ClusterNumAlive[AgentSlots] = {};
    int ClusterNumInjured[AgentSlots] = {};
    int CombatNumAlive[AgentSlots] = {};
    int CombatNumInjured[AgentSlots] = {};
    double HoldFractionAlive[AgentSlots] = {};
    double HoldFractionInjured[AgentSlots] = {};
    int Pursuit1NumAlive[AgentSlots] = {};
    int Pursuit1NumInjured[AgentSlots] = {};
    int Pursuit2NumAlive[AgentSlots] = {};
    int Pursuit2NumInjured[AgentSlots] = {};
    int RetreatNumAlive[AgentSlots] = {};
    int RetreatNumInjured[AgentSlots] = {};
    int Support1NumAlive[AgentSlots] = {};
    int Support1NumInjured[AgentSlots] = {};
    int Support2NumAlive[AgentSlots] = {};
    int Support2NumInjured[AgentSlots] = {};
    int MovementFlag[AgentSlots] = {};

    // Current ranges, switched between the alive and injured copies by state.
    int SensorRange[AgentSlots] = {};
    int FireRange[AgentSlots] = {};
    int ConstraintRange[AgentSlots] = {};
    float DistanceNormaliser[AgentSlots] = {};  // sensor range at set-up times 1.4142135

    // Normalised personality weights, indexed by WeightIndex.
    float AliveWeight[WeightSlots][AgentSlots] = {};
    float InjuredWeight[WeightSlots][AgentSlots] = {};
    float MaxAliveWeight[AgentSlots] = {};  // largest |w1..w6|
    float MaxInjuredWeight[AgentSlots] = {};

    // Effective weights for the current step.
    float EffW1[AgentSlots] = {};
    float EffW2[AgentSlots] = {};
    float EffW3[AgentSlots] = {};
    float EffW4[AgentSlots] = {};
    float EffW5[AgentSlots] = {};
    float EffW6[AgentSlots] = {};
    float EffWTerrain[AgentSlots] = {};
    float EffWArea[AgentSlots] = {};
    float FlockWeight[AgentSlots] = {};

    // Counters.
    int EnemyCount[AgentSlots] = {};  // length of the agent's targeting list
    int EngagedTargets[AgentSlots] = {};  // targets the agent's fire is shared over this step (linear fall-off)
    int HitCount[AgentSlots] = {};
    int ReconstitutionTimer[AgentSlots] = {};

    // Scratch of the side's move phase: they describe the agent handled last.
    NeighborScan Scan;
    int FriendSensed[AgentSlots] = {};   // by friend index
    int EnemySensed[AgentSlots] = {};    // by enemy index
    int FriendViaComm[AgentSlots] = {};  // friend reported by a linked squad-mate
    int EnemyViaComm[AgentSlots] = {};
    double LocalCenterX = 0;  // local centre of mass of the flock
    double LocalCenterY = 0;

    // Agent i takes the parameters of squad s (1..10): every copy, or the
    // copies an agent added by hand takes (all but the hold fraction and the
    // pursuit, retreat and support thresholds).
    void CopySquadParameters(int i, int s);
    void CopyCoreSquadParameters(int i, int s);
    // Every agent takes the copies (and, with squad personalities, the
    // weights) of the squad it now belongs to, and its current ranges by its
    // state: an agent-file deployment renumbers agents and their squads.
    void TakeOwnSquadValues();
    // Agent i's sensor, fire and constraint ranges for the state it is in
    // (the alive or the injured copy), and its distance normaliser from its
    // sensor range.
    void TakeCurrentRanges(int i, int state);
    void TakeDistanceNormaliser(int i);
    // The step's communications range and weights from the scenario's, which
    // passable terrain then lowers step by step.
    void TakeCommValues();

    // Squad sizes are made to add up to the agent count: the first squad at
    // which the running total reaches or passes the count becomes the last
    // one, and the last squad absorbs any shortfall.
    void ReconcileSquadSizes();
    // Agents are numbered squad by squad.
    void NumberAgentsBySquad();

    // Whether a right click placed or took off an agent since the forces
    // were last deployed; the agents taken off, held to their squads' sizes,
    // from squad s and in all; the counts as a save writes them, without those agents; and
    // no hand edit to take in (the force is another's now: a file's, or the
    // scenario's again after a batch).
    bool HandEdited() const;
    int HandRemovedFrom(int s) const;
    int HandRemovedCount() const;
    void DropHandRemoved();
    void ForgetHandEdits();

    // The writers of agent positions and states: each keeps Grid current as
    // it writes. RebuildAgentGrid follows a bulk write of the arrays instead.
    void PlaceAgent(int i, int x, int y);
    void SetAgentState(int i, int state);
    void RebuildAgentGrid();
    // Every agent held where the arrays put it (a quick test, no cells read).
    bool AgentGridFollowsAgents() const;
    // Grid equals a grid rebuilt from the arrays, cell by cell.
    bool AgentGridCurrent() const;
};

struct CRedForce : CForce {};
struct CBlueForce : CForce {};

}  // namespace brevimar
