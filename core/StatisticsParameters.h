// Switches of the per-step statistics and the working tables they keep.
// A statistic runs only while its switch is exactly 1.
#pragma once

namespace brevimar {

// Coarse-graining box of the spatial-entropy statistic.
struct EntropyBox {
    int XLo = 0;
    int XHi = 0;
    int YLo = 0;
    int YHi = 0;
};

struct CStatisticsParameters {
    int DataCollectionOn = 0;  // stat_flag?: the master switch, tested by the callers

    int BattleFrontRadius = 1;  // battle-front map radius R
    int BattleFrontThreshold = 1;  // battle-front map threshold T

    int TerritoryStatsOn = 0;
    int InterpointOn = 0;  // interpoint_flag?
    int CapacityDimensionOn = 0;
    int AllStatisticsOn = 0;  // the "Set All" choice of the Data Collection menu

    int SpatialEntropyOn = 0;  // entropy_flag?
    // Boxes 1..16, 1..64 and 1..256 of the 4 x 4, 8 x 8 and 16 x 16 divisions.
    EntropyBox EntropyBoxes16[17];
    EntropyBox EntropyBoxes64[65];
    EntropyBox EntropyBoxes256[257];

    int ClusterD1On = 0;  // cluster_1_flag?
    int ClusterD2On = 0;  // cluster_2_flag?
    int NeighborStatsOn = 0;  // neighbors_flag?
    int CenterOfMassOn = 0;   // center_mass_flag?
    int GoalStatsOn = 0;      // goal_stat_flag?
};

}  // namespace brevimar
