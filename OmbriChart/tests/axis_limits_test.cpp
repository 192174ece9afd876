#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "KivoCore/KivoDataType.h"
#include "OmbriChart/KivoAxis.h"
#include "Platform/testing/virtual_clock.h"
#include "chart_test_access.h"
#include "test_chart.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Day = KivoAxis::SecondsPerDay;
constexpr double Jan2024 = 1704067200;

// Records the order in which a range change reaches the delegate and the event.
class RangeDelegate : public OmbriChartDelegate {
public:
    explicit RangeDelegate(std::vector<std::string>& log) : _log(log) {}
    unsigned answeredMethods() const override { return AxisRangeChanged; }
    void axisRangeChanged(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<plat::Object>& axis) override {
        _log.push_back("delegate");
        lastAxis = axis;
    }
    std::shared_ptr<plat::Object> lastAxis;

private:
    std::vector<std::string>& _log;
};

class AxisTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<TestChart> chart = TestChart::create();
    std::vector<std::string> log;

    // Subscribes the log to a new rangeChanged event of the axis.
    void listen(const std::shared_ptr<KivoAxis>& axis) {
        axis->setRangeChanged(std::make_shared<KivoEvent>());
        axis->rangeChanged()->addHandler(
            KivoEventBlock([this](const std::shared_ptr<KivoEventContainer>&) { log.push_back("event"); }), chart);
    }
};

}  // namespace

TEST_F(AxisTest, LimitsUpdateWidensFinanceChartsAppliesMinMaxAndRoundsToTheLogBase) {
    struct Case {
        const char* name;
        std::int64_t chartType;
        std::int64_t position;
        std::int64_t dataType;
        plat::Value min, max;
        std::optional<double> logBase;
        double dataMin, dataMax;
        double actualDataMin, actualDataMax, actualMin, actualMax;
    };
    const Case cases[] = {
        {"finance X pads half a category", 8, KivoAxisPositionBottom, KivoDataTypeNumber, {}, {}, {}, 1, 5, 0.5, 5.5, 0.5, 5.5},
        {"finance time axis pads a day",
         9,
         KivoAxisPositionBottom,
         KivoDataTypeDate,
         {},
         {},
         {},
         Jan2024,
         Jan2024 + 3 * Day,
         Jan2024 - Day,
         Jan2024 + 4 * Day,
         Jan2024 - Day,
         Jan2024 + 4 * Day},
        {"finance Y is not padded", 8, KivoAxisPositionLeft, KivoDataTypeNumber, {}, {}, {}, 1, 5, 1, 5, 1, 5},
        {"other types are not padded", 1, KivoAxisPositionBottom, KivoDataTypeNumber, {}, {}, {}, 1, 5, 1, 5, 1, 5},
        {"min and max override the data",
         1,
         KivoAxisPositionLeft,
         KivoDataTypeNumber,
         2.0,
         plat::Value(plat::Date(9)),
         {},
         0,
         5,
         0,
         5,
         2,
         9},
        {"a min that is no number is ignored", 1, KivoAxisPositionLeft, KivoDataTypeNumber, "low", {}, {}, 0, 5, 0, 5, 0, 5},
        {"min above the data max", 1, KivoAxisPositionLeft, KivoDataTypeNumber, 10.0, {}, {}, 0, 5, 0, 5, 10, 11},
        {"all-negative data without a min",
         1,
         KivoAxisPositionLeft,
         KivoDataTypeNumber,
         {},
         {},
         {},
         -50,
         -10,
         -50,
         -10,
         -50,
         -10},
        {"log 3…420", 1, KivoAxisPositionLeft, KivoDataTypeNumber, {}, {}, 10.0, 3, 420, 3, 420, 1, 1000},
        {"log from 0", 1, KivoAxisPositionLeft, KivoDataTypeNumber, {}, {}, 10.0, 0, 50, 0, 50, 1, 100},
        {"log of data at or below 0", 1, KivoAxisPositionLeft, KivoDataTypeNumber, {}, {}, 10.0, -5, -1, -5, -1, 1, 10},
        {"a log base without logarithm", 1, KivoAxisPositionLeft, KivoDataTypeNumber, {}, {}, 1.0, 3, 420, 3, 420, 3, 420},
        {"no data", 1, KivoAxisPositionLeft, KivoDataTypeNumber, {}, {}, 10.0, NaN, NaN, NaN, NaN, NaN, NaN},
    };
    auto same = [](double a, double b) { return (std::isnan(a) && std::isnan(b)) || std::abs(a - b) < 1e-9; };
    for (const auto& c : cases) {
        chart->setChartType(c.chartType);
        auto axis = KivoAxis::create(c.position, chart);
        axis->setMin(c.min);
        axis->setMax(c.max);
        axis->setLogBase(c.logBase);
        axis->updateActualLimits(c.dataType, c.dataMin, c.dataMax);
        EXPECT_TRUE(same(axis->actualDataMin(), c.actualDataMin)) << c.name << ": " << axis->actualDataMin();
        EXPECT_TRUE(same(axis->actualDataMax(), c.actualDataMax)) << c.name << ": " << axis->actualDataMax();
        EXPECT_TRUE(same(axis->actualMin(), c.actualMin)) << c.name << ": " << axis->actualMin();
        EXPECT_TRUE(same(axis->actualMax(), c.actualMax)) << c.name << ": " << axis->actualMax();
        EXPECT_EQ(axis->isTimeAxis(), c.dataType == KivoDataTypeDate) << c.name;
    }
}

