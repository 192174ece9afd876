#pragma once
// The process's one source of time. Dates, timers, display links, delayed dispatches and background
// sleeps all read it, so a test can swap in a virtual clock that moves only when the test says so.

#include "Platform/foundation/date.h"

namespace plat {

class Clock {
public:
    // Seconds since 1970 on the installed clock. The system clock never runs backwards: it is the wall
    // time at start-up plus the monotonic time elapsed since.
    static double now();
    static bool isVirtual();

    // Installs a virtual clock standing at `start`. From then on time moves only when the main run
    // loop is run (RunLoop::runFor and friends jump it to the next due event). Pending background
    // sleeps keep the time they had left. Throws InternalInconsistencyException when a virtual clock
    // is installed already.
    static void useVirtual(Date start);
    // Goes back to the system clock. Background waits that were counting virtual time end at once as
    // timed out (their virtual deadlines mean nothing in real time). No-op on the system clock.
    static void useSystem();
};

}  // namespace plat
