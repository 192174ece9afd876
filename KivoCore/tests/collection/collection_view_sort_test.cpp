// The comparer of a collection view: nil first in both directions, the kinds that compare, fall-through
// to the next key, locale collation, and a property check of large random sorts against a plain
// reading of the rules.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "KivoCore/KivoReflector.h"
#include "Platform/foundation/collator.h"
#include "Platform/testing/log_capture.h"
#include "collection/collection_fixture.h"

using namespace kivo::detail;

namespace {

const plat::Value nil;

// Item i is the dictionary {"id": i, "k1": k1[i], "k2": k2[i]}, without the keys whose value is nil.
plat::ArrayPtr keyedItems(const std::vector<plat::Value>& k1, const std::vector<plat::Value>& k2) {
    auto items = std::make_shared<plat::Array>();
    for (size_t i = 0; i < k1.size(); ++i) {
        plat::Dictionary d{{"id", static_cast<int>(i)}};
        if (!k1[i].isNil()) d["k1"] = k1[i];
        if (i < k2.size() && !k2[i].isNil()) d["k2"] = k2[i];
        items->push_back(d);
    }
    return items;
}

std::vector<int> ids(const plat::Array& items) {
    std::vector<int> out;
    for (const auto& item : items) out.push_back(static_cast<int>(item.asDictionary()->at("id").asInteger()));
    return out;
}

void sortBy(const std::shared_ptr<KivoCollectionView>& view, std::vector<std::pair<std::string, bool>> keys) {
    view->sortDescriptions()->deferUpdate([&] {
        for (auto& [property, ascending] : keys)
            view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>(property, ascending));
    });
}

constexpr std::int64_t Two53 = std::int64_t{1} << 53;

}  // namespace

