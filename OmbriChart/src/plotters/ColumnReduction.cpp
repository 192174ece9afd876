#include "plotters/ColumnReduction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "Platform/graphics/context.h"

namespace kivo::detail {

namespace {

// A column never keeps more than its first, last, lowest and highest point.
constexpr std::size_t PointsKeptPerColumn = 4;

}  // namespace

double deviceScaleAlong(bool rotated) {
    const plat::Context* context = plat::currentContext();
    if (!context) return 1.0;
    const auto& m = context->ctm();
    const double scale = rotated ? std::hypot(m.c, m.d) : std::hypot(m.a, m.b);
    return std::isfinite(scale) && scale > 0 ? scale : 1.0;
}

bool PixelColumnReducer::begin(std::size_t n, double start, double extent, double deviceScale, std::vector<double>& outAlong,
                               std::vector<double>& outAcross) {
    if (!std::isfinite(start) || !std::isfinite(extent) || !std::isfinite(deviceScale) || extent < 0 || deviceScale <= 0)
        return false;
    const double columnsInPlot = std::max(1.0, std::ceil(extent * deviceScale));
    if (static_cast<double>(n) <= 2 * columnsInPlot) return false;
    // Below n / 2, so it fits. Far before the plot is column `before`, far after it `after`.
    const auto columns = static_cast<std::int64_t>(columnsInPlot);
    // No wider than there are points, whatever the scale: more columns could not hold anything.
    _band = std::min(std::ceil(EdgeBand * deviceScale), static_cast<double>(n));
    const auto bandColumns = static_cast<std::int64_t>(_band);
    _before = -bandColumns - 1;
    _after = columns + bandColumns;
    _afterOffset = columnsInPlot + _band;
    _start = start;
    _scale = deviceScale;
    _count = 0;
    _inRun = _inGap = false;

    _outAlong = &outAlong;
    _outAcross = &outAcross;
    outAlong.clear();
    outAcross.clear();
    const std::size_t expected =
        std::min(n, PointsKeptPerColumn * static_cast<std::size_t>(_after - _before + 1) + PointsKeptPerColumn);
    outAlong.reserve(expected);
    outAcross.reserve(expected);
    return true;
}

void PixelColumnReducer::gap() {
    // A run of gaps breaks the line once.
    if (_inRun) emitRun();
    if (!_inGap) {
        constexpr double Gap = std::numeric_limits<double>::quiet_NaN();
        _outAlong->push_back(Gap);
        _outAcross->push_back(Gap);
    }
    _inRun = false;
    _inGap = true;
}

void PixelColumnReducer::emitRun() {
    std::array<const Point*, PointsKeptPerColumn> kept{&_first, &_lowest, &_highest, &_last};
    // first ≤ lowest, highest ≤ last: only the middle two can be out of order.
    if (kept[1]->index > kept[2]->index) std::swap(kept[1], kept[2]);
    const Point* previous = nullptr;
    for (const Point* point : kept) {
        if (previous && point->index == previous->index) continue;
        _outAlong->push_back(point->along);
        _outAcross->push_back(point->across);
        previous = point;
    }
}

void PixelColumnReducer::addFinite(const double* along, const double* across, std::size_t count) {
    constexpr double Infinity = std::numeric_limits<double>::infinity();
    const std::size_t base = _count;
    std::size_t k = 0;
    while (k < count) {
        if (_inRun) {
            // The offsets that add() puts in the run's column: [lo, hi).
            const double column = static_cast<double>(_runColumn);
            const double lo = _runColumn == _before ? -Infinity : _runColumn == _after ? _afterOffset : column;
            const double hi = _runColumn == _before ? -_band : _runColumn == _after ? Infinity : column + 1;
            double lowest = _lowest.across, highest = _highest.across;
            std::size_t lowAt = count, highAt = count, j = k;
            for (; j < count; ++j) {
                const double offset = (along[j] - _start) * _scale;
                if (!(offset >= lo && offset < hi)) break;
                const double v = across[j];
                if (v < lowest) {
                    lowest = v;
                    lowAt = j;
                } else if (v > highest) {
                    highest = v;
                    highAt = j;
                }
            }
            if (j > k) {
                if (lowAt < count) _lowest = {along[lowAt], across[lowAt], base + lowAt};
                if (highAt < count) _highest = {along[highAt], across[highAt], base + highAt};
                _last = {along[j - 1], across[j - 1], base + j - 1};
                k = j;
            }
        }
        if (k == count) break;
        // Another column (or none yet): as add() starts it.
        _count = base + k;
        add(along[k], across[k]);
        ++k;
    }
    _count = base + count;
}

void PixelColumnReducer::finish() {
    if (_inRun) emitRun();
    _inRun = false;
}

bool reduceToPixelColumns(std::span<const double> along, std::span<const double> across, double start, double extent,
                          double deviceScale, std::vector<double>& outAlong, std::vector<double>& outAcross) {
    const std::size_t n = std::min(along.size(), across.size());
    PixelColumnReducer reducer;
    if (!reducer.begin(n, start, extent, deviceScale, outAlong, outAcross)) return false;
    for (std::size_t i = 0; i < n; ++i) reducer.add(along[i], across[i]);
    reducer.finish();
    return true;
}

}  // namespace kivo::detail
