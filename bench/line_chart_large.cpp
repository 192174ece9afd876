// A line series of 10k, 100k and 1M points (a random walk) in an 800 × 600 chart: one whole drawing
// pass of the chart against plain Cairo stroking the same screen points, all of them and after the
// per-pixel-column reduction the chart applies. The goals: the chart within 1.5 × plain Cairo
// stroking the reduced points at every size, and at 1M within 0.15 × plain Cairo stroking them all.
//
// BM_LargeLineRatios times, in one run, the static pass against plain Cairo stroking the reduced points,
// a pass after a pan of 1 % of the axis window against the static pass through that window (goal:
// 1.2 ×), and a pass after one item was replaced against the static pass (goal: 1.5 ×); it also
// reports the bytes per point that the series' kept numbers and the analysis take (goal: 40).
//
// BM_LargeLineReducedImageDifference is no timing: it draws the full and the reduced line once and
// reports how many pixels differ by more than 32/255 in a channel. With KIVO_BENCH_OUT set to a
// folder, it also writes both pictures and the chart's own as PNG files there.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ChartCore/KivoHitTester.h"
#include "KivoCore/KivoAnimation.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoLinePlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/image_context.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/window.h"
#include "chart/ChartState.h"
#include "data/DataInfoInternals.h"
#include "large_chart_scene.h"
#include "plotters/ColumnReduction.h"
#include "plotters/LinePointArea.h"
#include "series/SeriesColumns.h"

namespace {

// What the chart strokes a series with when the series sets nothing.
constexpr double LineWidth = KivoLinePlotter::DefaultLineWidth;
constexpr double LineRed = 40 / 255.0, LineGreen = 100 / 255.0, LineBlue = 200 / 255.0;

using large_chart::ChartScene;
using large_chart::DeviceScale;
using large_chart::Height;
using large_chart::LargeWalkPoint;
using large_chart::Walk;
using large_chart::walk;
using large_chart::Width;

// The walk in screen points as the chart places it, the chart's plot area, and the reduced line.
struct ScreenLine {
    std::vector<double> xs, ys;
    double left = 0, top = 0, width = 0, height = 0;
    std::vector<double> reducedXs, reducedYs;
};

void reduce(ScreenLine& line) {
    if (!kivo::detail::reduceToPixelColumns(line.xs, line.ys, line.left, line.width, DeviceScale, line.reducedXs,
                                            line.reducedYs)) {
        line.reducedXs = line.xs;
        line.reducedYs = line.ys;
    }
}

const ScreenLine& screenLine(std::size_t n) {
    static std::map<std::size_t, ScreenLine> cache;
    if (auto found = cache.find(n); found != cache.end()) return found->second;
    ChartScene scene(n);
    const auto& plot = scene.chart->plotRect();
    const auto& axisX = scene.chart->axisX();
    const auto& axisY = scene.chart->axisY();
    ScreenLine line;
    if (plot && axisX && axisY) {
        line.left = plot->left();
        line.top = plot->top();
        line.width = plot->width();
        line.height = plot->height();
        const Walk& w = walk(n);
        for (std::size_t i = 0; i < n; ++i) {
            line.xs.push_back(axisX->convert(w.xs[i]));
            line.ys.push_back(axisY->convert(w.ys[i]));
        }
        reduce(line);
    }
    return cache.emplace(n, std::move(line)).first->second;
}

// The same line seen through an X axis zoomed by `factor` about the plot's middle: most points lie off
// the plot, on both sides.
ScreenLine zoomed(const ScreenLine& line, double factor) {
    ScreenLine z = line;
    const double middle = line.left + line.width / 2;
    for (double& x : z.xs) x = middle + (x - middle) * factor;
    reduce(z);
    return z;
}

// Plain Cairo into an image of its own: a white page, the line clipped to the plot area.
class CairoPage {
public:
    CairoPage()
        : _surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width * int(DeviceScale), Height * int(DeviceScale))),
          _cr(cairo_create(_surface)) {
        cairo_scale(_cr, DeviceScale, DeviceScale);
    }
    ~CairoPage() {
        cairo_destroy(_cr);
        cairo_surface_destroy(_surface);
    }
    CairoPage(const CairoPage&) = delete;
    CairoPage& operator=(const CairoPage&) = delete;

    void draw(const ScreenLine& line, std::span<const double> xs, std::span<const double> ys) {
        cairo_set_source_rgb(_cr, 1, 1, 1);
        cairo_paint(_cr);
        cairo_save(_cr);
        cairo_rectangle(_cr, line.left, line.top, line.width, line.height);
        cairo_clip(_cr);
        cairo_set_source_rgba(_cr, LineRed, LineGreen, LineBlue, 1);
        cairo_set_line_width(_cr, LineWidth);
        cairo_set_line_join(_cr, CAIRO_LINE_JOIN_ROUND);
        cairo_new_path(_cr);
        // A NaN point breaks the line, as the chart breaks it at a gap.
        bool open = false;
        for (std::size_t i = 0; i < xs.size(); ++i) {
            if (std::isnan(xs[i]) || std::isnan(ys[i])) {
                open = false;
            } else if (open) {
                cairo_line_to(_cr, xs[i], ys[i]);
            } else {
                cairo_move_to(_cr, xs[i], ys[i]);
                open = true;
            }
        }
        cairo_stroke(_cr);
        cairo_restore(_cr);
        cairo_surface_flush(_surface);
    }

    const std::uint32_t* pixels() const { return reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(_surface)); }
    std::size_t pixelCount() const {
        return static_cast<std::size_t>(cairo_image_surface_get_width(_surface)) *
               static_cast<std::size_t>(cairo_image_surface_get_height(_surface));
    }
    void writePNG(const std::string& path) const { cairo_surface_write_to_png(_surface, path.c_str()); }

