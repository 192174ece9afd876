#pragma once
// Locale-aware string comparison (collation), for sorting texts the way readers of a language expect:
// the locale is always passed in, and the strength says whether accents and case count.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/locale/locale.h"

namespace plat {

class PLAT_EXPORT Collator {
public:
    enum class Strength : std::uint8_t {
        Primary,    // base letters only: "a" = "A" = "á"
        Secondary,  // accents count, case does not: "a" = "A" < "á"
        Tertiary,   // accents and case count
    };

    // Collators of the same locale and strength share one immutable ICU collator; comparing is safe
    // from any thread. Strings are UTF-8; ill-formed bytes compare as U+FFFD.
    Collator(const Locale& locale, Strength strength);

    const Locale& locale() const { return _locale; }
    Strength strength() const { return _strength; }

    // -1, 0 or 1.
    int compare(std::string_view a, std::string_view b) const;

    // One binary key per string: keys of ONE call compare bytewise (as unsigned bytes, a proper prefix
    // first) exactly as compare() orders their strings, so a sort compares each string's text once
    // instead of at every comparison. Keys of different calls are not comparable with each other.
    std::vector<std::string> sortKeys(std::span<const std::string_view> strings) const;

    // Whether sortKeys() takes the table-driven path for batches of plain ASCII text (it does when
    // this locale and strength order ASCII characters one by one, without contractions).
    bool hasAsciiFastPath() const;

    struct Impl;

private:
    Locale _locale;
    Strength _strength;
    std::shared_ptr<const Impl> _impl;
};

}  // namespace plat
