#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <limits>

#include "Platform/foundation/locale/number_formatter.h"

using plat::Locale;
using plat::NumberFormatter;
using Style = NumberFormatter::Style;

namespace {

struct Row {
    const char* locale;
    Style style;
    int minFrac, maxFrac;  // -1: leave the style's default
    int minInt;            // -1: leave the default
    int grouping;          // -1: leave the default, else 0 / 1
    double value;
    const char* expected;
};

std::string run(const Row& r) {
    NumberFormatter f(r.style, Locale::withIdentifier(r.locale));
    if (r.minFrac >= 0) f.setMinimumFractionDigits(r.minFrac);
    if (r.maxFrac >= 0) f.setMaximumFractionDigits(r.maxFrac);
    if (r.minInt >= 0) f.setMinimumIntegerDigits(r.minInt);
    if (r.grouping >= 0) f.setUsesGrouping(r.grouping != 0);
    return f.format(r.value);
}

}  // namespace

TEST(NumberFormatter, FormatsByStyleDigitsGroupingAndLocale) {
    const double inf = std::numeric_limits<double>::infinity();
    const Row rows[] = {
        {"en_US", Style::Decimal, -1, -1, -1, -1, 1234567.8915, "1,234,567.892"},
        {"en_US", Style::Decimal, 2, 2, -1, 0, 1234.5, "1234.50"},
        {"en_US", Style::Decimal, 0, 0, 5, -1, 42, "00,042"},
        {"en_US", Style::Decimal, 0, 0, 5, 0, 42, "00042"},
        {"en_US", Style::Decimal, 2, 2, 0, -1, 0.5, ".50"},
        {"de_DE", Style::Decimal, 2, 2, -1, -1, 1234.5, "1.234,50"},
        // Half to even on the shortest decimal form.
        {"en_US", Style::Decimal, 2, 2, -1, -1, 2.345, "2.34"},
        {"en_US", Style::Decimal, 2, 2, -1, -1, 2.355, "2.36"},
        {"en_US", Style::Decimal, 2, 2, -1, -1, 0.125, "0.12"},
        {"en_US", Style::Decimal, 0, 0, -1, -1, 2.5, "2"},
        {"en_US", Style::Decimal, 0, 0, -1, -1, 3.5, "4"},
        {"en_US", Style::Currency, -1, -1, -1, -1, -1234.5, "-$1,234.50"},
        {"en_US", Style::Currency, 0, 0, -1, -1, 1234.5, "$1,234"},
        {"de_DE", Style::Currency, -1, -1, -1, -1, 1234.5, "1.234,50\u00A0\u20AC"},
        {"ja_JP", Style::Currency, -1, -1, -1, -1, 1234.5, "\uFFE51,234"},
        {"en_US", Style::Percent, 1, 1, -1, 0, 0.1234, "12.3%"},
        {"de_DE", Style::Percent, 1, 1, -1, 0, 0.1234, "12,3\u00A0%"},
        {"en_US", Style::Percent, -1, -1, -1, -1, 12.345, "1,234%"},
        {"en_US", Style::Scientific, 2, 2, -1, -1, 12345, "1.23E4"},
        {"en_US", Style::Scientific, 1, 1, -1, -1, 1.5e-7, "1.5E-7"},
        {"en_US", Style::Scientific, 0, 1, -1, -1, 12345, "1.2E4"},
        {"en_US", Style::Scientific, -1, -1, -1, -1, 0, "0E0"},
        {"en_US", Style::Decimal, 2, 2, -1, -1, NAN, "NaN"},
        {"en_US", Style::Decimal, 2, 2, -1, -1, -inf, "-\u221E"},
        {"de_DE", Style::Percent, 2, 2, -1, -1, inf, "\u221E\u00A0%"},
        {"en_US", Style::Decimal, 0, 0, -1, -1, -0.0, "-0"},
        {"en_US", Style::Decimal, 0, 0, -1, -1, 1e20, "100,000,000,000,000,000,000"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.locale) + " " + std::to_string(r.value));
        EXPECT_EQ(run(r), r.expected);
    }
}

TEST(NumberFormatter, MaximumIntegerDigitsCutsHighDigits) {
    NumberFormatter f(Style::Decimal, Locale::withIdentifier("en_US"));
    f.setMaximumFractionDigits(0);
    f.setMaximumIntegerDigits(2);
    EXPECT_EQ(f.format(1234.0), "34");
    f.setMaximumIntegerDigits(NumberFormatter::Unlimited);
    EXPECT_EQ(f.format(1234.0), "1,234");
}

