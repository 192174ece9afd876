// The bubble plotter's arithmetic: the size range over the chart's series, the size formula and its
// growth, the size value of an item, stacking, and the growth tables of the update animations.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "OmbriChart/KivoBubblePlotter.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "chart_test_access.h"
#include "test_chart.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

plat::Value item(double v, plat::Value size) { return plat::Value(plat::Dictionary{{"v", v}, {"s", std::move(size)}}); }

plat::ArrayPtr items(std::initializer_list<plat::Value> sizes) {
    auto list = std::make_shared<plat::Array>();
    double v = 1;
    for (const auto& size : sizes) list->push_back(item(v++, size));
    return list;
}

std::shared_ptr<KivoBubblePlotter> plotterOf(const std::shared_ptr<OmbriChart>& chart) {
    return std::dynamic_pointer_cast<KivoBubblePlotter>(chart->bubblePlotter());
}

}  // namespace

TEST(BubbleSizeTest, DiameterFollowsTheSquareRootOfTheValuesShareOfTheRange) {
    struct Case {
        double value, minValue, maxValue, expected;
    };
    const Case cases[] = {
        {40, 10, 40, 30},
        {10, 10, 40, 5},
        {20, 10, 40, 5 + 25 * std::sqrt(1.0 / 3)},
        // All values equal: the largest size.
        {7, 7, 7, 30},
        // Negative values count by their distance from the smallest.
        {-10, -10, 10, 5},
        {10, -10, 10, 30},
        {0, -10, 10, 5 + 25 * std::sqrt(0.5)},
        // A value outside the range (an item already removed) takes the nearer end.
        {50, 10, 40, 30},
        {0, 10, 40, 5},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(KivoBubblePlotter::bubbleDiameter(c.value, 1.0, c.minValue, c.maxValue, 5, 30), c.expected, 1e-9)
            << c.value << " in " << c.minValue << "…" << c.maxValue;
}

TEST(BubbleSizeTest, NothingIsDrawnWithoutAValidValueOrRange) {
    EXPECT_TRUE(std::isnan(KivoBubblePlotter::bubbleDiameter(NaN, 1, 10, 40, 5, 30)));
    EXPECT_TRUE(std::isnan(KivoBubblePlotter::bubbleDiameter(20, 1, NaN, NaN, 5, 30)));
    EXPECT_TRUE(std::isnan(KivoBubblePlotter::bubbleDiameter(INFINITY, 1, 10, 40, 5, 30)));
}

TEST(BubbleSizeTest, GrowthScalesTheDiameterAndNeverPassesTheLargestSize) {
    // Sizes 100 to 110: growing through the values from 0 would measure far outside the range.
    for (double value : {100.0, 104.0, 110.0}) {
        const double full = KivoBubblePlotter::bubbleDiameter(value, 1.0, 100, 110, 5, 30);
        for (double g : {0.0, 0.1, 0.5, 0.9, 1.0}) {
            const double d = KivoBubblePlotter::bubbleDiameter(value, g, 100, 110, 5, 30);
            EXPECT_NEAR(d, full * g, 1e-9) << value << " at " << g;
            EXPECT_LE(d, 30.0);
        }
        // An easing that overshoots stays within the largest size.
        EXPECT_LE(KivoBubblePlotter::bubbleDiameter(value, 1.3, 100, 110, 5, 30), 30.0);
    }
}

TEST(BubbleSizeTest, RangeCoversEverySeriesAndTakesTheOptionsSizes) {
    auto chart = TestChart::create();
    chart->setItemsSource(items({20, 40, "big", plat::Value()}));
    auto a = KivoSeries::create(chart, "v,s", "A");
    // Hidden, and reading its own items: still part of the one scale.
    auto b = KivoSeries::create(chart, "v,s", "B");
    b->setItemsSource(items({-5, INFINITY}));
    b->setVisibility(KivoSeriesVisibilityHidden);
    // Without a size member.
    auto c = KivoSeries::create(chart, "v", "C");
    for (const auto& s : {a, b, c}) chart->series()->addObject(plat::Value(s));
    chart->options()->setBubbleMinSize(2.5f);
    chart->options()->setBubbleMaxSize(40.25f);

    auto plotter = plotterOf(chart);
    plotter->adjustLimits(chart->dataInfo(), std::nullopt);
    EXPECT_EQ(plotter->minSize(), 2.5);
    EXPECT_EQ(plotter->maxSize(), 40.25);
    EXPECT_EQ(plotter->minValue(), -5);
    EXPECT_EQ(plotter->maxValue(), 40);

    // No valid size anywhere: no range.
    chart->series()->removeObject(plat::Value(a));
    chart->series()->removeObject(plat::Value(b));
    plotter->adjustLimits(chart->dataInfo(), std::nullopt);
    EXPECT_TRUE(std::isnan(plotter->minValue()));
    EXPECT_TRUE(std::isnan(plotter->maxValue()));
}

TEST(BubbleSizeTest, SizeDataReadsTheSecondBindingMemberOfTheItem) {
    auto chart = TestChart::create();
    chart->setItemsSource(items({12.5, "big"}));
    auto sized = KivoSeries::create(chart, "v, s", "A");
    auto unsized = KivoSeries::create(chart, "v", "B");
    chart->series()->addObject(plat::Value(sized));
    chart->series()->addObject(plat::Value(unsized));
    auto plotter = plotterOf(chart);
    EXPECT_EQ(OmbriChartTestAccess::_getBubbleSizeData(*plotter, sized, 0), 12.5);
    EXPECT_EQ(OmbriChartTestAccess::_getBubbleSizeData(*plotter, sized, 1), 0.0);   // a string
    EXPECT_EQ(OmbriChartTestAccess::_getBubbleSizeData(*plotter, sized, 2), 0.0);   // no item
    EXPECT_EQ(OmbriChartTestAccess::_getBubbleSizeData(*plotter, sized, -1), 0.0);  // no item
    EXPECT_EQ(OmbriChartTestAccess::_getBubbleSizeData(*plotter, unsized, 0), 0.0);
    EXPECT_EQ(OmbriChartTestAccess::_getBubbleSizeData(*plotter, nullptr, 0), 0.0);
}

TEST(BubbleStackingTest, EveryValueRunsInThePositiveSums) {
    auto chart = TestChart::create();
    auto plotter = plotterOf(chart);
    KivoNumberDictionary pos, neg;
    EXPECT_EQ(OmbriChartTestAccess::_getStackedDatay(*plotter, 1, 3, false, pos, neg), 3);
    EXPECT_EQ(OmbriChartTestAccess::_getStackedDatay(*plotter, 1, -5, false, pos, neg), -2);
    EXPECT_EQ(OmbriChartTestAccess::_getStackedDatay(*plotter, 2, 4, false, pos, neg), 4);
    EXPECT_EQ(pos.valueOr(1, NaN), -2);
    EXPECT_TRUE(neg.empty());
    // A missing value is answered as it is and leaves the sums alone.
    EXPECT_TRUE(std::isnan(OmbriChartTestAccess::_getStackedDatay(*plotter, 1, NaN, false, pos, neg)));
    EXPECT_EQ(OmbriChartTestAccess::_getStackedDatay(*plotter, 1, 1, false, pos, neg), -1);
}

TEST(BubbleStackingTest, HundredPercentTakesEachValueAsItsShareOfTheAbsoluteSum) {
    auto chart = TestChart::create();
    chart->setItemsSource(items({0, 0}));
    for (const char* name : {"A", "B"}) chart->series()->addObject(plat::Value(KivoSeries::create(chart, "v", name)));
    // Values 1 and 2 at X 0 and 1 in each series: absolute sums 2 and 4.
    chart->dataInfo()->analyse(chart->series()->sourceArray(), KivoPlotterStackingStacked100, nullptr);
    auto plotter = plotterOf(chart);
    plotter->adjustLimits(chart->dataInfo(), std::nullopt);
    KivoNumberDictionary pos, neg;
    EXPECT_DOUBLE_EQ(OmbriChartTestAccess::_getStackedDatay(*plotter, 1, 2, true, pos, neg), 0.5);
    EXPECT_DOUBLE_EQ(OmbriChartTestAccess::_getStackedDatay(*plotter, 1, -2, true, pos, neg), 0.0);
    // No sum at that X: the value adds nothing.
    EXPECT_EQ(OmbriChartTestAccess::_getStackedDatay(*plotter, 7, 3, true, pos, neg), 0.0);
}

// ---- Growth tables ----

namespace {

using Phase = OmbriChartTestAccess::BubblePhase;

Phase seriesChange(std::int64_t action, std::int64_t start, std::int64_t old) {
    return {true, false, true, false, action, start, old};
}
Phase itemChange(std::int64_t action, bool task1, bool task2, std::int64_t start, std::int64_t old) {
    return {false, true, task1, task2, action, start, old};
}

constexpr auto Add = KivoNotifyCollectionChangedActionAdd;
constexpr auto Remove = KivoNotifyCollectionChangedActionRemove;
constexpr auto Replace = KivoNotifyCollectionChangedActionReplace;
constexpr auto Reset = KivoNotifyCollectionChangedActionReset;
constexpr double Hidden = -1;  // the symbol is not drawn at all

}  // namespace

TEST(BubbleGrowthTest, SymbolFactorByUpdate) {
    // Series drawn as index 1, point of data index 2, load growth 0.25, ordinary factor 0.75.
    struct Case {
        Phase phase;
        double expected;
    };
    const Case cases[] = {
        {{}, 0.75},
        {seriesChange(Add, 1, -1), 0.25},
        {seriesChange(Add, 0, -1), 1.0},
        {seriesChange(Remove, -1, 1), 0.75},
        {seriesChange(Remove, -1, 0), 1.0},
        {seriesChange(Replace, 1, 1), 1.0},
        {seriesChange(Reset, -1, -1), 0.25},
        {itemChange(Add, true, false, 2, -1), Hidden},
        {itemChange(Add, true, false, 1, -1), 1.0},
        {itemChange(Add, false, true, 2, -1), 0.25},
        {itemChange(Add, false, true, 1, -1), 1.0},
        {itemChange(Add, false, false, 1, -1), 0.25},
        {itemChange(Remove, true, false, -1, 2), 0.75},
        {itemChange(Remove, true, false, -1, 3), 1.0},
        {itemChange(Remove, false, true, -1, 2), 1.0},
        {itemChange(Remove, false, false, -1, 2), 0.25},
        {itemChange(Replace, true, false, 2, 2), 1.0},
        {itemChange(Reset, true, false, -1, -1), 0.25},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const auto f = OmbriChartTestAccess::symbolFactor(cases[k].phase, 1, 2, 0.25, 0.75);
        EXPECT_EQ(f.value_or(Hidden), cases[k].expected) << "case " << k;
    }
}

TEST(BubbleGrowthTest, BubbleFactorByUpdate) {
    // Point of data index 2, eased load time 0.25.
    struct Case {
        Phase phase;
        bool added, removed;
        double expected;
    };
    const Case cases[] = {
        {{}, false, false, 0.25},
        {seriesChange(Add, 0, -1), true, false, 0.25},
        {seriesChange(Add, 0, -1), false, false, 1.0},
        {seriesChange(Remove, -1, 0), false, true, 0.75},
        {seriesChange(Remove, -1, 0), false, false, 1.0},
        {seriesChange(Replace, 0, 0), true, true, 1.0},
        {seriesChange(Reset, -1, -1), false, false, 0.25},
        {itemChange(Add, true, false, 2, -1), false, false, 1.0},
        {itemChange(Add, false, true, 2, -1), false, false, 0.25},
        {itemChange(Add, false, true, 0, -1), false, false, 1.0},
        {itemChange(Add, false, false, 0, -1), false, false, 0.25},
        {itemChange(Remove, true, false, -1, 2), false, false, 0.75},
        {itemChange(Remove, true, false, -1, 0), false, false, 1.0},
        {itemChange(Remove, false, true, -1, 2), false, false, 1.0},
        {itemChange(Remove, false, false, -1, 2), false, false, 0.25},
        {itemChange(Replace, true, false, 2, 2), false, false, 1.0},
        {itemChange(Reset, false, true, -1, -1), false, false, 0.25},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k)
        EXPECT_EQ(OmbriChartTestAccess::bubbleFactor(cases[k].phase, cases[k].added, cases[k].removed, 2, 0.25),
                  cases[k].expected)
            << "case " << k;
}

TEST(BubbleGrowthTest, LabelFactorFollowsSeriesChangesOnly) {
    struct Case {
        Phase phase;
        double expected;
    };
    const Case cases[] = {
        {{}, 0.25},
        {seriesChange(Add, 1, -1), 0.25},
        {seriesChange(Add, 0, -1), 1.0},
        {seriesChange(Remove, -1, 1), 0.75},
        {seriesChange(Remove, -1, 0), 1.0},
        {seriesChange(Replace, 1, 1), 1.0},
        {seriesChange(Reset, -1, -1), 0.25},
        {itemChange(Add, true, false, 1, -1), 0.25},
        {itemChange(Remove, true, false, -1, 1), 0.25},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k)
        EXPECT_EQ(OmbriChartTestAccess::labelFactor(cases[k].phase, 1, 0.25), cases[k].expected) << "case " << k;
}
