// The finance plotter through the chart's drawing pass: where candles and high-low-open-close marks
// stand upright, rotated and on a reversed value axis, how they look, what they register and label,
// how they grow while the chart loads and how they move while it replays an edit of its items.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "KivoCore/KivoEasing.h"
#include "KivoCore/KivoSortDescription.h"
#include "KivoCore/KivoEvent.h"
#include "OmbriChart/KivoChartPlotElementEventArgs.h"
#include "OmbriChart/KivoFinancePlotter.h"
#include "OmbriChart/OmbriChartDataLabelRenderer.h"
#include "bar_chart_fixture.h"
#include "chart_test_access.h"
#include "plotters/KivoFinancePlotterArea.h"

namespace {

const plat::Color Red = plat::Color::rgb255(200, 30, 30);
const plat::Color Green = plat::Color::rgb255(20, 160, 40);
constexpr double Tolerance = 0.01;

// One item: X, high, low, open, close (NaN: the null value).
plat::Value candle(double x, double hi, double lo, double op, double cl) {
    return barRow({{"x", x}, {"hi", hi}, {"lo", lo}, {"op", op}, {"cl", cl}});
}

// Every label asked for: series position, point index, anchor, value.
class LabelLog : public OmbriChartDataLabelRenderer {
public:
    using OmbriChartDataLabelRenderer::OmbriChartDataLabelRenderer;
    struct Entry {
        std::int64_t series, point;
        KivoRect anchor;
        double value;
    };
    void render(const std::string&, const std::shared_ptr<KivoRect>& rect, std::int64_t seriesIndex, std::int64_t pointIndex,
                double, double value, const plat::Value&) override {
        drawn.push_back({seriesIndex, pointIndex, *rect, value});
    }
    std::vector<Entry> drawn;
};

struct Variant {
    const char* name;
    bool rotated, reversed, reversedPosition;
};
constexpr Variant Variants[] = {{"upright", false, false, false},
                                {"rotated", true, false, false},
                                {"reversed", false, true, false},
                                {"rotated, reversed", true, true, false},
                                {"reversed position axis", false, false, true},
                                {"rotated, reversed position axis", true, false, true}};

class FinanceTest : public BarChartTest {
protected:
    void SetUp() override {
        BarChartTest::SetUp();
        chart->setChartType(OmbriChartTypeCandlestick);
    }
    void applyVariant(const Variant& v) {
        chart->setRotated(v.rotated);
        valueAxis()->setReversed(v.reversed);
        positionAxis()->setReversed(v.reversedPosition);
    }
    std::shared_ptr<KivoSeries> addFinance(const std::string& prefix = "", std::int64_t visibility = KivoSeriesVisibilityVisible) {
        auto s = KivoSeries::create(chart, prefix + "hi," + prefix + "lo," + prefix + "op," + prefix + "cl", prefix + "s");
        s->setBindingX("x");
        s->setVisibility(visibility);
        s->setColor(Red);
        chart->series()->addObject(plat::Value(s));
        return s;
    }
    const std::shared_ptr<KivoAxis>& positionAxis() const { return chart->rotated() ? chart->axisY() : chart->axisX(); }
    const std::shared_ptr<KivoAxis>& valueAxis() const { return chart->rotated() ? chart->axisX() : chart->axisY(); }
    double sp(double v) const { return positionAxis()->convert(v); }
    double sv(double v) const { return valueAxis()->convert(v); }

    // A rectangle across the position axis from p0 to p1 and along the value axis from v0 to v1, in
    // view points, normalised.
    KivoRect markRect(double p0, double p1, double v0, double v1) const {
        const double a = std::min(p0, p1), b = std::max(p0, p1), c = std::min(v0, v1), d = std::max(v0, v1);
        return chart->rotated() ? KivoRect(c, a, d - c, b - a) : KivoRect(a, c, b - a, d - c);
    }
    // The mark of width `w` in X units centred on x, from v0 to v1.
    KivoRect mark(double x, double w, double v0, double v1) const {
        return markRect(sp(x - w / 2), sp(x + w / 2), sv(v0), sv(v1));
    }
    // A line along the value axis at X x.
    KivoRect along(double x, double v0, double v1) const { return markRect(sp(x), sp(x), sv(v0), sv(v1)); }

