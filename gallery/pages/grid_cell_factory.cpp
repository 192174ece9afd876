// The grid's native-control cell factory: a column of system buttons placed over the cells of a
// bound grid, one per row, the one in the selected row tinted with the selection's text colour.

#include <string>

#include "KivoCore/KivoEvent.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/NativeControlGridCellFactory.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/ui/button.h"
#include "Platform/ui/label.h"
#include "Platform/ui/window.h"
#include "caption.h"
#include "gallery_page.h"

namespace {

class Shipment : public plat::Object {
public:
    PLAT_CLASS()
    Shipment() = default;
    explicit Shipment(long n)
        : order("PO-" + std::to_string(4100 + n * 7)), city(cityOf(n)), parcels(2 + n * 3 % 11), weight(4.5 + n * 2.75) {}
    std::string order, city;
    long parcels = 0;
    double weight = 0;
    // The column the buttons stand in: blank, as the cells are drawn under the buttons.
    std::string action;

private:
    static std::string cityOf(long n) {
        static const char* const cities[] = {"Lyon", "Porto", "Graz", "Turku", "Cork", "Brno", "Gent"};
        return cities[n % 7];
    }
};
PLAT_DEFINE_CLASS(Shipment, plat::Object, plat::property("order", &Shipment::order), plat::property("city", &Shipment::city),
                  plat::property("parcels", &Shipment::parcels), plat::property("weight", &Shipment::weight),
                  plat::property("action", &Shipment::action))

constexpr std::int32_t ActionColumn = 4;
constexpr std::int32_t SelectedRow = 3;

void populate(plat::Window& window) {
    auto items = std::make_shared<plat::Array>();
    for (long i = 0; i < 14; ++i) items->push_back(plat::Value(std::make_shared<Shipment>(i)));
    auto grid = OmbriGrid::create({10, 24, 440, 330});
    grid->setItemsSource(items);
    const double widths[] = {90, 70, 70, 80, 90};
    for (std::size_t c = 0; c < grid->columns()->count(); ++c) grid->columns()->column(static_cast<std::int64_t>(c))->setWidth(widths[c]);
    grid->setFrozenColumns(1);

    auto factory = NativeControlGridCellFactory::create(grid);
    factory->createViewForCell()->addHandler(
        [font = grid->font()](const std::shared_ptr<KivoEventContainer>& c) {
            const auto args = c->args<GridCreateViewForCellEventArgs>();
            if (!args || args->col() != ActionColumn) return;
            auto button = plat::Button::create(plat::ButtonType::System);
            button->setTitle("Track #" + std::to_string(args->row() + 1));
            button->titleLabel()->setFont(font);
            args->setView(button);
        },
        nullptr);
    grid->setCellFactory(factory);
    window.addSubview(grid);

    grid->setSelection(std::make_shared<GridCellRange>(SelectedRow, 0, SelectedRow, ActionColumn));
    gallery::addCaption(window, {10, 6, 440, 14}, "buttons from the cell factory; the selected row's tinted");
}

const gallery::PageRegistrar registrar({
    .name = "grid_cell_factory",
    .description = "The grid's native-control cell factory: a column of system buttons over the cells of a bound grid, "
                   "one per row, the button in the selected row tinted with the selection's text colour.",
    .size = {460, 364},
    .populate = populate,
    .settleSeconds = 0.1,
});

}  // namespace
