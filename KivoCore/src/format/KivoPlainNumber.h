#pragma once
// A number as the formatter reads it: the double that the formats work on, the exact integer where
// the value was one (so large integers format without loss), and the number's plain text: "." as
// decimal mark, no grouping, integral values without a fraction, the shortest digits that read back
// to the same double, and an exponent ("1e+20", "1e-05") only below 1e-4 and from 1e17 up.

#include <cstdint>
#include <optional>
#include <string>

#include "Platform/foundation/value.h"

namespace kivo::detail {

struct PlainNumber {
    double value = 0;
    std::optional<std::int64_t> exact;  // set for integer and Boolean values

    // Nothing for values that are not numbers.
    static std::optional<PlainNumber> from(const plat::Value& v);
    static PlainNumber of(double d) { return PlainNumber{d, std::nullopt}; }

    std::string text() const;
    // Digits of the magnitude written out without an exponent: before and after the decimal point
    // ("0.5" has 1 and 1; 1e20 has 21 and 0). Not-a-number and infinities count 1 and 0.
    int integerDigits() const;
    int fractionDigits() const;
};

std::string plainText(double d);

// What a form makes of the value when it is a number; no text at all when it is not.
template <class Form>
std::optional<std::string> withNumber(const plat::Value& number, Form&& form) {
    auto n = PlainNumber::from(number);
    if (!n) return std::nullopt;
    return form(*n);
}

}  // namespace kivo::detail
