#include "Platform/runtime/clock.h"

#include <atomic>
#include <chrono>

#include "Platform/foundation/exception.h"
#include "scheduler.h"

namespace plat {

namespace {

std::atomic<bool> g_virtual{false};
std::atomic<double> g_virtualNow{0};

double systemNow() {
    using namespace std::chrono;
    // Anchored once: later readings follow the monotonic clock, so timers never see time run backwards.
    static const auto anchorSteady = steady_clock::now();
    static const double anchorWall = duration<double>(system_clock::now().time_since_epoch()).count();
    return anchorWall + duration<double>(steady_clock::now() - anchorSteady).count();
}

}  // namespace

double Clock::now() {
    return g_virtual.load(std::memory_order_acquire) ? g_virtualNow.load(std::memory_order_acquire) : systemNow();
}

bool Clock::isVirtual() { return g_virtual.load(std::memory_order_acquire); }

void Clock::useVirtual(Date start) {
    auto& scheduler = detail::Scheduler::instance();
    std::lock_guard lock(scheduler.mutex);
    if (g_virtual.load()) {
        throw InternalInconsistencyException("A virtual clock is installed already; restore the system clock first.");
    }
    const double before = systemNow();
    g_virtualNow.store(start.seconds);
    g_virtual.store(true, std::memory_order_release);
    scheduler.virtualClockInstalledLocked(before, start.seconds);
}

void Clock::useSystem() {
    auto& scheduler = detail::Scheduler::instance();
    std::lock_guard lock(scheduler.mutex);
    if (!g_virtual.load()) return;
    g_virtual.store(false, std::memory_order_release);
    scheduler.systemClockRestoredLocked();
}

void detail::setVirtualNow(double seconds) { g_virtualNow.store(seconds, std::memory_order_release); }

Date Date::now() { return Date(Clock::now()); }

}  // namespace plat
