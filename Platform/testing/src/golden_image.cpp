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

}  // namespace

std::string goldenFailureDirectory() { return std::string(KIVO_BINARY_DIR) + "/golden-failures"; }

GoldenResult compareWithGolden(const Image& actual, const std::string& goldenPath, GoldenTolerance tolerance) {
    fs::path golden = fs::path(KIVO_SOURCE_DIR) / goldenPath;
    GoldenResult result;
    if (updateRequested()) {
        fs::create_directories(golden.parent_path());
        result.ok = actual.writePNG(golden.string());
        result.message = result.ok ? "golden image written: " + golden.string() : "could not write " + golden.string();
        return result;
    }

    fs::path outDir = goldenFailureDirectory();
    std::string stem = golden.stem().string();
    auto writeArtefacts = [&](const Image* expected) {
        fs::create_directories(outDir);
        std::string actualPath = (outDir / (stem + ".actual.png")).string();
        actual.writePNG(actualPath);
        std::string text = " actual image: " + actualPath;
        if (expected) {
            std::string diffPath = (outDir / (stem + ".diff.png")).string();
            diffImage(actual, *expected, tolerance.maxChannelDelta).writePNG(diffPath);
            text += "; diff: " + diffPath;
        }
        return text + " (KIVO_UPDATE_GOLDEN=1 regenerates the golden file)";
    };

    auto expected = Image::readFile(golden.string());
    if (!expected) {
        result.message = "no golden image at " + golden.string() + ";" + writeArtefacts(nullptr);
        return result;
    }
    if (expected->pixelWidth() != actual.pixelWidth() || expected->pixelHeight() != actual.pixelHeight()) {
        std::ostringstream s;
        s << "size " << actual.pixelWidth() << "x" << actual.pixelHeight() << " differs from the golden "
          << expected->pixelWidth() << "x" << expected->pixelHeight() << ";" << writeArtefacts(expected.get());
        result.message = s.str();
        return result;
    }
    // Compare what a PNG round trip keeps, so premultiplication rounding does not count.
    auto roundTripped = Image::decodePNG(actual.encodePNG());
    const Image& mine = roundTripped ? *roundTripped : actual;
    std::size_t different = 0;
    int worst = 0;
    for (int y = 0; y < mine.pixelHeight(); ++y) {
        for (int x = 0; x < mine.pixelWidth(); ++x) {
            int d = channelDelta(mine.rawPixel(x, y), expected->rawPixel(x, y));
            if (d > tolerance.maxChannelDelta) ++different;
            if (d > worst) worst = d;
        }
    }
    if (different > tolerance.maxDifferentPixels) {
        std::ostringstream s;
        s << different << " pixels differ from " << golden.string() << " by more than " << tolerance.maxChannelDelta << " (worst "
          << worst << ");" << writeArtefacts(expected.get());
        result.message = s.str();
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace plat::testing
