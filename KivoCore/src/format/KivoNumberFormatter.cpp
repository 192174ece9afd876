// The shared instance, pattern classification and the standard forms (C D E F G N P R X).
// Custom patterns live in KivoNumberFormatterCustom.cpp.

#include "KivoCore/KivoNumberFormatter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "format/KivoCustomPattern.h"
#include "format/KivoNumberText.h"
#include "format/KivoPlainNumber.h"

using kivo::detail::NumberText;
using kivo::detail::PlainNumber;
using kivo::detail::withNumber;
using Style = plat::NumberFormatter::Style;

// The precision of a standard form: the integer after the letter, when there is anything after it.
struct KivoNumberFormatter::Precision {
    bool present = false;
    std::int64_t value = 0;

    // The precision written after a pattern's letter.
    static Precision of(std::string_view pattern) { return parse(pattern.substr(std::min<size_t>(1, pattern.size()))); }

    static Precision parse(std::string_view rest) {
        Precision p;
        p.present = !rest.empty();
        size_t i = 0;
        while (i < rest.size() && std::isspace(static_cast<unsigned char>(rest[i]))) ++i;
        bool negative = i < rest.size() && rest[i] == '-';
        if (i < rest.size() && (rest[i] == '-' || rest[i] == '+')) ++i;
        for (; i < rest.size() && std::isdigit(static_cast<unsigned char>(rest[i])); ++i)
            p.value = std::min<std::int64_t>(p.value * 10 + (rest[i] - '0'), 1'000'000'000);
        if (negative) p.value = -p.value;
        return p;
    }

    // A positive precision as given; a written 0 takes the form's special value; otherwise the default.
    int digits(int byDefault, int forZero) const {
        if (present && value > 0) return static_cast<int>(std::min<std::int64_t>(value, plat::NumberFormatter::MaxDigits));
        if (present && value == 0) return forZero;
        return byDefault;
    }
};

namespace {

constexpr int DefaultFixedDigits = 2;
constexpr int DefaultExponentDigits = 6;
constexpr int GeneralPrecision = 15;

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// "[A-Za-z]{1}[0-9]?"
bool isStandardPattern(std::string_view p) {
    return (p.size() == 1 || p.size() == 2) && isAsciiLetter(p[0]) && (p.size() == 1 || isAsciiDigit(p[1]));
}

// "P*[,.]?P*[,.]?P*,*" for the placeholders P allowed: placeholders and marks only, and at most two
// marks once the commas at the end are set aside (setting aside all of them leaves the fewest).
bool isPlaceholderPattern(std::string_view p, bool zeros, bool hashes) {
    size_t end = p.size();
    while (end > 0 && p[end - 1] == ',') --end;
    int marks = 0;
    for (size_t i = 0; i < end; ++i) {
        const char c = p[i];
        if (c == ',' || c == '.') {
            if (++marks > 2) return false;
        } else if (!((zeros && c == '0') || (hashes && c == '#'))) {
            return false;
        }
    }
    return true;
}

}  // namespace

KivoNumberFormatter::KivoNumberFormatter()
    : _formatter(Style::Decimal, plat::Locale::current()),
      _predicate0("[A-Za-z]{1}[0-9]?"),
      _predicate1("0*[,.]?0*[,.]?0*,*"),
      _predicate2("#*[,.]?#*[,.]?#*,*"),
      _predicate3("[0#]*[,.]?[0#]*[,.]?[0#]*,*") {}

KivoNumberFormatter::~KivoNumberFormatter() = default;

std::shared_ptr<KivoNumberFormatter> KivoNumberFormatter::shared() {
    static const auto instance = std::make_shared<KivoNumberFormatter>();  // never released
    return instance;
}

KivoNumberFormatter& KivoNumberFormatter::instance() {
    static KivoNumberFormatter& self = *shared();  // no reference counting on every call
    return self;
}

KivoNumberFormatter::Text KivoNumberFormatter::numberToStringWithParameters(const plat::Value& number, std::string_view pattern) {
    return numberToStringWithParameters(number, pattern, {});
}

KivoNumberFormatter::Text KivoNumberFormatter::numberToStringWithParameters(const plat::Value& number, std::string_view pattern,
                                                                            std::string_view locale) {
    auto& self = instance();
    std::lock_guard lock(self._mutex);
    return self.dispatch(number, pattern, locale);
}

KivoNumberFormatter::Text KivoNumberFormatter::numberToStandardStringWithParameters(const plat::Value& number,
                                                                                    std::string_view pattern,
                                                                                    std::string_view locale) {
    auto& self = instance();
    std::lock_guard lock(self._mutex);
    return self.standard(number, pattern, locale);
}

std::int64_t KivoNumberFormatter::classify(std::string_view pattern) const {
    // The four tests decide in one pass over the pattern what the regular expressions decide: they
    // would backtrack, in cubic time, on a long pattern that fails late ('000...0x'), and all other
    // threads wait for the shared instance meanwhile.
    if (isStandardPattern(pattern)) return FormStandard;
    if (isPlaceholderPattern(pattern, true, false)) return FormZeroPlaceholder;
    if (isPlaceholderPattern(pattern, false, true)) return FormDigitPlaceholder;
    if (isPlaceholderPattern(pattern, true, true)) return FormMixedPlaceholder;
    return FormNone;
}

KivoNumberFormatter::Text KivoNumberFormatter::dispatch(const plat::Value& number, std::string_view pattern,
                                                        std::string_view locale) {
    auto n = PlainNumber::from(number);
    if (!n) return std::nullopt;
    if (pattern.empty()) return n->text();
    std::int64_t form;
    if (_savePattern && *_savePattern == pattern) {
        form = _saveCount;
    } else {
        form = classify(pattern);
        savePattern(pattern);
        saveCount(form);
        resetNSNumberFormatter();
    }
    switch (form) {
        case FormStandard:
            return standard(*n, pattern, locale);
        case FormZeroPlaceholder:
        case FormMixedPlaceholder:
            return formatPlan(*n, planFor(form, pattern), locale);
        case FormDigitPlaceholder:
            return trimDigitPlaceholders(formatPlan(*n, planFor(form, pattern), locale));
        default:
            return n->text();
    }
}

KivoNumberFormatter::Text KivoNumberFormatter::standard(const plat::Value& number, std::string_view pattern,
                                                        std::string_view locale) {
    return withNumber(number, [&](const Number& n) { return standard(n, pattern, locale); });
}

KivoNumberFormatter::Text KivoNumberFormatter::standard(const Number& n, std::string_view pattern, std::string_view locale) {
    if (pattern.empty()) return n.text();
    switch (std::tolower(static_cast<unsigned char>(pattern[0]))) {
        case 'c':
            return fractionForm(n, pattern, locale, Style::Currency, Grouping::StyleDefault);
        case 'd':
            return decimal(n, pattern, locale);
        case 'e':
            return exponential(n, pattern[0], Precision::of(pattern), locale);
        case 'f':
            return fractionForm(n, pattern, locale, Style::Decimal, Grouping::Off);
        case 'g':
            return general(n, pattern, locale);
        case 'n':
            return fractionForm(n, pattern, locale, Style::Decimal, Grouping::On);
        case 'p':
            return fractionForm(n, pattern, locale, Style::Percent, Grouping::Off);
        case 'r':
            return roundtrip(n, pattern);
        case 'x':
            return hexadecimal(n, pattern);
        default:
            return n.text();
    }
}

void KivoNumberFormatter::resetNSNumberFormatter() {
    // A fresh formatter's state, without dropping the shared ICU formatter it resolved to.
    _formatter.setStyle(Style::Decimal);
    _formatter.setLocale(plat::Locale::current());
}

const plat::Locale& KivoNumberFormatter::localeFor(std::string_view identifier) {
    if (identifier.empty()) {
        _lastLocaleIdentifier.clear();
        _lastLocale = plat::Locale::current();  // not remembered: the process default may change
    } else if (identifier != _lastLocaleIdentifier) {
        _lastLocale = plat::Locale::withIdentifier(identifier);
        _lastLocaleIdentifier = identifier;
    }
    return _lastLocale;
}

std::string KivoNumberFormatter::formatWith(const Number& n, Style style, int minFraction, int maxFraction, Grouping grouping,
                                            int minInteger, std::string_view locale) {
    // Every property is set on every call, so no formatting depends on an earlier one.
    _formatter.setStyle(style);
    _formatter.setLocale(localeFor(locale));
    _formatter.setMinimumIntegerDigits(minInteger);
    _formatter.setMinimumFractionDigits(minFraction);
    _formatter.setMaximumFractionDigits(maxFraction);
    if (grouping != Grouping::StyleDefault) _formatter.setUsesGrouping(grouping == Grouping::On);
    return n.exact ? _formatter.format(*n.exact) : _formatter.format(n.value);
}

// ---- The forms on a plat::Value --------------------------------------------------------------

KivoNumberFormatter::Text KivoNumberFormatter::valueToCurrencyStringWithParameters(const plat::Value& number,
                                                                                   std::string_view pattern,
                                                                                   std::string_view locale) {
    return withNumber(number,
                      [&](const Number& n) { return fractionForm(n, pattern, locale, Style::Currency, Grouping::StyleDefault); });
}

KivoNumberFormatter::Text KivoNumberFormatter::valueToDecimalStringWithParameters(const plat::Value& number,
                                                                                  std::string_view pattern,
                                                                                  std::string_view locale) {
    return withNumber(number, [&](const Number& n) { return decimal(n, pattern, locale); });
}

KivoNumberFormatter::Text KivoNumberFormatter::valueToExponentialStringWithParameters(const plat::Value& number,
                                                                                      std::string_view pattern,
                                                                                      std::string_view locale) {
    return withNumber(number, [&](const Number& n) {
        return exponential(n, pattern.empty() ? 'E' : pattern[0], Precision::of(pattern), locale);
    });
}

KivoNumberFormatter::Text KivoNumberFormatter::valueToFixedpointStringWithParameters(const plat::Value& number,
                                                                                     std::string_view pattern,
                                                                                     std::string_view locale) {
    return withNumber(number, [&](const Number& n) { return fractionForm(n, pattern, locale, Style::Decimal, Grouping::Off); });
}

KivoNumberFormatter::Text KivoNumberFormatter::valueToGeneralStringWithParameters(const plat::Value& number,
                                                                                  std::string_view pattern,
                                                                                  std::string_view locale) {
    return withNumber(number, [&](const Number& n) { return general(n, pattern, locale); });
}

KivoNumberFormatter::Text KivoNumberFormatter::valueToNumberStringWithParameters(const plat::Value& number,
                                                                                 std::string_view pattern,
                                                                                 std::string_view locale) {
    return withNumber(number, [&](const Number& n) { return fractionForm(n, pattern, locale, Style::Decimal, Grouping::On); });
}

KivoNumberFormatter::Text KivoNumberFormatter::valueToPercentStringWithParameters(const plat::Value& number,
                                                                                  std::string_view pattern,
                                                                                  std::string_view locale) {
    return withNumber(number, [&](const Number& n) { return fractionForm(n, pattern, locale, Style::Percent, Grouping::Off); });
}

KivoNumberFormatter::Text KivoNumberFormatter::valueToRoundtripStringWithParameters(const plat::Value& number,
                                                                                    std::string_view pattern,
                                                                                    std::string_view locale) {
    return withNumber(number, [&](const Number& n) { return roundtrip(n, pattern); });
}

KivoNumberFormatter::Text KivoNumberFormatter::valueToHexadecimalStringWithParameters(const plat::Value& number,
                                                                                      std::string_view pattern) {
    return withNumber(number, [&](const Number& n) { return hexadecimal(n, pattern); });
}

// ---- C D F N P -------------------------------------------------------------------------------

// The fixed-point forms: fraction digits from the precision (default 2; a written 0 gives none).
std::string KivoNumberFormatter::fractionForm(const Number& n, std::string_view pattern, std::string_view locale, Style style,
                                              Grouping grouping) {
    int digits = Precision::of(pattern).digits(DefaultFixedDigits, 0);
    return formatWith(n, style, digits, digits, grouping, 1, locale);
}

// An integer: the precision is the least number of digits, zeros in front.
std::string KivoNumberFormatter::decimal(const Number& n, std::string_view pattern, std::string_view locale) {
    int minInteger = Precision::of(pattern).digits(1, 1);
    return formatWith(n, Style::Decimal, 0, 0, Grouping::Off, minInteger, locale);
}

// ---- E G --------------------------------------------------------------------------------------

std::string KivoNumberFormatter::exponential(const Number& n, char letter, const Precision& p, std::string_view locale) {
    // A written 0 keeps one fraction digit at most ('E0' of 12345 gives '1.2E4').
    int minDigits = p.digits(DefaultExponentDigits, 0);
    int maxDigits = p.digits(DefaultExponentDigits, 1);
    std::string text = formatWith(n, Style::Scientific, minDigits, maxDigits, Grouping::Off, 1, locale);
    if (letter == 'e')
        if (size_t mark = text.find('E'); mark != std::string::npos) text[mark] = 'e';
    return text;
}

std::string KivoNumberFormatter::general(const Number& n, std::string_view pattern, std::string_view locale) {
    const bool upper = pattern.empty() || pattern[0] == 'G';  // 'E' or 'e' in the text
    const bool twoCharacters = pattern.size() == 2;
    const Precision p = Precision::of(pattern);
    const double x = std::fabs(n.value);

    // Digits before the point (or zeros after it, below 1); no logarithm of 0, NaN or infinity.
    std::int64_t k = 0;
    if (std::isfinite(x) && x > 0) {
        double lg = std::log10(x);
        auto whole = static_cast<std::int64_t>(std::trunc(lg));
        k = lg > 0 ? whole + 1 : -whole;
    }
    const std::int64_t q = twoCharacters ? p.value : GeneralPrecision;

    if (x <= 1e-5 || x >= 1e16 || (twoCharacters && q - k < 0)) {
        const std::int64_t precision = twoCharacters ? q - 1 : GeneralPrecision;
        const char mark = upper ? 'E' : 'e';
        std::string text = exponential(n, mark, Precision{true, precision}, locale);
        if (precision == 0) {
            // Keep the mantissa's integer part only: truncated, not rounded ('G1' of 19000 gives '1E4').
            const NumberText reader(_formatter.locale());
            const size_t at = reader.exponentMark(text).at;
            const std::string& point = reader.decimalMark();
            size_t dot = point.empty() ? std::string::npos : text.find(point);
            if (at != std::string::npos && dot != std::string::npos && dot < at) text.erase(dot, at - dot);
        }
        if (!twoCharacters) text = removeScientificZeros(text);
        return text;
    }
    const std::int64_t precision = q - k;
    const int digits = Precision{true, precision}.digits(DefaultFixedDigits, 0);
    std::string text = formatWith(n, Style::Decimal, digits, digits, Grouping::Off, 1, locale);
    return precision == 0 ? text : removeZeroAfterDecimalPoint(text);
}

std::string KivoNumberFormatter::removeScientificZeros(std::string_view text) const {
    const NumberText reader(_formatter.locale());
    const size_t mark = reader.exponentMark(text).at;
    if (mark == std::string_view::npos) return std::string(text);
    return std::string(reader.withoutTrailingZeros(text.substr(0, mark))).append(text.substr(mark));
}

std::string KivoNumberFormatter::removeZeroAfterDecimalPoint(std::string_view text) const {
    return std::string(NumberText(_formatter.locale()).withoutTrailingZeros(text));
}

// ---- R X --------------------------------------------------------------------------------------

std::string KivoNumberFormatter::roundtrip(const Number& n, std::string_view pattern) const {
    std::string text = n.text();
    if (!n.exact && std::isfinite(n.value) && std::strtod(text.c_str(), nullptr) != n.value) {
        // The plain text is the shortest that reads back; this only guards against a platform whose
        // conversion differs. Never appends digits: an appended digit would change the number.
        char buf[400];
        for (int digits = 7; digits <= 17; ++digits) {
            std::snprintf(buf, sizeof buf, "%.*f", digits, n.value);
            if (std::strtod(buf, nullptr) == n.value) break;
        }
        text = buf;
    }
    if (size_t mark = text.find('e'); mark != std::string::npos && !pattern.empty() && pattern[0] == 'R') text[mark] = 'E';
    return text;
}

std::string KivoNumberFormatter::hexadecimal(const Number& n, std::string_view pattern) const {
    std::int64_t v;
    if (n.exact) {
        v = *n.exact;
    } else if (std::isfinite(n.value) && n.value >= -9223372036854775808.0 && n.value < 9223372036854775808.0) {
        v = static_cast<std::int64_t>(n.value);  // in range: truncates toward zero
    } else {
        return n.text();  // not-a-number, infinities and values beyond 64 bits have no integer to show
    }
    std::uint64_t bits;
    if (v >= -128 && v <= 127)
        bits = static_cast<std::uint8_t>(v);
    else if (v >= INT32_MIN && v <= INT32_MAX)
        bits = static_cast<std::uint32_t>(v);
    else
        bits = static_cast<std::uint64_t>(v);
    const char* digitSet = !pattern.empty() && pattern[0] == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    char buf[16];
    int len = 0;
    do {
        buf[len++] = digitSet[bits & 0xF];
        bits >>= 4;
    } while (bits);
    int width = Precision::of(pattern).digits(0, 0);
    std::string text(static_cast<size_t>(std::max(width - len, 0)), '0');
    while (len) text += buf[--len];
    return text;
}
