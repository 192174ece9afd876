// The grid's hardware-keyboard commands: arrows move the selection one cell, Shift+arrows grow or
// shrink a range, Option+Return opens or commits an edit and Escape cancels it. Every move goes
// through the selection setter, so bounds, row modes and vetoes apply as they do to taps.
#include <optional>
#include <string>

#include "GridInternals.h"
#include "KivoCore/KivoDataType.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridMergeManager.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/ui/key_command.h"
#include "Platform/ui/text_field.h"
#include "editing/EditSession.h"

using kivo::detail::GridInternals;

namespace {

// The first shown row or column from `from` + `step` on in the step's direction; none when every
// one that way is hidden or there is none.
std::optional<std::int32_t> nextShown(const GridRowColCollection& items, std::int32_t from, std::int32_t step) {
    const auto count = static_cast<std::int64_t>(items.count());
    for (std::int64_t i = std::int64_t{from} + step; i >= 0 && i < count; i += step) {
        const auto item = items.item(i);
        if (item && item->isVisible()) return static_cast<std::int32_t>(i);
    }
    return std::nullopt;
}

bool liesIn(const GridCellRange& r, std::size_t rows, std::size_t cols) {
    const auto in = [](std::int32_t i, std::size_t count) { return i >= 0 && static_cast<std::size_t>(i) < count; };
    return in(r.row(), rows) && in(r.row2(), rows) && in(r.col(), cols) && in(r.col2(), cols);
}

// The merged block the cell lies in, or the cell alone.
std::shared_ptr<GridCellRange> mergedRangeOfCell(const OmbriGrid& grid, std::int32_t row, std::int32_t col) {
    auto cell = std::make_shared<GridCellRange>(row, col);
    const auto& manager = grid.mergeManager();
    if (!manager) return cell;
    auto merged = manager->getMergedRangeForCells(cell, GridCellTypeCell);
    return merged ? merged : cell;
}

// An arrow key: a step of one row (dRow) or one column (dCol), extending the range for Shift.
void arrowKeyPress(OmbriGrid& grid, std::int32_t dRow, std::int32_t dCol, bool extend) {
    if (grid.selectionMode() == GridSelectionModeNone || !grid.selection()) return;
    // An empty selection has nowhere to move from; a stale one (rows gone since) is left to the next
    // binding to pull back rather than read past the rows.
    if (!liesIn(*grid.selection(), grid.rows()->count(), grid.columns()->count())) return;
    const auto alive = GridInternals::keepAlive(grid);
    const GridCellRange s = *grid.selection();
    const bool selOrigin = GridInternals::selOrigin(grid);
    const bool vertical = dRow != 0;
    const auto& axis = vertical ? static_cast<const GridRowColCollection&>(*grid.rows()) : *grid.columns();
    const std::int32_t step = vertical ? dRow : dCol;

    if (extend && (grid.selectionMode() == GridSelectionModeCellRange || grid.selectionMode() == GridSelectionModeRowRange)) {
        // One corner moves, the other stays: with `selOrigin` the far corner (row2, col2) moves, else the
        // anchor. The moving corner is scrolled to whether or not it could move.
        std::int32_t row = selOrigin ? s.row2() : s.row(), col = selOrigin ? s.col2() : s.col();
        std::int32_t& moving = vertical ? row : col;
        if (const auto to = nextShown(axis, moving, step)) {
            moving = *to;
            grid.setSelection(selOrigin ? std::make_shared<GridCellRange>(s.row(), s.col(), row, col)
                                        : std::make_shared<GridCellRange>(row, col, s.row2(), s.col2()));
        }
        const GridCellRange& now = *grid.selection();
        if (vertical)
            grid.scrollRowIntoView(selOrigin ? now.row2() : now.row());
        else
            grid.scrollColumnIntoView(selOrigin ? now.col2() : now.col());
        return;
    }

    // A plain arrow makes a single cell beside the corner an extension would keep: the anchor with
    // `selOrigin`, else (row2, col2). Merged cells are stepped over: towards the end from the far edge
    // of the block, towards the start from the near edge of the merged selection, or, from (row2, col2),
    // of that cell's own block, whose near edge the selection's corners do not give.
    const auto merged = grid.mergedSelection();
    std::int32_t from = 0;
    if (step > 0) {
        const auto block = selOrigin ? grid.mergedSingleSelection() : merged;
        from = vertical ? block->row2() : block->col2();
    } else {
        const auto block = selOrigin ? merged : mergedRangeOfCell(grid, s.row2(), s.col2());
        from = vertical ? block->row() : block->col();
    }
    if (const auto to = nextShown(axis, from, step)) {
        const std::int32_t row = vertical ? *to : (selOrigin ? s.row() : s.row2());
        const std::int32_t col = vertical ? (selOrigin ? s.col() : s.col2()) : *to;
        grid.setSelection(std::make_shared<GridCellRange>(row, col));
    }
    const auto now = grid.mergedSelection();
    if (vertical)
        grid.scrollRowIntoView(now->row());
    else
        grid.scrollColumnIntoView(dCol < 0 ? now->col() : now->col2());
}

}  // namespace

