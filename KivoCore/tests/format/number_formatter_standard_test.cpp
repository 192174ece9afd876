#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "KivoCore/KivoNumberFormatter.h"
#include "format/format_test_support.h"

namespace {

const double NotANumber = std::numeric_limits<double>::quiet_NaN();
const double Infinity = std::numeric_limits<double>::infinity();

class StandardForms : public FormatTableTest {};

}  // namespace

TEST_F(StandardForms, WorkedExamples) {
    check({
        {1234.5, "N2", "1,234.50"},
        {3.14159, "F", "3.14"},
        {42, "D5", "00042"},
        {0.1234, "P1", "12.3%"},
        {12345, "E2", "1.23E4"},
        {1234.5, "G3", "1.23E3"},
        {5.678, "G2", "5.7"},
        {0.5, "G", "0.5"},
        {255, "X4", "00FF"},
        {0.1, "R", "0.1"},
    });
}

TEST_F(StandardForms, FormatterForms) {
    check({
        {1234.56, "C", "$1,234.56"},
        {1234.56, "C0", "$1,235"},
        {-1234.5, "c3", "-$1,234.500"},
        {2.5, "D", "2"},
        {2.7, "D", "3"},
        {-42.4, "d4", "-0042"},
        {1234567, "D", "1234567"},
        {12345, "E", "1.234500E4"},
        {12345, "E0", "1.2E4"},
        {12345, "e2", "1.23e4"},
        {1.5e-7, "E3", "1.500E-7"},
        {-0.00012, "e1", "-1.2e-4"},
        {1234.5, "f3", "1234.500"},
        {1234.5, "F0", "1234"},
        {1234.5, "N", "1,234.50"},
        {1235.5, "N0", "1,236"},
        {0.5, "P", "50.00%"},
        {12.5, "P0", "1250%"},
        // A letter outside the nine, or a precision of two digits, is no standard form: the plain text.
        {1234.5, "A", "1234.5"},
        {1234.5, "N10", "1234.5"},
        {1234.5, "", "1234.5"},
    });
}

TEST_F(StandardForms, RoundsHalfToEvenOnTheShortestDecimalForm) {
    check({
        {2.345, "F2", "2.34"},
        {2.355, "F2", "2.36"},
        {0.125, "N2", "0.12"},
        {0.375, "N2", "0.38"},
        {2.5, "D", "2"},
        {3.5, "D", "4"},
        {-2.5, "D", "-2"},
        {0.0125, "P1", "1.2%"},
        {1.25e5, "E1", "1.2E5"},
    });
}

TEST_F(StandardForms, GeneralFormEdges) {
    check({
        {120, "G3", "120"},
        {100000, "G", "100000."},
        {0, "G", "0.E0"},
        {19000, "G1", "1E4"},
        {19999, "G1", "2E4"},
        {1234.5, "G2", "1.2E3"},
        {1234.5, "g3", "1.23e3"},
        {1234.5, "g", "1234.5"},
        {-123.456, "G", "-123.456"},
        {1e20, "G", "1.E20"},
        {1.5e-7, "G", "1.5E-7"},
        {0.00001, "G", "1.E-5"},
        {0.00002, "G", "0.00002"},
        {1e15, "G", "1000000000000000."},
        {NotANumber, "G", "NaN"},
        {Infinity, "G", "\u221E"},
        {-Infinity, "g2", "-\u221E"},
    });
}

TEST_F(StandardForms, RoundTripTextReadsBackToTheSameNumber) {
    check({
        {0.1 + 0.2, "R", "0.30000000000000004"},
        {1e20, "R", "1E+20"},
        {1e20, "r", "1e+20"},
        {1.5e-7, "R", "1.5E-07"},
        {-0.0, "R", "-0"},
        {123, "R", "123"},
        // Sixteen characters with a point: no digit may be added, it would change the number.
        {1234567890123.45, "R", "1234567890123.45"},
        {-123456789012.34, "R", "-123456789012.34"},
        {NotANumber, "R", "nan"},
        {-Infinity, "r", "-inf"},
    });
}

