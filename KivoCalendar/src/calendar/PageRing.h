#pragma once
// The turn of a ring of three views laid along a paging axis (the month pages, the decade pages, the
// header's titles): after a move the view that arrived takes the current place.

#include <memory>
#include <utility>

#include "Platform/foundation/geometry.h"

namespace kivo::detail {

inline plat::Rect offsetBy(const plat::Rect& r, plat::Size step, double factor) {
    return {r.x() + factor * step.width, r.y() + factor * step.height, r.width(), r.height()};
}

// The view arriving from `direction` (+1 next, -1 previous) takes the current place, the current
// view moves on to the far side and the view on the other side comes round behind the one that
// arrived; then the roles follow the places.
template <typename V>
void turnRing(std::shared_ptr<V>& current, std::shared_ptr<V>& next, std::shared_ptr<V>& prev, plat::Size step, int direction) {
    auto& arriving = direction > 0 ? next : prev;
    auto& other = direction > 0 ? prev : next;
    const double d = direction > 0 ? 1 : -1;
    // Placed from the current place itself, so that no rounding piles up from move to move.
    const plat::Rect home = current->frame();
    arriving->setFrame(home);
    other->setFrame(offsetBy(home, step, -d));
    current->setFrame(offsetBy(home, step, d));
    std::swap(current, arriving);
}

}  // namespace kivo::detail
