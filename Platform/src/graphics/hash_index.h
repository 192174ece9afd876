#pragma once
// Internal: an index of items by a 64-bit hash of their key, for a cache asked hundreds of times a
// frame. Open addressing in one flat array of (hash, item) slots, probed in a line from the hash's
// home slot: a lookup reads one slot and the item it finds, where a node-based map walks a bucket, a
// node before it and the node. Items are not owned; the caller keeps each one's hash and key, and
// removes an item before it goes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat::detail {

template <typename Item>
class HashIndex {
public:
    // The item with this hash for which `matches(item)` holds, or null.
    template <typename Matches>
    Item* find(std::uint64_t hash, Matches matches) const {
        if (_slots.empty()) return nullptr;
        for (std::size_t i = home(hash);; i = next(i)) {
            const Slot& slot = _slots[i];
            if (!slot.item) return nullptr;
            if (slot.hash == hash && matches(*slot.item)) return slot.item;
        }
    }

    void insert(std::uint64_t hash, Item* item) {
        // At most half full: probes stay short.
        if ((_count + 1) * 2 > _slots.size()) grow();
        place(hash, item);
        ++_count;
    }

    // Removes `item`, which was inserted with `hash`.
    void erase(std::uint64_t hash, const Item* item) {
        if (_slots.empty()) return;
        std::size_t i = home(hash);
        while (_slots[i].item != item) {
            if (!_slots[i].item) return;
            i = next(i);
        }
        // Moves back each later slot of the line that may sit no earlier than its home, so no line
        // breaks where a lookup would stop.
        for (std::size_t j = next(i); _slots[j].item; j = next(j)) {
            const std::size_t h = home(_slots[j].hash);
            const bool movable = i <= j ? (h <= i || h > j) : (h <= i && h > j);
            if (movable) {
                _slots[i] = _slots[j];
                i = j;
            }
        }
        _slots[i] = {};
        --_count;
    }

    void clear() {
        _slots.clear();
        _count = 0;
    }
    std::size_t size() const { return _count; }

private:
    struct Slot {
        std::uint64_t hash = 0;
        Item* item = nullptr;
    };
    static constexpr std::size_t FirstSize = 64;

    std::size_t home(std::uint64_t hash) const { return static_cast<std::size_t>(hash) & (_slots.size() - 1); }
    std::size_t next(std::size_t i) const { return (i + 1) & (_slots.size() - 1); }
    void place(std::uint64_t hash, Item* item) {
        std::size_t i = home(hash);
        while (_slots[i].item) i = next(i);
        _slots[i] = {hash, item};
    }
    void grow() {
        std::vector<Slot> old(_slots.empty() ? FirstSize : _slots.size() * 2);
        old.swap(_slots);
        for (const Slot& slot : old)
            if (slot.item) place(slot.hash, slot.item);
    }

    std::vector<Slot> _slots;  // a power of two of them, or none
    std::size_t _count = 0;
};

}  // namespace plat::detail
