// The values a series draws where some are missing and the chart fills them in: each missing value
// takes the mean of the nearest valid values on both sides (the one side's value when only one side
// has one), worked out for a whole series in one sweep each way rather than in a search per gap.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "series/ValueColumn.h"

namespace kivo::detail {

class FilledValues {
public:
    // Over `values`, with the chart's getInterpolatedValue rule for `count`: the search for the next
    // valid value looks no further than index `count`, the one for the previous value runs to the start.
    FilledValues(const ValueColumn& values, std::int64_t count);

    // The number at index `i` when it is finite, else what getInterpolatedValue(values, i, count)
    // answers: NaN where neither side has a valid value (and for a negative index).
    double at(std::int64_t i) const;

private:
    std::vector<double> _values;
    double _lastValid = std::numeric_limits<double>::quiet_NaN();
};

}  // namespace kivo::detail
