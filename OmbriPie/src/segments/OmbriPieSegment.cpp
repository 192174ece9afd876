#include "OmbriPie/OmbriPieSegment.h"

#include <limits>

bool OmbriSliceSegment::contains(const KivoPoint& point) const {
    return _path && _path->contains({point.x(), point.y()}, plat::FillRule::NonZero);
}

double OmbriSliceSegment::distance(const KivoPoint& point) const {
    return contains(point) ? 0.0 : std::numeric_limits<double>::max();
}

KivoHitBounds OmbriSliceSegment::bounds() const {
    if (!_path || _path->isEmpty()) return {};
    const plat::Rect b = _path->bounds();
    return {b.x(), b.y(), b.x() + b.width(), b.y() + b.height(), 0};
}

void OmbriPieSegment::render(const std::shared_ptr<IKivoRenderEngine>& engine, double cx, double cy, double radius,
                             double startAngle, double sweepAngle, bool selected) {
    if (!engine) return;
    drawUnlessEmpty(sweepAngle, [&] { return engine->drawPieSegment(cx, cy, radius, startAngle, sweepAngle, selected); });
}

void OmbriDonutSegment::render(const std::shared_ptr<IKivoRenderEngine>& engine, double cx, double cy, double radius,
                               double innerRadius, double startAngle, double sweepAngle, bool selected) {
    if (!engine) return;
    drawUnlessEmpty(sweepAngle,
                    [&] { return engine->drawDonutSegment(cx, cy, radius, innerRadius, startAngle, sweepAngle, selected); });
}
