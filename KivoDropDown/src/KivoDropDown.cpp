// The drop-down's creation, properties and life in the view tree. Layout and placement are in
// KivoDropDownLayout.cpp; opening, closing and touches in KivoDropDownOpening.cpp.

#include "KivoDropDown/KivoDropDown.h"

#include <algorithm>
#include <cmath>

#include "Platform/runtime/system_notifications.h"
#include "Platform/ui/button.h"
#include "Platform/ui/gestures.h"
#include "Platform/ui/screen.h"
#include "Platform/ui/text_field.h"
#include "Platform/ui/view_controller.h"

namespace {

bool isUsableLength(double value) { return std::isfinite(value) && value >= 0; }

}  // namespace

std::shared_ptr<KivoDropDown> KivoDropDown::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoDropDown>(new KivoDropDown(frame)));
}

KivoDropDown::KivoDropDown(const plat::Rect& frame) : plat::View(frame) {}

KivoDropDown::~KivoDropDown() {
    auto& center = plat::NotificationCenter::defaultCenter();
    center.removeObserver(_orientationToken);
    center.removeObserver(_focusToken);
}

void KivoDropDown::initialize() {
    plat::View::initialize();
    initInternals();
}

void KivoDropDown::initInternals() {
    if (frame() == plat::Rect()) {
        const plat::Rect screen = plat::Screen::main().bounds();
        setFrame({(screen.width() - DefaultControlWidth) / 2, screen.height() / 2, DefaultControlWidth, DefaultControlHeight});
    }
    const auto self = sharedAs<KivoDropDown>();
    std::weak_ptr<KivoDropDown> weak = self;

    _headerView = plat::View::create();
    _headerView->layer()->setCornerRadius(CornerRadius);
    _headerView->layer()->setBorderColor(_headerBorderColor);
    _headerView->layer()->setBorderWidth(_headerBorderWidth);
    _headerView->setUserInteractionEnabled(true);
    addSubview(_headerView);

    _dropdownHeader = KivoDropDownHeaderView::create();
    _dropdownHeader->setKivoDropDown(self);
    _header = _dropdownHeader;

    _button = KivoDropDownButton::create();
    _button->addTarget(
        [weak](plat::Control&) {
            if (auto me = weak.lock()) me->_setDropDownVisibility();
        },
        plat::ControlEventTouchUpInside);
    _headerView->addSubview(_button);

    _dropDownBackView = plat::View::create();
    _dropDownBackView->layer()->setBorderWidth(_dropDownBorderWidth);
    _dropDownBackView->layer()->setBorderColor(_dropDownBorderColor);
    _dropDownBackView->layer()->setCornerRadius(CornerRadius);
    _dropDownBackView->setBackgroundColor(plat::Color::white());
    _dropDownBackView->setHidden(true);
    _dropDownBackView->setClipsToBounds(true);

    auto content = KivoDropDownView::create();
    content->setKivoDropDown(self);
    _dropDownView = content;

    _isDropDownOpenChanging = std::make_shared<KivoEvent>();
    _isDropDownOpenChanged = std::make_shared<KivoEvent>();

    _tapRecognizer = plat::TapGestureRecognizer::create([weak](plat::GestureRecognizer& recognizer) {
        auto me = weak.lock();
        if (!me || recognizer.state() != plat::GestureRecognizerState::Recognized) return;
        auto root = me->rootView();
        me->_respondToTapGesture(recognizer.locationInView(root.get()));
    });
    _tapRecognizer->setNumberOfTapsRequired(1);
    _tapRecognizer->setNumberOfTouchesRequired(1);
    _tapRecognizer->setCancelsTouchesInView(false);
    _tapRecognizer->setDelegate(std::shared_ptr<plat::GestureRecognizerDelegate>(self, this));

    auto& center = plat::NotificationCenter::defaultCenter();
    _orientationToken =
        center.addObserver(this, std::string(plat::DeviceOrientationDidChangeNotification), [weak](const plat::Notification&) {
            if (auto me = weak.lock()) me->respondToOrientationChanged();
        });
    _focusToken =
        center.addObserver(this, std::string(plat::TextFieldTextDidBeginEditingNotification), [weak](const plat::Notification&) {
            if (auto me = weak.lock()) me->respondToFocuseChanged();
        });
}

// ---- Delegate ----

void KivoDropDown::setStrongDelegate(std::shared_ptr<KivoDropDownDelegate> delegate) {
    if (delegate == _strongDelegate) return;
    _strongDelegate = std::move(delegate);
    setDelegate(_strongDelegate);
}

// ---- Header ----

void KivoDropDown::setHeader(std::shared_ptr<plat::View> header) {
    if (header == _header) return;
    if (_header && _headerView && _header->superview() == _headerView) _header->removeFromSuperview();
    _header = std::move(header);
    if (_header) _header->setNeedsDisplay();
    // The new header joins the header area at the next layout pass.
    _count = 0;
    setNeedsLayout();
}

void KivoDropDown::setHeaderText(std::optional<std::string> text) {
    if (text == _headerText) return;
    _headerText = std::move(text);
    if (auto field = std::dynamic_pointer_cast<KivoDropDownHeaderView>(_header)) field->setHeaderText(_headerText);
}

void KivoDropDown::setWidth(double width) {
    if (!isUsableLength(width) || width == _width) return;
    _width = width;
    const plat::Rect f = frame();
    setFrame({f.x(), f.y(), width, f.height()});
}

void KivoDropDown::setHeight(double height) {
    if (!isUsableLength(height) || height == _height) return;
    _height = height;
    const plat::Rect f = frame();
    setFrame({f.x(), f.y(), f.width(), height});
}

