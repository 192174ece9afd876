#pragma once
// Reads texts that the platform's number formatter made for one locale: its digits (Arabic-Indic in
// ar_EG, Thai with "@numbers=thai"; ASCII digits are read too), its decimal mark and exponent mark.
// The formatter's text steps (trimming zeros, cutting a mantissa) work through it, never on "0" and ".".

#include <cstddef>
#include <string>
#include <string_view>

#include "Platform/foundation/locale/locale.h"

namespace kivo::detail {

class NumberText {
public:
    explicit NumberText(const plat::Locale& locale) : _locale(locale) {}

    struct Digit {
        int value = -1;  // -1: no digit there
        std::size_t length = 0;
    };
    // The digit that starts at byte `at`.
    Digit digitAt(std::string_view text, std::size_t at) const;
    bool hasZero(std::string_view text) const;
    // The bytes before the first digit or decimal mark: a sign, with any direction marks around it.
    std::size_t signLength(std::string_view text) const;
    // The text without its trailing zeros, never losing its first character.
    std::string_view withoutTrailingZeros(std::string_view text) const;
    // Whether the number that starts the text (digits and one decimal mark, no sign) is zero; an
    // empty text reads as zero.
    bool leadingNumberIsZero(std::string_view text) const;

    struct Mark {
        std::size_t at = std::string_view::npos;
        std::size_t length = 0;
    };
    // The locale's exponent mark, or else the first "E", or else the first "e".
    Mark exponentMark(std::string_view text) const;

    const std::string& decimalMark() const { return _locale.decimalSeparator(); }
    const std::string& groupingMark() const { return _locale.groupingSeparator(); }

private:
    const plat::Locale& _locale;
};

bool startsWithAt(std::string_view text, std::size_t at, std::string_view part);

}  // namespace kivo::detail
