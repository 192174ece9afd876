// KivoLinePlotter: the frame's time and duration, the point-by-point reveal and symbol growth, the
// point lists of a series-list update, and the per-point moves of an item update (a point added,
// removed or replaced). The moves themselves are the line family's (LineFamilyMotion).
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
#include "plotters/LineFamilyMotion.h"
#include "plotters/LinePlotterSupport.h"
#include "series/SeriesColumns.h"

using kivo::detail::MoveFrame;

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
    return kivo::detail::getPointsForPointMode(xs, ys, {time, duration, type, rotated});
}

// ---- Series-list updates ----

std::optional<KivoLinePlotter::PointList> KivoLinePlotter::getUpdatedPointsDictionary(
    const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args, const std::shared_ptr<KivoAxis>& axisX,
    const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::span<const double> dx, std::span<const double> dy,
    std::span<const double> prevVals, double time, double duration, const KivoEasePtr& type, bool rotated) const {
    const auto owner = chart();
    return kivo::detail::getUpdatedPointsDictionary(owner.get(), {args, axisX, axisY, index, prevVals}, dx, dy,
                                                    {time, duration, type, rotated});
}

KivoLinePlotter::PointList KivoLinePlotter::_getPointsListForSeriesUpdated(std::span<const double> xs, std::span<const double> ys,
                                                                           std::span<const double> dest, double time,
                                                                           double duration, std::int64_t direction,
                                                                           const KivoEasePtr& type, bool rotated) const {
    return kivo::detail::movedPoints(xs, ys, dest, time, duration, direction, type, rotated);
}

KivoLinePlotter::PointList KivoLinePlotter::_getPointsListForSeriesRemoved(std::span<const double> xs, std::span<const double> ys,
                                                                           double bottom, double time, double duration,
                                                                           std::int64_t direction, const KivoEasePtr& type,
                                                                           bool rotated) const {
    return kivo::detail::sunkPoints(xs, ys, bottom, time, duration, direction, type, rotated);
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
    return kivo::detail::previousSeriesValue(f, i, y, kivo::detail::MissingOld::StaysMissing);
}

// ---- Item updates ----

double KivoLinePlotter::_getDataYForCollectionViewReplaced(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args,
                                                           const std::shared_ptr<KivoAxis>& axis, std::int32_t index,
                                                           std::int32_t dataIndex, double value, double time, double duration,
                                                           const KivoEasePtr& type, bool rotated) const {
    const auto owner = chart();
    return kivo::detail::replacedCoordinate(owner.get(), args, axis, index, dataIndex, value, time, duration, type, rotated,
                                            kivo::detail::MissingOld::StaysMissing);
}

void KivoLinePlotter::updatedPosition(const MoveFrame& f, std::int64_t i, double x, double y, double& sx, double& sy) const {
    const auto owner = chart();
    kivo::detail::itemUpdatePlace(f, _dataInfo.get(), owner.get(), i, x, y, sx, sy, kivo::detail::MissingOld::StaysMissing);
}

// ---- Stacking look-ups ----

double KivoLinePlotter::_getStackedValue(bool stacked100, double x, double y, bool added, const StackDictionary& stackPos,
                                         const StackDictionary&) const {
    return kivo::detail::stackedNeighbour(_dataInfo.get(), stacked100, x, y, added, stackPos);
}
