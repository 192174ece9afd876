// KivoBarPlotter: the animation timing of a frame and of one point, and the rectangle of one bar: the
// dispatch to the update geometry while the chart replays a change, otherwise the ordinary rectangle
// (unstacked or stacked), grown by the eased share of its length.
//
// Sections: timing · dispatch · ordinary rectangles.

#include <algorithm>
#include <cmath>
#include <limits>

#include "KivoCore/KivoEasing.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoBarPlotter.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"
#include "plotters/BarRectMath.h"
#include "plotters/KivoBarUpdateGeometry.h"

// ---- Timing ----

void KivoBarPlotter::_getAnimationInfo(const std::shared_ptr<KivoSeries>& series, double& time, double& duration,
                                       std::int32_t& count) const {
    const auto owner = chart();
    const std::int32_t end = lastIndex();
    time = _time;
    duration = 0;
    count = end;
    if (!owner) return;
    if (kivo::detail::chartState(*owner).isUpdateTask1() || kivo::detail::chartState(*owner).isUpdateTask2()) {
        const auto& update = kivo::detail::chartState(*owner).activeUpdateAnimation;
        duration = update ? update->duration() : 0;
        return;
    }
    const auto& load = owner->loadAnimation();
    const std::int64_t mode = load ? load->animationMode() : KivoLoadAnimationModeAll;
    if (mode == KivoLoadAnimationModePoint && series) {
        duration = series->animationDuration();
        time = series->animationTime();
        count = _dataInfoCount;
    } else if (mode == KivoLoadAnimationModeSeries && series) {
        duration = series->animationDuration();
        time = std::min(series->animationTime(), series->animationDuration());
    } else {
        duration = load ? load->duration() : 0;
    }
}

double KivoBarPlotter::_getAnimationTimeForPointMode(const std::shared_ptr<KivoSeries>& series, std::int32_t dataInfoIndex,
                                                     bool) const {
    if (!series) return 0;
    const double duration = series->animationDuration();
    const std::uint64_t end = _dataInfo ? _dataInfo->getEnd() : 0;
    // A single point has no step to wait: it grows from the start, over the whole duration.
    if (end == 0) return std::min(series->animationTime(), duration);
    const double step = duration / static_cast<double>(end);
    const double t = series->animationTime() - dataInfoIndex * step;
    return t > duration ? duration : t;
}

std::int32_t KivoBarPlotter::lastIndex() const {
    // No items: no index (the window's end would wrap round as an unsigned number).
    if (!_dataInfo || _dataInfo->getPageSize() == 0) return -1;
    const std::uint64_t end = _dataInfo->getEnd();
    constexpr auto Max = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    return end > Max ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(end);
}

// ---- Dispatch ----

