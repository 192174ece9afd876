#pragma once
// A point as the Cartesian chart drew it. Plotters attach one to each hit area they register, and a
// hit test hands it back. A plain record; everything starts at zero or null.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "ChartCore/KivoDataPoint.h"
#include "OmbriChart/KivoOmbriChartExport.h"

class KIVO_CHART_EXPORT KivoChartDataPoint : public KivoDataPoint {
public:
    KivoChartDataPoint() = default;
    static std::shared_ptr<KivoChartDataPoint> create() { return std::make_shared<KivoChartDataPoint>(); }

    // The series' position in the chart's series list; -1 for none.
    std::int32_t seriesIndex() const { return _seriesIndex; }
    void setSeriesIndex(std::int32_t index) { _seriesIndex = index; }
    const std::optional<std::string>& seriesName() const { return _seriesName; }
    void setSeriesName(std::optional<std::string> name) { _seriesName = std::move(name); }
    // The item's X value as bound: a number, a date or a category.
    const plat::Value& valueX() const { return _valueX; }
    void setValueX(plat::Value value) { _valueX = std::move(value); }
    // The position in the view, in points.
    double x() const { return _x; }
    void setX(double x) { _x = x; }
    double y() const { return _y; }
    void setY(double y) { _y = y; }
    // The X value in data units.
    double dataX() const { return _dataX; }
    void setDataX(double x) { _dataX = x; }
    double high() const { return _high; }
    void setHigh(double v) { _high = v; }
    double low() const { return _low; }
    void setLow(double v) { _low = v; }
    double open() const { return _open; }
    void setOpen(double v) { _open = v; }
    double close() const { return _close; }
    void setClose(double v) { _close = v; }
    double bubbleSize() const { return _bubbleSize; }
    void setBubbleSize(double v) { _bubbleSize = v; }

private:
    std::int32_t _seriesIndex = 0;
    std::optional<std::string> _seriesName;
    plat::Value _valueX;
    double _x = 0, _y = 0, _dataX = 0;
    double _high = 0, _low = 0, _open = 0, _close = 0;
    double _bubbleSize = 0;
};
