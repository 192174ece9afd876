// kivo_gallery [--check-hashes] <out-dir>: renders every registered page into <out-dir>/<name>.png,
// with its recorded drawing operations as text in <out-dir>/<name>.ops.txt, and writes
// <out-dir>/index.html showing them and <out-dir>/hashes.txt with every page's fingerprint. Exits
// non-zero when any page could not be rendered or written, or wrote to the system log while it
// rendered (demonstration data is meant to be valid).
// --check-hashes also compares the fingerprints with gallery/hashes.txt of the source tree, as the
// tests compare golden images (see hash_check.h).

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "Platform/foundation/date.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/preferred_languages.h"
#include "Platform/foundation/locale/timezone.h"
#include "Platform/foundation/log.h"
#include "Platform/graphics/image.h"
#include "Platform/runtime/clock.h"
#include "gallery_page.h"
#include "hash_check.h"
#include "index_page.h"
#include "op_list.h"
#include "page_renderer.h"

namespace fs = std::filesystem;

namespace {

// Every picture is the same on every machine and every day: one locale, one language, one time zone, and a
// virtual clock (which also lets view pages settle their animations without waiting).
constexpr double GalleryDate = 1704067200;  // 2024-01-01 00:00:00 UTC

void pinTheWorld() {
    plat::Clock::useVirtual(plat::Date(GalleryDate));
    plat::Locale::setCurrent(plat::Locale::withIdentifier("en_US"));
    plat::setPreferredLanguages(std::vector<std::string>{"en-US"});
    plat::TimeZone::setCurrent(plat::TimeZone::utc());
}

std::vector<const gallery::Page*> pagesByName() {
    std::vector<const gallery::Page*> pages;
    for (const auto& page : gallery::registeredPages()) pages.push_back(&page);
    std::stable_sort(pages.begin(), pages.end(), [](const auto* a, const auto* b) { return a->name < b->name; });
    return pages;
}

// Counts (and shows) the system log's lines while it lives; the previous sink comes back after.
class LoggedLines {
public:
    explicit LoggedLines(const std::string& pageName)
        : _previous(plat::setLogSink([this, pageName](const std::string& line) {
              std::lock_guard lock(_mutex);
              ++_count;
              std::cerr << "kivo_gallery: page \"" << pageName << "\" logged: " << line << "\n";
          })) {}
    ~LoggedLines() { plat::setLogSink(std::move(_previous)); }
    LoggedLines(const LoggedLines&) = delete;
    LoggedLines& operator=(const LoggedLines&) = delete;

    int count() const {
        std::lock_guard lock(_mutex);
        return _count;
    }

private:
    mutable std::mutex _mutex;
    int _count = 0;
    plat::LogSink _previous;
};

bool writeText(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (out) return true;
    std::cerr << "kivo_gallery: could not write " << file.string() << "\n";
    return false;
}

// Renders and writes one page, and notes its fingerprint in `hashes`; false (with the reason on
// stderr) when it could not.
bool writePage(const gallery::Page& page, const fs::path& outDir, gallery::PageHashes& hashes) {
    if (auto problem = gallery::pageProblem(page)) {
        std::cerr << "kivo_gallery: page \"" << page.name << "\" skipped: " << *problem << "\n";
        return false;
    }
    gallery::Rendering rendering;
    {
        const LoggedLines logged(page.name);
        try {
            rendering = gallery::renderPage(page);
        } catch (const std::exception& e) {
            std::cerr << "kivo_gallery: page \"" << page.name << "\" failed: " << e.what() << "\n";
            return false;
        }
        if (logged.count() > 0) return false;
    }
    const fs::path file = outDir / (page.name + ".png");
    if (!rendering.image || !rendering.image->writePNG(file.string())) {
        std::cerr << "kivo_gallery: could not write " << file.string() << "\n";
        return false;
    }
    if (!writeText(outDir / (page.name + ".ops.txt"), rendering.opList)) return false;
    hashes[page.name] = {gallery::hashHex(gallery::fnv1a64(rendering.opList)), std::move(rendering.opList)};
    std::cout << file.string() << "  (" << page.size.width << " x " << page.size.height << " pt)\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const bool check = !args.empty() && args.front() == "--check-hashes";
    if (args.size() != (check ? 2u : 1u) || args.back().starts_with("--")) {
        std::cerr << "usage: kivo_gallery [--check-hashes] <out-dir>\n";
        return 2;
    }
    if (auto problem = gallery::opListSelfCheckProblem(); !problem.empty()) {
        std::cerr << "kivo_gallery: page fingerprints cannot be trusted on this build: " << problem << "\n";
        return 1;
    }
    const fs::path outDir = args.back();
    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (ec || !fs::is_directory(outDir)) {
        std::cerr << "kivo_gallery: cannot make the directory " << outDir.string() << ": " << ec.message() << "\n";
        return 1;
    }

    pinTheWorld();
    bool allWritten = true;
    std::vector<const gallery::Page*> written;
    std::set<std::string> names;
    gallery::PageHashes hashes;
    for (const auto* page : pagesByName()) {
        if (!names.insert(page->name).second) {
            std::cerr << "kivo_gallery: a second page is named \"" << page->name << "\"; only the first is shown\n";
            allWritten = false;
            continue;
        }
        // Each page starts at the same moment: time one page lets pass never shows in the next one's picture.
        plat::Clock::useSystem();
        plat::Clock::useVirtual(plat::Date(GalleryDate));
        if (writePage(*page, outDir, hashes))
            written.push_back(page);
        else
            allWritten = false;
    }

    const fs::path index = outDir / "index.html";
    if (!writeText(index, gallery::indexHtml(written))) return 1;
    std::cout << written.size() << " page(s); index: " << index.string() << "\n";
    if (!writeText(outDir / "hashes.txt", gallery::hashFileText(hashes))) return 1;

    bool hashesMatch = true;
    if (check) {
        std::vector<std::string> unrendered;
        for (const auto& name : names)
            if (!hashes.contains(name)) unrendered.push_back(name);
        const auto result = gallery::checkHashes(hashes, unrendered, gallery::HashCheckSettings::standard());
        (result.ok ? std::cout : std::cerr) << result.message;
        hashesMatch = result.ok;
    }
    return allWritten && hashesMatch ? 0 : 1;
}
