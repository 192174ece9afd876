// The radial gauge: its angles, auto-scale, ring geometry, texts and the values its touches map to.

#include <cmath>
#include <numbers>

#include "KivoCore/KivoObservableArray.h"
#include "OmbriGauge/KivoRadialGauge.h"
#include "Platform/graphics/text.h"
#include "Platform/testing/touches.h"
#include "gauge_fixture.h"

using plat::Point;
using plat::testing::Touches;

namespace {

constexpr double Pi = std::numbers::pi;

class RadialGaugeTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = plat::Window::create({0, 0, 320, 240});
        gauge = KivoRadialGauge::create({0, 0, 200, 100});
        gauge->setIsAnimated(false);
        window->addSubview(gauge);
    }
    const plat::RecordingContext& draw() {
        rec.clear();
        window->display(rec);
        return rec;
    }
    // A point of the unscaled drawing at `degrees` and `radius` from the centre (100, 50).
    static Point at(double degrees, double radius) {
        const double a = degrees * Pi / 180;
        return {100 - radius * std::cos(a), 50 - radius * std::sin(a)};
    }
    double valueAt(Point p) { return gauge->getValueFromPoint(KivoPoint::create(p.x, p.y)); }

    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window;
    std::shared_ptr<KivoRadialGauge> gauge;
    plat::RecordingContext rec;
};

}  // namespace

TEST_F(RadialGaugeTest, DefaultsShowEveryTextOverTheUpperHalfCircle) {
    EXPECT_EQ(gauge->startAngle(), 0);
    EXPECT_EQ(gauge->sweepAngle(), 180);
    EXPECT_TRUE(gauge->autoScale());
    EXPECT_EQ(gauge->showText(), KivoGaugeShowTextAll);
    EXPECT_EQ(gauge->scaleFactor(), 1.0f);
}

TEST_F(RadialGaugeTest, AutoScaleFitsTheHalfRingIntoTheView) {
    gauge->setShowText(KivoGaugeShowTextNone);
    gauge->setValue(50);
    draw();
    EXPECT_EQ(gauge->scaleFactor(), 2.0f);
    EXPECT_NEAR(gauge->panX(), 100, 1e-4);
    EXPECT_NEAR(gauge->panY(), 0, 1e-4);
    // The face, ring 10…50 about (100, 50), lands on the whole view.
    const auto* face = rec.findFill(gauge->faceColor());
    ASSERT_NE(face, nullptr);
    EXPECT_TRUE(gauge_test::rectNear(face->bounds(), {0, 0, 200, 100}, 1e-3));

    // Taps map back through the scale: on the ring at 90° sets 50; in the centre hole, nothing.
    gauge->setIsReadOnly(false);
    gauge->setValue(20);
    Touches(window).tap({100, 10});
    EXPECT_EQ(gauge->value(), 50);
    Touches(window).tap({100, 95});
    EXPECT_EQ(gauge->value(), 50);
}

TEST_F(RadialGaugeTest, TheValueTextStandsAtTheCentre) {
    gauge->setShowText(KivoGaugeShowTextValue);
    gauge->setValue(42);
    draw();
    const auto* text = rec.findText("42");
    ASSERT_NE(text, nullptr);
    const plat::Size size = plat::measureText("42", plat::Font("HelveticaNeue", 16));
    const double f = gauge->scaleFactor();
    EXPECT_NEAR(text->origin.x, (100 - size.width / 2) * f - gauge->panX(), 1e-3);
    EXPECT_NEAR(text->origin.y, (50 - size.height / 2) * f - gauge->panY(), 1e-3);
}

TEST_F(RadialGaugeTest, EndRulesBeyondTheArc) {
    gauge->setAutoScale(false);
    gauge->setStartAngle(30);
    gauge->setSweepAngle(120);
    const Point pastTheEnd = at(160, 30), beforeTheStart = at(20, 30);
    struct Case {
        double value;
        Point touch;
        double expected;  // NaN: nothing
    };
    const Case cases[] = {
        {95, pastTheEnd, 100},     {50, pastTheEnd, NAN},   {5, pastTheEnd, 0},   {95, beforeTheStart, NAN},
        {50, beforeTheStart, NAN}, {5, beforeTheStart, 0},  {50, at(90, 30), 50},  // on the arc
        {50, at(90, 5), NAN},                                                      // in the hole
        {50, at(90, 49.9), 50},    {50, at(90, 50.1), NAN},
    };
    for (const Case& c : cases) {
        gauge->setValue(c.value);
        const double v = valueAt(c.touch);
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(v)) << "value " << c.value << " gave " << v;
        else
            EXPECT_NEAR(v, c.expected, 1e-9) << "value " << c.value;
    }
}

TEST_F(RadialGaugeTest, AnArcAcrossZeroMapsTouchesOnBothSides) {
    gauge->setAutoScale(false);
    gauge->setStartAngle(300);
    gauge->setSweepAngle(120);  // 300° round to 60°
    gauge->setValue(50);
    EXPECT_NEAR(valueAt(at(330, 30)), 25, 1e-9);
    EXPECT_NEAR(valueAt(at(30, 30)), 75, 1e-9);
    EXPECT_NEAR(valueAt(at(0, 30)), 50, 1e-9);
    gauge->setValue(95);
    EXPECT_EQ(valueAt(at(70, 30)), 100);            // just past the end
    EXPECT_TRUE(std::isnan(valueAt(at(290, 30))));  // just before the start
}

