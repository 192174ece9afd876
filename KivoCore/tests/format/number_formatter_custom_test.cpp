#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "KivoCore/KivoNumberFormatter.h"
#include "format_test_support.h"

namespace {

class CustomPatterns : public FormatTableTest {};

}  // namespace

TEST_F(CustomPatterns, WorkedExamples) {
    check({
        {0.125, "0.00", "0.12"},
        {3.14159, "00.0", "03.1"},
        {1234567, "0,", "1235"},
        {1234.5, "#,##0.00", "1,234.50"},
        {5, "#,##0.00", "5.00"},
        {1.5, "0.0#", "1.5"},
        {0.5, "#.##", ".5"},
    });
}

TEST_F(CustomPatterns, ZeroPlaceholders) {
    check({
        {-5, "0", "-5"},
        {-5.5, "0.00", "-5.50"},
        {5, ",000", "005"},
        {123456789, "0.0,,", "123456789.0"},
        {123456789, "0,,", "123"},
        {999999, "0,", "1000"},
        {500, ",", "0"},
        {1234567, ",", "1235"},
        {1234567, "0,0,", "1,235"},
        {9.7, "0", "10"},
        {99.7, "00", "100"},
        {2.5, "0", "2"},
        {3.5, "0", "4"},
        {12345, "000", "12345"},
        {5, "000", "005"},
        {std::int64_t{12345}, "0.00", "12345.00"},
        {1234567.891, "0,000.00", "1,234,567.89"},
        {0.5, ".00", "0.50"},
        {1e20, "0", "100000000000000000000"},
        // Integer digits are a minimum: a carry into a new digit is kept, never cut off.
        {9.99, "0.0", "10.0"},
        {99.96, "00.0", "100.0"},
        // A value that rounds to zero shows one zero, not two.
        {0.3, "0", "0"},
        {-0.3, "0", "-0"},
        // Grouping marks inside without a point: grouping on, zeros pad, the value's digits stay.
        {5, "0,000", "0,005"},
        {1234567, "0,000", "1,234,567"},
    });
}

TEST_F(CustomPatterns, DigitPlaceholders) {
    check({
        {0, "#", "<null>"},
        {0.001, "#.##", "<null>"},
        {0.3, "#", "<null>"},
        {2, "#.##", "2"},
        {1.257, "#.##", "1.26"},
        {1234567, "#,###", "1,234,567"},
        {-0.5, "#.##", "-0.5"},
        {10.5, "#.##", "10.5"},
        {100, "#", "100"},
        {1234, "#,", "1"},
        // Grouped patterns keep values shorter than the pattern.
        {5, "#,###", "5"},
        {5, "#,###.##", "5"},
        {0.5, "#,###.##", ".5"},
        {0, "#,###.##", "<null>"},
    });
}

TEST_F(CustomPatterns, MixedPlaceholders) {
    check({
        {5, "##.00", "5.00"},
        {1.25, "0.0#", "1.25"},
        {5, "0.0#", "5.0"},
        {1.234, "0.0#", "1.23"},
        {3, "0.##", "3"},
        {3.14159, "0.##", "3.14"},
        {1.5, "00.##", "01.5"},
        {0.5, "#0.0#", "0.5"},
        {5, "0##", "005"},
        {1234567.89, "#,##0", "1,234,568"},
        {1234567, "#0,", "1235"},
        {1234567, "#,##0,", "1235"},
        {1234567890, "#,##0,,", "1235"},
        {0.5, "#0.#0", "0.50"},
        {0.25, "0.0##", "0.25"},
        {0.5, "0.0#0#", "0.5"},
        {7, "0.0#0#", "7.0"},
    });
}

TEST_F(CustomPatterns, NotANumberAndInfinities) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    check({
        {nan, "0.00", "NaN"},
        {nan, "#.##", "NaN"},
        {inf, "#,##0.00", "\u221E"},
        {-inf, "0,", "-\u221E"},
    });
}

TEST_F(CustomPatterns, SeparatorsFollowTheLocale) {
    check({
        {1234.5, "#,##0.00", "1.234,50", "de_DE"},
        {0.5, "#.##", ",5", "de_DE"},
        {2, "#.##", "2", "de_DE"},
        {5, "#,###", "5", "de_DE"},
        {1234567, "#,###", "1.234.567", "de_DE"},
        {0.001, "#.##", "<null>", "de_DE"},
        {1234567, "0,", "1235", "de_DE"},
        {1234.5, "0,000.0", "1\u202F234,5", "fr_FR"},
        {5, "#,###.##", "5", "fr_FR"},
    });
}

TEST_F(CustomPatterns, InstanceOperationsWorkOnTheirOwnInstance) {
    KivoNumberFormatter f;
    EXPECT_EQ(show(f.toStringUseZeroPlaceHolderWithNumber(3.14159, "0.00", "en_US")), "3.14");
    EXPECT_EQ(show(f.toStringUseDigitPlaceHolderWithNumber(0, "#", "en_US")), "<null>");
    EXPECT_EQ(show(f.toStringUseZeroAndDigitPlaceHolderWithNumber(1234.5, "#,##0.0#", "en_US")), "1,234.5");
    EXPECT_EQ(show(f.toStringUseZeroPlaceHolderWithNumber(plat::Value("x"), "0", "en_US")), "<null>");
}
