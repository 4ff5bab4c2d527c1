// The one-sided genetic algorithm's share of the document: population
// records, gene tables, mission objective, run-time parameters, the state of
// the generation being evaluated and the per-generation history. The search
// itself lives in experiments/; the document only holds its data.
#pragma once

#include "core/Limits.h"

namespace brevimar {

constexpr int GaGeneSlots = 201;        // genes 1..200 (entry 0 unused)
constexpr int GaMaxPopulation = 300;    // members 0..299; record P is the best slot
constexpr int GaRecordSlots = GaMaxPopulation + 1;
constexpr int GaMaxConditions = 100;    // initial conditions 1..100
constexpr int GaConditionSlots = GaMaxConditions + 1;
constexpr int GaHistorySlots = 1000;    // per-generation entries 0..999
constexpr int GaMaxGenerations = GaHistorySlots - 1;
constexpr int GaPrimitiveCount = 10;    // mission primitives 1..10
constexpr int GaPrimitiveSlots = GaPrimitiveCount + 1;
constexpr int GaModeSlots = 9;          // search-space modes 1..8
constexpr int GaPersonalityGenes = 63;  // genes of the personality searches
constexpr int GaCompositionGenes = 75;  // bits 1..3, sizes 4..11, matrix 12..75

// One chromosome record.
struct CGaMember {
    double Gene[SquadSlots][GaGeneSlots] = {};  // [squad block][gene]
    double Fitness = 0;
    double NormalisedFitness = 0;  // selection scratch
    double CumulativeFitness = 0;
};

// The population and the mating pool: large, so held on the heap.
struct CGaRecords {
    CGaMember GaPopulation[GaRecordSlots];
    CGaMember GaMatingPool[GaRecordSlots];
};

// The RED parameters a chromosome decodes into, squad rows 1..10 and the
// side-wide values: the live force's copy while a member is evaluated, and
// GaBestDecoded for the best-chromosome displays.
struct CGaDecoded {
    int NumRed = 0;
    int NumSquads = 0;
    int num_per_squad[SquadSlots] = {};
    int A_S_RANGE[SquadSlots] = {}, I_S_RANGE[SquadSlots] = {};
    int A_F_RANGE[SquadSlots] = {}, I_F_RANGE[SquadSlots] = {};
    int A_C_RANGE[SquadSlots] = {}, I_C_RANGE[SquadSlots] = {};
    int A_M_RANGE[SquadSlots] = {}, I_M_RANGE[SquadSlots] = {};
    // Personality weights w1..w6, alive [0] and injured [1], at index W1..W6.
    float Weight[2][7][SquadSlots] = {};
    int A_ADVANCE_num[SquadSlots] = {}, I_ADVANCE_num[SquadSlots] = {};
    int A_CLUSTER_num[SquadSlots] = {}, I_CLUSTER_num[SquadSlots] = {};
    int A_COMBAT_num[SquadSlots] = {}, I_COMBAT_num[SquadSlots] = {};
    float A_R_R_min_dist[SquadSlots] = {}, I_R_R_min_dist[SquadSlots] = {};
    float A_R_B_min_dist[SquadSlots] = {}, I_R_B_min_dist[SquadSlots] = {};
    float A_R_R_goal_min[SquadSlots] = {}, I_R_R_goal_min[SquadSlots] = {};
    float shot_prob_alive[SquadSlots] = {}, shot_prob_injured[SquadSlots] = {};
    int A_R_max_eng_num[SquadSlots] = {}, I_R_max_eng_num[SquadSlots] = {};
    int alive_strength[SquadSlots] = {}, injured_strength[SquadSlots] = {};
    int COMM_range = 0;
    float A_COMM_weight = 0, I_COMM_weight = 0;
    int recon_time = 0;
    int red_frat_rad = 0;
    float red_frat_prob = 0;
    int R_box_l[SquadSlots] = {}, R_box_w[SquadSlots] = {};
    int RED_cen_x[SquadSlots] = {}, RED_cen_y[SquadSlots] = {};
    int CommMatrix[SquadSlots][SquadSlots] = {};
    double SquadWeightMatrix[SquadSlots][SquadSlots] = {};
};

struct CGaData {
    // --- search space
    int GaSearchMode = 1;
    int GaMultiSquad = 0;
    int GaSearchModeFlags[GaModeSlots] = {};  // modes 1..8

