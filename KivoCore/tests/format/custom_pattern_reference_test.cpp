// The formatter reads a custom pattern once into a plan; this checks the plan against a literal,
// string-by-string reading of the pattern steps (count the value's digits in its plain text, reduce
// the pattern, format with those digit counts), over random patterns and values.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "KivoCore/KivoNumberFormatter.h"
#include "Platform/foundation/locale/number_formatter.h"
#include "Platform/foundation/locale/regex.h"
#include "format/format_test_support.h"

namespace {

struct Digits {
    long integer, fraction;
    bool plain;  // false when the plain text has an exponent: the steps do not count such texts
};

Digits digitsOf(double v) {
    std::string text = *KivoNumberFormatter::numberToStandardStringWithParameters(v, "r", "en_US");
    if (v < 0) text.erase(0, 1);
    size_t point = text.find('.');
    if (text.find('e') != std::string::npos) return {0, 0, false};
    return {static_cast<long>(point == std::string::npos ? text.size() : point),
            static_cast<long>(point == std::string::npos ? 0 : text.size() - point - 1), true};
}

long count(std::string_view s, char c) { return static_cast<long>(std::count(s.begin(), s.end(), c)); }

// The zero-placeholder steps, literally; integer digits as a minimum.
std::optional<std::string> referenceZeros(double v, std::string p, const plat::Locale& locale, bool forceGrouping) {
    if (p.size() > 1 && p[0] == ',') p.erase(0, p.find_first_not_of(','));
    Digits own = digitsOf(v);
    if (!own.plain) return std::nullopt;
    long n, f = 0;
    bool grouping;
    const auto len = static_cast<long>(p.size());
    size_t point = p.find('.');
    if (point == std::string::npos && count(p, ',') == 0) {
        n = std::max(len, own.integer);
        grouping = false;
    } else if (point == std::string::npos && p.back() == ',') {
        std::string t = p;
        long trimmed = 0;
        while (!t.empty() && t.back() == ',') t.pop_back(), ++trimmed;
        while (!t.empty() && t.front() == ',') t.erase(0, 1), ++trimmed;
        for (long i = 0; i < trimmed; ++i) v /= 1000;
        grouping = count(t, ',') > 0;
        n = std::max(own.integer - 3 * trimmed, static_cast<long>(t.size()) - (grouping ? 1 : 0));
        if (n < 1) n = 0;
    } else if (point == std::string::npos) {
        n = std::max(len - 1, own.integer);
        grouping = true;
    } else {
        std::string before = p.substr(0, point), after = p.substr(point + 1);
        after = after.substr(0, after.find('.'));
        grouping = count(before, ',') > 0;
        n = std::max(static_cast<long>(before.size()) - (grouping ? 1 : 0), own.integer);
        f = static_cast<long>(after.size());
        while (!after.empty() && after.back() == ',') after.pop_back(), --f;
    }
    plat::NumberFormatter formatter(plat::NumberFormatter::Style::Decimal, locale);
    formatter.setMinimumIntegerDigits(static_cast<int>(n));
    formatter.setMinimumFractionDigits(static_cast<int>(f));
    formatter.setMaximumFractionDigits(static_cast<int>(f));
    formatter.setUsesGrouping(grouping || forceGrouping);
    return formatter.format(v);
}

// The mixed-placeholder steps, literally: reduce the pattern for this value, then the zero steps.
std::optional<std::string> referenceMixed(double v, const std::string& pattern, const plat::Locale& locale) {
    size_t point = pattern.find('.');
    std::string before = pattern.substr(0, point);
    for (size_t i = before.size(); i > 0 && before[i - 1] == ','; --i) v /= 1000;
    std::string q = pattern;
    q.erase(std::remove(q.begin(), q.end(), ','), q.end());
    Digits own = digitsOf(v);
    if (!own.plain) return std::nullopt;
    size_t qPoint = q.find('.');
    std::string qi = q.substr(0, qPoint);
    if (static_cast<long>(qi.size()) > own.integer) {
        size_t z = qi.find('0');
        qi = z == std::string::npos ? "" : qi.substr(z);
        std::replace(qi.begin(), qi.end(), '#', '0');
    }
    std::string reduced = qi;
    if (qPoint != std::string::npos) {
        std::string qf = q.substr(qPoint + 1);
        qf = qf.substr(0, qf.find('.'));
        const auto flen = static_cast<long>(qf.size());
        long digits;
        if (qf.find('0') == std::string::npos)
            digits = std::min(flen, own.fraction);
        else if (qf.back() == '0')
            digits = flen;
        else if (flen <= own.fraction)
            digits = flen;
        else if (own.fraction == 0)
            digits = static_cast<long>(qf.find('#'));
        else
            digits = own.fraction;
        reduced += "." + std::string(static_cast<size_t>(digits), '0');
    }
    bool grouping = count(before, ',') > 0 && before.size() >= 3 && before.front() != ',' && before.back() != ',';
    return referenceZeros(v, reduced, locale, grouping);
}

}  // namespace

class CustomPatternReference : public PinnedLocaleTest {};

TEST_F(CustomPatternReference, PlansAgreeWithTheLiteralSteps) {
    plat::RegularExpression zerosOnly("0*[,.]?0*[,.]?0*,*"), mixed("[0#]*[,.]?[0#]*[,.]?[0#]*,*");
    const char* pieces[] = {"0", "0", "#", "#", ",", "."};
    const char* locales[] = {"en_US", "de_DE"};
    std::mt19937_64 rng(99);
    std::uniform_real_distribution<double> mantissa(1, 10);
    KivoNumberFormatter formatter;
    int compared = 0;
    for (int i = 0; i < 6000; ++i) {
        std::string pattern;
        for (size_t k = rng() % 9; k > 0; --k) pattern += pieces[rng() % std::size(pieces)];
        double v = mantissa(rng) * std::pow(10.0, static_cast<double>(static_cast<int>(rng() % 14) - 3));
        v = std::round(v * 1e4) / 1e4;  // short fractions as well as long ones
        if (rng() % 2) v = -v;
        const char* id = locales[rng() % 2];
        auto locale = plat::Locale::withIdentifier(id);
        SCOPED_TRACE("pattern '" + pattern + "' value " + std::to_string(v) + " " + id);
        std::optional<std::string> expected, actual;
        if (zerosOnly.matchesWhole(pattern)) {
            expected = referenceZeros(v, pattern, locale, false);
            actual = formatter.toStringUseZeroPlaceHolderWithNumber(v, pattern, id);
        } else if (mixed.matchesWhole(pattern) && pattern.find('0') != std::string::npos &&
                   pattern.find('#') != std::string::npos) {
            expected = referenceMixed(v, pattern, locale);
            actual = formatter.toStringUseZeroAndDigitPlaceHolderWithNumber(v, pattern, id);
        } else {
            continue;
        }
        if (!expected) continue;  // the value's plain text has an exponent
        ++compared;
        EXPECT_EQ(show(actual), show(expected));
    }
    EXPECT_GT(compared, 2000);
}
