// The area plotter's drawing: its outline and bottom edge, nulls, stacking, rotation, hit areas, the
// engine calls of a pass, its limits, the stacked look-up, the selection redraw, symbols and labels.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoChartPlotElementEventArgs.h"
#include "KivoCore/KivoEasing.h"
#include "OmbriChart/KivoDataInfo.h"
#include "Platform/ui/view.h"
#include "area_test_support.h"
#include "chart_test_access.h"

namespace {

// Records each label as the renderer gets it.
class AreaLabels : public OmbriChartDataLabelRenderer {
public:
    explicit AreaLabels(const std::shared_ptr<OmbriChart>& chart) : OmbriChartDataLabelRenderer(chart, nullptr) {}
    struct Entry {
        std::string series;
        std::int64_t seriesIndex, pointIndex;
        double x, y;
        std::string text;
        plat::Rect rect;
    };
    void render(const std::string& name, const std::shared_ptr<KivoRect>& rect, std::int64_t seriesIndex, std::int64_t pointIndex,
                double x, double y, const plat::Value& text) override {
        entries.push_back({name, seriesIndex, pointIndex, x, y, text.isString() ? text.asString() : std::string(),
                           {rect->left(), rect->top(), rect->width(), rect->height()}});
    }
    std::vector<Entry> entries;
};

// A host that draws every element itself and notes where it was asked to.
class AreaHost : public OmbriChartDelegate {
public:
    unsigned answeredMethods() const override { return HandlePlotElementLoading; }
    bool handlePlotElementLoading(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<IKivoRenderEngine>&,
                                  const std::shared_ptr<KivoRect>& rect, std::int32_t pointIndex,
                                  const std::shared_ptr<KivoPoint>& point, std::int32_t, const std::shared_ptr<plat::Object>&) override {
        // The fill of the area itself comes without a rectangle or a point.
        if (!rect || !point) {
            ++areas;
            return true;
        }
        asked.push_back({rect->left(), rect->top(), rect->width(), rect->height()});
        points.push_back(pointIndex);
        return true;
    }
    int areas = 0;
    std::vector<plat::Rect> asked;
    std::vector<std::int32_t> points;
};

class AreaPlotterTest : public AreaChartTest {};

}  // namespace

TEST_F(AreaPlotterTest, ThreePointsCloseAlongTheOriginAfterTheTopLineIsStroked) {
    chart->setItemsSource(rows({{"a", {1, 3, 2}}}));
    chart->axisY()->setMin(0.0);  // the origin inside the value range
    const auto a = add("a", "A");
    draw();
    const auto fills = areaFills(Red);
    ASSERT_EQ(fills.size(), 1u);
    expectPoints(vertices(*fills[0]), {{sx(0), sy(1)}, {sx(1), sy(3)}, {sx(2), sy(2)}, {sx(2), sy(0)}, {sx(0), sy(0)}});
    // The top line, in the darkened colour, comes before the fill.
    const auto strokes = strokesOf(rec, OmbriChartBase::darken(Red));
    ASSERT_FALSE(strokes.empty());
    expectPoints(vertices(*strokes[0]), {{sx(0), sy(1)}, {sx(1), sy(3)}, {sx(2), sy(2)}});
    EXPECT_LT(strokes[0], fills[0]);

    // The engine calls of the pass, straight, spline, and selected in series mode.
    struct Case {
        const char* name;
        bool spline, selected;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"straight", false, false, {"setBorderDashes", "startGroup series-0", "setFill", "setStroke", "setStrokeThickness",
                                    "setOpacity", "setFill(nil)", "drawLines", "setFill", "drawPolygon", "endGroup"}},
        {"spline", true, false, {"setBorderDashes", "startGroup series-0", "setFill", "setStroke", "setStrokeThickness",
                                 "setOpacity", "setFill", "drawSplineAreas", "endGroup"}},
        {"selected", false, true, {"setBorderDashes", "startGroup series-0", "setBorderDashes(dashed)", "setFill", "setStroke",
                                   "setStrokeThickness", "setOpacity", "saveState", "endGroup"}},
    };
    for (const auto& c : cases) {
        plotter()->setIsSpline(c.spline);
        chart->setSelectionMode(c.selected ? KivoChartSelectionModeSeries : KivoChartSelectionModeNone);
        chart->setSelectedDashes({4, 2});
        if (c.selected) chart->setSelection(a);
        KivoNumberDictionary pos, neg;
        EXPECT_EQ(pass(a, 0, pos, neg)->calls, c.calls) << c.name;
        plotter()->redoSelection(chart->renderEngine());
    }
}

