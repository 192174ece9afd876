// The linear gauge's geometry in its four directions, its texts and the values its points map to.

#include <cmath>

#include "KivoCore/KivoObservableArray.h"
#include "Platform/graphics/text.h"
#include "Platform/testing/touches.h"
#include "gauge_fixture.h"

using gauge_test::GaugeTest;
using gauge_test::rectNear;
using gauge_test::toRect;
using plat::Rect;

namespace {

const plat::Font ValueFont("HelveticaNeue", 16);
const plat::Font EndFont("HelveticaNeue", 12);

double halfDiagonal(const std::string& text) {
    const plat::Size s = plat::measureText(text, ValueFont);
    return std::sqrt(s.width * s.width / 4 + s.height * s.height / 4);
}

class LinearGaugeTest : public GaugeTest {
protected:
    // An editable, unanimated gauge of `frame` in `direction`, at the window's origin.
    void makeGauge(const Rect& frame, std::int64_t direction) {
        gauge->removeFromSuperview();
        gauge = gauge_test::CountingLinearGauge::make(frame);
        gauge->setDirection(direction);
        gauge->setIsReadOnly(false);
        gauge->setIsAnimated(false);
        window->addSubview(gauge);
    }
    Rect faceRect() { return toRect(*gauge->getRangeRect(gauge->face(), gauge->max())); }
};

}  // namespace

TEST_F(LinearGaugeTest, BandsInEachDirection) {
    struct Case {
        std::int64_t direction;
        Rect frame, face, pointerAt25;
    };
    const Case cases[] = {
        {KivoLinearGaugeDirectionLeftToRight, {0, 0, 208, 40}, {4, 4, 200, 32}, {4, 4, 50, 32}},
        {KivoLinearGaugeDirectionRightToLeft, {0, 0, 208, 40}, {4, 4, 200, 32}, {154, 4, 50, 32}},
        // Bottom to top keeps 8 points at its top and none at its bottom.
        {KivoLinearGaugeDirectionBottomToTop, {0, 0, 40, 208}, {4, 8, 32, 200}, {4, 158, 32, 50}},
        {KivoLinearGaugeDirectionTopToBottom, {0, 0, 40, 208}, {4, 4, 32, 200}, {4, 4, 32, 50}},
    };
    for (const Case& c : cases) {
        makeGauge(c.frame, c.direction);
        gauge->setValue(25);
        EXPECT_TRUE(rectNear(faceRect(), c.face)) << "direction " << c.direction;
        draw();
        ASSERT_TRUE(pointerRect());
        EXPECT_TRUE(rectNear(*pointerRect(), c.pointerAt25)) << "direction " << c.direction;
        EXPECT_TRUE(rectNear(rec.findFill(gauge->faceColor())->bounds(), c.face)) << "direction " << c.direction;
    }
}

TEST_F(LinearGaugeTest, ATapSetsTheValueUnderItAndStopsAtTheEnds) {
    struct Case {
        std::int64_t direction;
        Rect frame;
        plat::Point tap;
        double expected;
    };
    const Case cases[] = {
        {KivoLinearGaugeDirectionLeftToRight, {0, 0, 208, 40}, {154, 20}, 75},
        {KivoLinearGaugeDirectionRightToLeft, {0, 0, 208, 40}, {154, 20}, 25},
        {KivoLinearGaugeDirectionLeftToRight, {0, 0, 208, 40}, {1, 20}, 0},  // beyond the bar's ends
        {KivoLinearGaugeDirectionLeftToRight, {0, 0, 208, 40}, {207, 2}, 100},
        {KivoLinearGaugeDirectionRightToLeft, {0, 0, 208, 40}, {1, 20}, 100},
        {KivoLinearGaugeDirectionBottomToTop, {0, 0, 40, 208}, {20, 200}, 4},  // near the bottom: near min
        {KivoLinearGaugeDirectionBottomToTop, {0, 0, 40, 208}, {20, 2}, 100},
        {KivoLinearGaugeDirectionTopToBottom, {0, 0, 40, 208}, {20, 200}, 98},  // near the bottom: near max
        {KivoLinearGaugeDirectionTopToBottom, {0, 0, 40, 208}, {20, 1}, 0},
    };
    for (const Case& c : cases) {
        makeGauge(c.frame, c.direction);
        gauge->setValue(50);
        plat::testing::Touches(window).tap(c.tap);
        EXPECT_EQ(gauge->value(), c.expected) << "direction " << c.direction << " at " << c.tap.x << ", " << c.tap.y;
    }
}

