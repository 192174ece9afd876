#pragma once
// The locale strings that the mask characters ".", ",", "$", "/" and ":" stand for, read from the
// current locale when a mask is parsed.

#include <string>

namespace kivo::detail {

struct MaskLocaleLiterals {
    std::string decimalSeparator;
    std::string groupingSeparator;
    std::string currencySymbol;
};

// The separators and the currency symbol of the current locale.
MaskLocaleLiterals currentMaskLocaleLiterals();
// The current locale's one-character date or time separator, with "/" and ":" when its short style
// shows none of the usual ones.
std::string currentDateTimeSeparator(bool isDate);

}  // namespace kivo::detail
