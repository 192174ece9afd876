#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ChartCore/KivoLegend.h"
#include "OmbriChart/KivoChartAnnotation.h"
#include "OmbriChart/KivoChartLineMarker.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "chart_test_access.h"
#include "recording_plotter.h"

namespace {

const plat::Color Red = plat::Color::rgb255(200, 0, 0);
const plat::Color Blue = plat::Color::rgb255(0, 0, 200);
const plat::Color PlotFill = plat::Color::rgb255(240, 244, 250);
const plat::Color Grid = plat::Color::rgb255(0, 150, 0);

plat::ArrayPtr values(int n) {
    auto list = std::make_shared<plat::Array>();
    for (int i = 0; i < n; ++i) list->push_back(plat::Value(plat::Dictionary{{"v", i + 1}}));
    return list;
}

// Writes the delegate's calls into the chart's log.
class LoggingDelegate : public OmbriChartDelegate {
public:
    explicit LoggingDelegate(std::shared_ptr<CallLog> log) : log(std::move(log)) {}
    unsigned answeredMethods() const override { return Rendering | Rendered; }
    void rendering(const std::shared_ptr<OmbriChartBase>& sender) override {
        log->push_back(sender ? "?" : "delegate rendering");
    }
    void rendered(const std::shared_ptr<OmbriChartBase>& sender) override { log->push_back(sender ? "?" : "delegate rendered"); }
    std::shared_ptr<CallLog> log;
};

class LoggingAnnotation : public KivoChartAnnotation {
public:
    explicit LoggingAnnotation(std::shared_ptr<CallLog> log) : log(std::move(log)) {}
    bool render(const std::shared_ptr<IKivoRenderEngine>&) override {
        log->push_back("annotation");
        return true;
    }
    std::shared_ptr<CallLog> log;
};

class ChartRenderTest : public ChartInWindowTest<RecordingChart> {
protected:
    void SetUp() override {
        chart->setIsAnimated(false);
        window->addSubview(chart);
    }
    std::shared_ptr<KivoSeries> add(const std::string& name) {
        auto s = KivoSeries::create(chart, "v", name);
        chart->series()->addObject(plat::Value(s));
        return s;
    }
    void draw() {
        rec.clear();
        chart->invalidate();
        window->display(rec);
    }
    // Index of the first operation that matches, or the number of operations.
    template <class Match>
    std::size_t indexOf(Match match) const {
        const auto& ops = rec.ops();
        return static_cast<std::size_t>(std::find_if(ops.begin(), ops.end(), match) - ops.begin());
    }
};

}  // namespace

TEST_F(ChartRenderTest, APassCallsEveryoneInItsOrder) {
    chart->setItemsSource(values(3));
    add("A");
    auto delegate = std::make_shared<LoggingDelegate>(chart->log);
    chart->setDelegate(delegate);
    chart->annotations()->addObject(plat::Value(std::make_shared<LoggingAnnotation>(chart->log)));
    const auto owner = std::make_shared<int>(0);
    chart->chartRendering()->addHandler(KivoEventBlock([&](const auto&) { chart->log->push_back("event rendering"); }), owner);
    chart->chartRendered()->addHandler(KivoEventBlock([&](const auto&) { chart->log->push_back("event rendered"); }), owner);
    chart->log->clear();
    draw();

    CallLog milestones;
    for (const auto& line : *chart->log)
        if (line.find(" set") == std::string::npos) milestones.push_back(line);
    // rendering: twice (kept so), rendered: once for the finished picture, before the annotations.
    EXPECT_EQ(milestones, (CallLog{"event rendering", "delegate rendering", "delegate rendering", "bar clear", "bar plot A 0/0/1",
                                   "bar redo", "delegate rendered", "annotation", "event rendered"}));
    // Each series gets the frame's settings before it is drawn.
    const auto& log = *chart->log;
    const auto clear = std::find(log.begin(), log.end(), "bar clear");
    ASSERT_NE(clear, log.end());
    EXPECT_EQ(CallLog(clear + 1, clear + 6),
              (CallLog{"bar setTime", "bar setStacking", "bar setSymbolSize", "bar setDataInfoCount", "bar setOrigin"}));
    EXPECT_FALSE(OmbriChartTestAccess::isFirstRender(*chart));
}

