#pragma once
// The drop-down base control: a header area, where a text field sits beside an arrow button, and a
// popup that goes on the root view of the view controller holding the control, above it, below it
// or over the whole screen. It decides whether the popup is open and where it sits, animates it
// growing and shrinking, closes it when the user taps elsewhere, and reports each request to open or
// close before and after it is carried out. The combo box builds on it.
//
// Sections: creation · delegate · header · popup · open state · events · layout and placement ·
// responses · internals.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "KivoCore/KivoEvent.h"
#include "KivoDropDown/KivoDropDownButton.h"
#include "KivoDropDown/KivoDropDownDelegate.h"
#include "KivoDropDown/KivoDropDownHeaderView.h"
#include "KivoDropDown/KivoDropDownView.h"
#include "KivoInput/KivoInputExport.h"
#include "Platform/runtime/notification_center.h"
#include "Platform/ui/gesture_recognizer.h"
#include "Platform/ui/view.h"

namespace plat {
class Button;
class TapGestureRecognizer;
class ViewController;
}  // namespace plat

namespace kivo::testing {
struct InputAccess;
}

// Where the popup opens; the first two flip to the other side when the preferred one leaves the screen.
// Other values leave the popup where it was.
enum KivoDropDownDirection : std::int64_t {
    KivoDropDownDirectionAboveOrBelow = 0,
    KivoDropDownDirectionBelowOrAbove = 1,
    KivoDropDownDirectionAbove = 2,
    KivoDropDownDirectionBelow = 3,
};

class KIVO_INPUT_EXPORT KivoDropDown : public plat::View, private plat::GestureRecognizerDelegate {
public:
    // ---- Creation ----
    // A zero frame places the control in the middle of the main screen: ((sw - 200) / 2, sh / 2, 200, 30).
    static std::shared_ptr<KivoDropDown> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<KivoDropDown> create(const plat::Coder& coder);
    ~KivoDropDown() override;

    static constexpr double DefaultControlWidth = 200;
    static constexpr double DefaultControlHeight = 30;
    static constexpr double DefaultDropDownWidth = 200;
    static constexpr double DefaultDropDownHeight = 100;
    static constexpr double DefaultBorderWidth = 1.0;
    static constexpr double DefaultDuration = 0.2;
    static constexpr plat::Color DefaultBorderColor = plat::Color::lightGray();
    static constexpr double CornerRadius = 3.0;
    // The header text starts this far right of the header area's border.
    static constexpr double HeaderTextInset = 8;
    // The default popup content lies this far inside the popup on every side.
    static constexpr double DropDownViewInset = 5;
    // Full-screen mode: the close button's side, and the status bar height assumed under a navigation
    // bar when the status bar reports none.
    static constexpr double CloseButtonSize = 15;
    static constexpr double CloseButtonFontSize = 10;
    static constexpr double FallbackStatusBarHeight = 20;
    static constexpr const char* CloseButtonTitle = "X";

    // ---- Delegate ----
    // Read through this accessor everywhere, so a subclass that overrides it receives the calls on its
    // own delegate. The base holds it weakly.
    virtual std::shared_ptr<KivoDropDownDelegate> delegate() const { return _delegate.lock(); }
    virtual void setDelegate(const std::shared_ptr<KivoDropDownDelegate>& delegate) { _delegate = delegate; }
    // Owns the delegate and makes it the delegate. Leaving the window lets go of this ownership (the
    // delegate stays, weakly, while the application keeps it).
    const std::shared_ptr<KivoDropDownDelegate>& strongDelegate() const { return _strongDelegate; }
    virtual void setStrongDelegate(std::shared_ptr<KivoDropDownDelegate> delegate);
    // Set by a Xamarin binding layer: open events go to the delegate only, and every layout pass lays
    // the header out again.
    bool isXf() const { return _isXf; }
    void setIsXf(bool isXf) { _isXf = isXf; }

