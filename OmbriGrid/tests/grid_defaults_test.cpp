#include <gtest/gtest.h>

#include <cmath>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/virtual_clock.h"
#include "grid_access.h"

using grid_test::Access;

namespace {

class GridDefaults : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 400, 300});
};

TEST_F(GridDefaults, AFreshGridHasOneHeaderRowAndColumnAndNoData) {
    EXPECT_EQ(grid->rows()->count(), 0u);
    EXPECT_EQ(grid->columns()->count(), 0u);
    EXPECT_EQ(Access::headerRows(*grid)->count(), 1u);
    EXPECT_EQ(Access::headerColumns(*grid)->count(), 1u);
    EXPECT_EQ(Access::headerRows(*grid)->row(0), grid->columnHeaderRow());
    EXPECT_TRUE(grid->selection()->isEqual(GridCellRange()));
    EXPECT_EQ(grid->columnBeingSized(), -1);
    EXPECT_EQ(grid->headersVisibility(), GridHeadersVisibilityAll);
    EXPECT_EQ(grid->gridLinesVisibility(), GridLinesVisibilityAll);
    EXPECT_EQ(grid->selectionMode(), GridSelectionModeRow);
    EXPECT_EQ(grid->autoSizeMode(), 6);
    EXPECT_EQ(grid->groupHeaderFormat(), "{name}: {value} ({count} items)");
    EXPECT_EQ(grid->contentMode(), plat::ViewContentMode::Redraw);
    EXPECT_FALSE(grid->isTouching());
    EXPECT_EQ(grid->columnHeaderBackgroundColor(), OmbriGrid::grayShade(234.0f / 255.0f));
    EXPECT_EQ(grid->gridLinesColor().r, static_cast<double>(198.0f / 255.0f));
    EXPECT_EQ(grid->scrollIndicatorColor().a, 0.0);
    // The hidden editor and the five recognisers are in place.
    ASSERT_TRUE(Access::editor(*grid));
    EXPECT_TRUE(Access::editor(*grid)->isHidden());
    EXPECT_EQ(Access::editor(*grid)->superview().get(), grid.get());
    EXPECT_EQ(grid->gestureRecognizers().size(), 5u);
    EXPECT_TRUE(grid->longPressRecognizer());
}

TEST_F(GridDefaults, SizesFollowTheSmallSystemFontAndTheRowHeaderFont) {
    EXPECT_EQ(grid->font().size, plat::SmallSystemFontSize);
    EXPECT_EQ(grid->rows()->defaultSize(), 28);
    EXPECT_EQ(grid->columns()->defaultSize(), 112);
    EXPECT_EQ(grid->rowHeaders()->width(), 35);
    EXPECT_EQ(grid->columnHeaders()->height(), 28);
    EXPECT_EQ(grid->offset(), plat::Point(35, 28));

    grid->setFont(plat::Font::system(20));
    EXPECT_EQ(grid->rows()->defaultSize(), 28) << "the cell font does not size the rows";
    grid->setRowHeaderFont(plat::Font::system(20));
    EXPECT_EQ(grid->rows()->defaultSize(), 44);
    EXPECT_EQ(grid->columns()->defaultSize(), 176);
    EXPECT_EQ(grid->rowHeaders()->width(), 55);
    EXPECT_EQ(grid->offset(), plat::Point(55, 28));
    grid->setColumnHeaderFontSize(30);
    EXPECT_EQ(grid->offset(), plat::Point(55, 64));
}