TEST_F(ChartRenderTest, TheFrameIsLaidOutFromTheOutsideIn) {
    chart->setItemsSource(values(3));
    for (const char* name : {"Alpha", "Beta", "Gamma"}) add(name);
    chart->setBorderWidth(4);
    chart->setBorderColor(Red);
    chart->setPadding({10, 20, 6, 8});  // top, left, bottom, right
    chart->setHeader("Header");
    // The content inside border, padding and header.
    draw();
    const double left = 4 + 20, right = 400 - 4 - 8, bottom = 300 - 4 - 6;
    const double top = chart->rectHeader()->bottom();
    EXPECT_EQ(chart->rectHeader()->top(), 4 + 10);
    // The border line fills the band it takes at the chart's edge.
    const auto* border = rec.findStroke(Red);
    ASSERT_TRUE(border);
    EXPECT_EQ(border->bounds(), plat::Rect(2, 2, 396, 296));
    EXPECT_EQ(border->lineWidth, 4);

    struct Case {
        std::int64_t position;
        // The legend box's corner and the content left for axes and plot, from the legend's size w × h.
        std::function<plat::Point(double w, double h)> at;
        std::function<plat::Rect(double w, double h)> content;
    };
    const double W = right - left, H = bottom - top;
    const Case cases[] = {
        {KivoAxisPositionLeft,
         [&](double, double h) {
             return plat::Point{left, top + (H - h) / 2};
         },
         [&](double w, double) {
             return plat::Rect{left + w, top, W - w, H};
         }},
        {KivoAxisPositionTop,
         [&](double w, double) {
             return plat::Point{left + (W - w) / 2, top};
         },
         [&](double, double h) {
             return plat::Rect{left, top + h, W, H - h};
         }},
        {KivoAxisPositionRight,
         [&](double w, double h) {
             return plat::Point{left + W - w, top + (H - h) / 2};
         },
         [&](double w, double) {
             return plat::Rect{left, top, W - w, H};
         }},
        {KivoAxisPositionBottom,
         [&](double w, double h) {
             return plat::Point{left + (W - w) / 2, top + H - h};
         },
         [&](double, double h) {
             return plat::Rect{left, top, W, H - h};
         }},
    };
    for (const auto& c : cases) {
        chart->legend()->setPosition(c.position);
        draw();
        const auto& box = chart->rectLegend();
        ASSERT_TRUE(box) << c.position;
        const auto at = c.at(box->width(), box->height());
        EXPECT_DOUBLE_EQ(box->left(), at.x) << c.position;
        EXPECT_DOUBLE_EQ(box->top(), at.y) << c.position;
        const auto expected = c.content(box->width(), box->height());
        const auto& got = *chart->plotterChart();
        EXPECT_EQ(plat::Rect(got.left(), got.top(), got.width(), got.height()), expected) << c.position;
    }
    // No legend takes no room.
    chart->legend()->setPosition(KivoAxisPositionNone);
    draw();
    EXPECT_FALSE(chart->rectLegend());
    EXPECT_DOUBLE_EQ(chart->plotterChart()->width(), W);
}

TEST_F(ChartRenderTest, WrappedLegendRowsCentreUnderTheFirst) {
    chart->setItemsSource(values(2));
    for (int i = 0; i < 7; ++i) add("Series number " + std::to_string(i));
    chart->setPadding({0, 60, 0, 0});
    chart->legend()->setPosition(KivoAxisPositionBottom);
    draw();
    const auto& areas = chart->legend()->areas();
    ASSERT_GE(areas.size(), 7u);
    const auto centreOfRow = [&](double y) {
        double lo = 1e9, hi = -1e9;
        for (const auto& a : areas)
            if (a->top() == y) lo = std::min(lo, a->left()), hi = std::max(hi, a->right());
        return (lo + hi) / 2;
    };
    ASSERT_NE(areas.front()->top(), areas.back()->top());  // it wrapped
    EXPECT_NEAR(centreOfRow(areas.back()->top()), centreOfRow(areas.front()->top()), 1e-9);
    EXPECT_NEAR(centreOfRow(areas.front()->top()), 60 + (400 - 60) / 2.0, 1e-9);
    // Every row fits inside the legend box.
    for (const auto& a : areas) {
        EXPECT_GE(a->left(), chart->rectLegend()->left());
        EXPECT_LE(a->right(), chart->rectLegend()->right());
    }
}

TEST_F(ChartRenderTest, ThePlotBackgroundLiesUnderTheGrid) {
    chart->setItemsSource(values(3));
    add("A");
    chart->setPlotAreaBackgroundColor(PlotFill);
    chart->axisY()->setMajorGridColor(Grid);
    draw();
    const std::size_t background =
        indexOf([](const plat::DrawOp& op) { return op.kind == plat::DrawOp::Kind::Fill && op.color == PlotFill; });
    const std::size_t grid =
        indexOf([](const plat::DrawOp& op) { return op.kind == plat::DrawOp::Kind::Stroke && op.color == Grid; });
    ASSERT_LT(grid, rec.ops().size());
    EXPECT_LT(background, grid);
    const KivoRect plot = *chart->plotRect();
    EXPECT_EQ(rec.ops()[background].bounds(), plat::Rect(plot.left(), plot.top(), plot.width(), plot.height()));

    // The clear colour paints nothing.
    chart->setPlotAreaBackgroundColor(plat::Color::clear());
    draw();
    EXPECT_FALSE(rec.findFill(PlotFill));
}