TEST_F(LinearGaugeTest, VerticalAndReversedFlagsRoundTripAndKeepEachOther) {
    for (std::int64_t d = 0; d < 4; ++d) {
        gauge->setDirection(d);
        const bool vertical = gauge->isVertical(), reversed = gauge->isReversed();
        gauge->setIsVertical(!vertical);
        EXPECT_EQ(gauge->isVertical(), !vertical) << d;
        EXPECT_EQ(gauge->isReversed(), reversed) << d;
        gauge->setIsVertical(vertical);
        EXPECT_EQ(gauge->direction(), d);

        gauge->setIsReversed(!reversed);
        EXPECT_EQ(gauge->isReversed(), !reversed) << d;
        EXPECT_EQ(gauge->isVertical(), vertical) << d;
        gauge->setIsReversed(reversed);
        EXPECT_EQ(gauge->direction(), d);
    }
    EXPECT_FALSE(KivoLinearGauge::create()->isVertical());
}

TEST_F(LinearGaugeTest, TheValueBubbleTakesRoomAtBothEnds) {
    makeGauge({0, 0, 208, 40}, KivoLinearGaugeDirectionLeftToRight);
    gauge->setShowText(KivoGaugeShowTextValue);
    const double d1 = halfDiagonal("0"), d2 = halfDiagonal("100");
    const Rect face = faceRect();
    EXPECT_NEAR(face.x(), d1 + 8, 1e-9);
    EXPECT_NEAR(face.x() + face.width(), 208 - d2 - 8, 1e-9);

    // The bubble is centred on the pointer's end and just encloses its text.
    gauge->setValue(25);
    draw();
    const Rect bar = toRect(*gauge->getRangeRect(gauge->pointer(), 25));
    std::vector<Rect> pointerFills;
    for (const auto* op : rec.fills())
        if (op->color == gauge->pointerColor()) pointerFills.push_back(op->bounds());
    ASSERT_EQ(pointerFills.size(), 2u);
    const double d = halfDiagonal("25");
    EXPECT_TRUE(rectNear(pointerFills[1], {bar.x() + bar.width() - d, 20 - d, 2 * d, 2 * d}, 1e-6));
    const auto* text = rec.findText("25");
    ASSERT_NE(text, nullptr);
    const plat::Size size = plat::measureText("25", ValueFont);
    EXPECT_NEAR(text->origin.x, bar.x() + bar.width() - size.width / 2, 1e-6);
    EXPECT_NEAR(text->origin.y, 20 - size.height / 2, 1e-6);
}

