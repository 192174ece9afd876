#pragma once
// The plotter of area (6) and spline-area (12) charts. Its drawing is not in place yet: a series of
// this family draws nothing.

#include <memory>

#include "OmbriChart/KivoBasePlotter.h"
#include "OmbriChart/KivoOmbriChartExport.h"

class KIVO_CHART_EXPORT KivoAreaPlotter : public KivoBasePlotter {
public:
    KivoAreaPlotter(const std::shared_ptr<OmbriChart>& chart, std::shared_ptr<KivoDataInfo> dataInfo,
                    std::shared_ptr<KivoHitTester> hitTester) {
        _chart = chart;
        _dataInfo = std::move(dataInfo);
        _hitTester = std::move(hitTester);
    }
    static std::shared_ptr<KivoAreaPlotter> create(const std::shared_ptr<OmbriChart>& chart,
                                                   std::shared_ptr<KivoDataInfo> dataInfo,
                                                   std::shared_ptr<KivoHitTester> hitTester) {
        return std::make_shared<KivoAreaPlotter>(chart, std::move(dataInfo), std::move(hitTester));
    }

    // A plain store: smooth outlines.
    bool isSpline() const { return _isSpline; }
    void setIsSpline(bool spline) { _isSpline = spline; }

    void plotSeries(const std::shared_ptr<KivoSeries>&, const std::shared_ptr<IKivoRenderEngine>&,
                    const std::shared_ptr<KivoAxis>&, const std::shared_ptr<KivoAxis>&, std::int32_t, std::int32_t, std::int32_t,
                    std::int32_t, std::int64_t, StackDictionary&, StackDictionary&) override {}
    void redoSelection(const std::shared_ptr<IKivoRenderEngine>&) override {}

private:
    bool _isSpline = false;
};
