#pragma once
// Text positions counted in UTF-16 units, as text editing, masks and attributed ranges count them,
// over the UTF-8 strings the rest of the layer holds: ranges, lengths and the conversions between
// UTF-16 offsets and byte offsets.

#include <cstdint>
#include <string>
#include <string_view>

#include "Platform/PlatformExport.h"

namespace plat {

// A run of text: `location` units from the start, `length` units long.
struct PLAT_EXPORT TextRange {
    std::int64_t location = 0, length = 0;

    std::int64_t end() const { return location + length; }
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

// Ill-formed UTF-8 counts and converts as U+FFFD, one unit per bad byte.
PLAT_EXPORT std::u16string toUtf16(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
PLAT_EXPORT std::string toUtf8(std::u16string_view utf16);
PLAT_EXPORT std::int64_t utf16Length(std::string_view utf8);

// The byte offset in `utf8` of the UTF-16 offset `offset`, clamped to 0…the text's length. An offset
// that falls between the two halves of a surrogate pair lands before the pair.
PLAT_EXPORT std::size_t utf16OffsetToByte(std::string_view utf8, std::int64_t offset);
// The UTF-16 offset of byte `byte` (clamped to the text; a byte inside a character counts from that
// character's start).
PLAT_EXPORT std::int64_t byteOffsetToUtf16(std::string_view utf8, std::size_t byte);

// `range` clamped into a text of `length` units: location within 0…length, length within what is left.
PLAT_EXPORT TextRange clampRange(TextRange range, std::int64_t length);

}  // namespace plat
