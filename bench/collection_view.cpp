// Refreshing a collection view of a million model objects (sort, filter, group; by a numeric and by a
// string property), each next to the same work done with the standard library on a vector of the
// values extracted beforehand (the baseline the view should stay close to). The view keeps positions,
// so a refresh ends with its visible list and groups as numbers; the list of items that `items` makes
// when asked is measured apart (View_ItemsListAfterRefresh). View_Memory reports the bytes the view
// keeps per visible item.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoPropertyGroupDescription.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/reflect.h"

namespace {

constexpr int Items = 1'000'000;

class BenchOrder : public plat::Object {
public:
    PLAT_CLASS()
    double amount = 0;
    std::string customer;  // nearly all distinct
    int region = 0;        // 50 values
    std::string country;   // 40 values
};
PLAT_DEFINE_CLASS(BenchOrder, plat::Object, plat::property("amount", &BenchOrder::amount),
                  plat::property("customer", &BenchOrder::customer), plat::property("region", &BenchOrder::region),
                  plat::property("country", &BenchOrder::country))

struct Data {
    plat::ArrayPtr items = std::make_shared<plat::Array>();
    std::vector<double> amounts;
    std::vector<std::string> customers;
    std::vector<int> regions;
    std::vector<std::string> countries;
};

const Data& data() {
    static const Data d = [] {
        plat::Locale::setCurrent(plat::Locale::withIdentifier("en_US"));
        static const char* first[] = {"Ada", "bruno", "Chloe", "dmitri", "Eve", "farah", "Goro", "hana", "Ivan", "juno"};
        static const char* places[] = {"Argentina", "Belgium", "Canada",  "Denmark", "Egypt",   "France",  "Germany", "Hungary",
                                       "India",     "Japan",   "Kenya",   "Latvia",  "Mexico",  "Norway",  "Oman",    "Peru",
                                       "Qatar",     "Romania", "Spain",   "Turkey",  "Uganda",  "Vietnam", "Wales",   "Yemen",
                                       "Zambia",    "Austria", "Brazil",  "Chile",   "Estonia", "Finland", "Greece",  "Iceland",
                                       "Jordan",    "Kuwait",  "Lebanon", "Malta",   "Nepal",   "Poland",  "Russia",  "Sweden"};
        std::mt19937 rng(2024);
        Data out;
        out.items->reserve(Items);
        for (int i = 0; i < Items; ++i) {
            auto o = std::make_shared<BenchOrder>();
            o->amount = std::uniform_real_distribution<double>(0, 1000)(rng);
            o->customer = std::string(first[rng() % 10]) + " " + std::to_string(rng() % 1'000'000);
            o->region = static_cast<int>(rng() % 50);
            o->country = places[rng() % 40];
            out.amounts.push_back(o->amount);
            out.customers.push_back(o->customer);
            out.regions.push_back(o->region);
            out.countries.push_back(o->country);
            out.items->push_back(o);
        }
        return out;
    }();
    return d;
}

std::shared_ptr<KivoCollectionView> viewOver() {
    auto view = KivoCollectionView::create(data().items);
    view->moveCurrentToPosition(-1);
    return view;
}

// What a control reads right after a refresh: the count, the groups, the current item.
void readResult(const KivoCollectionView& view) {
    benchmark::DoNotOptimize(view.itemCount());
    benchmark::DoNotOptimize(view.groups().size());
    benchmark::DoNotOptimize(view.currentItem());
}

void run(benchmark::State& state, const std::shared_ptr<KivoCollectionView>& view) {
    for (auto _ : state) {
        view->refresh(false);
        readResult(*view);
    }
    state.SetItemsProcessed(state.iterations() * Items);
}

// What a user does to a sorted column: each iteration flips the direction, which moves every item.
void runSortToggling(benchmark::State& state, const char* property) {
    auto view = viewOver();
    view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>(property, true));
    bool ascending = true;
    for (auto _ : state) {
        ascending = !ascending;
        view->sortDescriptions()->replaceObjectAtIndex(0, std::make_shared<KivoSortDescription>(property, ascending));
        readResult(*view);
    }
    state.SetItemsProcessed(state.iterations() * Items);
}

// Each iteration swaps the filter for its complement, so the visible items change completely.
template <class Keep>
void runFilterToggling(benchmark::State& state, Keep keep) {
    auto view = viewOver();
    bool complement = false;
    for (auto _ : state) {
        complement = !complement;
        view->setFilter([keep, complement](const plat::Value& item) {
            return keep(static_cast<const BenchOrder&>(*item.asObject())) != complement;
        });
        readResult(*view);
    }
    state.SetItemsProcessed(state.iterations() * Items);
}