TEST_F(LinearGaugeTest, EndTextsStandBeyondTheBarsEnds) {
    struct Case {
        std::int64_t direction;
        Rect frame;
    };
    for (const Case& c :
         {Case{KivoLinearGaugeDirectionLeftToRight, {0, 0, 208, 40}}, Case{KivoLinearGaugeDirectionRightToLeft, {0, 0, 208, 40}},
          Case{KivoLinearGaugeDirectionBottomToTop, {0, 0, 60, 208}},
          Case{KivoLinearGaugeDirectionTopToBottom, {0, 0, 60, 208}}}) {
        makeGauge(c.frame, c.direction);
        gauge->setShowText(KivoGaugeShowTextMinMax);
        gauge->setMaxOpacity(0.5);
        const plat::Size minSize = plat::measureText("0", EndFont), maxSize = plat::measureText("100", EndFont);
        const Rect f = faceRect();
        draw();
        const auto *minText = rec.findText("0"), *maxText = rec.findText("100");
        ASSERT_TRUE(minText && maxText);
        const double cx = f.midX(), cy = f.midY();
        plat::Point minAt, maxAt;
        switch (c.direction) {
            case 0:
                minAt = {f.x() - minSize.width - 2, cy - minSize.height / 2};
                maxAt = {f.maxX() + 2, cy - maxSize.height / 2};
                break;
            case 1:
                minAt = {f.maxX() + 2, cy - minSize.height / 2};
                maxAt = {f.x() - maxSize.width - 2, cy - maxSize.height / 2};
                break;
            case 2:
                minAt = {cx - minSize.width / 2, f.maxY()};
                maxAt = {cx - maxSize.width / 2, f.y() - maxSize.height};
                break;
            default:
                minAt = {cx - minSize.width / 2, f.y() - minSize.height};
                maxAt = {cx - maxSize.width / 2, f.maxY()};
                break;
        }
        EXPECT_NEAR(minText->origin.x, minAt.x, 1e-6) << c.direction;
        EXPECT_NEAR(minText->origin.y, minAt.y, 1e-6) << c.direction;
        EXPECT_NEAR(maxText->origin.x, maxAt.x, 1e-6) << c.direction;
        EXPECT_NEAR(maxText->origin.y, maxAt.y, 1e-6) << c.direction;
        EXPECT_NEAR(maxText->color.a, 0.5, 1e-9);
        // The texts lie within the view and off the bar.
        EXPECT_GE(minText->bounds().minX(), -1e-9);
        EXPECT_GE(maxText->bounds().minY(), -1e-9);
        EXPECT_FALSE(minText->bounds().intersects(f.insetBy(0.01, 0.01))) << c.direction;
        EXPECT_FALSE(maxText->bounds().intersects(f.insetBy(0.01, 0.01))) << c.direction;
    }
}

TEST_F(LinearGaugeTest, RangesKeepTheirShareOfTheBarAndNeverRunBackwards) {
    makeGauge({0, 0, 208, 40}, KivoLinearGaugeDirectionLeftToRight);
    auto half = KivoGaugeRange::create(gauge);
    half->setThickness(0.5);
    half->setMin(20);
    half->setMax(60);
    EXPECT_TRUE(rectNear(toRect(*gauge->getRangeRect(half, 60)), {44, 12, 80, 16}));
    // Drawn to a value below its min, a band has no length.
    EXPECT_EQ(gauge->getRangeRect(half, 10)->width(), 0);
    gauge->setDirection(KivoLinearGaugeDirectionRightToLeft);
    EXPECT_EQ(gauge->getRangeRect(half, 10)->width(), 0);
}

TEST_F(LinearGaugeTest, ABarWithoutLengthMapsEveryPointToMin) {
    makeGauge({0, 0, 6, 40}, KivoLinearGaugeDirectionLeftToRight);
    gauge->setMin(10);
    EXPECT_EQ(faceRect().width(), 0);
    EXPECT_EQ(gauge->getValueFromPoint(KivoPoint::create(3, 20)), 10);
    gauge->setShowText(KivoGaugeShowTextAll);  // texts wider than the view
    EXPECT_EQ(faceRect().width(), 0);
    EXPECT_EQ(gauge->getValueFromPoint(KivoPoint::create(5, 20)), 10);
}

TEST_F(LinearGaugeTest, OtherDirectionsAreStoredAndMapToMin) {
    makeGauge({0, 0, 208, 40}, 7);
    EXPECT_EQ(gauge->direction(), 7);
    EXPECT_TRUE(rectNear(faceRect(), {0, 0, 208, 40}));
    EXPECT_EQ(gauge->getValueFromPoint(KivoPoint::create(150, 20)), 0);
    gauge->setShowText(KivoGaugeShowTextAll);
    gauge->setValue(30);
    draw();  // draws without failing
    EXPECT_NE(rec.findText("30"), nullptr);
}

TEST_F(LinearGaugeTest, GetValueFromPointMovesThePointIntoTheBar) {
    makeGauge({0, 0, 208, 40}, KivoLinearGaugeDirectionLeftToRight);
    auto p = KivoPoint::create(300, -10);
    EXPECT_EQ(gauge->getValueFromPoint(p), 100);
    EXPECT_EQ(p->x(), 204);
    EXPECT_EQ(p->y(), 4);
}
