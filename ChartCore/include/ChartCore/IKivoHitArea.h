#pragma once
// The protocol of a hit area: a shape that a control records while drawing an element, tagged with
// what a hit on it stands for (a data point, a slice index). The hit tester asks it for containment
// and distance in the control's coordinates.

#include "ChartCore/KivoChartCoreExport.h"
#include "KivoCore/KivoGeometry.h"
#include "Platform/foundation/value.h"

class KIVO_CHART_CORE_EXPORT IKivoHitArea {
public:
    virtual ~IKivoHitArea() = default;

    virtual bool contains(const KivoPoint& point) const = 0;
    // 0 inside the area (edges included), else how far the point lies from it; NaN for an area
    // whose geometry is not a number, which nothing ever hits.
    virtual double distance(const KivoPoint& point) const = 0;
    virtual const plat::Value& tag() const = 0;
    virtual void setTag(plat::Value tag) = 0;
};
