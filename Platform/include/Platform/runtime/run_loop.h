#pragma once
// The main run loop: posted tasks, timers and display links, run in turns on the main thread, with
// observers called after every turn (the UI layer runs its layout-then-display pass there).
//
// One turn: the timers and display-link frames due now (to the tick) fire in order of date, ties in
// order of insertion; then the tasks that were posted before the turn's tasks began run in FIFO
// order; then the after-turn observers run. Under the system clock the run functions wait in real
// time; under a virtual clock they first let the background pool settle and then jump time to the
// next due event (a timer, a frame, a delayed background block, or a background sleep or semaphore
// time-out), so everything fires in time order and no test ever sleeps. Timers and frames wait in a
// structure ordered by date: adding or removing one costs logarithmic time, however many there are.

#include <cstdint>
#include <functional>
#include <memory>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/passkey.h"
#include "Platform/runtime/ticks.h"

namespace plat {

class Timer;
class DisplayLink;

class PLAT_EXPORT RunLoop {
public:
    using Task = std::function<void()>;
    using ObserverId = std::uint64_t;

    static RunLoop& main();

    // Safe from any thread; wakes a waiting loop. An empty task is ignored.
    void post(Task task);
    // Safe from any thread. An invalid timer, or one already added, is ignored.
    void addTimer(const std::shared_ptr<Timer>& timer);

    // The run functions belong to the main thread (elsewhere they throw InternalInconsistencyException).
    // Each runs at least one turn. A negative or NaN duration is 0.
    void runFor(double seconds);
    void runFor(Ticks span);
    // Runs until `predicate` holds (checked after each turn) or `timeoutSeconds` have passed on the
    // clock; answers the predicate's last value.
    bool runUntil(const std::function<bool()>& predicate, double timeoutSeconds);
    // Runs until no task is posted, nothing is due now and the background pool is quiet. Time does not
    // move.
    void runUntilIdle();

    ObserverId addAfterTurnObserver(std::function<void()> observer);
    void removeAfterTurnObserver(ObserverId id);

    // Ends a test's world: lets the background pool settle, then invalidates every timer and display
    // link and drops every posted task. Observers stay.
    void discardPendingWork();

    std::size_t timerCount() const;  // timers on the loop, valid ones only

    // ---- For timers and display links only, with the runtime lock held ----
    // Take the loop's reference out under the runtime lock; the caller lets it go after unlocking,
    // since the last reference may destroy captures that call back into the runtime.
    std::shared_ptr<Timer> takeTimerLocked(Passkey<Timer>, Timer& timer);
    void moveTimerLocked(Passkey<Timer>, Timer& timer, Ticks moment);
    void addLinkLocked(Passkey<DisplayLink>, std::shared_ptr<DisplayLink> link);
    std::shared_ptr<DisplayLink> takeLinkLocked(Passkey<DisplayLink>, DisplayLink& link);
    void setLinkPausedLocked(Passkey<DisplayLink>, DisplayLink& link, bool paused);

private:
    RunLoop() = default;
    PLAT_NO_EXPORT void requireMainThread(const char* what) const;
    PLAT_NO_EXPORT void turn();
    PLAT_NO_EXPORT void fireDue(Ticks now);
    PLAT_NO_EXPORT void runPostedTasks();
    PLAT_NO_EXPORT void notifyObservers();
    PLAT_NO_EXPORT bool runTo(Ticks end, const std::function<bool()>* predicate);
    PLAT_NO_EXPORT bool readyLocked(Ticks now) const;
    PLAT_NO_EXPORT Ticks nextEventLocked() const;
};

}  // namespace plat