TEST_F(StandardForms, HexadecimalByteWordAndBeyond) {
    check({
        {-1, "x", "ff"},
        {128, "X", "80"},
        {255, "x8", "000000ff"},
        {-200, "X", "FFFFFF38"},
        {-128, "X", "80"},
        {-129, "x", "ffffff7f"},
        {255.9, "X", "FF"},
        {-0.5, "X", "0"},
        {0, "X3", "000"},
        {2147483647, "X", "7FFFFFFF"},
        {-2147483648.0, "X", "80000000"},
        // Beyond 32 bits: the whole 64-bit two's complement, never a float-to-integer overflow.
        {1e10, "X", "2540BE400"},
        {-3e9, "X", "FFFFFFFF4D2FA200"},
        {std::numeric_limits<std::int64_t>::max(), "X", "7FFFFFFFFFFFFFFF"},
        {std::numeric_limits<std::int64_t>::min(), "x", "8000000000000000"},
        {9223372036854775808.0, "X", "9.223372036854776e+18"},
        {1e300, "X", "1e+300"},
        {NotANumber, "X", "nan"},
        {-Infinity, "x", "-inf"},
    });
}

TEST_F(StandardForms, NotANumberAndInfinitiesUseTheLocaleSymbols) {
    check({
        {NotANumber, "N2", "NaN"},
        {NotANumber, "e", "NaN"},
        {Infinity, "C", "$\u221E"},
        {-Infinity, "F", "-\u221E"},
        {Infinity, "P1", "\u221E%"},
        {-0.0, "F1", "-0.0"},
    });
}

TEST_F(StandardForms, SeparatorsAndSymbolsFollowTheLocale) {
    check({
        {1234.5, "N2", "1.234,50", "de_DE"},
        {1234.5, "C", "1.234,50\u00A0\u20AC", "de_DE"},
        {0.1234, "P1", "12,3\u00A0%", "de_DE"},
        {12345, "E2", "1,23E4", "de_DE"},
        {19000, "G1", "1E4", "de_DE"},
        {1234.5, "G3", "1,23E3", "de_DE"},
        {100000, "G", "100000,", "de_DE"},
        {3.14159, "F", "3,14", "de_DE"},
        {1234.5, "N2", "1\u202F234,50", "fr_FR"},
        // Locale-free forms.
        {0.5, "R", "0.5", "de_DE"},
        {255, "X", "FF", "de_DE"},
    });
}

TEST_F(StandardForms, GeneralFormReadsTheLocalesDigitsAndExponentMark) {
    check({
        {0.5, "G", "\u0660\u066B\u0665", "ar_EG"},
        {100000, "G", "\u0661\u0660\u0660\u0660\u0660\u0660\u066B", "ar_EG"},
        {0, "G", "\u0660\u066B\u0627\u0633\u0660", "ar_EG"},
        {19000, "G1", "\u0661\u0627\u0633\u0664", "ar_EG"},
        {0.5, "G", "\u0E50.\u0E55", "th_TH@numbers=thai"},
        {1e20, "G", "1,\u00D710^20", "sv_SE"},
        {19000, "G1", "1\u00D710^4", "sv_SE"},
        {2.5, "G", "2,5", "sv_SE"},
    });
    KivoNumberFormatter f;
    f.valueToGeneralStringWithParameters(1, "G", "ar_EG");
    EXPECT_EQ(f.removeZeroAfterDecimalPoint("\u0662\u066B\u0665\u0660\u0660"), "\u0662\u066B\u0665");
    EXPECT_EQ(f.removeScientificZeros("\u0661\u066B\u0665\u0660\u0627\u0633\u0663"), "\u0661\u066B\u0665\u0627\u0633\u0663");
    EXPECT_EQ(f.removeScientificZeros("1.500E3"), "1.5E3");  // ASCII texts still
}

