// Stacked series whose X values do not come in ascending order, and series with long runs of missing
// values filled in by interpolation, in an 800 × 600 chart: one static drawing pass each.
//
// BM_StackedPass: two stacked series of 100,000 points over the same X values, listed ascending,
// descending (a time series sorted newest first) or shuffled, as line, scatter and column series. The
// goal: descending and shuffled within 1.5 × ascending. A line through shuffled X values is a scribble
// across the whole plot whose stroking alone costs minutes: lines are measured ascending and descending.
//
// BM_InterpolatedPass: 50,000 items, one series with a gap of 40,000 missing values in its middle and
// one series with every value missing, as a line and a column chart, drawn without and with
// interpolateNulls, and (the third mode) the same chart over complete values, which draws as many
// points or bars as the interpolated one. The goal: with interpolation within 1.5 × without; a column
// chart that fills the gap draws five times the bars, so it is held against the complete chart too.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "chart_scene.h"

namespace {

constexpr plat::Rect Screen{0, 0, 800, 600};
constexpr int StackedPoints = 100'000;
constexpr int InterpolatedItems = 50'000;
constexpr int Gap = 40'000;

enum Order { Ascending, Descending, Shuffled };

plat::ArrayPtr stackedItems(Order order) {
    std::vector<int> positions(StackedPoints);
    for (int i = 0; i < StackedPoints; ++i)
        positions[static_cast<std::size_t>(i)] = order == Descending ? StackedPoints - 1 - i : i;
    if (order == Shuffled) {
        std::uint32_t seed = 99;
        for (std::size_t i = positions.size(); i > 1; --i) {
            seed = seed * 1664525u + 1013904223u;
            std::swap(positions[i - 1], positions[seed % i]);
        }
    }
    auto list = std::make_shared<plat::Array>();
    list->reserve(positions.size());
    for (const int p : positions)
        list->push_back(plat::Value(plat::Dictionary{{"x", p}, {"a", 1.0 + p % 7}, {"b", 2.0 + p % 5}}));
    return list;
}

struct StackedScene : ChartSceneBase<> {
    StackedScene(std::int64_t type, Order order) : ChartSceneBase(OmbriChart::create(Screen), Screen) {
        chart->setIsAnimated(false);
        chart->setChartType(type);
        chart->setStacking(KivoPlotterStackingStacked);
        chart->setBindingX("x");
        chart->setItemsSource(stackedItems(order));
        for (const char* binding : {"a", "b"})
            chart->series()->addObject(plat::Value(KivoSeries::create(chart, binding, binding)));
        window->addSubview(chart);
        pass();
    }
};

// Args: OmbriChartType, Order.
void BM_StackedPass(benchmark::State& state) {
    StackedScene scene(state.range(0), static_cast<Order>(state.range(1)));
    for (auto _ : state) scene.pass();
    state.SetItemsProcessed(state.iterations() * 2 * StackedPoints);
}
BENCHMARK(BM_StackedPass)
    ->ArgsProduct({{OmbriChartTypeLine}, {Ascending, Descending}})
    ->ArgsProduct({{OmbriChartTypeScatter, OmbriChartTypeColumn}, {Ascending, Descending, Shuffled}})
    ->Unit(benchmark::kMillisecond);

enum Fill { Gaps, Interpolated, Complete };

plat::ArrayPtr gappedItems(bool gap) {
    constexpr double Missing = std::numeric_limits<double>::quiet_NaN();
    const int gapStart = (InterpolatedItems - Gap) / 2;
    auto list = std::make_shared<plat::Array>();
    list->reserve(InterpolatedItems);
    for (int i = 0; i < InterpolatedItems; ++i) {
        const bool inGap = gap && i >= gapStart && i < gapStart + Gap;
        list->push_back(plat::Value(plat::Dictionary{{"x", i}, {"v", inGap ? Missing : std::sin(i * 0.01)}, {"none", Missing}}));
    }
    return list;
}

struct GappedScene : ChartSceneBase<> {
    GappedScene(std::int64_t type, Fill fill) : ChartSceneBase(OmbriChart::create(Screen), Screen) {
        chart->setIsAnimated(false);
        chart->setChartType(type);
        chart->setInterpolateNulls(fill == Interpolated);
        chart->setBindingX("x");
        chart->setItemsSource(gappedItems(fill != Complete));
        for (const char* binding : {"v", "none"})
            chart->series()->addObject(plat::Value(KivoSeries::create(chart, binding, binding)));
        window->addSubview(chart);
        pass();
    }
};

// Args: OmbriChartType, Fill.
void BM_InterpolatedPass(benchmark::State& state) {
    GappedScene scene(state.range(0), static_cast<Fill>(state.range(1)));
    for (auto _ : state) scene.pass();
    state.SetItemsProcessed(state.iterations() * 2 * InterpolatedItems);
}
BENCHMARK(BM_InterpolatedPass)
    ->ArgsProduct({{OmbriChartTypeLine, OmbriChartTypeColumn}, {Gaps, Interpolated, Complete}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
