// The gauge's value model, its look properties and its ranges, through the linear gauge.

#include <cmath>
#include <limits>

#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoEasing.h"
#include "KivoCore/KivoObservableArray.h"
#include "Platform/testing/font_attribute_cases.h"
#include "gauge_fixture.h"

using gauge_test::GaugeTest;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

class RecordingDelegate : public KivoGaugeDelegate {
public:
    void valueChanged(const std::shared_ptr<KivoGauge>&, double value) override { values.push_back(value); }
    std::vector<double> values;
};

}  // namespace

TEST_F(GaugeTest, ANewGaugeHasTheDocumentedDefaults) {
    EXPECT_EQ(gauge->value(), 0);
    EXPECT_EQ(gauge->min(), 0);
    EXPECT_EQ(gauge->max(), 100);
    EXPECT_EQ(gauge->step(), 1);
    EXPECT_DOUBLE_EQ(gauge->thickness(), 0.8);
    EXPECT_TRUE(gauge->isReadOnly());
    EXPECT_TRUE(gauge->isAnimated());
    EXPECT_EQ(gauge->showText(), KivoGaugeShowTextNone);
    EXPECT_TRUE(gauge->showRanges());
    EXPECT_EQ(gauge->direction(), KivoLinearGaugeDirectionLeftToRight);
    EXPECT_EQ(gauge->faceColor(), plat::Color::rgb255(240, 240, 240));
    EXPECT_EQ(gauge->pointerColor(), plat::Color::rgb255(0, 133, 199));
    EXPECT_EQ(gauge->easingType(), KivoEasing::EaseOutBounce());
    EXPECT_EQ(gauge->format(), "D");
    EXPECT_EQ(gauge->gaugeRendering(), nullptr);
    ASSERT_NE(gauge->gaugeTapped(), nullptr);
    ASSERT_NE(gauge->rectGauge(), nullptr);
    EXPECT_EQ(gauge->rectGauge()->width(), 208);
    EXPECT_EQ(gauge->loadAnimation()->duration(), 1.0);
    EXPECT_EQ(gauge->ranges()->count(), 0u);
}

TEST_F(GaugeTest, ANewSizeRedrawsTheFaceAndFontAttributesGiveThePlatformsFont) {
    EXPECT_EQ(gauge->contentMode(), plat::ViewContentMode::Redraw);
    draw();
    const int before = gauge->redraws;
    gauge->setFrame({0, 0, 300, 60});
    EXPECT_GT(gauge->redraws, before);
    for (const auto& c : plat::testing::fontAttributeCases()) EXPECT_EQ(gauge->getDescriptor(c.attributes), c.font) << c.what;
}

TEST_F(GaugeTest, SetValueRoundsToTheStepAndClampsToTheScale) {
    struct Case {
        double min, max, step, input, expected;
    };
    const Case cases[] = {
        {0, 100, 1, 42.4, 42},     {0, 100, 0.5, 42.4, 42.5},
        {0, 100, 1, 42.5, 43},                               // halves away from zero
        {0, 100, NaN, 42.4, 42.4}, {0, 100, 0, 42.4, 42.4},  // a zero step never makes NaN
        {0, 100, -1, 42.4, 42.4},  {0, 100, std::numeric_limits<double>::infinity(), 42.4, 42.4},
        {0, 100, 200, 42.4, 42.4},  // a step wider than the scale does not round
        {0, 100, 1, 150, 100},     {0, 100, 1, -5, 0},
        {50, 10, 1, 30, 50},  // min above max: min wins
        {-100, 0, 1, -42.4, -42},  {-100, 0, 1, -42.5, -43},
    };
    for (const Case& c : cases) {
        auto g = KivoLinearGauge::create({0, 0, 100, 20});
        g->setMin(c.min);
        g->setMax(c.max);
        g->setStep(c.step);
        g->setValue(c.input);
        EXPECT_DOUBLE_EQ(g->value(), c.expected)
            << "scale " << c.min << "…" << c.max << ", step " << c.step << ", value " << c.input;
        EXPECT_FALSE(std::isnan(g->value()));
    }
}

