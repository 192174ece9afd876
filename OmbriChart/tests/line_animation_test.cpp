// The line plotter's animation: the point-by-point reveal, the growth factors, the point lists of a
// series-list update as pure functions, and the moves of an added, removed or replaced item through
// one frame of the chart's update.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ChartCore/KivoLegend.h"
#include "KivoCore/KivoEasing.h"
#include "KivoCore/KivoRenderEngine.h"
#include "OmbriChart/KivoLinePlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "chart_test_access.h"
#include "line_test_support.h"
#include "plotters/LinePointArea.h"
#include "test_chart.h"

namespace {

using PointList = KivoLinePlotter::PointList;

const KivoEasePtr Linear = KivoEasing::EaseInLinear();

void expectList(const PointList& actual, const PointList& expected) {
    ASSERT_EQ(actual.x.size(), expected.x.size());
    ASSERT_EQ(actual.y.size(), expected.y.size());
    for (std::size_t k = 0; k < actual.x.size(); ++k) {
        SCOPED_TRACE(k);
        if (std::isnan(expected.x[k]))
            EXPECT_TRUE(std::isnan(actual.x[k]));
        else
            EXPECT_NEAR(actual.x[k], expected.x[k], 1e-9);
        if (std::isnan(expected.y[k]))
            EXPECT_TRUE(std::isnan(actual.y[k]));
        else
            EXPECT_NEAR(actual.y[k], expected.y[k], 1e-9);
    }
}

class LineAnimationTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<TestChart> chart = TestChart::create();
    std::shared_ptr<KivoLinePlotter> plotter = KivoLinePlotter::create(chart, KivoDataInfo::create(), KivoHitTester::create());
};

}  // namespace

TEST_F(LineAnimationTest, TheRevealRunsFromTheFirstPointToTheLastAndCutsTheSegmentAtItsFront) {
    const std::vector<double> xs{0, 10, 20, 30}, ys{0, 10, 0, 10};
    expectList(*plotter->getPointsForPointMode(xs, ys, 0.5, 1, Linear, false), {{0, 10, 15}, {0, 10, 5}});
    // At the end every point is in, and none more.
    expectList(*plotter->getPointsForPointMode(xs, ys, 1, 1, Linear, false), {xs, ys});
    // Kept as it is: at time 0 the whole line shows.
    expectList(*plotter->getPointsForPointMode(xs, ys, 0, 1, Linear, false), {xs, ys});
    // Rotated, the front runs along the screen y from the first point's to the last one's.
    const std::vector<double> rx{0, 10, 20}, ry{100, 80, 60};
    expectList(*plotter->getPointsForPointMode(rx, ry, 0.25, 1, Linear, true), {{0, 5}, {100, 90}});
    expectList(*plotter->getPointsForPointMode(rx, ry, 1, 1, Linear, true), {rx, ry});
    EXPECT_FALSE(plotter->getPointsForPointMode({}, {}, 0.5, 1, Linear, false));
}

TEST_F(LineAnimationTest, SymbolsGrowInThePointByPointLoadOnlyWithoutLines) {
    EXPECT_DOUBLE_EQ(plotter->getScaleForPointMode(Linear, 0.3, 1, 5, true), 1.0);
    plotter->setHasLines(false);
    EXPECT_DOUBLE_EQ(plotter->getScaleForPointMode(Linear, 0.3, 1, 5, false), 0.3);
    // The last point grows from when it appeared.
    EXPECT_DOUBLE_EQ(plotter->getScaleForPointMode(Linear, 2.25, 0.5, 4, true), 0.5);
    EXPECT_DOUBLE_EQ(plotter->getScaleForPointMode(Linear, 1.0, 0.5, 4, true), 0.0);
}

