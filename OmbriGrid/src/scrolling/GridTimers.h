#pragma once
// The grid's scrolling clocks. The glide, the bounce and the indicators' fade run on the core's
// animation driver, the one frame loop of the suite; the fade's wait is a one-shot timer. Both hold
// the grid weakly: a grid released while one runs is not kept alive by it, and is never called again.

#include <memory>

class KivoAnimationDriver;
class OmbriGrid;
namespace plat {
class Timer;
}

namespace kivo::detail {

// One frame of a move, `t` seconds after its start (counted from the start itself, not from the
// driver's first frame a frame later); `last` once t reaches the duration, or at the first frame when
// the driver cannot time the duration.
using GridStep = void (*)(OmbriGrid& grid, double t, bool last);

std::shared_ptr<KivoAnimationDriver> startGridMove(const std::shared_ptr<OmbriGrid>& grid, double duration, GridStep step);
// Stops a move that runs and lets go of it; the grid's state is left as its last frame left it.
void stopGridMove(std::shared_ptr<KivoAnimationDriver>& move);
bool isMoving(const std::shared_ptr<KivoAnimationDriver>& move);

using GridWait = void (*)(OmbriGrid& grid);
std::shared_ptr<plat::Timer> scheduleGridWait(const std::shared_ptr<OmbriGrid>& grid, double seconds, GridWait then);

}  // namespace kivo::detail
