#pragma once
// The Cartesian chart control: columns, bars, lines, areas, scatter, bubbles and financial charts of
// the application's items, with axes, series, data labels, legend and tooltip, drawn by the chart
// base's pass through its render engine. Changing anything visible schedules a redraw (invalidate);
// changing the data, chart type, rotation, stacking or load animation additionally hides the tooltip
// and replays the load animation.
//
// Sections: construction · parts · axes · layout · legend · series settings · animation · data ·
// update state · plotters · drawing pass · data preparation · series dispatch · animation driver ·
// design-time data · hit testing and touch · what the base calls.
//
// One drawing pass (render): background, border, titles and legend box; the data analysis and axis
// limits (prepareForRender); the layout of axes and plot area; the axes; the series by the animation
// state, each through the plotter of its chart type; the legend, the axes that lie above the series,
// the annotations and the line marker. Drawing happens only in this pass: setters, data changes and
// the animation clock just record what changed and call invalidate.

#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChartCore/KivoChartLoadAnimation.h"
#include "ChartCore/KivoHitTester.h"
#include "ChartCore/OmbriChartBase.h"
#include "KivoCore/IKivoValueFormatter.h"
#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoNotifyCollectionChangedEventArgs.h"
#include "KivoCore/KivoObservableArray.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "OmbriChart/OmbriChartDataLabel.h"
#include "OmbriChart/OmbriChartDataLabelRenderer.h"
#include "OmbriChart/OmbriChartEnums.h"
#include "OmbriChart/OmbriChartOptions.h"
#include "Platform/ui/gesture_recognizer.h"

class IKivoPlotter;
class KivoChartAnnotation;
class KivoChartDataPoint;
class KivoChartHitTestInfo;
class KivoChartLineMarker;
class KivoChartPlotElementEventArgs;
class KivoSeries;
namespace kivo::detail {
struct ChartState;
class ChartInternals;
class CategoryIndex;
}  // namespace kivo::detail
namespace plat {
class PanGestureRecognizer;
class PinchGestureRecognizer;
class TapGestureRecognizer;
}  // namespace plat

class KIVO_CHART_EXPORT OmbriChart : public OmbriChartBase, public plat::GestureRecognizerDelegate {
public:
    using AxisList = std::vector<std::shared_ptr<KivoAxis>>;
    // Running stacked sums by X value.
    using StackDictionary = KivoDataInfo::StackDictionary;

    // ---- Construction ----
    static std::shared_ptr<OmbriChart> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<OmbriChart> create(const plat::Coder& coder);
    ~OmbriChart() override;

    // ---- Parts ----
    // The plot area of the last layout pass; null before the first.
    const std::shared_ptr<KivoRect>& plotRect() const { return _plotRect; }
    // The chart area the last drawing pass handed to the layout; null before the first.
    const std::shared_ptr<KivoRect>& plotterChart() const { return _plotterChart; }
    // Plain stores (the next pass that something else requests uses them).
    const std::shared_ptr<OmbriChartDataLabel>& dataLabel() const { return _dataLabel; }
    void setDataLabel(std::shared_ptr<OmbriChartDataLabel> label) { _dataLabel = std::move(label); }
    const std::shared_ptr<OmbriChartDataLabelRenderer>& dataLabelRenderer() const { return _dataLabelRenderer; }
    void setDataLabelRenderer(std::shared_ptr<OmbriChartDataLabelRenderer> renderer) { _dataLabelRenderer = std::move(renderer); }
    // The line marker (made with the chart); null draws none.
    const std::shared_ptr<KivoChartLineMarker>& lineMarker() const { return _lineMarker; }
    void setLineMarker(std::shared_ptr<KivoChartLineMarker> marker) { _lineMarker = std::move(marker); }
    // The series in drawing order. Adding, removing or replacing one redraws the chart.
    const std::shared_ptr<KivoObservableArray>& series() const { return _series; }
    const std::shared_ptr<KivoObservableArray>& annotations() const { return _annotations; }
    void setAnnotations(std::shared_ptr<KivoObservableArray> annotations) { _annotations = std::move(annotations); }
    const std::shared_ptr<OmbriChartOptions>& options() const { return _options; }
    // A plain store; setChartOptions also redraws (always).
    void setOptions(std::shared_ptr<OmbriChartOptions> options) { _options = std::move(options); }
    void setChartOptions(std::shared_ptr<OmbriChartOptions> options);
    // Formats the axis labels; null falls back to the default formatter. Stores only.
    const std::shared_ptr<IKivoValueFormatter>& valueFormatter() const { return _valueFormatter; }
    void setValueFormatter(std::shared_ptr<IKivoValueFormatter> formatter);
    // The view a binding layer supplies for one plot element. Stores only.
    const std::shared_ptr<plat::View>& customPlotElement() const { return _customPlotElement; }
    void setCustomPlotElement(std::shared_ptr<plat::View> view);
    // Set by a binding layer that draws plot elements itself: the plotters then hand each element to
    // the delegate, when it answers for plot-element loading. A plain store.
    bool isHandleXFPlotElementLoading() const { return _isHandleXFPlotElementLoading; }
    void setIsHandleXFPlotElementLoading(bool handle) { _isHandleXFPlotElementLoading = handle; }
    // Raised per plot element when it has handlers.
    const std::shared_ptr<KivoEvent>& plotElementLoading() const { return _plotElementLoading; }
    void setPlotElementLoading(std::shared_ptr<KivoEvent> event) { _plotElementLoading = std::move(event); }

