// What the calendar offers a host layer besides its pages: images loaded from a URL and fonts made
// from font-attribute dictionaries.

#include <cctype>
#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

#include "KivoCalendar/KivoCalendar.h"
#include "Platform/graphics/image.h"

namespace {

constexpr std::string_view FileScheme = "file://";
constexpr std::string_view LocalHost = "localhost";
constexpr const char* FontNameKey = "NSFontNameAttribute";
constexpr const char* FontFamilyKey = "NSFontFamilyAttribute";
constexpr const char* FontSizeKey = "NSFontSizeAttribute";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The path of a file URL ("file:///tmp/a%20b.png", "file://localhost/tmp/x.png"), percent escapes
// decoded; nothing for other URLs and for escapes that are cut off or name no byte.
std::optional<std::string> filePath(std::string_view url) {
    if (url.size() < FileScheme.size()) return std::nullopt;
    for (std::size_t i = 0; i < FileScheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(url[i])) != FileScheme[i]) return std::nullopt;
    url.remove_prefix(FileScheme.size());
    if (url.starts_with(LocalHost)) url.remove_prefix(LocalHost.size());
    if (!url.starts_with('/')) return std::nullopt;
    if (auto end = url.find_first_of("?#"); end != std::string_view::npos) url = url.substr(0, end);
    std::string path;
    for (std::size_t i = 0; i < url.size(); ++i) {
        if (url[i] != '%') {
            path += url[i];
            continue;
        }
        if (i + 2 >= url.size()) return std::nullopt;
        int hi = hexValue(url[i + 1]), lo = hexValue(url[i + 2]);
        if (hi < 0 || lo < 0 || (hi == 0 && lo == 0)) return std::nullopt;
        path += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return path;
}

}  // namespace

std::shared_ptr<plat::Image> KivoCalendar::getImage(const std::string& url) {
    // The platform's URL loader serves file URLs only here; the file is read directly.
    auto path = filePath(url);
    if (!path) return nullptr;
    std::ifstream in(*path, std::ios::binary);
    if (!in) return nullptr;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) return nullptr;
    return plat::Image::decode(bytes);
}

plat::Font KivoCalendar::getDecriptor(const plat::Value& attributes) {
    plat::Font font;
    const auto& dictionary = attributes.asDictionary();
    if (!dictionary) return font;
    double size = font.size;
    if (auto it = dictionary->find(FontSizeKey); it != dictionary->end() && it->second.isNumber()) {
        double asked = it->second.asDouble();
        if (std::isfinite(asked) && asked > 0) size = asked;
    }
    if (auto it = dictionary->find(FontNameKey);
        it != dictionary->end() && it->second.isString() && !it->second.asString().empty())
        font = plat::Font::named(it->second.asString(), size);
    else if (auto it = dictionary->find(FontFamilyKey);
             it != dictionary->end() && it->second.isString() && !it->second.asString().empty())
        font.family = it->second.asString();
    font.size = size;
    return font;
}
