// What the calendar offers a host layer besides its pages: images loaded from a URL and fonts made
// from font-attribute dictionaries.

#include <cmath>
#include <cstdint>

#include "KivoCalendar/KivoCalendar.h"
#include "Platform/graphics/image.h"
#include "Platform/runtime/url_loader.h"

namespace {

// Larger than any image the platform decodes (its pixel budget at four bytes a pixel): a URL that
// gives more is refused instead of being read into memory whole.
constexpr std::int64_t MaxImageBytes = std::int64_t{256} << 20;
constexpr const char* FontNameKey = "NSFontNameAttribute";
constexpr const char* FontFamilyKey = "NSFontFamilyAttribute";
constexpr const char* FontSizeKey = "NSFontSizeAttribute";

}  // namespace

std::shared_ptr<plat::Image> KivoCalendar::getImage(const std::string& url) {
    plat::URLRequest request;
    request.url = url;
    request.maxBytes = MaxImageBytes;
    // The bytes decide, whatever type the response announces.
    plat::URLResult result = plat::URLLoader::load(request);
    if (!result.ok() || result.data.empty()) return nullptr;
    return plat::Image::decode(result.data);
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
