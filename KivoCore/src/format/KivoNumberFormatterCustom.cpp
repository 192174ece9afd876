// Custom numeric patterns: "0" (a digit always shown), "#" (a digit shown when significant), ","
// (grouping between digit positions; scaling by 1000 at the end of the integer part) and ".".
// A pattern is read once into a plan (KivoCustomPattern.h); "#" patterns then trim what the plan made.

#include <algorithm>
#include <cctype>

#include "KivoCore/KivoNumberFormatter.h"
#include "KivoCustomPattern.h"
#include "KivoPlainNumber.h"

using kivo_format::CustomPattern;
using kivo_format::PlainNumber;
using kivo_format::withNumber;
using Style = plat::NumberFormatter::Style;

namespace {

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
    if (text.find('0') == std::string::npos) return text;
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
    text.erase(0, start);
    if (text.empty()) return std::nullopt;
    const bool hasPoint = !point.empty() && text.find(point) != std::string::npos;
    const bool zero = leadingNumberIsZero(text, point, loc.minusSign());
    if (!hasPoint && !zero) return text;
    if (zero) return std::nullopt;
    while (text.size() > 1 && text.back() == '0') text.pop_back();
    if (text.size() >= point.size() && text.compare(text.size() - point.size(), point.size(), point) == 0)
        text.erase(text.size() - point.size());
    return text;
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
