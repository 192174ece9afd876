#pragma once
// The scene of the large-data chart benchmarks: a random walk of n points as the chart's items, one
// series of it in an 800 × 600 chart of a chosen type, and the pixel comparison their image checks
// share (a channel further apart than a threshold makes a pixel count as different).

#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/foundation/reflect.h"
#include "chart_scene.h"

namespace large_chart {

constexpr plat::Rect Screen{0, 0, 800, 600};
constexpr int Width = 800, Height = 600;
constexpr double DeviceScale = 1;
// A channel further apart than this makes a pixel count as different.
constexpr int DifferenceThreshold = 32;

class LargeWalkPoint : public plat::Object {
public:
    PLAT_CLASS()
    double x = 0;
    double y = 0;
};
// Inline: the class is defined once for every benchmark file that includes this header.
inline PLAT_DEFINE_CLASS(LargeWalkPoint, plat::Object, plat::property("x", &LargeWalkPoint::x),
                         plat::property("y", &LargeWalkPoint::y))

    // A random walk as the chart's items (model objects) and as plain arrays.
    struct Walk {
    std::vector<double> xs, ys;
    plat::ArrayPtr items;
};

inline const Walk& walk(std::size_t n) {
    static std::map<std::size_t, Walk> cache;
    if (auto found = cache.find(n); found != cache.end()) return found->second;
    Walk w;
    w.items = std::make_shared<plat::Array>();
    w.items->reserve(n);
    std::uint32_t seed = 4711;
    double level = 0;
    for (std::size_t i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        level += (seed >> 8) / double(1u << 24) - 0.5;
        auto point = std::make_shared<LargeWalkPoint>();
        point->x = double(i);
        point->y = level;
        w.xs.push_back(point->x);
        w.ys.push_back(point->y);
        w.items->push_back(plat::Value(point));
    }
    return cache.emplace(n, std::move(w)).first->second;
}

// A window with a chart of one series over the walk, on a virtual clock so that nothing moves
// between passes.
struct ChartScene : ChartSceneBase<> {
    explicit ChartScene(std::size_t n, std::int64_t type = OmbriChartTypeLine)
        : ChartSceneBase(OmbriChart::create(Screen), Screen, DeviceScale) {
        chart->setChartType(type);
        chart->setIsAnimated(false);
        chart->setBindingX("x");
        chart->setItemsSource(walk(n).items);
        chart->series()->addObject(plat::Value(KivoSeries::create(chart, "y", "Walk")));
        window->addSubview(chart);
        pass();
    }
};

inline bool channelsDiffer(std::uint32_t a, std::uint32_t b) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = int((a >> shift) & 0xff), cb = int((b >> shift) & 0xff);
        if (std::abs(ca - cb) > DifferenceThreshold) return true;
    }
    return false;
}

inline const char* outputFolder() { return std::getenv("KIVO_BENCH_OUT"); }

}  // namespace large_chart
