// The bar plotter's arithmetic, called directly against a laid-out chart: the axis limits it reports,
// the animation time of a point, the growth of a bar during the load animation, the dispatch of a
// rectangle while the chart replays a change, and the normalising of rectangles.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "KivoCore/KivoDataType.h"
#include "KivoCore/KivoEasing.h"
#include "OmbriChart/KivoDataInfo.h"
#include "bar_chart_fixture.h"
#include "chart_test_access.h"
#include "plotters/BarRectMath.h"

namespace {

constexpr double GroupWidth = static_cast<double>(OmbriChartOptions::DefaultGroupWidth);

using BarRectTest = BarChartTest;

}  // namespace

TEST_F(BarRectTest, LimitsWidenByHalfAStepAndReachTheOrigin) {
    struct Case {
        const char* what;
        double minX, maxX, minY, maxY, deltaX;
        std::int64_t dataTypeY;
        double origin;
        std::optional<double> logBase;
        bool rotated;
        double axisOrigin;  // of the chart's value axis; NaN: none
        double left, top, width, height;
    };
    const double none = NAN;
    const Case cases[] = {
        {"numbers step 2", 0, 4, 1, 5, 2, KivoDataTypeNumber, 0, std::nullopt, false, none, -1, 0, 6, 5},
        {"all negative, no step", 0, 2, -5, -1, 0, KivoDataTypeNumber, 0, std::nullopt, false, none, -0.5, -5, 3, 5},
        {"dates are not stretched", 0, 2, 1e9, 2e9, 1, KivoDataTypeDate, 0, std::nullopt, false, none, -0.5, 1e9, 3, 1e9},
        {"log from 50", 0, 2, 50, 500, 1, KivoDataTypeNumber, 0, 10.0, false, none, -0.5, 1, 3, 499},
        {"log from 100", 0, 2, 100, 500, 1, KivoDataTypeNumber, 0, 10.0, false, none, -0.5, 10, 3, 490},
        {"log, minimum not above 0", 0, 2, -5, 5, 1, KivoDataTypeNumber, -10, 10.0, false, none, -0.5, -5, 3, 10},
        {"origin inside the data", 0, 2, 1, 5, 1, KivoDataTypeNumber, 3, std::nullopt, false, none, -0.5, 1, 3, 4},
        {"value axis origin below", 0, 2, 1, 5, 1, KivoDataTypeNumber, 0, std::nullopt, false, -2, -0.5, -2, 3, 7},
        {"rotated", 0, 10, -5, 5, 1, KivoDataTypeNumber, 0, std::nullopt, true, none, -5, -0.5, 10, 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto info = KivoDataInfo::create();
        info->setMinX(c.minX);
        info->setMaxX(c.maxX);
        info->setMinY(c.minY);
        info->setMaxY(c.maxY);
        info->setDeltaX(c.deltaX);
        info->setDataTypeY(c.dataTypeY);
        (c.rotated ? chart->axisX() : chart->axisY())->setOrigin(c.axisOrigin);
        auto bars = KivoBarPlotter::create(chart, nullptr, nullptr);
        bars->setRotated(c.rotated);
        bars->setOrigin(c.origin);
        const auto r = bars->adjustLimits(info, c.logBase);
        EXPECT_EQ(bars->dataInfo(), info);
        EXPECT_NEAR(r->left(), c.left, 1e-9);
        EXPECT_NEAR(r->top(), c.top, 1e-9);
        EXPECT_NEAR(r->width(), c.width, 1e-9);
        EXPECT_NEAR(r->height(), c.height, 1e-9);
    }
}

TEST_F(BarRectTest, APointInAPointByPointLoadWaitsItsTurnThenGrowsOverTheWholeDuration) {
    struct Case {
        int items, point;
        double animationTime, expected;
    };
    const Case cases[] = {
        {5, 0, 0, 0},     {5, 2, 0, -0.5},  // not begun yet: negative
        {5, 2, 0.6, 0.1}, {5, 0, 3, 1},     // at most the duration
        {1, 0, 0.3, 0.3}, {1, 0, 5, 1},     // a single point has no step to wait
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.items) + " items, point " + std::to_string(c.point));
        freshChart();
        std::vector<plat::Value> rows;
        for (int k = 0; k < c.items; ++k) rows.push_back(barRow({{"a", k + 1.0}}));
        setItems(rows);
        auto s = add("a");
        draw();
        s->setAnimationDuration(1);
        s->setAnimationTime(c.animationTime);
        EXPECT_NEAR(OmbriChartTestAccess::_getAnimationTimeForPointMode(plotter(), s, c.point, false), c.expected, 1e-12);
    }
}

