#include <gtest/gtest.h>

#include "KivoCore/KivoEasing.h"
#include "Platform/ui/shape_layer.h"
#include "touch_fixture.h"

namespace {

class PieLoad : public pie_testing::PieTouch {
protected:
    // The cover reaches 3 points beyond the pie: half the drawing view's square.
    static constexpr double CoverRadius = R + 3;

    void SetUp() override {
        PieTouch::SetUp();
        pie->loadAnimation()->setEasing(KivoEasing::EaseInLinear());
        pie->setBackgroundColor(plat::Color::white());
    }
    const std::shared_ptr<plat::ShapeLayer>& cover() const { return pie->pieControl()->animationLayer(); }
    std::size_t coverLayers() const {
        std::size_t n = 0;
        for (const auto& l : pie->pieControl()->layer()->sublayers())
            n += std::dynamic_pointer_cast<plat::ShapeLayer>(l) != nullptr;
        return n;
    }
    bool covered(double angleDegrees, double d = R / 2) const {
        return cover()->path().contains(along(angleDegrees * Pi / 180, d));
    }
};

}  // namespace

TEST_F(PieLoad, TheSweepRevealsThePieClockwiseFromItsStartAngle) {
    bind({1, 1}, 90);
    plat::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(cover());
    EXPECT_EQ(cover()->fillColor(), std::optional<plat::Color>(plat::Color::white()));
    EXPECT_TRUE(covered(90) && covered(91) && covered(270));

    struct Step {
        double after;
        std::vector<double> revealed, hidden;  // pie angles, degrees
    };
    const Step steps[] = {{0.25, {91, 135, 179}, {181, 270, 89}}, {0.25, {91, 200, 269}, {271, 350, 89}}};
    for (const auto& s : steps) {
        clock.advance(s.after);
        for (double a : s.revealed) EXPECT_FALSE(covered(a)) << a;
        for (double a : s.hidden) EXPECT_TRUE(covered(a)) << a;
    }
    clock.advance(0.6);
    EXPECT_FALSE(cover());
    EXPECT_EQ(coverLayers(), 0u);
    EXPECT_FALSE(pie->pieControl()->firstLoad());
}

TEST_F(PieLoad, OtherModesGrowThePieFromTheCentre) {
    pie->loadAnimation()->setAnimationMode(KivoLoadAnimationModeSeries);
    bind({1, 1});
    plat::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(cover());
    EXPECT_TRUE(covered(45, 1));
    clock.advance(0.25);  // the ring's inside at a quarter of the cover's radius
    EXPECT_FALSE(covered(45, CoverRadius / 4 - 1));
    EXPECT_TRUE(covered(45, CoverRadius / 4 + 1));
    EXPECT_TRUE(covered(225, R - 1));
    clock.advance(0.25);
    EXPECT_FALSE(covered(225, CoverRadius / 2 - 1));
    EXPECT_TRUE(covered(225, CoverRadius / 2 + 1));
}

TEST_F(PieLoad, ThePieIsHiddenWhileTheAnimationWaitsAndTheCoverTakesTheColourBehindIt) {
    pie->setBackgroundColor(plat::Color::clear());
    window->setBackgroundColor(plat::Color::red());
    pie->loadAnimation()->setStartDelay(0.3);
    bind({1, 1});
    EXPECT_EQ(pie->pieControl()->alpha(), 0);
    clock.advance(0.2);
    EXPECT_EQ(pie->pieControl()->alpha(), 0);
    EXPECT_FALSE(cover());
    clock.advance(0.1);
    EXPECT_EQ(pie->pieControl()->alpha(), 1);
    ASSERT_TRUE(cover());
    EXPECT_EQ(cover()->fillColor(), std::optional<plat::Color>(plat::Color::red()));
}

TEST_F(PieLoad, OneLoadAnimationAtATimeAndARestartRemovesTheRunningOne) {
    bind({1, 1});
    clock.advance(0.3);
    const auto first = cover();
    display();
    display();
    display();
    EXPECT_EQ(cover(), first);
    EXPECT_EQ(coverLayers(), 1u);
    clock.advance(0.8);  // the animation ends at 1 s, not 1 s after a later pass
    EXPECT_EQ(coverLayers(), 0u);
    EXPECT_FALSE(pie->pieControl()->firstLoad());

    // A new items source, a new load animation and a change of mode each start over with one cover.
    const std::function<void()> restarts[] = {
        [&] {
            pie->setItemsSource(pie_testing::valueItems({2, 3}));
        },
        [&] { pie->setLoadAnimation(KivoChartLoadAnimation::create()); },
        [&] { pie->loadAnimation()->setAnimationMode(KivoLoadAnimationModeSeries); },
    };
    for (const auto& restart : restarts) {
        pie->setItemsSource(pie_testing::valueItems({1, 1}));
        display();
        clock.advance(0.3);
        ASSERT_TRUE(cover());
        restart();
        display();
        clock.advance(0.01);
        EXPECT_EQ(coverLayers(), 1u);
        clock.advance(0.5);
        EXPECT_TRUE(cover());  // the new one runs its whole duration
        clock.advance(0.6);
        EXPECT_EQ(coverLayers(), 0u);
    }
}
