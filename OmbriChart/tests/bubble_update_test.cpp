// Where the bubble plotter places a point in a frame of an animated change of the chart's items: from
// its place before the change (under the old axis ranges) towards its new place.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "KivoCore/KivoEasing.h"
#include "OmbriChart/KivoBubblePlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "chart_test_access.h"
#include "test_chart.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

plat::ArrayPtr numbers(std::initializer_list<plat::Value> values) { return std::make_shared<plat::Array>(values); }
// The same values as a series keeps them.
kivo::detail::ColumnPtr column(const plat::ArrayPtr& values) { return OmbriChartTestAccess::column(values); }

// A laid-out scatter chart of five items, then put by hand in a frame of an update: old ranges X 0…100
// and Y 0…80, linear easing over 1 s.
class BubbleUpdateGeometryTest : public ChartInWindowTest<TestChart> {
protected:
    std::shared_ptr<KivoBubblePlotter> plotter;
    std::shared_ptr<KivoAxis> ax, ay;
    KivoNumberDictionary pos, neg;

    void SetUp() override {
        auto list = std::make_shared<plat::Array>();
        for (int i = 0; i < 5; ++i) list->push_back(plat::Value(plat::Dictionary{{"x", 10.0 * (i + 1)}, {"v", 10.0 * (i + 2)}}));
        chart->setIsAnimated(false);
        chart->setChartType(OmbriChartTypeScatter);
        chart->setBindingX("x");
        chart->setItemsSource(list);
        chart->series()->addObject(plat::Value(KivoSeries::create(chart, "v", "A")));
        window->addSubview(chart);
        window->display(rec);
        plotter = std::dynamic_pointer_cast<KivoBubblePlotter>(chart->bubblePlotter());
        ax = chart->axisX();
        ay = chart->axisY();

        OmbriChartTestAccess::setPrevAxisXMin(*chart, 0);
        OmbriChartTestAccess::setPrevAxisXMax(*chart, 100);
        OmbriChartTestAccess::setPrevAxisYMin(*chart, 0);
        OmbriChartTestAccess::setPrevAxisYMax(*chart, 80);
        auto animation = std::make_shared<KivoAnimation>();
        animation->setEasing(KivoEasing::EaseInLinear());
        OmbriChartTestAccess::setActiveUpdateAnimation(*chart, animation);
        chart->setIsAnimated(true);
        OmbriChartTestAccess::setSuppressAnimation(*chart, false);
        OmbriChartTestAccess::setIsCollectionViewUpdated(*chart, true);
    }
    void task(int n, std::int64_t action, std::int64_t start, std::int64_t old) {
        OmbriChartTestAccess::setIsUpdateTask1(*chart, n == 1);
        OmbriChartTestAccess::setIsUpdateTask2(*chart, n == 2);
        OmbriChartTestAccess::setUpdateEventArgs(
            *chart, std::make_shared<KivoNotifyCollectionChangedEventArgs>(action, nullptr, start, nullptr, old));
    }
    double prevX(double v) const { return ax->convert(v, 100, 0); }
    double prevY(double v) const { return ay->convert(v, 80, 0); }
    static double mid(double a, double b) { return (a + b) / 2; }
};

}  // namespace

