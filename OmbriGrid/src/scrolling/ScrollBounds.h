#pragma once
// Where the origin may stand: shared by the grid's own clamps and the scroller's bounce.

#include <algorithm>

namespace kivo::detail {

// Clamps c to [0, m]; a negative maximum gives 0.
inline double clampOrigin(double c, double m) { return std::max(std::min(c, m), 0.0); }

// How far the vertical origin lies beyond an end of the content: negative when beyond, positive (room
// left) otherwise.
inline double verticalOver(double originY, double maxY) {
    if (originY < 0) return originY;
    return maxY <= 0 ? -originY : maxY - originY;
}

}  // namespace kivo::detail
