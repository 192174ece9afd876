// The grid's drawing pass, scrolled to the middle of 1,000 and of 1,000,000 rows that show the same
// texts: the two must cost the same, as rows and columns are found by binary search over cumulative
// sizes and only the visible cells are drawn.
// - Grid_FullPass/{1000,1000000}: invalidate, then the window drawn into an image (every visible
//   cell's image made again).
// - Grid_CachedPass/{1000,1000000}: the window drawn again, every cell from its cached image.
#include <benchmark/benchmark.h>

#include "grid_scene.h"

PLAT_DEFINE_CLASS(GridSceneRecord, plat::Object, plat::property("amount", &GridSceneRecord::amount),
                  plat::property("code", &GridSceneRecord::code), plat::property("opened", &GridSceneRecord::opened),
                  plat::property("active", &GridSceneRecord::active), plat::property("price", &GridSceneRecord::price),
                  plat::property("city", &GridSceneRecord::city), plat::property("closed", &GridSceneRecord::closed),
                  plat::property("flagged", &GridSceneRecord::flagged), plat::property("ratio", &GridSceneRecord::ratio),
                  plat::property("note", &GridSceneRecord::note))

namespace {

void Grid_FullPass(benchmark::State& state) {
    GridScene scene(state.range(0));
    for (auto _ : state) scene.fullPass();
}
BENCHMARK(Grid_FullPass)->Arg(1000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void Grid_CachedPass(benchmark::State& state) {
    GridScene scene(state.range(0));
    scene.cachedPass();
    for (auto _ : state) scene.cachedPass();
}
BENCHMARK(Grid_CachedPass)->Arg(1000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
