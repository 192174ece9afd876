#include "plotters/ColumnReduction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

namespace {

// Two doubles at a time (the compiler's vector extension: an SSE2 pair on x86-64), two pairs per step.
// Every lane computes what the scalar code computes, in the same IEEE steps.
using Lanes = double __attribute__((vector_size(2 * sizeof(double))));
using LaneMask = std::int64_t __attribute__((vector_size(2 * sizeof(double))));

Lanes load(const double* p) {
    Lanes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
Lanes splat(double v) { return Lanes{v, v}; }
// `a` where the mask is set, `b` elsewhere.
Lanes select(LaneMask m, Lanes a, Lanes b) { return (Lanes)(((LaneMask)a & m) | ((LaneMask)b & ~m)); }

// The lowest and highest values of some lanes, each with the index of the first point that holds it
// (-1 while a lane holds only what it started with).
struct LaneExtremes {
    Lanes lows, highs, lowAts, highAts;
    LaneExtremes(double low, double high) : lows(splat(low)), highs(splat(high)), lowAts(splat(-1)), highAts(splat(-1)) {}
    void take(Lanes v, Lanes index) {
        const auto lower = (LaneMask)(v < lows), higher = (LaneMask)(v > highs);
        lows = select(lower, v, lows);
        lowAts = select(lower, index, lowAts);
        highs = select(higher, v, highs);
        highAts = select(higher, index, highAts);
    }
};

// Follows a run in one column through `along/across[k…count)`: where it ends (the first point whose
// offset from `start` at `scale` lies outside [lo, hi), or count), and its lowest and highest value
// with the index of the first point that holds each, moved only by values strictly beyond `low`/`high`
// (index `none` when they stay). What add() keeps point by point: a new lowest is never a new highest.
struct RunScan {
    std::size_t end = 0;
    double low = 0, high = 0;
    std::size_t lowAt = 0, highAt = 0;
};

RunScan scanRun(const double* along, const double* across, std::size_t k, std::size_t count, double start, double scale,
                double lo, double hi, double low, double high, std::size_t none) {
    RunScan r{k, low, high, none, none};
    const Lanes starts = splat(start), scales = splat(scale), los = splat(lo), his = splat(hi);
    LaneExtremes first(low, high), second(low, high);
    Lanes index = Lanes{0, 1} + splat(static_cast<double>(k));
    std::size_t j = k;
    for (; j + 4 <= count; j += 4) {
        const Lanes a = (load(along + j) - starts) * scales, b = (load(along + j + 2) - starts) * scales;
        const LaneMask inside = (LaneMask)(a >= los) & (LaneMask)(a < his) & (LaneMask)(b >= los) & (LaneMask)(b < his);
        if ((inside[0] & inside[1]) == 0) break;
        first.take(load(across + j), index);
        second.take(load(across + j + 2), index + splat(2));
        index += splat(4);
    }
    // The lanes' extremes: the smallest (largest) value, the earliest of equal ones.
    for (const LaneExtremes* lanes : {&first, &second})
        for (int lane = 0; lane < 2; ++lane) {
            if (lanes->lowAts[lane] >= 0) {
                const auto at = static_cast<std::size_t>(lanes->lowAts[lane]);
                const double lowest = lanes->lows[lane];
                if (lowest < r.low || (lowest == r.low && r.lowAt != none && at < r.lowAt)) {
                    r.low = lowest;
                    r.lowAt = at;
                }
            }
            if (lanes->highAts[lane] >= 0) {
                const auto at = static_cast<std::size_t>(lanes->highAts[lane]);
                const double highest = lanes->highs[lane];
                if (highest > r.high || (highest == r.high && r.highAt != none && at < r.highAt)) {
                    r.high = highest;
                    r.highAt = at;
                }
            }
        }
    // The last few points one by one, as add() takes them.
    for (; j < count; ++j) {
        const double offset = (along[j] - start) * scale;
        if (!(offset >= lo && offset < hi)) break;
        const double v = across[j];
        if (v < r.low) {
            r.low = v;
            r.lowAt = j;
        } else if (v > r.high) {
            r.high = v;
            r.highAt = j;
        }
    }
    r.end = j;
    return r;
}

}  // namespace

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
            const RunScan r = scanRun(along, across, k, count, _start, _scale, lo, hi, _lowest.across, _highest.across, count);
            if (r.end > k) {
                if (r.lowAt < count) _lowest = {along[r.lowAt], across[r.lowAt], base + r.lowAt};
                if (r.highAt < count) _highest = {along[r.highAt], across[r.highAt], base + r.highAt};
                _last = {along[r.end - 1], across[r.end - 1], base + r.end - 1};
                k = r.end;
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
