// In-place editing of one cell (or the merged range it lies in) of the cells panel: opening an editor
// behind two cancelable events, reading its value back by the column's data type, and closing it
// behind two more, writing the value into every cell of the range.
//
// Sections: questions; opening an edit; the editor's value; closing an edit; the editor's delegate.

#include "OmbriGrid/GridCellFactory.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridDataMap.h"
#include "OmbriGrid/GridMergeManager.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/foundation/log.h"
#include "Platform/runtime/dispatch.h"
#include "Platform/ui/date_picker.h"
#include "Platform/ui/picker_view.h"
#include "Platform/ui/toolbar.h"
#include "Platform/ui/window.h"
#include "editing/EditSession.h"
#include "editing/EditorValues.h"
#include "events/DelegateRule.h"
#include "events/GridEvents.h"
#include "foundation/saturating_cast.h"
#include "look/GridSettings.h"
#include "scrolling/GridScroller.h"

namespace {

enum : std::int64_t { TypeNone = 0, TypeObject = 1, TypeString = 2, TypeNumber = 3, TypeBoolean = 4, TypeDate = 5 };

bool within(std::int32_t index, std::size_t count) { return index >= 0 && static_cast<std::size_t>(index) < count; }

// Built by appending: GCC 12 at -O2 warns falsely (-Wstringop-overflow) about `"literal" + std::string&&`.
std::string cellName(std::int32_t row, std::int32_t col) {
    std::string s = "(";
    s += std::to_string(row);
    s += ", ";
    s += std::to_string(col);
    s += ")";
    return s;
}

void logItemGone(std::int32_t row, std::int32_t col) {
    plat::log("Grid: the edit of cell " + cellName(row, col) + " is cancelled: its item left the grid");
}

// What a cell shows as editable text: a null marker or nil reads as empty.
std::string asText(const plat::Value& v) {
    if (v.isNil() || v.isNull()) return {};
    return v.isString() ? v.asString() : v.description();
}

}  // namespace

// ---- questions ----

bool OmbriGrid::_isValidRow(std::int32_t row, std::int32_t col) const {
    if (!within(row, _rows->count()) || !within(col, _columns->count())) return false;
    const auto r = _rows->row(row);
    if (!r) return false;
    return !std::dynamic_pointer_cast<GridGroupRow>(r) && !std::dynamic_pointer_cast<GridEmptyRow>(r) &&
           !std::dynamic_pointer_cast<GridDetailRow>(r);
}

std::shared_ptr<GridDataMap> OmbriGrid::_getDataMap() const {
    if (!_edit->range || !within(_edit->col, _columns->count())) return nullptr;
    const auto column = _columns->column(_edit->col);
    return column ? column->dataMap() : nullptr;
}

plat::Size OmbriGrid::intrinsicContentSize() const {
    using plat::detail::saturatingCast;
    const auto sum = [](std::int64_t a, std::int64_t b) {
        return static_cast<double>(saturatingCast<std::int32_t>(double(a + b)));
    };
    return {sum(_cells->width(), _rowHeaders->width()), sum(_cells->height(), _columnHeaders->height())};
}

// ---- opening an edit ----

