#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "KivoCore/KivoRenderState.h"
#include "OmbriChart/BasePlotElementRender.h"
#include "OmbriChart/KivoAreaPlotter.h"
#include "OmbriChart/KivoBarPlotter.h"
#include "OmbriChart/KivoBubblePlotter.h"
#include "OmbriChart/KivoChartPlotElementEventArgs.h"
#include "OmbriChart/KivoFinancePlotter.h"
#include "OmbriChart/KivoLinePlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/foundation/exception.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/font_attribute_cases.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/view.h"
#include "chart_test_access.h"
#include "recording_plotter.h"
#include "test_chart.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
const plat::Color Red = plat::Color::rgb255(220, 0, 0);
const plat::Color Green = plat::Color::rgb255(0, 160, 0);
const plat::Color Blue = plat::Color::rgb255(0, 0, 220);

class PlotterTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    plat::RecordingContext rec;
    plat::CurrentContextScope current{rec};
    std::shared_ptr<TestChart> chart = TestChart::create();
    std::shared_ptr<IKivoRenderEngine> engine = chart->renderEngine();

    std::shared_ptr<KivoSeries> add(const std::string& name, std::int64_t type = 0, std::int64_t visibility = 0) {
        auto s = KivoSeries::create(chart, "v", name);
        s->setChartType(type);
        s->setVisibility(visibility);
        chart->series()->addObject(plat::Value(s));
        return s;
    }
    std::vector<plat::Rect> strokeBounds() const {
        std::vector<plat::Rect> out;
        for (const auto* op : rec.strokes()) out.push_back(op->bounds());
        return out;
    }
};

// A delegate that answers the host hook of plot elements.
class HostDelegate : public OmbriChartDelegate {
public:
    unsigned answeredMethods() const override { return HandlePlotElementLoading; }
    bool handlePlotElementLoading(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<IKivoRenderEngine>&,
                                  const std::shared_ptr<KivoRect>& rect, std::int32_t pointIndex,
                                  const std::shared_ptr<KivoPoint>&, std::int32_t seriesIndex,
                                  const std::shared_ptr<plat::Object>& renderer) override {
        asked.push_back({rect->left(), rect->top(), rect->width(), rect->height()});
        lastPoint = pointIndex;
        lastSeries = seriesIndex;
        lastRenderer = renderer;
        return drawsItself;
    }
    bool drawsItself = false;
    std::vector<plat::Rect> asked;
    std::int32_t lastPoint = -1, lastSeries = -1;
    std::shared_ptr<plat::Object> lastRenderer;
};

}  // namespace

// ---- The pool ----

