#pragma once
// The cell-factory scene: 20 rows × 6 columns of model objects (28-point rows, 50-point columns) with
// row and column headers, one frozen row and one frozen column, in a 320 × 568 window on the virtual
// clock. A native-control factory serves the grid; its handler hands out a system button titled
// "row,col" per cell (so its title shows the tint it is given) and counts the calls per cell.
//
// Geometry: headers 35 wide and 28 high, so the frozen corner ends at (85, 56); the content is
// 335 × 588, so the grid scrolls (15, 20) at most.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "OmbriGrid/GridCellRange.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/NativeControlGridCellFactory.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/object.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/button.h"
#include "Platform/ui/window.h"

namespace grid_test {

class Six : public plat::Object {
public:
    PLAT_CLASS()
    Six() = default;
    explicit Six(long n) : a(n), b(n + 1), c(n + 2), d(n + 3), e(n + 4), f(n + 5) {}
    long a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;
};

plat::ArrayPtr sixItems(long count, long start = 0);

using Cell = std::pair<std::int32_t, std::int32_t>;

class CellFactoryScene : public ::testing::Test {
protected:
    static constexpr int Rows = 20, Columns = 6;
    static constexpr double RowHeight = 28, ColumnWidth = 50, HeaderWidth = 35, HeaderHeight = 28;
    static constexpr double Width = 320, Height = 568;
    static constexpr plat::Point MaxOrigin{15, 20};
    // The views' own background, to find where they are drawn.
    static constexpr plat::Color ViewBackground{0.9, 0.8, 0.1, 1};

    void SetUp() override;
    // Binds the items, gives the columns 50 points, freezes the first row and column and draws.
    void bind(const plat::ArrayPtr& items);
    // One display pass of the window, recorded.
    plat::RecordingContext& draw();

    // The four clip views: the last four subviews of the grid after a pass, the open editor aside.
    std::vector<std::shared_ptr<plat::View>> clips() const;
    // The view the factory shows for a cell now (attached to a clip view and visible), or null.
    std::shared_ptr<plat::Button> shownView(std::int32_t row, std::int32_t col) const;
    // Every view attached to the factory's clip views.
    std::vector<std::shared_ptr<plat::View>> shownViews() const;
    int totalAsks() const;

    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, Width, Height});
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, Width, Height});
    std::shared_ptr<NativeControlGridCellFactory> factory;
    // Asks per cell, since the test began or last cleared them.
    std::map<Cell, int> asks;
    // Panel types the event was raised for.
    std::vector<GridCellType> askedPanels;
    // Whether a cell gets a view (all by default); a cell refused is answered with none.
    std::function<bool(std::int32_t, std::int32_t)> handsOut = [](std::int32_t, std::int32_t) { return true; };
    // Every view handed out, in order.
    std::vector<std::shared_ptr<plat::Button>> made;
    std::unique_ptr<plat::RecordingContext> rec;
};

}  // namespace grid_test