bool OmbriGrid::startEditing(bool, std::int32_t row, std::int32_t col) {
    using kivo::detail::DelegateRule;
    const auto alive = keepAlive();
    if (!_isValidRow(row, col) || _edit->startLock || _scroller->isMovingOrigin()) return false;
    if (_edit->activeEditor || _edit->range) {
        // One edit at a time: a second would orphan the first's editor and its events.
        plat::log("Grid: no edit of cell " + cellName(row, col) + " while cell " + cellName(_edit->row, _edit->col) +
                  " is being edited");
        return false;
    }
    const auto column = _columns->column(col);
    if (_settings->isReadOnly || !column || column->isReadOnly() || column->dataType() == TypeNone) return false;
    const auto rowObject = _rows->row(row);
    if (rowObject->isReadOnly()) return false;

    auto range = std::make_shared<GridCellRange>(row, col);
    if (_mergeManager) range = _mergeManager->getMergedRangeForCells(range, GridCellTypeCell);
    const auto self = sharedAs<OmbriGrid>();
    auto beginning = std::make_shared<GridCellRangeEventArgs>(_cells, range);
    if (!raiseCancelable(_events->BeginningEdit, beginning, DelegateRule::Replaces,
                         [&](OmbriGridDelegate& d) { return d.beginningEdit(self, _cells, range); }) ||
        !editCellStands(row, col, rowObject, column))
        return false;
    auto prepare = std::make_shared<GridCellRangeEventArgs>(_cells, range);
    if (!raiseCancelable(_events->PrepareCellForEdit, prepare, DelegateRule::EitherStops,
                         [&](OmbriGridDelegate& d) { return d.prepareCellForEdit(self, _cells, range); }) ||
        !editCellStands(row, col, rowObject, column))
        return false;

    _isUpdating = true;
    _edit->range = range;
    _edit->row = row;
    _edit->col = col;
    _edit->toggles = false;
    ++_edit->serial;
    holdEditedItem();

    // Only a row that is not wholly in view moves the content down; a column off to the side must
    // not shift the rows.
    const bool rowInView = isRowInView(row, col);
    plat::Rect rect = getCellRectForRow(row, col);
    if (column->dataType() == TypeBoolean && !column->dataMap()) {
        setNeedsDisplay();
    } else {
        if (!_cells->isColRightVisible(col)) _originX = rect.x() + _originX + rect.width() - _clientRect.width();
        if (!_cells->isColLeftVisible(col)) _originX += rect.x() - _cellsStart.x - _cells->frozenPoint().x;
        if (!_cells->isRowTopVisible(row)) {
            _originY += rect.y() - _cellsStart.y - _cells->frozenPoint().y;
            if (_originY < 0) _originY = 0;
        } else if (!rowInView) {
            _originY += rect.height();
        }
        rect = getCellRectForRow(row, col);
        invalidate();
        if (!editCellStands(row, col, rowObject, column)) {
            abandonStart();
            return false;
        }
    }

    auto made = _cellFactory ? _cellFactory->createCellEditor(_cells, _edit->range) : nullptr;
    // The factory is the application's code too.
    if (!editCellStands(row, col, rowObject, column)) {
        abandonStart();
        return false;
    }
    if (made) {
        _edit->activeEditor = std::move(made);
        _edit->activeEditorValue = {};
        const auto field = std::dynamic_pointer_cast<plat::TextField>(_edit->activeEditor);
        _edit->startText = field ? field->text() : std::string();
        rect = {rect.x(), rect.y() + 2, rect.width(), rect.height() - 4};
    } else {
        if (column->dataType() == TypeBoolean && !column->dataMap()) {
            _edit->activeEditor = _edit->editor;
            _edit->toggles = true;
            _edit->activeEditorValue = plat::Value(!getCellDataForRow(row, col, false).asBool());
            return finishEditing(false);
        }
        if (!prepareEditor(row, col, rect)) {
            plat::log("Grid: cell " + cellName(row, col) + " is not edited: its column's data type has no editor");
            abandonStart();
            return false;
        }
        rect = _edit->editor->frame();
        _edit->activeEditor = _edit->editor;
    }

    if (_edit->activeEditor->superview().get() != this) addSubview(_edit->activeEditor);
    _edit->activeEditor->setFrame(rect);
    _edit->activeEditor->setHidden(false);
    _edit->activeEditor->setBackgroundColor(plat::Color::clear());
    _edit->finishing = true;
    // Focused once the current work is done; by then the edit may have closed, or another opened.
    plat::dispatch::async(
        plat::dispatch::Queue::main(),
        [weak = std::weak_ptr<OmbriGrid>(self), editor = std::weak_ptr<plat::View>(_edit->activeEditor), serial = _edit->serial] {
            const auto grid = weak.lock();
            const auto view = editor.lock();
            if (!grid || !view || grid->_edit->serial != serial || grid->_edit->activeEditor != view) return;
            if (std::dynamic_pointer_cast<plat::TextField>(view) || std::dynamic_pointer_cast<plat::PickerView>(view))
                view->becomeFirstResponder();
        });
    return true;
}

bool OmbriGrid::editCellStands(std::int32_t row, std::int32_t col, const std::shared_ptr<GridRow>& rowObject,
                               const std::shared_ptr<GridColumn>& column) const {
    // The same objects at the same places: a row or column taken away, or another put in its place,
    // would leave an editor over a cell that is not the one asked for.
    if (within(row, _rows->count()) && within(col, _columns->count()) && _rows->row(row) == rowObject &&
        _columns->column(col) == column)
        return true;
    plat::log("Grid: the edit of cell " + cellName(row, col) +
              " is refused: its row or column moved or left the grid while it started");
    return false;
}

