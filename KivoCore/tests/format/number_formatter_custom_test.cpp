#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "KivoCore/KivoNumberFormatter.h"
#include "Platform/foundation/locale/locale.h"
#include "format/format_test_support.h"

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
        {-0.5, "#.##", "-.5"},
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

TEST_F(CustomPatterns, NegativeValuesLoseTheSameZerosAsPositiveOnes) {
    check({
        {-5, "#,###", "-5"},
        {-50, "#,###", "-50"},
        {-999, "#,###", "-999"},
        {-1234567, "#,###", "-1,234,567"},
        {-5.5, "#,###.##", "-5.5"},
        {-5, "#,#", "-5"},
        {-0.3, "#,###", "<null>"},  // rounds to zero: no text, sign or not
        {-5, "#,##", "-5", "fr_FR"},
        {-5, "#,###", "-5", "de_DE"},
    });
    // In every locale a negative value reads as the locale's minus sign (with whatever direction
    // marks it carries) in front of the positive value's text.
    for (const char* id : {"en_US", "de_DE", "fr_FR", "sv_SE", "ar_EG", "he_IL", "fa_IR", "th_TH@numbers=thai"}) {
        const std::string minus = plat::Locale::withIdentifier(id).minusSign();
        for (const char* pattern : {"#,###", "#,###.##", "#,#", "#,##", "#", "#.##", "##,##0.0#", "0,000"}) {
            for (double v : {5.0, 50.0, 999.0, 5.5, 0.5, 1234567.0}) {
                SCOPED_TRACE(std::string(id) + " '" + pattern + "' " + std::to_string(v));
                auto positive = KivoNumberFormatter::numberToStringWithParameters(v, pattern, id);
                auto negative = KivoNumberFormatter::numberToStringWithParameters(-v, pattern, id);
                EXPECT_EQ(show(negative), positive ? minus + *positive : show(positive));
            }
        }
    }
}

TEST_F(CustomPatterns, LocalesWithTheirOwnDigitsTrimTheirOwnZeros) {
    check({
        {0, "#", "<null>", "ar_EG"},
        {0.001, "#.##", "<null>", "ar_EG"},
        {5, "#", "\u0665", "ar_EG"},
        {10, "#", "\u0661\u0660", "ar_EG"},
        {2, "#.##", "\u0662", "ar_EG"},
        {0.5, "#.##", "\u066B\u0665", "ar_EG"},
        {-5, "#,###", "\u061C-\u0665", "ar_EG"},
        {1234567, "#,###", "\u0661\u066C\u0662\u0663\u0664\u066C\u0665\u0666\u0667", "ar_EG"},
        {0, "#", "<null>", "th_TH@numbers=thai"},
        {10.5, "#.##", "\u0E51\u0E50.\u0E55", "th_TH@numbers=thai"},
        {5, "#,###", "\u0E55", "th_TH@numbers=thai"},
        {0, "#", "<null>", "fa_IR"},
        {-5, "#,###", "\u200E\u2212\u06F5", "fa_IR"},
    });
}

TEST_F(CustomPatterns, ValuesWhosePlainTextHasAnExponentCountTheirOwnDigits) {
    // The plain text of 1e-05 is "1e-05" and that of 1e17 "1e+17"; digits are counted on the value,
    // never on those characters: 1e-05 has five fraction digits, 1.5e17 none.
    check({
        {1e-05, "0.00", "0.00"},
        {1e-05, "#.#####", ".00001"},
        {1e-05, "0.00000##", "0.00001"},
        {1.25e-05, "0.0000###", "0.0000125"},
        {1.5e-05, "0.0#", "0.00"},
        {1e16, "#,###", "10,000,000,000,000,000"},
        {1.5e17, "0.0#", "150000000000000000.0"},
        {1e17, "0.##", "100000000000000000"},
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
