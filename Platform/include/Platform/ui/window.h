#pragma once
// A window: the root of a view tree and its host. It runs the layout pass after every turn of the
// main run loop, draws the tree into a context on request (as the screen shows it: running
// animations at their current values), renders it to an image, and takes touches from a host or a
// test, delivering them to gesture recognisers and views.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/ui/screen.h"
#include "Platform/ui/view.h"

namespace plat {

class Image;
class ViewController;
enum class GestureRecognizerState : int;

class PLAT_EXPORT Window : public View {
public:
    // The whole screen by default.
    static std::shared_ptr<Window> create(const Rect& frame = Screen::main().bounds());
    ~Window() override;

    // Every live window, oldest first.
    static std::vector<std::shared_ptr<Window>> windows();

    // Lays out the tree until no view needs layout (a layout that keeps asking for more is cut off
    // after a few rounds).
    void layoutPass();
    // True when some view of the tree asked to be redrawn, or an animation is running in it.
    bool needsDisplayInTree() const;
    // Layout, then the whole tree drawn into `context` in window coordinates.
    void display(Context& context);
    // The tree as an image of the window's size at `scale` (0: the screen's scale).
    std::shared_ptr<Image> renderImage(double scale = 0);
    bool writePNG(const std::string& path, double scale = 0);

    // ---- Touch input, in window coordinates ----
    // `finger` tells simultaneous touches apart. A finger that is already down is lifted first;
    // moving or lifting a finger that is not down is ignored.
    void touchDown(Point location, int finger = 0);
    void touchMove(Point location, int finger = 0);
    void touchUp(int finger = 0);
    void touchCancel(int finger = 0);
    struct TouchInput {
        int finger = 0;
        Point location;
        TouchPhase phase = TouchPhase::Moved;
    };
    // Several fingers changing in one event (a pinch moves both at once).
    void sendTouches(const std::vector<TouchInput>& inputs);
    std::size_t activeTouchCount() const { return _touches.size(); }

    std::shared_ptr<View> firstResponder() const { return _firstResponder.lock(); }

    // The controller whose view fills the window: setting one puts its view in the window, sized to
    // the window's bounds (and kept so), in place of the previous root controller's view.
    const std::shared_ptr<ViewController>& rootViewController() const { return _rootViewController; }
    void setRootViewController(std::shared_ptr<ViewController> controller);

    // ---- Key input (window_keys.cpp) ----
    // A hardware key press. The key commands of the responder chain, from the first responder (or the
    // window when there is none) outwards, are tried first; then each responder of the chain may take
    // the press; last, a first responder that takes text gets the press's text (or a backspace).
    // True when something handled it.
    bool pressKey(std::string_view input, unsigned modifierFlags = 0);
    // Text typed or composed, to a first responder that takes text; false when there is none.
    bool insertText(std::string_view text);

    // Taps count as repeated within this time and distance of the previous tap's end.
    static constexpr double MultiTapInterval = 0.35;
    static constexpr double MultiTapDistance = 45;

    void layoutSubviews() override;

    // ---- For views only ----
    // Makes `view` first responder once the current one has agreed to resign.
    bool makeFirstResponder(Passkey<View>, const std::shared_ptr<View>& view);
    // Forgets the first responder without asking it.
    void forgetFirstResponder(Passkey<View>) { _firstResponder.reset(); }

    // ---- For gesture recognisers only ----
    // False defers the change (a required failure is outstanding); may turn it into Failed.
    bool recognizerWillChangeState(Passkey<GestureRecognizer>, GestureRecognizer& recognizer, GestureRecognizerState& newState);
    void recognizerDidChangeState(Passkey<GestureRecognizer>, GestureRecognizer& recognizer, GestureRecognizerState oldState);
    // Does nothing while touches are being delivered: the delivery settles the arena when it is done.
    void settleRecognizers(Passkey<GestureRecognizer>) { settleRecognizers(); }

protected:
    explicit Window(const Rect& frame);
    void initialize() override;

private:
    // Gesture arena (window_touches.cpp).
    PLAT_NO_EXPORT void deliver(const std::vector<TouchInput>& inputs);
    PLAT_NO_EXPORT void offerToRecognizers(const std::shared_ptr<Touch>& touch);
    PLAT_NO_EXPORT bool simultaneous(GestureRecognizer& a, GestureRecognizer& b) const;
    PLAT_NO_EXPORT void cancelTouchesInViews(GestureRecognizer& recognizer);
    PLAT_NO_EXPORT void settleRecognizers();
    PLAT_NO_EXPORT Event currentEvent() const;
    int _delivering = 0;

    std::map<int, std::shared_ptr<Touch>> _touches;
    std::vector<std::shared_ptr<GestureRecognizer>> _arena;
    std::weak_ptr<View> _firstResponder;
    std::shared_ptr<ViewController> _rootViewController;
    // The previous tap, for tap counts.
    Point _lastTapLocation;
    double _lastTapTime = -1;
    int _lastTapCount = 0;
};

}  // namespace plat
