#pragma once
// The gallery's index.html: every rendered picture under its name and description.

#include <string>
#include <vector>

#include "gallery_page.h"

namespace gallery {

// HTML for `pages`, each shown from "<name>.png" beside the index, at its size in points.
std::string indexHtml(const std::vector<const Page*>& pages);

}  // namespace gallery
