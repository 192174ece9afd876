#pragma once
// UTF-8 <-> UTF-16 for the mask engine, which works on UTF-16 units as text positions count them.
// Ill-formed UTF-8 becomes U+FFFD; unpaired surrogates become U+FFFD on the way back.

#include <string>
#include <string_view>

#include "KivoInput/KivoInputExport.h"

namespace kivo::detail {

KIVO_INPUT_EXPORT std::u16string toUtf16(std::string_view utf8);
KIVO_INPUT_EXPORT std::string toUtf8(std::u16string_view utf16);

}  // namespace kivo::detail
