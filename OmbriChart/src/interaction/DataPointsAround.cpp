// OmbriChart: the data points around a view point, one per series, nearest along the category
// direction; what the line marker snaps to.

#include <algorithm>
#include <cmath>
#include <limits>

#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/OmbriChart.h"
#include "interaction/CategoryIndex.h"
#include "plotters/LinePointArea.h"

namespace {

// The value and dataX an area's data point holds, read without making the point where the area keeps
// them itself (a line point's area: value is its X on a rotated chart, dataX its Y).
std::pair<double, double> valueAndDataX(const IKivoHitArea& area, bool rotated) {
    if (const auto* line = dynamic_cast<const LinePointArea*>(&area))
        return rotated ? std::pair{line->x(), line->y()} : std::pair{line->y(), line->x()};
    if (const auto point = area.tag().as<KivoChartDataPoint>()) return {point->value(), point->dataX()};
    return {NAN, NAN};
}

}  // namespace

const IKivoHitArea* kivo::detail::CategoryIndex::nearest(const Series& series, double c) const {
    const auto& positions = series.positions;
    if (positions.empty() || std::isnan(c)) return nullptr;
    const auto it = std::lower_bound(positions.begin(), positions.end(), std::pair{c, std::uint32_t(0)});
    // The nearest lies on one side of c or the other; a walk from the last area to the first keeps the
    // first of the nearest it meets, which is the one added last.
    const std::pair<double, std::uint32_t>* best = nullptr;
    double bestDistance = std::numeric_limits<double>::max();
    for (auto candidate : {it - (it != positions.begin() ? 1 : 0), it}) {
        if (candidate == positions.end()) continue;
        const double d = std::fabs(c - candidate->first);
        if (d < bestDistance || (d == bestDistance && best && candidate->second > best->second)) {
            bestDistance = d;
            best = &*candidate;
        }
    }
    return best ? (*series.areas)[best->second].get() : nullptr;
}

std::optional<std::vector<std::shared_ptr<KivoChartDataPoint>>> OmbriChart::getDataPointsAroundPoint(double x, double y) {
    const auto p = toControl(x, y);
    if (!contains(rectChart(), p)) return std::nullopt;
    std::vector<std::shared_ptr<KivoChartDataPoint>> found;
    if (!_hitTester) return found;

    const bool rotated = _isRotated();
    const bool bars = chartType() == OmbriChartTypeColumn || chartType() == OmbriChartTypeBar;
    const auto& axis = rotated ? _axisY : _axisX;
    const auto& rect = rectChart();
    const double offset = rect ? (rotated ? rect->top() : rect->left()) : 0;

    kivo::detail::CategoryIndex::Key key;
    key.generation = _hitTester->generation();
    key.chartType = chartType();
    key.rotated = rotated;
    const double samples[] = {0, 1, 10, 1000};
    for (std::size_t i = 0; i < 4; ++i) key.probes[i] = axis->convert(samples[i]);
    key.probes[4] = offset;
    if (!_categoryIndex) _categoryIndex = std::make_unique<kivo::detail::CategoryIndex>();
    if (!_categoryIndex->isBuiltFor(key)) {
        _categoryIndex->build(key, _hitTester->getHitTesterMap(), [&](const IKivoHitArea& area) {
            const auto [value, dataX] = valueAndDataX(area, rotated);
            return offset + axis->convert(bars || !rotated ? dataX : value);
        });
    }

    const double c = rotated ? y : x;
    for (const auto& series : _categoryIndex->series()) {
        const auto* area = _categoryIndex->nearest(series, c);
        const auto tag = area ? area->tag().as<KivoChartDataPoint>() : nullptr;
        if (!tag) continue;
        // A copy, so that the area's own point stays as the plotter made it.
        auto point = std::make_shared<KivoChartDataPoint>(*tag);
        if (rotated && !bars) {
            point->setValue(tag->dataX());
            point->setDataX(tag->value());
        }
        found.push_back(std::move(point));
    }
    return found;
}
