#pragma once
// Reading a number written in a locale's decimal style ("1,234.5" in en_US, "1.234,5" in de_DE):
// optional sign, digits with grouping separators, the decimal separator, an optional exponent.

#include <optional>
#include <string_view>

#include "Platform/foundation/locale/locale.h"

namespace kivo::detail {

// The number the whole text spells (spaces around it allowed), or nothing.
std::optional<double> parseDecimal(std::string_view text, const plat::Locale& locale);

}  // namespace kivo::detail
