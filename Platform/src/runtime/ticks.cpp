#include "Platform/runtime/ticks.h"

#include <cmath>
#include <cstdint>

#include "runtime/tick_math.h"

namespace plat {

namespace {
constexpr std::int64_t PerSecond = Ticks::period::den;
}  // namespace

Ticks ticksFromSeconds(double seconds) {
    if (std::isnan(seconds)) return Ticks(0);
    // Whole seconds and the fraction apart: the product of a date near today and 1e9 would round to a
    // multiple of 256 ns, while the fraction alone converts to the nearest nanosecond.
    const double whole = std::floor(seconds);
    constexpr double Limit = static_cast<double>(Ticks::max().count() / PerSecond);
    if (whole >= Limit) return Ticks::max();
    if (whole <= -Limit) return Ticks::min();
    const auto fraction = static_cast<std::int64_t>(std::llround((seconds - whole) * PerSecond));
    return detail::addSaturated(Ticks(static_cast<std::int64_t>(whole) * PerSecond), Ticks(fraction));
}

double secondsFromTicks(Ticks ticks) {
    const std::int64_t n = ticks.count();
    return static_cast<double>(n / PerSecond) + static_cast<double>(n % PerSecond) / PerSecond;
}

}  // namespace plat
