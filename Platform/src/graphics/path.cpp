#include "Platform/graphics/path.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace plat {

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;

bool finite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Segments needed so that a curve with second-difference magnitude `dd` stays within `tol` of
// its chords (Wang's formula).
int segmentsFor(double dd, double factor, double tol) {
    if (!(dd > 0) || !std::isfinite(dd)) return 1;
    double n = std::ceil(std::sqrt(factor * dd / tol));
    return static_cast<int>(std::clamp(n, 1.0, 256.0));
}

Point quadAt(Point p0, Point p1, Point p2, double t) {
    double u = 1 - t;
    return {u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x, u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y};
}

Point cubicAt(Point p0, Point p1, Point p2, Point p3, double t) {
    double u = 1 - t;
    double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return {a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y};
}

}  // namespace

void Path::reserve(std::size_t verbs, std::size_t points) {
    _verbs.reserve(verbs);
    _points.reserve(points);
}

void Path::moveTo(Point p) {
    // Consecutive moves collapse into the last one, as an empty subpath draws nothing.
    if (!_verbs.empty() && _verbs.back() == Verb::Move) {
        _points.back() = p;
    } else {
        _verbs.push_back(Verb::Move);
        _points.push_back(p);
    }
    _current = _subpathStart = p;
    _hasCurrent = true;
}

void Path::ensureStart(Point p) {
    if (!_hasCurrent) moveTo(p);
}

void Path::lineTo(Point p) {
    ensureStart(p);
    _verbs.push_back(Verb::Line);
    _points.push_back(p);
    _current = p;
}

void Path::quadTo(Point control, Point end) {
    ensureStart(control);
    _verbs.push_back(Verb::Quad);
    _points.push_back(control);
    _points.push_back(end);
    _current = end;
}

void Path::cubicTo(Point c1, Point c2, Point end) {
    ensureStart(c1);
    _verbs.push_back(Verb::Cubic);
    _points.push_back(c1);
    _points.push_back(c2);
    _points.push_back(end);
    _current = end;
}

void Path::addArc(Point center, double radius, double start, double end, ArcDirection direction) {
    if (!finite(center) || !std::isfinite(radius) || !std::isfinite(start) || !std::isfinite(end)) return;
    radius = std::fabs(radius);
    double sweep = end - start;
    if (direction == ArcDirection::IncreasingAngle) {
        if (sweep < 0) sweep = std::fmod(sweep, TwoPi) + TwoPi;
        if (sweep > 2 * TwoPi) sweep = TwoPi + std::fmod(sweep, TwoPi);
    } else {
        if (sweep > 0) sweep = std::fmod(sweep, TwoPi) - TwoPi;
        if (sweep < -2 * TwoPi) sweep = -TwoPi + std::fmod(sweep, TwoPi);
    }
    Point first{center.x + radius * std::cos(start), center.y + radius * std::sin(start)};
    if (_hasCurrent)
        lineTo(first);
    else
        moveTo(first);
    if (sweep == 0 || radius == 0) return;

    // Eighth turns keep the cubic within a few millionths of the radius of the true circle.
    int pieces = static_cast<int>(std::ceil(std::fabs(sweep) / (std::numbers::pi / 4) - 1e-9));
    pieces = std::max(pieces, 1);
    double step = sweep / pieces;
    double k = 4.0 / 3.0 * std::tan(step / 4);
    double a = start;
    for (int i = 0; i < pieces; ++i) {
        double b = (i == pieces - 1) ? start + sweep : a + step;
        double ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
        Point p0{center.x + radius * ca, center.y + radius * sa};
        Point p3{center.x + radius * cb, center.y + radius * sb};
        Point c1{p0.x - k * radius * sa, p0.y + k * radius * ca};
        Point c2{p3.x + k * radius * sb, p3.y - k * radius * cb};
        cubicTo(c1, c2, p3);
        a = b;
    }
}

