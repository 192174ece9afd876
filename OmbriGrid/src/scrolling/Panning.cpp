// The grid's own scrolling: the origin follows a pan, glides on after the release with a circular
// ease-out, and bounces back from an over-scroll, frame by frame on the shared animation driver.
//
// Sections: the pan; glide and bounce; keeping the origin in bounds; the programmatic position.
#include <algorithm>
#include <cmath>

#include "KivoCore/KivoEasing.h"
#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/log.h"
#include "Platform/runtime/timer.h"
#include "Platform/ui/gestures.h"
#include "Platform/ui/menu_controller.h"
#include "scrolling/GridTimers.h"

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

// Clamps c to [0, m]; a negative maximum gives 0.
double clampOrigin(double c, double m) { return std::max(std::min(c, m), 0.0); }

// Touch points come from the host: one that is not a finite number moves nothing.
double finiteOr0(double v) { return std::isfinite(v) ? v : 0.0; }

bool below(double a, double b, double share) { return std::fabs(a) / std::fabs(b) < share; }

// Within [0, frozen): a point outside every cell (index -1) never locks an axis.
bool isFrozen(std::int32_t index, std::int32_t frozen) { return index >= 0 && index < frozen; }
}  // namespace

// ---- the pan ----

void OmbriGrid::respondToPanGesture(plat::GestureRecognizer& recognizer) {
    using State = plat::GestureRecognizerState;
    const auto alive = keepAlive();
    _timerCount = StopAtNextTick;
    takeFirstResponder();
    plat::MenuController::shared().setMenuVisible(false, true);
    if (_editRange) return;
    auto* pan = dynamic_cast<plat::PanGestureRecognizer*>(&recognizer);
    if (!pan) return;
    switch (recognizer.state()) {
        case State::Began: {
            const auto hit = hitTest(recognizer.locationInView(this));
            freezeHorizontal = isFrozen(hit->column(), _columns->frozen());
            freezeVertical = isFrozen(hit->row(), _rows->frozen());
            _panStart = pan->translationInView(this);
            updatePanMax();
            break;
        }
        case State::Changed:
            _panVelocity = pan->velocityInView(this);
            _handlePan(pan->translationInView(this));
            pan->setTranslation(_panStart, this);
            setNeedsDisplay();
            break;
        case State::Ended: {
            _handlePan(pan->translationInView(this));
            _panVelocity = pan->velocityInView(this);
            double vx = finiteOr0(_panVelocity.x), vy = finiteOr0(_panVelocity.y);
            const bool onlyX = below(vy, vx, GlideAxisLock), onlyY = below(vx, vy, GlideAxisLock);
            if (onlyX) vy = 0;
            if (onlyY) vx = 0;
            // The glide keeps the pan's locked axis.
            if (freezeHorizontal) vx = 0;
            if (freezeVertical) vy = 0;
            _timerCount = 0;
            // No finger is faster; a host's absurd touch points would make the glide's arithmetic overflow.
            if (const double fast = std::hypot(vx, vy); fast > MaxReleaseSpeed) {
                vx *= MaxReleaseSpeed / fast;
                vy *= MaxReleaseSpeed / fast;
            }
            const float speed = std::sqrt(static_cast<float>(vx * vx + vy * vy));
            slideFactor = static_cast<float>(speed * GlideDistancePerSpeed);
            finalPoint = {_originX - slideFactor * vx, _originY - slideFactor * vy};
            startPoint = {_originX, _originY};
            slideFactor *= GlideDurationFactor;
            startSlide(false);
            break;
        }
        default:
            break;
    }
}

void OmbriGrid::updatePanMax() {
    _panMax.x = _columns->totalSize() - _clientRect.size.width + _cellsStart.x;
    _panMax.y = _rows->totalSize() - _clientRect.size.height + _cellsStart.y;
}

namespace {
// How far the vertical origin lies beyond an end of the content: negative when beyond, positive (room
// left) otherwise.
double verticalOver(double originY, double maxY) {
    if (originY < 0) return originY;
    return maxY <= 0 ? -originY : maxY - originY;
}
}  // namespace

void OmbriGrid::_handlePan(plat::Point translation) {
    const plat::Point before{std::trunc(_originX), std::trunc(_originY)};
    doReactPan();
    double dy = finiteOr0(translation.y - _panStart.y);
    double dx = finiteOr0(translation.x - _panStart.x);
    if (below(_panVelocity.y, _panVelocity.x, StepAxisLock)) dy = 0;
    if (below(_panVelocity.x, _panVelocity.y, StepAxisLock)) dx = 0;
    // Past an edge the content follows the finger for the first 10 points, then ever more slowly.
    const double over = std::trunc(verticalOver(_originY, _panMax.y));
    if (over < 0) dy /= std::max(1.0, -over * ResistancePerPoint);
    if (!freezeVertical) _originY -= dy;
    if (!freezeHorizontal) _originX -= dx;
    _constrainOriginNonFinal();
    tryLoadCursorCollectionItems();
    scrollPositionMoved(before);
}

