// The grid's editing API: each call is carried out by the edit session, which owns the open edit.
#include "editing/EditSession.h"

#include "OmbriGrid/OmbriGrid.h"
#include "Platform/ui/text_field.h"

const std::shared_ptr<plat::View>& OmbriGrid::activeEditor() const { return _edit->activeEditor; }

void OmbriGrid::setActiveEditor(std::shared_ptr<plat::View> editor) { _edit->activeEditor = std::move(editor); }

const plat::Value& OmbriGrid::activeEditorValue() const { return _edit->activeEditorValue; }

const std::shared_ptr<GridCellRange>& OmbriGrid::editRange() const { return _edit->range; }

bool OmbriGrid::isUpdating() const { return _edit->updating; }

bool OmbriGrid::startEditing(bool, std::int32_t row, std::int32_t col) { return _edit->start(row, col); }

bool OmbriGrid::finishEditing(bool cancel) { return _edit->finish(cancel); }

plat::Value OmbriGrid::getActiveEditorValue() const { return _edit->editorValue(); }

bool OmbriGrid::textFieldShouldReturn(plat::TextField&) { return _edit->returnFromField(); }

void OmbriGrid::textFieldDidBeginEditing(plat::TextField& field) { field.selectAll(); }

std::int64_t OmbriGrid::numberOfComponentsInPickerView(plat::PickerView&) { return 1; }

std::int64_t OmbriGrid::numberOfRowsInComponent(plat::PickerView&, std::int64_t) { return _edit->pickerRowCount(); }

std::optional<std::string> OmbriGrid::titleForRow(plat::PickerView&, std::int64_t row, std::int64_t) {
    return _edit->pickerTitle(row);
}

void OmbriGrid::didSelectRow(plat::PickerView&, std::int64_t row, std::int64_t) { _edit->pickerSelected(row); }

void OmbriGrid::onDataMapPickerDone(plat::BarButtonItem&) { textFieldShouldReturn(*_edit->editor); }
