#pragma once
// Installs a virtual clock for the lifetime of the object: time stands still until advance() moves it,
// firing the main run loop's timers, display-link frames and delayed dispatches in time order and
// letting background sleeps and semaphore time-outs end on the way.

#include "Platform/foundation/date.h"
#include "Platform/runtime/ticks.h"

namespace plat::testing {

class VirtualClock {
public:
    // 2024-01-01 00:00:00 UTC: a whole second, so display frames fall on exact sixtieths after it.
    static constexpr double DefaultStart = 1704067200;

    explicit VirtualClock(Date start = Date(DefaultStart));
    // Restores the system clock and ends the test's world, so nothing of this test runs in the next:
    // background blocks not yet started and delayed ones not yet due are dropped; background waits
    // end as timed out and the blocks still running settle, their further posts dropped; the main run
    // loop's timers, display links and posted tasks are dropped.
    ~VirtualClock();
    VirtualClock(const VirtualClock&) = delete;
    VirtualClock& operator=(const VirtualClock&) = delete;

    Date now() const;
    Ticks ticks() const;
    // Runs the main run loop while `seconds` pass (negative: none; due work still runs). A span that
    // is not finite is refused, with a logged reason: no time passes, due work still runs.
    void advance(double seconds);
    void advance(Ticks span);
};

}  // namespace plat::testing
