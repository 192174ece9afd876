#pragma once
// What the random edit tests of the value list share: their seeds, and numbers and positions drawn
// so that the bounds of blocks, where the faults would be, come up as often as any other place.

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <iostream>
#include <random>
#include <vector>

#include "KivoCore/ValueList.h"

namespace kivo::testing {

// The fixed seeds and one fresh one, or only the seed KIVO_VALUE_LIST_SEED names; each is printed so
// that a failure can be repeated.
inline std::vector<unsigned> valueListSeeds(std::vector<unsigned> fixed) {
    if (const char* forced = std::getenv("KIVO_VALUE_LIST_SEED"))
        return {static_cast<unsigned>(std::strtoul(forced, nullptr, 10))};
    fixed.push_back(std::random_device{}());
    return fixed;
}

class ValueListDraws {
public:
    explicit ValueListDraws(unsigned seed) : _rng(seed) {
        std::cout << "[ seed     ] " << seed << " (KIVO_VALUE_LIST_SEED=" << seed << " repeats it)\n";
    }
    // A number below n (0 when n is 0).
    std::size_t below(std::size_t n) {
        return n == 0 ? std::size_t{0} : std::uniform_int_distribution<std::size_t>(0, n - 1)(_rng);
    }
    // A position in a list of n, at most n: half the time on or beside the bound of a block.
    std::size_t position(std::size_t n) {
        constexpr std::size_t B = kivo::ValueList::BlockCapacity;
        if (n == 0 || below(2) == 0) return below(n + 1);
        const std::size_t bound = below(n / B + 1) * B;
        return std::min(bound + below(3) - std::min<std::size_t>(bound, 1), n);
    }

private:
    std::mt19937 _rng;
};

// The same edit made on the list and on the vector that models it.
inline void insertInBoth(kivo::ValueList& list, plat::Array& model, std::size_t at, const plat::Array& values) {
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), values.begin(), values.end());
    model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), values.begin(), values.end());
}
inline void insertInBoth(kivo::ValueList& list, plat::Array& model, std::size_t at, const plat::Value& value) {
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), value);
    model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), value);
}
inline void eraseFromBoth(kivo::ValueList& list, plat::Array& model, std::size_t at, std::size_t count) {
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(at), list.begin() + static_cast<std::ptrdiff_t>(at + count));
    model.erase(model.begin() + static_cast<std::ptrdiff_t>(at), model.begin() + static_cast<std::ptrdiff_t>(at + count));
}

// A drawn run of integers from `next` on, now and then more than a block's worth, inserted at a drawn
// position of both; `next` moves past them.
inline void insertDrawnRange(ValueListDraws& draws, kivo::ValueList& list, plat::Array& model, std::int64_t& next) {
    constexpr std::size_t B = kivo::ValueList::BlockCapacity;
    const std::size_t at = draws.position(model.size());
    const std::size_t k = draws.below(4) == 0 ? draws.below(2 * B) : draws.below(8);
    plat::Array added;
    for (std::size_t j = 0; j < k; ++j) added.emplace_back(next++);
    insertInBoth(list, model, at, added);
}

}  // namespace kivo::testing
