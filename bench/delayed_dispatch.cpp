// 100,000 blocks delayed on the main queue, each due at a moment of its own: scheduling them, and
// scheduling them and running the virtual clock until every one has run. The run loop keeps them in
// date order, so both grow as n log n.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "Platform/foundation/date.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/dispatch.h"
#include "Platform/runtime/run_loop.h"

namespace {

constexpr int Blocks = 100'000;
constexpr double Step = 1e-6;  // one microsecond between due moments

void useVirtualClock() { plat::Clock::useVirtual(plat::Date(1704067200)); }

void endVirtualClock() {
    plat::Clock::useSystem();
    plat::RunLoop::main().discardPendingWork();
}

void scheduleBlocks(int& ran) {
    for (int i = 0; i < Blocks; ++i) plat::dispatch::after(plat::dispatch::Queue::main(), (i + 1) * Step, [&ran] { ++ran; });
}

void DelayedMainBlocksScheduled(benchmark::State& state) {
    int ran = 0;
    for (auto _ : state) {
        state.PauseTiming();
        useVirtualClock();
        state.ResumeTiming();
        scheduleBlocks(ran);
        state.PauseTiming();
        endVirtualClock();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * Blocks);
}
BENCHMARK(DelayedMainBlocksScheduled)->Unit(benchmark::kMillisecond);

void DelayedMainBlocksScheduledAndRun(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        useVirtualClock();
        state.ResumeTiming();
        int ran = 0;
        scheduleBlocks(ran);
        plat::RunLoop::main().runFor((Blocks + 1) * Step);
        if (ran != Blocks) state.SkipWithError("not every delayed block ran");
        state.PauseTiming();
        endVirtualClock();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * Blocks);
}
BENCHMARK(DelayedMainBlocksScheduledAndRun)->Unit(benchmark::kMillisecond);

}  // namespace
