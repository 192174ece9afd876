#pragma once
// The scrolling tests' grid: 100 rows by 10 columns of model objects (28-point rows, 112-point
// columns), one frozen row and one frozen column, filling a 320 × 568 window on the virtual clock and
// driven by synthesised touches. The content is 1120 × 2800 after 35 × 28 points of headers, so the
// largest origin is (835, 2260).

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "OmbriGrid/OmbriGrid.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "grid_access.h"
#include "wide_items.h"

namespace grid_test {

class ScrollFixture : public ::testing::Test {
protected:
    static constexpr plat::Point MaxOrigin{835, 2260};
    static constexpr double Tick = 0.02;
    static constexpr double Still = 1e-6;

    void SetUp() override {
        grid->setItemsSource(wideItems(100, 10));
        grid->setFrozenRows(1);
        grid->setFrozenColumns(1);
        window->addSubview(grid);
        draw();
        grid->ombriGridScrollPositionChanged()->addHandler([this](const std::shared_ptr<KivoEventContainer>&) { ++moves; }, grid);
    }
    void draw() {
        plat::RecordingContext rec;
        window->display(rec);
    }
    // Advances the clock tick by tick until the glide or bounce stops; counts the ticks that moved the
    // origin (a bounce's end lands exactly on its target, a move far below a point's millionth) and the
    // tick that ended it.
    struct Slide {
        int moving = 0;
        int endTick = 0;
    };
    Slide slide(const std::function<void()>& onTick = {}, int limit = 200) {
        Slide s;
        for (int tick = 1; tick <= limit; ++tick) {
            const plat::Point before = grid->scrollPosition();
            clock.advance(Tick);
            if (onTick) onTick();
            const plat::Point now = grid->scrollPosition();
            if (std::fabs(now.x - before.x) > Still || std::fabs(now.y - before.y) > Still) ++s.moving;
            if (!Access::isSliding(*grid)) {
                s.endTick = tick;
                return s;
            }
        }
        return s;
    }
    plat::testing::Touches touches() { return plat::testing::Touches(window); }

    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 320, 568});
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 320, 568});
    int moves = 0;
};

}  // namespace grid_test
