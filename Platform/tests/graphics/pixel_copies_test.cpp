// What a context drew under a rectangle can be copied out only where the copy is exactly what was
// drawn there: whole device pixels at the asked scale, inside the target and the clip, outside groups.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/image_context.h"
#include "Platform/graphics/recording_context.h"

using namespace plat;

namespace {

struct Case {
    const char* name;
    std::function<void(Context&)> set;
    Rect rect;
    double scale;
    bool copies;
};

TEST(PixelCopies, OnlyWholeDevicePixelsInsideTheTargetAndTheClipOutsideGroups) {
    const auto none = [](Context&) {};
    const Case cases[] = {
        {"whole pixels at scale 2", none, {3, 4, 10, 6}, 2, true},
        {"half points are whole pixels at scale 2", none, {3.5, 4, 10, 6}, 2, true},
        {"a quarter point is half a pixel", none, {3.25, 4, 10, 6}, 2, false},
        {"another scale", none, {3, 4, 10, 6}, 1, false},
        {"a translation of whole pixels", [](Context& c) { c.translate(5, 7); }, {3, 4, 10, 6}, 2, true},
        {"a translation of part of a pixel", [](Context& c) { c.translate(0.2, 0); }, {3, 4, 10, 6}, 2, false},
        {"a rotation", [](Context& c) { c.rotate(0.5); }, {3, 4, 10, 6}, 2, false},
        {"past the target", none, {25, 4, 10, 6}, 2, false},
        {"inside a clip",
         [](Context& c) {
             c.clipToRect({0, 0, 20, 20});
         },
         {3, 4, 10, 6},
         2,
         true},
        {"across a clip's edge",
         [](Context& c) {
             c.clipToRect({0, 0, 8, 20});
         },
         {3, 4, 10, 6},
         2,
         false},
        {"a clip of another shape",
         [](Context& c) {
             Path round;
             round.addEllipse({0, 0, 30, 30});
             c.clipToPath(round);
         },
         {3, 4, 10, 6},
         2,
         false},
        {"inside a group", [](Context& c) { c.beginTransparencyGroup(); }, {3, 4, 10, 6}, 2, false},
        {"empty", none, {3, 4, 0, 6}, 2, false},
        {"not finite", none, {3, 4, std::numeric_limits<double>::infinity(), 6}, 2, false},
    };
    for (const auto& k : cases) {
        ImageContext image({30, 30}, 2, true);
        Context& c = image.context();
        c.setFillColor(Color(0.2, 0.4, 0.6));
        c.fillRect({0, 0, 30, 30});
        c.setFillColor(Color(0.9, 0.1, 0.1));
        c.fillEllipse({2, 3, 14, 9});
        k.set(c);
        EXPECT_EQ(c.canCopyPixels(k.rect, k.scale), k.copies) << k.name;
        const auto copy = c.copyOpaquePixels(k.rect, k.scale);
        ASSERT_EQ(copy != nullptr, k.copies) << k.name;
        if (!copy) continue;
        // The copy holds the target's pixels under the rectangle, and draws back as them.
        CairoContext& cairo = static_cast<CairoContext&>(c);
        const Image& target = cairo.target();
        const Rect device = c.ctm().applyToRect(k.rect);
        EXPECT_EQ(copy->pixelWidth(), 20) << k.name;
        EXPECT_EQ(copy->pixelHeight(), 12) << k.name;
        EXPECT_EQ(copy->scale(), 2) << k.name;
        for (int y = 0; y < copy->pixelHeight(); ++y)
            for (int x = 0; x < copy->pixelWidth(); ++x)
                ASSERT_EQ(copy->rawPixel(x, y),
                          target.rawPixel(static_cast<int>(device.x()) + x, static_cast<int>(device.y()) + y))
                    << k.name << " at " << x << ", " << y;
    }
    RecordingContext recording;
    EXPECT_FALSE(recording.canCopyPixels({0, 0, 10, 10}, 1)) << "a recording keeps no pixels";
    EXPECT_EQ(recording.copyOpaquePixels({0, 0, 10, 10}, 1), nullptr);
}

}  // namespace
