#pragma once
// The smooth path of the render engine's spline operations: quadratic pieces through every point
// that meet each point with a horizontal tangent (vertical when rotated), so the curve never
// overshoots its two neighbours.

#include <cstddef>

#include "Platform/graphics/path.h"

namespace kivo::detail {

// The control point between a and b: the midpoint, moved to b's y (b's x when rotated).
plat::Point controlPointForPoints(plat::Point a, plat::Point b, bool rotated);

// Starts a new subpath at points[0] and continues it through points[1 … count−1]; two points give
// a straight line, one gives only the start. Nothing is added for count 0.
void quadCurvedPathWithPoints(plat::Path& path, const plat::Point* points, std::size_t count, bool rotated);

}  // namespace kivo::detail
