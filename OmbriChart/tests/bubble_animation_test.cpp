// Scatter points and bubbles through the chart's update animations, frame by frame on the virtual
// clock: where each point stands and how large it is while items and series are added, removed and
// replaced.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "ChartCore/KivoHitTester.h"
#include "KivoCore/KivoEasing.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/display_link.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "chart_test_access.h"
#include "plotters/LinePointArea.h"
#include "test_chart.h"

namespace {

constexpr double Frame = 1.0 / plat::DisplayLink::FramesPerSecond;
const plat::Color Red = plat::Color::rgb255(200, 0, 0);
const plat::Color Blue = plat::Color::rgb255(0, 0, 200);

plat::Value item(double v, double s = 10) { return plat::Value(plat::Dictionary{{"v", v}, {"s", s}}); }

struct Circle {
    double cx, cy, d;
};

// A chart of five items (Y 1…5, X their index) that has played its load animation; every animation
// linear, the load over 0.5 s and an update over 1 s.
class BubbleAnimationTest : public ChartInWindowTest<TestChart> {
protected:
    void load(std::int64_t type, bool rotated = false) {
        chart->setChartType(type);
        chart->setRotated(rotated);
        chart->loadAnimation()->setDuration(0.5);
        chart->loadAnimation()->setEasing(KivoEasing::EaseInLinear());
        chart->updateAnimation()->setDuration(1.0);
        chart->updateAnimation()->setEasing(KivoEasing::EaseInLinear());
        auto list = std::make_shared<plat::Array>();
        for (int i = 0; i < 5; ++i) list->push_back(item(i + 1, 10.0 * (i + 1)));
        chart->setItemsSource(list);
        add("A", Red);
        window->addSubview(chart);
        show();
        stepUntil([&] { return !OmbriChartTestAccess::plotting(*chart); });
        show();
        ASSERT_FALSE(OmbriChartTestAccess::isFirstRender(*chart));
    }
    std::shared_ptr<KivoSeries> add(const std::string& name, const plat::Color& color) {
        auto s = KivoSeries::create(chart, "v,s", name);
        s->setSymbolColor(color);
        chart->series()->addObject(plat::Value(s));
        return s;
    }
    void stepUntil(const std::function<bool()>& done) {
        for (int k = 0; k < 1000 && !done(); ++k) clock.advance(Frame);
    }
    void show() {
        rec.clear();
        window->display(rec);
    }
    // Steps to `share` of the running task (1 or 2) and draws that frame; answers the eased share the
    // frame was drawn at.
    double frameAt(int task, double share) {
        const auto duration = [&] { return OmbriChartTestAccess::activeUpdateAnimation(*chart)->duration(); };
        const auto inTask = [&] {
            return task == 1 ? OmbriChartTestAccess::isUpdateTask1(*chart) : OmbriChartTestAccess::isUpdateTask2(*chart);
        };
        stepUntil([&] { return inTask() && OmbriChartTestAccess::plotTime(*chart) >= share * duration(); });
        EXPECT_TRUE(inTask());
        show();
        return OmbriChartTestAccess::plotTime(*chart) / duration();
    }
    std::vector<Circle> circles(const plat::Color& color) const {
        std::vector<Circle> out;
        for (const auto* op : rec.fills()) {
            const auto b = op->bounds();
            if (op->color == color && chart->plotRect()->containsPoint(KivoPoint::create(b.midX(), b.midY())))
                out.push_back({b.midX(), b.midY(), b.size.width});
        }
        return out;
    }
    double prevX(double v) const {
        return chart->axisX()->convert(v, OmbriChartTestAccess::prevAxisXMax(*chart), OmbriChartTestAccess::prevAxisXMin(*chart));
    }
    double prevY(double v) const {
        return chart->axisY()->convert(v, OmbriChartTestAccess::prevAxisYMax(*chart), OmbriChartTestAccess::prevAxisYMin(*chart));
    }
    static double between(double from, double to, double e) { return from + (to - from) * e; }
};

}  // namespace

TEST_F(BubbleAnimationTest, InsertingAtIndexTwoMovesTheNeighboursAsideThenGrowsTheNewPoint) {
    load(OmbriChartTypeScatter);
    chart->collectionView()->insertObject(item(9), 2);
    const double e = frameAt(1, 0.5);
    auto drawn = circles(Red);
    // The new point is not drawn while the others make room.
    ASSERT_EQ(drawn.size(), 5u);
    const double ys[] = {1, 2, 3, 4, 5};
    const int now[] = {0, 1, 3, 4, 5};
    for (std::size_t k = 0; k < 5; ++k) {
        // The points after it start from their places one index lower.
        const double before = now[k] > 2 ? now[k] - 1 : now[k];
        EXPECT_NEAR(drawn[k].cx, between(prevX(before), chart->axisX()->convert(now[k]), e), 1e-6) << k;
        EXPECT_NEAR(drawn[k].cy, between(prevY(ys[k]), chart->axisY()->convert(ys[k]), e), 1e-6) << k;
        EXPECT_NEAR(drawn[k].d, chart->symbolSize(), 1e-9);
    }
    EXPECT_LT(drawn[0].cx, prevX(0) + 1e-9);  // moving left
    EXPECT_GT(drawn[2].cx, prevX(2));         // moving right

    const double g = frameAt(2, 0.5);
    drawn = circles(Red);
    ASSERT_EQ(drawn.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_NEAR(drawn[i].cx, chart->axisX()->convert(static_cast<double>(i)), 1e-6);
        EXPECT_NEAR(drawn[i].d, i == 2 ? g * chart->symbolSize() : chart->symbolSize(), 1e-6) << i;
    }
}

