#include "ChartCore/KivoBaseDataLabel.h"

#include "ChartCore/OmbriChartBase.h"
#include "support/Assign.h"

using kivo::detail::assign;

void KivoBaseDataLabel::invalidateChart() const {
    if (auto chart = _chart.lock()) chart->invalidate();
}

void KivoBaseDataLabel::setContent(std::optional<std::string> content) {
    if (assign(_content, std::move(content))) invalidateChart();
}

void KivoBaseDataLabel::setDataLabelFormat(std::string format) {
    if (assign(_dataLabelFormat, std::move(format))) invalidateChart();
}

void KivoBaseDataLabel::setDataLabelFont(const plat::Font& font) {
    if (assign(_dataLabelFont, font)) invalidateChart();
}

void KivoBaseDataLabel::setDataLabelFontColor(const plat::Color& color) {
    if (assign(_dataLabelFontColor, color)) invalidateChart();
}

void KivoBaseDataLabel::setDataLabelBackgroundColor(const plat::Color& color) {
    if (assign(_dataLabelBackgroundColor, color)) invalidateChart();
}

void KivoBaseDataLabel::setDataLabelBorderColor(const plat::Color& color) {
    if (assign(_dataLabelBorderColor, color)) invalidateChart();
}

void KivoBaseDataLabel::setDataLabelBorderWidth(double width) {
    width = width > 0 ? width : 0.0;
    if (assign(_dataLabelBorderWidth, width)) invalidateChart();
}
