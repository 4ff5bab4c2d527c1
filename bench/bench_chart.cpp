// One drawing of the charts the program builds at their largest: a time
// chart of seven curves over 500 steps, with and without error bars, and a
// 50 x 50 fitness landscape as a surface and seen from above, each into a
// 640 x 480 image as a chart window shows it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/ChartEngine.h"

namespace {

using namespace brevimar::chart;

// Text needs a running application; the offscreen platform needs no screen.
void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "bench_chart";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static QApplication app(argc, argv);
    }
}

HGRAPH TimeChart(bool errorBars)
{
    HGRAPH h = CreateGraphEx(0, 0, QRect(0, 0, 640, 480), nullptr, 1);
    SetGraphType(h, 6);
    SetNumSets(h, 7);
    SetNumPoints(h, 500);
    SetEBarSourceAt(h, 0, errorBars ? 5 : 0);
    SetXAxisMin(h, 1.0);
    SetXAxisMax(h, 500.0);
    SetXAxisTicks(h, 50);
    SetYAxisTicksAt(h, 0, 3);
    for (int s = 0; s < 7; ++s) {
        SetLegendTextAt(h, s, s % 2 ? "Blue (Total)" : "Red (Total)");
        for (int p = 0; p <= 500; ++p) {
            SetGraphDataAt(h, s, p, 1.0 - p / 600.0 - s * 0.03 + 0.01 * std::sin(p / 7.0));
            SetXPosDataAt(h, s, p, std::max(p, 1));
            if (errorBars) {
                SetEBarGraphDataPlusAt(h, s, p, 0.05);
                SetEBarGraphDataMinusAt(h, s, p, 0.05);
            }
        }
    }
    SetGraphTitle(h, "Fraction of Remaining VORLAXs");
    SetLeftTitle(h, "% Remaining");
    SetBottomTitle(h, "Time");
    SetDrawMode(h, 3);
    return h;
}

HGRAPH Landscape(bool top)
{
    HGRAPH h = CreateGraphEx(0, 0, QRect(0, 0, 640, 480), nullptr, 1);
    SetGraphType(h, 20);
    SetNumSets(h, 50);
    SetNumPoints(h, 50);
    SetPalette(h, 6);
    SetRotation(h, top ? 0 : 40);
    SetElevation(h, top ? 90 : 25);
    SetPerspective(h, top ? 100 : 15);
    for (int s = 0; s < 50; ++s) {
        SetZLabelTextAt(h, s, std::to_string(s));
        for (int p = 0; p < 50; ++p)
            SetGraphDataAt(h, s, p, std::sin(s / 8.0) * std::cos(p / 6.0));
    }
    for (int p = 0; p < 50; ++p)
        SetLabelTextAt(h, p, std::to_string(p));
    SetYAxisMinAt(h, 0, -1.0);
    SetYAxisMaxAt(h, 0, 1.0);
    SetDrawMode(h, 3);
    return h;
}

void Draw(benchmark::State& state, HGRAPH h)
{
    for (auto _ : state) {
        QImage image = RenderChartImage(h, {640, 480});
        benchmark::DoNotOptimize(image.constBits());
    }
    DestroyGraph(h);
}

void BM_TimeChart(benchmark::State& state)
{
    EnsureApplication();
    Draw(state, TimeChart(state.range(0) != 0));
}
BENCHMARK(BM_TimeChart)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Landscape(benchmark::State& state)
{
    EnsureApplication();
    Draw(state, Landscape(state.range(0) != 0));
}
BENCHMARK(BM_Landscape)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
