// The scatter and column companions of the large line benchmarks: the same random walk of 100k and
// 1M points drawn as a scatter series (symbols stamped, repeats on the same quarter pixel left out)
// and as a column series (bars narrower than a pixel merged per pixel column), one whole drawing pass
// each, and what the column chart holds per point. The goals, with BM_LargeLineChartPass/1000000 in the
// same run: the 1M scatter pass within 8 × the 1M line pass, the 1M column pass within 3 ×.
//
// The image checks are no timing: each draws the chart once with the dense shortcuts and once element
// by element, and reports the share of the image's pixels that differ by more than 32/255 in a channel
// (goal: at most 1 %). With KIVO_BENCH_OUT set to a folder, they also write both pictures there.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "ChartCore/KivoHitTester.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/graphics/image.h"
#include "large_chart_scene.h"
#include "plotters/DenseDrawing.h"

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

// What a column chart of the walk holds on the heap after a pass (kept columns, analysis, hit areas and
// the rest), per point, beyond the items themselves.
void BM_LargeColumnChartMemory(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    walk(n);
    // Blocks taken from the heap, and the large ones mapped apart from it.
    const auto heap = [] {
        const auto info = mallinfo2();
        return double(info.uordblks + info.hblkhd);
    };
    double perPoint = 0;
    for (auto _ : state) {
        const double before = heap();
        ChartScene scene(n, OmbriChartTypeColumn);
        scene.pass();
        perPoint = (heap() - before) / double(n);
    }
    state.counters["heap bytes per point"] = perPoint;
}

// The same pass drawn element by element: what the shortcuts save.
void BM_LargeScatterChartPassElementByElement(benchmark::State& state) {
    kivo::detail::DenseDrawingScope off(false);
    chartPass(state, OmbriChartTypeScatter);
}
void BM_LargeColumnChartPassElementByElement(benchmark::State& state) {
    kivo::detail::DenseDrawingScope off(false);
    chartPass(state, OmbriChartTypeColumn);
}

// Whether a pixel shows the series: a colour, not the white, grey or black of the page, the grid, the
// axes and the text.
bool coloured(std::uint32_t pixel) {
    const int r = int((pixel >> 16) & 0xff), g = int((pixel >> 8) & 0xff), b = int(pixel & 0xff);
    return std::max({r, g, b}) - std::min({r, g, b}) > large_chart::DifferenceThreshold;
}

// The chart's picture after one pass, with or without the shortcuts.
std::shared_ptr<plat::Image> picture(std::size_t n, std::int64_t type, bool shortcuts) {
    kivo::detail::DenseDrawingScope scope(shortcuts);
    ChartScene scene(n, type);
    return scene.image.snapshot();
}

void reportDifference(benchmark::State& state, std::int64_t type, const std::string& name) {
    const auto n = static_cast<std::size_t>(state.range(0));
    walk(n);
    std::shared_ptr<plat::Image> fast, exact;
    for (auto _ : state) {
        fast = picture(n, type, true);
        exact = picture(n, type, false);
    }
    if (!fast || !exact || fast->pixelWidth() != exact->pixelWidth() || fast->pixelHeight() != exact->pixelHeight()) {
        state.SkipWithError("no pictures to compare");
        return;
    }
    const std::size_t pixels = std::size_t(fast->pixelWidth()) * std::size_t(fast->pixelHeight());
    std::size_t differing = 0, extent = 0;
    for (std::size_t i = 0; i < pixels; ++i) {
        differing += large_chart::channelsDiffer(fast->data()[i], exact->data()[i]);
        extent += coloured(fast->data()[i]) != coloured(exact->data()[i]);
    }
    state.counters["differing share of image"] = double(differing) / double(pixels);
    state.counters["differing pixels"] = double(differing);
    // Where the series reaches in one picture and not in the other, whatever its shade: bars thinner
    // than a pixel drawn one by one leave their pixels only partly covered (their edges are blended
    // one over another), while a merged bar covers them.
    state.counters["differing extent share of image"] = double(extent) / double(pixels);
    if (const char* folder = large_chart::outputFolder()) {
        const std::string stem = std::string(folder) + "/" + name + "_" + std::to_string(n);
        fast->writePNG(stem + "_shortcuts.png");
        exact->writePNG(stem + "_element_by_element.png");
    }
}

void BM_LargeScatterStampedImageDifference(benchmark::State& state) {
    reportDifference(state, OmbriChartTypeScatter, "large_scatter");
}
void BM_LargeColumnMergedImageDifference(benchmark::State& state) {
    reportDifference(state, OmbriChartTypeColumn, "large_column");
}

void sizes(benchmark::internal::Benchmark* b) { b->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond); }

}  // namespace

BENCHMARK(BM_LargeScatterChartPass)->Apply(sizes);
BENCHMARK(BM_LargeColumnChartPass)->Apply(sizes);
BENCHMARK(BM_LargeColumnChartMemory)->Apply(sizes)->Iterations(1);
BENCHMARK(BM_LargeScatterChartPassElementByElement)->Apply(sizes);
BENCHMARK(BM_LargeColumnChartPassElementByElement)->Apply(sizes);
BENCHMARK(BM_LargeScatterStampedImageDifference)->Apply(sizes)->Iterations(1);
BENCHMARK(BM_LargeColumnMergedImageDifference)->Apply(sizes)->Iterations(1);
