// A whole fitness-landscape sweep on the small reference scenario: 5 x 5
// grid points (alive sensor range by alive COMBAT threshold), 10 initial
// conditions each, runs of 100 observed steps. Reports the seconds per sweep
// and the batch steps per second.
#include <benchmark/benchmark.h>

#include <string>

#include "experiments/LandscapeSetup.h"
#include "experiments/LandscapeSweep.h"
#include "tools/ScenarioRunner.h"

namespace {

using namespace brevimar;

void BM_LandscapeSweepSmall(benchmark::State& state)
{
    RunnerOptions options;
    options.ScenarioPath = std::string(BREVIMAR_BENCH_DATA) + "/small.dat";
    CScenarioRunner runner(options);
    if (!runner.Load()) {
        state.SkipWithError(runner.Error().c_str());
        return;
    }
    CBrevimarDoc& doc = runner.Document();
    for (auto _ : state) {
        state.PauseTiming();
        SetLandscapeModeDefaults(doc);
        ResetFitnessLandscapeData(doc);
        CLandscapeSettings& s = doc.Landscape.Settings;
        s.LandscapeXParameter = 2, s.LandscapeXMin = 3, s.LandscapeXMax = 11, s.LandscapeXSamples = 4;
        s.LandscapeYParameter = 30, s.LandscapeYMin = -10, s.LandscapeYMax = 10, s.LandscapeYSamples = 4;
        s.LandscapeInitialConditions = 10;
        s.LandscapeMaxTimeToFlag = 100;
        DeriveLandscapeGrid(doc);
        doc.RandomState = doc.InitialSeed;
        state.ResumeTiming();
        RunLandscapeBatch(doc);
    }
    const double stepsPerSweep = 5.0 * 5 * 10 * 99;
    state.counters["batch-steps/s"] = benchmark::Counter(stepsPerSweep * static_cast<double>(state.iterations()),
                                                         benchmark::Counter::kIsRate);
}

BENCHMARK(BM_LandscapeSweepSmall)->Unit(benchmark::kSecond)->Iterations(2);

}  // namespace
