#pragma once
// A page of the gallery: one named picture of a control (or of the render engine) with its
// demonstration data. Every page registers itself from its own file in gallery/pages/ through a
// static PageRegistrar, so adding a page touches neither main.cpp nor the build files.

#include <functional>
#include <string>
#include <vector>

#include "Platform/foundation/geometry.h"

namespace plat {
class Window;
}

namespace gallery {

struct Page {
    // The PNG's file name without ".png" and the caption in index.html: lower-case letters, digits,
    // '_' and '-'.
    std::string name{};
    // One line shown under the caption.
    std::string description{};
    // In points; the picture is rendered at scale 2 on white.
    plat::Size size{};

    // A page sets exactly one of these two.
    // Drawing pages paint into the current drawing context, in points from the top-left corner.
    std::function<void()> draw{};
    // View pages fill a window of `size` with views (a control with its data); the window is laid
    // out and drawn once the main run loop has run for `settleSeconds` of the gallery's virtual time,
    // so animations that start on creation show their end state.
    std::function<void(plat::Window&)> populate{};
    double settleSeconds = 0;
};

// Every registered page, in registration order (which across files is unspecified: sort by name
// for a stable order).
const std::vector<Page>& registeredPages();

struct PageRegistrar {
    explicit PageRegistrar(Page page);
};

}  // namespace gallery
