#include "Platform/runtime/run_loop.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

#include "Platform/foundation/exception.h"
#include "Platform/foundation/log.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/dispatch.h"
#include "Platform/runtime/display_link.h"
#include "Platform/runtime/timer.h"
#include "frame_clock.h"
#include "scheduler.h"

namespace plat {

namespace {

// A runaway chain of tasks that keep posting more stops runUntilIdle here instead of hanging it.
constexpr int MaxIdleTurns = 100000;

// Guarded by the scheduler's mutex. Never destroyed, like the scheduler.
struct LoopState {
    std::deque<RunLoop::Task> tasks;
    std::vector<std::shared_ptr<Timer>> timers;
    std::vector<std::shared_ptr<DisplayLink>> links;
    std::vector<std::pair<RunLoop::ObserverId, std::shared_ptr<const std::function<void()>>>> observers;
    std::uint64_t order = 0;
    RunLoop::ObserverId nextObserver = 1;
};

LoopState& state() {
    static LoopState* s = new LoopState();
    return *s;
}

detail::Scheduler& scheduler() { return detail::Scheduler::instance(); }

double sanitizedSpan(double seconds) { return seconds > 0 ? seconds : 0; }  // NaN and negatives are 0

template <class T>
std::shared_ptr<T> takeFrom(std::vector<std::shared_ptr<T>>& list, T& item) {
    auto it = std::find_if(list.begin(), list.end(), [&](const auto& p) { return p.get() == &item; });
    if (it == list.end()) return nullptr;
    auto taken = std::move(*it);
    list.erase(it);
    return taken;
}

double nextFireDate(double fireDate, double interval, double now) {
    double next = fireDate + interval;
    if (next <= now) {
        // Late (real time): skip the missed firings, as a busy run loop does.
        next = fireDate + interval * (std::floor((now - fireDate) / interval) + 1);
        if (next <= now) next = now + interval;
    }
    return next;
}

}  // namespace

RunLoop& RunLoop::main() {
    static RunLoop loop;
    return loop;
}

void RunLoop::requireMainThread(const char* what) const {
    if (!isMainThread()) throw InternalInconsistencyException(std::string("RunLoop::") + what + " runs on the main thread only.");
}

// ---- Sources ----

void RunLoop::post(Task task) {
    if (!task) return;
    std::lock_guard lock(scheduler().mutex);
    state().tasks.push_back(std::move(task));
    scheduler().mainWake.notify_all();
}

void RunLoop::addTimer(const std::shared_ptr<Timer>& timer) {
    if (!timer) return;
    std::lock_guard lock(scheduler().mutex);
    if (!timer->isValid() || timer->_scheduled) return;
    timer->_scheduled = true;
    timer->_order = ++state().order;
    state().timers.push_back(timer);
    scheduler().mainWake.notify_all();
}

std::shared_ptr<Timer> RunLoop::takeTimerLocked(Timer& timer) {
    timer._scheduled = false;
    return takeFrom(state().timers, timer);
}

void RunLoop::addLinkLocked(std::shared_ptr<DisplayLink> link) {
    link->_added = true;
    link->_order = ++state().order;
    link->_nextFrame = detail::frameAfter(Clock::now());
    state().links.push_back(std::move(link));
    scheduler().mainWake.notify_all();
}

std::shared_ptr<DisplayLink> RunLoop::takeLinkLocked(DisplayLink& link) {
    link._added = false;
    return takeFrom(state().links, link);
}

std::size_t RunLoop::timerCount() const {
    std::lock_guard lock(scheduler().mutex);
    return static_cast<std::size_t>(
        std::count_if(state().timers.begin(), state().timers.end(), [](const auto& t) { return t->isValid(); }));
}

RunLoop::ObserverId RunLoop::addAfterTurnObserver(std::function<void()> observer) {
    std::lock_guard lock(scheduler().mutex);
    const ObserverId id = state().nextObserver++;
    if (observer) state().observers.emplace_back(id, std::make_shared<const std::function<void()>>(std::move(observer)));
    return id;
}

void RunLoop::removeAfterTurnObserver(ObserverId id) {
    std::shared_ptr<const std::function<void()>> dropped;  // let go after unlocking
    std::lock_guard lock(scheduler().mutex);
    auto& observers = state().observers;
    auto it = std::find_if(observers.begin(), observers.end(), [&](const auto& o) { return o.first == id; });
    if (it == observers.end()) return;
    dropped = std::move(it->second);
    observers.erase(it);
}

// ---- Due work ----

bool RunLoop::readyLocked(double now) const { return !state().tasks.empty() || nextEventLocked() <= detail::dueLimit(now); }

double RunLoop::nextEventLocked() const {
    double next = detail::Forever;
    for (const auto& t : state().timers) {
        if (t->isValid() && !t->_spent) next = std::min(next, t->_fireDate);
    }
    for (const auto& l : state().links) {
        if (l->isValid() && !l->_paused) next = std::min(next, detail::frameTime(l->_nextFrame));
    }
    return next;
}

void RunLoop::fireDue(double now) {
    struct Due {
        double time;
        std::uint64_t order;
        std::shared_ptr<Timer> timer;
        std::shared_ptr<DisplayLink> link;
        std::int64_t frame;
    };
    std::vector<Due> due;
    now = detail::dueLimit(now);
    {
        std::lock_guard lock(scheduler().mutex);
        for (const auto& t : state().timers) {
            if (t->isValid() && !t->_spent && t->_fireDate <= now) due.push_back({t->_fireDate, t->_order, t, nullptr, 0});
        }
        for (const auto& l : state().links) {
            const double time = detail::frameTime(l->_nextFrame);
            if (l->isValid() && !l->_paused && time <= now) due.push_back({time, l->_order, nullptr, l, l->_nextFrame});
        }
    }
    std::sort(due.begin(), due.end(),
              [](const Due& a, const Due& b) { return a.time != b.time ? a.time < b.time : a.order < b.order; });

    for (const Due& d : due) {
        if (d.timer) {
            Timer& t = *d.timer;
            std::shared_ptr<const Timer::Callback> callback;
            {
                std::lock_guard lock(scheduler().mutex);
                // An earlier callback of this turn may have invalidated or moved it.
                if (!t.isValid() || t._spent || !t._scheduled || t._fireDate != d.time) continue;
                callback = t._callback;
                if (t._repeats) {
                    t._fireDate = nextFireDate(t._fireDate, t._interval, Clock::now());
                } else {
                    t._spent = true;
                }
            }
            struct InvalidateOneShot {
                Timer& timer;
                ~InvalidateOneShot() {
                    if (!timer.repeats()) timer.invalidate();
                }
            } guard{t};
            if (callback && *callback) (*callback)(t);
        } else {
            DisplayLink& l = *d.link;
            std::shared_ptr<const DisplayLink::Callback> callback;
            double timestamp = 0;
            {
                std::lock_guard lock(scheduler().mutex);
                if (!l.isValid() || l._paused || !l._added || l._nextFrame != d.frame) continue;
                timestamp = d.time;
                l._timestamp = timestamp;
                // Under real time a late loop drops the frames it missed, as a display does.
                l._nextFrame = std::max(d.frame + 1, detail::frameAfter(Clock::now()));
                callback = l._callback;
            }
            if (callback && *callback) (*callback)(l, timestamp);
        }
    }
}

void RunLoop::runPostedTasks() {
    std::size_t count;
    {
        std::lock_guard lock(scheduler().mutex);
        count = state().tasks.size();  // tasks posted by these tasks wait for the next turn
    }
    for (std::size_t i = 0; i < count; ++i) {
        Task task;
        {
            std::lock_guard lock(scheduler().mutex);
            if (state().tasks.empty()) return;
            task = std::move(state().tasks.front());
            state().tasks.pop_front();
        }
        task();
    }
}

void RunLoop::notifyObservers() {
    std::vector<std::pair<ObserverId, std::shared_ptr<const std::function<void()>>>> observers;
    {
        std::lock_guard lock(scheduler().mutex);
        observers = state().observers;
    }
    for (const auto& [id, observer] : observers) {
        {
            // One observer may remove a later one.
            std::lock_guard lock(scheduler().mutex);
            const auto& current = state().observers;
            if (std::none_of(current.begin(), current.end(), [&](const auto& o) { return o.first == id; })) continue;
        }
        (*observer)();
    }
}

void RunLoop::turn() {
    fireDue(Clock::now());
    runPostedTasks();
    notifyObservers();
}

// ---- Running ----

bool RunLoop::runTo(double end, const std::function<bool()>* predicate) {
    turn();
    auto& sched = scheduler();
    for (;;) {
        if (predicate && (*predicate)()) return true;
        std::unique_lock lock(sched.mutex);
        if (Clock::isVirtual()) {
            // The pool settles completely before the main loop acts at this moment: deterministic order.
            sched.settleLocked(lock);
            if (readyLocked(Clock::now())) {
                lock.unlock();
                turn();
                continue;
            }
            if (predicate) {
                // Settled background work may have made it true: time stops here, not at the next event.
                lock.unlock();
                if ((*predicate)()) return true;
                lock.lock();
                if (readyLocked(Clock::now()) || !sched.quietLocked()) continue;
            }
            // Nothing to do now, and the pool is quiet: jump to the next event, main or background.
            const double next = std::min(nextEventLocked(), sched.earliestDeadlineLocked());
            if (next > detail::dueLimit(end)) {
                sched.moveVirtualTimeLocked(end);
                break;
            }
            sched.moveVirtualTimeLocked(next);
        } else {
            const double now = Clock::now();
            if (readyLocked(now)) {
                lock.unlock();
                turn();
                continue;
            }
            if (now >= end) break;
            const double wakeAt = std::min(end, nextEventLocked());
            sched.mainWake.wait_for(lock, std::chrono::duration<double>(std::min(wakeAt - now, 1e6)));
        }
    }
    return predicate ? (*predicate)() : true;
}

void RunLoop::runFor(double seconds) {
    requireMainThread("runFor");
    runTo(Clock::now() + sanitizedSpan(seconds), nullptr);
}

bool RunLoop::runUntil(const std::function<bool()>& predicate, double timeoutSeconds) {
    requireMainThread("runUntil");
    const double end = Clock::now() + sanitizedSpan(timeoutSeconds);
    if (!predicate) {
        runTo(end, nullptr);
        return false;
    }
    return runTo(end, &predicate);
}

void RunLoop::runUntilIdle() {
    requireMainThread("runUntilIdle");
    turn();
    auto& sched = scheduler();
    for (int turns = 1;; ++turns) {
        {
            std::unique_lock lock(sched.mutex);
            sched.settleLocked(lock);
            if (!readyLocked(Clock::now())) return;
        }
        if (turns == MaxIdleTurns) {
            plat::log("RunLoop::runUntilIdle gave up after 100000 turns: tasks keep posting more tasks.");
            return;
        }
        turn();
    }
}

void RunLoop::discardPendingWork() {
    requireMainThread("discardPendingWork");
    auto& sched = scheduler();
    {
        std::unique_lock lock(sched.mutex);
        sched.settleLocked(lock);
    }
    // Dropping captures may post or schedule again; a few rounds clear what they leave.
    for (int round = 0; round < 8; ++round) {
        std::deque<Task> tasks;
        std::vector<std::shared_ptr<Timer>> timers;
        std::vector<std::shared_ptr<DisplayLink>> links;
        std::vector<std::shared_ptr<const void>> callbacks;
        {
            std::lock_guard lock(sched.mutex);
            tasks.swap(state().tasks);
            timers.swap(state().timers);
            links.swap(state().links);
            for (auto& t : timers) {
                t->_valid.store(false, std::memory_order_release);
                t->_scheduled = false;
                callbacks.push_back(std::move(t->_callback));
            }
            for (auto& l : links) {
                l->_valid.store(false, std::memory_order_release);
                l->_added = false;
                callbacks.push_back(std::move(l->_callback));
            }
        }
        if (tasks.empty() && timers.empty() && links.empty()) break;
    }
}

}  // namespace plat
