#include "KivoCore/KivoAnimationDriver.h"

#include <algorithm>
#include <cmath>

#include "KivoCore/KivoAnimation.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/display_link.h"
#include "Platform/runtime/run_loop.h"

namespace {

// True for a weak pointer that never pointed anywhere, as opposed to one whose object has gone.
bool isEmpty(const std::weak_ptr<const void>& p) {
    const std::weak_ptr<const void> none;
    return !p.owner_before(none) && !none.owner_before(p);
}

plat::Ticks addSaturated(plat::Ticks a, plat::Ticks b) {
    return b > plat::Ticks(0) && a > plat::Ticks::max() - b ? plat::Ticks::max() : a + b;
}

}  // namespace

KivoAnimationDriver::KivoAnimationDriver(plat::Passkey<KivoAnimationDriver>, std::weak_ptr<const void> owner, double duration,
                                         double startDelay, KivoEasePtr easing, Handlers handlers)
    : _owner(std::move(owner)), _easing(std::move(easing)), _handlers(std::move(handlers)) {
    _hasOwner = !isEmpty(_owner);
    // Anything that cannot be timed jumps to the end state instead of waiting for ever.
    _endsAtOnce = !KivoAnimation::isTimeable(duration, startDelay);
    if (_endsAtOnce) return;
    _duration = duration;
    _delay = std::max(startDelay, 0.0);
    _delayTicks = plat::ticksFromSeconds(_delay);
    _endTicks = addSaturated(_delayTicks, plat::ticksFromSeconds(_duration));
}

KivoAnimationDriver::~KivoAnimationDriver() {
    if (_link) _link->invalidate();
}

std::shared_ptr<KivoAnimationDriver> KivoAnimationDriver::start(std::weak_ptr<const void> owner, double duration,
                                                                double startDelay, KivoEasePtr easing, Handlers handlers) {
    auto driver = std::make_shared<KivoAnimationDriver>(plat::Passkey<KivoAnimationDriver>{}, std::move(owner), duration,
                                                        startDelay, std::move(easing), std::move(handlers));
    // The link's callback keeps the driver alive until the link is invalidated at the end, so a
    // caller need not hold on to it; the owner, held weakly, still stops it.
    driver->_link = plat::DisplayLink::create([driver](plat::DisplayLink& link, double) {
        auto self = driver;  // the callback may be let go of while it runs
        self->tick(link.timestampTicks());
    });
    driver->_link->addToRunLoop(plat::RunLoop::main());
    return driver;
}

std::shared_ptr<KivoAnimationDriver> KivoAnimationDriver::start(std::weak_ptr<const void> owner, const KivoAnimation& setting,
                                                                Handlers handlers) {
    return start(std::move(owner), setting.duration(), setting.startDelay(), setting.easing(), std::move(handlers));
}

std::shared_ptr<KivoAnimationDriver> KivoAnimationDriver::startFromNow(std::weak_ptr<const void> owner, double duration,
                                                                       std::function<void(double t, bool last)> step) {
    const plat::Ticks begun = plat::Clock::ticks();
    // Shared, so that a step that stops the driver (letting go of this handler) runs to its end.
    auto shared = std::make_shared<std::function<void(double, bool)>>(std::move(step));
    Handlers handlers;
    handlers.frame = [shared, begun, duration](const Frame& frame) {
        const double t = plat::secondsFromTicks(plat::Clock::ticks() - begun);
        const auto run = shared;
        (*run)(t, frame.fraction >= 1 || !(t < duration));
    };
    return start(std::move(owner), duration, 0, nullptr, std::move(handlers));
}

bool KivoAnimationDriver::ownerGone() const { return _hasOwner && _owner.expired(); }

void KivoAnimationDriver::tick(plat::Ticks now) {
    if (!_running) return;
    if (ownerGone()) {
        // Nobody is left to tell: stop quietly.
        _running = false;
        if (_link) _link->invalidate();
        return;
    }
    if (!_begun) {
        _begun = true;
        _firstTick = now;
        if (_handlers.begin) _handlers.begin();
        if (!_running || ownerGone()) return;
    }
    const plat::Ticks elapsed = now - _firstTick;
    const bool last = _endsAtOnce || elapsed >= _endTicks;
    if (!last && elapsed < _delayTicks) return;  // still waiting out the start delay

    Frame frame;
    frame.elapsed = plat::secondsFromTicks(elapsed);
    frame.fraction = last ? 1.0 : std::clamp((frame.elapsed - _delay) / _duration, 0.0, 1.0);
    frame.eased = _easing ? _easing->ease(frame.fraction, 0, 1, 1) : frame.fraction;
    if (_handlers.frame) _handlers.frame(frame);
    if (last && _running && !ownerGone()) finish(End::Finished);
}

void KivoAnimationDriver::stop() {
    // The end handler may let go of the caller's last reference.
    auto keep = shared_from_this();
    if (_running) finish(End::Stopped);
}

void KivoAnimationDriver::finish(End end) {
    _running = false;
    if (_link) _link->invalidate();
    // The end handler may start the next animation; nothing of this one is called after it.
    auto handlers = std::move(_handlers);
    _handlers = {};
    if (handlers.end) handlers.end(end);
}
