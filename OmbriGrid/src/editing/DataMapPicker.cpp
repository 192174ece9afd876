// The picker that stands in for the keyboard while a column with a data map is edited: one component
// listing the map's display values, above it a toolbar whose Done item commits the edit.

#include "OmbriGrid/GridDataMap.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/ui/picker_view.h"
#include "Platform/ui/toolbar.h"
#include "editing/EditSession.h"

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

void OmbriGrid::initToolbars() {
    const auto self = sharedAs<OmbriGrid>();
    _edit->picker = plat::PickerView::create();
    _edit->picker->setOpaque(true);
    _edit->picker->setBackgroundColor(plat::Color::white());
    _edit->picker->setDataSource(std::weak_ptr<plat::PickerViewDataSource>(self));
    _edit->picker->setDelegate(std::weak_ptr<plat::PickerViewDelegate>(self));

    std::weak_ptr<OmbriGrid> weak = self;
    _edit->pickerDone = plat::BarButtonItem::create(plat::BarButtonSystemItem::Done, weak, [weak](plat::BarButtonItem& sender) {
        if (auto grid = weak.lock()) grid->onDataMapPickerDone(sender);
    });
    _edit->pickerToolbar = plat::Toolbar::create({0, 0, frame().width(), PickerToolbarHeight});
    _edit->pickerToolbar->setItems({plat::BarButtonItem::create(plat::BarButtonSystemItem::FlexibleSpace), _edit->pickerDone});
}

std::int64_t OmbriGrid::numberOfComponentsInPickerView(plat::PickerView&) { return 1; }

std::int64_t OmbriGrid::numberOfRowsInComponent(plat::PickerView&, std::int64_t) {
    const auto map = _getDataMap();
    return map ? static_cast<std::int64_t>(map->getDisplayValues().size()) : 0;
}

std::optional<std::string> OmbriGrid::titleForRow(plat::PickerView&, std::int64_t row, std::int64_t) {
    const auto map = _getDataMap();
    if (!map) return std::string();
    return displayValueAt(*map, row).value_or(std::string());
}

void OmbriGrid::didSelectRow(plat::PickerView&, std::int64_t row, std::int64_t) {
    const auto map = _getDataMap();
    if (!map) return;
    if (auto text = displayValueAt(*map, row)) _edit->editor->setText(*text);
}

void OmbriGrid::onDataMapPickerDone(plat::BarButtonItem&) { textFieldShouldReturn(*_edit->editor); }
