// The drop-down's layout pass and the popup's placement: beside the control (above or below, flipping
// at the screen's edges) or over the whole screen, then moved into the root view's coordinates.

#include <algorithm>

#include "KivoDropDown/KivoDropDown.h"
#include "Platform/ui/application.h"
#include "Platform/ui/button.h"
#include "Platform/ui/gestures.h"
#include "Platform/ui/label.h"
#include "Platform/ui/navigation_controller.h"
#include "Platform/ui/screen.h"
#include "Platform/ui/view_controller.h"

namespace {

constexpr plat::Color CloseButtonBackground = plat::Color::lightGray();
constexpr plat::Color CloseButtonTitleColor = plat::Color::black();

}  // namespace

// ---- Layout pass ----

void KivoDropDown::layoutSubviews() {
    plat::View::layoutSubviews();
    auto self = sharedAs<KivoDropDown>();
    if (auto d = delegate()) d->rendered(self);

    const auto previousRoot = rootView();
    auto controller = getCurrentViewController();
    auto root = controller ? controller->view() : nullptr;
    _viewController = controller;
    _rootView = root;
    if (_isDropDownOpen && root != previousRoot) {
        // The control moved under another controller while open: the popup and the outside-tap
        // recogniser follow it.
        if (previousRoot && _tapRecognizer) previousRoot->removeGestureRecognizer(_tapRecognizer.get());
        if (root) attachPopup();
    }

    const plat::Size size = frame().size;
    if (size.width != _laidOutSize.width || size.height != _laidOutSize.height) _count = 0;
    if (_count != 0 && !_isXf) return;

    layoutHeaderArea();
    sizePopupFromContent(size.width);
    if (_dropDownView && _dropDownBackView) {
        if (_dropDownView->superview() != _dropDownBackView) _dropDownBackView->addSubview(_dropDownView);
        if (_closeFull) _dropDownBackView->bringSubviewToFront(_closeFull.get());
    }
    if (_isDropDownOpen && root) {
        updateFrame();
        if (_dropDownBackView->superview() != root) root->addSubview(_dropDownBackView);
    }
    _count = 1;
    _laidOutSize = size;
}

void KivoDropDown::layoutHeaderArea() {
    const double w = frame().width(), h = frame().height();
    const double b = _headerBorderWidth;
    _headerView->setFrame({0, 0, w, h});
    if (_header) {
        const double textWidth = _showButton ? w - h - HeaderTextInset - b : w - HeaderTextInset - b;
        _header->setFrame({b + HeaderTextInset, b, std::max(0.0, textWidth), std::max(0.0, h - 2 * b)});
        if (_header->superview() != _headerView) _headerView->addSubview(_header);
    }
    if (_showButton && _button) _button->setFrame({w - h, b, std::max(0.0, h - b), std::max(0.0, h - 2 * b)});
}

void KivoDropDown::sizePopupFromContent(double controlWidth) {
    const bool hasContent = _dropDownView != nullptr;
    const plat::Size content = hasContent ? _dropDownView->frame().size : plat::Size{};
    const plat::Size back = _dropDownBackView ? _dropDownBackView->frame().size : plat::Size{};
    if (_dropDownWidth == DefaultDropDownWidth && hasContent && content.width != 0) {
        setDropDownWidth(std::max(content.width, back.width));
    } else if (!hasContent || content.width == 0) {
        setDropDownWidth(controlWidth);
    }
    if (_dropDownHeight == DefaultDropDownHeight && hasContent && content.height != 0) {
        setDropDownHeight(std::max(content.height, back.height));
    }
}

void KivoDropDown::respondToOrientationChanged() {
    _count = 0;
    if (_closeFull) {
        const auto root = rootView();
        const double rw = root ? root->bounds().width() : 0;
        _closeFull->setFrame({rw - CloseButtonSize, 0, CloseButtonSize, CloseButtonSize});
    }
    refresh();
}

// ---- Placement ----

void KivoDropDown::updateFrame() {
    _setFrameofDropDownView(_dropDownDirection);
    _adjustFrameToSuperView(rootView());
}

