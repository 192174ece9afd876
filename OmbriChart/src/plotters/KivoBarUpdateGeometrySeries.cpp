// KivoBarPlotter: the bars of unstacked series while the chart replays a series added, removed or
// replaced. In the first task of an add the clusters make room (each bar narrows and slides from its
// slot among count − 1 bars to its slot among count); in the second the added series grows from the base
// line. A removed series sinks to the base line in the first task; in the second the others widen and
// slide from their slots among count + 1 bars. A replaced series' bars change length in both.
//
// A bar on the far side of the base line (a negative value) moves the same way mirrored: its base edge
// stays on the base line and only its value edge moves.

#include <limits>

#include "OmbriChart/KivoBarPlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "plotters/KivoBarUpdateGeometry.h"
#include "series/SeriesColumns.h"

using kivo::detail::BarUpdateFrame;

std::shared_ptr<KivoRect> KivoBarPlotter::_getBarRectForSeriesAdded(
    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t count,
    double cw, double w, double originScreen, double datax, double datay,
    const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration) const {
    const BarUpdateFrame frame(chart(), axisX, axisY, _rotated, time, duration);
    if (!frame.valid() || !updateEventArgs) return nullptr;
    const KivoRect now = frame.slotBar(datax, cw, w, index, originScreen, datay);
    const std::int64_t added = updateEventArgs->startingIndex();
    if (frame.task2()) {
        // Only the added series moves: it grows out of the base line.
        return frame.move(added == index ? frame.emptySlotBar(datax, cw, w, index, originScreen) : now, now);
    }
    if (frame.task1()) {
        // The old cluster held one bar fewer; a bar after the insertion stood one slot earlier, and a bar
        // of the added series itself starts where the bar it displaces stood.
        const std::int32_t oldIndex = added < index ? index - 1 : index;
        const std::int32_t oldCount = count >= 2 ? count - 1 : 1;
        const auto [a, b] = frame.slot(datax, cw, cw / oldCount, oldIndex);
        return frame.move(frame.bar(a, b, originScreen, frame.oldValue(datay)), now);
    }
    return nullptr;
}

std::shared_ptr<KivoRect> KivoBarPlotter::_getBarRectForSeriesRemoved(
    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t count,
    double cw, double w, double originScreen, double datax, double datay,
    const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration) const {
    const BarUpdateFrame frame(chart(), axisX, axisY, _rotated, time, duration);
    if (!frame.valid() || !updateEventArgs) return nullptr;
    const KivoRect now = frame.slotBar(datax, cw, w, index, originScreen, datay);
    const std::int64_t removed = updateEventArgs->oldStartingIndex();
    if (frame.task1()) {
        // The removed series sinks to the base line; the others stand.
        return frame.move(now, removed == index ? frame.emptySlotBar(datax, cw, w, index, originScreen) : now);
    }
    if (frame.task2()) {
        // The old cluster held one bar more; a bar after the removed one stood one slot later. Bars read
        // their slot against the category axis' old range.
        const std::int32_t oldIndex = removed <= index ? index + 1 : index;
        const double oldWidth = cw / (count + 1);
        const auto [a, b] = _rotated ? frame.oldSlot(datax, cw, oldWidth, oldIndex) : frame.slot(datax, cw, oldWidth, oldIndex);
        return frame.move(frame.bar(a, b, originScreen, frame.oldValue(datay)), now);
    }
    return nullptr;
}

std::shared_ptr<KivoRect> KivoBarPlotter::_getBarRectForSeriesReplaced(
    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t, double cw,
    double w, std::int32_t dataIndex, double originScreen, double datax, double datay,
    const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration,
    std::int32_t seriesPosition) const {
    const BarUpdateFrame frame(chart(), axisX, axisY, _rotated, time, duration);
    if (!frame.valid()) return nullptr;
    const KivoRect now = frame.slotBar(datax, cw, w, index, originScreen, datay);
    // The change names the replaced series by its place in the chart's series, hidden ones included.
    if (!updateEventArgs || updateEventArgs->oldStartingIndex() != seriesPosition) return frame.move(now, now);
    const auto& oldItems = updateEventArgs->oldItems();
    const auto replaced = oldItems && !oldItems->empty() ? oldItems->front().as<KivoSeries>() : nullptr;
    const double previous = replaced ? kivo::detail::numberAt(kivo::detail::SeriesInternals::values(*replaced, 0), dataIndex)
                                     : std::numeric_limits<double>::quiet_NaN();
    // Columns keep the value axis as it is now, bars the range it had before the change.
    const double oldEdge = _rotated ? frame.oldValue(previous) : frame.value(previous);
    const auto [A, B] = frame.slot(datax, cw, w, index);
    return frame.move(frame.bar(A, B, originScreen, oldEdge), now);
}
