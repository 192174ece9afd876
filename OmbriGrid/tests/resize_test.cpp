#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/graphics/color.h"
#include "Platform/ui/menu_controller.h"
#include "resize_fixture.h"

namespace {

using grid_test::Access;

class Resize : public grid_test::PressScene {
protected:
    // The boundary of columns 2 and 3 in the header row.
    double boundary() const { return rightEdge(2); }
    static constexpr double HeaderY = 14;
    std::vector<std::int32_t> widths() const {
        std::vector<std::int32_t> out;
        for (int i = 0; i < 5; ++i) out.push_back(column(i).renderWidth());
        return out;
    }
};

TEST_F(Resize, APressOnAHeaderEdgeSizesTheColumnLeftOfThatEdge) {
    enum class Setting { None, Column2Hidden, GridOff, Column2Off, Scrolled, ScrolledFrozen };
    struct Case {
        std::string name;
        int edge;       // the press is `offset` points from the right edge of this column (-1: the row headers')
        double offset;
        Setting setting;
        int sized;  // -1: the press does not begin, and the drag pans
    };
    for (const auto& c : std::vector<Case>{{"10 points left of the 2|3 boundary", 2, -10, Setting::None, 2},
                                           {"10 points right of the 2|3 boundary", 2, 10, Setting::None, 2},
                                           {"the middle of column 2", 2, -40, Setting::None, -1},
                                           {"the first column's left zone", -1, 5, Setting::None, -1},
                                           {"column 2 hidden, column 3's left edge", 1, 5, Setting::Column2Hidden, 1},
                                           {"the grid's allowResizing off", 2, -10, Setting::GridOff, -1},
                                           {"column 2's allowResizing off", 2, -10, Setting::Column2Off, -1},
                                           {"scrolled 50 points, 10 left of the 2|3 boundary", 2, -10, Setting::Scrolled, 2},
                                           {"scrolled, the frozen column's right edge", 0, -5, Setting::ScrolledFrozen, 0},
                                           {"scrolled, the middle of the frozen column", 0, -40, Setting::ScrolledFrozen, -1},
                                           {"scrolled, past the frozen column, the 2|3 boundary", 2, -10, Setting::ScrolledFrozen, 2}}) {
        rebuild();
        if (c.setting == Setting::Column2Hidden) column(2).setVisible(false);
        if (c.setting == Setting::GridOff) grid->setAllowResizing(false);
        if (c.setting == Setting::Column2Off) column(2).setAllowResizing(false);
        if (c.setting == Setting::ScrolledFrozen) grid->setFrozenColumns(1);
        if (c.setting == Setting::Scrolled || c.setting == Setting::ScrolledFrozen) grid->setScrollPosition({50, 0});
        draw();
        const double x = (c.edge < 0 ? HeaderWidth : rightEdge(c.edge)) + c.offset;
        auto expected = widths();
        if (c.sized >= 0) expected[static_cast<std::size_t>(c.sized)] += 30;
        EXPECT_EQ(pressAndMove({x, HeaderY}, 30), c.sized) << c.name;
        EXPECT_EQ(grid->columnBeingSized(), c.sized) << c.name;
        touches().up();
        EXPECT_EQ(widths(), expected) << c.name;
        EXPECT_EQ(grid->columnBeingSized(), -1) << c.name;
    }
}

TEST_F(Resize, APressOnTheHeaderRowPastTheLastColumnLeavesTheLongPressAlone) {
    for (int i = 0; i < 5; ++i) column(i).setWidth(40);
    grid->setSelectionMode(GridSelectionModeCellRange);
    grid->setSelection(std::make_shared<GridCellRange>(1, 1, 2, 2));
    draw();
    int longPresses = 0;
    grid->ombriGridCellLongPressed()->addHandler([&](const std::shared_ptr<KivoEventContainer>&) { ++longPresses; }, grid);
    touches().longPress({300, HeaderY}, 1.2);
    EXPECT_EQ(longPresses, 1);
    EXPECT_EQ(grid->columnBeingSized(), -1);
    plat::MenuController::shared().setMenuVisible(false, false);
}

TEST_F(Resize, ADragStopsAt15PointsOrTheColumnsLimits) {
    struct Case {
        std::int32_t minWidth, maxWidth;
        double dx;
        std::int32_t width;
    };
    for (const auto& c : std::vector<Case>{{-1, -1, -100, 15},
                                           {40, -1, -100, 40},
                                           {-1, 100, 60, 100},
                                           {-1, 10, -100, 10},
                                           {-1, -1, 45, 125}}) {
        column(2).setMinWidth(c.minWidth);
        column(2).setMaxWidth(c.maxWidth);
        column(2).setWidth(ColumnWidth);
        draw();
        pressAndMove({boundary() - 5, HeaderY}, c.dx);
        touches().up();
        EXPECT_EQ(column(2).renderWidth(), c.width) << c.minWidth << " " << c.maxWidth << " " << c.dx;
        EXPECT_EQ(column(2).widthType(), GridWidthTypeSized);
    }
}

TEST_F(Resize, MovesOfLessThanAPointAddUp) {
    const double x = boundary() - 5;
    touches().down({x, HeaderY}).wait(Hold);
    for (int step = 1; step <= 25; ++step) touches().move({x + 0.4 * step, HeaderY});
    touches().up();
    EXPECT_EQ(column(2).renderWidth(), 90);
}

TEST_F(Resize, TheFirstStepFixesEveryColumnAtItsWidthAnnouncingEachChangedColumnOnce) {
    grid->columns()->setDefaultSize(50);
    column(4).setWidthType(GridWidthTypeStar);
    column(3).setWidthType(GridWidthTypeSized);
    column(3).setWidth(50);
    column(1).setVisible(false);
    draw();
    // The star column takes what the others leave: 320 - 35 - 3 × 50.
    ASSERT_EQ(column(4).renderWidth(), 135);
    std::map<int, int> announced;
    grid->ombriGridResizedColumn()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& c) { ++announced[c->args<GridResizedColumnEventArgs>()->column()->index()]; },
        grid);

    const double x = rightEdge(2) - 5;
    touches().down({x, HeaderY}).wait(Hold).move({x + 20, HeaderY});
    // Column 3 was already fixed at what it shows; the hidden column 1 keeps its width for when it
    // is shown again.
    EXPECT_EQ(announced, (std::map<int, int>{{0, 1}, {1, 1}, {2, 1}, {4, 1}}));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(column(i).widthType(), GridWidthTypeSized) << i;
    draw();
    EXPECT_EQ(column(2).renderWidth(), 70);
    EXPECT_EQ(column(4).renderWidth(), 135) << "the star column no longer gives way";
    column(1).setVisible(true);
    EXPECT_EQ(column(1).renderWidth(), 50);

    announced.clear();
    touches().move({x + 30, HeaderY}).up();
    EXPECT_EQ(announced, (std::map<int, int>{{2, 1}}));
    EXPECT_EQ(column(2).renderWidth(), 80);
}

