// KivoLinePlotter: the frame's time and duration, the point-by-point reveal and symbol growth, the
// point lists of a series-list update, and the per-point moves of an item update (a point added,
// removed or replaced).
//
// Sections: timing · reveal · series-list updates · item updates · stacking look-ups.

#include <algorithm>
#include <cmath>

#include "KivoCore/KivoEasing.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoLinePlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"
#include "plotters/LinePlotterSupport.h"
#include "series/SeriesColumns.h"

using kivo::detail::MoveFrame;
using kivo::detail::numberAt;
using kivo::detail::xAt;

namespace {

// The eased share of `distance` covered at time t.
double easedDistance(const MoveFrame& f, double distance) {
    return KivoEasingUtil::ease(f.easing, f.time, 0, distance, f.duration);
}

// The value on the straight line through (a, va) and (b, vb) at position at; the mean when a equals b.
double onLine(double a, double va, double b, double vb, double at) {
    if (a == b) return (va + vb) / 2;
    return va + (vb - va) * (at - a) / (b - a);
}

// A point list of the category coordinates given and the moved value coordinates.
KivoLinePlotter::PointList withValues(std::span<const double> xs, std::span<const double> ys, std::vector<double> moved,
                                      bool rotated) {
    KivoLinePlotter::PointList out;
    if (rotated) {
        out.x = std::move(moved);
        out.y.assign(ys.begin(), ys.end());
    } else {
        out.x.assign(xs.begin(), xs.end());
        out.y = std::move(moved);
    }
    return out;
}

}  // namespace

// ---- Timing ----

void KivoLinePlotter::getAnimationInfo(const std::shared_ptr<KivoSeries>& series, double& time, double& duration,
                                       std::int32_t& count) const {
    const auto owner = chart();
    const auto end = [this] {
        return _dataInfo ? static_cast<std::int32_t>(static_cast<std::int64_t>(_dataInfo->getEnd())) : -1;
    };
    time = _time;
    duration = 0;
    count = end();
    if (!owner) return;
    if (kivo::detail::chartState(*owner).isUpdateTask1() || kivo::detail::chartState(*owner).isUpdateTask2()) {
        duration = kivo::detail::chartState(*owner).activeUpdateAnimation
                       ? kivo::detail::chartState(*owner).activeUpdateAnimation->duration()
                       : 0;
        return;
    }
    const auto& load = owner->loadAnimation();
    const double loadDuration = load ? load->duration() : 0;
    switch (load ? load->animationMode() : KivoLoadAnimationModeAll) {
        case KivoLoadAnimationModePoint:
            duration = _hasLines ? loadDuration : (series ? series->animationDuration() : 0);
            count = _dataInfoCount;
            break;
        case KivoLoadAnimationModeSeries:
            duration = series ? series->animationDuration() : 0;
            time = series ? std::min(series->animationTime(), series->animationDuration()) : 0;
            break;
        default:
            duration = loadDuration;
            break;
    }
}

double KivoLinePlotter::getScaleForPointMode(const KivoEasePtr& easing, double time, double duration, std::int32_t dataInfoIndex,
                                             bool lastDataInfo) const {
    if (_hasLines) return 1.0;
    double t = lastDataInfo ? time - dataInfoIndex * duration : std::min(time, duration);
    // A growth stays between nothing and the whole symbol.
    t = std::clamp(t, 0.0, std::max(duration, 0.0));
    return KivoEasingUtil::ease(easing, t, 0, 1, duration);
}

// ---- Reveal ----

