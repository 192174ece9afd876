// KivoAxis: construction, placement, look, the scale properties, events and layout results. The
// limits and conversion are in KivoAxisLimits.cpp, zoom and scroll in KivoAxisZoom.cpp, the major
// unit and labels in KivoAxisLabels.cpp.

#include "OmbriChart/KivoAxis.h"

#include "ChartCore/KivoChartTooltip.h"
#include "OmbriChart/OmbriChart.h"

namespace {

std::int64_t typeOfPosition(std::int64_t position) {
    return position == KivoAxisPositionLeft || position == KivoAxisPositionRight ? KivoAxisTypeY : KivoAxisTypeX;
}

bool isHorizontalSide(std::int64_t position) { return position == KivoAxisPositionTop || position == KivoAxisPositionBottom; }
bool isVerticalSide(std::int64_t position) { return position == KivoAxisPositionLeft || position == KivoAxisPositionRight; }

}  // namespace

// ---- Construction and placement ----

KivoAxis::KivoAxis(std::int64_t position, const std::shared_ptr<OmbriChart>& chart)
    : _chart(chart), _position(position), _axisType(typeOfPosition(position)) {}

void KivoAxis::setChart(const std::shared_ptr<OmbriChart>& chart) {
    _chart = chart;
    _invalidate();
}

bool KivoAxis::isRotatedChart() const {
    const auto chart = _chart.lock();
    return chart && chart->rotated();
}

void KivoAxis::setPosition(std::int64_t position) {
    // An X axis sits at the top or bottom of an unrotated chart and at a side of a rotated one; a Y
    // axis the other way round.
    const bool topOrBottom = (_axisType == KivoAxisTypeX) != isRotatedChart();
    if (topOrBottom ? isHorizontalSide(position) : isVerticalSide(position)) _position = position;
    _invalidate();
}

// ---- Look ----

void KivoAxis::setTitle(std::optional<std::string> title) { setLook(_title, std::move(title)); }

void KivoAxis::setFormat(std::optional<std::string> format) {
    if (format) setLook(_format, std::move(*format));
}

void KivoAxis::setLabelAngle(double angle) { setLook(_labelAngle, angle); }
void KivoAxis::setLabelFont(std::optional<plat::Font> font) { setLook(_labelFont, std::move(font)); }
void KivoAxis::setLabelTextColor(std::optional<plat::Color> color) { setLook(_labelTextColor, color); }
void KivoAxis::setTitleFont(std::optional<plat::Font> font) { setLook(_titleFont, std::move(font)); }

std::optional<plat::Color> KivoAxis::titleTextColor() const {
    if (_titleTextColor) return _titleTextColor;
    const auto chart = _chart.lock();
    return chart ? chart->textColor() : std::nullopt;
}

void KivoAxis::setTitleTextColor(std::optional<plat::Color> color) { setLook(_titleTextColor, color); }
void KivoAxis::setLineColor(std::optional<plat::Color> color) { setLook(_lineColor, color); }
void KivoAxis::setLineWidth(double width) { setLook(_lineWidth, width); }
void KivoAxis::setAxisLineVisible(bool visible) { setLook(_axisLineVisible, visible); }
void KivoAxis::setLabelsVisible(bool visible) { setLook(_labelsVisible, visible); }
void KivoAxis::setMajorGridVisible(bool visible) { setLook(_majorGridVisible, visible); }
void KivoAxis::setMajorGridColor(std::optional<plat::Color> color) { setLook(_majorGridColor, color); }
void KivoAxis::setMajorGridFill(std::optional<plat::Color> color) { setLook(_majorGridFill, color); }
void KivoAxis::setMajorGridWidth(double width) { setLook(_majorGridWidth, width); }
void KivoAxis::setMajorTickColor(std::optional<plat::Color> color) { setLook(_majorTickColor, color); }
void KivoAxis::setMajorTickWidth(double width) { setLook(_majorTickWidth, width); }
void KivoAxis::setMajorTickLength(double length) { setLook(_majorTickLength, length); }
void KivoAxis::setMajorTickOverlap(double overlap) { setLook(_majorTickOverlap, overlap); }
void KivoAxis::setMinorGridVisible(bool visible) { setLook(_minorGridVisible, visible); }
void KivoAxis::setMinorGridColor(std::optional<plat::Color> color) { setLook(_minorGridColor, color); }
void KivoAxis::setMinorGridFill(std::optional<plat::Color> color) { setLook(_minorGridFill, color); }
void KivoAxis::setMinorGridWidth(double width) { setLook(_minorGridWidth, width); }
void KivoAxis::setMinorTickColor(std::optional<plat::Color> color) { setLook(_minorTickColor, color); }
void KivoAxis::setMinorTickWidth(double width) { setLook(_minorTickWidth, width); }
void KivoAxis::setMinorTickLength(double length) { setLook(_minorTickLength, length); }
void KivoAxis::setMinorTickOverlap(double overlap) { setLook(_minorTickOverlap, overlap); }

