#include "combobox/CaselessPrefix.h"

#include <string>

#include "Platform/foundation/collator.h"
#include "Platform/foundation/utf16.h"

namespace kivo::detail {

namespace {

// A beginning of the entry may be at most this many times the text's length (plus a little), which
// bounds the search when case mapping changes lengths ("ß" against "SS").
constexpr std::size_t LengthSlack = 4;
constexpr std::size_t LengthFactor = 3;

bool isAscii(char16_t c) { return c < 0x80; }
char16_t lowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
// A beginning never ends in front of a combining accent: "a" does not begin "á" written as a + accent.
bool isCombiningMark(char16_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x20D0 && c <= 0x20FF);
}
bool isBoundary(std::u16string_view s, std::size_t at) {
    return at == s.size() || (!isLowSurrogate(s[at]) && !isCombiningMark(s[at]));
}

const plat::Collator& caselessCollator() {
    static const plat::Collator collator(plat::Locale::root(), plat::Collator::Strength::Secondary);
    return collator;
}

}  // namespace

std::optional<std::int64_t> caselessPrefixLength(std::u16string_view text, std::u16string_view entry) {
    if (text.empty()) return std::nullopt;
    bool ascii = text.size() <= entry.size();
    for (std::size_t i = 0; ascii && i < text.size(); ++i) ascii = isAscii(text[i]) && isAscii(entry[i]);
    if (ascii) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (lowerAscii(text[i]) != lowerAscii(entry[i])) return std::nullopt;
        }
        if (!isBoundary(entry, text.size())) return std::nullopt;
        return static_cast<std::int64_t>(text.size());
    }
    const std::string wanted = plat::toUtf8(text);
    const std::size_t longest = std::min(entry.size(), text.size() * LengthFactor + LengthSlack);
    for (std::size_t length = 1; length <= longest; ++length) {
        if (!isBoundary(entry, length)) continue;
        if (caselessCollator().compare(wanted, plat::toUtf8(entry.substr(0, length))) == 0) {
            return static_cast<std::int64_t>(length);
        }
    }
    return std::nullopt;
}

}  // namespace kivo::detail
