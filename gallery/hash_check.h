#pragma once
// The gallery's answer to "is the picture unchanged": every page's fingerprint (op_list.h) against
// the accepted ones in gallery/hashes.txt, reviewed like golden images:
// - a page whose fingerprint differs, a page without one, or a fingerprint without a page fails the
//   check, naming the pages; the operation list of each differing or new page goes to
//   <build>/golden-failures/gallery/<page>.ops.txt;
// - with KIVO_UPDATE_GOLDEN=1, each of them leaves a candidate <build>/golden-candidates/gallery/<page>.hash
//   (the new fingerprint, or "none" for a page that is gone) that scripts/accept-goldens merges into
//   gallery/hashes.txt.
// Each check first deletes the artefacts of earlier checks.

#include <map>
#include <string>
#include <vector>

namespace gallery {

struct PageFingerprint {
    std::string hash;
    std::string opList;
};
// By page name, in byte order (the order of the hash file).
using PageHashes = std::map<std::string, PageFingerprint>;

// One "name hash" line a page, sorted by name.
std::string hashFileText(const PageHashes& hashes);

struct HashCheckSettings {
    std::string hashFile, failureDirectory, candidateDirectory;
    bool update = false;
    // gallery/hashes.txt of the source tree, the build's golden folders and KIVO_UPDATE_GOLDEN.
    static HashCheckSettings standard();
};

struct HashCheckResult {
    bool ok = false;
    std::string message;  // one paragraph, ending in a new line
};

// `unrendered`: pages that exist but could not be rendered (already failures of their own); their
// accepted fingerprints are left alone.
HashCheckResult checkHashes(const PageHashes& actual, const std::vector<std::string>& unrendered,
                            const HashCheckSettings& settings);

}  // namespace gallery
