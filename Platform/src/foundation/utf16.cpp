#include "Platform/foundation/utf16.h"

#include <algorithm>

namespace plat {

namespace {

constexpr char32_t Replacement = 0xFFFD;

// Decodes one character at `i`, advancing `i` past it; a bad sequence takes one byte.
char32_t decode(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra = 0;
    char32_t cp = 0, min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
        ++i;
        return Replacement;
    }
    if (i + static_cast<std::size_t>(extra) >= s.size()) {
        ++i;
        return Replacement;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return Replacement;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return Replacement;
    }
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

int unitsOf(char32_t cp) { return cp >= 0x10000 ? 2 : 1; }

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::u16string toUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = decode(utf8, i);
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string toUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = Replacement;
        }
        appendUtf8(out, cp);
    }
    return out;
}

std::int64_t utf16Length(std::string_view utf8) {
    std::int64_t n = 0;
    for (std::size_t i = 0; i < utf8.size();) n += unitsOf(decode(utf8, i));
    return n;
}

std::size_t utf16OffsetToByte(std::string_view utf8, std::int64_t offset) {
    std::int64_t units = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        std::size_t next = i;
        const int n = unitsOf(decode(utf8, next));
        if (units + n > offset) break;
        units += n;
        i = next;
    }
    return i;
}

std::int64_t byteOffsetToUtf16(std::string_view utf8, std::size_t byte) {
    std::int64_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t next = i;
        const int n = unitsOf(decode(utf8, next));
        if (next > byte) break;
        units += n;
        i = next;
    }
    return units;
}

TextRange clampRange(TextRange range, std::int64_t length) {
    length = std::max<std::int64_t>(0, length);
    const std::int64_t location = std::clamp<std::int64_t>(range.location, 0, length);
    return {location, std::clamp<std::int64_t>(range.length, 0, length - location)};
}

}  // namespace plat
