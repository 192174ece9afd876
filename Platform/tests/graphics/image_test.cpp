#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "Platform/graphics/image.h"
#include "Platform/graphics/image_context.h"
#include "Platform/graphics/incremental_image_source.h"
#include "Platform/testing/log_capture.h"
#include "graphics/jpeg_fixtures.h"
#include "graphics/png_fixtures.h"

using namespace plat;
using plat::testing::crc32;
using plat::testing::GreenBlueProgressiveJpeg;
using plat::testing::LogCapture;
using plat::testing::putBigEndian;
using plat::testing::RedBlueJpeg;

namespace {

std::vector<std::uint8_t> bytesOf(std::span<const std::uint8_t> data) { return {data.begin(), data.end()}; }

bool logged(const LogCapture& log, const std::string& text) {
    auto lines = log.lines();
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

// A valid one-pixel PNG whose header claims another size (its checksum mended to match).
std::vector<std::uint8_t> pngClaiming(std::uint32_t width, std::uint32_t height) {
    auto png = Image(1, 1).encodePNG();
    // Signature (8), chunk length (4), "IHDR" (4), then width and height; the CRC follows the 13 data bytes.
    constexpr std::size_t TypeAt = 12, WidthAt = 16, HeightAt = 20, CrcAt = 29;
    putBigEndian(png, WidthAt, width, 4);
    putBigEndian(png, HeightAt, height, 4);
    putBigEndian(png, CrcAt, crc32(&png[TypeAt], 17), 4);
    return png;
}

// The 16×8 JPEG with a frame header that claims another size.
std::vector<std::uint8_t> jpegClaiming(std::uint16_t width, std::uint16_t height) {
    auto jpeg = bytesOf(RedBlueJpeg);
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xff && jpeg[i + 1] == 0xc0) {  // start of frame: length, precision, height, width
            putBigEndian(jpeg, i + 5, height, 2);
            putBigEndian(jpeg, i + 7, width, 2);
            break;
        }
    }
    return jpeg;
}

// Offsets of the start-of-scan markers of a JPEG.
std::vector<std::size_t> scanStarts(const std::vector<std::uint8_t>& jpeg) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xff && jpeg[i + 1] == 0xda) out.push_back(i);
    return out;
}

}  // namespace

TEST(Image, PngRoundTripKeepsPixelsAndTranslucency) {
    Image img(3, 2, 2);
    img.setPixel(0, 0, Color::red());
    img.setPixel(1, 0, {0, 1, 0, 0.5});
    img.setPixel(2, 1, {0.2, 0.4, 0.6, 1});
    auto back = Image::decodePNG(img.encodePNG(), 2);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixelWidth(), 3);
    EXPECT_EQ(back->pixelHeight(), 2);
    EXPECT_EQ(back->size(), (Size{1.5, 1}));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_TRUE(nearlyEqual(back->pixel(x, y), img.pixel(x, y), 2.5 / 255)) << x << "," << y;
}

TEST(Image, OpaquePicturesAreWrittenWithoutAlphaAndDecodeToTheSamePixels) {
    // The colour type in the header: 2 for RGB, 6 for RGB with alpha.
    constexpr std::size_t ColourTypeAt = 25;
    Image opaque(16, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) opaque.setPixel(x, y, {x / 15.0, y / 7.0, (x * y % 7) / 6.0, 1});
    Image translucent = opaque;
    translucent.setPixel(3, 2, {0.2, 0.4, 0.6, 0.5});
    Image clear(2, 2);  // every pixel transparent

    const auto opaqueBytes = opaque.encodePNG(), translucentBytes = translucent.encodePNG();
    ASSERT_GT(opaqueBytes.size(), ColourTypeAt);
    ASSERT_GT(translucentBytes.size(), ColourTypeAt);
    EXPECT_EQ(opaqueBytes[ColourTypeAt], 2);
    EXPECT_EQ(translucentBytes[ColourTypeAt], 6);
    EXPECT_EQ(clear.encodePNG()[ColourTypeAt], 6);
    EXPECT_LT(opaqueBytes.size(), translucentBytes.size());

    const auto back = Image::decodePNG(opaqueBytes);
    ASSERT_TRUE(back);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) EXPECT_EQ(back->rawPixel(x, y), opaque.rawPixel(x, y)) << x << "," << y;
    EXPECT_NEAR(Image::decodePNG(translucentBytes)->pixel(3, 2).a, 0.5, 1.0 / 255);
    EXPECT_EQ(Image::decodePNG(clear.encodePNG())->rawPixel(1, 1), 0u);
}

