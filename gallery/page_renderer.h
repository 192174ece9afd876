#pragma once
// Turns registered pages into pictures: checks that a page can be rendered, then draws it (or hosts
// its views in a window) into a white image at the gallery's scale, and the same drawing once more
// into a recording context, whose operations written as text say whether the picture changed.

#include <memory>
#include <optional>
#include <string>

#include "gallery_page.h"

namespace plat {
class Image;
}

namespace gallery {

inline constexpr double GalleryScale = 2;
// Largest side of a page in points; larger ones are refused rather than allocated.
inline constexpr double MaxPageSide = 4096;

// Why the page cannot be rendered, or nothing when it can.
std::optional<std::string> pageProblem(const Page& page);

struct Rendering {
    std::shared_ptr<plat::Image> image;
    // The recorded operations, as serializeOps writes them.
    std::string opList;
};

// The page's picture and its operations. Throws what the page's own code throws; call only for pages
// without a problem.
Rendering renderPage(const Page& page);

}  // namespace gallery