TEST_F(PlotterTest, EachChartTypeGetsItsFamilyWithItsVariantAndTheChartsRotation) {
    struct Case {
        std::int64_t chartType, seriesType;
        bool rotated;
        const char* family;
        int symbols, lines, spline;  // -1: not a line-family plotter
        bool plotterRotated;
    };
    const Case cases[] = {
        {1, 0, false, "bar", -1, -1, -1, false},     {2, 0, false, "bar", -1, -1, -1, true},  // bars lie down
        {2, 0, true, "bar", -1, -1, -1, false},                                               // a rotated bar chart stands up
        {1, 2, false, "bar", -1, -1, -1, false},  // a bar series in a column chart stands up
        {2, 4, false, "line", 0, 1, 0, true},     // every series of a bar chart lies down
        {1, 0, true, "bar", -1, -1, -1, true},       {3, 0, false, "bubble", 1, 0, 0, false},
        {4, 0, false, "line", 0, 1, 0, false},       {5, 0, false, "line", 1, 1, 0, false},
        {4, 10, false, "line", 0, 1, 1, false},      {11, 0, false, "line", 1, 1, 1, false},
        {7, 0, false, "bubble", 1, 0, 0, false},     {6, 0, false, "area", -1, -1, -1, false},
        {12, 0, false, "area", -1, -1, -1, false},   {8, 0, false, "finance", -1, -1, -1, false},
        {9, 0, false, "finance", -1, -1, -1, false},
    };
    for (const auto& c : cases) {
        chart->setChartType(c.chartType);
        chart->setRotated(c.rotated);
        auto s = KivoSeries::create(chart, "v", "s");
        s->setChartType(c.seriesType);
        const auto p = OmbriChartTestAccess::_getPlotter(*chart, s);
        ASSERT_TRUE(p) << c.chartType << "/" << c.seriesType;
        const std::string label = std::to_string(c.chartType) + "/" + std::to_string(c.seriesType);
        const std::string family = p == chart->barPlotter()      ? "bar"
                                   : p == chart->linePlotter()   ? "line"
                                   : p == chart->areaPlotter()   ? "area"
                                   : p == chart->bubblePlotter() ? "bubble"
                                                                 : "finance";
        EXPECT_EQ(family, c.family) << label;
        EXPECT_EQ(p->rotated(), c.plotterRotated) << label;
        EXPECT_EQ(p->dataInfo(), chart->dataInfo()) << label;
        EXPECT_EQ(p->hitTester(), chart->hitTester()) << label;
        if (const auto line = std::dynamic_pointer_cast<KivoLinePlotter>(p)) {
            EXPECT_EQ(line->hasSymbols(), c.symbols == 1) << label;
            EXPECT_EQ(line->hasLines(), c.lines == 1) << label;
            EXPECT_EQ(line->isSpline(), c.spline == 1) << label;
        }
        const std::int64_t effective = c.seriesType ? c.seriesType : c.chartType;
        if (const auto area = std::dynamic_pointer_cast<KivoAreaPlotter>(p)) {
            EXPECT_EQ(area->isSpline(), effective == 12);
        }
        if (const auto finance = std::dynamic_pointer_cast<KivoFinancePlotter>(p)) {
            EXPECT_EQ(finance->isCandle(), effective == 8);
        }
    }
    // One plotter per family for the chart's lifetime.
    EXPECT_EQ(OmbriChartTestAccess::_getPlotter(*chart, nullptr), OmbriChartTestAccess::_getPlotter(*chart, nullptr));

    // No plotter serves a type outside 1…12, on the chart or on a series.
    for (const std::int64_t bad : {0, 13, -1}) {
        chart->setChartType(bad);
        EXPECT_FALSE(OmbriChartTestAccess::_getPlotter(*chart, nullptr)) << bad;
    }
    chart->setChartType(OmbriChartTypeLine);
    auto odd = KivoSeries::create(chart, "v", "odd");
    odd->setChartType(99);
    EXPECT_FALSE(OmbriChartTestAccess::_getPlotter(*chart, odd));
}

TEST_F(PlotterTest, ClearingResetsOnlyThePlottersMadeSoFarInTheirOrder) {
    auto recording = RecordingChart::create();
    OmbriChartTestAccess::_clearPlotters(*recording);
    EXPECT_TRUE(recording->log->empty());
    recording->financePlotter();
    recording->linePlotter();
    recording->areaPlotter();
    OmbriChartTestAccess::_clearPlotters(*recording);
    EXPECT_EQ(*recording->log, (CallLog{"area clear", "line clear", "finance clear"}));
}

// ---- Chart queries ----

TEST_F(PlotterTest, NullsAreInterpolatedFromTheNearestValidNeighbours) {
    const auto values = [](std::vector<plat::Value> v) { return std::make_shared<plat::Array>(std::move(v)); };
    struct Case {
        const char* name;
        plat::ArrayPtr values;
        std::int32_t index, count;
        double expected;
    };
    const Case cases[] = {
        {"both sides", values({1, NaN, 3}), 1, 3, 2.0},
        {"only after", values({NaN, 4}), 0, 2, 4.0},
        {"only before: the line carries on at it", values({100, 102, "NULL"}), 2, 3, 102.0},
        {"placeholders are skipped", values({2, "NULL", "NULL", 8}), 1, 4, 5.0},
        {"infinities are skipped", values({std::numeric_limits<double>::infinity(), NaN, 6}), 1, 3, 6.0},
        {"neither side", values({NaN, NaN}), 0, 2, NaN},
        {"count limits the search", values({NaN, NaN, 9}), 0, 1, NaN},
        {"nil array", nullptr, 0, 3, NaN},
    };
    for (const auto& c : cases) {
        const double got = chart->getInterpolatedValue(c.values, c.index, c.count);
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(got)) << c.name << ": " << got;
        else
            EXPECT_DOUBLE_EQ(got, c.expected) << c.name;
    }
}

