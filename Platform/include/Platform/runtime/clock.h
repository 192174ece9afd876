#pragma once
// The process's one source of time. Dates, timers, display links, delayed dispatches and background
// sleeps all read it, so a test can swap in a virtual clock that moves only when the test says so.

#include "Platform/PlatformExport.h"
#include "Platform/foundation/date.h"
#include "Platform/runtime/ticks.h"

namespace plat {

class PLAT_EXPORT Clock {
public:
    // The installed clock's reading in ticks since 1970: what the runtime schedules by. The system
    // clock never runs backwards: it is the wall time at start-up plus the monotonic time elapsed since.
    static Ticks ticks();
    // The same reading in seconds since 1970.
    static double now();
    // The moment that `clockSeconds` names: the current tick when they are the clock's current reading
    // (so a time taken from now() means exactly now), otherwise the nearest tick.
    static Ticks ticksAt(double clockSeconds);
    static bool isVirtual();

    // Installs a virtual clock standing at `start` and opens its session. From then on time moves only
    // when the main run loop is run (RunLoop::runFor and friends jump it to the next due event).
    // Background sleeps and delayed blocks already pending keep the time they had left. Throws
    // InternalInconsistencyException when a virtual clock is installed already.
    static void useVirtual(Date start);
    // Goes back to the system clock and closes the virtual clock's session: background blocks it
    // queued or delayed that have not started are dropped; background waits end at once as timed out;
    // the blocks it started that are still running wait no more, and what they post to the main queue
    // or the pool from then on is dropped, so none of it reaches a later clock. No-op on the system clock.
    static void useSystem();
};

}  // namespace plat