    // ---- Axes ----
    const std::shared_ptr<KivoAxis>& axisX() const { return _axisX; }
    const std::shared_ptr<KivoAxis>& axisY() const { return _axisY; }
    // Every axis: the primary X and Y axes first, then the axes the application added. setAxesArray
    // redraws even for an equal list.
    const AxisList& axesArray() const { return _axesArray; }
    void setAxesArray(AxisList axes);
    // The primary axes, X then Y.
    AxisList getAxes() const { return {_axisX, _axisY}; }
    // The axes in use: the first two of axesArray, then each further one that some series uses as its
    // axisX or axisY, once each, in axesArray order.
    AxisList getActualAxesArray() const;
    // The first axis of axesArray with that name; null for none.
    std::shared_ptr<KivoAxis> findAxis(const std::string& name) const;

    // ---- Layout ----
    // Sizes the axes in use around the plot area inside `rect` (what border, titles and legend left):
    // each axis takes the thickness it measures (at most 30 % of the area across it), the plot margin
    // stays free, and so does half the widest label at the ends of every axis. Sets plotRect, hands
    // every axis its band and the plot area, and keeps the axes it laid out (axesInUse).
    void layout(const std::shared_ptr<KivoRect>& rect, const std::shared_ptr<IKivoRenderEngine>& engine);
    // The number of layout passes so far.
    std::int64_t count() const { return _count; }
    // The axes in use as the first layout pass found them (empty before it).
    const AxisList& axisArr() const { return _axisArr; }
    // The axes the last layout pass laid out, in order.
    const AxisList& axesInUse() const { return _axesInUse; }

    // ---- Legend ----
    // The legend's items: one per series with a name and visibility 0 or 2, in series order. A legend
    // above or below the plot (orientation Auto) wraps them into rows no wider than legendWidth; the
    // first row starts at the legend's left, the others are centred on chartWidth.
    std::shared_ptr<KivoSize> getLegendDesiredSize(const std::shared_ptr<IKivoRenderEngine>& engine, bool isVertical) override;
    void renderLegend(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoPoint>& point, bool isVertical,
                      std::vector<std::shared_ptr<KivoRect>>& areas) override;
    // The width a row may take (narrowed to the first row's width once the items wrap), and the width
    // later rows are centred on; the drawing pass sets both before it measures the legend.
    double legendWidth() const { return _legendWidth; }
    double chartWidth() const { return _chartWidth; }
    // The state of the last measuring: the width of the row being filled, of the row just closed, the
    // row and column of the last item, and the width of every row after the first.
    double nextLineWidth() const { return _nextLineWidth; }
    double caculatedWidth() const { return _caculatedWidth; }
    std::int32_t legendRow() const { return _legendRow; }
    std::int32_t legendColumn() const { return _legendColumn; }
    const std::map<std::int32_t, double>& rowsWidth() const { return _rowsWidth; }

