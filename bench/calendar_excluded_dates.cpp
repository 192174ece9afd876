// Excluding many days from a calendar's selected range: each add must cost the same however many
// days are excluded already (the reported complexity should be O(N) for N adds), and a month page
// draws about as fast with many excluded days as with none.
#include <benchmark/benchmark.h>

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoCalendarMonthView.h"
#include "KivoCalendar/KivoCalendarRange.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/ui/window.h"

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

// Drawing the shown month of a calendar whose selected range (1900 to 2100) has `excluded` days taken
// out, none of them in the shown month: the page looks the same whatever the count, and every one of
// its 42 days asks the range whether it is selected. The page must draw within a small factor of a
// page without excluded days.
void DrawMonthPageWithExcludedDates(benchmark::State& state) {
    auto window = plat::Window::create({0, 0, 400, 480});
    auto calendar = KivoCalendar::create({0, 0, 280, 315});
    window->addSubview(calendar);
    const KivoDateUtil& util = *calendar->dateUtil();
    calendar->setDisplayDate(util.getDateWithYear(2024, 3, 14));
    calendar->setMaxSelectionCount(-1);
    auto range = calendar->selectedDates();
    range->setStartDate(util.getDateWithYear(1900, 1, 1));
    range->setEndDate(util.getDateWithYear(2100, 12, 31));
    const KivoOptionalDate first = util.getDateWithYear(1800, 1, 1);
    for (int64_t i = 0; i < state.range(0); ++i) range->addExcludedDates(util.getDateByAddingDays(i, first));
    window->layoutPass();
    const auto& page = calendar->monthViewCurrent();
    for (auto _ : state) {
        plat::RecordingContext rec;
        page->layer()->renderInContext(rec);
        benchmark::DoNotOptimize(rec.ops().size());
    }
}
BENCHMARK(DrawMonthPageWithExcludedDates)->Arg(0)->Arg(80'000)->Unit(benchmark::kMicrosecond);

}  // namespace
