#include "PieMaskPaths.h"

#include <cmath>
#include <numbers>

namespace kivo::pie {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr auto Clockwise = plat::ArcDirection::IncreasingAngle;
constexpr auto CounterClockwise = plat::ArcDirection::DecreasingAngle;

}  // namespace

plat::Path ringMaskPath(double cx, double cy, double inner, double outer) {
    plat::Path path;
    if (!(inner < outer)) return path;
    const plat::Point c{cx, cy}, left{cx - outer, cy};
    path.addArc(c, inner, 0, Pi, CounterClockwise);
    path.lineTo(left);
    path.addArc(c, outer, Pi, 0, Clockwise);
    path.addArc(c, inner, 0, -Pi, Clockwise);
    path.lineTo(left);
    path.addArc(c, outer, -Pi, 0, CounterClockwise);
    return path;
}

plat::Path sectorMaskPath(double cx, double cy, double radius, double startAngle, double sweep) {
    plat::Path path;
    if (sweep >= 2 * Pi) {
        path.addEllipse({cx - radius, cy - radius, 2 * radius, 2 * radius});
        return path;
    }
    // The platform's angles start on the right, the pie's on the left: half a turn apart.
    const plat::Point start{cx - radius * std::cos(startAngle), cy - radius * std::sin(startAngle)};
    path.addArc({cx, cy}, radius, startAngle - Pi, startAngle + sweep - Pi, CounterClockwise);
    path.lineTo({cx, cy});
    path.lineTo(start);
    return path;
}

}  // namespace kivo::pie