    // ---- Series settings ----
    // A KivoPlotterStacking code. A candlestick or high-low-open-close chart stores 0. Stacking the
    // series shows only the primary axes; turning it off brings back the axes shown before.
    std::int64_t stacking() const { return _stacking; }
    void setStacking(std::int64_t stacking);
    double symbolSize() const { return _symbolSize; }
    void setSymbolSize(double size);
    // Fill missing values by interpolation instead of breaking lines.
    bool interpolateNulls() const { return _interpolateNulls; }
    void setInterpolateNulls(bool interpolate);
    // Swap the axes.
    bool rotated() const { return _rotated; }
    void setRotated(bool rotated);
    // The outcome of the last rotation test of a drawing pass.
    bool isReallyRotated() const { return _isReallyRotated; }
    // Which axes a pinch zooms (KivoZoomMode). A plain store.
    std::int64_t zoomMode() const { return _zoomMode; }
    void setZoomMode(std::int64_t mode) { _zoomMode = mode; }
    // The paging window of the data analysis; all bits set: no limit.
    std::uint64_t maxItemsVisible() const { return _maxItemsVisible; }
    void setMaxItemsVisible(std::uint64_t count);

    // ---- Animation ----
    // A plain store: no drawing pass of its own.
    bool isAnimated() const { return _isAnimated; }
    void setIsAnimated(bool animated) { _isAnimated = animated; }
    const std::shared_ptr<KivoChartLoadAnimation>& loadAnimation() const { return _loadAnimation; }
    void setLoadAnimation(std::shared_ptr<KivoChartLoadAnimation> animation);
    // Stores only.
    const std::shared_ptr<KivoAnimation>& updateAnimation() const { return _updateAnimation; }
    void setUpdateAnimation(std::shared_ptr<KivoAnimation> animation);
    // The easing a drawing pass animates with: the running update's or the load animation's, or none
    // while animation is suppressed or off, or when that animation takes no time.
    KivoEasePtr getEasing() const;

    // ---- Update state (read-only: only the chart's own update steps change it) ----
    // The animation pacing the running update; the running update task (1 replays a change, 2 follows
    // it for bars, financial elements and bubbles) and what it replays.
    const std::shared_ptr<KivoAnimation>& activeUpdateAnimation() const;
    bool isUpdateTask1() const;
    bool isUpdateTask2() const;
    bool isSeriesCollectionUpdated() const;
    bool isCollectionViewUpdated() const;
    const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs() const;
    // The axes' bounds saved when the running update began.
    double prevAxisXMin() const;
    double prevAxisXMax() const;
    double prevAxisYMin() const;
    double prevAxisYMax() const;
    // Each series' X and Y values saved when a data update began, in series order (NaN: no number).
    std::vector<std::vector<double>> prevXValsArray() const;
    std::vector<std::vector<double>> prevYValsArray() const;
    // The absolute stacked sums saved when items were removed; null otherwise.
    std::shared_ptr<const KivoDataInfo::StackDictionary> stackAbs() const;
    // Set by the first animated change of the items or series; never cleared.
    bool isChartUpdate() const;
    // The load animation has ended.
    bool beginPlotElementLoading() const;

    // ---- Data ----
    // Both feed the chart base, start a new analysis, play the load animation again and redraw.
    void setItemsSource(plat::ArrayPtr items) override;
    void setCollectionView(std::shared_ptr<KivoCollectionView> view) override;
    // Category labels, X values and their KivoDataType as the binding found them. The X values are
    // boxed at the first ask after a change of the data (the chart itself reads their numbers).
    const std::vector<std::string>& xlabels() const { return _xlabels; }
    KivoValues xvals() const;
    std::int64_t xDataType() const { return _xDataType; }
    // The analysis shared with the plotters.
    const std::shared_ptr<KivoDataInfo>& dataInfo() const { return _dataInfo; }
    // The hit areas of the last pass.
    const std::shared_ptr<KivoHitTester>& hitTester() const { return _hitTester; }

