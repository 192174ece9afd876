#pragma once
// Private to the ICU-backed modules (locale, collation): the ICU objects behind plat::Locale and
// plat::TimeZone, and UTF-8 <-> UTF-16 conversion. Nothing outside Platform/src includes this.

#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"

namespace plat {

struct Locale::Impl {
    std::string identifier;
    icu::Locale icu;
    // Symbols start as those of the root locale, for a locale whose symbols cannot be loaded.
    std::string decimalSeparator = ".", groupingSeparator = ",", minusSign = "-", exponentSymbol = "E";
    std::array<std::string, 10> digits{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    std::string currencyCode;
    char16_t currency[4] = {};  // currencyCode as ICU wants it
    int currencyFractionDigits = 2;
    bool rightToLeft = false;
};

struct TimeZone::Impl {
    std::string identifier;
    std::unique_ptr<const icu::TimeZone> icu;
};

namespace detail {

inline icu::UnicodeString toICU(std::string_view s) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), static_cast<int32_t>(s.size())));
}

inline std::string fromICU(const icu::UnicodeString& s) {
    std::string out;
    s.toUTF8String(out);
    return out;
}

}  // namespace detail
}  // namespace plat
