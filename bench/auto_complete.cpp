// The auto-complete box on 100,000 items: one keystroke's filtering (contains, ignoring case and
// accents, the candidates and the suggestion rows built, the table reloaded) against the floor of a
// plain substring scan over the same display texts folded in advance; binding the items, which
// reads and folds every display text once; and changes through the collection view, which read and
// fold only the items they bring.

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "KivoAutoComplete/KivoAutoComplete.h"
#include "Platform/foundation/text_folding.h"
#include "Platform/ui/view_controller.h"
#include "Platform/ui/window.h"
#include "collection_roads.h"

namespace {

constexpr std::size_t ItemCount = 100000;

// Place names made of syllables, some with accented letters, the same on every run.
std::vector<std::string> placeNames(std::size_t count = ItemCount) {
    static const char* const syllables[] = {"an",  "ber", "ca", "dé", "el",  "fa", "go", "hu", "ìn", "jo", "ka", "lu",
                                            "mar", "nö",  "or", "pa", "qui", "ro", "sa", "tè", "ul", "vi", "wa", "zu"};
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> pick(0, std::size(syllables) - 1), length(2, 5);
    std::vector<std::string> names;
    names.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string name;
        for (int n = length(rng); n > 0; --n) name += syllables[pick(rng)];
        name[0] = static_cast<char>(name[0] - ('a' - 'A'));
        names.push_back(std::move(name));
    }
    return names;
}

plat::ArrayPtr items(const std::vector<std::string>& names) {
    auto list = std::make_shared<plat::Array>();
    list->reserve(names.size());
    for (const auto& name : names) list->push_back(plat::Value(plat::Dictionary{{"name", name}}));
    return list;
}

struct Stage {
    explicit Stage(std::size_t count = ItemCount) {
        window->setRootViewController(controller);
        box->setLocale(plat::Locale::withIdentifier("en_US"));
        box->setDisplayMemberPath(std::string("name"));
        box->setItemsSource(items(placeNames(count)));
        controller->view()->addSubview(box);
        window->layoutPass();
    }
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 320, 568});
    std::shared_ptr<plat::ViewController> controller = plat::ViewController::create();
    std::shared_ptr<KivoAutoComplete> box = KivoAutoComplete::create({20, 60, 200, 34});
};

// The typed texts, from little to much filtered away.
const char* const Typed[] = {"a", "an", "ber", "dean"};

void BM_AutoCompleteKeystroke(benchmark::State& state) {
    Stage stage;
    const std::string typed = Typed[state.range(0)];
    for (auto _ : state) {
        stage.box->headerTextField()->autoComplete(stage.box, typed);
        benchmark::DoNotOptimize(stage.box->tableView()->itemsSource()->size());
    }
    state.SetLabel("'" + typed + "'");
    state.counters["matches"] = static_cast<double>(stage.box->tableView()->itemsSource()->size());
}
BENCHMARK(BM_AutoCompleteKeystroke)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// The floor: the same texts folded in advance, scanned for the folded typed text.
void BM_PlainScanOfFoldedTexts(benchmark::State& state) {
    const plat::TextFolder folder(plat::Locale::withIdentifier("en_US"), plat::TextFolder::Accents::Ignore);
    std::vector<std::u16string> folded;
    for (const auto& name : placeNames()) folded.push_back(folder.fold(name));
    const std::string typed = Typed[state.range(0)];
    const std::u16string wanted = folder.fold(typed);
    std::vector<std::size_t> found;
    for (auto _ : state) {
        found.clear();
        for (std::size_t i = 0; i < folded.size(); ++i) {
            if (folded[i].find(wanted) != std::u16string::npos) found.push_back(i);
        }
        benchmark::DoNotOptimize(found.data());
    }
    state.SetLabel("'" + typed + "'");
    state.counters["matches"] = static_cast<double>(found.size());
}
BENCHMARK(BM_PlainScanOfFoldedTexts)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void BM_AutoCompleteBindItems(benchmark::State& state) {
    Stage stage;
    const auto names = placeNames();
    for (auto _ : state) {
        state.PauseTiming();
        auto list = items(names);
        state.ResumeTiming();
        stage.box->setItemsSource(list);
    }
}
BENCHMARK(BM_AutoCompleteBindItems)->Unit(benchmark::kMillisecond);

// Five changes through the collection view, by road, on 2,000 and on 200,000 items: each must cost
// what it changes (the new items' texts read and folded), so the longer list stays within a small
// factor of the shorter one.
void BM_AutoCompleteFiveChanges(benchmark::State& state) {
    Stage stage(static_cast<std::size_t>(state.range(1)));
    std::int64_t made = 0;
    bench_roads::runRoad(state, *stage.box->collectionView(), state.range(0), [&made] {
        return plat::Value(plat::Dictionary{{"name", "Added " + std::to_string(made++)}});
    });
    benchmark::DoNotOptimize(stage.box->tableView()->itemsSource()->size());
}
BENCHMARK(BM_AutoCompleteFiveChanges)
    ->ArgsProduct({{bench_roads::Append, bench_roads::Insert, bench_roads::Replace, bench_roads::Remove}, {2000, 200000}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
