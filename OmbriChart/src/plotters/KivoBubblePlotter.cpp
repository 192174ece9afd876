// KivoBubblePlotter: construction, the size range, the bubble size, stacking and the growth rules of
// the update animations. The drawing pass is in KivoBubblePlotterDraw.cpp, the update geometry in
// KivoBubblePlotterUpdate.cpp.

#include "OmbriChart/KivoBubblePlotter.h"
#include "chart/ChartState.h"
#include "plotters/BubbleUpdatePhase.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "KivoCore/KivoReflector.h"
#include "KivoCore/KivoRenderState.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "OmbriChart/OmbriChartOptions.h"
#include "plotters/LinePlotterSupport.h"
#include "series/SeriesColumns.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Adds `y` (its share of `absSum` when `asShare`) to the running sum at `x` and answers the new sum. A
// value that is not finite is answered as it is and stored nowhere: it would poison the sums of every
// later series at this X.
double stackOnto(KivoNumberDictionary& sums, double x, double y, bool asShare, double absSum) {
    const double share = kivo::detail::stackShare(y, asShare, absSum);
    if (!KivoDataInfo::isValid(share) || !KivoDataInfo::isValid(x)) return share;
    const double stackedValue = share + sums.valueOr(x, 0.0);
    sums.add(x, share);
    return stackedValue;
}

// The growth during a change of the chart's series: the added series grows by `g`, the removed one
// shrinks by it, the others (and every series of a replace) keep their size.
double seriesChangeFactor(std::int64_t action, bool isNew, bool isOld, double g) {
    switch (action) {
        case KivoNotifyCollectionChangedActionAdd:
            return isNew ? g : 1.0;
        case KivoNotifyCollectionChangedActionRemove:
            return isOld ? 1.0 - g : 1.0;
        case KivoNotifyCollectionChangedActionReplace:
            return 1.0;
        default:
            return g;
    }
}

// The growth during a change of the chart's items: an added point grows in task 2, a removed one
// shrinks in task 1, the others keep their size; outside both tasks everything grows by `g`.
double itemChangeFactor(const kivo::detail::BubbleUpdatePhase& phase, std::int64_t dataIndex, double g) {
    const bool outside = !phase.task1 && !phase.task2;
    switch (phase.action) {
        case KivoNotifyCollectionChangedActionAdd:
            if (outside) return g;
            return phase.task2 && dataIndex == phase.startingIndex ? g : 1.0;
        case KivoNotifyCollectionChangedActionRemove:
            if (outside) return g;
            return phase.task1 && dataIndex == phase.oldStartingIndex ? 1.0 - g : 1.0;
        case KivoNotifyCollectionChangedActionReplace:
            return 1.0;
        default:
            return g;
    }
}

}  // namespace

// ---- Construction ----

KivoBubblePlotter::KivoBubblePlotter(const std::shared_ptr<OmbriChart>& chart, std::shared_ptr<KivoDataInfo> dataInfo,
                                     std::shared_ptr<KivoHitTester> hitTester)
    : KivoLinePlotter(chart, std::move(dataInfo), std::move(hitTester)) {
    setHasLines(false);
    setHasSymbols(true);
}

// ---- The pass ----

std::shared_ptr<KivoRect> KivoBubblePlotter::adjustLimits(const std::shared_ptr<KivoDataInfo>& dataInfo,
                                                          std::optional<double> logBase) {
    const auto owner = chart();
    const auto options = owner ? owner->options() : nullptr;
    _minSize = options ? options->bubbleMinSize() : OmbriChartOptions::DefaultBubbleMinSize;
    _maxSize = options ? options->bubbleMaxSize() : OmbriChartOptions::DefaultBubbleMaxSize;
    _minValue = NaN;
    _maxValue = NaN;
    if (owner && owner->series()) {
        // Every series, drawn or not, whatever its chart type: one scale for every bubble of the chart.
        for (const auto& entry : *owner->series()) {
            const auto series = entry.as<KivoSeries>();
            const auto sizes = series ? kivo::detail::SeriesInternals::bindingValues(*series, 1) : nullptr;
            if (!sizes) continue;
            for (const double v : sizes->values) {
                if (!KivoDataInfo::isValid(v)) continue;
                _minValue = std::isnan(_minValue) ? v : std::min(_minValue, v);
                _maxValue = std::isnan(_maxValue) ? v : std::max(_maxValue, v);
            }
        }
    }
    return KivoLinePlotter::adjustLimits(dataInfo, logBase);
}

// ---- Size range and bubble size ----

double KivoBubblePlotter::bubbleDiameter(double value, double growth, double minValue, double maxValue, double minSize,
                                         double maxSize) {
    if (!KivoDataInfo::isValid(value) || !KivoDataInfo::isValid(growth) || !KivoDataInfo::isValid(minValue) ||
        !KivoDataInfo::isValid(maxValue))
        return NaN;
    double share = 1.0;
    if (minValue != maxValue) {
        // The size comes from the value itself; a value outside the range (an item already removed from
        // the chart) takes the nearer end of it.
        share = std::clamp((value - minValue) / (maxValue - minValue), 0.0, 1.0);
    }
    const double size = minSize + (maxSize - minSize) * std::sqrt(share);
    // The growth scales the drawn diameter; an easing that overshoots never draws past the largest size.
    return std::min(size * growth, std::max(minSize, maxSize));
}

