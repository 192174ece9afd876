#include "Platform/runtime/timer.h"

#include <algorithm>
#include <cmath>

#include "Platform/foundation/log.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "runtime/scheduler.h"
#include "runtime/tick_math.h"

namespace plat {

namespace {
Ticks sanitizedInterval(Ticks interval, bool repeats) {
    interval = std::max(interval, Ticks(0));
    return repeats ? std::max(interval, Timer::MinimumRepeat) : interval;
}
}  // namespace

Timer::Timer(Ticks interval, bool repeats, Callback callback)
    : _interval(sanitizedInterval(interval, repeats)),
      _repeats(repeats),
      _entry{.callback = std::make_shared<const Callback>(std::move(callback)),
             .fireDate = detail::deadlineAfter(Clock::ticks(), _interval)} {}

std::shared_ptr<Timer> Timer::create(Ticks interval, bool repeats, Callback callback) {
    return std::make_shared<Timer>(interval, repeats, std::move(callback));
}

std::shared_ptr<Timer> Timer::create(double intervalSeconds, bool repeats, Callback callback) {
    return create(ticksFromSeconds(intervalSeconds), repeats, std::move(callback));
}

std::shared_ptr<Timer> Timer::scheduled(Ticks interval, bool repeats, Callback callback) {
    auto timer = create(interval, repeats, std::move(callback));
    RunLoop::main().addTimer(timer);
    return timer;
}

std::shared_ptr<Timer> Timer::scheduled(double intervalSeconds, bool repeats, Callback callback) {
    return scheduled(ticksFromSeconds(intervalSeconds), repeats, std::move(callback));
}

Ticks Timer::fireTicks() const {
    std::lock_guard lock(detail::Scheduler::instance().mutex);
    return _entry.fireDate;
}

Date Timer::fireDate() const { return Date(secondsFromTicks(fireTicks())); }

void Timer::setFireDate(Date date) {
    if (!std::isfinite(date.seconds)) {
        // A repeating timer would count on from it and never be due again.
        plat::log("Timer::setFireDate: a fire date that is not finite is refused; the timer keeps its date.");
        return;
    }
    setFireTicks(ticksFromSeconds(date.seconds));
}

void Timer::setFireTicks(Ticks moment) {
    std::lock_guard lock(detail::Scheduler::instance().mutex);
    RunLoop::main().moveTimerLocked({}, *this, moment);
}

void Timer::invalidate() {
    // Both let go after unlocking: the last reference may run captures that call back into the runtime.
    std::shared_ptr<const Callback> callback;
    std::shared_ptr<Timer> loopReference;
    std::lock_guard lock(detail::Scheduler::instance().mutex);
    _valid.store(false, std::memory_order_release);
    callback = std::move(_entry.callback);
    if (_entry.scheduled) loopReference = RunLoop::main().takeTimerLocked({}, *this);
}

std::shared_ptr<const Timer::Callback> Timer::discardLocked(Passkey<RunLoop>) {
    _valid.store(false, std::memory_order_release);
    _entry.scheduled = false;
    return std::move(_entry.callback);
}

}  // namespace plat
