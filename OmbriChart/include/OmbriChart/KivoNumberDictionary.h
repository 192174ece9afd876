#pragma once
// A dictionary from numbers to numbers, keyed by numeric value (an integer 3 and a real 3.0 are one
// key; 0 and −0 too), kept as one array sorted by key: the stacked sums per X value of the chart's
// data analysis and plotters. Sums of a whole series are merged in one pass, so a chart of a million
// points builds its sums without a node per point; keys that arrive in ascending order append.

#include <cstddef>
#include <utility>
#include <vector>

#include "OmbriChart/KivoOmbriChartExport.h"

namespace kivo::detail {
class DataInfoInternals;
}  // namespace kivo::detail

class KIVO_CHART_EXPORT KivoNumberDictionary {
public:
    using Entry = std::pair<double, double>;
    // (key, value) pairs to add, in any order; the same key may come more than once.
    using Run = std::vector<Entry>;

    // The value at `key`, or null.
    const double* find(double key) const;
    double valueOr(double key, double fallback) const {
        const double* v = find(key);
        return v ? *v : fallback;
    }
    // Adds `value` to the entry of `key` (a new entry starts with `value` itself). NaN keys are ignored.
    void add(double key, double value);
    // Adds every pair of `run` whose value `select` keeps (it answers whether to add and may change the
    // value); values of one key add up in the run's order. Sort the run first (sortByKey).
    template <class Select>
    void addSortedRun(const Run& run, Select select) {
        mergeInKeyOrder(
            run.size(), [&run](std::size_t j) { return run[j].first; },
            [&run, &select](std::size_t j, double, double& value) {
                value = run[j].second;
                return select(value);
            });
    }
    // Adds every pair of `run` (in any order; a key may come more than once) with the outcome of add()
    // called for each in the run's order, in one merge, and answers in `before` (one entry per pair) the
    // value the pair's key held just before the pair was added: 0 for a key that held none. A pair with
    // a NaN key is added nowhere and answers 0.
    void addRun(const Run& run, std::vector<double>& before);
    // Sorts a run by key, stably (the values of one key keep their order), and drops NaN keys; a run
    // already in order is left as it is.
    static void sortByKey(Run& run);

    std::size_t size() const { return _entries.size(); }
    bool empty() const { return _entries.empty(); }
    // Keeps the memory for the entries to come.
    void clear() { _entries.clear(); }
    // In ascending key order.
    std::vector<Entry>::const_iterator begin() const { return _entries.begin(); }
    std::vector<Entry>::const_iterator end() const { return _entries.end(); }

    friend bool operator==(const KivoNumberDictionary&, const KivoNumberDictionary&) = default;

private:
    // The analysis rewrites the sum of a key in place when one value it holds was replaced.
    friend class kivo::detail::DataInfoInternals;
    KIVO_CHART_NO_EXPORT double* findValue(double key) {
        return const_cast<double*>(static_cast<const KivoNumberDictionary&>(*this).find(key));
    }

    // The one merge behind both runs: `count` pairs taken in ascending key order (`keyAt(j)`); `take(j,
    // sumBefore, value)` learns what the pair's key holds before it, sets the value to add and answers
    // whether to add it. Values of one key add up in order after an existing entry.
    template <class KeyAt, class Take>
    KIVO_CHART_NO_EXPORT void mergeInKeyOrder(std::size_t count, KeyAt keyAt, Take take) {
        std::vector<Entry> merged;
        // Into an empty dictionary the run goes into the memory the dictionary kept.
        if (_entries.empty()) merged.swap(_entries);
        merged.reserve(_entries.size() + count);
        auto it = _entries.begin();
        for (std::size_t j = 0; j < count;) {
            const double key = keyAt(j);
            while (it != _entries.end() && it->first < key) merged.push_back(*it++);
            bool started = it != _entries.end() && it->first == key;
            double sum = started ? it++->second : 0.0;
            for (; j < count && keyAt(j) == key; ++j) {
                double value = 0;
                if (!take(j, sum, value)) continue;
                sum = started ? sum + value : value;
                started = true;
            }
            if (started) merged.emplace_back(key, sum);
        }
        merged.insert(merged.end(), it, _entries.end());
        _entries = std::move(merged);
    }

    std::vector<Entry> _entries;
};
