// The grid's in-place editor, on a phone-sized screen: a text cell being edited (its text selected, the
// clear button at the right end) and, as a second frame, a cell of a column with a data map, whose
// picker of display values and Done toolbar stand in place of the keyboard.

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridDataMap.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/ui/window.h"
#include "gallery_page.h"

namespace {

class Shipment : public plat::Object {
public:
    PLAT_CLASS()
    Shipment() = default;
    Shipment(std::string port, double tons, long state) : port(std::move(port)), tons(tons), state(state) {}
    std::string port;
    double tons = 0;
    long state = 0;
};
PLAT_DEFINE_CLASS(Shipment, plat::Object, plat::property("port", &Shipment::port), plat::property("tons", &Shipment::tons),
                  plat::property("state", &Shipment::state))

class ShipmentState : public plat::Object {
public:
    PLAT_CLASS()
    ShipmentState() = default;
    ShipmentState(long code, std::string name) : code(code), name(std::move(name)) {}
    long code = 0;
    std::string name;
};
PLAT_DEFINE_CLASS(ShipmentState, plat::Object, plat::property("code", &ShipmentState::code),
                  plat::property("name", &ShipmentState::name))

constexpr plat::Size Phone{320, 568};
// The text editor's page ends below the last row: the keyboard that would fill the rest of the screen
// is not drawn, and an empty half says nothing.
constexpr plat::Size PhoneAboveKeyboard{320, 280};

// Ports, tonnages and states, the state shown by name through a data map; the columns fit the screen.
std::shared_ptr<OmbriGrid> shipmentsGrid(plat::Size size) {
    const char* ports[] = {"Bergen", "Hamburg", "Rotterdam", "Antwerp", "Gdansk", "Le Havre", "Genoa", "Valencia", "Piraeus"};
    auto items = std::make_shared<plat::Array>();
    long n = 0;
    for (const char* port : ports) {
        items->push_back(plat::Value(std::make_shared<Shipment>(port, 120.5 * static_cast<double>(n + 1), n % 4 + 1)));
        ++n;
    }
    auto states = std::make_shared<plat::Array>();
    for (auto [code, name] : {std::pair{1L, "Booked"}, {2L, "Loading"}, {3L, "At sea"}, {4L, "Arrived"}})
        states->push_back(plat::Value(std::make_shared<ShipmentState>(code, name)));

    auto grid = OmbriGrid::create({{0, 0}, size});
    grid->setItemsSource(items);
    grid->columns()->column(0)->setWidth(110);
    grid->columns()->column(1)->setWidth(80);
    grid->columns()->column(2)->setWidth(90);
    grid->columns()->column(2)->setDataMap(std::make_shared<GridDataMap>(states, "code", "name"));
    return grid;
}

void editAt(plat::Window& window, plat::Size size, std::int32_t row, std::int32_t col) {
    auto grid = shipmentsGrid(size);
    window.addSubview(grid);
    // One pass first: the grid learns its client area before the edit scrolls and places its editor.
    plat::RecordingContext layout;
    window.display(layout);
    // The editor is focused by posted work, which the page's first run-loop turn runs: no time passes,
    // so the pages drawn after this one see the gallery's clock where they would without it.
    grid->startEditing(true, row, col);
}

const gallery::PageRegistrar text({
    .name = "grid_editing",
    .description = "The grid's text editor open on the port of row 3: its text selected, the clear button at its right "
                   "end, over the cell it edits.",
    .size = PhoneAboveKeyboard,
    .populate = [](plat::Window& window) { editAt(window, PhoneAboveKeyboard, 2, 0); },
    .settleSeconds = 0,
});

const gallery::PageRegistrar picker({
    .name = "grid_editing-picker",
    .description = "Editing the state of row 2, a column with a data map: the picker of its display values, "
                   "\"Loading\" chosen, and the Done toolbar above it stand in place of the keyboard.",
    .size = Phone,
    .populate = [](plat::Window& window) { editAt(window, Phone, 1, 2); },
    .settleSeconds = 0,
});

}  // namespace