TEST_F(LineAnimationTest, SeriesListFactors) {
    struct Case {
        bool updated;
        std::int64_t action, starting, oldStarting;
        std::int32_t index;
        double expected;
    };
    const double s = 0.25;
    const Case cases[] = {
        {false, KivoNotifyCollectionChangedActionAdd, 1, -1, 1, s},
        {true, KivoNotifyCollectionChangedActionAdd, 1, -1, 1, s},         // the added series grows
        {true, KivoNotifyCollectionChangedActionAdd, 1, -1, 0, 1.0},       // the others stand
        {true, KivoNotifyCollectionChangedActionRemove, -1, 2, 2, 1 - s},  // the removed one shrinks
        {true, KivoNotifyCollectionChangedActionRemove, -1, 2, 0, 1.0},
        {true, KivoNotifyCollectionChangedActionReplace, 0, 0, 0, 1.0},  // a replaced series stays whole
        {true, KivoNotifyCollectionChangedActionReset, -1, -1, 0, s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.updated << " action " << c.action << " index " << c.index);
        EXPECT_DOUBLE_EQ(KivoLinePlotter::seriesListFactor(c.updated, c.action, c.starting, c.oldStarting, c.index, s),
                         c.expected);
    }
}

TEST_F(LineAnimationTest, SeriesListPointsMoveAlongTheValueAxis) {
    const std::vector<double> xs{1, 2, 3}, from{10, NaN, 40}, to{20, 5, 0};
    expectList(OmbriChartTestAccess::_getPointsListForSeriesUpdated(*plotter, xs, from, to, 0.5, 1, 1, Linear, false),
               {xs, {15, NaN, 20}});
    expectList(OmbriChartTestAccess::_getPointsListForSeriesUpdated(*plotter, from, xs, to, 0.5, 1, 1, Linear, true),
               {{15, NaN, 20}, xs});
    expectList(OmbriChartTestAccess::_getPointsListForSeriesUpdated(*plotter, xs, from, to, 0.5, 1, 0, Linear, false), {});
    // A leaving series sinks by its distance to the bottom; a point already below it moves further down
    // (kept as it is). Rotated, it slides to the left.
    const std::vector<double> ys{10, 300}, twoXs{1, 2}, wide{300, 100};
    expectList(OmbriChartTestAccess::_getPointsListForSeriesRemoved(*plotter, twoXs, ys, 200, 0.5, 1, 1, Linear, false),
               {{1, 2}, {105, 350}});
    expectList(OmbriChartTestAccess::_getPointsListForSeriesRemoved(*plotter, wide, twoXs, 50, 0.5, 1, 1, Linear, true),
               {{175, 75}, {1, 2}});
    expectList(OmbriChartTestAccess::_getPointsListForSeriesRemoved(*plotter, twoXs, ys, 200, 0.5, 1, 0, Linear, false), {});
}

TEST_F(LineAnimationTest, StackedLookUpsReadTheRunningSumsWhateverTheSign) {
    KivoLinePlotter::StackDictionary pos, neg;
    EXPECT_DOUBLE_EQ(OmbriChartTestAccess::_getStackedValue(*plotter, false, 3, -2, true, pos, neg), -2);
    EXPECT_DOUBLE_EQ(OmbriChartTestAccess::_getStackedValue(*plotter, false, 3, -2, false, pos, neg), -2);
    pos.add(3, 5);
    EXPECT_DOUBLE_EQ(OmbriChartTestAccess::_getStackedValue(*plotter, false, 3, -2, true, pos, neg), 3);
    EXPECT_DOUBLE_EQ(OmbriChartTestAccess::_getStackedValue(*plotter, false, 3, -2, false, pos, neg), 5);
    EXPECT_TRUE(neg.empty());
}

TEST_F(LineAnimationTest, TimingFollowsTheRunningAnimation) {
    auto series = KivoSeries::create(chart, "v", "S");
    series->setAnimationTime(3);
    series->setAnimationDuration(2);
    auto load = KivoChartLoadAnimation::create();
    load->setDuration(4);
    chart->setLoadAnimation(load);
    plotter->setTime(1.5);
    plotter->setDataInfoCount(7);
    double t = 0, d = 0;
    std::int32_t count = 0;
    load->setAnimationMode(KivoLoadAnimationModePoint);
    plotter->getAnimationInfo(series, t, d, count);
    EXPECT_EQ(std::make_tuple(t, d, count), std::make_tuple(1.5, 4.0, 7));
    load->setAnimationMode(KivoLoadAnimationModeSeries);
    plotter->getAnimationInfo(series, t, d, count);
    EXPECT_EQ(std::make_tuple(t, d), std::make_tuple(2.0, 2.0));
    auto update = std::make_shared<KivoAnimation>();
    update->setDuration(0.75);
    OmbriChartTestAccess::setActiveUpdateAnimation(*chart, update);
    OmbriChartTestAccess::setIsUpdateTask1(*chart, true);
    plotter->getAnimationInfo(series, t, d, count);
    EXPECT_EQ(std::make_tuple(t, d), std::make_tuple(1.5, 0.75));
}

