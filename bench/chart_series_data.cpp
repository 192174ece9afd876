// The chart's data path before anything is drawn: a series reading its Y and X values from the
// chart's items (model objects), and the data analysis over the read values, at 10k, 100k and 1M
// points. The baselines of the reading: the reflector loop over the same items, and a plain member loop
// that builds the same two value lists (X and Y) that the series keeps.
#include <benchmark/benchmark.h>

#include <memory>

#include "KivoCore/KivoReflector.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/foundation/reflect.h"

namespace {

class BenchPoint : public plat::Object {
public:
    PLAT_CLASS()
    double time = 0;
    double value = 0;
};
PLAT_DEFINE_CLASS(BenchPoint, plat::Object, plat::property("time", &BenchPoint::time),
                  plat::property("value", &BenchPoint::value))

plat::ArrayPtr points(std::int64_t n) {
    auto a = std::make_shared<plat::Array>();
    a->reserve(static_cast<std::size_t>(n));
    double walk = 0;
    for (std::int64_t i = 0; i < n; ++i) {
        auto p = std::make_shared<BenchPoint>();
        p->time = static_cast<double>(i);
        walk += (i * 7919 % 13) - 6;
        p->value = walk;
        a->push_back(plat::Value(p));
    }
    return a;
}

struct ChartWithSeries {
    std::shared_ptr<OmbriChart> chart = OmbriChart::create({0, 0, 800, 600});
    std::shared_ptr<KivoSeries> series = KivoSeries::create(chart, "value", "Walk");
    explicit ChartWithSeries(std::int64_t n) {
        chart->setBindingX("time");
        chart->setItemsSource(points(n));
        chart->series()->addObject(plat::Value(series));
    }
};

void ReflectorBaseline(benchmark::State& state) {
    const auto items = points(state.range(0));
    const std::string key = "value";
    for (auto _ : state) {
        double sum = 0;
        for (const auto& v : *items) sum += KivoReflector::getValue(v, key).asDouble();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ReflectorBaseline)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond);

void PlainLoopBuildsValues(benchmark::State& state) {
    const auto items = points(state.range(0));
    for (auto _ : state) {
        auto ys = std::make_shared<plat::Array>();
        auto xs = std::make_shared<plat::Array>();
        ys->reserve(items->size());
        xs->reserve(items->size());
        for (const auto& v : *items) ys->push_back(plat::Value(static_cast<const BenchPoint&>(*v.asObject()).value));
        for (const auto& v : *items) xs->push_back(plat::Value(static_cast<const BenchPoint&>(*v.asObject()).time));
        benchmark::DoNotOptimize(ys);
        benchmark::DoNotOptimize(xs);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(PlainLoopBuildsValues)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond);

void SeriesReadsValues(benchmark::State& state) {
    ChartWithSeries c(state.range(0));
    for (auto _ : state) {
        c.series->clearValues();
        benchmark::DoNotOptimize(c.series->getValues(0));
        benchmark::DoNotOptimize(c.series->getValues(1));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(SeriesReadsValues)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond);

void DataAnalysis(benchmark::State& state) {
    ChartWithSeries c(state.range(0));
    c.series->getValues(0);
    c.series->getValues(1);
    auto info = KivoDataInfo::create();
    for (auto _ : state) {
        info->analyse(c.chart->series()->sourceArray(), state.range(1), nullptr);
        benchmark::DoNotOptimize(info->getMaxY());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(DataAnalysis)
    ->ArgsProduct({{10'000, 100'000, 1'000'000}, {KivoPlotterStackingNone, KivoPlotterStackingStacked}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
