#pragma once
// What the Cartesian chart expects of a plotter; each plotter serves a group of related chart types. The chart drives its
// plotters only through these operations: in each drawing pass it asks the plotter of its own type for the data limits, resets
// every plotter (clear), and for each series to draw writes the frame's settings (rotation, time, stacking, symbol size, revealed
// point count, origin), calls plotSeries, and then redoSelection.

#include <cstdint>
#include <memory>
#include <optional>

#include "KivoCore/KivoGeometry.h"
#include "OmbriChart/KivoNumberDictionary.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/value.h"

class IKivoRenderEngine;
class KivoAxis;
class KivoDataInfo;
class KivoHitTester;
class KivoSeries;
class OmbriChart;

class KIVO_CHART_EXPORT IKivoPlotter {
public:
    // The chart's running sums of stacked values by X value, shared by all series of one pass.
    using StackDictionary = KivoNumberDictionary;

    virtual ~IKivoPlotter() = default;

    // The per-pass reset: what the plotter collected in the previous pass goes.
    virtual void clear() = 0;
    // Keeps `dataInfo` as the plotter's and answers the data extent as a rectangle in data units
    // (origin at the minimum X and Y, size the spans; X and Y exchanged when rotated),
    // widened as the family needs. `logBase` is the axis' logarithm base (null: a linear axis).
    virtual std::shared_ptr<KivoRect> adjustLimits(const std::shared_ptr<KivoDataInfo>& dataInfo,
                                                   std::optional<double> logBase) = 0;
    // Repaints the selected series above the others with the selection look, from what plotSeries kept.
    virtual void redoSelection(const std::shared_ptr<IKivoRenderEngine>& engine) = 0;
    // The number of drawn series (visibility 0 or 1) among `series`.
    virtual std::int32_t getRealLen(const plat::Array& series) const = 0;
    // Draws one series into the clipped plot area and registers its hit areas. `index` is the series'
    // number among those drawn so far in this pass (with mixed chart types drawn all at once, its
    // position in the chart's series); `realIndex` and `count` its number and the number of series that
    // share its plotter; `selectedIndex` is -1 from the chart; `chartType` the chart's type, or the
    // series' own with mixed types.
    virtual void plotSeries(const std::shared_ptr<KivoSeries>& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                            const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index,
                            std::int32_t realIndex, std::int32_t count, std::int32_t selectedIndex, std::int64_t chartType,
                            StackDictionary& stackPos, StackDictionary& stackNeg) = 0;
    // Plots every drawn series of the list in order with one chart type, then redoes the selection once.
    virtual void plotSeriesCollection(const plat::Array& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                                      const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY,
                                      const std::shared_ptr<plat::Object>& selectedSeries, std::int32_t elementIndex,
                                      StackDictionary& stackPos, StackDictionary& stackNeg) = 0;

    // The chart the plotter draws for (null once it is gone), the chart's analysis and hit tester.
    virtual std::shared_ptr<OmbriChart> chart() const = 0;
    virtual void setChart(const std::shared_ptr<OmbriChart>& chart) = 0;
    virtual const std::shared_ptr<KivoDataInfo>& dataInfo() const = 0;
    virtual void setDataInfo(std::shared_ptr<KivoDataInfo> dataInfo) = 0;
    virtual const std::shared_ptr<KivoHitTester>& hitTester() const = 0;
    virtual void setHitTester(std::shared_ptr<KivoHitTester> hitTester) = 0;
    // The frame's settings, written by the chart before each series. A KivoPlotterStacking code.
    virtual std::int64_t stacking() const = 0;
    virtual void setStacking(std::int64_t stacking) = 0;
    // True when categories run vertically and values horizontally (along axisX).
    virtual bool rotated() const = 0;
    virtual void setRotated(bool rotated) = 0;
    // Seconds into the running animation, from the end of its start delay.
    virtual double time() const = 0;
    virtual void setTime(double time) = 0;
    // The last point index to draw: the end of the visible window, or the points revealed so far.
    virtual std::int32_t dataInfoCount() const = 0;
    virtual void setDataInfoCount(std::int32_t count) = 0;
    virtual double symbolSize() const = 0;
    virtual void setSymbolSize(double size) = 0;
    // The value bars and areas start from (0 when the axis has no origin).
    virtual double origin() const = 0;
    virtual void setOrigin(double origin) = 0;
};
