#include "OmbriChart/KivoChartLineMarker.h"

#include <cmath>

#include "OmbriChart/OmbriChart.h"

KivoChartLineMarker::KivoChartLineMarker(const std::shared_ptr<OmbriChart>& chart) : _chart(chart) {}

void KivoChartLineMarker::invalidateChart() const {
    if (const auto chart = _chart.lock()) chart->invalidate();
}

void KivoChartLineMarker::setLines(std::int64_t lines) {
    if (lines == _lines) return;
    _lines = lines;
    invalidateChart();
}

void KivoChartLineMarker::setIsVisible(bool visible) {
    if (visible == _isVisible) return;
    _isVisible = visible;
    invalidateChart();
}

void KivoChartLineMarker::setPosition(double x, double y) {
    _xPosition = x;
    _yPosition = y;
    invalidateChart();
}

// The X axis is the horizontal one and the Y axis the vertical one, rotated or not.
double KivoChartLineMarker::x() const {
    const auto chart = _chart.lock();
    return chart && chart->axisX() ? chart->axisX()->convertBack(_xPosition) : std::nan("");
}

double KivoChartLineMarker::y() const {
    const auto chart = _chart.lock();
    return chart && chart->axisY() ? chart->axisY()->convertBack(_yPosition) : std::nan("");
}
