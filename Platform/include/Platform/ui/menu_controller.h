#pragma once
// The shared edit menu: one per process, shown pointing at a rectangle of a view, and hidden. Its
// commands are the responder chain's business; this is where and whether it shows.

#include <memory>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/geometry.h"

namespace plat {

class View;

class PLAT_EXPORT MenuController {
public:
    static MenuController& shared();

    // The rectangle, in `view`'s coordinates, that the menu points at; the view is held weakly.
    void setTargetRect(const Rect& rect, const std::shared_ptr<View>& view);
    Rect targetRect() const { return _targetRect; }
    std::shared_ptr<View> targetView() const { return _targetView.lock(); }

    bool isMenuVisible() const { return _visible; }
    // Showing needs a target view that still exists; without one the menu stays hidden.
    void setMenuVisible(bool visible, bool animated);
    // Whether the last change of visibility asked for an animation.
    bool lastChangeAnimated() const { return _animated; }

private:
    MenuController() = default;
    Rect _targetRect{};
    std::weak_ptr<View> _targetView;
    bool _visible = false;
    bool _animated = false;
};

}  // namespace plat
