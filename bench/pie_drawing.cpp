// One drawing pass of a 600 × 600 pie into a Cairo image, with a label inside every slice and no
// legend: 100 slices against 10,000, compared per slice (items per second). The label room is
// measured once per pass, so the cost per slice should not grow with the count; the goal is the
// large pie within 1.2 × the small one's time per slice.
#include <benchmark/benchmark.h>

#include <memory>

#include "ChartCore/KivoLegend.h"
#include "OmbriPie/OmbriPie.h"
#include "chart_scene.h"

namespace {

constexpr plat::Rect Screen{0, 0, 600, 600};

plat::ArrayPtr slices(std::int64_t count) {
    auto items = std::make_shared<plat::Array>();
    items->reserve(static_cast<std::size_t>(count));
    std::uint32_t seed = 46;
    for (std::int64_t i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        items->push_back(plat::Value(plat::Dictionary{{"name", numbered("n", static_cast<int>(i))},
                                                      {"value", 1 + (seed >> 8) / double(1u << 24) * 99}}));
    }
    return items;
}

struct PieScene : ChartSceneBase<OmbriPie> {
    explicit PieScene(std::int64_t count) : ChartSceneBase(OmbriPie::create(Screen), Screen) {
        chart->setIsAnimated(false);
        chart->legend()->setPosition(KivoAxisPositionNone);
        chart->dataLabel()->setPosition(KivoPieLabelPositionInside);
        chart->setItemsSource(slices(count));
        chart->setBinding("value");
        chart->setBindingName("name");
        window->addSubview(chart);
        window->display(image.context());
    }
};

// Arg: the number of slices.
void BM_PieDrawingPass(benchmark::State& state) {
    PieScene scene(state.range(0));
    if (scene.chart->pieControl()->areas().size() != static_cast<std::size_t>(state.range(0)))
        state.SkipWithError("the pie did not draw every slice");
    for (auto _ : state) scene.pass();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PieDrawingPass)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
