#include "OmbriChart/OmbriChartOptions.h"

#include "OmbriChart/OmbriChart.h"

OmbriChartOptions::OmbriChartOptions(const std::shared_ptr<OmbriChart>& chart) : _chart(chart) {}

void OmbriChartOptions::invalidateChart() const {
    if (auto chart = _chart.lock()) chart->invalidate();
}

void OmbriChartOptions::setGroupWidth(float width) {
    _groupWidth = width;
    invalidateChart();
}

void OmbriChartOptions::setCandleWidth(float width) {
    _candleWidth = width;
    invalidateChart();
}

void OmbriChartOptions::setBubbleMinSize(float size) {
    _bubbleMinSize = size;
    invalidateChart();
}

void OmbriChartOptions::setBubbleMaxSize(float size) {
    _bubbleMaxSize = size;
    invalidateChart();
}
