// Building a waypoint field over the largest battlefield: it runs on an
// explicit command, never inside a step, but should not stall the window.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/Host.h"
#include "core/PathField.h"

namespace {

void BM_PathFieldOpenGround(benchmark::State& state)
{
    brevimar::HeadlessHost host;
    std::vector<int> grid(151 * 151, 0);
    for (int y = 20; y <= 130; ++y)
        grid[151 * 75 + y] = 1;  // one long wall to walk round
    for (auto _ : state) {
        brevimar::CPathField field(grid.data(), 150, 150, 140, 140, 1, host);
        benchmark::DoNotOptimize(field.Predecessor);
    }
}
BENCHMARK(BM_PathFieldOpenGround)->Unit(benchmark::kMillisecond);

}  // namespace
