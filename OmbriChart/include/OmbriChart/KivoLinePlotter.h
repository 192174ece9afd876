#pragma once
// The plotter of line (4), line-with-symbols (5), spline (10) and spline-with-symbols (11) charts,
// and the base of the bubble plotter: three variant flags choose lines, symbols and splines. Its
// drawing is not in place yet: a series of this family draws nothing.

#include <memory>

#include "OmbriChart/KivoBasePlotter.h"
#include "OmbriChart/KivoOmbriChartExport.h"

class KIVO_CHART_EXPORT KivoLinePlotter : public KivoBasePlotter {
public:
    // Lines without symbols, straight; symbol size, origin, time and point count 0.
    KivoLinePlotter(const std::shared_ptr<OmbriChart>& chart, std::shared_ptr<KivoDataInfo> dataInfo,
                    std::shared_ptr<KivoHitTester> hitTester) {
        _chart = chart;
        _dataInfo = std::move(dataInfo);
        _hitTester = std::move(hitTester);
    }
    static std::shared_ptr<KivoLinePlotter> create(const std::shared_ptr<OmbriChart>& chart,
                                                   std::shared_ptr<KivoDataInfo> dataInfo,
                                                   std::shared_ptr<KivoHitTester> hitTester) {
        return std::make_shared<KivoLinePlotter>(chart, std::move(dataInfo), std::move(hitTester));
    }

    // Plain stores, read when the plotter next draws.
    bool hasSymbols() const { return _hasSymbols; }
    void setHasSymbols(bool has) { _hasSymbols = has; }
    bool hasLines() const { return _hasLines; }
    void setHasLines(bool has) { _hasLines = has; }
    bool isSpline() const { return _isSpline; }
    void setIsSpline(bool spline) { _isSpline = spline; }
    // The width of a line whose series sets none.
    double defaultLineWidth() const { return _defaultLineWidth; }

    void plotSeries(const std::shared_ptr<KivoSeries>&, const std::shared_ptr<IKivoRenderEngine>&,
                    const std::shared_ptr<KivoAxis>&, const std::shared_ptr<KivoAxis>&, std::int32_t, std::int32_t, std::int32_t,
                    std::int32_t, std::int64_t, StackDictionary&, StackDictionary&) override {}
    void redoSelection(const std::shared_ptr<IKivoRenderEngine>&) override {}

    static constexpr double DefaultLineWidth = 2.0;

protected:
    bool _hasSymbols = false;
    bool _hasLines = true;
    bool _isSpline = false;
    double _defaultLineWidth = DefaultLineWidth;
};
