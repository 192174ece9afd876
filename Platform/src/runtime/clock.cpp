#include "Platform/runtime/clock.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <vector>

#include "Platform/foundation/exception.h"
#include "runtime/scheduler.h"
#include "runtime/tick_math.h"

namespace plat {

namespace {

std::atomic<bool> g_virtual{false};
std::atomic<Ticks::rep> g_virtualNow{0};

Ticks systemNow() {
    using namespace std::chrono;
    // Anchored once: later readings follow the monotonic clock, so timers never see time run backwards.
    static const auto anchorSteady = steady_clock::now();
    static const Ticks anchorWall = duration_cast<Ticks>(system_clock::now().time_since_epoch());
    return anchorWall + duration_cast<Ticks>(steady_clock::now() - anchorSteady);
}

}  // namespace

Ticks Clock::ticks() {
    return g_virtual.load(std::memory_order_acquire) ? Ticks(g_virtualNow.load(std::memory_order_acquire)) : systemNow();
}

double Clock::now() { return secondsFromTicks(ticks()); }

Ticks Clock::ticksAt(double clockSeconds) {
    // A double near today spans a few hundred ticks; the one it was read from is the one meant.
    const Ticks current = ticks();
    return secondsFromTicks(current) == clockSeconds ? current : ticksFromSeconds(clockSeconds);
}

bool Clock::isVirtual() { return g_virtual.load(std::memory_order_acquire); }

void Clock::useVirtual(Date start) {
    auto& scheduler = detail::Scheduler::instance();
    std::lock_guard lock(scheduler.mutex);
    if (g_virtual.load()) {
        throw InternalInconsistencyException("A virtual clock is installed already; restore the system clock first.");
    }
    const Ticks before = systemNow();
    const Ticks startTicks = std::min(ticksFromSeconds(start.seconds), detail::EndOfTime);
    g_virtualNow.store(startTicks.count());
    g_virtual.store(true, std::memory_order_release);
    scheduler.virtualClockInstalledLocked(before, startTicks);
}

void Clock::useSystem() {
    auto& scheduler = detail::Scheduler::instance();
    std::vector<std::function<void()>> dropped;  // destroyed after unlocking: captures may call back
    std::lock_guard lock(scheduler.mutex);
    if (!g_virtual.load()) return;
    g_virtual.store(false, std::memory_order_release);
    scheduler.systemClockRestoredLocked(dropped);
}

void detail::setVirtualNow(Ticks now) { g_virtualNow.store(now.count(), std::memory_order_release); }

Date Date::now() { return Date(Clock::now()); }

}  // namespace plat
