// The grid's clipboard: a cell range with the edit menu over the pressed cell; beside it a grid after a
// 2 × 2 block was copied and pasted over a 4 × 4 selection, which it fills as four tiles.

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/ui/menu_controller.h"
#include "Platform/ui/window.h"
#include "caption.h"
#include "gallery_page.h"

namespace {

class Shipment : public plat::Object {
public:
    PLAT_CLASS()
    Shipment() = default;
    explicit Shipment(long n)
        : from(Ports[n % 6]), to(Ports[(n + 2) % 6]), cargo(Cargo[n % 4]), vessel(Vessels[n % 5]), weight(static_cast<double>(n) * 1.75 + 2),
          insured(n % 3 == 0) {}
    static constexpr const char* Ports[] = {"Oslo", "Bergen", "Tromsø", "Bodø", "Molde", "Narvik"};
    static constexpr const char* Cargo[] = {"fish", "timber", "steel", "grain"};
    static constexpr const char* Vessels[] = {"Kvitøy", "Hurtig", "Stella", "Nordlys", "Fram"};
    std::string from, to, cargo, vessel;
    double weight = 0;
    bool insured = false;
};
PLAT_DEFINE_CLASS(Shipment, plat::Object, plat::property("from", &Shipment::from), plat::property("to", &Shipment::to),
                  plat::property("cargo", &Shipment::cargo), plat::property("vessel", &Shipment::vessel),
                  plat::property("weight", &Shipment::weight), plat::property("insured", &Shipment::insured))

std::shared_ptr<OmbriGrid> shipmentsGrid(const plat::Rect& frame) {
    auto items = std::make_shared<plat::Array>();
    for (long i = 0; i < 16; ++i) items->push_back(plat::Value(std::make_shared<Shipment>(i)));
    auto grid = OmbriGrid::create(frame);
    grid->setItemsSource(items);
    for (std::size_t c = 0; c < grid->columns()->count(); ++c) grid->columns()->column(static_cast<std::int64_t>(c))->setWidth(70);
    grid->setSelectionMode(GridSelectionModeCellRange);
    return grid;
}

void populate(plat::Window& window) {
    auto menuGrid = shipmentsGrid({10, 24, 380, 330});
    auto pasted = shipmentsGrid({404, 24, 380, 330});
    window.addSubview(menuGrid);
    window.addSubview(pasted);
    plat::RecordingContext layout;
    window.display(layout);

    // The ports of rows 0–1 (two text columns), tiled four times over the text cells of rows 4–7.
    pasted->setSelection(std::make_shared<GridCellRange>(0, 0, 1, 1));
    pasted->copy(nullptr);
    pasted->setSelection(std::make_shared<GridCellRange>(4, 0, 7, 3));
    pasted->paste(nullptr);

    menuGrid->setSelection(std::make_shared<GridCellRange>(3, 1, 6, 3));
    const plat::Rect pressed = menuGrid->getCellRectForRow(5, 2);
    auto& menu = plat::MenuController::shared();
    menu.setTargetRect({pressed.center(), {0, 0}}, menuGrid);
    menu.setMenuVisible(true, false);

    gallery::addCaption(window, {10, 6, 380, 14}, "cell range, the edit menu over the pressed cell");
    gallery::addCaption(window, {404, 6, 380, 14}, "2 x 2 copy of rows 0-1 pasted tiled over rows 4-7, columns 0-3");
}

const gallery::PageRegistrar registrar({
    .name = "grid_clipboard",
    .description = "The grid's clipboard: a cell range with the edit menu over the pressed cell, and a grid whose "
                   "2 x 2 block of ports (rows 0-1) was copied and pasted over a 4 x 4 selection, which it fills as "
                   "four tiles.",
    .size = {794, 364},
    .populate = populate,
    .settleSeconds = 0.1,
});

}  // namespace
