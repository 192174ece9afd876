#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoReflector.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridDataMap.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/virtual_clock.h"
#include "grid_access.h"
#include "grid_model.h"

using grid_test::labelled;

namespace {

plat::Value text(const char* s) { return plat::Value(s); }

// An item of a data map: its key at "k" and its text at "d".
plat::Value entry(plat::Value key, std::string shown) {
    auto d = std::make_shared<plat::Dictionary>();
    if (!key.isNil()) (*d)["k"] = std::move(key);
    (*d)["d"] = plat::Value(std::move(shown));
    return plat::Value(d);
}

// An object equal to any other of its class with the same number.
class Token : public plat::Object {
public:
    explicit Token(int n) : n(n) {}
    bool isEqual(const plat::Object& other) const override {
        const auto* token = dynamic_cast<const Token*>(&other);
        return token && token->n == n;
    }
    int n;
};
plat::Value token(int n) { return plat::Value(std::make_shared<Token>(n)); }

// The lookup as a walk of the source in order: what the map must answer.
std::int32_t walk(const KivoCollectionView& view, const plat::Value& value, const std::string& path) {
    if (value.isNil()) return -1;
    const auto& source = *view.sourceCollection();
    for (std::size_t i = 0; i < source.size(); ++i) {
        const plat::Value v = KivoReflector::getValue(source[i], path);
        if (!v.isNil() && v.isEqual(value)) return static_cast<std::int32_t>(i);
    }
    return -1;
}

plat::Value list(std::initializer_list<plat::Value> values) { return plat::Value(std::make_shared<plat::Array>(values)); }

TEST(DataMap, Lookups) {
    auto strings = std::make_shared<GridDataMap>(std::make_shared<plat::Array>(plat::Array{text("red"), text("green")}));
    // Labelled items: key "rank", shown "label"; two share the label "blue"; one has no label (nil reads).
    auto items = std::make_shared<plat::Array>(plat::Array{labelled("blue", 1), labelled("blue", 2), labelled("Teal", 3)});
    auto view = KivoCollectionView::create(items);
    auto labels = std::make_shared<GridDataMap>(view, "rank", "label");
    auto numbers = std::make_shared<GridDataMap>(std::make_shared<plat::Array>(plat::Array{plat::Value(std::int64_t{1})}));
    struct Case {
        const char* name;
        std::shared_ptr<GridDataMap> map;
        bool toKey;
        plat::Value in, out;
    };
    const Case cases[] = {
        {"a string maps to itself", strings, true, text("green"), text("green")},
        {"a string not there", strings, true, text("blue"), plat::Value()},
        {"the first of two equal display values", labels, true, text("blue"), plat::Value(std::int64_t{1})},
        {"display of a key", labels, false, plat::Value(std::int64_t{2}), text("blue")},
        {"case counts", labels, true, text("teal"), plat::Value()},
        {"nil finds nothing", labels, false, plat::Value(), plat::Value()},
        {"numbers are text keys", numbers, false, plat::Value(std::int64_t{1}), plat::Value()},
        {"the text of a number is a key", numbers, false, text("1"), text("1")},
    };
    for (const auto& c : cases) {
        const plat::Value got = c.toKey ? c.map->getKeyValue(c.in) : c.map->getDisplayValue(c.in);
        EXPECT_TRUE(got.isEqual(c.out) || (got.isNil() && c.out.isNil())) << c.name << ": " << got.description();
    }
    // Filtered and sorted away, still found, in source order.
    view->setFilter([](const plat::Value& v) { return v.as<grid_test::Labelled>()->rank != 3; });
    EXPECT_EQ(labels->displayIndexOf(text("Teal")), 2);
    EXPECT_EQ(labels->getDisplayValues().size(), 3u);
    EXPECT_EQ(labels->getKeyValues()[2].asInteger(), 3);
}

TEST(DataMap, AnswersAsAWalkOfTheSourceForKeysOfEveryKind) {
    constexpr std::int64_t big = std::int64_t{1} << 53;  // past it, integers share doubles
    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto items = std::make_shared<plat::Array>(plat::Array{entry(plat::Value(std::int64_t{1}), "one"),
                                                           entry(plat::Value(1.0), "one again"),
                                                           entry(text("1"), "text one"),
                                                           entry(plat::Value(true), "yes"),
                                                           entry(plat::Value(2.5), "two and a half"),
                                                           entry(plat::Value(big + 1), "big+1"),
                                                           entry(plat::Value(big), "big"),
                                                           entry(plat::Value(static_cast<double>(big)), "big double"),
                                                           entry(text("a"), "a"),
                                                           entry(text("a"), "a again"),
                                                           entry(plat::Value::null(), "null"),
                                                           entry(plat::Value(plat::Date(100)), "date"),
                                                           entry(plat::Value(-0.0), "minus zero"),
                                                           entry(plat::Value(std::int64_t{0}), "zero"),
                                                           entry(plat::Value(nan), "nan"),
                                                           entry(token(5), "token"),
                                                           entry(token(5), "token again"),
                                                           entry(list({plat::Value(std::int64_t{1}), text("x")}), "list"),
                                                           entry(plat::Value(), "no key"),
                                                           entry(plat::Value(false), "no"),
                                                           entry(plat::Value(plat::Date(nan)), "no date")});
    auto view = KivoCollectionView::create(items);
    GridDataMap map(view, "k", "d");
    const plat::Value keys[] = {plat::Value(std::int64_t{1}),
                                plat::Value(1.0),
                                plat::Value(true),
                                text("1"),
                                plat::Value(2.5),
                                plat::Value(std::int64_t{2}),
                                plat::Value(big),
                                plat::Value(big + 1),
                                plat::Value(static_cast<double>(big)),
                                plat::Value(static_cast<double>(big + 2)),
                                text("a"),
                                text("A"),
                                text(""),
                                plat::Value::null(),
                                plat::Value(),
                                plat::Value(plat::Date(100)),
                                plat::Value(plat::Date(101)),
                                plat::Value(0.0),
                                plat::Value(-0.0),
                                plat::Value(std::int64_t{0}),
                                plat::Value(false),
                                plat::Value(nan),
                                plat::Value(plat::Date(nan)),
                                token(5),
                                token(6),
                                list({plat::Value(1.0), text("x")}),
                                list({plat::Value(std::int64_t{1})}),
                                entry(text("a"), "a"),
                                text("one"),
                                text("yes")};
    for (const auto& key : keys) {
        SCOPED_TRACE(key.description() + " (kind " + std::to_string(static_cast<int>(key.kind())) + ")");
        EXPECT_EQ(grid_test::Access::indexOf(map, key, "k", true), walk(*view, key, "k"));
        EXPECT_EQ(map.displayIndexOf(key), walk(*view, key, "d"));
        const std::int32_t at = walk(*view, key, "k");
        const plat::Value shown = map.getDisplayValue(key);
        EXPECT_TRUE(at < 0 ? shown.isNil() : shown.isEqual(KivoReflector::getValue((*items)[static_cast<std::size_t>(at)], "d")));
    }
    EXPECT_EQ(map.getKeyValue(text("a again")).asString(), "a");
    EXPECT_EQ(grid_test::Access::indexOf(map, text("a"), "", true), -1) << "no path";
    EXPECT_EQ(grid_test::Access::indexOf(map, text("1"), "missing", true), -1);
}

TEST(DataMap, FollowsChangesOfItsSource) {
    auto items = std::make_shared<plat::Array>(plat::Array{entry(text("r"), "red"), entry(text("g"), "green")});
    auto view = KivoCollectionView::create(items);
    GridDataMap map(view, "k", "d");
    auto shows = [&](const char* key) {
        const plat::Value v = map.getDisplayValue(text(key));
        return v.isNil() ? std::string("-") : v.asString();
    };
    ASSERT_EQ(shows("g"), "green");
    ASSERT_EQ(shows("b"), "-");

    struct Step {
        const char* name;
        std::function<void()> change;
        const char* key;
        std::string expected;
    };
    auto blue = entry(text("b"), "blue");
    const Step steps[] = {
        {"added through the view", [&] { view->addObject(blue); }, "b", "blue"},
        {"an earlier item with the same key wins", [&] { view->insertObject(entry(text("b"), "navy"), 0); }, "b", "navy"},
        {"removed through the view", [&] { view->removeAt(0); }, "b", "blue"},
        {"replaced through the view", [&] { view->replaceObjectAtIndex(0, entry(text("r"), "crimson")); }, "r", "crimson"},
        {"edited through the view",
         [&] {
             const plat::Value first = (*items)[0];
             view->editItem(first);
             (*first.asDictionary())["k"] = text("c");
             view->commitEdit();
         },
         "c", "crimson"},
        {"a filter hides nothing from the map",
         [&] { view->setFilter([](const plat::Value& v) { return KivoReflector::getValue(v, "k").asString() != "g"; }); }, "g",
         "green"},
        {"added to the source behind the view's back", [&] { items->push_back(entry(text("w"), "white")); }, "w", "white"},
        {"the key of an entry changed in place", [&] { (*items->back().asDictionary())["k"] = text("v"); }, "w", "-"},
        {"a source changed in place and refreshed",
         [&] {
             (*items)[0] = entry(text("o"), "orange");
             view->refresh();
         },
         "o", "orange"},
        {"another source",
         [&] { view->setSourceCollection(std::make_shared<plat::Array>(plat::Array{entry(text("k"), "black")})); }, "k", "black"},
        {"the old source's keys are gone", [] {}, "g", "-"},
    };
    for (const auto& step : steps) {
        step.change();
        EXPECT_EQ(shows(step.key), step.expected) << step.name;
    }
}

TEST(DataMap, NilValuesStandInTheLists) {
    plat::testing::LogCapture log;  // what the test provokes is logged, not printed
    auto items = std::make_shared<plat::Array>(
        plat::Array{labelled("a", 1), plat::Value(std::make_shared<grid_test::Record>(5)), labelled("c", 3)});
    GridDataMap map(items, "rank", "label");
    const auto shown = map.getDisplayValues();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_TRUE(shown[1].isNil());
    EXPECT_EQ(map.displayIndexOf(text("c")), 2) << "indices follow the list";
    EXPECT_TRUE(GridDataMap(items, "", "label").getKeyValues().empty());
    EXPECT_THAT(log.lines(), ::testing::Contains(::testing::HasSubstr("not available")));
}

TEST(DataMap, ColumnsShowTheDisplayValue) {
    plat::testing::VirtualClock clock;
    auto grid = OmbriGrid::create({0, 0, 300, 200});
    auto items = std::make_shared<plat::Array>();
    auto record = std::make_shared<grid_test::Record>(2);
    items->push_back(plat::Value(record));
    grid->setItemsSource(items);
    auto id = grid->columns()->objectForKeyedSubscript("id");
    auto names = std::make_shared<plat::Array>(plat::Array{labelled("two", 2)});
    id->setDataMap(std::make_shared<GridDataMap>(KivoCollectionView::create(names), "rank", "label"));
    const auto col = static_cast<std::int32_t>(id->index());
    EXPECT_EQ(grid->cells()->getCellData(0, col, true).asString(), "two");
    EXPECT_EQ(id->horizontalAlignment(), GridHorizontalAlignmentLeft) << "mapped numbers read as texts";
    record->id = 7;
    EXPECT_EQ(grid->cells()->getCellData(0, col, true).asString(), "7") << "no entry: the number rules";
}

}  // namespace