std::optional<KivoLinePlotter::PointList> KivoLinePlotter::getPointsForPointMode(std::span<const double> xs,
                                                                                 std::span<const double> ys, double time,
                                                                                 double duration, const KivoEasePtr& type,
                                                                                 bool rotated) const {
    const std::size_t n = std::min(xs.size(), ys.size());
    if (n == 0) return std::nullopt;
    PointList out;
    if (time == 0) {
        out.x.assign(xs.begin(), xs.begin() + static_cast<std::ptrdiff_t>(n));
        out.y.assign(ys.begin(), ys.begin() + static_cast<std::ptrdiff_t>(n));
        return out;
    }
    // The front runs along the category axis from the first point to the last, whichever way it points.
    const auto along = rotated ? ys : xs;
    const auto across = rotated ? xs : ys;
    const double begin = along[0], change = along[n - 1] - along[0];
    const double front = KivoEasingUtil::ease(type, time, begin, change, duration);
    const double direction = change < 0 ? -1.0 : 1.0;
    std::vector<double> a{along[0]}, c{across[0]};
    for (std::size_t k = 1; k < n; ++k) {
        if (direction * (along[k] - front) <= 0) {
            a.push_back(along[k]);
            c.push_back(across[k]);
            continue;
        }
        a.push_back(front);
        c.push_back(onLine(along[k - 1], across[k - 1], along[k], across[k], front));
        break;
    }
    out.x = rotated ? std::move(c) : std::move(a);
    out.y = rotated ? std::move(a) : std::move(c);
    return out;
}

// ---- Series-list updates ----

std::optional<KivoLinePlotter::PointList> KivoLinePlotter::getUpdatedPointsDictionary(
    const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args, const std::shared_ptr<KivoAxis>& axisX,
    const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::span<const double> dx, std::span<const double> dy,
    std::span<const double> prevVals, double time, double duration, const KivoEasePtr& type, bool rotated) const {
    const auto owner = chart();
    if (!owner || !args) return std::nullopt;
    const std::int64_t action = args->action();
    const bool knownAction = action == KivoNotifyCollectionChangedActionAdd ||
                             action == KivoNotifyCollectionChangedActionRemove ||
                             action == KivoNotifyCollectionChangedActionReplace;
    if (!knownAction) return std::nullopt;
    if (!kivo::detail::chartState(*owner).seriesCollectionUpdated) {
        if (!kivo::detail::chartState(*owner).collectionViewUpdated) return std::nullopt;
        return PointList{{dx.begin(), dx.end()}, {dy.begin(), dy.end()}};
    }
    const auto updated = [&] {
        return rotated ? _getPointsListForSeriesUpdated(prevVals, dy, dx, time, duration, 1, type, true)
                       : _getPointsListForSeriesUpdated(dx, prevVals, dy, time, duration, 1, type, false);
    };
    if (action == KivoNotifyCollectionChangedActionAdd) {
        if (args->startingIndex() == index) return std::nullopt;
        return updated();
    }
    if (action == KivoNotifyCollectionChangedActionRemove && args->oldStartingIndex() == index) {
        const auto& valueAxis = rotated ? axisX : axisY;
        const double bottom = valueAxis ? valueAxis->convert(valueAxis->actualMin()) : 0.0;
        return rotated ? _getPointsListForSeriesRemoved(prevVals, dy, bottom, time, duration, 1, type, true)
                       : _getPointsListForSeriesRemoved(dx, prevVals, bottom, time, duration, 1, type, false);
    }
    return updated();
}

KivoLinePlotter::PointList KivoLinePlotter::_getPointsListForSeriesUpdated(std::span<const double> xs, std::span<const double> ys,
                                                                           std::span<const double> dest, double time,
                                                                           double duration, std::int64_t direction,
                                                                           const KivoEasePtr& type, bool rotated) const {
    if (direction == 0) return {};
    const auto moving = rotated ? xs : ys;
    std::vector<double> moved;
    moved.reserve(moving.size());
    for (std::size_t i = 0; i < moving.size(); ++i) {
        const double from = moving[i], to = i < dest.size() ? dest[i] : NAN;
        if (std::isnan(from) || std::isnan(to)) {
            moved.push_back(NAN);
            continue;
        }
        moved.push_back(moveToward(from, to, KivoEasingUtil::ease(type, time, 0, std::fabs(from - to), duration)));
    }
    return withValues(xs, ys, std::move(moved), rotated);
}

