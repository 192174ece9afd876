// What the bubble plotter draws in a still chart: bubbles sized by their values, scatter symbols,
// hit areas, data labels with the kept point's own index and values, stacking and the selection.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ChartCore/KivoHitAreas.h"
#include "ChartCore/KivoHitTester.h"
#include "OmbriChart/BasePlotElementRender.h"
#include "OmbriChart/KivoBubblePlotter.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoChartPlotElementEventArgs.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChartDataLabelRenderer.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "plotters/LinePointArea.h"
#include "test_chart.h"

namespace {

const plat::Color Red = plat::Color::rgb255(200, 0, 0);
const plat::Color Blue = plat::Color::rgb255(0, 0, 200);
const plat::Color Gold = plat::Color::rgb255(250, 200, 0);

struct Circle {
    double cx, cy, d;
};

// One label call of the bubble form.
struct LabelCall {
    std::string series;
    std::int64_t seriesIndex, pointIndex;
    double x, y;
    std::string valueX;
    double bubbleSize;
    KivoRect rect;
};

class RecordingLabels : public OmbriChartDataLabelRenderer {
public:
    using OmbriChartDataLabelRenderer::OmbriChartDataLabelRenderer;
    void render(const std::string& name, const std::shared_ptr<KivoRect>& rect, std::int64_t seriesIndex, std::int64_t pointIndex,
                double x, double y, const plat::Value& valueX, double bubbleSize) override {
        calls.push_back({name, seriesIndex, pointIndex, x, y, valueX.asString(), bubbleSize, *rect});
    }
    std::vector<LabelCall> calls;
};

// Items with X in "x", Y in "v" and the bubble size in "s"; NaN Y is a missing value.
plat::ArrayPtr itemsOf(const std::vector<double>& v, const std::vector<plat::Value>& s) {
    auto list = std::make_shared<plat::Array>();
    for (std::size_t i = 0; i < v.size(); ++i) {
        plat::Dictionary d{{"x", 10.0 * static_cast<double>(i + 1)}, {"s", s[i]}};
        if (!std::isnan(v[i])) d["v"] = v[i];
        list->push_back(plat::Value(std::move(d)));
    }
    return list;
}

class BubbleDrawTest : public ChartInWindowTest<TestChart> {
protected:
    std::shared_ptr<RecordingLabels> labels;

    void SetUp() override {
        chart->setIsAnimated(false);
        chart->setChartType(OmbriChartTypeBubble);
        window->addSubview(chart);
    }
    std::shared_ptr<KivoSeries> add(const std::string& binding, const std::string& name, const plat::Color& color) {
        auto s = KivoSeries::create(chart, binding, name);
        s->setSymbolColor(color);
        chart->series()->addObject(plat::Value(s));
        return s;
    }
    void withLabels() {
        labels = std::make_shared<RecordingLabels>(chart, chart->dataLabel());
        chart->dataLabel()->setPosition(KivoDataLabelPositionAbove);
        chart->setDataLabelRenderer(labels);
    }
    void draw() {
        rec.clear();
        if (labels) labels->calls.clear();
        chart->invalidate();
        window->display(rec);
    }
    // The symbols filled in `color` in the plot area (not the legend's), in drawing order.
    std::vector<Circle> circles(const plat::Color& color) const { return circles(rec, color); }
    std::vector<Circle> circles(const plat::RecordingContext& from, const plat::Color& color) const {
        std::vector<Circle> out;
        for (const auto* op : from.fills()) {
            const auto b = op->bounds();
            if (op->color == color && inPlot(*op)) out.push_back({b.midX(), b.midY(), b.size.width});
        }
        return out;
    }
    bool inPlot(const plat::DrawOp& op) const {
        const auto b = op.bounds();
        return chart->plotRect()->containsPoint(KivoPoint::create(b.midX(), b.midY()));
    }
    std::size_t areasOf(std::int32_t series) const {
        const auto& map = chart->hitTester()->getHitTesterMap();
        const auto it = map.find(series);
        return it == map.end() ? 0 : it->second.size();
    }
};

}  // namespace

