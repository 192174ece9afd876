// The line plotter's geometry and selection redraw, through the chart's drawing pass into a
// recording context: points, nulls, stacking, symbols, hit areas, labels and the selected series.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "ChartCore/KivoLegend.h"
#include "OmbriChart/BasePlotElementRender.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoChartHitTestInfo.h"
#include "OmbriChart/KivoChartPlotElementEventArgs.h"
#include "OmbriChart/KivoLinePlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/view.h"
#include "Platform/ui/window.h"
#include "chart_test_access.h"
#include "line_test_support.h"
#include "plotters/ColumnReduction.h"
#include "plotters/LinePointArea.h"
#include "test_chart.h"

namespace {

class LinePlotterTest : public LineChartTest {
protected:
    std::shared_ptr<KivoLinePlotter> plotter() { return std::dynamic_pointer_cast<KivoLinePlotter>(chart->linePlotter()); }
    double sx(double x) const { return chart->axisX()->convert(x); }
    double sy(double y) const { return chart->axisY()->convert(y); }
};

}  // namespace

TEST_F(LinePlotterTest, NullsAreSkippedOrInterpolatedAndNeverBreakTheLine) {
    struct Case {
        std::vector<double> values;
        bool interpolate;
        std::vector<double> drawnY;  // data values through which the line passes
    };
    const Case cases[] = {
        {{1, NaN, 3}, false, {1, 3}},
        {{1, NaN, 3}, true, {1, 2, 3}},
        {{5, 6, NaN}, false, {5, 6}},
        {{5, 6, NaN}, true, {5, 6, 6}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.values) + (c.interpolate ? " interpolated" : ""));
        chart->series()->removeAllObjects();
        chart->setInterpolateNulls(c.interpolate);
        chart->setItemsSource(rows({{"a", c.values}}));
        add("a", "A");
        draw();
        const auto lines = strokesOf(rec, Red);
        ASSERT_EQ(lines.size(), 1u);
        const auto pts = vertices(*lines[0]);
        ASSERT_EQ(pts.size(), c.drawnY.size());
        for (std::size_t k = 0; k < pts.size(); ++k) EXPECT_NEAR(pts[k].y, sy(c.drawnY[k]), 1e-9);
        EXPECT_EQ(areas(0).size(), c.drawnY.size());
    }
}

TEST_F(LinePlotterTest, DataPointsCarryTheSeriesPositionAndTheDrawnValues) {
    chart->setInterpolateNulls(true);
    chart->setItemsSource(rows({{"a", {2, NaN, 4}}, {"b", {1, 1, 1}}}));
    add("b", "Hidden")->setVisibility(KivoSeriesVisibilityHidden);
    add("a", "A");
    draw();
    const auto found = areas(1);
    ASSERT_EQ(found.size(), 3u);
    const auto middle = found[1]->tag().as<KivoChartDataPoint>();
    ASSERT_TRUE(middle);
    EXPECT_EQ(middle->seriesIndex(), 1);
    EXPECT_EQ(middle->pointIndex(), 1);
    EXPECT_DOUBLE_EQ(middle->value(), 3);  // the interpolated value that is drawn
    EXPECT_DOUBLE_EQ(middle->dataX(), 1);  // no X values: the index
    EXPECT_DOUBLE_EQ(found[1]->centerY(), sy(3));
    // The chart's hit test hands the point out.
    const auto hit = chart->hitTestSeries(KivoPoint::create(sx(2) + 2, sy(4)), 1);
    ASSERT_TRUE(hit && hit->dataPoint());
    EXPECT_EQ(hit->dataPoint()->pointIndex(), 2);
    EXPECT_EQ(hit->dataPoint()->seriesName(), "A");
}

