// KivoBarPlotter: the bars while the chart replays an item added to, removed from or replaced in its
// data, unstacked and stacked. Add: in the first task the existing bars slide and narrow from their old
// places (the old axis ranges, an item after the insertion standing one place earlier) while the added
// item has no length; in the second it grows. Remove: in the first task the old data stands in the old
// layout while the removed item sinks; in the second the rest slide and widen from their old places (an
// item after the removal standing one place later). Replace: the replaced item changes length.
//
// Unstacked bars grow from and sink to the base line on either side of it. Stacked segments keep the
// edge the ordinary stacked rectangle grows from (the bottom of a column, the left of a bar) and move
// both value edges. Every stacked member takes its segment onto the running stack first, so the
// segments above it stand on it even in a frame where it answers null.

#include <cmath>

#include "OmbriChart/KivoBarPlotter.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"
#include "plotters/KivoBarUpdateGeometry.h"

using kivo::detail::BarUpdateFrame;
using kivo::detail::numberAt;
using kivo::detail::positionAt;

namespace {

// The values the chart saved for the series at `position` when the change arrived (null for none).
kivo::detail::ColumnPtr previousValues(const OmbriChart& chart, std::int32_t position, bool xValues) {
    const auto& all = xValues ? kivo::detail::chartState(chart).prevXValsArray : kivo::detail::chartState(chart).prevYValsArray;
    if (position < 0 || static_cast<std::size_t>(position) >= all.size()) return nullptr;
    return all[static_cast<std::size_t>(position)];
}

// The X an item stood at before an insertion: an item after the inserted one stood one place earlier,
// at the X of the item now before it.
double positionBeforeInsert(const kivo::detail::ColumnPtr& xvals, std::int32_t dataIndex, double datax, std::int64_t inserted) {
    return inserted < dataIndex ? positionAt(xvals, dataIndex - 1) : datax;
}

}  // namespace

// ---- Unstacked ----

std::shared_ptr<KivoRect> KivoBarPlotter::_getBarRectForCollectionViewAdded(
    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t, double cw,
    double w, const kivo::detail::ColumnPtr& xvals, std::int32_t dataIndex, double originScreen, double datax, double datay,
    const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration) const {
    const BarUpdateFrame frame(chart(), axisX, axisY, _rotated, time, duration);
    if (!frame.valid() || !updateEventArgs) return nullptr;
    const KivoRect now = frame.slotBar(datax, cw, w, index, originScreen, datay);
    const KivoRect empty = frame.emptySlotBar(datax, cw, w, index, originScreen);
    const std::int64_t inserted = updateEventArgs->startingIndex();
    const bool isAdded = inserted == dataIndex;
    if (frame.task2()) return frame.move(isAdded ? empty : now, now);
    if (frame.task1()) {
        const auto [a, b] = frame.oldSlot(positionBeforeInsert(xvals, dataIndex, datax, inserted), cw, w, index);
        // The added item rides along with no length, ready to grow from the base line.
        if (isAdded) return frame.move(frame.bar(a, b, originScreen, originScreen), empty);
        return frame.move(frame.bar(a, b, originScreen, frame.oldValue(datay)), now);
    }
    return nullptr;
}

std::shared_ptr<KivoRect> KivoBarPlotter::_getBarRectForCollectionViewRemoved(
    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t, double cw,
    double w, const kivo::detail::ColumnPtr&, std::int32_t dataIndex, double originScreen, double datax, double datay,
    const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration,
    std::int32_t seriesPosition) const {
    const BarUpdateFrame frame(chart(), axisX, axisY, _rotated, time, duration);
    if (!frame.valid() || !updateEventArgs) return nullptr;
    const std::int64_t removed = updateEventArgs->oldStartingIndex();
    if (frame.task1()) {
        // This pass draws the old data, the removed item included, in the old layout.
        const auto [a, b] = frame.oldSlot(datax, cw, w, index);
        const KivoRect before = frame.bar(a, b, originScreen, frame.oldValue(datay));
        return frame.move(before, removed == dataIndex ? frame.bar(a, b, originScreen, originScreen) : before);
    }
    if (frame.task2()) {
        double px = datax, py = datay;
        if (removed <= dataIndex) {
            px = positionAt(previousValues(frame.chart(), seriesPosition, true), dataIndex + 1);
            py = numberAt(previousValues(frame.chart(), seriesPosition, false), dataIndex + 1);
        }
        const auto [a, b] = frame.oldSlot(px, cw, w, index);
        return frame.move(frame.bar(a, b, originScreen, frame.oldValue(py)),
                          frame.slotBar(datax, cw, w, index, originScreen, datay));
    }
    return nullptr;
}

