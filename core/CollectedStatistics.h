// What the per-step statistics file for the charts: one block of series and
// current-step tables, indexed by step t = 0..500 where time runs.
#pragma once

#include <cstdint>

#include "core/Limits.h"

namespace brevimar {

// Interpoint distances: seven measures in their fixed order, unit bins 0..212.
constexpr int InterpointMeasures = 7;
constexpr int InterpointBins = 213;
// Clusters: labels and sizes 1..603 (entry 0 unused).
constexpr int MaxClusterSize = 603;
constexpr int ClusterSizeSlots = MaxClusterSize + 1;
// Neighbour and goal counts are taken for ranges R = 1..7.
constexpr int StatisticRanges = 7;
constexpr int NeighborKinds = 6;
constexpr int GoalCountKinds = 4;
// RED, BLUE and both sides together.
constexpr int SideGroups = 3;

// One bit per statistic the run files at a step (combat entropy goes with
// the attrition counts).
enum StatisticBit : std::uint16_t {
    AttritionStatistic = 1 << 0,
    InterpointStatistic = 1 << 1,
    SpatialEntropyStatistic = 1 << 2,
    ClusterD1Statistic = 1 << 3,
    ClusterD2Statistic = 1 << 4,
    NeighborStatistic = 1 << 5,
    CenterOfMassStatistic = 1 << 6,
    GoalCountStatistic = 1 << 7,
    TerritoryStatistic = 1 << 8,
    WeaponStatistic = 1 << 9,
    CapacityDimensionStatistic = 1 << 10,
};
constexpr std::uint16_t EveryStatistic = (1 << 11) - 1;

struct CCollectedStatistics {
    // The statistics whose series hold nothing measured at step t: the run
    // went past t with them off, or they were started afresh after t. Clear
    // bits (as a reset leaves them) mean the step holds what the run filed.
    std::uint16_t StepGaps[SeriesLength] = {};

    // Territorial possession: owned cells over the area, and over the cells
    // where the side stands in strength.
    double RedTerritoryRaw[SeriesLength] = {};
    double RedTerritoryNormalized[SeriesLength] = {};
    double BlueTerritoryRaw[SeriesLength] = {};
    double BlueTerritoryNormalized[SeriesLength] = {};

    // Interpoint distances: this step's distribution of each measure, and
    // the mean distance per step. Measures: RED to the BLUE flag, BLUE to the
    // RED flag, RED to the RED flag, BLUE to the BLUE flag, RED pairs, BLUE
    // pairs, RED-BLUE pairs.
    double InterpointHistogram[InterpointMeasures][InterpointBins] = {};
    double InterpointMean[InterpointMeasures][SeriesLength] = {};

    // Spatial entropy over 16, 64 and 256 boxes, [group][t].
    double SpatialEntropy16[SideGroups][SeriesLength] = {};
    double SpatialEntropy64[SideGroups][SeriesLength] = {};
    double SpatialEntropy256[SideGroups][SeriesLength] = {};

    // Clusters within distance 1 and 2: this step's count of clusters of
    // each size, and the mean size per step.
    int ClusterSizeCountD1[ClusterSizeSlots] = {};
    int ClusterSizeCountD2[ClusterSizeSlots] = {};
    double MeanClusterSizeD1[SeriesLength] = {};
    double MeanClusterSizeD2[SeriesLength] = {};

    // Neighbour counts of this step, [kind][R - 1]; the series are the
    // document's NeighborLog buffers.
    double NeighborMean[NeighborKinds][StatisticRanges] = {};

    // Capacity dimension and its standard error, [group][t].
    double CapacityDimension[SideGroups][SeriesLength] = {};
    double CapacityDimensionError[SideGroups][SeriesLength] = {};

    // Centre of mass: RED x, RED y, BLUE x, BLUE y, both x, both y.
    double CenterOfMass[6] = {};
    double CenterOfMassSeries[6][SeriesLength] = {};

    // Goal counts of this step, [kind][R - 1]: RED near the BLUE flag, BLUE
    // near the RED flag, RED near the RED flag, BLUE near the BLUE flag; the
    // series are the document's GoalCountLog buffers.
    double GoalCount[GoalCountKinds][StatisticRanges] = {};
};

// Working areas of the statistics, kept between steps so that a step does not
// allocate. Each user (the run's statistics, the samples of a batch) has its
// own, so that one never disturbs the other's results.
struct CClusterWork {
    int Label[GridCells] = {};   // of the occupied cells; the others keep stale values
    int Parent[GridCells] = {};  // union-find forest over labels 1..L, then cells per root
    int Size[GridCells] = {};    // occupied cells in scan order, then their roots
};

struct CTerritoryWork {
    int Mark[GridCells] = {};      // 1 RED, 2 BLUE on agent cells
    // The statistic's own agent cells, at GridIndex(x, y); all 0 between counts.
    std::uint8_t Held[GridCells] = {};
    int RedSums[GridCells] = {};   // prefix sums, stride BattleSize + 1
    int BlueSums[GridCells] = {};
};

constexpr int BoxFlagSide = 257;
struct CBoxCountWork {
    unsigned char Flag[BoxFlagSide * BoxFlagSide] = {};
    int SetFlags[2 * MaxAgents] = {};
    double X[2 * MaxAgents] = {};
    double Y[2 * MaxAgents] = {};
};

// Distance and its unit bin of every offset (|dx|, |dy|) up to the largest
// battlefield's span, worked out on first use.
constexpr int PairOffsetSide = MaxBattleSize + 1;
struct CInterpointWork {
    int Ready = 0;
    double Distance[PairOffsetSide * PairOffsetSide] = {};
    unsigned char Bin[PairOffsetSide * PairOffsetSide] = {};
};

// Agents of each side on each cell, summed over the rectangle from (1, 1):
// cell (x, y) at (BattleSize + 1) * x + y, RED in the low 16 bits, BLUE in
// the high.
struct CNeighborWork {
    std::uint32_t Packed[GridCells] = {};
};

struct CStatisticsWork {
    CInterpointWork Interpoint;
    CNeighborWork Neighbors;
    CClusterWork Clusters;
    CTerritoryWork Territory;
    CBoxCountWork Boxes;
};

}  // namespace brevimar
