#pragma once
// The base of every plotter: the frame's settings the chart writes before each series, the default
// data rectangle, the count of drawn series, the selection test, a loop over a series list, and the
// element drawing paths through which a plotter draws each plot element (the default renderer, the
// chart's plotElementLoading event, or the host's delegate hook). plotSeries and redoSelection must be
// overridden: the base throws.
//
// The plotter holds its chart weakly (the chart owns its plotters) and the chart's data info and hit
// tester strongly.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "OmbriChart/IKivoPlotter.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "OmbriChart/OmbriChartEnums.h"
#include "Platform/foundation/object.h"

class BasePlotElementRender;
class KivoChartDataPoint;
class KivoChartPlotElementEventArgs;

class KIVO_CHART_EXPORT KivoBasePlotter : public plat::Object, public IKivoPlotter {
public:
    // Sets the chart; no data info or hit tester, stacking 0, not rotated, symbol size 8, origin 0.
    explicit KivoBasePlotter(const std::shared_ptr<OmbriChart>& chart);
    static std::shared_ptr<KivoBasePlotter> create(const std::shared_ptr<OmbriChart>& chart) {
        return std::make_shared<KivoBasePlotter>(chart);
    }

    // ---- IKivoPlotter ----
    // Nothing to reset here.
    void clear() override {}
    // The data info's extremes (NaN ones pass through), X and Y exchanged when rotated; the log base is
    // not read.
    std::shared_ptr<KivoRect> adjustLimits(const std::shared_ptr<KivoDataInfo>& dataInfo, std::optional<double> logBase) override;
    // Throws: a plotter draws its own selection.
    void redoSelection(const std::shared_ptr<IKivoRenderEngine>& engine) override;
    std::int32_t getRealLen(const plat::Array& series) const override;
    // Throws: a plotter draws its own series.
    void plotSeries(const std::shared_ptr<KivoSeries>& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index,
                    std::int32_t realIndex, std::int32_t count, std::int32_t selectedIndex, std::int64_t chartType,
                    StackDictionary& stackPos, StackDictionary& stackNeg) override;
    // Every drawn series with index and realIndex its number among them, count their number,
    // selectedIndex `elementIndex` and the chart's type; then redoSelection once. `selectedSeries` is
    // not read.
    void plotSeriesCollection(const plat::Array& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                              const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY,
                              const std::shared_ptr<plat::Object>& selectedSeries, std::int32_t elementIndex,
                              StackDictionary& stackPos, StackDictionary& stackNeg) override;

    std::shared_ptr<OmbriChart> chart() const override { return _chart.lock(); }
    void setChart(const std::shared_ptr<OmbriChart>& chart) override { _chart = chart; }
    const std::shared_ptr<KivoDataInfo>& dataInfo() const override { return _dataInfo; }
    void setDataInfo(std::shared_ptr<KivoDataInfo> dataInfo) override { _dataInfo = std::move(dataInfo); }
    const std::shared_ptr<KivoHitTester>& hitTester() const override { return _hitTester; }
    void setHitTester(std::shared_ptr<KivoHitTester> hitTester) override { _hitTester = std::move(hitTester); }
    std::int64_t stacking() const override { return _stacking; }
    void setStacking(std::int64_t stacking) override { _stacking = stacking; }
    bool rotated() const override { return _rotated; }
    void setRotated(bool rotated) override { _rotated = rotated; }
    double time() const override { return _time; }
    void setTime(double time) override { _time = time; }
    std::int32_t dataInfoCount() const override { return _dataInfoCount; }
    void setDataInfoCount(std::int32_t count) override { _dataInfoCount = count; }
    double symbolSize() const override { return _symbolSize; }
    void setSymbolSize(double size) override { _symbolSize = size; }
    double origin() const override { return _origin; }
    void setOrigin(double origin) override { _origin = origin; }

    // ---- Selection ----
    // Whether `series` is drawn selected: never without a selection; in series mode when it is the
    // selected series itself; in point mode when it is and the two indices are equal.
    bool isSelected(const std::shared_ptr<KivoSeries>& series, std::int32_t selectedIndex, std::int32_t curentIndex) const;

    // ---- Element drawing paths ----
    // The path of this pass (KivoPlotElementEventPath): the host's hook when the chart hands elements
    // to it and the delegate answers it, else the event when it has handlers, else the default renderer.
    std::int32_t getPlotElementPath() const;
    // Draws one element by `path`. The event path raises plotElementLoading with a hit-test record at
    // the anchor (its data point filled with the point index, the series' name and its position in the
    // chart's series) and `dataPoint` (null: that record's point), the engine's state saved around the
    // handlers; they draw the element or execute the renderer. The delegate path asks the host's hook
    // with `rect`, the anchor and `seriesNumber`: when the host drew it, the chart's custom plot-element
    // view (if any) is framed to `rect` and shown; otherwise the renderer draws.
    void drawPlotElement(std::int32_t path, const std::shared_ptr<IKivoRenderEngine>& engine,
                         const std::shared_ptr<BasePlotElementRender>& renderer, const std::shared_ptr<KivoSeries>& series,
                         std::int32_t pointIndex, double anchorX, double anchorY, const std::shared_ptr<KivoRect>& rect,
                         const std::shared_ptr<KivoChartDataPoint>& dataPoint, std::int32_t seriesNumber);

    // Symbol size after construction.
    static constexpr double DefaultSymbolSize = 8.0;

protected:
    // A subclass that keeps its own defaults (no chart, symbol size 0) starts from here.
    KivoBasePlotter() = default;

    // The event path: raises plotElementLoading with the engine's state saved before and restored after;
    // `afterHandlers` runs between the handlers and the restore.
    void raisePlotElement(const std::shared_ptr<IKivoRenderEngine>& engine,
                          const std::shared_ptr<BasePlotElementRender>& renderer, const std::shared_ptr<KivoSeries>& series,
                          std::int32_t pointIndex, double anchorX, double anchorY,
                          const std::shared_ptr<KivoChartDataPoint>& dataPoint,
                          const std::function<void(KivoChartPlotElementEventArgs&)>& afterHandlers = {});
    // The delegate path's question: true when the host drew the element (its custom view, if the chart
    // has one, then stands over `rect`).
    bool askHostToDraw(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<BasePlotElementRender>& renderer,
                       const std::shared_ptr<KivoRect>& rect, std::int32_t pointIndex, double anchorX, double anchorY,
                       std::int32_t seriesNumber);
    // Throws the error of a method a subclass must override.
    [[noreturn]] static void mustOverride(const std::string& selector);

    std::weak_ptr<OmbriChart> _chart;
    std::shared_ptr<KivoDataInfo> _dataInfo;
    std::shared_ptr<KivoHitTester> _hitTester;
    std::int64_t _stacking = KivoPlotterStackingNone;
    bool _rotated = false;
    double _time = 0;
    std::int32_t _dataInfoCount = 0;
    double _symbolSize = 0;
    double _origin = 0;
};