TEST_F(AreaPlotterTest, AnOriginOutsideTheValueRangeClosesAtTheNearerEnd) {
    chart->setItemsSource(rows({{"a", {2, 5, 4}}}));
    const auto a = add("a", "A");
    draw();
    for (const double origin : {-1000.0, 1000.0}) {
        plotter()->setOrigin(origin);
        KivoNumberDictionary pos, neg;
        const auto engine = pass(a, 0, pos, neg);
        ASSERT_EQ(engine->polygonYs.size(), 1u);
        const double edge = origin < 0 ? chart->axisY()->actualMin() : chart->axisY()->actualMax();
        const auto& ys = engine->polygonYs[0];
        ASSERT_EQ(ys.size(), 5u);
        EXPECT_DOUBLE_EQ(ys[3], sy(edge)) << origin;
        EXPECT_DOUBLE_EQ(ys[4], sy(edge)) << origin;
    }
}

TEST_F(AreaPlotterTest, AMissingValueIsJoinedOverOrFilledAndHasNoHitArea) {
    chart->setItemsSource(rows({{"a", {1, NaN, 2, 4}}, {"b", {NaN, NaN, NaN, NaN}}}));
    const auto a = add("a", "A");
    const auto b = add("b", "B");
    draw();
    ASSERT_EQ(areaFills(Red).size(), 1u);
    expectPoints(vertices(*areaFills(Red)[0]), {{sx(0), sy(1)}, {sx(2), sy(2)}, {sx(3), sy(4)}, {sx(3), base()}, {sx(0), base()}});
    std::vector<std::int32_t> indices;
    for (const auto* area : areas(0)) indices.push_back(area->pointIndex());
    EXPECT_EQ(indices, (std::vector<std::int32_t>{0, 2, 3}));

    // Every value missing: a group opened and nothing else, not even its closing.
    KivoNumberDictionary pos, neg;
    EXPECT_EQ(pass(b, 1, pos, neg)->calls, (std::vector<std::string>{"setBorderDashes", "startGroup series-1"}));
    EXPECT_TRUE(areas(1).empty());
    EXPECT_TRUE(areaFills(Blue).empty());

    chart->setInterpolateNulls(true);
    draw();
    expectPoints(vertices(*areaFills(Red)[0]),
                 {{sx(0), sy(1)}, {sx(1), sy(1.5)}, {sx(2), sy(2)}, {sx(3), sy(4)}, {sx(3), base()}, {sx(0), base()}});
    EXPECT_EQ(areas(0).size(), 4u);
}

