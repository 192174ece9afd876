// The edit menu's side of the clipboard: which actions the grid offers, and copy, cut, select and
// select all. Pasting is in Paste.cpp.

#include <string>
#include <string_view>
#include <vector>

#include "GridInternals.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/log.h"
#include "Platform/ui/pasteboard.h"
#include "clipboard/ClipboardPayload.h"
#include "clipboard/GridClipboard.h"
#include "clipboard/PasteRun.h"
#include "clipboard/TextRepair.h"

namespace {

constexpr std::int64_t TypeBoolean = 4;

// The keyboard commands, which the grid takes whatever its state.
constexpr std::string_view KeyActions[] = {"returnKeyPress",        "escapeKeyPress",        "upKeyPress",
                                           "downKeyPress",          "leftKeyPress",          "rightKeyPress",
                                           "upKeyPressWithShift",   "downKeyPressWithShift", "leftKeyPressWithShift",
                                           "rightKeyPressWithShift"};

bool hasCells(const GridCellRange* range) { return range && range->rowSpan() > 0 && range->columnSpan() > 0 && range->isValid(); }

}  // namespace

namespace kivo::detail {

bool isDataRow(const GridRow* row) {
    return row && !dynamic_cast<const GridGroupRow*>(row) && !dynamic_cast<const GridDetailRow*>(row) &&
           !dynamic_cast<const GridEmptyRow*>(row);
}

}  // namespace kivo::detail

using kivo::detail::GridInternals;

using kivo::detail::GridClipboard;

bool GridClipboard::canPerform(plat::EditAction action) const {
    const auto& pressed = GridInternals::contextMenuHit(_grid);
    const auto& selection = _grid.selection();
    const GridSelectionMode mode = _grid.selectionMode();
    const bool pressedInSelection = !pressed || (selection && pressed->cellRange()->intersects(*selection));
    switch (action) {
        case plat::EditAction::SelectAll:
            return mode == GridSelectionModeCellRange || mode == GridSelectionModeRowRange;
        case plat::EditAction::Select:
            return mode != GridSelectionModeNone && !(pressed && pressedInSelection);
        case plat::EditAction::Cut:
            return !_grid.isReadOnly() && pressedInSelection;
        case plat::EditAction::Copy:
            return pressedInSelection;
        case plat::EditAction::Paste:
            return !_grid.isReadOnly() && pressedInSelection && (plat::Pasteboard::general().hasStrings() || hasCopy()) &&
                   selection && selection->rowSpan() > 0 && selection->columnSpan() > 0;
    }
    return false;
}

bool OmbriGrid::canPerformAction(std::string_view action, const std::shared_ptr<plat::Object>& sender) const {
    static constexpr std::pair<std::string_view, plat::EditAction> EditNames[] = {{"cut:", plat::EditAction::Cut},
                                                                                  {"copy:", plat::EditAction::Copy},
                                                                                  {"paste:", plat::EditAction::Paste},
                                                                                  {"select:", plat::EditAction::Select},
                                                                                  {"selectAll:", plat::EditAction::SelectAll}};
    for (const auto& [name, edit] : EditNames)
        if (name == action) return canPerformAction(edit, sender);
    for (std::string_view key : KeyActions)
        if (key == action) return true;
    return false;
}

void GridClipboard::copyCells(bool cut) {
    const auto alive = GridInternals::keepAlive(_grid);
    GridInternals::contextMenuHit(_grid) = nullptr;
    if (cut && _grid.isReadOnly()) {
        plat::log("OmbriGrid cut: the grid is read-only, refused");
        return;
    }
    // Copying nothing ends a pending cut as a copy of other cells does: the paste that follows must not
    // empty cells the user has since stopped thinking of as cut.
    if (!hasCells(_grid.selection().get())) {
        _cut = false;
        return;
    }
    if (!cut) _cut = false;
    keepSelection();
    if (cut) _cut = true;
}

