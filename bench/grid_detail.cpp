// A detail opened and closed in the middle of 1,000 and 1,000,000 rows that show the same texts, in
// the one-at-a-time mode: showDetail on the row at the top of the window, a drawing pass, hideDetail,
// a drawing pass. The two must cost the same: inserting and removing the detail row, the positions
// after it and finding another open detail read nothing in proportion to the row count.
// - Grid_DetailOpenClose/{1000,1000000}: the two steps and their two passes.
#include <benchmark/benchmark.h>

#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGridDetailProvider.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "grid_scene.h"

namespace {

void Grid_DetailOpenClose(benchmark::State& state) {
    GridScene scene(state.range(0));
    auto& grid = *scene.grid;
    const auto& provider = grid.detailProvider();
    auto owner = std::make_shared<int>();
    provider->detailCellCreating()->addHandler(
        [](const std::shared_ptr<KivoEventContainer>& c) {
            if (auto args = c->args<GridDetailCellCreatingEventArgs>()) args->setView(plat::View::create());
        },
        owner);
    provider->setDetailVisibilityMode(GridDetailVisibilityModeSingle);
    const auto index = static_cast<std::int32_t>(state.range(0) / 2);
    grid.scrollRowIntoView(index);
    scene.window->display(scene.image.context());
    const auto row = grid.rows()->row(index);
    for (auto _ : state) {
        provider->showDetail(row);
        scene.window->display(scene.image.context());
        provider->hideDetail(row);
        scene.window->display(scene.image.context());
    }
    if (grid.rows()->count() != static_cast<std::size_t>(state.range(0))) state.SkipWithError("a detail row was left behind");
}
BENCHMARK(Grid_DetailOpenClose)->Arg(1000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

}  // namespace
