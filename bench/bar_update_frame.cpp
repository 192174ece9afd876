// One drawing pass of an 800 × 600 column chart of 5 series × 1,000 items into a Cairo image: a static
// pass against a frame halfway through each task of the update animation of an item inserted first
// (task 1: every bar slides and narrows from its old place; task 2: the new item grows). The update
// frames compute each bar from the old and new layouts; the goal is a frame within 1.3 × the static pass.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "KivoCore/KivoEasing.h"
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
constexpr int ItemCount = 1000;
constexpr plat::Rect Screen{0, 0, 800, 600};
constexpr double TaskSeconds = 1.0;

plat::Dictionary item(int i) {
    plat::Dictionary d;
    for (int s = 0; s < SeriesCount; ++s) d[numbered("s", s)] = 10 + (i * 7 + s * 13) % 50;
    return d;
}

// The chart in a window on a virtual clock: drawn once without animation, then (for an update) an item
// inserted first and the clock moved halfway into the task asked for.
struct Scene : ChartSceneBase<> {
    explicit Scene(int task) : ChartSceneBase(OmbriChart::create(Screen), Screen) {
        auto items = std::make_shared<plat::Array>();
        for (int i = 0; i < ItemCount; ++i) items->push_back(plat::Value(item(i)));
        chart->setIsAnimated(false);
        chart->setItemsSource(items);
        for (int s = 0; s < SeriesCount; ++s)
            chart->series()->addObject(plat::Value(KivoSeries::create(chart, numbered("s", s), numbered("Series ", s))));
        window->addSubview(chart);
        window->display(image.context());
        if (task == 0) return;
        // Task 1 runs at the update's pace, task 2 of an add at the load animation's.
        chart->updateAnimation()->setDuration(TaskSeconds);
        chart->updateAnimation()->setEasing(KivoEasing::EaseInLinear());
        chart->loadAnimation()->setDuration(TaskSeconds);
        chart->loadAnimation()->setEasing(KivoEasing::EaseInLinear());
        chart->setIsAnimated(true);
        chart->collectionView()->insertObject(plat::Value(item(ItemCount)), 0);
        plat::RunLoop::main().runFor(TaskSeconds / 2 + (task == 2 ? TaskSeconds : 0));
    }
};

// Arg: 0 a static pass, 1 halfway through task 1, 2 halfway through task 2.
void BM_BarUpdateFrame(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)));
    const bool task1 = kivo::detail::chartState(*scene.chart).isUpdateTask1(),
               task2 = kivo::detail::chartState(*scene.chart).isUpdateTask2();
    if ((state.range(0) == 1 && !task1) || (state.range(0) == 2 && !task2)) state.SkipWithError("the task is not running");
    for (auto _ : state) scene.pass();
    state.SetItemsProcessed(state.iterations() * SeriesCount * ItemCount);
}
BENCHMARK(BM_BarUpdateFrame)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