// Without colour-space chunks a 16-bit file holds sRGB levels like an 8-bit one: both decoders read
// it as its 8-bit twin, not as linear light (which would lighten every mid-tone).
TEST(Image, SixteenBitPngDecodesAsItsEightBitTwinWholeAndIncrementally) {
    const auto pixel = [](std::uint32_t x, std::uint32_t y) { return (x * 40u) << 24 | (y * 90u) << 16 | 0x80u << 8 | 0xffu; };
    const auto eight = Image::decodePNG(plat::testing::makeTestPng(5, 3, pixel));
    const auto sixteenBytes = plat::testing::makeTestPng(5, 3, pixel, false, true, true);
    const auto sixteen = Image::decodePNG(sixteenBytes);
    IncrementalImageSource source;
    source.append(sixteenBytes, true);
    const auto incremental = source.completeImage();
    ASSERT_TRUE(eight && sixteen && incremental);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(sixteen->rawPixel(x, y), eight->rawPixel(x, y)) << x << "," << y;
            EXPECT_EQ(incremental->rawPixel(x, y), eight->rawPixel(x, y)) << x << "," << y;
        }
}

TEST(Image, DecodersRefuseWhatIsNotAWholeImage) {
    std::vector<std::uint8_t> junk = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_FALSE(Image::decode(junk));
    EXPECT_FALSE(Image::decodePNG({}));
    EXPECT_FALSE(Image::decodeJPEG(junk));
    std::vector<std::uint8_t> png = Image(4, 4).encodePNG();
    png.resize(png.size() / 2);
    EXPECT_FALSE(Image::decode(png));
    // libjpeg pads a file cut short with grey and calls it a success; the one-shot decoder does not.
    // Cuts inside the first scan's data, and (progressive) just before its last scan, leave the
    // headers whole.
    for (auto whole : {bytesOf(RedBlueJpeg), bytesOf(GreenBlueProgressiveJpeg)}) {
        ASSERT_TRUE(Image::decodeJPEG(whole));
        const auto scans = scanStarts(whole);
        ASSERT_FALSE(scans.empty());
        std::vector<std::size_t> cuts = {scans.front() + (whole.size() - scans.front()) / (scans.size() == 1 ? 2 : 8)};
        if (scans.size() > 1) cuts.push_back(scans.back());
        for (std::size_t at : cuts) {
            auto cut = whole;
            cut.resize(at);
            EXPECT_FALSE(Image::decodeJPEG(cut)) << whole.size() << " bytes cut to " << at;
        }
    }
    EXPECT_EQ(Image::readFile("/nonexistent/file.png"), nullptr);
}

TEST(Image, DecodesBaselineAndProgressiveJpeg) {
    auto img = Image::decode(bytesOf(RedBlueJpeg));
    ASSERT_TRUE(img);
    EXPECT_EQ(img->pixelWidth(), 16);
    EXPECT_EQ(img->pixelHeight(), 8);
    EXPECT_TRUE(nearlyEqual(img->pixel(2, 4), Color::red(), 0.08));
    EXPECT_TRUE(nearlyEqual(img->pixel(13, 4), Color::blue(), 0.08));

    auto progressive = Image::decode(bytesOf(GreenBlueProgressiveJpeg));
    ASSERT_TRUE(progressive);
    EXPECT_EQ(progressive->pixelWidth(), 16);
    EXPECT_TRUE(nearlyEqual(progressive->pixel(8, 2), Color(0, 160 / 255.0, 0, 1), 0.08));
    EXPECT_TRUE(nearlyEqual(progressive->pixel(8, 13), Color::blue(), 0.08));
}