// ---- Scale ----

void KivoAxis::setMajorUnit(double unit) { setLook(_majorUnit, unit); }
void KivoAxis::setMinorUnit(double unit) { setLook(_minorUnit, unit); }

void KivoAxis::setMin(plat::Value value) {
    const auto alive = keepAlive();
    // A minimum above the maximum makes the pair swap (a null maximum reads as NaN: no swap).
    if (!value.isNil() && objectToDouble(value) > objectToDouble(_max)) {
        _min = std::move(_max);
        _max = std::move(value);
    } else {
        _min = std::move(value);
    }
    raiseRangeChanged();
    _invalidate();
}

void KivoAxis::setMax(plat::Value value) {
    const auto alive = keepAlive();
    if (!value.isNil() && objectToDouble(value) < objectToDouble(_min)) {
        _max = std::move(_min);
        _min = std::move(value);
    } else {
        _max = std::move(value);
    }
    raiseRangeChanged();
    _invalidate();
}

void KivoAxis::setLogBase(std::optional<double> base) {
    const auto alive = keepAlive();
    _logBase = base;
    raiseRangeChanged();
    _invalidate();
}

void KivoAxis::setOrigin(double origin) {
    _origin = origin;
    _invalidate();
}

double KivoAxis::objectToDouble(const plat::Value& value) {
    if (value.isDate()) return value.asDate().seconds;
    if (value.isNumber()) return value.asDouble();
    return NaN;
}

// ---- Layout results ----

void KivoAxis::layout(const std::shared_ptr<KivoRect>& rect, const std::shared_ptr<KivoRect>& plotRect) {
    _plotrect = plotRect;
    if (!rect || _axisType != KivoAxisTypeY) {
        _axrect = rect;
        return;
    }
    // A Y axis is handed its length in the width: the band in screen orientation swaps them back.
    _axrect = KivoRect::create(rect->left(), rect->top(), rect->height(), rect->width());
}

// ---- Events ----

void KivoAxis::raiseRangeChanged() {
    const auto alive = keepAlive();
    if (const auto chart = _chart.lock()) {
        if (auto delegate = chart->delegateAnswering(OmbriChartDelegate::AxisRangeChanged))
            delegate->axisRangeChanged(chart, weak_from_this().lock());
    }
    if (_rangeChanged) _rangeChanged->raise(weak_from_this().lock(), nullptr);
}

void KivoAxis::_onLabelLoading(const std::shared_ptr<KivoEventArgs>& args) {
    const auto alive = keepAlive();
    const auto handlers = _labelLoading ? _labelLoading->handlers() : nullptr;
    if (handlers && !handlers->empty()) _labelLoading->raise(weak_from_this().lock(), args);
}

void KivoAxis::_invalidate() {
    if (const auto chart = _chart.lock()) chart->invalidate();
}

void KivoAxis::hideTooltip() const {
    const auto chart = _chart.lock();
    if (chart && chart->tooltip()) chart->tooltip()->hide();
}
