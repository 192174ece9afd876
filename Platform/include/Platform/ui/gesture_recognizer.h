#pragma once
// The gesture recogniser base: a state machine fed with the touches of its view (and of the view's
// subviews), which calls its actions as it begins, changes, ends or is recognised. The window keeps
// recognisers that share touches in one arena: the first to begin wins unless a delegate lets two
// run together; a recogniser can wait for another to fail first.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/foundation/object.h"
#include "Platform/foundation/passkey.h"
#include "Platform/ui/responder.h"

namespace plat {

class GestureRecognizer;
class View;
class Window;

// The platform's state codes.
enum class GestureRecognizerState : int {
    Possible = 0,
    Began = 1,
    Changed = 2,
    Ended = 3,
    Cancelled = 4,
    Failed = 5,
    Recognized = 3
};

// Optional hooks; the defaults answer as if there were no delegate.
class PLAT_EXPORT GestureRecognizerDelegate {
public:
    virtual ~GestureRecognizerDelegate() = default;
    // Asked when the recogniser is about to leave Possible for Began or Recognized; false fails it.
    virtual bool gestureRecognizerShouldBegin(GestureRecognizer&) { return true; }
    // Asked for every new touch on the recogniser's view; false keeps the touch from it.
    virtual bool gestureRecognizerShouldReceiveTouch(GestureRecognizer&, const Touch&) { return true; }
    // True lets both run at once.
    virtual bool gestureRecognizerShouldRecognizeSimultaneously(GestureRecognizer&, GestureRecognizer& other) { return false; }
};

class PLAT_EXPORT GestureRecognizer : public Object {
public:
    using State = GestureRecognizerState;
    using Action = std::function<void(GestureRecognizer& recognizer)>;
    using ActionId = std::uint64_t;

    ~GestureRecognizer() override;

    // Actions run on every change to Began, Changed, Ended (Recognized) and Cancelled, in order of adding.
    ActionId addTarget(Action action);
    void removeTarget(ActionId id);

    State state() const { return _state; }
    std::shared_ptr<View> view() const { return _view.lock(); }

    bool isEnabled() const { return _enabled; }
    // Disabling a recogniser in the middle of a gesture cancels (or fails) it.
    void setEnabled(bool enabled);

    std::shared_ptr<GestureRecognizerDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(std::weak_ptr<GestureRecognizerDelegate> delegate) { _delegate = std::move(delegate); }

    // When true (default) recognising takes the touches from the views: they hear touchesCancelled.
    bool cancelsTouchesInView() const { return _cancelsTouchesInView; }
    void setCancelsTouchesInView(bool cancels) { _cancelsTouchesInView = cancels; }

    // This recogniser recognises only once `other` has failed (it fails when `other` recognises).
    void requireGestureRecognizerToFail(const std::shared_ptr<GestureRecognizer>& other);

    // The centroid of the touches (the last one known once they are gone), in `view`'s coordinates
    // (null: the window's).
    virtual Point locationInView(const View* view) const;
    std::size_t numberOfTouches() const { return _arenaEntry.touches.size(); }
    Point locationOfTouch(std::size_t index, const View* view) const;

    // ---- For views only ----
    void setView(Passkey<View>, const std::shared_ptr<View>& view) { _view = view; }

    // ---- For the window's arena only ----
    // What the arena reads and keeps on a recogniser.
    struct ArenaEntry {
        TouchSet touches;
        std::optional<State> pending;  // waiting for required failures
        Point lastLocation;            // window coordinates
        std::vector<std::weak_ptr<GestureRecognizer>> requiredToFail;
    };
    ArenaEntry& arenaEntry(Passkey<Window>) { return _arenaEntry; }
    // Hands touches of one phase to touchesBegan, touchesMoved, touchesEnded or touchesCancelled.
    void receiveTouches(Passkey<Window>, TouchPhase phase, const TouchSet& touches, const Event& event);
    void setState(Passkey<Window>, State state) { setState(state); }
    bool waitsForFurtherTouches(Passkey<Window>) const { return waitsForFurtherTouches(); }
    void resetForNextGesture(Passkey<Window>);

protected:
    GestureRecognizer() = default;

    // Touches of the recogniser's view; subclasses move the state from here.
    virtual void touchesBegan(const TouchSet& touches, const Event& event) {}
    virtual void touchesMoved(const TouchSet& touches, const Event& event) {}
    virtual void touchesEnded(const TouchSet& touches, const Event& event) {}
    virtual void touchesCancelled(const TouchSet& touches, const Event& event);
    // Back to a fresh start once a gesture is over; overrides call the base.
    virtual void reset();
    // True while a recogniser with no touches down still waits for more (a double tap between taps);
    // otherwise a recogniser still Possible when its touches are gone fails.
    virtual bool waitsForFurtherTouches() const { return false; }

    // Moves the state, asking the delegate and the arena as the platform does; Began and Recognized
    // may turn into Failed, or wait for a required failure.
    void setState(State state);
    const TouchSet& touches() const { return _arenaEntry.touches; }
    // Window coordinates of a point in `view` (null: already window coordinates).
    static Point toWindow(Point point, const View* view);

private:
    PLAT_NO_EXPORT void sendActions();
    PLAT_NO_EXPORT std::shared_ptr<Window> window() const;

    std::weak_ptr<View> _view;
    State _state = State::Possible;
    bool _enabled = true;
    bool _cancelsTouchesInView = true;
    std::weak_ptr<GestureRecognizerDelegate> _delegate;
    std::vector<std::pair<ActionId, std::shared_ptr<Action>>> _actions;
    ActionId _nextAction = 1;
    ArenaEntry _arenaEntry;
};

}  // namespace plat
