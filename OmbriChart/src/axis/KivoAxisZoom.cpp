// KivoAxis: zooming and scrolling. There is no separate zoom window: these operations store numeric
// min and max values, which take effect when the limits are next worked out.

#include <algorithm>
#include <cmath>

#include "OmbriChart/KivoAxis.h"

namespace {

// a / b, or 0 when b is 0 or the quotient is not finite: a window with no free span sits at 0.
double share(double a, double b) {
    const double q = a / b;
    return b == 0 || !std::isfinite(q) ? 0 : q;
}

plat::Value numberOrNil(double v) { return std::isnan(v) ? plat::Value() : plat::Value(v); }

double clampUnit(double v) { return std::clamp(v, 0.0, 1.0); }

}  // namespace

// ---- Setters: a change hides the tooltip, announces the range and redraws ----

void KivoAxis::setDisplayedRange(double range) {
    const auto alive = keepAlive();
    if (!calibrateDisplayedRange(range)) return;
    raiseRangeChanged();
    _invalidate();
}

void KivoAxis::setScale(double scale) {
    const auto alive = keepAlive();
    if (std::isnan(scale)) return;
    scale = clampUnit(scale);
    if (!hasDataLimits()) {
        _scale = scale;
        return;
    }
    if (!calibrateScale(scale)) return;
    raiseRangeChanged();
    _invalidate();
}

void KivoAxis::setScrollPosition(double position) {
    const auto alive = keepAlive();
    if (std::isnan(position)) return;
    if (!calibrateScrollPosition(clampUnit(position))) return;
    raiseRangeChanged();
    _invalidate();
}

void KivoAxis::showMore() {
    const auto alive = keepAlive();
    if (hasMore()) setScrollPosition(_scrollPosition + _scale * 0.5);
}

void KivoAxis::showLess() {
    const auto alive = keepAlive();
    if (hasLess()) setScrollPosition(_scrollPosition - _scale * 0.5);
}

// ---- Calibration ----

bool KivoAxis::calibrateDisplayedRange(double range) {
    if (std::isnan(range) || range == _displayedRange) return false;
    hideTooltip();
    _displayedRange = range;
    _displayedRangeFromApplication = true;
    _scrollPosition = 0;
    _min = numberOrNil(_actualDataMin);
    _max = numberOrNil(_actualDataMax);
    const double data = dataRange();
    _scale = data != 0 && std::isfinite(data) ? clampUnit(range / data) : 1.0;
    return true;
}

bool KivoAxis::calibrateScale(double scale) {
    if (std::isnan(scale) || scale == _scale) return false;
    hideTooltip();
    _scale = scale;
    if (scale == 1 || _min.isNil()) _min = numberOrNil(_actualDataMin);
    if (scale == 1 || _max.isNil()) _max = numberOrNil(_actualDataMax);
    // The new window is centred where the pinch is, within the old one.
    const double lo = std::fmax(_actualDataMin, objectToDouble(_min));
    const double hi = std::fmin(_actualDataMax, objectToDouble(_max));
    const double centre = lo + _gestureProportion * (hi - lo);
    _displayedRange = dataRange() * scale;
    _displayedRangeFromApplication = false;
    // Each side is kept inside the data on its own: the window may shrink.
    const double min = std::max(centre - _displayedRange / 2, _actualDataMin);
    const double max = std::min(centre + _displayedRange / 2, _actualDataMax);
    _min = numberOrNil(min);
    _max = numberOrNil(max);
    _scrollPosition = share(min - _actualDataMin, freeSpan());
    _scrollDataValue = _actualDataMin + _scrollPosition * freeSpan();
    return true;
}

bool KivoAxis::calibrateScrollPosition(double position) {
    if (std::isnan(position) || position == _scrollPosition) return false;
    hideTooltip();
    _scrollPosition = position;
    if (!hasDataLimits()) return true;
    if (_scrollDataValue != 0) refreshScrollDataValue(position);
    // Only a zoomed axis has a window to move (however narrow: scale 0 too); an unzoomed one keeps
    // showing all of its data.
    if (_scale < 1) {
        const double min = _actualDataMin + position * freeSpan();
        _min = numberOrNil(min);
        _max = numberOrNil(finite(min + _displayedRange));
    }
    return true;
}

// ---- Anchored scrolling ----

void KivoAxis::refreshScrollDataValue(double) {
    const double start = _actualDataMin + _scrollPosition * freeSpan();
    switch (_axisScrollPos) {
        case KivoAxisScrollPositionStart:
            _scrollDataValue = start;
            break;
        case KivoAxisScrollPositionCenter:
            _scrollDataValue = start + _displayedRange / 2;
            break;
        case KivoAxisScrollPositionEnd:
            _scrollDataValue = start + _displayedRange;
            break;
        default:
            break;
    }
}

void KivoAxis::scrollTo(double value, std::int64_t position) {
    const auto alive = keepAlive();
    if (std::isnan(value)) return;
    _scrollDataValue = value;
    _axisScrollPos = position;
    if (!hasDataLimits()) return;
    double width = objectToDouble(_max) - objectToDouble(_min);
    if (std::isnan(width)) width = dataRange();  // no window yet: it shows all the data
    const double free = dataRange() - width;
    const double v = std::fmax(_actualDataMin, std::fmin(value, _actualDataMax));
    double target = 0;
    switch (position) {
        case KivoAxisScrollPositionStart:
            target = share(v - _actualDataMin, free);
            break;
        case KivoAxisScrollPositionCenter:
            target = share(v - width / 2 - _actualDataMin, free);
            break;
        case KivoAxisScrollPositionEnd:
            target = share(v - width - _actualDataMin, free);
            break;
        default:
            break;
    }
    setScrollPosition(target);
}

void KivoAxis::applyScale(double scale, double, std::int64_t axisScrollPos) {
    if (!(scale > 0 && scale < 1) || !hasDataLimits()) return;
    _scrollDataValue = std::fmax(_actualDataMin, std::fmin(_scrollDataValue, _actualDataMax));
    const double v = _scrollDataValue, lo = _actualDataMin, hi = _actualDataMax;
    const double width = scale * dataRange();
    const double free = dataRange() - width;
    double position;
    switch (axisScrollPos) {
        case KivoAxisScrollPositionStart:
            position = share(v - lo, free);
            if (v < lo) position = 0;
            if (v + width > hi) position = 1;
            break;
        case KivoAxisScrollPositionEnd:
            position = share(v - width - lo, free);
            if (v - width < lo) position = 0;
            break;
        case KivoAxisScrollPositionCenter:
            position = share(v - width / 2 - lo, free);
            if (v + width / 2 > hi) position = 1;
            if (v - width / 2 < lo) position = 0;
            break;
        default:
            return;
    }
    _scrollPosition = position;
}

void KivoAxis::applyScale(double scale, double position) {
    _min = numberOrNil(_actualDataMin);
    _max = numberOrNil(_actualDataMax);
    if (!(scale > 0 && scale < 1) || !hasDataLimits()) return;
    const double shift = clampUnit(position) * (1 - scale) * dataRange();
    _min = plat::Value(finite(_actualDataMin + shift));
    _max = plat::Value(finite(_actualDataMin + scale * dataRange() + shift));
}
