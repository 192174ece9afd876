// The whole job of charting a list of model objects, as an application does it once: a window and a
// line chart over items built already (x the index, y a random walk), the items set, one drawing pass
// into an opaque 800 × 600 image, the PNG written and everything destroyed. Against it, the floor: a
// plain loop reading x and y from the same objects into two vectors, reduced to a minimum and maximum
// per pixel column, stroked with Cairo and written as PNG. Goals: the job within 1.5 × the floor at
// 10k and 100k points and within 2 × at 1M, with and without X bound.
//
// The counters split the job's time per iteration: "chart" (everything up to the end of the drawing
// pass), "png" and "teardown". BM_WholeJobTeardown sets the teardown of a 1M chart together with its
// items against BM_WholeJobItemsFreed, freeing the items alone (goal: within 1.2 ×).
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/graphics/image_context.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/window.h"
#include "large_chart_scene.h"
#include "plotters/ColumnReduction.h"

namespace {

using Clock = std::chrono::steady_clock;
using large_chart::LargeWalkPoint;
using large_chart::Screen;
using large_chart::walk;

constexpr double VirtualStart = 1704067200;  // 2024-01-01 00:00 UTC

std::string pngPath(const char* name) { return std::string("/tmp/kivo_bench_whole_job_") + name + ".png"; }

double seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

// The parts' total seconds as milliseconds per iteration, and the points processed.
void report(benchmark::State& state, std::initializer_list<std::pair<const char*, double>> parts) {
    for (const auto& [name, total] : parts) state.counters[name] = benchmark::Counter(total * 1e3 / double(state.iterations()));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A fresh copy of the walk's items: model objects of their own, so that freeing them is part of a job.
plat::ArrayPtr freshItems(std::size_t n) {
    const auto& w = walk(n);
    auto items = std::make_shared<plat::Array>();
    items->reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        auto point = std::make_shared<LargeWalkPoint>();
        point->x = w.xs[i];
        point->y = w.ys[i];
        items->push_back(plat::Value(std::move(point)));
    }
    return items;
}

// A window and a line chart over `items`, drawn once into an opaque image.
struct Job {
    std::shared_ptr<plat::Window> window = plat::Window::create(Screen);
    std::shared_ptr<OmbriChart> chart = OmbriChart::create(Screen);
    std::unique_ptr<plat::ImageContext> image;

    Job(const plat::ArrayPtr& items, bool bindX) {
        chart->setChartType(OmbriChartTypeLine);
        chart->setIsAnimated(false);
        if (bindX) chart->setBindingX("x");
        chart->setItemsSource(items);
        chart->series()->addObject(plat::Value(KivoSeries::create(chart, "y", "Walk")));
        window->addSubview(chart);
        image = std::make_unique<plat::ImageContext>(Screen.size, 1, true);
        window->display(image->context());
    }
    void writePNG(const std::string& path) {
        if (const auto picture = image->finish()) picture->writePNG(path);
    }
};

// The whole job per N, timed in three parts.
void BM_WholeJob(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const bool bindX = state.range(1) != 0;
    const auto items = walk(n).items;
    const std::string path = pngPath("chart");
    plat::Clock::useVirtual(plat::Date(VirtualStart));
    double chartTime = 0, pngTime = 0, teardownTime = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        auto job = std::make_unique<Job>(items, bindX);
        const auto drawn = Clock::now();
        job->writePNG(path);
        const auto written = Clock::now();
        job.reset();
        plat::RunLoop::main().discardPendingWork();
        const auto end = Clock::now();
        chartTime += seconds(start, drawn);
        pngTime += seconds(drawn, written);
        teardownTime += seconds(written, end);
    }
    plat::Clock::useSystem();
    report(state, {{"chart_ms", chartTime}, {"png_ms", pngTime}, {"teardown_ms", teardownTime}});
}

// The floor: what a plain program does with the same objects.
void BM_WholeJobFloor(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto items = walk(n).items;
    const std::string path = pngPath("floor");
    // A plot area about the chart's.
    constexpr double Left = 50, Top = 10, Width = 740, Height = 560;
    double readTime = 0, drawTime = 0, pngTime = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        std::vector<double> xs(n), ys(n);
        for (std::size_t i = 0; i < n; ++i) {
            const auto* point = static_cast<const LargeWalkPoint*>((*items)[i].asObject().get());
            xs[i] = point->x;
            ys[i] = point->y;
        }
        double xMin = std::numeric_limits<double>::infinity(), xMax = -xMin, yMin = xMin, yMax = -xMin;
        for (std::size_t i = 0; i < n; ++i) {
            xMin = std::min(xMin, xs[i]);
            xMax = std::max(xMax, xs[i]);
            yMin = std::min(yMin, ys[i]);
            yMax = std::max(yMax, ys[i]);
        }
        const double sx = Width / std::max(xMax - xMin, 1e-300), sy = Height / std::max(yMax - yMin, 1e-300);
        for (std::size_t i = 0; i < n; ++i) {
            xs[i] = Left + (xs[i] - xMin) * sx;
            ys[i] = Top + Height - (ys[i] - yMin) * sy;
        }
        std::vector<double> rx, ry;
        if (!kivo::detail::reduceToPixelColumns(xs, ys, Left, Width, 1, rx, ry)) {
            rx = xs;
            ry = ys;
        }
        const auto read = Clock::now();
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 800, 600);
        cairo_t* cr = cairo_create(surface);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_set_source_rgb(cr, 40 / 255.0, 100 / 255.0, 200 / 255.0);
        cairo_set_line_width(cr, 2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        for (std::size_t i = 0; i < rx.size(); ++i) i == 0 ? cairo_move_to(cr, rx[i], ry[i]) : cairo_line_to(cr, rx[i], ry[i]);
        cairo_stroke(cr);
        cairo_surface_flush(surface);
        const auto drawn = Clock::now();
        cairo_surface_write_to_png(surface, path.c_str());
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        const auto end = Clock::now();
        readTime += seconds(start, read);
        drawTime += seconds(read, drawn);
        pngTime += seconds(drawn, end);
    }
    report(state, {{"read_ms", readTime}, {"stroke_ms", drawTime}, {"png_ms", pngTime}});
}

// Destroying a drawn chart together with its own items (nobody else holds them).
void BM_WholeJobTeardown(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    plat::Clock::useVirtual(plat::Date(VirtualStart));
    for (auto _ : state) {
        state.PauseTiming();
        auto job = std::make_unique<Job>(freshItems(n), state.range(1) != 0);
        state.ResumeTiming();
        job.reset();
        plat::RunLoop::main().discardPendingWork();
    }
    plat::Clock::useSystem();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The baseline of the teardown: freeing the same items alone.
void BM_WholeJobItemsFreed(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto items = freshItems(n);
        state.ResumeTiming();
        items.reset();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_WholeJob)
    ->ArgsProduct({{10'000, 100'000, 1'000'000}, {0, 1}})
    ->ArgNames({"n", "bindX"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeJobFloor)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->ArgNames({"n"})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeJobTeardown)
    ->Args({1'000'000, 0})
    ->Args({1'000'000, 1})
    ->ArgNames({"n", "bindX"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeJobItemsFreed)->Arg(1'000'000)->ArgNames({"n"})->Unit(benchmark::kMillisecond);
