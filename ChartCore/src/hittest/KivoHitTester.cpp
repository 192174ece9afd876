#include "ChartCore/KivoHitTester.h"

#include <cmath>
#include <limits>

namespace {

IKivoHitArea* singleArea(void* first, std::size_t) { return static_cast<IKivoHitArea*>(first); }

// The nearest area of one series' runs: the last of the closest ones (drawn on top); `best` carries
// the distance to beat across series.
template <class Run>
void nearestIn(const std::vector<Run>& runs, const KivoPoint& p, std::int32_t series, const Run*& foundRun, IKivoHitArea*& found,
               std::int32_t& foundSeries, double& best) {
    for (const auto& run : runs)
        for (std::size_t i = 0; i < run.count; ++i) {
            IKivoHitArea* area = run.area(i);
            const double d = area->distance(p);
            if (!std::isfinite(d) || d > best) continue;
            best = d;
            found = area;
            foundRun = &run;
            foundSeries = series;
        }
}

template <class Run>
std::shared_ptr<KivoHitTestResult> resultOf(const Run* run, IKivoHitArea* found, std::int32_t series, double distance) {
    if (!run || !found) return nullptr;
    return std::make_shared<KivoHitTestResult>(std::shared_ptr<IKivoHitArea>(run->owner, found), series, distance);
}

}  // namespace

void KivoHitTester::clear() {
    _runs.clear();
    _areas.clear();
    _areasStale = false;
    _count = 0;
    _lastList = nullptr;
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
}

void KivoHitTester::addBlock(std::shared_ptr<void> owner, void* first, std::size_t count, AreaAt at, std::int32_t seriesIndex) {
    if (!owner || !first || !at || count == 0) return;
    listFor(seriesIndex).push_back({std::move(owner), first, count, at});
    _count += count;
    _areasStale = true;
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
    const Run* run = nullptr;
    IKivoHitArea* found = nullptr;
    std::int32_t series = 0;
    double best = std::numeric_limits<double>::infinity();
    for (const auto& [index, runs] : _runs) nearestIn(runs, *point, index, run, found, series, best);
    return resultOf(run, found, series, best);
}

std::shared_ptr<KivoHitTestResult> KivoHitTester::hitTestSeries(const std::shared_ptr<KivoPoint>& point,
                                                                std::int32_t seriesIndex) const {
    if (!point) return nullptr;
    auto it = _runs.find(seriesIndex);
    if (it == _runs.end()) return nullptr;
    const Run* run = nullptr;
    IKivoHitArea* found = nullptr;
    std::int32_t series = seriesIndex;
    double best = std::numeric_limits<double>::infinity();
    nearestIn(it->second, *point, seriesIndex, run, found, series, best);
    return resultOf(run, found, series, best);
}
