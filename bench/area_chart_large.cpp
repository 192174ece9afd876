// An area series of 10k, 100k and 1M points (the line benchmark's random walk) in an 800 × 600 chart:
// one whole drawing pass of the area chart against one of the line chart over the same points. The
// goal: the area within 1.3 × the line at 1M.
//
// BM_LargeAreaLineBaseline times the line chart's pass in the same run (one scene at a time: the
// scenes share the virtual clock).
// BM_LargeAreaReducedFillDifference is no timing: it fills and strokes the area outline with plain
// Cairo, once with every point and once reduced to each pixel column's extremes as the chart hands it
// to the engine, and reports the share of pixels that differ by more than 32/255 in a channel. With
// KIVO_BENCH_OUT set to a folder, it also writes both pictures there.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <string>
#include <vector>

#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/OmbriChart.h"
#include "large_chart_scene.h"
#include "plotters/ColumnReduction.h"

namespace {

using large_chart::ChartScene;
using large_chart::DeviceScale;
using large_chart::Height;
using large_chart::walk;
using large_chart::Width;

void BM_LargeAreaPass(benchmark::State& state) {
    ChartScene scene(static_cast<std::size_t>(state.range(0)), OmbriChartTypeArea);
    for (auto _ : state) scene.pass();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The line chart of the same points, in the same run, for the ratio.
void BM_LargeAreaLineBaseline(benchmark::State& state) {
    ChartScene scene(static_cast<std::size_t>(state.range(0)), OmbriChartTypeLine);
    for (auto _ : state) scene.pass();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The area's outline in screen points as the chart places it: the top line, then the two points on
// the value axis' origin that close it.
struct Outline {
    std::vector<double> xs, ys;
    double left = 0, top = 0, width = 0, height = 0, base = 0;
};

Outline outline(std::size_t n) {
    ChartScene scene(n, OmbriChartTypeArea);
    Outline o;
    const auto& plot = scene.chart->plotRect();
    const auto& axisX = scene.chart->axisX();
    const auto& axisY = scene.chart->axisY();
    if (!plot || !axisX || !axisY) return o;
    o.left = plot->left();
    o.top = plot->top();
    o.width = plot->width();
    o.height = plot->height();
    o.base = axisY->convert(std::clamp(0.0, axisY->actualMin(), axisY->actualMax()));
    const auto& w = walk(n);
    for (std::size_t i = 0; i < n; ++i) {
        o.xs.push_back(axisX->convert(w.xs[i]));
        o.ys.push_back(axisY->convert(w.ys[i]));
    }
    return o;
}

void fill(cairo_t* cr, const Outline& o, const std::vector<double>& xs, const std::vector<double>& ys) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_save(cr);
    cairo_rectangle(cr, o.left, o.top, o.width, o.height);
    cairo_clip(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, xs[0], ys[0]);
    for (std::size_t i = 1; i < xs.size(); ++i) cairo_line_to(cr, xs[i], ys[i]);
    cairo_line_to(cr, xs.back(), o.base);
    cairo_line_to(cr, xs.front(), o.base);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.55, 0.7, 0.9);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.15, 0.3, 0.6);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void BM_LargeAreaReducedFillDifference(benchmark::State& state) {
    const Outline o = outline(static_cast<std::size_t>(state.range(0)));
    std::vector<double> rx, ry;
    if (!kivo::detail::reduceToPixelColumns(o.xs, o.ys, o.left, o.width, DeviceScale, rx, ry)) {
        rx = o.xs;
        ry = o.ys;
    }
    const auto surface = [] { return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, Height); };
    cairo_surface_t* full = surface();
    cairo_surface_t* reduced = surface();
    cairo_t* a = cairo_create(full);
    cairo_t* b = cairo_create(reduced);
    for (auto _ : state) {
        fill(a, o, o.xs, o.ys);
        fill(b, o, rx, ry);
    }
    cairo_surface_flush(full);
    cairo_surface_flush(reduced);
    const auto* pa = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(full));
    const auto* pb = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(reduced));
    std::size_t differing = 0, inked = 0;
    const std::size_t count = std::size_t(Width) * std::size_t(Height);
    for (std::size_t i = 0; i < count; ++i) {
        if (pa[i] != 0xffffffffu || pb[i] != 0xffffffffu) ++inked;
        if (large_chart::channelsDiffer(pa[i], pb[i])) ++differing;
    }
    state.counters["differing share of image"] = double(differing) / double(count);
    state.counters["differing share of area"] = inked ? double(differing) / double(inked) : 0;
    state.counters["points kept"] = double(rx.size());
    if (const char* folder = large_chart::outputFolder()) {
        const std::string stem = std::string(folder) + "/large_area_" + std::to_string(state.range(0));
        cairo_surface_write_to_png(full, (stem + "_full.png").c_str());
        cairo_surface_write_to_png(reduced, (stem + "_reduced.png").c_str());
    }
    cairo_destroy(a);
    cairo_destroy(b);
    cairo_surface_destroy(full);
    cairo_surface_destroy(reduced);
}

void sizes(benchmark::internal::Benchmark* b) {
    for (const std::int64_t n : {10'000, 100'000, 1'000'000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_LargeAreaPass)->Apply(sizes);
BENCHMARK(BM_LargeAreaLineBaseline)->Apply(sizes);
BENCHMARK(BM_LargeAreaReducedFillDifference)->Apply(sizes)->Iterations(1);
