// The Cartesian chart's axes and legend, laid out by the chart's own layout step and drawn by the
// axes themselves: a monthly chart with a left value axis and a bottom category axis (titles, ticks,
// major and minor grid lines, fill bands, labels turned by 45°) over a bottom legend that wraps its
// five items (one per chart type, one series listed but not drawn) into rows of three and two; a
// logarithmic value axis; and a time axis by weeks with a tick per day. The plot areas show the scales
// only.

#include <string>
#include <vector>

#include "ChartCore/KivoLegend.h"
#include "KivoCore/KivoDataType.h"
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
constexpr double LegendGap = 6;  // between the axes and the legend box

const plat::Color Ink = plat::Color::rgb255(40, 48, 60);
const plat::Color Muted = plat::Color::rgb255(110, 118, 130);
const plat::Color AxisLine = plat::Color::rgb255(120, 128, 142);
const plat::Color MajorGrid = plat::Color::rgb255(200, 206, 216);
const plat::Color MinorGrid = plat::Color::rgb255(226, 230, 236);
const plat::Color Band = plat::Color::rgb255(243, 246, 251);
const plat::Color Frame = plat::Color::rgb255(160, 168, 180);

const std::vector<std::string> Months{"January", "February", "March",     "April",   "May",      "June",
                                      "July",    "August",   "September", "October", "November", "December"};

// One scale for an axis: a KivoDataType, the data range and, for a category axis, its texts.
struct Scale {
    std::int64_t type = KivoDataTypeNumber;
    double min = 0, max = 0;
    std::vector<std::string> labels{};
};

// A chart whose drawing pass is the part of the real one that exists: the frame and titles, the
// legend box, the layout of the axes around the plot area, and the axes. The axes show the scales
// the page gives them.
class AxesDemo : public OmbriChart {
public:
    static std::shared_ptr<AxesDemo> create(const plat::Rect& frame) {
        return initialized(std::shared_ptr<AxesDemo>(new AxesDemo(frame)));
    }

    Scale xScale, yScale;

    void render(const std::shared_ptr<IKivoRenderEngine>& engine) override {
        OmbriChart::render(engine);
        auto content = rectChart()->clone();
        drawFrame(*engine, *content);
        content = drawTitle(engine, content, header(), false);
        content = drawTitle(engine, content, footer(), true);

        // The legend's rows wrap inside its box; later rows centre on the chart's middle.
        setLegendWidth(content->width() - 2 * legend()->inset());
        setChartWidth(rectChart()->width());
        std::shared_ptr<KivoPoint> legendPoint;
        if (const auto size = legend()->getDesiredSize(engine)) {
            legendPoint =
                KivoPoint::create(content->left() + (content->width() - size->width()) / 2, content->bottom() - size->height());
            content->setHeight(content->height() - size->height() - LegendGap);
        }

        axisX()->updateActualLimits(xScale.type, xScale.min, xScale.max, xScale.labels, nullptr);
        axisY()->updateActualLimits(yScale.type, yScale.min, yScale.max);
        layout(content, engine);
        const auto& plot = plotRect();
        engine->setFill(plotAreaBackgroundColor());
        engine->setStroke(plat::Color::clear());
        engine->drawRect(plot->left(), plot->top(), plot->width(), plot->height());
        for (const auto& axis : axesInUse()) axis->render(engine, axis->overlappingLabels() != 0);
        if (legendPoint) legend()->render(engine, legendPoint);
    }

private:
    explicit AxesDemo(const plat::Rect& frame) : OmbriChart(frame) {}

    void drawFrame(IKivoRenderEngine& engine, KivoRect& content) const {
        const double b = borderWidth();
        engine.setFill(backgroundColor().value_or(plat::Color::white()));
        engine.setStroke(borderColor());
        engine.setStrokeThickness(b);
        engine.drawRect(content.left() + b / 2, content.top() + b / 2, content.width() - b, content.height() - b);
        content.setLeft(content.left() + b + padding().left);
        content.setTop(content.top() + b + padding().top);
        content.setWidth(content.width() - 2 * b - padding().left - padding().right);
        content.setHeight(content.height() - 2 * b - padding().top - padding().bottom);
    }
};

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