TEST_F(PlotterTest, ASeriesIsSelectedOnlyWhenItIsTheSelectionItself) {
    auto first = add("Sales", OmbriChartTypeLine);
    auto twin = add("Sales", OmbriChartTypeLine);  // same name, binding and type
    const auto base = KivoBasePlotter::create(chart);
    EXPECT_FALSE(chart->isSeriesSelected(first));
    EXPECT_FALSE(chart->isSeriesSelected(nullptr));

    chart->setSelection(twin);
    EXPECT_TRUE(chart->isSeriesSelected(twin));
    EXPECT_FALSE(chart->isSeriesSelected(first));
    EXPECT_FALSE(chart->isSeriesSelected(nullptr));

    // The plotters' test by selection mode: series mode ignores the indices, point mode needs them equal.
    struct Case {
        std::int64_t mode;
        std::shared_ptr<KivoSeries> series;
        std::int32_t selected, current;
        bool expected;
    };
    for (const auto& c :
         {Case{KivoChartSelectionModeSeries, twin, 1, 2, true}, Case{KivoChartSelectionModeSeries, first, 1, 1, false},
          Case{KivoChartSelectionModePoint, twin, 3, 3, true}, Case{KivoChartSelectionModePoint, twin, 3, 4, false},
          Case{KivoChartSelectionModeNone, twin, 0, 0, false}}) {
        chart->setSelectionMode(c.mode);
        EXPECT_EQ(base->isSelected(c.series, c.selected, c.current), c.expected)
            << c.mode << " " << c.selected << "/" << c.current;
    }
    chart->setSelection(nullptr);
    chart->setSelectionMode(KivoChartSelectionModeSeries);
    EXPECT_FALSE(base->isSelected(twin, 0, 0));
}

TEST_F(PlotterTest, PlotElementEventReachesHandlersOnlyWhenThereAreSome) {
    int raised = 0;
    std::shared_ptr<plat::Object> sender;
    auto args = std::make_shared<KivoChartPlotElementEventArgs>(engine, nullptr, nullptr, nullptr);
    chart->onPlotElementLoading(args);  // no handlers: nothing
    const auto owner = std::make_shared<int>(0);
    chart->plotElementLoading()->addHandler(KivoEventBlock([&](const std::shared_ptr<KivoEventContainer>& c) {
                                                ++raised;
                                                sender = c->sender();
                                            }),
                                            owner);
    chart->onPlotElementLoading(args);
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(sender, std::static_pointer_cast<plat::Object>(chart));
}

TEST_F(PlotterTest, FontDescriptorAttributesNameTheFont) {
    EXPECT_EQ(chart->getDescriptor({{"NSFontFamilyAttribute", "DejaVu Serif"}, {"NSFontSizeAttribute", 17.0}}),
              plat::Font("DejaVu Serif", 17));
    EXPECT_TRUE(chart->getDescriptor({{"NSFontNameAttribute", "HelveticaNeue-Bold"}}).isBold());
    EXPECT_EQ(chart->getDescriptor({{"NSFontSizeAttribute", -3.0}}).size, plat::Font().size);
    for (const auto& c : plat::testing::fontAttributeCases()) EXPECT_EQ(chart->getDescriptor(c.attributes), c.font) << c.what;
}

// ---- The base plotter ----

