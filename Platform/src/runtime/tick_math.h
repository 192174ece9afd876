#pragma once
// Arithmetic on ticks that cannot overflow, and the moments that bound the clock.

#include <cstdint>

#include "Platform/runtime/ticks.h"

namespace plat::detail {

// A moment that never comes: the deadline of a wait without a time-out, the date of work that is never
// due. The clock stops one tick short of it, so work due then never fires, even at the end of time.
inline constexpr Ticks Never = Ticks::max();
inline constexpr Ticks EndOfTime = Never - Ticks(1);

// a + b, held within the range of ticks.
inline Ticks addSaturated(Ticks a, Ticks b) {
    if (b > Ticks(0) && a > Ticks::max() - b) return Ticks::max();
    if (b < Ticks(0) && a < Ticks::min() - b) return Ticks::min();
    return a + b;
}

// a - b, held within the range of ticks.
inline Ticks subtractSaturated(Ticks a, Ticks b) {
    if (b < Ticks(0) && a > Ticks::max() + b) return Ticks::max();
    if (b > Ticks(0) && a < Ticks::min() + b) return Ticks::min();
    return a - b;
}

// The moment `span` after `now`. A span too long for ticks (an endless wait) ends Never, whatever `now` is.
inline Ticks deadlineAfter(Ticks now, Ticks span) { return span == Ticks::max() ? Never : addSaturated(now, span); }

// Orders work due at the same tick: the earlier insertion first.
struct DueKey {
    Ticks time;
    std::uint64_t order;
    friend auto operator<=>(const DueKey&, const DueKey&) = default;
};

}  // namespace plat::detail
