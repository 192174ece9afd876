#pragma once
// A custom numeric pattern ("0", "#", "," and ".") read once into what the platform formatter needs:
// scaling by 1000s, minimum integer digits, fraction digits (fixed, or depending on the value's own
// fraction digits where the pattern has optional "#" places) and grouping.
//
// Integer digits are a minimum and the formatter sets no maximum, so the value's own integer digits
// never need counting: a pattern asking for fewer still shows them all, and rounding that carries into
// a new digit (9.99 with '0.0' gives '10.0') keeps it.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "format/KivoPlainNumber.h"

namespace kivo::detail {

struct CustomPattern {
    enum class Fraction : std::uint8_t {
        Fixed,         // always `fraction` digits
        UpToOwn,       // "#" places only: as many as the value has, at most `fraction`
        ZerosThenOwn,  // "0" places then "#" places: all of them when the value has that many, its own
                       // count when it has fewer, the leading "0" places when it has none
    };

    std::size_t scaleSteps = 0;  // each divides the value by 1000
    int minInteger = 1;
    int fraction = 0;
    int leadingZeroPlaces = 0;
    Fraction rule = Fraction::Fixed;
    bool grouping = false;

    // A pattern of "0", "," and "." (a "#" pattern with its "#" made "0").
    static CustomPattern zeros(std::string_view pattern);
    // A pattern mixing "0" and "#".
    static CustomPattern mixed(std::string_view pattern);

    PlainNumber scaled(const PlainNumber& n) const;
    int fractionDigits(const PlainNumber& scaledValue) const;
};

}  // namespace kivo::detail
