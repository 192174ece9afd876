#include "Platform/runtime/semaphore.h"

#include <algorithm>
#include <deque>

#include "Platform/foundation/log.h"
#include "Platform/runtime/clock.h"
#include "runtime/scheduler.h"
#include "runtime/tick_math.h"

namespace plat::dispatch {

// Guarded by the scheduler's mutex, like every other wait.
struct Semaphore::State {
    long count = 0;
    std::deque<detail::Waiter*> waiters;
};

Semaphore::Semaphore(long count) : _state(std::make_shared<State>()) {
    if (count < 0) {
        plat::log("Semaphore created with a negative count " + std::to_string(count) + "; starting at 0.");
        count = 0;
    }
    _state->count = count;
}

Semaphore::~Semaphore() = default;

bool Semaphore::wait(double timeoutSeconds) {
    auto state = _state;
    auto& scheduler = detail::Scheduler::instance();
    std::unique_lock lock(scheduler.mutex);
    if (state->count > 0) {
        --state->count;
        return true;
    }
    if (!(timeoutSeconds > 0)) return false;
    detail::Waiter w;
    w.deadline = detail::deadlineAfter(Clock::ticks(), ticksFromSeconds(timeoutSeconds));
    state->waiters.push_back(&w);
    scheduler.block(lock, w);
    if (!w.signalled) std::erase(state->waiters, &w);
    return w.signalled;
}

bool Semaphore::signal() {
    auto& scheduler = detail::Scheduler::instance();
    std::lock_guard lock(scheduler.mutex);
    auto& waiters = _state->waiters;
    while (!waiters.empty()) {
        detail::Waiter* w = waiters.front();
        waiters.pop_front();
        if (!w->woken) {  // a waiter that timed out may not have left the queue yet
            scheduler.wakeLocked(*w, true);
            return true;
        }
    }
    ++_state->count;
    return false;
}

long Semaphore::count() const {
    std::lock_guard lock(detail::Scheduler::instance().mutex);
    return _state->count;
}

}  // namespace plat::dispatch