void GridClipboard::keepSelection() {
    const auto merged = _grid.mergedSelection();
    const auto& rows = *_grid.rows();
    const auto& gridColumns = *_grid.columns();
    auto& cells = *_grid.cells();
    const std::int32_t rowCount = static_cast<std::int32_t>(rows.count());
    const std::int32_t columnCount = static_cast<std::int32_t>(gridColumns.count());
    const std::int32_t top = std::max(merged->topRow(), 0), bottom = std::min(merged->bottomRow(), rowCount - 1);
    const std::int32_t left = std::max(merged->leftCol(), 0), right = std::min(merged->rightCol(), columnCount - 1);
    if (top > bottom || left > right) return;

    struct Column {
        std::shared_ptr<GridColumn> column;
        bool bound = false;
    };
    std::vector<Column> columns;
    for (std::int32_t c = left; c <= right; ++c) {
        Column info{gridColumns.column(c)};
        const auto binding = info.column ? info.column->binding() : std::nullopt;
        info.bound = binding && !binding->empty();
        columns.push_back(std::move(info));
    }
    std::vector<std::vector<std::string>> texts;
    texts.reserve(static_cast<std::size_t>(bottom - top + 1));
    std::vector<std::vector<plat::Value>> values;
    std::vector<plat::Value> items;
    std::vector<std::uint64_t> ids;
    std::vector<std::int32_t> indices;
    kivo::detail::ClipboardRow view;
    for (std::int32_t r = top; r <= bottom; ++r) {
        viewRow(view, r);
        const bool data = view.isData;
        const bool group = dynamic_cast<const GridGroupRow*>(view.row.get()) != nullptr;
        auto& line = texts.emplace_back();
        line.reserve(columns.size());
        std::vector<plat::Value> raw;
        if (data) raw.reserve(columns.size());
        for (std::int32_t c = left; c <= right; ++c) {
            const auto& [column, bound] = columns[static_cast<std::size_t>(c - left)];
            plat::Value value = data && bound && !view.item.isNil() ? column->getBoundValue(view.item) : plat::Value();
            if (value.isNil()) value = cells.getCellData(r, c, false);
            // Both flavours carry the same cells: the HTML writer takes only well-formed text.
            if (group && c == 0) {
                line.push_back(kivo::detail::wellFormedText(cells.getGroupRowHeader(r).value_or("")));
            } else if (column && column->dataType() == TypeBoolean && !value.isNil()) {
                line.emplace_back(value.asInteger() != 0 ? "True" : "False");
            } else {
                const plat::Value shown = data && column ? column->getFormattedValue(value) : cells.getCellData(r, c, true);
                line.push_back(kivo::detail::wellFormedText(shown.isNil()      ? std::string()
                                                            : shown.isString() ? shown.asString()
                                                                               : shown.description()));
            }
            if (data) raw.push_back(std::move(value));
        }
        if (data) {
            values.push_back(std::move(raw));
            items.push_back(view.item);
            ids.push_back(view.identity);
            indices.push_back(r);
        }
    }
    const auto skipped = static_cast<std::int32_t>(texts.size() - values.size());
    std::string text = kivo::detail::tabSeparatedText(texts);
    _copy = {std::move(values),
             std::move(items),
             std::move(ids),
             std::move(indices),
             text,
             std::make_shared<GridCellRange>(top, left, bottom - skipped, right)};

    plat::Pasteboard::Item item;
    item.emplace(std::string(plat::PasteboardTypeText), plat::Value(std::move(text)));
    item.emplace(std::string(kivo::detail::WebArchivePasteboardType),
                 plat::Value(kivo::detail::webArchive(kivo::detail::htmlTable(texts))));
    plat::Pasteboard::general().setItems({std::move(item)});
}

void GridClipboard::selectPressed() {
    const auto alive = GridInternals::keepAlive(_grid);
    if (const auto hit = GridInternals::contextMenuHit(_grid)) _grid.handleSelection(*hit);
}

void GridClipboard::selectAll() {
    const auto alive = GridInternals::keepAlive(_grid);
    const GridSelectionMode mode = _grid.selectionMode();
    if (mode != GridSelectionModeCellRange && mode != GridSelectionModeRowRange) return;
    const auto rowCount = static_cast<std::int32_t>(_grid.rows()->count());
    const auto columnCount = static_cast<std::int32_t>(_grid.columns()->count());
    if (rowCount < 1 || columnCount < 1) return;
    _grid.setSelection(std::make_shared<GridCellRange>(0, 0, rowCount - 1, columnCount - 1));
}

// ---- the grid's clipboard API, carried out by its clipboard ----

bool OmbriGrid::canPerformAction(plat::EditAction action, const std::shared_ptr<plat::Object>&) const {
    return _state->clipboard->canPerform(action);
}

void OmbriGrid::copy(const std::shared_ptr<plat::Object>&) { _state->clipboard->copyCells(false); }

void OmbriGrid::cut(const std::shared_ptr<plat::Object>&) { _state->clipboard->copyCells(true); }

void OmbriGrid::paste(const std::shared_ptr<plat::Object>&) { _state->clipboard->pasteCells(); }

void OmbriGrid::select(const std::shared_ptr<plat::Object>&) { _state->clipboard->selectPressed(); }

void OmbriGrid::selectAll(const std::shared_ptr<plat::Object>&) { _state->clipboard->selectAll(); }

std::optional<plat::Date> OmbriGrid::dateFromString(std::string_view text) const {
    return _state->clipboard->dateFromString(text);
}

bool OmbriGrid::tryPasting(const plat::Value& value, std::int32_t row, std::int32_t col) const {
    return _state->clipboard->tryPasting(value, row, col);
}

void OmbriGrid::doPasting(const plat::Value& value, std::int32_t row, std::int32_t col, std::int32_t sourceRow,
                          std::int32_t sourceCol, bool nonRepeatFlag) {
    _state->clipboard->doPasting(value, row, col, sourceRow, sourceCol, nonRepeatFlag);
}
