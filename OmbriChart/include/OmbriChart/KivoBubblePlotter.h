#pragma once
// The plotter of scatter (3) and bubble (7) charts: a line plotter that draws symbols only. Scatter
// points all take the plotter's symbol size; a bubble's diameter follows a third value of its item
// (the series' second binding name), mapped onto the options' bubble size range by a square-root scale
// over the size values of all series, so areas rather than widths follow the values. It moves, grows and
// shrinks its points through the chart's update animations, and draws the selected series last.
//
// The saved-selection fields are the bubble plotter's own, apart from the line plotter's of the same
// names.
//
// Sections: construction · the pass · size range and bubble size · stacking · drawing one symbol ·
// update geometry · growth rules · saved selection.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "KivoCore/IKivoEaseAction.h"
#include "KivoCore/KivoNotifyCollectionChangedEventArgs.h"
#include "OmbriChart/KivoLinePlotter.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/value.h"
#include "Platform/graphics/color.h"

class KivoRenderState;

namespace kivo::detail {
struct ValueColumn;
struct BubblePointBlock;
struct BubbleUpdatePhase;
}  // namespace kivo::detail

class KIVO_CHART_EXPORT KivoBubblePlotter : public KivoLinePlotter {
public:
    // ---- Construction ----
    // The line plotter's defaults, then symbols without lines; nothing saved for a selection.
    KivoBubblePlotter(const std::shared_ptr<OmbriChart>& chart, std::shared_ptr<KivoDataInfo> dataInfo,
                      std::shared_ptr<KivoHitTester> hitTester);
    static std::shared_ptr<KivoBubblePlotter> create(const std::shared_ptr<OmbriChart>& chart,
                                                     std::shared_ptr<KivoDataInfo> dataInfo,
                                                     std::shared_ptr<KivoHitTester> hitTester) {
        return std::make_shared<KivoBubblePlotter>(chart, std::move(dataInfo), std::move(hitTester));
    }

    // ---- The pass ----
    // Takes the size range (the options' smallest and largest bubble, and the smallest and largest
    // valid size value of every series of the chart, drawn or not), then answers the line plotter's
    // data rectangle unchanged: the axes are not widened for the bubbles' extent.
    std::shared_ptr<KivoRect> adjustLimits(const std::shared_ptr<KivoDataInfo>& dataInfo, std::optional<double> logBase) override;
    // One scatter or bubble series: a circular hit area (of the plotter's symbol size, its data point
    // made when first asked for) per valid point, its symbols (grown or shrunk by the running
    // animation, culled outside the plot area) and data labels. The selected series keeps its points for redoSelection instead of
    // drawing its symbols. `index` keys the stacking reset and the series changes of an update; `realIndex`, `count` and
    // `selectedIndex` are not read.
    void plotSeries(const std::shared_ptr<KivoSeries>& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index,
                    std::int32_t realIndex, std::int32_t count, std::int32_t selectedIndex, std::int64_t chartType,
                    StackDictionary& stackPos, StackDictionary& stackNeg) override;
    // Draws the kept selected series on top: its symbols with a border of at least 2 in the chart's
    // selected colour and dashes (in point mode only the selected point's border shows), then their data
    // labels; then forgets it. Nothing when no selected series was plotted.
    void redoSelection(const std::shared_ptr<IKivoRenderEngine>& engine) override;

    // ---- Size range and bubble size ----
    double minSize() const { return _minSize; }
    double maxSize() const { return _maxSize; }
    // NaN while no series has a valid size value.
    double minValue() const { return _minValue; }
    double maxValue() const { return _maxValue; }
    // The diameter of a bubble of size value `value` grown by `growth` (0 … 1 over its animation):
    // minSize + (maxSize − minSize) × √((value − minValue) / (maxValue − minValue)), the share kept
    // within 0 … 1, the largest size when all values are equal, then scaled by the growth and kept at
    // most the larger of the two sizes. NaN when there is nothing to draw (an invalid value or range).
    static double bubbleDiameter(double value, double growth, double minValue, double maxValue, double minSize, double maxSize);

protected:
    friend class OmbriChartTestAccess;

