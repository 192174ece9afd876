// The grid's editing API: each call is carried out by the edit session, which owns the open edit.
#include "editing/EditSession.h"
#include "GridState.h"

#include "OmbriGrid/OmbriGrid.h"
#include "Platform/ui/text_field.h"

const std::shared_ptr<plat::View>& OmbriGrid::activeEditor() const { return _state->edit->activeEditor; }

void OmbriGrid::setActiveEditor(std::shared_ptr<plat::View> editor) { _state->edit->activeEditor = std::move(editor); }

const plat::Value& OmbriGrid::activeEditorValue() const { return _state->edit->activeEditorValue; }

const std::shared_ptr<GridCellRange>& OmbriGrid::editRange() const { return _state->edit->range; }

bool OmbriGrid::isUpdating() const { return _state->edit->updating; }

bool OmbriGrid::startEditing(bool, std::int32_t row, std::int32_t col) { return _state->edit->start(row, col); }

bool OmbriGrid::finishEditing(bool cancel) { return _state->edit->finish(cancel); }

plat::Value OmbriGrid::getActiveEditorValue() const { return _state->edit->editorValue(); }

bool OmbriGrid::textFieldShouldReturn(plat::TextField&) { return _state->edit->returnFromField(); }

void OmbriGrid::textFieldDidBeginEditing(plat::TextField& field) { field.selectAll(); }

std::int64_t OmbriGrid::numberOfComponentsInPickerView(plat::PickerView&) { return 1; }

std::int64_t OmbriGrid::numberOfRowsInComponent(plat::PickerView&, std::int64_t) { return _state->edit->pickerRowCount(); }

std::optional<std::string> OmbriGrid::titleForRow(plat::PickerView&, std::int64_t row, std::int64_t) {
    return _state->edit->pickerTitle(row);
}

void OmbriGrid::didSelectRow(plat::PickerView&, std::int64_t row, std::int64_t) { _state->edit->pickerSelected(row); }

void OmbriGrid::onDataMapPickerDone(plat::BarButtonItem&) { textFieldShouldReturn(*_state->edit->editor); }
