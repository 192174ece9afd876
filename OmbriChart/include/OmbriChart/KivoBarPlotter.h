#pragma once
// The plotter of column (1) and bar (2) series, one plotter for both (bars are columns turned by the
// chart's rotation): clustered or stacked bars with their hit areas, labels and selection.

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "KivoCore/KivoNotifyCollectionChangedEventArgs.h"
#include "OmbriChart/KivoBasePlotter.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/value.h"

class IKivoEaseAction;
class KivoRenderState;
class OmbrChartDataLabelData;
namespace kivo::detail {
struct ValueColumn;
struct StackPlan;
struct BarPlaceBlock;
struct BarAxisPlaces;
}  // namespace kivo::detail

class KIVO_CHART_EXPORT KivoBarPlotter : public KivoBasePlotter {
public:
    // The base's defaults, with the chart's data info and hit tester.
    KivoBarPlotter(const std::shared_ptr<OmbriChart>& chart, std::shared_ptr<KivoDataInfo> dataInfo,
                   std::shared_ptr<KivoHitTester> hitTester);
    static std::shared_ptr<KivoBarPlotter> create(const std::shared_ptr<OmbriChart>& chart,
                                                  std::shared_ptr<KivoDataInfo> dataInfo,
                                                  std::shared_ptr<KivoHitTester> hitTester) {
        return std::make_shared<KivoBarPlotter>(chart, std::move(dataInfo), std::move(hitTester));
    }

    // ---- IKivoPlotter ----
    // Empties the label records: they belong to one pass.
    void clear() override;
    // The data rectangle for bar series: X widened by half a step (deltaX, 1 without one) on each
    // side so the outer clusters fit; the value range stretched to the plotter's origin (on a log
    // axis the minimum drops one power of the base instead, when it is above 0; dates are not
    // stretched down) and to the value axis' own origin. X and Y exchanged when rotated.
    std::shared_ptr<KivoRect> adjustLimits(const std::shared_ptr<KivoDataInfo>& dataInfo, std::optional<double> logBase) override;
    // Draws one bar per valid point (its rectangle from _getBarRect or _getStackedBarRect), registers
    // a hit area tagged with the point and collects a label record; then draws every label collected
    // in the pass. `index` 0 starts the pass: the stacks and the label records are emptied.
    // `realIndex` is the bar's slot among `count` per cluster; `chartType` is not read.
    void plotSeries(const std::shared_ptr<KivoSeries>& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index,
                    std::int32_t realIndex, std::int32_t count, std::int32_t selectedIndex, std::int64_t chartType,
                    StackDictionary& stackPos, StackDictionary& stackNeg) override;
    // The selected series' bars again, in the selection look (dashed): all of them in series
    // selection, only the chart's selectionIndex in point selection. Forgets them afterwards.
    void redoSelection(const std::shared_ptr<IKivoRenderEngine>& engine) override;

    // The label records collected in this pass, in drawing order.
    const std::vector<std::shared_ptr<OmbrChartDataLabelData>>& dataLabelData() const;

    // ==== Update geometry (the bar of one point in a frame of an update animation) ====
    // Called by the rectangle dispatchers while the chart replays a series change (the three series
    // members, unstacked bars only) or a change of its items (the collection members, unstacked and
    // stacked). Each answers the bar's rectangle for this frame, normalised (minimum corner, sizes of
    // at least 0), moving from the bar as it was last drawn at the start of the running task to the bar
    // as it stands at the task's end; after the second task the ordinary rectangle takes over and
    // equals the end. The add and remove members answer null outside both update tasks; the stacked
    // members advance the stack (`sum`, `stackPos`, `stackNeg`) even then. Arguments: `index` the slot
    // in the cluster, `count` slots per cluster, `cw` and `w` cluster and slot widths in X units,
    // `xvals` the series' X values (null for none), `dataIndex` the point's index in the data this pass
    // draws, `originScreen` the base line on the value axis, `datax`/`datay` the point in data units,
    // `time`/`duration` of the running task, `seriesPosition` the series' place in the chart's series
    // (where its previous values are kept). Members keep no state.
protected:
    friend class OmbriChartTestAccess;

