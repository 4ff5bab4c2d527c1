// The samples of a multiple time-series batch: every statistic of every
// sample at every step, the statistics' own working areas (so a batch never
// disturbs the interactive run's results), and where a suspended batch
// resumes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/CollectedStatistics.h"
#include "core/Limits.h"
#include "core/OutputFile.h"

namespace brevimar {

// Ranges R = 1..7 at entry R (entry 0 unused).
constexpr int MultiRunRangeSlots = StatisticRanges + 1;
// Element [s][R][k] of a per-sample array with a range dimension.
constexpr int SampleRangeIndex(int sample, int range, int step)
{
    return MultiRunStepSlots * (MultiRunRangeSlots * sample + range) + step;
}
// A batch must fit its arrays: samples 1..350, step indices 0..200 (the
// graph hand-off and the attrition tables go no further).
constexpr int MaxMultiRunSamples = 350;
constexpr int MaxMultiRunSteps = 201;

// The size of a batch: its samples and the run time of each.
struct CMultiRunShape {
    int Samples = 0;
    int Steps = 0;
};

// The force a sample held: its losses count against it, whatever an edit
// made of the force while the batch stood paused.
struct CSampleForce {
    int Agents = 0;
    int Squads = 0;
    int PerSquad[SquadSlots] = {};
};

// An agent placed by hand in a sample under way joins its force from the
// first step observed after it was placed.
struct CSampleJoin {
    int Sample = 0;
    int Side = 0;  // 0 RED, 1 BLUE
    int Squad = 0;
    int Step = 0;
};

struct CMultiRunSamples {
    // [352][202] each, at SampleIndex(s, k).
    std::unique_ptr<double[]> SampleClusterSizeD1, SampleClusterSizeD2;
    std::unique_ptr<double[]> SampleInterpoint[InterpointMeasures];
    std::unique_ptr<double[]> SampleCenterOfMass[6];
    std::unique_ptr<double[]> SampleTerritory[4];
    // [352][8][202] each, at SampleRangeIndex(s, R, k).
    std::unique_ptr<double[]> SampleNeighbors[NeighborKinds];
    std::unique_ptr<double[]> SampleGoalCount[GoalCountKinds];

    // The batch's private copies of the statistics' intermediate results.
    std::unique_ptr<CStatisticsWork> Work;
    double InterpointHistogram[InterpointMeasures][InterpointBins] = {};
    int ClusterSizeCountD1[ClusterSizeSlots] = {};
    int ClusterSizeCountD2[ClusterSizeSlots] = {};

    // A batch paused between steps resumes at sample MultiRunSample, after
    // step MultiRunStep, with its raw weapons file still open.
    int BatchOpen = 0;
    int SampleOpen = 0;
    // 1 from the choice of a batch (or its start) until its last sample has
    // run and its averages are made.
    int BatchUnfinished = 0;
    // The size the batch last opened runs with, from its opening until the
    // mode is chosen again: the counts the dialog sets meanwhile are for the
    // next batch, and never change what this one shows.
    std::optional<CMultiRunShape> Ran;
    // How every sample of the batch deploys its forces (a DeploymentSource:
    // at random, or from an agent file), whatever placement the user chooses
    // while it stands paused.
    int Deployment = 0;
    std::unique_ptr<OutputFile> WeaponsRawData;
    std::string WeaponsRawDataPath;
    // Where the sample under way begins in that file, so that a sample
    // started again leaves no rows of its first start.
    std::optional<std::uintmax_t> SampleStartBytes;

    // [0 RED, 1 BLUE][s]: the force each sample began with, for the samples
    // begun since the buffers were taken, and the agents that joined them.
    CSampleForce SampleForces[2][MultiRunSampleSlots] = {};
    bool SampleForceRecorded[MultiRunSampleSlots] = {};
    std::vector<CSampleJoin> SampleJoins;

    bool Allocated() const { return Work != nullptr; }
    void Allocate()
    {
        if (Allocated())
            return;
        const std::size_t cells = MultiRunSampleSlots * MultiRunStepSlots;
        auto zeroed = [](std::size_t n) { return std::make_unique<double[]>(n); };
        SampleClusterSizeD1 = zeroed(cells);
        SampleClusterSizeD2 = zeroed(cells);
        for (auto& a : SampleInterpoint)
            a = zeroed(cells);
        for (auto& a : SampleCenterOfMass)
            a = zeroed(cells);
        for (auto& a : SampleTerritory)
            a = zeroed(cells);
        for (auto& a : SampleNeighbors)
            a = zeroed(MultiRunRangeSlots * cells);
        for (auto& a : SampleGoalCount)
            a = zeroed(MultiRunRangeSlots * cells);
        Work = std::make_unique<CStatisticsWork>();
    }
    void Release() { *this = CMultiRunSamples{}; }
    CMultiRunSamples() = default;
    CMultiRunSamples(CMultiRunSamples&&) = default;
    CMultiRunSamples& operator=(CMultiRunSamples&&) = default;
};

}  // namespace brevimar
