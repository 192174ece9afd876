// A polyline of 100,000 and 1,000,000 points stroked into an 800 × 600 image: through the render
// engine's drawLines (engine → drawing context → Cairo) against the same stroke in plain Cairo calls.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <vector>

#include "KivoCore/KivoRenderEngine.h"
#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"

namespace {

constexpr int Width = 800, Height = 600;

struct Points {
    std::vector<double> xs, ys;
};

// A wave with a deterministic jitter across the whole width, as a dense line series looks.
const Points& points(std::size_t n) {
    static std::vector<std::pair<std::size_t, Points>> cache;
    for (const auto& [count, pts] : cache)
        if (count == n) return pts;
    Points p;
    p.xs.resize(n);
    p.ys.resize(n);
    std::uint32_t seed = 12345;
    for (std::size_t i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        double jitter = (seed >> 8) / double(1u << 24) - 0.5;
        p.xs[i] = 10 + (Width - 20) * double(i) / double(n - 1);
        p.ys[i] = Height / 2.0 + 200 * std::sin(double(i) * 40.0 / double(n)) + 4 * jitter;
    }
    cache.emplace_back(n, std::move(p));
    return cache.back().second;
}

void BM_PolylineEngine(benchmark::State& state) {
    const Points& pts = points(static_cast<std::size_t>(state.range(0)));
    plat::Image image(Width, Height);
    plat::CairoContext context(image);
    plat::CurrentContextScope current(context);
    KivoRenderEngine engine;
    engine.setStroke(plat::Color::rgb255(40, 100, 200));
    engine.setStrokeThickness(1);
    for (auto _ : state) {
        engine.drawLines(pts.xs, pts.ys);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PolylinePlainCairo(benchmark::State& state) {
    const Points& pts = points(static_cast<std::size_t>(state.range(0)));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, Height);
    cairo_t* cr = cairo_create(surface);
    for (auto _ : state) {
        // The look the engine applies for a polyline: colour, width, round joins, no dash.
        cairo_set_source_rgba(cr, 40 / 255.0, 100 / 255.0, 200 / 255.0, 1);
        cairo_set_line_width(cr, 1);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_new_path(cr);
        cairo_move_to(cr, pts.xs[0], pts.ys[0]);
        for (std::size_t i = 1; i < pts.xs.size(); ++i) cairo_line_to(cr, pts.xs[i], pts.ys[i]);
        cairo_stroke(cr);
        benchmark::ClobberMemory();
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_PolylineEngine)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolylinePlainCairo)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
