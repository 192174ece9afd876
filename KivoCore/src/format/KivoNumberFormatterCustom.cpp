// Custom numeric patterns: "0" (a digit always shown), "#" (a digit shown when significant), ","
// (grouping between digit positions; scaling by 1000 at the end of the integer part) and ".".
// The "#" and mixed forms reduce their pattern to a "0" pattern and format through it.
//
// Integer digits are a minimum, never a limit: rounding that carries into a new digit (9.99 with
// '0.0') keeps it, and a value's own digits are never cut.

#include <algorithm>
#include <cctype>

#include "KivoCore/KivoNumberFormatter.h"
#include "KivoPlainNumber.h"

using kivo_format::PlainNumber;
using Style = plat::NumberFormatter::Style;

namespace {

constexpr double kScaleStep = 1000;
constexpr size_t kMaxScaleSteps = 400;  // 1000^400 leaves nothing of any double

size_t countTrailing(std::string_view s, char c) {
    size_t n = 0;
    while (n < s.size() && s[s.size() - 1 - n] == c) ++n;
    return n;
}

size_t countLeading(std::string_view s, char c) {
    size_t n = 0;
    while (n < s.size() && s[n] == c) ++n;
    return n;
}

bool contains(std::string_view s, char c) { return s.find(c) != std::string_view::npos; }

PlainNumber scaled(const PlainNumber& n, size_t steps) {
    double v = n.value;
    for (size_t i = 0; i < std::min(steps, kMaxScaleSteps); ++i) v /= kScaleStep;
    return PlainNumber::of(v);
}

int digitCount(std::int64_t n) { return static_cast<int>(std::clamp<std::int64_t>(n, 0, plat::NumberFormatter::MaxDigits)); }

bool startsWith(std::string_view s, size_t at, std::string_view part) {
    return !part.empty() && s.size() - at >= part.size() && s.compare(at, part.size(), part) == 0;
}

// Whether the number at the start of the text (a sign, digits and one decimal mark) reads as zero.
bool leadingNumberIsZero(std::string_view text, std::string_view point, std::string_view minus) {
    size_t i = 0;
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        i = 1;
    else if (startsWith(text, 0, minus))
        i = minus.size();
    bool seenPoint = false;
    while (i < text.size()) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) {
            if (text[i] != '0') return false;
            ++i;
        } else if (!seenPoint && startsWith(text, i, point)) {
            seenPoint = true;
            i += point.size();
        } else {
            break;
        }
    }
    return true;
}

}  // namespace

KivoNumberFormatter::Text KivoNumberFormatter::toStringUseZeroPlaceHolderWithNumber(const plat::Value& number,
                                                                                    std::string_view pattern,
                                                                                    std::string_view locale) {
    auto n = PlainNumber::from(number);
    if (!n) return std::nullopt;
    return zeroPlaceholder(*n, pattern, locale, false);
}

KivoNumberFormatter::Text KivoNumberFormatter::toStringUseDigitPlaceHolderWithNumber(const plat::Value& number,
                                                                                     std::string_view pattern,
                                                                                     std::string_view locale) {
    auto n = PlainNumber::from(number);
    if (!n) return std::nullopt;
    return digitPlaceholder(*n, pattern, locale);
}

KivoNumberFormatter::Text KivoNumberFormatter::toStringUseZeroAndDigitPlaceHolderWithNumber(const plat::Value& number,
                                                                                            std::string_view pattern,
                                                                                            std::string_view locale) {
    auto n = PlainNumber::from(number);
    if (!n) return std::nullopt;
    return mixedPlaceholder(*n, pattern, locale);
}

