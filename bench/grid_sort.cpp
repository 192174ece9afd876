// A header tap on a grid bound to a million items, from the finger's touch to the end of the next
// drawing pass, against the same change of the sort list on a collection view of the same items that
// no grid shows: what the grid adds to the view's own sort is the tap, one rebuild of the rows and
// one pass.
// - Grid_SortTap/flip: taps on the first column's header, each flipping its one sort description.
// - Grid_SortTap/switch: taps on the first and the second column's headers (a number, a text) in
//   turn, each replacing the whole sort by an ascending one on the tapped column.
// - View_SortChange/flip, View_SortChange/switch: the same changes made to the view's sort list.
// The ratio Grid_SortTap / View_SortChange is the grid's overhead.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "KivoCore/KivoSortDescription.h"
#include "Platform/ui/gestures.h"
#include "grid_scene.h"

namespace {

constexpr long Items = 1'000'000;
enum Change : std::int64_t { Flip = 0, Switch = 1 };
// Changes made before the timing starts, on both sides: the first sort of the unsorted items, and the
// first few times the allocator hands out buffers of a million entries, cost more than the rest.
constexpr int WarmUp = 4;

// The scene's first two columns.
const char* const SortedProperties[] = {"amount", "code"};

// The header of a column, in the window's coordinates.
plat::Point headerPoint(const OmbriGrid& grid, std::int32_t col) {
    const auto& cols = *grid.columns();
    const double x = grid.offset().x + cols.posAt(col) + cols.renderSizeAt(col) / 2.0 - grid.originX();
    return {x, grid.offset().y / 2};
}

// Touch down, lift, and let the double tap fail so that the single tap is told.
void tapAt(GridScene& scene, plat::Point at) {
    auto& loop = plat::RunLoop::main();
    scene.window->touchDown(at);
    loop.runFor(0.05);
    scene.window->touchUp();
    loop.runFor(plat::TapGestureRecognizer::MaximumTapInterval + 0.05);
}

void Grid_SortTap(benchmark::State& state) {
    const auto change = static_cast<Change>(state.range(0));
    GridScene scene(Items);
    // Every row must take part: the view holds the million items in one list, as the baseline's does.
    if (scene.grid->rows()->count() != static_cast<std::size_t>(Items)) state.SkipWithError("the rows do not mirror the items");
    std::int32_t next = 0;
    const auto step = [&] {
        tapAt(scene, headerPoint(*scene.grid, next));
        scene.window->display(scene.image.context());
        if (change == Switch) next = 1 - next;
    };
    for (int i = 0; i < WarmUp; ++i) step();
    std::int64_t sorted = 0;
    scene.grid->ombriGridSortedColumn()->addHandler([&sorted](const auto&) { ++sorted; }, scene.grid);
    for (auto _ : state) step();
    // Every tap must have sorted: none may have been taken for half of a double tap.
    if (sorted != static_cast<std::int64_t>(state.iterations())) state.SkipWithError("a tap did not sort");
    if (scene.view->sortDescriptions()->count() != 1) state.SkipWithError("the taps did not leave one sort description");
}
BENCHMARK(Grid_SortTap)->ArgName("switch")->Arg(Flip)->Arg(Switch)->MinTime(2)->Unit(benchmark::kMillisecond);

void View_SortChange(benchmark::State& state) {
    const auto change = static_cast<Change>(state.range(0));
    // The grid scene's items, made the same way, in a view that nothing shows and nobody reads.
    auto items = std::make_shared<plat::Array>();
    items->reserve(static_cast<std::size_t>(Items));
    for (long i = 0; i < Items; ++i) items->push_back(GridScene::record(i % GridScene::Period));
    auto view = KivoCollectionView::create(items);
    const auto sorts = view->sortDescriptions();
    std::int32_t next = 0;
    const auto step = [&] {
        if (change == Flip && sorts->count() == 1) {
            auto sort = sorts->objectAtIndexAs<KivoSortDescription>(0);
            sort->setAscending(!sort->ascending());
            sorts->replaceObjectAtIndex(0, plat::Value(sort));
        } else {
            const std::string property = SortedProperties[next];
            sorts->deferUpdate([&] {
                sorts->removeAllObjects();
                sorts->addObject(plat::Value(std::make_shared<KivoSortDescription>(property, true)));
            });
        }
        benchmark::DoNotOptimize(view->itemCount());
        if (change == Switch) next = 1 - next;
    };
    for (int i = 0; i < WarmUp; ++i) step();
    for (auto _ : state) step();
}
BENCHMARK(View_SortChange)->ArgName("switch")->Arg(Flip)->Arg(Switch)->MinTime(2)->Unit(benchmark::kMillisecond);

}  // namespace