std::optional<double> KivoBubblePlotter::sizeValue(const std::shared_ptr<KivoSeries>& series, std::int64_t pointIndex) const {
    if (!series || pointIndex < 0) return std::nullopt;
    const auto member = series->getBinding(1);
    if (!member || member->empty()) return std::nullopt;
    const plat::Value item = bubbleItem(series, pointIndex);
    if (item.isNil()) return std::nullopt;
    const plat::Value value = KivoReflector::getValue(item, *member);
    if (!value.isNumber()) return std::nullopt;
    return value.asDouble();
}

double KivoBubblePlotter::_getBubbleSizeData(const std::shared_ptr<KivoSeries>& series, std::int64_t pointIndex) const {
    return sizeValue(series, pointIndex).value_or(0.0);
}

double KivoBubblePlotter::labelExtent(const std::shared_ptr<KivoSeries>& series, std::int64_t pointIndex) const {
    if (_chartType != OmbriChartTypeBubble) return _symbolSize;
    const auto value = sizeValue(series, pointIndex);
    const double diameter = value ? bubbleDiameter(*value, 1.0, _minValue, _maxValue, _minSize, _maxSize) : NaN;
    return diameter > 0 ? diameter : _symbolSize;
}

// ---- Stacking ----

double KivoBubblePlotter::_getStackedDatay(double x, double y, bool stacked100, StackDictionary& stackPos,
                                           StackDictionary&) const {
    const double sum = stacked100 && _dataInfo ? _dataInfo->getStackedAbsSum(x) : 0.0;
    return stackOnto(stackPos, x, y, stacked100, sum);
}

double KivoBubblePlotter::prevStacked(double x, double y, bool stacked100) {
    double sum = 0.0;
    if (stacked100) {
        // The sums before a removal were kept by the chart; an addition or a replacement keeps the X values
        // whose sums the current analysis has.
        const auto owner = chart();
        const auto& kept = owner ? kivo::detail::chartState(*owner).stackAbs : nullptr;
        const bool removal =
            owner && kivo::detail::chartState(*owner).updateEventArgs &&
            kivo::detail::chartState(*owner).updateEventArgs->action() == KivoNotifyCollectionChangedActionRemove;
        sum = removal && kept ? kept->valueOr(x, 0.0) : (_dataInfo ? _dataInfo->getStackedAbsSum(x) : 0.0);
    }
    return stackOnto(_prevStackPos, x, y, stacked100, sum);
}

// ---- Growth rules ----

KivoBubblePlotter::UpdatePhase KivoBubblePlotter::currentPhase() const {
    UpdatePhase phase;
    const auto owner = chart();
    if (!owner) return phase;
    phase.seriesChange = kivo::detail::chartState(*owner).seriesCollectionUpdated;
    phase.itemChange = kivo::detail::chartState(*owner).collectionViewUpdated;
    phase.task1 = kivo::detail::chartState(*owner).isUpdateTask1();
    phase.task2 = kivo::detail::chartState(*owner).isUpdateTask2();
    if (const auto& args = kivo::detail::chartState(*owner).updateEventArgs) {
        phase.action = args->action();
        phase.startingIndex = args->startingIndex();
        phase.oldStartingIndex = args->oldStartingIndex();
    }
    return phase;
}

std::optional<double> KivoBubblePlotter::symbolFactor(const UpdatePhase& phase, std::int64_t index, std::int64_t dataIndex,
                                                      double s, double ordinary) {
    if (phase.seriesChange)
        return seriesChangeFactor(phase.action, phase.startingIndex == index, phase.oldStartingIndex == index, s);
    if (!phase.itemChange) return ordinary;
    // The new point appears once its neighbours have made room.
    if (phase.action == KivoNotifyCollectionChangedActionAdd && phase.task1 && dataIndex == phase.startingIndex)
        return std::nullopt;
    return itemChangeFactor(phase, dataIndex, s);
}

double KivoBubblePlotter::bubbleFactor(const UpdatePhase& phase, bool isAdded, bool isRemoved, std::int64_t dataIndex,
                                       double g0) {
    if (phase.seriesChange) return seriesChangeFactor(phase.action, isAdded, isRemoved, g0);
    if (!phase.itemChange) return g0;
    return itemChangeFactor(phase, dataIndex, g0);
}

double KivoBubblePlotter::labelFactor(const UpdatePhase& phase, std::int64_t index, double g) {
    if (!phase.seriesChange) return g;
    return seriesChangeFactor(phase.action, phase.startingIndex == index, phase.oldStartingIndex == index, g);
}
