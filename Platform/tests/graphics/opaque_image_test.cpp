// An image whose every pixel is opaque is copied rather than blended (by Cairo, or straight into the
// target where its pixels land on device pixels one to one): the pixels drawn must be those of the
// blending path, wherever and however the image is placed and clipped.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Platform/graphics/context.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/image_context.h"

using namespace plat;

namespace {

constexpr int Side = 24;

// A striped opaque image, and the same with one pixel (the top-left) a shade short of opaque, which
// keeps it on the blending path.
std::shared_ptr<Image> stripes(bool oneTranslucentPixel) {
    auto image = Image::create({Side, Side}, 1, Color::white());
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            image->data()[y * Side + x] =
                0xff000000u | static_cast<std::uint32_t>((x * 10) << 16 | (y * 10) << 8 | ((x + y) % 2) * 200);
    if (oneTranslucentPixel) image->data()[0] = 0xfe000000u;
    return image;
}

std::vector<std::uint32_t> drawn(const Image& image, const std::function<void(Context&)>& place) {
    ImageContext target({60, 60}, 1, false);
    Context& c = target.context();
    for (int i = 0; i < 6; ++i) {  // a background of several colours and alphas
        c.setFillColor(Color(i / 6.0, 0.5, 1 - i / 6.0, 0.3 + i * 0.1));
        c.fillRect({i * 10.0, 0, 10, 60});
    }
    place(c);
    c.drawImage(image, {7, 9, Side, Side});
    const auto out = target.finish();
    return {out->data(), out->data() + 60 * 60};
}

}  // namespace

TEST(OpaqueImage, DrawsTheSamePixelsAsTheBlendingPath) {
    const auto opaque = stripes(false), reference = stripes(true);
    const std::vector<std::pair<std::string, std::function<void(Context&)>>> placements = {
        {"whole pixels", [](Context&) {}},
        {"whole pixels, clipped to whole pixels",
         [](Context& c) {
             c.clipToRect({12, 13, 15, 11});
         }},
        {"whole pixels, clipped to part pixels",
         [](Context& c) {
             c.clipToRect({12.5, 13, 15, 11.25});
         }},
        {"whole pixels at scale 1 after a move there", [](Context& c) { c.translate(3, -2); }},
        {"fractional offset", [](Context& c) { c.translate(0.37, 0.81); }},
        {"scaled", [](Context& c) { c.scale(1.3, 0.9); }},
        {"rotated", [](Context& c) { c.rotate(0.2); }},
        {"half transparent", [](Context& c) { c.setAlpha(0.5); }},
    };
    for (const auto& [name, place] : placements) {
        const auto a = drawn(*opaque, place), b = drawn(*reference, place);
        // Every pixel but those the one translucent pixel reaches (its neighbours through filtering).
        std::size_t differing = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) {
                const bool nearCorner = x >= 4 && x <= 12 && y >= 6 && y <= 14;
                if (!nearCorner && a[static_cast<std::size_t>(y * 60 + x)] != b[static_cast<std::size_t>(y * 60 + x)])
                    ++differing;
            }
        EXPECT_EQ(differing, 0u) << name;
    }
}

TEST(OpaqueImage, AnOpaqueContextsImageChangedAfterwardsIsBlendedWhereItIsNoLongerOpaque) {
    // Made opaque, then given translucent pixels in each way an image's pixels can be changed.
    const std::function<void(Image&)> changes[] = {
        [](Image& image) { image.setPixel(0, 0, Color(1, 0, 0, 0.5)); },
        [](Image& image) { image.data()[0] = 0x80800000u; },
        [](Image& image) { image.fill(Color(1, 0, 0, 0.5)); },
    };
    for (std::size_t k = 0; k < std::size(changes); ++k) {
        ImageContext made({Side, Side}, 1, true);
        made.context().setFillColor(Color::red());
        made.context().fillRect({0, 0, Side, Side});
        const auto image = made.finish();
        changes[k](*image);
        ImageContext target({Side, Side}, 1, true);
        target.context().setFillColor(Color::blue());
        target.context().fillRect({0, 0, Side, Side});
        target.context().drawImage(*image, {0, 0, Side, Side});
        const Color shown = target.finish()->pixel(0, 0);
        EXPECT_NEAR(shown.r, 0.5, 0.01) << "change " << k;
        EXPECT_NEAR(shown.b, 0.5, 0.01) << "change " << k;
    }
}