void Path::addRect(const Rect& r) {
    // A rectangle alone (a cell's, a bar's) takes its storage at once; one added to a longer path
    // leaves the growth to the vectors.
    if (_verbs.empty()) reserve(5, 4);
    moveTo({r.x(), r.y()});
    lineTo({r.x() + r.width(), r.y()});
    lineTo({r.x() + r.width(), r.y() + r.height()});
    lineTo({r.x(), r.y() + r.height()});
    close();
}

void Path::addEllipse(const Rect& r) {
    // Four cubic quarters; kappa places the control points so the curve hugs the true ellipse.
    constexpr double Kappa = 0.5522847498307936;
    double cx = r.x() + r.width() / 2, cy = r.y() + r.height() / 2;
    double rx = r.width() / 2, ry = r.height() / 2;
    double ox = rx * Kappa, oy = ry * Kappa;
    moveTo({cx + rx, cy});
    cubicTo({cx + rx, cy + oy}, {cx + ox, cy + ry}, {cx, cy + ry});
    cubicTo({cx - ox, cy + ry}, {cx - rx, cy + oy}, {cx - rx, cy});
    cubicTo({cx - rx, cy - oy}, {cx - ox, cy - ry}, {cx, cy - ry});
    cubicTo({cx + ox, cy - ry}, {cx + rx, cy - oy}, {cx + rx, cy});
    close();
}

void Path::addLines(const Point* points, std::size_t count) {
    if (count == 0) return;
    reserve(_verbs.size() + count, _points.size() + count);
    moveTo(points[0]);
    for (std::size_t i = 1; i < count; ++i) lineTo(points[i]);
}

void Path::addPath(const Path& other) {
    _verbs.insert(_verbs.end(), other._verbs.begin(), other._verbs.end());
    _points.insert(_points.end(), other._points.begin(), other._points.end());
    if (other._hasCurrent) {
        _current = other._current;
        _subpathStart = other._subpathStart;
        _hasCurrent = true;
    }
}

void Path::close() {
    if (!_hasCurrent || _verbs.empty() || _verbs.back() == Verb::Close) return;
    _verbs.push_back(Verb::Close);
    _current = _subpathStart;
}

std::vector<Path::Polygon> Path::flattened(double tolerance) const {
    if (!(tolerance > 0)) tolerance = 0.05;
    std::vector<Polygon> out;
    std::size_t pi = 0;
    Point cur;
    auto open = [&](Point p) {
        out.push_back({});
        out.back().points.push_back(p);
    };
    for (Verb v : _verbs) {
        switch (v) {
            case Verb::Move:
                cur = _points[pi++];
                open(cur);
                break;
            case Verb::Line:
                cur = _points[pi++];
                out.back().points.push_back(cur);
                break;
            case Verb::Quad: {
                Point c = _points[pi], e = _points[pi + 1];
                pi += 2;
                double dd = std::hypot(cur.x - 2 * c.x + e.x, cur.y - 2 * c.y + e.y);
                int n = segmentsFor(dd, 0.25, tolerance);
                for (int i = 1; i <= n; ++i) out.back().points.push_back(i == n ? e : quadAt(cur, c, e, double(i) / n));
                cur = e;
                break;
            }
            case Verb::Cubic: {
                Point c1 = _points[pi], c2 = _points[pi + 1], e = _points[pi + 2];
                pi += 3;
                double dd = std::max(std::hypot(cur.x - 2 * c1.x + c2.x, cur.y - 2 * c1.y + c2.y),
                                     std::hypot(c1.x - 2 * c2.x + e.x, c1.y - 2 * c2.y + e.y));
                int n = segmentsFor(dd, 0.75, tolerance);
                for (int i = 1; i <= n; ++i) out.back().points.push_back(i == n ? e : cubicAt(cur, c1, c2, e, double(i) / n));
                cur = e;
                break;
            }
            case Verb::Close:
                if (!out.empty()) {
                    out.back().closed = true;
                    cur = out.back().points.front();
                    // Drawing after a close continues from the subpath's start in a new subpath.
                    open(cur);
                }
                break;
        }
    }
    // Drop the single-point subpaths that a trailing move or close leaves.
    std::erase_if(out, [](const Polygon& p) { return p.points.size() < 2 && !p.closed; });
    return out;
}

