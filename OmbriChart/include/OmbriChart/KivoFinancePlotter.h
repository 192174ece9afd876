#pragma once
// The plotter of candlestick (8) and high-low-open-close (9) charts: one mark per item of the visible
// window (the high is the series' Y value, the low, open and close its next three binding names), a
// rectangular hit area over it, a data label at its close; marks grow from their middle while the
// chart loads and move from where they stood while it replays an edit of its items. A selected series
// is drawn in place in the selection look.

#include <cstdint>
#include <memory>
#include <optional>

#include <string>
#include <vector>

#include "OmbriChart/KivoBasePlotter.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/value.h"
#include "Platform/graphics/color.h"

namespace kivo::detail {
struct FinanceAreaBlock;
}  // namespace kivo::detail

class KIVO_CHART_EXPORT KivoFinancePlotter : public KivoBasePlotter {
public:
    // Candles; series index and count 0.
    KivoFinancePlotter(const std::shared_ptr<OmbriChart>& chart, std::shared_ptr<KivoDataInfo> dataInfo,
                       std::shared_ptr<KivoHitTester> hitTester) {
        _chart = chart;
        _dataInfo = std::move(dataInfo);
        _hitTester = std::move(hitTester);
    }
    static std::shared_ptr<KivoFinancePlotter> create(const std::shared_ptr<OmbriChart>& chart,
                                                      std::shared_ptr<KivoDataInfo> dataInfo,
                                                      std::shared_ptr<KivoHitTester> hitTester) {
        return std::make_shared<KivoFinancePlotter>(chart, std::move(dataInfo), std::move(hitTester));
    }

    // true candles, false high-low-open-close marks. A plain store.
    bool isCandle() const { return _isCandle; }
    void setIsCandle(bool candle) { _isCandle = candle; }
    // The series drawn so far in this pass and their number; clear sets both back to 0.
    std::int32_t seriesIndex() const { return _seriesIndex; }
    std::int32_t seriesCount() const { return _seriesCount; }
    void clear() override {
        _seriesIndex = 0;
        _seriesCount = 0;
    }

    // The item's value under `key` when it is a number; the null value otherwise (no key, no item, a
    // missing member, anything else).
    static plat::Value getValue(const plat::Value& item, const std::optional<std::string>& key);
    // The data info's ranges with the value range widened over the low, open and close of every series
    // of the chart (hidden ones too) and down to the X axis' origin (the Y axis' when rotated); X and Y
    // exchanged when rotated. The log base is not read.
    std::shared_ptr<KivoRect> adjustLimits(const std::shared_ptr<KivoDataInfo>& dataInfo, std::optional<double> logBase) override;
    // Draws one mark per item of the window whose X lies on the position axis, with its hit area and
    // label. Without Y values nothing is drawn; without X values (the series' or the chart's) the marks
    // stand at their indices. Only `series`, `engine`, the axes and `index` (the series' number among
    // the drawn ones, which the mark width is measured at) are read.
    void plotSeries(const std::shared_ptr<KivoSeries>& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t index,
                    std::int32_t realIndex, std::int32_t count, std::int32_t selectedIndex, std::int64_t chartType,
                    StackDictionary& stackPos, StackDictionary& stackNeg) override;
    // Financial series are not redrawn on top when selected.
    void redoSelection(const std::shared_ptr<IKivoRenderEngine>&) override {}

    // The element's own stroke and whether it is selected, written by the series drawing per element.
    void setElementStyle(std::optional<plat::Color> strokeColor, bool isSelected) {
        _strokeColor = strokeColor;
        _isSelected = isSelected;
    }

protected:
    friend class OmbriChartTestAccess;

    // Draws one candle or mark (positions in view points; y is 0 for upright marks, x for rotated ones)
    // by `type` (KivoPlotElementEventPath), in the plotter's own candle style. On the event path the
    // handlers' arguments carry `dataPoint`'s values; the mark is drawn after them, in a candle fill
    // they chose and, unless the element is selected, a candle border they chose. On the delegate path
    // the engine's state is put back afterwards.
    void _drawFinanceElement(const std::shared_ptr<IKivoRenderEngine>& engine, double x, double y, double w, double hi, double lo,
                             double open, double close, const std::shared_ptr<KivoSeries>& series, std::int32_t seriesIndex,
                             std::int32_t pointIndex, bool rotated, bool reversed, std::int32_t type,
                             const std::shared_ptr<KivoChartDataPoint>& dataPoint);

private:
    bool _isCandle = true;
    // Hit-area blocks kept for later passes (a block stays with whoever holds one of its areas).
    std::vector<std::shared_ptr<kivo::detail::FinanceAreaBlock>> _blocks;
    std::int32_t _seriesIndex = 0;
    std::int32_t _seriesCount = 0;
    std::optional<plat::Color> _strokeColor;
    bool _isSelected = false;
};
