#include "Platform/ui/gestures.h"

#include <algorithm>
#include <cmath>

#include "Platform/runtime/clock.h"
#include "Platform/runtime/timer.h"
#include "Platform/ui/window.h"
#include "ui/touch_centroid.h"

namespace plat {

namespace {

using State = GestureRecognizerState;

double distanceBetween(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }
bool isActive(State s) { return s == State::Began || s == State::Changed; }

template <class R>
std::shared_ptr<R> withAction(std::shared_ptr<R> r, GestureRecognizer::Action action) {
    if (action) r->addTarget(std::move(action));
    return r;
}

// A one-shot timer that calls `step` on the recogniser while it is alive.
template <class R, class F>
std::shared_ptr<Timer> timerFor(R& recognizer, double seconds, F step) {
    std::weak_ptr<Object> weak = recognizer.weak_from_this();
    return Timer::scheduled(seconds, false, [weak, step](Timer&) {
        if (auto alive = std::static_pointer_cast<R>(weak.lock())) step(*alive);
    });
}

// The touches that stay down after `leaving` go.
TouchSet remaining(const TouchSet& all, const TouchSet& leaving) {
    TouchSet out;
    for (const auto& t : all) {
        if (std::find(leaving.begin(), leaving.end(), t) == leaving.end()) out.push_back(t);
    }
    return out;
}

}  // namespace

// ---- Tap ----

std::shared_ptr<TapGestureRecognizer> TapGestureRecognizer::create(Action action) {
    return withAction(std::shared_ptr<TapGestureRecognizer>(new TapGestureRecognizer()), std::move(action));
}

TapGestureRecognizer::~TapGestureRecognizer() { stopTimer(); }

void TapGestureRecognizer::stopTimer() {
    if (_timer) _timer->invalidate();
    _timer.reset();
}

bool TapGestureRecognizer::waitsForFurtherTouches() const { return _taps > 0 && state() == State::Possible; }

void TapGestureRecognizer::touchesBegan(const TouchSet& began, const Event&) {
    stopTimer();
    if (touches().size() > static_cast<std::size_t>(_touchesRequired)) {
        setState(State::Failed);
        return;
    }
    for (const auto& t : began) {
        const Point p = t->locationInView(nullptr);
        if (_taps == 0 && _downs.empty())
            _firstDown = p;
        else if (_taps > 0 && distanceBetween(p, _firstDown) > Window::MultiTapDistance) {
            setState(State::Failed);
            return;
        }
        _downs.emplace_back(t.get(), p);
    }
}

void TapGestureRecognizer::touchesMoved(const TouchSet& moved, const Event&) {
    for (const auto& t : moved) {
        auto it = std::find_if(_downs.begin(), _downs.end(), [&](const auto& d) { return d.first == t.get(); });
        if (it != _downs.end() && distanceBetween(t->locationInView(nullptr), it->second) > AllowableMovement) {
            setState(State::Failed);
            return;
        }
    }
}

void TapGestureRecognizer::touchesEnded(const TouchSet& ended, const Event& event) {
    touchesMoved(ended, event);  // a finger lifted far from where it went down is no tap
    if (state() != State::Possible || !remaining(touches(), ended).empty()) return;
    const bool enoughFingers = _downs.size() >= static_cast<std::size_t>(_touchesRequired);
    _downs.clear();
    if (!enoughFingers) {
        setState(State::Failed);
        return;
    }
    if (++_taps >= _tapsRequired) {
        setState(State::Recognized);
        return;
    }
    _timer = timerFor(*this, MaximumTapInterval, [](TapGestureRecognizer& r) {
        r._timer.reset();
        if (r.state() == State::Possible) r.setState(State::Failed);
    });
}

void TapGestureRecognizer::reset() {
    GestureRecognizer::reset();
    stopTimer();
    _taps = 0;
    _downs.clear();
}

// ---- Pan ----

std::shared_ptr<PanGestureRecognizer> PanGestureRecognizer::create(Action action) {
    return withAction(std::shared_ptr<PanGestureRecognizer>(new PanGestureRecognizer()), std::move(action));
}

Point PanGestureRecognizer::centroid() const { return detail::touchCentroid(touches()); }

Point PanGestureRecognizer::translationInView(const View*) const {
    return {_lastCentroid.x - _start.x, _lastCentroid.y - _start.y};
}

void PanGestureRecognizer::setTranslation(Point translation, const View*) {
    _start = {_lastCentroid.x - translation.x, _lastCentroid.y - translation.y};
}

void PanGestureRecognizer::rebase(Point before, Point after) {
    _start.x += after.x - before.x;
    _start.y += after.y - before.y;
    _lastCentroid = after;
}

void PanGestureRecognizer::touchesBegan(const TouchSet& began, const Event& event) {
    const TouchSet before = remaining(touches(), began);
    if (before.empty()) {
        _start = _lastCentroid = centroid();
        _lastTime = event.timestamp();
        _velocity = {};
    } else {
        rebase(detail::touchCentroid(before), centroid());
    }
    if (touches().size() > _maxTouches && state() == State::Possible) setState(State::Failed);
}

void PanGestureRecognizer::touchesMoved(const TouchSet&, const Event& event) {
    const Point c = centroid();
    const double dt = event.timestamp() - _lastTime;
    if (dt > 0) _velocity = {(c.x - _lastCentroid.x) / dt, (c.y - _lastCentroid.y) / dt};
    _lastCentroid = c;
    _lastTime = event.timestamp();
    if (state() == State::Possible) {
        if (touches().size() >= _minTouches && touches().size() <= _maxTouches && distanceBetween(c, _start) > Hysteresis) {
            setState(State::Began);
        }
    } else if (isActive(state())) {
        setState(State::Changed);
    }
}

void PanGestureRecognizer::touchesEnded(const TouchSet& ended, const Event&) {
    const TouchSet left = remaining(touches(), ended);
    if (!left.empty() && left.size() >= _minTouches) {
        rebase(centroid(), detail::touchCentroid(left));
        return;
    }
    if (isActive(state()))
        setState(State::Ended);
    else if (state() == State::Possible)
        setState(State::Failed);
}

void PanGestureRecognizer::reset() {
    GestureRecognizer::reset();
    _velocity = {};
}

// ---- Pinch ----

std::shared_ptr<PinchGestureRecognizer> PinchGestureRecognizer::create(Action action) {
    return withAction(std::shared_ptr<PinchGestureRecognizer>(new PinchGestureRecognizer()), std::move(action));
}

double PinchGestureRecognizer::distance() const {
    if (touches().size() < 2) return 0;
    return distanceBetween(touches()[0]->locationInView(nullptr), touches()[1]->locationInView(nullptr));
}

void PinchGestureRecognizer::setScale(double scale) {
    if (!(scale > 0) || !std::isfinite(scale)) return;
    _scale = scale;
    const double d = distance();
    if (d > 0) _baseDistance = d / scale;
}

void PinchGestureRecognizer::touchesBegan(const TouchSet&, const Event& event) {
    if (touches().size() == 2) {
        _initialDistance = _baseDistance = distance();
        _scale = 1;
        _lastTime = event.timestamp();
    } else if (touches().size() > 2 && state() == State::Possible) {
        setState(State::Failed);
    }
}

void PinchGestureRecognizer::touchesMoved(const TouchSet&, const Event& event) {
    if (touches().size() < 2 || !(_baseDistance > 0)) return;
    const double d = distance();
    const double newScale = d / _baseDistance;
    const double dt = event.timestamp() - _lastTime;
    if (dt > 0) _velocity = (newScale - _scale) / dt;
    _lastTime = event.timestamp();
    _scale = newScale;
    if (state() == State::Possible) {
        if (std::fabs(d - _initialDistance) > Hysteresis) setState(State::Began);
    } else if (isActive(state())) {
        setState(State::Changed);
    }
}

void PinchGestureRecognizer::touchesEnded(const TouchSet& ended, const Event&) {
    if (remaining(touches(), ended).size() >= 2) return;
    if (isActive(state()))
        setState(State::Ended);
    else if (state() == State::Possible)
        setState(State::Failed);
}

void PinchGestureRecognizer::reset() {
    GestureRecognizer::reset();
    _initialDistance = _baseDistance = 0;
    _scale = 1;
    _velocity = 0;
}

// ---- Long press ----

std::shared_ptr<LongPressGestureRecognizer> LongPressGestureRecognizer::create(Action action) {
    return withAction(std::shared_ptr<LongPressGestureRecognizer>(new LongPressGestureRecognizer()), std::move(action));
}

LongPressGestureRecognizer::~LongPressGestureRecognizer() { stopTimer(); }

void LongPressGestureRecognizer::stopTimer() {
    if (_timer) _timer->invalidate();
    _timer.reset();
}

void LongPressGestureRecognizer::touchesBegan(const TouchSet&, const Event&) {
    const auto count = touches().size();
    if (count > static_cast<std::size_t>(_touchesRequired)) {
        stopTimer();
        if (state() == State::Possible)
            setState(State::Failed);
        else if (isActive(state()))
            setState(State::Cancelled);
        return;
    }
    if (count == static_cast<std::size_t>(_touchesRequired) && state() == State::Possible) {
        _start = detail::touchCentroid(touches());
        stopTimer();
        _timer = timerFor(*this, _minDuration, [](LongPressGestureRecognizer& r) {
            r._timer.reset();
            if (r.state() == State::Possible) r.setState(State::Began);
        });
    }
}

void LongPressGestureRecognizer::touchesMoved(const TouchSet&, const Event&) {
    if (state() == State::Possible) {
        if (distanceBetween(detail::touchCentroid(touches()), _start) > _allowableMovement) {
            stopTimer();
            setState(State::Failed);
        }
    } else if (isActive(state())) {
        setState(State::Changed);
    }
}

void LongPressGestureRecognizer::touchesEnded(const TouchSet&, const Event&) {
    stopTimer();
    if (isActive(state()))
        setState(State::Ended);
    else if (state() == State::Possible)
        setState(State::Failed);
}

void LongPressGestureRecognizer::reset() {
    GestureRecognizer::reset();
    stopTimer();
}

}  // namespace plat
