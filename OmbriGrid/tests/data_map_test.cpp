#include <gtest/gtest.h>

#include "KivoCore/KivoCollectionView.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridDataMap.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/testing/virtual_clock.h"
#include "grid_model.h"

using grid_test::labelled;

namespace {

plat::Value text(const char* s) { return plat::Value(s); }

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

TEST(DataMap, NilValuesStandInTheLists) {
    auto items = std::make_shared<plat::Array>(plat::Array{labelled("a", 1), plat::Value(std::make_shared<grid_test::Record>(5)), labelled("c", 3)});
    GridDataMap map(items, "rank", "label");
    const auto shown = map.getDisplayValues();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_TRUE(shown[1].isNil());
    EXPECT_EQ(map.displayIndexOf(text("c")), 2) << "indices follow the list";
    EXPECT_TRUE(GridDataMap(items, "", "label").getKeyValues().empty());
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
