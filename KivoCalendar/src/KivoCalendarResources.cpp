// What the calendar offers a host layer besides its pages: images loaded from a URL and fonts made
// from font-attribute dictionaries.

#include <cstdint>

#include "KivoCalendar/KivoCalendar.h"
#include "Platform/graphics/image.h"
#include "Platform/runtime/url_loader.h"

namespace {

// Larger than any image the platform decodes (its pixel budget at four bytes a pixel): a URL that
// gives more is refused instead of being read into memory whole.
constexpr std::int64_t MaxImageBytes = std::int64_t{256} << 20;

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
    const auto& dictionary = attributes.asDictionary();
    return dictionary ? plat::fontFromAttributes(*dictionary) : plat::Font();
}
