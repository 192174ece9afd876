#pragma once
// Display frames: frame n falls on the first tick at or after n/60 s since 1970.

#include <cstdint>

#include "Platform/runtime/display_link.h"
#include "runtime/tick_math.h"

namespace plat::detail {

inline constexpr std::int64_t FrameRate = static_cast<std::int64_t>(DisplayLink::FramesPerSecond);
static_assert(FrameRate == DisplayLink::FramesPerSecond, "frame times are computed for a whole number of frames per second");
inline constexpr std::int64_t TicksPerSecond = Ticks::period::den;

// Quotient rounded down and a remainder of the divisor's sign (divisor > 0), for moments before 1970.
inline std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }
inline std::int64_t floorMod(std::int64_t a, std::int64_t b) { return a - floorDiv(a, b) * b; }

inline Ticks frameTime(std::int64_t frame) {
    // Whole seconds and the frames within the second apart, so that nothing overflows.
    const std::int64_t seconds = floorDiv(frame, FrameRate);
    if (seconds >= Never.count() / TicksPerSecond) return Never;
    if (seconds <= Ticks::min().count() / TicksPerSecond) return Ticks::min();
    const std::int64_t within = (floorMod(frame, FrameRate) * TicksPerSecond + FrameRate - 1) / FrameRate;
    return Ticks(seconds * TicksPerSecond + within);
}

// The first frame strictly after `t`.
inline std::int64_t frameAfter(Ticks t) {
    const std::int64_t n = t.count();
    std::int64_t frame = floorDiv(n, TicksPerSecond) * FrameRate + floorMod(n, TicksPerSecond) * FrameRate / TicksPerSecond;
    while (frameTime(frame) <= t && frameTime(frame) != Never) ++frame;
    return frame;
}

}  // namespace plat::detail