TEST_F(PlotterTest, TheBaseMeasuresAndCountsButDrawsOnlyInASubclass) {
    const auto base = KivoBasePlotter::create(chart);
    EXPECT_EQ(base->symbolSize(), 8.0);
    EXPECT_EQ(base->origin(), 0);
    EXPECT_EQ(base->chart(), chart);

    add("a", 0, 0);
    add("b", 0, 1);
    add("c", 0, 2);
    add("d", 0, 3);
    add("e", 0, 1);
    EXPECT_EQ(base->getRealLen(chart->series()->sourceArray()), 3);
    EXPECT_EQ(base->getRealLen({}), 0);

    auto info = KivoDataInfo::create();
    info->setMinX(0);
    info->setMaxX(10);
    info->setMinY(-5);
    info->setMaxY(5);
    auto r = base->adjustLimits(info, 10.0);
    EXPECT_TRUE(r->isEqual(KivoRect::create(0, -5, 10, 10)));
    EXPECT_EQ(base->dataInfo(), info);
    base->setRotated(true);
    r = base->adjustLimits(info, std::nullopt);
    EXPECT_TRUE(r->isEqual(KivoRect::create(-5, 0, 10, 10)));
    EXPECT_TRUE(std::isnan(base->adjustLimits(KivoDataInfo::create(), std::nullopt)->left()));

    KivoDataInfo::StackDictionary pos, neg;
    try {
        base->plotSeries(nullptr, engine, nullptr, nullptr, 0, 0, 0, -1, 1, pos, neg);
        ADD_FAILURE() << "no exception";
    } catch (const plat::InternalInconsistencyException& e) {
        EXPECT_STREQ(
            e.what(),
            "You must override plotSeries:engine:axisX:axisY:index:realIndex:count:selectedIndex:chartType:stackPos:stackNeg: "
            "in a subclass");
    }
    EXPECT_THROW(base->redoSelection(engine), plat::InternalInconsistencyException);
    // Over a list whose series are all hidden the loop plots nothing and still ends in the selection.
    plat::Array hidden{chart->series()->objectAtIndex(2), chart->series()->objectAtIndex(3)};
    EXPECT_THROW(base->plotSeriesCollection(hidden, engine, nullptr, nullptr, nullptr, 0, pos, neg),
                 plat::InternalInconsistencyException);
}

// ---- Element renderers ----

TEST_F(PlotterTest, SymbolRenderersDrawTheirMarkerWithTheEnginesFill) {
    engine->setFill(Blue);
    engine->setStroke(Green);
    DefaultPlotElementRender(engine, 50, 40, 2, 10, Red, 0).execute();
    DefaultPlotElementRender(engine, 80, 40, 0, 6, Red, 1).execute();
    ASSERT_EQ(rec.fills().size(), 2u);
    EXPECT_EQ(rec.fills()[0]->bounds(), plat::Rect(45, 35, 10, 10));
    EXPECT_EQ(rec.strokes()[0]->color, Red);
    EXPECT_EQ(rec.fills()[1]->bounds(), plat::Rect(77, 37, 6, 6));
    EXPECT_EQ(rec.fills()[1]->color, Blue);
    // A border width of 0 keeps the engine's stroke, which the circle above set.
    EXPECT_EQ(rec.strokes()[1]->color, Red);

    // An unknown marker draws nothing but still takes its border.
    rec.clear();
    DefaultPlotElementRender(engine, 0, 0, 1, 10, Green, 2).execute();
    EXPECT_TRUE(rec.ops().empty());
    EXPECT_EQ(engine->getStroke(), Green);
    EXPECT_EQ(engine->getStrokeThickness(), 1);
}

TEST_F(PlotterTest, BarRendererClipsItsOutlineToTheBar) {
    engine->setFill(Blue);
    DefaultBarElementRender(engine, 10, 20, 30, 40).execute();
    ASSERT_EQ(rec.fills().size(), 1u);
    EXPECT_EQ(rec.fills()[0]->bounds(), plat::Rect(10, 20, 30, 40));
    ASSERT_TRUE(rec.strokes()[0]->clip);
    EXPECT_EQ(*rec.strokes()[0]->clip, plat::Rect(10, 20, 30, 40));
    // The clip ends with the bar.
    engine->drawLine(0, 0, 100, 100);
    EXPECT_FALSE(rec.strokes().back()->clip);
}

