#pragma once
// The setter step the chart parts share: store a value only when it differs, and say whether it did.

#include <utility>

namespace kivo::detail {

// NaN always counts as a change, as it compares unequal to itself.
template <class T, class U>
bool assign(T& field, U&& value) {
    if (field == value) return false;
    field = std::forward<U>(value);
    return true;
}

}  // namespace kivo::detail
