#pragma once
// Base64 (the standard alphabet, with padding) for bytes held in strings, optionally cut into lines.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "Platform/PlatformExport.h"

namespace plat {

struct PLAT_EXPORT Base64Lines {
    // Characters per line; 0 keeps the whole text on one line.
    std::size_t length = 0;
    // Put between lines, never after the last.
    std::string ending = "\r\n";
};

PLAT_EXPORT std::string base64Encode(std::string_view bytes, const Base64Lines& lines = {});
// Line breaks and other blanks (space, tab, CR, LF) between the characters are skipped. Nothing (and a
// log line) for a text with any other character outside the alphabet, misplaced padding, or a length
// that is not a whole number of four-character groups.
PLAT_EXPORT std::optional<std::string> base64Decode(std::string_view text);

}  // namespace plat
