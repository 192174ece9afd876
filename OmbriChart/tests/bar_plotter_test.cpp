// The bar plotter through the chart's drawing pass: where the bars stand, what they are tagged with,
// how they look, stacked and reversed, and what is drawn again on top.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "KivoCore/KivoEasing.h"
#include "KivoCore/KivoEvent.h"
#include "OmbriChart/BasePlotElementRender.h"
#include "OmbriChart/KivoChartPlotElementEventArgs.h"
#include "OmbriChart/OmbrChartDataLabelData.h"
#include "OmbriChart/OmbriChartDataLabelRenderer.h"
#include "bar_chart_fixture.h"
#include "chart_test_access.h"

namespace {

const plat::Color Red = plat::Color::rgb255(200, 30, 30);
const plat::Color Blue = plat::Color::rgb255(20, 40, 220);
constexpr double GroupWidth = static_cast<double>(OmbriChartOptions::DefaultGroupWidth);

// Every label the chart asks for, as (series position, point index).
class LabelLog : public OmbriChartDataLabelRenderer {
public:
    using OmbriChartDataLabelRenderer::OmbriChartDataLabelRenderer;
    void render(const std::string&, const std::shared_ptr<KivoRect>&, std::int64_t seriesIndex, std::int64_t pointIndex, double,
                double, const plat::Value&) override {
        drawn.emplace_back(seriesIndex, pointIndex);
    }
    std::vector<std::pair<std::int64_t, std::int64_t>> drawn;
};

using BarPlotterTest = BarChartTest;

}  // namespace

TEST_F(BarPlotterTest, SlotsCountTheDrawnSeriesAndTagsCarryTheSeriesPosition) {
    struct Case {
        std::int64_t middleVisibility;
        int slots;      // bars per cluster
        int thirdSlot;  // the slot of the third series
    };
    for (const Case c : {Case{KivoSeriesVisibilityLegend, 2, 1}, Case{KivoSeriesVisibilityVisible, 3, 2}}) {
        SCOPED_TRACE(c.slots);
        freshChart();
        setItems({barRow({{"a", 1}, {"b", 2}, {"c", 3}}), barRow({{"a", 2}, {"b", 3}, {"c", 4}}),
                  barRow({{"a", 3}, {"b", 4}, {"c", 5}})});
        add("a");
        add("b", c.middleVisibility);
        add("c");
        draw();

        const double w = GroupWidth / c.slots;
        const auto third = bars(2);
        ASSERT_EQ(third.size(), 3u);
        EXPECT_EQ(bars(1).empty(), c.middleVisibility != KivoSeriesVisibilityVisible);
        for (int k = 0; k < 3; ++k) {
            const double x0 = k - GroupWidth / 2 + c.thirdSlot * w;
            expectRect(third[k].rect, sx(x0), sy(k + 3), sx(x0 + w) - sx(x0), sy(0) - sy(k + 3));
            // The tag names the series by its place in the chart's series, hidden ones counted.
            ASSERT_TRUE(third[k].point);
            EXPECT_EQ(third[k].point->seriesIndex(), 2);
            EXPECT_EQ(third[k].point->pointIndex(), k);
            EXPECT_EQ(third[k].point->value(), k + 3);
            EXPECT_NEAR(third[k].point->x(), (sx(x0) + sx(x0 + w)) / 2, 1e-9);
        }
        // A tap on the bar finds that series.
        const auto& r = third[1].rect;
        const auto hit = chart->hitTester()->hitTest(KivoPoint::create(r.left() + r.width() / 2, r.top() + r.height() / 2));
        ASSERT_TRUE(hit);
        EXPECT_EQ(hit->seriesIndex(), 2);
    }
}

