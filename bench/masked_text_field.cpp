// The masked text field's edit road on long masks: pasting a run of digits into an empty field of
// 1,000 and of 16,000 digit positions. The road works in one pass over the text, so the cost per
// position must stay flat: the 16,000-position paste within 3x of 16 times the 1,000-position one.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "KivoMaskedTextField/KivoMaskedTextField.h"

namespace {

void BM_MaskedTextFieldPaste(benchmark::State& state) {
    const auto positions = static_cast<std::size_t>(state.range(0));
    auto field = KivoMaskedTextField::create({0, 0, 320, 36});
    field->setMask(std::string(positions, '0'));
    std::string digits;
    for (std::size_t i = 0; i + 1 < positions; ++i) digits += static_cast<char>('0' + i % 10);
    for (auto _ : state) {
        state.PauseTiming();
        field->setValue("");
        state.ResumeTiming();
        field->replaceRange({0, 0}, digits);
        benchmark::DoNotOptimize(field->text().size());
    }
    if (field->value() != digits) state.SkipWithError("the paste did not land as pasted");
    state.counters["positions"] = static_cast<double>(positions);
}
BENCHMARK(BM_MaskedTextFieldPaste)->Arg(1000)->Arg(16000)->Unit(benchmark::kMicrosecond);

}  // namespace