std::shared_ptr<AxesDemo> makeChart(const plat::Rect& frame, const std::string& header) {
    auto chart = AxesDemo::create(frame);
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
    styleAxis(*chart->axisX(), "");
    styleAxis(*chart->axisY(), "");
    return chart;
}

std::shared_ptr<AxesDemo> monthlyChart() {
    auto chart = makeChart(MonthlyFrame, "Revenue by month, 2024");
    chart->setFooter("A minor grid line parts the months");
    // One series per chart type; the last one is listed but not drawn, and its item is paler.
    struct Entry {
        const char* name;
        std::int64_t type;
    };
    const Entry entries[] = {{"Revenue", OmbriChartTypeColumn},
                             {"Operating costs", OmbriChartTypeLine},
                             {"Forecast range", OmbriChartTypeArea},
                             {"Sales targets", OmbriChartTypeScatter},
                             {"Last year (hidden)", OmbriChartTypeLineSymbols}};
    for (const auto& e : entries) {
        auto s = KivoSeries::create(chart, "value", e.name);
        s->setChartType(e.type);
        chart->series()->addObject(plat::Value(s));
    }
    chart->series()->objectAtIndexAs<KivoSeries>(4)->setVisibility(KivoSeriesVisibilityLegend);
    auto& legend = *chart->legend();
    legend.setPosition(KivoAxisPositionBottom);
    legend.setLabelTextColor(Ink);
    legend.setBorderWidth(1);
    legend.setBorderColor(MajorGrid);

    // Months as categories, each in a slot one unit wide: minor grid lines part the slots.
    chart->xScale = {KivoDataTypeString, -0.5, 11.5, Months};
    auto& x = *chart->axisX();
    styleAxis(x, "Month");
    x.setLabelAngle(-45);
    x.setMinorUnit(1);
    x.setMinorGridVisible(true);

    chart->yScale = {KivoDataTypeNumber, 0, 120};
    auto& y = *chart->axisY();
    styleAxis(y, "Revenue (k€)");
    y.setMajorUnit(20);
    y.setMinorUnit(5);
    y.setMinorGridVisible(true);
    y.setMinorGridDashes({2, 2});
    y.setMajorGridFill(Band);
    y.setMinorTickWidth(1);
    return chart;
}

std::shared_ptr<AxesDemo> logChart() {
    auto chart = makeChart(LogFrame, "Requests per hour, logarithmic");
    chart->series()->addObject(plat::Value(KivoSeries::create(chart, "requests", "Requests")));
    chart->xScale = {KivoDataTypeNumber, 0, 24};
    auto& x = *chart->axisX();
    styleAxis(x, "Hour of day");
    x.setMajorUnit(4);
    x.setMinorUnit(1);
    x.setMinorTickWidth(1);

    // Data from 3 to 42,000 on a base-10 axis: whole powers from 1 to 100,000.
    chart->yScale = {KivoDataTypeNumber, 3, 42000};
    auto& y = *chart->axisY();
    styleAxis(y, "Requests");
    y.setLogBase(10.0);
    y.setFormat("N0");
    y.setMajorGridFill(Band);
    return chart;
}

std::shared_ptr<AxesDemo> timeChart() {
    auto chart = makeChart(TimeFrame, "Daily visitors, January 2024");
    chart->series()->addObject(plat::Value(KivoSeries::create(chart, "visitors", "Visitors")));
    chart->xScale = {KivoDataTypeDate, Jan2024, Jan2024 + 28 * Day};
    auto& x = *chart->axisX();
    styleAxis(x, "Week starting");
    x.setFormat("MMM d");
    x.setMajorUnit(7);
    x.setMinorUnit(1);
    x.setMinorTickWidth(1);
    x.setMajorGridVisible(true);

    chart->yScale = {KivoDataTypeNumber, 0, 50};
    auto& y = *chart->axisY();
    styleAxis(y, "Visitors (thousands)");
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
