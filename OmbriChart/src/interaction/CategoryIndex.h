#pragma once
// Where the chart's hit areas stand along the category direction, series by series, sorted, so that
// the line marker finds each series' nearest point by bisection instead of walking a million areas
// and making a data point for each. Built from what the areas hold (a line point's X, a bar's data
// point) on the first search after the areas or the category axis changed.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "ChartCore/KivoHitTester.h"

namespace kivo::detail {

class CategoryIndex {
public:
    // What the positions were built for: the hit tester's areas, the chart's type and rotation, and
    // the category axis' conversion, sampled at a few values, with the offset of the chart area.
    struct Key {
        std::uint64_t generation = 0;
        std::int64_t chartType = 0;
        bool rotated = false;
        double probes[5] = {};
        bool operator==(const Key&) const = default;
    };
    // One series' areas by position: (pixel, insertion number), ascending; of several at one pixel
    // only the one added last, which is the one a tie goes to.
    struct Series {
        std::int32_t seriesIndex = 0;
        std::vector<std::pair<double, std::uint32_t>> positions;
        const KivoHitTester::AreaList* areas = nullptr;
    };

    bool isBuiltFor(const Key& key) const { return _built && _key == key; }
    template <class PixelOf>
    void build(const Key& key, const KivoHitTester::HitTesterMap& map, PixelOf pixelOf);
    // The area of a series nearest to `c`: the smallest |c − pixel|, ties to the one added last;
    // null when none has a usable position.
    const IKivoHitArea* nearest(const Series& series, double c) const;
    const std::vector<Series>& series() const { return _series; }

private:
    Key _key;
    bool _built = false;
    std::vector<Series> _series;
};

template <class PixelOf>
void CategoryIndex::build(const Key& key, const KivoHitTester::HitTesterMap& map, PixelOf pixelOf) {
    _key = key;
    _built = true;
    _series.clear();
    for (const auto& [index, areas] : map) {
        if (areas.empty()) continue;
        Series s;
        s.seriesIndex = index;
        s.areas = &areas;
        s.positions.reserve(areas.size());
        for (std::uint32_t i = 0; i < areas.size(); ++i) {
            const double a = pixelOf(*areas[i]);
            // A position of no number, or beyond every double, is never nearer than the start of a walk.
            if (std::isfinite(a)) s.positions.emplace_back(a, i);
        }
        std::sort(s.positions.begin(), s.positions.end());
        // Equal positions: keep the last of each run (the largest insertion number).
        std::size_t out = 0;
        for (std::size_t i = 0; i < s.positions.size(); ++i) {
            if (i + 1 < s.positions.size() && s.positions[i + 1].first == s.positions[i].first) continue;
            s.positions[out++] = s.positions[i];
        }
        s.positions.resize(out);
        _series.push_back(std::move(s));
    }
}

}  // namespace kivo::detail
