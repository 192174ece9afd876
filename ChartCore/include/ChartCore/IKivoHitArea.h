#pragma once
// The protocol of a hit area: a shape that a control records while drawing an element, tagged with
// what a hit on it stands for (a data point, a slice index). The hit tester asks it for containment
// and distance in the control's coordinates.

#include <cmath>
#include <limits>

#include "ChartCore/KivoChartCoreExport.h"
#include "KivoCore/KivoGeometry.h"
#include "Platform/foundation/value.h"

// Where an area lies: within `radius` of the box [minX, maxX] × [minY, maxY]. A disc is its centre
// with its radius, a rectangle itself with radius 0. The hit tester's index takes the distance from
// a point to the box, less the radius, as a bound that the area's own distance never undercuts.
struct KivoHitBounds {
    static constexpr double Inf = std::numeric_limits<double>::infinity();
    double minX = -Inf, minY = -Inf, maxX = Inf, maxY = Inf;
    double radius = 0;

    // An area that cannot tell where it lies (the default) is tried on every query.
    bool isKnown() const {
        return std::isfinite(minX) && std::isfinite(minY) && std::isfinite(maxX) && std::isfinite(maxY) &&
               std::isfinite(radius) && minX <= maxX && minY <= maxY && radius >= 0;
    }
    // The bounding box proper: the box widened by the radius.
    KivoRect boundingBox() const {
        return KivoRect(minX - radius, minY - radius, maxX - minX + 2 * radius, maxY - minY + 2 * radius);
    }
};

class KIVO_CHART_CORE_EXPORT IKivoHitArea {
public:
    virtual ~IKivoHitArea() = default;

    virtual bool contains(const KivoPoint& point) const = 0;
    // 0 inside the area (edges included), else how far the point lies from it; NaN for an area
    // whose geometry is not a number, which nothing ever hits.
    virtual double distance(const KivoPoint& point) const = 0;
    // Where the area lies; the default says nothing, and such an area is tried on every query.
    virtual KivoHitBounds bounds() const { return {}; }
    virtual const plat::Value& tag() const = 0;
    virtual void setTag(plat::Value tag) = 0;
};
