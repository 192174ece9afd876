// The area plotter's animation: the reveal, the moves of a series-list update and the dispatcher as
// pure functions, and frames of an item update replayed over several series.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "KivoCore/KivoEasing.h"
#include "area_test_support.h"
#include "chart_test_access.h"
#include "plotters/LineFamilyMotion.h"

namespace {

using PointList = KivoAreaPlotter::PointList;
using Args = KivoNotifyCollectionChangedEventArgs;

const KivoEasePtr Linear = KivoEasing::EaseInLinear();

class AreaAnimationTest : public AreaChartTest {
protected:
    void SetUp() override {
        AreaChartTest::SetUp();
        chart->setItemsSource(rows({{"a", {1, 2, 3}}}));
        add("a", "A");
        draw();
    }
    void updating(std::shared_ptr<Args> args, bool seriesList, bool items) {
        OmbriChartTestAccess::setUpdateEventArgs(*chart, std::move(args));
        OmbriChartTestAccess::setIsSeriesCollectionUpdated(*chart, seriesList);
        OmbriChartTestAccess::setIsCollectionViewUpdated(*chart, items);
    }
};

}  // namespace

TEST_F(AreaAnimationTest, TheRevealEndsAtTheLastPointAndCutsTheSegmentAtItsFront) {
    struct Case {
        const char* name;
        std::vector<double> x, y;
        bool rotated;
        double time;
        PointList want;
    };
    const Case cases[] = {
        {"upright", {50, 150, 250, 350}, {300, 100, 200, 250}, false, 0.5, {{50, 150, 200}, {300, 100, 150}}},
        {"rotated", {300, 100, 200, 250}, {350, 250, 150, 50}, true, 0.5, {{300, 100, 150}, {350, 250, 200}}},
        {"at time 0", {50, 150, 250}, {1, 2, 3}, false, 0, {{50, 150, 250}, {1, 2, 3}}},
        {"at the end", {50, 150, 250}, {1, 2, 3}, false, 1, {{50, 150, 250}, {1, 2, 3}}},
    };
    for (const auto& c : cases) {
        const auto got = kivo::detail::getPointsForPointMode(c.x, c.y, {c.time, 1.0, Linear, c.rotated});
        ASSERT_TRUE(got) << c.name;
        EXPECT_EQ(*got, c.want) << c.name;
    }
    EXPECT_FALSE(kivo::detail::getPointsForPointMode({}, {}, {0.5, 1.0, Linear, false}));
}

TEST_F(AreaAnimationTest, SeriesMoveTowardTheirNewValuesOrSinkAndDirectionZeroGivesNothing) {
    const auto& p = *plotter();
    const std::vector<double> xs{10, 20}, ys{100, NaN}, dest{50, 60};
    EXPECT_EQ(OmbriChartTestAccess::_getPointsListForSeriesUpdated(p, xs, ys, dest, 0.5, 1.0, 0, Linear, false), PointList{});
    EXPECT_EQ(OmbriChartTestAccess::_getPointsListForSeriesRemoved(p, xs, ys, 200.0, 0.5, 1.0, 0, Linear, false), PointList{});
    const auto moved = OmbriChartTestAccess::_getPointsListForSeriesUpdated(p, xs, ys, dest, 0.5, 1.0, 1, Linear, false);
    EXPECT_EQ(moved.x, xs);
    EXPECT_DOUBLE_EQ(moved.y[0], 75);
    EXPECT_TRUE(std::isnan(moved.y[1]));
    const auto sunk = OmbriChartTestAccess::_getPointsListForSeriesRemoved(p, ys, xs, 0.0, 0.5, 1.0, 1, Linear, true);
    EXPECT_DOUBLE_EQ(sunk.x[0], 50);
    EXPECT_EQ(sunk.y, xs);
}