TEST_F(BarRectTest, TheFrameTakesItsTimingFromTheRunningAnimation) {
    setItems({barRow({{"a", 1}}), barRow({{"a", 2}}), barRow({{"a", 3}})});
    auto s = add("a");
    draw();
    s->setAnimationTime(0.9);
    s->setAnimationDuration(0.5);
    auto& bars = plotter();
    bars.setTime(0.25);
    bars.setDataInfoCount(1);
    chart->loadAnimation()->setDuration(2);
    struct Case {
        std::int64_t mode;
        bool update;
        double time, duration;
        std::int32_t count;
    };
    const Case cases[] = {
        {KivoLoadAnimationModeAll, false, 0.25, 2, 2},
        {KivoLoadAnimationModePoint, false, 0.9, 0.5, 1},
        {KivoLoadAnimationModeSeries, false, 0.5, 0.5, 2},
        {KivoLoadAnimationModeSeries, true, 0.25, 0.75, 2},  // an update wins
    };
    auto update = std::make_shared<KivoAnimation>();
    update->setDuration(0.75);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        chart->loadAnimation()->setAnimationMode(c.mode);
        OmbriChartTestAccess::setIsUpdateTask2(*chart, c.update);
        OmbriChartTestAccess::setActiveUpdateAnimation(*chart, c.update ? update : nullptr);
        double time = -1, duration = -1;
        std::int32_t count = -1;
        OmbriChartTestAccess::_getAnimationInfo(bars, s, time, duration, count);
        EXPECT_DOUBLE_EQ(time, c.time);
        EXPECT_DOUBLE_EQ(duration, c.duration);
        EXPECT_EQ(count, c.count);
    }
}

TEST_F(BarRectTest, ALoadingBarGrowsFromItsFixedEdge) {
    for (const std::int64_t type : {OmbriChartTypeColumn, OmbriChartTypeBar}) {
        SCOPED_TRACE(type);
        freshChart();
        chart->setChartType(type);
        setItems({barRow({{"a", 4}}), barRow({{"a", -2}})});
        add("a");
        draw();
        // The load animation's easing, linear over one second.
        chart->setIsAnimated(true);
        OmbriChartTestAccess::setSuppressAnimation(*chart, false);
        chart->loadAnimation()->setEasing(KivoEasing::EaseInLinear());
        const bool rotated = type == OmbriChartTypeBar;
        const auto& valueAxis = rotated ? *chart->axisX() : *chart->axisY();
        const double base = valueAxis.convert(0);

        for (int k = 0; k < 2; ++k) {
            const double v = k == 0 ? 4 : -2;
            const double end = valueAxis.convert(v), length = std::fabs(end - base);
            // Columns keep their bottom edge, bars their left edge.
            const double fixed = rotated ? std::min(base, end) : std::max(base, end);
            for (const double t : {0.0, 0.5, 1.0}) {
                SCOPED_TRACE(t);
                const auto r = OmbriChartTestAccess::_getBarRect(plotter(), chart->axisX(), chart->axisY(), 0, k, 1, nullptr, k,
                                                                 v, 1, GroupWidth, GroupWidth, base, t, 1, rotated, 0);
                ASSERT_TRUE(r);
                if (rotated) {
                    EXPECT_NEAR(r->left(), fixed, 1e-9);
                    EXPECT_NEAR(r->width(), length * t, 1e-9);
                } else {
                    EXPECT_NEAR(r->bottom(), fixed, 1e-9);
                    EXPECT_NEAR(r->height(), length * t, 1e-9);
                }
            }
        }
    }
}