KivoLinePlotter::PointList KivoLinePlotter::_getPointsListForSeriesRemoved(std::span<const double> xs, std::span<const double> ys,
                                                                           double bottom, double time, double duration,
                                                                           std::int64_t direction, const KivoEasePtr& type,
                                                                           bool rotated) const {
    if (direction == 0) return {};
    const auto moving = rotated ? xs : ys;
    std::vector<double> moved;
    moved.reserve(moving.size());
    for (const double v : moving) {
        if (std::isnan(v)) {
            moved.push_back(NAN);
            continue;
        }
        // Away from the value axis' start: down the screen, or to the left when rotated.
        const double d = KivoEasingUtil::ease(type, time, 0, std::fabs(v - bottom), duration);
        moved.push_back(rotated ? v - d : v + d);
    }
    return withValues(xs, ys, std::move(moved), rotated);
}

double KivoLinePlotter::seriesListFactor(bool seriesCollectionUpdated, std::int64_t action, std::int64_t startingIndex,
                                         std::int64_t oldStartingIndex, std::int32_t index, double scale) {
    if (!seriesCollectionUpdated) return scale;
    switch (action) {
        case KivoNotifyCollectionChangedActionAdd:
            return startingIndex == index ? scale : 1.0;
        case KivoNotifyCollectionChangedActionRemove:
            return oldStartingIndex == index ? 1.0 - scale : 1.0;
        case KivoNotifyCollectionChangedActionReplace:
            return 1.0;
        default:
            return scale;
    }
}

double KivoLinePlotter::previousValue(const MoveFrame& f, std::int64_t i, double y) const {
    const auto& args = f.args;
    if (args && args->action() == KivoNotifyCollectionChangedActionReplace && args->oldStartingIndex() == f.index) {
        const auto& old = args->oldItems();
        const auto replaced = old && !old->empty() ? (*old)[0].as<KivoSeries>() : nullptr;
        return f.valOld(replaced ? numberAt(kivo::detail::SeriesInternals::values(*replaced, 0), i) : NAN);
    }
    return f.valOld(y);
}

// ---- Item updates ----

double KivoLinePlotter::_getDataYForCollectionViewReplaced(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args,
                                                           const std::shared_ptr<KivoAxis>& axis, std::int32_t index,
                                                           std::int32_t dataIndex, double value, double time, double duration,
                                                           const KivoEasePtr& type, bool rotated) const {
    if (!axis) return NAN;
    const double to = axis->convert(value);
    const auto owner = chart();
    if (!owner || !args || args->oldStartingIndex() != dataIndex) return to;
    const auto& prev = kivo::detail::chartState(*owner).prevYValsArray;
    const double old = index >= 0 && static_cast<std::size_t>(index) < prev.size()
                           ? numberAt(prev[static_cast<std::size_t>(index)], dataIndex)
                           : NAN;
    const double from =
        rotated
            ? axis->convert(old, kivo::detail::chartState(*owner).prevAxisXMax, kivo::detail::chartState(*owner).prevAxisXMin)
            : axis->convert(old, kivo::detail::chartState(*owner).prevAxisYMax, kivo::detail::chartState(*owner).prevAxisYMin);
    if (std::isnan(from) || from == to) return from;
    return moveToward(from, to, KivoEasingUtil::ease(type, time, 0, std::fabs(to - from), duration));
}

