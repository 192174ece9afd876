// kivo_image_check <file.png>: succeeds when the file is a PNG image with something drawn on it, that
// is, when a noticeable share of its pixels differ from its top-left pixel (a window of one colour,
// however large, fails). For scripts that check a program's picture without looking at it.

#include <cstdint>
#include <iostream>

#include "Platform/graphics/image.h"

namespace {

// Text and lines alone cover a few per cent of a picture; a stray pixel or two is not a picture.
constexpr double MinDrawnShare = 0.01;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kivo_image_check <file.png>\n";
        return 2;
    }
    auto image = plat::Image::readFile(argv[1]);
    if (!image || image->isEmpty()) {
        std::cerr << "kivo_image_check: " << argv[1] << " is missing, empty or not an image\n";
        return 1;
    }
    const std::uint32_t background = image->rawPixel(0, 0);
    std::int64_t drawn = 0;
    for (int y = 0; y < image->pixelHeight(); ++y)
        for (int x = 0; x < image->pixelWidth(); ++x) drawn += image->rawPixel(x, y) != background;
    const double share = static_cast<double>(drawn) / (static_cast<double>(image->pixelWidth()) * image->pixelHeight());
    std::cout << "kivo_image_check: " << argv[1] << ": " << image->pixelWidth() << "x" << image->pixelHeight() << " pixels, "
              << drawn << " differ from the background\n";
    if (share < MinDrawnShare) {
        std::cerr << "kivo_image_check: " << argv[1] << " is blank\n";
        return 1;
    }
    return 0;
}
