// Opening and closing the drop-down's popup (with the grow and shrink animation), the open events,
// and the responses to touches, outside taps and focus changes.

#include "KivoDropDown/KivoDropDown.h"
#include "Platform/ui/button.h"
#include "Platform/ui/gestures.h"
#include "Platform/ui/text_field.h"

namespace {

// Hit testing ignores views at most this opaque, as the platform does.
constexpr double HitAlphaThreshold = 0.01;

// The grow or shrink: the popup's frame moves to `target` over `duration` on the default curve, its
// content laid out for the new size as it goes. The popup is held weakly by the block.
void animatePopupFrame(const std::shared_ptr<plat::View>& popup, const plat::Rect& target, double duration,
                       std::function<void(bool)> completion) {
    std::weak_ptr<plat::View> weak = popup;
    plat::View::animate(
        duration, 0, plat::ViewAnimationOptionLayoutSubviews,
        [weak, target] {
            if (auto view = weak.lock()) {
                view->setFrame(target);
                view->setNeedsDisplay();
            }
        },
        std::move(completion));
}

}  // namespace

// ---- Opening and closing ----

void KivoDropDown::setIsDropDownOpen(bool open) {
    auto keep = sharedAs<KivoDropDown>();
    handleDropDownOpenChanging();
    if (open != _isDropDownOpen) {
        _isDropDownOpen = open;
        if (_button) _button->updateDropDownButton(open);
        if (_isAnimated) {
            closeOrOpenDropDownViewAnimated(open);
        } else {
            if (_dropDownBackView) {
                // Shown as it is set: a grow or shrink still under way ends here.
                _dropDownBackView->layer()->removeAllAnimations();
                _dropDownBackView->setHidden(!open);
            }
            const auto root = rootView();
            if (root) updateFrame();
            if (open) {
                if (_header) _header->becomeFirstResponder();
                if (root) attachPopup();
            } else {
                if (_header) _header->resignFirstResponder();
                detachTapRecognizer();
            }
        }
    }
    handleDropDownOpenChanged();
}

void KivoDropDown::closeOrOpenDropDownViewAnimated(bool open) {
    if (!_dropDownBackView) return;
    if (_dropDownView) _dropDownView->setClipsToBounds(true);
    const auto root = rootView();
    if (root) updateFrame();
    const plat::Rect r = _dropDownRect;
    std::weak_ptr<KivoDropDown> weak = sharedAs<KivoDropDown>();
    if (open) {
        if (_header) _header->becomeFirstResponder();
        if (root) attachPopup();
        // The popup grows out of the control's edge: down from its top when below, up from its
        // bottom when above.
        if (_dropdownRealDirection == KivoDropDownDirectionBelow) {
            _dropDownBackView->setFrame({r.x(), r.y(), r.width(), 0});
        } else if (_dropdownRealDirection == KivoDropDownDirectionAbove) {
            _dropDownBackView->setFrame({r.x(), r.y() + r.height(), r.width(), 0});
        }
        _dropDownBackView->setHidden(false);
        animatePopupFrame(_dropDownBackView, r, _duration, {});
        return;
    }
    if (_header) _header->resignFirstResponder();
    plat::Rect target = _dropDownBackView->frame();
    if (_dropdownRealDirection == KivoDropDownDirectionAbove) {
        target = {r.x(), r.y() + r.height(), r.width(), 0};
    } else if (_dropdownRealDirection == KivoDropDownDirectionBelow) {
        target = {r.x(), r.y(), r.width(), 0};
    }
    animatePopupFrame(_dropDownBackView, target, _duration, [weak](bool) {
        auto me = weak.lock();
        if (me && !me->_isDropDownOpen && me->_dropDownBackView) me->_dropDownBackView->setHidden(true);
    });
    detachTapRecognizer();
}

void KivoDropDown::_setDropDownVisibility() {
    if (_isDropDownOpen) {
        setIsDropDownOpen(false);
        return;
    }
    setIsDropDownOpen(true);
    if (_header && _header->isFirstResponder()) _header->resignFirstResponder();
}

void KivoDropDown::attachPopup() {
    const auto root = rootView();
    if (!root || !_dropDownBackView) return;
    if (_dropDownBackView->superview() != root) root->addSubview(_dropDownBackView);
    root->bringSubviewToFront(_dropDownBackView.get());
    if (_tapRecognizer && _tapRecognizer->view() != root) root->addGestureRecognizer(_tapRecognizer);
}

void KivoDropDown::detachTapRecognizer() {
    if (!_tapRecognizer) return;
    if (auto holder = _tapRecognizer->view()) holder->removeGestureRecognizer(_tapRecognizer.get());
}

// ---- Events ----