TEST_F(LinePlotterTest, AreasOfALineWithGapsKeepEachPointsIndexValuesAndPlace) {
    // X values with a gap fall back to the index; a missing Y leaves its point out. The areas are made
    // from the pass's record only when asked for, after the pass.
    chart->setBindingX("x");
    chart->setItemsSource(rows({{"x", {10, 11, NaN, 13, 14}}, {"a", {1, NaN, 3, 4, 5}}}));
    add("a", "A");
    draw();
    const auto found = areas(0);
    ASSERT_EQ(found.size(), 4u);
    const std::int32_t indices[] = {0, 2, 3, 4};
    const double xs[] = {10, 2, 13, 14}, ys[] = {1, 3, 4, 5};
    for (std::size_t k = 0; k < found.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(found[k]->pointIndex(), indices[k]);
        EXPECT_DOUBLE_EQ(found[k]->x(), xs[k]);
        EXPECT_DOUBLE_EQ(found[k]->y(), ys[k]);
        EXPECT_DOUBLE_EQ(found[k]->centerX(), sx(xs[k]));
        EXPECT_DOUBLE_EQ(found[k]->centerY(), sy(ys[k]));
    }
    const auto point = found[2]->tag().as<KivoChartDataPoint>();
    ASSERT_TRUE(point);
    EXPECT_EQ(point->pointIndex(), 3);
    EXPECT_DOUBLE_EQ(point->value(), 4);
}

TEST_F(LinePlotterTest, APassAfterAHitTestAnswersWithItsOwnPoints) {
    // The first pass's areas are made by a hit test; the next pass records other points in the same
    // kept memory, and a hit test then finds those, not the first pass's.
    chart->setItemsSource(rows({{"a", {1, 2, 3, 4}}}));
    add("a", "A");
    draw();
    auto hit = chart->hitTestSeries(KivoPoint::create(sx(3), sy(4)), 0);
    ASSERT_TRUE(hit && hit->dataPoint());
    EXPECT_EQ(hit->dataPoint()->pointIndex(), 3);
    chart->setItemsSource(rows({{"a", {7, NaN, 9}}}));
    draw();
    ASSERT_EQ(areas(0).size(), 2u);
    hit = chart->hitTestSeries(KivoPoint::create(sx(2), sy(9)), 0);
    ASSERT_TRUE(hit && hit->dataPoint());
    EXPECT_EQ(hit->dataPoint()->pointIndex(), 2);
    EXPECT_DOUBLE_EQ(hit->dataPoint()->value(), 9);
}

TEST_F(LinePlotterTest, StackingSumsNegativeValuesIntoTheSameRunningTotals) {
    chart->setStacking(KivoPlotterStackingStacked);
    chart->setItemsSource(rows({{"a", {1, 2}}, {"b", {3, -1}}}));
    add("a", "A");
    add("b", "B");
    draw();
    const auto second = strokesOf(rec, Blue);
    ASSERT_EQ(second.size(), 1u);
    const auto pts = vertices(*second[0]);
    ASSERT_EQ(pts.size(), 2u);
    EXPECT_NEAR(pts[0].y, sy(4), 1e-9);
    EXPECT_NEAR(pts[1].y, sy(1), 1e-9);
    EXPECT_DOUBLE_EQ(OmbriChartTestAccess::stackpos(*chart).valueOr(0, NaN), 4);
    EXPECT_DOUBLE_EQ(OmbriChartTestAccess::stackpos(*chart).valueOr(1, NaN), 1);
    EXPECT_TRUE(OmbriChartTestAccess::stackneg(*chart).empty());
}

TEST_F(LinePlotterTest, ASymbolOutsideThePlotIsNotDrawnButKeepsItsHitArea) {
    chart->setChartType(OmbriChartTypeLineSymbols);
    chart->axisY()->setMin(plat::Value(0.0));
    chart->axisY()->setMax(plat::Value(10.0));
    chart->setItemsSource(rows({{"a", {2, 50, 4}}}));
    add("a", "A");
    draw();
    const auto symbols = fillsOf(rec, Red);
    EXPECT_EQ(symbols.size(), 2u);
    for (const auto* op : symbols) EXPECT_LT(op->bounds().maxY(), sy(0) + 1);
    EXPECT_EQ(areas(0).size(), 3u);
}

