// What a collection view over a million model objects costs to make and to refresh when it shows the
// list as it is (no filter, no sort), and the heap it keeps for that, next to the floor: a plain loop
// copying the million shared pointers into a vector (what reading the references costs). The items
// list that `items` makes is measured apart, against the same copy.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <vector>

#include "KivoCore/KivoCollectionView.h"
#include "Platform/foundation/reflect.h"

namespace {

constexpr int Items = 1'000'000;

class CreatedItem : public plat::Object {
public:
    PLAT_CLASS()
    double amount = 0;
    int region = 0;
};
PLAT_DEFINE_CLASS(CreatedItem, plat::Object, plat::property("amount", &CreatedItem::amount),
                  plat::property("region", &CreatedItem::region))

const plat::ArrayPtr& source() {
    static const plat::ArrayPtr items = [] {
        auto list = std::make_shared<plat::Array>();
        list->reserve(Items);
        for (int i = 0; i < Items; ++i) {
            auto o = std::make_shared<CreatedItem>();
            o->amount = static_cast<double>((static_cast<long>(i) * 7919) % 1000);
            o->region = i % 50;
            list->push_back(plat::Value(std::move(o)));
        }
        return list;
    }();
    return items;
}

double heapInUse() {
    const auto info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// The floor: the million references copied into a vector of their own, and let go again.
void Floor_CopyMillionSharedPointers(benchmark::State& state) {
    const auto& items = *source();
    for (auto _ : state) {
        std::vector<std::shared_ptr<plat::Object>> copy;
        copy.reserve(items.size());
        for (const auto& item : items) copy.push_back(item.asObject());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(Floor_CopyMillionSharedPointers)->Unit(benchmark::kMillisecond);

// Making the view (which refreshes it and moves to the first item) and letting it go.
void View_CreateOverAMillion(benchmark::State& state) {
    const auto& items = source();
    for (auto _ : state) benchmark::DoNotOptimize(KivoCollectionView::create(items)->itemCount());
    const double before = heapInUse();
    auto view = KivoCollectionView::create(items);
    state.counters["view_B_per_item"] = (heapInUse() - before) / Items;
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(View_CreateOverAMillion)->Unit(benchmark::kMicrosecond);

// A refresh of the list shown as it is, followed by what a bound control reads.
void View_RefreshOverAMillion(benchmark::State& state) {
    auto view = KivoCollectionView::create(source());
    for (auto _ : state) {
        view->refresh();
        benchmark::DoNotOptimize(view->itemCount());
        benchmark::DoNotOptimize(view->itemAt(Items / 2));
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(View_RefreshOverAMillion)->Unit(benchmark::kMicrosecond);

// The heap the view keeps per item for each way of showing them, the items list not made; and then
// with it made (a caller that asks for `items`).
void View_HeapPerItem(benchmark::State& state) {
    const plat::ArrayPtr& items = source();  // made before the heap is first read
    const double start = heapInUse();
    auto view = KivoCollectionView::create(items);
    state.counters["plain_B_per_item"] = (heapInUse() - start) / Items;
    view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("amount", true));
    state.counters["sorted_B_per_item"] = (heapInUse() - start) / Items;
    view->sortDescriptions()->removeAllObjects();
    const double plain = heapInUse();
    benchmark::DoNotOptimize(view->items()->data());
    state.counters["items_list_B_per_item"] = (heapInUse() - plain) / Items;
    for (auto _ : state) benchmark::DoNotOptimize(view->itemCount());
}
BENCHMARK(View_HeapPerItem)->Iterations(1);

// A refresh and then `items`: the list of a million made (the one before it let go of).
void View_RefreshThenItemsList(benchmark::State& state) {
    auto view = KivoCollectionView::create(source());
    for (auto _ : state) {
        view->refresh();
        benchmark::DoNotOptimize(view->items()->data());
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(View_RefreshThenItemsList)->Unit(benchmark::kMillisecond);

}  // namespace
