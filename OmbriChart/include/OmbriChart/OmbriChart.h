#pragma once
// The Cartesian chart control: columns, bars, lines, areas, scatter, bubbles and financial charts of
// the application's items, with axes, series, data labels, legend and tooltip, drawn by the chart
// base's pass through its render engine. A setter that changes the picture asks for a drawing pass
// (invalidate); one that changes the data, chart type, rotation, stacking or load animation also
// hides the tooltip and plays the load animation again.
//
// Sections: construction · parts · axes · series settings · animation · data · update state ·
// design-time data · what the base calls.

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

class KivoChartLineMarker;

class KIVO_CHART_EXPORT OmbriChart : public OmbriChartBase {
public:
    using AxisList = std::vector<std::shared_ptr<KivoAxis>>;
    // Running stacked sums by X value.
    using StackDictionary = std::map<double, double>;

    // ---- Construction ----
    static std::shared_ptr<OmbriChart> create(const plat::Rect& frame = {});

    // ---- Parts ----
    // The plot area of the last layout pass; nil before the first.
    const std::shared_ptr<KivoRect>& plotRect() const { return _plotRect; }
    // The chart area the last drawing pass handed to the layout; nil before the first.
    const std::shared_ptr<KivoRect>& plotterChart() const { return _plotterChart; }
    // Plain stores (the next pass that something else requests uses them).
    const std::shared_ptr<OmbriChartDataLabel>& dataLabel() const { return _dataLabel; }
    void setDataLabel(std::shared_ptr<OmbriChartDataLabel> label) { _dataLabel = std::move(label); }
    const std::shared_ptr<OmbriChartDataLabelRenderer>& dataLabelRenderer() const { return _dataLabelRenderer; }
    void setDataLabelRenderer(std::shared_ptr<OmbriChartDataLabelRenderer> renderer) { _dataLabelRenderer = std::move(renderer); }
    // nil until the line marker is in place; nil draws none.
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
    // Formats the axis labels; nil falls back to the default formatter. Stores only.
    const std::shared_ptr<IKivoValueFormatter>& valueFormatter() const { return _valueFormatter; }
    void setValueFormatter(std::shared_ptr<IKivoValueFormatter> formatter);
    // The view a binding layer supplies for one plot element. Stores only.
    const std::shared_ptr<plat::View>& customPlotElement() const { return _customPlotElement; }
    void setCustomPlotElement(std::shared_ptr<plat::View> view);
    // Raised per plot element when it has handlers.
    const std::shared_ptr<KivoEvent>& plotElementLoading() const { return _plotElementLoading; }
    void setPlotElementLoading(std::shared_ptr<KivoEvent> event) { _plotElementLoading = std::move(event); }

    // ---- Axes ----
    const std::shared_ptr<KivoAxis>& axisX() const { return _axisX; }
    const std::shared_ptr<KivoAxis>& axisY() const { return _axisY; }
    // Every axis: the primary X and Y axes first, then the axes the application added. The list may be
    // changed in place; setAxesArray redraws even for an equal list.
    AxisList& axesArray() { return _axesArray; }
    const AxisList& axesArray() const { return _axesArray; }
    void setAxesArray(AxisList axes);
    // The primary axes, X then Y.
    AxisList getAxes() const { return {_axisX, _axisY}; }

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
    // Set when the load animation has played out: the next passes draw without animating. Cleared by
    // whatever plays the load animation again.
    bool suppressAnimation() const { return _suppressAnimation; }
    void setSuppressAnimation(bool suppress) { _suppressAnimation = suppress; }

    // ---- Data ----
    // Both feed the chart base, start a new analysis, play the load animation again and redraw.
    void setItemsSource(plat::ArrayPtr items) override;
    void setCollectionView(std::shared_ptr<KivoCollectionView> view) override;
    // Category labels, X values and their KivoDataType as the binding found them.
    const std::vector<std::string>& xlabels() const { return _xlabels; }
    const plat::ArrayPtr& xvals() const { return _xvals; }
    std::int64_t xDataType() const { return _xDataType; }
    // The analysis shared with the plotters.
    const std::shared_ptr<KivoDataInfo>& dataInfo() const { return _dataInfo; }
    // The hit areas of the last pass.
    const std::shared_ptr<KivoHitTester>& hitTester() const { return _hitTester; }

