#pragma once
// The result of a hit test on the pie: the tested point, the pie, the slice found (a new, empty data
// point until the hit test fills it), the slice's centre and which part of the chart was hit.

#include <cstdint>
#include <memory>

#include "ChartCore/KivoHitTestInfo.h"
#include "KivoCore/KivoGeometry.h"
#include "OmbriPie/KivoOmbriPieExport.h"
#include "OmbriPie/KivoPieDataPoint.h"

class OmbriPie;

class KIVO_PIE_EXPORT KivoPieHitTestInfo : public KivoHitTestInfo {
public:
    // The record is handed to the application, so it may hold the pie.
    KivoPieHitTestInfo(std::shared_ptr<OmbriPie> pie, double x, double y)
        : KivoHitTestInfo(x, y),
          _pie(std::move(pie)),
          _dataPoint(KivoPieDataPoint::create()),
          _sliceCenter(KivoPoint::create()) {}
    static std::shared_ptr<KivoPieHitTestInfo> create(std::shared_ptr<OmbriPie> pie, double x, double y) {
        return std::make_shared<KivoPieHitTestInfo>(std::move(pie), x, y);
    }

    const std::shared_ptr<OmbriPie>& pie() const { return _pie; }
    void setPie(std::shared_ptr<OmbriPie> pie) { _pie = std::move(pie); }
    const std::shared_ptr<KivoPieDataPoint>& dataPoint() const { return _dataPoint; }
    void setDataPoint(std::shared_ptr<KivoPieDataPoint> point) { _dataPoint = std::move(point); }
    const std::shared_ptr<KivoPoint>& sliceCenter() const { return _sliceCenter; }
    void setSliceCenter(std::shared_ptr<KivoPoint> center) { _sliceCenter = std::move(center); }
    // A KivoChartElement code.
    std::int64_t chartElement() const { return _chartElement; }
    void setChartElement(std::int64_t element) { _chartElement = element; }

private:
    std::shared_ptr<OmbriPie> _pie;
    std::shared_ptr<KivoPieDataPoint> _dataPoint;
    std::shared_ptr<KivoPoint> _sliceCenter;
    std::int64_t _chartElement = 0;
};
