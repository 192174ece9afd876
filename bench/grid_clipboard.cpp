// The grid's clipboard over 20,000 rows of ten columns (four of numbers, three of texts, two of dates,
// one of Booleans), each measured beside the least work that could do the same job without a grid:
// - Grid_CopyRows: copying rows 0–9,999 (100,000 cells) as text, HTML web archive and the grid's copy.
// - Baseline_FormatRows: the same 100,000 values read through the columns' bindings and formatted with
//   the formatters the columns use into one tab- and line-separated string.
// - Grid_PasteRows: pasting that copy at row 10,000.
// - Baseline_WriteRows: writing the same 100,000 values through the columns' bindings.
// Copy should stay within 3× of its baseline, paste within 3× of its own.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "KivoCore/KivoReflector.h"
#include "OmbriGrid/GridCellRange.h"
#include "OmbriGrid/GridColumn.h"
#include "Platform/ui/pasteboard.h"
#include "grid_scene.h"

namespace {

constexpr long Items = 20'000;
constexpr std::int32_t Copied = 10'000;
constexpr std::int64_t BooleanType = 4, NumberType = 3;

// The scene's second Boolean shown as a number, which makes four number columns and one Boolean one.
struct ClipboardScene : GridScene {
    ClipboardScene() : GridScene(Items) {
        if (auto flagged = grid->columns()->objectForKeyedSubscript("flagged")) flagged->setDataType(NumberType);
        grid->setSelectionMode(GridSelectionModeCellRange);
        for (std::size_t c = 0; c < grid->columns()->count(); ++c) columns.push_back(grid->columns()->column(static_cast<std::int64_t>(c)));
    }
    plat::Value item(std::int32_t row) const { return grid->rows()->row(row)->dataItem(); }
    void selectCopied() { grid->setSelection(std::make_shared<GridCellRange>(0, 0, Copied - 1, static_cast<std::int32_t>(columns.size()) - 1)); }
    std::vector<std::shared_ptr<GridColumn>> columns;
};

// The mix the figures are for: four number columns, three text, two date, one Boolean.
bool hasTheMix(const ClipboardScene& scene) {
    int counts[7] = {};
    for (const auto& column : scene.columns) ++counts[std::clamp<std::int64_t>(column->dataType(), 0, 6)];
    return counts[3] == 4 && counts[2] == 3 && counts[5] == 2 && counts[4] == 1;
}

void Grid_CopyRows(benchmark::State& state) {
    ClipboardScene scene;
    if (!hasTheMix(scene)) state.SkipWithError("the columns are not four number, three text, two date, one Boolean");
    scene.selectCopied();
    for (auto _ : state) scene.grid->copy(nullptr);
    const auto text = plat::Pasteboard::general().string();
    if (!text || text->empty()) state.SkipWithError("nothing was copied");
    state.counters["bytes"] = static_cast<double>(text ? text->size() : 0);
}
BENCHMARK(Grid_CopyRows)->Unit(benchmark::kMillisecond);

void Baseline_FormatRows(benchmark::State& state) {
    ClipboardScene scene;
    std::vector<plat::Value> items;
    for (std::int32_t r = 0; r < Copied; ++r) items.push_back(scene.item(r));
    for (auto _ : state) {
        std::string text;
        for (std::int32_t r = 0; r < Copied; ++r) {
            if (r) text += "\r\n";
            for (std::size_t c = 0; c < scene.columns.size(); ++c) {
                if (c) text += '\t';
                const auto& column = *scene.columns[c];
                const plat::Value value = column.getBoundValue(items[static_cast<std::size_t>(r)]);
                if (column.dataType() == BooleanType)
                    text += value.asBool() ? "True" : "False";
                else
                    text += KivoReflector::formatValue(value);
            }
        }
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(Baseline_FormatRows)->Unit(benchmark::kMillisecond);

void Grid_PasteRows(benchmark::State& state) {
    ClipboardScene scene;
    scene.selectCopied();
    scene.grid->copy(nullptr);
    scene.grid->setSelection(std::make_shared<GridCellRange>(Copied, 0));
    for (auto _ : state) scene.grid->paste(nullptr);
}
BENCHMARK(Grid_PasteRows)->Unit(benchmark::kMillisecond);

void Baseline_WriteRows(benchmark::State& state) {
    ClipboardScene scene;
    std::vector<std::vector<plat::Value>> values;
    std::vector<plat::Value> targets;
    for (std::int32_t r = 0; r < Copied; ++r) {
        auto& line = values.emplace_back();
        for (const auto& column : scene.columns) line.push_back(column->getBoundValue(scene.item(r)));
        targets.push_back(scene.item(Copied + r));
    }
    for (auto _ : state)
        for (std::size_t r = 0; r < values.size(); ++r)
            for (std::size_t c = 0; c < scene.columns.size(); ++c) scene.columns[c]->setBoundValue(values[r][c], targets[r]);
}
BENCHMARK(Baseline_WriteRows)->Unit(benchmark::kMillisecond);

}  // namespace
