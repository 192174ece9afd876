#pragma once
// The plotter of candlestick (8) and high-low-open-close (9) charts, and the drawing path of one
// financial element. Its series drawing is not in place yet: a series of this family draws nothing.

#include <cstdint>
#include <memory>
#include <optional>

#include "OmbriChart/KivoBasePlotter.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/graphics/color.h"

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

    void plotSeries(const std::shared_ptr<KivoSeries>&, const std::shared_ptr<IKivoRenderEngine>&,
                    const std::shared_ptr<KivoAxis>&, const std::shared_ptr<KivoAxis>&, std::int32_t, std::int32_t, std::int32_t,
                    std::int32_t, std::int64_t, StackDictionary&, StackDictionary&) override {}
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
    std::int32_t _seriesIndex = 0;
    std::int32_t _seriesCount = 0;
    std::optional<plat::Color> _strokeColor;
    bool _isSelected = false;
};