    // ---- Header ----
    // The view in the header area: the control's own KivoDropDownHeaderView until replaced.
    const std::shared_ptr<plat::View>& header() const { return _header; }
    void setHeader(std::shared_ptr<plat::View> header);
    // Passed on to a KivoDropDownHeaderView header.
    const std::optional<std::string>& headerText() const { return _headerText; }
    void setHeaderText(std::optional<std::string> text);
    // Set the control's width or height, keeping its origin and the other dimension. Non-finite or
    // negative values are ignored.
    double width() const { return _width; }
    void setWidth(double width);
    double height() const { return _height; }
    void setHeight(double height);
    // 1: touching the header (or its starting to edit) opens the popup; any other value: it does not.
    std::int64_t dropDownBehavior() const { return _dropDownBehavior; }
    void setDropDownBehavior(std::int64_t behavior) { _dropDownBehavior = behavior; }
    // Reads white at start, while the header area itself has no background until one is set.
    const std::optional<plat::Color>& headerBackgroundColor() const { return _headerBackgroundColor; }
    void setHeaderBackgroundColor(std::optional<plat::Color> color);
    const std::optional<plat::Color>& headerBorderColor() const { return _headerBorderColor; }
    void setHeaderBorderColor(std::optional<plat::Color> color);
    double headerBorderWidth() const { return _headerBorderWidth; }
    void setHeaderBorderWidth(double width);
    // Colours the header area, not the control's own view (called through a plat::View it sets the
    // view's background as usual).
    void setBackgroundColor(std::optional<plat::Color> color) { setHeaderBackgroundColor(std::move(color)); }

    const std::shared_ptr<KivoDropDownButton>& button() const { return _button; }
    void setButton(std::shared_ptr<KivoDropDownButton> button) { _button = std::move(button); }
    bool showButton() const { return _showButton; }
    void setShowButton(bool show);
    // None at start (the button itself starts light grey).
    const std::optional<plat::Color>& buttonColor() const { return _buttonColor; }
    void setButtonColor(std::optional<plat::Color> color);

    // ---- Popup ----
    // What the popup shows; subclasses put their list here. Replacing it lays the control out again.
    const std::shared_ptr<plat::View>& dropDownView() const { return _dropDownView; }
    void setDropDownView(std::shared_ptr<plat::View> view);
    // The popup itself: a clipping, bordered view placed on the root view while open.
    const std::shared_ptr<plat::View>& dropDownBackView() const { return _dropDownBackView; }
    void setDropDownBackView(std::shared_ptr<plat::View> view) { _dropDownBackView = std::move(view); }
    // The popup's size; a zero-width content view makes the width follow the control at the first
    // layout pass. Non-finite or negative values are ignored.
    double dropDownWidth() const { return _dropDownWidth; }
    void setDropDownWidth(double width);
    double dropDownHeight() const { return _dropDownHeight; }
    void setDropDownHeight(double height);
    // Reads clear at start, while the popup itself is white until one is set.
    const std::optional<plat::Color>& dropDownBackgroundColor() const { return _dropDownBackgroundColor; }
    virtual void setDropDownBackgroundColor(std::optional<plat::Color> color);
    const std::optional<plat::Color>& dropDownBorderColor() const { return _dropDownBorderColor; }
    void setDropDownBorderColor(std::optional<plat::Color> color);
    double dropDownBorderWidth() const { return _dropDownBorderWidth; }
    void setDropDownBorderWidth(double width);
    // Stores min(value, dropDownHeight) and makes that the height.
    double maxDropDownHeight() const { return _maxDropDownHeight; }
    void setMaxDropDownHeight(double height);
    // Stores max(value, dropDownHeight) and makes that the height.
    double minDropDownHeight() const { return _minDropDownHeight; }
    void setMinDropDownHeight(double height);
    std::int64_t dropDownDirection() const { return _dropDownDirection; }
    void setDropDownDirection(std::int64_t direction);
    // 0: the popup beside the control; any other value: over the whole screen.
    std::int64_t dropDownMode() const { return _dropDownMode; }
    void setDropDownMode(std::int64_t mode) { _dropDownMode = mode; }
    // A tap outside the control and the popup closes it.
    bool autoClose() const { return _autoClose; }
    void setAutoClose(bool autoClose) { _autoClose = autoClose; }
    bool isAnimated() const { return _isAnimated; }
    void setIsAnimated(bool animated) { _isAnimated = animated; }
    // Seconds of the grow and shrink animation; non-finite or negative values are ignored.
    double duration() const { return _duration; }
    void setDuration(double seconds);

