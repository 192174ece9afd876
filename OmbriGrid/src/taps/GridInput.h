#pragma once
// What the grid listens through: its five gesture recognisers (tap, double tap, pan, the short press
// that sizes columns and drags handles, the long press of the edit menu) and its subscriptions to the
// keyboard's showing and hiding.

#include <memory>

#include "Platform/runtime/notification_center.h"
#include "Platform/ui/gestures.h"

namespace kivo::detail {

struct GridInput {
    std::shared_ptr<plat::TapGestureRecognizer> tap, doubleTap;
    std::shared_ptr<plat::PanGestureRecognizer> pan;
    std::shared_ptr<plat::LongPressGestureRecognizer> press, longPress;
    plat::NotificationCenter::Token keyboardShown{}, keyboardHidden{};
};

}  // namespace kivo::detail