TEST_F(AreaPlotterTest, StackedSeriesCloseAlongTheSeriesBelowThemLastPointFirst) {
    struct Case {
        const char* name;
        std::int64_t stacking;
        std::vector<double> a, b;
        std::vector<double> bottom, top;  // the second series' totals, as data values
    };
    const Case cases[] = {
        {"stacked", KivoPlotterStackingStacked, {1, 2, 3}, {2, 2, 2}, {1, 2, 3}, {3, 4, 5}},
        // A negative value lowers the running total: the same sum, whatever the sign.
        {"negative", KivoPlotterStackingStacked, {2, 2, 2}, {-3, -1, 1}, {2, 2, 2}, {-1, 1, 3}},
        // Shares of the absolute sum at each X; nothing to share where it is 0.
        {"100 %", KivoPlotterStackingStacked100, {1, 0, 3}, {1, 0, 1}, {0.5, 0, 0.75}, {1, 0, 1}},
    };
    for (const auto& c : cases) {
        chart->series()->removeAllObjects();
        chart->setStacking(c.stacking);
        chart->setItemsSource(rows({{"a", c.a}, {"b", c.b}}));
        add("a", "A");
        add("b", "B");
        draw();
        const auto fills = areaFills(Blue);
        ASSERT_EQ(fills.size(), 1u) << c.name;
        std::vector<plat::Point> want;
        for (std::size_t i = 0; i < 3; ++i) want.push_back({sx(static_cast<double>(i)), sy(c.top[i])});
        for (std::size_t i = 3; i-- > 0;) want.push_back({sx(static_cast<double>(i)), sy(c.bottom[i])});
        SCOPED_TRACE(c.name);
        expectPoints(vertices(*fills[0]), want);
        EXPECT_TRUE(OmbriChartTestAccess::stackneg(*chart).empty());
    }
}

TEST_F(AreaPlotterTest, AStackedLineChartsAxisSpansItsRunningTotalsNotItsLowestValue) {
    chart->setChartType(OmbriChartTypeLine);
    chart->setStacking(KivoPlotterStackingStacked);
    chart->setItemsSource(rows({{"a", {5, 6, 7}}, {"b", {-4, -1, -2}}}));
    add("a", "A");
    add("b", "B");
    draw();
    // The totals drawn reach 1 at the lowest; a bare −4 lies below every line.
    EXPECT_GT(chart->dataInfo()->getMinY(), 0.0);
    EXPECT_DOUBLE_EQ(chart->dataInfo()->getMinY(), 1.0);
    EXPECT_DOUBLE_EQ(chart->dataInfo()->getMaxY(), 7.0);
    // The bars keep their separate positive and negative totals.
    chart->setChartType(OmbriChartTypeColumn);
    draw();
    EXPECT_DOUBLE_EQ(chart->dataInfo()->getMinY(), -4.0);
}

TEST_F(AreaPlotterTest, ARotatedAreaCarriesTheValuesAcrossAndHitAreasAreTaggedWithTheSeriesPosition) {
    chart->setRotated(true);
    chart->setItemsSource(rows({{"hidden", {1, 1}}, {"a", {2, 5}}}));
    add("hidden", "H")->setVisibility(KivoSeriesVisibilityHidden);
    add("a", "A");
    draw();
    EXPECT_TRUE(areas(0).empty());
    const auto found = areas(1);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_DOUBLE_EQ(found[1]->radius(), 5.0);
    EXPECT_NEAR(found[1]->centerX(), chart->axisX()->convert(5), 1e-9);
    EXPECT_NEAR(found[1]->centerY(), chart->axisY()->convert(1), 1e-9);
    const auto point = found[1]->tag().as<KivoChartDataPoint>();
    ASSERT_TRUE(point);
    EXPECT_EQ(point->seriesIndex(), 1);
    EXPECT_EQ(point->pointIndex(), 1);
    EXPECT_DOUBLE_EQ(point->value(), 1);
    EXPECT_DOUBLE_EQ(point->dataX(), 5);
    // The polygon closes along the value axis' origin at the category ends.
    const auto fills = areaFills(Blue);
    ASSERT_EQ(fills.size(), 1u);
    const auto pts = vertices(*fills[0]);
    ASSERT_EQ(pts.size(), 4u);
    const double origin = std::clamp(0.0, chart->axisX()->actualMin(), chart->axisX()->actualMax());
    EXPECT_NEAR(pts[2].x, chart->axisX()->convert(origin), 1e-9);
    EXPECT_NEAR(pts[2].y, chart->axisY()->convert(chart->axisY()->actualDataMax()), 1e-9);
}

