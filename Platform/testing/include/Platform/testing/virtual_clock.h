#pragma once
// Installs a virtual clock for the lifetime of the object: time stands still until advance() moves it,
// firing the main run loop's timers, display-link frames and delayed dispatches in time order and
// letting background sleeps and semaphore time-outs end on the way.

#include "Platform/foundation/date.h"

namespace plat::testing {

class VirtualClock {
public:
    // 2024-01-01 00:00:00 UTC: a whole second, so display frames fall on exact sixtieths after it.
    static constexpr double DefaultStart = 1704067200;

    explicit VirtualClock(Date start = Date(DefaultStart));
    // Restores the system clock and ends the test's world: background waits on virtual time end as
    // timed out, background work settles, and the main run loop's timers, display links and posted
    // tasks are dropped, so nothing of this test fires in the next.
    ~VirtualClock();
    VirtualClock(const VirtualClock&) = delete;
    VirtualClock& operator=(const VirtualClock&) = delete;

    Date now() const;
    // Runs the main run loop while `seconds` pass (negative or NaN: none; due work still runs).
    void advance(double seconds);
};

}  // namespace plat::testing
