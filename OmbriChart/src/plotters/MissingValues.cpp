#include "plotters/MissingValues.h"

#include <cmath>

namespace kivo::detail {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

double finiteAt(const ValueColumn& values, std::size_t i) {
    const double d = values.values[i];
    return std::isfinite(d) ? d : NaN;
}

}  // namespace

FilledValues::FilledValues(const ValueColumn& values, std::int64_t count) : _values(values.size(), NaN) {
    const std::size_t n = values.size();
    // Backward: each item's own value, or for a missing one the next valid value up to `count`.
    double next = NaN;
    for (std::size_t k = n; k-- > 0;) {
        const double v = finiteAt(values, k);
        _values[k] = std::isnan(v) ? next : v;
        if (!std::isnan(v) && count >= 0 && k <= static_cast<std::uint64_t>(count)) next = v;
    }
    // Forward: a missing item joins its previous valid value with the next one found above it.
    double previous = NaN;
    for (std::size_t k = 0; k < n; ++k) {
        const double v = finiteAt(values, k);
        if (!std::isnan(v)) {
            previous = v;
            continue;
        }
        const double after = _values[k];
        if (!std::isnan(previous)) _values[k] = std::isnan(after) ? previous : (previous + after) * 0.5;
    }
    _lastValid = previous;
}

double FilledValues::at(std::int64_t i) const {
    if (i < 0) return NaN;
    // Past the items nothing lies ahead: the last valid value carries on.
    if (static_cast<std::uint64_t>(i) >= _values.size()) return _lastValid;
    return _values[static_cast<std::size_t>(i)];
}

}  // namespace kivo::detail
