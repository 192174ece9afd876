#pragma once
// The runtime's unit of time: whole nanoseconds in a signed 64-bit integer, about 292 years either side
// of 1970. The clock, timers, display links, delayed dispatches and animations keep time in ticks, so
// work due at a tick fires at exactly that tick; seconds (double) and dates belong to the public edges.

#include <chrono>

#include "Platform/PlatformExport.h"

namespace plat {

// A span of time, or a moment counted from 1970-01-01 00:00 UTC (as a Date counts).
using Ticks = std::chrono::nanoseconds;

// Seconds to the nearest tick. NaN is 0; values beyond the range of ticks (infinities included) are
// held at Ticks::min() or Ticks::max().
PLAT_EXPORT Ticks ticksFromSeconds(double seconds);
// Ticks to seconds. Near today a double resolves only about 0.2 µs, so compare moments as ticks.
PLAT_EXPORT double secondsFromTicks(Ticks ticks);

}  // namespace plat
