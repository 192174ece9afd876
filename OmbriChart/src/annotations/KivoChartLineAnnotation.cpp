// KivoChartLineAnnotation: a stroked line and the band round it that a finger hits.

#include "OmbriChart/KivoChartLineAnnotation.h"

#include <cmath>

#include "KivoCore/IKivoRenderEngine.h"
#include "OmbriChart/OmbriChart.h"
#include "annotations/AnnotationSupport.h"

namespace {

// How far beyond the stroke a finger still hits the line.
constexpr double HitSlop = 5.0;

// The band of half-width h round the segment, measured perpendicular to it, so that a steep line is
// as easy to hit as a flat one. A line of no length gets a square about its point.
plat::Path band(plat::Point s, plat::Point e, double h) {
    plat::Path path;
    const double dx = e.x - s.x, dy = e.y - s.y;
    const double length = std::hypot(dx, dy);
    if (!(length > 0)) {
        path.addRect({s.x - h, s.y - h, 2 * h, 2 * h});
        return path;
    }
    const double nx = -dy / length * h, ny = dx / length * h;
    path.moveTo({s.x - nx, s.y - ny});
    path.lineTo({e.x - nx, e.y - ny});
    path.lineTo({e.x + nx, e.y + ny});
    path.lineTo({s.x + nx, s.y + ny});
    path.lineTo({s.x - nx, s.y - ny});
    path.close();
    return path;
}

}  // namespace

bool KivoChartLineAnnotation::render(const std::shared_ptr<IKivoRenderEngine>& engine) {
    if (!isNeedRender(engine)) return false;
    const auto s = getAbsolutePoint(_start, position(), attachment(), nullptr);
    const auto e = getAbsolutePoint(_end, position(), attachment(), nullptr);
    if (!s || !e) return false;
    {
        const auto owner = chart();
        const kivo::detail::EngineStateScope state(*engine);
        engine->setStroke(_color);
        engine->setStrokeThickness(_lineWidth);
        const kivo::detail::PlotClipScope clip(*engine, owner ? owner->plotRect() : nullptr, isNeedClipRect());
        engine->drawLine(s->x(), s->y(), e->x(), e->y());
    }
    const double width = std::isfinite(_lineWidth) ? std::fabs(_lineWidth) : 0;
    replaceHitPath(band({s->x(), s->y()}, {e->x(), e->y()}, width * 0.5 + HitSlop));
    return true;
}

void KivoChartLineAnnotation::setStart(std::shared_ptr<KivoPoint> start) {
    if (!isOrphaned()) _start = std::move(start);
}

void KivoChartLineAnnotation::setEnd(std::shared_ptr<KivoPoint> end) {
    if (!isOrphaned()) _end = std::move(end);
}

void KivoChartLineAnnotation::setColor(const plat::Color& color) {
    if (isOrphaned()) return;
    _color = color;
    invalidateChart();
}

void KivoChartLineAnnotation::setLineWidth(double width) {
    if (isOrphaned()) return;
    _lineWidth = width;
    invalidateChart();
}