TEST_F(BubbleDrawTest, BubblesTakeTheirSizeFromTheirValuesAtTheirPoints) {
    chart->setBindingX("x");
    chart->setItemsSource(itemsOf({1, 2, 3, 4}, {10, 20, 40, 40}));
    add("v,s", "A", Red);
    draw();
    const auto drawn = circles(Red);
    ASSERT_EQ(drawn.size(), 4u);
    const double expected[] = {5, 5 + 25 * std::sqrt(1.0 / 3), 30, 30};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(drawn[i].d, expected[i], 1e-6) << i;
        EXPECT_NEAR(drawn[i].cx, chart->axisX()->convert(10.0 * static_cast<double>(i + 1)), 1e-6);
        EXPECT_NEAR(drawn[i].cy, chart->axisY()->convert(static_cast<double>(i + 1)), 1e-6);
    }
    // The hit radius is the symbol size, whatever the drawn size.
    const auto& areas = chart->hitTester()->getHitTesterMap().at(0);
    ASSERT_EQ(areas.size(), 4u);
    for (const auto& area : areas) EXPECT_EQ(dynamic_cast<const LinePointArea&>(*area).radius(), chart->symbolSize());
}

TEST_F(BubbleDrawTest, ScatterSymbolsIgnoreTheSizes) {
    chart->setChartType(OmbriChartTypeScatter);
    chart->setItemsSource(itemsOf({1, 2, 3}, {10, 20, 40}));
    add("v,s", "A", Red);
    draw();
    const auto drawn = circles(Red);
    ASSERT_EQ(drawn.size(), 3u);
    for (const auto& c : drawn) EXPECT_NEAR(c.d, chart->symbolSize(), 1e-9);
}

TEST_F(BubbleDrawTest, ABubbleWithoutANumericSizeIsNotDrawnButKeepsItsHitAreaAndLabel) {
    withLabels();
    chart->setItemsSource(itemsOf({1, 2, 3}, {10, "big", 40}));
    add("v,s", "A", Red);
    // No size member at all.
    add("v", "B", Blue);
    draw();
    EXPECT_EQ(circles(Red).size(), 2u);
    EXPECT_EQ(circles(Blue).size(), 0u);
    EXPECT_EQ(areasOf(0), 3u);
    EXPECT_EQ(areasOf(1), 3u);
    ASSERT_EQ(labels->calls.size(), 6u);
    EXPECT_EQ(labels->calls[1].bubbleSize, 0.0);
    EXPECT_EQ(labels->calls[2].bubbleSize, 40.0);
    EXPECT_EQ(labels->calls[4].bubbleSize, 0.0);
}

TEST_F(BubbleDrawTest, PointsAfterASkippedOneKeepTheirOwnIndex) {
    withLabels();
    // Y missing at 1; sizes 10, 20, 30, 40: the bubble at index 2 is the one of size 30.
    chart->setItemsSource(itemsOf({1, NAN, 3, 4}, {10, 20, 30, 40}));
    add("v,s", "A", Red);
    draw();
    const auto drawn = circles(Red);
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_NEAR(drawn[1].d, 5 + 25 * std::sqrt(20.0 / 30), 1e-6);
    EXPECT_EQ(areasOf(0), 3u);
    ASSERT_EQ(labels->calls.size(), 3u);
    const std::int64_t indices[] = {0, 2, 3};
    const double ys[] = {1, 3, 4};
    for (std::size_t k = 0; k < 3; ++k) {
        const auto& call = labels->calls[k];
        EXPECT_EQ(call.pointIndex, indices[k]);
        EXPECT_EQ(call.y, ys[k]);
        // No X values: the X that was plotted is the index.
        EXPECT_EQ(call.x, static_cast<double>(indices[k]));
        EXPECT_EQ(call.bubbleSize, 10.0 * static_cast<double>(indices[k] + 1));
        EXPECT_EQ(call.seriesIndex, 0);
        // The label text is the value as the value axis formats it.
        EXPECT_EQ(call.valueX, chart->axisY()->formatValue(ys[k]));
    }

    // Interpolated, the missing point is drawn and labelled with the value drawn.
    chart->setInterpolateNulls(true);
    draw();
    EXPECT_EQ(circles(Red).size(), 4u);
    ASSERT_EQ(labels->calls.size(), 4u);
    EXPECT_EQ(labels->calls[1].pointIndex, 1);
    EXPECT_EQ(labels->calls[1].y, 2.0);
}

