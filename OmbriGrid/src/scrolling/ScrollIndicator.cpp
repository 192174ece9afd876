// The scroll indicators' visibility: the alpha of the indicator colour rises with every pan or glide
// step and falls back to nothing once the origin has been still for half a second.
#include <algorithm>

#include "OmbriGrid/OmbriGrid.h"
#include "Platform/runtime/timer.h"
#include "scrolling/GridTimers.h"

namespace {
constexpr double AlphaStep = 0.03;
constexpr double AlphaCeiling = 0.5;
constexpr double FadeStep = 0.02;
constexpr double FadeDelaySeconds = 0.5;
constexpr double FadeTickSeconds = 0.02;
// Fade ticks that lower the alpha: enough to take it from the ceiling to nothing.
constexpr std::int32_t FadeTicks = 25;
// Past the fade's length: a fade waiting or running stops at its first tick.
constexpr std::int32_t FadeStopped = 1'000'000;
}  // namespace

void OmbriGrid::doReactPan() {
    _ghostTimerCount = FadeStopped;
    const plat::Color c = scrollIndicatorColor();
    setScrollIndicatorColor(c.withAlpha(std::min(c.a + AlphaStep, AlphaCeiling)));
}

void OmbriGrid::scrollBarGhost() {
    _ghostTimerCount = 0;
    // One fade at a time: a new stillness starts the wait again.
    if (_ghostWaitTimer) _ghostWaitTimer->invalidate();
    if (_ghostTimer) _ghostTimer->invalidate();
    _ghostWaitTimer =
        kivo::detail::scheduleGridTimer(sharedAs<OmbriGrid>(), FadeDelaySeconds, false, [](OmbriGrid& g, plat::Timer&) {
            g._ghostTimer =
                kivo::detail::scheduleGridTimer(g.sharedAs<OmbriGrid>(), FadeTickSeconds, true,
                                                [](OmbriGrid& grid, plat::Timer& t) { grid._scrollGhostDisappear(t); });
        });
}

void OmbriGrid::_scrollGhostDisappear(plat::Timer& timer) {
    const auto alive = keepAlive();
    if (_ghostTimerCount >= FadeTicks) {
        timer.invalidate();
        _ghostTimerCount = 0;
        setNeedsDisplay();
        return;
    }
    const plat::Color c = scrollIndicatorColor();
    setScrollIndicatorColor(c.withAlpha(std::max(c.a - FadeStep, 0.0)));
    setNeedsDisplay();
    ++_ghostTimerCount;
}
