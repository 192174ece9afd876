#include "plotters/BarRectArea.h"

#include <cmath>
#include <limits>

#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoChartDataPoint.h"
#include "OmbriChart/OmbriChart.h"

namespace kivo::detail {

plat::Value barXText(const OmbriChart& chart, std::int64_t index, double x, bool rotated) {
    const auto& labels = chart.xlabels();
    if (index >= 0 && static_cast<std::size_t>(index) < labels.size())
        return plat::Value(labels[static_cast<std::size_t>(index)]);
    const auto& axis = rotated ? chart.axisY() : chart.axisX();
    return plat::Value(axis ? axis->formatValue(x) : std::string());
}

void BarPlaceBlock::open(std::size_t capacity) {
    for (auto* list : {&_left, &_top, &_width, &_height, &_middle, &_x, &_y}) list->resize(capacity);
    _index.resize(capacity);
    _count = 0;
}

void BarPlaceBlock::close() {
    for (auto* list : {&_left, &_top, &_width, &_height, &_middle, &_x, &_y}) list->resize(_count);
    _index.resize(_count);
}

const BarRectArea& BarPlaceBlock::area(std::size_t k) const {
    if (!_made) {
        _areas.reserve(_count);
        for (std::size_t j = 0; j < _count; ++j)
            _areas.emplace_back(&info, KivoRect(_left[j], _top[j], _width[j], _height[j]), _index[j], _x[j], _y[j], _middle[j]);
        _made = true;
    }
    return _areas[k];
}

void BarPlaceBlock::reset(std::size_t expected) {
    for (auto* list : {&_left, &_top, &_width, &_height, &_middle, &_x, &_y}) reuseFor(*list, expected);
    reuseFor(_index, expected);
    _count = 0;
    // Areas of an earlier pass are dropped, their memory kept while it fits.
    reuseFor(_areas, _made ? expected : 0);
    _made = false;
}

}  // namespace kivo::detail

bool BarRectArea::contains(const KivoPoint& p) const {
    return minX() <= p.x() && p.x() <= maxX() && minY() <= p.y() && p.y() <= maxY();
}

double BarRectArea::distance(const KivoPoint& p) const {
    // Bars that reach the hit tester are finite; a NaN point is nowhere.
    if (std::isnan(p.x()) || std::isnan(p.y())) return std::numeric_limits<double>::quiet_NaN();
    const double x0 = minX(), x1 = maxX(), y0 = minY(), y1 = maxY();
    const double dx = p.x() < x0 ? x0 - p.x() : (p.x() > x1 ? p.x() - x1 : 0.0);
    const double dy = p.y() < y0 ? y0 - p.y() : (p.y() > y1 ? p.y() - y1 : 0.0);
    return std::hypot(dx, dy);
}

KivoHitBounds BarRectArea::bounds() const { return {minX(), minY(), maxX(), maxY(), 0}; }

plat::Value BarRectArea::xText() const {
    const auto chart = _info ? _info->chart.lock() : nullptr;
    return chart ? kivo::detail::barXText(*chart, _pointIndex, _x, _info->rotated) : plat::Value();
}

const plat::Value& BarRectArea::tag() const {
    if (!_tag) dataPoint();
    return *_tag;
}

std::shared_ptr<KivoChartDataPoint> BarRectArea::dataPoint() const {
    if (_tag) return _tag->as<KivoChartDataPoint>();
    auto point = kivo::detail::newAreaPoint(_info, _pointIndex);
    const bool rotated = _info && _info->rotated;
    if (_info) point->setValueX(xText());
    point->setValue(_y);
    point->setDataX(_x);
    // Across the category axis the point sits in the middle of its slot.
    if (rotated)
        point->setY(_middle);
    else
        point->setX(_middle);
    completeDataPoint(*point);
    _tag = std::make_unique<plat::Value>(point);
    return point;
}
