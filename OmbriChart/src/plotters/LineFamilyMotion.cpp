// The moves of line and area points while the chart animates.
//
// Sections: reveal · series-list updates · item updates · stacking look-ups.

#include "plotters/LineFamilyMotion.h"

#include <algorithm>
#include <cmath>

#include "KivoCore/KivoEasing.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"
#include "series/SeriesColumns.h"

namespace kivo::detail {

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
MotionPoints withValues(std::span<const double> xs, std::span<const double> ys, std::vector<double> moved, bool rotated) {
    MotionPoints out;
    if (rotated) {
        out.x = std::move(moved);
        out.y.assign(ys.begin(), ys.end());
    } else {
        out.x.assign(xs.begin(), xs.end());
        out.y = std::move(moved);
    }
    return out;
}

double moveToward(double start, double target, double distance) { return KivoLinePlotter::moveToward(start, target, distance); }

}  // namespace

std::int32_t seriesPosition(const OmbriChart& chart, const std::shared_ptr<KivoSeries>& series) {
    const auto& list = chart.series();
    const std::size_t found = list ? list->indexOfObject(plat::Value(series)) : 0;
    return list && found < list->count() ? static_cast<std::int32_t>(found) : -1;
}

std::shared_ptr<KivoRect> limitsToAxisOrigins(const KivoDataInfo* info, const OmbriChart* owner, bool rotated) {
    double minX = info ? info->getMinX() : NAN, maxX = info ? info->getMaxX() : NAN;
    double minY = info ? info->getMinY() : NAN, maxY = info ? info->getMaxY() : NAN;
    if (owner) {
        if (owner->axisX() && !std::isnan(owner->axisX()->origin())) minX = std::fmin(minX, owner->axisX()->origin());
        if (owner->axisY() && !std::isnan(owner->axisY()->origin())) minY = std::fmin(minY, owner->axisY()->origin());
    }
    if (rotated) return KivoRect::create(minY, minX, maxY - minY, maxX - minX);
    return KivoRect::create(minX, minY, maxX - minX, maxY - minY);
}

MoveFrame moveFrame(const OmbriChart& owner, const KivoDataInfo* info, const std::shared_ptr<KivoAxis>& axisX,
                    const std::shared_ptr<KivoAxis>& axisY, bool rotated, double time, double duration, const KivoEasePtr& easing,
                    const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args, std::int32_t index, std::int64_t end,
                    const ColumnPtr& xs, const ColumnPtr& ys, std::int64_t stacking, const KivoNumberDictionary& stackPos,
                    const KivoNumberDictionary& stackNeg) {
    const auto& state = chartState(owner);
    MoveFrame frame;
    frame.axisX = axisX;
    frame.axisY = axisY;
    frame.rotated = rotated;
    frame.time = time;
    frame.duration = duration;
    frame.easing = easing;
    frame.args = args;
    frame.index = index;
    frame.origin = info ? static_cast<std::int64_t>(info->getOrigin()) : 0;
    frame.end = end;
    frame.xs = xs;
    frame.ys = ys;
    frame.stacking = stacking;
    frame.stackPos = &stackPos;
    frame.stackNeg = &stackNeg;
    frame.prevXMin = state.prevAxisXMin;
    frame.prevXMax = state.prevAxisXMax;
    frame.prevYMin = state.prevAxisYMin;
    frame.prevYMax = state.prevAxisYMax;
    return frame;
}

// ---- Reveal ----