TEST_F(BarPlotterTest, ABarIsFilledInItsColourAndOutlinedInsideItselfAtItsBorderWidth) {
    setItems({barRow({{"a", 4}}), barRow({{"a", 6}})});
    auto s = add("a");
    s->setColor(Red);
    s->setBorderWidth(1.5);
    draw();

    const auto drawn = bars(0);
    ASSERT_EQ(drawn.size(), 2u);
    const auto fills = barFills(Red);
    ASSERT_EQ(fills.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) {
        const auto b = fills[k]->bounds();
        expectRect(KivoRect(b.x(), b.y(), b.width(), b.height()), drawn[k].rect.left(), drawn[k].rect.top(),
                   drawn[k].rect.width(), drawn[k].rect.height());
        // The outline is twice the border width and clipped to the bar: the border width shows.
        ASSERT_TRUE(fills[k]->clip);
        EXPECT_NEAR(fills[k]->clip->width(), drawn[k].rect.width(), 0.01);
    }
    const auto* stroke = rec.findStroke(OmbriChartBase::darken(Red));
    ASSERT_TRUE(stroke);
    EXPECT_DOUBLE_EQ(stroke->lineWidth, 3.0);
}

TEST_F(BarPlotterTest, StackedSegmentsFillTheClusterAndStackUpAndDownFromZero) {
    chart->setStacking(KivoPlotterStackingStacked);
    setItems({barRow({{"a", 3}, {"b", 2}}), barRow({{"a", -2}, {"b", -1}})});
    add("a");
    add("b");
    draw();

    const auto a = bars(0), b = bars(1);
    ASSERT_EQ(a.size(), 2u);
    ASSERT_EQ(b.size(), 2u);
    auto expectSegment = [&](const DrawnBar& bar, int x, double from, double to) {
        const double left = sx(x - GroupWidth / 2), right = sx(x + GroupWidth / 2);
        expectRect(bar.rect, left, std::min(sy(from), sy(to)), right - left, std::fabs(sy(from) - sy(to)));
    };
    expectSegment(a[0], 0, 0, 3);
    expectSegment(b[0], 0, 3, 5);
    expectSegment(a[1], 1, 0, -2);
    expectSegment(b[1], 1, -2, -3);
    // The point sits in the middle of the cluster; its value is the series' own.
    EXPECT_NEAR(b[1].point->x(), sx(1), 1e-9);
    EXPECT_EQ(b[1].point->value(), -1);
}

TEST_F(BarPlotterTest, StackedPercentStacksSharesAndAZeroSumGivesEmptySegments) {
    chart->setStacking(KivoPlotterStackingStacked100);
    setItems({barRow({{"a", 3}, {"b", 1}}), barRow({{"a", 0}, {"b", 0}}), barRow({{"a", -1}, {"b", 3}})});
    add("a");
    add("b");
    draw();

    const auto a = bars(0), b = bars(1);
    ASSERT_EQ(a.size(), 3u);
    ASSERT_EQ(b.size(), 3u);
    auto expectSpan = [&](const DrawnBar& bar, double from, double to) {
        EXPECT_NEAR(bar.rect.top(), std::min(sy(from), sy(to)), 0.01);
        EXPECT_NEAR(bar.rect.height(), std::fabs(sy(from) - sy(to)), 0.01);
    };
    expectSpan(a[0], 0, 0.75);
    expectSpan(b[0], 0.75, 1);
    // Nothing to share: both segments stand at the stack's base with no length, and they are tagged.
    expectSpan(a[1], 0, 0);
    expectSpan(b[1], 0, 0);
    EXPECT_EQ(a[1].point->value(), 0);
    expectSpan(a[2], 0, -0.25);
    expectSpan(b[2], 0, 0.75);
}

