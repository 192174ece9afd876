#pragma once
// One data point of a chart control as a hit test or a tooltip hands it out: its index in the data,
// its value and the application's item it came from. The controls derive their own points from it.

#include <cstdint>
#include <memory>

#include "ChartCore/KivoChartCoreExport.h"
#include "Platform/foundation/object.h"

class KIVO_CHART_CORE_EXPORT KivoDataPoint : public plat::Object {
public:
    KivoDataPoint() = default;
    static std::shared_ptr<KivoDataPoint> create() { return std::make_shared<KivoDataPoint>(); }

    std::int32_t pointIndex() const { return _pointIndex; }
    void setPointIndex(std::int32_t index) { _pointIndex = index; }
    double value() const { return _value; }
    void setValue(double value) { _value = value; }
    // The bound item (null until a hit test fills it).
    const plat::Value& dataObject() const { return _dataObject; }
    void setDataObject(plat::Value item) { _dataObject = std::move(item); }

private:
    std::int32_t _pointIndex = 0;
    double _value = 0;
    plat::Value _dataObject;
};