    // ---- One bar ----
    // Draws one bar by plot-element path `type` (KivoPlotElementEventPath). On the host's path the
    // chart's custom plot-element view stands over the bar only while the chart loads plot elements.
    void _drawBarElement(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoRect>& rect,
                         const std::shared_ptr<KivoSeries>& series, std::int32_t seriesIndex, std::int32_t pointIndex,
                         std::int64_t type);
    // ---- Timing ----
    // The time, duration and last point index of the frame: the running update's; in a point by point
    // load the series' with the points revealed so far; series by series the series' (time at most its
    // duration); otherwise the load animation's.
    void _getAnimationInfo(const std::shared_ptr<KivoSeries>& series, double& time, double& duration, std::int32_t& count) const;
    // The time of point `dataInfoIndex` in a point by point load: each point starts a step (the
    // series' duration over the last index) after the one before, and grows over the whole duration.
    // Before a point's turn its time is negative; a lone point begins immediately.
    // `lastDataInfo` is not read.
    double _getAnimationTimeForPointMode(const std::shared_ptr<KivoSeries>& series, std::int32_t dataInfoIndex,
                                         bool lastDataInfo) const;
    // ---- Rectangles (screen units, normalised; null: the point gets no bar) ----
    // An unstacked bar: the update geometry while the chart replays a change (null when no update flag
    // is set), otherwise the ordinary bar of slot `index` grown by the eased share of its length.
    // `seriesPosition` is the series' place in the chart's series, where its previous values are kept;
    // `dataCount` is not read.
    KIVO_CHART_NO_EXPORT std::shared_ptr<KivoRect> _getBarRect(const std::shared_ptr<KivoAxis>& axisX,
                                                               const std::shared_ptr<KivoAxis>& axisY, std::int32_t index,
                                                               std::int32_t dataIndex, std::int32_t dataCount,
                                                               const std::shared_ptr<const kivo::detail::ValueColumn>& xvals,
                                                               double datax, double datay, std::int32_t count, double cw,
                                                               double w, double originScreen, double time, double duration,
                                                               bool rotated, std::int32_t seriesPosition);
    // A stacked bar the same way (a series change has no geometry of its own: the ordinary stacked
    // bar grows with it). Every path advances the stacks and writes the base under the bar to `sum`.
    KIVO_CHART_NO_EXPORT std::shared_ptr<KivoRect> _getStackedBarRect(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index,
        std::int32_t dataIndex, std::int32_t dataCount, const std::shared_ptr<const kivo::detail::ValueColumn>& xvals,
        double datax, double datay, std::int32_t count, double cw, double w, double originScreen, double time, double duration,
        bool rotated, std::int32_t seriesPosition, double& sum, StackDictionary& stackPos, StackDictionary& stackNeg);
    // The ordinary stacked segment across the whole cluster: the value (its share of the absolute sum
    // at its X when stacking 100 %) on top of its stack, grown from the stack's base.
    std::shared_ptr<KivoRect> _getStackedBarNormalRect(const std::shared_ptr<KivoAxis>& axisX,
                                                       const std::shared_ptr<KivoAxis>& axisY, double datax, double datay,
                                                       double cw, double time, double duration, bool rotated, double& sum,
                                                       StackDictionary& stackPos, StackDictionary& stackNeg);

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
    KIVO_CHART_NO_EXPORT std::shared_ptr<KivoRect> _getBarRectForCollectionViewAdded(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t count,
        double cw, double w, const std::shared_ptr<const kivo::detail::ValueColumn>& xvals, std::int32_t dataIndex,
        double originScreen, double datax, double datay,
        const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration) const;
    KIVO_CHART_NO_EXPORT std::shared_ptr<KivoRect> _getBarRectForCollectionViewRemoved(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t count,
        double cw, double w, const std::shared_ptr<const kivo::detail::ValueColumn>& xvals, std::int32_t dataIndex,
        double originScreen, double datax, double datay,
        const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration,
        std::int32_t seriesPosition) const;
    std::shared_ptr<KivoRect> _getBarRectForCollectionViewReplaced(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, double cw, double w,
        std::int32_t dataIndex, double originScreen, double datax, double datay,
        const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration,
        std::int32_t seriesPosition) const;
    KIVO_CHART_NO_EXPORT std::shared_ptr<KivoRect> _getStackedBarRectForCollectionViewAdded(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t count,
        double cw, double w, const std::shared_ptr<const kivo::detail::ValueColumn>& xvals, std::int32_t dataIndex,
        double originScreen, double datax, double datay,
        const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration, double& sum,
        StackDictionary& stackPos, StackDictionary& stackNeg) const;
    KIVO_CHART_NO_EXPORT std::shared_ptr<KivoRect> _getStackedBarRectForCollectionViewRemoved(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, std::int32_t count,
        double cw, double w, const std::shared_ptr<const kivo::detail::ValueColumn>& xvals, std::int32_t dataIndex,
        double originScreen, double datax, double datay,
        const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration, double& sum,
        StackDictionary& stackPos, StackDictionary& stackNeg, std::int32_t seriesPosition) const;
    std::shared_ptr<KivoRect> _getStackedBarRectForCollectionViewReplaced(
        const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index, double cw, double w,
        std::int32_t dataIndex, double originScreen, double datax, double datay,
        const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs, double time, double duration, double& sum,
        StackDictionary& stackPos, StackDictionary& stackNeg, std::int32_t seriesPosition) const;
    // ==== End of update geometry ====

private:
    // A selected bar to draw again, with its point index.
    using SelectedBar = std::pair<std::shared_ptr<KivoRect>, std::int32_t>;

