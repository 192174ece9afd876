// Reading one property of a million model objects: through the reflector, through a binding, through
// a prepared reader (numbers and strings), and as plain member loops (the baselines: the prepared
// reads should stay within twice their loop).
#include <benchmark/benchmark.h>

#include <memory>
#include <string_view>
#include <vector>

#include "KivoCore/KivoBinding.h"
#include "KivoCore/KivoPropertyReader.h"
#include "KivoCore/KivoReflector.h"
#include "Platform/foundation/reflect.h"

namespace {

class BenchSale : public plat::Object {
public:
    PLAT_CLASS()
    std::string country;
    double sales = 0;
    double expenses = 0;
};
PLAT_DEFINE_CLASS(BenchSale, plat::Object, plat::property("country", &BenchSale::country),
                  plat::property("sales", &BenchSale::sales), plat::property("expenses", &BenchSale::expenses))

const plat::Array& items() {
    static const plat::Array all = [] {
        plat::Array a;
        a.reserve(1'000'000);
        for (int i = 0; i < 1'000'000; ++i) {
            auto s = std::make_shared<BenchSale>();
            s->sales = i * 0.5;
            s->country = i % 3 ? "Norway" : "United Kingdom of Great Britain";
            a.push_back(s);
        }
        return a;
    }();
    return all;
}

void PlainMemberLoop(benchmark::State& state) {
    const auto& a = items();
    for (auto _ : state) {
        double sum = 0;
        for (const auto& v : a) sum += static_cast<const BenchSale&>(*v.asObject()).sales;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(a.size()));
}
BENCHMARK(PlainMemberLoop)->Unit(benchmark::kMillisecond);

void ReflectorGetValue(benchmark::State& state) {
    const auto& a = items();
    const std::string key = "expenses";
    for (auto _ : state) {
        double sum = 0;
        for (const auto& v : a) sum += KivoReflector::getValue(v, key).asDouble();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(a.size()));
}
BENCHMARK(ReflectorGetValue)->Unit(benchmark::kMillisecond);

void BindingGetValue(benchmark::State& state) {
    const auto& a = items();
    KivoBinding binding("expenses");
    for (auto _ : state) {
        double sum = 0;
        for (const auto& v : a) sum += binding.getValueForTarget(v).asDouble();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(a.size()));
}
BENCHMARK(BindingGetValue)->Unit(benchmark::kMillisecond);

void PreparedReadNumber(benchmark::State& state) {
    const auto& a = items();
    const auto reader = KivoPropertyReader::forKey("sales");
    for (auto _ : state) {
        double sum = 0;
        for (const auto& v : a) {
            double d;
            if (reader.readNumber(v, d)) sum += d;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(a.size()));
}
BENCHMARK(PreparedReadNumber)->Unit(benchmark::kMillisecond);

void PlainStringMemberLoop(benchmark::State& state) {
    const auto& a = items();
    for (auto _ : state) {
        size_t length = 0;
        for (const auto& v : a) length += static_cast<const BenchSale&>(*v.asObject()).country.size();
        benchmark::DoNotOptimize(length);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(a.size()));
}
BENCHMARK(PlainStringMemberLoop)->Unit(benchmark::kMillisecond);

void PreparedReadString(benchmark::State& state) {
    const auto& a = items();
    const auto reader = KivoPropertyReader::forKey("country");
    for (auto _ : state) {
        size_t length = 0;
        for (const auto& v : a) {
            std::string_view text;
            if (reader.readString(v, text)) length += text.size();
        }
        benchmark::DoNotOptimize(length);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(a.size()));
}
BENCHMARK(PreparedReadString)->Unit(benchmark::kMillisecond);

// The general read, which builds a value (a number's inline, a string's copied).
void PreparedReadValue(benchmark::State& state) {
    const auto& a = items();
    const auto reader = KivoPropertyReader::forKey("sales");
    for (auto _ : state) {
        double sum = 0;
        for (const auto& v : a) sum += reader.read(v).asDouble();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(a.size()));
}
BENCHMARK(PreparedReadValue)->Unit(benchmark::kMillisecond);

}  // namespace
