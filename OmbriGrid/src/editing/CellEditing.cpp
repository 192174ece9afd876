// In-place editing of one cell (or the merged range it lies in) of the cells panel: opening an editor
// behind two cancelable events, reading its value back by the column's data type, and closing it
// behind two more, writing the value into every cell of the range.
//
// Sections: questions; opening an edit; the editor's value; closing an edit.

#include "GridInternals.h"
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
#include "Platform/ui/text_field.h"
#include "Platform/ui/toolbar.h"
#include "Platform/ui/window.h"
#include "editing/EditSession.h"
#include "editing/EditorValues.h"
#include "events/DelegateRule.h"
#include "scrolling/GridScroller.h"

namespace kivo::detail {

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

bool EditSession::isValidRow(std::int32_t row, std::int32_t col) const {
    const auto& rows = *_grid.rows();
    if (!within(row, rows.count()) || !within(col, _grid.columns()->count())) return false;
    const auto r = rows.row(row);
    if (!r) return false;
    return !std::dynamic_pointer_cast<GridGroupRow>(r) && !std::dynamic_pointer_cast<GridEmptyRow>(r) &&
           !std::dynamic_pointer_cast<GridDetailRow>(r);
}

std::shared_ptr<GridDataMap> EditSession::getDataMap() const {
    const auto& columns = *_grid.columns();
    if (!range || !within(col, columns.count())) return nullptr;
    const auto column = columns.column(col);
    return column ? column->dataMap() : nullptr;
}

bool EditSession::isOnEditRange(const GridHitTestInfo& hit) const {
    // A merged edit spans several cells, all under the one editor: any of them is on it.
    return range && hit.gridPanel() == _grid.cells() && range->containsRow(hit.row()) && range->containsColumn(hit.column());
}

// ---- opening an edit ----

bool EditSession::start(std::int32_t row, std::int32_t col) {
    const auto alive = GridInternals::keepAlive(_grid);
    if (!isValidRow(row, col) || startLock || GridInternals::scroller(_grid).isMovingOrigin()) return false;
    if (activeEditor || range) {
        // One edit at a time: a second would orphan the first's editor and its events.
        plat::log("Grid: no edit of cell " + cellName(row, col) + " while cell " + cellName(this->row, this->col) +
                  " is being edited");
        return false;
    }
    const auto column = _grid.columns()->column(col);
    if (_grid.isReadOnly() || !column || column->isReadOnly() || column->dataType() == TypeNone) return false;
    const auto rowObject = _grid.rows()->row(row);
    if (rowObject->isReadOnly()) return false;

    const auto& cells = _grid.cells();
    auto cellRange = std::make_shared<GridCellRange>(row, col);
    if (const auto& merge = _grid.mergeManager()) cellRange = merge->getMergedRangeForCells(cellRange, GridCellTypeCell);
    const auto self = GridInternals::self(_grid);
    auto beginning = std::make_shared<GridCellRangeEventArgs>(cells, cellRange);
    if (!GridInternals::raiseCancelable(_grid, _grid.ombriGridBeginningEdit(), beginning, DelegateRule::Replaces,
                                        [&](OmbriGridDelegate& d) { return d.beginningEdit(self, cells, cellRange); }) ||
        !cellStands(row, col, rowObject, column))
        return false;
    auto prepare = std::make_shared<GridCellRangeEventArgs>(cells, cellRange);
    if (!GridInternals::raiseCancelable(_grid, _grid.ombriGridPrepareCellForEdit(), prepare, DelegateRule::EitherStops,
                                        [&](OmbriGridDelegate& d) { return d.prepareCellForEdit(self, cells, cellRange); }) ||
        !cellStands(row, col, rowObject, column))
        return false;

    updating = true;
    range = cellRange;
    this->row = row;
    this->col = col;
    toggles = false;
    ++serial;
    holdEditedItem();

    plat::Rect rect = _grid.getCellRectForRow(row, col);
    if (column->dataType() == TypeBoolean && !column->dataMap()) {
        _grid.setNeedsDisplay();
    } else {
        rect = bringIntoView(row, col);
        if (!cellStands(row, col, rowObject, column)) {
            abandonStart();
            return false;
        }
    }

    const auto& factory = _grid.cellFactory();
    auto made = factory ? factory->createCellEditor(cells, range) : nullptr;
    // The factory is the application's code too.
    if (!cellStands(row, col, rowObject, column)) {
        abandonStart();
        return false;
    }
    if (made) {
        activeEditor = std::move(made);
        activeEditorValue = {};
        const auto field = std::dynamic_pointer_cast<plat::TextField>(activeEditor);
        startText = field ? field->text() : std::string();
        rect = {rect.x(), rect.y() + 2, rect.width(), rect.height() - 4};
    } else {
        if (column->dataType() == TypeBoolean && !column->dataMap()) {
            activeEditor = editor;
            toggles = true;
            activeEditorValue = plat::Value(!_grid.getCellDataForRow(row, col, false).asBool());
            return finish(false);
        }
        if (!prepareEditor(row, col, rect)) {
            plat::log("Grid: cell " + cellName(row, col) + " is not edited: its column's data type has no editor");
            abandonStart();
            return false;
        }
        rect = editor->frame();
        activeEditor = editor;
    }

    if (activeEditor->superview().get() != &_grid) _grid.addSubview(activeEditor);
    activeEditor->setFrame(rect);
    activeEditor->setHidden(false);
    activeEditor->setBackgroundColor(plat::Color::clear());
    finishing = true;
    // Focused once the current work is done; by then the edit may have closed, or another opened.
    plat::dispatch::async(plat::dispatch::Queue::main(), [weak = std::weak_ptr<OmbriGrid>(self),
                                                          view = std::weak_ptr<plat::View>(activeEditor), opened = serial] {
        const auto grid = weak.lock();
        const auto shown = view.lock();
        if (!grid) return;
        const auto& session = GridInternals::edit(*grid);
        if (!shown || session.serial != opened || session.activeEditor != shown) return;
        if (std::dynamic_pointer_cast<plat::TextField>(shown) || std::dynamic_pointer_cast<plat::PickerView>(shown))
            shown->becomeFirstResponder();
    });
    return true;
}

plat::Rect EditSession::bringIntoView(std::int32_t row, std::int32_t col) {
    // Only a row that is not wholly in view moves the content down; a column off to the side must
    // not shift the rows.
    const bool rowInView = _grid.isRowInView(row, col);
    const plat::Rect rect = _grid.getCellRectForRow(row, col);
    const auto& cells = *_grid.cells();
    double& originX = GridInternals::originX(_grid);
    double& originY = GridInternals::originY(_grid);
    const plat::Point start = _grid.offset();
    if (!cells.isColRightVisible(col)) originX = rect.x() + originX + rect.width() - _grid.clientRect().width();
    if (!cells.isColLeftVisible(col)) originX += rect.x() - start.x - cells.frozenPoint().x;
    if (!cells.isRowTopVisible(row)) {
        originY += rect.y() - start.y - cells.frozenPoint().y;
        if (originY < 0) originY = 0;
    } else if (!rowInView) {
        originY += rect.height();
    }
    const plat::Rect moved = _grid.getCellRectForRow(row, col);
    _grid.invalidate();
    return moved;
}

bool EditSession::cellStands(std::int32_t row, std::int32_t col, const std::shared_ptr<GridRow>& rowObject,
                             const std::shared_ptr<GridColumn>& column) const {
    // The same objects at the same places: a row or column taken away, or another put in its place,
    // would leave an editor over a cell that is not the one asked for.
    const auto& rows = *_grid.rows();
    const auto& columns = *_grid.columns();
    if (within(row, rows.count()) && within(col, columns.count()) && rows.row(row) == rowObject && columns.column(col) == column)
        return true;
    plat::log("Grid: the edit of cell " + cellName(row, col) +
              " is refused: its row or column moved or left the grid while it started");
    return false;
}

void EditSession::abandonStart() {
    releaseEditedItem();
    range.reset();
    updating = false;
    row = col = -1;
}

std::string EditSession::editorTextForCell(std::int32_t row, std::int32_t col) const {
    const auto column = _grid.columns()->column(col);
    if (column && column->dataType() == TypeNumber && !column->dataMap())
        return numberEditText(_grid.getCellDataForRow(row, col, false));
    return asText(_grid.getCellDataForRow(row, col, true));
}

bool EditSession::prepareEditor(std::int32_t row, std::int32_t col, plat::Rect rect) {
    const auto column = _grid.columns()->column(col);
    const std::int64_t type = column->dataType();
    const bool mapped = column->dataMap() != nullptr;
    if (!mapped && type != TypeString && type != TypeObject && type != TypeNumber && type != TypeDate) return false;
    const bool number = !mapped && type == TypeNumber;
    const bool date = !mapped && type == TypeDate;

    const std::string text = editorTextForCell(row, col);
    editor->setText(text);
    startText = text;
    const auto keyboard = number || date ? plat::KeyboardType::NumbersAndPunctuation : plat::KeyboardType::ASCIICapable;
    editor->setKeyboardType(column->inputType() != 0 ? static_cast<plat::KeyboardType>(column->inputType()) : keyboard);
    editor->setTextAlignment(number ? plat::TextAlignment::Right : plat::TextAlignment::Natural);
    editor->setClearButtonMode(mapped ? plat::TextFieldViewMode::Never : plat::TextFieldViewMode::WhileEditing);
    editor->setAutocorrectionType(plat::TextAutocorrectionType::No);
    editor->setInputView(mapped ? std::static_pointer_cast<plat::View>(picker) : nullptr);
    editor->setInputAccessoryView(mapped ? std::static_pointer_cast<plat::View>(pickerToolbar) : nullptr);
    if (mapped) {
        picker->reloadAllComponents();
        // A text that is no display value leaves the picker on its first row with none chosen.
        const std::int32_t index = column->dataMap()->displayIndexOf(plat::Value(text));
        if (index >= 0 && index < picker->numberOfRowsInComponent(0))
            picker->selectRow(index, 0, true);
        else
            picker->deselectRow(0);
    }
    rect = {rect.x(), rect.y() + 2, rect.width(), rect.height() - 4};
    if (!number) rect = {rect.x() + 4, rect.y(), rect.width() - 6, rect.height()};
    editor->setFrame(rect);
    return true;
}

// ---- the editor's value ----

plat::Value EditSession::editorValue() const {
    const auto field = std::dynamic_pointer_cast<plat::TextField>(activeEditor);
    const auto& columns = *_grid.columns();
    if (!field || !within(col, columns.count())) return {};
    if (field->inputView() && field->inputView() == picker) {
        const auto map = getDataMap();
        return map ? map->getKeyValue(plat::Value(field->text())) : plat::Value();
    }
    if (const auto datePicker = std::dynamic_pointer_cast<plat::DatePicker>(field->inputView()))
        return plat::Value(datePicker->date());
    const auto column = columns.column(col);
    if (!column) return {};
    auto read = readEditorText(*column, field->text(), _grid.getCellDataForRow(row, col, false));
    return read.ok() ? read.value : plat::Value();
}

// ---- closing an edit ----

bool EditSession::finish(bool cancel) {
    if (closing) return true;
    if (!activeEditor) {
        // No editor means no edit: nothing may stay marked as being edited.
        releaseEditedItem();
        range.reset();
        updating = false;
        return true;
    }
    const auto alive = GridInternals::keepAlive(_grid);
    const auto self = GridInternals::self(_grid);
    closing = true;
    const auto open = activeEditor;
    // The rows may have moved under the open editor: the edit closes where its item stands now.
    const bool itemStays = followEditedItem();
    if (!itemStays) {
        logItemGone(row, col);
        cancel = true;
    }
    if (activeEditorValue.isNil() && itemStays) activeEditorValue = editorValue();
    finishing = true;
    open->resignFirstResponder();
    finishing = false;

    const auto closed = range;
    const auto& cells = _grid.cells();
    auto args = std::make_shared<GridCellRangeEventArgs>(cells, closed);
    args->setCancel(cancel);
    const bool commits =
        GridInternals::raiseCancelable(_grid, _grid.ombriGridCellEditEnding(), args, DelegateRule::Replaces,
                                       [&](OmbriGridDelegate& d) { return d.cellEditEnding(self, cells, closed, cancel); });
    if (commits && itemStays) commit();
    GridInternals::raiseNotice(_grid, _grid.ombriGridCellEditEnded(), args,
                               [&](OmbriGridDelegate& d) { d.cellEditEnded(self, cells, closed); });

    open->setHidden(true);
    open->removeFromSuperview();
    activeEditor.reset();
    range.reset();
    activeEditorValue = {};
    updating = false;
    toggles = false;
    row = col = -1;
    startText.clear();
    releaseEditedItem();
    ++serial;
    closing = false;
    // The keyboard comes back to the grid when nothing else took it, so the keys go on moving the selection.
    if (const auto w = _grid.window(); w && !w->firstResponder()) _grid.becomeFirstResponder();
    _grid.invalidate();
    return true;
}

void EditSession::commit() {
    if (!range) return;
    // The ending event's handlers may have moved the rows again, or taken the item away.
    if (!followEditedItem()) {
        logItemGone(row, col);
        return;
    }
    const auto& merge = _grid.mergeManager();
    auto target = merge ? merge->getMergedRangeForCells(range, GridCellTypeCell) : range;
    // Only the rows the edit holds take the value: a cell merged with them since it opened (an equal
    // value sorted next to it) belongs to another item.
    if (target->topRow() < range->topRow() || target->bottomRow() > range->bottomRow())
        target = std::make_shared<GridCellRange>(range->topRow(), target->leftCol(), range->bottomRow(), target->rightCol());
    const auto& columns = *_grid.columns();
    auto& cells = *_grid.cells();
    const auto field = std::dynamic_pointer_cast<plat::TextField>(activeEditor);
    const bool typed = !toggles && field && !std::dynamic_pointer_cast<plat::DatePicker>(field->inputView());
    if (typed) {
        const std::string text = field->text();
        // An unchanged text would only put a rounded or formatted copy in place of the value.
        if (text == startText) return;
        for (std::int32_t r = target->topRow(); r <= target->bottomRow(); ++r)
            for (std::int32_t c = target->leftCol(); c <= target->rightCol(); ++c) {
                const auto column = columns.column(c);
                if (!column) continue;
                auto read = readEditorText(*column, text, _grid.getCellDataForRow(r, c, false));
                if (read.ok())
                    cells.setCellData(read.value, r, c);
                else
                    plat::log("Grid: cell " + cellName(r, c) + " keeps its value: \"" + text + "\" " + read.failure);
            }
        return;
    }
    if (activeEditorValue.isNil()) return;
    const auto edited = columns.column(col);
    const std::int64_t type = edited ? edited->dataType() : TypeNone;
    for (std::int32_t r = target->topRow(); r <= target->bottomRow(); ++r)
        for (std::int32_t c = target->leftCol(); c <= target->rightCol(); ++c) {
            const auto column = columns.column(c);
            if (!column) continue;
            // A merged neighbour of another data type never takes this column's kind of value.
            if (c != col && column->dataType() != type) {
                plat::log("Grid: cell " + cellName(r, c) + " keeps its value: the edited value is not of its column's data type");
                continue;
            }
            cells.setCellData(activeEditorValue, r, c);
        }
}

bool EditSession::returnFromField() {
    activeEditorValue = editorValue();
    finish(false);
    return true;
}

void EditSession::returnFromEditor() {
    if (!activeEditor) return;
    if (auto* field = dynamic_cast<plat::TextField*>(activeEditor.get()))
        _grid.textFieldShouldReturn(*field);
    else
        // A factory's view has no return key; its value is committed as the key would commit it.
        finish(false);
}

}  // namespace kivo::detail
