#pragma once
// The tap and sorting scene: six items of five properties (a text, a number, a date, a Boolean and a
// city that two items share) in a 320 × 568 window on the virtual clock, drawn once so that the grid
// knows its client area; taps are real touch sequences, waited out until the single tap is told.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "KivoCore/KivoCollectionView.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/pinned_locale.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/gestures.h"
#include "Platform/ui/window.h"

namespace grid_test {

class TapItem : public plat::Object {
public:
    PLAT_CLASS()
    TapItem() = default;
    TapItem(std::string name, double amount, double day, bool done, std::string city)
        : name(std::move(name)), amount(amount), when(plat::Date(day * 86400)), done(done), city(std::move(city)) {}
    std::string name;
    double amount = 0;
    plat::Date when;
    bool done = false;
    std::string city;
};

// Names out of order, amounts in another order: a sort by either shows in the names read top down.
plat::ArrayPtr tapItems();

class TapScene : public ::testing::Test {
protected:
    // Narrow columns, so that every header lies on screen, with room for one more column.
    static constexpr double Width = 320, Height = 568, ColumnWidth = 50;
    enum Column { Name, Amount, When, Done, City };

    void SetUp() override {
        window->addSubview(grid);
        grid->columns()->setDefaultSize(static_cast<std::int32_t>(ColumnWidth));
        grid->setItemsSource(tapItems());
        draw();
    }
    void draw() {
        plat::RecordingContext rec;
        window->display(rec);
    }
    const std::shared_ptr<KivoCollectionView>& view() const { return grid->collectionView(); }

    // The middle of a cell, and of a column's header.
    plat::Point cellPoint(std::int32_t row, std::int32_t col) const {
        const plat::Rect r = grid->getCellRectForRow(row, col);
        return {r.x() + r.width() / 2, r.y() + r.height() / 2};
    }
    plat::Point headerPoint(std::int32_t col) const { return {cellPoint(0, col).x, grid->offset().y / 2}; }

    // A tap, told once the double tap it might have begun has failed.
    void tap(plat::Point at) {
        plat::testing::Touches(window).tap(at).wait(plat::TapGestureRecognizer::MaximumTapInterval + 0.05);
    }
    void doubleTap(plat::Point at) { plat::testing::Touches(window).tap(at, 2).wait(0.05); }

    // The names of the rows' items, top down (a group row reads as "[group]").
    std::vector<std::string> names() const;

    plat::testing::PinnedLocale locale{"en_US", "UTC"};
    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, Width, Height});
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, Width, Height});
};

}  // namespace grid_test