    // The drawn operations of `kind` whose bounds are `r`.
    int count(const std::vector<const plat::DrawOp*>& ops, const KivoRect& r) const {
        int n = 0;
        for (const auto* op : ops) {
            const auto b = op->bounds();
            if (std::fabs(b.x() - r.left()) < Tolerance && std::fabs(b.y() - r.top()) < Tolerance &&
                std::fabs(b.width() - r.width()) < Tolerance && std::fabs(b.height() - r.height()) < Tolerance)
                ++n;
        }
        return n;
    }
    const plat::DrawOp* strokeAt(const KivoRect& r) const {
        for (const auto* op : rec.strokes()) {
            const auto b = op->bounds();
            if (std::fabs(b.x() - r.left()) < Tolerance && std::fabs(b.y() - r.top()) < Tolerance &&
                std::fabs(b.width() - r.width()) < Tolerance && std::fabs(b.height() - r.height()) < Tolerance)
                return op;
        }
        return nullptr;
    }

    struct Mark {
        KivoRect rect;
        std::shared_ptr<KivoChartDataPoint> point;
    };
    std::vector<Mark> marks(std::int32_t position) const {
        std::vector<Mark> out;
        for (const auto& bar : bars(position)) out.push_back({bar.rect, bar.point});
        return out;
    }
    std::vector<KivoRect> rects(std::int32_t position) const {
        std::vector<KivoRect> out;
        for (const auto& bar : bars(position)) out.push_back(bar.rect);
        return out;
    }
    KivoFinancePlotter& finance() { return dynamic_cast<KivoFinancePlotter&>(*chart->financePlotter()); }

    // Animation: frame by frame until a frame is due in the state `due` asks for, which is drawn.
    void animate(double duration) {
        chart->updateAnimation()->setDuration(duration);
        chart->updateAnimation()->setEasing(KivoEasing::EaseInLinear());
        chart->loadAnimation()->setDuration(duration);
        chart->loadAnimation()->setEasing(KivoEasing::EaseInLinear());
        chart->setIsAnimated(true);
    }
};

void expectRects(const std::vector<KivoRect>& actual, const std::vector<KivoRect>& expected, const char* what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t k = 0; k < actual.size(); ++k) {
        SCOPED_TRACE(::testing::Message() << what << ", mark " << k);
        expectRect(actual[k], expected[k].left(), expected[k].top(), expected[k].width(), expected[k].height());
    }
}

}  // namespace

// ---- Geometry and look ----

TEST_F(FinanceTest, ARisingCandleIsHollowAFallingOneFilledWithWicksToHighAndLowInEveryOrientation) {
    for (const auto& v : Variants) {
        SCOPED_TRACE(v.name);
        freshChart();
        chart->setChartType(OmbriChartTypeCandlestick);
        setItems({candle(3, 13, 9, 10, 12), candle(4, 13, 9, 12, 10)});
        addFinance();
        applyVariant(v);
        draw();

        const double w = OmbriChartOptions::DefaultCandleWidth;
        const auto drawn = marks(0);
        ASSERT_EQ(drawn.size(), 2u);
        for (int k = 0; k < 2; ++k) {
            const double x = 3 + k;
            expectRect(drawn[k].rect, mark(x, w, 13, 9).left(), mark(x, w, 13, 9).top(), mark(x, w, 13, 9).width(),
                       mark(x, w, 13, 9).height());
            // The body's outline, then the wicks from its ends to the high and the low.
            EXPECT_EQ(count(rec.strokes(), mark(x, w, 10, 12)), 1);
            EXPECT_EQ(count(rec.strokes(), along(x, 12, 13)), 1);
            EXPECT_EQ(count(rec.strokes(), along(x, 9, 10)), 1);
            ASSERT_TRUE(drawn[k].point);
            EXPECT_EQ(drawn[k].point->high(), 13);
            EXPECT_EQ(drawn[k].point->low(), 9);
            EXPECT_EQ(drawn[k].point->open(), k == 0 ? 10 : 12);
            EXPECT_EQ(drawn[k].point->dataX(), x);
        }
        // Only the falling candle is filled in the series colour; the rising one is filled clear.
        std::vector<const plat::DrawOp*> red, clear;
        for (const auto* op : rec.fills()) (op->color == Red ? red : clear).push_back(op);
        EXPECT_EQ(count(red, mark(4, w, 10, 12)), 1);
        EXPECT_EQ(count(red, mark(3, w, 10, 12)), 0);
        EXPECT_EQ(count(clear, mark(3, w, 10, 12)), 1);
    }
}

