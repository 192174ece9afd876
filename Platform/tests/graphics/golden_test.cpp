#include <gtest/gtest.h>

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

namespace {

namespace fs = std::filesystem;

// A source tree, failure folder and candidate folder of its own in the build, holding one golden:
// the Cairo scene.
class GoldenComparison : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(root);
        fs::create_directories(root / "src" / "golden");
        ASSERT_TRUE(scene()->writePNG((root / "src" / Golden).string()));
        image = scene();
    }
    void TearDown() override { fs::remove_all(root); }

    plat::testing::GoldenResult compare(bool update, plat::testing::GoldenTolerance tolerance = {}, const char* golden = Golden) {
        settings.update = update;
        return plat::testing::compareWithGolden(*image, golden, tolerance, settings);
    }
    static bool isPng(const std::string& path) { return !path.empty() && Image::readFile(path) != nullptr; }

    static constexpr const char* Golden = "golden/scene.png";
    const fs::path root =
        fs::path(KIVO_BINARY_DIR) / "golden-self-test" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    plat::testing::GoldenSettings settings{(root / "src").string(), (root / "failures").string(), (root / "candidates").string()};
    std::shared_ptr<Image> image;
};

}  // namespace

TEST_F(GoldenComparison, ChangesWithinTheToleranceMatchAndLeaveNoArtefacts) {
    // One channel off by 2 along a row is within the default tolerance.
    for (int x = 0; x < 10; ++x) {
        std::uint32_t p = image->rawPixel(x, 0);
        std::uint32_t blue = p & 0xff;
        image->data()[x] = (p & ~0xffu) | (blue >= 2 ? blue - 2 : blue + 2);
    }
    // Artefacts of an earlier failing run are gone after a passing one.
    fs::create_directories(root / "failures" / "golden");
    for (const char* stale : {"failures/golden/scene.actual.png", "failures/golden/scene.diff.png"})
        ASSERT_TRUE(scene()->writePNG((root / stale).string()));
    auto r = compare(false);
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_FALSE(fs::exists(root / "failures" / "golden" / "scene.actual.png"));
    EXPECT_FALSE(fs::exists(root / "failures" / "golden" / "scene.diff.png"));
}

TEST_F(GoldenComparison, AChangeBeyondTheToleranceFailsOnEveryRunWithItsOwnArtefacts) {
    image->setPixel(100, 50, Color::magenta());
    auto first = compare(false);
    EXPECT_FALSE(first.ok);
    EXPECT_NE(first.message.find("1 pixels differ"), std::string::npos) << first.message;
    EXPECT_TRUE(isPng(first.actualPath) && isPng(first.diffPath)) << first.message;
    EXPECT_TRUE(first.candidatePath.empty()) << "candidates are written only on request";

    // A second run fails again, and does not take the first run's files for its own.
    fs::remove(first.diffPath);
    auto again = compare(false);
    EXPECT_FALSE(again.ok);
    EXPECT_TRUE(isPng(again.diffPath)) << again.message;

    auto tolerant = compare(false, {2, 1});
    EXPECT_TRUE(tolerant.ok) << tolerant.message;
    EXPECT_FALSE(fs::exists(again.diffPath)) << "the passing run cleared the failing run's diff";
}

TEST_F(GoldenComparison, UpdateModeWritesACandidateInTheBuildFailsAndLeavesTheGoldenAlone) {
    const auto goldenBytes = Image::readFile((root / "src" / Golden).string())->encodePNG();
    EXPECT_TRUE(compare(true).ok) << "an image that matches needs no candidate";
    EXPECT_FALSE(fs::exists(root / "candidates" / Golden));

    image->setPixel(100, 50, Color::magenta());
    auto changed = compare(true);
    EXPECT_FALSE(changed.ok) << "an update run never passes for an image that changed";
    ASSERT_EQ(changed.candidatePath, (root / "candidates" / Golden).string()) << changed.message;
    EXPECT_EQ(Image::readFile(changed.candidatePath)->encodePNG(), image->encodePNG());
    EXPECT_EQ(Image::readFile((root / "src" / Golden).string())->encodePNG(), goldenBytes);

    auto missing = compare(true, {}, "golden/new.png");
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.message.find("no golden image"), std::string::npos) << missing.message;
    EXPECT_TRUE(isPng(missing.candidatePath));
    EXPECT_FALSE(fs::exists(root / "src" / "golden" / "new.png"));

    EXPECT_FALSE(compare(false).ok);
    EXPECT_FALSE(fs::exists(root / "candidates" / Golden)) << "a run without the switch drops the stale candidate";
}
