#include "Platform/testing/pinned_locale.h"

#include <stdexcept>
#include <string>

namespace plat::testing {

PinnedLocale::PinnedLocale(std::string_view locale, std::string_view timeZone)
    : _savedLocale(Locale::current()), _savedZone(TimeZone::current()) {
    auto zone = TimeZone::named(timeZone);
    if (!zone) throw std::invalid_argument("PinnedLocale: no time zone named \"" + std::string(timeZone) + "\"");
    Locale::setCurrent(Locale::withIdentifier(locale));
    TimeZone::setCurrent(*zone);
}

PinnedLocale::~PinnedLocale() {
    Locale::setCurrent(_savedLocale);
    TimeZone::setCurrent(_savedZone);
}

}  // namespace plat::testing