void KivoDropDown::_setFrameofDropDownView(std::int64_t direction) {
    if (!_dropDownBackView) return;
    if (_dropDownMode != 0) {
        auto root = rootView();
        if (!root) return;
        const plat::Size rootSize = root->bounds().size;
        const bool landscape = plat::isLandscape(plat::Application::shared().statusBarOrientation());
        const double statusBar = plat::Application::shared().statusBarFrame().height();
        double top = 0;
        if (auto controller = viewController(); controller && controller->navigationController()) {
            const double bar = controller->navigationController()->navigationBar()->frame().height();
            top = landscape ? bar : (statusBar == 0 ? FallbackStatusBarHeight : statusBar) + bar;
        } else {
            top = landscape ? 0 : statusBar;
        }
        _dropDownBackView->setFrame({0, top, rootSize.width, rootSize.height - top});
        if (!_closeFull) createGoBackButtonForFullScreen();
        return;
    }

    const plat::Rect f = frame();
    const plat::Rect header = _headerView->frame();
    const double dw = _dropDownWidth, dh = _dropDownHeight;
    const plat::Rect above{f.x(), f.y() - dh, dw, dh};
    const plat::Rect belowHeader{f.x(), f.y() + header.y() + header.height(), dw, dh};
    // The edge tests look at the popup where the screen shows it.
    const plat::Rect screen = plat::Screen::main().bounds();
    const auto parent = superview();
    const plat::Point toScreen = parent ? parent->convertPointToScreen({0, 0}) : plat::Point{};
    plat::Rect r;
    std::int64_t side = 0;
    switch (direction) {
        case KivoDropDownDirectionAboveOrBelow:
            r = above, side = KivoDropDownDirectionAbove;
            if (screen.minY() > r.y() + toScreen.y) r = belowHeader, side = KivoDropDownDirectionBelow;
            break;
        case KivoDropDownDirectionBelowOrAbove:
            r = {f.x(), f.y() + f.height(), dw, dh}, side = KivoDropDownDirectionBelow;
            if (r.y() + toScreen.y + dh > screen.maxY()) r = above, side = KivoDropDownDirectionAbove;
            break;
        case KivoDropDownDirectionAbove:
            r = above, side = KivoDropDownDirectionAbove;
            break;
        case KivoDropDownDirectionBelow:
            r = belowHeader, side = KivoDropDownDirectionBelow;
            break;
        default:
            return;
    }
    _dropDownBackView->setFrame(r);
    _dropdownRealDirection = side;
}

void KivoDropDown::_adjustFrameToSuperView(const std::shared_ptr<plat::View>& rootView) {
    if (!_dropDownBackView) return;
    const plat::Rect back = _dropDownBackView->frame();
    if (_dropDownMode == 0) {
        // The placement worked in the superview's coordinates; the popup lives in the root view's.
        const plat::Point p = convertPointFromView(frame().origin, rootView.get());
        _dropDownBackView->setFrame({back.x() - p.x, back.y() - p.y, back.width(), back.height()});
        _dropDownRect = _dropDownBackView->frame();
        if (_dropDownView && _dropDownView->frame() == plat::Rect()) {
            _dropDownView->setFrame({DropDownViewInset, DropDownViewInset, back.width() - 2 * DropDownViewInset,
                                     back.height() - 2 * DropDownViewInset});
        }
    } else {
        _dropDownRect = back;
        if (_dropDownView && _dropDownView->frame() != back) {
            _dropDownView->setFrame({DropDownViewInset, DropDownViewInset, back.width() - 2 * DropDownViewInset,
                                     back.height() - 2 * DropDownViewInset});
        }
    }
    if (_isXf && _dropDownMode == 1 && rootView) {
        const plat::Size root = rootView->bounds().size;
        _dropDownBackView->setFrame({0, 0, root.width, root.height});
        _dropDownRect = _dropDownBackView->frame();
        if (_dropDownView) {
            _dropDownView->setFrame(
                {DropDownViewInset, DropDownViewInset, root.width - 2 * DropDownViewInset, root.height - 2 * DropDownViewInset});
        }
    }
}

void KivoDropDown::createGoBackButtonForFullScreen() {
    const auto root = rootView();
    const double rw = root ? root->bounds().width() : 0;
    _closeFull = plat::Button::create({rw - CloseButtonSize, 0, CloseButtonSize, CloseButtonSize});
    _closeFull->setTitle(CloseButtonTitle);
    _closeFull->setBackgroundColor(CloseButtonBackground);
    _closeFull->titleLabel()->setTextColor(CloseButtonTitleColor);
    _closeFull->titleLabel()->setFont(plat::Font::system(CloseButtonFontSize));
    _closeFull->layer()->setCornerRadius(CloseButtonSize / 2);
    std::weak_ptr<KivoDropDown> weak = sharedAs<KivoDropDown>();
    _closeFull->addTarget(
        [weak](plat::Control&) {
            if (auto me = weak.lock()) me->goBack();
        },
        plat::ControlEventTouchUpInside);
    _dropDownBackView->addSubview(_closeFull);
    _dropDownBackView->bringSubviewToFront(_closeFull.get());
    _closeFull->setHidden(false);
}