TEST_F(LinePlotterTest, WidthsFallBackToTwoAndSplinesCurve) {
    chart->setChartType(OmbriChartTypeSpline);
    chart->setItemsSource(rows({{"a", {1, 3, 2}}}));
    add("a", "A")->setBorderWidth(0);
    draw();
    const auto lines = strokesOf(rec, Red);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_DOUBLE_EQ(lines[0]->userLineWidth, 2.0);
    const auto& verbs = lines[0]->path.verbs();
    EXPECT_TRUE(std::any_of(verbs.begin(), verbs.end(),
                            [](auto v) { return v != plat::Path::Verb::Move && v != plat::Path::Verb::Line; }));
}

TEST_F(LinePlotterTest, ALineDenserThanThePixelColumnsKeepsEachColumnsExtremes) {
    // A saw tooth of 4,000 points: far more than two points per pixel column either way round.
    std::vector<double> saw(4000);
    for (std::size_t i = 0; i < saw.size(); ++i) saw[i] = static_cast<double>(i % 7) - (i == 1234 ? 40 : 0);
    chart->setChartType(OmbriChartTypeSpline);
    chart->setItemsSource(rows({{"a", saw}}));
    add("a", "A");
    for (const bool rotated : {false, true}) {
        SCOPED_TRACE(rotated ? "rotated" : "upright");
        chart->setRotated(rotated);
        draw();
        const auto lines = strokesOf(rec, Red);
        ASSERT_EQ(lines.size(), 1u);
        const auto pts = vertices(*lines[0]);
        const double columns = rotated ? chart->plotRect()->height() : chart->plotRect()->width();
        EXPECT_LE(pts.size(), static_cast<std::size_t>(4 * (columns + 2 + 2 * kivo::detail::EdgeBand)));
        EXPECT_GT(pts.size(), static_cast<std::size_t>(columns));
        // Straight joins, the extremes kept, the first and last points exact.
        for (const auto verb : lines[0]->path.verbs())
            EXPECT_TRUE(verb == plat::Path::Verb::Move || verb == plat::Path::Verb::Line);
        const auto across = [&](plat::Point p) { return rotated ? p.x : p.y; };
        const auto along = [&](plat::Point p) { return rotated ? p.y : p.x; };
        const auto valueAt = [&](double v) { return rotated ? chart->axisX()->convert(v) : sy(v); };
        const auto indexAt = [&](double i) { return rotated ? chart->axisY()->convert(i) : sx(i); };
        const auto lowest = std::min_element(pts.begin(), pts.end(), [&](auto p, auto q) {
            return std::fabs(across(p) - valueAt(-40 + 1234 % 7)) < std::fabs(across(q) - valueAt(-40 + 1234 % 7));
        });
        EXPECT_NEAR(across(*lowest), valueAt(-40 + 1234 % 7), 1e-9);
        EXPECT_NEAR(along(pts.front()), indexAt(0), 1e-9);
        EXPECT_NEAR(along(pts.back()), indexAt(3999), 1e-9);
        // Exactly the reduction of every point's place.
        std::vector<double> alongAll, acrossAll, keptAlong, keptAcross;
        for (std::size_t i = 0; i < saw.size(); ++i) {
            alongAll.push_back(indexAt(static_cast<double>(i)));
            acrossAll.push_back(valueAt(saw[i]));
        }
        const auto& plot = *chart->plotRect();
        ASSERT_TRUE(kivo::detail::reduceToPixelColumns(alongAll, acrossAll, rotated ? plot.top() : plot.left(),
                                                       rotated ? plot.height() : plot.width(), 1.0, keptAlong, keptAcross));
        ASSERT_EQ(pts.size(), keptAlong.size());
        for (std::size_t k = 0; k < pts.size(); ++k) {
            EXPECT_DOUBLE_EQ(along(pts[k]), keptAlong[k]) << k;
            EXPECT_DOUBLE_EQ(across(pts[k]), keptAcross[k]) << k;
        }
        // Hit areas are not thinned, and each lies where its point is placed.
        const auto found = areas(0);
        ASSERT_EQ(found.size(), saw.size());
        for (const std::size_t i : {std::size_t{0}, std::size_t{1234}, std::size_t{3999}}) {
            const plat::Point centre{found[i]->centerX(), found[i]->centerY()};
            EXPECT_EQ(found[i]->pointIndex(), static_cast<std::int32_t>(i));
            EXPECT_DOUBLE_EQ(along(centre), alongAll[i]);
            EXPECT_DOUBLE_EQ(across(centre), acrossAll[i]);
        }
    }
}

