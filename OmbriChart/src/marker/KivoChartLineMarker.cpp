#include "OmbriChart/KivoChartLineMarker.h"

#include <algorithm>
#include <cmath>

#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoChartMarkerBaseView.h"
#include "OmbriChart/OmbriChart.h"
#include "OmbriChart/XamarinChartMarkerRender.h"
#include "chart/ChartState.h"

namespace {

bool isFraction(double f) { return f >= 0 && f <= 1; }

bool isHostRender(const KivoChartMarkerBaseView& content) {
    return dynamic_cast<const XamarinChartMarkerRender*>(content.markerRender().get()) != nullptr;
}

}  // namespace

KivoChartLineMarker::KivoChartLineMarker(const std::shared_ptr<OmbriChart>& chart) : _chart(chart) {}

void KivoChartLineMarker::invalidateChart() const {
    if (const auto chart = _chart.lock()) chart->invalidate();
}

void KivoChartLineMarker::setLines(std::int64_t lines) {
    if (lines == _lines) return;
    _lines = lines;
    invalidateChart();
}

void KivoChartLineMarker::setAlignment(std::int64_t alignment) {
    if (alignment == _alignment) return;
    _alignment = alignment;
    invalidateChart();
}

void KivoChartLineMarker::setSeriesIndex(std::int32_t index) {
    if (index == _seriesIndex) return;
    _seriesIndex = index;
    invalidateChart();
}

void KivoChartLineMarker::setIsVisible(bool visible) {
    if (visible == _isVisible) return;
    _isVisible = visible;
    if (_content && _content->markerRender()) {
        if (isHostRender(*_content))
            _isShowXFContent = visible;
        else
            _content->setHidden(!visible || _dataPoints.empty());
    }
    invalidateChart();
}

void KivoChartLineMarker::setContent(std::shared_ptr<KivoChartMarkerBaseView> content) {
    if (content == _content) return;
    _content = std::move(content);
    if (_content) _content->setHidden(true);
}

void KivoChartLineMarker::setPosition(double x, double y) {
    _xPosition = x;
    _yPosition = y;
    invalidateChart();
}

void KivoChartLineMarker::setHorizontalPosition(double fraction) { setFixedPosition(fraction, true); }

void KivoChartLineMarker::setVerticalPosition(double fraction) { setFixedPosition(fraction, false); }

void KivoChartLineMarker::setFixedPosition(double fraction, bool horizontal) {
    double& stored = horizontal ? _horizontalPosition : _verticalPosition;
    if (fraction == stored || (std::isnan(fraction) && std::isnan(stored))) return;
    if (!std::isnan(fraction) && !isFraction(fraction)) return;
    stored = fraction;
    const auto chart = _chart.lock();
    // NaN releases the fixed coordinate where it is.
    if (std::isnan(fraction) || !chart || !chart->plotRect()) return;
    const auto& plot = *chart->plotRect();
    if (horizontal)
        _xPosition = plot.left() + plot.width() * fraction;
    else
        _yPosition = plot.top() + plot.height() * fraction;
    showAt(_xPosition, _yPosition);
}

double KivoChartLineMarker::x() const {
    const auto chart = _chart.lock();
    if (!chart || !chart->axisX()) return std::nan("");
    return chart->pointToData(KivoPoint::create(_xPosition, _yPosition))->x();
}

double KivoChartLineMarker::y() const {
    const auto chart = _chart.lock();
    if (!chart || !chart->axisY()) return std::nan("");
    return chart->pointToData(KivoPoint::create(_xPosition, _yPosition))->y();
}

double KivoChartLineMarker::fixedX(double pixel) const {
    if (std::isnan(_horizontalPosition)) return pixel;
    const auto chart = _chart.lock();
    if (!chart || !chart->plotRect()) return _xPosition;
    return chart->plotRect()->left() + chart->plotRect()->width() * _horizontalPosition;
}

double KivoChartLineMarker::fixedY(double pixel) const {
    if (std::isnan(_verticalPosition)) return pixel;
    const auto chart = _chart.lock();
    if (!chart || !chart->plotRect()) return _yPosition;
    return chart->plotRect()->top() + chart->plotRect()->height() * _verticalPosition;
}

void KivoChartLineMarker::showAt(double x, double y) {
    const auto chart = _chart.lock();
    if (!_isVisible || _interaction == KivoChartMarkerInteractionNone || !_content || !chart) {
        _isShowXFContent = false;
        return;
    }
    x = fixedX(x);
    y = fixedY(y);

    auto found = chart->getDataPointsAroundPoint(x, y);
    if (!found || found->empty()) return;
    _dataPoints = std::move(*found);
    if (_seriesIndex >= 0) snap(*chart, x, y);
    setPosition(x, y);
    placeContent(*chart);
    notify(*chart);
}

