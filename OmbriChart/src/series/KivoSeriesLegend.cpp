// KivoSeries: the series' legend item, a small symbol of its chart type in its colours and its name.

#include <algorithm>
#include <cmath>
#include <limits>

#include "KivoCore/IKivoRenderEngine.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"

namespace {

// The legend symbol's box and the margin before it.
constexpr double LegendItemWidth = 10.0;
constexpr double LegendItemHeight = 10.0;
constexpr double LegendItemMargin = 4.0;
// Room added around the symbol and the name: the margin before the symbol, the gap after it and a
// margin after the name (12 in all); 4 above and below.
constexpr double ItemExtraWidth = 12.0;
constexpr double ItemExtraHeight = 8.0;
// Where the name starts: the margin, the symbol and a gap of the margin's size.
constexpr double NameOffset = LegendItemMargin + LegendItemWidth + LegendItemMargin;
// The dot of a scatter or bubble item: its centre from the item's left and its width and height.
constexpr double DotCenter = LegendItemMargin + LegendItemWidth / 2;
constexpr double DotSize = LegendItemWidth / 2;
// A line item whose series has no border width: 1, or the line width of the line types.
constexpr double ThinLineWidth = 1.0;
// A series listed but not drawn shows its symbol at this share of its opacity.
constexpr double HiddenOpacityShare = 0.5;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

bool isSymbolType(std::int64_t t) {
    return t == OmbriChartTypeScatter || t == OmbriChartTypeLineSymbols || t == OmbriChartTypeSplineSymbols;
}

bool isLineType(std::int64_t t) {
    return t == OmbriChartTypeLine || t == OmbriChartTypeLineSymbols || t == OmbriChartTypeSpline ||
           t == OmbriChartTypeSplineSymbols;
}

}  // namespace

std::shared_ptr<KivoSize> KivoSeries::measureLegendItem(const std::shared_ptr<IKivoRenderEngine>& engine) {
    double width = LegendItemWidth, height = LegendItemHeight;
    if (_name && engine) {
        if (const auto text = engine->measureString(*_name)) {
            width += text->width();
            height = std::max(height, text->height());
        }
    }
    return KivoSize::create(width + ItemExtraWidth, height + ItemExtraHeight);
}

void KivoSeries::drawLegendItem(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoRect>& rect) {
    const auto chart = _chart.lock();
    if (!engine || !rect || !chart) return;
    const std::int64_t type = _chartType != OmbriChartTypeDefault ? _chartType : chart->chartType();
    const bool symbols = isSymbolType(type);

    const plat::Color line = _color.value_or(chart->getColor(std::max<std::int64_t>(positionInChart(), 0)));
    const plat::Color fill = symbols ? _symbolColor.value_or(line) : line;
    const auto border = symbols && _symbolBorderColor ? _symbolBorderColor : _borderColor;
    plat::Color stroke = border.value_or(OmbriChartBase::darken(fill));
    double strokeWidth = symbols && !std::isnan(_symbolBorderWidth) ? _symbolBorderWidth : _borderWidth;
    double lineWidth = _borderWidth;

    // The selected series (the very object) keeps the selection's border in its item too.
    const bool selected = chart->selectionMode() == KivoChartSelectionModeSeries &&
                          chart->isSeriesSelected(std::dynamic_pointer_cast<KivoSeries>(weak_from_this().lock()));
    if (selected) {
        if (chart->selectedBorderColor()) stroke = *chart->selectedBorderColor();
        strokeWidth = chart->selectedBorderWidth();
        lineWidth = chart->selectedBorderWidth();
    }
    if (lineWidth == 0) lineWidth = isLineType(type) ? _defaultLegendLineWidthForLineChart : ThinLineWidth;

    engine->setStrokeThickness(strokeWidth);
    engine->setFill(fill);
    engine->setStroke(stroke);
    engine->setOpacity(_visibility == KivoSeriesVisibilityLegend ? _opacity * HiddenOpacityShare : _opacity);

    const double x0 = rect->left();
    const double cy = rect->top() + rect->height() / 2;
    const double symbolLeft = x0 + LegendItemMargin;
    auto drawLine = [&] {
        if (!selected) engine->setStroke(line);
        engine->setStrokeThickness(lineWidth);
        engine->drawLine(symbolLeft, cy, symbolLeft + LegendItemWidth, cy);
    };
    auto drawDot = [&] { engine->drawEllipse(x0 + DotCenter, cy, DotSize, DotSize); };
    switch (type) {
        case OmbriChartTypeColumn:
        case OmbriChartTypeBar:
        case OmbriChartTypeArea:
        case OmbriChartTypeSplineArea:
            engine->drawRect(symbolLeft, cy - LegendItemHeight / 2, LegendItemWidth, LegendItemHeight);
            break;
        case OmbriChartTypeLine:
        case OmbriChartTypeCandlestick:
        case OmbriChartTypeHighLowOpenClose:
        case OmbriChartTypeSpline:
            drawLine();
            break;
        case OmbriChartTypeLineSymbols:
        case OmbriChartTypeSplineSymbols:
            drawLine();
            engine->setStroke(stroke);
            engine->setStrokeThickness(strokeWidth);
            drawDot();
            break;
        case OmbriChartTypeScatter:
        case OmbriChartTypeBubble:
            drawDot();
            break;
        default:
            break;
    }

    engine->setOpacity(1.0);
    if (_name) OmbriChartBase::renderText(engine, *_name, KivoPoint::create(x0 + NameOffset, cy), 0, 1, nullptr);
    engine->setOpacity(NaN);
}
