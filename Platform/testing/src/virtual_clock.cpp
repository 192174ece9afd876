#include "Platform/testing/virtual_clock.h"

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

void VirtualClock::advance(double seconds) { RunLoop::main().runFor(seconds); }

}  // namespace plat::testing