TEST_F(BarPlotterTest, ReversedAxesGiveRectanglesAtTheirMinimumCornerWithPositiveSizes) {
    struct Case {
        std::int64_t type, stacking;
        bool reverseX, reverseY;
    };
    const Case cases[] = {
        {OmbriChartTypeColumn, KivoPlotterStackingNone, true, false},
        {OmbriChartTypeColumn, KivoPlotterStackingNone, false, true},
        {OmbriChartTypeColumn, KivoPlotterStackingStacked, true, true},
        {OmbriChartTypeBar, KivoPlotterStackingNone, false, true},
        {OmbriChartTypeBar, KivoPlotterStackingNone, true, false},
        {OmbriChartTypeBar, KivoPlotterStackingStacked, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " stacking " + std::to_string(c.stacking) + " x " + std::to_string(c.reverseX) +
                     " y " + std::to_string(c.reverseY));
        freshChart();
        chart->setChartType(c.type);
        chart->setStacking(c.stacking);
        chart->axisX()->setReversed(c.reverseX);
        chart->axisY()->setReversed(c.reverseY);
        setItems({barRow({{"a", 2}}), barRow({{"a", -3}}), barRow({{"a", 5}})});
        add("a");
        draw();

        const auto drawn = bars(0);
        ASSERT_EQ(drawn.size(), 3u);
        const double values[] = {2, -3, 5};
        const bool rotated = c.type == OmbriChartTypeBar;
        for (int k = 0; k < 3; ++k) {
            // One series: its slot is the whole cluster, stacked or not.
            const auto& category = rotated ? *chart->axisY() : *chart->axisX();
            const auto& value = rotated ? *chart->axisX() : *chart->axisY();
            const double c0 = category.convert(k - GroupWidth / 2), c1 = category.convert(k + GroupWidth / 2);
            const double v0 = value.convert(0), v1 = value.convert(values[k]);
            const double across = std::min(c0, c1), thickness = std::fabs(c1 - c0);
            const double along = std::min(v0, v1), length = std::fabs(v1 - v0);
            if (rotated)
                expectRect(drawn[k].rect, along, across, length, thickness);
            else
                expectRect(drawn[k].rect, across, along, thickness, length);
        }
    }
}

TEST_F(BarPlotterTest, ALogarithmicValueAxisPlacesEachBarByItsOwnConversion) {
    chart->axisY()->setLogBase(10.0);
    setItems({barRow({{"a", 10}}), barRow({{"a", 100}}), barRow({{"a", 1000}})});
    add("a");
    draw();

    const auto drawn = bars(0);
    ASSERT_EQ(drawn.size(), 3u);
    const auto fills = barFills(chart->getColor(0));
    ASSERT_EQ(fills.size(), 3u);
    const double values[] = {10, 100, 1000};
    // The base line is clamped to the axis' minimum, where no logarithm of 0 exists.
    const double base = sy(std::max(0.0, chart->axisY()->actualMin()));
    for (int k = 0; k < 3; ++k) {
        const double c0 = sx(k - GroupWidth / 2), c1 = sx(k + GroupWidth / 2), v = sy(values[k]);
        expectRect(drawn[k].rect, c0, v, c1 - c0, base - v);
        const auto b = fills[static_cast<std::size_t>(k)]->bounds();
        EXPECT_NEAR(b.y(), v, 0.01);
        EXPECT_NEAR(b.maxY(), base, 0.01);
    }
}

TEST_F(BarPlotterTest, SelectionIsDrawnAgainDashedOnTop) {
    struct Case {
        std::int64_t mode;
        std::size_t dashed;
    };
    for (const Case c : {Case{KivoChartSelectionModePoint, 1}, Case{KivoChartSelectionModeSeries, 5}}) {
        SCOPED_TRACE(c.mode);
        freshChart();
        std::vector<plat::Value> rows;
        for (int k = 0; k < 5; ++k) rows.push_back(barRow({{"a", k + 1.0}, {"b", 6.0 - k}}));
        setItems(rows);
        auto a = add("a");
        add("b")->setColor(Red);
        chart->setSelectionMode(c.mode);
        chart->setSelectionIndex(3);
        chart->setSelectedDashes({4, 2});
        chart->setSelectedBorderColor(Blue);
        chart->setSelectedBorderWidth(3);
        chart->setSelection(a);
        draw();

        std::vector<const plat::DrawOp*> dashed;
        for (const auto* op : rec.strokes())
            if (op->isDashed()) dashed.push_back(op);
        ASSERT_EQ(dashed.size(), c.dashed);
        const auto drawn = bars(0);
        const auto& selected = c.mode == KivoChartSelectionModePoint ? drawn[3].rect : drawn[0].rect;
        const auto box = dashed.front()->bounds();
        expectRect(KivoRect(box.x(), box.y(), box.width(), box.height()), selected.left(), selected.top(), selected.width(),
                   selected.height());
        EXPECT_EQ(dashed.front()->color, Blue);
        EXPECT_DOUBLE_EQ(dashed.front()->lineWidth, 3);
        // Drawn after the other series, over them.
        const auto& ops = rec.ops();
        EXPECT_LT(barFills(Red).back() - ops.data(), dashed.front() - ops.data());
    }
}

