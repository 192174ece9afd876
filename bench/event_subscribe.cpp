// Subscribing many handlers to one event: each add must cost the same however long the list is
// (the reported complexity should be O(N) for N adds), including while a raise holds the list.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

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

namespace {

// Removing every subscription one call at a time: each removal must cost what an add costs, whatever
// the order (the reported complexity should be O(N) for N removals).
enum class Removal { ByBlockInOrder, ByBlockReversed, ByOwnerReversed };

void RemoveHandlers(benchmark::State& state, Removal how) {
    const auto n = static_cast<std::size_t>(state.range(0));
    std::vector<KivoEventBlock> blocks;
    std::vector<std::shared_ptr<void>> owners;
    for (std::size_t i = 0; i < n; ++i) {
        blocks.emplace_back([](const std::shared_ptr<KivoEventContainer>&) {});
        owners.push_back(std::make_shared<int>(0));
    }
    for (auto _ : state) {
        state.PauseTiming();
        KivoEvent event;
        for (std::size_t i = 0; i < n; ++i) event.addHandler(blocks[i], owners[i]);
        state.ResumeTiming();
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t i = how == Removal::ByBlockInOrder ? k : n - 1 - k;
            if (how == Removal::ByOwnerReversed)
                event.removeHandlersForObject(owners[i]);
            else
                event.removeHandler(blocks[i], owners[i]);
        }
        benchmark::DoNotOptimize(event.handlers());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(RemoveHandlers, ByBlockInOrder, Removal::ByBlockInOrder)
    ->RangeMultiplier(4)
    ->Range(1'000, 64'000)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(RemoveHandlers, ByBlockReversed, Removal::ByBlockReversed)
    ->RangeMultiplier(4)
    ->Range(1'000, 64'000)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(RemoveHandlers, ByOwnerReversed, Removal::ByOwnerReversed)
    ->RangeMultiplier(4)
    ->Range(1'000, 64'000)
    ->Complexity(benchmark::oN);

}  // namespace