TEST(NumberFormatter, IntegersFormatExactlyBeyondDoublePrecision) {
    NumberFormatter f(Style::Decimal, Locale::withIdentifier("en_US"));
    f.setUsesGrouping(false);
    EXPECT_EQ(f.format(std::int64_t{9007199254740993}), "9007199254740993");
    EXPECT_EQ(f.format(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(NumberFormatter, FractionLimitsStayOrderedAndClamped) {
    NumberFormatter f(Style::Decimal, Locale::withIdentifier("en_US"));
    EXPECT_EQ(f.minimumFractionDigits(), 0);
    EXPECT_EQ(f.maximumFractionDigits(), 3);
    f.setMinimumFractionDigits(5);
    EXPECT_EQ(f.maximumFractionDigits(), 5);
    f.setMaximumFractionDigits(1);
    EXPECT_EQ(f.minimumFractionDigits(), 1);
    f.setMaximumFractionDigits(100000);
    EXPECT_EQ(f.maximumFractionDigits(), NumberFormatter::MaxDigits);
    f.setMinimumIntegerDigits(-4);
    EXPECT_EQ(f.minimumIntegerDigits(), 0);
    f.setMinimumIntegerDigits(5000);
    EXPECT_EQ(f.format(1.0).size(), NumberFormatter::MaxDigits + 1u + NumberFormatter::MaxDigits / 3);
    // Changing the style starts from that style's defaults again.
    f.setStyle(Style::Currency);
    EXPECT_EQ(f.minimumFractionDigits(), 2);
    EXPECT_EQ(f.format(3.0), "$3.00");
}

TEST(NumberFormatter, ReconfiguringBackAndForthNeverMixesSettings) {
    NumberFormatter f(Style::Decimal, Locale::withIdentifier("en_US"));
    NumberFormatter copy = f;
    for (int round = 0; round < 3; ++round) {
        f.setMinimumFractionDigits(2);
        f.setMaximumFractionDigits(2);
        EXPECT_EQ(f.format(1234.5), "1,234.50");
        f.setLocale(Locale::withIdentifier("de_DE"));
        EXPECT_EQ(f.format(1234.5), "1.234,50");
        f.setStyle(Style::Percent);
        EXPECT_EQ(f.format(0.5), "50\u00A0%");
        f.setStyle(Style::Decimal);
        f.setLocale(Locale::withIdentifier("en_US"));
        EXPECT_EQ(f.format(1234.5), "1,234.5");
    }
    EXPECT_EQ(copy.format(2.0), "2");
}

TEST(NumberFormatter, ParseReadsTheWholeTrimmedTextInTheStyleAndLocale) {
    struct Case {
        const char* locale;
        Style style;
        int grouping;  // -1: the style's default
        const char* text;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"en_US", Style::Decimal, -1, "12", 12},
        {"en_US", Style::Decimal, -1, "1,234.5", 1234.5},
        {"en_US", Style::Decimal, -1, "  -0.25\t", -0.25},
        {"en_US", Style::Decimal, -1, "\u00A0" "7\u202F", 7},
        {"en_US", Style::Decimal, -1, "12abc", std::nullopt},
        {"en_US", Style::Decimal, -1, "abc", std::nullopt},
        {"en_US", Style::Decimal, -1, "1 2", std::nullopt},
        {"en_US", Style::Decimal, -1, "", std::nullopt},
        {"en_US", Style::Decimal, -1, "   ", std::nullopt},
        {"en_US", Style::Decimal, 0, "1,234", std::nullopt},
        {"de_DE", Style::Decimal, -1, "1234,5", 1234.5},
        {"de_DE", Style::Decimal, -1, "1.234,5", 1234.5},
        {"en_US", Style::Percent, -1, "50%", 0.5},
        {"de_DE", Style::Percent, -1, "12,5\u00A0%", 0.125},
        {"en_US", Style::Currency, -1, "$1,234.50", 1234.5},
        {"de_DE", Style::Currency, -1, "1.234,50\u00A0\u20AC", 1234.5},
        {"en_US", Style::Scientific, -1, "1.5E3", 1500},
        {"en_US", Style::Decimal, -1, "1e3", std::nullopt},
        {"en_US", Style::Decimal, -1, "1.5E3", std::nullopt},
        {"de_DE", Style::Currency, -1, "1E3 €", std::nullopt},
        {"en_US", Style::Decimal, -1, "\xFF" "12", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " \"" + c.text + "\"");
        NumberFormatter f(c.style, Locale::withIdentifier(c.locale));
        if (c.grouping >= 0) f.setUsesGrouping(c.grouping != 0);
        EXPECT_EQ(f.parse(c.text), c.expected);
    }
}

TEST(NumberFormatter, WhatIsFormattedParsesBackAfterAReconfiguration) {
    NumberFormatter f(Style::Decimal, Locale::withIdentifier("en_US"));
    f.setMaximumFractionDigits(6);
    EXPECT_EQ(f.parse(f.format(-98765.4321)), -98765.4321);
    // The reader follows the settings: the same text reads otherwise once the locale has changed.
    f.setLocale(Locale::withIdentifier("de_DE"));
    EXPECT_EQ(f.parse(f.format(-98765.4321)), -98765.4321);
    EXPECT_EQ(f.parse("1,5"), 1.5);
    f.setLocale(Locale::withIdentifier("en_US"));
    EXPECT_EQ(f.parse("1,5"), std::nullopt);
}