TEST_F(StandardForms, ValueKinds) {
    check({
        {std::int64_t{9007199254740993}, "N0", "9,007,199,254,740,993"},
        {std::int64_t{9007199254740993}, "R", "9007199254740993"},
        {std::int64_t{9007199254740993}, "", "9007199254740993"},
        {true, "D3", "001"},
        {false, "", "0"},
        {1e16, "", "10000000000000000"},
        {1e17, "", "1e+17"},
        {0.0001, "", "0.0001"},
        {0.00001, "", "1e-05"},
        {100.0, "", "100"},
        {NotANumber, "", "nan"},
    });
    EXPECT_FALSE(KivoNumberFormatter::numberToStringWithParameters(plat::Value("12"), "N2").has_value());
    EXPECT_FALSE(KivoNumberFormatter::numberToStringWithParameters(plat::Value(), "N2").has_value());
    EXPECT_FALSE(KivoNumberFormatter::numberToStringWithParameters(plat::Value(plat::Date(5)), "").has_value());
}

TEST_F(StandardForms, AbsentLocaleMeansTheCurrentOne) {
    EXPECT_EQ(show(KivoNumberFormatter::numberToStringWithParameters(1234.5, "N2")), "1,234.50");
    plat::Locale::setCurrent(plat::Locale::withIdentifier("de_DE"));
    EXPECT_EQ(show(KivoNumberFormatter::numberToStringWithParameters(1234.5, "N2")), "1.234,50");
    EXPECT_EQ(show(KivoNumberFormatter::numberToStringWithParameters(1234.5, "N2", "en_US")), "1,234.50");
}

TEST_F(StandardForms, StandardEntryTakesAnyPrecision) {
    auto fmt = [](plat::Value v, const char* p) {
        return show(KivoNumberFormatter::numberToStandardStringWithParameters(v, p, "en_US"));
    };
    EXPECT_EQ(fmt(1.5, "F12"), "1.500000000000");
    EXPECT_EQ(fmt(1.5, "F-3"), "1.50");  // negative: the default
    EXPECT_EQ(fmt(1.5, "Fx"), "2");      // not a number: 0, the form's value for 0
    EXPECT_EQ(fmt(1.5, "Q2"), "1.5");    // unknown letter
    EXPECT_EQ(fmt(1.5, "F99999999999999"), fmt(1.5, "F999"));
    EXPECT_EQ(fmt(7, "X99999999999").size(), 999u);
    EXPECT_EQ(fmt(1.5, ""), "1.5");
}

TEST_F(StandardForms, ClassificationIsRememberedPerPattern) {
    auto& shared = *KivoNumberFormatter::shared();
    struct Case {
        const char* pattern;
        std::int64_t form;
    };
    for (auto [pattern, form] :
         {Case{"N2", 0}, Case{"0.0", 1}, Case{"#.#", 2}, Case{"#0.0", 3}, Case{"N10", 4}, Case{"0-0", 4}}) {
        KivoNumberFormatter::numberToStringWithParameters(1.5, pattern, "en_US");
        EXPECT_EQ(shared.getPrePattern().value_or(""), pattern);
        EXPECT_EQ(shared.getCount(), form) << pattern;
    }
    // The same unclassifiable pattern twice in a row: the plain text both times.
    std::string odd = "zz";
    EXPECT_EQ(show(KivoNumberFormatter::numberToStringWithParameters(2.25, odd, "en_US")), "2.25");
    EXPECT_EQ(show(KivoNumberFormatter::numberToStringWithParameters(2.25, odd, "en_US")), "2.25");
    // A form remembered by hand is used, with the pattern's own reading.
    KivoNumberFormatter::numberToStringWithParameters(1.5, "0.000", "en_US");
    shared.savePattern("0.0");
    shared.saveCount(KivoNumberFormatter::FormZeroPlaceholder);
    EXPECT_EQ(show(KivoNumberFormatter::numberToStringWithParameters(1.5, "0.0", "en_US")), "1.5");
    // Switching patterns and locales back and forth never carries a setting over.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(show(KivoNumberFormatter::numberToStringWithParameters(1234.5, "N2", "en_US")), "1,234.50");
        EXPECT_EQ(show(KivoNumberFormatter::numberToStringWithParameters(1234.5, "0.000", "de_DE")), "1234,500");
        EXPECT_EQ(show(KivoNumberFormatter::numberToStringWithParameters(1234.5, "D", "en_US")), "1234");
        EXPECT_EQ(show(KivoNumberFormatter::numberToStringWithParameters(1234.5, "C", "de_DE")), "1.234,50\u00A0\u20AC");
    }
}

