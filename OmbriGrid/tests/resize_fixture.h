#pragma once
// The short press's scene: 6 rows × 5 columns (c0 … c4) of model objects, 80-point columns after a
// 35-point row-header column and 28-point rows under a 28-point header row, in a 320 × 568 window on
// the virtual clock; drawn once, so the grid knows its client area. The columns reach 435 points, so
// the grid scrolls sideways.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "grid_access.h"
#include "wide_items.h"

namespace grid_test {

class PressScene : public ::testing::Test {
protected:
    static constexpr double ColumnWidth = 80, RowHeight = 28, HeaderWidth = 35, HeaderHeight = 28;
    // Past the press's 0.1 s, with the finger still.
    static constexpr double Hold = 0.15;

    void SetUp() override { build(); }
    // A fresh grid in a fresh window.
    void rebuild() {
        window = plat::Window::create({0, 0, 320, 568});
        grid = OmbriGrid::create({0, 0, 320, 568});
        build();
    }
    void build() {
        grid->setAutoGenerateColumns(false);
        grid->columns()->setDefaultSize(static_cast<std::int32_t>(ColumnWidth));
        for (int i = 0; i < 5; ++i) {
            auto column = std::make_shared<GridColumn>();
            column->setBinding("c" + std::to_string(i));
            grid->columns()->push(column);
        }
        grid->setItemsSource(wideItems(6));
        window->addSubview(grid);
        draw();
    }
    void draw() {
        plat::RecordingContext rec;
        window->display(rec);
    }
    GridColumn& column(int i) const { return *grid->columns()->column(i); }
    // The right edge of column `i` in the header row, as the grid shows it now.
    double rightEdge(int i) const {
        const double scrolled = i < grid->frozenColumns() ? 0 : grid->originX();
        return HeaderWidth + column(i).pos() + column(i).renderWidth() - scrolled;
    }
    plat::Point cellCentre(int row, int col) const {
        const plat::Rect r = grid->cells()->getCellRect(row, col);
        return {r.midX(), r.midY()};
    }

    // Down, held until the press begins, then moved by `dx` in three steps. Answers the column marked
    // as sized while the finger was held.
    int pressAndMove(plat::Point at, double dx) {
        touches().down(at).wait(Hold);
        const int marked = grid->columnBeingSized();
        for (int step = 1; step <= 3; ++step) touches().move({at.x + dx * step / 3, at.y});
        return marked;
    }
    plat::testing::Touches touches() { return plat::testing::Touches(window); }

    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 320, 568});
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 320, 568});
};

}  // namespace grid_test
