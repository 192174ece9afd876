#include "OmbriChart/KivoNumberDictionary.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {

bool keyLess(const KivoNumberDictionary::Entry& a, const KivoNumberDictionary::Entry& b) { return a.first < b.first; }

using Keyed = std::pair<double, std::size_t>;

// The bits of a key (not NaN) as an unsigned number that orders as the key does; 0 and −0 alike.
std::uint64_t orderedBits(double key) {
    const auto bits = std::bit_cast<std::uint64_t>(key == 0 ? 0.0 : key);
    return bits & (std::uint64_t{1} << 63) ? ~bits : bits | (std::uint64_t{1} << 63);
}

// Sorts keys listed with their positions (in ascending position) by key, stably: a radix sort, one
// pass per byte of the keys in which they differ, so a shuffled run of a million keys sorts in a few
// sequential passes rather than in n log n comparisons.
void sortKeyed(std::vector<Keyed>& keyed) {
    constexpr int Digits = 8;
    std::array<std::array<std::size_t, 256>, Digits> counts{};
    for (const Keyed& k : keyed) {
        const std::uint64_t bits = orderedBits(k.first);
        for (int d = 0; d < Digits; ++d) ++counts[static_cast<std::size_t>(d)][(bits >> (8 * d)) & 0xff];
    }
    std::vector<Keyed> other(keyed.size());
    for (int d = 0; d < Digits; ++d) {
        auto& count = counts[static_cast<std::size_t>(d)];
        // A byte every key shares orders nothing.
        if (std::find(count.begin(), count.end(), keyed.size()) != count.end()) continue;
        std::size_t at = 0;
        for (std::size_t& c : count) at += std::exchange(c, at);
        for (const Keyed& k : keyed) other[count[(orderedBits(k.first) >> (8 * d)) & 0xff]++] = k;
        keyed.swap(other);
    }
}

}  // namespace

const double* KivoNumberDictionary::find(double key) const {
    const auto it = std::lower_bound(_entries.begin(), _entries.end(), Entry{key, 0}, keyLess);
    return it != _entries.end() && it->first == key ? &it->second : nullptr;
}

void KivoNumberDictionary::add(double key, double value) {
    if (std::isnan(key)) return;
    // Keys in ascending order append.
    if (_entries.empty() || _entries.back().first < key) {
        _entries.emplace_back(key, value);
        return;
    }
    const auto it = std::lower_bound(_entries.begin(), _entries.end(), Entry{key, 0}, keyLess);
    if (it != _entries.end() && it->first == key)
        it->second += value;
    else
        _entries.insert(it, Entry{key, value});
}

void KivoNumberDictionary::addRun(const Run& run, std::vector<double>& before) {
    before.assign(run.size(), 0.0);
    // The pairs' keys with their positions, in key order, the pairs of one key in the run's order. A
    // run in ascending order (or in strictly descending order, a series sorted newest first) needs no
    // sort; any other is sorted with each key beside its position.
    std::vector<Keyed> order;
    order.reserve(run.size());
    for (std::size_t i = 0; i < run.size(); ++i)
        if (!std::isnan(run[i].first)) order.emplace_back(run[i].first, i);
    const auto byKey = [](const auto& a, const auto& b) { return a.first < b.first; };
    const auto notDescending = [](const auto& a, const auto& b) { return !(a.first > b.first); };
    if (!std::is_sorted(order.begin(), order.end(), byKey)) {
        if (std::adjacent_find(order.begin(), order.end(), notDescending) == order.end())
            std::reverse(order.begin(), order.end());
        else
            sortKeyed(order);
    }

    mergeInKeyOrder(
        order.size(), [&](std::size_t j) { return order[j].first; },
        [&](std::size_t j, double sumBefore, double& value) {
            before[order[j].second] = sumBefore;
            value = run[order[j].second].second;
            return true;
        });
}

void KivoNumberDictionary::sortByKey(Run& run) {
    std::erase_if(run, [](const Entry& e) { return std::isnan(e.first); });
    if (!std::is_sorted(run.begin(), run.end(), keyLess)) std::stable_sort(run.begin(), run.end(), keyLess);
}
