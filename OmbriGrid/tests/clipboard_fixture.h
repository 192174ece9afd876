#pragma once
// The clipboard scene: 8 items of six typed properties (a city, a Boolean, a number, a note, a date and
// a key shown through a data map) in a 320 × 568 window on the virtual clock, en_US and UTC, merging on
// with the numbers and notes of rows 6–7 all "13" (one 2 × 2 block); grouped, rows 0–3, a group row,
// then the other four. The pasteboard starts empty in every test.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "OmbriGrid/GridCellRange.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridDataMap.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/pinned_locale.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/pasteboard.h"
#include "Platform/ui/window.h"

namespace grid_test {

class ClipItem : public plat::Object {
public:
    PLAT_CLASS()
    ClipItem() = default;
    ClipItem(std::string city, bool active, double amount, std::string note, plat::Date due, long kind)
        : city(std::move(city)), active(active), amount(amount), note(std::move(note)), due(due), kind(kind) {}
    std::string city;
    bool active = false;
    double amount = 0;
    std::string note;
    plat::Date due;
    long kind = 0;
};

// Midnight UTC of 2024-03-01 plus `days`.
inline plat::Date march(int days) { return plat::Date{1709251200.0 + 86400.0 * days}; }

std::vector<std::shared_ptr<ClipItem>> clipItems();

class ClipScene : public ::testing::Test {
protected:
    enum Col { City, Active, Amount, Note, Due, Kind };

    void SetUp() override {
        window->addSubview(grid);
        build(false);
    }
    // Binds the eight items (grouped: the last four under a group row at row 4) and draws.
    void build(bool grouped);
    // A grid of its own, with no copy of an earlier case.
    void renew(bool grouped = false) {
        grid->removeFromSuperview();
        grid = OmbriGrid::create({0, 0, 320, 568});
        window->addSubview(grid);
        build(grouped);
    }
    void draw() {
        plat::RecordingContext rec;
        window->display(rec);
    }
    void select(int row, int col, int row2, int col2) { grid->setSelection(std::make_shared<GridCellRange>(row, col, row2, col2)); }
    void select(int row, int col) { select(row, col, row, col); }
    // The item a row shows (rows of the grouped scene past the group row included).
    ClipItem& itemAt(int row) const { return *grid->rows()->row(row)->dataItem().as<ClipItem>(); }
    std::string text(int row, int col) const { return grid->getCellDataForRow(row, col, true).description(); }
    // Counts Invalidated from now on.
    int& countInvalidations();

    plat::testing::PinnedLocale locale{"en_US", "UTC"};
    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 320, 568});
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 320, 568});
    std::vector<std::shared_ptr<ClipItem>> items;
    std::shared_ptr<int> token = std::make_shared<int>();
    int invalidations = 0;
};

}  // namespace grid_test
