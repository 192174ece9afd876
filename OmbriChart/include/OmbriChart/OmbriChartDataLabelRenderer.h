#pragma once
// The hook through which the plotters draw data labels: one call per labelled point, with the series
// name, the element's rectangle and the point's values. This base draws nothing; the chart's default
// is DefaultChartDataLabelRenderer, and an application may put its own subclass in the chart's
// dataLabelRenderer. A renderer draws with the chart's render engine.

#include <cstdint>
#include <memory>
#include <string>

#include "KivoCore/KivoGeometry.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "OmbriChart/OmbriChartDataLabel.h"
#include "Platform/foundation/value.h"

class OmbriChart;

class KIVO_CHART_EXPORT OmbriChartDataLabelRenderer : public plat::Object {
public:
    // `chart` is held weakly (the chart owns its renderer); the label settings are kept.
    OmbriChartDataLabelRenderer(const std::shared_ptr<OmbriChart>& chart, std::shared_ptr<OmbriChartDataLabel> label);
    static std::shared_ptr<OmbriChartDataLabelRenderer> create(const std::shared_ptr<OmbriChart>& chart,
                                                               std::shared_ptr<OmbriChartDataLabel> label) {
        return std::make_shared<OmbriChartDataLabelRenderer>(chart, std::move(label));
    }

    std::shared_ptr<OmbriChart> chart() const { return _chart.lock(); }
    const std::shared_ptr<OmbriChartDataLabel>& label() const { return _label; }

    // One label of the point `pointIndex` of series `seriesIndex`. `rect` is the element's rectangle in
    // view coordinates, `x` and `y` the point's data values and `valueX` its X value as bound. The
    // line, area, bar and finance plotters send the first form, the bubble plotter the second.
    virtual void render(const std::string& seriesName, const std::shared_ptr<KivoRect>& rect, std::int64_t seriesIndex,
                        std::int64_t pointIndex, double x, double y, const plat::Value& valueX) {}
    virtual void render(const std::string& seriesName, const std::shared_ptr<KivoRect>& rect, std::int64_t seriesIndex,
                        std::int64_t pointIndex, double x, double y, const plat::Value& valueX, double bubbleSize) {}

protected:
    std::weak_ptr<OmbriChart> _chart;
    std::shared_ptr<OmbriChartDataLabel> _label;
};
