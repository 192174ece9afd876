// Financial series drawn by the chart's finance plotter over two weeks of trading days on a time axis:
// candlesticks (a rising day hollow, a falling day filled) and high-low-open-close marks (the open tick
// to the left, the close tick to the right).

#include <memory>
#include <string>
#include <vector>

#include "ChartCore/KivoLegend.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/foundation/date.h"
#include "Platform/ui/window.h"
#include "gallery_page.h"

namespace {

constexpr double Margin = 12;
constexpr double PanelWidth = 440;
constexpr double PanelHeight = 300;
constexpr double PageWidth = Margin * 3 + PanelWidth * 2;
constexpr double PageHeight = Margin * 2 + PanelHeight;
constexpr double Day = 86400;
// Monday 2 March 2026, 00:00 UTC.
constexpr double FirstDay = 1772409600;

const plat::Color Ink = plat::Color::rgb255(40, 48, 60);
const plat::Color Border = plat::Color::rgb255(160, 168, 180);
const plat::Color PlotBackground = plat::Color::rgb255(247, 249, 252);
const plat::Color Grid = plat::Color::rgb255(214, 219, 228);
const plat::Color Teal = plat::Color::rgb255(20, 130, 140);
const plat::Color Navy = plat::Color::rgb255(40, 70, 150);

struct Session {
    int day;  // days after FirstDay
    double open, high, low, close;
};
// Ten trading days, weekends left out: rising and falling days, a flat one, long and short wicks.
const Session Sessions[] = {{0, 101.0, 104.5, 99.2, 103.8},  {1, 103.6, 106.1, 102.4, 102.9}, {2, 102.7, 103.3, 97.8, 98.6},
                            {3, 98.9, 101.7, 98.1, 101.2},   {4, 101.4, 102.0, 100.6, 101.4}, {7, 101.0, 107.9, 100.7, 107.2},
                            {8, 107.5, 109.4, 105.1, 105.6}, {9, 105.2, 106.0, 101.3, 102.1}, {10, 102.4, 105.5, 102.0, 104.9},
                            {11, 105.1, 108.8, 104.6, 108.3}};

plat::Value item(const Session& s) {
    return plat::Value(plat::Dictionary{{"day", plat::Value(plat::Date(FirstDay + s.day * Day))},
                                        {"high", s.high},
                                        {"low", s.low},
                                        {"open", s.open},
                                        {"close", s.close}});
}

void financeChart(plat::Window& window, double left, const std::string& header, std::int64_t type, const plat::Color& color) {
    auto chart = OmbriChart::create({left, Margin, PanelWidth, PanelHeight});
    chart->setIsAnimated(false);
    chart->setBackgroundColor(plat::Color::white());
    chart->setBorderColor(Border);
    chart->setBorderWidth(1);
    chart->setPadding({8, 10, 8, 10});
    chart->setPlotAreaBackgroundColor(PlotBackground);
    chart->setHeader(header);
    chart->setHeaderFont(plat::Font::boldSystem(13));
    chart->setTextColor(Ink);
    chart->axisY()->setMajorGridColor(Grid);
    chart->axisX()->setFormat("d MMM");
    chart->legend()->setPosition(KivoAxisPositionNone);
    chart->setChartType(type);
    chart->setBindingX("day");
    std::vector<plat::Value> rows;
    for (const auto& s : Sessions) rows.push_back(item(s));
    chart->setItemsSource(std::make_shared<plat::Array>(std::move(rows)));
    auto series = KivoSeries::create(chart, "high,low,open,close", "Share price");
    series->setColor(color);
    chart->series()->addObject(plat::Value(series));
    window.addSubview(chart);
}

void populate(plat::Window& window) {
    financeChart(window, Margin, "Candlesticks (rising hollow, falling filled)", OmbriChartTypeCandlestick, Teal);
    financeChart(window, Margin * 2 + PanelWidth, "High, low, open, close", OmbriChartTypeHighLowOpenClose, Navy);
}

const gallery::PageRegistrar registrar({
    .name = "chart_finance",
    .description = "Financial series over two weeks of trading days on a time axis: candlesticks (a rising day "
                   "hollow, a falling day filled) and high-low-open-close marks.",
    .size = {PageWidth, PageHeight},
    .populate = populate,
});

}  // namespace
