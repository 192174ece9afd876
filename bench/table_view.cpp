// The table view on long lists: building the row geometry on reload, and a layout pass at a new
// offset (cells leave for the reuse pool and come back), which must not grow with the row count.

#include <benchmark/benchmark.h>

#include <memory>

#include "Platform/ui/label.h"
#include "Platform/ui/table_view.h"
#include "Platform/ui/window.h"

namespace {

class Rows : public plat::TableViewDataSource {
public:
    explicit Rows(std::int64_t n) : count(n) {}
    std::int64_t numberOfRowsInSection(plat::TableView&, std::int64_t) override { return count; }
    std::shared_ptr<plat::TableViewCell> cellForRowAtIndexPath(plat::TableView& table, const plat::IndexPath&) override {
        auto cell = table.dequeueReusableCellWithIdentifier("row");
        return cell ? cell : plat::TableViewCell::create(plat::TableViewCellStyle::Default, "row");
    }
    std::int64_t count;
};

// A phone-sized window filled by a table of `rows` rows.
struct Screen {
    explicit Screen(std::int64_t rows) : source(std::make_shared<Rows>(rows)) {
        window->addSubview(table);
        table->setDataSource(source);
    }
    std::shared_ptr<Rows> source;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 320, 480});
    std::shared_ptr<plat::TableView> table = plat::TableView::create({0, 0, 320, 480});
};

void BM_TableReload(benchmark::State& state) {
    Screen screen(state.range(0));
    auto& table = screen.table;
    for (auto _ : state) {
        table->reloadData();
        benchmark::DoNotOptimize(table->numberOfRowsInSection(0));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TableReload)->Range(1 << 10, 1 << 20)->Complexity();

void BM_TableScrollLayout(benchmark::State& state) {
    Screen screen(state.range(0));
    auto& [source, window, table] = screen;
    window->layoutPass();
    const double max = table->maximumContentOffset().y;
    double y = 0;
    for (auto _ : state) {
        // Strides of a screen and a half: every pass replaces all cells.
        y += 720;
        if (y > max) y = 0;
        table->setContentOffset({0, y});
        window->layoutPass();
    }
}
BENCHMARK(BM_TableScrollLayout)->Range(1 << 10, 1 << 20);

}  // namespace
