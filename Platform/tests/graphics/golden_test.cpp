#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <numbers>

#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"
#include "Platform/testing/golden_image.h"

using namespace plat;

namespace {

// Strokes with caps, joins and dashes, an even-odd fill, a curve, clipped and rotated text,
// and an image: the Cairo backend's look in one picture.
std::shared_ptr<Image> scene() {
    auto img = std::make_shared<Image>(160, 100, 2);
    CairoContext c(*img);
    c.setFillColor(Color::white());
    c.fillRect({0, 0, 80, 50});
    c.setStrokeColor(Color::rgb255(30, 90, 200));
    c.setLineWidth(2);
    c.setLineDash(0, {4, 2});
    c.strokeRect({4, 4, 30, 18});
    c.setLineDash(0, {});
    c.setLineCap(LineCap::Round);
    c.setLineJoin(LineJoin::Round);
    Path zig;
    zig.moveTo({40, 20});
    zig.lineTo({48, 6});
    zig.lineTo({56, 20});
    zig.quadTo({64, 30}, {76, 6});
    c.strokePath(zig);
    Path ring;
    ring.addEllipse({6, 26, 20, 20});
    ring.addEllipse({11, 31, 10, 10});
    c.setFillColor(Color::rgb255(220, 60, 40));
    c.setAlpha(0.8);
    c.drawPath(ring, DrawingMode::EvenOddFill);
    c.setAlpha(1);
    c.save();
    c.clipToRect({30, 26, 24, 20});
    c.translate(42, 36);
    c.rotate(-std::numbers::pi / 8);
    c.drawText(AttributedString("Kivo", Font("HelveticaNeue-Bold", 10), Color::rgb255(20, 120, 60)), Point{-12, -6});
    c.restore();
    Image checker(2, 2);
    checker.setPixel(0, 0, Color::black());
    checker.setPixel(1, 1, Color::black());
    c.drawImage(checker, {60, 30, 12, 12});
    return img;
}

}  // namespace

TEST(GoldenImage, CairoSceneMatchesItsGolden) {
    auto img = scene();
    auto r = plat::testing::compareWithGolden(*img, "Platform/tests/golden/cairo_scene.png");
    EXPECT_TRUE(r.ok) << r.message;
}

TEST(GoldenImage, ChangesBeyondTheToleranceFailAndLeaveArtefacts) {
    if (const char* v = std::getenv("KIVO_UPDATE_GOLDEN"); v && *v && std::string(v) != "0") GTEST_SKIP();
    auto img = scene();
    // One channel off by 2 everywhere is within tolerance.
    for (int x = 0; x < 10; ++x) {
        std::uint32_t p = img->rawPixel(x, 0);
        std::uint32_t blue = p & 0xff;
        img->data()[x] = (p & ~0xffu) | (blue >= 2 ? blue - 2 : blue + 2);
    }
    EXPECT_TRUE(plat::testing::compareWithGolden(*img, "Platform/tests/golden/cairo_scene.png").ok);
    img->setPixel(100, 50, Color::magenta());
    auto r = plat::testing::compareWithGolden(*img, "Platform/tests/golden/cairo_scene.png");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("1 pixels differ"), std::string::npos) << r.message;
    EXPECT_TRUE(std::filesystem::exists(plat::testing::goldenFailureDirectory() + "/cairo_scene.diff.png"));
    auto tolerant = plat::testing::compareWithGolden(*img, "Platform/tests/golden/cairo_scene.png", {2, 1});
    EXPECT_TRUE(tolerant.ok) << tolerant.message;
    EXPECT_FALSE(plat::testing::compareWithGolden(*img, "Platform/tests/golden/no_such_golden.png").ok);
}
