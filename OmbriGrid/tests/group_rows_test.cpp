#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "KivoCore/KivoAggregate.h"
#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoPropertyGroupDescription.h"
#include "OmbriGrid/GridHitTestInfo.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/log_capture.h"
#include "grid_drawing.h"

using grid_test::Access;
using grid_test::labelled;
using plat::Color;
using plat::Rect;

namespace {

class GroupRows : public grid_test::DrawnGrid {
protected:
    // Items labelled a, a, b grouped by rank (all 1), then by label: one group of two subgroups.
    void bindGrouped() {
        auto source = std::make_shared<plat::Array>(plat::Array{labelled("a", 1), labelled("a", 1), labelled("b", 1)});
        view = KivoCollectionView::create(source);
        view->groupDescriptions()->addObject(plat::Value(std::make_shared<KivoPropertyGroupDescription>("rank")));
        view->groupDescriptions()->addObject(plat::Value(std::make_shared<KivoPropertyGroupDescription>("label")));
        grid->setCollectionView(view);
    }
    std::string header(std::int32_t row) { return grid->cells()->getGroupRowHeader(row).value_or("<nil>"); }
    std::shared_ptr<KivoCollectionView> view;
};

TEST_F(GroupRows, HeadersFillThePlaceholdersInOnePass) {
    bindGrouped();
    // Rows: group 1 (level 0), group a (level 1), two items, group b (row 4), one item.
    ASSERT_EQ(grid->rows()->count(), 6u);
    EXPECT_EQ(header(0), "\u25E2 rank: 1 (3 items) ") << "{count} counts the subgroups' items";
    EXPECT_EQ(header(1), "\u25E2 label: a (2 items) ");
    EXPECT_EQ(header(2), "<nil>") << "not a group row";
    grid->setGroupHeaderFormat("{level}/{value}");
    EXPECT_EQ(header(4), "\u25E2 1/b ");
    grid->setGroupHeaderFormat("Plain");
    EXPECT_EQ(header(0), "\u25E2 Plain ");
    std::static_pointer_cast<GridGroupRow>(grid->rows()->row(1))->setIsCollapsed(true);
    plat::RunLoop::main().runUntilIdle();
    EXPECT_EQ(header(1), "\u25B6\uFE0E Plain ");
    EXPECT_EQ(header(2), "<nil>") << "hidden under the collapsed group";
}

TEST_F(GroupRows, NameStaysWithoutADescriptionAndPlaceholderTextInANameStays) {
    grid->columns()->push(std::make_shared<GridColumn>());
    grid->addGroup("{count} {name}", {});
    EXPECT_EQ(header(0), "\u25E2 {name}: {count} {name} (0 items) ");
}

TEST_F(GroupRows, ACollapsedGroupIsSkippedByItsCountAndItsRowsCostNothing) {
    bindGrouped();
    std::static_pointer_cast<GridGroupRow>(grid->rows()->row(1))->setIsCollapsed(true);
    plat::RunLoop::main().runUntilIdle();
    draw();
    std::set<std::int32_t> rows;
    for (const auto& [type, r, c] : factory->visits)
        if (type == GridCellTypeCell) rows.insert(r);
    EXPECT_EQ(rows, (std::set<std::int32_t>{5})) << "the group rows are bands, rows 2 and 3 are hidden";
    plat::RecordingContext other;
    plat::CurrentContextScope current(other);
    EXPECT_EQ(grid->cells()->drawGroupRow(1), 2) << "its group's two items";
    EXPECT_EQ(grid->cells()->drawGroupRow(4), 0);
    EXPECT_EQ(grid->cells()->drawGroupRow(2), 0) << "hidden: nothing drawn";
}

TEST_F(GroupRows, TheHeaderEndsBesideTheFirstAggregateColumn) {
    bindGrouped();
    // Row headers 56 wide: the header of a top group starts at 60; the aggregate column at 300.
    grid->setHeadersVisibility(GridHeadersVisibilityRow);
    Access::headerColumns(*grid)->column(0)->setWidth(56);
    grid->columns()->column(0)->setWidth(144);
    grid->columns()->column(1)->setWidth(100);
    auto sum = std::make_shared<GridColumn>();
    sum->setBinding("rank");
    sum->setAggregate(KivoAggregateSum);
    grid->columns()->push(sum);
    drawStraight();
    for (const auto& [width, expected] : std::vector<std::pair<double, double>>{{100, 240}, {260, 260}}) {
        sum->setWidth(width);
        auto& rec = draw();
        ASSERT_EQ(grid->cells()->getCellRect(0, 2).x(), 300);
        const auto* text = rec.findText(header(0));
        ASSERT_TRUE(text && text->layoutRect);
        EXPECT_EQ(text->layoutRect->x(), 60);
        EXPECT_EQ(text->layoutRect->width(), expected);
        EXPECT_TRUE(text->textOptions.fitHeight);
        EXPECT_NE(rec.findText("3"), nullptr) << "the sum of the group's ranks";
    }
}

class Handles : public grid_test::DrawnGrid {
protected:
    void SetUp() override { bindRecords(6); }
    std::vector<Rect> circles() const {
        std::vector<Rect> out;
        for (const auto* op : rec->fills())
            if (op->color == grid->selectionAdornerColor()) out.push_back(op->bounds());
        return out;
    }
    void select(GridSelectionMode mode, GridCellRange range) {
        grid->setSelectionMode(mode);
        grid->setSelection(std::make_shared<GridCellRange>(range));
        draw();
    }
};

TEST_F(Handles, SitAtTheCornersOfACellRangeAndMidWidthForARowRange) {
    select(GridSelectionModeCellRange, {1, 1, 2, 2});
    const Rect a = grid->cells()->getCellRect(1, 1), b = grid->cells()->getCellRect(2, 2);
    EXPECT_EQ(circles(), (std::vector<Rect>{{a.x() - 5.5, a.y() - 5.5, 11, 11}, {b.maxX() - 5.5, b.maxY() - 5.5, 11, 11}}));
    EXPECT_EQ(grid->cells()->getAdorner({a.x(), a.y()}), 1);
    EXPECT_EQ(grid->cells()->getAdorner({b.maxX() + 9, b.maxY()}), 2);
    EXPECT_EQ(grid->cells()->getAdorner({b.maxX() + 10, b.maxY()}), 0);

    select(GridSelectionModeRowRange, {1, 0, 2, 4});
    const double m = std::min(grid->cells()->width() + 35.0, 400.0) * 0.5;
    const Rect r1 = grid->cells()->getCellRect(1, 0), r2 = grid->cells()->getCellRect(2, 0);
    EXPECT_EQ(circles(), (std::vector<Rect>{{m - 5.5, r1.y() - 5.5, 11, 11}, {m - 5.5, r2.maxY() - 5.5, 11, 11}}));

    for (const auto mode : {GridSelectionModeCell, GridSelectionModeRow}) {
        select(mode, {1, 1, 2, 2});
        EXPECT_TRUE(circles().empty());
        EXPECT_EQ(grid->cells()->getAdorner({a.x(), a.y()}), 0);
    }
    Access::setEditRange(*grid, std::make_shared<GridCellRange>(1, 1));
    select(GridSelectionModeCellRange, {1, 1, 2, 2});
    EXPECT_TRUE(circles().empty()) << "not while a cell is edited";
}

TEST_F(Handles, StayInsideTheViewPreferTheStartAndIgnoreCellsOutsideThePanel) {
    grid->setHeadersVisibility(0);
    select(GridSelectionModeCellRange, {1, 0, 1, 0});
    const Rect c = grid->cells()->getCellRect(1, 0);
    EXPECT_EQ(circles(), (std::vector<Rect>{{1.0, c.y() - 5.5, 11, 11}, {c.maxX() - 5.5, c.maxY() - 5.5, 11, 11}}));
    // A narrow cell brings the two touch areas together: the start wins.
    grid->columns()->column(1)->setWidth(6);
    grid->rows()->row(2)->setHeight(6);
    select(GridSelectionModeCellRange, {2, 1, 2, 1});
    const Rect n = grid->cells()->getCellRect(2, 1);
    EXPECT_EQ(grid->cells()->getAdorner({n.midX(), n.midY()}), 1);
    EXPECT_EQ(grid->cells()->getAdorner({n.maxX() + 9, n.maxY() + 9}), 2);
    // The setter refuses such ranges; the drawing must still bear one left in place.
    Access::placeSelection(*grid, GridCellRange(4, 1, 50, 9));
    draw();
    EXPECT_EQ(circles().size(), 1u) << "the end is outside the panel";
    Access::placeSelection(*grid, GridCellRange(40, 1, 50, 2));
    draw();
    EXPECT_TRUE(circles().empty());
}

}  // namespace

// A frozen group row is parted from the scrolling rows by the frozen-area divider across the whole
// band, as an ordinary row is, and so is the first scrolling row when it is a group row.
TEST_F(GroupRows, TheFrozenDividerRunsAcrossAGroupBand) {
    bindGrouped();
    drawStraight();
    grid->setFrozenCellsBorderColor(Color::red());
    const double bandWidth = static_cast<double>(grid->cells()->width());
    // The group bands are rows 0 and 4: frozen after row 0 the divider is the band's bottom edge,
    // frozen after row 3 the top edge of band 4. The row header draws its own piece at the same height.
    for (const std::int32_t frozen : {1, 4}) {
        SCOPED_TRACE(frozen);
        grid->setFrozenRows(frozen);
        draw();
        std::vector<double> across, header;
        for (const auto* op : rec->strokes()) {
            const Rect b = op->bounds();
            if (op->color != Color::red() || b.height() != 0) continue;
            (b.width() >= bandWidth ? across : header).push_back(b.y());
        }
        ASSERT_FALSE(across.empty());
        ASSERT_FALSE(header.empty());
        for (double y : across) EXPECT_EQ(y, header.front());
    }
}