namespace {

// Parameters in (0, 1) where one coordinate of a cubic has a zero derivative.
int cubicExtrema(double p0, double p1, double p2, double p3, double out[2]) {
    // B'(t)/3 = a t² + b t + c
    double a = -p0 + 3 * p1 - 3 * p2 + p3, b = 2 * (p0 - 2 * p1 + p2), c = p1 - p0;
    int n = 0;
    auto keep = [&](double t) {
        if (t > 0 && t < 1) out[n++] = t;
    };
    if (std::fabs(a) < 1e-12) {
        if (std::fabs(b) > 1e-12) keep(-c / b);
        return n;
    }
    double disc = b * b - 4 * a * c;
    if (disc < 0) return 0;
    double root = std::sqrt(disc);
    keep((-b + root) / (2 * a));
    keep((-b - root) / (2 * a));
    return n;
}

}  // namespace

Rect Path::bounds() const {
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -minX, maxY = -minX;
    auto add = [&](Point p) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    };
    std::size_t pi = 0;
    Point cur;
    bool drawn = false;  // a lone move has a location but no extent
    for (Verb v : _verbs) {
        switch (v) {
            case Verb::Move:
                cur = _points[pi++];
                break;
            case Verb::Line:
                add(cur);
                cur = _points[pi++];
                add(cur);
                drawn = true;
                break;
            case Verb::Quad: {
                Point c = _points[pi], e = _points[pi + 1];
                pi += 2;
                add(cur);
                add(e);
                for (int axis = 0; axis < 2; ++axis) {
                    double p0 = axis ? cur.y : cur.x, p1 = axis ? c.y : c.x, p2 = axis ? e.y : e.x;
                    double den = p0 - 2 * p1 + p2;
                    if (std::fabs(den) > 1e-12) {
                        double t = (p0 - p1) / den;
                        if (t > 0 && t < 1) add(quadAt(cur, c, e, t));
                    }
                }
                cur = e;
                drawn = true;
                break;
            }
            case Verb::Cubic: {
                Point c1 = _points[pi], c2 = _points[pi + 1], e = _points[pi + 2];
                pi += 3;
                add(cur);
                add(e);
                double ts[2];
                int n = cubicExtrema(cur.x, c1.x, c2.x, e.x, ts);
                for (int i = 0; i < n; ++i) add(cubicAt(cur, c1, c2, e, ts[i]));
                n = cubicExtrema(cur.y, c1.y, c2.y, e.y, ts);
                for (int i = 0; i < n; ++i) add(cubicAt(cur, c1, c2, e, ts[i]));
                cur = e;
                drawn = true;
                break;
            }
            case Verb::Close:
                break;
        }
    }
    if (!drawn) {
        if (!_points.empty()) return {_points.front().x, _points.front().y, 0, 0};
        return {};
    }
    return {minX, minY, maxX - minX, maxY - minY};
}

bool Path::contains(Point p, FillRule rule) const {
    if (!finite(p)) return false;
    int winding = 0;
    int crossings = 0;
    for (const auto& poly : flattened(0.05)) {
        const auto& pts = poly.points;
        std::size_t n = pts.size();
        for (std::size_t i = 0; i < n; ++i) {
            Point a = pts[i], b = pts[(i + 1) % n];
            if (a.y <= p.y) {
                if (b.y > p.y) {
                    double cross = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
                    if (cross > 0) {
                        ++winding;
                        ++crossings;
                    }
                }
            } else if (b.y <= p.y) {
                double cross = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
                if (cross < 0) {
                    --winding;
                    ++crossings;
                }
            }
        }
    }
    return rule == FillRule::NonZero ? winding != 0 : (crossings % 2) != 0;
}

Path Path::transformed(const AffineTransform& t) const {
    Path out = *this;
    if (t.isIdentity()) return out;
    for (Point& p : out._points) p = t.apply(p);
    out._current = t.apply(_current);
    out._subpathStart = t.apply(_subpathStart);
    return out;
}

}  // namespace plat
