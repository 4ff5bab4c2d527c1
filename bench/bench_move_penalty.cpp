// Scoring one agent's movement box, the innermost work of every step: a RED
// agent of range 4 in the middle of 300 RED and 300 BLUE agents packed round
// its box, all of them sensed, with impassable terrain in sensor range.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "core/Document.h"

namespace {

using namespace brevimar;

struct Scene {
    HeadlessHost host;
    std::unique_ptr<CBrevimarDoc> doc = CBrevimarDoc::Create();
    float table[MoveTableSize] = {};
    int mover = 1;

    Scene()
    {
        CBrevimarDoc& d = *doc;
        d.SetHost(&host);
        d.AllocateHeapBuffers();
        d.Battlefield.BattleSize = 150;
        d.Battlefield.TerrainMode = 1;
        d.NumRed() = 0;
        d.NumBlue() = 0;
        Add(Side::Red, 75, 75);
        // Everyone else fills the square 51..99 outside the mover's box, the two
        // sides alternating, until each has 300.
        int placed = 0;
        for (int x = 51; x <= 99 && placed < 599; ++x)
            for (int y = 51; y <= 99 && placed < 599; ++y) {
                if (std::abs(x - 75) <= 6 && std::abs(y - 75) <= 6)
                    continue;
                Add(placed % 2 == 0 ? Side::Blue : Side::Red, x, y);
                ++placed;
            }
        // A short lava wall within sensor range, off the box.
        for (int y = 70; y <= 80; ++y) {
            d.Battlefield.TerrainType[GridIndex(69, y)] = Lava;
            d.Battlefield.AgentGrid[GridIndex(69, y)] = CellTerrain;
        }

        CForce& f = d.RedForce;
        f.DistanceNormaliser[mover] = 10.0f * 1.4142135f;
        f.SensorRangeAlive[mover] = 10;
        f.MovementFlag[mover] = 1;
        f.SquadWeightMatrix[1][1] = 1.0;
        for (int k = W1; k < WeightSlots; ++k)
            f.AliveWeight[k][mover] = 0.1f;
        f.EffW1[mover] = 0.2f;
        f.EffW2[mover] = 0.3f;
        f.EffW3[mover] = 0.1f;
        f.EffW4[mover] = 0.1f;
        f.EffW5[mover] = 0.05f;
        f.EffW6[mover] = 0.25f;
        f.EffWTerrain[mover] = -0.1f;
        f.EffWArea[mover] = 0.1f;
        f.FlockWeight[mover] = 0.1f;
        f.FriendMinDistAlive[mover] = 6.0f;
        f.EnemyMinDistAlive[mover] = 8.0f;
        f.TerrainMinDistAlive[mover] = 3.0f;
        f.FlockMinAlive[mover] = 1.0f;
        f.LocalCenterX = 90.5;
        f.LocalCenterY = 60.25;
        f.AreaCenterX[1] = 100;
        f.AreaCenterY[1] = 100;
        f.AreaRangeX[1] = f.AreaRangeY[1] = 5;
        f.GoalFlagX = 140;
        f.GoalFlagY = 140;
        d.BlueForce.GoalFlagX = 10;
        d.BlueForce.GoalFlagY = 10;
        f.CommWeightAlive = 0.5f;
        for (int j = 1; j <= d.NumRed(); ++j) {
            f.FriendSensed[j] = j != mover && j % 2 == 0;
            f.FriendViaComm[j] = j != mover && j % 2 == 1;
        }
        for (int j = 1; j <= d.NumBlue(); ++j) {
            f.EnemySensed[j] = j % 3 != 0;
            f.EnemyViaComm[j] = j % 3 == 0;
        }

        CLocalCommand& lc = d.RedLocal;
        lc.LocalCommandOn = 1;
        lc.NumLocalCommanders = 2;
        lc.CommandRole[mover] = LocalCommander;
        lc.CommanderNumberOf[mover] = 1;
        lc.ObeyGlobalWeight[1] = 0.5f;
        lc.HelpLocalWeight[1] = 0.25f;
        f.MaxAliveWeight[mover] = 0.3f;
        d.RedGlobal.GlobalCommandOn = 1;
        d.RedGlobal.GcTargetX[1] = 120;
        d.RedGlobal.GcTargetY[1] = 30;
        d.RedGlobal.GcHelpX[1] = 40;
        d.RedGlobal.GcHelpY[1] = 110;
    }

    void Add(Side side, int x, int y)
    {
        CForce& f = doc->Force(side);
        const int i = ++f.NumAgents;
        f.AgentX[i] = x;
        f.AgentY[i] = y;
        f.AgentState[i] = Alive;
        f.AgentSquad[i] = 1;
        doc->Battlefield.AgentGrid[GridIndex(x, y)] = CellAgent;
    }
};

void BM_MovePenalty(benchmark::State& state, MovePenaltyKind kind)
{
    Scene scene;
    CBrevimarDoc& d = *scene.doc;
    for (auto _ : state) {
        const float best = d.EvalMovePenalties(Side::Red, kind, scene.mover, 4, 99999.0f, scene.table,
                                               d.RedForce.GoalFlagX, d.RedForce.GoalFlagY);
        benchmark::DoNotOptimize(best);
        benchmark::ClobberMemory();
    }
    state.counters["agents"] = d.NumRed() + d.NumBlue();
}
BENCHMARK_CAPTURE(BM_MovePenalty, Default, MovePenaltyKind::Default)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MovePenalty, Communications, MovePenaltyKind::Communications)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MovePenalty, GlobalCommand, MovePenaltyKind::GlobalCommand)->Unit(benchmark::kMicrosecond);

// The whole selection, move included; the agent is put back after each move.
void BM_SelectRedMove(benchmark::State& state)
{
    Scene scene;
    CBrevimarDoc& d = *scene.doc;
    d.RedForce.MoveRangeAlive[scene.mover] = 4;
    d.RandomState = -17;
    for (auto _ : state) {
        d.SelectRedMove(scene.mover, 0);
        state.PauseTiming();
        d.Battlefield.AgentGrid[GridIndex(d.RedForce.AgentX[scene.mover], d.RedForce.AgentY[scene.mover])] = CellFree;
        d.RedForce.AgentX[scene.mover] = 75;
        d.RedForce.AgentY[scene.mover] = 75;
        d.Battlefield.AgentGrid[GridIndex(75, 75)] = CellAgent;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SelectRedMove)->Unit(benchmark::kMicrosecond);

}  // namespace
