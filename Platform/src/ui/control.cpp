#include "Platform/ui/control.h"

#include <algorithm>

#include "Platform/ui/gestures.h"

namespace plat {

std::shared_ptr<Control> Control::create(const Rect& frame) { return initialized(std::shared_ptr<Control>(new Control(frame))); }

// ---- Targets ----

Control::ActionId Control::addTarget(Action action, std::uint32_t events) {
    if (!action || events == 0) return 0;
    const ActionId id = _nextId++;
    _targets.push_back({id, events, std::make_shared<Action>(std::move(action))});
    return id;
}

void Control::removeTarget(ActionId id) {
    std::erase_if(_targets, [&](const Target& t) { return t.id == id; });
}

void Control::removeTargets(std::uint32_t events) {
    for (auto& t : _targets) t.events &= ~events;
    std::erase_if(_targets, [](const Target& t) { return t.events == 0; });
}

std::uint32_t Control::eventsForTarget(ActionId id) const {
    for (const auto& t : _targets) {
        if (t.id == id) return t.events;
    }
    return 0;
}

void Control::sendActionsForControlEvents(std::uint32_t events) {
    auto keep = sharedAs<Control>();  // an action may drop the last other reference
    for (std::uint32_t bit = 1; bit != 0 && events != 0; bit <<= 1) {
        if (!(events & bit)) continue;
        events &= ~bit;
        const auto targets = _targets;  // actions may add or remove actions
        for (const auto& t : targets) {
            if (t.events & bit) (*t.action)(*this);
        }
    }
}

// ---- State ----

void Control::setEnabled(bool enabled) {
    if (enabled == _enabled) return;
    _enabled = enabled;
    if (!enabled && _tracking) {
        cancelTrackingWithEvent(nullptr);
        endTouch();
    }
    setNeedsDisplay();
}

void Control::setSelected(bool selected) {
    if (selected == _selected) return;
    _selected = selected;
    setNeedsDisplay();
}

void Control::setHighlighted(bool highlighted) {
    if (highlighted == _highlighted) return;
    _highlighted = highlighted;
    setNeedsDisplay();
}

// ---- Touches ----

const Touch* Control::trackedIn(const TouchSet& touches) const {
    auto tracked = _trackedTouch.lock();
    if (!tracked) return nullptr;
    return std::find(touches.begin(), touches.end(), tracked) != touches.end() ? tracked.get() : nullptr;
}

void Control::endTouch() {
    _trackedTouch.reset();
    _tracking = false;
    _touchInside = false;
    setHighlighted(false);
}

void Control::touchesBegan(const TouchSet& touches, const Event& event) {
    if (!_enabled || !_trackedTouch.expired() || touches.empty()) return;
    auto keep = sharedAs<Control>();
    const auto& touch = touches.front();
    _trackedTouch = touch;
    _touchInside = true;
    _tracking = beginTrackingWithTouch(*touch, event);
    setHighlighted(true);
    sendActionsForControlEvents(ControlEventTouchDown |
                                (touch->tapCount() > 1 ? std::uint32_t(ControlEventTouchDownRepeat) : 0u));
}

void Control::touchesMoved(const TouchSet& touches, const Event& event) {
    const Touch* touch = trackedIn(touches);
    if (!touch) return;
    auto keep = sharedAs<Control>();
    const bool inside = pointInside(touch->locationInView(this), &event);
    const bool wasInside = _touchInside;
    _touchInside = inside;
    setHighlighted(inside);
    if (_tracking) _tracking = continueTrackingWithTouch(*touch, event);
    std::uint32_t events = inside ? ControlEventTouchDragInside : ControlEventTouchDragOutside;
    if (inside != wasInside) events |= inside ? ControlEventTouchDragEnter : ControlEventTouchDragExit;
    sendActionsForControlEvents(events);
}

void Control::touchesEnded(const TouchSet& touches, const Event& event) {
    const Touch* touch = trackedIn(touches);
    if (!touch) return;
    auto keep = sharedAs<Control>();
    const bool inside = pointInside(touch->locationInView(this), &event);
    if (_tracking) endTrackingWithTouch(touch, &event);
    endTouch();
    sendActionsForControlEvents(inside ? ControlEventTouchUpInside : ControlEventTouchUpOutside);
}

void Control::touchesCancelled(const TouchSet& touches, const Event& event) {
    if (!trackedIn(touches)) return;
    auto keep = sharedAs<Control>();
    if (_tracking) cancelTrackingWithEvent(&event);
    endTouch();
    sendActionsForControlEvents(ControlEventTouchCancel);
}

bool Control::shouldPreventRecognizer(const GestureRecognizer& recognizer) const {
    const auto* tap = dynamic_cast<const TapGestureRecognizer*>(&recognizer);
    return _enabled && tap && tap->numberOfTapsRequired() == 1 && tap->numberOfTouchesRequired() == 1;
}

}  // namespace plat
