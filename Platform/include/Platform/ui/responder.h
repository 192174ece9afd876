#pragma once
// Touches and the responder chain: a touch follows one finger from down to up over the view it
// first hit; a responder answers touches (by default handing them to the next responder), may
// become the first responder of its window, and performs the edit menu's actions it says it can.

#include <memory>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/foundation/object.h"
#include "Platform/foundation/passkey.h"

namespace plat {

class View;
class Window;
class GestureRecognizer;
class KeyCommand;
struct KeyPress;

enum class TouchPhase { Began, Moved, Stationary, Ended, Cancelled };

// The edit menu's actions, in the order the menu shows them.
enum class EditAction { Cut, Copy, Paste, Select, SelectAll };
inline constexpr EditAction EditActions[] = {EditAction::Cut, EditAction::Copy, EditAction::Paste, EditAction::Select,
                                             EditAction::SelectAll};
// The menu's text for the action ("Cut", "Select All").
PLAT_EXPORT const char* editActionTitle(EditAction action);

class PLAT_EXPORT Touch {
public:
    // Location in `view`'s coordinates; a null view means the window's.
    Point locationInView(const View* view) const;
    Point previousLocationInView(const View* view) const;
    TouchPhase phase() const { return _record.phase; }
    // Clock time of the latest change.
    double timestamp() const { return _record.timestamp; }
    // Taps in quick succession at about the same place count up (2 for the second tap of a double tap).
    int tapCount() const { return _record.tapCount; }
    // The view the touch began on (null when it began on nothing).
    std::shared_ptr<View> view() const { return _record.view.lock(); }
    std::shared_ptr<Window> window() const { return _record.window.lock(); }
    // Which finger: the number the input source gave it.
    int finger() const { return _record.finger; }

    // ---- For the window only ----
    // What the window records of the finger as it delivers it.
    struct Record {
        Point location, previous;  // window coordinates
        TouchPhase phase = TouchPhase::Began;
        double timestamp = 0;
        int tapCount = 1;
        int finger = 0;
        std::weak_ptr<View> view;
        std::weak_ptr<Window> window;
        // A recogniser took the touch from its view: the view heard touchesCancelled and hears no more.
        bool cancelledForView = false;
    };
    Record& record(Passkey<Window>) { return _record; }

private:
    Record _record;
};

using TouchSet = std::vector<std::shared_ptr<Touch>>;

// One delivery of touches: the touches that changed and every touch that is down.
class PLAT_EXPORT Event {
public:
    Event(double timestamp, TouchSet allTouches) : _timestamp(timestamp), _all(std::move(allTouches)) {}
    double timestamp() const { return _timestamp; }
    const TouchSet& allTouches() const { return _all; }
    TouchSet touchesForView(const View* view) const;

private:
    double _timestamp;
    TouchSet _all;
};

class PLAT_EXPORT Responder : public Object {
public:
    Responder() = default;
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;

    virtual std::shared_ptr<Responder> nextResponder() const { return nullptr; }

    // The defaults hand the touches on to the next responder.
    virtual void touchesBegan(const TouchSet& touches, const Event& event);
    virtual void touchesMoved(const TouchSet& touches, const Event& event);
    virtual void touchesEnded(const TouchSet& touches, const Event& event);
    virtual void touchesCancelled(const TouchSet& touches, const Event& event);

    virtual bool canBecomeFirstResponder() const { return false; }
    virtual bool canResignFirstResponder() const { return true; }
    virtual bool becomeFirstResponder() { return false; }
    virtual bool resignFirstResponder() { return true; }
    virtual bool isFirstResponder() const { return false; }

    // The key commands this responder offers now; asked at every key press, so the list may follow
    // the responder's state.
    virtual std::vector<std::shared_ptr<KeyCommand>> keyCommands() const { return {}; }
    // A key press that no key command claimed, offered to the first responder and then along the
    // chain; true when handled.
    virtual bool pressKey(const KeyPress& key) { return false; }

    // Whether this responder performs the action now (the sender may be null). None by default.
    virtual bool canPerformAction(EditAction action, const std::shared_ptr<Object>& sender) const { return false; }
    // The actions; sent only to a responder that said it can perform them. The defaults do nothing.
    virtual void cut(const std::shared_ptr<Object>& sender) {}
    virtual void copy(const std::shared_ptr<Object>& sender) {}
    virtual void paste(const std::shared_ptr<Object>& sender) {}
    virtual void select(const std::shared_ptr<Object>& sender) {}
    virtual void selectAll(const std::shared_ptr<Object>& sender) {}

    // This responder or the first one after it along the chain that can perform the action; null
    // when none can.
    std::shared_ptr<Responder> targetForAction(EditAction action, const std::shared_ptr<Object>& sender);
    // Performs the action on that target; false when there is none.
    bool sendEditAction(EditAction action, const std::shared_ptr<Object>& sender);
};

}  // namespace plat
