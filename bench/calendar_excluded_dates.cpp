// Excluding many days from a calendar's selected range: each add must cost the same however many
// days are excluded already (the reported complexity should be O(N) for N adds), and a membership
// test of a day that is not excluded stays cheap.
#include <benchmark/benchmark.h>

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoCalendarRange.h"

namespace {

constexpr double SecondsPerDay = 86400;

void AddExcludedDates(benchmark::State& state) {
    auto calendar = KivoCalendar::create({0, 0, 280, 315});
    for (auto _ : state) {
        auto range = KivoCalendarRange::create(plat::Date(0), plat::Date(0), calendar);
        for (int64_t i = 0; i < state.range(0); ++i) range->addExcludedDates(plat::Date(static_cast<double>(i) * SecondsPerDay));
        // Every date once more: each is found excluded already.
        for (int64_t i = 0; i < state.range(0); ++i) range->addExcludedDates(plat::Date(static_cast<double>(i) * SecondsPerDay));
        benchmark::DoNotOptimize(range->excludedDates().size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(AddExcludedDates)->RangeMultiplier(4)->Range(5'000, 80'000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

}  // namespace
