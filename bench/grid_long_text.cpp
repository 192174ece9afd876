// Cells whose text runs to a megabyte: a drawing pass lays out only what a cell can show, so four
// such cells cost about what four short ones do.
// - Grid_PassWithLongCells/0: a full pass (every visible cell's image made again) with short notes.
// - Grid_PassWithLongCells/1: the same pass with four visible notes of 1 MB each.
// - Grid_AutoSizeLongCell/{0,1}: auto-sizing the notes' column, short notes or four 1 MB ones.
#include <benchmark/benchmark.h>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "grid_scene.h"

namespace {

std::string megabyteOfWords() {
    std::string s;
    s.reserve(1 << 20);
    while (s.size() < (1u << 20)) s += "lorem ipsum dolor sit amet ";
    return s;
}

// The note column's index and the four visible rows given a long note when `longNotes` is set.
std::int32_t giveNotes(GridScene& scene, bool longNotes) {
    const std::string text = longNotes ? megabyteOfWords() : std::string("a short note");
    const std::int32_t first = scene.grid->cells()->getFirstVisibleRow();
    for (std::int32_t r = first; r < first + 4; ++r)
        if (const auto record = scene.grid->rows()->row(r)->dataItem().as<GridSceneRecord>()) record->note = text;
    for (std::size_t c = 0; c < scene.grid->columns()->count(); ++c)
        if (scene.grid->columns()->column(static_cast<std::int64_t>(c))->binding().value_or("") == "note")
            return static_cast<std::int32_t>(c);
    return 0;
}

void Grid_PassWithLongCells(benchmark::State& state) {
    GridScene scene(1000);
    const std::int32_t note = giveNotes(scene, state.range(0) != 0);
    // Scrolled to the right end, where the notes' column (the last) shows.
    scene.grid->columns()->column(note)->setWidth(200);
    scene.grid->setScrollPosition({1e9, scene.grid->scrollPosition().y});
    for (auto _ : state) scene.fullPass();
}
BENCHMARK(Grid_PassWithLongCells)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void Grid_AutoSizeLongCell(benchmark::State& state) {
    GridScene scene(1000);
    const std::int32_t note = giveNotes(scene, state.range(0) != 0);
    for (auto _ : state) scene.grid->autoSizeColumn(note);
}
BENCHMARK(Grid_AutoSizeLongCell)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