TEST_F(FinanceTest, HighLowOpenCloseTicksReachAThirdOfAUnitAndAHalfWhateverTheCandleWidth) {
    for (const auto& v : Variants) {
        SCOPED_TRACE(v.name);
        freshChart();
        chart->setChartType(OmbriChartTypeHighLowOpenClose);
        chart->options()->setCandleWidth(0.2f);
        setItems({candle(3, 13, 9, 10, 12)});
        addFinance();
        applyVariant(v);
        draw();
        EXPECT_EQ(count(rec.strokes(), along(3, 9, 13)), 1);
        // The open tick on the side of smaller view coordinates, the close tick on the other, also on a
        // reversed position axis.
        const double reach = std::fabs(sp(3.35) - sp(3));
        EXPECT_EQ(count(rec.strokes(), markRect(sp(3) - reach, sp(3), sv(10), sv(10))), 1);
        EXPECT_EQ(count(rec.strokes(), markRect(sp(3), sp(3) + reach, sv(12), sv(12))), 1);
        expectRects(rects(0), {mark(3, 0.7, 9, 13)}, "the hit area");
    }
}

TEST_F(FinanceTest, StrokeWidthsAndTheSelectionLook) {
    struct Case {
        const char* name;
        std::int64_t type;
        double symbolBorderWidth, borderWidth;
        std::int64_t selectionMode;
        double selectedWidth;
        double widths[2];  // the wick of each mark
    };
    const Case cases[] = {
        {"candle: the border width wins", OmbriChartTypeCandlestick, 2, 3, KivoChartSelectionModeNone, 2, {3, 3}},
        {"candle: the symbol border width", OmbriChartTypeCandlestick, 2, 0, KivoChartSelectionModeNone, 2, {2, 2}},
        {"candle: neither", OmbriChartTypeCandlestick, 0, 0, KivoChartSelectionModeNone, 2, {1.5, 1.5}},
        {"marks ignore both", OmbriChartTypeHighLowOpenClose, 2, 3, KivoChartSelectionModeNone, 2, {1.5, 1.5}},
        {"selected series keeps the wider normal width", OmbriChartTypeCandlestick, 0, 0, KivoChartSelectionModeSeries, 1.0,
         {1.5, 1.5}},
        {"selected series", OmbriChartTypeCandlestick, 0, 0, KivoChartSelectionModeSeries, 4, {4, 4}},
        {"point mode styles the selected point only", OmbriChartTypeCandlestick, 0, 0, KivoChartSelectionModePoint, 4, {1.5, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        freshChart();
        chart->setChartType(c.type);
        setItems({candle(3, 13, 9, 10, 12), candle(4, 13, 9, 12, 10)});
        auto s = addFinance();
        s->setSymbolBorderWidth(c.symbolBorderWidth);
        s->setBorderWidth(c.borderWidth);
        chart->setSelectedBorderColor(Green);
        chart->setSelectedBorderWidth(c.selectedWidth);
        chart->setSelectionMode(c.selectionMode);
        chart->setSelectionIndex(1);
        if (c.selectionMode != KivoChartSelectionModeNone) chart->setSelection(s);
        draw();
        for (int k = 0; k < 2; ++k) {
            // The upper wick, or the high-low line.
            const auto* stroke = strokeAt(along(3 + k, 13, c.type == OmbriChartTypeCandlestick ? 12 : 9));
            ASSERT_TRUE(stroke) << k;
            EXPECT_DOUBLE_EQ(stroke->lineWidth, c.widths[k]) << k;
            const bool selectedLook = c.selectionMode == KivoChartSelectionModeSeries ||
                                      (c.selectionMode == KivoChartSelectionModePoint && k == 1);
            EXPECT_EQ(stroke->color == Green, selectedLook) << k;
        }
    }
}

TEST_F(FinanceTest, MissingValues) {
    setItems({candle(1, 13, NAN, 10, 12), candle(2, NAN, 9, 12, 10), candle(3, 13, 9, 12, 10)});
    addFinance();
    draw();
    const double w = OmbriChartOptions::DefaultCandleWidth;
    const auto drawn = marks(0);
    ASSERT_EQ(drawn.size(), 3u);
    // No low: the body and the upper wick; the hit area spans what is drawn.
    EXPECT_EQ(count(rec.strokes(), mark(1, w, 10, 12)), 1);
    EXPECT_EQ(count(rec.strokes(), along(1, 12, 13)), 1);
    EXPECT_EQ(count(rec.strokes(), along(1, 10, 10 - 1)), 0);
    expectRects({drawn[0].rect}, {mark(1, w, 10, 13)}, "no low");
    // No high: the point's value is NaN, not its index.
    EXPECT_TRUE(std::isnan(drawn[1].point->value()));
    EXPECT_EQ(drawn[2].point->value(), 13);
}

TEST_F(FinanceTest, OnlyMarksOnThePositionAxisGetHitAreasAndLabels) {
    for (const auto& v : Variants) {
        SCOPED_TRACE(v.name);
        freshChart();
        auto log = std::make_shared<LabelLog>(chart, chart->dataLabel());
        chart->setDataLabelRenderer(log);
        chart->dataLabel()->setPosition(KivoDataLabelPositionAbove);
        setItems({candle(1, 13, 9, 10, 12), candle(2, 13, 9, 12, 11), candle(3, 13, 9, 10, 12), candle(4, 13, 9, 10, 12)});
        addFinance();
        addFinance();
        applyVariant(v);
        positionAxis()->setMin(plat::Value(1.5));
        positionAxis()->setMax(plat::Value(3.5));
        draw();
        for (std::int32_t s = 0; s < 2; ++s) {
            const auto drawn = marks(s);
            ASSERT_EQ(drawn.size(), 2u);
            EXPECT_EQ(drawn[0].point->pointIndex(), 1);
            EXPECT_EQ(drawn[1].point->pointIndex(), 2);
            EXPECT_EQ(drawn[1].point->seriesIndex(), s);
        }
        ASSERT_EQ(log->drawn.size(), 4u);
        const auto& label = log->drawn[0];
        EXPECT_EQ(label.series, 0);
        EXPECT_EQ(label.point, 1);
        EXPECT_EQ(label.value, 11);
        // At the close.
        const KivoRect at = along(2, 11, 11);
        EXPECT_NEAR(label.anchor.left(), at.left(), Tolerance);
        EXPECT_NEAR(label.anchor.top(), at.top(), Tolerance);
    }
}

TEST_F(FinanceTest, OnATimeAxisTheCandleWidthIsInDays) {
    constexpr double Day = 86400;
    const auto dated = [](double seconds, double hi) {
        return plat::Value(
            plat::Dictionary{{"x", plat::Value(plat::Date(seconds))}, {"hi", hi}, {"lo", 9.0}, {"op", 10.0}, {"cl", 12.0}});
    };
    setItems({dated(10 * Day, 13), dated(12 * Day, 14)});
    addFinance();
    draw();
    ASSERT_TRUE(chart->axisX()->isTimeAxis());
    const auto drawn = rects(0);
    ASSERT_EQ(drawn.size(), 2u);
    const double w = static_cast<double>(OmbriChartOptions::DefaultCandleWidth) * Day;
    EXPECT_NEAR(drawn[0].width(), sp(10 * Day + w) - sp(10 * Day), 1e-6);
    EXPECT_NEAR(drawn[0].left() + drawn[0].width() / 2, sp(10 * Day), 1e-6);
}

TEST_F(FinanceTest, ASortedViewReadsEveryValueOfACandleFromTheSameItem) {
    setItems({candle(3, 30, 20, 22, 28), candle(1, 10, 1, 2, 8), candle(2, 20, 10, 18, 12)});
    chart->collectionView()->sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("x", true)));
    addFinance();
    draw();
    const auto drawn = marks(0);
    ASSERT_EQ(drawn.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(drawn[k].point->high(), 10.0 * (k + 1));
        EXPECT_EQ(drawn[k].point->low(), k == 0 ? 1 : 10.0 * k);
        EXPECT_EQ(drawn[k].point->close(), k == 0 ? 8 : k == 1 ? 12 : 28);
    }
}

