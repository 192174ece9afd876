#include "Platform/ui/menu_controller.h"

#include <algorithm>

#include "Platform/ui/view.h"
#include "Platform/ui/window.h"
#include "ui/edit_menu_bar.h"

namespace plat {

MenuController& MenuController::shared() {
    static MenuController menu;
    return menu;
}

void MenuController::setTargetRect(const Rect& rect, const std::shared_ptr<View>& view) {
    _targetRect = rect;
    _targetView = view;
    if (_visible) update();
}

void MenuController::setMenuVisible(bool visible, bool animated) {
    _animated = animated;
    _visible = visible && !_targetView.expired();
    update();
}

std::shared_ptr<Responder> MenuController::chainStart() const {
    auto view = _targetView.lock();
    if (!view) return nullptr;
    if (auto window = view->window()) {
        if (auto first = window->firstResponder()) return first;
    }
    return view;
}

void MenuController::removeBar() {
    if (_bar) _bar->removeFromSuperview();
    _bar.reset();
}

void MenuController::update() {
    removeBar();
    _items.clear();
    auto view = _targetView.lock();
    if (!view) _visible = false;
    if (!_visible) return;
    auto window = view->window();
    auto start = chainStart();
    if (!window || !start) return;
    for (EditAction action : EditActions) {
        if (start->targetForAction(action, nullptr)) _items.push_back(action);
    }
    if (_items.empty()) return;

    auto bar = EditMenuBar::create(_items, [](EditAction action) { MenuController::shared().performItem(action); });
    const Rect target = view->convertRectToView(_targetRect, window.get());
    const Rect area = window->bounds();
    const double width = std::min(bar->preferredWidth(), std::max(0.0, area.width() - 2 * EdgeMargin));
    double x = std::clamp(target.midX() - width / 2, area.x() + EdgeMargin, std::max(area.x() + EdgeMargin, area.maxX() - EdgeMargin - width));
    double y = target.y() - TargetGap - BarHeight;
    if (y < area.y() + EdgeMargin) y = std::min(target.maxY() + TargetGap, area.maxY() - EdgeMargin - BarHeight);
    bar->setFrame({x, y, width, BarHeight});
    window->addSubview(bar);
    _bar = std::move(bar);
}

std::shared_ptr<View> MenuController::menuView() const { return _bar; }

bool MenuController::performItem(EditAction action) {
    if (std::find(_items.begin(), _items.end(), action) == _items.end()) return false;
    auto start = chainStart();
    // The bar goes first: the action may show the menu again.
    setMenuVisible(false, false);
    return start && start->sendEditAction(action, nullptr);
}

}  // namespace plat
