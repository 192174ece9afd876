#include "drawing/KivoSplinePath.h"

#include <cmath>

namespace kivo::detail {

plat::Point controlPointForPoints(plat::Point a, plat::Point b, bool rotated) {
    plat::Point c{(a.x + b.x) / 2, (a.y + b.y) / 2};
    if (rotated) {
        if (b.x > a.x)
            c.x += std::fabs(b.x - c.x);
        else if (a.x > b.x)
            c.x -= std::fabs(b.x - c.x);
    } else {
        if (b.y > a.y)
            c.y += std::fabs(b.y - c.y);
        else if (a.y > b.y)
            c.y -= std::fabs(b.y - c.y);
    }
    return c;
}

void quadCurvedPathWithPoints(plat::Path& path, const plat::Point* points, std::size_t count, bool rotated) {
    if (count == 0) return;
    path.moveTo(points[0]);
    if (count == 2) {
        path.lineTo(points[1]);
        return;
    }
    for (std::size_t i = 1; i < count; ++i) {
        plat::Point p = points[i - 1], q = points[i];
        plat::Point m{(p.x + q.x) / 2, (p.y + q.y) / 2};
        path.quadTo(controlPointForPoints(m, p, rotated), m);
        path.quadTo(controlPointForPoints(m, q, rotated), q);
    }
}

}  // namespace kivo::detail
