// The grid's row collection at a million rows: binding a view's items (one placeholder a row, next to
// the view's own refresh, the yardstick it should stay within twice of), a change of one row's size,
// an insertion and a removal, and the row under a coordinate, each followed by the layout read that
// brings positions up to date. Grid_BindRows also reports the bytes the collection keeps per row.
// Insertion and removal run at 10k, 100k and 1M rows: their cost should not grow with the row count
// beyond the list's own move of its tail, which Grid_ListInsertRemove measures alone (and
// Grid_RowInsertRemoveAtEnd leaves out).
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <random>
#include <vector>

#include "GridInternals.h"
#include "KivoCore/KivoCollectionView.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/reflect.h"

namespace {

constexpr int Rows = 1'000'000;

class BenchSale : public plat::Object {
public:
    PLAT_CLASS()
    double amount = 0;
};
PLAT_DEFINE_CLASS(BenchSale, plat::Object, plat::property("amount", &BenchSale::amount))

const std::shared_ptr<KivoCollectionView>& view() {
    static const auto v = [] {
        auto items = std::make_shared<plat::Array>();
        items->reserve(Rows);
        for (int i = 0; i < Rows; ++i) {
            auto s = std::make_shared<BenchSale>();
            s->amount = i;
            items->push_back(plat::Value(s));
        }
        return KivoCollectionView::create(items);
    }();
    return v;
}

// A grid bound to the first `count` items of the view.
std::shared_ptr<OmbriGrid> boundGrid(std::size_t count = Rows) {
    auto grid = OmbriGrid::create({0, 0, 800, 600});
    const auto& all = view()->items();
    auto items = count >= all->size()
                     ? all
                     : std::make_shared<plat::Array>(all->begin(), all->begin() + static_cast<std::ptrdiff_t>(count));
    kivo::detail::GridInternals::bindItems(*grid->rows(), items);
    grid->rows()->totalSize();
    return grid;
}

// Small blocks and the large ones malloc maps on their own (a million-row list is one of those).
std::size_t heapBytes() {
    const auto m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// The yardstick: the view's refresh, and the list of items the binding reads.
void Grid_ViewRefresh(benchmark::State& state) {
    const auto& v = view();
    for (auto _ : state) {
        v->refresh(false);
        benchmark::DoNotOptimize(v->items()->size());
    }
}
BENCHMARK(Grid_ViewRefresh)->Unit(benchmark::kMillisecond);

void Grid_BindRows(benchmark::State& state) {
    const auto items = view()->items();
    double bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A fresh grid each time, so that the bytes count the list and the layout both.
        auto grid = OmbriGrid::create({0, 0, 800, 600});
        const auto before = heapBytes();
        state.ResumeTiming();
        kivo::detail::GridInternals::bindItems(*grid->rows(), items);
        benchmark::DoNotOptimize(grid->rows()->totalSize());
        state.PauseTiming();
        bytes = static_cast<double>(heapBytes() - before) / Rows;
        state.ResumeTiming();
    }
    state.counters["bytes_per_row"] = bytes;
}
// A set count: each iteration makes a grid and walks the heap untimed, which costs far more than the
// binding itself, so a run sized by the timed part alone would take minutes.
BENCHMARK(Grid_BindRows)->Iterations(50)->Unit(benchmark::kMillisecond);

void Grid_RowSizeChange(benchmark::State& state) {
    auto grid = boundGrid();
    auto row = grid->rows()->row(Rows / 2);
    std::int32_t h = 30;
    for (auto _ : state) {
        row->setSize(h = (h == 30 ? 40 : 30));
        benchmark::DoNotOptimize(grid->rows()->totalSize());
    }
}
BENCHMARK(Grid_RowSizeChange)->Unit(benchmark::kMicrosecond);

void Grid_RowInsertRemove(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    auto grid = boundGrid(count);
    auto& rows = *grid->rows();
    // Rows already made and held, which an insertion before them must not have to visit.
    std::vector<std::shared_ptr<GridRow>> held;
    for (std::size_t i = count / 2; i < count; i += 97) held.push_back(rows.row(static_cast<std::int64_t>(i)));
    rows.totalSize();
    for (auto _ : state) {
        rows.insertObject(plat::Value(std::make_shared<GridRow>()), count / 2);
        benchmark::DoNotOptimize(rows.totalSize());
        rows.removeObjectAtIndex(count / 2);
        benchmark::DoNotOptimize(rows.totalSize());
    }
}
BENCHMARK(Grid_RowInsertRemove)->Arg(10'000)->Arg(100'000)->Arg(Rows)->Unit(benchmark::kMicrosecond);

// The same at the end of the list, where the list has no tail to move: what is left is the grid's own
// share, which should stay flat from 10k to 1M rows.
void Grid_RowInsertRemoveAtEnd(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    auto grid = boundGrid(count);
    auto& rows = *grid->rows();
    rows.totalSize();
    for (auto _ : state) {
        rows.insertObject(plat::Value(std::make_shared<GridRow>()), count - 1);
        benchmark::DoNotOptimize(rows.totalSize());
        rows.removeObjectAtIndex(count - 1);
        benchmark::DoNotOptimize(rows.totalSize());
    }
}
BENCHMARK(Grid_RowInsertRemoveAtEnd)->Arg(10'000)->Arg(100'000)->Arg(Rows)->Unit(benchmark::kMicrosecond);

// The share of an insertion and a removal that is the list moving its tail: the same two edits on a
// plain list of values of the same length.
void Grid_ListInsertRemove(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    plat::Array list(count, plat::Value(std::int64_t{0}));
    const plat::Value row(std::make_shared<GridRow>());
    for (auto _ : state) {
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(count / 2), row);
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(count / 2));
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(Grid_ListInsertRemove)->Arg(10'000)->Arg(100'000)->Arg(Rows)->Unit(benchmark::kMicrosecond);

void Grid_GetIndexAt(benchmark::State& state) {
    auto grid = boundGrid();
    const auto& rows = *grid->rows();
    const std::int32_t total = rows.totalSize();
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::int32_t> at(0, total);
    for (auto _ : state) benchmark::DoNotOptimize(rows.getIndexAt(at(rng)));
}
BENCHMARK(Grid_GetIndexAt)->Unit(benchmark::kNanosecond);

}  // namespace
