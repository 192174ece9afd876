#include "graphics/stroke_snap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace plat::detail {

namespace {

// How a coordinate of a point is placed: along a segment (its end), or across one (the line's centre).
enum Role : std::uint8_t { None = 0, AcrossX = 1, AcrossY = 2 };

}  // namespace

double snapCentre(double v, double width) {
    return static_cast<std::int64_t>(width) % 2 == 1 ? std::floor(v) + 0.5 : std::round(v);
}

std::optional<double> thinStrokeWidth(const AffineTransform& ctm, double lineWidth, double imageScale) {
    if (ctm.b != 0 || ctm.c != 0) return std::nullopt;
    const double scale = std::fabs(ctm.a);
    if (!(scale > 0) || std::fabs(ctm.d) != scale) return std::nullopt;
    const double width = lineWidth * scale;
    if (!(width > 0) || !(width <= ThinStrokePoints * imageScale)) return std::nullopt;
    return std::max(1.0, std::round(width));
}

std::optional<SnappedStroke> snapThinStroke(const Path& userPath, const AffineTransform& ctm, double lineWidth,
                                            double imageScale) {
    const auto thin = thinStrokeWidth(ctm, lineWidth, imageScale);
    if (!thin) return std::nullopt;
    const double scale = std::fabs(ctm.a);

    const auto& verbs = userPath.verbs();
    std::vector<Point> pts;
    pts.reserve(userPath.points().size());
    for (Point p : userPath.points()) {
        const Point d = ctm.apply(p);
        if (!std::isfinite(d.x) || !std::isfinite(d.y)) return std::nullopt;
        pts.push_back(d);
    }
    std::vector<std::uint8_t> roles(pts.size(), None);
    // Marks the segment from point `from` to point `to`; false when it runs along neither axis.
    auto mark = [&](std::size_t from, std::size_t to) {
        const Point a = pts[from], b = pts[to];
        if (a.x == b.x && a.y == b.y) return true;
        if (a.x == b.x) {
            roles[from] |= AcrossX;
            roles[to] |= AcrossX;
            return true;
        }
        if (a.y == b.y) {
            roles[from] |= AcrossY;
            roles[to] |= AcrossY;
            return true;
        }
        return false;
    };
    std::size_t i = 0, start = 0;
    bool anySegment = false;
    for (Path::Verb v : verbs) {
        switch (v) {
            case Path::Verb::Move:
                start = i++;
                break;
            case Path::Verb::Line:
                if (i == 0 || !mark(i - 1, i)) return std::nullopt;
                anySegment = true;
                ++i;
                break;
            case Path::Verb::Close:
                if (i == 0 || !mark(i - 1, start)) return std::nullopt;
                break;
            case Path::Verb::Quad:
            case Path::Verb::Cubic:
                return std::nullopt;
        }
    }
    if (!anySegment) return std::nullopt;

    const double whole = *thin;
    SnappedStroke out{Path(), whole, scale};
    i = 0;
    auto snapped = [&](std::size_t k) {
        const Point p = pts[k];
        return Point{roles[k] & AcrossX ? snapCentre(p.x, whole) : std::round(p.x),
                     roles[k] & AcrossY ? snapCentre(p.y, whole) : std::round(p.y)};
    };
    for (Path::Verb v : verbs) {
        if (v == Path::Verb::Move)
            out.devicePath.moveTo(snapped(i++));
        else if (v == Path::Verb::Line)
            out.devicePath.lineTo(snapped(i++));
        else
            out.devicePath.close();
    }
    return out;
}

}  // namespace plat::detail
