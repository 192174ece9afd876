// Symbols of dense scatter, bubble and line-with-symbols series in a whole chart: stamped and thinned
// where the series is dense, every hit area and element event kept, sparse series drawn as before.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "ChartCore/KivoHitTester.h"
#include "OmbriChart/BasePlotElementRender.h"
#include "OmbriChart/KivoChartPlotElementEventArgs.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"
#include "dense_drawing_support.h"
#include "test_chart.h"

namespace {

const plat::Color Symbol = plat::Color::rgb255(40, 100, 200);
constexpr plat::Rect Frame{0, 0, 160, 120};
// More symbols than a quarter of the chart's pixels, whatever room the axes take.
constexpr std::size_t Dense = 160 * 120 / 4 + 1;

struct Point {
    double x, y, size = 1;
};

// Items with X in "x", Y in "y" and a bubble size in "s".
plat::ArrayPtr itemsOf(const std::vector<Point>& points) {
    auto list = std::make_shared<plat::Array>();
    for (const Point& p : points) list->push_back(plat::Value(plat::Dictionary{{"x", p.x}, {"y", p.y}, {"s", p.size}}));
    return list;
}

// `count` points in runs of `run` at the same place, the places stepping along a diagonal.
std::vector<Point> runs(std::size_t count, std::size_t run, std::size_t places) {
    std::vector<Point> points;
    for (std::size_t i = 0; i < count; ++i) {
        const double at = static_cast<double>((i / run) % places);
        points.push_back({at, at});
    }
    return points;
}

class DenseSymbolsTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create(Frame);
    std::shared_ptr<TestChart> chart = TestChart::create(Frame);
    plat::RecordingContext rec;

    void show(std::int64_t type, const std::vector<Point>& points) {
        chart->setIsAnimated(false);
        chart->setChartType(type);
        chart->setBindingX("x");
        chart->setItemsSource(itemsOf(points));
        auto series = KivoSeries::create(chart, type == OmbriChartTypeBubble ? "y,s" : "y", "S");
        series->setSymbolColor(Symbol);
        chart->series()->addObject(plat::Value(series));
        window->addSubview(chart);
        draw();
    }
    void draw() {
        rec.clear();
        chart->invalidate();
        window->display(rec);
    }
    // The symbols drawn one by one in the plot area (the legend's swatch lies outside it).
    std::size_t symbolFills() const {
        std::size_t n = 0;
        for (const auto* op : rec.fills())
            n += op->color == Symbol &&
                 chart->plotRect()->containsPoint(KivoPoint::create(op->bounds().midX(), op->bounds().midY()));
        return n;
    }
    std::size_t hitAreas() const {
        const auto& map = chart->hitTester()->getHitTesterMap();
        const auto it = map.find(0);
        return it == map.end() ? 0 : it->second.size();
    }
};

}  // namespace

TEST_F(DenseSymbolsTest, ADenseScatterStampsOneSymbolPerRunAndKeepsEveryHitArea) {
    // Runs of 100 symbols at one place, 7 places, again and again.
    show(OmbriChartTypeScatter, runs(Dense, 100, 7));
    const std::size_t expectedRuns = (Dense + 99) / 100;
    EXPECT_EQ(rec.images().size(), expectedRuns);
    EXPECT_EQ(symbolFills(), 0u);
    EXPECT_EQ(hitAreas(), Dense);
    // Each stamp stands on its run's place: its middle pixel is the one the symbol's centre lies in,
    // once rounded to a quarter pixel.
    const auto pixelOf = [](double v) { return std::floor(std::round(v * 4) / 4); };
    for (std::size_t k = 0; k < rec.images().size(); ++k) {
        const double at = static_cast<double>(k % 7);
        const plat::Rect r = rec.images()[k]->bounds();
        EXPECT_EQ(r.midX() - 0.5, pixelOf(chart->axisX()->convert(at))) << k;
        EXPECT_EQ(r.midY() - 0.5, pixelOf(chart->axisY()->convert(at))) << k;
    }
}

TEST_F(DenseSymbolsTest, DenseBubblesOfAnotherLookThanTheOneBeforeAreAllDrawn) {
    // Pairs of bubbles at one place, of two sizes: the second of a pair has another look.
    std::vector<Point> bubbles = runs(Dense, 2, 2);
    for (std::size_t i = 0; i < bubbles.size(); ++i) bubbles[i].size = i % 2 ? 1 : 4;
    show(OmbriChartTypeBubble, bubbles);
    EXPECT_EQ(rec.images().size(), Dense);
    EXPECT_EQ(symbolFills(), 0u);
    EXPECT_EQ(hitAreas(), Dense);
}

TEST_F(DenseSymbolsTest, TheSymbolsOfADenseLineAreStampedAndItsLineStroked) {
    show(OmbriChartTypeLineSymbols, runs(Dense, 50, 5));
    EXPECT_EQ(rec.images().size(), (Dense + 49) / 50);
    EXPECT_EQ(symbolFills(), 0u);
    EXPECT_EQ(hitAreas(), Dense);
    EXPECT_FALSE(rec.strokes().empty());
}

TEST_F(DenseSymbolsTest, ASparseSeriesDrawsTheSameOperationsAsWithoutTheShortcuts) {
    std::vector<Point> points;
    for (int i = 0; i < 40; ++i) points.push_back({double(i), std::sin(i * 0.3)});
    show(OmbriChartTypeScatter, points);
    expectSameOpsWithoutShortcuts(rec.ops(), rec, [&] { draw(); });
    EXPECT_TRUE(rec.images().empty());
    EXPECT_EQ(symbolFills(), 40u);
}

TEST_F(DenseSymbolsTest, ElementHandlersSeeEverySymbolOfADenseSeries) {
    std::size_t raised = 0;
    const auto owner = std::make_shared<int>(0);
    chart->plotElementLoading()->addHandler(KivoEventBlock([&](const std::shared_ptr<KivoEventContainer>& c) {
                                                ++raised;
                                                c->args<KivoChartPlotElementEventArgs>()->defaultRender()->execute();
                                            }),
                                            owner);
    show(OmbriChartTypeScatter, runs(Dense, 100, 7));
    EXPECT_EQ(raised, Dense);
    EXPECT_TRUE(rec.images().empty());
    EXPECT_EQ(symbolFills(), Dense);
}