    // ---- Open state ----
    bool isDropDownOpen() const { return _isDropDownOpen; }
    // Raises isDropDownOpenChanging, opens or closes the popup when the state differs, then raises
    // isDropDownOpenChanged: both also when nothing changes.
    virtual void setIsDropDownOpen(bool open);

    // ---- Events ----
    const std::shared_ptr<KivoEvent>& isDropDownOpenChanging() const { return _isDropDownOpenChanging; }
    void setIsDropDownOpenChanging(std::shared_ptr<KivoEvent> event) { _isDropDownOpenChanging = std::move(event); }
    const std::shared_ptr<KivoEvent>& isDropDownOpenChanged() const { return _isDropDownOpenChanged; }
    void setIsDropDownOpenChanged(std::shared_ptr<KivoEvent> event) { _isDropDownOpenChanged = std::move(event); }

    // ---- Layout and placement ----
    void layoutSubviews() override;
    // Places the popup for dropDownDirection (or over the screen), then moves it into the root view.
    void updateFrame();
    // The popup's frame in the root view's coordinates at the last placement.
    plat::Rect dropDownRect() const { return _dropDownRect; }
    // The side the popup took at the last placement: 2 above, 3 below (1 before the first).
    std::int64_t dropdownRealDirection() const { return _dropdownRealDirection; }
    // The first view controller along the responder chain from the control, or null.
    std::shared_ptr<plat::ViewController> getCurrentViewController() const;
    // The view controller and its view that the last layout pass found; the popup goes on that view.
    std::shared_ptr<plat::ViewController> viewController() const { return _viewController.lock(); }
    std::shared_ptr<plat::View> rootView() const { return _rootView.lock(); }
    // The header area (a rounded box holding the header and the button).
    const std::shared_ptr<plat::View>& headerView() const { return _headerView; }
    // Full-screen mode's close button, made at the first full-screen placement.
    const std::shared_ptr<plat::Button>& closeButton() const { return _closeFull; }
    // Asks the control, the header, the popup content and the popup for layout.
    void refresh();
    // Take the popup content, or the default header, out of the control for good.
    void clearDropDownView();
    void clearDropDownHeader();

    // ---- Responses ----
    // Touches on the header open the popup (dropDownBehavior 1) or reach the header; touches on the
    // button reach it; any other touch that reaches the control closes the popup (autoClose) and ends
    // the header's editing.
    std::shared_ptr<plat::View> hitTest(plat::Point point, const plat::Event* event) override;
    // A text field began editing somewhere.
    void respondToFocuseChanged();
    // The device turned: the header area is laid out again at the next pass.
    void respondToOrientationChanged();

protected:
    explicit KivoDropDown(const plat::Rect& frame);
    void initialize() override;
    void initInternals();
    void didMoveToWindow() override;

    void _setFrameofDropDownView(std::int64_t direction);
    void _adjustFrameToSuperView(const std::shared_ptr<plat::View>& rootView);
    void createGoBackButtonForFullScreen();
    void goBack() { setIsDropDownOpen(false); }
    void closeOrOpenDropDownViewAnimated(bool open);
    // The arrow button's action: closes an open popup; opens a closed one and then gives up the keyboard.
    void _setDropDownVisibility();
    void handleDropDownOpenChanging();
    void handleDropDownOpenChanged();
    void _onDropDownOpenChanging(const std::shared_ptr<KivoDropDownOpenChangingEventArgs>& args);
    void _onDropDownOpenChanged(const std::shared_ptr<KivoDropDownOpenChangedEventArgs>& args);
    // Leaving the window: lets go of owning delegate references (subclasses with their own delegate
    // storage extend it).
    virtual void dropOwningDelegateReferences() { _strongDelegate.reset(); }

private:
    friend struct kivo::testing::InputAccess;

