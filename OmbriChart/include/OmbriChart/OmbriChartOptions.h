#pragma once
// How wide bars and candles stand and how big bubbles grow. Every setter redraws the chart, also for
// an unchanged value. The values are single-precision, as the chart stores them.

#include <memory>

#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/object.h"

class OmbriChart;

class KIVO_CHART_EXPORT OmbriChartOptions : public plat::Object {
public:
    // `chart` is held weakly (the chart owns its options); once it is gone the setters only store.
    explicit OmbriChartOptions(const std::shared_ptr<OmbriChart>& chart);
    static std::shared_ptr<OmbriChartOptions> create(const std::shared_ptr<OmbriChart>& chart) {
        return std::make_shared<OmbriChartOptions>(chart);
    }

    std::shared_ptr<OmbriChart> chart() const { return _chart.lock(); }

    // The width of one cluster of bars, as a share of the step between X values.
    float groupWidth() const { return _groupWidth; }
    void setGroupWidth(float width);
    // The width of a candle body, in X units.
    float candleWidth() const { return _candleWidth; }
    void setCandleWidth(float width);
    // The smallest and largest bubble, in points.
    float bubbleMinSize() const { return _bubbleMinSize; }
    void setBubbleMinSize(float size);
    float bubbleMaxSize() const { return _bubbleMaxSize; }
    void setBubbleMaxSize(float size);

    static constexpr float DefaultGroupWidth = 0.7f;
    static constexpr float DefaultCandleWidth = 0.7f;
    static constexpr float DefaultBubbleMinSize = 5;
    static constexpr float DefaultBubbleMaxSize = 30;

private:
    KIVO_CHART_NO_EXPORT void invalidateChart() const;

    std::weak_ptr<OmbriChart> _chart;
    float _groupWidth = DefaultGroupWidth;
    float _candleWidth = DefaultCandleWidth;
    float _bubbleMinSize = DefaultBubbleMinSize;
    float _bubbleMaxSize = DefaultBubbleMaxSize;
};
