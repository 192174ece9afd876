#pragma once
// Pins the process's current locale and time zone for the lifetime of the object and puts back the
// ones it found.

#include <string_view>

#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"

namespace plat::testing {

class PinnedLocale {
public:
    // Throws std::invalid_argument for a time zone that does not exist (a mistyped test).
    explicit PinnedLocale(std::string_view locale = "en_US", std::string_view timeZone = "UTC");
    ~PinnedLocale();
    PinnedLocale(const PinnedLocale&) = delete;
    PinnedLocale& operator=(const PinnedLocale&) = delete;

private:
    Locale _savedLocale;
    TimeZone _savedZone;
};

}  // namespace plat::testing
