// Shape drawing of the render engine: every primitive the controls are built from (boxes and ovals,
// straight and smoothed lines and the areas under them, polygons, circular slices and rings, gauge
// bands). Each sets only the parts of the look it uses (the A F S W D steps: opacity, fill, stroke,
// line width, dash) on the current context, then draws straight away.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "KivoCore/KivoRenderEngine.h"
#include "Platform/graphics/context.h"
#include "drawing/KivoSplinePath.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double FullCircle = 2 * std::numbers::pi;
// The band's own full-circle test uses this rounded value.
constexpr double GaugeFullCircle = 6.28;

enum Look : unsigned { Alpha = 1, Fill = 2, Stroke = 4, Width = 8, DoubleWidth = 16 };

// Corners sharper than about 29 degrees are bevelled. A chart's outlines meet at sharp angles where
// data turns back (a point that is being inserted and still has no width, a spike in the values), and
// the platform's default limit of 10 draws those corners as spikes up to five line widths long.
constexpr double StrokeMiterLimit = 4;

std::vector<plat::Point> pointsOf(std::span<const double> xs, std::span<const double> ys) {
    std::size_t n = std::min(xs.size(), ys.size());
    std::vector<plat::Point> pts(n);
    for (std::size_t i = 0; i < n; ++i) pts[i] = {xs[i], ys[i]};
    return pts;
}

}  // namespace

// Applies the marked steps of the look; the dash is passed separately (border, selected or none).
void KivoRenderEngine::applyLook(plat::Context& ctx, unsigned steps, std::span<const double> dashes) {
    if (steps & Alpha) ctx.setAlpha(opacity());
    if (steps & Fill) ctx.setFillColor(getFill());
    if (steps & Stroke) ctx.setStrokeColor(getStroke());
    if (steps & Width) ctx.setLineWidth(getStrokeThickness());
    if (steps & DoubleWidth) ctx.setLineWidth(2 * getStrokeThickness());
    if (steps & (Width | DoubleWidth)) ctx.setMiterLimit(StrokeMiterLimit);
    _setContextBorderDashes(ctx, dashes);
}

void KivoRenderEngine::drawEllipse(double cx, double cy, double rx, double ry) {
    plat::Context* ctx = plat::currentContext();
    if (!ctx) return;
    applyLook(*ctx, Alpha | Fill | Stroke | Width, _borderDashes);
    plat::Path p;
    p.addEllipse({cx - rx / 2, cy - ry / 2, rx, ry});
    ctx->drawPath(p, plat::DrawingMode::FillStroke);
}

void KivoRenderEngine::drawRect(double x, double y, double w, double h) {
    if (plat::Context* ctx = plat::currentContext()) {
        applyLook(*ctx, Alpha | Fill | Stroke | Width, _borderDashes);
        plat::Path p;
        p.addRect({x, y, w, h});
        ctx->drawPath(p, plat::DrawingMode::FillStroke);
        ctx->setLineDash(0, {});
    }
    // A border pattern lasts for one rectangle.
    _borderDashes.clear();
}

void KivoRenderEngine::drawRect(double x, double y, double w, double h, bool isSelected) {
    plat::Context* ctx = plat::currentContext();
    if (!ctx) return;
    applyLook(*ctx, Alpha | Fill | Stroke | Width, isSelected ? _selectedDashes : _borderDashes);
    plat::Path p;
    p.addRect({x, y, w, h});
    ctx->drawPath(p, plat::DrawingMode::FillStroke);
    ctx->setLineDash(0, {});
}

void KivoRenderEngine::drawLine(double x1, double y1, double x2, double y2) {
    plat::Context* ctx = plat::currentContext();
    if (!ctx) return;
    applyLook(*ctx, Alpha | Stroke | Width, _borderDashes);
    ctx->strokeLine({x1, y1}, {x2, y2});
}

void KivoRenderEngine::drawLines(std::span<const double> xs, std::span<const double> ys) {
    std::size_t n = std::min(xs.size(), ys.size());
    plat::Context* ctx = plat::currentContext();
    if (!ctx || n < 2) return;
    applyLook(*ctx, Alpha | Stroke | Width, _borderDashes);
    ctx->setLineJoin(plat::LineJoin::Round);
    plat::Path p;
    p.reserve(n, n);
    p.moveTo({xs[0], ys[0]});
    for (std::size_t i = 1; i < n; ++i) p.lineTo({xs[i], ys[i]});
    ctx->strokePath(p);
}

void KivoRenderEngine::drawSplines(std::span<const double> xs, std::span<const double> ys, bool isRotated) {
    plat::Context* ctx = plat::currentContext();
    if (!ctx || std::min(xs.size(), ys.size()) < 2) return;
    applyLook(*ctx, Alpha | Stroke | Width, _borderDashes);
    auto pts = pointsOf(xs, ys);
    plat::Path p;
    kivo::detail::quadCurvedPathWithPoints(p, pts.data(), pts.size(), isRotated);
    ctx->strokePath(p);
}