TEST_F(AreaPlotterTest, LimitsAreLoweredToAnAxisOriginAndSwappedWhenRotated) {
    chart->setItemsSource(rows({{"x", {10, 15, 20}}, {"a", {3, 4, 6}}}));
    auto s = add("a", "A");
    s->setBindingX("x");
    draw();
    chart->axisX()->setOrigin(5);
    auto r = plotter()->adjustLimits(chart->dataInfo(), std::nullopt);
    EXPECT_DOUBLE_EQ(r->left(), 5);
    EXPECT_DOUBLE_EQ(r->width(), 15);
    EXPECT_DOUBLE_EQ(r->top(), 3);
    EXPECT_DOUBLE_EQ(r->height(), 3);
    chart->axisX()->setOrigin(12);  // above the data's minimum: nothing changes
    EXPECT_DOUBLE_EQ(plotter()->adjustLimits(chart->dataInfo(), std::nullopt)->left(), 10);
    chart->axisX()->setOrigin(5);
    plotter()->setRotated(true);
    r = plotter()->adjustLimits(chart->dataInfo(), std::nullopt);
    EXPECT_DOUBLE_EQ(r->left(), 3);
    EXPECT_DOUBLE_EQ(r->width(), 3);
    EXPECT_DOUBLE_EQ(r->top(), 5);
    EXPECT_DOUBLE_EQ(r->height(), 15);
}

