#pragma once
// The result of a hit test on a chart control, at its base: the point that was tested (in the view's
// coordinates). The controls add what they found there.

#include <memory>

#include "ChartCore/KivoChartCoreExport.h"
#include "KivoCore/KivoGeometry.h"

class KIVO_CHART_CORE_EXPORT KivoHitTestInfo : public plat::Object {
public:
    KivoHitTestInfo(double x, double y) : _point(KivoPoint::create(x, y)) {}
    static std::shared_ptr<KivoHitTestInfo> create(double x, double y) { return std::make_shared<KivoHitTestInfo>(x, y); }

    double x() const { return _point->x(); }
    double y() const { return _point->y(); }
    // Never null: a tooltip may move the point (to the centre of the hit element, for instance) in place.
    const std::shared_ptr<KivoPoint>& point() const { return _point; }
    // A null point is ignored.
    void setPoint(std::shared_ptr<KivoPoint> point) {
        if (point) _point = std::move(point);
    }

private:
    std::shared_ptr<KivoPoint> _point;
};
