// One paint of a 150 x 150 battlefield with 300 RED and 300 BLUE agents:
// the composition alone, the off-screen picture, and the whole paint into an
// image at 100% and 200%, for each map layer; then frames of a battle that
// moves between paints, as in a run. A frame at 60 frames a second leaves
// 16.7 ms.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <memory>

#include "app/BattlefieldPainter.h"
#include "core/BattlefieldPicture.h"
#include "core/Document.h"
#include "tools/ScenarioRunner.h"

namespace {

using namespace brevimar;

struct Scene {
    HeadlessHost host;
    std::unique_ptr<CBrevimarDoc> doc = CBrevimarDoc::Create();

    Scene()
    {
        CBrevimarDoc& d = *doc;
        d.SetHost(&host);
        d.AllocateHeapBuffers();
        d.ResetDataCollection();
        d.RunMode = InteractiveMode;
        d.CellBitmapWidth = d.CellBitmapHeight = CellPictureSize;
        CBattlefield& f = d.Battlefield;
        f.BattleSize = 150;
        f.TerrainMode = 1;
        f.TerrainModifiersOn = 1;
        for (int x = 20; x <= 130; x += 22)
            for (int y = 30; y <= 40; ++y)
                f.TerrainType[GridIndex(x, y)] = x % 3 == 0 ? Lava : PassableII;
        d.RedForce.GoalFlagX = 140, d.RedForce.GoalFlagY = 141;
        d.BlueForce.GoalFlagX = 10, d.BlueForce.GoalFlagY = 11;

        // Two forces meeting in a band across the middle, so that every map
        // has something to show.
        for (Side side : {Side::Red, Side::Blue}) {
            CForce& force = d.Force(side);
            force.NumAgents = MaxAgents;
            force.NumSquads = 10;
            for (int i = 1; i <= MaxAgents; ++i) {
                const int k = i - 1;
                force.AgentX[i] = 1 + (k * 7) % 150;
                force.AgentY[i] = (side == Side::Red ? 60 : 72) + (k / 20) * 2 % 30;
                force.AgentState[i] = k % 11 == 0 ? Dead : (k % 3 == 0 ? Injured : Alive);
                force.AgentSquad[i] = 1 + k % 10;
            }
            CLocalCommand& local = d.Local(side);
            local.LocalCommandOn = 1;
            local.NumLocalCommanders = MaxCommanders;
            for (int c = 1; c <= MaxCommanders; ++c) {
                local.CommanderAgent[c] = 2 + 30 * (c - 1);
                local.cmnd_rad[c] = 4;
                local.SubordinateCount[c] = 20;
                for (int s = 1; s <= 20; ++s)
                    local.Subordinates[c][s] = 1 + (30 * (c - 1) + s) % MaxAgents;
            }
            d.Global(side).GlobalCommandOn = 1;
        }
        d.RedCommanderMarks = d.BlueCommanderMarks = 1;
        d.RedCommandAreas = d.BlueCommandAreas = 1;
        d.RedCommandLinks = d.BlueCommandLinks = 1;
        d.HighlightRedSquadOn = 1;
        d.HighlightRedSquadNumber = 3;
        d.KillMapRed = d.KillMapBlue = 1;
        d.RenderDisplayGrid();
        // Moves of this step for the activity map.
        for (int i = 1; i <= MaxAgents; i += 2) {
            d.ActivityGrids[0][LatticeStride * d.RedForce.AgentX[i] + d.RedForce.AgentY[i]] = 1;
            d.ActivityGrids[1][LatticeStride * d.BlueForce.AgentX[i] + d.BlueForce.AgentY[i]] = 1;
        }
    }

