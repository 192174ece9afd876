#pragma once
// Case of single characters (code points), as ICU tells it: the upper-case letter test and the full
// upper-case mapping of one character (which may be several, "ß" → "SS").

#include <string>
#include <string_view>

#include "Platform/PlatformExport.h"

namespace plat {

// True for upper-case and title-case letters (general categories Lu and Lt).
PLAT_EXPORT bool isUppercaseLetter(char32_t c);
// The character upper-cased without locale tailoring, in UTF-8.
PLAT_EXPORT std::string upperCased(char32_t c);
// Decodes the code point at `pos` of UTF-8 text and moves `pos` past it; ill-formed input gives U+FFFD.
PLAT_EXPORT char32_t nextCodePoint(std::string_view text, std::size_t& pos);
// The code point in UTF-8.
PLAT_EXPORT std::string utf8Of(char32_t c);

}  // namespace plat
