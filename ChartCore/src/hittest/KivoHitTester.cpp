#include "ChartCore/KivoHitTester.h"

#include <cmath>
#include <limits>

namespace {

// The nearest area of one list: the last of the closest ones (drawn on top); `best` carries the
// distance to beat across lists.
void nearestIn(const KivoHitTester::AreaList& areas, const KivoPoint& p, std::int32_t series,
               std::shared_ptr<IKivoHitArea>& found, std::int32_t& foundSeries, double& best) {
    for (const auto& area : areas) {
        const double d = area->distance(p);
        if (!std::isfinite(d) || d > best) continue;
        best = d;
        found = area;
        foundSeries = series;
    }
}

std::shared_ptr<KivoHitTestResult> resultOf(std::shared_ptr<IKivoHitArea> found, std::int32_t series, double distance) {
    if (!found) return nullptr;
    return std::make_shared<KivoHitTestResult>(std::move(found), series, distance);
}

}  // namespace

void KivoHitTester::clear() {
    _areas.clear();
    _count = 0;
    _lastList = nullptr;
}

void KivoHitTester::add(std::shared_ptr<IKivoHitArea> area, std::int32_t seriesIndex) {
    if (!area) return;
    if (!_lastList || _lastSeries != seriesIndex) {
        _lastList = &_areas[seriesIndex];
        _lastSeries = seriesIndex;
    }
    _lastList->push_back(std::move(area));
    ++_count;
}

std::shared_ptr<KivoHitTestResult> KivoHitTester::hitTest(const std::shared_ptr<KivoPoint>& point) const {
    if (!point) return nullptr;
    std::shared_ptr<IKivoHitArea> found;
    std::int32_t series = 0;
    double best = std::numeric_limits<double>::infinity();
    for (const auto& [index, areas] : _areas) nearestIn(areas, *point, index, found, series, best);
    return resultOf(std::move(found), series, best);
}

std::shared_ptr<KivoHitTestResult> KivoHitTester::hitTestSeries(const std::shared_ptr<KivoPoint>& point,
                                                                std::int32_t seriesIndex) const {
    if (!point) return nullptr;
    auto it = _areas.find(seriesIndex);
    if (it == _areas.end()) return nullptr;
    std::shared_ptr<IKivoHitArea> found;
    std::int32_t series = seriesIndex;
    double best = std::numeric_limits<double>::infinity();
    nearestIn(it->second, *point, seriesIndex, found, series, best);
    return resultOf(std::move(found), series, best);
}