TEST_F(RadialGaugeTest, TouchesUndoTheScaleOnlyWhileAutoScaleIsOn) {
    gauge->setShowText(KivoGaugeShowTextNone);
    draw();
    ASSERT_EQ(gauge->scaleFactor(), 2.0f);
    gauge->setAutoScale(false);
    EXPECT_EQ(gauge->scaleFactor(), 1.0f);
    EXPECT_EQ(gauge->panX(), 0);
    draw();
    EXPECT_TRUE(gauge_test::rectNear(rec.findFill(gauge->faceColor())->bounds(), {50, 0, 100, 50}, 1e-3));
    EXPECT_NEAR(valueAt(at(45, 30)), 25, 1e-9);
    EXPECT_TRUE(std::isnan(valueAt({100, 45})));  // the hole of the unscaled ring
}

TEST_F(RadialGaugeTest, ANegativeSweepDescribesTheSameArcFromItsOtherEnd) {
    gauge->setSweepAngle(-90);
    EXPECT_EQ(gauge->startAngle(), 270);
    EXPECT_EQ(gauge->sweepAngle(), 90);
    gauge->setSweepAngle(-90);
    EXPECT_EQ(gauge->startAngle(), 270);
    EXPECT_EQ(gauge->sweepAngle(), 90);

    gauge->setStartAngle(300);
    gauge->setSweepAngle(-90);  // asked for from the new start
    EXPECT_EQ(gauge->startAngle(), 210);
    EXPECT_EQ(gauge->sweepAngle(), 90);

    gauge->setSweepAngle(-500);
    EXPECT_EQ(gauge->sweepAngle(), 360);
    EXPECT_GE(gauge->startAngle(), -360);
    EXPECT_LE(gauge->startAngle(), 360);

    gauge->setStartAngle(400);
    EXPECT_EQ(gauge->startAngle(), 360);
    gauge->setStartAngle(-1000);
    EXPECT_EQ(gauge->startAngle(), -360);
    gauge->setStartAngle(NAN);
    EXPECT_EQ(gauge->startAngle(), -360);
}

TEST_F(RadialGaugeTest, ARangeOfHalfThicknessIsCentredInTheFacesRing) {
    gauge->setAutoScale(false);
    auto range = KivoGaugeRange::create(gauge);
    range->setThickness(0.5);
    range->setColor(plat::Color::red());
    gauge->ranges()->addObject(range);
    draw();
    const auto* band = rec.findFill(plat::Color::red());
    ASSERT_NE(band, nullptr);
    for (double degrees : {10.0, 90.0, 170.0}) {
        EXPECT_FALSE(band->path.contains(at(degrees, 19), band->rule)) << degrees;
        EXPECT_TRUE(band->path.contains(at(degrees, 21), band->rule)) << degrees;
        EXPECT_TRUE(band->path.contains(at(degrees, 39), band->rule)) << degrees;
        EXPECT_FALSE(band->path.contains(at(degrees, 41), band->rule)) << degrees;
    }
    EXPECT_FALSE(band->path.contains(at(270, 30), band->rule));  // the lower half is not on the arc
}

TEST_F(RadialGaugeTest, EndTextsAreSkippedAboveThreeHundredDegreesYetMakeRoom) {
    gauge->setFrame({0, 0, 100, 100});
    gauge->setThickness(0.1);  // texts on the rim, where they widen the drawing
    gauge->setValue(50);
    struct Case {
        double sweep;
        bool textsDrawn, roomMade;
    };
    for (const Case& c : {Case{280, true, true}, Case{320, false, true}, Case{340, false, false}}) {
        gauge->setSweepAngle(c.sweep);
        gauge->setShowText(KivoGaugeShowTextValue);
        draw();
        const float withoutTexts = gauge->scaleFactor();
        gauge->setShowText(KivoGaugeShowTextAll);
        draw();
        EXPECT_EQ(rec.findText("0") != nullptr, c.textsDrawn) << c.sweep;
        EXPECT_EQ(rec.findText("100") != nullptr, c.textsDrawn) << c.sweep;
        EXPECT_EQ(gauge->scaleFactor() < withoutTexts, c.roomMade) << c.sweep;
    }
}

TEST_F(RadialGaugeTest, AnEmptyArcKeepsScaleOneAndDrawsNoBands) {
    gauge->setSweepAngle(0);
    gauge->setShowText(KivoGaugeShowTextNone);
    gauge->setValue(50);
    draw();
    EXPECT_EQ(gauge->scaleFactor(), 1.0f);
    EXPECT_EQ(gauge->panX(), 0);
    EXPECT_EQ(gauge->panY(), 0);
    EXPECT_TRUE(rec.fills().empty());
    gauge->setIsReadOnly(false);
    Touches(window).tap({100, 20});
    EXPECT_FALSE(std::isnan(gauge->value()));
}

TEST_F(RadialGaugeTest, EndTextsStandBeyondTheArcsEnds) {
    gauge->setAutoScale(false);
    gauge->setShowText(KivoGaugeShowTextMinMax);
    gauge->setMinOpacity(0.25);
    draw();
    const auto *minText = rec.findText("0"), *maxText = rec.findText("100");
    ASSERT_TRUE(minText && maxText);
    const plat::Font font("HelveticaNeue", 12);
    const plat::Size minSize = plat::measureText("0", font), maxSize = plat::measureText("100", font);
    const Point minAt = at(-10, 30), maxAt = at(190, 30);  // rText = (50 + 10) / 2
    EXPECT_NEAR(minText->origin.x, minAt.x - minSize.width / 2, 1e-6);
    EXPECT_NEAR(minText->origin.y, minAt.y - minSize.height / 2, 1e-6);
    EXPECT_NEAR(maxText->origin.x, maxAt.x - maxSize.width / 2, 1e-6);
    EXPECT_NEAR(maxText->origin.y, maxAt.y - maxSize.height / 2, 1e-6);
    EXPECT_NEAR(minText->color.a, 0.25, 1e-9);
}
