#include "layout/AxisPositions.h"

namespace kivo::detail {

namespace {
std::size_t lowBit(std::size_t i) { return i & (~i + 1); }
}  // namespace

void AxisPositions::rebuildTree() {
    const std::size_t n = _sizes.size();
    _tree.assign(n + 1, 0);
    for (std::size_t i = 1; i <= n; ++i) {
        _tree[i] += _sizes[i - 1];
        const std::size_t parent = i + lowBit(i);
        if (parent <= n) _tree[parent] += _tree[i];
    }
}

void AxisPositions::set(std::size_t index, std::int32_t size) {
    if (index >= _sizes.size()) return;
    size = clampSize(size);
    const std::int64_t delta = static_cast<std::int64_t>(size) - _sizes[index];
    if (delta == 0) return;
    _sizes[index] = size;
    for (std::size_t i = index + 1; i < _tree.size(); i += lowBit(i)) _tree[i] += delta;
}

std::int64_t AxisPositions::prefix(std::size_t index) const {
    if (index > _sizes.size()) index = _sizes.size();
    std::int64_t sum = 0;
    for (std::size_t i = index; i > 0; i -= lowBit(i)) sum += _tree[i];
    return sum;
}

std::size_t AxisPositions::find(std::int64_t p) const {
    // Descends the tree for the longest prefix whose sum stays at or below p: the item after it is the
    // first one that reaches past p, which is the one holding p (a size-0 item never reaches past).
    const std::size_t n = _sizes.size();
    if (n == 0 || p < 0) return p < 0 && n > 0 ? 0 : n;
    std::size_t step = 1;
    while (step * 2 <= n) step *= 2;
    std::size_t at = 0;
    std::int64_t sum = 0;
    for (; step > 0; step /= 2) {
        const std::size_t next = at + step;
        if (next <= n && sum + _tree[next] <= p) {
            at = next;
            sum += _tree[next];
        }
    }
    return at;  // == n when the whole axis ends at or before p
}

}  // namespace kivo::detail