void KivoLinePlotter::updatedPosition(const MoveFrame& f, std::int64_t i, double x, double y, double& sx, double& sy) const {
    const auto& args = f.args;
    const double nc = f.catNew(x), nv = f.valNew(y);
    double c = nc, v = nv;
    const auto place = [&] {
        sx = f.rotated ? v : c;
        sy = f.rotated ? c : v;
    };
    const auto neighbourValue = [&](std::int64_t j, bool after) {
        double value = numberAt(f.ys, j);
        if (f.stacking != KivoPlotterStackingNone && f.stackPos && f.stackNeg)
            value = _getStackedValue(f.stacking == KivoPlotterStackingStacked100, xAt(f.xs, j), value, after, *f.stackPos,
                                     *f.stackNeg);
        return value;
    };
    switch (args ? args->action() : KivoNotifyCollectionChangedActionReset) {
        case KivoNotifyCollectionChangedActionReplace: {
            v = _getDataYForCollectionViewReplaced(args, f.rotated ? f.axisX : f.axisY, f.index, static_cast<std::int32_t>(i), y,
                                                   f.time, f.duration, f.easing, f.rotated);
            break;
        }
        case KivoNotifyCollectionChangedActionAdd: {
            const std::int64_t s = args->startingIndex();
            if (i != s) {
                // A point after the new one stood one place earlier before the change.
                const double before = s < i ? xAt(f.xs, i - 1) : x;
                const double oc = f.catOld(before), ov = f.valOld(y);
                c = moveToward(oc, nc, easedDistance(f, std::fabs(nc - oc)));
                v = moveToward(ov, nv, easedDistance(f, std::fabs(nv - ov)));
            } else if (s == f.end || s == f.origin) {
                // At an end the new point rises from its neighbour's height.
                const double neighbour = s == f.end ? neighbourValue(i - 1, false) : neighbourValue(i + 1, true);
                const double ov = f.valOld(neighbour);
                if (!std::isnan(ov)) v = moveToward(ov, nv, easedDistance(f, std::fabs(nv - ov)));
            } else {
                // Inside, it grows out of the segment that joined its neighbours.
                const double c0 = f.catOld(xAt(f.xs, i - 1)), c1 = f.catOld(xAt(f.xs, i + 1));
                const double v0 = f.valOld(neighbourValue(i - 1, false)), v1 = f.valOld(neighbourValue(i + 1, true));
                const double oc = f.catOld(x), ov = onLine(c0, v0, c1, v1, oc);
                if (!std::isnan(oc) && !std::isnan(ov)) {
                    c = moveToward(oc, nc, easedDistance(f, std::fabs(nc - oc)));
                    v = moveToward(ov, nv, easedDistance(f, std::fabs(nv - ov)));
                }
            }
            break;
        }
        case KivoNotifyCollectionChangedActionRemove: {
            const std::int64_t s = args->oldStartingIndex();
            if (i != s) {
                // A point after the removed one takes its predecessor's place.
                const double target = s < i ? xAt(f.xs, i - 1) : x;
                const double tc = f.catNew(target), oc = f.catOld(x), ov = f.valOld(y);
                c = moveToward(oc, tc, easedDistance(f, std::fabs(tc - oc)));
                v = moveToward(ov, nv, easedDistance(f, std::fabs(nv - ov)));
            } else {
                // The removed point stays in place and sinks onto its neighbours' line.
                c = f.catOld(x);
                const double ov = f.valOld(y);
                double target = NAN;
                if (s == f.end || s == f.origin) {
                    target = s == f.end ? f.valNew(neighbourValue(i - 1, false)) : f.valNew(neighbourValue(i + 1, true));
                } else {
                    const double c0 = f.catOld(xAt(f.xs, i - 1)), c1 = f.catOld(xAt(f.xs, i + 1));
                    target = onLine(c0, f.valOld(neighbourValue(i - 1, false)), c1, f.valOld(neighbourValue(i + 1, true)), c);
                }
                v = std::isnan(target) ? ov : moveToward(ov, target, easedDistance(f, std::fabs(target - ov)));
            }
            break;
        }
        default:
            break;
    }
    place();
}

// ---- Stacking look-ups ----

double KivoLinePlotter::_getStackedValue(bool stacked100, double x, double y, bool added, const StackDictionary& stackPos,
                                         const StackDictionary&) const {
    double v = y;
    if (stacked100 && _dataInfo) {
        const double sum = _dataInfo->getStackedAbsSum(x);
        v = sum != 0 ? y / sum : 0.0;
    }
    // The drawing sums every value, negatives included, into stackPos: the look-up reads what it wrote.
    const double* entry = stackPos.find(x);
    if (!entry) return v;
    return added ? *entry + v : *entry;
}