    // ---- Plotters ----
    // The plotter families; each serves the chart types of its name (bar: 1, 2; line: 4, 5, 10, 11; area:
    // 6, 12; bubble: 3, 7; finance: 8, 9).
    enum class PlotterFamily { Bar, Line, Area, Bubble, Finance };
    // The chart's plotter of each family, made on first use and kept for the chart's lifetime; every one
    // shares the chart's data info and hit tester.
    const std::shared_ptr<IKivoPlotter>& barPlotter() { return plotter(PlotterFamily::Bar); }
    const std::shared_ptr<IKivoPlotter>& linePlotter() { return plotter(PlotterFamily::Line); }
    const std::shared_ptr<IKivoPlotter>& areaPlotter() { return plotter(PlotterFamily::Area); }
    const std::shared_ptr<IKivoPlotter>& bubblePlotter() { return plotter(PlotterFamily::Bubble); }
    const std::shared_ptr<IKivoPlotter>& financePlotter() { return plotter(PlotterFamily::Finance); }
    // Whether `series` is the selected series itself (never a look-alike of the same name and binding).
    bool isSeriesSelected(const std::shared_ptr<KivoSeries>& series) const;
    // Raises plotElementLoading with the chart as sender, when it has handlers.
    void onPlotElementLoading(const std::shared_ptr<KivoChartPlotElementEventArgs>& args);
    // The value to draw for a missing entry at `index` of `values` (entries that are not finite numbers
    // are missing): the mean of the nearest valid neighbours before and after it (after it up to
    // `count`), the one neighbour when only one side has a valid value, NaN when neither has.
    double getInterpolatedValue(const KivoValues& values, std::int32_t index, std::int32_t count) const;
    // An OmbriChartType that a plotter draws (1…12).
    static bool isDrawableChartType(std::int64_t type) {
        return type >= OmbriChartTypeColumn && type <= OmbriChartTypeSplineArea;
    }

    // ---- Drawing pass ----
    // The chart base's rendering event, the base's part of the pass, the chart's pass, then the
    // rendered event. The delegate hears rendering: twice per pass and rendered: once per finished
    // picture (never on a frame of an update, nor on a pass that starts an animation).
    void render(const std::shared_ptr<IKivoRenderEngine>& engine) override;
    // Whether some series has items of its own (at least one).
    bool seriesHaveItemSource() const;
    // The legend box of the last pass; null when none was drawn.
    const std::shared_ptr<KivoRect>& rectLegend() const { return _rectLegend; }

    // ---- Data preparation ----
    // Analyses the drawn series into the data info with the chart-type plotter's stacking and hands
    // the data rectangle the plotters report to the X and Y axes as their limits (the bar plotter's
    // when some series is a column series), then places the axes' crossings.
    void prepareForRender();
    // Draws the axes of the pass when there is any series: the primary ones, and each added axis that
    // was laid out, after fitting its limits to the series that use it.
    void renderAddedAxes(const std::shared_ptr<IKivoRenderEngine>& engine);
    // New data: every series without items of its own reads its values again; the X values of the
    // items under bindingX go into xvals (numbers, dates as seconds; an item without a value is a gap:
    // NaN) or, when some value is neither, into xlabels as texts; then prepareForRender.
    void bindChart() override;
    // Every series without items of its own drops its values, to read the chart's items again.
    void clearSeries();

    // ---- Series dispatch ----

    // ---- Animation driver ----

    // ---- Design-time data ----
    // Three series (sales, expenses, downloads by country) over the shared demonstration records, with
    // animation off. Each call adds three more series over the same records.
    void prepareForInterfaceBuilder();

    // ---- Hit testing and touch ----
    // What lies at a point of the view: header or footer, then the legend (with its series), then the
    // annotations (the last added first), outside the chart, and else the nearest hit area with its
    // data point, series and distance (element 0 in the plot area, 1 or 2 on an axis band, 3 elsewhere).
    // A found area is reported whatever its distance.
    std::shared_ptr<KivoChartHitTestInfo> hitTest(const std::shared_ptr<KivoPoint>& point);
    // View point ↔ data values: x always through axisX and y through axisY, rotated or not.
    std::shared_ptr<KivoPoint> pointToData(const std::shared_ptr<KivoPoint>& point);
    std::shared_ptr<KivoPoint> dataToPoint(const std::shared_ptr<KivoPoint>& point);
    // The value behind a point for the tooltip: dimension 0 the series' value, 1 its X (the chart's
    // category label or X value when the series has none), higher ones the series' further values.
    // Formatted through the axis of the dimension; dates as the stored seconds; a category label as its
    // text. Null for an index outside the data.
    plat::Value getHitTestInfoValue(std::int32_t dimension, bool formatted, std::int32_t pointIndex,
                                    const std::shared_ptr<plat::Object>& series) override;
    // For each series with hit areas, its point nearest to the view point along the category direction
    // (ties to the area added last), with value and dataX as on an upright chart; null outside rectChart.
    std::optional<std::vector<std::shared_ptr<KivoChartDataPoint>>> getDataPointsAroundPoint(double x, double y);
    // What each recogniser does. Tap: hit test, delegate call, tooltip, selection, a legend item's series
    // shown or hidden, the line marker moved there. Pan: zoomed axes scroll, the marker follows the
    // finger. Pinch: zooms whichever axes zoomMode lets it.
    void respondToTapGesture(plat::GestureRecognizer& recognizer);
    void respondToPanGesture(plat::GestureRecognizer& recognizer);
    void respondToPinchGesture(plat::GestureRecognizer& recognizer);
    // The pan hears touches only while there is something to drag (an interactive visible marker) or to
    // scroll (a zoomed axis); the other recognisers always do.
    bool gestureRecognizerShouldReceiveTouch(plat::GestureRecognizer& recognizer, const plat::Touch& touch) override;
    const std::shared_ptr<plat::TapGestureRecognizer>& tapRecognizer() const { return _tapRecognizer; }
    const std::shared_ptr<plat::PanGestureRecognizer>& panRecognizer() const { return _panRecognizer; }
    const std::shared_ptr<plat::PinchGestureRecognizer>& pinchRecognizer() const { return _pinchRecognizer; }

