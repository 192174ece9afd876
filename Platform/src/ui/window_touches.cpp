// Touch delivery of a window: hit testing, the gesture recognisers' arena, then the views.

#include <algorithm>
#include <cmath>

#include "Platform/runtime/clock.h"
#include "Platform/ui/gesture_recognizer.h"
#include "Platform/ui/window.h"

namespace plat {

namespace {

using State = GestureRecognizerState;

bool isActive(State s) { return s == State::Began || s == State::Changed; }
bool isTerminal(State s) { return s == State::Ended || s == State::Cancelled || s == State::Failed; }

void callPhase(Responder& r, TouchPhase phase, const TouchSet& touches, const Event& event) {
    switch (phase) {
        case TouchPhase::Began:
            r.touchesBegan(touches, event);
            break;
        case TouchPhase::Moved:
        case TouchPhase::Stationary:
            r.touchesMoved(touches, event);
            break;
        case TouchPhase::Ended:
            r.touchesEnded(touches, event);
            break;
        case TouchPhase::Cancelled:
            r.touchesCancelled(touches, event);
            break;
    }
}

// Counts a delivery in progress for its scope: recogniser state changes inside one do not settle the arena.
class DeliveryScope {
public:
    explicit DeliveryScope(int& depth) : _depth(depth) { ++_depth; }
    ~DeliveryScope() { --_depth; }
    DeliveryScope(const DeliveryScope&) = delete;
    DeliveryScope& operator=(const DeliveryScope&) = delete;

private:
    int& _depth;
};

// Touches grouped by the view they began on, keeping the order in which the views first appear.
using ByView = std::vector<std::pair<std::shared_ptr<View>, TouchSet>>;
void addByView(ByView& groups, const std::shared_ptr<Touch>& t) {
    auto v = t->view();
    if (!v) return;
    auto slot = std::find_if(groups.begin(), groups.end(), [&](const auto& e) { return e.first == v; });
    if (slot == groups.end())
        groups.emplace_back(v, TouchSet{t});
    else
        slot->second.push_back(t);
}

}  // namespace

TouchSet Event::touchesForView(const View* view) const {
    TouchSet out;
    for (const auto& t : _all) {
        if (t->view().get() == view) out.push_back(t);
    }
    return out;
}

Point Touch::locationInView(const View* view) const { return view ? view->convertPointFromView(_location, nullptr) : _location; }
Point Touch::previousLocationInView(const View* view) const {
    return view ? view->convertPointFromView(_previous, nullptr) : _previous;
}

void Responder::touchesBegan(const TouchSet& touches, const Event& event) {
    if (auto next = nextResponder()) next->touchesBegan(touches, event);
}
void Responder::touchesMoved(const TouchSet& touches, const Event& event) {
    if (auto next = nextResponder()) next->touchesMoved(touches, event);
}
void Responder::touchesEnded(const TouchSet& touches, const Event& event) {
    if (auto next = nextResponder()) next->touchesEnded(touches, event);
}
void Responder::touchesCancelled(const TouchSet& touches, const Event& event) {
    if (auto next = nextResponder()) next->touchesCancelled(touches, event);
}

// ---- Input ----

void Window::touchDown(Point location, int finger) { sendTouches({{finger, location, TouchPhase::Began}}); }
void Window::touchMove(Point location, int finger) { sendTouches({{finger, location, TouchPhase::Moved}}); }

void Window::touchUp(int finger) {
    auto it = _touches.find(finger);
    if (it != _touches.end()) sendTouches({{finger, it->second->_location, TouchPhase::Ended}});
}

void Window::touchCancel(int finger) {
    auto it = _touches.find(finger);
    if (it != _touches.end()) sendTouches({{finger, it->second->_location, TouchPhase::Cancelled}});
}

void Window::sendTouches(const std::vector<TouchInput>& inputs) {
    // A finger that goes down again without having been lifted is lifted first.
    std::vector<TouchInput> lifts;
    for (const auto& in : inputs) {
        auto it = _touches.find(in.finger);
        if (in.phase == TouchPhase::Began && it != _touches.end())
            lifts.push_back({in.finger, it->second->_location, TouchPhase::Ended});
    }
    auto keep = sharedAs<Window>();
    if (!lifts.empty()) deliver(lifts);
    deliver(inputs);
}

Event Window::currentEvent() const {
    TouchSet all;
    for (const auto& [finger, t] : _touches) all.push_back(t);
    return Event(Clock::now(), std::move(all));
}

void Window::deliver(const std::vector<TouchInput>& inputs) {
    const double now = Clock::now();
    TouchSet changed;
    for (const auto& in : inputs) {
        if (!std::isfinite(in.location.x) || !std::isfinite(in.location.y)) continue;
        auto it = _touches.find(in.finger);
        std::shared_ptr<Touch> t;
        if (in.phase == TouchPhase::Began) {
            t = std::make_shared<Touch>();
            t->_finger = in.finger;
            t->_location = t->_previous = in.location;
            t->_window = sharedAs<Window>();
            const bool repeat =
                now - _lastTapTime <= MultiTapInterval &&
                std::hypot(in.location.x - _lastTapLocation.x, in.location.y - _lastTapLocation.y) <= MultiTapDistance;
            t->_tapCount = repeat ? _lastTapCount + 1 : 1;
            t->_phase = TouchPhase::Began;
            t->_timestamp = now;
            _touches[in.finger] = t;
            // Once per touch, at its start: the view it began on keeps it to its end.
            const Event event = currentEvent();
            t->_view = hitTest(convertPointFromView(in.location, nullptr), &event);
        } else {
            if (it == _touches.end()) continue;
            t = it->second;
            t->_previous = t->_location;
            t->_location = in.location;
        }
        t->_phase = in.phase;
        t->_timestamp = now;
        changed.push_back(t);
    }
    if (changed.empty()) return;
    for (const auto& t : changed) {
        if (t->_phase == TouchPhase::Began) offerToRecognizers(t);
    }

    {
        const DeliveryScope delivering(_delivering);
        const Event event = currentEvent();
        const TouchPhase phases[] = {TouchPhase::Began, TouchPhase::Moved, TouchPhase::Stationary, TouchPhase::Ended,
                                     TouchPhase::Cancelled};

        // Recognisers first, then the views.
        const auto arena = _arena;
        for (const auto& r : arena) {
            for (TouchPhase phase : phases) {
                TouchSet mine;
                for (const auto& t : changed) {
                    if (t->_phase == phase && std::find(r->_touches.begin(), r->_touches.end(), t) != r->_touches.end())
                        mine.push_back(t);
                }
                if (mine.empty()) continue;
                if (r->_enabled && !isTerminal(r->_state)) {
                    switch (phase) {
                        case TouchPhase::Began:
                            r->touchesBegan(mine, event);
                            break;
                        case TouchPhase::Moved:
                        case TouchPhase::Stationary:
                            r->touchesMoved(mine, event);
                            break;
                        case TouchPhase::Ended:
                            r->touchesEnded(mine, event);
                            break;
                        case TouchPhase::Cancelled:
                            r->touchesCancelled(mine, event);
                            break;
                    }
                }
                if (!r->_touches.empty()) r->_lastLocation = r->locationInView(nullptr);
                if (phase == TouchPhase::Ended || phase == TouchPhase::Cancelled) {
                    std::erase_if(r->_touches,
                                  [&](const auto& t) { return std::find(mine.begin(), mine.end(), t) != mine.end(); });
                }
            }
        }
        for (TouchPhase phase : phases) {
            ByView byView;
            for (const auto& t : changed) {
                if (t->_phase == phase && !t->_cancelledForView) addByView(byView, t);
            }
            for (auto& [v, set] : byView) callPhase(*v, phase, set, event);
        }

        for (const auto& t : changed) {
            if (t->_phase != TouchPhase::Ended && t->_phase != TouchPhase::Cancelled) continue;
            if (t->_phase == TouchPhase::Ended) {
                _lastTapTime = now;
                _lastTapLocation = t->_location;
                _lastTapCount = t->_tapCount;
            }
            auto it = _touches.find(t->_finger);
            if (it != _touches.end() && it->second == t) _touches.erase(it);
        }
    }
    settleRecognizers();
}

void Window::offerToRecognizers(const std::shared_ptr<Touch>& touch) {
    for (auto v = touch->view(); v; v = v->superview()) {
        const auto recognizers = v->gestureRecognizers();
        for (const auto& r : recognizers) {
            if (!r->_enabled) continue;
            if (isTerminal(r->_state) && !r->_touches.empty()) continue;  // still busy with a finished gesture
            if (auto d = r->delegate(); d && !d->gestureRecognizerShouldReceiveTouch(*r, *touch)) continue;
            r->_touches.push_back(touch);
            if (std::find(_arena.begin(), _arena.end(), r) == _arena.end()) _arena.push_back(r);
        }
    }
}

bool Window::simultaneous(GestureRecognizer& a, GestureRecognizer& b) const {
    if (auto d = a.delegate(); d && d->gestureRecognizerShouldRecognizeSimultaneously(a, b)) return true;
    if (auto d = b.delegate(); d && d->gestureRecognizerShouldRecognizeSimultaneously(b, a)) return true;
    return false;
}

bool Window::recognizerWillChangeState(GestureRecognizer& r, State& next) {
    if (r._state != State::Possible || (next != State::Began && next != State::Ended)) return true;
    if (!r._enabled) return false;
    if (auto d = r.delegate(); d && !d->gestureRecognizerShouldBegin(r)) {
        next = State::Failed;
        return true;
    }
    // A control's own tap wins over a plain tap recogniser of a view around it.
    for (const auto& t : r._touches) {
        for (auto v = t->view(); v && v != r.view(); v = v->superview()) {
            if (v->shouldPreventRecognizer(r)) {
                next = State::Failed;
                return true;
            }
        }
    }
    for (const auto& other : _arena) {
        if (other.get() != &r && isActive(other->_state) && !simultaneous(r, *other)) {
            next = State::Failed;
            return true;
        }
    }
    for (const auto& weak : r._requiredToFail) {
        auto f = weak.lock();
        if (!f || std::find(_arena.begin(), _arena.end(), f) == _arena.end()) continue;
        if (f->_state == State::Possible) {
            r._pending = next;
            return false;
        }
        if (f->_state != State::Failed) {
            next = State::Failed;
            return true;
        }
    }
    return true;
}

void Window::recognizerDidChangeState(GestureRecognizer& r, State old) {
    const State now = r._state;
    const auto arena = _arena;
    const bool recognized = old == State::Possible && (now == State::Began || now == State::Ended);
    if (recognized) {
        r._pending.reset();
        for (const auto& other : arena) {
            if (other.get() != &r && other->_state == State::Possible && !simultaneous(r, *other)) {
                other->_pending.reset();
                other->setState(State::Failed);
            }
        }
        if (r._cancelsTouchesInView) cancelTouchesInViews(r);
    }
    if (now == State::Failed) {
        // Recognisers waiting for this one to fail may go ahead once nothing else holds them.
        for (const auto& other : arena) {
            if (!other->_pending) continue;
            bool waits = false, dependsOnIt = false;
            for (const auto& weak : other->_requiredToFail) {
                auto f = weak.lock();
                if (!f) continue;
                if (f.get() == &r)
                    dependsOnIt = true;
                else if (f->_state == State::Possible && std::find(_arena.begin(), _arena.end(), f) != _arena.end())
                    waits = true;
            }
            if (dependsOnIt && !waits) {
                const State pending = *other->_pending;
                other->_pending.reset();
                other->setState(pending);
            }
        }
    }
}

void Window::cancelTouchesInViews(GestureRecognizer& r) {
    ByView byView;
    for (const auto& t : r._touches) {
        if (t->_cancelledForView) continue;
        t->_cancelledForView = true;
        addByView(byView, t);
    }
    if (byView.empty()) return;
    const Event event = currentEvent();
    for (auto& [v, set] : byView) v->touchesCancelled(set, event);
}

void Window::settleRecognizers() {
    if (_delivering > 0) return;
    auto keep = sharedAs<Window>();
    // State changes made while settling do not settle again from inside.
    const DeliveryScope settling(_delivering);
    for (bool changed = true; changed;) {
        changed = false;
        const auto arena = _arena;
        for (const auto& r : arena) {
            if (!r->_touches.empty()) continue;
            if (r->_state == State::Possible && !r->_pending && !r->waitsForFurtherTouches()) {
                r->setState(State::Failed);
                changed = true;
            }
            if (isTerminal(r->_state)) {
                r->resetForNextGesture();
                std::erase(_arena, r);
                changed = true;
            }
        }
    }
}

}  // namespace plat