TEST_F(BubbleUpdateGeometryTest, AddedPointsMoveFromTheirPlacesBeforeTheInsertion) {
    task(1, KivoNotifyCollectionChangedActionAdd, 2, -1);
    const auto xs = numbers({10, 20, 30, 40, 50}), ys = numbers({20, 30, 40, 50, 60});
    const auto& args = OmbriChartTestAccess::updateEventArgs(*chart);
    for (int n : {1, 2, 3}) {
        double x = (*xs)[n].asDouble(), y = (*ys)[n].asDouble();
        OmbriChartTestAccess::_getDataForCollectionViewAdded(*plotter, x, y, ax, ay, column(xs), column(ys), n, true, false,
                                                             false, args, 0.5, 1.0, pos, neg);
        const double newX = ax->convert((*xs)[n].asDouble()), newY = ay->convert((*ys)[n].asDouble());
        // Before the insertion: its own place; after it: the place of the index before (X 20 for 3).
        const double oldX = n == 3 ? prevX(30) : prevX((*xs)[n].asDouble());
        EXPECT_NEAR(x, n == 2 ? newX : mid(oldX, newX), 1e-9) << n;
        EXPECT_NEAR(y, mid(prevY((*ys)[n].asDouble()), newY), 1e-9) << n;
    }
    // Without X values, the index before it.
    double x = 3, y = 50;
    OmbriChartTestAccess::_getDataForCollectionViewAdded(*plotter, x, y, ax, ay, nullptr, column(ys), 3, false, false, false,
                                                         args, 0.5, 1.0, pos, neg);
    EXPECT_NEAR(x, mid(prevX(2), ax->convert(3)), 1e-9);

    // Task 2 and outside both tasks: the plain screen place.
    for (int n : {2, 0}) {
        task(n, KivoNotifyCollectionChangedActionAdd, 2, -1);
        double px = 40, py = 50;
        OmbriChartTestAccess::_getDataForCollectionViewAdded(*plotter, px, py, ax, ay, column(xs), column(ys), 3, true, false,
                                                             false, args, 0.5, 1.0, pos, neg);
        EXPECT_DOUBLE_EQ(px, ax->convert(40));
        EXPECT_DOUBLE_EQ(py, ay->convert(50));
    }
}

TEST_F(BubbleUpdateGeometryTest, APointEndsAtItsNewPlaceWhicheverWayItMoves) {
    // The old X range lies to the right of the new one: the points before the insertion move right.
    OmbriChartTestAccess::setPrevAxisXMin(*chart, -100);
    OmbriChartTestAccess::setPrevAxisXMax(*chart, 30);
    task(1, KivoNotifyCollectionChangedActionAdd, 3, -1);
    const auto xs = numbers({10, 20, 30, 40, 50}), ys = numbers({20, 30, 40, 50, 60});
    double x = 10, y = 20;
    OmbriChartTestAccess::_getDataForCollectionViewAdded(*plotter, x, y, ax, ay, column(xs), column(ys), 0, true, false, false,
                                                         OmbriChartTestAccess::updateEventArgs(*chart), 1.0, 1.0, pos, neg);
    EXPECT_NEAR(x, ax->convert(10), 1e-9);
    EXPECT_NEAR(y, ay->convert(20), 1e-9);
}

TEST_F(BubbleUpdateGeometryTest, RemovedStandsInTask1AndComesFromOneIndexHigherInTask2) {
    OmbriChartTestAccess::setPrevXValsArray(*chart, {numbers({10, 20, 30, 40, 50, 60})});
    OmbriChartTestAccess::setPrevYValsArray(*chart, {numbers({20, 30, 99, "NULL", 60, 70})});
    task(1, KivoNotifyCollectionChangedActionRemove, -1, 2);
    const auto& args = OmbriChartTestAccess::updateEventArgs(*chart);
    double x = 30, y = 99;
    OmbriChartTestAccess::_getDataForCollectionViewRemoved(*plotter, x, y, ax, ay, 0, 2, true, false, false, args, 0.5, 1.0, pos,
                                                           neg);
    EXPECT_DOUBLE_EQ(x, prevX(30));
    EXPECT_DOUBLE_EQ(y, prevY(99));

    task(2, KivoNotifyCollectionChangedActionRemove, -1, 1);
    // Before the removed item: its own values under the old ranges.
    x = 10, y = 20;
    OmbriChartTestAccess::_getDataForCollectionViewRemoved(*plotter, x, y, ax, ay, 0, 0, true, false, false, args, 0.5, 1.0, pos,
                                                           neg);
    EXPECT_NEAR(x, mid(prevX(10), ax->convert(10)), 1e-9);
    EXPECT_NEAR(y, mid(prevY(20), ay->convert(20)), 1e-9);
    // After it: now at 2, it came from index 3 (X 40, Y missing: no place to start from).
    x = 45, y = 50;
    OmbriChartTestAccess::_getDataForCollectionViewRemoved(*plotter, x, y, ax, ay, 0, 2, true, false, false, args, 0.5, 1.0, pos,
                                                           neg);
    EXPECT_NEAR(x, mid(prevX(40), ax->convert(45)), 1e-9);
    EXPECT_TRUE(std::isnan(y));
    // Without X values, the index after it.
    x = 1, y = 30;
    OmbriChartTestAccess::_getDataForCollectionViewRemoved(*plotter, x, y, ax, ay, 0, 1, false, false, false, args, 0.5, 1.0, pos,
                                                           neg);
    EXPECT_NEAR(x, mid(prevX(2), ax->convert(1)), 1e-9);
    EXPECT_NEAR(y, mid(prevY(99), ay->convert(30)), 1e-9);
    // A series the chart saved nothing for falls back to the index.
    x = 1, y = 30;
    OmbriChartTestAccess::_getDataForCollectionViewRemoved(*plotter, x, y, ax, ay, 4, 1, true, false, false, args, 0.5, 1.0, pos,
                                                           neg);
    EXPECT_NEAR(x, mid(prevX(2), ax->convert(1)), 1e-9);
}

