// What a document costs before any batch runs: a new document with the
// reference scenario loaded, as the runner and the program start, and the
// memory it holds then and once a multiple time-series batch has opened.
// Reports the time per start and the resident set in MiB.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "experiments/MultiRunBatch.h"
#include "tools/ScenarioRunner.h"

namespace {

using namespace brevimar;

double ResidentMiB()
{
    // Second field of statm: resident pages.
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

std::string Reference() { return std::string(BREVIMAR_BENCH_DATA) + "/large.dat"; }

void NewDocumentWithScenario(benchmark::State& state)
{
    RunnerOptions options;
    options.ScenarioPath = Reference();
    double resident = 0;
    for (auto _ : state) {
        CScenarioRunner runner(options);
        if (!runner.Load()) {
            state.SkipWithError(runner.Error().c_str());
            return;
        }
        resident = ResidentMiB();
        benchmark::DoNotOptimize(runner.Document().RedForce.NumAgents);
    }
    state.counters["resident_MiB"] = resident;
}
BENCHMARK(NewDocumentWithScenario)->Unit(benchmark::kMillisecond);

// The same document once a one-sample, one-step batch has opened: the
// batch's arrays are what the difference holds.
void AfterAFirstBatch(benchmark::State& state)
{
    RunnerOptions options;
    options.ScenarioPath = Reference();
    double before = 0, after = 0;
    for (auto _ : state) {
        CScenarioRunner runner(options);
        if (!runner.Load()) {
            state.SkipWithError(runner.Error().c_str());
            return;
        }
        CBrevimarDoc& doc = runner.Document();
        before = ResidentMiB();
        doc.RunMode = MultipleTimeSeriesMode;
        doc.Series.MultiRunSampleCount = 1;
        doc.Series.MultiRunStepCount = 1;
        RunMultiTimeSeriesBatch(doc, 45, nullptr);
        after = ResidentMiB();
    }
    state.counters["loaded_MiB"] = before;
    state.counters["after_batch_MiB"] = after;
}
BENCHMARK(AfterAFirstBatch)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
