#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Platform/graphics/image.h"
#include "Platform/testing/font_attribute_cases.h"
#include "Platform/testing/loopback_http_server.h"
#include "calendar_fixture.h"

namespace {

class ResourcesTest : public calendar_test::CalendarTest {
protected:
    void SetUp() override {
        CalendarTest::SetUp();
        // One folder per test: CTest runs the tests side by side.
        dir = std::filesystem::path(KIVO_BINARY_DIR) / "calendar_resources_test" /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        CalendarTest::TearDown();
    }
    std::filesystem::path dir;
};

TEST_F(ResourcesTest, GetImageReadsFileURLsWhole) {
    auto image = plat::Image::create({3, 2});
    ASSERT_TRUE(image->writePNG((dir / "day one.png").string()));
    std::ofstream(dir / "notes.txt") << "not an image";

    auto loaded = calendar->getImage("file://" + (dir / "day%20one.png").string());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->pixelWidth(), 3);
    EXPECT_EQ(loaded->pixelHeight(), 2);
    EXPECT_TRUE(calendar->getImage("FILE://localhost" + (dir / "day%20one.png").string()));

    for (const std::string& bad :
         {std::string("not a url"), std::string("file://") + (dir / "missing.png").string(),
          std::string("file://") + (dir / "notes.txt").string(), std::string("file://") + (dir / "day%2").string(),
          std::string("file://relative.png"), std::string("file://") + (dir / "day%00one.png").string(), std::string()})
        EXPECT_FALSE(calendar->getImage(bad)) << bad;
}

TEST_F(ResourcesTest, GetImageTakesTheBytesOfAnHttpAnswerOnlyWhenTheyAreAnImage) {
    auto png = plat::Image::create({4, 4})->encodePNG();
    plat::testing::LoopbackHttpServer server;
    server.serve("/day.png", {.contentType = "application/octet-stream", .body = png});
    server.serve("/page", "text/html", "<html>no image</html>");
    auto loaded = calendar->getImage(server.url("/day.png"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->pixelWidth(), 4);
    EXPECT_FALSE(calendar->getImage(server.url("/page")));
    EXPECT_FALSE(calendar->getImage(server.url("/missing.png")));
}

TEST_F(ResourcesTest, GetDecriptorReadsNameFamilyAndSize) {
    plat::Dictionary named{{"NSFontNameAttribute", plat::Value("HelveticaNeue-Bold")},
                           {"NSFontSizeAttribute", plat::Value(15.0)}};
    plat::Font font = calendar->getDecriptor(plat::Value(named));
    EXPECT_EQ(font.family, "HelveticaNeue");
    EXPECT_TRUE(font.isBold());
    EXPECT_EQ(font.size, 15);

    plat::Dictionary family{{"NSFontFamilyAttribute", plat::Value("DejaVu Sans")}, {"NSFontSizeAttribute", plat::Value(-3.0)}};
    font = calendar->getDecriptor(plat::Value(family));
    EXPECT_EQ(font.family, "DejaVu Sans");
    EXPECT_EQ(font.size, plat::Font().size);

    EXPECT_EQ(calendar->getDecriptor(plat::Value()), plat::Font());
    for (const auto& c : plat::testing::fontAttributeCases())
        EXPECT_EQ(calendar->getDecriptor(plat::Value(c.attributes)), c.font) << c.what;
}

}  // namespace
