#pragma once
// Private: a double turned into an integer type, clamped to the type's range first (converting a
// double outside it is undefined behaviour); NaN gives zero.

#include <cmath>
#include <concepts>
#include <limits>

namespace plat::detail {

template <std::integral T>
constexpr T saturatingCast(double value) {
    if (std::isnan(value)) return 0;
    // Both bounds are powers of two (or zero), so exact as doubles; every double below the upper one
    // fits the type.
    constexpr double Lowest = static_cast<double>(std::numeric_limits<T>::min());
    constexpr double PastHighest = static_cast<double>(std::numeric_limits<T>::max() / 2 + 1) * 2;
    if (value <= Lowest) return std::numeric_limits<T>::min();
    if (value >= PastHighest) return std::numeric_limits<T>::max();
    return static_cast<T>(value);
}

}  // namespace plat::detail
