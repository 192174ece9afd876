// What a finger costs on a drawn line chart (a random walk, 800 × 600) of 1,000 and 1,000,000 points:
// - a hit test at a point of the plot, and the search for the data points around a point (what the
//   line marker does on every drag step), each with its index already built by an earlier query. The
//   goal: 1M within 2 × the cost at 1,000.
// - building the indexes: the first query after a drawing pass (the pass itself not timed).
// - one pinch step of the 1M chart (the recogniser's callback at scale 1.01, then at 1/1.01, each with
//   the drawing pass it asks for) against a static pass at the same zoom. The goal: within 1.2 ×.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "ChartCore/KivoHitTester.h"
#include "KivoCore/KivoGeometry.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoChartHitTestInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/foundation/reflect.h"
#include "Platform/ui/gestures.h"
#include "chart_scene.h"

namespace {

constexpr plat::Rect Screen{0, 0, 800, 600};
constexpr std::size_t Queries = 256;

class TouchWalkPoint : public plat::Object {
public:
    PLAT_CLASS()
    double x = 0;
    double y = 0;
};
PLAT_DEFINE_CLASS(TouchWalkPoint, plat::Object, plat::property("x", &TouchWalkPoint::x), plat::property("y", &TouchWalkPoint::y))

const plat::ArrayPtr& walk(std::size_t n) {
    static std::map<std::size_t, plat::ArrayPtr> cache;
    auto& items = cache[n];
    if (items) return items;
    items = std::make_shared<plat::Array>();
    items->reserve(n);
    std::uint32_t seed = 815;
    double level = 0;
    for (std::size_t i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        level += (seed >> 8) / double(1u << 24) - 0.5;
        auto point = std::make_shared<TouchWalkPoint>();
        point->x = double(i);
        point->y = level;
        items->push_back(plat::Value(point));
    }
    return items;
}

struct TouchScene : ChartSceneBase<> {
    explicit TouchScene(std::size_t n) : ChartSceneBase(OmbriChart::create(Screen), Screen) {
        chart->setChartType(OmbriChartTypeLine);
        chart->setIsAnimated(false);
        chart->setBindingX("x");
        chart->setItemsSource(walk(n));
        chart->series()->addObject(plat::Value(KivoSeries::create(chart, "y", "Walk")));
        window->addSubview(chart);
        pass();
        // Taps spread over the plot, the same for every size.
        const auto& plot = *chart->plotRect();
        std::uint32_t seed = 99;
        for (std::size_t i = 0; i < Queries; ++i) {
            seed = seed * 1664525u + 1013904223u;
            const double fx = (seed >> 8) / double(1u << 24);
            seed = seed * 1664525u + 1013904223u;
            const double fy = (seed >> 8) / double(1u << 24);
            taps.push_back(KivoPoint::create(plot.left() + fx * plot.width(), plot.top() + fy * plot.height()));
        }
    }
    std::vector<std::shared_ptr<KivoPoint>> taps;
};

void BM_ChartHitTest(benchmark::State& state) {
    TouchScene scene(static_cast<std::size_t>(state.range(0)));
    benchmark::DoNotOptimize(scene.chart->hitTest(scene.taps[0]));  // builds the index
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(scene.chart->hitTest(scene.taps[i++ % Queries]));
}
BENCHMARK(BM_ChartHitTest)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_DataPointsAroundPoint(benchmark::State& state) {
    TouchScene scene(static_cast<std::size_t>(state.range(0)));
    benchmark::DoNotOptimize(scene.chart->getDataPointsAroundPoint(scene.taps[0]->x(), scene.taps[0]->y()));
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& tap = scene.taps[i++ % Queries];
        benchmark::DoNotOptimize(scene.chart->getDataPointsAroundPoint(tap->x(), tap->y()));
    }
}
BENCHMARK(BM_DataPointsAroundPoint)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The first query after a pass: the indexes' building (and the one query); the second argument says
// which: 1 the hit test's, 2 the search for data points', 3 both.
void BM_TouchIndexBuild(benchmark::State& state) {
    TouchScene scene(static_cast<std::size_t>(state.range(0)));
    const auto& tap = scene.taps[0];
    for (auto _ : state) {
        scene.pass();
        const auto start = std::chrono::steady_clock::now();
        if (state.range(1) & 1) benchmark::DoNotOptimize(scene.chart->hitTest(tap));
        if (state.range(1) & 2) benchmark::DoNotOptimize(scene.chart->getDataPointsAroundPoint(tap->x(), tap->y()));
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(BM_TouchIndexBuild)
    ->Args({1000, 3})
    ->Args({1000000, 1})
    ->Args({1000000, 2})
    ->Args({1000000, 3})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Each iteration is two pinch steps: in by 1.01 and out again, each with its pass.
void BM_PinchStep(benchmark::State& state) {
    TouchScene scene(static_cast<std::size_t>(state.range(0)));
    scene.chart->setZoomMode(KivoZoomModeX);
    scene.chart->axisX()->setScale(0.5);
    scene.pass();
    auto pinch = plat::PinchGestureRecognizer::create();
    for (auto _ : state) {
        for (const double g : {1.01, 1 / 1.01}) {
            pinch->setScale(g);
            scene.chart->respondToPinchGesture(*pinch);
            scene.pass();
        }
    }
}
BENCHMARK(BM_PinchStep)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_StaticPassZoomed(benchmark::State& state) {
    TouchScene scene(static_cast<std::size_t>(state.range(0)));
    scene.chart->axisX()->setScale(0.5);
    for (auto _ : state) scene.pass();
}
BENCHMARK(BM_StaticPassZoomed)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