TEST_F(AreaPlotterTest, TheStackedLookUpReadsTheRunningTotalWhateverTheSign) {
    // An absolute sum of 8 at X 0 for the shares.
    chart->setStacking(KivoPlotterStackingStacked100);
    chart->setItemsSource(rows({{"a", {2}}, {"b", {-6}}}));
    add("a", "A");
    add("b", "B");
    draw();
    KivoNumberDictionary pos, neg, none;
    pos.add(1, -5);
    struct Case {
        const char* name;
        bool share;
        double x, y;
        bool added;
        const KivoNumberDictionary* sums;
        double want;
    };
    const Case cases[] = {
        {"added onto -5", false, 1, -3, true, &pos, -8},
        {"not added", false, 1, -3, false, &pos, -5},
        {"no entry", false, 1, -3, true, &none, -3},
        {"a share of 8", true, 0, 2, true, &none, 0.25},
        {"a zero sum", true, 7, 2, true, &none, 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(OmbriChartTestAccess::_getStackedValue(*plotter(), c.share, c.x, c.y, c.added, *c.sums, neg), c.want)
            << c.name;
}

TEST_F(AreaPlotterTest, TheSelectedAreaIsDrawnOnceOnTopWithItsOutlineClosed) {
    auto labels = std::make_shared<AreaLabels>(chart);
    chart->setDataLabelRenderer(labels);
    chart->setItemsSource(rows({{"a", {1, 4, 2}}, {"b", {3, 2, 5}}}));
    add("a", "A");
    const auto b = add("b", "B");
    chart->setSelectionMode(KivoChartSelectionModeSeries);
    chart->setSelectedBorderColor(Green);
    chart->setSelection(b);
    for (const bool labelled : {false, true}) {
        chart->dataLabel()->setPosition(labelled ? KivoDataLabelPositionAbove : KivoDataLabelPositionNone);
        labels->entries.clear();
        draw();
        const auto fills = areaFills(Blue);
        ASSERT_EQ(fills.size(), 1u);
        // After the other series, and stroked closed in the selection colour.
        EXPECT_GT(fills[0], areaFills(Red)[0]);
        const auto outline = strokesOf(rec, Green);
        ASSERT_FALSE(outline.empty());
        const auto pts = vertices(*outline.back());
        ASSERT_EQ(pts.size(), 6u);
        EXPECT_EQ(pts.front().x, pts.back().x);
        EXPECT_EQ(pts.front().y, pts.back().y);
        std::size_t bLabels = 0;
        for (const auto& e : labels->entries) bLabels += e.series == "B";
        // In place, then once more over the redrawn area.
        EXPECT_EQ(bLabels, labelled ? 6u : 0u);
    }
    // A second redraw in a row finds nothing kept.
    rec.clear();
    {
        const plat::CurrentContextScope scope(rec);
        plotter()->redoSelection(chart->renderEngine());
    }
    EXPECT_TRUE(rec.ops().empty());
}

TEST_F(AreaPlotterTest, SymbolsGoOnlyThroughTheElementHooks) {
    chart->setItemsSource(rows({{"a", {2, NaN, 4}}}));
    add("a", "A");
    draw();
    // No symbol of its own: the pass draws the same with a hook that draws nothing.
    const std::size_t plain = rec.ops().size();

    std::vector<std::shared_ptr<KivoChartDataPoint>> seen;
    int fills = 0;
    const auto owner = std::make_shared<int>(0);
    chart->plotElementLoading()->addHandler(KivoEventBlock([&](const std::shared_ptr<KivoEventContainer>& c) {
                                                const auto args = c->args<KivoChartPlotElementEventArgs>();
                                                if (!args->hitTestInfo()) {
                                                    ++fills;
                                                    return;
                                                }
                                                seen.push_back(args->dataPoint());
                                            }),
                                            owner);
    draw();
    EXPECT_EQ(fills, 1);
    ASSERT_EQ(seen.size(), 2u);
    // Numbered by list position: the point after the gap is position 1.
    EXPECT_EQ(seen[1]->pointIndex(), 1);
    EXPECT_EQ(seen[1]->seriesIndex(), 0);
    EXPECT_EQ(rec.ops().size(), plain);

    auto host = std::make_shared<AreaHost>();
    chart->setDelegate(host);
    chart->setIsHandleXFPlotElementLoading(true);
    auto custom = plat::View::create({0, 0, 1, 1});
    chart->setCustomPlotElement(custom);
    draw();
    EXPECT_EQ(host->areas, 1);
    ASSERT_EQ(host->asked.size(), 2u);
    const double s = chart->symbolSize();
    EXPECT_EQ(host->asked[1], (plat::Rect{sx(2), sy(4), s, s}));
    EXPECT_EQ(host->points, (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(custom->frame(), (plat::Rect{sx(2) - s / 2, sy(4) - s / 2, s, s}));
}

TEST_F(AreaPlotterTest, EachAreaLabelsItsOwnPointsByTheirIndex) {
    auto labels = std::make_shared<AreaLabels>(chart);
    chart->setDataLabelRenderer(labels);
    chart->dataLabel()->setPosition(KivoDataLabelPositionAbove);
    // Two areas through the same places: each labels its own values; a gap shifts the list positions.
    chart->setItemsSource(rows({{"a", {1, NaN, 3}}, {"b", {1, 2, 3}}}));
    add("a", "A");
    add("b", "B");
    draw();
    std::map<std::string, std::vector<AreaLabels::Entry>> bySeries;
    for (const auto& e : labels->entries) bySeries[e.series].push_back(e);
    ASSERT_EQ(bySeries["A"].size(), 2u);
    ASSERT_EQ(bySeries["B"].size(), 3u);
    EXPECT_EQ(bySeries["A"][1].pointIndex, 2);
    EXPECT_DOUBLE_EQ(bySeries["A"][1].y, 3);
    EXPECT_DOUBLE_EQ(bySeries["A"][1].x, 2);
    EXPECT_EQ(bySeries["A"][1].seriesIndex, 0);
    EXPECT_EQ(bySeries["A"][1].rect, (plat::Rect{sx(2), sy(3), 0, 0}));
    EXPECT_EQ(bySeries["B"][1].pointIndex, 1);
    EXPECT_EQ(bySeries["B"][1].seriesIndex, 1);
    EXPECT_EQ(bySeries["A"][1].text, chart->axisX()->formatValue(2));

    // Category labels by the point's index, not its list position.
    labels->entries.clear();
    chart->setXlabels({"Jan", "Feb", "Mar"});
    draw();
    ASSERT_GE(labels->entries.size(), 2u);
    EXPECT_EQ(labels->entries[1].text, "Mar");
}

TEST_F(AreaPlotterTest, AnAreaFarDenserThanThePixelColumnsIsHandedOverReducedButKeepsEveryPoint) {
    struct Case {
        const char* name;
        std::size_t points;
        std::int64_t stacking;
        bool reduced;
    };
    const Case cases[] = {
        {"below the threshold", 200, KivoPlotterStackingNone, false},
        {"dense", 20'000, KivoPlotterStackingNone, true},
        {"dense and stacked", 20'000, KivoPlotterStackingStacked, true},
    };
    for (const auto& c : cases) {
        chart->series()->removeAllObjects();
        chart->setStacking(c.stacking);
        std::vector<double> a(c.points), b(c.points);
        for (std::size_t i = 0; i < c.points; ++i) {
            a[i] = 5 + std::sin(static_cast<double>(i) * 0.37);
            b[i] = 3 + std::cos(static_cast<double>(i) * 0.11);
        }
        chart->setItemsSource(rows({{"a", a}, {"b", b}}));
        add("a", "A");
        const auto second = add("b", "B");
        draw();
        SCOPED_TRACE(c.name);
        EXPECT_EQ(areas(1).size(), c.points);
        plotter()->setIsSpline(true);
        KivoNumberDictionary pos, neg;
        const auto first = pass(chart->series()->objectAtIndexAs<KivoSeries>(0), 0, pos, neg);
        const auto engine = pass(second, 1, pos, neg);
        ASSERT_EQ(engine->polygonXs.size(), 1u);
        const std::size_t outline = engine->polygonXs[0].size();
        const std::size_t closing = c.stacking == KivoPlotterStackingNone ? 2 : c.points;
        if (c.reduced) {
            // Each pixel column keeps at most four points of the top line and of a stacked bottom edge,
            // and the reduced outline is filled straight.
            const double columns = chart->plotRect()->width();
            EXPECT_LT(static_cast<double>(outline), 2 * 4 * (columns + 40) + 2);
            EXPECT_EQ(engine->calls.back(), "endGroup");
            EXPECT_NE(std::find(engine->calls.begin(), engine->calls.end(), "drawPolygon"), engine->calls.end());
        } else {
            EXPECT_EQ(outline, c.points + closing);
            EXPECT_NE(std::find(engine->calls.begin(), engine->calls.end(), "drawSplineAreas"), engine->calls.end());
        }
        EXPECT_FALSE(first->calls.empty());
    }
}

TEST_F(AreaPlotterTest, APointByPointLoadClosesTheAreaBelowItsLastRevealedPoint) {
    chart->setItemsSource(rows({{"a", {1, 3, 2, 4}}}));
    chart->axisY()->setMin(0.0);
    const auto a = add("a", "A");
    draw();
    auto load = KivoChartLoadAnimation::create();
    load->setAnimationMode(KivoLoadAnimationModePoint);
    load->setEasing(KivoEasing::EaseInLinear());
    load->setDuration(1);
    chart->setLoadAnimation(load);
    chart->setIsAnimated(true);
    OmbriChartTestAccess::setSuppressAnimation(*chart, false);
    plotter()->setTime(0.5);
    plotter()->setDataInfoCount(3);
    KivoNumberDictionary pos, neg;
    const auto engine = pass(a, 0, pos, neg);
    ASSERT_EQ(engine->polygonXs.size(), 1u);
    const auto pts = pointsOf(engine->polygonXs[0], engine->polygonYs[0]);
    // Half of the way from the first point to the last: the front cuts the segment from 1 to 2.
    const double front = sx(0) + (sx(3) - sx(0)) / 2;
    const double cut = sy(3) + (sy(2) - sy(3)) * (front - sx(1)) / (sx(2) - sx(1));
    expectPoints(pts, {{sx(0), sy(1)}, {sx(1), sy(3)}, {front, cut}, {front, sy(0)}, {sx(0), sy(0)}});
}