TEST_F(BarPlotterTest, RepeatedXValuesLeaveTheSmallestPositiveGapAsTheStep) {
    chart->setBindingX("x");
    setItems(
        {barRow({{"x", 0}, {"a", 1}}), barRow({{"x", 1}, {"a", 2}}), barRow({{"x", 1}, {"a", 3}}), barRow({{"x", 4}, {"a", 4}})});
    add("a");
    draw();

    const auto drawn = bars(0);
    ASSERT_EQ(drawn.size(), 4u);
    const double unit = sx(1) - sx(0);
    for (const auto& bar : drawn) EXPECT_NEAR(bar.rect.width() / unit, 0.7, 1e-6);
    EXPECT_NEAR(drawn[3].rect.left(), sx(4 - GroupWidth / 2), 0.01);
}

TEST_F(BarPlotterTest, AMissingValueIsAGapUnlessNullsAreInterpolated) {
    setItems({barRow({{"a", 1}}), barRow({{"a", NAN}}), barRow({{"a", 3}})});
    add("a");
    draw();
    auto drawn = bars(0);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[1].point->pointIndex(), 2);

    chart->setInterpolateNulls(true);
    draw();
    drawn = bars(0);
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[1].point->value(), 2);
    EXPECT_NEAR(drawn[1].rect.top(), sy(2), 0.01);
}

TEST_F(BarPlotterTest, EachSeriesDrawsTheLabelsOfThePassSoFarAnchoredOnTheTopEdge) {
    auto log = std::make_shared<LabelLog>(chart, chart->dataLabel());
    chart->setDataLabelRenderer(log);
    chart->dataLabel()->setPosition(KivoDataLabelPositionAbove);
    setItems({barRow({{"a", 2}, {"b", 1}}), barRow({{"a", -1}, {"b", 2}})});
    add("a");
    add("b");
    draw();

    using Label = std::pair<std::int64_t, std::int64_t>;
    EXPECT_EQ(log->drawn, (std::vector<Label>{{0, 0}, {0, 1}, {0, 0}, {0, 1}, {1, 0}, {1, 1}}));
    const auto& records = plotter().dataLabelData();
    ASSERT_EQ(records.size(), 4u);
    // A negative column's label stands on its top edge: the base line.
    const auto& negative = *records[1]->rect();
    expectRect(negative, bars(0)[1].rect.left(), sy(0), bars(0)[1].rect.width(), 0);

    // A new pass starts with none; so does a reset of the plotter.
    log->drawn.clear();
    draw();
    EXPECT_EQ(log->drawn.size(), 6u);
    plotter().clear();
    EXPECT_TRUE(plotter().dataLabelData().empty());
}

TEST_F(BarPlotterTest, AHitHeldAcrossPassesKeepsItsBarAndRecordsAreMadeWhenAskedFor) {
    setItems({barRow({{"a", 2}}), barRow({{"a", 5}})});
    add("a");
    draw();
    const auto centre = [](const KivoRect& r) { return KivoPoint::create(r.left() + r.width() / 2, r.top() + r.height() / 2); };
    const auto held = chart->hitTester()->hitTest(centre(bars(0)[1].rect));
    ASSERT_TRUE(held);

    // The next pass draws other bars while the earlier hit, never asked for its point yet, is held.
    setItems({barRow({{"a", 7}}), barRow({{"a", 9}}), barRow({{"a", 4}})});
    draw();
    const auto old = held->area()->tag().as<KivoChartDataPoint>();
    ASSERT_TRUE(old);
    EXPECT_EQ(old->pointIndex(), 1);
    EXPECT_EQ(old->value(), 5);
    const auto now = chart->hitTester()->hitTest(centre(bars(0)[1].rect));
    ASSERT_TRUE(now);
    const auto point = now->area()->tag().as<KivoChartDataPoint>();
    EXPECT_EQ(point->value(), 9);
    EXPECT_EQ(point->valueX(), plat::Value(chart->axisX()->formatValue(1)));

    // No label is shown, yet the records of the pass are there when asked for, as the bars tell them.
    const auto& records = plotter().dataLabelData();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1]->pointIndex(), 1);
    EXPECT_EQ(records[1]->dataY(), 9);
    EXPECT_EQ(records[1]->valueX(), point->valueX());
    expectRect(*records[1]->rect(), bars(0)[1].rect.left(), sy(9), bars(0)[1].rect.width(), 0);
}

