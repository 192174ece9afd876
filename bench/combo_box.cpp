// The combo box on long item lists: opening its list on a selected item far down (which scrolls the
// list to it and builds the rows in view), whose cost must not grow with the item count; scrolling
// the open list from end to end, where the cells built must stay at the rows in view plus one (cells
// are reused); and changes through the collection view (appended, inserted, replaced or removed
// items), each of which costs what it changes, not the length of the list.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "KivoComboBox/KivoComboBox.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/ui/view_controller.h"
#include "Platform/ui/window.h"
#include "collection_roads.h"

namespace {

constexpr double ListHeight = 5 * plat::TableView::DefaultRowHeight;

// A phone-sized window whose root view holds a combo box bound to `count` items.
struct Stage {
    explicit Stage(std::int64_t count) {
        window->setRootViewController(controller);
        auto items = std::make_shared<plat::Array>();
        items->reserve(static_cast<std::size_t>(count));
        for (std::int64_t i = 0; i < count; ++i)
            items->push_back(plat::Value(plat::Dictionary{{"name", "Item " + std::to_string(i)}}));
        combo->setDisplayMemberPath(std::string("name"));
        combo->setDropDownHeight(ListHeight);
        combo->setItemsSource(items);
        controller->view()->addSubview(combo);
        window->layoutPass();
    }
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 320, 568});
    std::shared_ptr<plat::ViewController> controller = plat::ViewController::create();
    std::shared_ptr<KivoComboBox> combo = KivoComboBox::create({20, 60, 200, 34});
};

void BM_ComboBoxOpen(benchmark::State& state) {
    const std::int64_t count = state.range(0);
    Stage stage(count);
    auto& [window, controller, combo] = stage;
    // Two selections far apart, so that every opening scrolls to rows without cells.
    const std::uint64_t marks[] = {static_cast<std::uint64_t>(count / 4), static_cast<std::uint64_t>(3 * count / 4)};
    int turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        combo->setIsDropDownOpen(false);
        combo->setSelectedIndex(marks[turn++ % 2]);
        window->layoutPass();
        state.ResumeTiming();

        combo->setIsDropDownOpen(true);
        window->layoutPass();
        plat::RecordingContext rec;
        combo->dropDownBackView()->layer()->renderInContext(rec);
        benchmark::DoNotOptimize(rec.ops().size());
    }
    const auto& table = combo->tableView();
    state.counters["cells_built"] = static_cast<double>(table->visibleCells().size() + table->reusableCellCount());
}
BENCHMARK(BM_ComboBoxOpen)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_ComboBoxScrollEndToEnd(benchmark::State& state) {
    Stage stage(state.range(0));
    auto& [window, controller, combo] = stage;
    combo->setIsDropDownOpen(true);
    window->layoutPass();
    const auto& table = combo->tableView();
    const double end = table->maximumContentOffset().y;
    std::size_t mostInView = 0;
    for (auto _ : state) {
        for (double y = 0; y <= end + ListHeight; y += ListHeight / 2) {
            table->setContentOffset({0, std::min(y, end)});
            window->layoutPass();
            mostInView = std::max(mostInView, table->visibleCells().size());
        }
    }
    state.counters["rows_in_view"] = static_cast<double>(mostInView);
    state.counters["cells_built"] = static_cast<double>(table->visibleCells().size() + table->reusableCellCount());
}
BENCHMARK(BM_ComboBoxScrollEndToEnd)->Arg(100)->Arg(100000)->Unit(benchmark::kMillisecond);

// Five changes through the collection view, by road, on 2,000 and on 200,000 items: each must cost
// what it changes, so the longer list stays within a small factor of the shorter one.
void BM_ComboBoxFiveChanges(benchmark::State& state) {
    Stage stage(state.range(1));
    std::int64_t made = 0;
    bench_roads::runRoad(state, *stage.combo->collectionView(), state.range(0), [&made] {
        return plat::Value(plat::Dictionary{{"name", "Added " + std::to_string(made++)}});
    });
    benchmark::DoNotOptimize(stage.combo->tableView()->itemsSource()->size());
}
BENCHMARK(BM_ComboBoxFiveChanges)
    ->ArgsProduct({{bench_roads::Append, bench_roads::Insert, bench_roads::Replace, bench_roads::Remove}, {2000, 200000}})
    ->Unit(benchmark::kMicrosecond);

// The same changes made to a collection view that no control listens to: the floor, which the
// source list's own shifting of its items sets for an insert or a removal in the middle.
void BM_CollectionViewAloneFiveChanges(benchmark::State& state) {
    auto items = std::make_shared<plat::Array>();
    for (std::int64_t i = 0; i < state.range(1); ++i)
        items->push_back(plat::Value(plat::Dictionary{{"name", "Item " + std::to_string(i)}}));
    auto view = KivoCollectionView::create(items);
    std::int64_t made = 0;
    bench_roads::runRoad(state, *view, state.range(0), [&made] {
        return plat::Value(plat::Dictionary{{"name", "Added " + std::to_string(made++)}});
    });
}
BENCHMARK(BM_CollectionViewAloneFiveChanges)
    ->ArgsProduct({{bench_roads::Append, bench_roads::Insert, bench_roads::Replace, bench_roads::Remove}, {2000, 200000}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