namespace {

// One frame, halfway through a linear update of the items: the chart drawn with the data from
// before, then with the data after, then the plotter asked for the series in the middle of the move.
class LineItemUpdateTest : public LineChartTest {
protected:
    std::shared_ptr<KivoSeries> series;
    double oldXMin = 0, oldXMax = 0, oldYMin = 0, oldYMax = 0;
    std::vector<std::int32_t> indices;  // the data index of each hit area halfway() found

    void SetUp() override {
        LineChartTest::SetUp();
        series = add("a", "A");
    }
    // Draws `before`, keeps its ranges, draws `after`.
    void change(const std::vector<double>& before, const std::vector<double>& after) {
        chart->setItemsSource(rows({{"a", before}}));
        draw();
        oldXMin = chart->axisX()->actualMin();
        oldXMax = chart->axisX()->actualMax();
        oldYMin = chart->axisY()->actualMin();
        oldYMax = chart->axisY()->actualMax();
        chart->setItemsSource(rows({{"a", after}}));
        draw();
    }
    // The screen points the plotter places halfway through the update `args`, `before` being the
    // values saved when it began.
    std::vector<plat::Point> halfway(std::shared_ptr<KivoNotifyCollectionChangedEventArgs> args,
                                     const std::vector<double>& before) {
        auto update = std::make_shared<KivoAnimation>();
        update->setDuration(1);
        update->setEasing(Linear);
        chart->setIsAnimated(true);
        OmbriChartTestAccess::setSuppressAnimation(*chart, false);
        OmbriChartTestAccess::setActiveUpdateAnimation(*chart, update);
        OmbriChartTestAccess::setIsUpdateTask1(*chart, true);
        OmbriChartTestAccess::setIsCollectionViewUpdated(*chart, true);
        OmbriChartTestAccess::setUpdateEventArgs(*chart, std::move(args));
        auto values = std::make_shared<plat::Array>();
        for (const double v : before) values->push_back(plat::Value(v));
        OmbriChartTestAccess::setPrevYValsArray(*chart, {values});
        OmbriChartTestAccess::setPrevXValsArray(*chart, {nullptr});
        OmbriChartTestAccess::setPrevAxisXMin(*chart, oldXMin);
        OmbriChartTestAccess::setPrevAxisXMax(*chart, oldXMax);
        OmbriChartTestAccess::setPrevAxisYMin(*chart, oldYMin);
        OmbriChartTestAccess::setPrevAxisYMax(*chart, oldYMax);
        auto plotter = std::dynamic_pointer_cast<KivoLinePlotter>(chart->linePlotter());
        plotter->setTime(0.5);
        chart->hitTester()->clear();
        rec.clear();
        const plat::CurrentContextScope scope(rec);
        KivoLinePlotter::StackDictionary pos, neg;
        plotter->plotSeries(series, chart->renderEngine(), chart->axisX(), chart->axisY(), 0, 0, 1, -1, OmbriChartTypeLine, pos,
                            neg);
        std::vector<plat::Point> centres;
        indices.clear();
        for (const auto& area : chart->hitTester()->getHitTesterMap().at(0)) {
            const auto* circle = dynamic_cast<const LinePointArea*>(area.get());
            centres.push_back({circle->centerX(), circle->centerY()});
            indices.push_back(circle->pointIndex());
        }
        return centres;
    }
    double px(double v) const { return chart->axisX()->convert(v, oldXMax, oldXMin); }
    double py(double v) const { return chart->axisY()->convert(v, oldYMax, oldYMin); }
    double nx(double v) const { return chart->axisX()->convert(v); }
    double ny(double v) const { return chart->axisY()->convert(v); }
};

}  // namespace

