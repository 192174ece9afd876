// The line family of the Cartesian chart, drawn by its line plotter: a line, a spline and a line with
// symbols over data with a missing value (the lines join across it, no symbol marks it); stacked
// lines with a negative value; a selected line with symbols on top of the others; three frames of a
// point-by-point load; a line of a million points, stroked through each pixel column's extremes, and
// the same points as a scatter, its symbols stamped and repeats left out.
// Below them, the scatter and bubble plotter: scatter points, bubbles sized by a third value, and
// bubbles growing through their load.
//
// The page is a list of panels, each a chart in its own frame; the page grows to hold them all.

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ChartCore/KivoLegend.h"
#include "KivoCore/KivoEasing.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/foundation/reflect.h"
#include "Platform/ui/window.h"
#include "chart/ChartState.h"
#include "gallery_page.h"

namespace {

constexpr double PageWidth = 800;
constexpr double Gap = 12;
constexpr double WideWidth = (PageWidth - 3 * Gap) / 2;
constexpr double NarrowWidth = (PageWidth - 4 * Gap) / 3;
constexpr double RowHeight = 240;
constexpr double FrameRowHeight = 200;
// The page is rendered after this much of the gallery's virtual time: the load frames are taken then.
constexpr double SettleSeconds = 1.0;
constexpr double LoadFractions[] = {0.45, 0.7, 0.9};
constexpr std::size_t MillionPoints = 1'000'000;
// Translucent, so that where the million symbols crowd the band shows darker.
constexpr double MillionSymbolOpacity = 0.5;
constexpr int Weeks = 16;

const plat::Color Ink = plat::Color::rgb255(40, 48, 60);
const plat::Color Muted = plat::Color::rgb255(110, 118, 130);
const plat::Color AxisLine = plat::Color::rgb255(120, 128, 142);
const plat::Color Grid = plat::Color::rgb255(222, 226, 233);
const plat::Color Frame = plat::Color::rgb255(170, 177, 189);
const plat::Color Selection = plat::Color::rgb255(230, 120, 20);
const std::vector<plat::Color> Palette{plat::Color::rgb255(38, 110, 190), plat::Color::rgb255(214, 69, 80),
                                       plat::Color::rgb255(46, 150, 100), plat::Color::rgb255(140, 90, 180)};

// One panel of the page: a chart in its frame.
struct Panel {
    plat::Rect frame;
    std::function<std::shared_ptr<OmbriChart>(const plat::Rect&)> make;
};

// A reading of a sensor: the item type of the million-point line (plain numbers, not dictionaries).
class Reading : public plat::Object {
public:
    PLAT_CLASS()
    double t = 0;
    double level = 0;
};
PLAT_DEFINE_CLASS(Reading, plat::Object, plat::property("t", &Reading::t), plat::property("level", &Reading::level))

// A dictionary item with an X and named values; NaN leaves a value out.
plat::Value item(double x, const std::vector<std::pair<std::string, double>>& values) {
    plat::Dictionary d{{"x", x}};
    for (const auto& [name, v] : values) d[name] = std::isnan(v) ? plat::Value() : plat::Value(v);
    return plat::Value(std::move(d));
}

void styleAxis(KivoAxis& axis, const std::string& title) {
    axis.setTitle(title);
    axis.setTitleFont(plat::Font::system(11));
    axis.setLabelFont(plat::Font::system(10));
    axis.setLabelTextColor(Muted);
    axis.setLineColor(AxisLine);
    axis.setMajorTickColor(AxisLine);
    axis.setMajorGridColor(Grid);
}

std::shared_ptr<OmbriChart> makeChart(const plat::Rect& frame, const std::string& header, std::int64_t type, plat::ArrayPtr items,
                                      const std::string& bindingX = "x") {
    auto chart = OmbriChart::create(frame);
    chart->setIsAnimated(false);
    chart->setChartType(type);
    chart->setPalette(Palette);
    chart->setBackgroundColor(plat::Color::white());
    chart->setBorderColor(Frame);
    chart->setBorderWidth(1);
    chart->setPadding({8, 10, 8, 12});
    chart->setHeader(header);
    chart->setHeaderFont(plat::Font::boldSystem(13));
    chart->setTextColor(Ink);
    chart->legend()->setPosition(KivoAxisPositionNone);
    chart->setBindingX(bindingX);
    chart->setItemsSource(std::move(items));
    styleAxis(*chart->axisX(), "");
    styleAxis(*chart->axisY(), "");
    chart->axisY()->setMajorGridVisible(true);
    return chart;
}

std::shared_ptr<KivoSeries> addSeries(const std::shared_ptr<OmbriChart>& chart, const std::string& binding,
                                      const std::string& name, std::int64_t type = OmbriChartTypeDefault) {
    auto s = KivoSeries::create(chart, binding, name);
    s->setChartType(type);
    chart->series()->addObject(plat::Value(s));
    return s;
}

void showLegendAtBottom(OmbriChart& chart) {
    auto& legend = *chart.legend();
    legend.setPosition(KivoAxisPositionBottom);
    legend.setLabelTextColor(Ink);
}

// ---- The line plotter's panels ----

std::shared_ptr<OmbriChart> variantsChart(const plat::Rect& frame) {
    // Week 6 has no reading: every line joins across it, and the symbols leave it out.
    auto items = std::make_shared<plat::Array>();
    for (int w = 0; w < 12; ++w) {
        const double missing = w == 6 ? NAN : 0;
        items->push_back(item(w, {{"north", 22 + 8 * std::sin(w * 0.6) + missing},
                                  {"south", 14 + 6 * std::cos(w * 0.5) + missing},
                                  {"east", 6 + w * 0.9 + missing}}));
    }
    auto chart = makeChart(frame, "Line, spline and symbols: week 6 is missing", OmbriChartTypeLine, items);
    addSeries(chart, "north", "Line", OmbriChartTypeLine);
    addSeries(chart, "south", "Spline", OmbriChartTypeSpline);
    addSeries(chart, "east", "Line with symbols", OmbriChartTypeLineSymbols);
    showLegendAtBottom(*chart);
    return chart;
}

std::shared_ptr<OmbriChart> stackedChart(const plat::Rect& frame) {
    // Energy balance per month: the returns to the grid are negative and stack below the others' sum.
    const double solar[] = {2, 3, 5, 7, 9, 10, 10, 9, 7, 5, 3, 2};
    const double wind[] = {8, 7, 7, 5, 4, 3, 3, 4, 5, 7, 8, 9};
    const double exported[] = {0, 0, -1, -3, -5, -6, -6, -5, -3, -1, 0, 0};
    auto items = std::make_shared<plat::Array>();
    for (int m = 0; m < 12; ++m) items->push_back(item(m + 1, {{"solar", solar[m]}, {"wind", wind[m]}, {"export", exported[m]}}));
    auto chart = makeChart(frame, "Stacked lines, the last one negative", OmbriChartTypeLineSymbols, items);
    chart->setStacking(KivoPlotterStackingStacked);
    addSeries(chart, "solar", "Solar");
    addSeries(chart, "wind", "Solar + wind");
    addSeries(chart, "export", "After export");
    showLegendAtBottom(*chart);
    return chart;
}

std::shared_ptr<OmbriChart> selectedChart(const plat::Rect& frame) {
    auto items = std::make_shared<plat::Array>();
    for (int d = 0; d < 10; ++d)
        items->push_back(item(d, {{"a", std::round(30 + 10 * std::sin(d * 0.7))},
                                  {"b", std::round(28 + 9 * std::cos(d * 0.6))},
                                  {"c", std::round(20 + d * 1.8)}}));
    auto chart = makeChart(frame, "The selected series is drawn last, on top", OmbriChartTypeLineSymbols, items);
    addSeries(chart, "a", "Plan");
    auto selected = addSeries(chart, "b", "Actual (selected)");
    addSeries(chart, "c", "Trend");
    chart->setSelectionMode(KivoChartSelectionModeSeries);
    chart->setSelectedBorderColor(Selection);
    chart->setSelectedBorderWidth(3);
    chart->setSelectedDashes({6, 3});
    chart->setSelection(selected);
    chart->dataLabel()->setPosition(KivoDataLabelPositionAbove);
    showLegendAtBottom(*chart);
    return chart;
}

// A frame of the point-by-point load, `fraction` of its way through when the page is rendered.
std::shared_ptr<OmbriChart> loadFrameChart(const plat::Rect& frame, double fraction) {
    auto items = std::make_shared<plat::Array>();
    for (int w = 0; w < Weeks; ++w) items->push_back(item(w, {{"v", 40 + 25 * std::sin(w * 0.45) + w}}));
    auto chart = makeChart(frame, "Loading: " + std::to_string(static_cast<int>(fraction * 100)) + " % of the time",
                           OmbriChartTypeLine, items);
    addSeries(chart, "v", "Visits");
    chart->axisY()->setMin(0.0);
    chart->axisY()->setMax(90.0);
    auto load = KivoChartLoadAnimation::create();
    load->setAnimationMode(KivoLoadAnimationModePoint);
    load->setEasing(KivoEasing::EaseInLinear());
    load->setDuration(SettleSeconds / fraction);
    chart->setLoadAnimation(load);
    chart->setIsAnimated(true);
    return chart;
}

// A deterministic random walk of a million readings, made once for the panels that show it.
plat::ArrayPtr millionReadings() {
    static const plat::ArrayPtr items = [] {
        auto list = std::make_shared<plat::Array>();
        list->reserve(MillionPoints);
        std::uint32_t seed = 20240611;
        double level = 0;
        for (std::size_t i = 0; i < MillionPoints; ++i) {
            seed = seed * 1664525u + 1013904223u;
            level += (seed >> 8) / double(1u << 24) - 0.5;
            auto reading = std::make_shared<Reading>();
            reading->t = static_cast<double>(i);
            reading->level = level;
            list->push_back(plat::Value(reading));
        }
        return list;
    }();
    return items;
}

std::shared_ptr<OmbriChart> millionChart(const plat::Rect& frame) {
    auto chart = makeChart(frame, "A million points, one pixel column at a time", OmbriChartTypeLine, millionReadings(), "t");
    auto walk = addSeries(chart, "level", "Walk");
    walk->setBorderWidth(1);
    return chart;
}

std::shared_ptr<OmbriChart> millionScatterChart(const plat::Rect& frame) {
    auto chart =
        makeChart(frame, "The same million points as symbols, each shape stamped", OmbriChartTypeScatter, millionReadings(), "t");
    auto walk = addSeries(chart, "level", "Walk");
    walk->setSymbolOpacity(MillionSymbolOpacity);
    return chart;
}

std::vector<Panel> linePanels() {
    const double row2 = Gap + RowHeight + Gap, millionRow = row2 + RowHeight + Gap, row3 = millionRow + RowHeight + Gap;
    std::vector<Panel> panels{
        {{Gap, Gap, WideWidth, RowHeight}, variantsChart},
        {{2 * Gap + WideWidth, Gap, WideWidth, RowHeight}, stackedChart},
        {{Gap, row2, WideWidth, RowHeight}, selectedChart},
        {{2 * Gap + WideWidth, row2, WideWidth, RowHeight}, millionChart},
        {{Gap, millionRow, PageWidth - 2 * Gap, RowHeight}, millionScatterChart},
    };
    for (std::size_t k = 0; k < std::size(LoadFractions); ++k) {
        const double fraction = LoadFractions[k];
        panels.push_back({{Gap + k * (NarrowWidth + Gap), row3, NarrowWidth, FrameRowHeight},
                          [fraction](const plat::Rect& frame) { return loadFrameChart(frame, fraction); }});
    }
    return panels;
}

// ---- The scatter and bubble plotter's panels ----

constexpr int ScatterTrees = 24;
constexpr double ScatterAgeRange[] = {1, 15};
constexpr double ScatterWeightRange[] = {40, 220};
constexpr float BubbleMinSize = 8;
constexpr float BubbleMaxSize = 44;
constexpr double BubbleOpacity = 0.75;
// The share of the bubbles' load animation the growing panel shows.
constexpr double BubbleGrowthShown = 0.6;
constexpr double BubbleRentRange[] = {500, 2200};
constexpr double BubbleSalaryRange[] = {1500, 5200};

// A deterministic spread in -0.5 … 0.5.
double jitter(std::uint32_t& seed) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) / double(1u << 24) - 0.5;
}

