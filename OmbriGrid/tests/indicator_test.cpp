// The scroll indicators' visibility: every pan or glide step shows them a little more, and half a second
// after the origin comes to rest they fade out over another half second, one fade at a time.
#include <gtest/gtest.h>

#include <algorithm>

#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "scroll_fixture.h"

namespace grid_test {
namespace {

class Indicator : public ScrollFixture {
protected:
    double alpha() const { return grid->scrollIndicatorColor().a; }
    void showFully() { grid->setScrollIndicatorColor(grid->scrollIndicatorColor().withAlpha(0.5)); }
    // The alphas of the indicator bars drawn by a pass (fills of the indicator's colour).
    std::vector<double> drawnAlphas() {
        plat::RecordingContext rec;
        grid->setNeedsDisplay();
        window->display(rec);
        std::vector<double> alphas;
        const plat::Color c = grid->scrollIndicatorColor();
        for (const auto* op : rec.fills())
            if (op->color.r == c.r && op->color.g == c.g && op->color.b == c.b) alphas.push_back(op->color.a);
        return alphas;
    }
};

TEST_F(Indicator, EachPanStepShowsItMoreUpToHalf) {
    ASSERT_EQ(alpha(), 0.0);
    auto t = touches();
    t.down({200, 400}).wait(Tick).move({200, 388});
    EXPECT_EQ(alpha(), 0.0) << "the step that begins the pan moves nothing";
    for (int step = 1; step <= 20; ++step) {
        t.wait(Tick).move({200, 388.0 - step});
        EXPECT_NEAR(alpha(), std::min(0.03 * step, 0.5), 1e-12) << "step " << step;
    }
    EXPECT_EQ(drawnAlphas(), (std::vector<double>{0.5, 0.5}));
    t.up();
}

TEST_F(Indicator, FadesHalfASecondAfterTheLastFinalConstraintOverHalfASecond) {
    showFully();
    grid->setScrollPosition({0, 100});
    clock.advance(0.2);
    grid->setScrollPosition({0, 200});  // starts the wait again
    clock.advance(0.5);
    EXPECT_EQ(alpha(), 0.5);
    // 0.02 less every 0.02 s, as the display's last frame (at most 1/60 s ago) left it.
    for (int tick = 1; tick < 25; ++tick) {
        clock.advance(Tick);
        const double due = 0.5 - 0.02 * tick;
        EXPECT_GE(alpha(), due - 1e-12) << "tick " << tick;
        EXPECT_LE(alpha(), due + 1.0 / 60 + 1e-12) << "tick " << tick;
        EXPECT_TRUE(Access::isFadePending(*grid));
    }
    clock.advance(Tick);
    EXPECT_EQ(alpha(), 0.0);
    EXPECT_FALSE(Access::isFadePending(*grid));
    EXPECT_EQ(drawnAlphas(), (std::vector<double>{0.0, 0.0}));
}

TEST_F(Indicator, APanDuringTheWaitStopsTheFade) {
    showFully();
    grid->setScrollPosition({0, 100});
    clock.advance(0.3);
    auto t = touches();
    t.down({200, 400}).wait(Tick).move({200, 380}).wait(Tick).move({200, 370});
    clock.advance(1.0);
    EXPECT_EQ(alpha(), 0.5);
    EXPECT_FALSE(Access::isFadePending(*grid));
    // Letting go brings the origin to rest, which fades it after all.
    t.up();
    clock.advance(2.0);
    EXPECT_EQ(alpha(), 0.0);
}

TEST_F(Indicator, ManyPositionsInARowLeaveOneFadeAndNoOtherWork) {
    showFully();
    for (int i = 0; i < 100; ++i) grid->setScrollPosition({0, 10.0 * i});
    EXPECT_EQ(plat::RunLoop::main().timerCount(), 1u);
    clock.advance(0.5 + 25 * Tick);
    EXPECT_EQ(alpha(), 0.0) << "one fade of half a second, not many stacked ones";
    EXPECT_FALSE(Access::isFadePending(*grid));
    EXPECT_EQ(plat::RunLoop::main().timerCount(), 0u);
}

TEST_F(Indicator, AGridReleasedMidFadeRunsNothingMore) {
    showFully();
    grid->setScrollPosition({0, 100});
    clock.advance(0.6);
    ASSERT_TRUE(Access::isFadePending(*grid));
    const std::weak_ptr<OmbriGrid> weak = grid;
    grid->removeFromSuperview();
    grid.reset();
    EXPECT_TRUE(weak.expired());
    clock.advance(1.0);
    EXPECT_EQ(plat::RunLoop::main().timerCount(), 0u);
}

}  // namespace
}  // namespace grid_test
