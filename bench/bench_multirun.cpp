// A multiple time-series batch of 100 samples x 200 steps on the 300 vs 300
// reference with every statistic on, against the bare stepping of the same
// samples.
#include <benchmark/benchmark.h>

#include <string>

#include "experiments/MultiRunBatch.h"
#include "tools/ScenarioRunner.h"

namespace {

using namespace brevimar;

constexpr int Samples = 100, Steps = 200;

bool Prepare(CScenarioRunner& runner, benchmark::State& state)
{
    if (!runner.Load()) {
        state.SkipWithError(runner.Error().c_str());
        return false;
    }
    CBrevimarDoc& doc = runner.Document();
    doc.SetAllStatistics();
    doc.RunMode = MultipleTimeSeriesMode;
    doc.WeaponStatsOn = 0;  // no raw weapons file
    doc.RandomState = doc.InitialSeed;
    doc.Series.MultiRunSampleCount = Samples;
    doc.Series.MultiRunStepCount = Steps;
    return true;
}

RunnerOptions Options()
{
    RunnerOptions options;
    options.ScenarioPath = std::string(BREVIMAR_BENCH_DATA) + "/large.dat";
    options.Batch = true;
    return options;
}

void BM_MultiRunBatch(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        CScenarioRunner runner(Options());
        if (!Prepare(runner, state))
            return;
        state.ResumeTiming();
        RunMultiTimeSeriesBatch(runner.Document(), 45, nullptr);
    }
}

void BM_BareSamples(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        CScenarioRunner runner(Options());
        if (!Prepare(runner, state))
            return;
        state.ResumeTiming();
        CBrevimarDoc& doc = runner.Document();
        doc.InitializeForces();
        for (int s = 1; s <= Samples; ++s) {
            // As the batch begins a sample.
            doc.RunTerminated = 0;
            doc.RunHeader.CurrentStep = 0;
            doc.SetupBattlefield();
            for (int k = 1; k < Steps; ++k) {
                doc.RunHeader.CurrentStep = k;
                doc.StepSimulation();
            }
        }
    }
}

BENCHMARK(BM_MultiRunBatch)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_BareSamples)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