std::shared_ptr<OmbriChart> scatterChart(const plat::Rect& frame) {
    // Two orchards: fruit weight against tree age, one point per tree.
    auto items = std::make_shared<plat::Array>();
    std::uint32_t seed = 7;
    for (int t = 0; t < ScatterTrees; ++t) {
        const double age = 2 + t * 0.5 + jitter(seed);
        items->push_back(item(age, {{"east", 80 + age * 9 + 30 * jitter(seed)}, {"west", 60 + age * 6 + 30 * jitter(seed)}}));
    }
    auto chart = makeChart(frame, "Scatter: weight by tree age", OmbriChartTypeScatter, items);
    addSeries(chart, "east", "East orchard");
    addSeries(chart, "west", "West orchard")->setSymbolMarker(1);
    // Symbols at the plot's edge are drawn whole: the axes keep them clear of the axis lines.
    chart->axisX()->setMin(ScatterAgeRange[0]);
    chart->axisX()->setMax(ScatterAgeRange[1]);
    chart->axisY()->setMin(ScatterWeightRange[0]);
    chart->axisY()->setMax(ScatterWeightRange[1]);
    showLegendAtBottom(*chart);
    return chart;
}

// Cities: rent (X), salary (Y) and population in millions (the bubble's size).
struct City {
    const char* name;
    double rent, salary, population;
};
const City Cities[] = {{"Aster", 900, 2600, 0.6},   {"Brae", 1250, 3300, 2.4},  {"Corran", 1600, 3900, 8.9},
                       {"Dunmore", 700, 2100, 0.3}, {"Elsby", 1100, 2700, 1.2}, {"Fenwick", 1900, 4600, 4.1},
                       {"Garth", 1450, 3100, 0.9}};

