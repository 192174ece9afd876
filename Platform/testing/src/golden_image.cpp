#include "Platform/testing/golden_image.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "Platform/graphics/image.h"

namespace plat::testing {

namespace {

namespace fs = std::filesystem;

bool updateRequested() {
    const char* v = std::getenv("KIVO_UPDATE_GOLDEN");
    return v && *v && std::string(v) != "0";
}

int channelDelta(std::uint32_t a, std::uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        int d = std::abs(static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff));
        if (d > worst) worst = d;
    }
    return worst;
}

// Red where pixels differ beyond the tolerance, a faint grey copy of the actual image elsewhere.
Image diffImage(const Image& actual, const Image& golden, int maxDelta) {
    Image diff(actual.pixelWidth(), actual.pixelHeight());
    for (int y = 0; y < actual.pixelHeight(); ++y) {
        for (int x = 0; x < actual.pixelWidth(); ++x) {
            bool inside = x < golden.pixelWidth() && y < golden.pixelHeight();
            if (!inside || channelDelta(actual.rawPixel(x, y), golden.rawPixel(x, y)) > maxDelta) {
                diff.setPixel(x, y, Color::red());
            } else {
                Color c = actual.pixel(x, y);
                double grey = (c.r + c.g + c.b) / 3 * c.a + (1 - c.a);
                diff.setPixel(x, y, Color::white(0.75 + grey * 0.25));
            }
        }
    }
    return diff;
}

// Why `actual` differs from `expected` beyond the tolerance, or nothing when it does not.
std::string difference(const Image& actual, const Image& expected, const GoldenTolerance& tolerance) {
    std::ostringstream s;
    if (expected.pixelWidth() != actual.pixelWidth() || expected.pixelHeight() != actual.pixelHeight()) {
        s << "size " << actual.pixelWidth() << "x" << actual.pixelHeight() << " differs from the golden's "
          << expected.pixelWidth() << "x" << expected.pixelHeight();
        return s.str();
    }
    // Compare what a PNG round trip keeps, so premultiplication rounding does not count.
    auto roundTripped = Image::decodePNG(actual.encodePNG());
    const Image& mine = roundTripped ? *roundTripped : actual;
    std::size_t different = 0;
    int worst = 0;
    for (int y = 0; y < mine.pixelHeight(); ++y) {
        for (int x = 0; x < mine.pixelWidth(); ++x) {
            int d = channelDelta(mine.rawPixel(x, y), expected.rawPixel(x, y));
            if (d > tolerance.maxChannelDelta) ++different;
            if (d > worst) worst = d;
        }
    }
    if (different <= tolerance.maxDifferentPixels) return {};
    s << different << " pixels differ by more than " << tolerance.maxChannelDelta << " (worst " << worst << ")";
    return s.str();
}

// `path` with ".png" replaced by `suffix`.
fs::path withSuffix(fs::path path, const std::string& suffix) { return path.replace_extension().concat(suffix); }

bool write(const Image& image, const fs::path& path) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    return image.writePNG(path.string());
}

}  // namespace

GoldenSettings GoldenSettings::standard() {
    return {KIVO_SOURCE_DIR, std::string(KIVO_BINARY_DIR) + "/golden-failures",
            std::string(KIVO_BINARY_DIR) + "/golden-candidates", updateRequested()};
}

GoldenResult compareWithGolden(const Image& actual, const std::string& goldenPath, GoldenTolerance tolerance) {
    return compareWithGolden(actual, goldenPath, tolerance, GoldenSettings::standard());
}

GoldenResult compareWithGolden(const Image& actual, const std::string& goldenPath, GoldenTolerance tolerance,
                               const GoldenSettings& settings) {
    const fs::path golden = fs::path(settings.sourceDirectory) / goldenPath;
    const fs::path failureBase = fs::path(settings.failureDirectory) / goldenPath;
    const fs::path actualPath = withSuffix(failureBase, ".actual.png"), diffPath = withSuffix(failureBase, ".diff.png");
    const fs::path candidatePath = fs::path(settings.candidateDirectory) / goldenPath;
    std::error_code ec;
    for (const auto& stale : {actualPath, diffPath, candidatePath}) fs::remove(stale, ec);

    GoldenResult result;
    auto expected = Image::readFile(golden.string());
    std::string why = expected ? difference(actual, *expected, tolerance) : "there is no golden image";
    if (why.empty()) {
        result.ok = true;
        return result;
    }

    result.message = goldenPath + ": " + why + ".";
    if (write(actual, actualPath)) {
        result.actualPath = actualPath.string();
        result.message += " Actual image: " + result.actualPath + ".";
    }
    if (expected && write(diffImage(actual, *expected, tolerance.maxChannelDelta), diffPath)) {
        result.diffPath = diffPath.string();
        result.message += " Diff: " + result.diffPath + ".";
    }
    if (settings.update) {
        if (write(actual, candidatePath)) {
            result.candidatePath = candidatePath.string();
            result.message += " KIVO_UPDATE_GOLDEN: candidate written to " + result.candidatePath +
                              "; review it, then scripts/accept-goldens copies it into the tree.";
        } else {
            result.message += " KIVO_UPDATE_GOLDEN: the candidate could not be written to " + candidatePath.string() + ".";
        }
    } else {
        result.message += " If the change is intended: KIVO_UPDATE_GOLDEN=1 writes a candidate for review.";
    }
    return result;
}

}  // namespace plat::testing
