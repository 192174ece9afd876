// The gauge's drawing pass and its pointer animations. The pointer goes through these states:
//   before the first load → (first pass) load pending → loading → ended → idle
//   idle → (pass after a value change) update pending → updating → ended → idle
// A start waits on one one-shot timer (the animation's start delay) and then one animation driver
// moves the pointer; at most one of each exists at a time, so the pointer never has two drivers.

#include <cmath>

#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoAnimationDriver.h"
#include "KivoCore/KivoEasing.h"
#include "KivoCore/KivoObservableArray.h"
#include "OmbriGauge/KivoGauge.h"
#include "OmbriGauge/KivoGaugeRange.h"
#include "Platform/graphics/context.h"
#include "Platform/runtime/timer.h"

namespace {
// The time a band drawn outside an animation is handed.
constexpr double NoAnimationTime = -1;
}  // namespace

// ---- Drawing pass ----

void KivoGauge::drawRect(plat::Context& context, const plat::Rect&) {
    const auto alive = keepAlive();
    auto self = sharedAs<KivoGauge>();
    raiseGaugeRendering();
    if (auto d = delegate()) d->rendering(self);
    context.save();
    if (!_zoomTransform.isIdentity()) {
        // The pinch zooms about the view's centre, as a view transform would.
        const plat::Point c = bounds().center();
        context.translate(c.x, c.y);
        context.concatCTM(_zoomTransform);
        context.translate(-c.x, -c.y);
    }
    refresh();
    context.restore();
    raiseGaugeRendered();
    if (auto d = delegate()) d->rendered(self);
}

void KivoGauge::refresh() {
    const auto alive = keepAlive();
    updateText();
    _updateRange(_face, _face->max());
    if (_showRanges) {
        // The count is read again after each range: a handler may change the collection.
        for (std::size_t i = 0; i < _ranges->count(); ++i) {
            if (auto range = _ranges->objectAtIndexAs<KivoGaugeRange>(i)) _updateRange(range, range->max());
        }
    }
    _updateRange(_pointer, _pointer->max());
}

void KivoGauge::_updateRange(const std::shared_ptr<KivoGaugeRange>& range, double v) {
    if (range != _pointer) {
        updateRangeElement(range, v, NoAnimationTime);
        return;
    }
    const double lo = min(), hi = max();
    const double origin = !std::isnan(_origin) ? _origin : (lo < 0 && hi > 0 ? 0 : lo);
    _pointer->setMin(origin);

    // A value left below the scale by a later change of min is shown at once.
    if (lo > v) {
        _drawPointerAtOnce(v);
        return;
    }

    if (_plotTime > 0) {
        if (_plotting) {
            updateRangeElement(_pointer, _animatedPointerValue, _plotTime);
            return;
        }
        // The animation has ended: this pass shows its end and settles the state.
        _plotTime = 0;
        _firstLoad = false;
        if (_pointer->max() == _animatedPointerValue) {
            _isValueChanged = false;
            updateRangeElement(_pointer, _animatedPointerValue, _plotTime);
            return;
        }
        // A value set after the last tick is a change of its own: it animates below.
    }

    if (_firstLoad) {
        if (!_isAnimated || !_canAnimate(_loadAnimation)) {
            _drawPointerAtOnce(v);
            return;
        }
        // Nothing of the pointer (and so no value text) shows until the load animation moves it.
        if (!_plotting) _scheduleStart(true, _loadAnimation->startDelay());
        return;
    }

    if (_isAnimated && _canAnimate(_updateAnimation) && _isValueChanged && !_panUpdateFlag) {
        if (!_plotting) _scheduleStart(false, _updateAnimation->startDelay());
        updateRangeElement(_pointer, _oldValue, NoAnimationTime);
        return;
    }
    _drawPointerAtOnce(v);
}

void KivoGauge::_drawPointerAtOnce(double value) {
    _stopAnimation();
    _firstLoad = false;
    _isValueChanged = false;
    _panUpdateFlag = false;
    updateRangeElement(_pointer, value, NoAnimationTime);
}