TEST_F(GridDefaults, HeadersVisibilityPlacesTheCellsOriginAndRefusesOtherValues) {
    struct Case {
        std::int64_t visibility;
        plat::Point origin;
        bool refused;
    };
    const Case cases[] = {{0, {0, 0}, false},   {1, {0, 28}, false}, {2, {35, 0}, false},
                          {3, {35, 28}, false}, {7, {35, 28}, true}, {-1, {35, 28}, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.visibility);
        grid->setHeadersVisibility(3);
        plat::testing::LogCapture log;
        grid->setHeadersVisibility(c.visibility);
        EXPECT_EQ(grid->offset(), c.origin);
        EXPECT_EQ(grid->headersVisibility(), c.refused ? 3 : c.visibility);
        EXPECT_EQ(log.lines().size(), c.refused ? 1u : 0u);
    }
    grid->setHeadersVisibility(3);
    grid->setRowHeaderVisible(false);
    EXPECT_EQ(grid->headersVisibility(), GridHeadersVisibilityColumn);
    grid->setColumnHeaderVisible(false);
    EXPECT_EQ(grid->offset(), plat::Point(0, 0));

    plat::testing::LogCapture log;
    grid->setGridLinesVisibility(7);
    EXPECT_EQ(grid->gridLinesVisibility(), 3);
    grid->setVerticalLinesVisible(false);
    EXPECT_EQ(grid->gridLinesVisibility(), GridLinesVisibilityHorizontal);
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST_F(GridDefaults, BackgroundGettersAnswerWhiteForAnOpaqueGridWithoutAColour) {
    EXPECT_EQ(grid->backgroundColor(), plat::Color::white());
    EXPECT_EQ(grid->alternatingRowBackgroundColor(), plat::Color::white());
    grid->setBackgroundColor(plat::Color::clear());
    EXPECT_EQ(grid->backgroundColor(), plat::Color::white());
    grid->setOpaque(false);
    EXPECT_EQ(grid->backgroundColor(), plat::Color::clear());
    grid->setBackgroundColor(std::nullopt);
    EXPECT_EQ(grid->backgroundColor(), std::nullopt);
    grid->setBackgroundColor(plat::Color::red());
    EXPECT_EQ(grid->alternatingRowBackgroundColor(), plat::Color::red());
    grid->setAlternatingRowBackgroundColor(plat::Color::blue());
    EXPECT_EQ(grid->alternatingRowBackgroundColor(), plat::Color::blue());
}

TEST_F(GridDefaults, RefusedInputLeavesTheStateAlone) {
    plat::testing::LogCapture log;
    grid->setFontName("");
    grid->setRowHeaderFontName("");
    grid->setColumnHeaderFontName("");
    EXPECT_EQ(grid->font(), plat::Font::system(12));
    EXPECT_EQ(grid->rowHeaderFont(), plat::Font::system(12));
    grid->rows()->push(std::make_shared<GridRow>());
    grid->setFrozenRows(-1);
    grid->setFrozenColumns(-3);
    EXPECT_EQ(grid->frozenRows(), 0);
    EXPECT_EQ(grid->frozenColumns(), 0);
    grid->setScrollPosition({NAN, 0});
    EXPECT_EQ(log.lines().size(), 6u);
    grid->setFontName("Menlo");
    EXPECT_EQ(grid->fontName(), "Menlo");
    EXPECT_EQ(grid->fontSize(), 12);
}

TEST_F(GridDefaults, ScrollPositionIsClampedToTheLargestOriginOfTheLastPass) {
    for (int i = 0; i < 20; ++i) grid->rows()->push(std::make_shared<GridRow>());       // 560 points
    for (int i = 0; i < 5; ++i) grid->columns()->push(std::make_shared<GridColumn>());  // 560 points
    plat::RecordingContext rec;
    grid->drawRect(rec, grid->bounds());
    EXPECT_EQ(Access::panMax(*grid), plat::Point(560 - 400 + 35, 560 - 300 + 28));
    // With touch feedback a vertical over-scroll bounces back instead (the scrolling tests).
    grid->setTouchFeedback(false);
    grid->setScrollPosition({100, 5000});
    EXPECT_EQ(grid->scrollPosition(), plat::Point(100, 288));
    grid->setScrollPosition({-4, -4});
    EXPECT_EQ(grid->scrollPosition(), plat::Point(0, 0));
    // Content smaller than the view: the only origin is 0.
    grid->rows()->removeAllObjects();
    grid->drawRect(rec, grid->bounds());
    grid->setScrollPosition({0, 10});
    EXPECT_EQ(grid->originY(), 0);
}

}  // namespace
