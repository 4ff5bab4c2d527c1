// One generation of the genetic algorithm on the small reference scenario:
// 50 members x 10 initial conditions x 100 steps, personality search of one
// squad with the default mission (enemy casualties). And a whole GA of very
// short runs, where what each member's and each run's set-up costs shows.
#include <benchmark/benchmark.h>

#include <string>

#include "experiments/GaEngine.h"
#include "tools/ScenarioRunner.h"

namespace {

using namespace brevimar;

RunnerOptions SmallScenario()
{
    RunnerOptions options;
    options.ScenarioPath = std::string(BREVIMAR_BENCH_DATA) + "/small.dat";
    return options;
}

void GaGeneration(benchmark::State& state, int mode)
{
    CScenarioRunner runner(SmallScenario());
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

// 20 generations of 50 members, one initial condition each, runs of
// range(0) steps, the same search chosen as the run-mode command chooses it:
// what a member's set-up costs weighs most here.
void GaShortRuns(benchmark::State& state)
{
    const int steps = static_cast<int>(state.range(0));
    CScenarioRunner runner(SmallScenario());
    if (!runner.Load()) {
        state.SkipWithError(runner.Error().c_str());
        return;
    }
    CBrevimarDoc& doc = runner.Document();
    constexpr int generations = 20;
    double genes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SelectGaSearchMode(doc, GaPersonalityMode, nullptr);
        CGeneticAlgorithm ga(doc);
        doc.Ga.GaPopulationSize = 50;
        doc.Ga.GaInitialConditions = 1;
        doc.Ga.GaMaxTimeToFlag = steps;
        doc.Experiment.GaGenerations = generations;
        doc.RandomState = doc.InitialSeed;
        ga.DrawInitialPopulation(GaPersonalityMode);
        ga.ResetGeneticAlgorithmState();
        state.ResumeTiming();
        for (int g = 0; g < generations; ++g)
            ga.RunGABatch(43);
        genes = 0;
        for (int m = 0; m < ga.Population(); ++m)
            for (const auto& block : ga.Member(m).Gene)
                for (double gene : block)
                    genes += gene;
    }
    // The same GA breeds the same population (runs this short score 0): a
    // change that alters the batch's results shows here.
    state.counters["gene sum"] = genes;
    state.counters["runs/s"] = benchmark::Counter(50.0 * generations * static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate);
}

BENCHMARK(GaShortRuns)->Arg(2)->Arg(10)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