    // The outside tap on the root view.
    KIVO_INPUT_NO_EXPORT void _respondToTapGesture(plat::Point locationInRoot);
    // The outside-tap recogniser hears no touch on the popup or the control, and never blocks others.
    KIVO_INPUT_NO_EXPORT bool gestureRecognizerShouldReceiveTouch(plat::GestureRecognizer&, const plat::Touch& touch) override;
    KIVO_INPUT_NO_EXPORT bool gestureRecognizerShouldRecognizeSimultaneously(plat::GestureRecognizer&,
                                                                             plat::GestureRecognizer&) override {
        return true;
    }

    KIVO_INPUT_NO_EXPORT void layoutHeaderArea();
    KIVO_INPUT_NO_EXPORT void sizePopupFromContent(double controlWidth);
    // Puts the popup on the root view, in front, with the outside-tap recogniser.
    KIVO_INPUT_NO_EXPORT void attachPopup();
    KIVO_INPUT_NO_EXPORT void detachTapRecognizer();
    // The control's frame in the root view's coordinates.
    KIVO_INPUT_NO_EXPORT plat::Rect frameInRoot(const plat::View* root) const;
    KIVO_INPUT_NO_EXPORT bool headerIsEditing() const;
    KIVO_INPUT_NO_EXPORT void setBackViewSize(double width, double height);
    // Leaving the window: closes the popup silently and lets go of the root view, the view controller
    // and the owning delegate reference.
    KIVO_INPUT_NO_EXPORT void leaveWindow();

    // ---- State ----
    std::weak_ptr<KivoDropDownDelegate> _delegate;
    std::shared_ptr<KivoDropDownDelegate> _strongDelegate;
    bool _isXf = false;

    std::shared_ptr<plat::View> _header;
    std::shared_ptr<KivoDropDownHeaderView> _dropdownHeader;
    std::optional<std::string> _headerText;
    double _width = 0, _height = 0;
    std::int64_t _dropDownBehavior = 0;
    std::optional<plat::Color> _headerBackgroundColor = plat::Color::white();
    std::optional<plat::Color> _headerBorderColor = DefaultBorderColor;
    double _headerBorderWidth = DefaultBorderWidth;
    std::shared_ptr<KivoDropDownButton> _button;
    bool _showButton = true;
    std::optional<plat::Color> _buttonColor;

    std::shared_ptr<plat::View> _dropDownView;
    std::shared_ptr<plat::View> _dropDownBackView;
    double _dropDownWidth = DefaultDropDownWidth;
    double _dropDownHeight = DefaultDropDownHeight;
    std::optional<plat::Color> _dropDownBackgroundColor = plat::Color::clear();
    std::optional<plat::Color> _dropDownBorderColor = DefaultBorderColor;
    double _dropDownBorderWidth = DefaultBorderWidth;
    double _maxDropDownHeight = 0, _minDropDownHeight = 0;
    std::int64_t _dropDownDirection = KivoDropDownDirectionBelowOrAbove;
    std::int64_t _dropDownMode = 0;
    bool _autoClose = true;
    bool _isAnimated = false;
    double _duration = DefaultDuration;
    bool _isDropDownOpen = false;

    std::shared_ptr<KivoEvent> _isDropDownOpenChanging;
    std::shared_ptr<KivoEvent> _isDropDownOpenChanged;

    // ---- Internals ----
    std::shared_ptr<plat::View> _headerView;
    plat::Rect _dropDownRect;
    std::int64_t _dropdownRealDirection = KivoDropDownDirectionBelowOrAbove;
    std::weak_ptr<plat::View> _rootView;
    std::weak_ptr<plat::ViewController> _viewController;
    std::shared_ptr<plat::TapGestureRecognizer> _tapRecognizer;
    std::shared_ptr<plat::Button> _closeFull;
    // 0 until a layout pass has laid out the header area (and again after a turn or a resize).
    int _count = 0;
    plat::Size _laidOutSize;
    plat::NotificationCenter::Token _orientationToken = 0, _focusToken = 0;
};
