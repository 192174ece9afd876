#pragma once
// The tooltip bubble of the chart controls: the core tooltip view, which also carries the data point
// it describes, so an application that customises the tooltip knows what it stands for.

#include <memory>

#include "ChartCore/KivoChartCoreExport.h"
#include "KivoCore/KivoBaseTooltipView.h"

class KIVO_CHART_CORE_EXPORT KivoBaseChartTooltipView : public KivoBaseTooltipView {
public:
    static std::shared_ptr<KivoBaseChartTooltipView> create();

    // The control's data point behind the text (a chart or a pie data point), or null.
    const std::shared_ptr<plat::Object>& chartData() const { return _chartData; }
    void setChartData(std::shared_ptr<plat::Object> data) { _chartData = std::move(data); }

protected:
    KivoBaseChartTooltipView() = default;

private:
    std::shared_ptr<plat::Object> _chartData;
};
