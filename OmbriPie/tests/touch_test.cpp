#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Platform/testing/geometry_matchers.h"
#include "Platform/ui/gestures.h"
#include "touch_fixture.h"

using pie_testing::PieTouch;
using plat::testing::PointNear;

TEST_F(PieTouch, TapsBeforeTheFirstLoadAreOnlyAnnounced) {
    int announced = 0;
    pie->chartTapped()->addHandler([&](const std::shared_ptr<KivoEventContainer>&) { ++announced; }, nullptr);
    bind({1, 1});
    ASSERT_TRUE(pie->pieControl()->firstLoad());
    tap(along(Pi / 2));
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(delegate->taps, 0);
    EXPECT_EQ(pie->selectedIndex(), -1);
}

TEST_F(PieTouch, ADelegateThatTakesTheTapEndsIt) {
    show({1, 1});
    delegate->swallowTaps = true;
    tap(along(Pi / 2));
    EXPECT_EQ(delegate->taps, 1);
    EXPECT_EQ(pie->selectedIndex(), -1);
    EXPECT_TRUE(delegate->selections.empty());
    EXPECT_FALSE(tip().isVisible());
}

TEST_F(PieTouch, WithoutAPositionATapSelectsWithoutTurningAndShowsTheTooltipAtThePushedCentre) {
    pie->setSelectedItemOffset(0.2);
    show({1, 1});
    const double r = R / 1.2;  // the push takes its room from the radius
    tap(along(Pi / 2));
    EXPECT_EQ(pie->selectedIndex(), 0);
    EXPECT_EQ(delegate->selections, std::vector<std::int64_t>{0});
    EXPECT_EQ(turn(), 0);
    EXPECT_TRUE(tip().isVisible());
    EXPECT_EQ(tip().text(), std::optional<std::string>("s0 1.00"));
    EXPECT_THAT(tip().senderPoint(), PointNear(along(Pi / 2, r / 2 + 0.2 * r)));

    // A second tap on the selected slice shows it again, at the centre the hit test found.
    display();
    pie->tooltip()->content()->setIsVisible(false);
    tap(along(Pi / 2));
    EXPECT_EQ(pie->selectedIndex(), 0);
    EXPECT_TRUE(tip().isVisible());
    EXPECT_THAT(tip().senderPoint(), PointNear(along(Pi / 2, r / 2 + 0.2 * r)));
}

TEST_F(PieTouch, ATapTurnsTheSliceToItsSideTickingTheTransformOnlyThenShowsTheTooltipThere) {
    show({1, 1, 2});
    pie->setSelectedItemPosition(KivoAxisPositionTop);
    tap(along(3 * Pi / 4));  // slice 1, whose middle stands at 135°
    EXPECT_EQ(pie->selectedIndex(), 1);
    EXPECT_TRUE(pie->isAnimating());
    display();

    clock.advance(0.5);
    EXPECT_GT(turn(), -Pi / 4);
    EXPECT_LT(turn(), 0);
    EXPECT_FALSE(pie->pieControl()->needsDisplay());  // the slices are not drawn again per tick
    EXPECT_FALSE(tip().isVisible());

    // Taps while it turns select nothing.
    tap(along(Pi / 4));
    EXPECT_EQ(pie->selectedIndex(), 1);

    clock.advance(0.6);
    EXPECT_FALSE(pie->isAnimating());
    EXPECT_NEAR(turn(), -Pi / 4, 1e-12);
    EXPECT_EQ(pie->rotationAngle(), turn());
    EXPECT_TRUE(pie->pieControl()->needsDisplay());
    EXPECT_TRUE(tip().isVisible());
    EXPECT_EQ(tip().text(), std::optional<std::string>("s1 1.00"));
    EXPECT_THAT(tip().senderPoint(), PointNear({C.x, C.y - R / 2}));

    // After a pass the turn still counts: the slice at the top is the turned one.
    display();
    EXPECT_NEAR(pie->rotationAngle(), -Pi / 4, 1e-12);
    EXPECT_EQ(pie->hitTest(KivoPoint::create(C.x, C.y - R / 2))->dataPoint()->pointIndex(), 1);
    EXPECT_EQ(pie->hitTest(KivoPoint::create(C.x - R / 2, C.y - 1))->dataPoint()->pointIndex(), 0);
}

TEST_F(PieTouch, ATurnTakesTheShortWay) {
    // Slice 0's middle at -180°: 270° to the top, turned as -90°.
    show({1, 1}, -270);
    pie->setSelectedItemPosition(KivoAxisPositionTop);
    tap(along(Pi));
    clock.advance(0.5);
    EXPECT_GT(turn(), -Pi / 2);
    EXPECT_LT(turn(), 0);
    clock.advance(0.6);
    EXPECT_NEAR(turn(), -Pi / 2, 1e-12);
}

TEST_F(PieTouch, ATappedTurnWithinADegreeIsDoneAtOnceWithItsTooltip) {
    show({1, 1}, 0.5);
    pie->setSelectedItemPosition(KivoAxisPositionTop);
    tap(along(Pi / 2));
    EXPECT_FALSE(pie->isAnimating());
    EXPECT_NEAR(turn(), -0.5 * Pi / 180, 1e-12);
    EXPECT_TRUE(tip().isVisible());
    EXPECT_THAT(tip().senderPoint(), PointNear({C.x, C.y - R / 2}));
}

