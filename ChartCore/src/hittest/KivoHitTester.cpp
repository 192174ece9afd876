#include "ChartCore/KivoHitTester.h"

#include <cmath>
#include <limits>

#include "hittest/HitAreaIndex.h"

namespace {

IKivoHitArea* singleArea(void* first, std::size_t) { return static_cast<IKivoHitArea*>(first); }

// The result for the best area found, held through the run that keeps it alive.
template <class Runs>
std::shared_ptr<KivoHitTestResult> resultOf(const Runs& runs, const kivo::detail::HitCandidate& best, std::int32_t series) {
    if (!best.area) return nullptr;
    return std::make_shared<KivoHitTestResult>(std::shared_ptr<IKivoHitArea>(runs[best.run].owner, best.area), series,
                                               best.distance);
}

}  // namespace

KivoHitTester::KivoHitTester() = default;
KivoHitTester::~KivoHitTester() = default;

void KivoHitTester::changed() {
    ++_generation;
    _indexesStale = true;
}

const kivo::detail::HitAreaIndex& KivoHitTester::indexFor(std::int32_t seriesIndex, const RunList& runs) const {
    if (_indexesStale) {
        // Built again series by series as they are asked for; until then none keeps pointers to areas
        // that may be gone.
        for (auto& [index, built] : _indexes)
            if (built) built->build({});
        _built.clear();
        _indexesStale = false;
    }
    auto& index = _indexes[seriesIndex];
    if (!index) index = std::make_unique<kivo::detail::HitAreaIndex>();
    if (_built.insert(seriesIndex).second) {
        std::vector<kivo::detail::HitAreaIndex::Entry> entries;
        std::size_t n = 0;
        for (const auto& run : runs) n += run.count;
        entries.reserve(n);
        for (std::uint32_t r = 0; r < runs.size(); ++r)
            for (std::size_t i = 0; i < runs[r].count; ++i) entries.push_back({runs[r].area(i), r});
        index->build(std::move(entries));
    }
    return *index;
}

void KivoHitTester::clear() {
    _runs.clear();
    _areas.clear();
    _areasStale = false;
    _count = 0;
    _lastList = nullptr;
    changed();
}

KivoHitTester::RunList& KivoHitTester::listFor(std::int32_t seriesIndex) {
    if (!_lastList || _lastSeries != seriesIndex) {
        _lastList = &_runs[seriesIndex];
        _lastSeries = seriesIndex;
    }
    return *_lastList;
}

void KivoHitTester::add(std::shared_ptr<IKivoHitArea> area, std::int32_t seriesIndex) {
    if (!area) return;
    IKivoHitArea* raw = area.get();
    if (!_areasStale) _areas[seriesIndex].push_back(area);
    listFor(seriesIndex).push_back({std::move(area), raw, 1, singleArea});
    ++_count;
    changed();
}

void KivoHitTester::addBlock(std::shared_ptr<void> owner, void* first, std::size_t count, AreaAt at, std::int32_t seriesIndex) {
    if (!owner || !first || !at || count == 0) return;
    listFor(seriesIndex).push_back({std::move(owner), first, count, at});
    _count += count;
    _areasStale = true;
    changed();
}

const KivoHitTester::HitTesterMap& KivoHitTester::getHitTesterMap() const {
    if (_areasStale) {
        _areas.clear();
        for (const auto& [index, runs] : _runs) {
            auto& list = _areas[index];
            for (const auto& run : runs)
                for (std::size_t i = 0; i < run.count; ++i) list.emplace_back(run.owner, run.area(i));
        }
        _areasStale = false;
    }
    return _areas;
}

std::shared_ptr<KivoHitTestResult> KivoHitTester::hitTest(const std::shared_ptr<KivoPoint>& point) const {
    if (!point) return nullptr;
    kivo::detail::HitCandidate best{std::numeric_limits<double>::infinity()};
    const RunList* foundRuns = nullptr;
    std::int32_t foundSeries = 0;
    // Series in the order of their indices: a later series wins a tie, as its areas were added last.
    for (const auto& [index, runs] : _runs) {
        best.ordinal = -1;
        indexFor(index, runs).nearest(*point, best);
        if (best.ordinal >= 0) {
            foundRuns = &runs;
            foundSeries = index;
        }
    }
    return foundRuns ? resultOf(*foundRuns, best, foundSeries) : nullptr;
}

std::shared_ptr<KivoHitTestResult> KivoHitTester::hitTestSeries(const std::shared_ptr<KivoPoint>& point,
                                                                std::int32_t seriesIndex) const {
    if (!point) return nullptr;
    auto it = _runs.find(seriesIndex);
    if (it == _runs.end()) return nullptr;
    kivo::detail::HitCandidate best{std::numeric_limits<double>::infinity()};
    indexFor(seriesIndex, it->second).nearest(*point, best);
    return resultOf(it->second, best, seriesIndex);
}
