// The grid's own scrolling, driven by synthesised touches on the virtual clock: the origin follows the
// finger, glides on after the release, bounces back from an over-scroll, and reports its whole-point
// moves through ScrollPositionChanged.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "OmbriGrid/GridRowColCollection.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/geometry_matchers.h"
#include "Platform/testing/log_capture.h"
#include "scroll_fixture.h"

namespace grid_test {
namespace {

using plat::testing::PointNear;
// Release speeds are measured between touch timestamps in seconds since 1970, which resolve about
// 0.2 µs: a glide's length comes out within a few thousandths of a point.
constexpr double GlideTolerance = 0.01;

class Scroll : public ScrollFixture {
public:
    // Down at `from`, `steps` moves of `step` each 0.02 s apart (so a speed of step / 0.02 points per
    // second), up.
    void flick(plat::Point from, plat::Point step, int steps = 10) {
        auto t = touches();
        t.down(from);
        for (int i = 1; i <= steps; ++i) t.wait(Tick).move({from.x + i * step.x, from.y + i * step.y});
        t.up();
    }
    // Pulls the content down by `pull` points from where it is (the first 20 points of the finger only
    // begin the pan), holds still, and lets go with no speed.
    void pullAndRelease(double pull) {
        touches()
            .down({200, 300})
            .wait(Tick)
            .move({200, 320})
            .wait(Tick)
            .move({200, 320 + pull})
            .wait(Tick)
            .move({200, 320 + pull})
            .up();
    }
};

TEST_F(Scroll, GesturesGlideBounceAndReportTheirMoves) {
    struct Case {
        std::string name;
        bool touchFeedback;
        plat::Point start;
        std::function<void(Scroll&)> gesture;
        int moving, endTick;
        plat::Point final;
        int events;
    };
    // A flick of 1000 points per second: the pan's nine steps move 180 points, then the glide runs
    // 0.48125 s over 137.5 points at the display's 60 frames a second: it moves in each of 25 steps of
    // 0.02 s, the last frame landing on the end; every frame that crosses a whole point reports it.
    const auto upward = [](plat::Point step) { return [step](Scroll& s) { s.flick({200, 400}, step); }; };
    const Case cases[] = {
        {"vertical flick", true, {0, 0}, upward({0, -20}), 25, 25, {0, 317.5}, 9 + 26},
        {"mostly vertical flick glides only vertically", true, {100, 0}, upward({-4, -20}), 25, 25, {100, 317.5}, 9 + 26},
        {"begun on a frozen column",
         true,
         {0, 0},
         [](Scroll& s) {
             s.flick({140, 400}, {-10, -20});
         },
         25,
         25,
         {0, 317.5},
         9 + 26},
        {"begun on a frozen row",
         true,
         {0, 200},
         [](Scroll& s) {
             s.flick({300, 42}, {-20, 10});
         },
         25,
         25,
         {317.5, 200},
         9 + 26},
        {"begun on the frozen corner",
         true,
         {50, 200},
         [](Scroll& s) {
             s.flick({100, 50}, {-8, -8});
         },
         0,
         1,
         {50, 200},
         0},
        // The glide's first frame (1/60 s) finds the origin out of bounds; the 0.6 s bounce after it
        // moves in every step and lands in the 31st.
        {"released 10 points above the top", true, {0, 0}, [](Scroll& s) { s.pullAndRelease(10); }, 31, 31, {0, 0}, 1 + 8},
        {"released 2.9 points above the top", true, {0, 0}, [](Scroll& s) { s.pullAndRelease(2.9); }, 1, 1, {0, 0}, 1},
        {"no touch feedback, pulled above the top", false, {0, 0}, [](Scroll& s) { s.pullAndRelease(10); }, 0, 1, {0, 0}, 0},
        {"no touch feedback, flicked past the bottom", false, {0, 2200}, upward({0, -20}), 0, 25, {0, 2260}, 3},
        {"flicked past the bottom", true, {0, 2200}, upward({0, -20}), 31, 32, {0, 2260}, 9 + 1 + 27},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->setTouchFeedback(c.touchFeedback);
        grid->setScrollPosition(c.start);
        clock.advance(1.0);
        moves = 0;
        c.gesture(*this);
        double highest = grid->originY(), lowest = grid->originY();
        const Slide s = slide([&] {
            highest = std::max(highest, grid->originY());
            lowest = std::min(lowest, grid->originY());
        });
        EXPECT_EQ(s.moving, c.moving);
        EXPECT_EQ(s.endTick, c.endTick);
        EXPECT_THAT(grid->scrollPosition(), PointNear(c.final, GlideTolerance));
        EXPECT_EQ(moves, c.events);
        EXPECT_FALSE(Access::editTimerLock(*grid));
        if (!c.touchFeedback) {
            EXPECT_GE(lowest, 0);
            EXPECT_LE(highest, MaxOrigin.y);
        }
    }
}

// With touch feedback the finger pulls past the bottom against the resistance, and the glide runs on
// past it before the bounce brings it back.
TEST_F(Scroll, AFlickPastTheBottomRunsBeyondItBeforeTheBounce) {
    grid->setScrollPosition({0, 2200});
    clock.advance(1.0);
    flick({200, 400}, {0, -20});
    // 2220, 2240, 2260 and 2280 whole; then 20 over: 10 more; 30 over: 6.67 more; and so on.
    EXPECT_NEAR(grid->originY(), 2311.332, 0.001);
    clock.advance(Tick);  // the glide's first frame, 1/60 s after the release
    EXPECT_NEAR(grid->originY(), 2347.205, GlideTolerance);
    EXPECT_TRUE(Access::isSliding(*grid)) << "bouncing back";
}

// Over the edge, the finger's movement reaches the content whole for the first 10 points, then divided
// by a tenth of the over-scroll.
TEST_F(Scroll, OverTheTopThePullIsResistedBeyondTenPoints) {
    auto t = touches();
    t.down({200, 300}).wait(Tick).move({200, 320});
    struct Step {
        double finger;
        double origin;
    };
    const Step steps[] = {
        {5, -5},    // from in bounds: whole
        {10, -15},  // 5 over: whole
        {15, -25},  // 15 over: divided by 1.5
        {10, -29},  // 25 over: divided by 2.5
    };
    double y = 320;
    for (const Step& s : steps) {
        y += s.finger;
        t.wait(Tick).move({200, y});
        EXPECT_NEAR(grid->originY(), s.origin, 1e-9) << "after a step of " << s.finger;
    }
    t.up();
}

TEST_F(Scroll, AStepWithinOneWholePointRaisesNoEvent) {
    grid->setScrollPosition({0, 10.2});
    auto t = touches();
    t.down({200, 300}).wait(Tick).move({200, 280});
    t.wait(Tick).move({200, 279.6});
    EXPECT_NEAR(grid->originY(), 10.6, 1e-9);
    EXPECT_EQ(moves, 0);
    t.wait(Tick).move({200, 279});
    EXPECT_NEAR(grid->originY(), 11.2, 1e-9);
    EXPECT_EQ(moves, 1);
    t.up();
}

// The call itself raises no ScrollPositionChanged; the ticks of a bounce it starts do, as every tick.
TEST_F(Scroll, SetScrollPositionClampsOrBounces) {
    struct Case {
        bool touchFeedback;
        plat::Point requested, now, settled;
    };
    const Case cases[] = {
        {false, {5000, 100}, {835, 100}, {835, 100}},
        {false, {0, 5000}, {0, 2260}, {0, 2260}},
        {false, {-40, -40}, {0, 0}, {0, 0}},
        {true, {5000, 100}, {835, 100}, {835, 100}},
        // Only the vertical origin bounces, and only the axis out of bounds moves.
        {true, {50, -10}, {50, -10}, {50, 0}},
        {true, {0, 5000}, {0, 5000}, {0, 2260}},
        // Whole part of the over-scroll 2: clamped at once.
        {true, {0, 2262.5}, {0, 2260}, {0, 2260}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "feedback " << c.touchFeedback << " to (" << c.requested.x << ", " << c.requested.y
                                          << ")");
        grid->setTouchFeedback(c.touchFeedback);
        grid->setScrollPosition({300, 300});
        clock.advance(1.0);
        moves = 0;
        grid->setScrollPosition(c.requested);
        EXPECT_EQ(grid->scrollPosition(), c.now);
        EXPECT_EQ(moves, 0);
        clock.advance(1.0);
        EXPECT_THAT(grid->scrollPosition(), PointNear(c.settled, 1e-9));
    }
}

TEST_F(Scroll, ANonFinitePositionIsRefusedWithALogLine) {
    grid->setScrollPosition({20, 30});
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (const plat::Point p : {plat::Point{nan, 0}, plat::Point{0, inf}, plat::Point{-inf, 5}}) {
        plat::testing::LogCapture log;
        grid->setScrollPosition(p);
        EXPECT_EQ(grid->scrollPosition(), (plat::Point{20, 30}));
        EXPECT_EQ(log.lines().size(), 1u);
    }
}

// Below the last row there is no row to be frozen: the pan moves the content (here past the top, the
// content being shorter than the view).
TEST_F(Scroll, APanBegunBelowTheRowsLocksNoAxis) {
    grid->setItemsSource(wideItems(5));
    draw();
    auto t = touches();
    t.down({250, 400}).wait(Tick).move({250, 420}).wait(Tick).move({250, 430});
    EXPECT_EQ(grid->originY(), -10);
    t.up();
}

// A host may hand in any touch point: a finger dragged a world away scrolls that far, flings no glide
// past what numbers hold, and bounces back exactly to the bottom.
TEST_F(Scroll, AnAbsurdTouchPointEndsAtTheBottom) {
    auto t = touches();
    t.down({200, 400}).wait(Tick).move({200, 380}).wait(Tick).move({200, -1e300}).up();
    EXPECT_GT(grid->originY(), 1e299);
    const Slide s = slide();
    EXPECT_EQ(s.endTick, 32);
    EXPECT_EQ(grid->scrollPosition(), (plat::Point{0, MaxOrigin.y}));
}

TEST_F(Scroll, APanDuringAnEditMovesNothing) {
    Access::setEditRange(*grid, std::make_shared<GridCellRange>(3, 3));
    flick({200, 400}, {0, -20});
    clock.advance(1.0);
    EXPECT_EQ(grid->scrollPosition(), (plat::Point{0, 0}));
    EXPECT_EQ(moves, 0);
}

TEST_F(Scroll, ANewPanStopsARunningGlideAtItsNextTick) {
    flick({200, 400}, {0, -20});
    clock.advance(3 * Tick);
    ASSERT_TRUE(Access::isSliding(*grid));
    auto t = touches();
    t.down({200, 300});
    clock.advance(Tick);
    EXPECT_TRUE(Access::isSliding(*grid));  // the touch alone is no pan yet
    t.move({200, 280});
    const double y = grid->originY();
    clock.advance(Tick);
    EXPECT_FALSE(Access::isSliding(*grid));
    EXPECT_EQ(grid->originY(), y);
    t.up();
}

// A grid released mid-glide or mid-bounce: its timers find it gone and stop (the sanitizers catch any
// tick that reaches the freed grid).
TEST_F(Scroll, AGridReleasedWhileMovingStopsItsTimers) {
    for (const bool bounce : {false, true}) {
        SCOPED_TRACE(bounce ? "bounce" : "glide");
        auto g = OmbriGrid::create({0, 0, 320, 568});
        g->setItemsSource(wideItems(100, 10));
        window->addSubview(g);
        draw();
        if (bounce)
            g->setScrollPosition({0, -50});
        else
            plat::testing::Touches(window).down({200, 400}).wait(Tick).move({200, 380}).wait(Tick).move({200, 360}).up();
        clock.advance(Tick);
        ASSERT_TRUE(Access::isSliding(*g));
        const std::weak_ptr<OmbriGrid> weak = g;
        g->removeFromSuperview();
        g.reset();
        EXPECT_TRUE(weak.expired());
        clock.advance(2.0);
    }
}

// The glide's and the bounce's length comes from the release speed or is fixed, and reaches the
// animation driver in single precision, which holds no 1e308: its largest length stands for it. One
// the driver cannot time lands on its end at its first frame; a finite one, however long, runs until
// a pan stops it.
TEST_F(Scroll, AGlideOrBounceOfAnyLengthEndsOrRuns) {
    using Limits = std::numeric_limits<float>;
    struct Case {
        float seconds;
        bool endless;
    };
    const Case cases[] = {{Limits::quiet_NaN(), false},
                          {Limits::infinity(), false},
                          {-Limits::infinity(), false},
                          {0, false},
                          {-1, false},
                          {Limits::max(), true},
                          {0.3f, false}};
    for (const bool bounce : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << (bounce ? "bounce of " : "glide of ") << c.seconds << " s");
            grid->setScrollPosition({0, 300});
            clock.advance(2.0);
            Access::slide(*grid, {0, 500}, c.seconds, bounce);
            clock.advance(60);
            if (c.endless) {
                EXPECT_TRUE(Access::isSliding(*grid));
                EXPECT_NEAR(grid->originY(), 300, 1e-6);
                auto t = touches();
                t.down({200, 300}).wait(Tick).move({200, 280});  // a new pan stops it
                clock.advance(Tick);
                EXPECT_FALSE(Access::isSliding(*grid));
                t.up();
                continue;
            }
            EXPECT_FALSE(Access::isSliding(*grid));
            EXPECT_EQ(grid->scrollPosition(), (plat::Point{0, 500}));
            EXPECT_FALSE(Access::editTimerLock(*grid));
            EXPECT_FALSE(Access::isFadePending(*grid));
            EXPECT_EQ(grid->scrollIndicatorColor().a, 0);
        }
    }
}

// Mid-glide, mid-bounce and mid-fade the run loop holds no timer: the frames come from the driver.
TEST_F(Scroll, GlideBounceAndFadeTickOnTheDriver) {
    flick({200, 400}, {0, -20});
    clock.advance(0.2);
    ASSERT_TRUE(Access::isSliding(*grid));
    EXPECT_EQ(plat::RunLoop::main().timerCount(), 0u) << "glide";
    clock.advance(2.0);

    grid->setTouchFeedback(true);
    grid->setScrollPosition({0, -50});
    clock.advance(0.3);
    ASSERT_TRUE(Access::isSliding(*grid));
    EXPECT_EQ(plat::RunLoop::main().timerCount(), 0u) << "bounce";
    clock.advance(0.3 + 0.5 + 0.2);  // the bounce ends, the indicators wait, then fade
    ASSERT_TRUE(Access::isFadePending(*grid));
    EXPECT_GT(grid->scrollIndicatorColor().a, 0);
    EXPECT_EQ(plat::RunLoop::main().timerCount(), 0u) << "fade";
}

}  // namespace
}  // namespace grid_test