void OmbriGrid::abandonStart() {
    releaseEditedItem();
    _edit->range.reset();
    _isUpdating = false;
    _edit->row = _edit->col = -1;
}

std::string OmbriGrid::editorTextForCell(std::int32_t row, std::int32_t col) const {
    const auto column = _columns->column(col);
    if (column && column->dataType() == TypeNumber && !column->dataMap())
        return kivo::detail::numberEditText(getCellDataForRow(row, col, false));
    return asText(getCellDataForRow(row, col, true));
}

bool OmbriGrid::prepareEditor(std::int32_t row, std::int32_t col, plat::Rect rect) {
    const auto column = _columns->column(col);
    const std::int64_t type = column->dataType();
    const bool mapped = column->dataMap() != nullptr;
    if (!mapped && type != TypeString && type != TypeObject && type != TypeNumber && type != TypeDate) return false;
    const bool number = !mapped && type == TypeNumber;
    const bool date = !mapped && type == TypeDate;

    const std::string text = editorTextForCell(row, col);
    _edit->editor->setText(text);
    _edit->startText = text;
    const auto keyboard = number || date ? plat::KeyboardType::NumbersAndPunctuation : plat::KeyboardType::ASCIICapable;
    _edit->editor->setKeyboardType(column->inputType() != 0 ? static_cast<plat::KeyboardType>(column->inputType()) : keyboard);
    _edit->editor->setTextAlignment(number ? plat::TextAlignment::Right : plat::TextAlignment::Natural);
    _edit->editor->setClearButtonMode(mapped ? plat::TextFieldViewMode::Never : plat::TextFieldViewMode::WhileEditing);
    _edit->editor->setAutocorrectionType(plat::TextAutocorrectionType::No);
    _edit->editor->setInputView(mapped ? std::static_pointer_cast<plat::View>(_edit->picker) : nullptr);
    _edit->editor->setInputAccessoryView(mapped ? std::static_pointer_cast<plat::View>(_edit->pickerToolbar) : nullptr);
    if (mapped) {
        _edit->picker->reloadAllComponents();
        // A text that is no display value leaves the picker on its first row with none chosen.
        const std::int32_t index = column->dataMap()->displayIndexOf(plat::Value(text));
        if (index >= 0 && index < _edit->picker->numberOfRowsInComponent(0))
            _edit->picker->selectRow(index, 0, true);
        else
            _edit->picker->deselectRow(0);
    }
    rect = {rect.x(), rect.y() + 2, rect.width(), rect.height() - 4};
    if (!number) rect = {rect.x() + 4, rect.y(), rect.width() - 6, rect.height()};
    _edit->editor->setFrame(rect);
    return true;
}

// ---- the editor's value ----

plat::Value OmbriGrid::getActiveEditorValue() const {
    const auto field = std::dynamic_pointer_cast<plat::TextField>(_edit->activeEditor);
    if (!field || !within(_edit->col, _columns->count())) return {};
    if (field->inputView() && field->inputView() == _edit->picker) {
        const auto map = _getDataMap();
        return map ? map->getKeyValue(plat::Value(field->text())) : plat::Value();
    }
    if (const auto picker = std::dynamic_pointer_cast<plat::DatePicker>(field->inputView())) return plat::Value(picker->date());
    const auto column = _columns->column(_edit->col);
    if (!column) return {};
    auto read = kivo::detail::readEditorText(*column, field->text(), getCellDataForRow(_edit->row, _edit->col, false));
    return read.ok() ? read.value : plat::Value();
}

// ---- closing an edit ----