TEST_F(BubbleDrawTest, ARotatedChartFormatsTheLabelWithTheAxisThatCarriesTheValues) {
    withLabels();
    chart->setRotated(true);
    chart->setItemsSource(itemsOf({1000, 2000}, {10, 40}));
    add("v,s", "A", Red);
    draw();
    ASSERT_EQ(labels->calls.size(), 2u);
    EXPECT_EQ(labels->calls[1].valueX, chart->axisX()->formatValue(2000));
    // The values run along X.
    const auto drawn = circles(Red);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_NEAR(drawn[1].cx, chart->axisX()->convert(2000), 1e-6);
    EXPECT_NEAR(drawn[1].cy, chart->axisY()->convert(1), 1e-6);
}

TEST_F(BubbleDrawTest, StackedSeriesSumEveryValue) {
    chart->setChartType(OmbriChartTypeScatter);
    chart->setStacking(KivoPlotterStackingStacked);
    chart->setItemsSource(itemsOf({1, 2}, {0, 0}));
    add("v", "A", Red);
    auto b = add("v", "B", Blue);
    b->setItemsSource(itemsOf({-3, 5}, {0, 0}));
    draw();
    const auto top = circles(Blue);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_NEAR(top[0].cy, chart->axisY()->convert(-2), 1e-6);
    EXPECT_NEAR(top[1].cy, chart->axisY()->convert(7), 1e-6);
}

TEST_F(BubbleDrawTest, HitAreasTellTheStackedValueWhereTheirPointIsDrawn) {
    chart->setChartType(OmbriChartTypeScatter);
    chart->setStacking(KivoPlotterStackingStacked);
    // The first item of B has no value: B's areas start at its second item.
    chart->setItemsSource(itemsOf({1, 2, 4}, {0, 0, 0}));
    add("v", "A", Red);
    auto b = add("v", "B", Blue);
    b->setItemsSource(itemsOf({NAN, 5, -1}, {0, 0, 0}));
    draw();
    ASSERT_EQ(areasOf(1), 2u);
    const auto& areas = chart->hitTester()->getHitTesterMap().at(1);
    const double stacked[] = {7, 3};
    for (std::size_t k = 0; k < 2; ++k) {
        const auto& area = dynamic_cast<const LinePointArea&>(*areas[k]);
        const auto point = area.tag().as<KivoChartDataPoint>();
        ASSERT_TRUE(point);
        EXPECT_EQ(point->pointIndex(), static_cast<std::int32_t>(k + 1));
        EXPECT_EQ(point->value(), stacked[k]);
        EXPECT_EQ(point->bubbleSize(), 0.0);
        EXPECT_NEAR(area.centerY(), chart->axisY()->convert(stacked[k]), 1e-6);
        EXPECT_EQ(point->y(), area.centerY());
    }
}

