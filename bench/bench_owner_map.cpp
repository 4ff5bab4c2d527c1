// The territorial owner map that the HOLD rule reads, updated once per side
// phase of an interactive step: on the 300 vs 300 reference in full swing,
// after one step's moves (the usual case) and counted afresh (new settings).
#include <benchmark/benchmark.h>

#include <string>

#include "tools/ScenarioRunner.h"

namespace {

using namespace brevimar;

void TerritoryUpdate(benchmark::State& state)
{
    RunnerOptions options;
    options.ScenarioPath = std::string(BREVIMAR_BENCH_DATA) + "/large.dat";
    options.Batch = true;
    CScenarioRunner runner(options);
    if (!runner.Load()) {
        state.SkipWithError(runner.Error().c_str());
        return;
    }
    CBrevimarDoc& doc = runner.Document();
    for (int step = 0; step < 20; ++step)
        runner.Advance();
    // Two positions a step apart, shown alternately.
    CForce& red = doc.RedForce;
    CForce& blue = doc.BlueForce;
    CForce redBefore = red, blueBefore = blue;
    runner.Advance();
    CForce redAfter = red, blueAfter = blue;
    const bool afresh = state.range(0) == 1;
    bool after = false;
    for (auto _ : state) {
        state.PauseTiming();
        red = after ? redAfter : redBefore;
        blue = after ? blueAfter : blueBefore;
        after = !after;
        if (afresh)
            doc.TerritoryOwner[LatticeStride + 1] ^= 3;
        state.ResumeTiming();
        doc.ComputeTerritorialPossession();
        benchmark::DoNotOptimize(doc.TerritoryOwner[LatticeStride * 75 + 75]);
    }
}

BENCHMARK(TerritoryUpdate)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