std::string KivoNumberFormatter::zeroPlaceholder(const Number& number, std::string_view pattern, std::string_view locale,
                                                 bool forceGrouping) {
    resetNSNumberFormatter();
    if (pattern.size() > 1 && pattern[0] == ',') pattern.remove_prefix(countLeading(pattern, ','));

    // Every character of the pattern counts as one digit position.
    const auto len = static_cast<std::int64_t>(pattern.size());
    const std::int64_t ownDigits = number.integerDigits();
    const size_t point = pattern.find('.');
    const bool hasComma = contains(pattern, ',');
    PlainNumber value = number;
    std::int64_t integerDigits;
    std::int64_t fractionDigits = 0;
    bool grouping;

    if (point == std::string_view::npos && !hasComma) {
        integerDigits = std::max(len, ownDigits);
        grouping = false;
    } else if (point == std::string_view::npos && pattern.back() == ',') {
        // Commas at the end scale by 1000 each; one left inside groups.
        std::string_view kept = pattern;
        size_t trimmed = countTrailing(kept, ',');
        kept.remove_suffix(trimmed);
        size_t leading = countLeading(kept, ',');
        kept.remove_prefix(leading);
        trimmed += leading;
        value = scaled(number, trimmed);
        const auto positions = static_cast<std::int64_t>(kept.size()) - (contains(kept, ',') ? 1 : 0);
        integerDigits = std::max(ownDigits - 3 * static_cast<std::int64_t>(trimmed), positions);
        grouping = contains(kept, ',');
    } else if (point == std::string_view::npos) {
        // Commas inside only ('0,000'): grouping, and the zeros pad short values ('0,005').
        integerDigits = std::max(len - 1, ownDigits);
        grouping = true;
    } else {
        std::string_view before = pattern.substr(0, point);
        std::string_view after = pattern.substr(point + 1);
        after = after.substr(0, after.find('.'));
        const bool groups = contains(before, ',');
        integerDigits = std::max(static_cast<std::int64_t>(before.size()) - (groups ? 1 : 0), ownDigits);
        grouping = groups;
        // Commas after the point only shorten the fraction; they do not scale.
        fractionDigits = static_cast<std::int64_t>(after.size() - countTrailing(after, ','));
    }
    const int fraction = digitCount(fractionDigits);
    return formatWith(value, Style::Decimal, fraction, fraction, grouping || forceGrouping ? Grouping::On : Grouping::Off,
                      digitCount(integerDigits), locale);
}

KivoNumberFormatter::Text KivoNumberFormatter::digitPlaceholder(const Number& number, std::string_view pattern,
                                                                std::string_view locale) {
    std::string zeros(pattern);
    std::replace(zeros.begin(), zeros.end(), '#', '0');
    std::string text = zeroPlaceholder(number, zeros, locale, false);
    if (!contains(text, '0')) return text;

    const plat::Locale& loc = _formatter.locale();
    const std::string& point = loc.decimalSeparator();
    // Leading zeros go, and with them the grouping marks between them ('0,005' -> '5'), so that a
    // grouped pattern does not lose the value.
    size_t start = 0;
    while (start < text.size()) {
        if (text[start] == '0')
            ++start;
        else if (start > 0 && startsWith(text, start, loc.groupingSeparator()))
            start += loc.groupingSeparator().size();
        else
            break;
    }
    std::string rest = text.substr(start);
    if (rest.empty()) return std::nullopt;
    const bool hasPoint = !point.empty() && rest.find(point) != std::string::npos;
    const bool zero = leadingNumberIsZero(rest, point, loc.minusSign());
    if (!hasPoint && !zero) return rest;
    if (zero) return std::nullopt;
    while (rest.size() > 1 && rest.back() == '0') rest.pop_back();
    if (rest.size() >= point.size() && rest.compare(rest.size() - point.size(), point.size(), point) == 0)
        rest.erase(rest.size() - point.size());
    return rest;
}

std::string KivoNumberFormatter::mixedPlaceholder(const Number& number, std::string_view pattern, std::string_view locale) {
    const size_t point = pattern.find('.');
    const std::string_view before = pattern.substr(0, point);
    const size_t scaleSteps = countTrailing(before, ',');
    const PlainNumber value = scaleSteps ? scaled(number, scaleSteps) : number;

    std::string q(pattern);
    q.erase(std::remove(q.begin(), q.end(), ','), q.end());
    const auto ownInteger = static_cast<size_t>(value.integerDigits());
    const auto ownFraction = static_cast<size_t>(value.fractionDigits());
    const size_t qPoint = q.find('.');

    // Integer part: optional leading digits beyond the value's own are dropped, the rest shown.
    std::string integerPart = q.substr(0, qPoint);
    if (integerPart.size() > ownInteger) {
        size_t firstZero = integerPart.find('0');
        integerPart = firstZero == std::string::npos ? std::string() : integerPart.substr(firstZero);
        std::replace(integerPart.begin(), integerPart.end(), '#', '0');
    }
    std::string reduced = integerPart;

    // Fraction part: as many digits as the pattern's zeros demand and the value has, within the pattern.
    if (qPoint != std::string::npos) {
        std::string_view f = std::string_view(q).substr(qPoint + 1);
        f = f.substr(0, f.find('.'));
        size_t digits;
        if (!contains(f, '0'))
            digits = std::min(f.size(), ownFraction);
        else if (f.back() == '0' || f.size() <= ownFraction)
            digits = f.size();
        else if (ownFraction == 0)
            digits = f.find('#');
        else
            digits = ownFraction;
        reduced += '.';
        reduced.append(digits, '0');
    }

    const bool grouping = contains(before, ',') && before.size() >= 3 && before.front() != ',' && before.back() != ',';
    return zeroPlaceholder(value, reduced, locale, grouping);
}
