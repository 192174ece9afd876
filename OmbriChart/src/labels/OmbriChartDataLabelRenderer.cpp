#include "OmbriChart/OmbriChartDataLabelRenderer.h"

#include "OmbriChart/OmbriChart.h"

OmbriChartDataLabelRenderer::OmbriChartDataLabelRenderer(const std::shared_ptr<OmbriChart>& chart,
                                                         std::shared_ptr<OmbriChartDataLabel> label)
    : _chart(chart), _label(std::move(label)) {}
