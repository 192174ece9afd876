// The auto-complete box: "an" typed into a box of city names, its list open under it with the cities
// that contain those letters (case and accents ignored) and the letters highlighted where they stand
// as typed; beside it, a box showing its placeholder and one with a chosen city.

#include <string>
#include <vector>

#include "KivoAutoComplete/KivoAutoComplete.h"
#include "Platform/ui/label.h"
#include "Platform/ui/view_controller.h"
#include "Platform/ui/window.h"
#include "caption.h"
#include "gallery_page.h"

namespace {

constexpr double Left = 16;
constexpr double Top = 14;
constexpr double CaptionHeight = 14;
constexpr double CaptionGap = 4;
constexpr double ControlHeight = 34;
constexpr double OpenBoxWidth = 220;
constexpr double ColumnGap = 24;
constexpr double SideWidth = 180;
constexpr double SecondRowY = 96;
constexpr int ListRows = 5;
constexpr double PageWidth = Left * 2 + OpenBoxWidth + ColumnGap + SideWidth;
constexpr double PageHeight =
    Top + CaptionHeight + CaptionGap + ControlHeight + ListRows * KivoAutoCompleteDropdownView::CellHeight + 24;
// Long enough for the filtering pass that typing schedules.
constexpr double SettleSeconds = 0.05;
// A pale highlight keeps the typed letters readable (the control's default is a saturated blue).
constexpr plat::Color PaleHighlight = plat::Color::rgb255(190, 218, 255);

const std::vector<const char*> Cities = {"Amsterdam", "Ankara",   "Athens",  "Bangkok", "Berlin",   "Bogotá",
                                         "Canberra",  "Durán",    "Lisbon",  "Milan",   "Montréal", "Orléans",
                                         "Oslo",      "Santiago", "Sevilla", "Tirana",  "Yucatán",  "Zürich"};

plat::ArrayPtr cityItems() {
    auto items = std::make_shared<plat::Array>();
    for (const char* name : Cities) items->push_back(plat::Value(plat::Dictionary{{"name", name}}));
    return items;
}

std::shared_ptr<KivoAutoComplete> addBox(plat::View& parent, const plat::Rect& frame) {
    auto box = KivoAutoComplete::create(frame);
    box->setLocale(plat::Locale::withIdentifier("en_US"));
    box->setDisplayMemberPath(std::string("name"));
    box->setItemsSource(cityItems());
    box->setHighlightedColor(PaleHighlight);
    parent.addSubview(box);
    return box;
}

void populate(plat::Window& window) {
    auto controller = plat::ViewController::create();
    window.setRootViewController(controller);
    auto root = controller->view();
    root->setBackgroundColor(plat::Color::white());

    const double sideX = Left + OpenBoxWidth + ColumnGap;
    gallery::addCaption(*root, {sideX, Top, SideWidth, CaptionHeight}, "with a placeholder");
    auto empty = addBox(*root, {sideX, Top + CaptionHeight + CaptionGap, SideWidth, ControlHeight});
    empty->setPlaceholder("Search a city");

    gallery::addCaption(*root, {sideX, SecondRowY, SideWidth, CaptionHeight}, "a city chosen");
    auto chosen = addBox(*root, {sideX, SecondRowY + CaptionHeight + CaptionGap, SideWidth, ControlHeight});
    chosen->setText("Montréal");

    gallery::addCaption(*root, {Left, Top, OpenBoxWidth, CaptionHeight}, "\"an\" typed: the cities that contain it");
    auto box = addBox(*root, {Left, Top + CaptionHeight + CaptionGap, OpenBoxWidth, ControlHeight});
    window.layoutPass();
    // Typed as the keyboard would: the pass after the delay filters and opens the list.
    box->headerTextField()->becomeFirstResponder();
    box->headerTextField()->insertText("an");
}

const gallery::PageRegistrar registrar({
    .name = "input_autocomplete",
    .description = "An auto-complete box with \"an\" typed: its list open under it with the cities containing those "
                   "letters, case and accents ignored (Durán and Yucatán match through their accent and show no "
                   "highlight), the letters highlighted (in a pale blue) where they stand as typed, five rows shown of nine; a "
                   "box showing its placeholder and one with a "
                   "chosen city.",
    .size = {PageWidth, PageHeight},
    .populate = populate,
    .settleSeconds = SettleSeconds,
});

}  // namespace
