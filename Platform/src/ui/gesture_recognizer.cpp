#include "Platform/ui/gesture_recognizer.h"

#include <algorithm>

#include "Platform/ui/view.h"
#include "Platform/ui/window.h"
#include "ui/touch_centroid.h"

namespace plat {

GestureRecognizer::~GestureRecognizer() = default;

GestureRecognizer::ActionId GestureRecognizer::addTarget(Action action) {
    if (!action) return 0;
    const ActionId id = _nextAction++;
    _actions.emplace_back(id, std::make_shared<Action>(std::move(action)));
    return id;
}

void GestureRecognizer::removeTarget(ActionId id) {
    std::erase_if(_actions, [&](const auto& a) { return a.first == id; });
}

void GestureRecognizer::sendActions() {
    const auto actions = _actions;  // actions may add or remove actions
    for (const auto& [id, action] : actions) (*action)(*this);
}

void GestureRecognizer::setEnabled(bool enabled) {
    if (enabled == _enabled) return;
    _enabled = enabled;
    if (enabled) return;
    if (_state == State::Began || _state == State::Changed)
        setState(State::Cancelled);
    else if (_state == State::Possible && (!_arenaEntry.touches.empty() || _arenaEntry.pending))
        setState(State::Failed);
}

void GestureRecognizer::requireGestureRecognizerToFail(const std::shared_ptr<GestureRecognizer>& other) {
    if (other && other.get() != this) _arenaEntry.requiredToFail.push_back(other);
}

std::shared_ptr<Window> GestureRecognizer::window() const {
    auto v = view();
    return v ? v->window() : nullptr;
}

Point GestureRecognizer::toWindow(Point point, const View* view) {
    return view ? view->convertPointToView(point, nullptr) : point;
}

Point GestureRecognizer::locationInView(const View* view) const {
    const Point p = _arenaEntry.touches.empty() ? _arenaEntry.lastLocation : detail::touchCentroid(_arenaEntry.touches);
    return view ? view->convertPointFromView(p, nullptr) : p;
}

Point GestureRecognizer::locationOfTouch(std::size_t index, const View* view) const {
    if (index >= _arenaEntry.touches.size()) return locationInView(view);
    return _arenaEntry.touches[index]->locationInView(view);
}

void GestureRecognizer::touchesCancelled(const TouchSet&, const Event&) {
    if (_state == State::Began || _state == State::Changed)
        setState(State::Cancelled);
    else if (_state == State::Possible)
        setState(State::Failed);
}

void GestureRecognizer::reset() {}

void GestureRecognizer::resetForNextGesture(Passkey<Window>) {
    _state = State::Possible;
    _arenaEntry.pending.reset();
    _arenaEntry.touches.clear();
    reset();
}

void GestureRecognizer::receiveTouches(Passkey<Window>, TouchPhase phase, const TouchSet& touches, const Event& event) {
    switch (phase) {
        case TouchPhase::Began:
            touchesBegan(touches, event);
            break;
        case TouchPhase::Moved:
        case TouchPhase::Stationary:
            touchesMoved(touches, event);
            break;
        case TouchPhase::Ended:
            touchesEnded(touches, event);
            break;
        case TouchPhase::Cancelled:
            touchesCancelled(touches, event);
            break;
    }
}

void GestureRecognizer::setState(State state) {
    if (state == _state && state != State::Changed) return;
    auto keep = std::static_pointer_cast<GestureRecognizer>(shared_from_this());
    auto win = window();
    if (win) {
        if (!win->recognizerWillChangeState({}, *this, state)) return;
    } else if (_state == State::Possible && (state == State::Began || state == State::Ended)) {
        if (auto d = delegate(); d && !d->gestureRecognizerShouldBegin(*this)) state = State::Failed;
    }
    const State old = _state;
    _state = state;
    if (!_arenaEntry.touches.empty()) _arenaEntry.lastLocation = locationInView(nullptr);
    if (win) win->recognizerDidChangeState({}, *this, old);
    if (state == State::Began || state == State::Changed || state == State::Ended || state == State::Cancelled) sendActions();
    if (win) win->settleRecognizers({});  // not while the window is delivering touches
}

}  // namespace plat
