#pragma once
// Paths of the common shapes that views and layers draw: rounded rectangles and circles, built with a
// fixed sequence of segments so that two of them can be interpolated point by point in animations.

#include "Platform/PlatformExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/graphics/path.h"

namespace plat {

// A closed rounded rectangle, clockwise from the end of the top-left corner: four lines and four
// quarter-circle cubics, always (zero-length pieces included). The radius is limited to half the
// shorter side; a negative or NaN radius is 0.
PLAT_EXPORT Path roundedRectPath(const Rect& rect, double cornerRadius);

}  // namespace plat