// The category goes through the category axis and the value through the value axis, as the chart is
// drawn. Bars keep the pixel across the category that the plotter gave their point (the middle of the
// point's slot in its cluster).
void KivoChartLineMarker::snap(const OmbriChart& chart, double& x, double& y) const {
    const auto it = std::find_if(_dataPoints.begin(), _dataPoints.end(),
                                 [this](const auto& p) { return p && p->seriesIndex() == _seriesIndex; });
    if (it == _dataPoints.end()) return;
    const auto& point = **it;
    auto& self = const_cast<OmbriChart&>(chart);
    const bool rotated = kivo::detail::ChartInternals::isRotated(self);
    const bool bars = chart.chartType() == OmbriChartTypeColumn || chart.chartType() == OmbriChartTypeBar;
    const auto& rect = chart.rectChart();
    const double left = rect ? rect->left() : 0, top = rect ? rect->top() : 0;
    double px, py;
    if (!rotated) {
        px = left + (bars ? point.x() : chart.axisX()->convert(point.dataX()));
        py = top + chart.axisY()->convert(point.value());
    } else {
        px = left + chart.axisX()->convert(point.value());
        py = top + (bars ? point.y() : chart.axisY()->convert(point.dataX()));
    }
    if (std::isnan(_horizontalPosition)) x = px;
    if (std::isnan(_verticalPosition)) y = py;
}

void KivoChartLineMarker::placeContent(OmbriChart& chart) {
    if (!_content->markerRender()) return;
    if (isHostRender(*_content)) {
        chart.invalidate();
        _isShowXFContent = true;
        _firstShow = false;
        return;
    }
    const auto bounds = _content->bounds();
    const auto corner = calculateContentPosition(KivoSize::create(bounds.size.width, bounds.size.height));
    if (_content->superview().get() != &chart) chart.addSubview(_content);
    _content->setFrame({{corner->x(), corner->y()}, bounds.size});
    _content->setHidden(false);
    _content->markerRender()->renderMarker();
    chart.invalidate();
    _firstShow = false;
}

void KivoChartLineMarker::notify(OmbriChart& chart) {
    if (const auto delegate = chart.delegateAnswering(OmbriChartDelegate::LineMarkerPositionChanged)) {
        delegate->lineMarkerPositionChanged(std::static_pointer_cast<OmbriChartBase>(chart.shared_from_this()));
        return;
    }
    _onPositionChanged(nullptr);
}

void KivoChartLineMarker::_onPositionChanged(const std::shared_ptr<KivoEventArgs>& args) {
    if (_positionChanged) _positionChanged->raise(shared_from_this(), args);
}

void KivoChartLineMarker::hide() {
    if (_content && _content->markerRender()) _content->setHidden(true);
}

std::shared_ptr<KivoPoint> KivoChartLineMarker::calculateContentPosition(const std::shared_ptr<KivoSize>& size) const {
    const double w = size ? size->width() : 0, h = size ? size->height() : 0;
    const auto chart = _chart.lock();
    const KivoRect plot = chart && chart->plotRect() ? *chart->plotRect() : KivoRect();
    const double x = _xPosition, y = _yPosition;
    const bool horizontalLine = _lines == KivoChartMarkerLinesHorizontal || _lines == KivoChartMarkerLinesBoth;
    const bool verticalLine = _lines == KivoChartMarkerLinesVertical || _lines == KivoChartMarkerLinesBoth;
    const double hh = horizontalLine ? _horizontalLineWidth / 2 : 0;
    const double vh = verticalLine ? _verticalLineWidth / 2 : 0;
    const double W = w + vh, H = h + hh;

    bool right;
    if (_alignment == KivoChartMarkerAlignmentLeftBottom || _alignment == KivoChartMarkerAlignmentLeftTop)
        right = x < plot.left() + W;
    else
        right = !(x > plot.right() - W);
    const double left = right ? std::max(x + vh, plot.left() + 2 * vh) : std::min(x - W, plot.right() - vh - W);

    bool below;
    if (_alignment == KivoChartMarkerAlignmentRightBottom || _alignment == KivoChartMarkerAlignmentLeftBottom)
        below = !(y >= plot.bottom() - H);
    else
        below = !(y > plot.top() + H);
    const double top = below ? std::max(y + hh, plot.top() + 2 * hh) : std::min(y - H, plot.bottom() - hh - H);
    return KivoPoint::create(left, top);
}
