#pragma once
// A control: a view that turns touches into control events (touch down, drag, touch up inside or
// outside, cancel, value changed, …) and sends them to the actions registered for them.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/ui/view.h"

namespace plat {

// The platform's control event bits.
enum ControlEvents : std::uint32_t {
    ControlEventTouchDown = 1u << 0,
    ControlEventTouchDownRepeat = 1u << 1,
    ControlEventTouchDragInside = 1u << 2,
    ControlEventTouchDragOutside = 1u << 3,
    ControlEventTouchDragEnter = 1u << 4,
    ControlEventTouchDragExit = 1u << 5,
    ControlEventTouchUpInside = 1u << 6,
    ControlEventTouchUpOutside = 1u << 7,
    ControlEventTouchCancel = 1u << 8,
    ControlEventValueChanged = 1u << 12,
    ControlEventPrimaryActionTriggered = 1u << 13,
    ControlEventEditingDidBegin = 1u << 16,
    ControlEventEditingChanged = 1u << 17,
    ControlEventEditingDidEnd = 1u << 18,
    ControlEventEditingDidEndOnExit = 1u << 19,
    ControlEventAllTouchEvents = 0x00000FFFu,
    ControlEventAllEditingEvents = 0x000F0000u,
    ControlEventAllEvents = 0xFFFFFFFFu,
};

class PLAT_EXPORT Control : public View {
public:
    using Action = std::function<void(Control& sender)>;
    using ActionId = std::uint64_t;

    static std::shared_ptr<Control> create(const Rect& frame = {});

    // Actions run in the order they were added, once per matching event. Returns a handle for removal.
    ActionId addTarget(Action action, std::uint32_t events);
    void removeTarget(ActionId id);
    // Takes `events` off every action (an action left with none is dropped).
    void removeTargets(std::uint32_t events);
    // The events an action listens to (0 for an unknown handle).
    std::uint32_t eventsForTarget(ActionId id) const;
    // Runs the actions of every event in `events`, event by event (lowest bit first).
    void sendActionsForControlEvents(std::uint32_t events);

    bool isEnabled() const { return _enabled; }
    virtual void setEnabled(bool enabled);
    bool isSelected() const { return _selected; }
    virtual void setSelected(bool selected);
    bool isHighlighted() const { return _highlighted; }
    virtual void setHighlighted(bool highlighted);
    bool isTracking() const { return _tracking; }
    // Whether the tracked touch is inside the control's bounds now.
    bool isTouchInside() const { return _touchInside; }

    // Tracking hooks; returning false from begin or continue stops the tracking of that touch.
    virtual bool beginTrackingWithTouch(const Touch& touch, const Event& event) { return true; }
    virtual bool continueTrackingWithTouch(const Touch& touch, const Event& event) { return true; }
    virtual void endTrackingWithTouch(const Touch* touch, const Event* event) {}
    virtual void cancelTrackingWithEvent(const Event* event) {}

    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void touchesCancelled(const TouchSet& touches, const Event& event) override;

    // A single-tap recogniser of a view around the control does not take the control's taps.
    bool shouldPreventRecognizer(const GestureRecognizer& recognizer) const override;

protected:
    explicit Control(const Rect& frame) : View(frame) {}

private:
    struct Target {
        ActionId id;
        std::uint32_t events;
        std::shared_ptr<Action> action;
    };
    PLAT_NO_EXPORT const Touch* trackedIn(const TouchSet& touches) const;
    PLAT_NO_EXPORT void endTouch();

    std::vector<Target> _targets;
    ActionId _nextId = 1;
    bool _enabled = true;
    bool _selected = false;
    bool _highlighted = false;
    bool _tracking = false;
    bool _touchInside = false;
    std::weak_ptr<Touch> _trackedTouch;
};

}  // namespace plat
