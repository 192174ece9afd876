// The grid's selection over 1,000 and 1,000,000 rows that show the same texts: a cell-range
// selection anchored at the first cell and stretched to the last row's last column, then moved to
// the last row's first cell and stretched back to the first row's last column, each step followed by
// a drawing pass of the window. The two must cost the same: accepting a range, moving the view's
// current item to the selected row and drawing the selection read no row but the visible ones.
// - Grid_SelectionSteps/{1000,1000000}: the four steps and their four passes.
#include <benchmark/benchmark.h>

#include "OmbriGrid/GridCellRange.h"
#include "grid_scene.h"

namespace {

void Grid_SelectionSteps(benchmark::State& state) {
    GridScene scene(state.range(0));
    auto& grid = *scene.grid;
    grid.setSelectionMode(GridSelectionModeCellRange);
    const auto last = static_cast<std::int32_t>(grid.rows()->count()) - 1;
    const auto lastColumn = static_cast<std::int32_t>(grid.columns()->count()) - 1;
    const GridCellRange steps[] = {{0, 0}, {0, 0, last, lastColumn}, {last, 0}, {last, 0, 0, lastColumn}};
    for (auto _ : state) {
        for (const auto& step : steps) {
            grid.setSelection(std::make_shared<GridCellRange>(step));
            scene.window->display(scene.image.context());
        }
    }
    if (scene.view->currentPosition() != last) state.SkipWithError("the current item did not follow the selection");
}
BENCHMARK(Grid_SelectionSteps)->Arg(1000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
