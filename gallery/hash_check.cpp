#include "hash_check.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace gallery {

namespace {

namespace fs = std::filesystem;

bool updateRequested() {
    const char* v = std::getenv("KIVO_UPDATE_GOLDEN");
    return v && *v && std::string(v) != "0";
}

bool isHash(const std::string& s) {
    return s.size() == 16 &&
           std::all_of(s.begin(), s.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// The accepted fingerprints; every line that is not "name hash" (or repeats a name) is a problem.
std::map<std::string, std::string> readHashFile(const fs::path& file, std::vector<std::string>& problems) {
    std::map<std::string, std::string> hashes;
    std::ifstream in(file, std::ios::binary);
    if (!in) return hashes;  // no file: every page is new
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::istringstream fields(line);
        std::string name, hash, extra;
        if (line.empty()) continue;
        if (!(fields >> name >> hash) || (fields >> extra) || !isHash(hash)) {
            problems.push_back("line " + std::to_string(number) + " is not \"page-name 16-hex-digit-hash\"");
            continue;
        }
        if (!hashes.emplace(name, hash).second) problems.push_back("line " + std::to_string(number) + " repeats " + name);
    }
    return hashes;
}

bool writeFile(const fs::path& file, const std::string& text) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

std::string hashFileText(const PageHashes& hashes) {
    std::string text;
    for (const auto& [name, fingerprint] : hashes) text += name + " " + fingerprint.hash + "\n";
    return text;
}

HashCheckSettings HashCheckSettings::standard() {
    return {std::string(KIVO_SOURCE_DIR) + "/gallery/hashes.txt", std::string(KIVO_BINARY_DIR) + "/golden-failures/gallery",
            std::string(KIVO_BINARY_DIR) + "/golden-candidates/gallery", updateRequested()};
}

HashCheckResult checkHashes(const PageHashes& actual, const std::vector<std::string>& unrendered,
                            const HashCheckSettings& settings) {
    std::error_code ec;
    fs::remove_all(settings.failureDirectory, ec);
    fs::remove_all(settings.candidateDirectory, ec);

    std::vector<std::string> problems;
    const auto accepted = readHashFile(settings.hashFile, problems);
    std::vector<std::string> changed, added, gone, unwritten;
    for (const auto& [name, fingerprint] : actual) {
        auto it = accepted.find(name);
        if (it != accepted.end() && it->second == fingerprint.hash) continue;
        (it == accepted.end() ? added : changed).push_back(name);
        if (!writeFile(fs::path(settings.failureDirectory) / (name + ".ops.txt"), fingerprint.opList)) unwritten.push_back(name);
        if (settings.update && !writeFile(fs::path(settings.candidateDirectory) / (name + ".hash"), fingerprint.hash + "\n"))
            unwritten.push_back(name);
    }
    for (const auto& [name, hash] : accepted) {
        if (actual.contains(name) || std::find(unrendered.begin(), unrendered.end(), name) != unrendered.end()) continue;
        gone.push_back(name);
        if (settings.update && !writeFile(fs::path(settings.candidateDirectory) / (name + ".hash"), "none\n"))
            unwritten.push_back(name);
    }

    HashCheckResult result;
    result.ok = problems.empty() && changed.empty() && added.empty() && gone.empty() && unwritten.empty();
    if (result.ok) {
        result.message =
            "kivo_gallery: the fingerprints of " + std::to_string(actual.size()) + " page(s) match " + settings.hashFile + "\n";
        return result;
    }
    std::string& m = result.message;
    m = "kivo_gallery: the page fingerprints differ from " + settings.hashFile + ".";
    if (!problems.empty()) m += " The file is malformed: " + joined(problems) + ".";
    if (!changed.empty()) m += " Changed: " + joined(changed) + ".";
    if (!added.empty()) m += " Without a fingerprint: " + joined(added) + ".";
    if (!gone.empty()) m += " Fingerprint without a page: " + joined(gone) + ".";
    if (!changed.empty() || !added.empty())
        m += " Their operation lists: " + settings.failureDirectory +
             "/<page>.ops.txt (compare with a gallery run of the accepted tree).";
    if (!unwritten.empty()) m += " Could not write the files of: " + joined(unwritten) + ".";
    if (settings.update)
        m += " KIVO_UPDATE_GOLDEN: candidates written to " + settings.candidateDirectory +
             "; review them, then scripts/accept-goldens merges them into the tree.";
    else
        m += " If the change is intended: KIVO_UPDATE_GOLDEN=1 writes candidates for review.";
    m += "\n";
    return result;
}

}  // namespace gallery
