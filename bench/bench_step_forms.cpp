// Whole batch steps of the reference scenarios in three forms (as written,
// its squads unlinked; communications sharing with every squad hearing every
// squad; terrain with line of sight and weapons, squads unlinked) and a
// scaling series of 50 to 300 agents a side with and without sharing, each
// beside a bare kernel doing the work no step can avoid on the same battle
// (see Kernel).
//
// The reference files switch communications on but carry no links, and a
// set-up links every squad pair of a document that has none; the forms
// without sharing unlink them again after each set-up, so that every agent
// still asks for reports and finds no reporter, and the sharing form alone
// measures sharing.
//
// Each iteration times one step and the kernel on the positions the step
// starts from, in the thread's processor time, so both see the same battle
// and the load of a shared machine counts as little as it can.
// Counters: step and kernel time per living agent-step, and their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/NeighborGrid.h"
#include "tools/ScenarioRunner.h"

namespace {

using namespace brevimar;

// Processor time of this thread: other work on a shared machine does not count.
double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

struct Form {
    const char* File;
    bool Comms = false;
    bool LineOfSight = false;
    bool Weapons = false;
    int PerSide = 0;  // 0: as the file says
};

// The unavoidable work of a step over the current positions: every living
// agent finds the agents in its sensor box (and, sharing communications,
// those within its reporters' reach: the communications range plus a sensor
// range) from the forces' kept cell grids, and adds one distance term per agent in
// its sensor box to every free cell of its movement box.
class Kernel {
public:
    explicit Kernel(bool comms) : Comms(comms) {}

    // Returns a checksum so that the work cannot be optimised away.
    double Run(const CBrevimarDoc& doc)
    {
        const int size = std::clamp(doc.Battlefield.BattleSize, 1, MaxBattleSize);
        double sum = 0;
        for (Side side : {Side::Red, Side::Blue}) {
            const CForce& f = doc.Force(side);
            for (int i = 1; i <= f.NumAgents; ++i) {
                if (f.AgentState[i] <= Dead)
                    continue;
                const int x = f.AgentX[i], y = f.AgentY[i];
                int n = 0;
                const SquareBox sensor(x, y, f.SensorRange[i]);
                const SquareBox reach(x, y, f.SensorRange[i] + f.COMM_range + f.SensorRange[i]);
                for (Side other : {Side::Red, Side::Blue}) {
                    const CForce& g = doc.Force(other);
                    AgentBits near;
                    if (!g.Grid.Near(Comms ? reach : sensor, &near, g.NumAgents))
                        for (int j = 1; j <= std::min(g.NumAgents, MaxAgents); ++j)
                            near.Set(j);
                    near.ForEach([&](int j) {
                        if (g.AgentState[j] <= Dead)
                            return;
                        if (sensor.Contains(g.AgentX[j], g.AgentY[j])) {
                            NearX[n] = static_cast<float>(g.AgentX[j]);
                            NearY[n] = static_cast<float>(g.AgentY[j]);
                            NearC[n] = other == side ? 0.1f : -0.2f;
                            ++n;
                        } else {
                            sum += reach.Contains(g.AgentX[j], g.AgentY[j]);
                        }
                    });
                }
                const int r = std::min(f.AgentState[i] == Alive ? f.MoveRangeAlive[i] : f.MoveRangeInjured[i],
                                       MaxMoveRange);
                float best = 1e30f;
                for (int cx = std::max(x - r, 1); cx <= std::min(x + r, size); ++cx)
                    for (int cy = std::max(y - r, 1); cy <= std::min(y + r, size); ++cy) {
                        if (doc.Battlefield.AgentGrid[GridIndex(cx, cy)] != CellFree)
                            continue;
                        const float px = static_cast<float>(cx), py = static_cast<float>(cy);
                        float p = 0;
                        for (int k = 0; k < n; ++k) {
                            const float ex = px - NearX[k], ey = py - NearY[k];
                            p += NearC[k] * std::sqrt(ex * ex + ey * ey) / 7.07f;
                        }
                        best = std::min(best, p);
                    }
                sum += best;
            }
        }
        return sum;
    }

private:
    static constexpr int MaxNear = 2 * MaxAgents;
    bool Comms;
    float NearX[MaxNear], NearY[MaxNear], NearC[MaxNear];
};

int LivingAgents(const CBrevimarDoc& doc)
{
    int n = 0;
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& force = doc.Force(side);
        for (int i = 1; i <= force.NumAgents; ++i)
            n += force.AgentState[i] > Dead;
    }
    return n;
}

