#pragma once
// The one touch a view follows from its start (a weak reference), if it is among `touches`.

#include <algorithm>
#include <memory>

#include "Platform/ui/responder.h"

namespace plat::detail {

inline const Touch* followedTouch(const TouchSet& touches, const std::weak_ptr<Touch>& touch) {
    const auto t = touch.lock();
    return t && std::find(touches.begin(), touches.end(), t) != touches.end() ? t.get() : nullptr;
}

}  // namespace plat::detail