std::shared_ptr<KivoRect> KivoBarPlotter::_getBarRect(const std::shared_ptr<KivoAxis>& axisX,
                                                      const std::shared_ptr<KivoAxis>& axisY, std::int32_t index,
                                                      std::int32_t dataIndex, std::int32_t, const kivo::detail::ColumnPtr& xvals,
                                                      double datax, double datay, std::int32_t count, double cw, double w,
                                                      double originScreen, double time, double duration, bool rotated,
                                                      std::int32_t seriesPosition) {
    const auto owner = chart();
    const auto& update = owner ? kivo::detail::chartState(*owner).updateEventArgs : nullptr;
    const std::int64_t action = update ? update->action() : KivoNotifyCollectionChangedActionReset;
    if (update && action >= KivoNotifyCollectionChangedActionAdd && action <= KivoNotifyCollectionChangedActionReplace) {
        const bool seriesChange = kivo::detail::chartState(*owner).seriesCollectionUpdated;
        const bool itemChange = !seriesChange && kivo::detail::chartState(*owner).collectionViewUpdated;
        if (!seriesChange && !itemChange) return nullptr;
        switch (action) {
            case KivoNotifyCollectionChangedActionAdd:
                return seriesChange ? _getBarRectForSeriesAdded(axisX, axisY, index, count, cw, w, originScreen, datax, datay,
                                                                update, time, duration)
                                    : _getBarRectForCollectionViewAdded(axisX, axisY, index, count, cw, w, xvals, dataIndex,
                                                                        originScreen, datax, datay, update, time, duration);
            case KivoNotifyCollectionChangedActionRemove:
                return seriesChange ? _getBarRectForSeriesRemoved(axisX, axisY, index, count, cw, w, originScreen, datax, datay,
                                                                  update, time, duration)
                                    : _getBarRectForCollectionViewRemoved(axisX, axisY, index, count, cw, w, xvals, dataIndex,
                                                                          originScreen, datax, datay, update, time, duration,
                                                                          seriesPosition);
            default:
                return seriesChange ? _getBarRectForSeriesReplaced(axisX, axisY, index, count, cw, w, dataIndex, originScreen,
                                                                   datax, datay, update, time, duration, seriesPosition)
                                    : _getBarRectForCollectionViewReplaced(axisX, axisY, index, cw, w, dataIndex, originScreen,
                                                                           datax, datay, update, time, duration, seriesPosition);
        }
    }
    return ordinaryBarRect(axisX, axisY, index, datax, datay, cw, w, originScreen, time, duration, rotated);
}

std::shared_ptr<KivoRect> KivoBarPlotter::_getStackedBarRect(
    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t dataIndex,
    std::int32_t, const kivo::detail::ColumnPtr& xvals, double datax, double datay, std::int32_t count, double cw, double w,
    double originScreen, double time, double duration, bool rotated, std::int32_t seriesPosition, double& sum,
    StackDictionary& stackPos, StackDictionary& stackNeg) {
    const auto owner = chart();
    const auto& update = owner ? kivo::detail::chartState(*owner).updateEventArgs : nullptr;
    const std::int64_t action = update ? update->action() : KivoNotifyCollectionChangedActionReset;
    if (update && action >= KivoNotifyCollectionChangedActionAdd && action <= KivoNotifyCollectionChangedActionReplace) {
        // Stacked bars have no geometry of their own for a series change: they grow with the update.
        if (kivo::detail::chartState(*owner).seriesCollectionUpdated)
            return _getStackedBarNormalRect(axisX, axisY, datax, datay, cw, time, duration, rotated, sum, stackPos, stackNeg);
        if (!kivo::detail::chartState(*owner).collectionViewUpdated) return nullptr;
        switch (action) {
            case KivoNotifyCollectionChangedActionAdd:
                return _getStackedBarRectForCollectionViewAdded(axisX, axisY, index, count, cw, w, xvals, dataIndex, originScreen,
                                                                datax, datay, update, time, duration, sum, stackPos, stackNeg);
            case KivoNotifyCollectionChangedActionRemove:
                return _getStackedBarRectForCollectionViewRemoved(axisX, axisY, index, count, cw, w, xvals, dataIndex,
                                                                  originScreen, datax, datay, update, time, duration, sum,
                                                                  stackPos, stackNeg, seriesPosition);
            default:
                return _getStackedBarRectForCollectionViewReplaced(axisX, axisY, index, cw, w, dataIndex, originScreen, datax,
                                                                   datay, update, time, duration, sum, stackPos, stackNeg,
                                                                   seriesPosition);
        }
    }
    return _getStackedBarNormalRect(axisX, axisY, datax, datay, cw, time, duration, rotated, sum, stackPos, stackNeg);
}

// ---- Ordinary rectangles ----

double KivoBarPlotter::easedLength(double length, double time, double duration) const {
    if (_seriesEasing) return KivoEasingUtil::ease(*_seriesEasing, time, 0, length, duration);
    const auto owner = chart();
    return KivoEasingUtil::ease(owner ? owner->getEasing() : KivoEasing::EaseNone(), time, 0, length, duration);
}