TEST_F(FinanceTest, LimitsWidenOverEverySeriesLowOpenAndCloseAndTheXAxisOrigin) {
    setItems({candle(1, 13, 9, 10, 12), candle(2, 14, 5, 6, 30)});
    addFinance();
    // A hidden series reading other members still counts.
    auto hidden = KivoSeries::create(chart, "hi,x,x,hi", "h");
    hidden->setVisibility(KivoSeriesVisibilityLegend);
    chart->series()->addObject(plat::Value(hidden));
    draw();
    const auto limits = finance().adjustLimits(finance().dataInfo(), std::nullopt);
    ASSERT_TRUE(limits);
    EXPECT_EQ(limits->top(), 1);  // the hidden series' low is its X
    EXPECT_EQ(limits->top() + limits->height(), 30);
    chart->axisX()->setOrigin(-4);
    EXPECT_EQ(finance().adjustLimits(finance().dataInfo(), std::nullopt)->top(), -4);
    EXPECT_TRUE(KivoFinancePlotter::getValue(candle(1, 2, 3, 4, 5), std::nullopt).isNull());
    EXPECT_EQ(KivoFinancePlotter::getValue(candle(1, 2, 3, 4, 5), "lo").asDouble(), 3);
}

// ---- Animation ----

TEST_F(FinanceTest, LoadingGrowsEachMarkFromItsMiddle) {
    setItems({candle(1, 20, 10, 12, 18)});
    addFinance();
    draw();
    animate(1.0);
    OmbriChartTestAccess::_startLoadingAnimationTask(*chart);
    drawFrameWhen([this] { return OmbriChartTestAccess::plotTime(*chart) >= 0.5; });
    const double f = finance().time();
    ASSERT_NEAR(f, 0.5, 0.02);
    const double w = OmbriChartOptions::DefaultCandleWidth;
    expectRects(rects(0), {mark(1, w, 15 + 5 * f, 15 - 5 * f)}, "grown by f");
    const auto point = marks(0)[0].point;
    EXPECT_NEAR(point->high(), 15 + 5 * f, 1e-9);
    EXPECT_NEAR(point->open(), 15 - 3 * f, 1e-9);
}