    // Within this distance of a point a tap selects it or shows its tooltip.
    static constexpr double TapRadius = 5.0;
    // How far beyond half its width a marker line can be grabbed.
    static constexpr double MarkerDragBand = 25.0;

    // ---- What the base calls ----
    void setChartType(std::int64_t type) override;
    // A colour also becomes every axis' label colour; null changes nothing else and does not redraw.
    void setTextColor(std::optional<plat::Color> color) override;
    void setSelection(std::shared_ptr<plat::Object> selection) override;
    // No series, or none drawn (every visibility 2 or 3).
    bool isAllSeriesHidden() const override;
    // The nearest hit area of the series at `seriesIndex` to `point` (in the view's coordinates): always
    // a result, with the area's data point, distance and series when one is found.
    std::shared_ptr<KivoChartHitTestInfo> hitTestSeries(const std::shared_ptr<KivoPoint>& point, std::int32_t seriesIndex);

    static constexpr double DefaultSymbolSize = 10.0;
    static constexpr std::uint64_t NoItemLimit = std::numeric_limits<std::uint64_t>::max();
    // The smallest change of scale a pinch applies, zooming in and out.
    static constexpr double MinZoomInScaleDiff = 0.002;
    static constexpr double MinZoomOutScaleDiff = 0.0002;

protected:
    explicit OmbriChart(const plat::Rect& frame);
    // The chart's defaults, parts and subscriptions, after the base's.
    void initInternals() override;

    // Collection changes of the series list and of the bound items. After the first pass with items, on
    // an animated chart, each starts an update animation from the old state; otherwise (and for a
    // replace of items while the first task runs) the change is drawn at once.
    virtual void onSeriesCollectionChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args);
    virtual void onCollectionViewChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args);

    // Makes the chart's plotter of a family. A subclass may hand in its own.
    virtual std::shared_ptr<IKivoPlotter> makePlotter(PlotterFamily family);

    // Written by the binding of the data.
    void setXlabels(std::vector<std::string> labels) { _xlabels = std::move(labels); }
    void setXvals(plat::ArrayPtr values);
    void setXDataType(std::int64_t type) { _xDataType = type; }
    // Written by the drawing pass before it measures the legend.
    void setLegendWidth(double width) { _legendWidth = width; }
    void setChartWidth(double width) { _chartWidth = width; }
    // Written by the layout pass.
    void setPlotRect(std::shared_ptr<KivoRect> rect) { _plotRect = std::move(rect); }
    void setPlotterChart(std::shared_ptr<KivoRect> rect) { _plotterChart = std::move(rect); }
    void setIsReallyRotated(bool rotated) { _isReallyRotated = rotated; }

    // The list the axes return to when stacking is turned off; none while no stacking hid any axis.
    const std::optional<AxisList>& axesRestoreList() const { return _axesRestoreList; }