TEST_F(LinePlotterTest, ADenseLineWithXValuesIsTheReductionOfEveryPointsPlaceAGapAtItsIndex) {
    // X values in half steps, one of them missing (placed at its index, as every pass places it).
    std::vector<double> xs(3000), ys(3000);
    for (std::size_t i = 0; i < xs.size(); ++i) {
        xs[i] = i == 1500 ? NaN : 0.5 * static_cast<double>(i);
        ys[i] = static_cast<double>((i * 7) % 11);
    }
    chart->setBindingX("x");
    chart->setItemsSource(rows({{"x", xs}, {"a", ys}}));
    add("a", "A");
    draw();
    const auto lines = strokesOf(rec, Red);
    ASSERT_EQ(lines.size(), 1u);
    const auto pts = vertices(*lines[0]);
    std::vector<double> alongAll, acrossAll, keptAlong, keptAcross;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        alongAll.push_back(sx(std::isnan(xs[i]) ? static_cast<double>(i) : xs[i]));
        acrossAll.push_back(sy(ys[i]));
    }
    const auto& plot = *chart->plotRect();
    ASSERT_TRUE(kivo::detail::reduceToPixelColumns(alongAll, acrossAll, plot.left(), plot.width(), 1.0, keptAlong, keptAcross));
    ASSERT_EQ(pts.size(), keptAlong.size());
    for (std::size_t k = 0; k < pts.size(); ++k) {
        EXPECT_DOUBLE_EQ(pts[k].x, keptAlong[k]) << k;
        EXPECT_DOUBLE_EQ(pts[k].y, keptAcross[k]) << k;
    }
}

namespace {

// A host that draws every symbol itself and notes the rectangles it was given.
class SymbolHost : public OmbriChartDelegate {
public:
    unsigned answeredMethods() const override { return HandlePlotElementLoading; }
    bool handlePlotElementLoading(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<IKivoRenderEngine>&,
                                  const std::shared_ptr<KivoRect>& rect, std::int32_t pointIndex,
                                  const std::shared_ptr<KivoPoint>&, std::int32_t seriesIndex,
                                  const std::shared_ptr<plat::Object>&) override {
        asked.push_back({rect->left(), rect->top(), rect->width(), rect->height()});
        points.push_back(pointIndex);
        series = seriesIndex;
        return true;
    }
    std::vector<plat::Rect> asked;
    std::vector<std::int32_t> points;
    std::int32_t series = -1;
};

}  // namespace

