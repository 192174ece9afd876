#include "KivoCore/KivoAggregate.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

#include "KivoCore/KivoPropertyReader.h"

namespace {

// The number a string starts with, as the platform's strings answer a double value: leading white
// space skipped, an optional sign, then digits with an optional fraction and exponent. A string that
// does not start so ("n/a", "pear", "", "nan", "inf") has none, and neither has one whose number lies
// beyond a double's range.
std::optional<double> leadingNumber(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r')) ++i;
    size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    auto digit = [&](size_t at) { return at < s.size() && s[at] >= '0' && s[at] <= '9'; };
    if (!digit(i) && !(i < s.size() && s[i] == '.' && digit(i + 1))) return std::nullopt;
    if (s[start] == '+') ++start;  // the parser takes no plus sign
    double v = 0;
    auto [ptr, ec] = std::from_chars(s.data() + start, s.data() + s.size(), v, std::chars_format::general);
    if (ec != std::errc() || ptr == s.data() + start) return std::nullopt;
    return v;
}

// Running statistics: a compensated sum, and Welford's mean and squared deviations, which stay exact
// where "sum of squares / n - mean squared" cancels to nonsense (large values close together).
struct Accumulator {
    std::int64_t count = 0;  // values read
    std::int64_t n = 0;      // numeric values
    double sum = 0, compensation = 0;
    double mean = 0, m2 = 0;
    double maximum = 0, minimum = 0;

    void addNumber(double v) {
        ++n;
        double t = sum + v;  // Neumaier's compensated summation
        compensation += std::fabs(sum) >= std::fabs(v) ? (sum - t) + v : (v - t) + sum;
        sum = t;
        double delta = v - mean;
        mean += delta / static_cast<double>(n);
        m2 += delta * (v - mean);
        if (n == 1) {
            maximum = minimum = v;
        } else {
            if (v > maximum) maximum = v;
            if (v < minimum) minimum = v;
        }
    }

    void add(const plat::Value& value) {
        if (value.isNil() || value.isNull()) return;
        ++count;
        std::optional<double> number;
        if (value.isNumber())
            number = value.asDouble();
        else if (value.isString())
            number = leadingNumber(value.asString());
        if (number) addNumber(*number);
    }

    double total() const { return sum + compensation; }
    double variance(bool sample) const {
        if (n < 2) return 0;
        double v = m2 / static_cast<double>(sample ? n - 1 : n);
        return v > 0 ? v : 0;
    }
};

}  // namespace

double KivoGetAggregate(std::int64_t aggregate, const plat::Array& items, const std::optional<std::string>& binding) {
    if (aggregate < KivoAggregateSum || aggregate > KivoAggregatePopulationVariance || !binding) return 0;
    Accumulator acc;
    // Numbers and texts come without a value built; anything else as the value.
    const KivoPropertyReader reader(*binding);
    for (const auto& item : items) {
        if (item.isNil()) continue;
        double number;
        std::string_view text;
        if (reader.readNumber(item, number)) {
            ++acc.count;
            acc.addNumber(number);
        } else if (reader.readString(item, text)) {
            ++acc.count;
            if (auto leading = leadingNumber(text)) acc.addNumber(*leading);
        } else {
            acc.add(reader.read(item));
        }
    }
    switch (aggregate) {
        case KivoAggregateSum:
            return acc.total();
        case KivoAggregateCount:
            return static_cast<double>(acc.count);
        case KivoAggregateAverage:
            return acc.n ? acc.total() / static_cast<double>(acc.n) : 0;
        case KivoAggregateMaximum:
            return acc.n ? acc.maximum : 0;
        case KivoAggregateMinimum:
            return acc.n ? acc.minimum : 0;
        case KivoAggregateRange:
            return acc.n ? acc.maximum - acc.minimum : 0;
        case KivoAggregateSampleStandardDeviation:
            return std::sqrt(acc.variance(true));
        case KivoAggregateSampleVariance:
            return acc.variance(true);
        case KivoAggregatePopulationStandardDeviation:
            return std::sqrt(acc.variance(false));
        case KivoAggregatePopulationVariance:
            return acc.variance(false);
        default:
            return 0;
    }
}

double KivoGetAggregate(std::int64_t aggregate, const plat::ArrayPtr& items, const std::optional<std::string>& binding) {
    return items ? KivoGetAggregate(aggregate, *items, binding) : 0;
}
