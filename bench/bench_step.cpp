// Whole steps of the reference scenarios (bench/data, written by
// tools/make_reference_scenarios), in their batch and interactive forms.
// Reports steps per second and nanoseconds per living agent-step.
#include <benchmark/benchmark.h>

#include <string>

#include "tools/ScenarioRunner.h"

namespace {

using namespace brevimar;

enum class Extra { None, Weapons, Statistics };

int LivingAgents(const CBrevimarDoc& doc)
{
    int n = 0;
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& force = doc.Force(side);
        for (int i = 1; i <= force.NumAgents; ++i)
            n += force.AgentState[i] != Dead;
    }
    return n;
}

void StepScenario(benchmark::State& state, const char* file, Extra extra, bool interactive)
{
    RunnerOptions options;
    options.ScenarioPath = std::string(BREVIMAR_BENCH_DATA) + "/" + file;
    CScenarioRunner runner(options);
    if (!runner.Load()) {
        state.SkipWithError(runner.Error().c_str());
        return;
    }
    CBrevimarDoc& doc = runner.Document();
    auto restart = [&] {
        doc.RandomState = doc.InitialSeed;
        doc.InitializeForces();
        if (extra == Extra::Weapons) {
            doc.RedForce.WeaponsOn = doc.BlueForce.WeaponsOn = 1;
            // Every fifth agent throws grenades, the others carry point weapons 1..4.
            for (Side side : {Side::Red, Side::Blue})
                for (int i = 1; i <= MaxAgents; ++i)
                    doc.Force(side).AgentWeapon[i] = i % 5;
        }
        if (extra == Extra::Statistics) {
            // Every per-step statistic, filed before each step as the run loop does.
            doc.Statistics.DataCollectionOn = 1;
            doc.Statistics.AllStatisticsOn = 0;
            doc.SetAllStatistics();
        }
        doc.ResetBattlefield();
    };
    restart();
    double agentSteps = 0;
    for (auto _ : state) {
        if (doc.RunHeader.CurrentStep >= MaxSeriesStep) {
            state.PauseTiming();
            restart();
            state.ResumeTiming();
        }
        agentSteps += LivingAgents(doc);
        ++doc.RunHeader.CurrentStep;
        if (extra == Extra::Statistics)
            doc.CollectStepStatistics();
        if (interactive)
            doc.StepSimulationInView();
        else
            doc.StepSimulation();
    }
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    // Time per living agent-step, printed in seconds with an SI prefix.
    state.counters["per-agent-step"] =
        benchmark::Counter(agentSteps, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Large(benchmark::State& state) { StepScenario(state, "large.dat", Extra::None, false); }
void BM_LargeTerrainWeapons(benchmark::State& state) { StepScenario(state, "large_terrain.dat", Extra::Weapons, false); }
// Against BM_Large: the cost of every statistic switched on.
void BM_LargeAllStatistics(benchmark::State& state) { StepScenario(state, "large.dat", Extra::Statistics, false); }
void BM_Small(benchmark::State& state) { StepScenario(state, "small.dat", Extra::None, false); }
void BM_LargeInteractive(benchmark::State& state) { StepScenario(state, "large.dat", Extra::None, true); }

BENCHMARK(BM_Large)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargeTerrainWeapons)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargeAllStatistics)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Small)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargeInteractive)->Unit(benchmark::kMicrosecond);

}  // namespace
