// KivoAreaPlotter: the frame's timing, and the moves of its points, which are the line family's
// (LineFamilyMotion) with the area's rule for a missing old value: the point starts at its new place.
//
// Sections: timing · moves · stacking look-up.

#include <algorithm>

#include "OmbriChart/KivoAreaPlotter.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"
#include "plotters/LineFamilyMotion.h"

// ---- Timing ----

void KivoAreaPlotter::_getAnimationInfo(const std::shared_ptr<KivoSeries>& series, double& time, double& duration,
                                        std::int32_t& count) const {
    // The last visible index, kept in the count's 32 bits.
    count = _dataInfo ? static_cast<std::int32_t>(static_cast<std::int64_t>(_dataInfo->getEnd())) : -1;
    time = _time;
    duration = 0;
    const auto owner = chart();
    if (!owner) return;
    const auto& state = kivo::detail::chartState(*owner);
    if (state.isUpdateTask1() || state.isUpdateTask2()) {
        duration = state.activeUpdateAnimation ? state.activeUpdateAnimation->duration() : 0;
        return;
    }
    const auto& load = owner->loadAnimation();
    switch (load ? load->animationMode() : KivoLoadAnimationModeAll) {
        case KivoLoadAnimationModePoint:
            duration = load->duration();
            count = _dataInfoCount;
            break;
        case KivoLoadAnimationModeSeries:
            duration = series ? series->animationDuration() : 0;
            time = series ? std::min(series->animationTime(), series->animationDuration()) : 0;
            break;
        default:
            duration = load ? load->duration() : 0;
            break;
    }
}

// ---- Moves ----

KivoAreaPlotter::PointList KivoAreaPlotter::_getPointsListForSeriesUpdated(std::span<const double> xs, std::span<const double> ys,
                                                                           std::span<const double> dest, double time,
                                                                           double duration, std::int64_t direction,
                                                                           const KivoEasePtr& type, bool rotated) const {
    return kivo::detail::movedPoints(xs, ys, dest, time, duration, direction, type, rotated);
}

KivoAreaPlotter::PointList KivoAreaPlotter::_getPointsListForSeriesRemoved(std::span<const double> xs, std::span<const double> ys,
                                                                           double bottom, double time, double duration,
                                                                           std::int64_t direction, const KivoEasePtr& type,
                                                                           bool rotated) const {
    return kivo::detail::sunkPoints(xs, ys, bottom, time, duration, direction, type, rotated);
}

double KivoAreaPlotter::_getDataYForCollectionViewReplaced(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args,
                                                           const std::shared_ptr<KivoAxis>& axis, std::int32_t savedAt,
                                                           std::int32_t dataIndex, double value, double time, double duration,
                                                           const KivoEasePtr& type, bool rotated) const {
    const auto owner = chart();
    return kivo::detail::replacedCoordinate(owner.get(), args, axis, savedAt, dataIndex, value, time, duration, type, rotated,
                                            kivo::detail::MissingOld::StartsAtNew);
}

// ---- Stacking look-up ----

double KivoAreaPlotter::_getStackedValue(bool stacked100, double x, double y, bool added, const StackDictionary& stackPos,
                                         const StackDictionary&) const {
    return kivo::detail::stackedNeighbour(_dataInfo.get(), stacked100, x, y, added, stackPos);
}
