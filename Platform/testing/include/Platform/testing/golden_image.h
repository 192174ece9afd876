#pragma once
// Golden-image comparison for tests: decoded pixels compared within a small tolerance against a PNG
// kept in the source tree. On a mismatch the actual image and a diff are written beside the build;
// KIVO_UPDATE_GOLDEN=1 in the environment rewrites the golden file instead.

#include <cstddef>
#include <string>

namespace plat {
class Image;
}

namespace plat::testing {

struct GoldenTolerance {
    int maxChannelDelta = 2;             // a pixel counts as different beyond this, in any channel (0…255)
    std::size_t maxDifferentPixels = 0;  // how many such pixels are tolerated
};

struct GoldenResult {
    bool ok = false;
    std::string message;  // why it failed, and where the actual image and the diff went
    explicit operator bool() const { return ok; }
};

// `goldenPath` is relative to the source tree (e.g. "KivoCore/tests/golden/sampler.png").
GoldenResult compareWithGolden(const Image& actual, const std::string& goldenPath, GoldenTolerance tolerance = {});

// Where failure artefacts go: <build>/golden-failures.
std::string goldenFailureDirectory();

}  // namespace plat::testing