TEST_F(PieTouch, ACodeSelectionWithinADegreeIsNotAnimatedAndShowsNoTooltip) {
    show({1, 1}, 0.5);
    pie->setSelectedItemPosition(KivoAxisPositionTop);
    pie->setSelectedIndex(0);
    display();
    EXPECT_FALSE(pie->isAnimating());
    EXPECT_NEAR(turn(), -0.5 * Pi / 180, 1e-12);
    clock.advance(1.1);
    EXPECT_FALSE(tip().isVisible());
}

TEST_F(PieTouch, ACodeSelectionDuringATurnEndsFacingTheNewSlice) {
    show({1, 1, 2});
    pie->setSelectedItemPosition(KivoAxisPositionTop);
    tap(along(3 * Pi / 4));
    clock.advance(0.5);
    pie->setSelectedIndex(0);  // its middle stands at 45°
    display();
    clock.advance(1.1);
    EXPECT_FALSE(pie->isAnimating());
    // One tick timer: a second one would have turned the pie beyond its target.
    EXPECT_NEAR(turn(), Pi / 4, 1e-12);
    EXPECT_EQ(pie->rotationAngle(), turn());
    EXPECT_FALSE(tip().isVisible());  // a code selection shows no tooltip after its turn
}

TEST_F(PieTouch, AHeaderTapClearsTheSelectionWithoutATurn) {
    pie->setHeader("Sales");
    pie->setSelectedItemPosition(KivoAxisPositionTop);
    show({1, 1, 2});
    pie->setSelectedIndex(2);
    display();
    clock.advance(1.1);
    const double turned = turn();
    ASSERT_TRUE(pie->rectHeader());
    tap({200, pie->rectHeader()->top() + pie->rectHeader()->height() / 2});
    EXPECT_EQ(pie->selectedIndex(), -1);
    EXPECT_EQ(delegate->selections.back(), -1);
    EXPECT_EQ(turn(), turned);
}

TEST_F(PieTouch, TheCustomisedTooltipReceivesSixEntries) {
    delegate->answered |= OmbriChartDelegate::HandleTooltip;
    show({1, 3});
    pie->tooltip()->content()->setIsCustomized(true);
    tap(along(Pi / 4));  // slice 0: 0° to 90°
    ASSERT_EQ(delegate->tooltips.size(), 1u);
    const auto& shown = delegate->tooltips[0];
    EXPECT_TRUE(shown.visible);
    EXPECT_THAT(shown.point, PointNear(along(Pi / 4)));
    const auto size = pie->renderEngine()->measureString("s0\n1.00 0.25");
    ASSERT_TRUE(shown.data);
    ASSERT_EQ(shown.data->size(), 6u);
    const auto& d = *shown.data;
    EXPECT_EQ(d[0].asDouble(), size->width());
    EXPECT_EQ(d[1].asDouble(), size->height());
    EXPECT_EQ(d[2].asString(), "s0");
    EXPECT_EQ(d[3].asInteger(), 0);
    EXPECT_EQ(d[4].asDouble(), 1.0);
    EXPECT_EQ(d[5].asDouble(), 0.25);
    EXPECT_FALSE(tip().isVisible());  // the application draws it

    // A tap beside the slices tells the customised tooltip to hide.
    tap({5, 5});
    ASSERT_EQ(delegate->tooltips.size(), 2u);
    EXPECT_FALSE(delegate->tooltips[1].visible);
}

TEST_F(PieTouch, ASumOfZeroGivesSharesOfZero) {
    delegate->answered |= OmbriChartDelegate::HandleTooltip;
    show({0, 0});
    const auto info = pie->hitTest(KivoPoint::create(C.x, C.y - 10));
    EXPECT_EQ(info->dataPoint()->pointIndex(), 0);
    EXPECT_EQ(info->dataPoint()->percentage(), 0);
    pie->tooltip()->content()->setIsCustomized(true);
    tap({C.x, C.y - 10});
    ASSERT_FALSE(delegate->tooltips.empty());
    EXPECT_EQ((*delegate->tooltips.back().data)[5].asDouble(), 0);
}

TEST_F(PieTouch, APinchZoomsTheControlButNeverBelowOne) {
    show({1, 1});
    std::weak_ptr<OmbriPie> weak = pie;
    pie->addGestureRecognizer(plat::PinchGestureRecognizer::create([weak](plat::GestureRecognizer& r) {
        if (const auto p = weak.lock()) p->respondToPinchGesture(r);
    }));
    plat::testing::Touches touches(window);
    touches.pinch(C, 100, 50);
    EXPECT_EQ(pie->scale(), 1.0);
    EXPECT_TRUE(pie->transform().isIdentity());
    touches.pinch(C, 50, 100);
    EXPECT_NEAR(pie->scale(), 2.0, 1e-9);
    EXPECT_NEAR(pie->transform().a, 2.0, 1e-9);
    touches.pinch(C, 100, 25);  // 2 × 0.25 would be 0.5
    EXPECT_EQ(pie->scale(), 1.0);
    EXPECT_NEAR(pie->transform().a, 1.0, 1e-9);
}
