#pragma once
// The pie's clocks: timers on the main run loop that hold their owner weakly, so a pie that has gone
// is never called; a timer whose owner has gone stops itself.

#include <memory>

#include "Platform/runtime/timer.h"

namespace kivo::detail {

template <class T>
std::shared_ptr<plat::Timer> schedulePieTimer(const std::shared_ptr<T>& owner, double seconds, bool repeats,
                                              void (T::*method)()) {
    std::weak_ptr<T> weak = owner;
    return plat::Timer::scheduled(seconds, repeats, [weak, method](plat::Timer& timer) {
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

}  // namespace kivo::detail