TEST_F(LinePlotterTest, SymbolsGoThroughTheEventOrTheHostWithTheirDataPoints) {
    chart->setChartType(OmbriChartTypeLineSymbols);
    chart->setItemsSource(rows({{"a", {2, 4}}, {"b", {1, 3}}}));
    add("a", "A");
    add("b", "B");
    std::vector<std::shared_ptr<KivoChartDataPoint>> seen;
    const auto owner = std::make_shared<int>(0);
    chart->plotElementLoading()->addHandler(KivoEventBlock([&](const std::shared_ptr<KivoEventContainer>& c) {
                                                const auto args = c->args<KivoChartPlotElementEventArgs>();
                                                seen.push_back(args->dataPoint());
                                                args->defaultRender()->execute();
                                            }),
                                            owner);
    draw();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[3]->seriesIndex(), 1);
    EXPECT_EQ(seen[3]->pointIndex(), 1);
    EXPECT_DOUBLE_EQ(seen[3]->value(), 3);
    EXPECT_EQ(fillsOf(rec, Blue).size(), 2u);

    // The host is handed each symbol's square, and its custom view covers the last one.
    auto host = std::make_shared<SymbolHost>();
    chart->setDelegate(host);
    chart->setIsHandleXFPlotElementLoading(true);
    auto custom = plat::View::create({0, 0, 1, 1});
    chart->setCustomPlotElement(custom);
    draw();
    EXPECT_TRUE(fillsOf(rec, Blue).empty());
    ASSERT_EQ(host->asked.size(), 4u);
    const double half = chart->symbolSize() / 2;
    const plat::Rect square{sx(1) - half, sy(3) - half, 2 * half, 2 * half};
    EXPECT_EQ(host->asked.back(), square);
    EXPECT_EQ(host->points.back(), 1);
    EXPECT_EQ(host->series, 1);
    EXPECT_EQ(custom->frame(), square);
}

TEST_F(LinePlotterTest, ARotatedChartCarriesTheValuesAcross) {
    chart->setRotated(true);
    chart->setItemsSource(rows({{"a", {2, 5}}}));
    add("a", "A");
    draw();
    const auto found = areas(0);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_NEAR(found[1]->centerX(), chart->axisX()->convert(5), 1e-9);
    EXPECT_NEAR(found[1]->centerY(), chart->axisY()->convert(1), 1e-9);
    const auto point = found[1]->tag().as<KivoChartDataPoint>();
    ASSERT_TRUE(point);
    EXPECT_DOUBLE_EQ(point->value(), 1);  // kept as the chart has it: the X value
    EXPECT_DOUBLE_EQ(point->dataX(), 5);
}

namespace {

// Records each label with the number of drawing operations before it.
class LabelLog : public OmbriChartDataLabelRenderer {
public:
    LabelLog(const std::shared_ptr<OmbriChart>& chart, const plat::RecordingContext& rec)
        : OmbriChartDataLabelRenderer(chart, nullptr), rec(rec) {}
    struct Entry {
        std::string series;
        std::int64_t seriesIndex, pointIndex;
        double x, y;
        std::size_t opsBefore;
    };
    void render(const std::string& name, const std::shared_ptr<KivoRect>&, std::int64_t seriesIndex, std::int64_t pointIndex,
                double x, double y, const plat::Value&) override {
        entries.push_back({name, seriesIndex, pointIndex, x, y, rec.ops().size()});
    }
    const plat::RecordingContext& rec;
    std::vector<Entry> entries;
};

class LineSelectionTest : public LinePlotterTest {
protected:
    std::shared_ptr<LabelLog> labels;
    std::shared_ptr<KivoSeries> a, b;

    void SetUp() override {
        LinePlotterTest::SetUp();
        chart->setChartType(OmbriChartTypeLineSymbols);
        chart->setItemsSource(rows({{"a", {1, 4, 2}}, {"b", {3, 2, 5}}}));
        a = add("a", "A");
        b = add("b", "B");
        chart->setSelectedBorderColor(Green);
        chart->setSelectedBorderWidth(1.0);
        chart->setSelectedDashes({4, 2});
        chart->dataLabel()->setPosition(KivoDataLabelPositionAbove);
        labels = std::make_shared<LabelLog>(chart, rec);
        chart->setDataLabelRenderer(labels);
    }
    // Index of an operation in the recording.
    std::size_t at(const plat::DrawOp* op) const { return static_cast<std::size_t>(op - rec.ops().data()); }
    std::vector<const plat::DrawOp*> symbolBorders(const plat::Color& c) const {
        std::vector<const plat::DrawOp*> found;
        for (const auto* op : strokesOf(rec, c))
            if (op->path.verbs().size() > 3) found.push_back(op);  // an ellipse, not a two-point line
        return found;
    }
};

}  // namespace