std::optional<MotionPoints> getPointsForPointMode(std::span<const double> xs, std::span<const double> ys,
                                                  const MotionTiming& timing) {
    const double time = timing.time, duration = timing.duration;
    const KivoEasePtr& type = timing.easing;
    const bool rotated = timing.rotated;
    const std::size_t n = std::min(xs.size(), ys.size());
    if (n == 0) return std::nullopt;
    MotionPoints out;
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

std::optional<MotionPoints> getUpdatedPointsDictionary(const OmbriChart* owner, const SeriesUpdate& update,
                                                       std::span<const double> dx, std::span<const double> dy,
                                                       const MotionTiming& timing) {
    const auto& [args, axisX, axisY, index, prevVals] = update;
    const double time = timing.time, duration = timing.duration;
    const KivoEasePtr& type = timing.easing;
    const bool rotated = timing.rotated;
    if (!owner || !args) return std::nullopt;
    const std::int64_t action = args->action();
    const bool knownAction = action == KivoNotifyCollectionChangedActionAdd ||
                             action == KivoNotifyCollectionChangedActionRemove ||
                             action == KivoNotifyCollectionChangedActionReplace;
    if (!knownAction) return std::nullopt;
    if (!chartState(*owner).seriesCollectionUpdated) {
        if (!chartState(*owner).collectionViewUpdated) return std::nullopt;
        return MotionPoints{{dx.begin(), dx.end()}, {dy.begin(), dy.end()}};
    }
    // A structured binding is captured through a named reference: clang refuses to capture the binding itself.
    const auto& previous = prevVals;
    const auto updated = [&] {
        return rotated ? movedPoints(previous, dy, dx, time, duration, 1, type, true)
                       : movedPoints(dx, previous, dy, time, duration, 1, type, false);
    };
    if (action == KivoNotifyCollectionChangedActionAdd) {
        if (args->startingIndex() == index) return std::nullopt;
        return updated();
    }
    if (action == KivoNotifyCollectionChangedActionRemove && args->oldStartingIndex() == index) {
        const auto& valueAxis = rotated ? axisX : axisY;
        const double bottom = valueAxis ? valueAxis->convert(valueAxis->actualMin()) : 0.0;
        return rotated ? sunkPoints(prevVals, dy, bottom, time, duration, 1, type, true)
                       : sunkPoints(dx, prevVals, bottom, time, duration, 1, type, false);
    }
    return updated();
}

MotionPoints movedPoints(std::span<const double> xs, std::span<const double> ys, std::span<const double> dest, double time,
                         double duration, std::int64_t direction, const KivoEasePtr& type, bool rotated) {
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

MotionPoints sunkPoints(std::span<const double> xs, std::span<const double> ys, double bottom, double time, double duration,
                        std::int64_t direction, const KivoEasePtr& type, bool rotated) {
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

double previousSeriesValue(const MoveFrame& f, std::int64_t i, double y, MissingOld missing) {
    const auto& args = f.args;
    if (args && args->action() == KivoNotifyCollectionChangedActionReplace && args->oldStartingIndex() == f.index) {
        const auto& old = args->oldItems();
        const auto replaced = old && !old->empty() ? (*old)[0].as<KivoSeries>() : nullptr;
        const double before = f.valOld(replaced ? numberAt(SeriesInternals::values(*replaced, 0), i) : NAN);
        if (std::isnan(before) && missing == MissingOld::StartsAtNew) return f.valNew(y);
        return before;
    }
    return f.valOld(y);
}

// ---- Item updates ----

double replacedCoordinate(const OmbriChart* owner, const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args,
                          const std::shared_ptr<KivoAxis>& axis, std::int32_t savedAt, std::int32_t dataIndex, double value,
                          double time, double duration, const KivoEasePtr& type, bool rotated, MissingOld missing) {
    if (!axis) return NAN;
    const double to = axis->convert(value);
    if (!owner || !args || args->oldStartingIndex() != dataIndex) return to;
    const auto& state = chartState(*owner);
    const auto& prev = state.prevYValsArray;
    const double old = savedAt >= 0 && static_cast<std::size_t>(savedAt) < prev.size()
                           ? numberAt(prev[static_cast<std::size_t>(savedAt)], dataIndex)
                           : NAN;
    const double from = rotated ? axis->convert(old, state.prevAxisXMax, state.prevAxisXMin)
                                : axis->convert(old, state.prevAxisYMax, state.prevAxisYMin);
    if (std::isnan(from) && missing == MissingOld::StartsAtNew) return to;
    if (std::isnan(from) || from == to) return from;
    return moveToward(from, to, KivoEasingUtil::ease(type, time, 0, std::fabs(to - from), duration));
}

void itemUpdatePlace(const MoveFrame& f, const KivoDataInfo* info, const OmbriChart* owner, std::int64_t i, double x, double y,
                     double& sx, double& sy, MissingOld missing) {
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
            value = stackedNeighbour(info, f.stacking == KivoPlotterStackingStacked100, xAt(f.xs, j), value, after, *f.stackPos);
        return value;
    };
    switch (args ? args->action() : KivoNotifyCollectionChangedActionReset) {
        case KivoNotifyCollectionChangedActionReplace: {
            v = replacedCoordinate(owner, args, f.rotated ? f.axisX : f.axisY, f.savedAt >= 0 ? f.savedAt : f.index,
                                   static_cast<std::int32_t>(i), y, f.time, f.duration, f.easing, f.rotated, missing);
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

double stackedNeighbour(const KivoDataInfo* info, bool stacked100, double x, double y, bool added,
                        const KivoNumberDictionary& stackPos) {
    double v = y;
    if (stacked100 && info) {
        const double sum = info->getStackedAbsSum(x);
        v = sum != 0 ? y / sum : 0.0;
    }
    // The drawing sums every value, negatives included, into stackPos: the look-up reads what it wrote.
    const double* entry = stackPos.find(x);
    if (!entry) return v;
    return added ? *entry + v : *entry;
}

}  // namespace kivo::detail