// ---- Animation ----

bool KivoGauge::_canAnimate(const std::shared_ptr<KivoAnimation>& animation) const {
    // A duration that never passes (NaN, infinite) would keep the pointer moving for ever.
    return animation && animation->isValid() && std::isfinite(animation->duration());
}

bool KivoGauge::hasPendingAnimation() const {
    return (_startTimer && _startTimer->isValid()) || (_driver && _driver->isRunning());
}

void KivoGauge::_scheduleStart(bool load, double delay) {
    // However many passes come before it fires, one start is pending.
    if (_startTimer && _startTimer->isValid()) return;
    std::weak_ptr<KivoGauge> weak = sharedAs<KivoGauge>();
    _startTimer = plat::Timer::scheduled(delay, false, [weak, load](plat::Timer& timer) {
        timer.invalidate();
        if (auto gauge = weak.lock()) load ? gauge->_startLoadAnimation() : gauge->_startUpdateAnimation();
    });
}

void KivoGauge::_startLoadAnimation() { _startAnimation(true); }

void KivoGauge::_startUpdateAnimation() { _startAnimation(false); }

void KivoGauge::_startAnimation(bool load) {
    _stopAnimation();
    _plotting = true;
    _plotTime = 0;
    _animatedPointerValue = 0;
    if (!load) _pointerValueBeforeUpdate = _oldValue;
    const auto& animation = load ? _loadAnimation : _updateAnimation;
    // The start delay was waited out by the timer that called this.
    const double duration = animation ? animation->duration() : 0;
    std::weak_ptr<KivoGauge> weak = sharedAs<KivoGauge>();
    KivoAnimationDriver::Handlers handlers;
    handlers.frame = [weak, load](const KivoAnimationDriver::Frame& frame) {
        // The last frame draws nothing of its own: the end settles the pointer at its value.
        if (frame.fraction >= 1) return;
        if (auto gauge = weak.lock())
            load ? gauge->_loadAnimationTask(frame.elapsed) : gauge->_updateAnimationTask(frame.elapsed);
    };
    handlers.end = [weak, duration](KivoAnimationDriver::End end) {
        auto gauge = weak.lock();
        if (gauge && end == KivoAnimationDriver::End::Finished) gauge->_animationEnded(duration);
    };
    _driver = KivoAnimationDriver::start(weak, duration, 0, nullptr, std::move(handlers));
}

void KivoGauge::_stopAnimation() {
    if (_startTimer) _startTimer->invalidate();
    _startTimer.reset();
    // Taken first: stopping calls the end handler, which must find no driver of this gauge running.
    if (auto driver = std::move(_driver)) driver->stop();
    _plotting = false;
    _plotTime = 0;
}

void KivoGauge::_loadAnimationTask(double elapsed) { _animationTick(elapsed, true); }

void KivoGauge::_updateAnimationTask(double elapsed) { _animationTick(elapsed, false); }

void KivoGauge::_animationTick(double elapsed, bool load) {
    _plotTime = elapsed;
    // The target is read on every tick, so a value set meanwhile retargets the running animation.
    const double beginning = load ? _pointer->min() : _pointerValueBeforeUpdate;
    _animatedPointerValue =
        KivoEasingUtil::ease(getAnimationEasing(), _plotTime, beginning, _pointer->max() - beginning, getAnimationDuration());
    invalidate();
}

void KivoGauge::_animationEnded(double duration) {
    _driver.reset();
    _plotTime = duration;
    _plotting = false;
    _animatedPointerValue = value();
    invalidate();
}

KivoEasePtr KivoGauge::getAnimationEasing() const {
    const auto& animation = _firstLoad ? _loadAnimation : _updateAnimation;
    return animation ? animation->easing() : nullptr;
}

double KivoGauge::getAnimationDuration() const {
    const auto& animation = _firstLoad ? _loadAnimation : _updateAnimation;
    return animation ? animation->duration() : 0;
}
