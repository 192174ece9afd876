#include "ChartCore/KivoChartTooltip.h"

#include "ChartCore/OmbriChartBase.h"

KivoChartTooltip::KivoChartTooltip(const std::shared_ptr<OmbriChartBase>& chart,
                                   std::shared_ptr<KivoBaseChartTooltipView> content)
    : _chart(chart), _content(std::move(content)) {}

void KivoChartTooltip::setIsVisible(bool visible) {
    _isVisible = visible;
    if (!visible) hide();
}

void KivoChartTooltip::hide() {
    if (_content) _content->setIsVisible(false);
}