TEST_F(BubbleAnimationTest, ANewBubbleGrowsThroughItsOwnSizeOnly) {
    load(OmbriChartTypeBubble);
    // Sizes 10…50 before; the new one 30 draws 5 + 25 × √0.5 once grown.
    chart->collectionView()->insertObject(item(9, 30), 2);
    frameAt(1, 0.5);
    EXPECT_EQ(circles(Red).size(), 5u);
    const double g = frameAt(2, 0.4);
    const auto drawn = circles(Red);
    ASSERT_EQ(drawn.size(), 6u);
    EXPECT_NEAR(drawn[2].d, g * (5 + 25 * std::sqrt(0.5)), 1e-6);
    EXPECT_NEAR(drawn[0].d, 5, 1e-6);
    EXPECT_NEAR(drawn[5].d, 30, 1e-6);
}

TEST_F(BubbleAnimationTest, RemovingIndexOneShrinksItInPlaceThenCloses) {
    load(OmbriChartTypeBubble);
    chart->collectionView()->removeAt(1);
    const double e = frameAt(1, 0.5);
    auto drawn = circles(Red);
    // Every point where it stood; the removed one (size 20) shrinks.
    ASSERT_EQ(drawn.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_NEAR(drawn[i].cx, prevX(static_cast<double>(i)), 1e-6) << i;
        EXPECT_NEAR(drawn[i].cy, prevY(static_cast<double>(i + 1)), 1e-6) << i;
    }
    EXPECT_NEAR(drawn[1].d, (1 - e) * (5 + 25 * std::sqrt(0.25)), 1e-6);
    // The others keep their own items' sizes (the item after the removed one is now one index lower).
    EXPECT_NEAR(drawn[2].d, 5 + 25 * std::sqrt(0.5), 1e-6);
    EXPECT_NEAR(drawn[4].d, 30, 1e-6);

    const double f = frameAt(2, 0.5);
    drawn = circles(Red);
    ASSERT_EQ(drawn.size(), 4u);
    const double ys[] = {1, 3, 4, 5};
    for (std::size_t n = 0; n < 4; ++n) {
        const double before = n >= 1 ? static_cast<double>(n + 1) : 0.0;
        EXPECT_NEAR(drawn[n].cx, between(prevX(before), chart->axisX()->convert(static_cast<double>(n)), f), 1e-6) << n;
        EXPECT_NEAR(drawn[n].cy, between(prevY(ys[n]), chart->axisY()->convert(ys[n]), f), 1e-6) << n;
    }
}

TEST_F(BubbleAnimationTest, AReplacedPointMovesAlongTheValuesAlone) {
    load(OmbriChartTypeScatter);
    chart->collectionView()->replaceObjectAtIndex(2, item(8));
    const double e = frameAt(1, 0.3);
    const auto drawn = circles(Red);
    ASSERT_EQ(drawn.size(), 5u);
    const double ys[] = {1, 2, 8, 4, 5};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_NEAR(drawn[i].cx, chart->axisX()->convert(static_cast<double>(i)), 1e-6) << i;
        const double y = i == 2 ? between(prevY(3), chart->axisY()->convert(8), e) : chart->axisY()->convert(ys[i]);
        EXPECT_NEAR(drawn[i].cy, y, 1e-6) << i;
        EXPECT_NEAR(drawn[i].d, chart->symbolSize(), 1e-9);
    }
}

TEST_F(BubbleAnimationTest, ARotatedChartPlacesItemChangesWithoutEasing) {
    load(OmbriChartTypeScatter, true);
    chart->collectionView()->insertObject(item(9), 2);
    frameAt(1, 0.5);
    const auto drawn = circles(Red);
    ASSERT_EQ(drawn.size(), 5u);
    const double ys[] = {1, 2, 3, 4, 5};
    const int now[] = {0, 1, 3, 4, 5};
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_NEAR(drawn[k].cx, chart->axisX()->convert(ys[k]), 1e-6) << k;
        EXPECT_NEAR(drawn[k].cy, chart->axisY()->convert(now[k]), 1e-6) << k;
    }
}

