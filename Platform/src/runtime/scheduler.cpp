#include "runtime/scheduler.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "Platform/foundation/log.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/dispatch.h"

namespace plat::detail {

namespace {

// Real-time bounds that only a misbehaving program reaches; they keep a test from hanging for ever.
constexpr std::chrono::seconds SettleSafeguard{30};
constexpr std::chrono::seconds DeadlockGrace{5};
// Real waits are taken in slices of at most this, so a far deadline cannot overflow the standard
// library's time arithmetic; a waiter simply looks again.
constexpr Ticks MaxRealWait = std::chrono::hours(1);

thread_local bool t_isWorker = false;
// The session of the block that this pool worker is running (0: a block of the system clock).
thread_local std::uint64_t t_session = 0;

Ticks realWaitFor(Ticks remaining) { return std::clamp(remaining, Ticks(0), MaxRealWait); }

}  // namespace

Scheduler& Scheduler::instance() {
    // Never destroyed: detached workers may still hold the lock while the process exits.
    static Scheduler* scheduler = new Scheduler();
    return *scheduler;
}

void Scheduler::logUnlocked(std::unique_lock<std::mutex>& lock, const char* message) {
    // A log sink may call back into the runtime, so the lock is never held across it.
    lock.unlock();
    plat::log(message);
    lock.lock();
}

// ---- Sessions ----

std::uint64_t Scheduler::callerSessionLocked() const {
    // A worker's blocks belong to the session of the block that queued them; any other thread works
    // for the clock that is installed.
    return t_isWorker ? t_session : _session;
}

bool Scheduler::cancelledLocked() const { return t_isWorker && t_session != 0 && t_session != _session; }

// ---- Background pool ----

void Scheduler::enqueue(int bucket, std::function<void()> task) {
    std::lock_guard lock(mutex);
    if (cancelledLocked()) return;  // the block dies with the parameter, after unlocking
    pushLocked(bucket, Task{std::move(task), callerSessionLocked()});
}

void Scheduler::pushLocked(int bucket, Task task) {
    _queues[std::clamp(bucket, 0, Buckets - 1)].push_back(std::move(task));
    ++_queued;
    spawnWorkersLocked();
    _work.notify_one();
}

void Scheduler::spawnWorkersLocked() {
    // One worker per task that no idle worker will take, so a task never waits behind blocked ones.
    while (_queued > _idle && _workers < MaxWorkers) {
        try {
            std::thread([this] { workerMain(); }).detach();
        } catch (const std::system_error&) {
            break;  // out of threads: the queued tasks wait for a busy worker to come free
        }
        ++_workers;
        ++_idle;  // counted idle from birth, so the task it is made for is not given a second thread
    }
}

void Scheduler::workerMain() {
    t_isWorker = true;
    std::unique_lock lock(mutex);
    for (;;) {
        _work.wait(lock, [this] { return _queued > 0; });
        Task task;
        for (auto& queue : _queues) {
            if (!queue.empty()) {
                task = std::move(queue.front());
                queue.pop_front();
                break;
            }
        }
        --_queued;
        --_idle;
        ++_running;
        t_session = task.session;
        lock.unlock();
        try {
            task.run();
        } catch (const std::exception& e) {
            plat::log(std::string("Uncaught exception in a background block: ") + e.what());
        } catch (...) {
            plat::log("Uncaught exception in a background block.");
        }
        task.run = nullptr;  // captures die while the worker still counts as busy: their destructors may post
        lock.lock();
        t_session = 0;
        --_running;
        ++_idle;
        mainWake.notify_all();
    }
}

bool Scheduler::quietLocked() const {
    if (_running > 0) return false;
    if (_queued == 0) return true;
    // Queued tasks that no worker can take (all blocked, no room for more) wait for a wake-up: quiet.
    return _idle == 0 && _workers >= MaxWorkers;
}

void Scheduler::settleLocked(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready) {
    if (!mainWake.wait_for(lock, SettleSafeguard, [&] { return quietLocked() || (ready && ready()); })) {
        logUnlocked(lock, "Background work is still running after 30 s; the main run loop goes on without it.");
    }
}

// ---- Delayed blocks ----

void Scheduler::enqueueAt(int bucket, Ticks deadline, std::function<void()> task) {
    std::lock_guard lock(mutex);
    if (cancelledLocked()) return;
    Task t{std::move(task), callerSessionLocked()};
    if (deadline <= Clock::ticks()) {
        pushLocked(bucket, std::move(t));
        return;
    }
    if (!Clock::isVirtual() && !startTimekeeperLocked()) {
        // No thread for the timekeeper: the block waits on a worker instead, which still runs it in time.
        pushLocked(bucket, Task{[this, deadline, run = std::move(t.run)] {
                                    {
                                        std::unique_lock sleepLock(mutex);
                                        Waiter w;
                                        w.deadline = deadline;
                                        block(sleepLock, w);
                                    }
                                    run();
                                },
                                t.session});
        return;
    }
    _delayed.emplace(DueKey{deadline, ++_delayedOrder}, Delayed{bucket, std::move(t)});
    _timekeeperWake.notify_one();
    mainWake.notify_all();  // a main thread waiting for the next event under virtual time looks again
}

void Scheduler::releaseDueLocked(Ticks now) {
    while (!_delayed.empty() && _delayed.begin()->first.time <= now) {
        auto node = _delayed.extract(_delayed.begin());
        pushLocked(node.mapped().bucket, std::move(node.mapped().task));
    }
}

bool Scheduler::startTimekeeperLocked() {
    if (_timekeeper) return true;
    try {
        std::thread([this] { timekeeperMain(); }).detach();
    } catch (const std::system_error&) {
        return false;
    }
    _timekeeper = true;
    return true;
}

void Scheduler::timekeeperMain() {
    // Releases delayed blocks on the system clock; under a virtual clock the main thread does it.
    std::unique_lock lock(mutex);
    for (;;) {
        if (Clock::isVirtual() || _delayed.empty()) {
            _timekeeperWake.wait(lock);
            continue;
        }
        const Ticks now = Clock::ticks();
        releaseDueLocked(now);
        if (!_delayed.empty()) _timekeeperWake.wait_for(lock, realWaitFor(_delayed.begin()->first.time - now));
    }
}

// ---- Blocking waits ----

void Scheduler::block(std::unique_lock<std::mutex>& lock, Waiter& w) {
    w.worker = t_isWorker;
    if (cancelledLocked() || !(w.deadline > Clock::ticks())) {
        w.woken = true;  // nothing to wait for, or a clock that has gone: times out at once
        return;
    }
    _waiters.push_back(&w);
    if (w.worker) {
        --_running;
        spawnWorkersLocked();  // blocked workers must not starve the queue
    }
    mainWake.notify_all();
    if (Clock::isVirtual() && isMainThread()) {
        mainVirtualWait(lock, w);
        return;
    }
    while (!w.woken) {
        if (Clock::isVirtual() || w.deadline == Never) {
            w.cv.wait(lock);
            continue;
        }
        const Ticks remaining = w.deadline - Clock::ticks();
        if (remaining <= Ticks(0)) {
            wakeLocked(w, false);
            break;
        }
        w.cv.wait_for(lock, realWaitFor(remaining));
    }
}

void Scheduler::mainVirtualWait(std::unique_lock<std::mutex>& lock, Waiter& w) {
    // The main thread is blocked, so its timers cannot fire; background work and background wake-ups
    // go on, and time moves from one wake-up to the next whenever the pool is quiet.
    while (!w.woken) {
        settleLocked(lock, [&] { return w.woken; });
        if (w.woken) break;
        const Ticks next = earliestDeadlineLocked();
        if (next != Never) {
            moveVirtualTimeLocked(next);
            continue;
        }
        // Quiet, and nothing is due ever: only a thread outside the runtime could still signal.
        if (!mainWake.wait_for(lock, DeadlockGrace, [&] { return w.woken || !quietLocked(); })) {
            wakeLocked(w, false);
            logUnlocked(lock,
                        "The main thread waits for ever on virtual time while no background work can "
                        "wake it; the wait ends as timed out.");
        }
    }
}

void Scheduler::wakeLocked(Waiter& w, bool signalled) {
    if (w.woken) return;
    w.woken = true;
    w.signalled = signalled;
    std::erase(_waiters, &w);
    if (w.worker) ++_running;  // busy again before anyone can see the pool as quiet
    w.cv.notify_one();
    mainWake.notify_all();
}

Ticks Scheduler::earliestDeadlineLocked() const {
    Ticks earliest = _delayed.empty() ? Never : _delayed.begin()->first.time;
    for (const Waiter* w : _waiters) earliest = std::min(earliest, w->deadline);
    return earliest;
}

void Scheduler::moveVirtualTimeLocked(Ticks t) {
    if (!Clock::isVirtual()) return;
    if (t > Clock::ticks()) setVirtualNow(std::min(t, EndOfTime));
    const Ticks now = Clock::ticks();
    std::vector<Waiter*> due;
    for (Waiter* w : _waiters) {
        if (w->deadline <= now) due.push_back(w);
    }
    for (Waiter* w : due) wakeLocked(*w, false);
    releaseDueLocked(now);
}

// ---- Clock switches ----

void Scheduler::virtualClockInstalledLocked(Ticks systemNow, Ticks virtualStart) {
    _session = ++_lastSession;
    // Real sleeps and delayed blocks already pending keep the time they had left, now on the virtual clock.
    auto shifted = [&](Ticks deadline) {
        if (deadline == Never) return Never;
        return addSaturated(virtualStart, std::max(Ticks(0), subtractSaturated(deadline, systemNow)));
    };
    for (Waiter* w : _waiters) {
        w->deadline = shifted(w->deadline);
        w->cv.notify_one();
    }
    std::map<DueKey, Delayed> delayed;
    for (auto& [key, block] : _delayed) delayed.emplace(DueKey{shifted(key.time), key.order}, std::move(block));
    _delayed.swap(delayed);
    releaseDueLocked(virtualStart);
}

void Scheduler::systemClockRestoredLocked(std::vector<std::function<void()>>& dropped) {
    const std::uint64_t closing = _session;
    _session = 0;
    // The closing session's blocks that have not started never will.
    for (auto& queue : _queues) {
        for (auto it = queue.begin(); it != queue.end();) {
            if (it->session != closing) {
                ++it;
                continue;
            }
            dropped.push_back(std::move(it->run));
            it = queue.erase(it);
            --_queued;
        }
    }
    // Its delayed blocks go too. Older ones were counting virtual time, which means nothing in real
    // time: like the waits, they are due at once.
    auto delayed = std::exchange(_delayed, {});
    for (auto& [key, block] : delayed) {
        if (block.task.session == closing) {
            dropped.push_back(std::move(block.task.run));
        } else {
            pushLocked(block.bucket, std::move(block.task));
        }
    }
    const std::vector<Waiter*> all = _waiters;
    for (Waiter* w : all) wakeLocked(*w, false);
    _timekeeperWake.notify_one();
    mainWake.notify_all();
}

}  // namespace plat::detail