TEST_F(AreaAnimationTest, TheDispatcherPicksTheListsByTheChangeAndTheSeries) {
    const std::vector<double> dx{10, 20}, dy{50, 60}, prev{100, 100};
    const auto ask = [&](std::int32_t index) {
        return kivo::detail::getUpdatedPointsDictionary(
            chart.get(), {OmbriChartTestAccess::updateEventArgs(*chart), chart->axisX(), chart->axisY(), index, prev}, dx, dy,
            {0.5, 1.0, Linear, false});
    };
    const double bottom = chart->axisY()->convert(chart->axisY()->actualMin());
    struct Case {
        const char* name;
        std::shared_ptr<Args> args;
        bool seriesList, items;
        std::optional<PointList> want;
    };
    const Case cases[] = {
        {"this series added", std::make_shared<Args>(KivoNotifyCollectionChangedActionAdd, nullptr, 1, nullptr, -1), true, false,
         std::nullopt},
        {"another series added", std::make_shared<Args>(KivoNotifyCollectionChangedActionAdd, nullptr, 0, nullptr, -1), true,
         false, PointList{dx, {75, 80}}},
        {"this series removed", std::make_shared<Args>(KivoNotifyCollectionChangedActionRemove, nullptr, -1, nullptr, 1), true,
         false, PointList{dx, {100 + std::fabs(100 - bottom) / 2, 100 + std::fabs(100 - bottom) / 2}}},
        {"a series replaced", std::make_shared<Args>(KivoNotifyCollectionChangedActionReplace, nullptr, 1, nullptr, 1), true,
         false, PointList{dx, {75, 80}}},
        {"an item added", std::make_shared<Args>(KivoNotifyCollectionChangedActionAdd, nullptr, 0, nullptr, -1), false, true,
         PointList{dx, dy}},
        {"neither", std::make_shared<Args>(KivoNotifyCollectionChangedActionAdd, nullptr, 0, nullptr, -1), false, false,
         std::nullopt},
        {"a reset", std::make_shared<Args>(KivoNotifyCollectionChangedActionReset), true, true, std::nullopt},
    };
    for (const auto& c : cases) {
        updating(c.args, c.seriesList, c.items);
        const auto got = ask(1);
        ASSERT_EQ(got.has_value(), c.want.has_value()) << c.name;
        if (!got) continue;
        EXPECT_EQ(got->x, c.want->x) << c.name;
        ASSERT_EQ(got->y.size(), c.want->y.size()) << c.name;
        for (std::size_t k = 0; k < got->y.size(); ++k) EXPECT_NEAR(got->y[k], c.want->y[k], 1e-9) << c.name;
    }
}

TEST_F(AreaAnimationTest, OnlyTheReplacedPointMovesAndAMissingOldValueMeansNoMotion) {
    const auto& p = *plotter();
    auto saved = std::make_shared<plat::Array>();
    saved->push_back(plat::Value(7.0));
    saved->push_back(plat::Value(9.0));
    saved->push_back(plat::Value());
    OmbriChartTestAccess::setPrevYValsArray(*chart, {nullptr, saved});
    const double yMin = chart->axisY()->actualMin(), yMax = chart->axisY()->actualMax();
    OmbriChartTestAccess::setPrevAxisYMin(*chart, yMin);
    OmbriChartTestAccess::setPrevAxisYMax(*chart, yMax);
    const auto at = [&](std::int32_t replaced, std::int32_t savedAt, std::int32_t dataIndex) {
        const auto args = std::make_shared<Args>(KivoNotifyCollectionChangedActionReplace, nullptr, replaced, nullptr, replaced);
        return OmbriChartTestAccess::_getDataYForCollectionViewReplaced(p, args, chart->axisY(), savedAt, dataIndex, 2.0, 0.5,
                                                                        1.0, Linear, false);
    };
    // The replaced point, from its old value at the series' saved position.
    EXPECT_NEAR(at(1, 1, 1), (sy(9) + sy(2)) / 2, 1e-9);
    // Any other point stands at its new place from the first frame.
    EXPECT_DOUBLE_EQ(at(1, 1, 0), sy(2));
    // No old value (not a number, or no saved list there): at its new place, never NaN.
    EXPECT_DOUBLE_EQ(at(2, 1, 2), sy(2));
    EXPECT_DOUBLE_EQ(at(1, 0, 1), sy(2));
}

