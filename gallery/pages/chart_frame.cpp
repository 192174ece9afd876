// The Cartesian chart's drawing pass around its series: background, border and padding, header and
// footer, the legend box on each side, the axes with their grid over the plot-area background, an
// axis crossing the plot at its origin, and the line marker, round columns, bars and lines.

#include <string>
#include <vector>

#include "ChartCore/KivoLegend.h"
#include "OmbriChart/KivoChartLineMarker.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/ui/window.h"
#include "gallery_page.h"

namespace {

constexpr plat::Rect SalesFrame{12, 12, 460, 476};
constexpr plat::Rect DownloadsFrame{484, 12, 304, 232};
constexpr plat::Rect AnomalyFrame{484, 256, 304, 232};

constexpr int FirstYear = 2012;
constexpr double Anomaly[] = {0.12, 0.18, -0.32, 0.25, 0.31, -0.28, 0.35, 0.28, 0.44, 0.38, 0.61, 0.55};
constexpr double OceanShare = 0.8;  // of the land anomaly
constexpr double MarkedYear = 2019;
constexpr double MarkedAnomaly = Anomaly[static_cast<int>(MarkedYear) - FirstYear];

const plat::Color Ink = plat::Color::rgb255(40, 48, 60);
const plat::Color Muted = plat::Color::rgb255(110, 118, 130);
const plat::Color AxisLine = plat::Color::rgb255(120, 128, 142);
const plat::Color Grid = plat::Color::rgb255(214, 219, 228);
const plat::Color PlotBackground = plat::Color::rgb255(247, 249, 252);
const plat::Color Border = plat::Color::rgb255(160, 168, 180);
const plat::Color LegendBackground = plat::Color::rgb255(250, 251, 253);
const plat::Color MarkerColor = plat::Color::rgb255(214, 69, 80, 0.8);

plat::Value record(plat::Value x, double a, double b, double c = 0) {
    return plat::Value(plat::Dictionary{{"x", std::move(x)}, {"a", a}, {"b", b}, {"c", c}});
}

void styleAxis(KivoAxis& axis, const std::string& title) {
    axis.setTitle(title);
    axis.setTitleFont(plat::Font::boldSystem(11));
    axis.setLabelFont(plat::Font::system(11));
    axis.setLabelTextColor(Ink);
    axis.setLineColor(AxisLine);
    axis.setMajorTickColor(AxisLine);
    axis.setMajorGridColor(Grid);
}

std::shared_ptr<OmbriChart> makeChart(const plat::Rect& frame, const std::string& header, plat::ArrayPtr items,
                                      const std::vector<std::pair<const char*, const char*>>& series) {
    auto chart = OmbriChart::create(frame);
    chart->setIsAnimated(false);
    chart->setBackgroundColor(plat::Color::white());
    chart->setBorderColor(Border);
    chart->setBorderWidth(1);
    chart->setPadding({10, 12, 10, 14});
    chart->setPlotMargin({6, 0, 0, 6});
    chart->setPlotAreaBackgroundColor(PlotBackground);
    chart->setHeader(header);
    chart->setHeaderFont(plat::Font::boldSystem(14));
    chart->setTextColor(Ink);
    chart->setFooterTextColor(Muted);
    auto& legend = *chart->legend();
    legend.setLabelTextColor(Ink);
    legend.setBackgroundColor(LegendBackground);
    legend.setBorderWidth(1);
    legend.setBorderColor(Grid);
    chart->setBindingX("x");
    chart->setItemsSource(std::move(items));
    for (const auto& [binding, name] : series) chart->series()->addObject(plat::Value(KivoSeries::create(chart, binding, name)));
    styleAxis(*chart->axisX(), "");
    styleAxis(*chart->axisY(), "");
    return chart;
}

// Columns by country with the legend on the right.
std::shared_ptr<OmbriChart> salesChart() {
    auto items = std::make_shared<plat::Array>(
        plat::Array{record("US", 8200, 4300, 15800), record("Germany", 6100, 3900, 11200), record("UK", 5400, 2600, 9600),
                    record("Japan", 7300, 4800, 17400), record("Italy", 3900, 2200, 6100), record("Greece", 2100, 1500, 4300)});
    auto chart = makeChart(SalesFrame, "Sales, expenses and downloads by country", items,
                           {{"a", "Sales"}, {"b", "Expenses"}, {"c", "Downloads"}});
    chart->setFooter("Clustered columns, one colour per series");
    chart->legend()->setPosition(KivoAxisPositionRight);
    styleAxis(*chart->axisX(), "Country");
    auto& y = *chart->axisY();
    styleAxis(y, "Amount");
    y.setMax(18000);
    y.setMajorUnit(2000);
    y.setFormat("N0");
    return chart;
}

// Bars (a rotated chart: the values run along the bottom) with the legend on top.
std::shared_ptr<OmbriChart> downloadsChart() {
    auto items = std::make_shared<plat::Array>(
        plat::Array{record("Phone", 42, 35), record("Tablet", 18, 24), record("Desktop", 29, 31), record("Watch", 7, 12)});
    auto chart = makeChart(DownloadsFrame, "Downloads by device (k)", items, {{"a", "2023"}, {"b", "2024"}});
    chart->setChartType(OmbriChartTypeBar);
    chart->legend()->setPosition(KivoAxisPositionTop);
    // The values run along the X axis, the categories up the Y axis.
    chart->axisX()->setMajorGridVisible(true);
    chart->axisX()->setMax(45);
    chart->axisY()->setMajorGridVisible(false);
    return chart;
}

// Numeric X values with the value axis crossing at 0, a line marker, and the legend at the bottom.
std::shared_ptr<OmbriChart> anomalyChart() {
    auto items = std::make_shared<plat::Array>();
    for (int i = 0; i < 12; ++i) items->push_back(record(FirstYear + i, Anomaly[i], Anomaly[i] * OceanShare));
    auto chart = makeChart(AnomalyFrame, "Temperature anomaly (°C)", items, {{"a", "Land"}, {"b", "Ocean"}});
    chart->setChartType(OmbriChartTypeLineSymbols);
    chart->legend()->setPosition(KivoAxisPositionBottom);
    chart->setFooter("The X axis crosses at 0; a marker on 2019");
    auto& x = *chart->axisX();
    x.setOrigin(0);
    x.setMin(FirstYear - 0.5);
    x.setMax(FirstYear + 11.5);
    x.setMajorUnit(2);
    auto& y = *chart->axisY();
    y.setMin(-0.5);
    y.setMax(0.75);
    y.setMajorUnit(0.25);
    y.setFormat("N2");
    auto marker = KivoChartLineMarker::create(chart);
    marker->setLines(KivoChartMarkerLinesBoth);
    marker->setVerticalLineWidth(1.5);
    marker->setHorizontalLineWidth(1.5);
    marker->setVerticalLineColor(MarkerColor);
    marker->setHorizontalLineColor(MarkerColor);
    chart->setLineMarker(marker);
    return chart;
}

void populate(plat::Window& window) {
    window.setBackgroundColor(plat::Color::rgb255(236, 239, 243));
    window.addSubview(salesChart());
    window.addSubview(downloadsChart());
    auto anomaly = anomalyChart();
    window.addSubview(anomaly);
    // The marker stands on 2019's land value, in the view's points once a pass has laid the chart out.
    plat::RecordingContext layoutPass;
    window.display(layoutPass);
    const auto& marker = anomaly->lineMarker();
    marker->setPosition(anomaly->axisX()->convert(MarkedYear), anomaly->axisY()->convert(MarkedAnomaly));
    marker->setIsVisible(true);
}

const gallery::PageRegistrar registrar({
    .name = "chart_frame",
    .description = "The chart's drawing pass around its series: background, border, padding, header and footer, the "
                   "legend box on the right, on top and at the bottom, axes with grid lines over the plot-area "
                   "background, columns, a rotated chart of bars, lines with symbols over an X axis crossing the plot at 0, "
                   "and a line marker.",
    .size = {800, 500},
    .populate = populate,
});

}  // namespace
