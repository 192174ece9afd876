#pragma once
// The selection and view-operation scene: 100 items of ten properties (28-point rows, 112-point
// columns), one frozen row and one frozen column, in a 320 × 568 window on the virtual clock, drawn
// once so that the grid knows its client area.

#include <gtest/gtest.h>

#include <memory>

#include "KivoCore/KivoCollectionView.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "wide_items.h"

namespace grid_test {

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
