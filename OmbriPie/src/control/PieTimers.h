#pragma once
// The pie's clocks. A start delay waits on a one-shot timer of the main run loop; every animated move
// then runs on the core's animation driver, the one frame loop of the suite. Both hold their owner
// weakly, so a pie that has gone is never called.

#include <cmath>
#include <memory>

#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoAnimationDriver.h"
#include "Platform/runtime/dispatch.h"
#include "Platform/runtime/timer.h"

namespace kivo::detail {

// A one-shot wait: the pie runs no repeating timer of its own.
template <class T>
std::shared_ptr<plat::Timer> schedulePieTimer(const std::shared_ptr<T>& owner, double seconds, void (T::*method)()) {
    std::weak_ptr<T> weak = owner;
    return plat::Timer::scheduled(seconds, false, [weak, method](plat::Timer& timer) {
        if (const auto o = weak.lock())
            ((*o).*method)();
        else
            timer.invalidate();
    });
}

inline void stopPieTimer(std::shared_ptr<plat::Timer>& timer) {
    if (!timer) return;
    timer->invalidate();
    timer.reset();
}

// The wait before a move: a start delay the driver could not time is no wait (the move then ends at
// its first frame), and a negative one counts as none.
inline double pieStartDelay(const KivoAnimation* setting) {
    const double delay = setting ? setting->startDelay() : 0;
    return std::isfinite(delay) && delay > 0 ? delay : 0;
}

// One move of `duration` seconds. `step(t, duration, last)` runs at every frame with the seconds since
// this call, counted in the clock's integer ticks from here rather than from the driver's first frame
// (a frame later), so a move eases over exactly its duration. `last` is set on the move's last frame:
// once t reaches the duration, or at the first frame when the duration cannot be timed. The step ends
// the move, stopping the driver; the driver ends it anyway after a last frame.
template <class T>
std::shared_ptr<KivoAnimationDriver> startPieMove(const std::shared_ptr<T>& owner, double duration,
                                                  void (T::*step)(double t, double duration, bool last)) {
    std::weak_ptr<T> weak = owner;
    return KivoAnimationDriver::startFromNow(weak, duration, [weak, step, duration](double t, bool last) {
        if (const auto o = weak.lock()) ((*o).*step)(last ? duration : t, duration, last);
    });
}

inline void stopPieMove(std::shared_ptr<KivoAnimationDriver>& driver) {
    // Taken out first: stopping may call back into the owner, which must find no move running.
    if (const auto d = std::move(driver)) d->stop();
}

// Runs `work` with the owner on the main queue after the current event, if the owner is still there.
template <class T, class Work>
void laterOnMain(const std::shared_ptr<T>& owner, Work work) {
    std::weak_ptr<T> weak = owner;
    plat::dispatch::async(plat::dispatch::Queue::main(), [weak, work]() {
        if (const auto o = weak.lock()) work(*o);
    });
}

}  // namespace kivo::detail