TEST_F(GaugeTest, AChangeIsAnnouncedOnceWithTheStoredValue) {
    auto delegate = std::make_shared<RecordingDelegate>();
    gauge->setDelegate(delegate);
    auto events = std::make_shared<std::vector<double>>();
    std::weak_ptr<KivoLinearGauge> weak = gauge;
    gauge->gaugeValueChanged()->addHandler(
        [events, weak](const std::shared_ptr<KivoEventContainer>&) { events->push_back(weak.lock()->value()); }, gauge);

    gauge->setValue(42.4);
    gauge->setValue(42.4);  // rounds to the value it already has
    gauge->setValue(42);
    gauge->setValue(NaN);
    gauge->setValue(150);
    gauge->setValue(170);  // clamps to the value it already has
    EXPECT_EQ(*events, (std::vector<double>{42, 100}));
    EXPECT_EQ(delegate->values, (std::vector<double>{42, 100}));
    EXPECT_EQ(gauge->oldValue(), 42);
}

TEST_F(GaugeTest, TheDelegateIsHeldWeaklyUnlessGivenAsStrong) {
    auto delegate = std::make_shared<RecordingDelegate>();
    gauge->setDelegate(delegate);
    delegate.reset();
    EXPECT_EQ(gauge->delegate(), nullptr);

    gauge->setStrongDelegate(std::make_shared<RecordingDelegate>());
    ASSERT_NE(gauge->delegate(), nullptr);
    gauge->setValue(10);
    EXPECT_EQ(static_cast<RecordingDelegate&>(*gauge->delegate()).values, std::vector<double>{10});
}

TEST_F(GaugeTest, ScaleChangesIgnoreNaNAndLeaveTheValueAlone) {
    gauge->setValue(80);
    gauge->setMax(NaN);
    gauge->setMin(NaN);
    gauge->setThickness(NaN);
    EXPECT_EQ(gauge->max(), 100);
    EXPECT_EQ(gauge->min(), 0);
    EXPECT_DOUBLE_EQ(gauge->thickness(), 0.8);
    gauge->setMax(50);
    EXPECT_EQ(gauge->value(), 80);
    gauge->setThickness(3);
    EXPECT_EQ(gauge->thickness(), 1);
}

TEST_F(GaugeTest, GetPercentIsZeroWhenTheScaleIsEmptyOrReversed) {
    gauge->setMin(20);
    gauge->setMax(70);
    EXPECT_DOUBLE_EQ(gauge->getPercent(45), 0.5);
    EXPECT_EQ(gauge->getPercent(-10), 0);
    EXPECT_EQ(gauge->getPercent(500), 1);
    EXPECT_EQ(gauge->getPercent(NaN), 0);
    for (double max : {20.0, 10.0}) {
        gauge->setMax(max);
        for (double v : {0.0, 20.0, 45.0}) EXPECT_EQ(gauge->getPercent(v), 0) << "max " << max << ", v " << v;
    }
}

TEST_F(GaugeTest, ClampAndGetColorFollowTheirRules) {
    EXPECT_TRUE(std::isnan(KivoGauge::clamp(NaN, 0, 1)));
    EXPECT_EQ(KivoGauge::clamp(5, 0, 1), 1);
    EXPECT_EQ(KivoGauge::clamp(5, 10, 1), 10);  // lo wins
    EXPECT_EQ(KivoGauge::clamp(5, NaN, 1), 1);
    EXPECT_EQ(KivoGauge::clamp(-5, NaN, NaN), -5);
    EXPECT_EQ(KivoGauge::getColor(0x0085C7), plat::Color::rgb255(0, 133, 199));
}

TEST_F(GaugeTest, TheSharedWhiteObjectLeavesTheFaceColourButAWhiteValueIsApplied) {
    const plat::Color before = gauge->faceColor();
    draw();
    gauge->redraws = 0;
    gauge->setFaceColor(plat::sharedWhiteColor());
    gauge->setFaceColor(plat::ColorObject{});
    EXPECT_EQ(gauge->faceColor(), before);
    EXPECT_EQ(gauge->redraws, 0);

    gauge->setFaceColor(plat::Color(1, 1, 1));
    EXPECT_EQ(gauge->faceColor(), plat::Color::white());
    EXPECT_GT(gauge->redraws, 0);

    gauge->setFaceColor(plat::ColorObject(plat::Color(0.5, 0.5, 0.5)));  // another colour object
    EXPECT_EQ(gauge->faceColor(), plat::Color::gray());
    draw();
    EXPECT_NE(rec.findFill(plat::Color::gray()), nullptr);
}

