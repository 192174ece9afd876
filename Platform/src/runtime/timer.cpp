#include "Platform/runtime/timer.h"

#include <algorithm>
#include <cmath>

#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "scheduler.h"

namespace plat {

namespace {
// The shortest repeat: a zero interval would keep the run loop firing one timer for ever.
constexpr double MinimumRepeat = 0.0001;

double sanitizedInterval(double interval, bool repeats) {
    if (!(interval > 0)) interval = 0;  // NaN and negatives
    return repeats ? std::max(interval, MinimumRepeat) : interval;
}
}  // namespace

Timer::Timer(double interval, bool repeats, Callback callback)
    : _interval(sanitizedInterval(interval, repeats)),
      _repeats(repeats),
      _callback(std::make_shared<const Callback>(std::move(callback))),
      _fireDate(Clock::now() + _interval) {}

std::shared_ptr<Timer> Timer::create(double interval, bool repeats, Callback callback) {
    return std::make_shared<Timer>(interval, repeats, std::move(callback));
}

std::shared_ptr<Timer> Timer::scheduled(double interval, bool repeats, Callback callback) {
    auto timer = create(interval, repeats, std::move(callback));
    RunLoop::main().addTimer(timer);
    return timer;
}

Date Timer::fireDate() const {
    std::lock_guard lock(detail::Scheduler::instance().mutex);
    return Date(_fireDate);
}

void Timer::setFireDate(Date date) {
    auto& scheduler = detail::Scheduler::instance();
    std::lock_guard lock(scheduler.mutex);
    if (std::isnan(date.seconds)) return;
    _fireDate = date.seconds;
    scheduler.mainWake.notify_all();
}

void Timer::invalidate() {
    // Both let go after unlocking: the last reference may run captures that call back into the runtime.
    std::shared_ptr<const Callback> callback;
    std::shared_ptr<Timer> loopReference;
    std::lock_guard lock(detail::Scheduler::instance().mutex);
    _valid.store(false, std::memory_order_release);
    callback = std::move(_callback);
    if (_scheduled) loopReference = RunLoop::main().takeTimerLocked(*this);
}

}  // namespace plat