TEST_F(AreaAnimationTest, TimingFollowsTheRunningAnimation) {
    const auto& p = *plotter();
    const auto series = chart->series()->objectAtIndex(0).as<KivoSeries>();
    plotter()->setTime(0.25);
    plotter()->setDataInfoCount(1);
    auto load = KivoChartLoadAnimation::create();
    load->setDuration(2);
    load->setAnimationMode(KivoLoadAnimationModePoint);
    chart->setLoadAnimation(load);
    double t = 0, d = 0;
    std::int32_t count = 0;
    OmbriChartTestAccess::_getAnimationInfo(p, series, t, d, count);
    EXPECT_EQ(std::make_tuple(t, d, count), std::make_tuple(0.25, 2.0, 1));
    auto update = std::make_shared<KivoAnimation>();
    update->setDuration(0.75);
    OmbriChartTestAccess::setActiveUpdateAnimation(*chart, update);
    OmbriChartTestAccess::setIsUpdateTask2(*chart, true);
    OmbriChartTestAccess::_getAnimationInfo(p, series, t, d, count);
    EXPECT_EQ(std::make_tuple(t, d, count), std::make_tuple(0.25, 0.75, 2));
}

namespace {

// Frames of an item update over several series: the chart drawn with the data from before (its
// ranges and hit-area centres kept), then with the data after, then the plotter asked for each
// drawn series in turn, as the chart asks it, at a time of the move.
class AreaItemUpdateTest : public AreaChartTest {
protected:
    double oldXMin = 0, oldXMax = 0, oldYMin = 0, oldYMax = 0;
    std::map<std::int32_t, std::vector<plat::Point>> staticFrame;

    std::map<std::int32_t, std::vector<plat::Point>> centres() const {
        std::map<std::int32_t, std::vector<plat::Point>> out;
        for (const auto& [position, list] : chart->hitTester()->getHitTesterMap())
            for (const auto& area : list) {
                const auto* circle = dynamic_cast<const LinePointArea*>(area.get());
                out[position].push_back({circle->centerX(), circle->centerY()});
            }
        return out;
    }
    void change(const std::vector<std::pair<std::string, std::vector<double>>>& before,
                const std::vector<std::pair<std::string, std::vector<double>>>& after) {
        chart->setItemsSource(rows(before));
        draw();
        staticFrame = centres();
        oldXMin = chart->axisX()->actualMin();
        oldXMax = chart->axisX()->actualMax();
        oldYMin = chart->axisY()->actualMin();
        oldYMax = chart->axisY()->actualMax();
        chart->setItemsSource(rows(after));
        draw();
        // The values each series of the chart's series had before, in order.
        std::vector<plat::ArrayPtr> saved;
        for (const auto& [name, values] : before) {
            auto list = std::make_shared<plat::Array>();
            for (const double v : values) list->push_back(std::isnan(v) ? plat::Value() : plat::Value(v));
            saved.push_back(list);
        }
        OmbriChartTestAccess::setPrevYValsArray(*chart, saved);
        OmbriChartTestAccess::setPrevXValsArray(*chart, std::vector<plat::ArrayPtr>(saved.size()));
    }
    std::map<std::int32_t, std::vector<plat::Point>> frameAt(std::shared_ptr<Args> args, double time) {
        auto update = std::make_shared<KivoAnimation>();
        update->setDuration(1);
        update->setEasing(Linear);
        chart->setIsAnimated(true);
        OmbriChartTestAccess::setSuppressAnimation(*chart, false);
        OmbriChartTestAccess::setActiveUpdateAnimation(*chart, update);
        OmbriChartTestAccess::setIsUpdateTask1(*chart, true);
        OmbriChartTestAccess::setIsCollectionViewUpdated(*chart, true);
        OmbriChartTestAccess::setUpdateEventArgs(*chart, std::move(args));
        OmbriChartTestAccess::setPrevAxisXMin(*chart, oldXMin);
        OmbriChartTestAccess::setPrevAxisXMax(*chart, oldXMax);
        OmbriChartTestAccess::setPrevAxisYMin(*chart, oldYMin);
        OmbriChartTestAccess::setPrevAxisYMax(*chart, oldYMax);
        plotter()->setTime(time);
        plotter()->setStacking(chart->stacking());
        chart->hitTester()->clear();
        rec.clear();
        const plat::CurrentContextScope scope(rec);
        KivoNumberDictionary pos, neg;
        std::int32_t index = 0;
        for (const auto& entry : *chart->series()) {
            const auto s = entry.as<KivoSeries>();
            if (!s->isDrawn()) continue;
            plotter()->plotSeries(s, chart->renderEngine(), chart->axisX(), chart->axisY(), index, index, 1, -1,
                                  OmbriChartTypeArea, pos, neg);
            ++index;
        }
        return centres();
    }
    double px(double v) const { return chart->axisX()->convert(v, oldXMax, oldXMin); }
    double py(double v) const { return chart->axisY()->convert(v, oldYMax, oldYMin); }
};

}  // namespace

