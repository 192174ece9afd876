#include "ChartCore/KivoHitAreas.h"

#include <cmath>
#include <limits>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

KivoRectArea::KivoRectArea(const std::shared_ptr<KivoRect>& rect)
    : _rect(rect ? rect->clone() : KivoRect::create(NaN, NaN, NaN, NaN)),
      _minX(std::fmin(_rect->left(), _rect->right())),
      _minY(std::fmin(_rect->top(), _rect->bottom())),
      _maxX(std::fmax(_rect->left(), _rect->right())),
      _maxY(std::fmax(_rect->top(), _rect->bottom())) {
    // fmin/fmax skip one NaN operand: an area with any NaN edge must stay unhittable.
    if (std::isnan(_rect->left() + _rect->top() + _rect->width() + _rect->height())) _minX = _minY = _maxX = _maxY = NaN;
}

bool KivoRectArea::contains(const KivoPoint& p) const {
    return _minX <= p.x() && p.x() <= _maxX && _minY <= p.y() && p.y() <= _maxY;
}

double KivoRectArea::distance(const KivoPoint& p) const {
    if (std::isnan(_minX) || std::isnan(p.x()) || std::isnan(p.y())) return NaN;
    const double dx = p.x() < _minX ? _minX - p.x() : (p.x() > _maxX ? p.x() - _maxX : 0.0);
    const double dy = p.y() < _minY ? _minY - p.y() : (p.y() > _maxY ? p.y() - _maxY : 0.0);
    return std::hypot(dx, dy);
}

KivoCircleArea::KivoCircleArea(const std::shared_ptr<KivoPoint>& center, double radius)
    : _center(center ? center->clone() : KivoPoint::create(NaN, NaN)), _radius(radius < 0 ? 0.0 : radius) {}

bool KivoCircleArea::contains(const KivoPoint& p) const {
    return std::hypot(p.x() - _center->x(), p.y() - _center->y()) <= _radius;
}

double KivoCircleArea::distance(const KivoPoint& p) const {
    const double fromCenter = std::hypot(p.x() - _center->x(), p.y() - _center->y());
    if (std::isnan(fromCenter) || std::isnan(_radius)) return NaN;
    return fromCenter <= _radius ? 0.0 : fromCenter - _radius;
}