TEST_F(GaugeTest, PointerColourFollowsTheNarrowestRangeWhenRangesAreHidden) {
    auto wide = KivoGaugeRange::create(gauge);
    wide->setColor(plat::Color(1, 0, 0, 0.3));
    auto narrow = KivoGaugeRange::create(gauge);
    narrow->setMin(40);
    narrow->setMax(60);
    narrow->setColor(plat::Color(0, 1, 0, 0.5));
    auto sameSpan = KivoGaugeRange::create(gauge);
    sameSpan->setMin(40);
    sameSpan->setMax(60);
    sameSpan->setColor(plat::Color::blue());
    gauge->ranges()->addObject(wide);
    gauge->ranges()->addObject(narrow);
    gauge->ranges()->addObject(sameSpan);

    struct Case {
        bool showRanges;
        double value;
        plat::Color expected;
    };
    const Case cases[] = {
        {false, 50, plat::Color(0, 1, 0, 1)},  // narrowest, the earlier of equal spans, opaque
        {false, 70, plat::Color(1, 0, 0, 1)}, {false, 40, plat::Color(0, 1, 0, 1)},  // bounds included
        {false, 150, gauge->pointerColor()},                                         // in no range
        {true, 50, gauge->pointerColor()},
    };
    for (const Case& c : cases) {
        gauge->setShowRanges(c.showRanges);
        EXPECT_EQ(gauge->getPointerColor(c.value), c.expected) << "showRanges " << c.showRanges << ", value " << c.value;
    }

    // The drawn pointer takes it, and animColor overrides it.
    gauge->setIsAnimated(false);
    gauge->setShowRanges(false);
    gauge->setValue(50);
    draw();
    EXPECT_NE(rec.findFill(plat::Color(0, 1, 0, 1)), nullptr);
    gauge->setAnimColor(plat::Color::orange());
    draw();
    EXPECT_EQ(rec.findFill(plat::Color(0, 1, 0, 1)), nullptr);
    EXPECT_NE(rec.findFill(plat::Color::orange()), nullptr);
}

TEST_F(GaugeTest, RangesRedrawOnlyAfterTheFirstPassAndOnlyWhenTheyChange) {
    auto range = KivoGaugeRange::create(gauge);
    gauge->redraws = 0;
    gauge->ranges()->addObject(range);
    EXPECT_EQ(gauge->redraws, 0);  // before the first drawing pass

    gauge->setIsAnimated(false);
    draw();
    gauge->redraws = 0;
    gauge->ranges()->addObject(KivoGaugeRange::create(gauge));
    EXPECT_EQ(gauge->redraws, 1);

    gauge->redraws = 0;
    range->setColor(range->color());
    range->setMax(range->max());
    range->setMin(NaN);
    EXPECT_EQ(gauge->redraws, 0);
    range->setMax(60);
    EXPECT_EQ(gauge->redraws, 1);

    // A range made for another gauge redraws that one.
    auto other = gauge_test::CountingLinearGauge::make({0, 0, 100, 20});
    auto foreign = KivoGaugeRange::create(other);
    gauge->ranges()->addObject(foreign);
    other->redraws = gauge->redraws = 0;
    foreign->setThickness(0.5);
    EXPECT_EQ(other->redraws, 1);
    EXPECT_EQ(gauge->redraws, 0);
}

TEST_F(GaugeTest, ReplacedRangesCollectionKeepsRedrawing) {
    gauge->setIsAnimated(false);
    draw();
    auto first = gauge->ranges();
    auto second = std::make_shared<KivoObservableArray>();
    gauge->setRanges(second);
    gauge->setRanges(nullptr);
    EXPECT_EQ(gauge->ranges(), second);

    gauge->redraws = 0;
    first->addObject(KivoGaugeRange::create(gauge));
    EXPECT_EQ(gauge->redraws, 0);
    second->addObject(KivoGaugeRange::create(gauge));
    EXPECT_EQ(gauge->redraws, 1);
}