    // The growth rules of symbols, bubbles and labels in the frames of an update.
    // The update animation a frame belongs to.
    using UpdatePhase = kivo::detail::BubbleUpdatePhase;
    // The chart's phase for the frame being drawn.
    UpdatePhase currentPhase() const;
    // The size factor of the symbol of data index `dataIndex` of the series drawn as `index`, with `s`
    // the load growth and `ordinary` the factor outside update animations. nullopt: not drawn at all
    // (the inserted point while its neighbours move aside). For a bubble it only culls.
    KIVO_CHART_NO_EXPORT static std::optional<double> symbolFactor(const UpdatePhase& phase, std::int64_t index,
                                                                   std::int64_t dataIndex, double s, double ordinary);
    // The growth of a bubble's diameter: `g0` the eased load time; `isAdded` (`isRemoved`) when the
    // change's new (old) series is this series.
    KIVO_CHART_NO_EXPORT static double bubbleFactor(const UpdatePhase& phase, bool isAdded, bool isRemoved,
                                                    std::int64_t dataIndex, double g0);
    // The factor of a data label's rectangle, `g` the loop's growth.
    KIVO_CHART_NO_EXPORT static double labelFactor(const UpdatePhase& phase, std::int64_t index, double g);

    // The selected series kept for redoSelection.
    const std::vector<double>& selDataX() const { return _selDataX; }
    const std::vector<double>& selDataY() const { return _selDataY; }
    const std::vector<std::int64_t>& symInts() const { return _symInts; }
    bool hasSavedSelection() const { return _selState != nullptr; }

    // The size value of the item at `pointIndex` of the series' list (during the first task of a
    // removal, of the item the point was drawn from): its second binding member as a number; 0 when
    // there is no item, no such member or it holds no number.
    double _getBubbleSizeData(const std::shared_ptr<KivoSeries>& series, std::int64_t pointIndex) const;
    // ---- Drawing one symbol ----
    // By the chart type of the series being drawn: a bubble (7), a scatter symbol of `symbolSize` (3),
    // nothing for any other type.
    void _renderSymbol(const std::shared_ptr<IKivoRenderEngine>& engine, double x, double y, double borderWidth,
                       double symbolSize, const plat::Color& fillColor, std::optional<plat::Color> borderColor,
                       std::int64_t symbolMarker, const std::shared_ptr<KivoSeries>& series, std::int32_t pointIndex,
                       std::int32_t type);
    // One bubble, its diameter from the size value of the item at `pointIndex` and the growth of the
    // running animation (`symbolSize` is not read). Nothing without an item or a numeric size value.
    void _renderBubbleSymbol(const std::shared_ptr<IKivoRenderEngine>& engine, double x, double y, double borderWidth,
                             double symbolSize, const plat::Color& fillColor, std::optional<plat::Color> borderColor,
                             std::int64_t symbolMarker, const std::shared_ptr<KivoSeries>& series, std::int32_t pointIndex,
                             std::int32_t type);
    // ---- Stacking ----
    // The running stacked value at `x`: `y` (as its share of the absolute sum at `x` when `stacked100`)
    // added to stackPos[x], stored there and answered. Every value, negative ones too, runs in stackPos;
    // a value that is not finite is answered as it is and stored nowhere.
    double _getStackedDatay(double x, double y, bool stacked100, StackDictionary& stackPos, StackDictionary& stackNeg) const;
    // ---- Update geometry ----
    // A point's data values (X and stacked Y) in, its screen coordinates for the frame out, during an
    // animated change of the chart's items. Outside both update tasks, the plain screen coordinates.
    // Added: a point after the inserted one comes from its place one index lower, one before it moves
    // aside from its own place, the new one stands at its place. `xs` and `ys` are the series' values.
    KIVO_CHART_NO_EXPORT void _getDataForCollectionViewAdded(double& x, double& y, const std::shared_ptr<KivoAxis>& axisX,
                                                             const std::shared_ptr<KivoAxis>& axisY,
                                                             const std::shared_ptr<const kivo::detail::ValueColumn>& xs,
                                                             const std::shared_ptr<const kivo::detail::ValueColumn>& ys,
                                                             std::int32_t dataIndex, bool hasXs, bool stacked, bool stacked100,
                                                             const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args,
                                                             double animationTime, double animationDuration,
                                                             StackDictionary& stackPos, StackDictionary& stackNeg);
    // Removed: in task 1 every point stands where it was; in task 2 a point after the removed one comes
    // from its place one index higher.
    void _getDataForCollectionViewRemoved(double& x, double& y, const std::shared_ptr<KivoAxis>& axisX,
                                          const std::shared_ptr<KivoAxis>& axisY, std::int32_t seriesIndex,
                                          std::int32_t dataIndex, bool hasXs, bool stacked, bool stacked100,
                                          const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args, double animationTime,
                                          double animationDuration, StackDictionary& stackPos, StackDictionary& stackNeg);
    // Replaced: only the replaced point moves, vertically, from its old value's place.
    void _getDataForCollectionViewReplaced(double& x, double& y, const std::shared_ptr<KivoAxis>& axisX,
                                           const std::shared_ptr<KivoAxis>& axisY, std::int32_t seriesIndex,
                                           std::int32_t dataIndex, bool stacked, bool stacked100,
                                           const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args,
                                           double animationTime, double animationDuration, StackDictionary& stackPos,
                                           StackDictionary& stackNeg);