TEST_F(LineItemUpdateTest, AReplacedValueMovesAloneFromItsOldPlace) {
    change({1, 2, 3, 4}, {1, 9, 3, 4});
    const auto at = halfway(
        std::make_shared<KivoNotifyCollectionChangedEventArgs>(KivoNotifyCollectionChangedActionReplace, nullptr, 1, nullptr, 1),
        {1, 2, 3, 4});
    ASSERT_EQ(at.size(), 4u);
    EXPECT_NEAR(at[1].y, (py(2) + ny(9)) / 2, 1e-9);
    EXPECT_NEAR(at[1].x, nx(1), 1e-9);
    for (const std::size_t k : {0u, 2u, 3u}) EXPECT_NEAR(at[k].y, ny(k == 0 ? 1 : k + 1.0), 1e-9);
}

// Only the replaced point moves, whatever values are missing around it: every other point stands at
// its place, each hit area keeps its data index, and the line runs through the areas' centres.
TEST_F(LineItemUpdateTest, AReplacedValueAmongMissingOnesMovesAloneAndEveryPointKeepsItsIndex) {
    struct Case {
        const char* name;
        std::vector<double> before, after;
        int at;
    };
    const Case cases[] = {
        {"a missing value before it", {1, NaN, 3, 4, 5}, {1, NaN, 3, 9, 5}, 3},
        {"the first value missing", {NaN, 2, 3, 4}, {NaN, 2, 7, 4}, 2},
        {"the last point", {1, 2, 3}, {1, 2, 6}, 2},
        {"replaced by a missing value", {1, 2, 3, 4}, {1, NaN, 3, 4}, 1},
        {"a missing value replaced", {1, NaN, 3, 4}, {1, 2, 3, 4}, 1},
        {"replaced by the same value", {1, 2, 3}, {1, 2, 3}, 1},
    };
    for (const auto& c : cases) {
        change(c.before, c.after);
        const auto at = halfway(std::make_shared<KivoNotifyCollectionChangedEventArgs>(KivoNotifyCollectionChangedActionReplace,
                                                                                        nullptr, c.at, nullptr, c.at),
                                c.before);
        std::vector<std::int32_t> present;
        for (std::size_t i = 0; i < c.after.size(); ++i)
            if (!std::isnan(c.after[i])) present.push_back(static_cast<std::int32_t>(i));
        ASSERT_EQ(indices, present) << c.name;
        std::vector<plat::Point> finite;
        for (std::size_t k = 0; k < at.size(); ++k) {
            const auto i = static_cast<std::size_t>(indices[k]);
            const double want = static_cast<int>(i) == c.at ? (py(c.before[i]) + ny(c.after[i])) / 2 : ny(c.after[i]);
            EXPECT_DOUBLE_EQ(at[k].x, nx(static_cast<double>(i))) << c.name << " point " << i;
            if (std::isnan(want)) {
                EXPECT_TRUE(std::isnan(at[k].y)) << c.name << " point " << i;
                continue;
            }
            EXPECT_NEAR(at[k].y, want, 1e-9) << c.name << " point " << i;
            finite.push_back(at[k]);
        }
        for (const auto* stroke : strokesOf(rec, Red))
            for (const auto& p : vertices(*stroke))
                EXPECT_NE(std::find_if(finite.begin(), finite.end(), [&](const plat::Point& q) { return q.x == p.x && q.y == p.y; }),
                          finite.end())
                    << c.name << " vertex " << p.x << "," << p.y;
    }
}

TEST_F(LineItemUpdateTest, AnAddedPointGrowsOutOfItsNeighboursSegmentWhileTheOthersShift) {
    change({1, 3, 5}, {1, 2, 3, 5});
    const auto at = halfway(
        std::make_shared<KivoNotifyCollectionChangedEventArgs>(KivoNotifyCollectionChangedActionAdd, nullptr, 1, nullptr, -1),
        {1, 3, 5});
    ASSERT_EQ(at.size(), 4u);
    // After the new point, each point starts one place earlier.
    EXPECT_NEAR(at[2].x, (px(1) + nx(2)) / 2, 1e-9);
    EXPECT_NEAR(at[3].x, (px(2) + nx(3)) / 2, 1e-9);
    EXPECT_NEAR(at[0].x, (px(0) + nx(0)) / 2, 1e-9);
    // The new point starts on the old segment between its neighbours (values 1 and 3 then), at its x.
    const double startY = py(1) + (py(3) - py(1)) * (px(1) - px(0)) / (px(2) - px(0));
    EXPECT_NEAR(at[1].y, (startY + ny(2)) / 2, 1e-9);
    EXPECT_NEAR(at[1].x, (px(1) + nx(1)) / 2, 1e-9);
}

