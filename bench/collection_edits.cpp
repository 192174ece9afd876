// Edits of a collection view of 100,000 model objects grouped in 50 groups, each followed by a read of
// the groups, next to the same edit of a view without groups (the edit alone). The groups are kept in
// step with each edit, so reading them after an edit must cost little more than the edit itself; a
// full regrouping of the list is measured too, as the cost that such a read would otherwise carry.
// A replace that moves an item to another group shifts the items of both groups' lists, which a
// replace in an ungrouped view never has to do: that one case costs a group's length, not a list's.
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

std::shared_ptr<KivoCollectionView> viewOf(bool grouped) {
    std::mt19937 rng(7);
    auto source = std::make_shared<plat::Array>();
    source->reserve(ListSize + EditsPerRun);
    for (int i = 0; i < ListSize; ++i) source->push_back(itemIn(static_cast<int>(rng() % Regions), rng));
    auto view = KivoCollectionView::create(source);
    if (grouped) view->groupDescriptions()->addObject(std::make_shared<KivoPropertyGroupDescription>("region"));
    return view;
}

// A read of the groups, as a grouped list control does after a change: every group and its size.
std::uint64_t readGroups(const KivoCollectionView& view) {
    std::uint64_t total = 0;
    for (const auto& group : view.groups()) total += group->items()->size();
    return total;
}

enum class Edit { Add, InsertMiddle, InsertNewGroupMiddle, RemoveMiddle, ReplaceMiddle, ReplaceMiddleSameGroup };

// One edit of the kind, with the items it brings made beforehand.
void edit(KivoCollectionView& view, Edit kind, const plat::Value& item) {
    size_t middle = view.items()->size() / 2;
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
            int region = (*view.items())[middle].as<EditedItem>()->region;
            view.replaceObjectAtIndex(middle, std::make_shared<EditedItem>(region, item.as<EditedItem>()->amount));
            break;
        }
    }
}

void runEdits(benchmark::State& state, Edit kind, bool grouped, bool readAfter) {
    auto view = viewOf(grouped);
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
