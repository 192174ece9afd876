// The outline of an area series in one frame.

#include "plotters/AreaOutline.h"

#include <algorithm>
#include <cmath>

#include "OmbriChart/KivoDataInfo.h"
#include "plotters/ColumnReduction.h"

namespace kivo::detail {

namespace {

// Reduces (xs, ys) into (outX, outY) when far denser than the plot's pixel columns.
bool reduce(std::span<const double> xs, std::span<const double> ys, const KivoRect* plot, bool rotated,
            std::vector<double>& outX, std::vector<double>& outY) {
    if (!plot || xs.size() <= 2) return false;
    std::vector<double> along, across;
    const bool done = rotated
                          ? reduceToPixelColumns(ys, xs, plot->top(), plot->height(), deviceScaleAlong(true), along, across)
                          : reduceToPixelColumns(xs, ys, plot->left(), plot->width(), deviceScaleAlong(false), along, across);
    if (!done) return false;
    outX = rotated ? std::move(across) : std::move(along);
    outY = rotated ? std::move(along) : std::move(across);
    return true;
}

bool present(double x, double y) { return KivoDataInfo::isValid(x) && KivoDataInfo::isValid(y); }

}  // namespace

void AreaOutline::setTop(std::span<const double> xs, std::span<const double> ys, bool cut, bool allValid) {
    const std::size_t n = std::min(xs.size(), ys.size());
    xs = xs.first(n);
    ys = ys.first(n);
    _cut = cut;
    _topReduced = false;
    _entries.clear();
    _ownX.clear();
    _ownY.clear();
    std::size_t k = 0;
    if (!allValid)
        while (k < n && present(xs[k], ys[k])) ++k;
    _filtered = k < n && !allValid;
    if (!_filtered) {
        _topX = xs;
        _topY = ys;
        return;
    }
    // A point without a coordinate is left out of the top line and the outline.
    _ownX.reserve(n);
    _ownY.reserve(n);
    _entries.reserve(n);
    for (std::size_t j = 0; j < n; ++j) {
        if (!present(xs[j], ys[j])) continue;
        _ownX.push_back(xs[j]);
        _ownY.push_back(ys[j]);
        _entries.push_back(j);
    }
    if (_cut && !_entries.empty() && _entries.back() != n - 1) _cut = false;
    _topX = _ownX;
    _topY = _ownY;
}

std::optional<std::size_t> AreaOutline::entryOf(std::size_t k) const {
    if (k >= topSize()) return std::nullopt;
    if (_cut && k + 1 == topSize()) return std::nullopt;
    return _filtered ? _entries[k] : k;
}

void AreaOutline::reduceTop(const KivoRect* plot, bool rotated) {
    _topReduced = reduce(_topX, _topY, plot, rotated, _drawnX, _drawnY);
}

void AreaOutline::setBottom(std::vector<double> xs, std::vector<double> ys, const KivoRect* plot, bool rotated,
                            bool reducible) {
    const std::size_t n = std::min(xs.size(), ys.size());
    xs.resize(n);
    ys.resize(n);
    std::size_t kept = 0;
    for (std::size_t j = 0; j < n; ++j) {
        if (!present(xs[j], ys[j])) continue;
        xs[kept] = xs[j];
        ys[kept] = ys[j];
        ++kept;
    }
    xs.resize(kept);
    ys.resize(kept);
    _bottomReduced = false;
    std::vector<double> rx, ry;
    if (reducible && reduce(xs, ys, plot, rotated, rx, ry)) {
        _bottomReduced = true;
        _bottomX = std::move(rx);
        _bottomY = std::move(ry);
        return;
    }
    _bottomX = std::move(xs);
    _bottomY = std::move(ys);
}

void AreaOutline::polygon(std::vector<double>& xs, std::vector<double>& ys) const {
    const auto topX = drawnTopX(), topY = drawnTopY();
    xs.assign(topX.begin(), topX.end());
    ys.assign(topY.begin(), topY.end());
    xs.insert(xs.end(), _bottomX.begin(), _bottomX.end());
    ys.insert(ys.end(), _bottomY.begin(), _bottomY.end());
}

}  // namespace kivo::detail