std::shared_ptr<KivoRect> KivoBarPlotter::ordinaryBarRect(const std::shared_ptr<KivoAxis>& axisX,
                                                          const std::shared_ptr<KivoAxis>& axisY, std::int32_t index,
                                                          double datax, double datay, double cw, double w, double originScreen,
                                                          double time, double duration, bool rotated) const {
    if (!axisX || !axisY) return nullptr;
    const KivoRect bar = ordinaryBar({*axisX, *axisY}, index, datax, datay, cw, w, originScreen, time, duration, rotated);
    return KivoRect::create(bar.left(), bar.top(), bar.width(), bar.height());
}

KivoRect KivoBarPlotter::ordinaryBar(const kivo::detail::BarAxisPlaces& places, std::int32_t index, double datax, double datay,
                                     double cw, double w, double originScreen, double time, double duration, bool rotated) const {
    const double s = datax - cw / 2;
    if (!rotated) {
        // Columns: the slot's ends in screen order, so a reversed axis keeps the slot's width.
        const bool reversed = places.reversedX;
        const double a = places.x(s + (reversed ? index + 1 : index) * w);
        const double b = places.x(s + (reversed ? index : index + 1) * w);
        const double v = places.y(datay);
        const double length = std::fabs(originScreen - v);
        const double grown = easedLength(length, time, duration);
        // The bottom edge stays where the finished column's is; the top rises.
        return kivo::detail::normalisedBar(a, std::min(v, originScreen) + length - grown, b - a, grown);
    }
    // Bars: the left edge stays, the right one grows.
    const double a = places.y(s + index * w);
    const double b = places.y(s + (index + 1) * w);
    const double v = places.x(datay);
    const double length = std::fabs(originScreen - v);
    return kivo::detail::normalisedBar(std::min(v, originScreen), std::min(a, b), easedLength(length, time, duration),
                                       std::fabs(b - a));
}

std::shared_ptr<KivoRect> KivoBarPlotter::_getStackedBarNormalRect(const std::shared_ptr<KivoAxis>& axisX,
                                                                   const std::shared_ptr<KivoAxis>& axisY, double datax,
                                                                   double datay, double cw, double time, double duration,
                                                                   bool rotated, double& sum, StackDictionary& stackPos,
                                                                   StackDictionary& stackNeg) {
    if (!axisX || !axisY) return nullptr;
    const KivoRect bar = stackedBar({*axisX, *axisY}, datax, datay, cw, time, duration, rotated, sum, stackPos, stackNeg);
    return KivoRect::create(bar.left(), bar.top(), bar.width(), bar.height());
}

KivoRect KivoBarPlotter::stackedBar(const kivo::detail::BarAxisPlaces& places, double datax, double datay, double cw, double time,
                                    double duration, bool rotated, double& sum, StackDictionary& stackPos,
                                    StackDictionary& stackNeg) {
    const auto& categoryAxis = rotated ? places.y : places.x;
    const auto& valueAxis = rotated ? places.x : places.y;
    const double a = categoryAxis(datax - cw / 2);
    const double b = categoryAxis(datax + cw / 2);

    // Only a stack in percent takes its share of the sum (a look-up per point).
    const bool percent = _stacking == KivoPlotterStackingStacked100 && _dataInfo;
    const auto segment = kivo::detail::takeSegment(_stackPlan.get(), datax, datay, _stacking,
                                                   percent ? _dataInfo->getStackedAbsSum(datax) : 0, stackPos, stackNeg);
    sum = segment.base;
    const double va = valueAxis(segment.base);
    const double vb = valueAxis(segment.base + segment.share);
    const double length = std::fabs(vb - va);
    const double grown = easedLength(length, time, duration);
    if (!rotated) return kivo::detail::normalisedBar(a, std::min(va, vb) + length - grown, b - a, grown);
    return kivo::detail::normalisedBar(std::min(va, vb), std::min(a, b), grown, std::fabs(b - a));
}