    // ---- Update state (plain stores, written by the animation driver) ----
    bool beginPlotElementLoading() const { return _beginPlotElementLoading; }
    void setBeginPlotElementLoading(bool begin) { _beginPlotElementLoading = begin; }
    bool isHandleXFPlotElementLoading() const { return _isHandleXFPlotElementLoading; }
    void setIsHandleXFPlotElementLoading(bool handle) { _isHandleXFPlotElementLoading = handle; }
    const std::shared_ptr<KivoAnimation>& activeUpdateAnimation() const { return _activeUpdateAnimation; }
    void setActiveUpdateAnimation(std::shared_ptr<KivoAnimation> animation) { _activeUpdateAnimation = std::move(animation); }
    bool isUpdateTask1() const { return _isUpdateTask1; }
    void setIsUpdateTask1(bool running) { _isUpdateTask1 = running; }
    bool isUpdateTask2() const { return _isUpdateTask2; }
    void setIsUpdateTask2(bool running) { _isUpdateTask2 = running; }
    bool isSeriesCollectionUpdated() const { return _isSeriesCollectionUpdated; }
    void setIsSeriesCollectionUpdated(bool updated) { _isSeriesCollectionUpdated = updated; }
    bool isCollectionViewUpdated() const { return _isCollectionViewUpdated; }
    void setIsCollectionViewUpdated(bool updated) { _isCollectionViewUpdated = updated; }
    const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& updateEventArgs() const { return _updateEventArgs; }
    void setUpdateEventArgs(std::shared_ptr<KivoNotifyCollectionChangedEventArgs> args) { _updateEventArgs = std::move(args); }
    double prevAxisYMax() const { return _prevAxisYMax; }
    void setPrevAxisYMax(double v) { _prevAxisYMax = v; }
    double prevAxisYMin() const { return _prevAxisYMin; }
    void setPrevAxisYMin(double v) { _prevAxisYMin = v; }
    double prevAxisXMax() const { return _prevAxisXMax; }
    void setPrevAxisXMax(double v) { _prevAxisXMax = v; }
    double prevAxisXMin() const { return _prevAxisXMin; }
    void setPrevAxisXMin(double v) { _prevAxisXMin = v; }
    // Each series' values (one entry per series, nil for none) saved when a data update starts.
    const std::vector<plat::ArrayPtr>& prevXValsArray() const { return _prevXValsArray; }
    void setPrevXValsArray(std::vector<plat::ArrayPtr> values) { _prevXValsArray = std::move(values); }
    const std::vector<plat::ArrayPtr>& prevYValsArray() const { return _prevYValsArray; }
    void setPrevYValsArray(std::vector<plat::ArrayPtr> values) { _prevYValsArray = std::move(values); }
    // The absolute stacked sums saved when items are removed; nil otherwise.
    const std::shared_ptr<StackDictionary>& stackAbs() const { return _stackAbs; }
    void setStackAbs(std::shared_ptr<StackDictionary> sums) { _stackAbs = std::move(sums); }
    // Set by the first animated collection change; never cleared.
    bool isChartUpdate() const { return _isChartUpdate; }

    // ---- Design-time data ----
    // Three series (sales, expenses, downloads by country) over the shared demonstration records, with
    // animation off. Each call adds three more series over the same records.
    void prepareForInterfaceBuilder();

    // ---- What the base calls ----
    void setChartType(std::int64_t type) override;
    // A colour also becomes every axis' label colour; nil changes nothing else and does not redraw.
    void setTextColor(std::optional<plat::Color> color) override;
    void setSelection(std::shared_ptr<plat::Object> selection) override;

    static constexpr double DefaultSymbolSize = 10.0;
    static constexpr std::uint64_t NoItemLimit = std::numeric_limits<std::uint64_t>::max();
    // The smallest change of scale a pinch applies, zooming in and out.
    static constexpr double MinZoomInScaleDiff = 0.002;
    static constexpr double MinZoomOutScaleDiff = 0.0002;

protected:
    explicit OmbriChart(const plat::Rect& frame);
    // The chart's defaults, parts and subscriptions, after the base's.
    void initInternals() override;

    // Collection changes of the series list and of the bound items. Until the update animation is in
    // place they redraw without animating.
    virtual void onSeriesCollectionChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args);
    virtual void onCollectionViewChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args);

    // Written by the binding of the data.
    void setXlabels(std::vector<std::string> labels) { _xlabels = std::move(labels); }
    void setXvals(plat::ArrayPtr values) { _xvals = values ? std::move(values) : std::make_shared<plat::Array>(); }
    void setXDataType(std::int64_t type) { _xDataType = type; }
    // Written by the layout pass.
    void setPlotRect(std::shared_ptr<KivoRect> rect) { _plotRect = std::move(rect); }
    void setPlotterChart(std::shared_ptr<KivoRect> rect) { _plotterChart = std::move(rect); }
    void setIsReallyRotated(bool rotated) { _isReallyRotated = rotated; }

    // The list the axes return to when stacking is turned off; none while no stacking hid any axis.
    const std::optional<AxisList>& axesRestoreList() const { return _axesRestoreList; }

private:
    // The pieces of the setters: play the load animation again, hide the tooltip, start a new analysis.
    void replay() { _suppressAnimation = false; }
    void hideTooltip() const;
    void renewDataInfo() { _dataInfo = KivoDataInfo::create(); }
    void subscribeToSeries();

    std::shared_ptr<KivoRect> _plotRect;
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
    plat::ArrayPtr _xvals = std::make_shared<plat::Array>();
    std::int64_t _xDataType = 0;
    std::shared_ptr<IKivoValueFormatter> _valueFormatter;
    std::shared_ptr<plat::View> _customPlotElement;
    bool _beginPlotElementLoading = false;
    bool _isHandleXFPlotElementLoading = false;
    std::shared_ptr<KivoAnimation> _activeUpdateAnimation;
    bool _isUpdateTask1 = false;
    bool _isUpdateTask2 = false;
    bool _isSeriesCollectionUpdated = false;
    bool _isCollectionViewUpdated = false;
    std::shared_ptr<KivoNotifyCollectionChangedEventArgs> _updateEventArgs;
    double _prevAxisYMax = 0, _prevAxisYMin = 0, _prevAxisXMax = 0, _prevAxisXMin = 0;
    std::vector<plat::ArrayPtr> _prevXValsArray;
    std::vector<plat::ArrayPtr> _prevYValsArray;
    std::shared_ptr<StackDictionary> _stackAbs;
    bool _isChartUpdate = false;
    std::shared_ptr<KivoEvent> _plotElementLoading;

    // Internal state of the drawing pass and the animations.
    std::shared_ptr<KivoDataInfo> _dataInfo;
    std::shared_ptr<KivoHitTester> _hitTester;
    bool _suppressAnimation = false;
};