TEST_F(BarRectTest, WhileAChangeIsReplayedTheDispatchTakesTheUpdateGeometry) {
    setItems({barRow({{"a", 4}}), barRow({{"a", 6}})});
    add("a");
    draw();
    OmbriChartTestAccess::setPrevAxisXMax(*chart, chart->axisX()->actualMax());
    OmbriChartTestAccess::setPrevAxisYMax(*chart, chart->axisY()->actualMax());
    const double base = sy(0), full = sy(0) - sy(6);
    struct Case {
        const char* what;
        std::int64_t action;
        bool seriesChange, itemChange;
        bool task1;
        std::optional<double> height;  // null: no rectangle
    };
    const Case cases[] = {
        {"no change", KivoNotifyCollectionChangedActionReset, false, false, false, full},
        {"an add nobody announced", KivoNotifyCollectionChangedActionAdd, false, false, true, std::nullopt},
        {"the added item in the first task", KivoNotifyCollectionChangedActionAdd, false, true, true, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OmbriChartTestAccess::setUpdateEventArgs(
            *chart, std::make_shared<KivoNotifyCollectionChangedEventArgs>(c.action, nullptr, 1, nullptr, -1));
        OmbriChartTestAccess::setIsSeriesCollectionUpdated(*chart, c.seriesChange);
        OmbriChartTestAccess::setIsCollectionViewUpdated(*chart, c.itemChange);
        OmbriChartTestAccess::setIsUpdateTask1(*chart, c.task1);
        const auto r = OmbriChartTestAccess::_getBarRect(plotter(), chart->axisX(), chart->axisY(), 0, 1, 1, nullptr, 1, 6, 1,
                                                         GroupWidth, GroupWidth, base, 0, 1, false, 0);
        ASSERT_EQ(static_cast<bool>(r), c.height.has_value());
        if (r) {
            EXPECT_NEAR(r->height(), *c.height, 1e-9);
        }
    }

    // A stacked bar has no geometry of its own for a series change: the ordinary segment, which still
    // stacks.
    OmbriChartTestAccess::setUpdateEventArgs(
        *chart, std::make_shared<KivoNotifyCollectionChangedEventArgs>(KivoNotifyCollectionChangedActionAdd));
    OmbriChartTestAccess::setIsSeriesCollectionUpdated(*chart, true);
    OmbriChartTestAccess::setIsCollectionViewUpdated(*chart, false);
    plotter().setStacking(KivoPlotterStackingStacked);
    IKivoPlotter::StackDictionary up, down;
    double sum = -1;
    for (const double v : {2.0, 3.0}) {
        const auto r = OmbriChartTestAccess::_getStackedBarRect(plotter(), chart->axisX(), chart->axisY(), 0, 0, 0, nullptr, 0, v,
                                                                1, GroupWidth, GroupWidth, base, 0, 1, false, 0, sum, up, down);
        ASSERT_TRUE(r);
    }
    EXPECT_EQ(sum, 2);
    EXPECT_EQ(up.valueOr(0, 0), 5);
    EXPECT_TRUE(down.empty());
}

TEST(BarRectMath, RectanglesGoToTheirMinimumCornerWithAbsoluteSizes) {
    const auto r = kivo::detail::normalisedRect(10, 20, -4, -6);
    EXPECT_TRUE(r->isEqual(KivoRect::create(6, 14, 4, 6)));
    EXPECT_TRUE(kivo::detail::normalisedRect(1, 2, 3, 4)->isEqual(KivoRect::create(1, 2, 3, 4)));
    EXPECT_FALSE(kivo::detail::normalisedRect(nullptr));
    const auto gap = kivo::detail::normalisedRect(1, 2, NAN, 4);
    EXPECT_FALSE(kivo::detail::isFiniteRect(*gap));
    EXPECT_TRUE(kivo::detail::isFiniteRect(*r));
}
