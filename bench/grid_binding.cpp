// The grid bound to a flat collection view of model objects of five properties:
// - Grid_BindView: setCollectionView alternating between two views of the same million items, then the
//   rows' total size; Grid_ViewRefresh is the yardstick (the view's own refresh of the same items).
//   Grid_BindView also reports the heap the binding keeps per row (after minus before, mapped blocks
//   counted).
// - Grid_FollowEdit/{append,replace,remove middle}/{1000,1000000}: one announcement of the view
//   handled by the grid, then the total size; only that is timed, not the source list's own edit.
//   Each is preceded, untimed, by a real edit (the first one after binding is Grid_FirstEdit's).
// - Grid_FirstEdit/{1000,1000000}: the first item appended to the view after the grid bound it, the
//   view's own edit included: rows that read the view by position take a list of their own then.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <chrono>

#include <memory>
#include <string>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoNotifyCollectionChangedEventArgs.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/reflect.h"

namespace {

class BindingRecord : public plat::Object {
public:
    PLAT_CLASS()
    long id = 0;
    std::string name;
    double score = 0;
    bool active = false;
    plat::Date joined;
};
PLAT_DEFINE_CLASS(BindingRecord, plat::Object, plat::property("id", &BindingRecord::id),
                  plat::property("name", &BindingRecord::name), plat::property("score", &BindingRecord::score),
                  plat::property("active", &BindingRecord::active), plat::property("joined", &BindingRecord::joined))

plat::Value record(long i) {
    auto r = std::make_shared<BindingRecord>();
    r->id = i;
    r->name = std::to_string(i % 1000);
    r->score = static_cast<double>(i) * 0.5;
    r->active = i % 2 == 0;
    return plat::Value(std::move(r));
}

plat::ArrayPtr records(long n) {
    auto items = std::make_shared<plat::Array>();
    items->reserve(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i) items->push_back(record(i));
    return items;
}

std::size_t heapInUse() {
    const auto info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void Grid_ViewRefresh(benchmark::State& state) {
    auto view = KivoCollectionView::create(records(1'000'000));
    for (auto _ : state) {
        view->refresh();
        benchmark::DoNotOptimize(view->items());
    }
}
BENCHMARK(Grid_ViewRefresh)->Unit(benchmark::kMillisecond);

void Grid_BindView(benchmark::State& state) {
    constexpr long n = 1'000'000;
    auto items = records(n);
    auto first = KivoCollectionView::create(items);
    auto second = KivoCollectionView::create(items);
    first->items();
    second->items();
    auto grid = OmbriGrid::create({0, 0, 800, 600});
    // Columns first, so that the heap measured is the rows'.
    grid->setCollectionView(KivoCollectionView::create(std::make_shared<plat::Array>(plat::Array{record(0)})));
    grid->rows()->totalSize();
    const std::size_t before = heapInUse();
    grid->setCollectionView(first);
    benchmark::DoNotOptimize(grid->rows()->totalSize());
    const std::size_t after = heapInUse();
    bool flip = false;
    for (auto _ : state) {
        grid->setCollectionView(flip ? first : second);
        flip = !flip;
        benchmark::DoNotOptimize(grid->rows()->totalSize());
    }
    state.counters["bytes_per_row"] = static_cast<double>(after - before) / static_cast<double>(n);
}
BENCHMARK(Grid_BindView)->Unit(benchmark::kMillisecond);

// One kind of edit, announced at the row count given and then undone, untimed.
template <int Kind>
void Grid_FollowEdit(benchmark::State& state) {
    const long n = state.range(0);
    auto items = records(n);
    auto view = KivoCollectionView::create(items);
    auto grid = OmbriGrid::create({0, 0, 800, 600});
    grid->setCollectionView(view);
    grid->rows()->totalSize();
    const auto extra = std::make_shared<plat::Array>(plat::Array{record(-1)});
    const auto middle = static_cast<std::int64_t>(n / 2);
    for (auto _ : state) {
        // Untimed: a real edit, so that the rows hold a list of their own (rows that read the view take
        // one at their first edit) and follow an announcement made alone, with the view left as it is.
        view->addObject(record(-2));
        view->removeAt(static_cast<std::int32_t>(n));
        std::shared_ptr<plat::Array> old;
        switch (Kind) {
            case 0: {  // append
                const auto at = static_cast<std::int64_t>(grid->rows()->count());
                const auto start = std::chrono::steady_clock::now();
                view->raiseCollectionChanged(KivoNotifyCollectionChangedActionAdd, extra, at, nullptr, -1);
                benchmark::DoNotOptimize(grid->rows()->totalSize());
                state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
                view->raiseCollectionChanged(KivoNotifyCollectionChangedActionRemove, nullptr, -1, extra, at);
                break;
            }
            case 1: {  // replace
                old = std::make_shared<plat::Array>(plat::Array{(*items)[static_cast<std::size_t>(middle)]});
                const auto start = std::chrono::steady_clock::now();
                view->raiseCollectionChanged(KivoNotifyCollectionChangedActionReplace, extra, middle, old, middle);
                benchmark::DoNotOptimize(grid->rows()->totalSize());
                state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
                view->raiseCollectionChanged(KivoNotifyCollectionChangedActionReplace, old, middle, extra, middle);
                break;
            }
            default: {  // removal in the middle
                old = std::make_shared<plat::Array>(plat::Array{(*items)[static_cast<std::size_t>(middle)]});
                const auto start = std::chrono::steady_clock::now();
                view->raiseCollectionChanged(KivoNotifyCollectionChangedActionRemove, nullptr, -1, old, middle);
                benchmark::DoNotOptimize(grid->rows()->totalSize());
                state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
                view->raiseCollectionChanged(KivoNotifyCollectionChangedActionAdd, old, middle, nullptr, -1);
                break;
            }
        }
    }
}
BENCHMARK_TEMPLATE(Grid_FollowEdit, 0)
    ->Name("Grid_FollowEdit/append")
    ->Arg(1000)
    ->Arg(1'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(Grid_FollowEdit, 1)
    ->Name("Grid_FollowEdit/replace")
    ->Arg(1000)
    ->Arg(1'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(Grid_FollowEdit, 2)
    ->Name("Grid_FollowEdit/remove_middle")
    ->Arg(1000)
    ->Arg(1'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

void Grid_FirstEdit(benchmark::State& state) {
    const long n = state.range(0);
    auto items = records(n);
    auto grid = OmbriGrid::create({0, 0, 800, 600});
    for (auto _ : state) {
        auto view = KivoCollectionView::create(items);
        grid->setCollectionView(view);
        grid->rows()->totalSize();
        const auto start = std::chrono::steady_clock::now();
        view->addObject(record(-1));
        benchmark::DoNotOptimize(grid->rows()->totalSize());
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        view->removeAt(static_cast<std::int32_t>(n));
    }
}
BENCHMARK(Grid_FirstEdit)->Arg(1000)->Arg(1'000'000)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
