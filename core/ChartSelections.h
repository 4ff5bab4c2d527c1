// What each statistics chart shows; each chart owns the meaning of its
// fields. Reset to these defaults whenever data collection is reset.
#pragma once

namespace brevimar {

struct CChartSelections {
    // Attrition: the curves shown. "Red + Blue" is stored after the six
    // single curves, so the defaults show the two side totals.
    int AttritionShowRedAlive = 0;
    int AttritionShowRedInjured = 0;
    int AttritionShowBlueAlive = 0;
    int AttritionShowBlueInjured = 0;
    int AttritionShowRedTotal = 1;
    int AttritionShowBlueTotal = 1;
    int AttritionShowAll = 0;

    // Cluster distribution.
    int ClusterGraphDistance = 2;
    int ClusterGraphForm = 2;
    int ClusterGraphDeviations = 0;
    int ClusterGraphBinWidth = 1;
    int ClusterGraphMaxSize = 100;

    // Interpoint distribution.
    int InterpointGraphPair = 1;
    int InterpointGraphMaxDistance = 50;
    int InterpointGraphMaxFlagDistance = 75;
    int InterpointGraphMinFlagDistance = 25;
    int InterpointGraphAgentForm = 2;
    int InterpointGraphFlagForm = 2;
    int InterpointGraphRedRed = 0;
    int InterpointGraphBlueBlue = 0;
    int InterpointGraphRedBlue = 1;
    int InterpointGraphRedBlueFlag = 1;
    int InterpointGraphBlueRedFlag = 1;
    int InterpointGraphRedRedFlag = 0;
    int InterpointGraphBlueBlueFlag = 0;
    int InterpointGraphAgentDeviation = 0;
    int InterpointGraphFlagDeviation = 0;

    // Neighbour count.
    int NeighborGraphTotalNearRed = 1;
    int NeighborGraphTotalNearBlue = 1;
    int NeighborGraphRedNearRed = 0;
    int NeighborGraphBlueNearRed = 0;
    int NeighborGraphRedNearBlue = 0;
    int NeighborGraphBlueNearBlue = 0;
    int NeighborGraphRange = 2;

    // Goal count.
    int GoalGraphRedNearRedFlag = 0;
    int GoalGraphBlueNearRedFlag = 1;
    int GoalGraphRedNearBlueFlag = 1;
    int GoalGraphBlueNearBlueFlag = 0;
    int GoalGraphRange = 5;

    // Spatial entropy: sides.
    int SpatialEntropyGraphRed = 0;
    int SpatialEntropyGraphBlue = 0;
    int SpatialEntropyGraphTotal = 1;

    // Capacity dimension.
    int CapacityDimGraphRed = 0;
    int CapacityDimGraphBlue = 0;
    int CapacityDimGraphTotal = 1;
    int CapacityDimGraphDeviations = 1;

    // Spatial entropy: divisions.
    int SpatialEntropyGraphCoarse = 0;
    int SpatialEntropyGraphMedium = 1;
    int SpatialEntropyGraphFine = 0;

    // Centre of mass.
    int CenterOfMassGraphRed = 1;
    int CenterOfMassGraphBlue = 1;
    int CenterOfMassGraphTotal = 0;
    int CenterOfMassGraphKind = 2;

    // Combat entropy.
    int CombatEntropyGraphKind = 1;

    // Genetic-algorithm mission fitness.
    int GAGraphBestPerGeneration = 1;
    int GAGraphWorstPerGeneration = 1;
    int GAGraphBestOverall = 1;
    int GAGraphAverage = 1;

    // Territorial possession.
    int TerritoryGraphRedRaw = 0;
    int TerritoryGraphRedNormalized = 1;
    int TerritoryGraphBlueRaw = 0;
    int TerritoryGraphBlueNormalized = 1;

    // Weapon shots and hits: [side][weapon][shots, hits, ratio].
    int WeaponGraphType = 1;
    int RedSquadChoice = 11;
    int BlueSquadChoice = 11;
    int WeaponPlots[2][6][3] = {{{1, 1, 0}, {1, 1, 0}}, {{1, 1, 0}, {1, 1, 0}}};
    int ShowRed = 1;
    int ShowBlue = 1;
    int SumMode = 1;
    int AllWeaponPlots[2][3] = {};
    int RatioPlotChosen = 0;
};

}  // namespace brevimar