TEST_F(BubbleAnimationTest, AnAddedSeriesGrowsAndARemovedOneShrinksWhileTheOthersStayWhole) {
    load(OmbriChartTypeScatter);
    auto b = add("B", Blue);
    double e = frameAt(1, 0.5);
    for (const auto& c : circles(Red)) EXPECT_NEAR(c.d, chart->symbolSize(), 1e-9);
    auto grown = circles(Blue);
    ASSERT_EQ(grown.size(), 5u);
    for (const auto& c : grown) EXPECT_NEAR(c.d, e * chart->symbolSize(), 1e-6);
    stepUntil([&] { return !OmbriChartTestAccess::plotting(*chart); });
    show();

    chart->series()->removeObject(plat::Value(b));
    e = frameAt(1, 0.25);
    for (const auto& c : circles(Red)) EXPECT_NEAR(c.d, chart->symbolSize(), 1e-9);
    const auto shrunk = circles(Blue);
    ASSERT_EQ(shrunk.size(), 5u);
    for (const auto& c : shrunk) EXPECT_NEAR(c.d, (1 - e) * chart->symbolSize(), 1e-6);
}

TEST_F(BubbleAnimationTest, APointByPointLoadGrowsTheLastRevealedPointByItsOwnIndex) {
    chart->setChartType(OmbriChartTypeScatter);
    auto load = KivoChartLoadAnimation::create();
    load->setAnimationMode(KivoLoadAnimationModePoint);
    load->setEasing(KivoEasing::EaseInLinear());
    load->setDuration(1.0);
    chart->setLoadAnimation(load);
    // Y missing at 1: the point at data index 2 is the second one kept.
    auto list = std::make_shared<plat::Array>();
    for (int i = 0; i < 5; ++i) list->push_back(i == 1 ? plat::Value(plat::Dictionary{{"s", 1.0}}) : item(i + 1));
    chart->setItemsSource(list);
    add("A", Red);
    window->addSubview(chart);
    show();
    // Five points over 1 s: one more every 0.2 s. At 0.5 s the points up to index 2 are out, the last
    // one half grown.
    stepUntil([&] { return OmbriChartTestAccess::plotTime(*chart) >= 0.5; });
    show();
    const double t = OmbriChartTestAccess::plotTime(*chart);
    ASSERT_LT(t, 0.6);
    const auto drawn = circles(Red);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_NEAR(drawn[0].d, chart->symbolSize(), 1e-9);
    EXPECT_NEAR(drawn[1].d, (t - 2 * 0.2) / 0.2 * chart->symbolSize(), 1e-6);
    EXPECT_NEAR(drawn[1].cx, chart->axisX()->convert(2), 1e-6);
}

TEST_F(BubbleAnimationTest, ARemovedSeriesKeepsItsPaletteColourWhileItShrinks) {
    load(OmbriChartTypeScatter);
    auto b = KivoSeries::create(chart, "v,s", "B");
    chart->series()->addObject(plat::Value(b));
    stepUntil([&] { return !OmbriChartTestAccess::plotting(*chart); });
    show();
    const plat::Color own = chart->getColor(1);
    ASSERT_EQ(circles(own).size(), 5u);
    chart->series()->removeObject(plat::Value(b));
    frameAt(1, 0.25);
    EXPECT_EQ(circles(own).size(), 5u);
}

TEST_F(BubbleAnimationTest, AMovingPointsHitAreaMovesWithItWhileItsDataPointTellsItsPlace) {
    load(OmbriChartTypeBubble);
    chart->collectionView()->insertObject(item(9, 90), 2);
    const double e = frameAt(1, 0.5);
    const auto& areas = chart->hitTester()->getHitTesterMap().at(0);
    ASSERT_EQ(areas.size(), 6u);
    const double ys[] = {1, 2, 9, 3, 4, 5};
    for (std::size_t i = 0; i < 6; ++i) {
        const auto& area = dynamic_cast<const LinePointArea&>(*areas[i]);
        // Made when asked for, from what the pass saw: the item's size and the point's own place.
        const auto point = area.tag().as<KivoChartDataPoint>();
        ASSERT_TRUE(point);
        EXPECT_EQ(point->pointIndex(), static_cast<std::int32_t>(i));
        EXPECT_EQ(point->value(), ys[i]);
        EXPECT_EQ(point->bubbleSize(), 10 * ys[i]);
        EXPECT_NEAR(point->x(), chart->axisX()->convert(static_cast<double>(i)), 1e-6) << i;
        EXPECT_NEAR(point->y(), chart->axisY()->convert(ys[i]), 1e-6) << i;
    }
    // The area of a point after the insertion stands where the point is drawn, on its way from the place
    // of the index before it.
    const auto& moving = dynamic_cast<const LinePointArea&>(*areas[3]);
    EXPECT_NEAR(moving.centerX(), between(prevX(2), chart->axisX()->convert(3), e), 1e-6);
    EXPECT_NEAR(moving.centerY(), between(prevY(3), chart->axisY()->convert(3), e), 1e-6);
}