// The floor under every refresh: the visible list is rebuilt from the source (here, unchanged).
void View_RefreshOnly(benchmark::State& state) { run(state, viewOver()); }
BENCHMARK(View_RefreshOnly)->Unit(benchmark::kMillisecond);

// A refresh followed by a call of `items`, which makes the list of a million items.
void View_ItemsListAfterRefresh(benchmark::State& state) {
    auto view = viewOver();
    for (auto _ : state) {
        view->refresh(false);
        benchmark::DoNotOptimize(view->items()->data());
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(View_ItemsListAfterRefresh)->Unit(benchmark::kMillisecond);

// The heap the view keeps per visible item, for each way of showing the items.
void View_Memory(benchmark::State& state) {
    auto inUse = [] { return static_cast<double>(mallinfo2().uordblks); };
    auto view = viewOver();
    double start = inUse();
    auto perItem = [&](double before) { return (inUse() - before) / std::max(1, view->itemCount()); };
    view->setFilter([](const plat::Value& item) { return static_cast<const BenchOrder&>(*item.asObject()).amount < 500; });
    state.counters["filtered_B_per_item"] = perItem(start);
    view->setFilter(nullptr);
    double unfiltered = inUse();
    view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("amount", true));
    state.counters["sorted_B_per_item"] = perItem(unfiltered);
    view->sortDescriptions()->removeAllObjects();
    double plain = inUse();
    view->groupDescriptions()->addObject(std::make_shared<KivoPropertyGroupDescription>("region"));
    state.counters["grouped_B_per_item"] = perItem(plain);
    view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("region", true));
    state.counters["grouped_sorted_by_group_B_per_item"] = perItem(plain);
    view->sortDescriptions()->replaceObjectAtIndex(0, std::make_shared<KivoSortDescription>("amount", true));
    state.counters["grouped_sorted_B_per_item"] = perItem(plain);
    for (auto _ : state) benchmark::DoNotOptimize(view->itemCount());
}
BENCHMARK(View_Memory)->Iterations(1);

