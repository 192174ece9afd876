// Custom numeric patterns, made of four characters: "0" always prints a digit, "#" prints one only
// when it carries value, "." marks the decimal point, and "," does two jobs: placed among the digit
// placeholders it turns group separators on, placed after the last one it divides the value by 1000.
// A pattern is read once into a plan (KivoCustomPattern.h); "#" patterns then trim what the plan made.

#include <algorithm>

#include "KivoCore/KivoNumberFormatter.h"
#include "format/KivoCustomPattern.h"
#include "format/KivoNumberText.h"
#include "format/KivoPlainNumber.h"

using kivo::detail::CustomPattern;
using kivo::detail::NumberText;
using kivo::detail::PlainNumber;
using kivo::detail::withNumber;
using Style = plat::NumberFormatter::Style;

namespace {

std::string hashesToZeros(std::string_view pattern) {
    std::string zeros(pattern);
    std::replace(zeros.begin(), zeros.end(), '#', '0');
    return zeros;
}

}  // namespace

KivoNumberFormatter::Plan KivoNumberFormatter::readPlan(std::int64_t form, std::string_view pattern) {
    switch (form) {
        case FormDigitPlaceholder:
            return CustomPattern::zeros(hashesToZeros(pattern));
        case FormMixedPlaceholder:
            return CustomPattern::mixed(pattern);
        default:
            return CustomPattern::zeros(pattern);
    }
}

const KivoNumberFormatter::Plan& KivoNumberFormatter::planFor(std::int64_t form, std::string_view pattern) {
    if (!_plan || form != _planForm || pattern != _planPattern) {
        _plan = std::make_unique<Plan>(readPlan(form, pattern));
        _planForm = form;
        _planPattern = pattern;
    }
    return *_plan;
}

std::string KivoNumberFormatter::formatPlan(const Number& n, const Plan& plan, std::string_view locale) {
    // formatWith sets every property, so each custom formatting starts from a fresh formatter's state.
    const PlainNumber value = plan.scaled(n);
    const int fraction = plan.fractionDigits(value);
    return formatWith(value, Style::Decimal, fraction, fraction, plan.grouping ? Grouping::On : Grouping::Off, plan.minInteger,
                      locale);
}

KivoNumberFormatter::Text KivoNumberFormatter::trimDigitPlaceholders(std::string text) const {
    // The locale's own digits and marks, whatever they are; the sign (with any direction marks) stays
    // in front and the rules apply to what follows it, so -5 loses the same zeros as 5.
    const NumberText reader(_formatter.locale());
    if (!reader.hasZero(text)) return text;
    const std::string_view all(text);
    const std::size_t sign = reader.signLength(all);
    // Leading zeros go, and with them the grouping marks between them ('0,005' -> '5'), so that a
    // grouped pattern does not lose the value.
    std::size_t start = sign;
    while (start < all.size()) {
        if (NumberText::Digit d = reader.digitAt(all, start); d.value == 0)
            start += d.length;
        else if (start > sign && kivo::detail::startsWithAt(all, start, reader.groupingMark()))
            start += reader.groupingMark().size();
        else
            break;
    }
    std::string_view rest = all.substr(start);
    if (rest.empty() || reader.leadingNumberIsZero(rest)) return std::nullopt;
    const std::string& point = reader.decimalMark();
    if (!point.empty() && rest.find(point) != std::string_view::npos) {
        rest = reader.withoutTrailingZeros(rest);
        if (rest.size() > point.size() && rest.ends_with(point)) rest.remove_suffix(point.size());
    }
    return std::string(all.substr(0, sign)).append(rest);
}

KivoNumberFormatter::Text KivoNumberFormatter::toStringUseZeroPlaceHolderWithNumber(const plat::Value& number,
                                                                                    std::string_view pattern,
                                                                                    std::string_view locale) {
    return withNumber(number, [&](const Number& n) { return formatPlan(n, planFor(FormZeroPlaceholder, pattern), locale); });
}

KivoNumberFormatter::Text KivoNumberFormatter::toStringUseDigitPlaceHolderWithNumber(const plat::Value& number,
                                                                                     std::string_view pattern,
                                                                                     std::string_view locale) {
    return withNumber(number, [&](const Number& n) {
        return trimDigitPlaceholders(formatPlan(n, planFor(FormDigitPlaceholder, pattern), locale));
    });
}

KivoNumberFormatter::Text KivoNumberFormatter::toStringUseZeroAndDigitPlaceHolderWithNumber(const plat::Value& number,
                                                                                            std::string_view pattern,
                                                                                            std::string_view locale) {
    return withNumber(number, [&](const Number& n) { return formatPlan(n, planFor(FormMixedPlaceholder, pattern), locale); });
}