    // --- gene tables
    int GeneOn[GaGeneSlots] = {};
    double GeneMin[GaGeneSlots] = {};
    double GeneMax[GaGeneSlots] = {};
    int ActiveGenes[GaGeneSlots] = {};  // 1..ActiveGeneCount
    int GeneSlot[GaGeneSlots] = {};     // position in ActiveGenes, 0 when off
    int ActiveGeneCount = 0;
    double GaWeightThreshold = 1.0;

    // --- mission objective, primitives 1..10
    double MissionWeight[GaPrimitiveSlots] = {};
    int MissionUsed[GaPrimitiveSlots] = {};
    double PrimitiveScore[GaPrimitiveSlots][GaConditionSlots] = {};  // [k][ic]

    // --- run-time parameters
    int GaPopulationSize = 15;
    int GaInitialConditions = 2;
    int GaMaxTimeToFlag = 50;
    int GaPenaltyPower = 2;
    int GaBestToFile = 0;
    int GaReserved1 = 0;  // two values of the input file that nothing reads
    int GaReserved2 = 0;
    int GaTerminationRule = 4;
    double GaCrossoverProb = 0.75;
    double GaMutationProb = 0.1;
    double GaContainmentRange = 10.0;
    double GaContainmentNumber = 10.0;
    double GaCenterOfMassFraction = 0.5;
    int GaSymmetrize = 0;
    int GaSquadCount = 1;
    int GaMaxSquadCount = 8;
    double GaMaxSquadSize = 15.0;
    int GaTotalForceSize = 50;
    int GaSearchSquadMatrix = 1;
    double GaThreshold1 = 0.1;
    double GaThreshold2 = 0.1;
    double GaMaxMutationSize = 8.0;
    int GaSeedAllLinks = 1;
    int GaForceSymmetry = 1;
    double GaLinkProbability = 0.5;

    // --- evaluation state of the generation being computed
    int GaMemberIndex = 0;
    int GaConditionIndex = 0;
    int GaTime = 0;
    int GaEndTime = 0;  // the step at which the run ended
    int GaMinTimeToFlag = 0;
    int GaDistanceNorm = 1;
    int GaContainmentRadius = 0;
    int GaRedContainmentCap = 0;
    int GaBlueContainmentCap = 0;
    int GaRedContainmentStart = 0;
    int GaBlueContainmentStart = 0;
    int GaContainmentStart = 0;
    int GaRedSurvivors = 0;
    int GaBlueSurvivors = 0;
    int GaStopFlag = 0;

    // --- statistics, indexed by generation from 1
    double GaBestFitness = 0;
    double GaWorstFitness = 1.0;
    double GaAverageFitness = 0;
    double GaGenBest[GaHistorySlots] = {};
    double GaGenWorst[GaHistorySlots] = {};
    double GaGenAverage[GaHistorySlots] = {};
    double GaBestHistory[GaHistorySlots] = {};

    CGaDecoded GaBestDecoded;
    // 1 while the best chromosome of a personality search is the one shown
    // (the scenario writer then takes RED's twelve decided rows from
    // GaBestDecoded, though not into a RUN file), 0 after the current one was
    // shown, a new search, or a scenario or document file read.
    int GaBestShown = 0;

    // Series of the progress chart: best and worst of each generation, best
    // overall, average.
    int GraphGenBest = 1;
    int GraphGenWorst = 0;
    int GraphBestOverall = 1;
    int GraphAverage = 0;
};

}  // namespace brevimar