TEST_F(LineItemUpdateTest, ARemovedPointSinksOntoItsNeighboursLineWhileTheOthersCloseUp) {
    change({1, 5, 3, 4}, {1, 3, 4});
    const auto at = halfway(
        std::make_shared<KivoNotifyCollectionChangedEventArgs>(KivoNotifyCollectionChangedActionRemove, nullptr, -1, nullptr, 1),
        {1, 5, 3, 4});
    // The removed point is still drawn while it leaves.
    ASSERT_EQ(at.size(), 4u);
    EXPECT_NEAR(at[1].x, px(1), 1e-9);
    const double onLine = (py(1) + py(3)) / 2;
    EXPECT_NEAR(at[1].y, (py(5) + onLine) / 2, 1e-9);
    // The points after it take their predecessors' places.
    EXPECT_NEAR(at[2].x, (px(2) + nx(1)) / 2, 1e-9);
    EXPECT_NEAR(at[3].x, (px(3) + nx(2)) / 2, 1e-9);
    EXPECT_NEAR(at[3].y, (py(4) + ny(4)) / 2, 1e-9);
}

TEST_F(LineChartTest, ALeavingSeriesSinksAndItsSymbolsShrinkHalfwayThroughItsRemoval) {
    chart->setChartType(OmbriChartTypeLineSymbols);
    chart->setItemsSource(rows({{"a", {1, 4, 2}}, {"b", {3, 2, 5}}}));
    add("a", "A");
    auto leaving = add("b", "B");
    draw();
    const double bottom = chart->axisY()->convert(chart->axisY()->actualMin());
    auto update = std::make_shared<KivoAnimation>();
    update->setDuration(1);
    update->setEasing(Linear);
    chart->setIsAnimated(true);
    OmbriChartTestAccess::setActiveUpdateAnimation(*chart, update);
    OmbriChartTestAccess::setIsUpdateTask1(*chart, true);
    OmbriChartTestAccess::setIsSeriesCollectionUpdated(*chart, true);
    OmbriChartTestAccess::setUpdateEventArgs(*chart, std::make_shared<KivoNotifyCollectionChangedEventArgs>(
                                                         KivoNotifyCollectionChangedActionRemove, nullptr, -1, nullptr, 1));
    // Nothing else changed: the previous range is the current one.
    OmbriChartTestAccess::setPrevAxisXMin(*chart, chart->axisX()->actualMin());
    OmbriChartTestAccess::setPrevAxisXMax(*chart, chart->axisX()->actualMax());
    OmbriChartTestAccess::setPrevAxisYMin(*chart, chart->axisY()->actualMin());
    OmbriChartTestAccess::setPrevAxisYMax(*chart, chart->axisY()->actualMax());
    auto plotter = std::dynamic_pointer_cast<KivoLinePlotter>(chart->linePlotter());
    plotter->setTime(0.5);
    plotter->setSymbolSize(10);
    rec.clear();
    const plat::CurrentContextScope scope(rec);
    KivoLinePlotter::StackDictionary pos, neg;
    plotter->plotSeries(leaving, chart->renderEngine(), chart->axisX(), chart->axisY(), 1, 1, 2, -1, OmbriChartTypeLineSymbols,
                        pos, neg);
    const auto lines = strokesOf(rec, Blue);
    ASSERT_EQ(lines.size(), 1u);
    const auto pts = vertices(*lines[0]);
    const double values[] = {3, 2, 5};
    ASSERT_EQ(pts.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        const double y = chart->axisY()->convert(values[k]);
        EXPECT_NEAR(pts[k].y, y + (bottom - y) / 2, 1e-9);
    }
    const auto symbols = fillsOf(rec, Blue);
    ASSERT_EQ(symbols.size(), 3u);
    EXPECT_NEAR(symbols[0]->bounds().width(), 5, 1e-6);
}