TEST_F(PlotterTest, FinanceRenderersDrawBodiesWicksAndTicks) {
    struct Case {
        const char* name;
        double x, y, w, hi, lo, open, close;
        bool candle, rotated, reversed;
        std::vector<plat::Rect> fills, strokes;  // strokes: body outline first, for candles
    };
    const Case cases[] = {
        {"candle",
         100,
         0,
         10,
         5,
         30,
         10,
         20,
         true,
         false,
         false,
         {{95, 10, 10, 10}},
         {{95, 10, 10, 10}, {100, 5, 0, 5}, {100, 20, 0, 10}}},
        {"candle on a reversed axis",
         100,
         0,
         10,
         30,
         5,
         10,
         20,
         true,
         false,
         true,
         {{95, 10, 10, 10}},
         {{95, 10, 10, 10}, {100, 20, 0, 10}, {100, 5, 0, 5}}},
        {"rotated candle",
         0,
         50,
         8,
         40,
         2,
         10,
         30,
         true,
         true,
         false,
         {{10, 46, 20, 8}},
         {{10, 46, 20, 8}, {30, 50, 10, 0}, {2, 50, 8, 0}}},
        {"candle without open", 100, 0, 10, 5, 30, NaN, 20, true, false, false, {}, {}},
        {"open equal to close: a flat body and both wicks",
         100,
         0,
         10,
         5,
         30,
         15,
         15,
         true,
         false,
         false,
         {{95, 15, 10, 0}},
         {{95, 15, 10, 0}, {100, 5, 0, 10}, {100, 15, 0, 15}}},
        {"mark", 100, 0, 10, 5, 30, 10, 20, false, false, false, {}, {{100, 5, 0, 25}, {95, 10, 5, 0}, {100, 20, 5, 0}}},
        {"mark without open", 100, 0, 10, 5, 30, NaN, 20, false, false, false, {}, {{100, 5, 0, 25}, {100, 20, 5, 0}}},
        {"rotated mark", 0, 50, 10, 40, 2, 10, 30, false, true, false, {}, {{2, 50, 38, 0}, {10, 45, 0, 5}, {30, 50, 0, 5}}},
    };
    for (const auto& c : cases) {
        rec.clear();
        DefaultFinanceElementRender(engine, c.x, c.y, c.w, c.hi, c.lo, c.open, c.close, c.candle, c.rotated, c.reversed)
            .execute();
        std::vector<plat::Rect> fills;
        for (const auto* op : rec.fills()) fills.push_back(op->bounds());
        EXPECT_EQ(fills, c.fills) << c.name;
        EXPECT_EQ(strokeBounds(), c.strokes) << c.name;
    }
}

// ---- Element drawing paths ----

TEST_F(PlotterTest, ElementsTakeTheDefaultTheEventOrTheHostPath) {
    auto series = add("Sales");
    add("Other");
    auto third = add("Third");
    const auto base = KivoBasePlotter::create(chart);
    engine->setFill(Blue);
    const auto symbol = [&] { return std::make_shared<DefaultPlotElementRender>(engine, 50, 50, 0, 10, std::nullopt, 0); };
    auto point = KivoChartDataPoint::create();
    point->setValue(42);

    // Path 0: the renderer draws.
    EXPECT_EQ(base->getPlotElementPath(), KivoPlotElementEventPathDefault);
    base->drawPlotElement(base->getPlotElementPath(), engine, symbol(), third, 4, 50, 45, nullptr, point, 2);
    EXPECT_EQ(rec.fills().size(), 1u);

    // Path 1: the handlers decide, with the engine's look put back after them.
    std::shared_ptr<KivoChartPlotElementEventArgs> seen;
    const auto owner = std::make_shared<int>(0);
    chart->plotElementLoading()->addHandler(KivoEventBlock([&](const std::shared_ptr<KivoEventContainer>& c) {
                                                seen = c->args<KivoChartPlotElementEventArgs>();
                                                seen->renderEngine()->setFill(Red);
                                                seen->defaultRender()->execute();
                                            }),
                                            owner);
    EXPECT_EQ(base->getPlotElementPath(), KivoPlotElementEventPathEvent);
    rec.clear();
    base->drawPlotElement(KivoPlotElementEventPathEvent, engine, symbol(), third, 4, 50, 45, nullptr, point, 2);
    ASSERT_TRUE(seen);
    EXPECT_EQ(rec.fills().at(0)->color, Red);
    EXPECT_EQ(engine->getFill(), Blue);
    const auto& info = seen->hitTestInfo();
    EXPECT_EQ(info->point()->x(), 50);
    EXPECT_EQ(info->point()->y(), 45);
    EXPECT_EQ(info->dataPoint()->pointIndex(), 4);
    EXPECT_EQ(info->dataPoint()->seriesIndex(), 2);  // its position in the chart's series
    EXPECT_EQ(info->dataPoint()->seriesName(), "Third");
    EXPECT_EQ(info->dataPoint()->value(), 42);
    EXPECT_EQ(seen->dataPoint(), point);

    // Path 2: the host's hook; when it draws, the custom view stands over the element.
    auto host = std::make_shared<HostDelegate>();
    chart->setDelegate(host);
    chart->setIsHandleXFPlotElementLoading(true);
    EXPECT_EQ(base->getPlotElementPath(), KivoPlotElementEventPathDelegate);
    rec.clear();
    base->drawPlotElement(KivoPlotElementEventPathDelegate, engine, symbol(), series, 7, 50, 45, KivoRect::create(45, 45, 10, 10),
                          point, 3);
    EXPECT_EQ(rec.fills().size(), 1u);  // the host did not draw: the renderer did
    EXPECT_EQ(host->asked.back(), plat::Rect(45, 45, 10, 10));
    EXPECT_EQ(host->lastPoint, 7);
    EXPECT_EQ(host->lastSeries, 3);
    EXPECT_TRUE(std::dynamic_pointer_cast<DefaultPlotElementRender>(host->lastRenderer));

    host->drawsItself = true;
    auto custom = plat::View::create({0, 0, 1, 1});
    chart->setCustomPlotElement(custom);
    rec.clear();
    base->drawPlotElement(KivoPlotElementEventPathDelegate, engine, symbol(), series, 7, 50, 45, KivoRect::create(45, 45, 10, 10),
                          point, 3);
    EXPECT_TRUE(rec.fills().empty());
    EXPECT_EQ(custom->frame(), plat::Rect(45, 45, 10, 10));
    EXPECT_EQ(custom->superview(), chart);
}