void OmbriGrid::scrollPositionMoved(plat::Point before) {
    if (std::trunc(_originX) == before.x && std::trunc(_originY) == before.y) return;
    raiseNotice(_ombriGridScrollPositionChanged, KivoEventArgs::empty(),
                [this](OmbriGridDelegate& d) { d.scrollPositionChanged(sharedAs<OmbriGrid>()); });
}

// ---- glide and bounce ----

void OmbriGrid::startSlide(bool bounce) {
    kivo::detail::stopGridMove(_slideMove);
    using kivo::detail::GridStep;
    const GridStep step = bounce ? GridStep{[](OmbriGrid& g, double t, bool last) { g._panTimer2(t, last); }}
                                 : GridStep{[](OmbriGrid& g, double t, bool last) { g._panTimer(t, last); }};
    _slideMove = kivo::detail::startGridMove(sharedAs<OmbriGrid>(), slideFactor, step);
}

bool OmbriGrid::slideTick(double t, bool last) {
    _editTimerLock = true;
    const plat::Point before{std::trunc(_originX), std::trunc(_originY)};
    const bool stopped = ++_timerCount >= StopAtNextTick;
    // The last frame lands on the end itself (the curve's start plus its way may round off it), also
    // when the driver could not time the movement; an end that is already there moves nothing.
    plat::Point to = finalPoint;
    if (!last) {
        const auto& ease = KivoEasing::EaseOutCirc();
        to = {ease->ease(t, startPoint.x, finalPoint.x - startPoint.x, slideFactor),
              ease->ease(t, startPoint.y, finalPoint.y - startPoint.y, slideFactor)};
    }
    const bool moves = !last || to.x != _originX || to.y != _originY;
    if (!stopped && moves && std::isfinite(to.x) && std::isfinite(to.y)) {
        doReactPan();
        _originX = to.x;
        _originY = to.y;
        _constrainOriginNonFinal();
        if (std::trunc(_originX) != before.x || std::trunc(_originY) != before.y) tryLoadCursorCollectionItems();
        scrollPositionMoved(before);
    }
    setNeedsDisplay();
    return stopped || last;
}

void OmbriGrid::_panTimer(double t, bool last) {
    const auto alive = keepAlive();
    const bool counted = slideTick(t, last);
    const bool ends = counted || _originX < 0 || _originY < 0 || (_panMax.x > 0 && _originX > _panMax.x) ||
                      (_panMax.y > 0 && _originY > _panMax.y) || (_panMax.y <= 0 && _originY > 0);
    if (!ends) return;
    kivo::detail::stopGridMove(_slideMove);
    _constrainOriginFinal();
    setNeedsDisplay();
    _editTimerLock = false;
}

void OmbriGrid::_panTimer2(double t, bool last) {
    const auto alive = keepAlive();
    // A bounce has no early end: it runs its whole length.
    if (!slideTick(t, last)) return;
    kivo::detail::stopGridMove(_slideMove);
    scrollBarGhost();
    setNeedsDisplay();
    _timerCount = BounceEnded;
    _editTimerLock = false;
}

// ---- keeping the origin in bounds ----

void OmbriGrid::_constrainOriginInternal() {
    _originY = clampOrigin(_originY, _panMax.y);
    _originX = clampOrigin(_originX, _panMax.x);
}

void OmbriGrid::_constrainOriginNonFinal() {
    // Mid-gesture, touch feedback lets the content follow the finger past the top or bottom so the
    // release can bounce it back; only the final constraint pulls it inside.
    if (!_touchFeedback) _originY = clampOrigin(_originY, _panMax.y);
    _originX = clampOrigin(_originX, _panMax.x);
}

void OmbriGrid::_constrainOriginFinal() {
    const double over = std::trunc(verticalOver(_originY, _panMax.y));
    // Only the vertical axis bounces: the horizontal one is in bounds before the bounce starts.
    _originX = clampOrigin(_originX, _panMax.x);
    if (over < -BounceThreshold && _touchFeedback && _originY != 0) {
        slideFactor = BounceSeconds;
        startPoint = {_originX, _originY};
        finalPoint = {_originX, clampOrigin(_originY, _panMax.y)};
        _timerCount = 0;
        startSlide(true);
        return;
    }
    _originY = clampOrigin(_originY, _panMax.y);
    scrollBarGhost();
}

void OmbriGrid::stopScrollTimers() {
    if (_ghostWaitTimer) _ghostWaitTimer->invalidate();
    for (auto* move : {&_slideMove, &_ghostMove}) kivo::detail::stopGridMove(*move);
}

// ---- the programmatic position ----

void OmbriGrid::setScrollPosition(plat::Point position) {
    if (!std::isfinite(position.x) || !std::isfinite(position.y)) {
        plat::log("Grid: scroll position refused: its coordinates must be finite");
        return;
    }
    const auto alive = keepAlive();
    _originX = position.x;
    _originY = position.y;
    _constrainOriginFinal();
    // The cell images and views hold no position: a move only redraws them elsewhere.
    setNeedsDisplay();
}
