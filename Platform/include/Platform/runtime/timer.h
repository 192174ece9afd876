#pragma once
// A one-shot or repeating timer that fires on the main run loop at moments on plat::Clock.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/passkey.h"
#include "Platform/runtime/ticks.h"

namespace plat {

class RunLoop;

class PLAT_EXPORT Timer {
public:
    // The callback receives the timer, so it can invalidate it.
    using Callback = std::function<void(Timer&)>;
    // The shortest repeat: a repeating timer with no interval would keep the run loop firing it for ever.
    static constexpr Ticks MinimumRepeat{100'000};  // 0.1 ms

    // A timer not yet on a run loop; it first fires `interval` after now. A negative or NaN interval is
    // 0; a repeating timer repeats at least every MinimumRepeat.
    static std::shared_ptr<Timer> create(double intervalSeconds, bool repeats, Callback callback);
    static std::shared_ptr<Timer> create(Ticks interval, bool repeats, Callback callback);
    // The same, added to the main run loop, which keeps it until it is invalidated.
    static std::shared_ptr<Timer> scheduled(double intervalSeconds, bool repeats, Callback callback);
    static std::shared_ptr<Timer> scheduled(Ticks interval, bool repeats, Callback callback);

    double timeInterval() const { return secondsFromTicks(_interval); }
    bool repeats() const { return _repeats; }

    Date fireDate() const;
    // Moves the next firing; a repeating timer goes on from there. A date that is not finite is refused
    // (logged); one beyond the range of ticks never comes.
    void setFireDate(Date date);
    // The next firing to the tick, as the run loop keeps it.
    Ticks fireTicks() const;
    void setFireTicks(Ticks moment);

    // Stops the timer for good and lets go of its callback. A one-shot timer invalidates itself once
    // its callback has returned. Safe inside the callback and from any thread.
    void invalidate();
    bool isValid() const { return _valid.load(std::memory_order_acquire); }

    // Use create() or scheduled().
    Timer(Ticks interval, bool repeats, Callback callback);

    // ---- For the run loop only ----
    // What the loop keeps on the timer, guarded by the runtime lock.
    struct LoopEntry {
        std::shared_ptr<const Callback> callback;
        Ticks fireDate{0};
        std::uint64_t order = 0;  // insertion order on the run loop: ties between equal dates
        bool scheduled = false;
        bool spent = false;  // a one-shot timer whose callback has started
    };
    LoopEntry& loopEntry(Passkey<RunLoop>) { return _entry; }
    Ticks intervalTicks(Passkey<RunLoop>) const { return _interval; }
    // Invalidates the timer as the loop drops it, with the runtime lock held; answers the callback for
    // the loop to let go of after unlocking.
    std::shared_ptr<const Callback> discardLocked(Passkey<RunLoop>);

private:
    const Ticks _interval;
    const bool _repeats;
    std::atomic<bool> _valid{true};
    LoopEntry _entry;
};

}  // namespace plat
