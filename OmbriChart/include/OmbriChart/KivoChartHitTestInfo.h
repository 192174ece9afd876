#pragma once
// The result of a hit test on the Cartesian chart: the tested point (the base's), the chart, which
// part of it lies there and, over a data point, the point, its series, its hit area and distance.

#include <cstdint>
#include <memory>

#include "ChartCore/IKivoHitArea.h"
#include "ChartCore/KivoHitTestInfo.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/KivoOmbriChartExport.h"

class KivoChartAnnotation;
class KivoSeries;
class OmbriChart;

class KIVO_CHART_EXPORT KivoChartHitTestInfo : public KivoHitTestInfo {
public:
    // A result at (x, y) for `chart` with an empty data point (series index -1), chart element 0 and
    // no annotation, area or series.
    KivoChartHitTestInfo(std::shared_ptr<OmbriChart> chart, double x, double y);
    static std::shared_ptr<KivoChartHitTestInfo> create(std::shared_ptr<OmbriChart> chart, double x, double y) {
        return std::make_shared<KivoChartHitTestInfo>(std::move(chart), x, y);
    }

    const std::shared_ptr<OmbriChart>& chart() const { return _chart; }
    void setChart(std::shared_ptr<OmbriChart> chart) { _chart = std::move(chart); }
    const std::shared_ptr<KivoChartDataPoint>& dataPoint() const { return _dataPoint; }
    void setDataPoint(std::shared_ptr<KivoChartDataPoint> point) { _dataPoint = std::move(point); }
    // A KivoChartElement.
    std::int64_t chartElement() const { return _chartElement; }
    void setChartElement(std::int64_t element) { _chartElement = element; }
    double distance() const { return _distance; }
    void setDistance(double distance) { _distance = distance; }
    const std::shared_ptr<KivoChartAnnotation>& annotation() const { return _annotation; }
    void setAnnotation(std::shared_ptr<KivoChartAnnotation> annotation) { _annotation = std::move(annotation); }
    const std::shared_ptr<IKivoHitArea>& area() const { return _area; }
    void setArea(std::shared_ptr<IKivoHitArea> area) { _area = std::move(area); }
    const std::shared_ptr<KivoSeries>& series() const { return _series; }
    void setSeries(std::shared_ptr<KivoSeries> series) { _series = std::move(series); }

private:
    // A result is short-lived and never kept by the chart, so holding the chart makes no cycle.
    std::shared_ptr<OmbriChart> _chart;
    std::shared_ptr<KivoChartDataPoint> _dataPoint;
    std::int64_t _chartElement = 0;
    double _distance = 0;
    std::shared_ptr<KivoChartAnnotation> _annotation;
    std::shared_ptr<IKivoHitArea> _area;
    std::shared_ptr<KivoSeries> _series;
};
