#pragma once
// The plotter of area (6) and spline-area (12) charts: each series is filled between its top line and
// a bottom edge (the value axis' origin, or the running total of the series stacked below it), with a
// hit area per point, its symbols through the element hooks and its data labels; a selected series is
// kept aside and drawn last, on top; the points ease through the chart's load and update animations.
//
// Sections: construction · variant flag · IKivoPlotter · animation · symbols and labels.
// The drawing pass lives in KivoAreaPlotter.cpp, its animation in KivoAreaPlotterAnimation.cpp, the
// symbols, labels and selection redraw in KivoAreaPlotterMarks.cpp.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "KivoCore/IKivoEaseAction.h"
#include "OmbriChart/KivoBasePlotter.h"
#include "OmbriChart/KivoLinePlotter.h"
#include "OmbriChart/KivoOmbriChartExport.h"

class KivoNotifyCollectionChangedEventArgs;
class KivoRenderState;
namespace kivo::detail {
struct LinePointBlock;
}  // namespace kivo::detail

class KIVO_CHART_EXPORT KivoAreaPlotter : public KivoBasePlotter {
public:
    // Screen coordinates in drawing order; NaN where a point has no coordinate.
    using PointList = KivoLinePlotter::PointList;

    // ---- Construction ----
    // Not stacked, not rotated, straight; symbol size, origin, time and point count 0 until the chart
    // writes them.
    KivoAreaPlotter(const std::shared_ptr<OmbriChart>& chart, std::shared_ptr<KivoDataInfo> dataInfo,
                    std::shared_ptr<KivoHitTester> hitTester);
    static std::shared_ptr<KivoAreaPlotter> create(const std::shared_ptr<OmbriChart>& chart,
                                                   std::shared_ptr<KivoDataInfo> dataInfo,
                                                   std::shared_ptr<KivoHitTester> hitTester) {
        return std::make_shared<KivoAreaPlotter>(chart, std::move(dataInfo), std::move(hitTester));
    }

    // ---- Variant flag (a plain store): smooth top lines ----
    bool isSpline() const { return _isSpline; }
    void setIsSpline(bool spline) { _isSpline = spline; }

    // ---- IKivoPlotter ----
    // The data info's extremes, each minimum lowered to the origin of the chart's axis for it where
    // that axis has one; X and Y exchanged when rotated. The log base is not read.
    std::shared_ptr<KivoRect> adjustLimits(const std::shared_ptr<KivoDataInfo>& dataInfo, std::optional<double> logBase) override;
    // One series: its points (stacked into stackPos, negatives included), a circular hit area of radius
    // 5 per point, the top line and the filled area, then symbols and labels. A selected series keeps
    // its look and outline for redoSelection. `index` 0 starts the pass' stacks; the previous values
    // of an update are read at the series' position in the chart's series.
    void plotSeries(const std::shared_ptr<KivoSeries>& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index,
                    std::int32_t realIndex, std::int32_t count, std::int32_t selectedIndex, std::int64_t chartType,
                    StackDictionary& stackPos, StackDictionary& stackNeg) override;
    // Draws the kept selected series in its look, its outline stroked closed, then its labels when the
    // chart shows labels, and forgets it; nothing when no selected series was plotted.
    void redoSelection(const std::shared_ptr<IKivoRenderEngine>& engine) override;

    // The radius of a point's hit area.
    static constexpr double HitRadius = 5.0;

protected:
    friend class OmbriChartTestAccess;

    // ---- Animation ----
    // The time, duration and last point index of this frame for a series: an update's, a
    // point-by-point load's (the revealed count), a series-by-series load's or the load's.
    void _getAnimationInfo(const std::shared_ptr<KivoSeries>& series, double& time, double& duration, std::int32_t& count) const;
    PointList _getPointsListForSeriesUpdated(std::span<const double> xs, std::span<const double> ys, std::span<const double> dest,
                                             double time, double duration, std::int64_t direction, const KivoEasePtr& type,
                                             bool rotated) const;
    PointList _getPointsListForSeriesRemoved(std::span<const double> xs, std::span<const double> ys, double bottom, double time,
                                             double duration, std::int64_t direction, const KivoEasePtr& type,
                                             bool rotated) const;
    // The value coordinate of a data point while an item replacement runs: the replaced one eases from
    // its old value (read at `savedAt` in the chart's saved lists; missing: no motion), others stand.
    double _getDataYForCollectionViewReplaced(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args,
                                              const std::shared_ptr<KivoAxis>& axis, std::int32_t savedAt, std::int32_t dataIndex,
                                              double value, double time, double duration, const KivoEasePtr& type,
                                              bool rotated) const;
    // The running stacked value at x a neighbour has: the sum so far (plus y, or its share when stacked
    // 100 %, when `added`), or that value alone without an entry. Stores nothing.
    double _getStackedValue(bool stacked100, double x, double y, bool added, const StackDictionary& stackPos,
                            const StackDictionary& stackNeg) const;

    // ---- Symbols and labels ----
    // Hands each drawn position to the element hooks of path `type` (the event, or the host's hook with
    // the custom view centred on the point); draws nothing itself.
    void _drawAreaSymbol(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoSeries>& series,
                         std::span<const double> dx, std::span<const double> dy, std::int64_t type);
    // The data point behind a drawn position, as the point loop placed it: its index and its X and Y
    // (a filled gap's Y, before stacking).
    struct LabelPoint {
        std::int32_t index = 0;
        double x = 0, y = 0;
    };
    // One label per drawn position that a point placed: `points[k]` is the point behind position k
    // (positions beyond them get none); value, X and X text are that point's.
    void _drawDataLabels(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoSeries>& series,
                         std::span<const double> dx, std::span<const double> dy, std::span<const LabelPoint> points);

private:
    bool _isSpline = false;

    // The stored top lines of the stacked series of a pass, by series index, and the one being drawn.
    std::map<std::int32_t, std::vector<double>> _stackXValuesDict, _stackYValuesDict;
    std::vector<double> _stackXValues, _stackYValues;

    // The selected series as plotSeries kept it: its look, its top line (labels) and its outline.
    std::shared_ptr<KivoRenderState> _selState;
    std::vector<double> _selDataX1, _selDataY1, _selDataX2, _selDataY2;
    std::vector<LabelPoint> _selLabels;
    std::shared_ptr<KivoSeries> _selSeries;
    bool _selReduced = false;

    // Kept from pass to pass: the blocks that record each pass's points and hit areas.
    std::vector<std::shared_ptr<kivo::detail::LinePointBlock>> _blocks;
};
