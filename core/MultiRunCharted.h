// The averaged multiple time-series results that the run-mode-5 charts read,
// and the series a chart hands back for the raw graph-data report.
#pragma once

#include "core/Limits.h"

namespace brevimar {

// Charted series: up to seven per chart, points t = 1..200 (entry 0 unused).
constexpr int MultiRunGraphSlots = 7;
constexpr int MultiRunGraphPoints = MultiRunStepSlots - 1;

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

    // Per step k = 0..201: the means over the samples of each side's combat
    // entropy [side][k], and of the centres of mass (RED x, RED y, BLUE x,
    // BLUE y, both x, both y) with their deviations.
    double MultiRunCombatEntropyMean[2][MultiRunStepSlots] = {};
    double MultiRunCenterOfMassMean[6][MultiRunStepSlots] = {};
    double MultiRunCenterOfMassDeviation[6][MultiRunStepSlots] = {};
    // Averages over the samples of the per-step statistics and their
    // deviations, per step k = 0..201. Kinds and rows follow the single-run
    // statistics: goal counts and neighbour counts [kind][R][k] for R = 1..7,
    // clusters [D - 1][k], interpoint measures [measure][k], territory
    // [RED raw, RED normalised, BLUE raw, BLUE normalised][k].
    double MultiRunAverageClusterSizeMean[2][MultiRunStepSlots] = {};
    double MultiRunAverageClusterSizeDeviation[2][MultiRunStepSlots] = {};
    double MultiRunGoalCountMean[4][8][MultiRunStepSlots] = {};
    double MultiRunGoalCountDeviation[4][8][MultiRunStepSlots] = {};
    double MultiRunNeighborCountMean[6][8][MultiRunStepSlots] = {};
    double MultiRunNeighborCountDeviation[6][8][MultiRunStepSlots] = {};
    double MultiRunInterpointMean[7][MultiRunStepSlots] = {};
    double MultiRunInterpointDeviation[7][MultiRunStepSlots] = {};
    double MultiRunTerritoryShareMean[4][MultiRunStepSlots] = {};
    double MultiRunTerritoryShareDeviation[4][MultiRunStepSlots] = {};

    // What the last run-mode-5 chart drew: the number of series, each
    // series' values and deviations. The labels are the document's
    // MultiRunGraphLabels.
    int MultiRunGraphCount = 0;
    double MultiRunGraphSeries[MultiRunGraphSlots][MultiRunGraphPoints] = {};
    double MultiRunGraphDev[MultiRunGraphSlots][MultiRunGraphPoints] = {};
};

}  // namespace brevimar
