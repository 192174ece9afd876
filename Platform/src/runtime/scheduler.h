#pragma once
// The runtime's one lock and the bookkeeping that the run loop, the background pool and blocking waits
// share: which pool workers are busy, who is blocked until when, which delayed blocks are not yet due,
// and how virtual time moves. Keeping it all under one mutex is what makes "the pool is quiet" a fact
// the main thread can act on: a worker is counted busy again in the same critical section that wakes it.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "Platform/runtime/ticks.h"
#include "runtime/tick_math.h"

namespace plat::detail {

// One blocked thread: a background sleep or a semaphore wait. Lives on the waiting thread's stack.
struct Waiter {
    Ticks deadline = Never;  // on the clock
    bool woken = false;
    bool signalled = false;  // woken by a signal rather than by time
    bool worker = false;     // a pool worker: counted busy again when woken
    std::condition_variable cv;
};

// Moves the virtual clock (defined beside the clock; only the scheduler calls it).
void setVirtualNow(Ticks now);

class Scheduler {
public:
    static Scheduler& instance();

    std::mutex mutex;
    // Wakes the main thread: posted work, a settled pool, a woken waiter or a new timer may be there.
    std::condition_variable mainWake;

    // Background pool. Bucket 0 is the highest priority; tasks of one bucket start in FIFO order.
    static constexpr int Buckets = 4;
    // Enough for every control's background waits at once; past it, tasks queue until a worker frees.
    static constexpr std::size_t MaxWorkers = 64;

    void enqueue(int bucket, std::function<void()> task);
    // Hands `task` to the pool once the clock reaches `deadline`. Until then it waits in a queue ordered
    // by deadline and holds no worker: under the system clock a timekeeper thread releases it, under a
    // virtual clock the main thread does as it moves time.
    void enqueueAt(int bucket, Ticks deadline, std::function<void()> task);

    // True when the calling thread runs a block of a virtual clock's session that has ended: its waits
    // end at once, and what it queues or posts is dropped.
    bool cancelledLocked() const;

    // No pool worker is running and no queued task can start: every worker is idle or blocked in a wait.
    bool quietLocked() const;
    // Waits until the pool is quiet (or `ready` holds); bounded by a real-time safeguard (logged) so a
    // runaway background task cannot hang the main thread for ever. Background code therefore waits
    // through the runtime's sleeps and semaphores, never for the main thread by other means.
    void settleLocked(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready = nullptr);

    // Blocks the calling thread until `w` is woken: by wakeLocked (a signal), by its deadline passing
    // (real time on the system clock, virtual time moved by the main thread otherwise) or by a switch
    // back to the system clock. On the main thread under virtual time, moves time itself while the pool
    // is quiet, as a real sleep lets time pass.
    void block(std::unique_lock<std::mutex>& lock, Waiter& w);
    void wakeLocked(Waiter& w, bool signalled);
    // The earliest deadline of a background wait or a delayed block (Never when there is none).
    Ticks earliestDeadlineLocked() const;
    // Moves virtual time forward to `t` (never back, never past EndOfTime), wakes the waiters that are
    // then due and hands the delayed blocks that are then due to the pool.
    void moveVirtualTimeLocked(Ticks t);

    // Clock switches (Clock::useVirtual / useSystem), with the lock held. Blocks that the closing session
    // leaves behind are moved into `dropped`, for the caller to destroy after unlocking.
    void virtualClockInstalledLocked(Ticks systemNow, Ticks virtualStart);
    void systemClockRestoredLocked(std::vector<std::function<void()>>& dropped);

private:
    struct Task {
        std::function<void()> run;
        std::uint64_t session;  // the virtual clock's session that queued it; 0 for the system clock
    };
    struct Delayed {
        int bucket;
        Task task;
    };

    Scheduler() = default;
    std::uint64_t callerSessionLocked() const;
    void pushLocked(int bucket, Task task);
    void spawnWorkersLocked();
    void workerMain();
    void releaseDueLocked(Ticks now);
    bool startTimekeeperLocked();
    void timekeeperMain();
    void mainVirtualWait(std::unique_lock<std::mutex>& lock, Waiter& w);
    void logUnlocked(std::unique_lock<std::mutex>& lock, const char* message);

    std::condition_variable _work;
    std::deque<Task> _queues[Buckets];
    std::size_t _queued = 0;   // tasks not yet started
    std::size_t _running = 0;  // workers inside a task and not blocked in a wait
    std::size_t _idle = 0;     // workers waiting for a task
    std::size_t _workers = 0;
    std::vector<Waiter*> _waiters;  // in registration order

    std::map<DueKey, Delayed> _delayed;  // delayed blocks not yet due, in the order they fall due
    std::uint64_t _delayedOrder = 0;
    bool _timekeeper = false;  // the thread that releases delayed blocks on the system clock is running
    std::condition_variable _timekeeperWake;

    std::uint64_t _session = 0;  // the installed virtual clock's session; 0 under the system clock
    std::uint64_t _lastSession = 0;
};

}  // namespace plat::detail
