// The picker that stands in for the keyboard while a column with a data map is edited: one component
// listing the map's display values, above it a toolbar whose Done item commits the edit.

#include "GridInternals.h"
#include "OmbriGrid/GridDataMap.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/ui/picker_view.h"
#include "Platform/ui/text_field.h"
#include "Platform/ui/toolbar.h"
#include "editing/EditSession.h"

namespace kivo::detail {

namespace {
constexpr double PickerToolbarHeight = 44;

// The display value at a row of the map's list; nothing past its end.
std::optional<std::string> displayValueAt(const GridDataMap& map, std::int64_t row) {
    const plat::Array values = map.getDisplayValues();
    if (row < 0 || static_cast<std::size_t>(row) >= values.size()) return std::nullopt;
    const plat::Value& v = values[static_cast<std::size_t>(row)];
    if (v.isNil() || v.isNull()) return std::string();
    return v.isString() ? v.asString() : v.description();
}
}  // namespace

void EditSession::makeEditors() {
    const auto self = GridInternals::self(_grid);
    // The in-place editor waits hidden until a cell is edited.
    editor = plat::TextField::create();
    editor->setHidden(true);
    editor->setFont(_grid.font());
    editor->setReturnKeyType(plat::ReturnKeyType::Done);
    editor->setKeyboardType(plat::KeyboardType::ASCIICapable);
    editor->setClearButtonMode(plat::TextFieldViewMode::WhileEditing);
    editor->setContentVerticalAlignment(plat::ContentVerticalAlignment::Center);
    editor->setSpellCheckingType(plat::SpellCheckingType::No);
    editor->setAutocorrectionType(plat::TextAutocorrectionType::No);
    editor->setTextAlignment(plat::TextAlignment::Natural);
    editor->setDelegate(std::weak_ptr<plat::TextFieldDelegate>(self));
    _grid.addSubview(editor);

    picker = plat::PickerView::create();
    picker->setOpaque(true);
    picker->setBackgroundColor(plat::Color::white());
    picker->setDataSource(std::weak_ptr<plat::PickerViewDataSource>(self));
    picker->setDelegate(std::weak_ptr<plat::PickerViewDelegate>(self));

    std::weak_ptr<OmbriGrid> weak = self;
    pickerDone = plat::BarButtonItem::create(plat::BarButtonSystemItem::Done, weak, [weak](plat::BarButtonItem& sender) {
        if (auto grid = weak.lock()) grid->onDataMapPickerDone(sender);
    });
    pickerToolbar = plat::Toolbar::create({0, 0, _grid.frame().width(), PickerToolbarHeight});
    pickerToolbar->setItems({plat::BarButtonItem::create(plat::BarButtonSystemItem::FlexibleSpace), pickerDone});
}

std::int64_t EditSession::pickerRowCount() const {
    const auto map = getDataMap();
    return map ? static_cast<std::int64_t>(map->getDisplayValues().size()) : 0;
}

std::string EditSession::pickerTitle(std::int64_t row) const {
    const auto map = getDataMap();
    if (!map) return std::string();
    return displayValueAt(*map, row).value_or(std::string());
}

void EditSession::pickerSelected(std::int64_t row) {
    const auto map = getDataMap();
    if (!map) return;
    if (auto text = displayValueAt(*map, row)) editor->setText(*text);
}

}  // namespace kivo::detail
