// The scroll indicators' visibility: the alpha of the indicator colour rises with every pan or glide
// step and, once the origin has been still for half a second, falls back to nothing over another half
// second on the shared animation driver.
#include <algorithm>

#include "OmbriGrid/OmbriGrid.h"
#include "Platform/runtime/timer.h"
#include "scrolling/GridTimers.h"

namespace {
constexpr double AlphaStep = 0.03;
constexpr double AlphaCeiling = 0.5;
constexpr double FadeDelaySeconds = 0.5;
// The fade lowers the alpha by 0.02 every 0.02 s, for half a second: from the ceiling to nothing.
constexpr double FadePerSecond = 1.0;
constexpr double FadeSeconds = 0.5;
// A pan step sets this: a fade waiting or running stops at its first frame.
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
    kivo::detail::stopGridMove(_ghostMove);
    _ghostWaitTimer = kivo::detail::scheduleGridWait(sharedAs<OmbriGrid>(), FadeDelaySeconds, [](OmbriGrid& g) {
        g._ghostStartAlpha = g.scrollIndicatorColor().a;
        g._ghostMove =
            kivo::detail::startGridMove(g.sharedAs<OmbriGrid>(), FadeSeconds,
                                        [](OmbriGrid& grid, double t, bool last) { grid._scrollGhostDisappear(t, last); });
    });
}

void OmbriGrid::_scrollGhostDisappear(double t, bool last) {
    const auto alive = keepAlive();
    if (_ghostTimerCount < FadeStopped) {
        const double faded = _ghostStartAlpha - FadePerSecond * (last ? FadeSeconds : t);
        setScrollIndicatorColor(scrollIndicatorColor().withAlpha(std::max(faded, 0.0)));
    }
    setNeedsDisplay();
    if (!last && _ghostTimerCount < FadeStopped) return;
    kivo::detail::stopGridMove(_ghostMove);
    _ghostTimerCount = 0;
}
