#pragma once
// The chart's way into its axes: the limits update that hands an axis the chart's own X values (boxed
// only when the axis is asked for them), and a value by index read as a number.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "OmbriChart/KivoAxis.h"
#include "data/XValueList.h"

namespace kivo::detail {

class AxisInternals {
public:
    // KivoAxis::updateActualLimits with the chart's X values (null for none) as the values by index.
    static void updateLimits(KivoAxis& axis, std::int64_t dataType, double dataMin, double dataMax,
                             const std::vector<std::string>& labels, XListPtr values);
    // The value at `index` of the last limits update as a number (NaN for one that is none); false past
    // the end or without values.
    static bool indexValue(const KivoAxis& axis, std::size_t index, double& value);
};

}  // namespace kivo::detail
