#include "scrolling/GridTimers.h"

#include "OmbriGrid/OmbriGrid.h"
#include "Platform/runtime/timer.h"

namespace kivo::detail {

std::shared_ptr<plat::Timer> scheduleGridTimer(const std::shared_ptr<OmbriGrid>& grid, double seconds, bool repeats,
                                               GridTick tick) {
    return plat::Timer::scheduled(seconds, repeats, [weak = std::weak_ptr<OmbriGrid>(grid), tick](plat::Timer& timer) {
        if (const auto g = weak.lock())
            tick(*g, timer);
        else
            timer.invalidate();
    });
}

}  // namespace kivo::detail
