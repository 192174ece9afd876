#include "drawing/TextCut.h"

#include <cmath>

#include "Platform/graphics/text.h"

namespace kivo::detail {

namespace {
// The narrowest advance of a character a text plausibly fills a line with, as a share of the font
// size: below the narrow letters and punctuation (i, l, the full stop, about a quarter of an em) and
// the thin space. Hair spaces and marks of no width could fill more, but no text is made of them.
constexpr double NarrowestAdvance = 1.0 / 6.0;

bool continues(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

std::string_view utf8Head(std::string_view text, std::size_t characters) {
    // A character takes at most four bytes: a text that short holds no more characters than that.
    if (text.size() <= characters) return text;
    std::size_t end = 0, counted = 0;
    while (end < text.size()) {
        if (!continues(text[end]) && counted++ == characters) break;
        ++end;
    }
    return text.substr(0, end);
}

std::string_view utf8Tail(std::string_view text, std::size_t characters) {
    if (text.size() <= characters) return text;
    std::size_t start = text.size(), counted = 0;
    while (start > 0 && counted < characters) {
        --start;
        if (!continues(text[start])) ++counted;
    }
    return text.substr(start);
}

std::size_t shownCharacters(const plat::Size& size, const plat::Font& font) {
    const double advance = font.size * NarrowestAdvance;
    const double line = plat::fontMetrics(font).lineHeight;
    if (!(advance > 0) || !(line > 0) || !(size.width >= 0) || !(size.height >= 0)) return LongestLaidOutText;
    const double perLine = std::floor(size.width / advance) + 1;
    const double lines = std::floor(size.height / line) + 1;
    const double characters = perLine * lines;
    return characters < static_cast<double>(LongestLaidOutText) ? static_cast<std::size_t>(characters) : LongestLaidOutText;
}

std::string cutText(std::string text, std::size_t characters, bool keepEnd) {
    const std::string_view head = utf8Head(text, characters);
    if (head.size() == text.size()) return text;
    if (!keepEnd) return std::string(head);
    // Both parts of a text truncated in its middle fill the box on their own.
    const std::string_view tail = utf8Tail(std::string_view(text).substr(head.size()), characters);
    std::string out(head);
    out += tail;
    return out;
}

}  // namespace kivo::detail
