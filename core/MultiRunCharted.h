// The averaged multiple time-series results that the run-mode-5 charts read,
// and the series a chart hands back for the raw graph-data report.
#pragma once

#include "core/Limits.h"

namespace brevimar {

// Charted series: up to seven per chart, points t = 1..200 (entry 0 unused).
constexpr int MultiRunGraphSlots = 7;
constexpr int MultiRunGraphPoints = MultiRunStepSlots - 1;
constexpr int MultiRunAveragedRows = 15;
constexpr int MultiRunClusterRow = 0;
constexpr int MultiRunInterpointRow = 2;
constexpr int MultiRunCenterOfMassRow = 9;

struct CMultiRunCharted {
    // Per step k = 0..201: sums over the samples of the attrition counts
    // (sums, not means), and of each sample's absolute difference from the
    // truncated mean.
    int MultiRunRedAliveSum[MultiRunStepSlots] = {};
    int MultiRunRedInjuredSum[MultiRunStepSlots] = {};
    int MultiRunBlueAliveSum[MultiRunStepSlots] = {};
    int MultiRunBlueInjuredSum[MultiRunStepSlots] = {};
    int MultiRunRedAliveDevSum[MultiRunStepSlots] = {};
    int MultiRunRedInjuredDevSum[MultiRunStepSlots] = {};
    int MultiRunBlueAliveDevSum[MultiRunStepSlots] = {};
    int MultiRunBlueInjuredDevSum[MultiRunStepSlots] = {};

    // Per step k: mean over the samples and mean absolute deviation from it.
    // Rows of MultiRunMean/Dev: 0-1 mean cluster size (distance 1, 2), 2-8
    // the seven interpoint means, 9-14 the centre of mass (RED x, RED y,
    // BLUE x, BLUE y, both x, both y), each in its single-run order.
    double MultiRunMean[MultiRunAveragedRows][MultiRunStepSlots] = {};
    double MultiRunDev[MultiRunAveragedRows][MultiRunStepSlots] = {};
    // RED raw, RED normalised, BLUE raw, BLUE normalised.
    double MultiRunTerritoryMean[4][MultiRunStepSlots] = {};
    double MultiRunTerritoryDev[4][MultiRunStepSlots] = {};
    // [kind][R][k], R = 1..7.
    double MultiRunNeighborMean[6][8][MultiRunStepSlots] = {};
    double MultiRunNeighborDev[6][8][MultiRunStepSlots] = {};
    double MultiRunGoalMean[4][8][MultiRunStepSlots] = {};
    double MultiRunGoalDev[4][8][MultiRunStepSlots] = {};
    // [side][k]: 0 RED, 1 BLUE.
    double MultiRunCombatEntropyMean[2][MultiRunStepSlots] = {};

    // What the last run-mode-5 chart drew: the number of series, each
    // series' values and deviations. The labels are the document's
    // MultiRunGraphLabels.
    int MultiRunGraphCount = 0;
    double MultiRunGraphSeries[MultiRunGraphSlots][MultiRunGraphPoints] = {};
    double MultiRunGraphDev[MultiRunGraphSlots][MultiRunGraphPoints] = {};
};

}  // namespace brevimar
