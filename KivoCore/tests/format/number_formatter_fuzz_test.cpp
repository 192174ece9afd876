// Thousands of generated format strings and awkward values through the formatter: every call must
// return without a crash or a sanitizer report, and the texts that promise something keep it.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

#include "KivoCore/KivoIOSValueFormatter.h"
#include "KivoCore/KivoNumberFormatter.h"
#include "format/format_test_support.h"

namespace {

plat::Value randomValue(std::mt19937_64& rng) {
    static const double specials[] = {
        std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        0.0,
        -0.0,
        std::numeric_limits<double>::max(),
        std::numeric_limits<double>::lowest(),
        std::numeric_limits<double>::min(),
        std::numeric_limits<double>::denorm_min(),
        -std::numeric_limits<double>::denorm_min(),
        0.5,
        -0.5,
        9.5,
        99.95,
        1e16,
        1e-5,
        2147483647.5,
        -2147483648.5,
        4294967296.0,
        9223372036854775807.0,
        -9223372036854775808.0,
        1e300,
        -1e-300,
    };
    switch (rng() % 6) {
        case 0:
            return specials[rng() % std::size(specials)];
        case 1: {
            std::int64_t edges[] = {0, -1, 127, -128, INT32_MAX, INT32_MIN, INT64_MAX, INT64_MIN};
            return edges[rng() % std::size(edges)];
        }
        case 2:
            return static_cast<std::int64_t>(rng());
        case 3:
            return (rng() & 1) != 0;
        case 4: {
            // Any bit pattern: every double there is, NaN payloads included.
            std::uint64_t bits = rng();
            double d;
            std::memcpy(&d, &bits, sizeof d);
            return d;
        }
        default: {
            std::uniform_real_distribution<double> mantissa(-10, 10);
            return mantissa(rng) * std::pow(10.0, static_cast<double>(static_cast<int>(rng() % 60) - 30));
        }
    }
}

std::string randomPattern(std::mt19937_64& rng) {
    static const char* const pieces[] = {"0", "0", "#", "#", ",", ",", ".",        ".",    "00", "##", ",,", "C", "D",
                                         "E", "F", "G", "N", "P", "R", "X",        "c",    "e",  "g",  "r",  "x", "1",
                                         "5", "9", "-", "%", " ", "'", "\xC3\xA9", "\xFF", "E+", "\\", "[",  "*"};
    std::string p;
    size_t n = rng() % 9;
    for (size_t i = 0; i < n; ++i) p += pieces[rng() % std::size(pieces)];
    if (rng() % 50 == 0) p.append(rng() % 2000, rng() % 2 ? '0' : '#');  // very long patterns
    return p;
}

}  // namespace

class FormatterFuzz : public PinnedLocaleTest {};

TEST_F(FormatterFuzz, GeneratedPatternsAndValuesNeverBreakTheFormatter) {
    const char* locales[] = {"en_US", "de_DE", "fr_FR", "", "ar_EG", "he_IL", "xx_NOWHERE", "en-US-u-nu-thai"};
    std::mt19937_64 rng(20240105);
    KivoIOSValueFormatter valueFormatter("de_DE");
    for (int i = 0; i < 30000; ++i) {
        plat::Value value = randomValue(rng);
        std::string pattern = randomPattern(rng);
        const char* locale = locales[rng() % std::size(locales)];
        SCOPED_TRACE("iteration " + std::to_string(i) + " pattern '" + pattern + "' value " + value.description());
        auto text = KivoNumberFormatter::numberToStringWithParameters(value, pattern, locale);
        auto standard = KivoNumberFormatter::numberToStandardStringWithParameters(value, pattern, locale);
        // Only "#" patterns may give no text, and only standard forms may be asked for directly.
        if (!text) {
            EXPECT_NE(pattern.find('#'), std::string::npos);
        }
        ASSERT_TRUE(standard.has_value());
        if (i % 8 == 0) valueFormatter.format(value, pattern, static_cast<std::int64_t>(rng() % 7));
    }
}

TEST_F(FormatterFuzz, RoundTripTextsReadBackToTheSameDouble) {
    std::mt19937_64 rng(7);
    for (int i = 0; i < 20000; ++i) {
        std::uint64_t bits = rng();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (std::isnan(d)) continue;
        auto text = KivoNumberFormatter::numberToStringWithParameters(d, i % 2 ? "R" : "r", "de_DE");
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(std::strtod(text->c_str(), nullptr), d) << *text;
    }
}