TEST_F(BubbleDrawTest, TheSelectedSeriesIsDrawnOnceOnTopInTheSelectionStyle) {
    withLabels();
    chart->setChartType(OmbriChartTypeScatter);
    chart->setItemsSource(itemsOf({1, 2, 3}, {0, 0, 0}));
    auto a = add("v", "A", Red);
    add("v", "B", Blue);
    chart->setSelectedBorderColor(Gold);
    chart->setSelectedBorderWidth(1);
    chart->setSelectedDashes({3, 2});
    chart->setSelectionMode(KivoChartSelectionModeSeries);
    chart->setSelection(a);
    draw();
    EXPECT_EQ(circles(Red).size(), 3u);
    const auto& ops = rec.ops();
    const auto firstRed = std::find_if(ops.begin(), ops.end(), [](const auto& op) { return op.color == Red; });
    EXPECT_TRUE(std::none_of(firstRed, ops.end(), [&](const auto& op) { return op.color == Blue && inPlot(op); }));
    std::size_t gold = 0;
    for (const auto* op : rec.strokes())
        if (op->color == Gold && inPlot(*op)) {
            ++gold;
            EXPECT_EQ(op->userLineWidth, 2.0);
            EXPECT_TRUE(op->isDashed());
        }
    EXPECT_EQ(gold, 3u);
    // Its labels come with it, once each, after the other series'.
    ASSERT_EQ(labels->calls.size(), 6u);
    EXPECT_EQ(labels->calls[3].series, "A");
    EXPECT_EQ(labels->calls[5].pointIndex, 2);

    // Point mode: only the selected point shows the selected border.
    chart->setSelectionMode(KivoChartSelectionModePoint);
    chart->setSelectionIndex(1);
    draw();
    gold = 0;
    for (const auto* op : rec.strokes()) gold += op->color == Gold && inPlot(*op);
    EXPECT_EQ(gold, 1u);
    EXPECT_EQ(circles(Red).size(), 3u);
}

TEST_F(BubbleDrawTest, HitAreasCarryTheDataPointAtTheSeriesPosition) {
    chart->setItemsSource(itemsOf({1, NAN, 3}, {10, 20, 30}));
    chart->setXlabels({"a", "b"});
    // A hidden series before it: the drawn series is the first drawn but the second of the chart.
    add("v,s", "Hidden", Blue)->setVisibility(KivoSeriesVisibilityHidden);
    add("v,s", "A", Red);
    draw();
    ASSERT_EQ(areasOf(1), 2u);
    const auto& areas = chart->hitTester()->getHitTesterMap().at(1);
    const auto last = areas.back()->tag().as<KivoChartDataPoint>();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->seriesIndex(), 1);
    EXPECT_EQ(last->seriesName(), "A");
    EXPECT_EQ(last->pointIndex(), 2);
    EXPECT_EQ(last->bubbleSize(), 30.0);
    EXPECT_EQ(last->value(), 3.0);
    EXPECT_EQ(last->dataX(), 2.0);
    // Past the category labels: the X as the category axis formats it.
    EXPECT_EQ(last->valueX().asString(), chart->axisX()->formatValue(2));
    EXPECT_EQ(areas.front()->tag().as<KivoChartDataPoint>()->valueX().asString(), "a");
}

TEST_F(BubbleDrawTest, ThePlotElementEventIsRaisedForEachBubbleWithItsDrawnSize) {
    chart->setItemsSource(itemsOf({1, 2}, {10, 40}));
    add("v,s", "A", Red);
    std::vector<std::int32_t> points;
    const auto owner = std::make_shared<int>(0);
    chart->plotElementLoading()->addHandler(KivoEventBlock([&](const std::shared_ptr<KivoEventContainer>& c) {
                                                const auto args = c->args<KivoChartPlotElementEventArgs>();
                                                ASSERT_TRUE(args);
                                                points.push_back(args->dataPoint()->pointIndex());
                                                // The handler draws with the default renderer.
                                                args->defaultRender()->execute();
                                            }),
                                            owner);
    draw();
    EXPECT_EQ(points, (std::vector<std::int32_t>{0, 1}));
    const auto drawn = circles(Red);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_NEAR(drawn[0].d, 5, 1e-6);
    EXPECT_NEAR(drawn[1].d, 30, 1e-6);
}

TEST_F(BubbleDrawTest, ABubblesLabelStandsClearOfTheBubble) {
    withLabels();
    chart->setItemsSource(itemsOf({1, 2, 3}, {10, 40, "big"}));
    add("v,s", "A", Red);
    draw();
    ASSERT_EQ(labels->calls.size(), 3u);
    const double sides[] = {5, 30, chart->symbolSize()};  // the last bubble is not drawn
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_NEAR(labels->calls[k].rect.width(), sides[k], 1e-9) << k;
        EXPECT_NEAR(labels->calls[k].rect.top() + sides[k] / 2, chart->axisY()->convert(static_cast<double>(k + 1)), 1e-9);
    }
}
