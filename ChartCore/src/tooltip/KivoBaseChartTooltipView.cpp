#include "ChartCore/KivoBaseChartTooltipView.h"

std::shared_ptr<KivoBaseChartTooltipView> KivoBaseChartTooltipView::create() {
    return initialized(std::shared_ptr<KivoBaseChartTooltipView>(new KivoBaseChartTooltipView()));
}
