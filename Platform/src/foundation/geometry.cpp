#include "Platform/foundation/geometry.h"

#include <algorithm>
#include <limits>
#include <ostream>

namespace plat {

std::ostream& operator<<(std::ostream& os, const Point& p) { return os << "(" << p.x << ", " << p.y << ")"; }
std::ostream& operator<<(std::ostream& os, const Size& s) { return os << "(" << s.width << " x " << s.height << ")"; }
std::ostream& operator<<(std::ostream& os, const Rect& r) {
    return os << "(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}
std::ostream& operator<<(std::ostream& os, const EdgeInsets& e) {
    return os << "{top " << e.top << ", left " << e.left << ", bottom " << e.bottom << ", right " << e.right << "}";
}

bool Rect::contains(const Rect& r) const {
    return r.minX() >= minX() && r.maxX() <= maxX() && r.minY() >= minY() && r.maxY() <= maxY();
}

bool Rect::intersects(const Rect& r) const { return !intersection(r).isNull(); }

Rect Rect::intersection(const Rect& r) const {
    double x0 = std::max(minX(), r.minX()), y0 = std::max(minY(), r.minY());
    double x1 = std::min(maxX(), r.maxX()), y1 = std::min(maxY(), r.maxY());
    if (!(x1 >= x0 && y1 >= y0)) {
        double inf = std::numeric_limits<double>::infinity();
        return {inf, inf, 0, 0};
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

Rect Rect::united(const Rect& r) const {
    if (isNull()) return r;
    if (r.isNull()) return *this;
    double x0 = std::min(minX(), r.minX()), y0 = std::min(minY(), r.minY());
    double x1 = std::max(maxX(), r.maxX()), y1 = std::max(maxY(), r.maxY());
    return {x0, y0, x1 - x0, y1 - y0};
}

Rect Rect::insetBy(double dx, double dy) const {
    Rect s = standardized();
    return {s.origin.x + dx, s.origin.y + dy, s.size.width - 2 * dx, s.size.height - 2 * dy};
}

Rect Rect::inset(const EdgeInsets& e) const {
    return {origin.x + e.left, origin.y + e.top, size.width - e.left - e.right, size.height - e.top - e.bottom};
}

Rect Rect::integral() const {
    if (isNull()) return *this;
    double x0 = std::floor(minX()), y0 = std::floor(minY());
    double x1 = std::ceil(maxX()), y1 = std::ceil(maxY());
    return {x0, y0, x1 - x0, y1 - y0};
}

AffineTransform AffineTransform::rotation(double radians) {
    double c = std::cos(radians), s = std::sin(radians);
    return {c, s, -s, c, 0, 0};
}

bool AffineTransform::isInvertible() const {
    double det = a * d - b * c;
    return det != 0 && std::isfinite(det);
}

AffineTransform AffineTransform::concat(const AffineTransform& t) const {
    return {a * t.a + b * t.c, a * t.b + b * t.d,          c * t.a + d * t.c,
            c * t.b + d * t.d, tx * t.a + ty * t.c + t.tx, tx * t.b + ty * t.d + t.ty};
}

AffineTransform AffineTransform::inverted() const {
    double det = a * d - b * c;
    if (det == 0 || !std::isfinite(det)) return *this;
    return {d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
}

Rect AffineTransform::applyToRect(const Rect& r) const {
    Point p[4] = {apply({r.minX(), r.minY()}), apply({r.maxX(), r.minY()}), apply({r.minX(), r.maxY()}),
                  apply({r.maxX(), r.maxY()})};
    double x0 = p[0].x, x1 = p[0].x, y0 = p[0].y, y1 = p[0].y;
    for (auto& q : p) {
        x0 = std::min(x0, q.x);
        x1 = std::max(x1, q.x);
        y0 = std::min(y0, q.y);
        y1 = std::max(y1, q.y);
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

}  // namespace plat
