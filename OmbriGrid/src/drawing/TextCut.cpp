#include "drawing/TextCut.h"

#include <algorithm>
#include <cmath>

#include "Platform/graphics/text.h"

namespace kivo::detail {

namespace {
// The narrowest advance of a character a text plausibly fills a line with, as a share of the font
// size: below the narrow letters and punctuation (i, l, the full stop, about a quarter of an em) and
// the thin space. Hair spaces and marks of no width could fill more, but no text is made of them.
constexpr double NarrowestAdvance = 1.0 / 6.0;
constexpr double BytesPerCharacter = 4;

bool continues(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

std::string_view utf8Head(std::string_view text, std::size_t bytes) {
    if (text.size() <= bytes) return text;
    std::size_t end = bytes;
    while (end > 0 && continues(text[end])) --end;
    return text.substr(0, end);
}

std::string_view utf8Tail(std::string_view text, std::size_t bytes) {
    if (text.size() <= bytes) return text;
    std::size_t start = text.size() - bytes;
    while (start < text.size() && continues(text[start])) ++start;
    return text.substr(start);
}

std::size_t shownTextBytes(const plat::Size& size, const plat::Font& font) {
    const double advance = font.size * NarrowestAdvance;
    const double line = plat::fontMetrics(font).lineHeight;
    if (!(advance > 0) || !(line > 0) || !(size.width >= 0) || !(size.height >= 0)) return LongestLaidOutText;
    const double perLine = std::floor(size.width / advance) + 1;
    const double lines = std::floor(size.height / line) + 1;
    const double bytes = perLine * lines * BytesPerCharacter;
    return bytes < static_cast<double>(LongestLaidOutText) ? static_cast<std::size_t>(bytes) : LongestLaidOutText;
}

std::string cutText(std::string text, std::size_t bytes, bool keepEnd) {
    if (text.size() <= bytes) return text;
    // Both halves of a text truncated in its middle fill the box on their own.
    if (keepEnd && text.size() > 2 * bytes) {
        std::string out(utf8Head(text, bytes));
        out += utf8Tail(text, bytes);
        return out;
    }
    if (keepEnd) return text;
    return std::string(utf8Head(text, bytes));
}

}  // namespace kivo::detail
