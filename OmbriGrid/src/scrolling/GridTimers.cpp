#include "scrolling/GridTimers.h"

#include "KivoCore/KivoAnimationDriver.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/timer.h"

namespace kivo::detail {

std::shared_ptr<KivoAnimationDriver> startGridMove(const std::shared_ptr<OmbriGrid>& grid, double duration, GridStep step) {
    const plat::Ticks start = plat::Clock::ticks();
    std::weak_ptr<OmbriGrid> weak = grid;
    KivoAnimationDriver::Handlers handlers;
    handlers.frame = [weak, step, start, duration](const KivoAnimationDriver::Frame& frame) {
        const auto g = weak.lock();
        if (!g) return;
        const double t = plat::secondsFromTicks(plat::Clock::ticks() - start);
        // The step may stop the move, which lets go of this handler: nothing captured is read after it.
        const GridStep run = step;
        run(*g, t, frame.fraction >= 1 || !(t < duration));
    };
    return KivoAnimationDriver::start(std::weak_ptr<const void>(weak), duration, 0, nullptr, std::move(handlers));
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
