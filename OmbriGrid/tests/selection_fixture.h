#pragma once
// The selection and view-operation scene: 100 items of ten properties (28-point rows, 112-point
// columns), one frozen row and one frozen column, in a 320 × 568 window on the virtual clock, drawn
// once so that the grid knows its client area.

#include <gtest/gtest.h>

#include <memory>

#include "KivoCore/KivoCollectionView.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/object.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"

namespace grid_test {

class Wide : public plat::Object {
public:
    PLAT_CLASS()
    Wide() = default;
    explicit Wide(long n) : c0(n), c1(n + 1), c2(n + 2), c3(n + 3), c4(n + 4), c5(n + 5), c6(n + 6), c7(n + 7), c8(n + 8), c9(n + 9) {}
    long c0 = 0, c1 = 0, c2 = 0, c3 = 0, c4 = 0, c5 = 0, c6 = 0, c7 = 0, c8 = 0, c9 = 0;
};

plat::ArrayPtr wideItems(int count);

class SelectionScene : public ::testing::Test {
protected:
    static constexpr int RowCount = 100;
    static constexpr double RowHeight = 28, ColumnWidth = 112, Width = 320, Height = 568;

    void SetUp() override {
        window->addSubview(grid);
        bind(wideItems(RowCount));
    }
    // Binds the items, freezes the first row and column and draws.
    void bind(const plat::ArrayPtr& items) {
        grid->setItemsSource(items);
        grid->setFrozenRows(1);
        grid->setFrozenColumns(1);
        draw();
    }
    void draw() {
        plat::RecordingContext rec;
        window->display(rec);
    }
    const std::shared_ptr<KivoCollectionView>& view() const { return grid->collectionView(); }

    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, Width, Height});
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, Width, Height});
};

}  // namespace grid_test
