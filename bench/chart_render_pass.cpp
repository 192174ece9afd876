// One drawing pass of an 800 × 600 Cartesian chart of 5 series × 1,000 points into a Cairo image: a
// static pass (no animation) against one frame of the load animation in each of its three modes (all
// at once, point by point, series by series). The series are drawn by a plain polyline plotter that
// grows each line from the origin by the eased time (or reveals its points), so a frame costs what
// the chart's animation state costs on top of drawing nearly the same lines. The goal is a frame
// within 1.3 × the static pass.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "KivoCore/IKivoRenderEngine.h"
#include "OmbriChart/KivoBasePlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/graphics/image_context.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/window.h"
#include "chart/ChartState.h"
#include "chart_scene.h"

namespace {

constexpr int SeriesCount = 5;
constexpr int PointCount = 1000;
constexpr plat::Rect Screen{0, 0, 800, 600};
// The frames are measured nine tenths into a linear load animation, where they draw nearly what the
// static pass draws.
constexpr double LoadSeconds = 1.0;
constexpr double IntoTheAnimation = 0.9;

// Strokes each series through its points, each value grown from the origin by the eased share of
// the animation that has passed (all of it when nothing is animated).
class PolylinePlotter : public KivoBasePlotter {
public:
    explicit PolylinePlotter(const std::shared_ptr<OmbriChart>& chart) : KivoBasePlotter(chart) {}

    void plotSeries(const std::shared_ptr<KivoSeries>& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                    const std::shared_ptr<KivoAxis>& axisX, const std::shared_ptr<KivoAxis>& axisY, std::int32_t, std::int32_t,
                    std::int32_t, std::int32_t, std::int64_t, StackDictionary&, StackDictionary&) override {
        const auto owner = chart();
        const auto ys = series->getValues(0);
        if (!owner || !ys) return;
        const auto xs = owner->xvals();
        // As the line family reads the animation: a series-by-series frame by the series' own time, a
        // point-by-point frame by the points revealed so far, any other by the frame's time.
        const auto& load = *owner->loadAnimation();
        double t = time(), duration = load.duration();
        std::size_t count = ys->size();
        if (load.animationMode() == KivoLoadAnimationModeSeries) {
            duration = series->animationDuration();
            t = series->animationTime();
        } else if (load.animationMode() == KivoLoadAnimationModePoint && kivo::detail::chartState(*owner).plotting()) {
            count = std::min(count, static_cast<std::size_t>(std::max(dataInfoCount(), 0)) + 1);
            t = duration;
        }
        const double share =
            duration > 0 ? KivoEasingUtil::ease(owner->getEasing(), std::clamp(t, 0.0, duration), 0, 1, duration) : 1.0;
        const std::size_t last = count;
        _xs.clear();
        _ys.clear();
        for (std::size_t k = 0; k < last; ++k) {
            const double x = (*xs)[k].asDouble(), y = (*ys)[k].asDouble();
            _xs.push_back(axisX->convert(x));
            _ys.push_back(axisY->convert(origin() + (y - origin()) * share));
        }
        engine->setStroke(owner->getColor(static_cast<std::int64_t>(owner->series()->indexOfObject(plat::Value(series)))));
        engine->setStrokeThickness(1.5);
        engine->drawLines(_xs, _ys);
        points += _xs.size();
    }
    void redoSelection(const std::shared_ptr<IKivoRenderEngine>&) override {}

    // The points stroked so far.
    std::size_t points = 0;

private:
    std::vector<double> _xs, _ys;
};

class BenchChart : public OmbriChart {
public:
    static std::shared_ptr<BenchChart> create() { return initialized(std::shared_ptr<BenchChart>(new BenchChart(Screen))); }

protected:
    explicit BenchChart(const plat::Rect& frame) : OmbriChart(frame) {}
    std::shared_ptr<IKivoPlotter> makePlotter(PlotterFamily) override {
        return std::make_shared<PolylinePlotter>(sharedAs<OmbriChart>());
    }
};

plat::ArrayPtr walks() {
    auto items = std::make_shared<plat::Array>();
    items->reserve(PointCount);
    std::vector<double> level(SeriesCount, 50);
    std::uint32_t seed = 2024;
    for (int i = 0; i < PointCount; ++i) {
        plat::Dictionary d{{"x", i}};
        for (int s = 0; s < SeriesCount; ++s) {
            seed = seed * 1664525u + 1013904223u;
            level[static_cast<std::size_t>(s)] += (seed >> 8) / double(1u << 24) - 0.5;
            d[numbered("s", s)] = level[static_cast<std::size_t>(s)] + 20 * s;
        }
        items->push_back(plat::Value(std::move(d)));
    }
    return items;
}

// A window holding the chart, on a virtual clock so that the animation stands still while measured.
struct Scene : ChartSceneBase<BenchChart> {
    explicit Scene(bool animated, std::int64_t mode = KivoLoadAnimationModeAll) : ChartSceneBase(BenchChart::create(), Screen) {
        chart->setChartType(OmbriChartTypeLine);
        chart->setIsAnimated(animated);
        chart->loadAnimation()->setDuration(LoadSeconds);
        chart->loadAnimation()->setEasing(KivoEasing::EaseInLinear());
        chart->loadAnimation()->setAnimationMode(mode);
        chart->setBindingX("x");
        chart->setItemsSource(walks());
        for (int s = 0; s < SeriesCount; ++s)
            chart->series()->addObject(plat::Value(KivoSeries::create(chart, numbered("s", s), numbered("Series ", s))));
        window->addSubview(chart);
        // The first pass starts the load animation; its frames follow from the first tick on.
        window->display(image.context());
        plat::RunLoop::main().runFor(IntoTheAnimation);
    }
    // The points the chart's line plotter stroked per pass, as a counter.
    void report(benchmark::State& state) {
        const auto plotter = std::dynamic_pointer_cast<PolylinePlotter>(chart->linePlotter());
        state.counters["points/pass"] = plotter ? double(plotter->points) / double(state.iterations()) : 0;
        state.SetItemsProcessed(state.iterations() * SeriesCount * PointCount);
    }
};

void BM_ChartStaticPass(benchmark::State& state) {
    Scene scene(false);
    if (auto p = std::dynamic_pointer_cast<PolylinePlotter>(scene.chart->linePlotter())) p->points = 0;
    for (auto _ : state) scene.pass();
    scene.report(state);
}
BENCHMARK(BM_ChartStaticPass)->Unit(benchmark::kMillisecond);

// Arg: how the load animation reveals the chart: 0 everything together, 1 one point after another,
// 2 one series after another.
void BM_ChartAnimationFrame(benchmark::State& state) {
    Scene scene(true, state.range(0));
    if (!kivo::detail::chartState(*scene.chart).plotting()) state.SkipWithError("the load animation is not running");
    if (auto p = std::dynamic_pointer_cast<PolylinePlotter>(scene.chart->linePlotter())) p->points = 0;
    for (auto _ : state) scene.pass();
    scene.report(state);
}
BENCHMARK(BM_ChartAnimationFrame)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