void StepForm(benchmark::State& state, Form form)
{
    RunnerOptions options;
    options.ScenarioPath = std::string(BREVIMAR_BENCH_DATA) + "/" + form.File;
    options.ShareCommunications = form.Comms;
    options.LineOfSight = form.LineOfSight;
    options.Weapons = form.Weapons;
    CScenarioRunner runner(options);
    if (!runner.Load()) {
        state.SkipWithError(runner.Error().c_str());
        return;
    }
    CBrevimarDoc& doc = runner.Document();
    auto restart = [&] {
        if (form.PerSide > 0) {
            for (Side side : {Side::Red, Side::Blue}) {
                CForce& force = doc.Force(side);
                force.NumAgents = form.PerSide;
                for (int s = 1; s <= force.NumSquads; ++s)
                    force.num_per_squad[s] = form.PerSide / force.NumSquads;
            }
        }
        ApplyRunnerForms(doc, options);
        if (!form.Comms)
            for (Side side : {Side::Red, Side::Blue})
                for (auto& row : doc.Force(side).CommMatrix)
                    for (int& link : row)
                        link = 0;
    };
    restart();
    auto kernel = std::make_unique<Kernel>(form.Comms);
    double agentSteps = 0, stepSeconds = 0, kernelSeconds = 0, checksum = 0;
    for (auto _ : state) {
        if (doc.RunHeader.CurrentStep >= MaxSeriesStep || LivingAgents(doc) == 0) {
            state.PauseTiming();
            restart();
            state.ResumeTiming();
        }
        agentSteps += LivingAgents(doc);
        const double t0 = ThreadSeconds();
        checksum += kernel->Run(doc);
        const double t1 = ThreadSeconds();
        ++doc.RunHeader.CurrentStep;
        doc.StepSimulation();
        const double t2 = ThreadSeconds();
        kernelSeconds += t1 - t0;
        stepSeconds += t2 - t1;
    }
    benchmark::DoNotOptimize(checksum);
    if (agentSteps > 0) {
        state.counters["step_us"] = stepSeconds / agentSteps * 1e6;
        state.counters["kernel_us"] = kernelSeconds / agentSteps * 1e6;
        state.counters["ratio"] = kernelSeconds > 0 ? stepSeconds / kernelSeconds : 0;
        // For instruction counts per agent-step under a profiler.
        state.counters["agent_steps"] = agentSteps;
    }
}

void BM_Reference(benchmark::State& s) { StepForm(s, {"large.dat"}); }
void BM_ReferenceComms(benchmark::State& s) { StepForm(s, {"large.dat", true}); }
void BM_ReferenceTerrainSight(benchmark::State& s) { StepForm(s, {"large_terrain.dat", false, true, true}); }
void BM_Scaling(benchmark::State& s) { StepForm(s, {"large.dat", false, false, false, static_cast<int>(s.range(0))}); }
void BM_ScalingComms(benchmark::State& s) { StepForm(s, {"large.dat", true, false, false, static_cast<int>(s.range(0))}); }

BENCHMARK(BM_Reference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReferenceComms)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReferenceTerrainSight)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Scaling)->Arg(50)->Arg(100)->Arg(200)->Arg(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScalingComms)->Arg(50)->Arg(100)->Arg(200)->Arg(300)->Unit(benchmark::kMicrosecond);

}  // namespace