std::shared_ptr<OmbriChart> bubbleChart(const plat::Rect& frame, bool growing) {
    auto items = std::make_shared<plat::Array>();
    for (const auto& city : Cities) items->push_back(item(city.rent, {{"salary", city.salary}, {"people", city.population}}));
    auto chart = makeChart(frame, growing ? "Bubbles growing: 60 %" : "Bubbles: city size", OmbriChartTypeBubble, items);
    chart->options()->setBubbleMinSize(BubbleMinSize);
    chart->options()->setBubbleMaxSize(BubbleMaxSize);
    // The axes are not widened for the bubbles' extent: these ranges leave room for them.
    chart->axisX()->setMin(BubbleRentRange[0]);
    chart->axisX()->setMax(BubbleRentRange[1]);
    chart->axisY()->setMin(BubbleSalaryRange[0]);
    chart->axisY()->setMax(BubbleSalaryRange[1]);
    auto cities = addSeries(chart, "salary,people", "Cities");
    cities->setSymbolOpacity(BubbleOpacity);
    cities->setSymbolBorderWidth(1);
    if (growing) {
        auto load = KivoChartLoadAnimation::create();
        load->setEasing(KivoEasing::EaseInLinear());
        load->setDuration(SettleSeconds / BubbleGrowthShown);
        chart->setLoadAnimation(load);
        chart->setIsAnimated(true);
    } else {
        chart->dataLabel()->setPosition(KivoDataLabelPositionAbove);
    }
    return chart;
}

