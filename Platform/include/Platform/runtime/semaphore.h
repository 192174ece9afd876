#pragma once
// A counting semaphore whose waits count time on plat::Clock, so a virtual clock can time them out and
// knows which background workers are blocked.

#include <limits>
#include <memory>

#include "Platform/PlatformExport.h"

namespace plat::dispatch {

class PLAT_EXPORT Semaphore {
public:
    static constexpr double Forever = std::numeric_limits<double>::infinity();

    // A negative starting count is taken as 0 (and logged).
    explicit Semaphore(long count = 0);
    ~Semaphore();
    Semaphore(const Semaphore&) = delete;
    Semaphore& operator=(const Semaphore&) = delete;

    // Takes one count, waiting up to `timeoutSeconds` for a signal. True when a count was taken,
    // false when the time ran out (at once for a zero, negative or NaN time-out with no count).
    bool wait(double timeoutSeconds = Forever);
    // Wakes the longest waiter, or keeps the count for the next wait. True when it woke a waiter.
    bool signal();

    long count() const;

private:
    struct State;
    std::shared_ptr<State> _state;  // shared with waits in progress, so they survive a racing destruction
};

}  // namespace plat::dispatch
