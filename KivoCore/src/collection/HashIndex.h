#pragma once
// Small hash maps for the group tree's lookups: scalar keys and texts to 32-bit values, built for
// millions of lookups a refresh.

#include <bit>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kivo::detail {

// A small open-addressing map from 64-bit keys to 32-bit values (Empty is not a value); entries are
// never removed.
class ScalarIndex {
public:
    static constexpr std::uint32_t Empty = UINT32_MAX;

    std::uint32_t find(std::uint64_t key) const {
        if (_slots.empty()) return Empty;
        for (size_t i = slotOf(key);; i = (i + 1) & (_slots.size() - 1)) {
            const Slot& s = _slots[i];
            if (s.value == Empty || s.key == key) return s.value;
        }
    }
    void insert(std::uint64_t key, std::uint32_t value) {
        if ((_size + 1) * 2 > _slots.size()) grow();
        for (size_t i = slotOf(key);; i = (i + 1) & (_slots.size() - 1)) {
            Slot& s = _slots[i];
            if (s.value == Empty) {
                s = {key, value};
                ++_size;
                return;
            }
            if (s.key == key) return;
        }
    }

private:
    struct Slot {
        std::uint64_t key = 0;
        std::uint32_t value = Empty;
    };
    size_t slotOf(std::uint64_t key) const { return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> _shift); }
    void grow() {
        std::vector<Slot> old = std::move(_slots);
        _slots.assign(old.empty() ? 16 : old.size() * 2, Slot{});
        _shift = 64 - std::countr_zero(_slots.size());
        _size = 0;
        for (const auto& s : old)
            if (s.value != Empty) insert(s.key, s.value);
    }

    std::vector<Slot> _slots;
    size_t _size = 0;
    int _shift = 64;
};

// The same for texts: the 64-bit hash picks the slot, the text itself confirms the match.
class TextIndex {
public:
    std::uint32_t find(std::string_view text, std::uint64_t hash) const {
        if (_slots.empty()) return ScalarIndex::Empty;
        for (size_t i = slotOf(hash);; i = (i + 1) & (_slots.size() - 1)) {
            const Slot& s = _slots[i];
            if (s.entry == ScalarIndex::Empty) return ScalarIndex::Empty;
            if (s.hash == hash && _entries[s.entry].first == text) return _entries[s.entry].second;
        }
    }
    void insert(std::string_view text, std::uint64_t hash, std::uint32_t value) {
        if ((_entries.size() + 1) * 2 > _slots.size()) grow();
        place(hash, static_cast<std::uint32_t>(_entries.size()));
        _entries.emplace_back(std::string(text), value);
    }
    static std::uint64_t hashOf(std::string_view text) { return std::hash<std::string_view>{}(text); }

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t entry = ScalarIndex::Empty;
    };
    size_t slotOf(std::uint64_t hash) const { return static_cast<size_t>((hash * 0x9E3779B97F4A7C15ull) >> _shift); }
    void place(std::uint64_t hash, std::uint32_t entry) {
        size_t i = slotOf(hash);
        while (_slots[i].entry != ScalarIndex::Empty) i = (i + 1) & (_slots.size() - 1);
        _slots[i] = {hash, entry};
    }
    void grow() {
        _slots.assign(_slots.empty() ? 16 : _slots.size() * 2, Slot{});
        _shift = 64 - std::countr_zero(_slots.size());
        for (std::uint32_t e = 0; e < _entries.size(); ++e) place(hashOf(_entries[e].first), e);
    }

    std::vector<Slot> _slots;
    std::vector<std::pair<std::string, std::uint32_t>> _entries;
    int _shift = 64;
};

}  // namespace kivo::detail
