#pragma once
// The plotter of column (1) and bar (2) charts: one plotter for both, the bars turned by the chart's
// rotation. Its drawing is not in place yet: a series of this family draws nothing.

#include <memory>

#include "OmbriChart/KivoBasePlotter.h"
#include "OmbriChart/KivoOmbriChartExport.h"

class KIVO_CHART_EXPORT KivoBarPlotter : public KivoBasePlotter {
public:
    // The base's defaults, with the chart's data info and hit tester.
    KivoBarPlotter(const std::shared_ptr<OmbriChart>& chart, std::shared_ptr<KivoDataInfo> dataInfo,
                   std::shared_ptr<KivoHitTester> hitTester)
        : KivoBasePlotter(chart) {
        _dataInfo = std::move(dataInfo);
        _hitTester = std::move(hitTester);
    }
    static std::shared_ptr<KivoBarPlotter> create(const std::shared_ptr<OmbriChart>& chart,
                                                  std::shared_ptr<KivoDataInfo> dataInfo,
                                                  std::shared_ptr<KivoHitTester> hitTester) {
        return std::make_shared<KivoBarPlotter>(chart, std::move(dataInfo), std::move(hitTester));
    }

    void plotSeries(const std::shared_ptr<KivoSeries>&, const std::shared_ptr<IKivoRenderEngine>&,
                    const std::shared_ptr<KivoAxis>&, const std::shared_ptr<KivoAxis>&, std::int32_t, std::int32_t, std::int32_t,
                    std::int32_t, std::int64_t, StackDictionary&, StackDictionary&) override {}
    void redoSelection(const std::shared_ptr<IKivoRenderEngine>&) override {}
};
