#include "Platform/ui/shapes.h"

#include <algorithm>
#include <cmath>

namespace plat {

namespace {
// Control-point distance of a cubic that approximates a quarter circle of radius 1.
constexpr double Kappa = 0.5522847498307936;
}  // namespace

Path roundedRectPath(const Rect& rect, double cornerRadius) {
    const Rect r = rect.standardized();
    double radius = std::isnan(cornerRadius) ? 0 : std::max(0.0, cornerRadius);
    radius = std::min(radius, std::min(r.width(), r.height()) / 2);
    const double k = radius * Kappa;
    const double x0 = r.minX(), y0 = r.minY(), x1 = r.maxX(), y1 = r.maxY();

    Path p;
    p.reserve(10, 18);
    p.moveTo({x0 + radius, y0});
    p.lineTo({x1 - radius, y0});
    p.cubicTo({x1 - radius + k, y0}, {x1, y0 + radius - k}, {x1, y0 + radius});
    p.lineTo({x1, y1 - radius});
    p.cubicTo({x1, y1 - radius + k}, {x1 - radius + k, y1}, {x1 - radius, y1});
    p.lineTo({x0 + radius, y1});
    p.cubicTo({x0 + radius - k, y1}, {x0, y1 - radius + k}, {x0, y1 - radius});
    p.lineTo({x0, y0 + radius});
    p.cubicTo({x0, y0 + radius - k}, {x0 + radius - k, y0}, {x0 + radius, y0});
    p.close();
    return p;
}

}  // namespace plat