    // One kept point: its data index and the values it was drawn from (X as plotted, Y before stacking).
    struct KeptPoint {
        std::int64_t index;
        double dataX;
        double dataY;
    };

    // The item a bubble reads its size from: during the first task of a removal the points are those
    // before it, so the removed point reads the removed item and the points after it the item now one
    // index lower.
    plat::Value bubbleItem(const std::shared_ptr<KivoSeries>& series, std::int64_t pointIndex) const;
    // The size value of the item a point reads (nullopt: no item, no size member or no number there).
    std::optional<double> sizeValue(const std::shared_ptr<KivoSeries>& series, std::int64_t pointIndex) const;
    // The side of the square a point's data label stands against: a bubble's own diameter, so that the
    // label clears it; the symbol size for scatter symbols and for bubbles that are not drawn.
    double labelExtent(const std::shared_ptr<KivoSeries>& series, std::int64_t pointIndex) const;
    // The data label of a kept point, with the text of its value as the value axis formats it.
    void renderLabel(const std::shared_ptr<KivoSeries>& series, std::int32_t seriesPosition, const KeptPoint& point, double x,
                     double y, double size, const std::shared_ptr<KivoAxis>& valueAxis) const;
    // The previous stacked value of `y` at `x` (`y` as a share of the absolute sums before the change
    // when `stacked100`): the running sums of the state before the change, apart from the current ones.
    double prevStacked(double x, double y, bool stacked100);
    // The eased place between a previous and a new coordinate, moving towards the new one.
    static double easeTowards(const KivoEasePtr& easing, double t, double d, double from, double to);

    double _minSize = 0;
    double _maxSize = 0;
    double _minValue = 0;
    double _maxValue = 0;
    std::shared_ptr<KivoRenderState> _selState;
    std::shared_ptr<KivoRenderState> _symState;
    std::vector<double> _selDataX;
    std::vector<double> _selDataY;
    std::vector<std::int64_t> _symInts;
    std::int64_t _chartType = 0;
    // The kept points behind _symInts, and the axis that formats their labels.
    std::vector<KeptPoint> _selPoints;
    std::shared_ptr<KivoAxis> _selValueAxis;
    // The running sums of the previous state's stacked values in one frame.
    StackDictionary _prevStackPos;
    // The blocks of the points' places and hit areas, kept from pass to pass.
    std::vector<std::shared_ptr<kivo::detail::BubblePointBlock>> _bubbleBlocks;
    // The point loop's list of kept points, kept from pass to pass.
    std::vector<KeptPoint> _loopPoints;
};
