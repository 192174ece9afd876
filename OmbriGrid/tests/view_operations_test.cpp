#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "KivoCore/KivoPropertyGroupDescription.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "Platform/runtime/dispatch.h"
#include "Platform/testing/log_capture.h"
#include "grid_access.h"
#include "selection_fixture.h"

using grid_test::Access;

namespace {

class ViewOperations : public grid_test::SelectionScene {
protected:
    double maxY() const { return Access::panMax(*grid).y; }
};

TEST_F(ViewOperations, ARowOrColumnScrollsIntoViewByTheSmallerMove) {
    const double top = RowHeight + RowHeight;            // header row and frozen row
    const double left = grid->offset().x + ColumnWidth;  // row headers and frozen column
    struct Case {
        const char* name;
        bool row;  // a row, else a column
        std::int32_t index;
        double startX, startY;  // placed, unclamped
        // Where the scrolled row's top (column's left) lands; NAN: the origin it ends at, given below.
        double edge;
        plat::Point origin;
    };
    const std::vector<Case> cases = {
        {"row below: its bottom on the bottom edge",
         true,
         40,
         0,
         0,
         Height - RowHeight,
         {0, 41 * RowHeight - Height + RowHeight}},
        {"row above: its top under the frozen rows", true, 5, 0, 1000, top, {0, 4 * RowHeight}},
        {"row in view: no move", true, 6, 0, 10, NAN, {0, 10}},
        {"frozen row, origin past the top: clamped", true, 0, 0, -10, NAN, {0, 0}},
        {"last row, origin past the bottom: the last screen", true, 99, 0, 3000, NAN, {0, 0}},
        {"column right: its right on the right edge", false, 5, 0, 0, Width - ColumnWidth, {6 * ColumnWidth + 35 - Width, 0}},
        {"column left: its left after the frozen column", false, 2, 600, 0, left, {ColumnWidth, 0}},
        {"column in view: no move", false, 1, 0, 0, NAN, {0, 0}},
        {"frozen column, origin past the left: clamped", false, 0, -20, 0, NAN, {0, 0}},
    };
    // With touch feedback the origin would bounce back rather than be clamped at once.
    grid->setTouchFeedback(false);
    for (const auto& c : cases) {
        Access::placeOrigin(*grid, c.startX, c.startY);
        if (c.row)
            grid->scrollRowIntoView(c.index);
        else
            grid->scrollColumnIntoView(c.index);
        plat::Point expected = c.origin;
        if (c.index == 99) expected.y = maxY();
        EXPECT_DOUBLE_EQ(grid->originX(), expected.x) << c.name;
        EXPECT_DOUBLE_EQ(grid->originY(), expected.y) << c.name;
        if (!std::isnan(c.edge)) {
            const plat::Rect r = c.row ? grid->getCellRectForRow(c.index, 1) : grid->getCellRectForRow(1, c.index);
            EXPECT_DOUBLE_EQ(c.row ? r.y() : r.x(), c.edge) << c.name;
            EXPECT_TRUE(c.row ? grid->isRowInView(c.index, 1) : grid->isColumnInView(c.index, 1)) << c.name;
        }
    }
}

TEST_F(ViewOperations, ARowPartlyHiddenAtTheBottomIsNotInView) {
    // Rows start at 28 under the header: row 18 ends at 560, row 19 at 588, past 568.
    EXPECT_TRUE(grid->isRowInView(18, 2));
    EXPECT_FALSE(grid->isRowInView(19, 2));
    EXPECT_TRUE(grid->isColumnInView(1, 0));
    EXPECT_FALSE(grid->isColumnInView(2, 0)) << "112 × 2 + 35 is past 320 - 112";
}

TEST_F(ViewOperations, RowEdgesAreVisibleWhereTheyAreDrawnWhateverRowsAreFrozen) {
    grid->setTouchFeedback(false);
    for (const int frozen : {0, 1, 3}) {
        grid->setFrozenRows(frozen);
        grid->setScrollPosition({0, 10 * RowHeight + 5});
        const auto& cells = grid->cells();
        const double H = grid->clientRect().size.height, under = cells->offsetY() + cells->frozenPoint().y;
        int bottoms = 0;
        for (std::int32_t r = frozen; r < 60; ++r) {
            const plat::Rect rect = grid->getCellRectForRow(r, 1);
            // Only rows clear of the frozen rows: their edges are judged against the view's bottom.
            if (rect.y() <= under) continue;
            EXPECT_EQ(cells->isRowBottomVisible(r), rect.maxY() < H) << frozen << " frozen, row " << r;
            if (rect.maxY() < H) ++bottoms;
            if (rect.maxY() <= H) {
                EXPECT_TRUE(cells->isRowTopVisible(r)) << frozen << " frozen, row " << r;
            }
            if (rect.y() >= H + rect.height()) {
                EXPECT_FALSE(cells->isRowTopVisible(r)) << frozen << " frozen, row " << r;
            }
        }
        EXPECT_GT(bottoms, 10) << frozen << " frozen";
        // A row seen whole stays where it is.
        const plat::Point before = grid->scrollPosition();
        grid->scrollRowIntoView(static_cast<std::int32_t>((H - RowHeight) / RowHeight) + 9);
        EXPECT_EQ(grid->scrollPosition(), before) << frozen << " frozen";
    }
}

TEST_F(ViewOperations, MovingTheScrollPositionKeepsTheCellImages) {
    int dropped = 0, formatted = 0;
    auto token = std::make_shared<int>();
    grid->ombriGridDroppedCaches()->addHandler([&](const auto&) { ++dropped; }, token);
    grid->ombriGridFormatItem()->addHandler([&](const auto&) { ++formatted; }, token);
    plat::RecordingContext rec;
    window->display(rec);
    ASSERT_TRUE(Access::isCached(*grid->cells(), 2, 2));
    grid->setScrollPosition({0, RowHeight});
    EXPECT_TRUE(grid->needsDisplay());
    EXPECT_TRUE(Access::isCached(*grid->cells(), 2, 2));
    EXPECT_EQ(dropped, 0);
    // Only the row scrolled into view is made anew.
    formatted = 0;
    window->display(rec);
    EXPECT_GT(formatted, 0);
    EXPECT_LE(formatted, 2 * static_cast<int>(grid->columns()->count()) + 1);
    EXPECT_EQ(dropped, 0);
}

TEST_F(ViewOperations, AnyIndexOutsideTheGridAnswersNothingAndMovesNothing) {
    grid->setScrollPosition({50, 200});
    const plat::Point before = grid->scrollPosition();
    for (const auto& [row, col] :
         std::vector<std::pair<std::int32_t, std::int32_t>>{{-1, 0}, {100, 0}, {0, -1}, {0, 10}, {INT32_MIN, INT32_MAX}}) {
        const std::string at = std::to_string(row) + ", " + std::to_string(col);
        EXPECT_EQ(grid->getCellRectForRow(row, col), plat::Rect{}) << at;
        EXPECT_TRUE(grid->getCellDataForRow(row, col, true).isNil()) << at;
        EXPECT_EQ(grid->getSelectedStateForRow(row, col), GridSelectedStateNone) << at;
        EXPECT_FALSE(grid->isRowInView(row, col)) << at;
        EXPECT_FALSE(grid->isColumnInView(col, row)) << at;
        EXPECT_FALSE(grid->scrollIntoView(row, col)) << at;
        grid->scrollRowIntoView(row);
        grid->scrollColumnIntoView(col);
        plat::RunLoop::main().runUntilIdle();
        EXPECT_EQ(grid->scrollPosition(), before) << at;
    }
    EXPECT_EQ(grid->getCellDataForRow(3, 2, false).asInteger(), 5);
}

TEST_F(ViewOperations, ASelectedRangeShownOnADrawnGridScrollsItsAnchorIntoViewAtOnce) {
    grid->setSelectionMode(GridSelectionModeCellRange);
    grid->selectCellRange(std::make_shared<GridCellRange>(70, 8, 30, 2), false);
    EXPECT_EQ(grid->scrollPosition(), (plat::Point{0, 0}));
    grid->selectCellRange(std::make_shared<GridCellRange>(70, 8, 30, 2), true);
    EXPECT_TRUE(grid->isRowInView(70, 8));
    EXPECT_TRUE(grid->isColumnInView(8, 70));
    EXPECT_FALSE(grid->isRowInView(30, 2)) << "the anchor, not the range, is shown";
}

TEST_F(ViewOperations, ScrollingIntoViewBeforeTheFirstPassWaitsForTheCurrentWork) {
    auto fresh = OmbriGrid::create({0, 0, Width, Height});
    window->addSubview(fresh);
    bool ranBefore = false;
    double originDuringSetUp = -1;
    // The set-up itself runs on the main queue, as an application's does.
    plat::dispatch::async(plat::dispatch::Queue::main(), [&] {
        fresh->setItemsSource(grid_test::wideItems(RowCount));
        fresh->setSelectionMode(GridSelectionModeCell);
        fresh->selectCellRange(std::make_shared<GridCellRange>(60, 6), true);
        originDuringSetUp = fresh->originY();
        ranBefore = true;
    });
    plat::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(ranBefore);
    EXPECT_EQ(originDuringSetUp, 0);
    EXPECT_TRUE(fresh->isRowInView(60, 6));
    EXPECT_TRUE(fresh->isColumnInView(6, 60));
    EXPECT_GT(fresh->originY(), 0);
}

TEST_F(ViewOperations, AGridReleasedBeforeItsDeferredScrollIsLeftAlone) {
    auto fresh = OmbriGrid::create({0, 0, Width, Height});
    fresh->setItemsSource(grid_test::wideItems(10));
    EXPECT_TRUE(fresh->scrollIntoView(5, 2));
    fresh.reset();
    plat::RunLoop::main().runUntilIdle();  // sanitizer-clean: nothing runs on a freed grid
}

class GroupOperations : public grid_test::SelectionScene {
protected:
    // Six items grouped by c0: 0, 1, 0, 1, 0, 1 make groups "0" and "1" of three items each.
    void SetUp() override {
        window->addSubview(grid);
        auto items = std::make_shared<plat::Array>();
        for (long i = 0; i < 6; ++i) items->push_back(plat::Value(std::make_shared<grid_test::Wide>(i % 2)));
        grouped = KivoCollectionView::create(items);
        grouped->groupDescriptions()->addObject(plat::Value(std::make_shared<KivoPropertyGroupDescription>("c0")));
        grid->setCollectionView(grouped);
        draw();
    }
    std::vector<bool> collapsed() const {
        std::vector<bool> out;
        for (std::size_t i = 0; i < grid->rows()->count(); ++i)
            if (auto g = std::dynamic_pointer_cast<GridGroupRow>(grid->rows()->row(static_cast<std::int64_t>(i))))
                out.push_back(g->isCollapsed());
        return out;
    }
    std::shared_ptr<KivoCollectionView> grouped;
};

TEST_F(GroupOperations, RemoveFromGroupFindsTheGroupByEqualNameAndRefusesABadIndex) {
    ASSERT_EQ(grid->rows()->count(), 8u);
    const plat::Value second = (*grouped->groups()[1]->items())[1];
    grid->removeFromGroup(std::string("1"), 1);
    EXPECT_EQ(grouped->items()->size(), 5u);
    EXPECT_EQ(grid->rows()->count(), 7u);
    for (const auto& item : *grouped->items()) EXPECT_FALSE(item == second);

    plat::testing::LogCapture log;
    grid->removeFromGroup("1", 2);
    grid->removeFromGroup("0", -1);
    grid->removeFromGroup("no such group", 0);
    EXPECT_EQ(grouped->items()->size(), 5u);
    EXPECT_EQ(log.lines().size(), 2u) << "a missing group is no error";
}

TEST_F(GroupOperations, CollapsingToALevelTakesEveryGroupAtOrBelowIt) {
    grid->collapseGroupsToLevel(0);
    plat::RunLoop::main().runUntilIdle();
    EXPECT_EQ(collapsed(), (std::vector<bool>{true, true}));
    grid->collapseGroupsToLevel(5);
    plat::RunLoop::main().runUntilIdle();
    EXPECT_EQ(collapsed(), (std::vector<bool>{false, false}));
}

TEST_F(GroupOperations, AnAddedGroupRowLastsUntilTheNextRebuildAndItemsGoToTheView) {
    grid->addGroup("extra", plat::Array{plat::Value(std::make_shared<grid_test::Wide>(9))});
    EXPECT_EQ(grid->rows()->count(), 10u);
    grid->addItem(plat::Value(std::make_shared<grid_test::Wide>(0)));
    EXPECT_EQ(grouped->items()->size(), 7u);
    EXPECT_EQ(grid->rows()->count(), 9u) << "the rebuild drops the added group";

    auto unbound = OmbriGrid::create({0, 0, Width, Height});
    plat::testing::LogCapture log;
    unbound->addItem(plat::Value(std::make_shared<grid_test::Wide>(0)));
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(unbound->rows()->count(), 0u);
}

}  // namespace
