#pragma once
// The plotter of scatter (3) and bubble (7) charts: a line plotter that draws symbols only, sized by
// the series' bubble values for a bubble chart. Its drawing is not in place yet: a series of this
// family draws nothing.

#include <memory>

#include "OmbriChart/KivoLinePlotter.h"
#include "OmbriChart/KivoOmbriChartExport.h"

class KIVO_CHART_EXPORT KivoBubblePlotter : public KivoLinePlotter {
public:
    // Symbols without lines, straight.
    KivoBubblePlotter(const std::shared_ptr<OmbriChart>& chart, std::shared_ptr<KivoDataInfo> dataInfo,
                      std::shared_ptr<KivoHitTester> hitTester)
        : KivoLinePlotter(chart, std::move(dataInfo), std::move(hitTester)) {
        _hasSymbols = true;
        _hasLines = false;
        _isSpline = false;
    }
    static std::shared_ptr<KivoBubblePlotter> create(const std::shared_ptr<OmbriChart>& chart,
                                                     std::shared_ptr<KivoDataInfo> dataInfo,
                                                     std::shared_ptr<KivoHitTester> hitTester) {
        return std::make_shared<KivoBubblePlotter>(chart, std::move(dataInfo), std::move(hitTester));
    }
};
