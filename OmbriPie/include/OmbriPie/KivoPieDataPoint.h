#pragma once
// A slice as the pie's hit test and tooltip hand it out: the chart base's data point (index, value,
// item) with the slice's name and its share of the sum.

#include <memory>
#include <string>

#include "ChartCore/KivoDataPoint.h"
#include "OmbriPie/KivoOmbriPieExport.h"

class KIVO_PIE_EXPORT KivoPieDataPoint : public KivoDataPoint {
public:
    KivoPieDataPoint() = default;
    static std::shared_ptr<KivoPieDataPoint> create() { return std::make_shared<KivoPieDataPoint>(); }

    const std::string& name() const { return _name; }
    void setName(std::string name) { _name = std::move(name); }
    // The value divided by the sum, as the hit test fills it.
    double percentage() const { return _percentage; }
    void setPercentage(double percentage) { _percentage = percentage; }

private:
    std::string _name;
    double _percentage = 0;
};
