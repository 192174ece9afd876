#pragma once
// The registry of hit areas that a chart control fills while it draws (one list per series, in the
// order of drawing) and clears at the start of every drawing pass; it answers the area nearest to a
// point, over all series or within one. The first query after the areas change builds a spatial index
// over them (drawing never does), so a query on a million areas costs about what one on a thousand does.

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <span>
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

namespace kivo::detail {
class HitAreaIndex;
}

class KIVO_CHART_CORE_EXPORT KivoHitTester : public plat::Object {
public:
    using AreaList = std::vector<std::shared_ptr<IKivoHitArea>>;
    // Series index → that series' areas in the order they were added; series without areas are absent.
    using HitTesterMap = std::map<std::int32_t, AreaList>;

    KivoHitTester();
    ~KivoHitTester() override;
    static std::shared_ptr<KivoHitTester> create() { return std::make_shared<KivoHitTester>(); }

    // The i-th area of a block, from the block's first element.
    using AreaAt = IKivoHitArea* (*)(void* first, std::size_t index);

    void clear();
    // A null area is ignored.
    void add(std::shared_ptr<IKivoHitArea> area, std::int32_t seriesIndex);
    // Every area of `areas` in turn, as if each was added, kept alive by `owner` (which must hold them):
    // one entry for the whole run, where adding each would make a shared pointer per area. A null owner
    // or an empty run adds nothing.
    template <class Area>
    void addAll(std::shared_ptr<void> owner, std::span<Area> areas, std::int32_t seriesIndex) {
        addBlock(
            std::move(owner), areas.data(), areas.size(),
            [](void* first, std::size_t index) -> IKivoHitArea* { return static_cast<Area*>(first) + index; }, seriesIndex);
    }
    void addBlock(std::shared_ptr<void> owner, void* first, std::size_t count, AreaAt at, std::int32_t seriesIndex);

    // The area nearest to the point over every series, or null (no areas, a null point, or no area at a
    // finite distance). Among areas at the same distance the one added last wins: it was drawn on top,
    // and series are taken in the order of their indices.
    std::shared_ptr<KivoHitTestResult> hitTest(const std::shared_ptr<KivoPoint>& point) const;
    // The same within one series; null for a series without areas.
    std::shared_ptr<KivoHitTestResult> hitTestSeries(const std::shared_ptr<KivoPoint>& point, std::int32_t seriesIndex) const;

    // Every area by series, in the order added. The areas of a block are listed one by one when the map
    // is asked for after the block was added.
    const HitTesterMap& getHitTesterMap() const;
    std::size_t count() const { return _count; }
    // Changes with every clear and every add: what a caller built from the areas is stale once it moved.
    std::uint64_t generation() const { return _generation; }

private:
    // A run of areas added together (a single area is a run of one) and what keeps them alive.
    struct Run {
        std::shared_ptr<void> owner;
        void* first = nullptr;
        std::size_t count = 0;
        AreaAt at = nullptr;
        IKivoHitArea* area(std::size_t index) const { return at(first, index); }
    };
    using RunList = std::vector<Run>;
    KIVO_CHART_CORE_NO_EXPORT RunList& listFor(std::int32_t seriesIndex);
    KIVO_CHART_CORE_NO_EXPORT void changed();
    // The index of a series' areas, built when first asked for after a change.
    KIVO_CHART_CORE_NO_EXPORT const kivo::detail::HitAreaIndex& indexFor(std::int32_t seriesIndex, const RunList& runs) const;

    std::map<std::int32_t, RunList> _runs;
    // The map of single areas, kept as they are added until a block is added; then made again when asked.
    mutable HitTesterMap _areas;
    mutable bool _areasStale = false;
    std::size_t _count = 0;
    std::uint64_t _generation = 0;
    mutable std::map<std::int32_t, std::unique_ptr<kivo::detail::HitAreaIndex>> _indexes;
    mutable std::set<std::int32_t> _built;
    mutable bool _indexesStale = false;
    // The list the last add went to: plotters add a whole series in a row, so most adds skip the lookup.
    std::int32_t _lastSeries = 0;
    RunList* _lastList = nullptr;
};
