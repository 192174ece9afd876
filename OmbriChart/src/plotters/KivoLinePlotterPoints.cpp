// The line and bubble plotters' hit areas and the data points they make on demand.

#include <cmath>

#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/OmbriChart.h"
#include "plotters/LinePointArea.h"

namespace kivo::detail {

plat::Value xText(const OmbriChart& chart, std::int64_t index, double x, bool rotated) {
    const auto& labels = chart.xlabels();
    if (index >= 0 && static_cast<std::size_t>(index) < labels.size())
        return plat::Value(labels[static_cast<std::size_t>(index)]);
    const auto& axis = rotated ? chart.axisY() : chart.axisX();
    return axis ? plat::Value(axis->formatValue(x)) : plat::Value();
}

}  // namespace kivo::detail

bool LinePointArea::contains(const KivoPoint& point) const { return std::hypot(point.x() - _cx, point.y() - _cy) <= radius(); }

double LinePointArea::distance(const KivoPoint& point) const {
    const double fromCenter = std::hypot(point.x() - _cx, point.y() - _cy);
    if (std::isnan(fromCenter) || std::isnan(radius())) return NAN;
    return fromCenter <= radius() ? 0.0 : fromCenter - radius();
}

const plat::Value& LinePointArea::tag() const {
    if (!_tag) dataPoint();
    return *_tag;
}

std::shared_ptr<KivoChartDataPoint> LinePointArea::dataPoint() const {
    if (_tag) return _tag->as<KivoChartDataPoint>();
    auto point = KivoChartDataPoint::create();
    const bool rotated = _info && _info->rotated;
    if (_info) {
        point->setSeriesIndex(_info->seriesIndex);
        point->setSeriesName(_info->name);
        if (const auto chart = _info->chart.lock()) point->setValueX(kivo::detail::xText(*chart, _pointIndex, _x, rotated));
    }
    point->setPointIndex(_pointIndex);
    // In a rotated chart the point's value is its X and its dataX its Y, as the chart has always told them.
    point->setValue(rotated ? _x : _y);
    point->setDataX(rotated ? _y : _x);
    // Where the point was drawn.
    point->setX(_cx);
    point->setY(_cy);
    completeDataPoint(*point);
    _tag = std::make_unique<plat::Value>(point);
    return point;
}

void BubblePointArea::completeDataPoint(KivoChartDataPoint& point) const {
    point.setBubbleSize(_bubbleSize);
    point.setX(_placeX);
    point.setY(_placeY);
}
