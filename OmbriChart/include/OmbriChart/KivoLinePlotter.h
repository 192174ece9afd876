#pragma once
// The plotter of line (4), line-with-symbols (5), spline (10) and spline-with-symbols (11) charts, and
// the base of the bubble plotter: it turns one series into screen points (stacked when asked), a hit
// area per point, the line, a symbol per point and the data labels; keeps a selected series aside to
// draw it last and on top; and eases the points through the chart's load and update animations.
//
// Sections: construction · variant flags · IKivoPlotter · symbols · animation · point moves of an update.
// Geometry lives in KivoLinePlotter.cpp, the selection redraw in KivoLinePlotterSelection.cpp, the
// animation in KivoLinePlotterAnimation.cpp.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "KivoCore/IKivoEaseAction.h"
#include "OmbriChart/KivoBasePlotter.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/graphics/color.h"

class KivoChartDataPoint;
class KivoNotifyCollectionChangedEventArgs;
class KivoRenderState;
namespace kivo::detail {
struct LinePointBlock;
struct MoveFrame;
struct SeriesPass;
class SymbolStamper;
}  // namespace kivo::detail

class KIVO_CHART_EXPORT KivoLinePlotter : public KivoBasePlotter {
public:
    // Screen coordinates of the points to draw, in drawing order; NaN where a coordinate is missing.
    struct PointList {
        std::vector<double> x, y;
        friend bool operator==(const PointList&, const PointList&) = default;
    };

    // ---- Construction ----
    // Lines without symbols, straight, not stacked or rotated; symbol size, origin, time and point
    // count 0 until the chart writes them.
    KivoLinePlotter(const std::shared_ptr<OmbriChart>& chart, std::shared_ptr<KivoDataInfo> dataInfo,
                    std::shared_ptr<KivoHitTester> hitTester);
    static std::shared_ptr<KivoLinePlotter> create(const std::shared_ptr<OmbriChart>& chart,
                                                   std::shared_ptr<KivoDataInfo> dataInfo,
                                                   std::shared_ptr<KivoHitTester> hitTester) {
        return std::make_shared<KivoLinePlotter>(chart, std::move(dataInfo), std::move(hitTester));
    }

    // ---- Variant flags (plain stores, read when the plotter next draws) ----
    bool hasSymbols() const { return _hasSymbols; }
    void setHasSymbols(bool has) { _hasSymbols = has; }
    bool hasLines() const { return _hasLines; }
    void setHasLines(bool has) { _hasLines = has; }
    bool isSpline() const { return _isSpline; }
    void setIsSpline(bool spline) { _isSpline = spline; }
    // The width of a line whose series (or, selected, the chart's selected border) sets none.
    double defaultLineWidth() const { return _defaultLineWidth; }

    // ---- IKivoPlotter ----
    // The data info's extremes, each minimum lowered to the origin of the chart's axis for it where that
    // axis has one; X and Y exchanged when rotated. The log base is not read.
    std::shared_ptr<KivoRect> adjustLimits(const std::shared_ptr<KivoDataInfo>& dataInfo, std::optional<double> logBase) override;
    // One series: its points (stacked into stackPos, negatives included), a circular hit area per point,
    // the line and the symbols and labels; a selected series keeps its line and symbols for
    // redoSelection. `index` keys the previous values of an update and the stacking reset; `realIndex`
    // tells whether this series is the one a series-list update added or removed.
    void plotSeries(const std::shared_ptr<KivoSeries>& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index,
                    std::int32_t realIndex, std::int32_t count, std::int32_t selectedIndex, std::int64_t chartType,
                    StackDictionary& stackPos, StackDictionary& stackNeg) override;
    // Draws the kept selected series on top in the selection style (line, then symbols, then the kept
    // points' labels) and forgets it; nothing when no selected series was plotted.
    void redoSelection(const std::shared_ptr<IKivoRenderEngine>& engine) override;

