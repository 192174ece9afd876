// Wrapping long text to a 300-point width: one unbroken stretch (no break between words), whose
// wrapping must stay near-linear in its length, against the same number of bytes in short words.
#include <benchmark/benchmark.h>

#include <string>

#include "Platform/graphics/text.h"

namespace {

constexpr double WrapWidth = 300;

void wrap(benchmark::State& state, const std::string& text) {
    const plat::AttributedString s(text, plat::Font("Helvetica", 12), plat::Color::black());
    for (auto _ : state) benchmark::DoNotOptimize(plat::measureText(s, WrapWidth));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
    state.SetComplexityN(state.range(0));
}

void BM_WrapUnbrokenText(benchmark::State& state) { wrap(state, std::string(static_cast<std::size_t>(state.range(0)), 'a')); }

void BM_WrapWords(benchmark::State& state) {
    std::string text;
    while (text.size() < static_cast<std::size_t>(state.range(0))) text += "wrapped ";
    text.resize(static_cast<std::size_t>(state.range(0)));
    wrap(state, text);
}

}  // namespace

BENCHMARK(BM_WrapUnbrokenText)->RangeMultiplier(2)->Range(16 << 10, 128 << 10)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_WrapWords)->Arg(64 << 10)->Unit(benchmark::kMillisecond);