std::shared_ptr<KivoRect> KivoBarPlotter::_getBarRectForCollectionViewReplaced(
    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, double cw, double w,
    std::int32_t dataIndex, double originScreen, double datax, double datay,
    const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration,
    std::int32_t seriesPosition) const {
    const BarUpdateFrame frame(chart(), axisX, axisY, _rotated, time, duration);
    if (!frame.valid()) return nullptr;
    const KivoRect now = frame.slotBar(datax, cw, w, index, originScreen, datay);
    if (!updateEventArgs || updateEventArgs->oldStartingIndex() != dataIndex) return frame.move(now, now);
    const double previous = numberAt(previousValues(frame.chart(), seriesPosition, false), dataIndex);
    const auto [A, B] = frame.slot(datax, cw, w, index);
    return frame.move(frame.bar(A, B, originScreen, frame.oldValue(previous)), now);
}

// ---- Stacked ----

namespace {

// A stacked segment in one frame. Its base is the stack as this pass builds it, which stands in for the
// stack before the change in the old layout too.
class StackedBar {
public:
    // Takes the point onto the running stack (always: the segments above stand on it) and keeps the
    // base under it in `sum`.
    StackedBar(const BarUpdateFrame& frame, bool rotated, const std::shared_ptr<KivoDataInfo>& info, std::int64_t stacking,
               kivo::detail::StackPlan* plan, double datax, double datay, double cw, double& sum,
               IKivoPlotter::StackDictionary& stackPos, IKivoPlotter::StackDictionary& stackNeg)
        : _frame(frame), _rotated(rotated), _x(datax), _cw(cw) {
        _absSum = info ? info->getStackedAbsSum(datax) : 0.0;
        _stacked = kivo::detail::takeSegment(plan, datax, datay, stacking, _absSum, stackPos, stackNeg);
        sum = _stacked.base;
    }

    double share() const { return _stacked.share; }
    double absSum() const { return _absSum; }
    // The segment now, and the segment with no length where it grows from.
    KivoRect now() const {
        return _frame.bar(left(), right(), _frame.value(_stacked.base), _frame.value(_stacked.base + _stacked.share));
    }
    KivoRect empty() const {
        const double edge = growEdge(_frame.value(_stacked.base), _frame.value(_stacked.base + _stacked.share));
        return _frame.bar(left(), right(), edge, edge);
    }
    // A segment of `value` on this base across the category coordinates c0, c1, in the old value range;
    // and with no length where it grows from.
    KivoRect before(double c0, double c1, double value) const {
        return _frame.bar(c0, c1, _frame.oldValue(_stacked.base), _frame.oldValue(_stacked.base + value));
    }
    KivoRect emptyBefore(double c0, double c1, double value) const {
        const double edge = growEdge(_frame.oldValue(_stacked.base), _frame.oldValue(_stacked.base + value));
        return _frame.bar(c0, c1, edge, edge);
    }
    // The cluster's ends now, and around X value `x` in the category axis' old range.
    std::pair<double, double> cluster() const { return {left(), right()}; }
    std::pair<double, double> oldCluster(double x) const {
        return {_frame.oldCategory(x - _cw / 2), _frame.oldCategory(x + _cw / 2)};
    }

private:
    double left() const { return _frame.category(_x - _cw / 2); }
    double right() const { return _frame.category(_x + _cw / 2); }
    // The edge a segment grows from and sinks to, as the ordinary stacked rectangle has it: the bottom of
    // a column, the left end of a bar.
    double growEdge(double v0, double v1) const { return _rotated ? std::min(v0, v1) : std::max(v0, v1); }

    const BarUpdateFrame& _frame;
    bool _rotated;
    double _x, _cw, _absSum;
    kivo::detail::StackedSegment _stacked{};
};

// A share of the absolute sum at its X in a 100 % stack; the value itself otherwise. A zero sum gives 0.
double shareOf(double value, double total, std::int64_t stacking) {
    if (stacking != KivoPlotterStackingStacked100 || !std::isfinite(value)) return value;
    return total != 0 && std::isfinite(total) ? value / total : 0.0;
}

}  // namespace

