#include "format/KivoCustomPattern.h"

#include <algorithm>
#include <string>

#include "Platform/foundation/locale/number_formatter.h"

namespace kivo::detail {
namespace {

constexpr double ScaleStep = 1000;
constexpr std::size_t MaxScaleSteps = 400;  // 1000^400 leaves nothing of any double

std::size_t countTrailing(std::string_view s, char c) {
    std::size_t n = 0;
    while (n < s.size() && s[s.size() - 1 - n] == c) ++n;
    return n;
}

std::size_t countLeading(std::string_view s, char c) {
    std::size_t n = 0;
    while (n < s.size() && s[n] == c) ++n;
    return n;
}

bool contains(std::string_view s, char c) { return s.find(c) != std::string_view::npos; }

int digitCount(std::size_t n) { return static_cast<int>(std::min<std::size_t>(n, plat::NumberFormatter::MaxDigits)); }

}  // namespace

CustomPattern CustomPattern::zeros(std::string_view p) {
    CustomPattern plan;
    // Leading commas mean nothing (',000' is '000'); a lone ',' still scales.
    if (p.size() > 1 && p[0] == ',') p.remove_prefix(countLeading(p, ','));
    const std::size_t point = p.find('.');
    const bool hasComma = contains(p, ',');
    std::size_t positions;  // every character counts as one digit position, but for one grouping mark
    if (point == std::string_view::npos && !hasComma) {
        positions = p.size();
    } else if (point == std::string_view::npos && p.back() == ',') {
        // Commas at the end scale by 1000 each; one left inside groups.
        std::string_view kept = p;
        std::size_t trimmed = countTrailing(kept, ',');
        kept.remove_suffix(trimmed);
        std::size_t leading = countLeading(kept, ',');
        kept.remove_prefix(leading);
        plan.scaleSteps = trimmed + leading;
        plan.grouping = contains(kept, ',');
        positions = kept.size() - (plan.grouping ? 1 : 0);
    } else if (point == std::string_view::npos) {
        // Grouping marks inside only ('0,000'): the zeros pad short values ('0,005').
        plan.grouping = true;
        positions = p.size() - 1;
    } else {
        std::string_view before = p.substr(0, point);
        std::string_view after = p.substr(point + 1);
        after = after.substr(0, after.find('.'));
        plan.grouping = contains(before, ',');
        positions = before.size() - (plan.grouping ? 1 : 0);
        // Commas after the point only shorten the fraction; they do not scale.
        plan.fraction = digitCount(after.size() - countTrailing(after, ','));
    }
    plan.minInteger = std::max(digitCount(positions), 1);
    return plan;
}

CustomPattern CustomPattern::mixed(std::string_view pattern) {
    CustomPattern plan;
    const std::size_t point = pattern.find('.');
    const std::string_view before = pattern.substr(0, point);
    plan.scaleSteps = countTrailing(before, ',');
    plan.grouping = contains(before, ',') && before.size() >= 3 && before.front() != ',' && before.back() != ',';

    std::string q(pattern);
    q.erase(std::remove(q.begin(), q.end(), ','), q.end());
    const std::size_t qPoint = q.find('.');
    // Integer places: "#" places before the first "0" show only the value's own digits.
    const std::string_view integer = std::string_view(q).substr(0, qPoint);
    const std::size_t firstZero = integer.find('0');
    plan.minInteger = std::max(digitCount(firstZero == std::string_view::npos ? 0 : integer.size() - firstZero), 1);

    if (qPoint != std::string::npos) {
        std::string_view f = std::string_view(q).substr(qPoint + 1);
        f = f.substr(0, f.find('.'));
        plan.fraction = digitCount(f.size());
        if (!contains(f, '0')) {
            plan.rule = Fraction::UpToOwn;
        } else if (f.back() != '0') {
            plan.rule = Fraction::ZerosThenOwn;
            plan.leadingZeroPlaces = digitCount(f.find('#'));
        }
    }
    return plan;
}

PlainNumber CustomPattern::scaled(const PlainNumber& n) const {
    if (scaleSteps == 0) return n;
    double v = n.value;
    for (std::size_t i = 0; i < std::min(scaleSteps, MaxScaleSteps); ++i) v /= ScaleStep;
    return PlainNumber::of(v);
}

int CustomPattern::fractionDigits(const PlainNumber& scaledValue) const {
    switch (rule) {
        case Fraction::Fixed:
            return fraction;
        case Fraction::UpToOwn:
            return std::min(fraction, scaledValue.fractionDigits());
        case Fraction::ZerosThenOwn: {
            int own = scaledValue.fractionDigits();
            return own >= fraction ? fraction : own == 0 ? leadingZeroPlaces : own;
        }
    }
    return fraction;
}

}  // namespace kivo::detail