TEST_F(ChartRenderTest, AxesThatCrossThePlotAreDrawnAgainAboveTheSeriesWithoutGrid) {
    chart->setItemsSource(values(3));
    add("A");
    auto& y = *chart->axisY();
    y.setLineColor(Red);
    y.setMajorGridColor(Grid);
    const auto count = [&](const plat::Color& c) {
        std::size_t n = 0;
        for (const auto* op : rec.strokes()) n += op->color == c;
        return n;
    };
    draw();
    const std::size_t once = count(Red), grid = count(Grid);
    ASSERT_GT(once, 0u);
    y.setOrigin(1);  // crosses the X axis at its second category
    draw();
    EXPECT_EQ(count(Red), 2 * once);
    EXPECT_EQ(count(Grid), grid);
    y.setAbove(false);
    draw();
    EXPECT_EQ(count(Red), once);
}

TEST_F(ChartRenderTest, MarkerLinesStayInsideThePlot) {
    chart->setItemsSource(values(3));
    add("A");
    draw();
    const KivoRect plot = *chart->plotRect();
    auto marker = KivoChartLineMarker::create(chart);
    chart->setLineMarker(marker);
    marker->setLines(KivoChartMarkerLinesBoth);
    marker->setHorizontalLineColor(Red);
    marker->setVerticalLineColor(Blue);
    marker->setHorizontalLineWidth(4);
    marker->setPosition(plot.left(), plot.top());  // on the corner
    draw();
    EXPECT_FALSE(rec.findStroke(Red));  // hidden
    marker->setIsVisible(true);
    draw();
    const auto* h = rec.findStroke(Red);
    const auto* v = rec.findStroke(Blue);
    ASSERT_TRUE(h && v);
    EXPECT_EQ(h->bounds(), plat::Rect(plot.left(), plot.top() + 2, plot.width(), 0));
    EXPECT_EQ(v->bounds(), plat::Rect(plot.left() + 1.5, plot.top(), 0, plot.height()));
    // Inside the plot the lines pass through the point.
    marker->setPosition(plot.left() + 50, plot.top() + 40);
    draw();
    EXPECT_NEAR(rec.findStroke(Red)->bounds().y(), plot.top() + 40, 1e-9);
    EXPECT_NEAR(rec.findStroke(Blue)->bounds().x(), plot.left() + 50, 1e-9);
    // A marker at no position draws nothing.
    marker->setPosition(NAN, 10);
    draw();
    EXPECT_FALSE(rec.findStroke(Red));
    EXPECT_FALSE(rec.findStroke(Blue));
}

TEST_F(ChartRenderTest, AChartTypeNoPlotterDrawsShowsEverythingButTheSeries) {
    chart->setItemsSource(values(3));
    add("A");
    chart->setHeader("Title");
    chart->setChartType(42);
    chart->log->clear();
    draw();
    EXPECT_TRUE(chart->plotted().empty());
    EXPECT_TRUE(rec.findText("Title"));
    EXPECT_TRUE(rec.findText("A"));  // the legend item
    EXPECT_TRUE(chart->rectLegend());
}

TEST_F(ChartRenderTest, AReleasedChartLeavesNothingAlive) {
    std::weak_ptr<OmbriChart> weakChart;
    std::weak_ptr<KivoSeries> weakSeries;
    std::weak_ptr<KivoAxis> weakAxis;
    std::vector<std::weak_ptr<IKivoPlotter>> weakPlotters;
    {
        auto real = OmbriChart::create({0, 0, 300, 200});
        window->addSubview(real);
        real->setItemsSource(values(4));
        auto s = KivoSeries::create(real, "v", "S");
        real->series()->addObject(plat::Value(s));
        auto extra = KivoAxis::create(KivoAxisPositionRight, real);
        OmbriChartTestAccess::axesArray(*real).push_back(extra);
        s->setAxisY(extra);
        for (const auto& p :
             {real->barPlotter(), real->linePlotter(), real->areaPlotter(), real->bubblePlotter(), real->financePlotter()})
            weakPlotters.push_back(p);
        window->display(rec);  // starts the load animation
        clock.advance(0.1);
        EXPECT_TRUE(OmbriChartTestAccess::plotting(*real));
        weakChart = real;
        weakSeries = s;
        weakAxis = extra;
        real->removeFromSuperview();
    }
    clock.advance(0.1);
    EXPECT_TRUE(weakChart.expired());
    EXPECT_TRUE(weakSeries.expired());
    EXPECT_TRUE(weakAxis.expired());
    for (const auto& p : weakPlotters) {
        EXPECT_TRUE(p.expired());
    }
}
