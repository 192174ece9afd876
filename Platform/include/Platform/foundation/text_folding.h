#pragma once
// Folding text for searches that ignore case, and optionally accents, as readers of a language
// expect ("e" finds "É"; in Turkish "ı" finds "I" and "i" finds "İ"): a text is folded once into a
// form that plain substring search compares, and a match maps back to the original text's positions.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/utf16.h"

namespace plat {

class PLAT_EXPORT TextFolder {
public:
    // Count: "e" and "é" differ (a match never ends inside an accented letter). Ignore: they are the same.
    enum class Accents : std::uint8_t { Count, Ignore };

    // The locale decides the case mapping (Turkish and Azeri dotted and dotless i).
    TextFolder(const Locale& locale, Accents accents);

    const Locale& locale() const { return _locale; }
    Accents accents() const { return _accents; }

    // The folded form in UTF-16 units: case folded, canonically decomposed, and without nonspacing
    // marks when accents are ignored. Ill-formed UTF-8 folds as U+FFFD.
    std::u16string fold(std::string_view text) const;
    // Whether a folded text holds a folded pattern as whole characters (never ending in front of a
    // combining mark that belongs to the text's letter). An empty pattern is in every text.
    bool contains(std::u16string_view foldedText, std::u16string_view foldedPattern) const;
    // The first stretch of `text` whose folded form is `pattern`'s, in UTF-16 units of `text`
    // (widened to whole characters where a folded character stands for several); an empty pattern is
    // found at 0 with length 0; nullopt when there is none.
    std::optional<TextRange> find(std::string_view text, std::string_view pattern) const;

private:
    Locale _locale;
    Accents _accents;
    bool _turkic;
};

}  // namespace plat
