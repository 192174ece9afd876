#include "scheduler.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <string>
#include <system_error>
#include <thread>

#include "Platform/foundation/log.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/dispatch.h"

namespace plat::detail {

double dueLimit(double now) { return Clock::isVirtual() ? now + VirtualSlack : now; }

namespace {

// Enough for every control's background waits at once; past it, tasks queue until a worker frees.
constexpr std::size_t MaxWorkers = 64;
// Real-time bounds that only a misbehaving program reaches; they keep a test from hanging for ever.
constexpr std::chrono::seconds SettleSafeguard{30};
constexpr std::chrono::seconds DeadlockGrace{5};

thread_local bool t_isWorker = false;

std::chrono::duration<double> realSpan(double seconds) { return std::chrono::duration<double>(std::clamp(seconds, 0.0, 1e6)); }

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

// ---- Background pool ----

void Scheduler::enqueue(int bucket, std::function<void()> task) {
    std::lock_guard lock(mutex);
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
        std::function<void()> task;
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
        lock.unlock();
        try {
            task();
        } catch (const std::exception& e) {
            plat::log(std::string("Uncaught exception in a background block: ") + e.what());
        } catch (...) {
            plat::log("Uncaught exception in a background block.");
        }
        task = nullptr;  // captures die while the worker still counts as busy: their destructors may post
        lock.lock();
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

// ---- Blocking waits ----

void Scheduler::block(std::unique_lock<std::mutex>& lock, Waiter& w) {
    w.worker = t_isWorker;
    if (!(w.deadline > Clock::now())) {
        w.woken = true;  // nothing to wait for: times out at once
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
        if (Clock::isVirtual() || w.deadline == Forever) {
            w.cv.wait(lock);
            continue;
        }
        const double remaining = w.deadline - Clock::now();
        if (remaining <= 0) {
            wakeLocked(w, false);
            break;
        }
        w.cv.wait_for(lock, realSpan(remaining));
    }
}

void Scheduler::mainVirtualWait(std::unique_lock<std::mutex>& lock, Waiter& w) {
    // The main thread is blocked, so its timers cannot fire; background work and background wake-ups
    // go on, and time moves from one wake-up to the next whenever the pool is quiet.
    while (!w.woken) {
        settleLocked(lock, [&] { return w.woken; });
        if (w.woken) break;
        const double next = earliestDeadlineLocked();
        if (next != Forever) {
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

double Scheduler::earliestDeadlineLocked() const {
    double earliest = Forever;
    for (const Waiter* w : _waiters) earliest = std::min(earliest, w->deadline);
    return earliest;
}

void Scheduler::moveVirtualTimeLocked(double t) {
    if (!Clock::isVirtual()) return;
    if (t > Clock::now()) setVirtualNow(t);
    const double limit = dueLimit(Clock::now());
    std::vector<Waiter*> due;
    for (Waiter* w : _waiters) {
        if (w->deadline <= limit) due.push_back(w);
    }
    for (Waiter* w : due) wakeLocked(*w, false);
}

void Scheduler::virtualClockInstalledLocked(double systemNow, double virtualStart) {
    // Real sleeps already running keep the time they had left, now counted on the virtual clock.
    for (Waiter* w : _waiters) {
        if (w->deadline != Forever) w->deadline = virtualStart + std::max(0.0, w->deadline - systemNow);
        w->cv.notify_one();
    }
}

void Scheduler::systemClockRestoredLocked() {
    const std::vector<Waiter*> all = _waiters;
    for (Waiter* w : all) wakeLocked(*w, false);
}

}  // namespace plat::detail
