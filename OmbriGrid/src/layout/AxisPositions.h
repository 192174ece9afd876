#pragma once
// The positions along one axis of the grid: each item's render size and their running sums, in a
// binary indexed tree, so that one item's new size, an item's position and the item under a
// coordinate each cost a logarithm of the item count. Sums are 64-bit: two billion-point spacers
// overflow nothing.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kivo::detail {

class AxisPositions {
public:
    // Rebuilds for `count` items, item i of size sizeOf(i), in linear time.
    template <class SizeOf>
    void assign(std::size_t count, SizeOf&& sizeOf) {
        _sizes.resize(count);
        for (std::size_t i = 0; i < count; ++i) _sizes[i] = clampSize(sizeOf(i));
        rebuildTree();
    }
    std::size_t count() const { return _sizes.size(); }
    std::int32_t sizeAt(std::size_t index) const { return index < _sizes.size() ? _sizes[index] : 0; }
    // A new size for one item.
    void set(std::size_t index, std::int32_t size);
    // The sum of the sizes of the items before `index` (all of them from count() on).
    std::int64_t prefix(std::size_t index) const;
    std::int64_t total() const { return prefix(_sizes.size()); }
    // The first item whose extent [start, start + size) holds p, or count() when none does (p past
    // the end, or no sized item at all). Items of size 0 hold nothing.
    std::size_t find(std::int64_t p) const;
    // Memory held, for the benchmarks.
    std::size_t bytes() const { return _sizes.capacity() * sizeof(std::int32_t) + _tree.capacity() * sizeof(std::int64_t); }

private:
    // Sizes are never negative: a negative one would move every later item back.
    static std::int32_t clampSize(std::int32_t size) { return size < 0 ? 0 : size; }
    void rebuildTree();

    std::vector<std::int32_t> _sizes;
    std::vector<std::int64_t> _tree;  // 1-based: _tree[i] sums the sizes of (i - lowbit(i), i]
};

}  // namespace kivo::detail