namespace {

// The event when it has handlers (outside Xamarin mode), else the delegate: never both.
template <class Args, class Raise, class Ask>
void notifyOpenState(const std::shared_ptr<KivoDropDown>& self, const std::shared_ptr<KivoEvent>& event, Raise raise, Ask ask) {
    const auto handlers = event ? event->handlers() : nullptr;
    if (!self->isXf() && handlers && !handlers->empty()) {
        raise(std::make_shared<Args>(self));
    } else if (auto d = self->delegate()) {
        ask(*d, std::make_shared<Args>(self));
    }
}

}  // namespace

void KivoDropDown::handleDropDownOpenChanging() {
    using Args = KivoDropDownOpenChangingEventArgs;
    auto self = sharedAs<KivoDropDown>();
    notifyOpenState<Args>(
        self, _isDropDownOpenChanging, [&](const std::shared_ptr<Args>& args) { _onDropDownOpenChanging(args); },
        [&](KivoDropDownDelegate& d, const std::shared_ptr<Args>& args) { d.isDropDownOpenChanging(self, args); });
}

void KivoDropDown::handleDropDownOpenChanged() {
    using Args = KivoDropDownOpenChangedEventArgs;
    auto self = sharedAs<KivoDropDown>();
    notifyOpenState<Args>(
        self, _isDropDownOpenChanged, [&](const std::shared_ptr<Args>& args) { _onDropDownOpenChanged(args); },
        [&](KivoDropDownDelegate& d, const std::shared_ptr<Args>& args) { d.isDropDownOpenChanged(self, args); });
}

void KivoDropDown::_onDropDownOpenChanging(const std::shared_ptr<KivoDropDownOpenChangingEventArgs>& args) {
    if (_isDropDownOpenChanging) _isDropDownOpenChanging->raise(sharedAs<KivoDropDown>(), args);
}

void KivoDropDown::_onDropDownOpenChanged(const std::shared_ptr<KivoDropDownOpenChangedEventArgs>& args) {
    if (_isDropDownOpenChanged) _isDropDownOpenChanged->raise(sharedAs<KivoDropDown>(), args);
}

// ---- Touches ----

std::shared_ptr<plat::View> KivoDropDown::hitTest(plat::Point point, const plat::Event* event) {
    auto result = plat::View::hitTest(point, event);
    // A control that cannot be touched answers nothing, as any view would.
    if (isHidden() || !isUserInteractionEnabled() || alpha() <= HitAlphaThreshold) return result;
    auto keep = sharedAs<KivoDropDown>();
    const auto inside = [&](const std::shared_ptr<plat::View>& view) {
        return view && view->superview() && !view->isHidden() && view->pointInside(convertPointToView(point, view.get()), event);
    };
    if (inside(_header)) {
        if (_dropDownBehavior != 1 || _isDropDownOpen) return _header;
        setIsDropDownOpen(true);
        return nullptr;
    }
    if (_button && _button->superview() && _button->pointInside(convertPointToView(point, _button.get()), event)) {
        return _showButton ? _button : result;
    }
    if (_autoClose && _isDropDownOpen) setIsDropDownOpen(false);
    if (_header) _header->endEditing(true);
    return result;
}

plat::Rect KivoDropDown::frameInRoot(const plat::View* root) const { return convertRectToView(bounds(), root); }

bool KivoDropDown::gestureRecognizerShouldReceiveTouch(plat::GestureRecognizer&, const plat::Touch& touch) {
    const auto root = rootView();
    if (!root) return true;
    const plat::Point at = touch.locationInView(root.get());
    return !(_dropDownBackView && _dropDownBackView->frame().contains(at)) && !frameInRoot(root.get()).contains(at);
}

void KivoDropDown::_respondToTapGesture(plat::Point locationInRoot) {
    const auto root = rootView();
    if (_dropDownBackView && _dropDownBackView->frame().contains(locationInRoot)) return;
    if (frameInRoot(root.get()).contains(locationInRoot)) return;
    if (_autoClose && _isDropDownOpen) setIsDropDownOpen(false);
}

// ---- Focus ----

bool KivoDropDown::headerIsEditing() const {
    if (auto field = std::dynamic_pointer_cast<plat::TextField>(_header)) return field->isEditing();
    return _header && _header->isFirstResponder();
}

void KivoDropDown::respondToFocuseChanged() {
    auto keep = sharedAs<KivoDropDown>();
    const bool editing = headerIsEditing();
    if (editing && _dropDownBehavior == 1 && !_isDropDownOpen) {
        setIsDropDownOpen(true);
    } else if (!editing && _isDropDownOpen) {
        setIsDropDownOpen(false);
    }
}
