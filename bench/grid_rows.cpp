// The grid's row collection at a million rows: binding a view's items (one placeholder a row, next to
// the view's own refresh, the yardstick it should stay within twice of), a change of one row's size,
// an insertion and a removal, and the row under a coordinate, each followed by the layout read that
// brings positions up to date. Grid_BindRows also reports the bytes the collection keeps per row.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <random>

#include "KivoCore/KivoCollectionView.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/reflect.h"

// The benchmarks reach the collection's binding entry the way the grid's tests do.
namespace kivo::detail {
struct GridTestAccess {
    static void bindItems(GridRowCollection& rows, const plat::ArrayPtr& items) { rows._bindItems(items); }
};
}  // namespace kivo::detail

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

std::shared_ptr<OmbriGrid> boundGrid() {
    auto grid = OmbriGrid::create({0, 0, 800, 600});
    kivo::detail::GridTestAccess::bindItems(*grid->rows(), view()->items());
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
        kivo::detail::GridTestAccess::bindItems(*grid->rows(), items);
        benchmark::DoNotOptimize(grid->rows()->totalSize());
        state.PauseTiming();
        bytes = static_cast<double>(heapBytes() - before) / Rows;
        state.ResumeTiming();
    }
    state.counters["bytes_per_row"] = bytes;
}
BENCHMARK(Grid_BindRows)->Unit(benchmark::kMillisecond);

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
    auto grid = boundGrid();
    auto& rows = *grid->rows();
    for (auto _ : state) {
        rows.insertObject(plat::Value(std::make_shared<GridRow>()), Rows / 2);
        benchmark::DoNotOptimize(rows.totalSize());
        rows.removeObjectAtIndex(Rows / 2);
        benchmark::DoNotOptimize(rows.totalSize());
    }
}
BENCHMARK(Grid_RowInsertRemove)->Unit(benchmark::kMillisecond);

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