std::vector<std::shared_ptr<plat::KeyCommand>> OmbriGrid::keyCommands() const {
    const std::weak_ptr<OmbriGrid> weak = std::const_pointer_cast<OmbriGrid>(sharedAs<OmbriGrid>());
    const auto command = [&weak](std::string_view input, unsigned flags, void (OmbriGrid::*action)()) {
        return plat::KeyCommand::create(std::string(input), flags, [weak, action](const plat::KeyCommand&) {
            if (const auto grid = weak.lock()) (grid.get()->*action)();
        });
    };
    if (_state->edit->activeEditor) return {command(plat::KeyInputEscape, plat::KeyModifierNone, &OmbriGrid::escapeKeyPress)};
    return {command(plat::KeyInputLeftArrow, plat::KeyModifierNone, &OmbriGrid::leftKeyPress),
            command(plat::KeyInputRightArrow, plat::KeyModifierNone, &OmbriGrid::rightKeyPress),
            command(plat::KeyInputUpArrow, plat::KeyModifierNone, &OmbriGrid::upKeyPress),
            command(plat::KeyInputDownArrow, plat::KeyModifierNone, &OmbriGrid::downKeyPress),
            command(plat::KeyInputLeftArrow, plat::KeyModifierShift, &OmbriGrid::leftKeyPressWithShift),
            command(plat::KeyInputRightArrow, plat::KeyModifierShift, &OmbriGrid::rightKeyPressWithShift),
            command(plat::KeyInputUpArrow, plat::KeyModifierShift, &OmbriGrid::upKeyPressWithShift),
            command(plat::KeyInputDownArrow, plat::KeyModifierShift, &OmbriGrid::downKeyPressWithShift),
            command(plat::KeyInputReturn, plat::KeyModifierAlternate, &OmbriGrid::returnKeyPress),
            command(plat::KeyInputEscape, plat::KeyModifierNone, &OmbriGrid::escapeKeyPress)};
}

void OmbriGrid::leftKeyPress() { arrowKeyPress(*this, 0, -1, false); }
void OmbriGrid::rightKeyPress() { arrowKeyPress(*this, 0, 1, false); }
void OmbriGrid::upKeyPress() { arrowKeyPress(*this, -1, 0, false); }
void OmbriGrid::downKeyPress() { arrowKeyPress(*this, 1, 0, false); }
void OmbriGrid::leftKeyPressWithShift() { arrowKeyPress(*this, 0, -1, true); }
void OmbriGrid::rightKeyPressWithShift() { arrowKeyPress(*this, 0, 1, true); }
void OmbriGrid::upKeyPressWithShift() { arrowKeyPress(*this, -1, 0, true); }
void OmbriGrid::downKeyPressWithShift() { arrowKeyPress(*this, 1, 0, true); }

void OmbriGrid::returnKeyPress() {
    const auto alive = keepAlive();
    if (_state->edit->activeEditor) {
        _state->edit->returnFromEditor();
        return;
    }
    if (!_state->selection) return;
    const std::int32_t row = _state->selection->row(), col = _state->selection->col();
    if (row == -1 || col == -1) return;
    // A Boolean toggles on a tap or a double tap; a key press that flips data unseen would surprise.
    const auto column =
        col >= 0 && static_cast<std::size_t>(col) < _state->columns->count() ? _state->columns->column(col) : nullptr;
    if (column && column->dataType() == KivoDataTypeBoolean) return;
    startEditing(true, row, col);
}

void OmbriGrid::escapeKeyPress() {
    if (!_state->edit->activeEditor) return;
    const auto alive = keepAlive();
    finishEditing(true);
}