void KivoRenderEngine::drawSplineAreas(std::span<const double> xs, std::span<const double> ys, bool stacked, bool isRotated) {
    std::size_t n = std::min(xs.size(), ys.size());
    plat::Context* ctx = plat::currentContext();
    if (!ctx || n < 2) return;
    // Without curve points (two base corners only) there is no area to draw.
    if (!stacked && n < 3) return;
    applyLook(*ctx, Alpha | Fill | Stroke | Width, _borderDashes);
    auto pts = pointsOf(xs, ys);
    plat::Path p;
    kivo::detail::quadCurvedPathWithPoints(p, pts.data(), stacked ? n : n - 2, isRotated);
    if (!stacked) {
        p.lineTo(pts[n - 2]);
        p.lineTo(pts[n - 1]);
    }
    p.close();
    ctx->drawPath(p, plat::DrawingMode::FillStroke);
}

void KivoRenderEngine::drawPolygon(std::span<const double> xs, std::span<const double> ys) {
    std::size_t n = std::min(xs.size(), ys.size());
    plat::Context* ctx = plat::currentContext();
    if (!ctx || n < 2) return;
    applyLook(*ctx, Alpha | Fill | Stroke | Width, _borderDashes);
    plat::Path p;
    p.reserve(n, n);
    p.moveTo({xs[0], ys[0]});
    for (std::size_t i = 1; i < n; ++i) p.lineTo({xs[i], ys[i]});
    // Left open: the fill closes it, the outline has no closing edge.
    ctx->drawPath(p, plat::DrawingMode::FillStroke);
}

void KivoRenderEngine::drawPolygonWithMode(const std::vector<std::shared_ptr<KivoPoint>>& points, std::int32_t mode) {
    plat::Context* ctx = plat::currentContext();
    std::vector<plat::Point> pts;
    pts.reserve(points.size());
    for (const auto& pt : points)
        if (pt) pts.push_back({pt->x(), pt->y()});
    if (!ctx || pts.size() < 2) return;
    applyLook(*ctx, Alpha | Fill | Stroke | Width, _borderDashes);
    plat::Path p;
    p.addLines(pts.data(), pts.size());
    p.close();
    // Codes other than 0…4 draw nothing.
    ctx->drawPath(p, static_cast<plat::DrawingMode>(mode));
}

void KivoRenderEngine::drawRadialGauge(double x, double y, double /*startX*/, double /*startY*/, double radiusOut,
                                       double radiusIn, double startAngle, double endAngle) {
    plat::Context* ctx = plat::currentContext();
    if (!ctx) return;
    applyLook(*ctx, Alpha | Fill | Stroke | DoubleWidth, _borderDashes);
    plat::Path p;
    if (endAngle - startAngle >= GaugeFullCircle) {
        p.addEllipse({x - radiusIn, y - radiusIn, 2 * radiusIn, 2 * radiusIn});
        p.addEllipse({x - radiusOut, y - radiusOut, 2 * radiusOut, 2 * radiusOut});
        ctx->drawPath(p, plat::DrawingMode::EvenOddFillStroke);
        return;
    }
    double a = startAngle - Pi, b = endAngle - Pi;
    p.addArc({x, y}, radiusOut, a, b, plat::ArcDirection::IncreasingAngle);
    p.addArc({x, y}, radiusIn, b, a, plat::ArcDirection::DecreasingAngle);
    p.addArc({x, y}, radiusOut, a, a + 0.00001, plat::ArcDirection::IncreasingAngle);
    // Clipped to itself, only the inner half of the doubled border shows: a border of the
    // stroke thickness lying wholly within the band.
    ctx->save();
    ctx->clipToPath(p);
    ctx->drawPath(p, plat::DrawingMode::FillStroke);
    ctx->restore();
}

std::shared_ptr<plat::Path> KivoRenderEngine::drawPieSegment(double cx, double cy, double radius, double startAngle,
                                                             double sweepAngle, bool selected) {
    auto path = std::make_shared<plat::Path>();
    if (sweepAngle >= FullCircle) {
        drawEllipse(cx, cy, 2 * radius, 2 * radius);
        path->addEllipse({cx - radius, cy - radius, 2 * radius, 2 * radius});
        return path;
    }
    plat::Point start{cx - std::cos(startAngle) * radius, cy - std::sin(startAngle) * radius};
    path->addArc({cx, cy}, radius, startAngle - Pi, startAngle + sweepAngle - Pi, plat::ArcDirection::IncreasingAngle);
    path->lineTo({cx, cy});
    path->lineTo(start);
    _drawSegment(*path, selected);
    return path;
}

void KivoRenderEngine::_drawSegment(const plat::Path& path, bool selected) {
    if (plat::Context* ctx = plat::currentContext()) {
        // No opacity step: the context's alpha stays as last set.
        applyLook(*ctx, Fill | Stroke | Width, selected ? std::span<const double>(_borderDashes) : std::span<const double>());
        ctx->drawPath(path, plat::DrawingMode::FillStroke);
        ctx->setLineDash(0, {});
    }
    // A border pattern lasts for one segment.
    _borderDashes.clear();
}

std::shared_ptr<plat::Path> KivoRenderEngine::drawDonutSegment(double cx, double cy, double radius, double innerRadius,
                                                               double startAngle, double sweepAngle, bool selected) {
    auto path = std::make_shared<plat::Path>();
    plat::Point start{cx - std::cos(startAngle) * radius, cy - std::sin(startAngle) * radius};
    double a = startAngle - Pi, b = startAngle + sweepAngle - Pi;
    path->addArc({cx, cy}, radius, a, b, plat::ArcDirection::IncreasingAngle);
    path->addArc({cx, cy}, innerRadius, b, a, plat::ArcDirection::DecreasingAngle);
    path->lineTo(start);
    _drawSegment(*path, selected);
    return path;
}
