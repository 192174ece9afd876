#pragma once
// Plain geometry values of the platform layer: points, sizes, rectangles, affine transforms
// and edge insets, in view coordinates (x grows to the right, y downward).

#include <cmath>
#include <iosfwd>

#include "Platform/PlatformExport.h"

namespace plat {

struct PLAT_EXPORT Point {
    double x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct PLAT_EXPORT Size {
    double width = 0, height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct PLAT_EXPORT EdgeInsets {
    double top = 0, left = 0, bottom = 0, right = 0;
    friend bool operator==(const EdgeInsets&, const EdgeInsets&) = default;
};

struct PLAT_EXPORT Rect {
    Point origin;
    Size size;

    constexpr Rect() = default;
    constexpr Rect(double x, double y, double w, double h) : origin{x, y}, size{w, h} {}
    constexpr Rect(Point o, Size s) : origin(o), size(s) {}

    double x() const { return origin.x; }
    double y() const { return origin.y; }
    double width() const { return size.width; }
    double height() const { return size.height; }
    // The min/max helpers work on the standardised rectangle (negative sizes flipped).
    double minX() const { return std::fmin(origin.x, origin.x + size.width); }
    double maxX() const { return std::fmax(origin.x, origin.x + size.width); }
    double minY() const { return std::fmin(origin.y, origin.y + size.height); }
    double maxY() const { return std::fmax(origin.y, origin.y + size.height); }
    double midX() const { return origin.x + size.width / 2; }
    double midY() const { return origin.y + size.height / 2; }
    Point center() const { return {midX(), midY()}; }

    bool isEmpty() const { return !(size.width != 0 && size.height != 0) || std::isnan(size.width) || std::isnan(size.height); }
    // Half-open containment, as hit testing of views expects.
    bool contains(Point p) const { return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY(); }
    bool contains(const Rect& r) const;
    bool intersects(const Rect& r) const;

    Rect standardized() const { return {minX(), minY(), maxX() - minX(), maxY() - minY()}; }
    Rect intersection(const Rect& r) const;  // empty rectangle at (inf, inf) when disjoint
    Rect united(const Rect& r) const;
    Rect insetBy(double dx, double dy) const;
    Rect inset(const EdgeInsets& e) const;
    Rect offsetBy(double dx, double dy) const { return {origin.x + dx, origin.y + dy, size.width, size.height}; }
    Rect integral() const;  // smallest rectangle with integer edges that contains this one
    bool isNull() const { return std::isinf(origin.x) || std::isinf(origin.y); }

    friend bool operator==(const Rect&, const Rect&) = default;
};

// Row-vector affine transform: x' = a·x + c·y + tx, y' = b·x + d·y + ty.
struct PLAT_EXPORT AffineTransform {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static AffineTransform identity() { return {}; }
    static AffineTransform translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static AffineTransform scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static AffineTransform rotation(double radians);

    bool isIdentity() const { return *this == AffineTransform{}; }
    bool isInvertible() const;
    // this applied first, then `then`
    AffineTransform concat(const AffineTransform& then) const;
    AffineTransform translated(double x, double y) const { return translation(x, y).concat(*this); }
    AffineTransform scaled(double sx, double sy) const { return scale(sx, sy).concat(*this); }
    AffineTransform rotated(double radians) const { return rotation(radians).concat(*this); }
    AffineTransform inverted() const;  // identity-safe: a singular transform is returned unchanged

    Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    Size applyToSize(Size s) const { return {a * s.width + c * s.height, b * s.width + d * s.height}; }
    Rect applyToRect(const Rect& r) const;  // bounding box of the transformed corners

    friend bool operator==(const AffineTransform&, const AffineTransform&) = default;
};

// Readable in logs and test failures: "(x, y)", "(w x h)", "(x, y, w x h)", "{top t, left l, bottom b, right r}".
PLAT_EXPORT std::ostream& operator<<(std::ostream& os, const Point& p);
PLAT_EXPORT std::ostream& operator<<(std::ostream& os, const Size& s);
PLAT_EXPORT std::ostream& operator<<(std::ostream& os, const Rect& r);
PLAT_EXPORT std::ostream& operator<<(std::ostream& os, const EdgeInsets& e);

}  // namespace plat