    // The unstacked ordinary bar, as a value, placed by the series' axis places.
    KIVO_CHART_NO_EXPORT KivoRect ordinaryBar(const kivo::detail::BarAxisPlaces& places, std::int32_t index, double datax,
                                              double datay, double cw, double w, double originScreen, double time,
                                              double duration, bool rotated) const;
    // The same as a new rectangle; null without both axes.
    KIVO_CHART_NO_EXPORT std::shared_ptr<KivoRect> ordinaryBarRect(const std::shared_ptr<KivoAxis>& axisX,
                                                                   const std::shared_ptr<KivoAxis>& axisY, std::int32_t index,
                                                                   double datax, double datay, double cw, double w,
                                                                   double originScreen, double time, double duration,
                                                                   bool rotated) const;
    // The ordinary stacked segment as a value, placed by the series' axis places.
    KIVO_CHART_NO_EXPORT KivoRect stackedBar(const kivo::detail::BarAxisPlaces& places, double datax, double datay, double cw,
                                             double time, double duration, bool rotated, double& sum, StackDictionary& stackPos,
                                             StackDictionary& stackNeg);
    // `length` eased by the chart's running animation at `time` of `duration` (all of it without one).
    KIVO_CHART_NO_EXPORT double easedLength(double length, double time, double duration) const;
    // The data info's last point index; -1 without items.
    KIVO_CHART_NO_EXPORT std::int32_t lastIndex() const;

    std::shared_ptr<KivoRenderState> _selState;
    std::vector<SelectedBar> _selRects;
    // While plotSeries draws stacked bars: the series' segments, worked out before its bars in one merge
    // per stack and handed to the bars in order.
    std::shared_ptr<kivo::detail::StackPlan> _stackPlan;
    // While plotSeries draws: the chart's easing, which stays the same for all bars of the series.
    std::optional<std::shared_ptr<IKivoEaseAction>> _seriesEasing;
    // Forgets the pass's label records.
    KIVO_CHART_NO_EXPORT void clearLabels();

    // Hit-area blocks kept for later passes, and the blocks of this pass, whose bars are also its label
    // records; the records proper are made from them when first asked for.
    std::vector<std::shared_ptr<kivo::detail::BarPlaceBlock>> _blocks;
    std::vector<std::shared_ptr<kivo::detail::BarPlaceBlock>> _labelBlocks;
    mutable std::vector<std::shared_ptr<OmbrChartDataLabelData>> _dataLabelData;
    mutable std::size_t _labelBlocksMade = 0;
};