private:
    cairo_surface_t* _surface;
    cairo_t* _cr;
};

using large_chart::channelsDiffer;
using large_chart::outputFolder;

// Where two pages differ, enlarged: a window around the first differing pixel, each page's pixels
// side by side with the differing ones in red beneath, every pixel drawn as a square.
void writeDifference(const CairoPage& full, const CairoPage& reduced, const std::string& path) {
    constexpr int Window = 80, Zoom = 5;
    const std::uint32_t* a = full.pixels();
    const std::uint32_t* b = reduced.pixels();
    std::size_t first = 0;
    while (first < full.pixelCount() && !channelsDiffer(a[first], b[first])) ++first;
    if (first == full.pixelCount()) return;
    const int cx = std::clamp(int(first % Width) - Window / 2, 0, Width - Window);
    const int cy = std::clamp(int(first / Width) - Window / 2, 0, Height - Window);
    plat::Image out(3 * Window * Zoom, Window * Zoom);
    const plat::Color red = plat::Color::rgb255(220, 0, 0), grey = plat::Color::rgb255(200, 200, 200);
    for (int y = 0; y < Window; ++y)
        for (int x = 0; x < Window; ++x) {
            const std::size_t i = std::size_t(cy + y) * Width + std::size_t(cx + x);
            const bool inked = a[i] != 0xffffffffu || b[i] != 0xffffffffu;
            const plat::Color marks = channelsDiffer(a[i], b[i]) ? red : inked ? grey : plat::Color::white();
            for (int dy = 0; dy < Zoom; ++dy)
                for (int dx = 0; dx < Zoom; ++dx) {
                    const int px = x * Zoom + dx, py = y * Zoom + dy;
                    out.data()[std::size_t(py) * std::size_t(out.pixelWidth()) + std::size_t(px)] = a[i];
                    out.data()[std::size_t(py) * std::size_t(out.pixelWidth()) + std::size_t(px + Window * Zoom)] = b[i];
                    out.setPixel(px + 2 * Window * Zoom, py, marks);
                }
        }
    out.writePNG(path);
}

