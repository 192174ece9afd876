// A scroll frame of the grid: the origin set to the next of a fixed cycle of positions within the last
// 20 screens of the content, then a full drawing pass of the window into an image. A frame over
// 1,000,000 rows must cost what it costs over 1,000 rows (goal: within 1.1×), as the rows under the
// new origin are found by binary search and only the visible cells are drawn.
// - Grid_ScrollFrame/{1000,1000000}
#include <benchmark/benchmark.h>

#include <array>

#include "grid_scene.h"

namespace {

constexpr int Screens = 20;
constexpr int CycleLength = 16;

void Grid_ScrollFrame(benchmark::State& state) {
    GridScene scene(state.range(0));
    OmbriGrid& grid = *scene.grid;
    const double screen = grid.bounds().height();
    const double bottom = grid.rows()->totalSize() - screen + grid.offset().y;
    // Uneven steps with fractional parts, so no frame lands on a row boundary the one before it did.
    std::array<plat::Point, CycleLength> origins{};
    for (int i = 0; i < CycleLength; ++i)
        origins[static_cast<std::size_t>(i)] = {0,
                                                bottom - (Screens * screen) * ((i * 7) % CycleLength) / CycleLength - 0.37 * i};
    std::size_t next = 0;
    for (auto _ : state) {
        grid.setScrollPosition(origins[next]);
        next = (next + 1) % origins.size();
        scene.window->display(scene.image.context());
    }
}
BENCHMARK(Grid_ScrollFrame)->Arg(1000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