TEST_F(LineSelectionTest, SeriesModeDrawsTheSelectedSeriesLastDashedWithItsLabelsOnTop) {
    chart->setSelectionMode(KivoChartSelectionModeSeries);
    chart->setSelection(b);
    draw();
    const auto line = strokesOf(rec, Green);
    ASSERT_FALSE(line.empty());
    EXPECT_TRUE(strokesOf(rec, Blue).empty());
    EXPECT_DOUBLE_EQ(line[0]->userLineWidth, 1.0);
    EXPECT_TRUE(line[0]->isDashed());
    const auto aSymbols = fillsOf(rec, Red), bSymbols = fillsOf(rec, Blue);
    ASSERT_EQ(aSymbols.size(), 3u);
    ASSERT_EQ(bSymbols.size(), 3u);
    EXPECT_GT(at(line[0]), at(aSymbols.back()));
    const auto borders = symbolBorders(Green);
    ASSERT_EQ(borders.size(), 3u);
    for (const auto* op : borders) {
        EXPECT_DOUBLE_EQ(op->userLineWidth, 2.0);  // the selected width, at least 2
        EXPECT_TRUE(op->isDashed());
    }
    // Both series keep their labels; the selected one's come after its symbols.
    std::map<std::string, std::vector<const LabelLog::Entry*>> bySeries;
    for (const auto& e : labels->entries) bySeries[e.series].push_back(&e);
    ASSERT_EQ(bySeries["A"].size(), 3u);
    ASSERT_EQ(bySeries["B"].size(), 3u);
    for (const auto* e : bySeries["B"]) {
        EXPECT_EQ(e->seriesIndex, 1);
        EXPECT_GT(e->opsBefore, at(bSymbols.back()));
    }
    EXPECT_DOUBLE_EQ(bySeries["B"][2]->y, 5);
}

TEST_F(LineSelectionTest, PointModeKeepsTheLineSolidAndBordersOnlyTheSelectedPoint) {
    chart->setSelectionMode(KivoChartSelectionModePoint);
    chart->setSelection(b);
    chart->setSelectionIndex(1);
    chart->setSelectedBorderWidth(4.0);
    draw();
    const auto line = strokesOf(rec, Blue);
    ASSERT_EQ(line.size(), 1u);
    EXPECT_FALSE(line[0]->isDashed());
    const auto borders = symbolBorders(Green);
    ASSERT_EQ(borders.size(), 1u);
    EXPECT_DOUBLE_EQ(borders[0]->userLineWidth, 4.0);
    EXPECT_TRUE(borders[0]->isDashed());
    EXPECT_NEAR(borders[0]->bounds().midX(), sx(1), 1e-6);
    EXPECT_EQ(fillsOf(rec, Blue).size(), 3u);
}

TEST_F(LineSelectionTest, ALookAlikeOfTheSelectedSeriesDrawsNormally) {
    // Same name, binding and chart type: only the selected object itself is drawn selected, once.
    chart->series()->removeAllObjects();
    chart->setChartType(OmbriChartTypeLine);
    auto first = add("a", "Twin");
    auto second = add("a", "Twin");
    chart->setSelectionMode(KivoChartSelectionModeSeries);
    chart->setSelection(second);
    draw();
    const auto normal = strokesOf(rec, Red), selected = strokesOf(rec, Green);
    ASSERT_EQ(normal.size(), 1u);
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_TRUE(strokesOf(rec, Blue).empty());
    EXPECT_GT(at(selected[0]), at(normal[0]));
}

TEST_F(LineSelectionTest, NothingSelectedLeavesNothingToRedraw) {
    chart->setSelectionMode(KivoChartSelectionModeSeries);
    draw();
    EXPECT_TRUE(strokesOf(rec, Green).empty());
    EXPECT_EQ(labels->entries.size(), 6u);
    const auto before = rec.ops().size();
    plotter()->redoSelection(chart->renderEngine());
    EXPECT_EQ(rec.ops().size(), before);
}
