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

void KivoNumberDictionary::sortByKey(Run& run) {
    std::erase_if(run, [](const Entry& e) { return std::isnan(e.first); });
    if (!std::is_sorted(run.begin(), run.end(), keyLess)) std::stable_sort(run.begin(), run.end(), keyLess);
}
