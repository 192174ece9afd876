#pragma once
// The centroid of touches in window coordinates: where a recogniser of several fingers is.

#include "Platform/ui/responder.h"

namespace plat::detail {

// The origin for no touches.
inline Point touchCentroid(const TouchSet& touches) {
    Point c;
    if (touches.empty()) return c;
    for (const auto& t : touches) {
        const Point p = t->locationInView(nullptr);
        c.x += p.x;
        c.y += p.y;
    }
    c.x /= static_cast<double>(touches.size());
    c.y /= static_cast<double>(touches.size());
    return c;
}

}  // namespace plat::detail
