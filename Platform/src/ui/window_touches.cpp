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

Point Touch::locationInView(const View* view) const {
    return view ? view->convertPointFromView(_record.location, nullptr) : _record.location;
}
Point Touch::previousLocationInView(const View* view) const {
    return view ? view->convertPointFromView(_record.previous, nullptr) : _record.previous;
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
    if (it != _touches.end()) sendTouches({{finger, it->second->record({}).location, TouchPhase::Ended}});
}

void Window::touchCancel(int finger) {
    auto it = _touches.find(finger);
    if (it != _touches.end()) sendTouches({{finger, it->second->record({}).location, TouchPhase::Cancelled}});
}

void Window::sendTouches(const std::vector<TouchInput>& inputs) {
    // A finger that goes down again without having been lifted is lifted first.
    std::vector<TouchInput> lifts;
    for (const auto& in : inputs) {
        auto it = _touches.find(in.finger);
        if (in.phase == TouchPhase::Began && it != _touches.end())
            lifts.push_back({in.finger, it->second->record({}).location, TouchPhase::Ended});
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
            auto& record = t->record({});
            record.finger = in.finger;
            record.location = record.previous = in.location;
            record.window = sharedAs<Window>();
            const bool repeat =
                now - _lastTapTime <= MultiTapInterval &&
                std::hypot(in.location.x - _lastTapLocation.x, in.location.y - _lastTapLocation.y) <= MultiTapDistance;
            record.tapCount = repeat ? _lastTapCount + 1 : 1;
            record.phase = TouchPhase::Began;
            record.timestamp = now;
            _touches[in.finger] = t;
            // Once per touch, at its start: the view it began on keeps it to its end.
            const Event event = currentEvent();
            record.view = hitTest(convertPointFromView(in.location, nullptr), &event);
        } else {
            if (it == _touches.end()) continue;
            t = it->second;
            auto& record = t->record({});
            record.previous = record.location;
            record.location = in.location;
        }
        auto& record = t->record({});
        record.phase = in.phase;
        record.timestamp = now;
        changed.push_back(t);
    }
    if (changed.empty()) return;
    for (const auto& t : changed) {
        if (t->phase() == TouchPhase::Began) offerToRecognizers(t);
    }

    {
        const DeliveryScope delivering(_delivering);
        const Event event = currentEvent();
        const TouchPhase phases[] = {TouchPhase::Began, TouchPhase::Moved, TouchPhase::Stationary, TouchPhase::Ended,
                                     TouchPhase::Cancelled};

        // Recognisers first, then the views.
        const auto arena = _arena;
        for (const auto& r : arena) {
            auto& entry = r->arenaEntry({});
            for (TouchPhase phase : phases) {
                TouchSet mine;
                for (const auto& t : changed) {
                    if (t->phase() == phase && std::find(entry.touches.begin(), entry.touches.end(), t) != entry.touches.end())
                        mine.push_back(t);
                }
                if (mine.empty()) continue;
                if (r->isEnabled() && !isTerminal(r->state())) r->receiveTouches({}, phase, mine, event);
                if (!entry.touches.empty()) entry.lastLocation = r->locationInView(nullptr);
                if (phase == TouchPhase::Ended || phase == TouchPhase::Cancelled) {
                    std::erase_if(entry.touches,
                                  [&](const auto& t) { return std::find(mine.begin(), mine.end(), t) != mine.end(); });
                }
            }
        }
        for (TouchPhase phase : phases) {
            ByView byView;
            for (const auto& t : changed) {
                if (t->phase() == phase && !t->record({}).cancelledForView) addByView(byView, t);
            }
            for (auto& [v, set] : byView) callPhase(*v, phase, set, event);
        }

        for (const auto& t : changed) {
            if (t->phase() != TouchPhase::Ended && t->phase() != TouchPhase::Cancelled) continue;
            if (t->phase() == TouchPhase::Ended) {
                _lastTapTime = now;
                _lastTapLocation = t->record({}).location;
                _lastTapCount = t->tapCount();
            }
            auto it = _touches.find(t->finger());
            if (it != _touches.end() && it->second == t) _touches.erase(it);
        }
    }
    settleRecognizers();
}

