#pragma once
// The plotter of column (1) and bar (2) charts: one plotter for both, the bars turned by the chart's
// rotation. Its drawing is not in place yet: a series of this family draws nothing.

#include <cstdint>
#include <memory>

#include "KivoCore/KivoNotifyCollectionChangedEventArgs.h"
#include "OmbriChart/KivoBasePlotter.h"
#include "OmbriChart/KivoOmbriChartExport.h"

class KIVO_CHART_EXPORT KivoBarPlotter : public KivoBasePlotter {
public:
    // The base's defaults, with the chart's data info and hit tester.
    KivoBarPlotter(const std::shared_ptr<OmbriChart>& chart, std::shared_ptr<KivoDataInfo> dataInfo,
                   std::shared_ptr<KivoHitTester> hitTester)
        : KivoBasePlotter(chart) {
        _dataInfo = std::move(dataInfo);
        _hitTester = std::move(hitTester);
    }
    static std::shared_ptr<KivoBarPlotter> create(const std::shared_ptr<OmbriChart>& chart,
                                                  std::shared_ptr<KivoDataInfo> dataInfo,
                                                  std::shared_ptr<KivoHitTester> hitTester) {
        return std::make_shared<KivoBarPlotter>(chart, std::move(dataInfo), std::move(hitTester));
    }

    void plotSeries(const std::shared_ptr<KivoSeries>&, const std::shared_ptr<IKivoRenderEngine>&,
                    const std::shared_ptr<KivoAxis>&, const std::shared_ptr<KivoAxis>&, std::int32_t, std::int32_t, std::int32_t,
                    std::int32_t, std::int64_t, StackDictionary&, StackDictionary&) override {}
    void redoSelection(const std::shared_ptr<IKivoRenderEngine>&) override {}

    // ==== Update geometry (the bar of one point in a frame of an update animation) ====
    // Called by the rectangle dispatchers while the chart replays a series change (the three series
    // members, unstacked bars only) or a change of its items (the collection members, unstacked and
    // stacked). Each answers the bar's rectangle for this frame, normalised (minimum corner, sizes of
    // at least 0), moving from the bar as it was last drawn at the start of the running task to the bar
    // as it stands at the task's end; after the second task the ordinary rectangle takes over and
    // equals the end. The add and remove members answer nil outside both update tasks; the stacked
    // members advance the stack (`sum`, `stackPos`, `stackNeg`) even then. Arguments: `index` the slot
    // in the cluster, `count` slots per cluster, `cw` and `w` cluster and slot widths in X units,
    // `xvals` the series' X values (nil for none), `dataIndex` the point's index in the data this pass
    // draws, `originScreen` the base line on the value axis, `datax`/`datay` the point in data units,
    // `time`/`duration` of the running task, `seriesPosition` the series' place in the chart's series
    // (where its previous values are kept). Members keep no state.
protected:
    std::shared_ptr<KivoRect> _getBarRectForSeriesAdded(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t count,
        double cw, double w, double originScreen, double datax, double datay,
        const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration) const;
    std::shared_ptr<KivoRect> _getBarRectForSeriesRemoved(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t count,
        double cw, double w, double originScreen, double datax, double datay,
        const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration) const;
    std::shared_ptr<KivoRect> _getBarRectForSeriesReplaced(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t count,
        double cw, double w, std::int32_t dataIndex, double originScreen, double datax, double datay,
        const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration,
        std::int32_t seriesPosition) const;
    std::shared_ptr<KivoRect> _getBarRectForCollectionViewAdded(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t count,
        double cw, double w, const plat::ArrayPtr& xvals, std::int32_t dataIndex, double originScreen, double datax, double datay,
        const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration) const;
    std::shared_ptr<KivoRect> _getBarRectForCollectionViewRemoved(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t count,
        double cw, double w, const plat::ArrayPtr& xvals, std::int32_t dataIndex, double originScreen, double datax, double datay,
        const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration,
        std::int32_t seriesPosition) const;
    std::shared_ptr<KivoRect> _getBarRectForCollectionViewReplaced(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, double cw, double w,
        std::int32_t dataIndex, double originScreen, double datax, double datay,
        const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration,
        std::int32_t seriesPosition) const;
    std::shared_ptr<KivoRect> _getStackedBarRectForCollectionViewAdded(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t count,
        double cw, double w, const plat::ArrayPtr& xvals, std::int32_t dataIndex, double originScreen, double datax, double datay,
        const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration, double& sum,
        StackDictionary& stackPos, StackDictionary& stackNeg) const;
    std::shared_ptr<KivoRect> _getStackedBarRectForCollectionViewRemoved(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t count,
        double cw, double w, const plat::ArrayPtr& xvals, std::int32_t dataIndex, double originScreen, double datax, double datay,
        const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration, double& sum,
        StackDictionary& stackPos, StackDictionary& stackNeg, std::int32_t seriesPosition) const;
    std::shared_ptr<KivoRect> _getStackedBarRectForCollectionViewReplaced(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, double cw, double w,
        std::int32_t dataIndex, double originScreen, double datax, double datay,
        const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration, double& sum,
        StackDictionary& stackPos, StackDictionary& stackNeg, std::int32_t seriesPosition) const;
    // ==== End of update geometry ====
};
