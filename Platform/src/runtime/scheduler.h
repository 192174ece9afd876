#pragma once
// The runtime's one lock and the bookkeeping that the run loop, the background pool and blocking waits
// share: which pool workers are busy, who is blocked until when, and how virtual time moves. Keeping it
// all under one mutex is what makes "the pool is quiet" a fact the main thread can act on: a worker is
// counted busy again in the same critical section that wakes it.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <limits>
#include <mutex>
#include <vector>

namespace plat::detail {

inline constexpr double Forever = std::numeric_limits<double>::infinity();

// Virtual time sits near 1.7e9 s, where a double resolves about 2e-7 s: two steps of 0.1 s can land a
// rounding error short of a timer due 0.2 s later. Under virtual time, work due within this slack of
// the clock counts as due, so stepping by the same amounts that scheduled it always fires it.
inline constexpr double VirtualSlack = 1e-6;
double dueLimit(double now);  // now, plus the slack under virtual time

// One blocked thread: a background sleep or a semaphore wait. Lives on the waiting thread's stack.
struct Waiter {
    double deadline = Forever;  // on the clock
    bool woken = false;
    bool signalled = false;  // woken by a signal rather than by time
    bool worker = false;     // a pool worker: counted busy again when woken
    std::condition_variable cv;
};

// Moves the virtual clock (defined beside the clock; only the scheduler calls it).
void setVirtualNow(double seconds);

class Scheduler {
public:
    static Scheduler& instance();

    std::mutex mutex;
    // Wakes the main thread: posted work, a settled pool, a woken waiter or a new timer may be there.
    std::condition_variable mainWake;

    // Background pool. Bucket 0 is the highest priority; tasks of one bucket start in FIFO order.
    static constexpr int Buckets = 4;
    void enqueue(int bucket, std::function<void()> task);

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
    double earliestDeadlineLocked() const;
    // Moves virtual time forward to `t` (never back) and wakes the waiters that are then due.
    void moveVirtualTimeLocked(double t);

    // Clock switches (Clock::useVirtual / useSystem), with the lock held.
    void virtualClockInstalledLocked(double systemNow, double virtualStart);
    void systemClockRestoredLocked();

private:
    Scheduler() = default;
    void spawnWorkersLocked();
    void workerMain();
    void mainVirtualWait(std::unique_lock<std::mutex>& lock, Waiter& w);
    void logUnlocked(std::unique_lock<std::mutex>& lock, const char* message);

    std::condition_variable _work;
    std::deque<std::function<void()>> _queues[Buckets];
    std::size_t _queued = 0;   // tasks not yet started
    std::size_t _running = 0;  // workers inside a task and not blocked in a wait
    std::size_t _idle = 0;     // workers waiting for a task
    std::size_t _workers = 0;
    std::vector<Waiter*> _waiters;  // in registration order
};

}  // namespace plat::detail
