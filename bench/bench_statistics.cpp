// Each per-step statistic alone on the 300 vs 300 reference after 50 steps,
// to see where the cost of collecting them all goes (bench_step compares the
// step with and without them).
#include <benchmark/benchmark.h>

#include <string>

#include "tools/ScenarioRunner.h"

namespace {

using namespace brevimar;

void (CBrevimarDoc::*const Statistics[])() = {
    &CBrevimarDoc::ComputeInterpointDistances, &CBrevimarDoc::CollectSpatialEntropy, &CBrevimarDoc::LabelClusters,
    &CBrevimarDoc::LabelClustersD2,           &CBrevimarDoc::CountNeighbors,        &CBrevimarDoc::ComputeCenterOfMass,
    &CBrevimarDoc::ComputeGoalCount,          &CBrevimarDoc::CollectTerritorialPossession,
    &CBrevimarDoc::RecordStepStatistics,      &CBrevimarDoc::ComputeCapacityDimension,
};
const char* const Names[] = {"interpoint", "entropy", "clusters D=1", "clusters D=2", "neighbours",
                             "centre of mass", "goal counts", "territory", "weapons", "capacity dimension"};

void BM_Statistic(benchmark::State& state)
{
    RunnerOptions options;
    options.ScenarioPath = std::string(BREVIMAR_BENCH_DATA) + "/large.dat";
    options.Batch = true;
    CScenarioRunner runner(options);
    if (!runner.Load()) {
        state.SkipWithError(runner.Error().c_str());
        return;
    }
    for (int n = 0; n < 50; ++n)
        runner.Advance();
    CBrevimarDoc& doc = runner.Document();
    const auto statistic = Statistics[state.range(0)];
    for (auto _ : state)
        (doc.*statistic)();
    state.SetLabel(Names[state.range(0)]);
}

BENCHMARK(BM_Statistic)->DenseRange(0, 9)->Unit(benchmark::kMicrosecond);

}  // namespace