class FinanceUpdateTest : public FinanceTest {
protected:
    // Three series; the middle one is hidden and reads other values, so the third keeps its values at
    // position 2 of the chart's saved values.
    void build(const Variant& v) {
        freshChart();
        chart->setChartType(OmbriChartTypeCandlestick);
        setItems({row(1, 20, 10, 12, 18), row(2, 24, 14, 22, 16), row(3, 30, 20, 22, 28)});
        addFinance("a");
        addFinance("b", KivoSeriesVisibilityLegend);
        addFinance("c");
        applyVariant(v);
        draw();
        animate(0.5);
    }
    // The third series reads the values given; the others read values far away.
    static plat::Value row(double x, double hi, double lo, double op, double cl) {
        return barRow({{"x", x},       {"chi", hi},     {"clo", lo},     {"cop", op},     {"ccl", cl},     {"ahi", hi + 1},
                       {"alo", lo - 1}, {"aop", op},     {"acl", cl},     {"bhi", hi * 3}, {"blo", lo * 3}, {"bop", op * 3},
                       {"bcl", cl * 3}});
    }
    std::vector<KivoRect> staticFrame() {
        chart->setIsAnimated(false);
        draw();
        const auto r = rects(2);
        chart->setIsAnimated(true);
        return r;
    }
};

TEST_F(FinanceUpdateTest, ARemovalShrinksTheItemInTheOldLayoutThenSlidesTheRestFromWhereTheyStood) {
    for (const auto& v : Variants) {
        SCOPED_TRACE(v.name);
        build(v);
        const auto before = rects(2);
        ASSERT_EQ(before.size(), 3u);
        chart->collectionView()->removeAt(1);
        // Task 1 starts on the static frame: the removed item from the edit, the one after it from the
        // item that now stands one place earlier.
        drawFrameWhen([this] { return OmbriChartTestAccess::isUpdateTask1(*chart); });
        ASSERT_EQ(finance().time(), 0);
        expectRects(rects(2), before, "task 1 starts on the static frame");
        EXPECT_EQ(marks(2)[2].point->close(), 28);
        // Task 2 starts where task 1 left the remaining items.
        drawFrameWhen([this] { return OmbriChartTestAccess::isUpdateTask2(*chart); });
        ASSERT_EQ(finance().time(), 0);
        expectRects(rects(2), {before[0], before[2]}, "task 2 starts on the old layout");
        finish();
        const auto end = rects(2);
        expectRects(end, staticFrame(), "the animation ends on the static frame");
    }
}