std::shared_ptr<KivoRect> KivoBarPlotter::_getStackedBarRectForCollectionViewAdded(
    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t, std::int32_t, double cw, double,
    const kivo::detail::ColumnPtr& xvals, std::int32_t dataIndex, double, double datax, double datay,
    const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration, double& sum,
    StackDictionary& stackPos, StackDictionary& stackNeg) const {
    const BarUpdateFrame frame(chart(), axisX, axisY, _rotated, time, duration);
    const StackedBar bar(frame, _rotated, _dataInfo, _stacking, _stackPlan.get(), datax, datay, cw, sum, stackPos, stackNeg);
    if (!frame.valid() || !updateEventArgs) return nullptr;
    const std::int64_t inserted = updateEventArgs->startingIndex();
    const bool isAdded = inserted == dataIndex;
    if (frame.task2()) return frame.move(isAdded ? bar.empty() : bar.now(), bar.now());
    if (frame.task1()) {
        const auto [a, b] = bar.oldCluster(positionBeforeInsert(xvals, dataIndex, datax, inserted));
        if (isAdded) return frame.move(bar.emptyBefore(a, b, bar.share()), bar.empty());
        return frame.move(bar.before(a, b, bar.share()), bar.now());
    }
    return nullptr;
}

std::shared_ptr<KivoRect> KivoBarPlotter::_getStackedBarRectForCollectionViewRemoved(
    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t, std::int32_t, double cw, double,
    const kivo::detail::ColumnPtr&, std::int32_t dataIndex, double, double datax, double datay,
    const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration, double& sum,
    StackDictionary& stackPos, StackDictionary& stackNeg, std::int32_t seriesPosition) const {
    const BarUpdateFrame frame(chart(), axisX, axisY, _rotated, time, duration);
    const StackedBar bar(frame, _rotated, _dataInfo, _stacking, _stackPlan.get(), datax, datay, cw, sum, stackPos, stackNeg);
    if (!frame.valid() || !updateEventArgs) return nullptr;
    const std::int64_t removed = updateEventArgs->oldStartingIndex();
    if (frame.task1()) {
        const auto [a, b] = bar.oldCluster(datax);
        const KivoRect before = bar.before(a, b, bar.share());
        return frame.move(before, removed == dataIndex ? bar.emptyBefore(a, b, bar.share()) : before);
    }
    if (frame.task2()) {
        double px = datax, share = bar.share();
        if (removed <= dataIndex) {
            px = positionAt(previousValues(frame.chart(), seriesPosition, true), dataIndex + 1);
            // In a 100 % stack the old value counts as its share of the absolute sum before the removal,
            // which the chart kept (the sum of this pass stands in when it kept none).
            const auto& saved = kivo::detail::chartState(frame.chart()).stackAbs;
            const double* oldSum = saved ? saved->find(px) : nullptr;
            const double total = oldSum ? *oldSum : (_dataInfo ? _dataInfo->getStackedAbsSum(px) : 0.0);
            share = shareOf(numberAt(previousValues(frame.chart(), seriesPosition, false), dataIndex + 1), total, _stacking);
        }
        const auto [a, b] = bar.oldCluster(px);
        return frame.move(bar.before(a, b, share), bar.now());
    }
    return nullptr;
}

std::shared_ptr<KivoRect> KivoBarPlotter::_getStackedBarRectForCollectionViewReplaced(
    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t, double cw, double,
    std::int32_t dataIndex, double, double datax, double datay,
    const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration, double& sum,
    StackDictionary& stackPos, StackDictionary& stackNeg, std::int32_t seriesPosition) const {
    const BarUpdateFrame frame(chart(), axisX, axisY, _rotated, time, duration);
    const StackedBar bar(frame, _rotated, _dataInfo, _stacking, _stackPlan.get(), datax, datay, cw, sum, stackPos, stackNeg);
    if (!frame.valid()) return nullptr;
    if (!updateEventArgs || updateEventArgs->oldStartingIndex() != dataIndex) return frame.move(bar.now(), bar.now());
    const double previous = numberAt(previousValues(frame.chart(), seriesPosition, false), dataIndex);
    // The sum before the change: this series' part of the sum now traded for its old value.
    const double total = bar.absSum() - std::abs(datay) + std::abs(previous);
    // The cluster does not move.
    const auto [A, B] = bar.cluster();
    return frame.move(bar.before(A, B, shareOf(previous, total, _stacking)), bar.now());
}
