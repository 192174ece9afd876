#pragma once
// The gallery's small captions that name what each demonstration on a page shows.

#include <string>

#include "Platform/foundation/geometry.h"
#include "Platform/graphics/color.h"

namespace plat {
class View;
}

namespace gallery {

constexpr plat::Color CaptionColor{0.2, 0.2, 0.2};

// Adds a one-line label in the captions' type to `parent`.
void addCaption(plat::View& parent, const plat::Rect& frame, const std::string& text, const plat::Color& color = CaptionColor);

}  // namespace gallery
