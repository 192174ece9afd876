// KivoChartPolygonAnnotation: a filled and outlined polygon through placed points, its text centred on
// their mean.

#include <cmath>

#include "KivoCore/IKivoRenderEngine.h"
#include "OmbriChart/KivoChartTextAnnotation.h"
#include "OmbriChart/OmbriChart.h"
#include "annotations/AnnotationSupport.h"

namespace {

// The platform's path-drawing mode that fills, then outlines.
constexpr std::int32_t FillThenStroke = 3;

}  // namespace

std::optional<KivoChartPolygonAnnotation::PointList> KivoChartPolygonAnnotation::_getAbsolutePoints(const PointList& points) {
    const auto anchor = getAbsolutePoint(point(), position(), attachment(), nullptr);
    if (!anchor) return std::nullopt;
    PointList placed;
    placed.reserve(points.size());
    for (const auto& p : points) {
        if (!p) continue;
        switch (attachment()) {
        case KivoAnnotationAttachmentAbsolute:
        case KivoAnnotationAttachmentDataCoordinate:
        case KivoAnnotationAttachmentRelative:
            if (auto q = getAbsolutePoint(p, position(), attachment(), nullptr)) placed.push_back(std::move(q));
            break;
        case KivoAnnotationAttachmentDataIndex:
            placed.push_back(KivoPoint::create(p->x() + anchor->x(), p->y() + anchor->y()));
            break;
        default:
            placed.push_back(p);
            break;
        }
    }
    return placed;
}

bool KivoChartPolygonAnnotation::render(const std::shared_ptr<IKivoRenderEngine>& engine) {
    if (!isNeedRender(engine) || _points.size() < 2) return false;
    const auto q = _getAbsolutePoints(_points);
    if (!q || q->empty()) return false;

    plat::Path outline;
    double sumX = 0, sumY = 0;
    for (std::size_t i = 0; i < q->size(); ++i) {
        const plat::Point p{(*q)[i]->x(), (*q)[i]->y()};
        if (i == 0)
            outline.moveTo(p);
        else
            outline.lineTo(p);
        sumX += p.x;
        sumY += p.y;
    }
    outline.lineTo({q->front()->x(), q->front()->y()});
    outline.close();
    replaceHitPath(outline);

    const auto owner = chart();
    const kivo::detail::EngineStateScope state(*engine);
    applyShapeLook(*engine);
    const kivo::detail::PlotClipScope clip(*engine, owner ? owner->plotRect() : nullptr, isNeedClipRect());
    engine->drawPolygonWithMode(*q, FillThenStroke);
    if (const auto& label = text(); label && !label->empty()) {
        engine->setTextFill(textColor());
        engine->setFont(font());
        const auto measured = engine->measureString(*label);
        const double n = static_cast<double>(q->size());
        const double w = measured ? measured->width() : 0, h = measured ? measured->height() : 0;
        engine->drawString(*label, KivoPoint::create(sumX / n - w * 0.5, sumY / n - h * 0.5));
    }
    return true;
}

void KivoChartPolygonAnnotation::setPoints(PointList points) {
    if (!isOrphaned()) _points = std::move(points);
}