TEST(Image, HeadersClaimingTooManyPixelsAreRefusedAndLogged) {
    // Small files whose headers claim huge sizes: beyond a side, beyond the pixel budget, or both.
    struct Claim {
        std::uint32_t width, height;
    };
    const Claim claims[] = {{32768, 32768}, {16384, 16384}, {32768, 1}, {8193, 8192}, {32767, 2049}};
    for (const Claim& c : claims) {
        LogCapture log;
        EXPECT_FALSE(Image::decode(pngClaiming(c.width, c.height))) << c.width << " x " << c.height;
        EXPECT_TRUE(logged(log, "PNG of " + std::to_string(c.width) + " x " + std::to_string(c.height)));
        log.clear();
        EXPECT_FALSE(Image::decode(jpegClaiming(static_cast<std::uint16_t>(c.width), static_cast<std::uint16_t>(c.height))));
        EXPECT_TRUE(logged(log, "JPEG of " + std::to_string(c.width) + " x " + std::to_string(c.height)));
    }
}

TEST(Image, SizesAndOutOfRangePixels) {
    Image img(-3, 5, 0);
    EXPECT_TRUE(img.isEmpty());
    EXPECT_EQ(img.scale(), 1);
    EXPECT_TRUE(img.encodePNG().empty());
    auto made = Image::create({10.2, 5}, 2);
    EXPECT_EQ(made->pixelWidth(), 21);
    EXPECT_EQ(made->pixelHeight(), 10);
    EXPECT_EQ(made->pixel(-1, 0), Color::clear());
    made->setPixel(100, 100, Color::red());  // ignored
}

TEST(Image, SizesBeyondTheLimitsAreRefusedBeforeAllocating) {
    LogCapture log;
    EXPECT_FALSE(Image::create({100000, 100000}));
    EXPECT_TRUE(logged(log, "100000 x 100000 pixels is more than 32767 pixels a side"));
    EXPECT_FALSE(Image::create({32768, 1}));
    EXPECT_FALSE(Image::create({8192, 8193}));
    EXPECT_TRUE(logged(log, "more than the budget of 67108864 pixels"));
    EXPECT_FALSE(Image::create({INFINITY, 1}));
    EXPECT_FALSE(Image::create({20000, 20000}, 2));  // the scale counts

    auto widest = Image::create({32767, 1});
    ASSERT_TRUE(widest);
    EXPECT_EQ(widest->pixelWidth(), Image::MaxPixelSide);

    // Sizes are computed in 64 bits: a refused size leaves an empty image, never an overflow.
    Image wide(INT_MAX, 0);
    EXPECT_TRUE(wide.isEmpty());
    EXPECT_EQ(wide.strideBytes(), 0);
    EXPECT_EQ(wide.byteCount(), 0u);
    Image square(40000, 40000);
    EXPECT_EQ(square.pixelWidth(), 0);
    EXPECT_EQ(Image(Image::MaxPixelSide, 1).strideBytes(), Image::MaxPixelSide * 4);
}

TEST(ImageContext, IsCurrentWhileItDrawsAndHandsOverItsImage) {
    Context* before = currentContext();
    std::shared_ptr<Image> out;
    {
        ImageContext ic({10, 5}, 2);
        EXPECT_EQ(currentContext(), &ic.context());
        currentContext()->setFillColor(Color::red());
        currentContext()->fillRect({0, 0, 5, 5});
        auto snap = ic.snapshot();
        EXPECT_EQ(snap->pixel(9, 9), Color::red());
        out = ic.finish();
        EXPECT_EQ(currentContext(), before);
    }
    EXPECT_EQ(currentContext(), before);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->pixelWidth(), 20);
    EXPECT_EQ(out->pixel(9, 9), Color::red());
    EXPECT_EQ(out->pixel(10, 9).a, 0);
}

TEST(ImageContext, DrawsUpToTheLargestSideAndRefusesBeyondIt) {
    {
        ImageContext widest({Image::MaxPixelSide, 1});
        widest.context().setFillColor(Color::red());
        widest.context().fillRect({Image::MaxPixelSide - 1, 0, 1, 1});
        auto image = widest.finish();
        ASSERT_TRUE(image);
        EXPECT_EQ(image->pixel(Image::MaxPixelSide - 1, 0), Color::red());
    }
    LogCapture log;
    ImageContext tooWide({Image::MaxPixelSide + 1, 1});
    tooWide.context().fillRect({0, 0, 10, 1});  // goes nowhere, harmlessly
    EXPECT_FALSE(tooWide.snapshot());
    EXPECT_FALSE(tooWide.finish());
    EXPECT_TRUE(logged(log, "Image refused"));
}
