// The chart under a finger: a column chart whose line marker (both lines) snapped to a column, with its
// content beside it, and the built-in tooltip over a tapped column; a bar chart with the marker snapped
// to a bar.

#include <optional>
#include <string>

#include "ChartCore/KivoLegend.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoChartLineMarker.h"
#include "OmbriChart/KivoChartMarkerBaseView.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/ui/label.h"
#include "Platform/ui/window.h"
#include "gallery_page.h"

namespace {

constexpr plat::Rect ColumnFrame{12, 12, 470, 376};
constexpr plat::Rect BarFrame{494, 12, 294, 376};
constexpr plat::Size ContentSize{112, 36};
// How far below a column's top a finger lands to ask for its value.
constexpr double TapBelowTop = 3;

const plat::Color Ink = plat::Color::rgb255(40, 48, 60);
const plat::Color MarkerColor = plat::Color::rgb255(214, 69, 80, 0.85);
const plat::Color PanelColor = plat::Color::rgb255(255, 250, 235);

struct Sale {
    const char* country;
    double sales, expenses;
};
constexpr Sale Sales[] = {{"US", 182, 96}, {"Germany", 134, 71}, {"UK", 121, 88}, {"Japan", 157, 64}, {"Italy", 98, 55}};

plat::ArrayPtr items() {
    auto list = std::make_shared<plat::Array>();
    for (const auto& s : Sales)
        list->push_back(plat::Value(plat::Dictionary{{"country", s.country}, {"sales", s.sales}, {"expenses", s.expenses}}));
    return list;
}

// The marker's content: a small panel that names the point the marker snapped to.
class ValuePanel : public IKivoChartMarkerRender {
public:
    ValuePanel(std::weak_ptr<KivoChartLineMarker> marker, std::shared_ptr<plat::Label> label)
        : _marker(std::move(marker)), _label(std::move(label)) {}
    void renderMarker() override {
        const auto marker = _marker.lock();
        if (!marker) return;
        for (const auto& point : marker->dataPoints())
            if (point->seriesIndex() == marker->seriesIndex())
                _label->setText(point->valueX().description() + ": " + std::to_string(static_cast<int>(point->value())));
    }

private:
    std::weak_ptr<KivoChartLineMarker> _marker;
    std::shared_ptr<plat::Label> _label;
};

std::shared_ptr<OmbriChart> makeChart(const plat::Rect& frame, std::int64_t type, const std::string& header) {
    auto chart = OmbriChart::create(frame);
    chart->setIsAnimated(false);
    chart->setChartType(type);
    chart->setBackgroundColor(plat::Color::white());
    chart->setPadding({8, 10, 8, 12});
    chart->setHeader(header);
    chart->setHeaderTextColor(Ink);
    chart->legend()->setPosition(KivoAxisPositionBottom);
    chart->setBindingX("country");
    chart->series()->addObject(plat::Value(KivoSeries::create(chart, "sales", "Sales")));
    chart->series()->addObject(plat::Value(KivoSeries::create(chart, "expenses", "Expenses")));
    chart->setItemsSource(items());

    const auto& marker = chart->lineMarker();
    marker->setLines(KivoChartMarkerLinesBoth);
    marker->setVerticalLineWidth(1.5);
    marker->setHorizontalLineWidth(1.5);
    marker->setVerticalLineColor(MarkerColor);
    marker->setHorizontalLineColor(MarkerColor);
    auto content = KivoChartMarkerBaseView::create(marker, {{0, 0}, ContentSize});
    content->setBackgroundColor(PanelColor);
    auto label = plat::Label::create({{6, 0}, {ContentSize.width - 12, ContentSize.height}});
    label->setFont(plat::Font::boldSystem(12));
    label->setTextColor(Ink);
    content->addSubview(label);
    content->setMarkerRender(std::make_shared<ValuePanel>(marker, label));
    marker->setContent(content);
    marker->setIsVisible(true);
    return chart;
}

// The bounds of the bar drawn for a point, in the chart's points.
std::optional<KivoHitBounds> barBounds(const OmbriChart& chart, std::int32_t series, std::int32_t point) {
    for (const auto& area : chart.hitTester()->getHitTesterMap().at(series)) {
        const auto tag = area->tag().as<KivoChartDataPoint>();
        if (tag && tag->pointIndex() == point) return area->bounds();
    }
    return std::nullopt;
}

// The middle of the bar drawn for a point, in the window's points.
plat::Point barMiddle(const OmbriChart& chart, std::int32_t series, std::int32_t point) {
    const auto b = barBounds(chart, series, point);
    if (!b) return {};
    return {chart.frame().x() + (b->minX + b->maxX) / 2, chart.frame().y() + (b->minY + b->maxY) / 2};
}

// The top edge of a column, in the window's points.
double barTop(const OmbriChart& chart, std::int32_t series, std::int32_t point) {
    const auto b = barBounds(chart, series, point);
    return b ? chart.frame().y() + b->minY : 0;
}

void populate(plat::Window& window) {
    window.setBackgroundColor(plat::Color::rgb255(236, 239, 243));
    auto columns = makeChart(ColumnFrame, OmbriChartTypeColumn, "Sales by country");
    auto bars = makeChart(BarFrame, OmbriChartTypeBar, "Expenses");
    bars->lineMarker()->setSeriesIndex(1);
    window.addSubview(columns);
    window.addSubview(bars);
    plat::RecordingContext layoutPass;
    window.display(layoutPass);

    // A tap at the top of Japan's sales column, where its value lies, shows its tooltip pointing there
    // (and moves the marker there) ...
    const auto japanMiddle = barMiddle(*columns, 0, 3);
    const plat::Point japan{japanMiddle.x, barTop(*columns, 0, 3) + TapBelowTop};
    window.touchDown(japan);
    window.touchUp();
    // ... then the marker is taken to Germany, by a finger a little off the column.
    const auto germany = barMiddle(*columns, 0, 1);
    columns->lineMarker()->showAt(germany.x - ColumnFrame.x() + 6, germany.y - ColumnFrame.y() - 20);
    const auto italy = barMiddle(*bars, 1, 4);
    bars->lineMarker()->showAt(italy.x - BarFrame.x() + 30, italy.y - BarFrame.y() + 4);
}

const gallery::PageRegistrar registrar({
    .name = "chart_interaction",
    .description = "The chart under a finger: a column chart's line marker snapped to Germany's sales column with its "
                   "content beside it, the built-in tooltip over a tapped column (Japan), and a bar chart's marker "
                   "snapped to Italy's expenses bar.",
    .size = {800, 400},
    .populate = populate,
    .settleSeconds = 0.5,
});

}  // namespace
