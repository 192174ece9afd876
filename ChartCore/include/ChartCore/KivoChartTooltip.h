#pragma once
// A chart control's tooltip: the content view that shows it (a subview of the control, added when the
// control is given the tooltip) and the switch that says whether tooltips are in use at all. What is on
// screen is the content view's own visibility.

#include <memory>

#include "ChartCore/KivoBaseChartTooltipView.h"
#include "ChartCore/KivoChartCoreExport.h"
#include "Platform/foundation/object.h"

class OmbriChartBase;

class KIVO_CHART_CORE_EXPORT KivoChartTooltip : public plat::Object {
public:
    // `chart` is held weakly (the control owns its tooltip). A null content makes a tooltip that shows nothing.
    KivoChartTooltip(const std::shared_ptr<OmbriChartBase>& chart, std::shared_ptr<KivoBaseChartTooltipView> content);
    static std::shared_ptr<KivoChartTooltip> create(const std::shared_ptr<OmbriChartBase>& chart,
                                                    std::shared_ptr<KivoBaseChartTooltipView> content) {
        return std::make_shared<KivoChartTooltip>(chart, std::move(content));
    }

    std::shared_ptr<OmbriChartBase> chart() const { return _chart.lock(); }
    const std::shared_ptr<KivoBaseChartTooltipView>& content() const { return _content; }

    // Tooltips in use (true by default). Switching them off hides what is shown.
    bool isVisible() const { return _isVisible; }
    void setIsVisible(bool visible);
    // Hides the content view, at once or after its disappear delay.
    void hide();

private:
    std::weak_ptr<OmbriChartBase> _chart;
    std::shared_ptr<KivoBaseChartTooltipView> _content;
    bool _isVisible = true;
};