TEST_F(PlotterTest, FinanceElementsAreDrawnAfterTheHandlersInTheirColours) {
    auto series = add("Stock", OmbriChartTypeCandlestick);
    const auto finance = std::dynamic_pointer_cast<KivoFinancePlotter>(chart->financePlotter());
    ASSERT_TRUE(finance);
    auto point = KivoChartDataPoint::create();
    point->setOpen(11);
    point->setClose(12);
    point->setHigh(13);
    point->setLow(10);
    engine->setFill(Blue);
    engine->setStroke(Green);

    std::shared_ptr<KivoChartPlotElementEventArgs> seen;
    const auto owner = std::make_shared<int>(0);
    chart->plotElementLoading()->addHandler(KivoEventBlock([&](const std::shared_ptr<KivoEventContainer>& c) {
                                                seen = c->args<KivoChartPlotElementEventArgs>();
                                                seen->setCandleFillColor(Red);
                                                seen->setCandleBorderColor(Red);
                                            }),
                                            owner);
    finance->setElementStyle(Green, true);  // selected: keeps its own stroke
    OmbriChartTestAccess::_drawFinanceElement(*finance, engine, 100, 0, 10, 5, 30, 10, 20, series, 0, 3, false, false,
                                              KivoPlotElementEventPathEvent, point);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->hitTestInfo()->dataPoint()->open(), 11);
    EXPECT_EQ(seen->hitTestInfo()->dataPoint()->high(), 13);
    EXPECT_EQ(seen->hitTestInfo()->point()->y(), 5);  // anchored at the high
    ASSERT_EQ(rec.fills().size(), 1u);
    EXPECT_EQ(rec.fills()[0]->color, Red);
    EXPECT_EQ(rec.strokes()[0]->color, Green);
    EXPECT_EQ(engine->getFill(), Blue);  // put back after the element

    finance->setElementStyle(Green, false);
    rec.clear();
    OmbriChartTestAccess::_drawFinanceElement(*finance, engine, 100, 0, 10, 5, 30, 10, 20, series, 0, 3, false, false,
                                              KivoPlotElementEventPathEvent, point);
    EXPECT_EQ(rec.strokes()[0]->color, Red);

    // The host path puts the engine's look back too.
    auto host = std::make_shared<HostDelegate>();
    chart->setDelegate(host);
    rec.clear();
    OmbriChartTestAccess::_drawFinanceElement(*finance, engine, 100, 0, 10, 5, 30, 10, 20, series, 1, 3, false, false,
                                              KivoPlotElementEventPathDelegate, point);
    EXPECT_EQ(host->asked.back(), plat::Rect(95, 10, 10, 10));
    EXPECT_EQ(rec.fills().size(), 1u);
}
