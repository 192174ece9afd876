// One static drawing pass of an 800 × 600 column chart through the chart's own bar plotter into a
// Cairo image: 3 series of numbers over numeric X values (clustered, and stacked), at 1,000 and
// 30,000 points a series. Each bar costs its rectangle, its hit area with a tagged data point, its
// label record and, when it lies in the plot area, a clipped fill and outline.
#include <benchmark/benchmark.h>

#include <memory>

#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/graphics/image_context.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/window.h"
#include "chart_scene.h"

namespace {

constexpr int SeriesCount = 3;
const char* const Bindings[SeriesCount] = {"s0", "s1", "s2"};
constexpr plat::Rect Screen{0, 0, 800, 600};

plat::ArrayPtr items(int count) {
    auto list = std::make_shared<plat::Array>();
    list->reserve(static_cast<std::size_t>(count));
    std::uint32_t seed = 7;
    for (int i = 0; i < count; ++i) {
        plat::Dictionary d{{"x", i}};
        for (int s = 0; s < SeriesCount; ++s) {
            seed = seed * 1664525u + 1013904223u;
            d[Bindings[s]] = static_cast<double>(seed >> 16) / 655.36 - 20;
        }
        list->push_back(plat::Value(std::move(d)));
    }
    return list;
}

struct Scene : ChartSceneBase<> {
    Scene(int count, std::int64_t stacking) : ChartSceneBase(OmbriChart::create(Screen), Screen) {
        chart->setIsAnimated(false);
        chart->setStacking(stacking);
        chart->setBindingX("x");
        chart->setItemsSource(items(count));
        for (int s = 0; s < SeriesCount; ++s)
            chart->series()->addObject(plat::Value(KivoSeries::create(chart, Bindings[s], Bindings[s])));
        window->addSubview(chart);
        window->display(image.context());
    }
};

// Args: points per series, KivoPlotterStacking.
void BM_BarChartStaticPass(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Scene scene(count, state.range(1));
    for (auto _ : state) scene.pass();
    state.SetItemsProcessed(state.iterations() * SeriesCount * count);
    state.counters["hit areas"] = static_cast<double>(scene.chart->hitTester()->count());
}
BENCHMARK(BM_BarChartStaticPass)
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Args({30000, 0})
    ->Args({30000, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