// The floor under any filter or grouping over the items: one numeric member read from each object,
// through the list that holds them (the objects lie apart from the list, so this is mostly memory).
void Floor_ReadNumberMember(benchmark::State& state) {
    for (auto _ : state) {
        double sum = 0;
        for (const auto& item : *data().items) sum += static_cast<const BenchOrder&>(*item.asObject()).amount;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(Floor_ReadNumberMember)->Unit(benchmark::kMillisecond);

// The same for the member that grouping by a number reads (an int placed further into the object,
// past the strings, so most objects are read in two cache lines instead of one).
void Floor_ReadRegionMember(benchmark::State& state) {
    for (auto _ : state) {
        long sum = 0;
        for (const auto& item : *data().items) sum += static_cast<const BenchOrder&>(*item.asObject()).region;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(Floor_ReadRegionMember)->Unit(benchmark::kMillisecond);

// The same with each object asked for ahead of its read, as the view's passes do.
void Floor_ReadNumberMemberPrefetched(benchmark::State& state) {
    const auto& items = *data().items;
    constexpr size_t Ahead = 16;
    for (auto _ : state) {
        double sum = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            if (i + Ahead < items.size()) __builtin_prefetch(items[i + Ahead].asObject().get());
            sum += static_cast<const BenchOrder&>(*items[i].asObject()).amount;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(Floor_ReadNumberMemberPrefetched)->Unit(benchmark::kMillisecond);

// ---- sorting ----

void View_SortByNumber(benchmark::State& state) { runSortToggling(state, "amount"); }
BENCHMARK(View_SortByNumber)->Unit(benchmark::kMillisecond);

void Baseline_SortNumbers(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<double> v = data().amounts;
        std::stable_sort(v.begin(), v.end());
        benchmark::DoNotOptimize(v.data());
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(Baseline_SortNumbers)->Unit(benchmark::kMillisecond);

void View_SortByString(benchmark::State& state) { runSortToggling(state, "customer"); }
BENCHMARK(View_SortByString)->Unit(benchmark::kMillisecond);

void Baseline_SortStrings(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::string> v = data().customers;
        std::stable_sort(v.begin(), v.end());
        benchmark::DoNotOptimize(v.data());
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(Baseline_SortStrings)->Unit(benchmark::kMillisecond);

// ---- filtering (keeps about half) ----

void View_FilterByNumber(benchmark::State& state) {
    runFilterToggling(state, [](const BenchOrder& o) { return o.amount < 500; });
}
BENCHMARK(View_FilterByNumber)->Unit(benchmark::kMillisecond);

// The extracted values filtered into an index list.
void Baseline_FilterNumbers(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::uint32_t> kept;
        const auto& amounts = data().amounts;
        for (std::uint32_t i = 0; i < amounts.size(); ++i)
            if (amounts[i] < 500) kept.push_back(i);
        benchmark::DoNotOptimize(kept.data());
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(Baseline_FilterNumbers)->Unit(benchmark::kMillisecond);

// The same filter over the items themselves, keeping them in a list as the view does.
void Baseline_FilterItemsByNumber(benchmark::State& state) {
    for (auto _ : state) {
        plat::Array kept;
        for (const auto& item : *data().items)
            if (static_cast<const BenchOrder&>(*item.asObject()).amount < 500) kept.push_back(item);
        benchmark::DoNotOptimize(kept.data());
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(Baseline_FilterItemsByNumber)->Unit(benchmark::kMillisecond);

void View_FilterByString(benchmark::State& state) {
    runFilterToggling(state, [](const BenchOrder& o) { return o.customer < "e"; });
}
BENCHMARK(View_FilterByString)->Unit(benchmark::kMillisecond);

void Baseline_FilterStrings(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::uint32_t> kept;
        const auto& customers = data().customers;
        for (std::uint32_t i = 0; i < customers.size(); ++i)
            if (customers[i] < "e") kept.push_back(i);
        benchmark::DoNotOptimize(kept.data());
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(Baseline_FilterStrings)->Unit(benchmark::kMillisecond);

// ---- grouping ----

void View_GroupByNumber(benchmark::State& state) {
    auto view = viewOver();
    view->groupDescriptions()->addObject(std::make_shared<KivoPropertyGroupDescription>("region"));
    run(state, view);
}
BENCHMARK(View_GroupByNumber)->Unit(benchmark::kMillisecond);

void Baseline_GroupNumbers(benchmark::State& state) {
    for (auto _ : state) {
        std::unordered_map<int, std::vector<std::uint32_t>> groups;
        const auto& regions = data().regions;
        for (std::uint32_t i = 0; i < regions.size(); ++i) groups[regions[i]].push_back(i);
        benchmark::DoNotOptimize(groups.size());
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(Baseline_GroupNumbers)->Unit(benchmark::kMillisecond);

// The same job in plain code: each object's member read through the list that holds the objects (as
// the view must read it), the items bucketed into index lists by it. The extracted baseline above never
// touches the objects, so it stays below what reading them costs (Floor_ReadRegionMember).
void Baseline_GroupItemsByNumberMember(benchmark::State& state) {
    for (auto _ : state) {
        std::unordered_map<int, std::vector<std::uint32_t>> groups;
        const auto& items = *data().items;
        for (std::uint32_t i = 0; i < items.size(); ++i)
            groups[static_cast<const BenchOrder&>(*items[i].asObject()).region].push_back(i);
        benchmark::DoNotOptimize(groups.size());
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(Baseline_GroupItemsByNumberMember)->Unit(benchmark::kMillisecond);

// The same bucketing, but into lists of the items themselves, as groups hold them.
void Baseline_GroupNumbersIntoItemLists(benchmark::State& state) {
    for (auto _ : state) {
        std::unordered_map<int, plat::Array> groups;
        const auto& regions = data().regions;
        const auto& items = *data().items;
        for (std::uint32_t i = 0; i < regions.size(); ++i) groups[regions[i]].push_back(items[i]);
        benchmark::DoNotOptimize(groups.size());
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(Baseline_GroupNumbersIntoItemLists)->Unit(benchmark::kMillisecond);

void View_GroupByString(benchmark::State& state) {
    auto view = viewOver();
    view->groupDescriptions()->addObject(std::make_shared<KivoPropertyGroupDescription>("country"));
    run(state, view);
}
BENCHMARK(View_GroupByString)->Unit(benchmark::kMillisecond);

void Baseline_GroupStrings(benchmark::State& state) {
    for (auto _ : state) {
        std::unordered_map<std::string, std::vector<std::uint32_t>> groups;
        const auto& countries = data().countries;
        for (std::uint32_t i = 0; i < countries.size(); ++i) groups[countries[i]].push_back(i);
        benchmark::DoNotOptimize(groups.size());
    }
    state.SetItemsProcessed(state.iterations() * Items);
}
BENCHMARK(Baseline_GroupStrings)->Unit(benchmark::kMillisecond);

}  // namespace
