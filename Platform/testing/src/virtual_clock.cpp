#include "Platform/testing/virtual_clock.h"

#include <cmath>
#include <string>

#include "Platform/foundation/log.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/dispatch.h"
#include "Platform/runtime/run_loop.h"

namespace plat::testing {

VirtualClock::VirtualClock(Date start) { Clock::useVirtual(start); }

VirtualClock::~VirtualClock() {
    Clock::useSystem();
    // Only the main thread may touch the main run loop; a clock made elsewhere leaves it as it is.
    if (isMainThread()) RunLoop::main().discardPendingWork();
}

Date VirtualClock::now() const { return Date::now(); }

Ticks VirtualClock::ticks() const { return Clock::ticks(); }

void VirtualClock::advance(double seconds) {
    if (!std::isfinite(seconds)) {
        // An endless advance would never return; nothing that a test means by it can be done.
        plat::log("VirtualClock::advance: a span of " + std::to_string(seconds) + " s is refused; time stays where it is.");
        seconds = 0;
    }
    RunLoop::main().runFor(seconds);
}

void VirtualClock::advance(Ticks span) { RunLoop::main().runFor(span); }

}  // namespace plat::testing
