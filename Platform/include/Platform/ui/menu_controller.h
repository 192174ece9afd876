#pragma once
// The shared edit menu: one per process, shown pointing at a rectangle of a view, and hidden. It
// shows the edit actions that the responder chain can perform (from the window's first responder,
// else from the target view), in the order cut, copy, paste, select, select all, as a bar above the
// rectangle (below it when there is no room above) in the target view's window; a tap on an item
// hides the menu and sends that action along the chain.

#include <memory>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/ui/responder.h"

namespace plat {

class View;

class PLAT_EXPORT MenuController {
public:
    static MenuController& shared();

    // Bar layout.
    static constexpr double BarHeight = 36;
    static constexpr double ItemPadding = 12;  // left and right of each item's title
    static constexpr double TitleFontSize = 14;
    static constexpr double TargetGap = 6;   // between the bar and the rectangle it points at
    static constexpr double EdgeMargin = 4;  // kept from the window's edges
    static constexpr double CornerRadius = 8;

    // The rectangle, in `view`'s coordinates, that the menu points at; the view is held weakly.
    void setTargetRect(const Rect& rect, const std::shared_ptr<View>& view);
    Rect targetRect() const { return _targetRect; }
    std::shared_ptr<View> targetView() const { return _targetView.lock(); }

    bool isMenuVisible() const { return _visible; }
    // Showing needs a target view that still exists; without one the menu stays hidden. A visible menu
    // whose chain can perform nothing, or whose view is in no window, puts no bar on screen.
    void setMenuVisible(bool visible, bool animated);
    // Whether the last change of visibility asked for an animation.
    bool lastChangeAnimated() const { return _animated; }
    // Asks the chain again which actions it can perform and lays the bar out anew.
    void update();

    // The actions the bar shows, in order (none while hidden).
    const std::vector<EditAction>& menuItems() const { return _items; }
    // The bar, in its window (null while no bar is on screen).
    std::shared_ptr<View> menuView() const;
    // Hides the menu and sends the action along the chain, as a tap on its item does; false when the
    // action is not on the bar or nothing performs it.
    bool performItem(EditAction action);

private:
    MenuController() = default;
    PLAT_NO_EXPORT std::shared_ptr<Responder> chainStart() const;
    PLAT_NO_EXPORT void removeBar();

    Rect _targetRect{};
    std::weak_ptr<View> _targetView;
    bool _visible = false;
    bool _animated = false;
    std::vector<EditAction> _items;
    std::shared_ptr<View> _bar;
};

}  // namespace plat
