#include "Platform/ui/menu_controller.h"

#include "Platform/ui/view.h"

namespace plat {

MenuController& MenuController::shared() {
    static MenuController menu;
    return menu;
}

void MenuController::setTargetRect(const Rect& rect, const std::shared_ptr<View>& view) {
    _targetRect = rect;
    _targetView = view;
}

void MenuController::setMenuVisible(bool visible, bool animated) {
    _animated = animated;
    _visible = visible && !_targetView.expired();
}

}  // namespace plat
