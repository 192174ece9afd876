// The drop-down controls: a combo box open with its list of fruits (one selected, the chevron turned
// up), a combo box showing its placeholder, and a plain drop-down with a header text.

#include <string>
#include <vector>

#include "KivoComboBox/KivoComboBox.h"
#include "KivoDropDown/KivoDropDown.h"
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
constexpr double OpenComboWidth = 210;
constexpr double ColumnGap = 24;
constexpr double SideWidth = 170;
constexpr double ListRows = 4;
constexpr double SecondRowY = 96;
constexpr double PageWidth = Left * 2 + OpenComboWidth + ColumnGap + SideWidth;
constexpr double PageHeight = Top + CaptionHeight + CaptionGap + ControlHeight + ListRows * 44 + 24;

const std::vector<const char*> Fruits = {"Apple", "Apricot", "Banana", "Blackberry", "Cherry",    "Fig",
                                         "Grape", "Kiwi",    "Lemon",  "Mango",      "Nectarine", "Plum"};

plat::ArrayPtr fruitItems() {
    auto items = std::make_shared<plat::Array>();
    for (const char* name : Fruits) items->push_back(plat::Value(plat::Dictionary{{"name", name}}));
    return items;
}

void populate(plat::Window& window) {
    auto controller = plat::ViewController::create();
    window.setRootViewController(controller);
    auto root = controller->view();
    root->setBackgroundColor(plat::Color::white());

    const double sideX = Left + OpenComboWidth + ColumnGap;
    gallery::addCaption(*root, {sideX, Top, SideWidth, CaptionHeight}, "combo box with a placeholder");
    auto empty = KivoComboBox::create({sideX, Top + CaptionHeight + CaptionGap, SideWidth, ControlHeight});
    empty->setDisplayMemberPath(std::string("name"));
    empty->setItemsSource(fruitItems());
    empty->setPlaceholder("Choose a fruit");
    root->addSubview(empty);

    gallery::addCaption(*root, {sideX, SecondRowY, SideWidth, CaptionHeight}, "drop-down with a header text");
    auto plain = KivoDropDown::create({sideX, SecondRowY + CaptionHeight + CaptionGap, SideWidth, ControlHeight});
    plain->setHeaderText(std::string("Medium roast"));
    root->addSubview(plain);

    gallery::addCaption(*root, {Left, Top, OpenComboWidth, CaptionHeight}, "combo box, open, Banana selected");
    auto combo = KivoComboBox::create({Left, Top + CaptionHeight + CaptionGap, OpenComboWidth, ControlHeight});
    combo->setDisplayMemberPath(std::string("name"));
    combo->setItemsSource(fruitItems());
    combo->setDropDownHeight(ListRows * plat::TableView::DefaultRowHeight);
    combo->setSelectedIndex(2);
    root->addSubview(combo);

    window.layoutPass();
    combo->setIsDropDownOpen(true);
    // The list shows; the field has given up its caret.
    combo->headerTextField()->resignFirstResponder();
}

const gallery::PageRegistrar registrar({
    .name = "input_dropdown",
    .description = "A combo box open with its list of fruits, Banana selected in the selection colour and the chevron "
                   "turned up; a closed combo box showing its placeholder; a drop-down showing its header text.",
    .size = {PageWidth, PageHeight},
    .populate = populate,
});

}  // namespace
