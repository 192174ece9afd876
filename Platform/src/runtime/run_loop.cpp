#include "Platform/runtime/run_loop.h"

#include <algorithm>
#include <deque>
#include <map>
#include <unordered_map>
#include <vector>

#include "Platform/foundation/exception.h"
#include "Platform/foundation/log.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/dispatch.h"
#include "Platform/runtime/display_link.h"
#include "Platform/runtime/timer.h"
#include "runtime/frame_clock.h"
#include "runtime/scheduler.h"
#include "runtime/tick_math.h"

namespace plat {

namespace {

// A runaway chain of tasks that keep posting more stops runUntilIdle here instead of hanging it.
constexpr int MaxIdleTurns = 100000;
// Real waits of the main thread are taken in slices of at most this; it simply looks again.
constexpr Ticks MaxRealWait = std::chrono::hours(1);

// What fires at a moment: a timer or a display link's next frame.
struct Source {
    std::shared_ptr<Timer> timer;
    std::shared_ptr<DisplayLink> link;
};

// Guarded by the scheduler's mutex. Never destroyed, like the scheduler.
struct LoopState {
    std::deque<RunLoop::Task> tasks;
    // Every timer and display link on the loop (paused links and one-shot timers in their callback too);
    // the loop's references.
    std::unordered_map<const Timer*, std::shared_ptr<Timer>> timers;
    std::unordered_map<const DisplayLink*, std::shared_ptr<DisplayLink>> links;
    // What is waiting to fire, in firing order: date, then insertion.
    std::map<detail::DueKey, Source> due;
    std::vector<std::pair<RunLoop::ObserverId, std::shared_ptr<const std::function<void()>>>> observers;
    std::uint64_t order = 0;
    RunLoop::ObserverId nextObserver = 1;
};

LoopState& state() {
    static LoopState* s = new LoopState();
    return *s;
}

detail::Scheduler& scheduler() { return detail::Scheduler::instance(); }

Ticks sanitizedSpan(Ticks span) { return std::max(span, Ticks(0)); }

// The end of a run that lasts `span` from now, within the clock's range.
Ticks endAfter(Ticks span) { return std::min(detail::deadlineAfter(Clock::ticks(), sanitizedSpan(span)), detail::EndOfTime); }

// The first moment after `now` on the grid of a repeating timer that was due at `fireDate`.
Ticks nextFireDate(Ticks fireDate, Ticks interval, Ticks now) {
    const Ticks next = detail::addSaturated(fireDate, interval);
    if (next > now) return next;
    // Late (real time, or a date moved into the past): skip the missed firings, as a busy run loop does.
    const Ticks offset = detail::subtractSaturated(now, fireDate) % interval;
    return detail::addSaturated(now - offset, interval);
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
    // Posted by the work of a virtual clock that has gone: dropped (after unlocking, with the parameter).
    if (scheduler().cancelledLocked()) return;
    state().tasks.push_back(std::move(task));
    scheduler().mainWake.notify_all();
}

void RunLoop::addTimer(const std::shared_ptr<Timer>& timer) {
    if (!timer) return;
    {
        std::lock_guard lock(scheduler().mutex);
        auto& entry = timer->loopEntry({});
        if (!timer->isValid() || entry.scheduled) return;
        if (!scheduler().cancelledLocked()) {
            entry.scheduled = true;
            entry.order = ++state().order;
            state().timers.emplace(timer.get(), timer);
            state().due.emplace(detail::DueKey{entry.fireDate, entry.order}, Source{timer, nullptr});
            scheduler().mainWake.notify_all();
            return;
        }
    }
    timer->invalidate();  // made by the work of a virtual clock that has gone: it never fires
}

std::shared_ptr<Timer> RunLoop::takeTimerLocked(Passkey<Timer>, Timer& timer) {
    auto& entry = timer.loopEntry({});
    entry.scheduled = false;
    if (!entry.spent) state().due.erase(detail::DueKey{entry.fireDate, entry.order});
    auto node = state().timers.extract(&timer);
    return node ? std::move(node.mapped()) : nullptr;
}

void RunLoop::moveTimerLocked(Passkey<Timer>, Timer& timer, Ticks moment) {
    auto& entry = timer.loopEntry({});
    if (entry.scheduled && !entry.spent) {
        if (auto node = state().due.extract(detail::DueKey{entry.fireDate, entry.order})) {
            node.key().time = moment;
            state().due.insert(std::move(node));
        }
    }
    entry.fireDate = moment;
    scheduler().mainWake.notify_all();
}

void RunLoop::addLinkLocked(Passkey<DisplayLink>, std::shared_ptr<DisplayLink> link) {
    auto& entry = link->loopEntry({});
    entry.added = true;
    entry.order = ++state().order;
    entry.nextFrame = detail::frameAfter(Clock::ticks());
    if (!entry.paused)
        state().due.emplace(detail::DueKey{detail::frameTime(entry.nextFrame), entry.order}, Source{nullptr, link});
    state().links.emplace(link.get(), std::move(link));
    scheduler().mainWake.notify_all();
}

std::shared_ptr<DisplayLink> RunLoop::takeLinkLocked(Passkey<DisplayLink>, DisplayLink& link) {
    auto& entry = link.loopEntry({});
    if (!entry.paused) state().due.erase(detail::DueKey{detail::frameTime(entry.nextFrame), entry.order});
    entry.added = false;
    auto node = state().links.extract(&link);
    return node ? std::move(node.mapped()) : nullptr;
}

void RunLoop::setLinkPausedLocked(Passkey<DisplayLink>, DisplayLink& link, bool paused) {
    auto& entry = link.loopEntry({});
    if (paused == entry.paused) return;
    entry.paused = paused;
    if (paused) {
        if (entry.added) state().due.erase(detail::DueKey{detail::frameTime(entry.nextFrame), entry.order});
        return;
    }
    // Resumed, it ticks from the next frame on.
    entry.nextFrame = detail::frameAfter(Clock::ticks());
    if (entry.added)
        state().due.emplace(detail::DueKey{detail::frameTime(entry.nextFrame), entry.order},
                            Source{nullptr, state().links.at(&link)});
    scheduler().mainWake.notify_all();
}

std::size_t RunLoop::timerCount() const {
    std::lock_guard lock(scheduler().mutex);
    return state().timers.size();
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

bool RunLoop::readyLocked(Ticks now) const { return !state().tasks.empty() || nextEventLocked() <= now; }

Ticks RunLoop::nextEventLocked() const { return state().due.empty() ? detail::Never : state().due.begin()->first.time; }

void RunLoop::fireDue(Ticks now) {
    // What is due when the turn starts; what its callbacks add or move waits for the next turn.
    std::vector<std::pair<detail::DueKey, Source>> due;
    {
        std::lock_guard lock(scheduler().mutex);
        for (auto it = state().due.begin(); it != state().due.end() && it->first.time <= now; ++it) due.emplace_back(*it);
    }

    for (const auto& [key, source] : due) {
        if (source.timer) {
            Timer& t = *source.timer;
            std::shared_ptr<const Timer::Callback> callback;
            {
                std::lock_guard lock(scheduler().mutex);
                auto& entry = t.loopEntry({});
                // An earlier callback of this turn may have invalidated or moved it.
                if (!t.isValid() || !entry.scheduled || entry.spent || detail::DueKey{entry.fireDate, entry.order} != key)
                    continue;
                auto node = state().due.extract(key);
                callback = entry.callback;
                if (t.repeats()) {
                    entry.fireDate = nextFireDate(entry.fireDate, t.intervalTicks({}), Clock::ticks());
                    node.key().time = entry.fireDate;
                    state().due.insert(std::move(node));
                } else {
                    entry.spent = true;
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
            DisplayLink& l = *source.link;
            std::shared_ptr<const DisplayLink::Callback> callback;
            {
                std::lock_guard lock(scheduler().mutex);
                auto& entry = l.loopEntry({});
                if (!l.isValid() || entry.paused || !entry.added ||
                    detail::DueKey{detail::frameTime(entry.nextFrame), entry.order} != key) {
                    continue;
                }
                auto node = state().due.extract(key);
                entry.timestamp = key.time;
                // Under real time a late loop drops the frames it missed, as a display does.
                entry.nextFrame = std::max(entry.nextFrame + 1, detail::frameAfter(Clock::ticks()));
                node.key().time = detail::frameTime(entry.nextFrame);
                state().due.insert(std::move(node));
                callback = entry.callback;
            }
            if (callback && *callback) (*callback)(l, secondsFromTicks(key.time));
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
    for (const auto& entry : observers) {
        // A named copy rather than a structured binding: clang before 16 cannot capture one.
        const auto id = entry.first;
        {
            // One observer may remove a later one.
            std::lock_guard lock(scheduler().mutex);
            const auto& current = state().observers;
            if (std::none_of(current.begin(), current.end(), [&](const auto& o) { return o.first == id; })) continue;
        }
        (*entry.second)();
    }
}

void RunLoop::turn() {
    fireDue(Clock::ticks());
    runPostedTasks();
    notifyObservers();
}

// ---- Running ----

bool RunLoop::runTo(Ticks end, const std::function<bool()>* predicate) {
    turn();
    auto& sched = scheduler();
    for (;;) {
        if (predicate && (*predicate)()) return true;
        std::unique_lock lock(sched.mutex);
        if (Clock::isVirtual()) {
            // The pool settles completely before the main loop acts at this moment: deterministic order.
            sched.settleLocked(lock);
            if (readyLocked(Clock::ticks())) {
                lock.unlock();
                turn();
                continue;
            }
            if (predicate) {
                // Settled background work may have made it true: time stops here, not at the next event.
                lock.unlock();
                if ((*predicate)()) return true;
                lock.lock();
                if (readyLocked(Clock::ticks()) || !sched.quietLocked()) continue;
            }
            // Nothing to do now, and the pool is quiet: jump to the next event, main or background.
            const Ticks next = std::min(nextEventLocked(), sched.earliestDeadlineLocked());
            if (next > end) {
                sched.moveVirtualTimeLocked(end);
                break;
            }
            sched.moveVirtualTimeLocked(next);
        } else {
            const Ticks now = Clock::ticks();
            if (readyLocked(now)) {
                lock.unlock();
                turn();
                continue;
            }
            if (now >= end) break;
            const Ticks wakeAt = std::min(end, nextEventLocked());
            sched.mainWake.wait_for(lock, std::min(wakeAt - now, MaxRealWait));
        }
    }
    return predicate ? (*predicate)() : true;
}

void RunLoop::runFor(Ticks span) {
    requireMainThread("runFor");
    runTo(endAfter(span), nullptr);
}

void RunLoop::runFor(double seconds) { runFor(ticksFromSeconds(seconds)); }

bool RunLoop::runUntil(const std::function<bool()>& predicate, double timeoutSeconds) {
    requireMainThread("runUntil");
    const Ticks end = endAfter(ticksFromSeconds(timeoutSeconds));
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
            if (!readyLocked(Clock::ticks())) return;
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
        std::unordered_map<const Timer*, std::shared_ptr<Timer>> timers;
        std::unordered_map<const DisplayLink*, std::shared_ptr<DisplayLink>> links;
        std::map<detail::DueKey, Source> due;
        std::vector<std::shared_ptr<const void>> callbacks;
        {
            std::lock_guard lock(sched.mutex);
            tasks.swap(state().tasks);
            timers.swap(state().timers);
            links.swap(state().links);
            due.swap(state().due);
            for (auto& [key, t] : timers) callbacks.push_back(t->discardLocked({}));
            for (auto& [key, l] : links) callbacks.push_back(l->discardLocked({}));
        }
        if (tasks.empty() && timers.empty() && links.empty()) break;
    }
}

}  // namespace plat
