// The scatter and column companions of the large line benchmarks: the same random walk of 100k and
// 1M points drawn as a scatter series and as a column series, one whole drawing pass each. Run them
// with BM_LargeLineChartPass for the ratios against the line.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "ChartCore/KivoHitTester.h"
#include "OmbriChart/OmbriChart.h"
#include "large_chart_scene.h"

namespace {

using large_chart::ChartScene;
using large_chart::walk;

// A whole pass of a chart of the walk: a symbol (or a bar) and a hit area per point.
void chartPass(benchmark::State& state, std::int64_t type) {
    const auto n = static_cast<std::size_t>(state.range(0));
    walk(n);
    ChartScene scene(n, type);
    for (auto _ : state) scene.pass();
    state.counters["hit areas"] = double(scene.chart->hitTester()->count());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_LargeScatterChartPass(benchmark::State& state) { chartPass(state, OmbriChartTypeScatter); }
void BM_LargeColumnChartPass(benchmark::State& state) { chartPass(state, OmbriChartTypeColumn); }

}  // namespace

BENCHMARK(BM_LargeScatterChartPass)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeColumnChartPass)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
