#pragma once
// The load animation of a chart control: the core animation timing with the control it belongs to
// (held weakly) and a mode that each control reads in its own way (KivoLoadAnimationMode).

#include <cstdint>
#include <memory>

#include "ChartCore/KivoChartCoreExport.h"
#include "ChartCore/KivoChartEnums.h"
#include "KivoCore/KivoAnimation.h"

class OmbriChartBase;

class KIVO_CHART_CORE_EXPORT KivoChartLoadAnimation : public KivoAnimation {
public:
    KivoChartLoadAnimation() = default;
    static std::shared_ptr<KivoChartLoadAnimation> create() { return std::make_shared<KivoChartLoadAnimation>(); }

    // Nil once the control is gone.
    std::shared_ptr<OmbriChartBase> chart() const { return _chart.lock(); }
    void setChart(const std::shared_ptr<OmbriChartBase>& chart) { _chart = chart; }
    // Any code is stored.
    std::int64_t animationMode() const { return _animationMode; }
    void setAnimationMode(std::int64_t mode) { _animationMode = mode; }

private:
    std::weak_ptr<OmbriChartBase> _chart;
    std::int64_t _animationMode = KivoLoadAnimationModeAll;
};
