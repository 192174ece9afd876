#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/recording_context.h"
#include "ui/group_context.h"

using namespace plat;

namespace {

// Three by two pixels, each of its own colour.
Image stamp() {
    Image img(3, 2);
    const Color colours[] = {Color::red(), Color::green(), Color::blue(), Color::black(), Color::white(), Color(1, 1, 0)};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) img.setPixel(x, y, colours[y * 3 + x]);
    return img;
}

// A transform that puts user points between device pixels, which a stamp ignores.
void offsetAndScale(Context& c) {
    c.translate(1.3, 0.7);
    c.scale(2, 2);
}

}  // namespace

TEST(StampImage, CairoCopiesEveryPixelOntoItsDevicePixelWhateverTheTransform) {
    const Image src = stamp();
    Image img(20, 10);
    CairoContext c(img);
    offsetAndScale(c);
    c.stampImage(src, 5, 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(img.rawPixel(5 + x, 4 + y), src.rawPixel(x, y)) << x << ", " << y;
    // Nothing around it.
    for (const auto& [x, y] : {std::pair{4, 4}, {8, 4}, {5, 3}, {5, 6}, {8, 6}})
        EXPECT_EQ(img.rawPixel(x, y), 0u) << x << ", " << y;
}

TEST(StampImage, CairoStampsAtTheContextAlphaThroughTheClip) {
    const Image src = stamp();
    Image img(20, 10);
    CairoContext c(img);
    c.scale(2, 2);
    c.clipToRect({0, 0, 3, 5});  // device pixels 0…5 across
    c.setAlpha(0.5);
    c.stampImage(src, 5, 4);
    EXPECT_NEAR(img.pixel(5, 4).a, 0.5, 0.01);
    EXPECT_NEAR(img.pixel(5, 4).r, 1, 0.02);
    EXPECT_EQ(img.rawPixel(6, 4), 0u) << "outside the clip";
}

TEST(StampImage, CairoStampsThroughAClipOfPartPixelsAndIntoGroups) {
    const Image src = stamp();
    {
        Image img(20, 10);
        CairoContext c(img);
        c.scale(2, 2);
        c.clipToRect({0, 0, 2.75, 5});  // device pixels 0 to 5.5 across
        c.stampImage(src, 5, 4);
        EXPECT_NEAR(img.pixel(5, 4).a, 0.5, 0.02) << "half the pixel is inside";
        EXPECT_EQ(img.rawPixel(6, 4), 0u);
    }
    {
        Image img(20, 10);
        CairoContext c(img);
        c.beginTransparencyGroup(0.5);
        c.stampImage(src, 5, 4);
        c.endTransparencyGroup();
        EXPECT_NEAR(img.pixel(5, 4).a, 0.5, 0.01);
        EXPECT_NEAR(img.pixel(6, 4).g, 1, 0.02);
    }
}

TEST(StampImage, PaintingThePixelsDirectlyAgreesWithCairo) {
    // Translucent pixels over a coloured page, with and without a context alpha: once where whole-pixel
    // rectangles clip (painted directly) and once through a clip of the same area that is no plain
    // rectangle. Rows of seven pixels: painted directly, four at a time and the rest one by one.
    Image src(7, 2);
    const Color colours[] = {Color(1, 0, 0, 0.3), Color(0, 1, 0, 0.7), Color(0, 0, 1, 1),
                             Color(0, 0, 0, 0),   Color(1, 1, 1, 0.5), Color(0.2, 0.4, 0.6, 0.9)};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 7; ++x) src.setPixel(x, y, colours[(y * 7 + x) % 6]);
    auto paint = [&](bool plainClip, double alpha) {
        Image img(14, 6);
        CairoContext c(img);
        c.setFillColor(Color(0.9, 0.6, 0.1, 0.8));
        c.fillRect({0, 0, 10, 6});
        Path area;
        area.moveTo({0, 0});
        if (!plainClip) area.lineTo({5, 0});  // the same rectangle with a fifth corner
        area.lineTo({14, 0});
        area.lineTo({14, 6});
        area.lineTo({0, 6});
        area.close();
        c.clipToPath(area);
        c.setAlpha(alpha);
        c.stampImage(src, 4, 2);
        return img;
    };
    for (const double alpha : {0.6, 1.0}) {
        const Image direct = paint(true, alpha), cairo = paint(false, alpha);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 14; ++x)
                for (int shift = 0; shift < 32; shift += 8)
                    EXPECT_NEAR(int((direct.rawPixel(x, y) >> shift) & 0xff), int((cairo.rawPixel(x, y) >> shift) & 0xff), 2)
                        << x << ", " << y << " at alpha " << alpha;
    }
}