    // ---- Symbols ----
    // Draws a symbol around (x, y), filled as the engine is currently set up, through the element path `type`
    // (KivoPlotElementEventPath): the default renderer, the chart's plotElementLoading event (with
    // `dataPoint`, or a record of the point index and series), or the host's hook.
    virtual void drawSymbol(const std::shared_ptr<IKivoRenderEngine>& engine, double x, double y, double borderWidth,
                            double symbolSize, const plat::Color& fillColor, std::optional<plat::Color> borderColor,
                            std::int64_t symbolMarker, const std::shared_ptr<KivoSeries>& series, std::int32_t pointIndex,
                            const std::shared_ptr<KivoChartDataPoint>& dataPoint, std::int32_t type);

    // ---- Animation ----
    // The time, duration and last point index a series draws with in this frame: an update's, a
    // point-by-point load's (the revealed count), a series-by-series load's (the series' own clock) or
    // the load animation's.
    virtual void getAnimationInfo(const std::shared_ptr<KivoSeries>& series, double& time, double& duration,
                                  std::int32_t& count) const;
    // How big a symbol is while points appear one by one: full size when lines are drawn; else the eased share of
    // `duration`, for the last point measured from when it appeared (time − index × duration).
    double getScaleForPointMode(const KivoEasePtr& easing, double time, double duration, std::int32_t dataInfoIndex,
                                bool lastDataInfo) const;
    // The point-by-point reveal: the points up to the eased front along the category axis (from the
    // first point's coordinate to the last one's), and one more on the segment that the front cuts;
    // every point at time 0. Nothing for empty lists.
    std::optional<PointList> getPointsForPointMode(std::span<const double> xs, std::span<const double> ys, double time,
                                                   double duration, const KivoEasePtr& type, bool rotated) const;
    // The points to draw during an update other than the loading of this series: the lists given
    // (already eased) for an item change; for a series-list change the points moving along the value
    // axis from `prevVals` (a removed series sinking to the value axis' minimum); nothing otherwise.
    std::optional<PointList> getUpdatedPointsDictionary(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args,
                                                        const std::shared_ptr<KivoAxis>& axisX,
                                                        const std::shared_ptr<KivoAxis>& axisY, std::int32_t index,
                                                        std::span<const double> dx, std::span<const double> dy,
                                                        std::span<const double> prevVals, double time, double duration,
                                                        const KivoEasePtr& type, bool rotated) const;

    // The growth factor of the symbols and labels of series `index` in a frame whose eased scale is
    // `scale`: during a series-list change, the added series grows, the removed one shrinks, the others
    // and a replaced series stay whole.
    static double seriesListFactor(bool seriesCollectionUpdated, std::int64_t action, std::int64_t startingIndex,
                                   std::int64_t oldStartingIndex, std::int32_t index, double scale);
    // `start` moved toward `target` by `distance`.
    static double moveToward(double start, double target, double distance) {
        return start < target ? start + distance : start - distance;
    }

    static constexpr double DefaultLineWidth = 2.0;

protected:
    friend class OmbriChartTestAccess;

    // ---- Point moves of an update (pure but for the chart's saved values) ----
    // Each value coordinate (Y; X when rotated) moved from the list toward `dest` by the eased distance;
    // a missing one stays missing. Direction 0 gives empty lists.
    PointList _getPointsListForSeriesUpdated(std::span<const double> xs, std::span<const double> ys, std::span<const double> dest,
                                             double time, double duration, std::int64_t direction, const KivoEasePtr& type,
                                             bool rotated) const;
    // Each value coordinate moved away from the value axis by the eased distance to `bottom` (screen y
    // grows; rotated, screen x shrinks). Direction 0 gives empty lists.
    PointList _getPointsListForSeriesRemoved(std::span<const double> xs, std::span<const double> ys, double bottom, double time,
                                             double duration, std::int64_t direction, const KivoEasePtr& type,
                                             bool rotated) const;
    // The screen coordinate of a replaced value: from the old value under the old range toward the new
    // one; any other point at its new place.
    double _getDataYForCollectionViewReplaced(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args,
                                              const std::shared_ptr<KivoAxis>& axis, std::int32_t index, std::int32_t dataIndex,
                                              double value, double time, double duration, const KivoEasePtr& type,
                                              bool rotated) const;
    // The running stacked value at x a neighbour would have: the sum so far (plus y when `added`), or y
    // itself without an entry. Stores nothing.
    double _getStackedValue(bool stacked100, double x, double y, bool added, const StackDictionary& stackPos,
                            const StackDictionary& stackNeg) const;

