// The Cartesian chart's axes and legend, laid out and drawn by the chart's own drawing pass: a
// monthly chart with a left value axis and a bottom category axis (titles, ticks, major and minor
// grid lines, fill bands, labels turned by 45°) over a bottom legend that wraps its five items (one
// per chart type, one series listed but not drawn) into rows of three and two; a logarithmic value
// axis; and a time axis by weeks with a tick per day. The limits come from the data, and from the
// axes' own minimum and maximum where the page sets them.

#include <cmath>
#include <string>
#include <vector>

#include "ChartCore/KivoLegend.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/ui/window.h"
#include "gallery_page.h"

namespace {

constexpr plat::Rect MonthlyFrame{12, 12, 392, 476};
constexpr plat::Rect LogFrame{416, 12, 372, 232};
constexpr plat::Rect TimeFrame{416, 256, 372, 232};
constexpr double Jan2024 = 1704067200;  // 2024-01-01 00:00 UTC
constexpr double Day = KivoAxis::SecondsPerDay;

const plat::Color Ink = plat::Color::rgb255(40, 48, 60);
const plat::Color Muted = plat::Color::rgb255(110, 118, 130);
const plat::Color AxisLine = plat::Color::rgb255(120, 128, 142);
const plat::Color MajorGrid = plat::Color::rgb255(200, 206, 216);
const plat::Color MinorGrid = plat::Color::rgb255(226, 230, 236);
const plat::Color Band = plat::Color::rgb255(243, 246, 251);
const plat::Color Frame = plat::Color::rgb255(160, 168, 180);

const std::vector<std::string> Months{"January", "February", "March",     "April",   "May",      "June",
                                      "July",    "August",   "September", "October", "November", "December"};

// One item of a chart: its X (a category, a number or a date) and its value.
plat::Value record(plat::Value x, double value) { return plat::Value(plat::Dictionary{{"x", std::move(x)}, {"value", value}}); }

void styleAxis(KivoAxis& axis, const std::string& title) {
    axis.setTitle(title);
    axis.setTitleFont(plat::Font::boldSystem(11));
    axis.setLabelFont(plat::Font::system(11));
    axis.setLabelTextColor(Ink);
    axis.setLineColor(AxisLine);
    axis.setMajorTickColor(AxisLine);
    axis.setMinorTickColor(AxisLine);
    axis.setMajorGridColor(MajorGrid);
    axis.setMinorGridColor(MinorGrid);
}

std::shared_ptr<OmbriChart> makeChart(const plat::Rect& frame, const std::string& header, plat::ArrayPtr items) {
    auto chart = OmbriChart::create(frame);
    chart->setIsAnimated(false);
    chart->setBackgroundColor(plat::Color::white());
    chart->setBorderColor(Frame);
    chart->setBorderWidth(1);
    chart->setPadding({8, 10, 8, 14});
    chart->setPlotMargin({6, 0, 0, 0});
    chart->setHeader(header);
    chart->setHeaderFont(plat::Font::boldSystem(14));
    chart->setTextColor(Ink);
    chart->setFooterTextColor(Muted);
    chart->legend()->setPosition(KivoAxisPositionNone);
    chart->setBindingX("x");
    chart->setItemsSource(std::move(items));
    return chart;
}

std::shared_ptr<OmbriChart> monthlyChart() {
    const double revenue[] = {62, 70, 81, 76, 88, 97, 104, 99, 91, 85, 93, 112};
    const double costs[] = {48, 51, 55, 54, 58, 63, 66, 64, 60, 59, 62, 70};
    const double targets[] = {65, 68, 75, 78, 85, 92, 98, 100, 95, 90, 95, 105};
    const double forecast[] = {70, 76, 86, 84, 95, 104, 110, 108, 100, 96, 104, 118};
    auto items = std::make_shared<plat::Array>();
    for (std::size_t m = 0; m < Months.size(); ++m)
        items->push_back(plat::Value(plat::Dictionary{
            {"x", Months[m]}, {"value", revenue[m]}, {"costs", costs[m]}, {"target", targets[m]}, {"forecast", forecast[m]}}));
    auto chart = makeChart(MonthlyFrame, "Revenue by month, 2024", items);
    chart->setFooter("A minor grid line parts the months");
    // One series per chart type; the last one is listed but not drawn, and its item is paler. The area
    // comes first and is pale, so that it lies under the others instead of hiding them.
    struct Entry {
        const char* binding;
        const char* name;
        std::int64_t type;
    };
    const Entry entries[] = {{"forecast", "Forecast range", OmbriChartTypeArea},
                             {"value", "Revenue", OmbriChartTypeColumn},
                             {"costs", "Operating costs", OmbriChartTypeLine},
                             {"target", "Sales targets", OmbriChartTypeScatter},
                             {"value", "Last year (hidden)", OmbriChartTypeLineSymbols}};
    for (const auto& e : entries) {
        auto s = KivoSeries::create(chart, e.binding, e.name);
        s->setChartType(e.type);
        if (e.type == OmbriChartTypeArea) s->setOpacity(0.35);
        chart->series()->addObject(plat::Value(s));
    }
    chart->series()->objectAtIndexAs<KivoSeries>(4)->setVisibility(KivoSeriesVisibilityLegend);
    auto& legend = *chart->legend();
    legend.setPosition(KivoAxisPositionBottom);
    legend.setLabelTextColor(Ink);
    legend.setBorderWidth(1);
    legend.setBorderColor(MajorGrid);

    // Months as categories, each in a slot one unit wide: minor grid lines part the slots.
    auto& x = *chart->axisX();
    styleAxis(x, "Month");
    x.setMin(-0.5);
    x.setMax(11.5);
    x.setLabelAngle(-45);
    x.setMinorUnit(1);
    x.setMinorGridVisible(true);

    auto& y = *chart->axisY();
    styleAxis(y, "Revenue (k€)");
    y.setMin(0);
    y.setMax(120);
    y.setMajorUnit(20);
    y.setMinorUnit(5);
    y.setMinorGridVisible(true);
    y.setMinorGridDashes({2, 2});
    y.setMajorGridFill(Band);
    y.setMinorTickWidth(1);
    return chart;
}

std::shared_ptr<OmbriChart> logChart() {
    // Data from 3 to about 42,000 on a base-10 axis: whole powers from 1 to 100,000.
    auto items = std::make_shared<plat::Array>();
    for (int hour = 0; hour <= 24; ++hour) {
        const double phase = (hour - 14) / 4.0;
        items->push_back(record(hour, 3 + 42000 * std::exp(-phase * phase)));
    }
    auto chart = makeChart(LogFrame, "Requests per hour, logarithmic", items);
    chart->series()->addObject(plat::Value(KivoSeries::create(chart, "value", "Requests")));
    auto& x = *chart->axisX();
    styleAxis(x, "Hour of day");
    x.setMajorUnit(4);
    x.setMinorUnit(1);
    x.setMinorTickWidth(1);

    auto& y = *chart->axisY();
    styleAxis(y, "Requests");
    y.setLogBase(10.0);
    y.setMin(1);  // the columns rise from 1 request an hour
    y.setFormat("N0");
    y.setMajorGridFill(Band);
    return chart;
}

std::shared_ptr<OmbriChart> timeChart() {
    auto items = std::make_shared<plat::Array>();
    constexpr int DaysInJanuary = 31;
    for (int day = 0; day < DaysInJanuary; ++day)
        items->push_back(record(plat::Value(plat::Date(Jan2024 + day * Day)), 20 + day % 7 * 4));
    auto chart = makeChart(TimeFrame, "Daily visitors, January 2024", items);
    chart->series()->addObject(plat::Value(KivoSeries::create(chart, "value", "Visitors")));
    auto& x = *chart->axisX();
    styleAxis(x, "Week starting");
    x.setFormat("MMM d");
    x.setMajorUnit(7);
    x.setMinorUnit(1);
    x.setMinorTickWidth(1);
    x.setMajorGridVisible(true);

    auto& y = *chart->axisY();
    styleAxis(y, "Visitors (thousands)");
    y.setMin(0);
    y.setMax(50);
    y.setMajorUnit(10);
    return chart;
}

void populate(plat::Window& window) {
    window.setBackgroundColor(plat::Color::rgb255(236, 239, 243));
    window.addSubview(monthlyChart());
    window.addSubview(logChart());
    window.addSubview(timeChart());
}

const gallery::PageRegistrar registrar({
    .name = "chart_axes",
    .description = "Axes and legend of the Cartesian chart, laid out by the chart: a left value axis and a bottom "
                   "category axis with titles, ticks, major and minor grid lines, fill bands and labels turned by "
                   "45°, over a bottom legend wrapping five items (one symbol per chart type; the last series is "
                   "listed but not drawn, so its symbol is paler) into rows of three and two; a logarithmic "
                   "value axis; and a time axis by weeks with a tick for every day.",
    .size = {800, 500},
    .populate = populate,
});

}  // namespace
