// Edits of a collection view of 100,000 model objects grouped in 50 groups, each followed by a read of
// the groups, next to the same edit of a view without groups (the edit alone). The groups are kept in
// step with each edit, so reading them after an edit must cost little more than the edit itself; a
// full regrouping of the list is measured too, as the cost that such a read would otherwise carry.
// Groups hold the visible positions of their items, so a move between groups shifts numbers, not items.
// Inserting and removing in the middle stand next to a std::vector of shared pointers doing the same,
// and next to the source list's own edit, which the view cannot avoid (the application's list changes
// in place); removing the last of a million items shows that an edit by position looks nothing up.
// Each run makes its own view and performs a fixed number of edits, so the list stays near 100,000.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoPropertyGroupDescription.h"
#include "Platform/foundation/reflect.h"

namespace {

constexpr int ListSize = 100'000;
constexpr int Regions = 50;
constexpr int EditsPerRun = 5'000;

class EditedItem : public plat::Object {
public:
    PLAT_CLASS()
    EditedItem() = default;
    EditedItem(int region, double amount) : region(region), amount(amount) {}
    int region = 0;
    double amount = 0;
};
PLAT_DEFINE_CLASS(EditedItem, plat::Object, plat::property("region", &EditedItem::region),
                  plat::property("amount", &EditedItem::amount))

plat::Value itemIn(int region, std::mt19937& rng) {
    return std::make_shared<EditedItem>(region, std::uniform_real_distribution<double>(0, 1000)(rng));
}

std::shared_ptr<KivoCollectionView> viewOf(bool grouped, bool sorted = false) {
    std::mt19937 rng(7);
    auto source = std::make_shared<plat::Array>();
    source->reserve(ListSize + EditsPerRun);
    for (int i = 0; i < ListSize; ++i) source->push_back(itemIn(static_cast<int>(rng() % Regions), rng));
    auto view = KivoCollectionView::create(source);
    if (grouped) view->groupDescriptions()->addObject(std::make_shared<KivoPropertyGroupDescription>("region"));
    if (sorted) view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("amount", true));
    return view;
}

// A read of the groups, as a grouped list control does after a change: every group and its size (a
// list of a group's items is made only when someone asks for one).
std::uint64_t readGroups(const KivoCollectionView& view) {
    std::uint64_t total = 0;
    for (const auto& group : view.groups()) total += group->totalItemCount();
    return total;
}

enum class Edit { Add, InsertMiddle, InsertNewGroupMiddle, RemoveMiddle, ReplaceMiddle, ReplaceMiddleSameGroup };

// One edit of the kind, with the items it brings made beforehand.
void edit(KivoCollectionView& view, Edit kind, const plat::Value& item) {
    size_t middle = static_cast<size_t>(view.itemCount()) / 2;
    switch (kind) {
        case Edit::Add:
            view.addObject(item);
            break;
        case Edit::InsertMiddle:
        case Edit::InsertNewGroupMiddle:
            view.insertObject(item, middle);
            break;
        case Edit::RemoveMiddle:
            view.removeAt(static_cast<std::int32_t>(middle));
            break;
        case Edit::ReplaceMiddle:
            view.replaceObjectAtIndex(middle, item);
            break;
        case Edit::ReplaceMiddleSameGroup: {
            // A changed copy of the item there, as an edit form hands back.
            int region = (*view.sourceCollection())[middle].as<EditedItem>()->region;  // unsorted: the same index
            view.replaceObjectAtIndex(middle, std::make_shared<EditedItem>(region, item.as<EditedItem>()->amount));
            break;
        }
    }
}

void runEdits(benchmark::State& state, Edit kind, bool grouped, bool readAfter, bool sorted = false) {
    auto view = viewOf(grouped, sorted);
    std::mt19937 rng(11);
    std::vector<plat::Value> items;
    for (int i = 0; i < EditsPerRun; ++i)
        items.push_back(itemIn(kind == Edit::InsertNewGroupMiddle ? Regions + i : static_cast<int>(rng() % Regions), rng));
    size_t next = 0;
    for (auto _ : state) {
        edit(*view, kind, items[next++ % items.size()]);
        if (readAfter) benchmark::DoNotOptimize(readGroups(*view));
    }
    state.counters["groups"] = static_cast<double>(view->groups().size());
}

