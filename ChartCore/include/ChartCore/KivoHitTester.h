#pragma once
// The registry of hit areas that a chart control fills while it draws (one list per series, in the
// order of drawing) and clears at the start of every drawing pass; it answers the area nearest to a
// point, over all series or within one.

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "ChartCore/IKivoHitArea.h"
#include "ChartCore/KivoChartCoreExport.h"
#include "Platform/foundation/object.h"

// What a hit test found: the nearest area, its series and its distance from the point.
class KIVO_CHART_CORE_EXPORT KivoHitTestResult : public plat::Object {
public:
    KivoHitTestResult(std::shared_ptr<IKivoHitArea> area, std::int32_t seriesIndex, double distance)
        : _area(std::move(area)), _seriesIndex(seriesIndex), _distance(distance) {}

    const std::shared_ptr<IKivoHitArea>& area() const { return _area; }
    std::int32_t seriesIndex() const { return _seriesIndex; }
    double distance() const { return _distance; }

private:
    std::shared_ptr<IKivoHitArea> _area;
    std::int32_t _seriesIndex;
    double _distance;
};

class KIVO_CHART_CORE_EXPORT KivoHitTester : public plat::Object {
public:
    using AreaList = std::vector<std::shared_ptr<IKivoHitArea>>;
    // Series index → that series' areas in the order they were added; series without areas are absent.
    using HitTesterMap = std::map<std::int32_t, AreaList>;

    KivoHitTester() = default;
    static std::shared_ptr<KivoHitTester> create() { return std::make_shared<KivoHitTester>(); }

    void clear();
    // A nil area is ignored.
    void add(std::shared_ptr<IKivoHitArea> area, std::int32_t seriesIndex);

    // The area nearest to the point over every series, or nil (no areas, a nil point, or no area at a
    // finite distance). Among areas at the same distance the one added last wins: it was drawn on top,
    // and series are taken in the order of their indices.
    std::shared_ptr<KivoHitTestResult> hitTest(const std::shared_ptr<KivoPoint>& point) const;
    // The same within one series; nil for a series without areas.
    std::shared_ptr<KivoHitTestResult> hitTestSeries(const std::shared_ptr<KivoPoint>& point, std::int32_t seriesIndex) const;

    const HitTesterMap& getHitTesterMap() const { return _areas; }
    std::size_t count() const { return _count; }

private:
    HitTesterMap _areas;
    std::size_t _count = 0;
    // The list the last add went to: plotters add a whole series in a row, so most adds skip the lookup.
    std::int32_t _lastSeries = 0;
    AreaList* _lastList = nullptr;
};