TEST_F(AxisTest, LimitsUpdateKeepsTheCategoryTextsAndValues) {
    auto values = std::make_shared<plat::Array>(plat::Array{1.0, 2.0});
    chart->axisX()->updateActualLimits(KivoDataTypeString, 0, 1, {"a", "b"}, values);
    EXPECT_EQ(chart->axisX()->labels(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(chart->axisX()->dataIndexTimeVals(), values);
    chart->axisX()->updateActualLimits(KivoDataTypeNumber, 0, 1);
    EXPECT_TRUE(chart->axisX()->labels().empty());
    EXPECT_FALSE(chart->axisX()->dataIndexTimeVals());
}

TEST_F(AxisTest, MinAboveMaxSwapsThePairWithOneNotificationDelegateFirst) {
    auto delegate = std::make_shared<RangeDelegate>(log);
    chart->setDelegate(delegate);
    const auto& axis = chart->axisY();
    listen(axis);
    axis->setMax(5.0);
    log.clear();
    chart->invalidates = 0;

    axis->setMin(10.0);
    EXPECT_EQ(axis->min(), plat::Value(5.0));
    EXPECT_EQ(axis->max(), plat::Value(10.0));
    EXPECT_EQ(log, (std::vector<std::string>{"delegate", "event"}));
    EXPECT_EQ(delegate->lastAxis, std::static_pointer_cast<plat::Object>(axis));
    EXPECT_EQ(chart->invalidates, 1);

    axis->setMax(1.0);  // below the minimum: swaps back
    EXPECT_EQ(axis->min(), plat::Value(1.0));
    EXPECT_EQ(axis->max(), plat::Value(5.0));

    axis->setMax(plat::Value());  // null never swaps
    EXPECT_EQ(axis->min(), plat::Value(1.0));
    EXPECT_TRUE(axis->max().isNil());
}

TEST_F(AxisTest, RangeChangesReachTheDelegateWithoutAnEventAndLogBaseAlwaysAnnounces) {
    auto delegate = std::make_shared<RangeDelegate>(log);
    chart->setDelegate(delegate);
    const auto& axis = chart->axisY();
    ASSERT_FALSE(axis->rangeChanged());
    axis->setLogBase(10.0);
    axis->setLogBase(10.0);
    EXPECT_EQ(log, (std::vector<std::string>{"delegate", "delegate"}));
}

TEST_F(AxisTest, PositionTakesOnlyASideThatFitsTheAxisAndAlwaysRedraws) {
    struct Case {
        bool yAxis, rotated;
        std::int64_t requested, expected;
    };
    const Case cases[] = {
        {false, false, KivoAxisPositionTop, KivoAxisPositionTop},    {false, false, KivoAxisPositionLeft, KivoAxisPositionBottom},
        {false, true, KivoAxisPositionRight, KivoAxisPositionRight}, {false, true, KivoAxisPositionTop, KivoAxisPositionBottom},
        {true, false, KivoAxisPositionRight, KivoAxisPositionRight}, {true, false, KivoAxisPositionBottom, KivoAxisPositionLeft},
        {true, true, KivoAxisPositionTop, KivoAxisPositionTop},      {true, false, 7, KivoAxisPositionLeft},
    };
    for (const auto& c : cases) {
        chart->setRotated(c.rotated);
        auto axis = KivoAxis::create(c.yAxis ? KivoAxisPositionLeft : KivoAxisPositionBottom, chart);
        EXPECT_EQ(axis->axisType(), c.yAxis ? KivoAxisTypeY : KivoAxisTypeX);
        chart->invalidates = 0;
        axis->setPosition(c.requested);
        EXPECT_EQ(axis->position(), c.expected) << "requested " << c.requested << (c.rotated ? " rotated" : "");
        EXPECT_EQ(chart->invalidates, 1);
    }
}

TEST_F(AxisTest, LookSettersRedrawOnlyOnAChangeAndTitleColourFollowsTheChart) {
    const auto& axis = chart->axisY();
    chart->invalidates = 0;
    axis->setLineWidth(2);
    axis->setLineWidth(2);
    axis->setFormat(std::nullopt);  // ignored
    axis->setFormat("N2");
    axis->setMajorUnit(NaN);  // NaN never equals the stored NaN
    axis->setReversed(true);  // a plain store
    EXPECT_EQ(chart->invalidates, 3);
    EXPECT_EQ(axis->format(), "N2");

    EXPECT_FALSE(axis->titleTextColor());
    chart->setTextColor(plat::Color::red());
    EXPECT_EQ(axis->titleTextColor(), plat::Color::red());
    axis->setTitleTextColor(plat::Color::blue());
    EXPECT_EQ(axis->titleTextColor(), plat::Color::blue());
}

TEST_F(AxisTest, ConvertAndConvertBackAreInverseOverEveryScaleAndOrientation) {
    for (bool log : {false, true}) {
        for (bool yAxis : {false, true}) {
            for (bool reversed : {false, true}) {
                auto axis = KivoAxis::create(yAxis ? KivoAxisPositionLeft : KivoAxisPositionBottom, chart);
                if (log) axis->setLogBase(10.0);
                axis->setReversed(reversed);
                // A Y axis is handed its length in the width.
                axis->layout(yAxis ? KivoRect::create(30, 20, 200, 40) : KivoRect::create(30, 20, 300, 40), nullptr);
                axis->updateActualLimits(KivoDataTypeNumber, 1, 1000);
                const std::string what =
                    std::string(log ? "log" : "linear") + (yAxis ? " Y" : " X") + (reversed ? " reversed" : "");
                for (double v : {1.0, 3.5, 10.0, 420.0, 1000.0})
                    EXPECT_NEAR(axis->convertBack(axis->convert(v)), v, 1e-9 * v) << what << " at " << v;
                const double atMin = axis->convert(1);
                const double expected = yAxis ? (reversed ? 20 : 220) : (reversed ? 330 : 30);
                EXPECT_DOUBLE_EQ(atMin, expected) << what;
                if (log) {
                    EXPECT_DOUBLE_EQ(axis->convert(0), atMin) << what;  // 0 has no logarithm: it sits at the minimum
                }
            }
        }
    }
}

TEST_F(AxisTest, LinearConversionGivesConvertsOwnResults) {
    // Bit for bit: the line plotter draws with it where it drew with convert.
    for (bool yAxis : {false, true}) {
        for (bool reversed : {false, true}) {
            for (const auto& [lo, hi] : {std::pair{-0.7, 1234.567}, std::pair{3.0, 3.0}, std::pair{1e-9, 3e-9}}) {
                auto axis = KivoAxis::create(yAxis ? KivoAxisPositionLeft : KivoAxisPositionBottom, chart);
                axis->setReversed(reversed);
                axis->layout(KivoRect::create(30.3, 20.1, 317.7, 41.9), nullptr);
                axis->updateActualLimits(KivoDataTypeNumber, lo, hi);
                const auto linear = axis->linearConversion();
                ASSERT_TRUE(linear);
                for (double v : {lo, hi, 0.1, -3.3, 1e-9 * 1.7, 777.77, 1e300, NaN}) {
                    const double expected = axis->convert(v), actual = (*linear)(v);
                    if (std::isnan(expected))
                        EXPECT_TRUE(std::isnan(actual)) << yAxis << reversed << " " << lo << " at " << v;
                    else
                        EXPECT_EQ(actual, expected) << yAxis << reversed << " " << lo << " at " << v;
                }
            }
        }
    }

    // None where convert is not this arithmetic: a log axis, a subclass that converts its own way.
    auto logAxis = KivoAxis::create(KivoAxisPositionBottom, chart);
    logAxis->setLogBase(10.0);
    EXPECT_FALSE(logAxis->linearConversion());
    struct OwnAxis : KivoAxis {
        using KivoAxis::KivoAxis;
        double convert(double value) const override { return value; }
    };
    EXPECT_FALSE(std::make_shared<OwnAxis>(KivoAxisPositionBottom, chart)->linearConversion());
}

TEST_F(AxisTest, ConversionOverAnEmptyRangeGivesZero) {
    const auto& axis = chart->axisX();
    axis->layout(KivoRect::create(10, 10, 100, 20), nullptr);
    axis->updateActualLimits(KivoDataTypeNumber, 3, 3);
    EXPECT_EQ(axis->actualMax(), 3);
    EXPECT_EQ(axis->convert(3), 0);
    EXPECT_EQ(axis->convertBack(50), 0);
    axis->updateActualLimits(KivoDataTypeNumber, 0, 10);
    EXPECT_EQ(axis->convert(5, 0), 0);  // the given maximum equals actualMin
    EXPECT_EQ(axis->convert(5, 7, 7), 0);
    EXPECT_DOUBLE_EQ(axis->convert(5, 20), 35);  // between 0 and 20
    EXPECT_DOUBLE_EQ(axis->convert(5, 10, 5), 10);
    EXPECT_TRUE(std::isnan(axis->convert(NaN, 10, 5)));
}

TEST_F(AxisTest, AnAxisOfAChartThatIsGoneAnswersItsDefaults) {
    auto axis = chart->axisY();
    std::weak_ptr<OmbriChart> weak = chart;
    chart.reset();
    ASSERT_TRUE(weak.expired());
    EXPECT_FALSE(axis->chart());
    axis->setTitle("T");
    axis->setMin(3.0);
    axis->setScale(0.5);
    EXPECT_EQ(axis->formatValue(3), "");
    EXPECT_FALSE(axis->titleTextColor());
}

TEST_F(AxisTest, LabelLoadingIsRaisedOnlyWhenItHasHandlersWithTheAxisAsSender) {
    const auto& axis = chart->axisY();
    const auto args = std::make_shared<KivoEventArgs>();
    OmbriChartTestAccess::_onLabelLoading(*axis, args);  // no handlers: nothing to call
    std::shared_ptr<plat::Object> sender;
    std::shared_ptr<KivoEventArgs> received;
    axis->labelLoading()->addHandler(KivoEventBlock([&](const std::shared_ptr<KivoEventContainer>& c) {
                                         sender = c->sender();
                                         received = c->eventArgs();
                                     }),
                                     chart);
    OmbriChartTestAccess::_onLabelLoading(*axis, args);
    EXPECT_EQ(sender, std::static_pointer_cast<plat::Object>(axis));
    EXPECT_EQ(received, args);
    axis->setLabelLoading(nullptr);
    OmbriChartTestAccess::_onLabelLoading(*axis, args);  // no event at all
}
