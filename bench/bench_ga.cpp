// One generation of the genetic algorithm on the small reference scenario:
// 50 members x 10 initial conditions x 100 steps, personality search of one
// squad with the default mission (enemy casualties).
#include <benchmark/benchmark.h>

#include <string>

#include "experiments/GaEngine.h"
#include "tools/ScenarioRunner.h"

namespace {

using namespace brevimar;

void GaGeneration(benchmark::State& state, int mode)
{
    RunnerOptions options;
    options.ScenarioPath = std::string(BREVIMAR_BENCH_DATA) + "/small.dat";
    CScenarioRunner runner(options);
    if (!runner.Load()) {
        state.SkipWithError(runner.Error().c_str());
        return;
    }
    CBrevimarDoc& doc = runner.Document();
    SelectGaSearchMode(doc, mode, nullptr);
    CGeneticAlgorithm ga(doc);
    doc.Ga.GaPopulationSize = 50;
    doc.Ga.GaInitialConditions = 10;
    doc.Ga.GaMaxTimeToFlag = 100;
    doc.Experiment.GaGenerations = 999;
    ga.DrawInitialPopulation(mode);
    ga.ResetGeneticAlgorithmState();
    long steps = 0;
    for (auto _ : state) {
        ga.RunGABatch(43);
        steps += 50L * 10 * 99;
    }
    state.counters["generation"] = doc.Experiment.GaGeneration;
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(GaGeneration, personality, GaPersonalityMode)->Unit(benchmark::kSecond)->Iterations(3);

}  // namespace