TEST_F(Resize, AnEndedOrCancelledPressUnmarksTheColumnAndKeepsTheWidth) {
    for (const bool cancelled : {false, true}) {
        const std::int32_t before = column(2).renderWidth();
        pressAndMove({boundary() - 5, HeaderY}, 20);
        ASSERT_EQ(grid->columnBeingSized(), 2);
        Access::cacheCell(*grid->cells(), 0, 2);
        Access::cacheCell(*grid->cells(), 0, 0);
        if (cancelled)
            touches().cancel();
        else
            touches().up();
        EXPECT_EQ(grid->columnBeingSized(), -1) << cancelled;
        EXPECT_EQ(column(2).renderWidth(), before + 20) << cancelled;
        EXPECT_FALSE(Access::isCached(*grid->cells(), 0, 2)) << cancelled;
        EXPECT_TRUE(Access::isCached(*grid->cells(), 0, 0)) << cancelled;
        draw();
    }
}

TEST_F(Resize, AQuickDragOnAHeaderEdgePansInstead) {
    const std::int32_t before = column(2).renderWidth();
    const double x = boundary() - 5;
    touches().drag({x, HeaderY}, {x - 60, HeaderY}, 0.05, 5);
    EXPECT_EQ(column(2).renderWidth(), before);
    EXPECT_EQ(column(2).widthType(), GridWidthTypeDefault);
    EXPECT_GT(grid->originX(), 0);
}

TEST_F(Resize, BeginningAResizeDropsAnOpenEdit) {
    int ended = 0;
    grid->ombriGridCellEditEnded()->addHandler([&](const std::shared_ptr<KivoEventContainer>&) { ++ended; }, grid);
    ASSERT_TRUE(grid->startEditing(true, 1, 1));
    Access::editor(*grid)->setText("999");
    touches().down({boundary() - 5, HeaderY});
    EXPECT_TRUE(grid->editRange()) << "not before the press begins";
    touches().wait(Hold);
    EXPECT_FALSE(grid->editRange());
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(grid->getCellDataForRow(1, 1, false).asInteger(), 2) << "the typed text is not written";
    touches().up();
}

TEST_F(Resize, TheSizedColumnIsMarkedInBlackWhileTheFingerIsDown) {
    for (const auto& panel : {grid->cells(), grid->columnHeaders()}) Access::drawCellsStraight(*panel);
    auto blackLinesAt = [](const plat::RecordingContext& rec, double x) {
        int n = 0;
        for (const auto* op : rec.strokes())
            if (op->color == plat::Color::black() && op->bounds().width() == 0 && op->bounds().x() == x) ++n;
        return n;
    };
    plat::MenuController::shared().setTargetRect({10, 10, 0, 0}, grid);
    plat::MenuController::shared().setMenuVisible(true, false);
    pressAndMove({boundary() - 5, HeaderY}, 10);
    EXPECT_FALSE(plat::MenuController::shared().isMenuVisible());
    plat::RecordingContext held;
    window->display(held);
    // The right edge of column 2 in the header and in each of the six rows, drawn once by column 2
    // and once by column 3.
    EXPECT_EQ(blackLinesAt(held, boundary()), 2 * 7);
    touches().up();
    plat::RecordingContext after;
    window->display(after);
    EXPECT_EQ(blackLinesAt(after, boundary()), 0);
}

}  // namespace
