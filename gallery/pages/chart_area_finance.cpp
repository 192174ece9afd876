// The area family of the Cartesian chart, drawn by its area plotter: an area, stacked areas with a
// negative series, a spline area, stacked 100 % areas, and a selected area drawn last with its
// outline closed; below them four frames of an item inserted in the middle of a stacked area (at the
// start of the move, a third and two thirds of the way, and at its end); last, the finance plotter's
// candlesticks (a rising day hollow, a falling day filled) and high-low-open-close marks (the open tick
// to the left, the close tick to the right) over two weeks of trading days on a time axis.
//
// The page is a list of panels, each a chart in its own frame; the page grows to hold them all.

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ChartCore/KivoLegend.h"
#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoEasing.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/foundation/date.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/ui/window.h"
#include "gallery_page.h"

namespace {

constexpr double PageWidth = 800;
constexpr double Gap = 12;
constexpr double NarrowWidth = (PageWidth - 4 * Gap) / 3;
constexpr double WideWidth = (PageWidth - 3 * Gap) / 2;
constexpr double FrameWidth = (PageWidth - 5 * Gap) / 4;
constexpr double RowHeight = 240;
constexpr double FrameRowHeight = 200;
// The page is rendered after this much of the gallery's virtual time: the strip's frames are taken then.
constexpr double SettleSeconds = 1.0;
// Where along the insertion each frame of the strip stands; a move too long to notice stands for its start.
constexpr double StripFractions[] = {1e-9, 1.0 / 3, 2.0 / 3, 1.0};
constexpr int Months = 12;
constexpr int InsertAt = 3;
constexpr double Day = 86400;
// Monday 2 March 2026, 00:00 UTC.
constexpr double FirstTradingDay = 1772409600;

const plat::Color Ink = plat::Color::rgb255(40, 48, 60);
const plat::Color Muted = plat::Color::rgb255(110, 118, 130);
const plat::Color AxisLine = plat::Color::rgb255(120, 128, 142);
const plat::Color Grid = plat::Color::rgb255(222, 226, 233);
const plat::Color Frame = plat::Color::rgb255(170, 177, 189);
const plat::Color Selection = plat::Color::rgb255(230, 120, 20);
const std::vector<plat::Color> Palette{plat::Color::rgb255(38, 110, 190), plat::Color::rgb255(214, 69, 80),
                                       plat::Color::rgb255(46, 150, 100), plat::Color::rgb255(140, 90, 180)};

struct Panel {
    plat::Rect frame;
    std::function<std::shared_ptr<OmbriChart>(const plat::Rect&)> make;
    // Run once the chart is in the window and drawn (the strip inserts its item then).
    std::function<void(OmbriChart&)> afterFirstPass{};
};

plat::Value item(double x, const std::vector<std::pair<std::string, double>>& values) {
    plat::Dictionary d{{"x", x}};
    for (const auto& [name, v] : values) d[name] = std::isnan(v) ? plat::Value() : plat::Value(v);
    return plat::Value(std::move(d));
}

// An item without an X: it stands at its position among the items.
plat::Value category(const std::vector<std::pair<std::string, double>>& values) {
    plat::Dictionary d;
    for (const auto& [name, v] : values) d[name] = v;
    return plat::Value(std::move(d));
}

void styleAxis(KivoAxis& axis) {
    axis.setLabelFont(plat::Font::system(10));
    axis.setLabelTextColor(Muted);
    axis.setLineColor(AxisLine);
    axis.setMajorTickColor(AxisLine);
    axis.setMajorGridColor(Grid);
}

std::shared_ptr<OmbriChart> makeChart(const plat::Rect& frame, const std::string& header, std::int64_t type, plat::ArrayPtr items) {
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
    chart->setBindingX("x");
    chart->setItemsSource(std::move(items));
    styleAxis(*chart->axisX());
    styleAxis(*chart->axisY());
    chart->axisY()->setMajorGridVisible(true);
    return chart;
}

std::shared_ptr<KivoSeries> addSeries(const std::shared_ptr<OmbriChart>& chart, const std::string& binding,
                                      const std::string& name, double opacity = 0.75) {
    auto s = KivoSeries::create(chart, binding, name);
    s->setOpacity(opacity);
    s->setBorderWidth(1.5);
    chart->series()->addObject(plat::Value(s));
    return s;
}

void showLegendAtBottom(OmbriChart& chart) {
    chart.legend()->setPosition(KivoAxisPositionBottom);
    chart.legend()->setLabelTextColor(Ink);
}

// Sales, costs and returns per month.
plat::ArrayPtr monthly() {
    auto items = std::make_shared<plat::Array>();
    for (int m = 0; m < Months; ++m)
        items->push_back(item(m + 1, {{"sales", std::round(30 + 12 * std::sin(m * 0.55) + m)},
                                      {"costs", std::round(18 + 6 * std::cos(m * 0.5))},
                                      {"returns", -std::round(3 + 4 * std::fabs(std::sin(m * 0.8)))}}));
    return items;
}

// Costs under sales, the sales paler so that the costs show through them.
std::shared_ptr<OmbriChart> costsAndSales(const plat::Rect& frame, const std::string& header, std::int64_t type) {
    auto chart = makeChart(frame, header, type, monthly());
    addSeries(chart, "costs", "Costs");
    addSeries(chart, "sales", "Sales", 0.55);
    showLegendAtBottom(*chart);
    return chart;
}

std::shared_ptr<OmbriChart> stackedChart(const plat::Rect& frame) {
    auto chart = makeChart(frame, "Stacked, returns negative", OmbriChartTypeArea, monthly());
    chart->setStacking(KivoPlotterStackingStacked);
    addSeries(chart, "costs", "Costs");
    addSeries(chart, "sales", "+ sales");
    addSeries(chart, "returns", "− returns");
    showLegendAtBottom(*chart);
    return chart;
}

std::shared_ptr<OmbriChart> percentChart(const plat::Rect& frame) {
    auto chart = makeChart(frame, "Stacked 100 %", OmbriChartTypeArea, monthly());
    chart->setStacking(KivoPlotterStackingStacked100);
    addSeries(chart, "costs", "Costs", 0.9);
    addSeries(chart, "sales", "Sales", 0.9);
    chart->axisY()->setFormat("P0");
    chart->axisY()->setMajorUnit(0.25);
    showLegendAtBottom(*chart);
    return chart;
}

std::shared_ptr<OmbriChart> selectedChart(const plat::Rect& frame) {
    auto chart = makeChart(frame, "The selected area is drawn last, outlined", OmbriChartTypeArea, monthly());
    addSeries(chart, "sales", "Sales", 0.6);
    auto selected = addSeries(chart, "costs", "Costs (selected)", 0.6);
    chart->setSelectionMode(KivoChartSelectionModeSeries);
    chart->setSelectedBorderColor(Selection);
    chart->setSelectedBorderWidth(3);
    chart->setSelectedDashes({6, 3});
    chart->setSelection(selected);
    chart->dataLabel()->setPosition(KivoDataLabelPositionAbove);
    showLegendAtBottom(*chart);
    return chart;
}

// Two stacked series, the lower one with a negative month, into which a month is inserted.
std::shared_ptr<OmbriChart> stripChart(const plat::Rect& frame, double fraction) {
    auto items = std::make_shared<plat::Array>();
    const double lower[] = {6, 8, 7, 9, -3, 8, 10};
    const double upper[] = {5, 4, 6, 5, 6, 7, 5};
    for (int k = 0; k < 7; ++k) items->push_back(category({{"lower", lower[k]}, {"upper", upper[k]}}));
    const int percent = static_cast<int>(std::round(fraction * 100));
    auto chart = makeChart(frame, "Inserted: " + std::to_string(percent) + " %", OmbriChartTypeArea, items);
    chart->setStacking(KivoPlotterStackingStacked);
    addSeries(chart, "lower", "Lower", 0.8);
    addSeries(chart, "upper", "Upper", 0.8);
    chart->axisY()->setMin(-6.0);
    chart->axisY()->setMax(24.0);
    auto update = std::make_shared<KivoAnimation>();
    update->setEasing(KivoEasing::EaseInLinear());
    update->setDuration(SettleSeconds / fraction);
    chart->setUpdateAnimation(update);
    return chart;
}

void insertMonth(OmbriChart& chart) {
    chart.setIsAnimated(true);
    chart.collectionView()->insertObject(category({{"lower", 16}, {"upper", 3}}), InsertAt);
}

struct Session {
    int day;  // days after FirstTradingDay
    double open, high, low, close;
};
// Ten trading days, weekends left out: rising and falling days, a flat one, long and short wicks.
const Session Sessions[] = {{0, 101.0, 104.5, 99.2, 103.8},  {1, 103.6, 106.1, 102.4, 102.9}, {2, 102.7, 103.3, 97.8, 98.6},
                            {3, 98.9, 101.7, 98.1, 101.2},   {4, 101.4, 102.0, 100.6, 101.4}, {7, 101.0, 107.9, 100.7, 107.2},
                            {8, 107.5, 109.4, 105.1, 105.6}, {9, 105.2, 106.0, 101.3, 102.1}, {10, 102.4, 105.5, 102.0, 104.9},
                            {11, 105.1, 108.8, 104.6, 108.3}};

std::shared_ptr<OmbriChart> financeChart(const plat::Rect& frame, const std::string& header, std::int64_t type,
                                         const plat::Color& color) {
    auto items = std::make_shared<plat::Array>();
    for (const auto& s : Sessions)
        items->push_back(plat::Value(plat::Dictionary{{"x", plat::Value(plat::Date(FirstTradingDay + s.day * Day))},
                                                      {"high", s.high},
                                                      {"low", s.low},
                                                      {"open", s.open},
                                                      {"close", s.close}}));
    auto chart = makeChart(frame, header, type, items);
    chart->axisX()->setFormat("d MMM");
    auto series = KivoSeries::create(chart, "high,low,open,close", "Share price");
    series->setColor(color);
    chart->series()->addObject(plat::Value(series));
    return chart;
}

std::vector<Panel> allPanels() {
    const double row2 = Gap + RowHeight + Gap, row3 = row2 + RowHeight + Gap;
    std::vector<Panel> panels{
        {{Gap, Gap, NarrowWidth, RowHeight},
         [](const plat::Rect& frame) { return costsAndSales(frame, "Area", OmbriChartTypeArea); }},
        {{2 * Gap + NarrowWidth, Gap, NarrowWidth, RowHeight}, stackedChart},
        {{3 * Gap + 2 * NarrowWidth, Gap, NarrowWidth, RowHeight},
         [](const plat::Rect& frame) { return costsAndSales(frame, "Spline area", OmbriChartTypeSplineArea); }},
        {{Gap, row2, WideWidth, RowHeight}, percentChart},
        {{2 * Gap + WideWidth, row2, WideWidth, RowHeight}, selectedChart},
    };
    for (std::size_t k = 0; k < std::size(StripFractions); ++k) {
        const double fraction = StripFractions[k];
        panels.push_back({{Gap + static_cast<double>(k) * (FrameWidth + Gap), row3, FrameWidth, FrameRowHeight},
                          [fraction](const plat::Rect& frame) { return stripChart(frame, fraction); }, insertMonth});
    }
    const double row4 = row3 + FrameRowHeight + Gap;
    panels.push_back({{Gap, row4, WideWidth, RowHeight}, [](const plat::Rect& frame) {
                          return financeChart(frame, "Candlesticks: rising hollow, falling filled", OmbriChartTypeCandlestick,
                                              plat::Color::rgb255(20, 130, 140));
                      }});
    panels.push_back({{2 * Gap + WideWidth, row4, WideWidth, RowHeight}, [](const plat::Rect& frame) {
                          return financeChart(frame, "High, low, open, close", OmbriChartTypeHighLowOpenClose,
                                              plat::Color::rgb255(40, 70, 150));
                      }});
    return panels;
}

plat::Size pageSize() {
    double bottom = 0;
    for (const auto& panel : allPanels()) bottom = std::max(bottom, panel.frame.maxY());
    return {PageWidth, bottom + Gap};
}

void populate(plat::Window& window) {
    window.setBackgroundColor(plat::Color::rgb255(236, 239, 243));
    std::vector<std::pair<std::shared_ptr<OmbriChart>, std::function<void(OmbriChart&)>>> later;
    for (const auto& panel : allPanels()) {
        auto chart = panel.make(panel.frame);
        window.addSubview(chart);
        if (panel.afterFirstPass) later.emplace_back(chart, panel.afterFirstPass);
    }
    // The strip's charts are drawn once with their first data, so that the insertion moves from there.
    plat::RecordingContext first;
    window.display(first);
    for (const auto& [chart, step] : later) step(*chart);
}

const gallery::PageRegistrar registrar({
    .name = "chart_area_finance",
    .description = "The area family: areas, stacked areas with a negative series, a spline area, stacked 100 % "
                   "areas, a selected area drawn last with its outline closed; and four frames of a month inserted "
                   "in the middle of a stacked area (its start, a third, two thirds, its end); candlesticks and "
                   "high-low-open-close marks over two weeks of trading days on a time axis.",
    .size = pageSize(),
    .populate = populate,
    .settleSeconds = SettleSeconds,
});

}  // namespace
