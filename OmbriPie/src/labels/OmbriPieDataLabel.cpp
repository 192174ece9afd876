#include "OmbriPie/OmbriPieDataLabel.h"

#include "OmbriPie/OmbriPie.h"

OmbriPieDataLabel::OmbriPieDataLabel(const std::shared_ptr<OmbriPie>& pie) {
    setContent(std::string(DefaultPieContent));
    _chart = pie;
}

void OmbriPieDataLabel::setPosition(std::int64_t position) {
    _position = position;
    invalidateChart();
}
