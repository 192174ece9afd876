#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Platform/graphics/image.h"
#include "Platform/graphics/incremental_image_source.h"
#include "Platform/testing/log_capture.h"
#include "graphics/jpeg_fixtures.h"
#include "graphics/png_fixtures.h"

using namespace plat;
using Status = IncrementalImageSource::Status;

namespace {

// 0xRRGGBBAA: a gradient with translucent pixels on the diagonal.
std::uint32_t gradient(std::uint32_t x, std::uint32_t y) {
    const std::uint32_t alpha = x == y ? 0x80 : 0xff;
    return ((x * 20) << 24) | ((y * 20) << 16) | (0x40 << 8) | alpha;
}

std::vector<std::uint8_t> bytesOf(std::span<const std::uint8_t> data) { return {data.begin(), data.end()}; }

void expectSamePixels(const Image& actual, const Image& expected) {
    ASSERT_EQ(actual.pixelWidth(), expected.pixelWidth());
    ASSERT_EQ(actual.pixelHeight(), expected.pixelHeight());
    for (int y = 0; y < expected.pixelHeight(); ++y)
        for (int x = 0; x < expected.pixelWidth(); ++x)
            ASSERT_EQ(actual.rawPixel(x, y), expected.rawPixel(x, y)) << "pixel " << x << "," << y;
}

// Feeds `bytes` in pieces of `step`, recording every status seen.
std::vector<Status> feedInPieces(IncrementalImageSource& source, const std::vector<std::uint8_t>& bytes, std::size_t step) {
    std::vector<Status> seen{source.status()};
    for (std::size_t at = 0; at < bytes.size(); at += step) {
        const std::size_t n = std::min(step, bytes.size() - at);
        source.append(std::span(bytes).subspan(at, n), at + n == bytes.size());
        if (seen.back() != source.status()) seen.push_back(source.status());
    }
    return seen;
}

}  // namespace

TEST(IncrementalImageSource, DecodesPngRowsAsTheBytesArrive) {
    for (bool interlaced : {false, true}) {
        SCOPED_TRACE(interlaced ? "interlaced" : "plain");
        const auto png = plat::testing::makeTestPng(9, 10, gradient, interlaced);
        const auto whole = Image::decodePNG(png);
        ASSERT_TRUE(whole);

        IncrementalImageSource source(2);
        source.append(std::span(png).first(png.size() * 3 / 4));
        EXPECT_EQ(source.status(), Status::Incomplete);
        EXPECT_EQ(source.pixelWidth(), 9);
        auto partial = source.image();
        ASSERT_TRUE(partial);
        EXPECT_EQ(partial->scale(), 2);
        EXPECT_EQ(partial->rawPixel(3, 0), whole->rawPixel(3, 0));
        if (interlaced) {
            // The early passes cover the whole picture coarsely; the last one is not all in.
            EXPECT_NE(partial->rawPixel(1, 9), 0u);
            EXPECT_NE(partial->rawPixel(1, 9), whole->rawPixel(1, 9));
        } else {
            EXPECT_EQ(partial->rawPixel(1, 9), 0u) << "the bottom row is not in yet";
        }
        EXPECT_EQ(source.completeImage(), nullptr);
        EXPECT_EQ(source.image(), partial) << "no new rows, no new copy";

        source.append(std::span(png).subspan(png.size() * 3 / 4), true);
        EXPECT_EQ(source.status(), Status::Complete);
        ASSERT_TRUE(source.completeImage());
        expectSamePixels(*source.completeImage(), *whole);
    }

    // Byte by byte, through every state in order.
    IncrementalImageSource source;
    const auto png = plat::testing::makeTestPng(4, 4, gradient);
    EXPECT_EQ(feedInPieces(source, png, 1), (std::vector<Status>{Status::WaitingForData, Status::Incomplete, Status::Complete}));
}

TEST(IncrementalImageSource, DecodesBaselineProgressiveAndArithmeticJpegInPieces) {
    for (const auto& jpeg : {bytesOf(plat::testing::RedBlueJpeg), bytesOf(plat::testing::GreenBlueProgressiveJpeg),
                             bytesOf(plat::testing::GradientArithmeticJpeg)}) {
        const auto whole = Image::decodeJPEG(jpeg);
        ASSERT_TRUE(whole);
        for (std::size_t step : {std::size_t{1}, std::size_t{37}, jpeg.size()}) {
            SCOPED_TRACE("pieces of " + std::to_string(step));
            IncrementalImageSource source;
            feedInPieces(source, jpeg, step);
            ASSERT_EQ(source.status(), Status::Complete) << source.error();
            expectSamePixels(*source.completeImage(), *whole);
        }
    }
}

TEST(IncrementalImageSource, RefusesWhatIsNotAWholeImageOfTheBudget) {
    const auto png = plat::testing::makeTestPng(6, 6, gradient);
    auto badChecksum = png;
    badChecksum[png.size() - 20] ^= 0xff;  // inside the pixel data
    const std::string html = "<html><body>Not here</body></html>";

    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        const char* error;
        bool partial;  // some rows were decoded before the failure
    };
    const Case cases[] = {
        {"an HTML page", {html.begin(), html.end()}, "not a PNG or JPEG", false},
        {"a PNG cut short", {png.begin(), png.begin() + static_cast<std::ptrdiff_t>(png.size() / 2)}, "ends before", true},
        {"a JPEG cut short", bytesOf(std::span(plat::testing::RedBlueJpeg).first(400)), "ends before", false},
        {"a broken checksum", badChecksum, "broken PNG data", true},
        {"a side too long", plat::testing::makeTestPng(40000, 10, gradient, false, false), "32767 pixels a side", false},
        {"too many pixels", plat::testing::makeTestPng(16384, 16384, gradient, false, false), "budget", false},
        {"nothing", {}, "ends before", false},
    };
    for (const Case& c : cases) {
        plat::testing::LogCapture log;
        IncrementalImageSource source;
        source.append(c.bytes, true);
        EXPECT_EQ(source.status(), Status::Failed) << c.what;
        EXPECT_NE(source.error().find(c.error), std::string::npos) << c.what << ": " << source.error();
        EXPECT_EQ(source.image() != nullptr, c.partial) << c.what;
        EXPECT_EQ(source.completeImage(), nullptr) << c.what;
        source.append(png, true);  // nothing more is taken
        EXPECT_EQ(source.status(), Status::Failed) << c.what;
    }
}

TEST(IncrementalImageSource, UpdateTakesTheWholeBufferSoFar) {
    const auto png = plat::testing::makeTestPng(5, 5, gradient);
    IncrementalImageSource source;
    std::vector<std::uint8_t> buffer;
    for (std::size_t at = 0; at < png.size(); at += 10) {
        buffer.insert(buffer.end(), png.begin() + static_cast<std::ptrdiff_t>(at),
                      png.begin() + static_cast<std::ptrdiff_t>(std::min(at + 10, png.size())));
        source.update(buffer, buffer.size() == png.size());
    }
    ASSERT_EQ(source.status(), Status::Complete);

    // A shorter buffer is another download: decoding starts over.
    source.update(std::span(png).first(3));
    EXPECT_EQ(source.status(), Status::WaitingForData);
    source.update(png, true);
    EXPECT_EQ(source.status(), Status::Complete);
}