std::vector<Panel> bubblePanels(double top) {
    return {
        {{Gap, top, NarrowWidth, RowHeight}, scatterChart},
        {{2 * Gap + NarrowWidth, top, NarrowWidth, RowHeight}, [](const plat::Rect& frame) { return bubbleChart(frame, false); }},
        {{3 * Gap + 2 * NarrowWidth, top, NarrowWidth, RowHeight},
         [](const plat::Rect& frame) { return bubbleChart(frame, true); }},
    };
}

std::vector<Panel> allPanels() {
    auto panels = linePanels();
    double bottom = 0;
    for (const auto& panel : panels) bottom = std::max(bottom, panel.frame.maxY());
    for (auto& panel : bubblePanels(bottom + Gap)) panels.push_back(std::move(panel));
    return panels;
}

plat::Size pageSize() {
    double bottom = 0;
    for (const auto& panel : allPanels()) bottom = std::max(bottom, panel.frame.maxY());
    return {PageWidth, bottom + Gap};
}

void populate(plat::Window& window) {
    window.setBackgroundColor(plat::Color::rgb255(236, 239, 243));
    for (const auto& panel : allPanels()) {
        auto chart = panel.make(panel.frame);
        window.addSubview(chart);
        // An animated chart starts its load now, so that the page shows it part of the way.
        if (chart->isAnimated()) kivo::detail::ChartInternals::startLoadingAnimationTask(*chart);
    }
}

const gallery::PageRegistrar registrar({
    .name = "chart_lines",
    .description = "The line family: a line, a spline and a line with symbols over data with a missing week (the "
                   "lines join across it, no symbol marks it); stacked lines with a negative series; a selected "
                   "series with symbols and labels, drawn last with a dashed border; a line of a million points "
                   "stroked through each pixel column's extremes; three frames of a point-by-point load; scatter points of two "
                   "orchards (circles and squares); bubbles sized by population, with labels; and bubbles growing "
                   "through the load.",
    .size = pageSize(),
    .populate = populate,
    .settleSeconds = SettleSeconds,
});

}  // namespace
