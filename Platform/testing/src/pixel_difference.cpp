#include "Platform/testing/pixel_difference.h"

#include "Platform/graphics/image.h"

namespace plat::testing {

std::string firstPixelDifference(const Image& a, const Image& b) {
    if (a.pixelWidth() != b.pixelWidth() || a.pixelHeight() != b.pixelHeight()) return "sizes differ";
    for (int y = 0; y < a.pixelHeight(); ++y)
        for (int x = 0; x < a.pixelWidth(); ++x)
            if (a.rawPixel(x, y) != b.rawPixel(x, y))
                return "(" + std::to_string(x) + ", " + std::to_string(y) + "): " + std::to_string(a.rawPixel(x, y)) +
                       " against " + std::to_string(b.rawPixel(x, y));
    return {};
}

}  // namespace plat::testing
