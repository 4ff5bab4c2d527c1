// A whole fitness-landscape sweep on the small reference scenario: 5 x 5
// grid points (alive sensor range by alive COMBAT threshold), 10 initial
// conditions each, runs of 100 observed steps; and 10 x 10 points of 2-step
// runs, where what each point's and each run's set-up costs shows. The mode
// is chosen as its run-mode command chooses it. Reports the seconds per sweep
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
    const int samples = static_cast<int>(state.range(0)), steps = static_cast<int>(state.range(1));
    RunnerOptions options;
    options.ScenarioPath = std::string(BREVIMAR_BENCH_DATA) + "/small.dat";
    CScenarioRunner runner(options);
    if (!runner.Load()) {
        state.SkipWithError(runner.Error().c_str());
        return;
    }
    CBrevimarDoc& doc = runner.Document();
    double fitness = 0;
    for (auto _ : state) {
        state.PauseTiming();
        doc.StartBatchWriteRecord();
        doc.RunMode = FitnessLandscapeMode;
        SetLandscapeModeDefaults(doc);
        ResetFitnessLandscapeData(doc);
        CLandscapeSettings& s = doc.Landscape.Settings;
        s.LandscapeXParameter = 2, s.LandscapeXMin = 3, s.LandscapeXMax = 11, s.LandscapeXSamples = samples;
        s.LandscapeYParameter = 30, s.LandscapeYMin = -10, s.LandscapeYMax = 10, s.LandscapeYSamples = samples;
        s.LandscapeInitialConditions = 10;
        s.LandscapeMaxTimeToFlag = steps;
        DeriveLandscapeGrid(doc);
        doc.RandomState = doc.InitialSeed;
        state.ResumeTiming();
        RunLandscapeBatch(doc);
        fitness = 0;
        const CLandscapeResults& r = doc.Landscape.Results();
        for (int k = 1; k < LandscapeMeasureSlots; ++k)
            for (int ix = 0; ix < LandscapeAxisSlots; ++ix)
                for (int iy = 0; iy < LandscapeAxisSlots; ++iy)
                    fitness += r.LandscapeFitnessAve[k][ix][iy];
    }
    // Each sweep starts from the scenario and gives the same landscape: a
    // change that alters the batch's results shows here.
    state.counters["fitness sum"] = fitness;
    const double stepsPerSweep = (samples + 1.0) * (samples + 1) * 10 * (steps - 1);
    state.counters["batch-steps/s"] = benchmark::Counter(stepsPerSweep * static_cast<double>(state.iterations()),
                                                         benchmark::Counter::kIsRate);
}

BENCHMARK(BM_LandscapeSweepSmall)->Args({4, 100})->Args({9, 2})->Unit(benchmark::kSecond)->Iterations(2);

}  // namespace