void Window::offerToRecognizers(const std::shared_ptr<Touch>& touch) {
    for (auto v = touch->view(); v; v = v->superview()) {
        const auto recognizers = v->gestureRecognizers();
        for (const auto& r : recognizers) {
            auto& entry = r->arenaEntry({});
            if (!r->isEnabled()) continue;
            if (isTerminal(r->state()) && !entry.touches.empty()) continue;  // still busy with a finished gesture
            if (auto d = r->delegate(); d && !d->gestureRecognizerShouldReceiveTouch(*r, *touch)) continue;
            entry.touches.push_back(touch);
            if (std::find(_arena.begin(), _arena.end(), r) == _arena.end()) _arena.push_back(r);
        }
    }
}

bool Window::simultaneous(GestureRecognizer& a, GestureRecognizer& b) const {
    if (auto d = a.delegate(); d && d->gestureRecognizerShouldRecognizeSimultaneously(a, b)) return true;
    if (auto d = b.delegate(); d && d->gestureRecognizerShouldRecognizeSimultaneously(b, a)) return true;
    return false;
}

bool Window::recognizerWillChangeState(Passkey<GestureRecognizer>, GestureRecognizer& r, State& next) {
    if (r.state() != State::Possible || (next != State::Began && next != State::Ended)) return true;
    if (!r.isEnabled()) return false;
    auto& entry = r.arenaEntry({});
    if (auto d = r.delegate(); d && !d->gestureRecognizerShouldBegin(r)) {
        next = State::Failed;
        return true;
    }
    // A control's own tap wins over a plain tap recogniser of a view around it.
    for (const auto& t : entry.touches) {
        for (auto v = t->view(); v && v != r.view(); v = v->superview()) {
            if (v->shouldPreventRecognizer(r)) {
                next = State::Failed;
                return true;
            }
        }
    }
    for (const auto& other : _arena) {
        if (other.get() != &r && isActive(other->state()) && !simultaneous(r, *other)) {
            next = State::Failed;
            return true;
        }
    }
    for (const auto& weak : entry.requiredToFail) {
        auto f = weak.lock();
        if (!f || std::find(_arena.begin(), _arena.end(), f) == _arena.end()) continue;
        if (f->state() == State::Possible) {
            entry.pending = next;
            return false;
        }
        if (f->state() != State::Failed) {
            next = State::Failed;
            return true;
        }
    }
    return true;
}

void Window::recognizerDidChangeState(Passkey<GestureRecognizer>, GestureRecognizer& r, State old) {
    const State now = r.state();
    const auto arena = _arena;
    const bool recognized = old == State::Possible && (now == State::Began || now == State::Ended);
    if (recognized) {
        r.arenaEntry({}).pending.reset();
        for (const auto& other : arena) {
            if (other.get() != &r && other->state() == State::Possible && !simultaneous(r, *other)) {
                other->arenaEntry({}).pending.reset();
                other->setState({}, State::Failed);
            }
        }
        if (r.cancelsTouchesInView()) cancelTouchesInViews(r);
    }
    if (now == State::Failed) {
        // Recognisers waiting for this one to fail may go ahead once nothing else holds them.
        for (const auto& other : arena) {
            auto& entry = other->arenaEntry({});
            if (!entry.pending) continue;
            bool waits = false, dependsOnIt = false;
            for (const auto& weak : entry.requiredToFail) {
                auto f = weak.lock();
                if (!f) continue;
                if (f.get() == &r)
                    dependsOnIt = true;
                else if (f->state() == State::Possible && std::find(_arena.begin(), _arena.end(), f) != _arena.end())
                    waits = true;
            }
            if (dependsOnIt && !waits) {
                const State pending = *entry.pending;
                entry.pending.reset();
                other->setState({}, pending);
            }
        }
    }
}

void Window::cancelTouchesInViews(GestureRecognizer& r) {
    ByView byView;
    for (const auto& t : r.arenaEntry({}).touches) {
        auto& record = t->record({});
        if (record.cancelledForView) continue;
        record.cancelledForView = true;
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
            const auto& entry = r->arenaEntry({});
            if (!entry.touches.empty()) continue;
            if (r->state() == State::Possible && !entry.pending && !r->waitsForFurtherTouches({})) {
                r->setState({}, State::Failed);
                changed = true;
            }
            if (isTerminal(r->state())) {
                r->resetForNextGesture({});
                std::erase(_arena, r);
                changed = true;
            }
        }
    }
}

}  // namespace plat
