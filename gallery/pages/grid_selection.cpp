// The grid's selection over a scrolled grid: a cell range of several rows and columns with its two
// handles, the frozen row and column in place and the scroll indicators showing; beside it a row
// range of several whole rows.

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/ui/window.h"
#include "caption.h"
#include "gallery_page.h"

namespace {

class Reading : public plat::Object {
public:
    PLAT_CLASS()
    Reading() = default;
    explicit Reading(long n)
        : station("S" + std::to_string(100 + n)), north(n * 1.5), east(n * 2.25), depth(10 + n % 7), flow(n % 5 * 0.8),
          checked(n % 3 == 0) {}
    std::string station;
    double north = 0, east = 0, depth = 0, flow = 0;
    bool checked = false;
};
PLAT_DEFINE_CLASS(Reading, plat::Object, plat::property("station", &Reading::station), plat::property("north", &Reading::north),
                  plat::property("east", &Reading::east), plat::property("depth", &Reading::depth),
                  plat::property("flow", &Reading::flow), plat::property("checked", &Reading::checked))

std::shared_ptr<OmbriGrid> readingsGrid(const plat::Rect& frame) {
    auto items = std::make_shared<plat::Array>();
    for (long i = 0; i < 60; ++i) items->push_back(plat::Value(std::make_shared<Reading>(i)));
    auto grid = OmbriGrid::create(frame);
    grid->setItemsSource(items);
    for (std::size_t c = 0; c < grid->columns()->count(); ++c) grid->columns()->column(static_cast<std::int64_t>(c))->setWidth(72);
    grid->setFrozenRows(1);
    grid->setFrozenColumns(1);
    return grid;
}

void populate(plat::Window& window) {
    auto cells = readingsGrid({10, 24, 380, 330});
    auto rows = readingsGrid({404, 24, 380, 330});
    window.addSubview(cells);
    window.addSubview(rows);
    // One pass first: the grids learn how far they can scroll.
    plat::RecordingContext layout;
    window.display(layout);

    cells->setScrollPosition({40, 252});
    cells->setSelectionMode(GridSelectionModeCellRange);
    cells->setSelection(std::make_shared<GridCellRange>(12, 2, 15, 4));
    // The indicators at the strength a pan brings them to.
    cells->setScrollIndicatorColor({0.33, 0.33, 0.33, 0.5});

    rows->setScrollPosition({0, 140});
    rows->setSelectionMode(GridSelectionModeRowRange);
    rows->setSelection(std::make_shared<GridCellRange>(8, 3, 11, 3));

    gallery::addCaption(window, {10, 6, 380, 14}, "cell range scrolled down and right, frozen cells in place");
    gallery::addCaption(window, {404, 6, 380, 14}, "row range: whole rows 8 to 11");
}

const gallery::PageRegistrar registrar({
    .name = "grid_selection",
    .description = "The grid's selection: a cell range of four rows and three columns with its two handles in a grid "
                   "scrolled down and right (the frozen row and column stay in place, the scroll indicators show), "
                   "and a row range of four whole rows.",
    .size = {794, 364},
    .populate = populate,
    .settleSeconds = 0.1,
});

}  // namespace