    // Stamps the symbols of a dense series (made on first use, kept with its stamps from pass to pass);
    // drawSymbol hands it the symbols of the default path while one of its scopes is open.
    KIVO_CHART_NO_EXPORT kivo::detail::SymbolStamper& symbolStamper();

    bool _hasSymbols = false;
    bool _hasLines = true;
    bool _isSpline = false;
    double _defaultLineWidth = DefaultLineWidth;

    // The selected series as plotSeries kept it for redoSelection.
    std::shared_ptr<KivoRenderState> _selState;
    std::shared_ptr<KivoRenderState> _symState;
    std::vector<double> _selDataX, _selDataY;
    std::vector<std::int32_t> _symInts;

private:
    // A data label of the kept selected series, drawn after its symbols.
    struct KeptLabel {
        std::shared_ptr<KivoRect> rect;
        std::int32_t pointIndex = 0;
        double x = 0, y = 0;
        plat::Value text;
    };

    // Strokes a point list (a spline when isSpline) with the engine's current look; a missing point
    // breaks the line. A list far denser than the plot's pixel columns is reduced to each column's
    // extremes first.
    KIVO_CHART_NO_EXPORT void strokeLine(IKivoRenderEngine& engine, std::span<const double> xs, std::span<const double> ys) const;
    // The runs of present points of a point list, each one line (a spline unless `reduced`).
    KIVO_CHART_NO_EXPORT void strokeRuns(IKivoRenderEngine& engine, std::span<const double> xs, std::span<const double> ys,
                                         bool reduced) const;
    // Whether a series' pass only strokes its line: no symbols, labels or selection, nothing eased.
    KIVO_CHART_NO_EXPORT bool strokeOnly(const OmbriChart& owner, bool selected, std::int64_t action, bool listChanged,
                                         std::int32_t realIndex, const KivoNotifyCollectionChangedEventArgs& args,
                                         std::int64_t loadMode, const KivoEasePtr& easing) const;
    // Strokes a line far denser than the plot's pixel columns, placing its points from the columns and
    // reducing them as it goes, without keeping them: the block then places its entries on demand.
    // False (nothing drawn) when the line is not that dense or some point lacks a value or a place.
    KIVO_CHART_NO_EXPORT bool streamLine(IKivoRenderEngine& engine, kivo::detail::LinePointBlock& block, const KivoAxis& axisX,
                                         const KivoAxis& axisY, std::int64_t first, std::int64_t end) const;
    // Where point i (data x, y) is drawn in a frame of an item update, eased between old and new.
    KIVO_CHART_NO_EXPORT void updatedPosition(const kivo::detail::MoveFrame& frame, std::int64_t i, double x, double y,
                                              double& sx, double& sy) const;
    // The value coordinate a point had before a series-list update (the replaced series' value when
    // this series replaces another).
    KIVO_CHART_NO_EXPORT double previousValue(const kivo::detail::MoveFrame& frame, std::int64_t i, double y) const;
    KIVO_CHART_NO_EXPORT void forgetSelection();
    // The symbols (through their element path) and data labels of one series' pass; a selected series
    // keeps its symbols and labels for redoSelection.
    KIVO_CHART_NO_EXPORT void drawSymbolsAndLabels(const OmbriChart& owner, const std::shared_ptr<IKivoRenderEngine>& engine,
                                                   const kivo::detail::SeriesPass& pass);

    // A hit-area block for a series' pass: a kept one that nothing else holds any more (emptied),
    // else a new one, kept for later passes while there are few.
    KIVO_CHART_NO_EXPORT std::shared_ptr<kivo::detail::LinePointBlock> takeBlock(std::size_t expected);

    std::shared_ptr<KivoSeries> _selSeries;
    std::int32_t _selSeriesPos = -1;
    std::vector<KeptLabel> _selLabels;

    // Kept from pass to pass, so that redrawing a large series asks for no fresh memory: the blocks
    // that record each pass's points (screen positions, hit areas).
    std::vector<std::shared_ptr<kivo::detail::LinePointBlock>> _blocks;
    std::shared_ptr<kivo::detail::SymbolStamper> _symbolStamper;
};