    void ShowLayer(BattlefieldLayer layer)
    {
        CBrevimarDoc& d = *doc;
        d.BattleFrontOn = layer == BattlefieldLayer::BattleFront;
        d.TerritoryMapRed = d.TerritoryMapBlue = layer == BattlefieldLayer::Territory;
        d.RedActivityMapOn = d.BlueActivityMapOn = layer == BattlefieldLayer::Activity;
        d.ZoomAreaCleared = 1;
    }
};

Scene& SharedScene()
{
    static Scene scene;
    return scene;
}

void Compose(benchmark::State& state)
{
    Scene& scene = SharedScene();
    scene.ShowLayer(static_cast<BattlefieldLayer>(state.range(0)));
    auto picture = std::make_unique<CBattlefieldPicture>();
    for (auto _ : state) {
        ComposeBattlefield(*scene.doc, *picture);
        benchmark::DoNotOptimize(picture->Slot(75, 75));
    }
}

void RenderOffScreen(benchmark::State& state)
{
    Scene& scene = SharedScene();
    scene.ShowLayer(static_cast<BattlefieldLayer>(state.range(0)));
    CBattlefieldPainter painter;
    for (auto _ : state)
        benchmark::DoNotOptimize(painter.Render(*scene.doc).constBits());
}

// The whole paint onto a window-sized image, zoom in percent.
void PaintWindow(benchmark::State& state)
{
    Scene& scene = SharedScene();
    scene.ShowLayer(static_cast<BattlefieldLayer>(state.range(0)));
    scene.doc->ZoomFactor = static_cast<float>(state.range(1)) / 100.0f;
    // Third argument 0: no command areas or links (the 400 long diagonal
    // links of this scene cost most of a frame in Qt's line drawing).
    const int lines = state.range(2);
    CBrevimarDoc& d = *scene.doc;
    d.RedCommandAreas = d.BlueCommandAreas = d.RedCommandLinks = d.BlueCommandLinks = lines;
    const CBattlefieldGeometry g = BattlefieldGeometry(d);
    QImage window(g.ZoomedWidth(), g.ZoomedHeight(), QImage::Format_RGB32);
    CBattlefieldPainter painter;
    for (auto _ : state) {
        QPainter on(&window);
        painter.Paint(d, on);
    }
    d.RedCommandAreas = d.BlueCommandAreas = d.RedCommandLinks = d.BlueCommandLinks = 1;
    scene.doc->ZoomFactor = 1.0f;
}

// As PaintWindow, with every other frame showing a different map, so that
// most cells change from one frame to the next: the frame where copying a
// kept picture saves the least.
void PaintChangingWindow(benchmark::State& state)
{
    Scene& scene = SharedScene();
    scene.doc->ZoomFactor = static_cast<float>(state.range(1)) / 100.0f;
    const CBattlefieldGeometry g = BattlefieldGeometry(*scene.doc);
    QImage window(g.ZoomedWidth(), g.ZoomedHeight(), QImage::Format_RGB32);
    CBattlefieldPainter painter;
    bool other = false;
    for (auto _ : state) {
        scene.ShowLayer(other ? BattlefieldLayer::Agents : static_cast<BattlefieldLayer>(state.range(0)));
        other = !other;
        QPainter on(&window);
        painter.Paint(*scene.doc, on);
    }
    scene.doc->ZoomFactor = 1.0f;
}

// As PaintWindow with command lines, with every agent one cell further east
// (wrapping round) before each frame, so that the agents' cells and every
// command line change from frame to frame as in a run. Moving and the
// lattice build are not timed.
void PaintMovingWindow(benchmark::State& state)
{
    Scene& scene = SharedScene();
    scene.ShowLayer(static_cast<BattlefieldLayer>(state.range(0)));
    CBrevimarDoc& d = *scene.doc;
    d.ZoomFactor = static_cast<float>(state.range(1)) / 100.0f;
    const CBattlefieldGeometry g = BattlefieldGeometry(d);
    QImage window(g.ZoomedWidth(), g.ZoomedHeight(), QImage::Format_RGB32);
    CBattlefieldPainter painter;
    for (auto _ : state) {
        state.PauseTiming();
        for (Side side : {Side::Red, Side::Blue}) {
            CForce& force = d.Force(side);
            for (int i = 1; i <= force.NumAgents; ++i)
                force.AgentX[i] = force.AgentX[i] % 150 + 1;
        }
        d.RenderDisplayGrid();
        state.ResumeTiming();
        QPainter on(&window);
        painter.Paint(d, on);
    }
    d.ZoomFactor = 1.0f;
}

// Frames of the 300 against 300 reference (bench/data/large.dat) as it runs:
// one interactive step, not timed, before each paint. The reference has no
// local command, so no command lines.
void PaintReferenceRun(benchmark::State& state)
{
    RunnerOptions options;
    options.ScenarioPath = std::string(BREVIMAR_BENCH_DATA) + "/large.dat";
    CScenarioRunner runner(options);
    if (!runner.Load()) {
        state.SkipWithError(runner.Error().c_str());
        return;
    }
    CBrevimarDoc& d = runner.Document();
    const bool activity = state.range(0) == static_cast<int>(BattlefieldLayer::Activity);
    auto restart = [&] {
        d.RandomState = d.InitialSeed;
        d.InitializeForces();
        d.ResetBattlefield();
        d.RedActivityMapOn = d.BlueActivityMapOn = activity;
        d.ZoomFactor = static_cast<float>(state.range(1)) / 100.0f;
        d.ZoomAreaCleared = 1;
    };
    restart();
    const CBattlefieldGeometry g = BattlefieldGeometry(d);
    QImage window(g.ZoomedWidth(), g.ZoomedHeight(), QImage::Format_RGB32);
    CBattlefieldPainter painter;
    for (auto _ : state) {
        state.PauseTiming();
        if (d.RunHeader.CurrentStep >= MaxSeriesStep)
            restart();
        ++d.RunHeader.CurrentStep;
        d.StepSimulationInView();
        state.ResumeTiming();
        QPainter on(&window);
        painter.Paint(d, on);
    }
}

constexpr int Front = static_cast<int>(BattlefieldLayer::BattleFront);
constexpr int Territory = static_cast<int>(BattlefieldLayer::Territory);
constexpr int Activity = static_cast<int>(BattlefieldLayer::Activity);
constexpr int Agents = static_cast<int>(BattlefieldLayer::Agents);

BENCHMARK(Compose)->Arg(Agents)->Arg(Activity)->Arg(Territory)->Arg(Front)->Unit(benchmark::kMicrosecond);
BENCHMARK(RenderOffScreen)->Arg(Agents)->Arg(Front)->Unit(benchmark::kMicrosecond);
BENCHMARK(PaintWindow)
    ->Args({Agents, 100, 1})
    ->Args({Agents, 200, 1})
    ->Args({Agents, 25, 1})
    ->Args({Activity, 100, 1})
    ->Args({Activity, 200, 1})
    ->Args({Territory, 100, 1})
    ->Args({Front, 100, 1})
    ->Args({Agents, 100, 0})
    ->Args({Agents, 200, 0})
    ->Args({Activity, 100, 0})
    ->Args({Activity, 200, 0})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(PaintChangingWindow)
    ->Args({Activity, 100})
    ->Args({Activity, 200})
    ->Args({Front, 100})
    ->Args({Front, 200})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(PaintMovingWindow)
    ->Args({Agents, 100})
    ->Args({Agents, 200})
    ->Args({Activity, 100})
    ->Args({Activity, 200})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(PaintReferenceRun)
    ->Args({Agents, 100})
    ->Args({Agents, 200})
    ->Args({Activity, 100})
    ->Args({Activity, 200})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
