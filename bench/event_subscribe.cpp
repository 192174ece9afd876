// Subscribing many handlers to one event: each add must cost the same however long the list is
// (the reported complexity should be O(N) for N adds), including while a raise holds the list.
#include <benchmark/benchmark.h>

#include "KivoCore/KivoEvent.h"

namespace {

void AddHandlers(benchmark::State& state) {
    const KivoEventBlock block = [](const std::shared_ptr<KivoEventContainer>&) {};
    for (auto _ : state) {
        KivoEvent event;
        for (int64_t i = 0; i < state.range(0); ++i) event.addHandler(block, nullptr);
        benchmark::DoNotOptimize(event.handlers());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(AddHandlers)->RangeMultiplier(4)->Range(1'000, 64'000)->Complexity(benchmark::oN);

// A handler that subscribes during the raise: the first add copies the list the raise walks, the
// rest go to that copy.
void AddHandlersDuringARaise(benchmark::State& state) {
    const KivoEventBlock block = [](const std::shared_ptr<KivoEventContainer>&) {};
    for (auto _ : state) {
        KivoEvent event;
        for (int64_t i = 0; i < state.range(0); ++i) event.addHandler(block, nullptr);
        bool done = false;
        event.addHandler(
            [&](const std::shared_ptr<KivoEventContainer>&) {
                if (done) return;
                done = true;
                for (int64_t i = 0; i < state.range(0); ++i) event.addHandler(block, nullptr);
            },
            nullptr);
        event.raise(nullptr, KivoEventArgs::empty());
        benchmark::DoNotOptimize(event.handlers());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(AddHandlersDuringARaise)->RangeMultiplier(4)->Range(1'000, 64'000)->Complexity(benchmark::oN);

}  // namespace