TEST(KivoCollectionViewSort, ComparerRules) {
    PinnedLocale pinned;
    struct Row {
        const char* what;
        std::vector<plat::Value> k1, k2;
        std::vector<std::pair<std::string, bool>> keys;
        std::vector<int> expected;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const Row rows[] = {
        {"nil first ascending", {3, nil, 1}, {}, {{"k1", true}}, {1, 2, 0}},
        {"nil first descending too", {3, nil, 1}, {}, {{"k1", false}}, {1, 0, 2}},
        {"equal first keys fall through to the second", {1, 1, 0}, {"b", "a", "z"}, {{"k1", true}, {"k2", true}}, {2, 1, 0}},
        {"second key has its own direction", {1, 1, 0}, {"b", "a", "z"}, {{"k1", true}, {"k2", false}}, {2, 0, 1}},
        {"a string against a number falls through", {"x", 5}, {2, 1}, {{"k1", true}, {"k2", true}}, {1, 0}},
        {"a date against a number falls through", {plat::Date(1), 0.5}, {1, 0}, {{"k1", true}, {"k2", true}}, {1, 0}},
        {"other objects fall through", {plat::Array{1}, plat::Array{0}}, {2, 1}, {{"k1", true}, {"k2", true}}, {1, 0}},
        {"strings ignore case: apple before Banana", {"Banana", "apple", "cherry"}, {}, {{"k1", true}}, {1, 0, 2}},
        {"same letters in other case fall through", {"banana", "Banana"}, {2, 1}, {{"k1", true}, {"k2", true}}, {1, 0}},
        {"accents count", {"r\u00e9sum\u00e9", "resume", "rf"}, {}, {{"k1", true}}, {1, 0, 2}},
        {"dates chronologically, descending", {plat::Date(100), plat::Date(-5), plat::Date(50)}, {}, {{"k1", false}}, {0, 2, 1}},
        {"Booleans are numbers", {true, 0.5, false}, {}, {{"k1", true}}, {2, 1, 0}},
        {"integers beyond 2^53 compare exactly",
         {Two53 + 1, static_cast<double>(Two53), Two53, Two53 - 1},
         {},
         {{"k1", true}},
         {3, 1, 2, 0}},
        {"NaN before every number", {1.0, nan, -inf}, {}, {{"k1", true}}, {1, 2, 0}},
        {"no key decides: source order", {nil, nil, nil}, {}, {{"k1", true}}, {0, 1, 2}},
    };
    for (const auto& row : rows) {
        auto view = KivoCollectionView::create(keyedItems(row.k1, row.k2));
        sortBy(view, row.keys);
        EXPECT_EQ(ids(*view->items()), row.expected) << row.what;
    }
}

TEST(KivoCollectionViewSort, ModelObjectsSubclassesAndDynamicItemsSortTogether) {
    PinnedLocale pinned;
    auto items =
        listOf({product("p5", 5), gadget("g1", 1),
                std::make_shared<Record>(std::map<std::string, plat::Value>{{"name", "r3"}, {"price", 3}}), product("p2", 2)});
    auto view = KivoCollectionView::create(items);
    sortBy(view, {{"price", false}});
    EXPECT_EQ(names(view->items()), "p5 r3 p2 g1");
    view->sortDescriptions()->removeAllObjects();
    sortBy(view, {{"name", true}});
    EXPECT_EQ(names(view->items()), "g1 p2 p5 r3");
    EXPECT_EQ(names(view->sourceCollection()), "p5 g1 r3 p2") << "the source keeps its order";
}

TEST(KivoCollectionViewSort, ConverterMapsEachValueBeforeComparing) {
    auto view = KivoCollectionView::create(listOf({product("ccc", 1), product("a", 2), product("bb", 3)}));
    std::vector<std::string> seen;
    view->setSortConverter([&](const std::shared_ptr<KivoSortDescription>& d, const plat::Value& item, const plat::Value& value) {
        seen.push_back(d->property() + ":" + value.asString());
        return plat::Value(static_cast<int>(value.asString().size()));
    });
    sortBy(view, {{"name", false}});
    EXPECT_EQ(names(view->items()), "ccc bb a");
    EXPECT_EQ(seen.size(), 3u) << "each item's value is converted once per sort";
}

TEST(KivoCollectionViewSort, MissingKeyIsLoggedAndSortsAsNil) {
    plat::testing::LogCapture log;
    auto view = KivoCollectionView::create(
        listOf({product("b", 1), std::make_shared<Record>(std::map<std::string, plat::Value>{{"name", "r"}, {"nope", 2}}),
                product("a", 1)}));
    sortBy(view, {{"nope", true}, {"name", true}});
    EXPECT_EQ(names(view->items()), "a b r");
    EXPECT_EQ(log.lines(), std::vector<std::string>(2, KivoReflector::missingKeyMessage("nope")));
}

TEST(KivoCollectionViewSort, AddedItemStaysAtTheEndUntilTheNextRefresh) {
    auto view = KivoCollectionView::create(listOf({product("b", 2), product("a", 1)}));
    sortBy(view, {{"price", true}});
    view->addObject(product("c", 0));
    EXPECT_EQ(names(view->items()), "a b c");
    view->refresh();
    EXPECT_EQ(names(view->items()), "c a b");
}

// Random model objects, sorted on three keys of mixed kinds (numbers with nils, long and short strings
// sharing prefixes), must come out ordered under a plain reading of the rules through the reflector
// and the collator.
TEST(KivoCollectionViewSort, LargeRandomSortsAgreeWithThePlainRules) {
    PinnedLocale pinned;
    std::mt19937 rng(42);
    // Short and long texts (collation keys past 16 bytes are compared beyond the inline prefix).
    const char* stems[] = {"alpha",       "Alpha", "alphabet soup with noodles ", "alphabet soup with nuts ", "beta", "Beta-max",
                           "\u00e9clair", "eclair"};
    auto items = std::make_shared<plat::Array>();
    for (int i = 0; i < 3000; ++i) {
        auto p = (i % 3) ? product(std::string(stems[rng() % 8]) + std::to_string(rng() % 20), rng() % 50)
                         : gadget(stems[rng() % 8], rng() % 50);
        if (rng() % 4) p->rating = static_cast<double>(rng() % 5);
        items->push_back(p);
    }
    plat::Collator collator(plat::Locale::current(), plat::Collator::Strength::Secondary);
    auto compare = [&](const plat::Value& a, const plat::Value& b, const std::string& key, bool ascending) {
        plat::Value x = KivoReflector::getValue(a, key), y = KivoReflector::getValue(b, key);
        if (x.isNil() || y.isNil()) return x.isNil() == y.isNil() ? 0 : x.isNil() ? -1 : 1;
        int r = x.isString() ? collator.compare(x.asString(), y.asString())
                             : (x.asDouble() > y.asDouble()) - (x.asDouble() < y.asDouble());
        return ascending ? r : -r;
    };
    const std::vector<std::pair<std::string, bool>> orders[] = {
        {{"rating", false}, {"name", true}, {"price", true}},
        {{"name", false}, {"price", false}},
        {{"price", true}},
    };
    for (const auto& keys : orders) {
        auto view = KivoCollectionView::create(items);
        sortBy(view, keys);
        const auto& sorted = *view->items();
        ASSERT_EQ(sorted.size(), items->size());
        for (size_t i = 0; i + 1 < sorted.size(); ++i) {
            int r = 0;
            for (size_t k = 0; r == 0 && k < keys.size(); ++k)
                r = compare(sorted[i], sorted[i + 1], keys[k].first, keys[k].second);
            ASSERT_LE(r, 0) << "at " << i << ": " << nameOf(sorted[i]) << " / " << nameOf(sorted[i + 1]);
        }
    }
}
