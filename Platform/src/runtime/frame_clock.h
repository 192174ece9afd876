#pragma once
// Display frames: whole multiples of 1/60 s on the clock, numbered from 1970.

#include <cmath>
#include <cstdint>

#include "Platform/runtime/display_link.h"

namespace plat::detail {

inline double frameTime(std::int64_t frame) { return static_cast<double>(frame) / DisplayLink::FramesPerSecond; }

// The first frame strictly after `t`.
inline std::int64_t frameAfter(double t) {
    auto frame = static_cast<std::int64_t>(std::floor(t * DisplayLink::FramesPerSecond)) + 1;
    while (frameTime(frame) <= t) ++frame;  // rounding of t * 60 can land one frame short
    return frame;
}

}  // namespace plat::detail