void KivoDropDown::setHeaderBackgroundColor(std::optional<plat::Color> color) {
    if (color == _headerBackgroundColor) return;
    _headerBackgroundColor = color;
    if (_headerView) _headerView->setBackgroundColor(color);
}

void KivoDropDown::setHeaderBorderColor(std::optional<plat::Color> color) {
    if (color == _headerBorderColor) return;
    _headerBorderColor = color;
    if (_headerView) _headerView->layer()->setBorderColor(color);
}

void KivoDropDown::setHeaderBorderWidth(double width) {
    if (!isUsableLength(width) || width == _headerBorderWidth) return;
    _headerBorderWidth = width;
    if (_headerView) _headerView->layer()->setBorderWidth(width);
}

void KivoDropDown::setShowButton(bool show) {
    if (show == _showButton) return;
    _showButton = show;
    if (_button) _button->setHidden(!show);
}

void KivoDropDown::setButtonColor(std::optional<plat::Color> color) {
    if (color == _buttonColor) return;
    _buttonColor = color;
    if (_button && color) _button->setDropDownButtonColor(*color);
}

// ---- Popup ----

void KivoDropDown::setDropDownView(std::shared_ptr<plat::View> view) {
    if (view == _dropDownView) return;
    if (_dropDownView && _dropDownBackView && _dropDownView->superview() == _dropDownBackView)
        _dropDownView->removeFromSuperview();
    _dropDownView = std::move(view);
    // The new content joins the popup at the next layout pass.
    _count = 0;
    setNeedsLayout();
}

void KivoDropDown::setBackViewSize(double width, double height) {
    if (_dropDownBackView) _dropDownBackView->setFrame({_dropDownRect.x(), _dropDownRect.y(), width, height});
}

void KivoDropDown::setDropDownWidth(double width) {
    if (!isUsableLength(width) || width == _dropDownWidth) return;
    _dropDownWidth = width;
    setBackViewSize(width, _dropDownRect.height());
}

void KivoDropDown::setDropDownHeight(double height) {
    if (!isUsableLength(height) || height == _dropDownHeight) return;
    _dropDownHeight = height;
    setBackViewSize(_dropDownRect.width(), height);
}

void KivoDropDown::setDropDownBackgroundColor(std::optional<plat::Color> color) {
    if (color == _dropDownBackgroundColor) return;
    _dropDownBackgroundColor = color;
    if (_dropDownBackView) _dropDownBackView->setBackgroundColor(color);
}

void KivoDropDown::setDropDownBorderColor(std::optional<plat::Color> color) {
    if (color == _dropDownBorderColor) return;
    _dropDownBorderColor = color;
    if (_dropDownBackView) _dropDownBackView->layer()->setBorderColor(color);
}

void KivoDropDown::setDropDownBorderWidth(double width) {
    if (!isUsableLength(width) || width == _dropDownBorderWidth) return;
    _dropDownBorderWidth = width;
    if (_dropDownBackView) _dropDownBackView->layer()->setBorderWidth(width);
}

void KivoDropDown::setMaxDropDownHeight(double height) {
    if (!isUsableLength(height) || height == _maxDropDownHeight) return;
    _maxDropDownHeight = std::min(height, _dropDownHeight);
    setDropDownHeight(_maxDropDownHeight);
}

void KivoDropDown::setMinDropDownHeight(double height) {
    if (!isUsableLength(height) || height == _minDropDownHeight) return;
    _minDropDownHeight = std::max(height, _dropDownHeight);
    setDropDownHeight(_minDropDownHeight);
}

void KivoDropDown::setDropDownDirection(std::int64_t direction) {
    if (direction == _dropDownDirection) return;
    _dropDownDirection = direction;
    _dropdownRealDirection = direction;
}

void KivoDropDown::setDuration(double seconds) {
    if (isUsableLength(seconds)) _duration = seconds;
}

// ---- Operations ----

std::shared_ptr<plat::ViewController> KivoDropDown::getCurrentViewController() const {
    for (auto responder = nextResponder(); responder; responder = responder->nextResponder()) {
        if (auto controller = std::dynamic_pointer_cast<plat::ViewController>(responder)) return controller;
    }
    return nullptr;
}

void KivoDropDown::refresh() {
    setNeedsLayout();
    if (_header) _header->setNeedsLayout();
    if (_dropDownView) _dropDownView->setNeedsLayout();
    if (_dropDownBackView) _dropDownBackView->setNeedsLayout();
}

void KivoDropDown::clearDropDownView() {
    if (!_dropDownView) return;
    _dropDownView->removeFromSuperview();
    _dropDownView.reset();
}

void KivoDropDown::clearDropDownHeader() {
    if (!_dropdownHeader) return;
    _dropdownHeader->removeFromSuperview();
    if (_header == _dropdownHeader) _header.reset();
    _dropdownHeader.reset();
}

// ---- Life in the view tree ----

void KivoDropDown::didMoveToWindow() {
    plat::View::didMoveToWindow();
    if (!window()) {
        leaveWindow();
        return;
    }
    // A control that comes back (or moves to another window) finds its view controller and lays its
    // header out again at the next pass.
    _count = 0;
    setNeedsLayout();
}

void KivoDropDown::leaveWindow() {
    if (_isDropDownOpen) {
        _isDropDownOpen = false;
        if (_button) _button->updateDropDownButton(false);
    }
    detachTapRecognizer();
    if (_dropDownBackView) {
        _dropDownBackView->layer()->removeAllAnimations();
        _dropDownBackView->setHidden(true);
        _dropDownBackView->removeFromSuperview();
    }
    if (_closeFull) {
        _closeFull->removeFromSuperview();
        _closeFull.reset();
    }
    _rootView.reset();
    _viewController.reset();
    dropOwningDelegateReferences();
    _count = 0;
}
