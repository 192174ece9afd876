#include "Platform/ui/swipe_gesture_recognizer.h"

#include <cmath>

#include "Platform/runtime/timer.h"
#include "ui/touch_centroid.h"

namespace plat {

using State = GestureRecognizerState;

std::shared_ptr<SwipeGestureRecognizer> SwipeGestureRecognizer::create(Action action) {
    auto r = std::shared_ptr<SwipeGestureRecognizer>(new SwipeGestureRecognizer());
    if (action) r->addTarget(std::move(action));
    return r;
}

SwipeGestureRecognizer::~SwipeGestureRecognizer() { stopTimer(); }

void SwipeGestureRecognizer::setDirection(unsigned direction) {
    const unsigned valid = direction & 0xFu;
    if (valid) _direction = valid;
}

void SwipeGestureRecognizer::stopTimer() {
    if (_timer) _timer->invalidate();
    _timer.reset();
}

void SwipeGestureRecognizer::touchesBegan(const TouchSet&, const Event& event) {
    const auto count = touches().size();
    if (count > static_cast<std::size_t>(_touchesRequired)) {
        stopTimer();
        setState(State::Failed);
        return;
    }
    if (!_started) {
        _started = true;
        _startTime = event.timestamp();
        // Too slow: a finger resting past the time limit is no swipe, even before it moves again.
        std::weak_ptr<Object> weak = weak_from_this();
        _timer = Timer::scheduled(MaximumDuration, false, [weak](Timer&) {
            auto self = std::static_pointer_cast<SwipeGestureRecognizer>(weak.lock());
            if (!self) return;
            self->_timer.reset();
            if (self->state() == State::Possible) self->setState(State::Failed);
        });
    }
    if (count == static_cast<std::size_t>(_touchesRequired)) _start = detail::touchCentroid(touches());
}

void SwipeGestureRecognizer::touchesMoved(const TouchSet&, const Event& event) { evaluate(event.timestamp()); }

void SwipeGestureRecognizer::touchesEnded(const TouchSet&, const Event& event) {
    evaluate(event.timestamp());
    // Lifted before the stroke was long enough.
    if (state() == State::Possible) {
        stopTimer();
        setState(State::Failed);
    }
}

void SwipeGestureRecognizer::evaluate(double timestamp) {
    if (state() != State::Possible) return;
    if (touches().size() != static_cast<std::size_t>(_touchesRequired)) return;
    if (timestamp - _startTime > MaximumDuration) {
        stopTimer();
        setState(State::Failed);
        return;
    }
    const Point c = detail::touchCentroid(touches());
    const double dx = c.x - _start.x, dy = c.y - _start.y;
    const double along = std::max(std::fabs(dx), std::fabs(dy));
    if (along < MinimumDistance) return;
    unsigned moved = 0;
    double across = 0;
    if (std::fabs(dx) >= std::fabs(dy)) {
        moved = dx > 0 ? SwipeGestureRecognizerDirectionRight : SwipeGestureRecognizerDirectionLeft;
        across = std::fabs(dy);
    } else {
        moved = dy > 0 ? SwipeGestureRecognizerDirectionDown : SwipeGestureRecognizerDirectionUp;
        across = std::fabs(dx);
    }
    stopTimer();
    setState((moved & _direction) && across <= along * MaximumDeviation ? State::Recognized : State::Failed);
}

void SwipeGestureRecognizer::reset() {
    GestureRecognizer::reset();
    stopTimer();
    _started = false;
}

}  // namespace plat
