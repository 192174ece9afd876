#pragma once
// Timers of the main run loop that hold their grid weakly: a grid released while its glide, bounce or
// indicator fade runs is not kept alive by it, and the timer stops at its next tick.

#include <memory>

class OmbriGrid;
namespace plat {
class Timer;
}

namespace kivo::detail {

using GridTick = void (*)(OmbriGrid& grid, plat::Timer& timer);

std::shared_ptr<plat::Timer> scheduleGridTimer(const std::shared_ptr<OmbriGrid>& grid, double seconds, bool repeats,
                                               GridTick tick);

}  // namespace kivo::detail