TEST_F(GaugeTest, RangesAreDrawnInOrderBetweenFaceAndPointerOnlyWhenShown) {
    const plat::Color red(1, 0, 0), green(0, 1, 0);
    for (auto [color, lo, hi] : {std::tuple{red, 0.0, 50.0}, std::tuple{green, 50.0, 100.0}}) {
        auto r = KivoGaugeRange::create(gauge);
        r->setColor(color);
        r->setMin(lo);
        r->setMax(hi);
        gauge->ranges()->addObject(r);
    }
    gauge->setIsAnimated(false);
    gauge->setValue(30);
    draw();
    std::vector<plat::Color> order;
    for (const auto* op : rec.fills()) order.push_back(op->color);
    EXPECT_EQ(order, (std::vector<plat::Color>{gauge->faceColor(), red, green, gauge->pointerColor()}));
    EXPECT_TRUE(gauge_test::rectNear(rec.findFill(red)->bounds(), {4, 4, 100, 32}));
    EXPECT_TRUE(gauge_test::rectNear(rec.findFill(green)->bounds(), {104, 4, 100, 32}));

    gauge->setShowRanges(false);
    draw();
    EXPECT_EQ(rec.findFill(green), nullptr);
}

TEST_F(GaugeTest, TheDrawingPassRaisesItsEventsAroundTheBands) {
    auto log = std::make_shared<std::vector<std::string>>();
    gauge->setGaugeRendering(std::make_shared<KivoEvent>());
    gauge->gaugeRendering()->addHandler([log](const auto&) { log->push_back("rendering"); }, gauge);
    gauge->gaugeRendered()->addHandler([log](const auto&) { log->push_back("rendered"); }, gauge);
    struct Delegate : KivoGaugeDelegate {
        std::shared_ptr<std::vector<std::string>> log;
        void rendering(const std::shared_ptr<KivoGauge>&) override { log->push_back("delegate rendering"); }
        void rendered(const std::shared_ptr<KivoGauge>&) override { log->push_back("delegate rendered"); }
    };
    auto delegate = std::make_shared<Delegate>();
    delegate->log = log;
    gauge->setDelegate(delegate);
    draw();
    EXPECT_EQ(*log, (std::vector<std::string>{"rendering", "delegate rendering", "rendered", "delegate rendered"}));
}

TEST_F(GaugeTest, FontsSizesAndNamesStayInStep) {
    gauge->setMinFont(plat::Font("Courier", 9));
    EXPECT_EQ(gauge->minFontSize(), 9);
    gauge->setMinFontSize(14);
    EXPECT_EQ(gauge->minFont(), plat::Font("HelveticaNeue", 14));
    gauge->setMinFontSize(NaN);
    gauge->setMinFontSize(0);
    gauge->setMinFont(plat::Font("Courier", NaN));
    EXPECT_EQ(gauge->minFont(), plat::Font("HelveticaNeue", 14));

    gauge->setValueFontName("Georgia-Bold");
    EXPECT_EQ(gauge->valueFont(), plat::Font("Georgia", 16, plat::FontWeight::Bold, plat::FontTraitBold));
    EXPECT_EQ(gauge->valueFontName(), "Georgia-Bold");
    gauge->setValueFontName("");
    EXPECT_EQ(gauge->valueFontName(), "Georgia-Bold");
}

TEST_F(GaugeTest, ShowValueAndShowMinMaxAreTheTwoBitsOfShowText) {
    gauge->setShowValue(true);
    EXPECT_EQ(gauge->showText(), KivoGaugeShowTextValue);
    gauge->setShowMinMax(true);
    EXPECT_EQ(gauge->showText(), KivoGaugeShowTextAll);
    gauge->setShowValue(false);
    EXPECT_EQ(gauge->showText(), KivoGaugeShowTextMinMax);
    EXPECT_FALSE(gauge->showValue());
    EXPECT_TRUE(gauge->showMinMax());
}

TEST_F(GaugeTest, EasingTypeRedrawsButDoesNotShapeTheAnimations) {
    draw();
    gauge->redraws = 0;
    gauge->setEasingType(KivoEasing::EaseInLinear());
    EXPECT_EQ(gauge->redraws, 1);
    EXPECT_EQ(gauge->getAnimationEasing(), gauge->loadAnimation()->easing());
}
