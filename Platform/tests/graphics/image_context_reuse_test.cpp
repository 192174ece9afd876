// An image context makes its image over the pixels of an image of the same size let go of earlier:
// whatever is drawn first, the image must come out as it would over fresh pixels, nothing of the
// earlier image showing through.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/image_context.h"
#include "Platform/graphics/text.h"
#include "Platform/testing/pixel_difference.h"

using namespace plat;
using plat::testing::firstPixelDifference;

namespace {

constexpr Size Points{30, 20};

// The image a scene makes over fresh pixels.
Image overFreshPixels(bool opaque, const std::function<void(Context&)>& scene) {
    Image img(30, 20, 1, opaque ? Color::white() : Color::clear());
    {
        CairoContext c(img);
        scene(c);
    }
    return img;
}

}  // namespace

TEST(ImageContextReuse, PixelsOfAnImageLetGoOfNeverShowInTheNext) {
    const Color garish(0.9, 0.1, 0.6);
    const std::function<void(Context&)> scenes[] = {
        [](Context&) {},
        [](Context& c) {
            c.fillRect({0, 0, 30, 20});
        },
        [](Context& c) {
            c.fillRect({-5, -5, 50, 50});
        },
        [](Context& c) {
            c.fillRect({2, 3, 10, 8});
        },
        [](Context& c) {
            c.setFillColor(Color(0, 0, 1, 0.5));
            c.fillRect({0, 0, 30, 20});
        },
        [](Context& c) {
            c.clipToRect({0, 0, 15, 20});
            c.fillRect({0, 0, 30, 20});
        },
        [](Context& c) {
            c.setStrokeColor(Color::red());
            c.strokeRect({0.5, 0.5, 29, 19});
            c.fillRect({0, 0, 30, 20});
        },
        [](Context& c) {
            c.fillEllipse({0, 0, 30, 20});
        },
        [](Context& c) {
            c.drawText(AttributedString("Ag", Font("DejaVu Sans", 12), Color::black()), {2, 2});
        },
        [](Context& c) {
            c.beginTransparencyGroup(0.5);
            c.fillRect({0, 0, 30, 20});
            c.endTransparencyGroup();
        },
        [garish](Context& c) {
            const Image stamp(4, 4, 1, garish);
            c.stampImage(stamp, 3, 3);
        },
    };
    for (const bool opaque : {true, false})
        for (std::size_t k = 0; k < std::size(scenes); ++k) {
            const std::uint32_t* earlierPixels = nullptr;
            {
                ImageContext earlier(Points, 1, opaque);
                earlier.context().setFillColor(garish);
                earlier.context().fillRect({0, 0, 30, 20});
                earlierPixels = earlier.finish()->data();
            }
            ImageContext next(Points, 1, opaque);
            scenes[k](next.context());
            const auto image = next.finish();
            ASSERT_TRUE(image);
            EXPECT_EQ(image->data(), earlierPixels) << "the earlier image's pixels are taken again";
            EXPECT_EQ(firstPixelDifference(*image, overFreshPixels(opaque, scenes[k])), "")
                << "scene " << k << (opaque ? ", opaque" : "");
        }
}

TEST(ImageContextReuse, ASnapshotBeforeAnyDrawingIsTheBackground) {
    {
        ImageContext earlier(Points, 1, true);
        earlier.context().setFillColor(Color::red());
        earlier.context().fillRect({0, 0, 30, 20});
    }
    ImageContext next(Points, 1, true);
    const auto snapshot = next.snapshot();
    ASSERT_TRUE(snapshot);
    EXPECT_EQ(snapshot->rawPixel(10, 10), 0xffffffffu);
    // And the image itself afterwards, drawn on in part.
    next.context().fillRect({0, 0, 5, 5});
    const auto image = next.finish();
    EXPECT_EQ(image->rawPixel(10, 10), 0xffffffffu);
    EXPECT_EQ(image->rawPixel(2, 2), 0xff000000u);
}