TEST_F(BubbleUpdateGeometryTest, ReplacedOnlyTheReplacedPointMovesAndOnlyAlongTheValues) {
    OmbriChartTestAccess::setPrevYValsArray(*chart, {numbers({20, 30, 5, 50, 60})});
    for (int n : {1, 2}) {
        task(n, KivoNotifyCollectionChangedActionReplace, 2, 2);
        double x = 30, y = 40;
        OmbriChartTestAccess::_getDataForCollectionViewReplaced(
            *plotter, x, y, ax, ay, 0, 2, false, false, OmbriChartTestAccess::updateEventArgs(*chart), 0.25, 1.0, pos, neg);
        EXPECT_DOUBLE_EQ(x, ax->convert(30));
        EXPECT_NEAR(y, prevY(5) + 0.25 * (ay->convert(40) - prevY(5)), 1e-9);
        x = 20, y = 30;
        OmbriChartTestAccess::_getDataForCollectionViewReplaced(
            *plotter, x, y, ax, ay, 0, 1, false, false, OmbriChartTestAccess::updateEventArgs(*chart), 0.25, 1.0, pos, neg);
        EXPECT_DOUBLE_EQ(x, ax->convert(20));
        EXPECT_DOUBLE_EQ(y, ay->convert(30));
    }
    task(0, KivoNotifyCollectionChangedActionReplace, 2, 2);
    double x = 30, y = 40;
    OmbriChartTestAccess::_getDataForCollectionViewReplaced(*plotter, x, y, ax, ay, 0, 2, false, false,
                                                            OmbriChartTestAccess::updateEventArgs(*chart), 0.25, 1.0, pos, neg);
    EXPECT_DOUBLE_EQ(y, ay->convert(40));
}

TEST_F(BubbleUpdateGeometryTest, PreviousStackedValuesRunInTheirOwnSums) {
    // Two stacked series replacing their point 1: 5 and 7 before, so the second came from 12.
    OmbriChartTestAccess::setPrevYValsArray(*chart, {numbers({1, 5}), numbers({1, 7})});
    task(1, KivoNotifyCollectionChangedActionReplace, 1, 1);
    const auto& args = OmbriChartTestAccess::updateEventArgs(*chart);
    double x = 1, y = OmbriChartTestAccess::_getStackedDatay(*plotter, 1, 10, false, pos, neg);
    OmbriChartTestAccess::_getDataForCollectionViewReplaced(*plotter, x, y, ax, ay, 0, 1, true, false, args, 0.0, 1.0, pos, neg);
    EXPECT_NEAR(y, prevY(5), 1e-9);
    x = 1, y = OmbriChartTestAccess::_getStackedDatay(*plotter, 1, 10, false, pos, neg);
    OmbriChartTestAccess::_getDataForCollectionViewReplaced(*plotter, x, y, ax, ay, 1, 1, true, false, args, 0.0, 1.0, pos, neg);
    EXPECT_NEAR(y, prevY(12), 1e-9);
    // The current sums hold the current values only.
    EXPECT_EQ(pos.valueOr(1, NaN), 20);
}
