#include "dropdown/FrameAnimation.h"

#include <algorithm>
#include <cmath>

#include "Platform/runtime/clock.h"
#include "Platform/runtime/display_link.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/animation.h"
#include "Platform/ui/view.h"

namespace kivo::detail {

namespace {

double lerp(double a, double b, double t) { return a + (b - a) * t; }

}  // namespace

FrameAnimation::~FrameAnimation() {
    if (_link) _link->invalidate();
}

void FrameAnimation::start(const std::shared_ptr<plat::View>& view, const plat::Rect& target, double duration,
                           Completion completion) {
    stop();
    if (!view) return;
    _view = view;
    _from = view->frame();
    _to = target;
    _completion = std::move(completion);
    if (!(duration > 0) || !std::isfinite(duration)) {
        view->setFrame(target);
        finish(true);
        return;
    }
    _start = plat::Clock::now();
    _duration = duration;
    _link = plat::DisplayLink::create([this](plat::DisplayLink&, double) { tick(); });
    _link->addToRunLoop(plat::RunLoop::main());
}

void FrameAnimation::stop() {
    if (!_link) return;
    finish(false);
}

void FrameAnimation::tick() {
    auto view = _view.lock();
    if (!view) {
        finish(false);
        return;
    }
    const double t = std::clamp((plat::Clock::now() - _start) / _duration, 0.0, 1.0);
    const double p = plat::TimingFunction::easeInEaseOut().evaluate(t);
    view->setFrame({lerp(_from.x(), _to.x(), p), lerp(_from.y(), _to.y(), p), lerp(_from.width(), _to.width(), p),
                    lerp(_from.height(), _to.height(), p)});
    view->setNeedsDisplay();
    if (t >= 1) finish(true);
}

void FrameAnimation::finish(bool finished) {
    if (_link) {
        _link->invalidate();
        _link.reset();
    }
    if (finished) {
        if (auto view = _view.lock()) view->setFrame(_to);
    }
    // The completion may start another animation on this object.
    auto completion = std::move(_completion);
    _completion = nullptr;
    if (completion) completion(finished);
}

}  // namespace kivo::detail
