// Formatting a million doubles with 'N2', 'C', 'P1' and the custom pattern '#,##0.00' through
// KivoNumberFormatter, against one ICU formatter set up once for the same output. The formatter
// should stay within 1.5x of the baseline: it classifies a pattern once and reuses the ICU formatter
// made for a pattern and locale. Also: classifying a long pattern that fails at its last character,
// which must grow linearly with the pattern's length.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "KivoCore/KivoNumberFormatter.h"
#include "Platform/foundation/locale/locale.h"

#include <unicode/numberformatter.h>
#include <unicode/ucurr.h>

namespace {

constexpr size_t ValueCount = 1'000'000;
constexpr const char* LocaleId = "en_US";

const std::vector<double>& values() {
    static const std::vector<double> v = [] {
        std::mt19937_64 rng(42);
        std::uniform_real_distribution<double> dist(-1e6, 1e6);
        std::vector<double> out(ValueCount);
        for (double& d : out) d = dist(rng);
        return out;
    }();
    return v;
}

void formatAll(benchmark::State& state, const char* pattern) {
    const auto& v = values();
    for (auto _ : state) {
        size_t bytes = 0;
        for (double d : v) {
            auto text = KivoNumberFormatter::numberToStringWithParameters(d, pattern, LocaleId);
            bytes += text ? text->size() : 0;
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * v.size()));
}

enum class Baseline { N2, C, P1, Custom };

icu::number::LocalizedNumberFormatter icuFormatter(Baseline which) {
    using namespace icu::number;
    icu::Locale locale(LocaleId);
    UnlocalizedNumberFormatter f = NumberFormatter::with().roundingMode(UNUM_ROUND_HALFEVEN);
    switch (which) {
        case Baseline::N2:
            f = f.precision(Precision::fixedFraction(2)).grouping(UNUM_GROUPING_AUTO);
            break;
        case Baseline::C: {
            UErrorCode status = U_ZERO_ERROR;
            UChar code[4] = {};
            ucurr_forLocale(LocaleId, code, 4, &status);
            f = f.unit(icu::CurrencyUnit(code, status)).precision(Precision::fixedFraction(2));
            break;
        }
        case Baseline::P1:
            f = f.unit(icu::MeasureUnit::getPercent())
                    .scale(Scale::powerOfTen(2))
                    .precision(Precision::fixedFraction(1))
                    .grouping(UNUM_GROUPING_OFF);
            break;
        case Baseline::Custom:
            f = f.precision(Precision::fixedFraction(2)).grouping(UNUM_GROUPING_AUTO);
            break;
    }
    return f.locale(locale);
}

void baselineAll(benchmark::State& state, Baseline which) {
    const auto formatter = icuFormatter(which);
    const auto& v = values();
    for (auto _ : state) {
        size_t bytes = 0;
        for (double d : v) {
            UErrorCode status = U_ZERO_ERROR;
            std::string text;
            formatter.formatDouble(d, status).toTempString(status).toUTF8String(text);
            bytes += text.size();
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * v.size()));
}

// '000...0x' fails only at its end; a backtracking match of the forms' expressions took cubic time.
void classifyLongPattern(benchmark::State& state) {
    const std::string pattern = std::string(static_cast<size_t>(state.range(0)), '0') + "x";
    for (auto _ : state) {
        // Another pattern in between, so that every call classifies afresh.
        benchmark::DoNotOptimize(KivoNumberFormatter::numberToStringWithParameters(1.5, pattern, LocaleId));
        benchmark::DoNotOptimize(KivoNumberFormatter::numberToStringWithParameters(1.5, "N2", LocaleId));
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(classifyLongPattern)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(formatAll, N2, "N2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(baselineAll, N2, Baseline::N2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(formatAll, C, "C")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(baselineAll, C, Baseline::C)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(formatAll, P1, "P1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(baselineAll, P1, Baseline::P1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(formatAll, Custom, "#,##0.00")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(baselineAll, Custom, Baseline::Custom)->Unit(benchmark::kMillisecond);
