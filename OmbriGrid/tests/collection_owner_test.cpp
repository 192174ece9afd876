#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "KivoCore/IKivoValueFormatter.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"

namespace {

class MarkingFormatter : public IKivoValueFormatter {
public:
    std::optional<std::string> format(const plat::Value& v, const std::string&) override { return "vf(" + v.description() + ")"; }
    std::optional<std::string> format(const plat::Value& v, const std::string& f, std::int64_t) override { return format(v, f); }
};

// Every way an item can enter a row or column collection, given the collection and the item.
struct Road {
    const char* name;
    std::function<void(GridRowColCollection&, const std::shared_ptr<GridRowCol>&)> enter;
};

const Road roads[] = {
    {"push into an empty collection", [](GridRowColCollection& c, const auto& item) { c.push(item); }},
    {"a second push",
     [](GridRowColCollection& c, const auto& item) {
         c.push(std::make_shared<GridColumn>());
         c.push(item);
     }},
    {"insert in front",
     [](GridRowColCollection& c, const auto& item) {
         c.push(std::make_shared<GridColumn>());
         c.insertObject(plat::Value(item), 0);
     }},
    {"replace",
     [](GridRowColCollection& c, const auto& item) {
         c.push(std::make_shared<GridColumn>());
         c.replaceObjectAtIndex(0, plat::Value(item));
     }},
    {"several at once",
     [](GridRowColCollection& c, const auto& item) {
         c.addObjectsFromArray({plat::Value(std::make_shared<GridColumn>()), plat::Value(item)});
     }},
    {"push after a layout",
     [](GridRowColCollection& c, const auto& item) {
         c.push(std::make_shared<GridColumn>());
         c.totalSize();
         c.push(item);
     }},
    {"push into a grid drawn before",
     [](GridRowColCollection& c, const auto& item) {
         plat::RecordingContext rec;
         c.grid()->drawRect(rec, c.grid()->bounds());
         c.push(item);
     }},
    {"inside a batch",
     [](GridRowColCollection& c, const auto& item) {
         c.beginUpdate();
         c.push(item);
         EXPECT_EQ(item->owner().get(), &c) << "a push belongs at once, even inside a batch";
         c.endUpdate();
     }},
};

class CollectionOwner : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 400, 300});
};

TEST_F(CollectionOwner, ARowBelongsToItsCollectionAsSoonAsItEntersIt) {
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        auto& rows = *grid->rows();
        rows.removeAllObjects();
        rows.setMinSize(30);
        rows.setMaxSize(50);
        auto small = std::make_shared<GridRow>();
        small->setHeight(10);
        road.enter(rows, small);
        EXPECT_EQ(small->owner().get(), grid->rows().get());
        EXPECT_EQ(small->grid().get(), grid.get());
        EXPECT_EQ(small->renderHeight(), 30) << "the collection's minimum";
        auto unsized = std::make_shared<GridRow>();
        rows.push(unsized);
        EXPECT_EQ(unsized->renderHeight(), 30) << "the collection's default, within its limits";
    }
}

TEST_F(CollectionOwner, AColumnReadsItsGridAsSoonAsItEntersItsCollection) {
    grid->setValueFormatter(std::make_shared<MarkingFormatter>());
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        auto& columns = *grid->columns();
        columns.removeAllObjects();
        auto column = std::make_shared<GridColumn>();
        column->setHeader("Price");
        column->setSortDirection(GridSortDirectionAscending);
        road.enter(columns, column);
        EXPECT_EQ(column->grid().get(), grid.get());
        EXPECT_EQ(column->renderWidth(), columns.defaultSize());
        EXPECT_EQ(column->getFormattedValue(plat::Value(2.5)).description(), "vf(2.5)") << "the grid's value formatter";
        EXPECT_EQ(column->getFormattedHeader(), "Price \u25B2") << "the grid shows the sort";
        column->setWidth(5);
        columns.setMinSize(20);
        EXPECT_EQ(column->renderWidth(), 20);
        columns.setMinSize(0);
    }
}

TEST_F(CollectionOwner, AnItemThatLeavesBelongsToNoOne) {
    auto& rows = *grid->rows();
    auto first = std::make_shared<GridRow>();
    auto second = std::make_shared<GridRow>();
    rows.push(first);
    rows.replaceObjectAtIndex(0, plat::Value(second));
    EXPECT_EQ(first->owner().get(), nullptr);
    EXPECT_EQ(second->owner().get(), grid->rows().get());
    // An item put back over itself stays.
    rows.replaceObjectAtIndex(0, plat::Value(second));
    EXPECT_EQ(second->owner().get(), grid->rows().get());
    rows.removeObjectAtIndex(0);
    EXPECT_EQ(second->owner().get(), nullptr);
    EXPECT_EQ(second->renderHeight(), -1);
}

}  // namespace
