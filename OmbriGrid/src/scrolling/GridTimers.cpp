#include "scrolling/GridTimers.h"

#include "KivoCore/KivoAnimationDriver.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/runtime/timer.h"

namespace kivo::detail {

std::shared_ptr<KivoAnimationDriver> startGridMove(const std::shared_ptr<OmbriGrid>& grid, double duration, GridStep step) {
    std::weak_ptr<OmbriGrid> weak = grid;
    return KivoAnimationDriver::startFromNow(weak, duration, [weak, step](double t, bool last) {
        if (const auto g = weak.lock()) step(*g, t, last);
    });
}

void stopGridMove(std::shared_ptr<KivoAnimationDriver>& move) {
    // Taken out first, so that whatever stopping calls finds no move running.
    if (const auto m = std::move(move)) m->stop();
}

bool isMoving(const std::shared_ptr<KivoAnimationDriver>& move) { return move && move->isRunning(); }

std::shared_ptr<plat::Timer> scheduleGridWait(const std::shared_ptr<OmbriGrid>& grid, double seconds, GridWait then) {
    return plat::Timer::scheduled(seconds, false, [weak = std::weak_ptr<OmbriGrid>(grid), then](plat::Timer&) {
        if (const auto g = weak.lock()) then(*g);
    });
}

}  // namespace kivo::detail
