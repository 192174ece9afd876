// Merged cells in one long run: the first two columns hold one text each down every row and merge
// vertically into two blocks as tall as the grid, scrolled to the middle. A step that changes no data
// must cost the same at 10,000 and 400,000 rows: the blocks' ends are found once per data change.
// - Grid_MergedFullPass/{10000,400000}: invalidate, then the window drawn into an image.
// - Grid_MergedRunsWalked/{10000,400000}: the pass after a data change, which walks both blocks
//   from end to end again: this one grows with the run's length.
// - Grid_MergedDownKey/{10000,400000}: the down key inside the block (it leaves the block and comes
//   back with the up key), each followed by a pass.
// - Grid_MergedEditCommit/{10000,400000}: an edit of a cell of the block committed, then a pass. The
//   commit writes its value into every cell of the block, so this one grows with the run's length.
#include <benchmark/benchmark.h>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridMergeManager.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "Platform/ui/text_field.h"
#include "grid_scene.h"

class MergeRecord : public plat::Object {
public:
    PLAT_CLASS()
    std::string region, branch, code;
    double amount = 0;
};

PLAT_DEFINE_CLASS(MergeRecord, plat::Object, plat::property("region", &MergeRecord::region),
                  plat::property("branch", &MergeRecord::branch), plat::property("code", &MergeRecord::code),
                  plat::property("amount", &MergeRecord::amount))

namespace {

struct MergedScene {
    explicit MergedScene(long rows, const plat::Rect& screen = {0, 0, 800, 600})
        : window(plat::Window::create(screen)), grid(OmbriGrid::create(screen)), image{screen.size, 1, true} {
        plat::Clock::useVirtual(plat::Date(GridScene::VirtualStart));
        auto items = std::make_shared<plat::Array>();
        items->reserve(static_cast<std::size_t>(rows));
        for (long i = 0; i < rows; ++i) {
            auto r = std::make_shared<MergeRecord>();
            r->region = "North";
            r->branch = "Main";
            r->code = GridScene::labelled("C", i);
            r->amount = static_cast<double>(i % GridScene::Period) * 1.25;
            items->push_back(plat::Value(std::move(r)));
        }
        grid->setCollectionView(KivoCollectionView::create(items));
        for (std::int32_t c = 0; c < 2; ++c) grid->columns()->column(c)->setAllowMerging(true);
        grid->setAllowMerging(GridAllowMergingCells);
        window->addSubview(grid);
        window->display(image.context());
        grid->setScrollPosition({0, grid->rows()->totalSize() / 2.0});
        window->display(image.context());
        middle = static_cast<std::int32_t>(rows / 2);
    }
    ~MergedScene() {
        plat::RunLoop::main().discardPendingWork();
        plat::Clock::useSystem();
    }
    MergedScene(const MergedScene&) = delete;
    MergedScene& operator=(const MergedScene&) = delete;

    void pass() { window->display(image.context()); }

    std::shared_ptr<plat::Window> window;
    std::shared_ptr<OmbriGrid> grid;
    plat::ImageContext image;
    std::int32_t middle = 0;
};

void Grid_MergedFullPass(benchmark::State& state) {
    MergedScene scene(state.range(0));
    for (auto _ : state) {
        scene.grid->invalidate();
        scene.pass();
    }
}
BENCHMARK(Grid_MergedFullPass)->Arg(10'000)->Arg(400'000)->Unit(benchmark::kMillisecond);

void Grid_MergedRunsWalked(benchmark::State& state) {
    MergedScene scene(state.range(0));
    for (auto _ : state) {
        scene.grid->mergeManager()->dropCache();
        scene.grid->invalidate();
        scene.pass();
    }
}
BENCHMARK(Grid_MergedRunsWalked)->Arg(10'000)->Arg(400'000)->Unit(benchmark::kMillisecond);

void Grid_MergedDownKey(benchmark::State& state) {
    MergedScene scene(state.range(0));
    auto& grid = *scene.grid;
    grid.setSelection(std::make_shared<GridCellRange>(scene.middle, 0));
    scene.pass();
    for (auto _ : state) {
        grid.downKeyPress();
        scene.pass();
        grid.upKeyPress();
        scene.pass();
    }
    if (!grid.selection() || grid.selection()->col() != 0) state.SkipWithError("the selection left the block's column");
}
BENCHMARK(Grid_MergedDownKey)->Arg(10'000)->Arg(400'000)->Unit(benchmark::kMillisecond);

void Grid_MergedEditCommit(benchmark::State& state) {
    MergedScene scene(state.range(0));
    auto& grid = *scene.grid;
    bool south = false;
    for (auto _ : state) {
        if (!grid.startEditing(true, scene.middle, 0)) {
            state.SkipWithError("the edit did not open");
            break;
        }
        auto field = std::dynamic_pointer_cast<plat::TextField>(grid.activeEditor());
        if (!field) {
            state.SkipWithError("the editor is not a text field");
            break;
        }
        south = !south;
        field->setText(south ? "South" : "North");
        grid.textFieldShouldReturn(*field);
        scene.pass();
    }
}
BENCHMARK(Grid_MergedEditCommit)->Arg(10'000)->Arg(400'000)->Unit(benchmark::kMillisecond);

}  // namespace
