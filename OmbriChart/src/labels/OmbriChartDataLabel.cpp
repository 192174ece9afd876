#include "OmbriChart/OmbriChartDataLabel.h"

#include "OmbriChart/OmbriChart.h"

OmbriChartDataLabel::OmbriChartDataLabel(const std::shared_ptr<OmbriChart>& chart) { setChart(chart); }

void OmbriChartDataLabel::setPosition(std::int64_t position) {
    _position = position;
    invalidateChart();
}