TEST(StampImage, RecordedAtItsDeviceRectangleWithTheImage) {
    const Image src = stamp();
    RecordingContext c;
    offsetAndScale(c);
    c.setAlpha(0.25);
    c.stampImage(src, 5, 4);
    ASSERT_EQ(c.images().size(), 1u);
    const DrawOp& op = *c.images()[0];
    EXPECT_EQ(op.image, &src);
    EXPECT_EQ(op.bounds(), Rect(5, 4, 3, 2));
    EXPECT_DOUBLE_EQ(op.alpha, 0.25);
}

TEST(StampImage, ABackendWithoutDevicePixelsDrawsTheImageIntoTheDeviceRectangle) {
    const Image src = stamp();
    RecordingContext target;
    detail::GroupContext group(target, 1);
    offsetAndScale(group);
    group.stampImage(src, 5, 4);
    ASSERT_EQ(target.images().size(), 1u);
    const Rect r = target.images()[0]->bounds();
    EXPECT_NEAR(r.x(), 5, 1e-9);
    EXPECT_NEAR(r.y(), 4, 1e-9);
    EXPECT_NEAR(r.width(), 3, 1e-9);
    EXPECT_NEAR(r.height(), 2, 1e-9);
    EXPECT_EQ(group.ctm().a, 2) << "the transform is back";
}

TEST(StampImage, NothingIsStampedWhileTheContextCannotDrawOrTheImageIsEmpty) {
    const Image src = stamp();
    RecordingContext c;
    c.stampImage(Image(0, 0), 1, 1);
    c.scale(0, 0);
    c.stampImage(src, 1, 1);
    EXPECT_TRUE(c.images().empty());
}

TEST(StampImage, ABatchPaintsWhatStampingOneByOnePaints) {
    // A disc with a soft edge, stamped many times over itself and over a translucent page, partly
    // outside the clip: laid in one batch (the hidden parts left out) it must look as stamped one by
    // one, within rounding, at the context alpha too (where the batch is stamped one by one).
    Image disc(9, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            const double d = std::hypot(x - 4, y - 4);
            const double a = std::clamp(4.5 - d, 0.0, 1.0);
            disc.setPixel(x, y, Color(0.2, 0.5, 0.8, a));
        }
    Image ring(5, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) ring.setPixel(x, y, Color(0.9, 0.1, 0.1, (x + y) % 3 == 0 ? 0.4 : 0.0));
    std::vector<StampPlacement> batch;
    for (int k = 0; k < 400; ++k)
        batch.push_back({k % 7 == 3 ? &ring : &disc, (k * 37) % 31 - 4, (k * 53) % 23 - 4});
    auto paint = [&](bool together, double alpha) {
        Image img(30, 22);
        CairoContext c(img);
        c.setFillColor(Color(0.9, 0.6, 0.1, 0.5));
        c.fillRect({0, 0, 15, 22});
        c.clipToRect({2, 1, 25, 19});
        c.setAlpha(alpha);
        if (together)
            c.stampImages(batch);
        else
            for (const auto& s : batch) c.stampImage(*s.image, s.deviceX, s.deviceY);
        return img;
    };
    for (const double alpha : {1.0, 0.6}) {
        const Image batched = paint(true, alpha), single = paint(false, alpha);
        int differing = 0;
        for (int y = 0; y < 22; ++y)
            for (int x = 0; x < 30; ++x)
                for (int shift = 0; shift < 32; shift += 8) {
                    const int a = int((batched.rawPixel(x, y) >> shift) & 0xff), b = int((single.rawPixel(x, y) >> shift) & 0xff);
                    EXPECT_NEAR(a, b, 3) << x << ", " << y << " at alpha " << alpha;
                    differing += a != b;
                }
        if (alpha < 1) {
            EXPECT_EQ(differing, 0) << "a translucent batch is stamped one by one";
        }
        EXPECT_EQ(batched.rawPixel(1, 5), single.rawPixel(1, 5)) << "outside the clip the page stays";
    }
}

TEST(StampImage, ABatchIsRecordedStampByStamp) {
    const Image src = stamp();
    RecordingContext c;
    const StampPlacement batch[] = {{&src, 5, 4}, {&src, 1, 2}};
    c.stampImages(batch);
    ASSERT_EQ(c.images().size(), 2u);
    EXPECT_EQ(c.images()[0]->bounds(), Rect(5, 4, 3, 2));
    EXPECT_EQ(c.images()[1]->bounds(), Rect(1, 2, 3, 2));
}
