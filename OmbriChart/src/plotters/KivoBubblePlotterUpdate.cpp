// KivoBubblePlotter: where a point stands in a frame of an animated change of the chart's items. A
// previous position is converted against the axes' ranges before the change, a new one against the
// current ranges; each frame moves the point from the one towards the other by the eased distance.

#include <cmath>
#include <limits>

#include "KivoCore/KivoEasing.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoBubblePlotter.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"
#include "plotters/LinePlotterSupport.h"

using kivo::detail::numberAt;

namespace {

// The X at `index`: the series' X value there when it has X values, else the index itself.
double xAt(const kivo::detail::ColumnPtr& values, bool hasXs, std::int64_t index) {
    return hasXs ? kivo::detail::xAt(values, index) : static_cast<double>(index);
}

// The series' values before the change, saved by the chart per series position.
kivo::detail::ColumnPtr previousValues(const std::vector<kivo::detail::ColumnPtr>& saved, std::int32_t seriesIndex) {
    if (seriesIndex < 0 || static_cast<std::size_t>(seriesIndex) >= saved.size()) return nullptr;
    return saved[static_cast<std::size_t>(seriesIndex)];
}

}  // namespace

double KivoBubblePlotter::easeTowards(const KivoEasePtr& easing, double t, double d, double from, double to) {
    return moveToward(from, to, KivoEasingUtil::ease(easing, t, 0.0, std::fabs(to - from), d));
}

void KivoBubblePlotter::_getDataForCollectionViewAdded(double& x, double& y, const std::shared_ptr<KivoAxis>& axisX,
                                                       const std::shared_ptr<KivoAxis>& axisY, const kivo::detail::ColumnPtr& xs,
                                                       const kivo::detail::ColumnPtr& ys, std::int32_t dataIndex, bool hasXs,
                                                       bool stacked, bool stacked100,
                                                       const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args,
                                                       double animationTime, double animationDuration, StackDictionary&,
                                                       StackDictionary&) {
    if (!axisX || !axisY) return;
    const double sx = axisX->convert(x), sy = axisY->convert(y);
    const auto owner = chart();
    if (!owner || !args || !kivo::detail::chartState(*owner).isUpdateTask1()) {
        x = sx;
        y = sy;
        return;
    }
    const std::int64_t start = args->startingIndex();
    double prevX = x, prevY = y;
    // A point after the inserted one had the index before it.
    if (start < dataIndex) prevX = xAt(xs, hasXs, dataIndex - 1);
    // The inserted point had no place in the sums before the change.
    if (stacked && start != dataIndex) prevY = prevStacked(prevX, numberAt(ys, dataIndex), stacked100);
    const double px =
        axisX->convert(prevX, kivo::detail::chartState(*owner).prevAxisXMax, kivo::detail::chartState(*owner).prevAxisXMin);
    const double py =
        axisY->convert(prevY, kivo::detail::chartState(*owner).prevAxisYMax, kivo::detail::chartState(*owner).prevAxisYMin);
    const auto easing = owner->getEasing();
    x = start == dataIndex ? sx : easeTowards(easing, animationTime, animationDuration, px, sx);
    y = easeTowards(easing, animationTime, animationDuration, py, sy);
}

void KivoBubblePlotter::_getDataForCollectionViewRemoved(double& x, double& y, const std::shared_ptr<KivoAxis>& axisX,
                                                         const std::shared_ptr<KivoAxis>& axisY, std::int32_t seriesIndex,
                                                         std::int32_t dataIndex, bool hasXs, bool stacked, bool stacked100,
                                                         const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args,
                                                         double animationTime, double animationDuration, StackDictionary&,
                                                         StackDictionary&) {
    if (!axisX || !axisY) return;
    const auto owner = chart();
    if (owner && args && kivo::detail::chartState(*owner).isUpdateTask1()) {
        // Until the removal has played, points are placed against the old axis ranges, so nothing moves yet.
        x = axisX->convert(x, kivo::detail::chartState(*owner).prevAxisXMax, kivo::detail::chartState(*owner).prevAxisXMin);
        y = axisY->convert(y, kivo::detail::chartState(*owner).prevAxisYMax, kivo::detail::chartState(*owner).prevAxisYMin);
        return;
    }
    const double sx = axisX->convert(x), sy = axisY->convert(y);
    if (!owner || !args || !kivo::detail::chartState(*owner).isUpdateTask2()) {
        x = sx;
        y = sy;
        return;
    }
    const auto prevXs = previousValues(kivo::detail::chartState(*owner).prevXValsArray, seriesIndex);
    const auto prevYs = previousValues(kivo::detail::chartState(*owner).prevYValsArray, seriesIndex);
    double prevX = x, prevY = y;
    if (args->oldStartingIndex() <= dataIndex) {
        // A point after the removed one had the index after its own.
        const std::int64_t before = std::int64_t{dataIndex} + 1;
        prevX = xAt(prevXs, hasXs && prevXs, before);
        prevY = numberAt(prevYs, before);
        if (stacked) prevY = prevStacked(prevX, prevY, stacked100);
    } else if (stacked) {
        prevY = prevStacked(prevX, numberAt(prevYs, dataIndex), stacked100);
    }
    const double px =
        axisX->convert(prevX, kivo::detail::chartState(*owner).prevAxisXMax, kivo::detail::chartState(*owner).prevAxisXMin);
    const double py =
        axisY->convert(prevY, kivo::detail::chartState(*owner).prevAxisYMax, kivo::detail::chartState(*owner).prevAxisYMin);
    const auto easing = owner->getEasing();
    x = easeTowards(easing, animationTime, animationDuration, px, sx);
    y = easeTowards(easing, animationTime, animationDuration, py, sy);
}

void KivoBubblePlotter::_getDataForCollectionViewReplaced(double& x, double& y, const std::shared_ptr<KivoAxis>& axisX,
                                                          const std::shared_ptr<KivoAxis>& axisY, std::int32_t seriesIndex,
                                                          std::int32_t dataIndex, bool stacked, bool stacked100,
                                                          const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args,
                                                          double animationTime, double animationDuration, StackDictionary&,
                                                          StackDictionary&) {
    if (!axisX || !axisY) return;
    const double sy = axisY->convert(y);
    const auto owner = chart();
    const bool running =
        owner && (kivo::detail::chartState(*owner).isUpdateTask1() || kivo::detail::chartState(*owner).isUpdateTask2());
    if (!running || !args || args->oldStartingIndex() != dataIndex) {
        x = axisX->convert(x);
        y = sy;
        return;
    }
    // Only the replaced point moves, and only along the values: from its old value's place.
    double prevY = numberAt(previousValues(kivo::detail::chartState(*owner).prevYValsArray, seriesIndex), dataIndex);
    if (stacked) prevY = prevStacked(x, prevY, stacked100);
    const double py =
        axisY->convert(prevY, kivo::detail::chartState(*owner).prevAxisYMax, kivo::detail::chartState(*owner).prevAxisYMin);
    x = axisX->convert(x);
    y = easeTowards(owner->getEasing(), animationTime, animationDuration, py, sy);
}
