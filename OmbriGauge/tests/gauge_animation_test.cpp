// The pointer's load and update animations on the virtual clock.

#include <algorithm>
#include <cmath>

#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoEasing.h"
#include "Platform/runtime/run_loop.h"
#include "gauge_access.h"
#include "gauge_fixture.h"

using gauge_test::Access;
using gauge_test::GaugeTest;

namespace {

constexpr double FrameTime = 1.0 / 60;

class GaugeAnimationTest : public GaugeTest {
protected:
    // Lets `seconds` pass frame by frame, drawing after each, and returns the drawn pointer values.
    std::vector<double> runFrames(double seconds) {
        std::vector<double> values;
        for (double t = 0; t < seconds - 1e-9; t += FrameTime) {
            clock.advance(FrameTime);
            draw();
            if (auto v = drawnPointerValue()) values.push_back(*v);
        }
        return values;
    }

    // Plays the load animation to its end, so the gauge is idle at `value`.
    void loadAt(double value) {
        gauge->setValue(value);
        draw();
        runFrames(gauge->loadAnimation()->duration() + 0.1);
        ASSERT_FALSE(Access::firstLoad(*gauge));
        ASSERT_FALSE(Access::hasPendingAnimation(*gauge));
    }
};

}  // namespace

TEST_F(GaugeAnimationTest, TheFirstPassWaitsAndTheLoadEasesFromTheOriginToTheValue) {
    gauge->loadAnimation()->setStartDelay(0.5);
    gauge->setShowText(KivoGaugeShowTextAll);
    gauge->setValue(70);
    draw();
    EXPECT_FALSE(pointerRect());
    EXPECT_EQ(rec.findText("70"), nullptr);  // no value text without the pointer
    EXPECT_NE(rec.findText("0"), nullptr);   // the end texts are there
    EXPECT_NE(rec.findText("100"), nullptr);
    EXPECT_NE(rec.findFill(gauge->faceColor()), nullptr);

    clock.advance(0.45);
    draw();
    EXPECT_FALSE(Access::plotting(*gauge));
    EXPECT_FALSE(pointerRect());

    clock.advance(0.1);
    EXPECT_TRUE(Access::plotting(*gauge));
    // Every frame shows the cubic ease-in of the time since the first tick.
    double previous = -1;
    int frames = 0;
    while (Access::plotting(*gauge)) {
        clock.advance(FrameTime);
        draw();
        if (!Access::plotting(*gauge)) break;
        const double t = Access::plotTime(*gauge);
        if (t == 0) continue;
        ASSERT_TRUE(pointerRect());
        const double bubbleFree = 70 * t * t * t;
        EXPECT_NEAR(Access::animatedPointerValue(*gauge), bubbleFree, 1e-9);
        EXPECT_NE(rec.findText(gauge->formatDecimal(bubbleFree)), nullptr) << "the bubble shows the animated value";
        EXPECT_GE(Access::animatedPointerValue(*gauge), previous);
        previous = Access::animatedPointerValue(*gauge);
        ++frames;
        ASSERT_LT(frames, 100);
    }
    EXPECT_GT(frames, 50);
    draw();
    ASSERT_TRUE(pointerRect());
    EXPECT_TRUE(gauge_test::rectNear(*pointerRect(), gauge_test::toRect(*gauge->getRangeRect(gauge->pointer(), 70))))
        << "the last pass draws exactly 70";
    EXPECT_NE(rec.findText("70"), nullptr);
    EXPECT_FALSE(Access::firstLoad(*gauge));
    EXPECT_FALSE(Access::hasPendingAnimation(*gauge));
}

TEST_F(GaugeAnimationTest, WithoutAValidAnimationTheFirstPassDrawsTheValue) {
    struct Case {
        const char* name;
        bool animated;
        double duration;
        KivoEasePtr easing;
    };
    const Case cases[] = {
        {"isAnimated NO", false, 1.0, KivoEasing::EaseInCubic()},
        {"duration 0", true, 0, KivoEasing::EaseInCubic()},
        {"duration NaN", true, NAN, KivoEasing::EaseInCubic()},
        {"no easing", true, 1.0, KivoEasing::EaseNone()},
    };
    for (const Case& c : cases) {
        SetUp();
        gauge->setIsAnimated(c.animated);
        gauge->loadAnimation()->setDuration(c.duration);
        gauge->loadAnimation()->setEasing(c.easing);
        gauge->setValue(70);
        draw();
        ASSERT_TRUE(pointerRect()) << c.name;
        EXPECT_TRUE(gauge_test::rectNear(*pointerRect(), {4, 4, 140, 32})) << c.name;
        EXPECT_FALSE(Access::hasPendingAnimation(*gauge)) << c.name;
        // Later passes keep it there: the change was shown and is not animated again.
        clock.advance(0.5);
        draw();
        EXPECT_TRUE(gauge_test::rectNear(*pointerRect(), {4, 4, 140, 32})) << c.name;
    }
}

