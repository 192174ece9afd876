// Formatting a million doubles with 'N2', 'C', 'P1' and the custom pattern '#,##0.00' through
// KivoNumberFormatter, against one ICU formatter set up once for the same output. The formatter
// should stay within 1.5x of the baseline: it classifies a pattern once and reuses the ICU formatter
// made for a pattern and locale.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "KivoCore/KivoNumberFormatter.h"
#include "Platform/foundation/locale/locale.h"

#include <unicode/numberformatter.h>
#include <unicode/ucurr.h>

namespace {

constexpr size_t kValueCount = 1'000'000;
constexpr const char* kLocale = "en_US";

const std::vector<double>& values() {
    static const std::vector<double> v = [] {
        std::mt19937_64 rng(42);
        std::uniform_real_distribution<double> dist(-1e6, 1e6);
        std::vector<double> out(kValueCount);
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
            auto text = KivoNumberFormatter::numberToStringWithParameters(d, pattern, kLocale);
            bytes += text ? text->size() : 0;
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * v.size()));
}

enum class Baseline { N2, C, P1, Custom };

icu::number::LocalizedNumberFormatter icuFormatter(Baseline which) {
    using namespace icu::number;
    icu::Locale locale(kLocale);
    UnlocalizedNumberFormatter f = NumberFormatter::with().roundingMode(UNUM_ROUND_HALFEVEN);
    switch (which) {
        case Baseline::N2:
            f = f.precision(Precision::fixedFraction(2)).grouping(UNUM_GROUPING_AUTO);
            break;
        case Baseline::C: {
            UErrorCode status = U_ZERO_ERROR;
            UChar code[4] = {};
            ucurr_forLocale(kLocale, code, 4, &status);
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

}  // namespace

BENCHMARK_CAPTURE(formatAll, N2, "N2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(baselineAll, N2, Baseline::N2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(formatAll, C, "C")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(baselineAll, C, Baseline::C)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(formatAll, P1, "P1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(baselineAll, P1, Baseline::P1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(formatAll, Custom, "#,##0.00")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(baselineAll, Custom, Baseline::Custom)->Unit(benchmark::kMillisecond);