bool OmbriGrid::finishEditing(bool cancel) {
    using kivo::detail::DelegateRule;
    if (_edit->closing) return true;
    if (!_edit->activeEditor) {
        // No editor means no edit: nothing may stay marked as being edited.
        releaseEditedItem();
        _edit->range.reset();
        _isUpdating = false;
        return true;
    }
    const auto alive = keepAlive();
    const auto self = sharedAs<OmbriGrid>();
    _edit->closing = true;
    const auto editor = _edit->activeEditor;
    // The rows may have moved under the open editor: the edit closes where its item stands now.
    const bool itemStays = followEditedItem();
    if (!itemStays) {
        logItemGone(_edit->row, _edit->col);
        cancel = true;
    }
    if (_edit->activeEditorValue.isNil() && itemStays) _edit->activeEditorValue = getActiveEditorValue();
    _edit->finishing = true;
    editor->resignFirstResponder();
    _edit->finishing = false;

    const auto range = _edit->range;
    auto args = std::make_shared<GridCellRangeEventArgs>(_cells, range);
    args->setCancel(cancel);
    const bool commit = raiseCancelable(_events->CellEditEnding, args, DelegateRule::Replaces,
                                        [&](OmbriGridDelegate& d) { return d.cellEditEnding(self, _cells, range, cancel); });
    if (commit && itemStays) commitEdit();
    raiseNotice(_events->CellEditEnded, args, [&](OmbriGridDelegate& d) { d.cellEditEnded(self, _cells, range); });

    editor->setHidden(true);
    editor->removeFromSuperview();
    _edit->activeEditor.reset();
    _edit->range.reset();
    _edit->activeEditorValue = {};
    _isUpdating = false;
    _edit->toggles = false;
    _edit->row = _edit->col = -1;
    _edit->startText.clear();
    releaseEditedItem();
    ++_edit->serial;
    _edit->closing = false;
    // The keyboard comes back to the grid when nothing else took it, so the keys go on moving the selection.
    if (const auto w = window(); w && !w->firstResponder()) becomeFirstResponder();
    invalidate();
    return true;
}

void OmbriGrid::commitEdit() {
    if (!_edit->range) return;
    // The ending event's handlers may have moved the rows again, or taken the item away.
    if (!followEditedItem()) {
        logItemGone(_edit->row, _edit->col);
        return;
    }
    auto range = _mergeManager ? _mergeManager->getMergedRangeForCells(_edit->range, GridCellTypeCell) : _edit->range;
    // Only the rows the edit holds take the value: a cell merged with them since it opened (an equal
    // value sorted next to it) belongs to another item.
    if (range->topRow() < _edit->range->topRow() || range->bottomRow() > _edit->range->bottomRow())
        range = std::make_shared<GridCellRange>(_edit->range->topRow(), range->leftCol(), _edit->range->bottomRow(),
                                                range->rightCol());
    const auto field = std::dynamic_pointer_cast<plat::TextField>(_edit->activeEditor);
    const bool typed = !_edit->toggles && field && !std::dynamic_pointer_cast<plat::DatePicker>(field->inputView());
    if (typed) {
        const std::string text = field->text();
        // An unchanged text would only put a rounded or formatted copy in place of the value.
        if (text == _edit->startText) return;
        for (std::int32_t r = range->topRow(); r <= range->bottomRow(); ++r)
            for (std::int32_t c = range->leftCol(); c <= range->rightCol(); ++c) {
                const auto column = _columns->column(c);
                if (!column) continue;
                auto read = kivo::detail::readEditorText(*column, text, getCellDataForRow(r, c, false));
                if (read.ok())
                    _cells->setCellData(read.value, r, c);
                else
                    plat::log("Grid: cell " + cellName(r, c) + " keeps its value: \"" + text + "\" " + read.failure);
            }
        return;
    }
    if (_edit->activeEditorValue.isNil()) return;
    const auto edited = _columns->column(_edit->col);
    const std::int64_t type = edited ? edited->dataType() : TypeNone;
    for (std::int32_t r = range->topRow(); r <= range->bottomRow(); ++r)
        for (std::int32_t c = range->leftCol(); c <= range->rightCol(); ++c) {
            const auto column = _columns->column(c);
            if (!column) continue;
            // A merged neighbour of another data type never takes this column's kind of value.
            if (c != _edit->col && column->dataType() != type) {
                plat::log("Grid: cell " + cellName(r, c) + " keeps its value: the edited value is not of its column's data type");
                continue;
            }
            _cells->setCellData(_edit->activeEditorValue, r, c);
        }
}

// ---- the editor's delegate ----

bool OmbriGrid::textFieldShouldReturn(plat::TextField&) {
    _edit->activeEditorValue = getActiveEditorValue();
    finishEditing(false);
    return true;
}

void OmbriGrid::textFieldDidBeginEditing(plat::TextField& field) { field.selectAll(); }
