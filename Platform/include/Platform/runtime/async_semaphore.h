#pragma once
// A counting semaphore for roads that wait a while, then wait their turn, then run on the main queue:
// acquireAfter parks a continuation instead of blocking a thread, and signal hands the permit to the
// longest-parked one. The delays are timers on the main run loop, so a virtual clock runs it all
// deterministically.

#include <cstddef>
#include <functional>
#include <memory>

#include "Platform/PlatformExport.h"

namespace plat::dispatch {

class PLAT_EXPORT AsyncSemaphore {
public:
    using Work = std::function<void()>;

    // A negative starting count is taken as 0 (and logged).
    explicit AsyncSemaphore(long count = 0);
    // Continuations still parked or delayed are dropped without running.
    ~AsyncSemaphore();
    AsyncSemaphore(const AsyncSemaphore&) = delete;
    AsyncSemaphore& operator=(const AsyncSemaphore&) = delete;

    // After `delaySeconds` on plat::Clock (negative or NaN: none), takes a permit and runs `work` on
    // the main queue; with no permit free the work is parked until a signal hands it one. Never runs
    // the work inside the call. Safe from any thread; an empty work is ignored.
    void acquireAfter(double delaySeconds, Work work);
    // Hands the permit to the longest-parked work (which then runs on the main queue, never inside
    // this call), or keeps it for the next acquirer. True when it woke parked work. Safe from any
    // thread.
    bool signal();

    long count() const;
    // Works whose delay is over and that wait for a permit.
    std::size_t parkedCount() const;

private:
    struct State;
    std::shared_ptr<State> _state;  // delayed works hold it weakly
};

}  // namespace plat::dispatch