#define EDIT_BENCHMARKS(Name, Kind)                                                                   \
    void GroupEdits_##Name##_EditAlone(benchmark::State& s) { runEdits(s, Kind, false, false); }      \
    BENCHMARK(GroupEdits_##Name##_EditAlone)->Iterations(EditsPerRun)->Unit(benchmark::kMicrosecond); \
    void GroupEdits_##Name##_GroupedThenRead(benchmark::State& s) { runEdits(s, Kind, true, true); }  \
    BENCHMARK(GroupEdits_##Name##_GroupedThenRead)->Iterations(EditsPerRun)->Unit(benchmark::kMicrosecond);

EDIT_BENCHMARKS(Add, Edit::Add)
EDIT_BENCHMARKS(InsertMiddle, Edit::InsertMiddle)
EDIT_BENCHMARKS(InsertNewGroupMiddle, Edit::InsertNewGroupMiddle)
EDIT_BENCHMARKS(RemoveMiddle, Edit::RemoveMiddle)
EDIT_BENCHMARKS(ReplaceMiddle, Edit::ReplaceMiddle)
EDIT_BENCHMARKS(ReplaceMiddleSameGroup, Edit::ReplaceMiddleSameGroup)

// The same edits of a sorted view, whose visible list is a list of positions in the source: each
// edit also moves the positions past it.
void SortedEdits_InsertMiddle(benchmark::State& s) { runEdits(s, Edit::InsertMiddle, false, false, true); }
BENCHMARK(SortedEdits_InsertMiddle)->Iterations(EditsPerRun)->Unit(benchmark::kMicrosecond);
void SortedEdits_RemoveMiddle(benchmark::State& s) { runEdits(s, Edit::RemoveMiddle, false, false, true); }
BENCHMARK(SortedEdits_RemoveMiddle)->Iterations(EditsPerRun)->Unit(benchmark::kMicrosecond);

// The same insertions and removals in the middle of a plain list of the same items: a vector of
// shared pointers, or the source list alone (the application's plat::Array, which every edit of the
// view changes in place).
template <class List>
void runListEdits(benchmark::State& state, bool insert) {
    std::mt19937 rng(7);
    List list;
    for (int i = 0; i < ListSize; ++i) list.push_back(std::make_shared<EditedItem>(static_cast<int>(rng() % Regions), 0));
    const typename List::value_type fresh = std::make_shared<EditedItem>(1, 0);
    for (auto _ : state) {
        auto middle = list.begin() + static_cast<std::ptrdiff_t>(list.size() / 2);
        if (insert)
            list.insert(middle, fresh);
        else
            list.erase(middle);
        benchmark::DoNotOptimize(list.data());
    }
}
void runVectorEdits(benchmark::State& state, bool insert) {
    runListEdits<std::vector<std::shared_ptr<EditedItem>>>(state, insert);
}
void runValueVectorEdits(benchmark::State& state, bool insert) { runListEdits<plat::Array>(state, insert); }
void Baseline_SourceListAlone_InsertMiddle(benchmark::State& s) { runValueVectorEdits(s, true); }
BENCHMARK(Baseline_SourceListAlone_InsertMiddle)->Iterations(EditsPerRun)->Unit(benchmark::kMicrosecond);
void Baseline_SourceListAlone_RemoveMiddle(benchmark::State& s) { runValueVectorEdits(s, false); }
BENCHMARK(Baseline_SourceListAlone_RemoveMiddle)->Iterations(EditsPerRun)->Unit(benchmark::kMicrosecond);

void Baseline_SharedPointerVector_InsertMiddle(benchmark::State& s) { runVectorEdits(s, true); }
BENCHMARK(Baseline_SharedPointerVector_InsertMiddle)->Iterations(EditsPerRun)->Unit(benchmark::kMicrosecond);
void Baseline_SharedPointerVector_RemoveMiddle(benchmark::State& s) { runVectorEdits(s, false); }
BENCHMARK(Baseline_SharedPointerVector_RemoveMiddle)->Iterations(EditsPerRun)->Unit(benchmark::kMicrosecond);

// removeAt of the last item of a million: by position, with no search of the list.
void View_RemoveLastOfAMillion(benchmark::State& state) {
    auto source = std::make_shared<plat::Array>();
    for (int i = 0; i < 1'000'000; ++i) source->push_back(std::make_shared<EditedItem>(i % Regions, 0));
    auto view = KivoCollectionView::create(source);
    for (auto _ : state) view->removeAt(view->itemCount() - 1);
}
BENCHMARK(View_RemoveLastOfAMillion)->Iterations(1000)->Unit(benchmark::kMicrosecond);

// What a read after an edit cost when the groups were rebuilt from the whole list.
void GroupEdits_FullRegroup(benchmark::State& state) {
    auto view = viewOf(true);
    for (auto _ : state) {
        view->refresh(false);
        benchmark::DoNotOptimize(readGroups(*view));
    }
}
BENCHMARK(GroupEdits_FullRegroup)->Unit(benchmark::kMillisecond);

}  // namespace
