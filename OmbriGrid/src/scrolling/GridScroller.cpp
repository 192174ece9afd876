// The scroller: the origin follows a pan, glides on after the release with a circular ease-out, and
// bounces back from an over-scroll, frame by frame on the shared animation driver; the indicators'
// alpha rises with every step and, once the origin has been still for half a second, falls back to
// nothing over another half second.
//
// Sections: the pan; glide and bounce; the final constraint; the indicators' fade.
#include "scrolling/GridScroller.h"

#include <algorithm>
#include <cmath>

#include "GridInternals.h"
#include "KivoCore/KivoAnimationDriver.h"
#include "KivoCore/KivoEasing.h"
#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/runtime/timer.h"
#include "Platform/ui/gestures.h"
#include "Platform/ui/menu_controller.h"
#include "scrolling/GridTimers.h"
#include "scrolling/ScrollBounds.h"

namespace kivo::detail {

namespace {
// A frame count past any glide's or bounce's: the running one ends at its next frame.
constexpr std::int32_t StopAtNextTick = 1'000'000'000;
constexpr std::int32_t BounceEnded = 1'000'000;
// A release whose speed along one axis is below this share of the other glides along the other only.
constexpr double GlideAxisLock = 0.3;
// A pan step whose speed along one axis is below this share of the other moves along the other only.
constexpr double StepAxisLock = 0.5;
// Glide: seconds of travel per point-per-second of release speed, and how long the travel takes.
constexpr double GlideDistancePerSpeed = 0.0275 / 200.0;
constexpr float GlideDurationFactor = 3.5f;
constexpr float BounceSeconds = 0.6f;
// Points per second.
constexpr double MaxReleaseSpeed = 1e7;
// Past an edge, the finger's movement is divided by a tenth of the over-scroll in whole points.
constexpr double ResistancePerPoint = 0.1;
// An over-scroll whose whole part is within this many points is clamped at once rather than bounced.
constexpr double BounceThreshold = 2;

// The indicators: how much each step shows them, up to a ceiling, and their fade.
constexpr double AlphaStep = 0.03;
constexpr double AlphaCeiling = 0.5;
constexpr double FadeDelaySeconds = 0.5;
// The fade lowers the alpha by 0.02 every 0.02 s, for half a second: from the ceiling to nothing.
constexpr double FadePerSecond = 1.0;
constexpr double FadeSeconds = 0.5;
// A pan step sets this: a fade waiting or running stops at its first frame.
constexpr std::int32_t FadeStopped = 1'000'000;

// Touch points come from the host: one that is not a finite number moves nothing.
double finiteOr0(double v) { return std::isfinite(v) ? v : 0.0; }

bool below(double a, double b, double share) { return std::fabs(a) / std::fabs(b) < share; }

// Within [0, frozen): a point outside every cell (index -1) never locks an axis.
bool isFrozen(std::int32_t index, std::int32_t frozen) { return index >= 0 && index < frozen; }

plat::Point wholeOrigin(OmbriGrid& grid) {
    return {std::trunc(GridInternals::originX(grid)), std::trunc(GridInternals::originY(grid))};
}
}  // namespace

// ---- the pan ----

void GridScroller::pan(plat::GestureRecognizer& recognizer) {
    using State = plat::GestureRecognizerState;
    const auto alive = GridInternals::keepAlive(_grid);
    _timerCount = StopAtNextTick;
    GridInternals::takeFirstResponder(_grid);
    plat::MenuController::shared().setMenuVisible(false, true);
    if (_grid.editRange()) return;
    auto* pan = dynamic_cast<plat::PanGestureRecognizer*>(&recognizer);
    if (!pan) return;
    switch (recognizer.state()) {
        case State::Began: {
            const auto hit = _grid.hitTest(recognizer.locationInView(&_grid));
            _freezeHorizontal = isFrozen(hit->column(), _grid.columns()->frozen());
            _freezeVertical = isFrozen(hit->row(), _grid.rows()->frozen());
            _panStart = pan->translationInView(&_grid);
            updatePanMax();
            break;
        }
        case State::Changed:
            _panVelocity = pan->velocityInView(&_grid);
            handlePan(pan->translationInView(&_grid));
            pan->setTranslation(_panStart, &_grid);
            _grid.setNeedsDisplay();
            break;
        case State::Ended: {
            handlePan(pan->translationInView(&_grid));
            _panVelocity = pan->velocityInView(&_grid);
            double vx = finiteOr0(_panVelocity.x), vy = finiteOr0(_panVelocity.y);
            const bool onlyX = below(vy, vx, GlideAxisLock), onlyY = below(vx, vy, GlideAxisLock);
            if (onlyX) vy = 0;
            if (onlyY) vx = 0;
            // The glide keeps the pan's locked axis.
            if (_freezeHorizontal) vx = 0;
            if (_freezeVertical) vy = 0;
            _timerCount = 0;
            // No finger is faster; a host's absurd touch points would make the glide's arithmetic overflow.
            if (const double fast = std::hypot(vx, vy); fast > MaxReleaseSpeed) {
                vx *= MaxReleaseSpeed / fast;
                vy *= MaxReleaseSpeed / fast;
            }
            const double x = GridInternals::originX(_grid), y = GridInternals::originY(_grid);
            const float speed = std::sqrt(static_cast<float>(vx * vx + vy * vy));
            _slideFactor = static_cast<float>(speed * GlideDistancePerSpeed);
            _finalPoint = {x - _slideFactor * vx, y - _slideFactor * vy};
            _startPoint = {x, y};
            _slideFactor *= GlideDurationFactor;
            startSlide(false);
            break;
        }
        default:
            break;
    }
}

void GridScroller::handlePan(plat::Point translation) {
    const plat::Point before = wholeOrigin(_grid);
    reactToPan();
    double dy = finiteOr0(translation.y - _panStart.y);
    double dx = finiteOr0(translation.x - _panStart.x);
    if (below(_panVelocity.y, _panVelocity.x, StepAxisLock)) dy = 0;
    if (below(_panVelocity.x, _panVelocity.y, StepAxisLock)) dx = 0;
    double& originY = GridInternals::originY(_grid);
    // Past an edge the content follows the finger for the first 10 points, then ever more slowly.
    const double over = std::trunc(verticalOver(originY, _panMax.y));
    if (over < 0) dy /= std::max(1.0, -over * ResistancePerPoint);
    if (!_freezeVertical) originY -= dy;
    if (!_freezeHorizontal) GridInternals::originX(_grid) -= dx;
    constrainOriginNonFinal();
    tryLoadMore();
    positionMoved(before);
}

// ---- glide and bounce ----

void GridScroller::stopGlideAtNextFrame() { _timerCount = StopAtNextTick; }

void GridScroller::slide(plat::Point to, float seconds, bool bounce) {
    _startPoint = {GridInternals::originX(_grid), GridInternals::originY(_grid)};
    _finalPoint = to;
    _slideFactor = seconds;
    _timerCount = 0;
    startSlide(bounce);
}

void GridScroller::startSlide(bool bounce) {
    stopGridMove(_slideMove);
    const GridStep step =
        bounce ? GridStep{[](OmbriGrid& g, double t, bool last) { GridInternals::scroller(g).bounceFrame(t, last); }}
               : GridStep{[](OmbriGrid& g, double t, bool last) { GridInternals::scroller(g).glideFrame(t, last); }};
    _slideMove = startGridMove(GridInternals::self(_grid), _slideFactor, step);
}

bool GridScroller::slideTick(double t, bool last) {
    _movingOrigin = true;
    double& originX = GridInternals::originX(_grid);
    double& originY = GridInternals::originY(_grid);
    const plat::Point before = wholeOrigin(_grid);
    const bool stopped = ++_timerCount >= StopAtNextTick;
    // The last frame lands on the end itself (the curve's start plus its way may round off it), also
    // when the driver could not time the movement; an end that is already there moves nothing.
    plat::Point to = _finalPoint;
    if (!last) {
        const auto& ease = KivoEasing::EaseOutCirc();
        to = {ease->ease(t, _startPoint.x, _finalPoint.x - _startPoint.x, _slideFactor),
              ease->ease(t, _startPoint.y, _finalPoint.y - _startPoint.y, _slideFactor)};
    }
    const bool moves = !last || to.x != originX || to.y != originY;
    if (!stopped && moves && std::isfinite(to.x) && std::isfinite(to.y)) {
        reactToPan();
        originX = to.x;
        originY = to.y;
        constrainOriginNonFinal();
        if (std::trunc(originX) != before.x || std::trunc(originY) != before.y) tryLoadMore();
        positionMoved(before);
    }
    _grid.setNeedsDisplay();
    return stopped || last;
}

void GridScroller::glideFrame(double t, bool last) {
    const auto alive = GridInternals::keepAlive(_grid);
    const bool counted = slideTick(t, last);
    const double x = GridInternals::originX(_grid), y = GridInternals::originY(_grid);
    const plat::Point max = _panMax;
    const bool ends = counted || x < 0 || y < 0 || (max.x > 0 && x > max.x) || (max.y > 0 && y > max.y) || (max.y <= 0 && y > 0);
    if (!ends) return;
    stopGridMove(_slideMove);
    constrainFinal();
    _grid.setNeedsDisplay();
    _movingOrigin = false;
}

void GridScroller::bounceFrame(double t, bool last) {
    const auto alive = GridInternals::keepAlive(_grid);
    // A bounce has no early end: it runs its whole length.
    if (!slideTick(t, last)) return;
    stopGridMove(_slideMove);
    fadeIndicators();
    _grid.setNeedsDisplay();
    _timerCount = BounceEnded;
    _movingOrigin = false;
}

bool GridScroller::isSliding() const { return isMoving(_slideMove); }

// ---- the final constraint ----

void GridScroller::constrainFinal() {
    double& originX = GridInternals::originX(_grid);
    double& originY = GridInternals::originY(_grid);
    const plat::Point max = _panMax;
    const double over = std::trunc(verticalOver(originY, max.y));
    // Only the vertical axis bounces: the horizontal one is in bounds before the bounce starts.
    originX = clampOrigin(originX, max.x);
    if (over < -BounceThreshold && _grid.touchFeedback() && originY != 0) {
        _slideFactor = BounceSeconds;
        _startPoint = {originX, originY};
        _finalPoint = {originX, clampOrigin(originY, max.y)};
        _timerCount = 0;
        startSlide(true);
        return;
    }
    originY = clampOrigin(originY, max.y);
    fadeIndicators();
}

void GridScroller::stop() {
    if (_ghostWaitTimer) _ghostWaitTimer->invalidate();
    for (auto* move : {&_slideMove, &_ghostMove}) stopGridMove(*move);
}

// ---- the indicators' fade ----

void GridScroller::reactToPan() {
    _ghostTimerCount = FadeStopped;
    const plat::Color c = _grid.scrollIndicatorColor();
    _grid.setScrollIndicatorColor(c.withAlpha(std::min(c.a + AlphaStep, AlphaCeiling)));
}

void GridScroller::fadeIndicators() {
    _ghostTimerCount = 0;
    // One fade at a time: a new stillness starts the wait again.
    if (_ghostWaitTimer) _ghostWaitTimer->invalidate();
    stopGridMove(_ghostMove);
    _ghostWaitTimer = scheduleGridWait(GridInternals::self(_grid), FadeDelaySeconds, [](OmbriGrid& g) {
        auto& self = GridInternals::scroller(g);
        self._ghostStartAlpha = g.scrollIndicatorColor().a;
        self._ghostMove = startGridMove(GridInternals::self(g), FadeSeconds, [](OmbriGrid& grid, double t, bool last) {
            GridInternals::scroller(grid).fadeFrame(t, last);
        });
    });
}

void GridScroller::fadeFrame(double t, bool last) {
    const auto alive = GridInternals::keepAlive(_grid);
    if (_ghostTimerCount < FadeStopped) {
        const double faded = _ghostStartAlpha - FadePerSecond * (last ? FadeSeconds : t);
        _grid.setScrollIndicatorColor(_grid.scrollIndicatorColor().withAlpha(std::max(faded, 0.0)));
    }
    _grid.setNeedsDisplay();
    if (!last && _ghostTimerCount < FadeStopped) return;
    stopGridMove(_ghostMove);
    _ghostTimerCount = 0;
}

bool GridScroller::isFadePending() const { return (_ghostWaitTimer && _ghostWaitTimer->isValid()) || isMoving(_ghostMove); }

}  // namespace kivo::detail