TEST_F(FinanceUpdateTest, AnInsertedItemWaitsWhileTheOthersMakeRoomThenGrows) {
    for (const auto& v : Variants) {
        SCOPED_TRACE(v.name);
        build(v);
        const auto before = rects(2);
        // In the middle, and above the old value range.
        chart->collectionView()->insertObject(row(1.5, 40, 30, 32, 38), 1);
        drawFrameWhen([this] { return OmbriChartTestAccess::isUpdateTask1(*chart); });
        expectRects(rects(2), before, "task 1 starts on the static frame without the new item");
        drawFrameWhen([this] { return OmbriChartTestAccess::isUpdateTask2(*chart); });
        const auto second = rects(2);
        ASSERT_EQ(second.size(), 4u);
        // The new item has no length yet.
        EXPECT_NEAR(chart->rotated() ? second[1].width() : second[1].height(), 0, Tolerance);
        finish();
        const auto end = rects(2);
        expectRects(end, staticFrame(), "the animation ends on the static frame");
    }
}

TEST_F(FinanceUpdateTest, AReplacedItemMovesFromItsOldValues) {
    for (const auto& v : Variants) {
        SCOPED_TRACE(v.name);
        build(v);
        const auto before = rects(2);
        chart->collectionView()->replaceObjectAtIndex(1, row(2, 22, 15, 16, 21));
        drawFrameWhen([this] { return OmbriChartTestAccess::isUpdateTask1(*chart); });
        ASSERT_EQ(finance().time(), 0);
        expectRects(rects(2), before, "the replay starts on the static frame");
        finish();
        const auto end = rects(2);
        expectRects(end, staticFrame(), "the animation ends on the static frame");
    }
}

TEST_F(FinanceTest, AnElementHandlerSeesTheMarksValuesAndRecoloursTheCandle) {
    setItems({candle(1, 13, 9, 10, 12), candle(2, 14, 8, 12, 10)});
    addFinance();
    addFinance("", KivoSeriesVisibilityLegend);
    addFinance();
    std::vector<std::shared_ptr<KivoChartDataPoint>> seen;
    const auto owner = std::make_shared<int>(0);
    chart->plotElementLoading()->addHandler(KivoEventBlock([&](const std::shared_ptr<KivoEventContainer>& c) {
                                                const auto args = c->args<KivoChartPlotElementEventArgs>();
                                                seen.push_back(args->dataPoint());
                                                args->setCandleFillColor(Green);
                                            }),
                                            owner);
    draw();
    ASSERT_EQ(seen.size(), 4u);
    const auto& point = seen[3];
    ASSERT_TRUE(point);
    EXPECT_EQ(point->seriesIndex(), 2);  // the third series' place, the hidden one counted
    EXPECT_EQ(point->pointIndex(), 1);
    EXPECT_EQ(point->high(), 14);
    EXPECT_EQ(point->low(), 8);
    EXPECT_EQ(point->open(), 12);
    EXPECT_EQ(point->close(), 10);
    // The hit area hands back the very point the handlers saw.
    EXPECT_EQ(marks(2)[1].point, point);
    // Both candles, the rising one too, are filled as the handler chose; the mark is still drawn.
    const double w = OmbriChartOptions::DefaultCandleWidth;
    std::vector<const plat::DrawOp*> green;
    for (const auto* op : rec.fills())
        if (op->color == Green) green.push_back(op);
    EXPECT_EQ(count(green, mark(1, w, 10, 12)), 2);
    EXPECT_EQ(count(rec.strokes(), along(2, 12, 14)), 2);
}

TEST_F(FinanceTest, APointByPointLoadRevealsAndGrowsOneMarkAfterAnother) {
    setItems({candle(1, 20, 10, 12, 18), candle(2, 20, 10, 12, 18), candle(3, 20, 10, 12, 18), candle(4, 20, 10, 12, 18)});
    addFinance();
    draw();
    animate(1.0);
    chart->loadAnimation()->setAnimationMode(KivoLoadAnimationModePoint);
    OmbriChartTestAccess::_startLoadingAnimationTask(*chart);
    drawFrameWhen([this] { return OmbriChartTestAccess::plotTime(*chart) >= 0.6; });
    const double t = OmbriChartTestAccess::plotTime(*chart);
    ASSERT_LT(t, 0.75);
    // A point every quarter of the duration, each growing over a quarter: two whole, the third growing.
    const auto drawn = rects(0);
    ASSERT_EQ(drawn.size(), 3u);
    const double w = OmbriChartOptions::DefaultCandleWidth;
    const double f = (t - 0.5) / 0.25;
    expectRects(drawn, {mark(1, w, 10, 20), mark(2, w, 10, 20), mark(3, w, 15 - 5 * f, 15 + 5 * f)}, "revealed");
}