TEST_F(BarPlotterTest, APointWithoutARectangleGetsNoBarAndNoHitArea) {
    setItems({barRow({{"a", 1}}), barRow({{"a", 2}})});
    auto s = add("a");
    s->setColor(Red);
    draw();
    ASSERT_EQ(bars(0).size(), 2u);

    // A change that no update flag announces: the dispatch has no rectangle to give.
    OmbriChartTestAccess::setUpdateEventArgs(
        *chart, std::make_shared<KivoNotifyCollectionChangedEventArgs>(KivoNotifyCollectionChangedActionAdd));
    draw();
    EXPECT_TRUE(bars(0).empty());
    EXPECT_TRUE(barFills(Red).empty());
}

TEST_F(BarPlotterTest, ThePlotElementEventDrawsTheBarsItsHandlersChoose) {
    setItems({barRow({{"a", 1}, {"b", 2}}), barRow({{"a", 2}, {"b", 3}}), barRow({{"a", 3}, {"b", 4}})});
    add("a", KivoSeriesVisibilityHidden);
    add("b")->setColor(Red);
    std::vector<std::int32_t> seen;
    const auto owner = std::make_shared<int>(0);
    chart->plotElementLoading()->addHandler(KivoEventBlock([&](const std::shared_ptr<KivoEventContainer>& c) {
                                                const auto args = c->args<KivoChartPlotElementEventArgs>();
                                                ASSERT_TRUE(args && args->dataPoint());
                                                seen.push_back(args->dataPoint()->seriesIndex());
                                                if (args->dataPoint()->pointIndex() == 1) args->defaultRender()->execute();
                                            }),
                                            owner);
    draw();

    EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 1, 1}));
    EXPECT_EQ(barFills(Red).size(), 1u);
    // Every bar has its hit area whoever drew it.
    EXPECT_EQ(bars(1).size(), 3u);
}

TEST_F(BarPlotterTest, AnAddedItemMovesTheBarsFromTheirLastPictureToTheirNextOne) {
    auto rows = [](bool withAdded) {
        std::vector<plat::Value> r{barRow({{"a", 12}, {"b", 8}}), barRow({{"a", 16}, {"b", 11}}), barRow({{"a", 10}, {"b", 14}}),
                                   barRow({{"a", 18}, {"b", 9}})};
        if (withAdded) r.insert(r.begin() + 2, barRow({{"a", 14}, {"b", 13}}));
        return r;
    };
    // The picture after the change, drawn at once.
    setItems(rows(true));
    add("a");
    add("b");
    draw();
    const std::vector<DrawnBar> after[] = {bars(0), bars(1)};

    freshChart();
    setItems(rows(false));
    add("a");
    add("b");
    draw();
    const std::vector<DrawnBar> before[] = {bars(0), bars(1)};
    chart->setIsAnimated(true);
    for (const auto& animation : {chart->updateAnimation(), std::static_pointer_cast<KivoAnimation>(chart->loadAnimation())}) {
        animation->setDuration(0.5);
        animation->setEasing(KivoEasing::EaseInLinear());
    }
    chart->collectionView()->insertObject(rows(true)[2], 2);
    ASSERT_TRUE(OmbriChartTestAccess::isUpdateTask1(*chart));

    // The first frame: every bar where it stood, the new one without length.
    draw();
    for (int s = 0; s < 2; ++s) {
        const auto now = bars(s);
        ASSERT_EQ(now.size(), 5u);
        for (int k = 0; k < 5; ++k) {
            SCOPED_TRACE(std::to_string(s) + "/" + std::to_string(k));
            if (k == 2) {
                EXPECT_NEAR(now[k].rect.height(), 0, 1e-9);
                continue;
            }
            const auto& was = before[s][k < 2 ? k : k - 1].rect;
            expectRect(now[k].rect, was.left(), was.top(), was.width(), was.height());
        }
    }
    // Both tasks played out: the picture of the new data.
    for (int frame = 0; frame < 90; ++frame) {
        clock.advance(1.0 / 60);
        if (window->needsDisplayInTree()) window->display(rec);
    }
    ASSERT_FALSE(OmbriChartTestAccess::plotting(*chart));
    draw();
    for (int s = 0; s < 2; ++s) {
        const auto now = bars(s);
        ASSERT_EQ(now.size(), 5u);
        for (int k = 0; k < 5; ++k)
            expectRect(now[k].rect, after[s][k].rect.left(), after[s][k].rect.top(), after[s][k].rect.width(),
                       after[s][k].rect.height());
    }
}