void BM_LargeLineCairoAllPoints(benchmark::State& state) {
    const ScreenLine& line = screenLine(static_cast<std::size_t>(state.range(0)));
    CairoPage page;
    for (auto _ : state) page.draw(line, line.xs, line.ys);
    state.counters["points"] = double(line.xs.size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The reduction done once beforehand: the cost of stroking what is left.
void BM_LargeLineCairoReducedPoints(benchmark::State& state) {
    const ScreenLine& line = screenLine(static_cast<std::size_t>(state.range(0)));
    CairoPage page;
    for (auto _ : state) page.draw(line, line.reducedXs, line.reducedYs);
    state.counters["points"] = double(line.reducedXs.size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The reduction in every pass, from the screen points, then the stroke: what a plain program pays.
void BM_LargeLineCairoReduceAndStroke(benchmark::State& state) {
    const ScreenLine& line = screenLine(static_cast<std::size_t>(state.range(0)));
    CairoPage page;
    std::vector<double> xs, ys;
    for (auto _ : state) {
        if (!kivo::detail::reduceToPixelColumns(line.xs, line.ys, line.left, line.width, DeviceScale, xs, ys)) {
            xs = line.xs;
            ys = line.ys;
        }
        page.draw(line, xs, ys);
    }
    state.counters["points"] = double(xs.size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The reduction alone, for the share of the pass it takes.
void BM_LargeLineReductionOnly(benchmark::State& state) {
    const ScreenLine& line = screenLine(static_cast<std::size_t>(state.range(0)));
    std::vector<double> xs, ys;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            kivo::detail::reduceToPixelColumns(line.xs, line.ys, line.left, line.width, DeviceScale, xs, ys));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// One whole drawing pass of the chart (background, axes, labels, the series, its hit areas) with the
// series' values read already.
void BM_LargeLineChartPass(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    walk(n);
    ChartScene scene(n);
    for (auto _ : state) scene.pass();
    state.counters["hit areas"] = double(scene.chart->hitTester()->count());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The same pass with the line plotter registering no hit areas (its data points are still made): what
// the per-point hit areas cost inside the chart.
void BM_LargeLineChartPassWithoutHitAreas(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    walk(n);
    ChartScene scene(n);
    if (const auto& plotter = scene.chart->linePlotter()) plotter->setHitTester(nullptr);
    for (auto _ : state) scene.pass();
    state.counters["hit areas"] = double(scene.chart->hitTester()->count());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A pass after the items changed: the series reads its values again and the data is analysed anew.
void BM_LargeLineChartPassAfterNewItems(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    ChartScene scene(n);
    for (auto _ : state) {
        scene.chart->setItemsSource(walk(n).items);
        scene.pass();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A chart over its own copy of the walk (edits leave the shared walk alone), its X axis showing half
// the data from the middle on.
struct EditedScene : ChartScene {
    explicit EditedScene(std::size_t n, bool zoomed) : ChartScene(n), count(n) {
        chart->setItemsSource(std::make_shared<plat::Array>(*walk(n).items));
        if (zoomed) {
            chart->axisX()->setScale(PanScale);
            chart->axisX()->setScrollPosition(PanFrom);
        }
        pass();
    }
    // Moves the X axis' window by 1 % of its width, to and fro.
    void pan() {
        panned = !panned;
        chart->axisX()->setScrollPosition(panned ? PanFrom + PanStep : PanFrom);
    }
    // Replaces the middle item by one at the same X with another Y, to and fro.
    void replace() {
        const std::size_t middle = count / 2;
        auto point = std::make_shared<large_chart::LargeWalkPoint>();
        point->x = double(middle);
        point->y = walk(count).ys[middle] + (raised ? 0 : 1);
        raised = !raised;
        chart->collectionView()->replaceObjectAtIndex(middle, plat::Value(point));
    }
    // Half the data in view; scrolled by a hundredth of the window (the scroll runs over the other half).
    static constexpr double PanScale = 0.5, PanFrom = 0.5, PanStep = 0.01;
    std::size_t count;
    bool panned = false, raised = false;
};

// The static pass through the half window the pan moves.
void BM_LargeLineChartPassZoomed(benchmark::State& state) {
    EditedScene scene(static_cast<std::size_t>(state.range(0)), true);
    for (auto _ : state) scene.pass();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A pass after the X axis' window moved by 1 % of its width: the same data, analysed already.
void BM_LargeLineChartPassAfterPan(benchmark::State& state) {
    EditedScene scene(static_cast<std::size_t>(state.range(0)), true);
    for (auto _ : state) {
        scene.pan();
        scene.pass();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A pass after one item was replaced through the chart's collection view.
void BM_LargeLineChartPassAfterReplace(benchmark::State& state) {
    EditedScene scene(static_cast<std::size_t>(state.range(0)), false);
    for (auto _ : state) {
        scene.replace();
        scene.pass();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The memory the chart keeps per point for its series' numbers and its analysis, and (apart) what its
// boxed list of X values takes once someone asks for it (the chart makes none for itself).
void reportKeptBytes(benchmark::State& state, OmbriChart& chart) {
    const double n = double(state.range(0));
    std::size_t kept = kivo::detail::DataInfoInternals::bytes(*chart.dataInfo());
    for (std::size_t i = 0; i < chart.series()->count(); ++i)
        kept += kivo::detail::SeriesInternals::bytes(*chart.series()->objectAtIndexAs<KivoSeries>(i));
    if (const auto x = kivo::detail::chartState(chart).xList->column()) kept += x->bytes();
    state.counters["kept bytes per point"] = double(kept) / n;
    const auto xvals = chart.xvals();
    state.counters["X list bytes per point"] = xvals ? double(xvals->capacity() * sizeof(plat::Value)) / n : 0;
}

// The median of `runs` timings of `step` (after one untimed run), in seconds.
template <class Step>
double medianSeconds(int runs, Step step) {
    step();
    std::vector<double> times;
    for (int k = 0; k < runs; ++k) {
        const auto start = std::chrono::steady_clock::now();
        step();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[static_cast<std::size_t>(runs / 2)];
}

// A frame in the middle of an animated replace: the replaced point on its way, the others at their places.
void BM_LargeLineChartReplaceFrame(benchmark::State& state) {
    EditedScene scene(static_cast<std::size_t>(state.range(0)), false);
    scene.chart->setIsAnimated(true);
    scene.chart->updateAnimation()->setDuration(1000);  // still running through every measured frame
    scene.replace();
    plat::RunLoop::main().runFor(0.5);
    for (auto _ : state) scene.pass();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The goals' ratios, each pair timed in the same run.
void BM_LargeLineRatios(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const ScreenLine& line = screenLine(n);
    constexpr int Runs = 9;
    for (auto _ : state) {
        CairoPage page;
        const double cairo = medianSeconds(Runs, [&] { page.draw(line, line.reducedXs, line.reducedYs); });
        double pass = 0, replaced = 0, zoomedPass = 0, panned = 0;
        {
            EditedScene still(n, false);
            pass = medianSeconds(Runs, [&] { still.pass(); });
            replaced = medianSeconds(Runs, [&] {
                still.replace();
                still.pass();
            });
            reportKeptBytes(state, *still.chart);
        }
        {
            // One scene at a time: each runs on its own virtual clock.
            EditedScene zoomed(n, true);
            zoomedPass = medianSeconds(Runs, [&] { zoomed.pass(); });
            panned = medianSeconds(Runs, [&] {
                zoomed.pan();
                zoomed.pass();
            });
        }
        state.counters["cairo ms"] = cairo * 1e3;
        state.counters["pass ms"] = pass * 1e3;
        state.counters["pass / cairo"] = pass / cairo;
        state.counters["pan / static"] = panned / zoomedPass;
        state.counters["replace / static"] = replaced / pass;
    }
}

// The parts of a pass that stay per point whatever the line's density, each on its own.

// A hit area for every point as the line plotter registers them (each point's place recorded in one
// block, the areas made only when asked for), the tester cleared as every pass begins; with the second
// argument 1, the areas are also made, as the first hit test after a pass makes them.
void BM_LargeLineHitAreas(benchmark::State& state) {
    const ScreenLine& line = screenLine(static_cast<std::size_t>(state.range(0)));
    const bool made = state.range(1) != 0;
    auto tester = KivoHitTester::create();
    constexpr double HitRadius = 10;
    for (auto _ : state) {
        tester->clear();
        auto block = std::make_shared<kivo::detail::LinePointBlock>();
        block->info = {{}, "Walk", 0, false, HitRadius};
        block->sx.assign(line.xs.begin(), line.xs.end());
        block->sy.assign(line.ys.begin(), line.ys.end());
        // The block as one run, kept alive by the block, as the plotter adds it.
        tester->addBlock(block, block.get(), block->size(), &kivo::detail::LinePointBlock::areaAt, 0);
        if (made) benchmark::DoNotOptimize(block->area(0));
        benchmark::DoNotOptimize(tester->count());
    }
    tester->clear();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// What hit testing one point costs among them all (the nearest area over every series).
void BM_LargeLineHitTest(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    walk(n);
    ChartScene scene(n);
    const ScreenLine& line = screenLine(n);
    const auto at = KivoPoint::create(line.left + line.width / 2, line.top + line.height / 2);
    for (auto _ : state) benchmark::DoNotOptimize(scene.chart->hitTester()->hitTest(at));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The X of every point as the axis formats it (a data point's valueX).
void BM_LargeLineFormattedX(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const Walk& w = walk(n);
    ChartScene scene(n);
    const auto& axis = scene.chart->axisX();
    for (auto _ : state)
        for (std::size_t i = 0; i < n; ++i) benchmark::DoNotOptimize(axis->formatValue(w.xs[i]));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The series' values turned into screen points through the axes, as the plotter's loop does first.
void BM_LargeLineConvertToScreen(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    ChartScene scene(n);
    const auto series = scene.chart->series()->objectAtIndexAs<KivoSeries>(0);
    const auto& axisX = scene.chart->axisX();
    const auto& axisY = scene.chart->axisY();
    std::vector<double> xs, ys;
    for (auto _ : state) {
        const auto values = kivo::detail::SeriesInternals::values(*series, 0);
        const auto xvalues = kivo::detail::SeriesInternals::values(*series, 1);
        xs.clear();
        ys.clear();
        for (std::size_t i = 0; i < values->size(); ++i) {
            xs.push_back(axisX->convert(xvalues->values[i]));
            ys.push_back(axisY->convert(values->values[i]));
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Draws the line fully and reduced once and reports how far the pictures differ; with an output folder,
// writes both, an enlarged view of the difference and (for `chart`) the chart's own picture.
void reportDifference(benchmark::State& state, const ScreenLine& line, const std::string& name, bool chart) {
    CairoPage full, reduced;
    for (auto _ : state) {
        full.draw(line, line.xs, line.ys);
        reduced.draw(line, line.reducedXs, line.reducedYs);
    }
    std::size_t differing = 0, inked = 0;
    const std::uint32_t* a = full.pixels();
    const std::uint32_t* b = reduced.pixels();
    for (std::size_t i = 0; i < full.pixelCount(); ++i) {
        if (a[i] != 0xffffffffu || b[i] != 0xffffffffu) ++inked;
        if (channelsDiffer(a[i], b[i])) ++differing;
    }
    state.counters["differing share of image"] = double(differing) / double(full.pixelCount());
    state.counters["differing share of line"] = inked ? double(differing) / double(inked) : 0;
    state.counters["differing pixels"] = double(differing);
    state.counters["points kept"] = double(line.reducedXs.size());
    if (const char* folder = outputFolder()) {
        const std::string stem = std::string(folder) + "/" + name;
        full.writePNG(stem + "_full.png");
        reduced.writePNG(stem + "_reduced.png");
        writeDifference(full, reduced, stem + "_difference.png");
        if (chart) {
            ChartScene scene(line.xs.size());
            if (const auto image = scene.image.snapshot()) image->writePNG(stem + "_chart.png");
        }
    }
}

void BM_LargeLineReducedImageDifference(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    reportDifference(state, screenLine(n), "large_line_" + std::to_string(n), true);
}

// Ten times zoomed in: nine tenths of the points lie off the plot, and the lines that leave it must
// reach its edges as the full line does.
void BM_LargeLineReducedImageDifferenceZoomed(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    reportDifference(state, zoomed(screenLine(n), 10), "large_line_zoomed_" + std::to_string(n), false);
}

constexpr std::int64_t Sizes[] = {10'000, 100'000, 1'000'000};

void sizes(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : Sizes) b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_LargeLineCairoAllPoints)->Apply(sizes);
BENCHMARK(BM_LargeLineCairoReducedPoints)->Apply(sizes);
BENCHMARK(BM_LargeLineCairoReduceAndStroke)->Apply(sizes);
BENCHMARK(BM_LargeLineReductionOnly)->Apply(sizes);
BENCHMARK(BM_LargeLineChartPass)->Apply(sizes);
BENCHMARK(BM_LargeLineChartPassWithoutHitAreas)->Apply(sizes);
BENCHMARK(BM_LargeLineChartPassAfterNewItems)->Apply(sizes);
BENCHMARK(BM_LargeLineChartPassZoomed)->Apply(sizes);
BENCHMARK(BM_LargeLineChartPassAfterPan)->Apply(sizes);
BENCHMARK(BM_LargeLineChartPassAfterReplace)->Apply(sizes);
BENCHMARK(BM_LargeLineChartReplaceFrame)->Apply(sizes);
BENCHMARK(BM_LargeLineRatios)->Apply(sizes)->Iterations(1);
BENCHMARK(BM_LargeLineHitAreas)->ArgsProduct({{10'000, 100'000, 1'000'000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeLineHitTest)->Apply(sizes);
BENCHMARK(BM_LargeLineFormattedX)->Apply(sizes);
BENCHMARK(BM_LargeLineConvertToScreen)->Apply(sizes);
BENCHMARK(BM_LargeLineReducedImageDifference)->Apply(sizes)->Iterations(1);
BENCHMARK(BM_LargeLineReducedImageDifferenceZoomed)->Apply(sizes)->Iterations(1);
