#pragma once
// Golden-image comparison for tests: decoded pixels compared within a small tolerance against a PNG
// kept in the source tree. Golden files are never written by a test:
// - on a mismatch, the actual image and a diff go to <build>/golden-failures/<golden path>;
// - with KIVO_UPDATE_GOLDEN=1 in the environment, an image that differs from its golden (or has none)
//   is written as a candidate to <build>/golden-candidates/<golden path> and the comparison fails;
//   scripts/accept-goldens copies reviewed candidates into the tree.
// Each comparison first deletes its own artefacts of earlier runs, so a file left by an earlier run
// can never stand in for this one.

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
    std::string message;  // why it failed, and where the artefacts went
    // Written by this comparison (empty when not written).
    std::string actualPath, diffPath, candidatePath;
    explicit operator bool() const { return ok; }
};

// `goldenPath` is relative to the source tree (e.g. "KivoCore/tests/golden/check_box_checked.png").
GoldenResult compareWithGolden(const Image& actual, const std::string& goldenPath, GoldenTolerance tolerance = {});

// Where goldens are read and artefacts written, and whether candidates are: by default the source
// tree, <build>/golden-failures, <build>/golden-candidates and KIVO_UPDATE_GOLDEN. Tests of the
// comparison itself point it at a scratch folder.
struct GoldenSettings {
    std::string sourceDirectory, failureDirectory, candidateDirectory;
    bool update = false;
    static GoldenSettings standard();
};
GoldenResult compareWithGolden(const Image& actual, const std::string& goldenPath, GoldenTolerance tolerance,
                               const GoldenSettings& settings);

}  // namespace plat::testing