TEST_F(GaugeAnimationTest, AnUpdateStartsAtTheOldValueAndEasesToTheNew) {
    loadAt(70);
    gauge->updateAnimation()->setStartDelay(0.2);
    gauge->setValue(30);
    draw();
    EXPECT_EQ(drawnPointerValue(), 70);
    clock.advance(0.1);
    draw();
    EXPECT_EQ(drawnPointerValue(), 70);

    const auto values = runFrames(1.3);
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.back(), 30);
    for (std::size_t i = 1; i < values.size(); ++i) EXPECT_LE(values[i], values[i - 1]);
    EXPECT_FALSE(Access::isValueChanged(*gauge));
    EXPECT_FALSE(Access::hasPendingAnimation(*gauge));
}

TEST_F(GaugeAnimationTest, ARetargetDuringAnUpdateKeepsItsStartAndTiming) {
    loadAt(70);
    gauge->setValue(30);
    draw();
    runFrames(0.5);
    ASSERT_TRUE(Access::plotting(*gauge));
    const double t = Access::plotTime(*gauge);
    gauge->setValue(10);
    clock.advance(FrameTime);
    // Same start (70), same clock, new end: 70 + (10 − 70)·(t/d)³.
    const double expected = 70 - 60 * std::pow(t + FrameTime, 3);
    EXPECT_NEAR(Access::animatedPointerValue(*gauge), expected, 1e-6);

    const auto values = runFrames(1.0);
    EXPECT_EQ(values.back(), 10);
    // No second animation follows the first.
    EXPECT_FALSE(Access::hasPendingAnimation(*gauge));
    clock.advance(1.0);
    draw();
    EXPECT_EQ(drawnPointerValue(), 10);
    EXPECT_FALSE(Access::plotting(*gauge));
}

TEST_F(GaugeAnimationTest, OneStartIsPendingAndOneLinkDrivesThePointer) {
    gauge->loadAnimation()->setStartDelay(0.5);
    gauge->setValue(70);
    const std::size_t timersBefore = plat::RunLoop::main().timerCount();
    for (int i = 0; i < 5; ++i) draw();
    EXPECT_EQ(plat::RunLoop::main().timerCount(), timersBefore + 1);

    clock.advance(0.6);
    ASSERT_TRUE(Access::plotting(*gauge));
    // A new start while the load runs replaces its link: one redraw per frame, never two.
    Access::startLoadAnimation(*gauge);
    clock.advance(FrameTime);
    gauge->redraws = 0;
    clock.advance(FrameTime);
    EXPECT_EQ(gauge->redraws, 1);
    clock.advance(0.5 * FrameTime);
    gauge->redraws = 0;
    for (int i = 0; i < 10; ++i) clock.advance(FrameTime);
    EXPECT_EQ(gauge->redraws, 10);
}

TEST_F(GaugeAnimationTest, AValueSetBetweenTheLastTickAndTheNextPassIsAnimated) {
    gauge->setValue(70);
    draw();
    // Run the load to its last tick without drawing after it.
    while (!Access::plotting(*gauge)) clock.advance(FrameTime);
    while (Access::plotting(*gauge)) clock.advance(FrameTime);
    gauge->setValue(30);
    draw();
    EXPECT_EQ(drawnPointerValue(), 70);  // the change waits for its own animation
    const auto values = runFrames(1.2);
    EXPECT_EQ(values.back(), 30);
    EXPECT_TRUE(std::any_of(values.begin(), values.end(), [](double v) { return v > 30 && v < 70; }));
}

TEST_F(GaugeAnimationTest, AValueBelowARaisedMinimumIsDrawnAtOnce) {
    loadAt(20);
    gauge->setMin(50);
    draw();
    EXPECT_FALSE(Access::hasPendingAnimation(*gauge));
    gauge->setValue(60);  // clamps within the new scale and animates as usual
    draw();
    EXPECT_TRUE(Access::hasPendingAnimation(*gauge));
}

TEST_F(GaugeAnimationTest, ThePointerRunsFromTheOrigin) {
    gauge->setIsAnimated(false);
    struct Case {
        double origin, min, max, value;
        plat::Rect expected;
    };
    const Case cases[] = {
        {NAN, -50, 50, 25, {104, 4, 50, 32}},                                    // 0 inside the scale
        {NAN, 10, 90, 50, {4, 4, 100, 32}},                                      // the scale's start
        {0, 20, 80, 50, {4, 4, 100, 32}},                                        // below the scale: limited to its start
        {40, 0, 100, 70, {84, 4, 60, 32}},    {40, 0, 100, 10, {84, 4, 0, 32}},  // a value below the origin: a band of no length
    };
    for (const Case& c : cases) {
        gauge->setOrigin(c.origin);
        gauge->setMin(c.min);
        gauge->setMax(c.max);
        gauge->setValue(c.value);
        draw();
        auto r = pointerRect();
        ASSERT_TRUE(r) << "origin " << c.origin;
        EXPECT_TRUE(gauge_test::rectNear(*r, c.expected)) << "origin " << c.origin;
    }
}