TEST_F(AreaItemUpdateTest, AnItemInsertedInTheMiddleRisesFromItsNeighboursWhileTheOthersSlide) {
    add("a", "A");
    change({{"a", {1, 3, 5}}}, {{"a", {1, 2, 3, 5}}});
    const auto at = frameAt(std::make_shared<Args>(KivoNotifyCollectionChangedActionAdd, nullptr, 1, nullptr, -1), 0.5)[0];
    ASSERT_EQ(at.size(), 4u);
    EXPECT_NEAR(at[2].x, (px(1) + sx(2)) / 2, 1e-9);
    EXPECT_NEAR(at[3].x, (px(2) + sx(3)) / 2, 1e-9);
    const double startY = py(1) + (py(3) - py(1)) * (px(1) - px(0)) / (px(2) - px(0));
    EXPECT_NEAR(at[1].y, (startY + sy(2)) / 2, 1e-9);
    // The filled outline runs through the moving points.
    const auto fills = areaFills(Red);
    ASSERT_EQ(fills.size(), 1u);
    const auto pts = vertices(*fills[0]);
    ASSERT_GE(pts.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_NEAR(pts[k].x, at[k].x, 1e-9);
        EXPECT_NEAR(pts[k].y, at[k].y, 1e-9);
    }
}

TEST_F(AreaItemUpdateTest, AfterAHiddenSeriesAReplacedItemStartsFromItsOwnSeriesOldValue) {
    add("a", "A");
    add("h", "H")->setVisibility(KivoSeriesVisibilityHidden);
    add("c", "C");
    change({{"a", {1, 2, 3}}, {"h", {9, 9, 9}}, {"c", {4, 5, 6}}}, {{"a", {1, 2, 3}}, {"h", {9, 9, 9}}, {"c", {4, 1, 6}}});
    const auto at = frameAt(std::make_shared<Args>(KivoNotifyCollectionChangedActionReplace, nullptr, 1, nullptr, 1), 0);
    ASSERT_EQ(at.count(2), 1u);
    expectPoints(at.at(2), staticFrame.at(2), 1e-9);
    expectPoints(at.at(0), staticFrame.at(0), 1e-9);
}

TEST_F(AreaItemUpdateTest, AStackedAreaWithANegativeValueKeepsItsNeighboursAtTheStartOfAnAdd) {
    chart->setStacking(KivoPlotterStackingStacked);
    // A fixed value range keeps the plot where it was: the start of the move is the static frame.
    chart->axisY()->setMin(-10.0);
    chart->axisY()->setMax(20.0);
    add("a", "A");
    add("b", "B");
    change({{"a", {2, 2, 2}}, {"b", {-3, -1, 1}}}, {{"a", {2, 5, 2, 2}}, {"b", {-3, 4, -1, 1}}});
    const auto at = frameAt(std::make_shared<Args>(KivoNotifyCollectionChangedActionAdd, nullptr, 1, nullptr, -1), 0);
    for (const std::int32_t position : {0, 1}) {
        SCOPED_TRACE(position);
        const auto& now = at.at(position);
        const auto& then = staticFrame.at(position);
        ASSERT_EQ(now.size(), 4u);
        ASSERT_EQ(then.size(), 3u);
        // The points other than the new one (indices 0, 2 and 3) stand where they were drawn.
        expectPoints({now[0], now[2], now[3]}, then, 1e-9);
    }
}
