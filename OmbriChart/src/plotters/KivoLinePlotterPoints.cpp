// The line and bubble plotters' hit areas and the data points they make on demand.

#include <cmath>

#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/OmbriChart.h"
#include "plotters/LinePlotterSupport.h"
#include "plotters/LinePointArea.h"

namespace kivo::detail {

plat::Value xText(const OmbriChart& chart, std::int64_t index, double x, bool rotated) {
    const auto& labels = chart.xlabels();
    if (index >= 0 && static_cast<std::size_t>(index) < labels.size())
        return plat::Value(labels[static_cast<std::size_t>(index)]);
    const auto& axis = rotated ? chart.axisY() : chart.axisX();
    return axis ? plat::Value(axis->formatValue(x)) : plat::Value();
}

double LinePointBlock::x(std::size_t k) const {
    const std::int64_t i = pointIndex(k);
    return hasX ? xAt(xs, i) : static_cast<double>(i);
}

double LinePointBlock::centerX(std::size_t k) const {
    if (!placeX) return sx[k];
    return (*placeX)(info.rotated ? y(k) : x(k));
}

double LinePointBlock::centerY(std::size_t k) const {
    if (!placeY) return sy[k];
    return (*placeY)(info.rotated ? x(k) : y(k));
}

const LinePointArea& LinePointBlock::area(std::size_t k) const {
    if (!_made) {
        _areas.reserve(size());
        for (std::size_t j = 0; j < size(); ++j) _areas.emplace_back(&info, centerX(j), centerY(j), pointIndex(j), x(j), y(j));
        _made = true;
    }
    return _areas[k];
}

void LinePointBlock::reset(std::size_t expected) {
    reuseFor(sx, expected);
    reuseFor(sy, expected);
    firstIndex = 0;
    indices.clear();
    takenY.clear();
    xs.reset();
    ys.reset();
    hasX = false;
    placeX.reset();
    placeY.reset();
    placedCount = 0;
    // Areas of an earlier pass are dropped, their memory kept while it fits.
    reuseFor(_areas, _made ? expected : 0);
    _made = false;
}

std::shared_ptr<KivoChartDataPoint> newAreaPoint(const LineSeriesInfo* info, std::int32_t pointIndex) {
    auto point = KivoChartDataPoint::create();
    if (info) {
        point->setSeriesIndex(info->seriesIndex);
        point->setSeriesName(info->name);
    }
    point->setPointIndex(pointIndex);
    return point;
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
    auto point = kivo::detail::newAreaPoint(_info, _pointIndex);
    const bool rotated = _info && _info->rotated;
    if (_info)
        if (const auto chart = _info->chart.lock()) point->setValueX(kivo::detail::xText(*chart, _pointIndex, _x, rotated));
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
