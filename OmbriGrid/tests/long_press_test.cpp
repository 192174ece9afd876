#include <gtest/gtest.h>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/gestures.h"
#include "Platform/ui/menu_controller.h"
#include "Platform/ui/window.h"

namespace {

class LongPress : public ::testing::Test {
protected:
    void SetUp() override {
        auto items = std::make_shared<plat::Array>();
        for (int i = 0; i < 10; ++i) items->push_back(plat::Value("item " + std::to_string(i)));
        grid->columns()->push(std::make_shared<GridColumn>());
        grid->setItemsSource(items);
        window->addSubview(grid);
        // The other recognisers' actions come with taps and scrolling; here only the long press acts.
        for (const auto& r : grid->gestureRecognizers())
            if (r != grid->longPressRecognizer()) r->setEnabled(false);
        plat::RecordingContext rec;
        window->display(rec);
        plat::MenuController::shared().setMenuVisible(false, false);
    }
    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 400, 300});
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 400, 300});
};

TEST_F(LongPress, CarriesTheHitCellAndShowsTheMenuOnlyWhenAsked) {
    std::shared_ptr<GridCellRangeEventArgs> seen;
    grid->ombriGridCellLongPressed()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& c) { seen = c->args<GridCellRangeEventArgs>(); }, grid);
    const double rh = grid->rows()->defaultSize();
    const plat::Point at{grid->offset().x + 5, grid->offset().y + 2 * rh + 3};
    plat::testing::Touches(window).longPress(at, 1.2);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->panel(), grid->cells());
    EXPECT_TRUE(seen->cellRange()->isEqual(GridCellRange(2, 0)));
    auto& menu = plat::MenuController::shared();
    EXPECT_TRUE(menu.isMenuVisible());
    EXPECT_EQ(menu.targetRect(), (plat::Rect{at.x, at.y, 0, 0}));
    EXPECT_EQ(grid->contextMenuHitTest()->row(), 2);

    menu.setMenuVisible(false, false);
    grid->setDefaultContextMenu(false);
    seen.reset();
    plat::testing::Touches(window).longPress(at, 1.2);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(menu.isMenuVisible());
}

TEST_F(LongPress, ACancelChangesNothing) {
    grid->ombriGridCellLongPressed()->addHandler(
        [](const std::shared_ptr<KivoEventContainer>& c) { c->args<KivoCancelEventArgs>()->setCancel(true); }, grid);
    const auto before = *grid->selection();
    EXPECT_FALSE(grid->onCellLongPressed({grid->offset().x + 5, grid->offset().y + 5}));
    EXPECT_TRUE(grid->selection()->isEqual(before));
    EXPECT_EQ(grid->rows()->count(), 10u);
}

}  // namespace