TEST_F(StandardForms, ClassificationAgreesWithTheFormsExpressions) {
    // The classifier decides in one pass what the four regular expressions decide; compare the two
    // on short generated patterns, where the expressions are quick.
    const char* pieces[] = {"0", "#", ",", ".", ",", "0", "#", "C", "x", "9", "1", "-", "\u00E9", "E", ",,", ".."};
    auto& shared = *KivoNumberFormatter::shared();
    const auto tests = shared.getPredicteArray();
    std::mt19937_64 rng(11);
    for (int i = 0; i < 20000; ++i) {
        std::string pattern;
        for (size_t k = 1 + rng() % 8; k > 0; --k) pattern += pieces[rng() % std::size(pieces)];
        std::int64_t expected = KivoNumberFormatter::FormNone;
        for (std::int64_t form = 0; form < 4; ++form)
            if (tests[static_cast<size_t>(form)]->matchesWhole(pattern)) {
                expected = form;
                break;
            }
        KivoNumberFormatter::numberToStringWithParameters(1.5, pattern, "en_US");
        ASSERT_EQ(shared.getCount(), expected) << "pattern '" << pattern << "'";
    }
}

TEST_F(StandardForms, LongPatternsClassifyInOnePass) {
    // Patterns that fail late once took time cubic in their length (1,500 zeros and an "x": 19 s).
    const std::string zeros(200000, '0'), hashes(200000, '#');
    check({
        {1.5, (zeros + "x").c_str(), "1.5"},
        {1.5, (hashes + ",.,x").c_str(), "1.5"},
        {1.5, ("0." + zeros + ",.0").c_str(), "1.5"},
        {1.5, (hashes + ".,,,").c_str(), "2"},
        {2, ("#." + hashes + ",,").c_str(), "2"},
    });
}

TEST_F(StandardForms, ZeroStrippingHelpers) {
    KivoNumberFormatter f;
    EXPECT_EQ(f.removeScientificZeros("1.500E3"), "1.5E3");
    EXPECT_EQ(f.removeScientificZeros("1.000e-5"), "1.e-5");
    EXPECT_EQ(f.removeScientificZeros("0E0"), "0E0");
    EXPECT_EQ(f.removeScientificZeros("NaN"), "NaN");
    EXPECT_EQ(f.removeZeroAfterDecimalPoint("2.500"), "2.5");
    EXPECT_EQ(f.removeZeroAfterDecimalPoint("100.000"), "100.");
    EXPECT_EQ(f.removeZeroAfterDecimalPoint("0"), "0");
    EXPECT_EQ(f.removeZeroAfterDecimalPoint(""), "");
}

TEST_F(StandardForms, InstanceFormsTakeTheirFormFromTheMethod) {
    KivoNumberFormatter f;
    EXPECT_EQ(show(f.valueToCurrencyStringWithParameters(1234.5, "C", "de_DE")), "1.234,50\u00A0\u20AC");
    EXPECT_EQ(show(f.valueToDecimalStringWithParameters(7, "D3", "en_US")), "007");
    EXPECT_EQ(show(f.valueToExponentialStringWithParameters(12345, "e1", "en_US")), "1.2e4");
    EXPECT_EQ(show(f.valueToFixedpointStringWithParameters(2.5, "F0", "en_US")), "2");
    EXPECT_EQ(show(f.valueToGeneralStringWithParameters(1234.5, "g3", "en_US")), "1.23e3");
    EXPECT_EQ(show(f.valueToNumberStringWithParameters(1234.5, "N1", "en_US")), "1,234.5");
    EXPECT_EQ(show(f.valueToPercentStringWithParameters(0.5, "P0", "en_US")), "50%");
    EXPECT_EQ(show(f.valueToRoundtripStringWithParameters(1e-7, "r", "en_US")), "1e-07");
    EXPECT_EQ(show(f.valueToHexadecimalStringWithParameters(-1, "X2")), "FF");
    EXPECT_EQ(show(f.valueToNumberStringWithParameters(plat::Value("5"), "N1", "en_US")), "<null>");
}