private:
    friend class kivo::detail::ChartInternals;
    friend class OmbriChartTestAccess;

    // The plotter of the series' effective chart type (its own when not 0, else the chart's; null series:
    // the chart's) with that type's variant flags and the chart's rotation written; null for a type
    // outside 1…12, which no plotter draws.
    KIVO_CHART_NO_EXPORT std::shared_ptr<IKivoPlotter> _getPlotter(const std::shared_ptr<KivoSeries>& series);
    // Resets every plotter made so far (area, bar, line, bubble, finance); makes none.
    KIVO_CHART_NO_EXPORT void _clearPlotters();
    KIVO_CHART_NO_EXPORT void _render(const std::shared_ptr<IKivoRenderEngine>& engine);
    // rotated XOR (chart type 2, Bar); kept as isReallyRotated.
    KIVO_CHART_NO_EXPORT bool _isRotated();
    KIVO_CHART_NO_EXPORT bool _canZoomX() const { return _zoomMode == KivoZoomModeX || _zoomMode == KivoZoomModeXY; }
    KIVO_CHART_NO_EXPORT bool _canZoomY() const { return _zoomMode == KivoZoomModeY || _zoomMode == KivoZoomModeXY; }
    // ---- Hit testing and touch ----
    KIVO_CHART_NO_EXPORT std::shared_ptr<KivoChartHitTestInfo> _hitTest(double x, double y);
    KIVO_CHART_NO_EXPORT std::shared_ptr<KivoPoint> _pointToData(double x, double y);
    KIVO_CHART_NO_EXPORT std::shared_ptr<KivoPoint> _dataToPoint(double x, double y);
    // The last added annotation that contains the point (control coordinates), or null.
    KIVO_CHART_NO_EXPORT std::shared_ptr<KivoChartAnnotation> _getHittedAnnotation(const std::shared_ptr<KivoPoint>& point) const;
    // Stores the selection; in point mode the collection view's current position follows it.
    KIVO_CHART_NO_EXPORT void _select(const std::shared_ptr<KivoSeries>& series, std::int32_t index);
    // The tooltip's text and the facts handed to a delegate that draws its own tooltip.
    KIVO_CHART_NO_EXPORT std::string _getTooltipText(std::int64_t chartType, const plat::Value& xValue, const plat::Value& yValue,
                                                     const std::shared_ptr<KivoChartDataPoint>& dataPoint,
                                                     const std::shared_ptr<KivoSeries>& htSeries);
    KIVO_CHART_NO_EXPORT plat::ArrayPtr _getCustomizedTooltipData(std::int64_t chartType, const plat::Value& xValue,
                                                                  const plat::Value& yValue,
                                                                  const std::shared_ptr<KivoChartDataPoint>& dataPoint);
    // The steps of the gestures, by the values the recognisers carry.
    KIVO_CHART_NO_EXPORT void tapAt(double x, double y);
    KIVO_CHART_NO_EXPORT void showTapTooltip(const KivoChartHitTestInfo& info, double x, double y, bool showTip);
    KIVO_CHART_NO_EXPORT void selectFromTap(const std::shared_ptr<KivoChartHitTestInfo>& info);
    KIVO_CHART_NO_EXPORT bool panShouldReceiveTouch() const;
    KIVO_CHART_NO_EXPORT void scrollBy(double dx, double dy);
    KIVO_CHART_NO_EXPORT void zoomBy(plat::GestureRecognizerState state, double x, double y, double scale);
    KIVO_CHART_NO_EXPORT void _panLineMarker(plat::GestureRecognizerState state, double x, double y);
    KIVO_CHART_NO_EXPORT void attachRecognizers();
    // The position in `series` of the series the legend shows as its item `item` (the legend lists only
    // named series of visibility 0 or 2); -1 for none.
    KIVO_CHART_NO_EXPORT std::int32_t legendItemSeries(std::int32_t item) const;

    // Each annotation in order (the count read again after each one).
    KIVO_CHART_NO_EXPORT void _renderAnnotations(const std::shared_ptr<IKivoRenderEngine>& engine);
    // The line marker's lines across `plotRect` at its point, kept inside the plot area by half their
    // width; nothing for a missing or hidden marker or one at no position.
    KIVO_CHART_NO_EXPORT void _renderMarkerLines(const std::shared_ptr<IKivoRenderEngine>& engine,
                                                 const std::shared_ptr<KivoRect>& plotRect);
    // The frame's series by the load animation's mode: series by series (2), point by point (1), all at
    // once (others, and any mode when the load animation takes no time). `t` is seconds from the end of
    // the start delay.
    KIVO_CHART_NO_EXPORT void _renderSeries(double t);
    KIVO_CHART_NO_EXPORT void _renderByAll(double t);
    KIVO_CHART_NO_EXPORT void _renderBySeries(double t);
    KIVO_CHART_NO_EXPORT void _renderByPoint(double t);
    // Among `series`, those of effective type `seriesChartType` (hidden ones too), and the rank of the
    // one at `index` among them (-1 for a negative index).
    KIVO_CHART_NO_EXPORT std::int32_t _getRealSeriesCount(std::int64_t chartType, std::int64_t seriesChartType,
                                                          const plat::Array& series) const;
    KIVO_CHART_NO_EXPORT std::int32_t _getRealSeriesIndex(std::int64_t chartType, std::int64_t seriesChartType,
                                                          const plat::Array& series, std::int32_t index) const;
    // The drawn series of `series`, and a series being hidden or removed while the first task of its
    // removal runs.
    KIVO_CHART_NO_EXPORT std::int32_t _getSeriesRealLen(const plat::Array& series) const;
    // Each start first stops every running task. The load task reveals the series; update task 1
    // replays a change, task 2 follows it for bar and finance charts (and scatter and bubble charts
    // after a data change) when one series was added or removed.
    KIVO_CHART_NO_EXPORT void _startLoadingAnimationTask();
    KIVO_CHART_NO_EXPORT void _startUpdateSeriesAnimationTask1();
    KIVO_CHART_NO_EXPORT void _startUpdateSeriesAnimationTask2();
    // The animation that paces update task 1 (true) or 2 (false) for the change in updateEventArgs.
    KIVO_CHART_NO_EXPORT std::shared_ptr<KivoAnimation> _getActiveUpdateAnimation(bool task1) const;

    // The pieces of the setters: play the load animation again, hide the tooltip, start a new analysis.
    KIVO_CHART_NO_EXPORT void replay();
    KIVO_CHART_NO_EXPORT void hideTooltip() const;
    // A new analysis, which every plotter made so far shares at once.
    KIVO_CHART_NO_EXPORT void renewDataInfo();
    KIVO_CHART_NO_EXPORT void subscribeToSeries();
    KIVO_CHART_NO_EXPORT const std::shared_ptr<IKivoPlotter>& plotter(PlotterFamily family);
    // Every plotter created up to now (area, bar, line, bubble, finance, skipping those never made).
    KIVO_CHART_NO_EXPORT std::vector<IKivoPlotter*> madePlotters() const;

    // The pieces of the drawing pass.
    KIVO_CHART_NO_EXPORT void drawFrame(IKivoRenderEngine& engine, KivoRect& content) const;
    KIVO_CHART_NO_EXPORT std::shared_ptr<KivoSize> placeLegend(const std::shared_ptr<IKivoRenderEngine>& engine,
                                                               KivoRect& content, KivoPoint& at);
    KIVO_CHART_NO_EXPORT bool renderSeriesByState();
    KIVO_CHART_NO_EXPORT void renderAxesAbove(const std::shared_ptr<IKivoRenderEngine>& engine);
    KIVO_CHART_NO_EXPORT void updateAxisOffsets();
    KIVO_CHART_NO_EXPORT void updateAxisLimits(KivoAxis& axis, bool categories, const KivoDataInfo& info, double min, double max,
                                               std::int64_t dataType);
    // The pieces of the dispatch.
    KIVO_CHART_NO_EXPORT double plotterOrigin(const KivoSeries& series, const IKivoPlotter& plotter) const;
    KIVO_CHART_NO_EXPORT bool isPlottedByAll(const KivoSeries& series) const;
    KIVO_CHART_NO_EXPORT bool hasMixedTypes(const plat::Array& series) const;
    KIVO_CHART_NO_EXPORT std::int64_t effectiveType(const KivoSeries& series) const;
    KIVO_CHART_NO_EXPORT std::int32_t lastPointIndex() const;
    KIVO_CHART_NO_EXPORT void beginSeriesPass();
    KIVO_CHART_NO_EXPORT void plot(IKivoPlotter& plotter, const std::shared_ptr<KivoSeries>& series, std::int32_t index,
                                   std::int32_t realIndex, std::int32_t count, std::int64_t type);
    // Draws the series at `position` of `array` as number `index` of the frame: with one plotter among
    // `count`; with mixed types ranked among its own type.
    KIVO_CHART_NO_EXPORT void plotInFrame(IKivoPlotter& plotter, const std::shared_ptr<KivoSeries>& series, std::size_t position,
                                          const plat::Array& array, bool mixed, std::int32_t count, std::int32_t index);
    KIVO_CHART_NO_EXPORT void finishFrame(bool mixed, const std::shared_ptr<IKivoPlotter>& last);
    // The pieces of the animation driver. A task runs on the shared driver for its animation's start
    // delay plus duration; each tick past the delay asks for a frame, and the task's end step runs
    // once it has played out.
    using TaskEnd = void (OmbriChart::*)();
    KIVO_CHART_NO_EXPORT void runTask(const KivoAnimation* animation, TaskEnd end);
    KIVO_CHART_NO_EXPORT void stopAllLinks();
    KIVO_CHART_NO_EXPORT void _loadingAnimationTask();
    KIVO_CHART_NO_EXPORT void _updateSeriesAnimationTask1();
    KIVO_CHART_NO_EXPORT void _updateSeriesAnimationTask2();
    KIVO_CHART_NO_EXPORT void beginUpdate(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args);
    KIVO_CHART_NO_EXPORT void rebuildSeriesArrayForUpdate();
    KIVO_CHART_NO_EXPORT bool canAnimateChange() const;

    std::shared_ptr<KivoRect> _plotRect;
    std::int64_t _count = 0;
    AxisList _axisArr;
    AxisList _axesInUse;
    double _legendWidth = 0;
    double _chartWidth = 0;
    double _nextLineWidth = 0;
    double _caculatedWidth = 0;
    std::int32_t _legendRow = 0;
    std::int32_t _legendColumn = 0;
    std::map<std::int32_t, double> _rowsWidth;
    std::shared_ptr<KivoRect> _plotterChart;
    std::shared_ptr<OmbriChartDataLabel> _dataLabel;
    std::shared_ptr<OmbriChartDataLabelRenderer> _dataLabelRenderer;
    std::shared_ptr<KivoChartLineMarker> _lineMarker;
    std::shared_ptr<KivoObservableArray> _series;
    std::shared_ptr<KivoObservableArray> _annotations;
    AxisList _axesArray;
    std::optional<AxisList> _axesRestoreList;
    std::shared_ptr<KivoAxis> _axisX;
    std::shared_ptr<KivoAxis> _axisY;
    std::int64_t _stacking = KivoPlotterStackingNone;
    double _symbolSize = DefaultSymbolSize;
    bool _interpolateNulls = false;
    bool _isReallyRotated = false;
    bool _rotated = false;
    bool _isAnimated = true;
    std::shared_ptr<KivoChartLoadAnimation> _loadAnimation;
    std::shared_ptr<KivoAnimation> _updateAnimation;
    std::uint64_t _maxItemsVisible = NoItemLimit;
    std::int64_t _zoomMode = KivoZoomModeNone;
    std::shared_ptr<OmbriChartOptions> _options;
    std::vector<std::string> _xlabels;
    std::int64_t _xDataType = 0;
    std::shared_ptr<IKivoValueFormatter> _valueFormatter;
    std::shared_ptr<plat::View> _customPlotElement;
    std::shared_ptr<KivoEvent> _plotElementLoading;
    bool _isHandleXFPlotElementLoading = false;
    // The animation and update state.
    std::unique_ptr<kivo::detail::ChartState> _state;

    // The drawing pass's analysis and hit areas.
    std::shared_ptr<KivoDataInfo> _dataInfo;
    std::shared_ptr<KivoHitTester> _hitTester;
    std::shared_ptr<IKivoPlotter> _barPlotter, _linePlotter, _areaPlotter, _bubblePlotter, _financePlotter;
    std::shared_ptr<KivoRect> _rectLegend;
    // The analysis of the series of one added axis.
    std::shared_ptr<KivoDataInfo> _addedAxisInfo = KivoDataInfo::create();

    // Touch: the recognisers, the marker lines being dragged, and the category positions of the hit
    // areas, built on the first search for data points after a pass.
    std::shared_ptr<plat::TapGestureRecognizer> _tapRecognizer;
    std::shared_ptr<plat::PanGestureRecognizer> _panRecognizer;
    std::shared_ptr<plat::PinchGestureRecognizer> _pinchRecognizer;
    bool _isHorizontalLineDrag = false;
    bool _isVerticalLineDrag = false;
    std::unique_ptr<kivo::detail::CategoryIndex> _categoryIndex;
};
