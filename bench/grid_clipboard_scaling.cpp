// How the clipboard's cost grows, where it must not grow with the size of something else:
// - Grid_CutPasteOneCell/<rows>: cutting one cell and pasting it three rows lower. Finding the cut's
//   source must not walk the rows: 400,000 rows should stay within 2× of 10,000.
// - Grid_CopyMappedColumn/<entries>: copying one column of 10,000 rows whose keys are shown through a
//   data map of that many entries: 2,000 entries should stay within 1.5× of 10.
// - Grid_PasteLongDigits/<digits>: pasting a text of that many digits into a number cell, which no
//   number is that long: it should cost about what reading the text costs.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "KivoCore/KivoCollectionView.h"
#include "OmbriGrid/GridCellRange.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridDataMap.h"
#include "Platform/ui/pasteboard.h"
#include "grid_scene.h"

namespace {

constexpr std::int64_t NumberType = 3;

std::int32_t columnIndex(const GridScene& scene, const std::string& binding) {
    const auto column = scene.grid->columns()->objectForKeyedSubscript(binding);
    return column ? static_cast<std::int32_t>(column->index()) : -1;
}

void Grid_CutPasteOneCell(benchmark::State& state) {
    GridScene scene(state.range(0));
    scene.grid->setSelectionMode(GridSelectionModeCellRange);
    const std::int32_t note = columnIndex(scene, "note");
    if (note < 0) state.SkipWithError("no note column");
    for (auto _ : state) {
        scene.grid->setSelection(std::make_shared<GridCellRange>(100, note));
        scene.grid->cut(nullptr);
        scene.grid->setSelection(std::make_shared<GridCellRange>(103, note));
        scene.grid->paste(nullptr);
    }
}
BENCHMARK(Grid_CutPasteOneCell)->Arg(10'000)->Arg(400'000)->Unit(benchmark::kMicrosecond);

// The number column `amount` shown through a map from each of its first `entries` values to a text;
// values past those have no entry and show as numbers.
void Grid_CopyMappedColumn(benchmark::State& state) {
    constexpr long Rows = 10'000;
    GridScene scene(Rows);
    const std::int32_t amount = columnIndex(scene, "amount");
    if (amount < 0) state.SkipWithError("no amount column");
    auto entries = std::make_shared<plat::Array>();
    for (long k = 0; k < state.range(0); ++k) {
        auto shown = std::make_shared<plat::Dictionary>();
        (*shown)["key"] = plat::Value(static_cast<double>(k % GridScene::Period) * 1.25);
        (*shown)["text"] = plat::Value(GridScene::labelled("amount ", k));
        entries->push_back(plat::Value(shown));
    }
    auto column = scene.grid->columns()->column(amount);
    column->setDataMap(std::make_shared<GridDataMap>(KivoCollectionView::create(entries), "key", "text"));
    scene.grid->setSelectionMode(GridSelectionModeCellRange);
    scene.grid->setSelection(std::make_shared<GridCellRange>(0, amount, Rows - 1, amount));
    for (auto _ : state) scene.grid->copy(nullptr);
    const auto text = plat::Pasteboard::general().string();
    if (!text || text->find("amount ") == std::string::npos) state.SkipWithError("the map showed nothing");
}
BENCHMARK(Grid_CopyMappedColumn)->Arg(10)->Arg(2'000)->Unit(benchmark::kMillisecond);

void Grid_PasteLongDigits(benchmark::State& state) {
    GridScene scene(100);
    const std::int32_t amount = columnIndex(scene, "amount");
    if (amount < 0 || scene.grid->columns()->column(amount)->dataType() != NumberType) state.SkipWithError("no number column");
    scene.grid->setSelectionMode(GridSelectionModeCellRange);
    scene.grid->setSelection(std::make_shared<GridCellRange>(5, amount));
    plat::Pasteboard::general().setString(std::string(static_cast<std::size_t>(state.range(0)), '7'));
    for (auto _ : state) scene.grid->paste(nullptr);
}
BENCHMARK(Grid_PasteLongDigits)->Arg(100'000)->Arg(400'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