TEST_F(BarPlotterTest, APointByPointLoadGrowsTheRevealedColumnsInTurn) {
    std::vector<plat::Value> rows;
    for (int k = 0; k < 5; ++k) rows.push_back(barRow({{"a", 10}}));
    setItems(rows);
    add("a");
    chart->setIsAnimated(true);
    const auto& load = chart->loadAnimation();
    load->setAnimationMode(KivoLoadAnimationModePoint);
    load->setDuration(1);
    load->setEasing(KivoEasing::EaseInLinear());
    draw();  // starts the animation
    ASSERT_TRUE(OmbriChartTestAccess::plotting(*chart));
    while (OmbriChartTestAccess::plotTime(*chart) < 0.3) clock.advance(1.0 / 60);
    draw();

    // Bars reveal all their points in half the duration, a step of 0.5 / 4 apart, each growing over 0.5.
    const double t = OmbriChartTestAccess::plotTime(*chart), step = 0.125, grow = 0.5, full = sy(0) - sy(10);
    const auto drawn = bars(0);
    ASSERT_EQ(drawn.size(), static_cast<std::size_t>(t / step) + 1);
    for (std::size_t k = 0; k < drawn.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(drawn[k].rect.height(), full * (t - step * k) / grow, 1e-6);
        EXPECT_NEAR(drawn[k].rect.bottom(), sy(0), 1e-6);
    }
}

TEST_F(BarPlotterTest, AHostThatDrawsABarGetsTheCustomViewOverIt) {
    // Answers the element hook: draws the first bar itself, hands the others back.
    class Host : public OmbriChartDelegate {
    public:
        unsigned answeredMethods() const override { return HandlePlotElementLoading; }
        bool handlePlotElementLoading(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<IKivoRenderEngine>&,
                                      const std::shared_ptr<KivoRect>&, std::int32_t pointIndex,
                                      const std::shared_ptr<KivoPoint>&, std::int32_t seriesIndex,
                                      const std::shared_ptr<plat::Object>&) override {
            asked.emplace_back(seriesIndex, pointIndex);
            return pointIndex == 0;
        }
        std::vector<std::pair<std::int32_t, std::int32_t>> asked;
    };
    setItems({barRow({{"a", 3}}), barRow({{"a", 5}})});
    add("a")->setColor(Red);
    auto host = std::make_shared<Host>();
    chart->setDelegate(host);
    chart->setIsHandleXFPlotElementLoading(true);
    auto view = plat::View::create({0, 0, 1, 1});
    chart->setCustomPlotElement(view);
    draw();

    EXPECT_EQ(host->asked, (std::vector<std::pair<std::int32_t, std::int32_t>>{{0, 0}, {0, 1}}));
    // The host drew the first bar; the plotter drew the second.
    const auto fills = barFills(Red);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_NEAR(fills[0]->bounds().x(), bars(0)[1].rect.left(), 0.01);
    EXPECT_EQ(view->superview().get(), chart.get());
    const auto first = bars(0)[0].rect;
    EXPECT_NEAR(view->frame().x(), first.left(), 1e-9);
    EXPECT_NEAR(view->frame().height(), first.height(), 1e-9);
}
