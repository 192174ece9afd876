#include "OmbriChart/KivoNumberDictionary.h"

#include <algorithm>
#include <cmath>

namespace {

bool keyLess(const KivoNumberDictionary::Entry& a, const KivoNumberDictionary::Entry& b) { return a.first < b.first; }

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
    // The pairs' positions in key order, the pairs of one key in the run's order. A run in ascending
    // order (or in strictly descending order, a series sorted newest first) needs no sort.
    std::vector<std::size_t> order;
    order.reserve(run.size());
    for (std::size_t i = 0; i < run.size(); ++i)
        if (!std::isnan(run[i].first)) order.push_back(i);
    const auto keyAt = [&run](std::size_t i) { return run[i].first; };
    const auto byKey = [&keyAt](std::size_t a, std::size_t b) { return keyAt(a) < keyAt(b); };
    const auto notDescending = [&keyAt](std::size_t a, std::size_t b) { return !(keyAt(a) > keyAt(b)); };
    if (!std::is_sorted(order.begin(), order.end(), byKey)) {
        if (std::adjacent_find(order.begin(), order.end(), notDescending) == order.end())
            std::reverse(order.begin(), order.end());
        else
            std::stable_sort(order.begin(), order.end(), byKey);
    }

    mergeInKeyOrder(
        order.size(), [&](std::size_t j) { return keyAt(order[j]); },
        [&](std::size_t j, double sumBefore, double& value) {
            before[order[j]] = sumBefore;
            value = run[order[j]].second;
            return true;
        });
}

void KivoNumberDictionary::sortByKey(Run& run) {
    std::erase_if(run, [](const Entry& e) { return std::isnan(e.first); });
    if (!std::is_sorted(run.begin(), run.end(), keyLess)) std::stable_sort(run.begin(), run.end(), keyLess);
}
