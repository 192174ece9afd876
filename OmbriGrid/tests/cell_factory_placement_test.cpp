// Where the native-control factory puts its views: the clip views of the four scroll regions, each
// cell's view in its region at the cell's place, cut at the region's edge, tinted by the selection,
// never over header cells and never over an open editor.

#include <gtest/gtest.h>

#include "cell_factory_fixture.h"

namespace grid_test {
namespace {

using Scene = CellFactoryScene;

constexpr int A = 0, B = 1, C = 2, D = 3;

// The text drawn for a cell's view in the last recording.
const plat::DrawOp* titleOf(const plat::RecordingContext& rec, std::int32_t row, std::int32_t col) {
    return rec.findText(std::to_string(row) + "," + std::to_string(col));
}

TEST_F(Scene, ClipViewsFrameTheRegionsByHeaderSizesAndFrozenExtentsWhateverTheScroll) {
    struct Case {
        const char* name;
        std::int32_t frozenRows, frozenColumns;
        plat::Point scroll;
        plat::Rect a;  // B, C and D take the rest of the grid beside and below it
    };
    const Case cases[] = {
        {"one frozen row and column", 1, 1, {0, 0}, {0, 0, 85, 56}},
        {"the same, scrolled to the end", 1, 1, MaxOrigin, {0, 0, 85, 56}},
        {"two frozen rows, no frozen column, scrolled", 2, 0, {15, 10}, {0, 0, 35, 84}},
        {"nothing frozen: the headers alone", 0, 0, {0, 0}, {0, 0, 35, 28}},
    };
    for (const auto& c : cases) {
        grid->setFrozenRows(c.frozenRows);
        grid->setFrozenColumns(c.frozenColumns);
        grid->setScrollPosition(c.scroll);
        draw();
        ASSERT_EQ(grid->scrollPosition(), c.scroll) << c.name;
        const auto views = clips();
        ASSERT_EQ(views.size(), 4u) << c.name;
        const double w = c.a.width(), h = c.a.height();
        const plat::Rect expected[] = {c.a, {0, h, w, Height - h}, {w, 0, Width - w, h}, {w, h, Width - w, Height - h}};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(views[i]->frame(), expected[i]) << c.name << ", region " << i;
            EXPECT_TRUE(views[i]->clipsToBounds()) << c.name << ", region " << i;
        }
    }
}

TEST_F(Scene, EachCellsViewLiesInItsRegionAtItsRectangleLessTheClipOrigin) {
    struct Case {
        plat::Point scroll;
        Cell cell;
        int region;
        plat::Rect inClip;
    };
    const Case cases[] = {
        {{0, 0}, {0, 0}, A, {35, 28, 50, 28}},   {{0, 0}, {0, 5}, C, {200, 28, 50, 28}},
        {{0, 0}, {5, 0}, B, {35, 112, 50, 28}},  {{0, 0}, {5, 5}, D, {200, 112, 50, 28}},
        {MaxOrigin, {0, 0}, A, {35, 28, 50, 28}}, {MaxOrigin, {0, 5}, C, {185, 28, 50, 28}},
        {MaxOrigin, {5, 0}, B, {35, 92, 50, 28}}, {MaxOrigin, {5, 5}, D, {185, 92, 50, 28}},
    };
    for (const auto& c : cases) {
        grid->setScrollPosition(c.scroll);
        draw();
        const auto [row, col] = c.cell;
        const auto view = shownView(row, col);
        ASSERT_TRUE(view) << row << "," << col;
        EXPECT_EQ(view->superview(), clips()[c.region]) << row << "," << col;
        EXPECT_EQ(view->frame(), c.inClip) << row << "," << col;
        EXPECT_EQ(view->convertRectToView(view->bounds(), grid.get()), grid->getCellRectForRow(row, col)) << row << "," << col;
    }
}

TEST_F(Scene, AViewIsCutAtItsClipViewsEdge) {
    // The views' backgrounds are drawn over the whole cell, clipped to the region.
    auto background = [&](std::int32_t row, std::int32_t col) -> const plat::DrawOp* {
        const plat::Rect cell = grid->getCellRectForRow(row, col);
        for (const auto* op : rec->fills())
            if (op->color == ViewBackground && op->bounds() == cell) return op;
        return nullptr;
    };
    // Unscrolled, the last column reaches 15 points past the grid's right edge.
    draw();
    const auto* past = background(0, 5);
    ASSERT_TRUE(past && past->clip);
    EXPECT_EQ(*past->clip, plat::Rect(85, 0, 235, 56));
    EXPECT_EQ(past->bounds().maxX(), Width + 15);

    // Scrolled to the end, cell (1, 1) slides 15 points under the frozen column and 20 under the frozen row.
    grid->setScrollPosition(MaxOrigin);
    draw();
    const auto* under = background(1, 1);
    ASSERT_TRUE(under && under->clip);
    EXPECT_EQ(*under->clip, plat::Rect(85, 56, 235, 512));
    EXPECT_EQ(under->bounds(), plat::Rect(70, 36, 50, 28));
    EXPECT_EQ(shownView(1, 1)->frame(), plat::Rect(-15, -20, 50, 28));
}

TEST_F(Scene, OnlyTheCellsPanelsCellsAreAskedForViewsEachOnce) {
    // Every row shows at least in part and every column too: 120 cells, none of the headers.
    EXPECT_EQ(asks.size(), static_cast<std::size_t>(Rows * Columns));
    for (const auto& [cell, n] : asks) EXPECT_EQ(n, 1) << cell.first << "," << cell.second;
    for (const auto type : askedPanels) EXPECT_EQ(type, GridCellTypeCell);
    EXPECT_EQ(shownViews().size(), static_cast<std::size_t>(Rows * Columns));
    // The headers' texts are still drawn, and no view sits over them.
    for (const auto& view : shownViews()) {
        const plat::Rect r = view->convertRectToView(view->bounds(), grid.get());
        EXPECT_GE(r.x(), HeaderWidth);
        EXPECT_GE(r.y(), HeaderHeight);
    }
}

TEST_F(Scene, ViewsTakeTheSelectionTextColourAtTheNextPassAndTheGridsTintElsewhere) {
    const plat::Color tint = grid->tintColor();
    ASSERT_NE(tint, grid->selectionTextColor());
    auto selectRow = [&](std::int32_t row) { grid->setSelection(std::make_shared<GridCellRange>(row, 0, row, Columns - 1)); };

    selectRow(7);
    draw();
    const auto before = shownView(5, 3);
    ASSERT_TRUE(before);
    EXPECT_EQ(before->tintColor(), tint);
    selectRow(5);
    EXPECT_EQ(before->tintColor(), tint) << "not before the next pass";

    draw();
    for (std::int32_t col = 0; col < Columns; ++col) {
        EXPECT_EQ(shownView(5, col)->tintColor(), grid->selectionTextColor()) << col;
        EXPECT_EQ(shownView(4, col)->tintColor(), tint) << col;
        EXPECT_EQ(shownView(7, col)->tintColor(), tint) << col;
    }
    // What shows on screen: the system buttons draw their titles in the tint.
    EXPECT_EQ(titleOf(*rec, 5, 3)->color, grid->selectionTextColor());
    EXPECT_EQ(titleOf(*rec, 6, 3)->color, tint);
}

TEST_F(Scene, AnOpenEditorStaysAboveTheViewsAndTakesTheTouchesOfItsCell) {
    const plat::Rect cell = grid->getCellRectForRow(5, 2);
    const plat::Point centre{cell.midX(), cell.midY()};
    const auto view = shownView(5, 2);
    ASSERT_TRUE(view);
    auto hit = window->hitTest(centre, nullptr);
    ASSERT_TRUE(hit);
    EXPECT_TRUE(hit->isDescendantOf(view.get())) << "with no editor the view takes the touch";

    ASSERT_TRUE(grid->startEditing(false, 5, 2));
    const auto editor = grid->activeEditor();
    ASSERT_TRUE(editor);
    ASSERT_TRUE(editor->frame().contains(centre));
    draw();

    ASSERT_TRUE(shownView(5, 2)) << "the edited cell keeps a view";
    EXPECT_EQ(grid->subviews().back(), editor);
    hit = window->hitTest(centre, nullptr);
    ASSERT_TRUE(hit);
    EXPECT_TRUE(hit->isDescendantOf(editor.get()));
    EXPECT_TRUE(rec->findText("5,2")) << "the view is drawn, under the editor";

    // Closed, the editor leaves the grid and the cell's view takes the touch again.
    grid->finishEditing(true);
    draw();
    hit = window->hitTest(centre, nullptr);
    ASSERT_TRUE(hit);
    EXPECT_TRUE(hit->isDescendantOf(shownView(5, 2).get()));
}

}  // namespace
}  // namespace grid_test
