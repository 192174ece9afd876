#include "Platform/ui/animation.h"

#include <algorithm>
#include <cmath>

#include "Platform/runtime/clock.h"
#include "runtime/tick_math.h"

namespace plat {

// ---- Timing ----

TimingFunction::TimingFunction(double x1, double y1, double x2, double y2)
    : _x1(std::isfinite(x1) ? std::clamp(x1, 0.0, 1.0) : 0),
      _y1(std::isfinite(y1) ? y1 : 0),
      _x2(std::isfinite(x2) ? std::clamp(x2, 0.0, 1.0) : 1),
      _y2(std::isfinite(y2) ? y2 : 1) {}

double TimingFunction::evaluate(double t) const {
    if (!(t > 0)) return 0;  // NaN too
    if (t >= 1) return 1;
    if (_x1 == _y1 && _x2 == _y2) return t;  // a straight line

    // Polynomial coefficients of the curve's x and y in the curve parameter s.
    const double cx = 3 * _x1, bx = 3 * (_x2 - _x1) - cx, ax = 1 - cx - bx;
    const double cy = 3 * _y1, by = 3 * (_y2 - _y1) - cy, ay = 1 - cy - by;
    auto xAt = [&](double s) { return ((ax * s + bx) * s + cx) * s; };
    auto dxAt = [&](double s) { return (3 * ax * s + 2 * bx) * s + cx; };

    // Newton's method first; bisection when the slope is too flat to trust.
    double s = t;
    for (int i = 0; i < 8; ++i) {
        const double err = xAt(s) - t;
        if (std::fabs(err) < 1e-9) return ((ay * s + by) * s + cy) * s;
        const double d = dxAt(s);
        if (std::fabs(d) < 1e-6) break;
        s -= err / d;
    }
    double lo = 0, hi = 1;
    s = t;
    for (int i = 0; i < 60; ++i) {
        const double x = xAt(s);
        if (std::fabs(x - t) < 1e-9) break;
        if (x < t)
            lo = s;
        else
            hi = s;
        s = (lo + hi) / 2;
    }
    return ((ay * s + by) * s + cy) * s;
}

// ---- Values ----

namespace {

double lerp(double a, double b, double p) { return a + (b - a) * p; }

Path interpolatePaths(const Path& from, const Path& to, double p) {
    if (p >= 1 || from.verbs() != to.verbs()) return p >= 1 ? to : from;
    if (p <= 0) return from;
    // Same segments: rebuild the path with every point moved along its way.
    const auto& a = from.points();
    const auto& b = to.points();
    Path out;
    out.reserve(from.verbs().size(), a.size());
    std::size_t i = 0;
    auto at = [&](std::size_t k) { return Point{lerp(a[k].x, b[k].x, p), lerp(a[k].y, b[k].y, p)}; };
    for (Path::Verb verb : from.verbs()) {
        switch (verb) {
            case Path::Verb::Move:
                out.moveTo(at(i));
                i += 1;
                break;
            case Path::Verb::Line:
                out.lineTo(at(i));
                i += 1;
                break;
            case Path::Verb::Quad:
                out.quadTo(at(i), at(i + 1));
                i += 2;
                break;
            case Path::Verb::Cubic:
                out.cubicTo(at(i), at(i + 1), at(i + 2));
                i += 3;
                break;
            case Path::Verb::Close:
                out.close();
                break;
        }
    }
    return out;
}

}  // namespace

AnimationValue interpolate(const AnimationValue& from, const AnimationValue& to, double progress) {
    if (from.index() != to.index()) return progress >= 1 ? to : from;
    if (const double* a = std::get_if<double>(&from)) return lerp(*a, std::get<double>(to), progress);
    if (const Color* a = std::get_if<Color>(&from)) {
        const Color& b = std::get<Color>(to);
        return Color(lerp(a->r, b.r, progress), lerp(a->g, b.g, progress), lerp(a->b, b.b, progress), lerp(a->a, b.a, progress));
    }
    if (const Point* a = std::get_if<Point>(&from)) {
        const Point& b = std::get<Point>(to);
        return Point{lerp(a->x, b.x, progress), lerp(a->y, b.y, progress)};
    }
    if (const Rect* a = std::get_if<Rect>(&from)) {
        const Rect& b = std::get<Rect>(to);
        return Rect{lerp(a->x(), b.x(), progress), lerp(a->y(), b.y(), progress), lerp(a->width(), b.width(), progress),
                    lerp(a->height(), b.height(), progress)};
    }
    if (const AffineTransform* a = std::get_if<AffineTransform>(&from)) {
        const AffineTransform& b = std::get<AffineTransform>(to);
        return AffineTransform{lerp(a->a, b.a, progress), lerp(a->b, b.b, progress),   lerp(a->c, b.c, progress),
                               lerp(a->d, b.d, progress), lerp(a->tx, b.tx, progress), lerp(a->ty, b.ty, progress)};
    }
    return interpolatePaths(std::get<Path>(from), std::get<Path>(to), progress);
}

// ---- Animation ----

double BasicAnimation::effectiveDuration() const { return _duration > 0 ? _duration : DefaultDuration; }

Value BasicAnimation::value(const std::string& key) const {
    auto it = _values.find(key);
    return it == _values.end() ? Value() : it->second;
}

void BasicAnimation::setValue(const std::string& key, Value value) { _values[key] = std::move(value); }

Ticks BasicAnimation::endTicks() const {
    // A duration too short for a tick still lasts one, so the animation has a moment to show.
    return detail::addSaturated(_begin, std::max(ticksFromSeconds(effectiveDuration()), Ticks(1)));
}

std::optional<double> BasicAnimation::progressAt(Ticks time) const {
    if (time < _begin) {
        if (_fillMode == FillMode::Backwards || _fillMode == FillMode::Both) return _timing ? _timing->evaluate(0) : 0.0;
        return std::nullopt;
    }
    const Ticks end = endTicks();
    if (time >= end) {
        if (_fillMode == FillMode::Forwards || _fillMode == FillMode::Both) return 1.0;
        return std::nullopt;
    }
    const double t = static_cast<double>((time - _begin).count()) / static_cast<double>((end - _begin).count());
    return _timing ? _timing->evaluate(t) : t;
}

std::optional<double> BasicAnimation::progressAt(double clockSeconds) const {
    if (std::isnan(clockSeconds)) return std::nullopt;
    return progressAt(Clock::ticksAt(clockSeconds));
}

void BasicAnimation::setBeginTime(double clockSeconds) { _begin = Clock::ticksAt(clockSeconds); }

}  // namespace plat
