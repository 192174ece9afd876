#pragma once
// The chart's data-label settings: where a label sits against its element (KivoDataLabelPosition;
// 0, the default, draws none) on top of the base's template and look. The chart is held weakly.

#include <cstdint>
#include <memory>

#include "ChartCore/KivoBaseDataLabel.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "OmbriChart/OmbriChartEnums.h"

class OmbriChart;

class KIVO_CHART_EXPORT OmbriChartDataLabel : public KivoBaseDataLabel {
public:
    explicit OmbriChartDataLabel(const std::shared_ptr<OmbriChart>& chart);
    static std::shared_ptr<OmbriChartDataLabel> create(const std::shared_ptr<OmbriChart>& chart) {
        return std::make_shared<OmbriChartDataLabel>(chart);
    }

    // Any code is stored; every setting redraws the chart.
    std::int64_t position() const { return _position; }
    void setPosition(std::int64_t position);

private:
    std::int64_t _position = KivoDataLabelPositionNone;
};
