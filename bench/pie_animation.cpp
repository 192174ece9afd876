// One frame of each of the pie's animations on a 600 × 600 pie of 1,000 slices with a label inside
// every slice, against a static pass of the same pie. An update frame is its tick (the eased values
// and their sum) and the pass it asks for; a turn frame is its tick (a new transform) and the window's
// composite. The clock is moved half way into each animation and then stands still, so every measured
// frame does the same work, with the slice half grown and the pie half turned. Goal: each frame within
// 1.3 × the static pass.
#include <benchmark/benchmark.h>

#include <memory>

#include "ChartCore/KivoLegend.h"
#include "OmbriPie/OmbriPie.h"
#include "chart_scene.h"

// The pie's one door to its inner workings: here, the turn's tick.
namespace kivo::detail {
struct PieTestAccess {
    // A frame at the time the turn stands at now.
    static void selectAnimationTick(OmbriPie& pie) {
        pie._selectAnimationTimerTask(pie._animationTime, pie._selectAnimation->duration(), false);
    }
};
}  // namespace kivo::detail

namespace {

constexpr plat::Rect Screen{0, 0, 600, 600};
constexpr std::int64_t Slices = 1000;

plat::ArrayPtr slices(std::int64_t count) {
    auto items = std::make_shared<plat::Array>();
    items->reserve(static_cast<std::size_t>(count));
    std::uint32_t seed = 47;
    for (std::int64_t i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        items->push_back(plat::Value(
            plat::Dictionary{{"name", numbered("n", static_cast<int>(i))}, {"value", 1 + (seed >> 8) / double(1u << 24) * 99}}));
    }
    return items;
}

struct AnimatedPieScene : ChartSceneBase<OmbriPie> {
    AnimatedPieScene() : ChartSceneBase(OmbriPie::create(Screen), Screen) {
        chart->legend()->setPosition(KivoAxisPositionNone);
        chart->dataLabel()->setPosition(KivoPieLabelPositionInside);
        chart->setItemsSource(slices(Slices));
        chart->setBinding("value");
        chart->setBindingName("name");
        chart->pieControl()->setFirstLoad(false);  // no load animation in the way
        window->addSubview(chart);
        window->display(image.context());
    }
    const std::shared_ptr<OmbriPieControl>& view() const { return chart->pieControl(); }
    // Half way into an animation that started now.
    static void halfWay() {
        plat::Clock::useSystem();
        plat::Clock::useVirtual(plat::Date(VirtualStart + 0.5));
        // The frame due now sets the running animation's time; with the clock standing, no other follows.
        plat::RunLoop::main().runUntilIdle();
    }
    bool drewEverySlice() const { return view()->areas().size() == static_cast<std::size_t>(Slices); }
};

void BM_PieStaticPass(benchmark::State& state) {
    AnimatedPieScene scene;
    if (!scene.drewEverySlice()) state.SkipWithError("the pie did not draw every slice");
    for (auto _ : state) scene.pass();
}
BENCHMARK(BM_PieStaticPass)->Unit(benchmark::kMillisecond);

// The last slice grows from nothing: the road an added item takes.
void BM_PieUpdateFrame(benchmark::State& state) {
    AnimatedPieScene scene;
    const auto& view = scene.view();
    OmbriPieControl::ValueChanges grow;
    grow.added = {view->values().back()};
    grow.addedAt = {Slices - 1};
    view->handOverUpdate(std::move(grow));
    scene.window->display(scene.image.context());  // draws the old values and arms the start
    plat::RunLoop::main().runUntilIdle();
    if (view->isUpdateAnimated() || !view->isUpdating()) state.SkipWithError("the update did not start");
    scene.halfWay();
    for (auto _ : state) {
        view->increasePieSliceAnimation();
        scene.window->display(scene.image.context());
    }
    const double grown = view->values().back();
    if (!(grown > 0 && grown < view->preValues().back())) state.SkipWithError("the slice is not half grown");
    if (!scene.drewEverySlice()) state.SkipWithError("the pie did not draw every slice");
}
BENCHMARK(BM_PieUpdateFrame)->Unit(benchmark::kMillisecond);

void BM_PieTurnFrame(benchmark::State& state) {
    AnimatedPieScene scene;
    scene.chart->setSelectedItemPosition(KivoAxisPositionTop);
    scene.chart->setSelectedIndex(Slices / 3);
    scene.window->display(scene.image.context());  // arms the turn
    plat::RunLoop::main().runUntilIdle();          // starts it
    if (!scene.chart->isAnimating()) state.SkipWithError("the turn did not start");
    scene.halfWay();
    kivo::detail::PieTestAccess::selectAnimationTick(*scene.chart);
    if (scene.chart->pieControl()->transform().isIdentity()) state.SkipWithError("the pie did not turn");
    for (auto _ : state) {
        kivo::detail::PieTestAccess::selectAnimationTick(*scene.chart);
        scene.window->display(scene.image.context());
    }
}
BENCHMARK(BM_PieTurnFrame)->Unit(benchmark::kMillisecond);

}  // namespace
