// What reading the observable array's storage costs: a million values read by index, by iteration
// and through the array's checked read, next to the floor of a plain vector of the same values read
// by index. Every reader pays the storage's block lookup; these show what each one adds to it.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "KivoCore/KivoObservableArray.h"
#include "KivoCore/ValueList.h"

namespace {

constexpr std::size_t Count = 1'000'000;

const plat::Array& values() {
    static const plat::Array made = [] {
        plat::Array a;
        a.reserve(Count);
        for (std::size_t i = 0; i < Count; ++i) a.emplace_back(static_cast<std::int64_t>(i % 977));
        return a;
    }();
    return made;
}

template <class Read>
void sumAll(benchmark::State& state, std::size_t n, Read read) {
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (std::size_t i = 0; i < n; ++i) sum += read(i).asInteger();
        benchmark::DoNotOptimize(sum);
    }
}

void Floor_ValueVectorReadByIndex(benchmark::State& state) {
    const plat::Array& list = values();
    sumAll(state, list.size(), [&](std::size_t i) -> const plat::Value& { return list[i]; });
}
BENCHMARK(Floor_ValueVectorReadByIndex)->Unit(benchmark::kMillisecond);

void ValueList_ReadByIndex(benchmark::State& state) {
    const kivo::ValueList list(values());
    sumAll(state, list.size(), [&](std::size_t i) -> const plat::Value& { return list[i]; });
}
BENCHMARK(ValueList_ReadByIndex)->Unit(benchmark::kMillisecond);

void ValueList_Iterate(benchmark::State& state) {
    const kivo::ValueList list(values());
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (const plat::Value& v : list) sum += v.asInteger();
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(ValueList_Iterate)->Unit(benchmark::kMillisecond);

void ObservableArray_ObjectAtIndex(benchmark::State& state) {
    KivoObservableArray array;
    array.sourceArray() = values();
    sumAll(state, array.count(), [&](std::size_t i) -> const plat::Value& { return array.objectAtIndex(i); });
}
BENCHMARK(ObservableArray_ObjectAtIndex)->Unit(benchmark::kMillisecond);

}  // namespace
