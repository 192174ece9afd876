// The grid's one selection: requests shaped by the selection mode and checked against the grid, the
// vetoable SelectionChanging / SelectionChanged pair, taps, mode changes, the per-cell state that
// drawing reads, and the view's current item kept on the selected row.
#include <string>
#include "GridState.h"

#include "KivoCore/KivoCollectionView.h"
#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridMergeManager.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/foundation/log.h"
#include "events/DelegateRule.h"
#include "events/GridEvents.h"

using kivo::detail::DelegateRule;

namespace {
bool isEmptyRange(const GridCellRange& r) { return r.row() == -1 && r.col() == -1 && r.row2() == -1 && r.col2() == -1; }

// Built by appending: GCC 12 at -O2 warns falsely (-Wstringop-overflow) about `"literal" + std::string&&`.
std::string describe(const GridCellRange& r) {
    std::string s = "(";
    for (const std::int32_t v : {r.row(), r.col(), r.row2(), r.col2()}) {
        if (s.size() > 1) s += ", ";
        s += std::to_string(v);
    }
    s += ")";
    return s;
}

bool within(std::int32_t index, std::size_t count) { return index >= 0 && static_cast<std::size_t>(index) < count; }

// The last index of a collection of `count` items, -1 when empty, held to 32 bits.
std::int32_t lastIndex(std::size_t count) {
    return count == 0 ? -1 : static_cast<std::int32_t>(std::min<std::size_t>(count - 1, INT32_MAX));
}
}  // namespace

bool OmbriGrid::selectionFits(const GridCellRange& r, const char* request) const {
    if (isEmptyRange(r)) return true;
    const std::size_t rows = _state->rows->count(), cols = _state->columns->count();
    if (within(r.row(), rows) && within(r.row2(), rows) && within(r.col(), cols) && within(r.col2(), cols)) return true;
    plat::log(std::string("Grid: ") + request + " " + describe(r) + " refused: the grid has " + std::to_string(rows) +
              " rows and " + std::to_string(cols) + " columns");
    return false;
}

bool OmbriGrid::changeSelection(const std::shared_ptr<GridCellRange>& range) {
    auto args = std::make_shared<GridCellRangeEventArgs>(_state->cells, range);
    if (!onSelectionChanging(args)) return false;
    _state->selection = range;
    _syncCollectionView();
    onSelectionChanged(args);
    return true;
}

void OmbriGrid::setSelection(const std::shared_ptr<GridCellRange>& selection) {
    const auto alive = keepAlive();
    auto range = selection ? selection->clone() : std::make_shared<GridCellRange>();
    // The request as named is checked: whole rows must not make a column outside the grid acceptable.
    if (!selectionFits(*range, "selection")) return;
    // Clearing is the same request in every mode: only a range that names cells becomes whole rows.
    if (!isEmptyRange(*range) &&
        (_state->selectionMode == GridSelectionModeRow || _state->selectionMode == GridSelectionModeRowRange)) {
        range->setCol(0);
        range->setCol2(lastIndex(_state->columns->count()));
    }
    if (_state->selection && range->isEqual(*_state->selection)) return;
    if (!changeSelection(range)) return;
    for (const auto* panel : {&_state->cells, &_state->columnHeaders, &_state->rowHeaders}) (*panel)->resetCache(nullptr);
    setNeedsDisplay();
}

void OmbriGrid::selectCellRange(const std::shared_ptr<GridCellRange>& selection, bool show) {
    const auto alive = keepAlive();
    auto range = selection ? selection->clone() : std::make_shared<GridCellRange>();
    if (!selectionFits(*range, "cell range")) return;
    if (!_state->selection || !range->isEqual(*_state->selection))
        if (!changeSelection(range)) return;
    if (show && range->isValid()) scrollIntoView(range->row(), range->col());
    invalidate();
}

void OmbriGrid::setSelectionMode(std::int64_t mode) {
    if (mode < GridSelectionModeNone || mode > GridSelectionModeRowRange) {
        plat::log("Grid: selection mode " + std::to_string(mode) + " refused: it must be 0 to 4");
        return;
    }
    if (mode == _state->selectionMode) return;
    const auto alive = keepAlive();
    _state->selectionMode = static_cast<GridSelectionMode>(mode);
    if (_state->selection && _state->selection->isValid()) {
        const GridCellRange s = *_state->selection;
        if (mode == GridSelectionModeNone)
            setSelection(std::make_shared<GridCellRange>());
        else if (mode == GridSelectionModeRow && s.rowSpan() >= 2)
            setSelection(std::make_shared<GridCellRange>(s.topRow(), s.leftCol(), s.topRow(), s.rightCol()));
        else if (mode == GridSelectionModeCell && s.columnSpan() >= 2)
            setSelection(std::make_shared<GridCellRange>(s.topRow(), s.leftCol()));
        // Whatever stayed takes the new mode's shape (whole rows in the row modes).
        setSelection(_state->selection->clone());
    }
    invalidate();
}

void OmbriGrid::handleSelection(const GridHitTestInfo& hit) {
    if (_state->selectionMode == GridSelectionModeNone) return;
    const auto alive = keepAlive();
    const std::int32_t lastRow = lastIndex(_state->rows->count()), lastCol = lastIndex(_state->columns->count());
    switch (hit.cellType()) {
        case GridCellTypeCell:
            setSelection(std::make_shared<GridCellRange>(hit.row(), hit.column()));
            break;
        case GridCellTypeRowHeader: {
            auto range = std::make_shared<GridCellRange>(hit.row(), 0, hit.row(), 0);
            if (_state->selectionMode == GridSelectionModeCellRange) range->setCol2(lastCol);
            setSelection(range);
            break;
        }
        case GridCellTypeTopLeft: {
            if (lastRow < 0 || lastCol < 0) return;
            auto range = std::make_shared<GridCellRange>(0, 0, hit.row(), hit.column());
            if (_state->selectionMode == GridSelectionModeRow) range->setCol2(lastCol);
            if (_state->selectionMode == GridSelectionModeCellRange || _state->selectionMode == GridSelectionModeRowRange) {
                range->setRow2(lastRow);
                range->setCol2(lastCol);
            }
            setSelection(range);
            break;
        }
        default:
            break;
    }
}

bool OmbriGrid::onSelectionChanging(const std::shared_ptr<GridCellRangeEventArgs>& args) {
    return raiseCancelable(_state->events->SelectionChanging, args, DelegateRule::Replaces, [this, &args](OmbriGridDelegate& d) {
        return d.selectionChanging(sharedAs<OmbriGrid>(), args->panel(), args->cellRange());
    });
}

void OmbriGrid::onSelectionChanged(const std::shared_ptr<GridCellRangeEventArgs>& args) {
    raiseNotice(_state->events->SelectionChanged, args, [this, &args](OmbriGridDelegate& d) {
        d.selectionChanged(sharedAs<OmbriGrid>(), args->panel(), args->cellRange());
    });
}

GridSelectedState OmbriGrid::getSelectedStateForRow(std::int32_t row, std::int32_t col) const {
    if (_state->selectionMode == GridSelectionModeNone || !_state->selection) return GridSelectedStateNone;
    if (!within(row, _state->rows->count()) || !within(col, _state->columns->count())) return GridSelectedStateNone;
    if (row == _state->selection->row() && col == _state->selection->col()) return GridSelectedStateCursor;
    return _state->selection->containsRow(row) && _state->selection->containsColumn(col) ? GridSelectedStateSelected
                                                                                         : GridSelectedStateNone;
}

std::shared_ptr<GridCellRange> OmbriGrid::mergedSelection() const {
    if (!_state->mergeManager) return _state->selection;
    auto merged = _state->mergeManager->getMergedRangeForCells(_state->selection, GridCellTypeCell);
    return merged ? merged : _state->selection;
}

std::shared_ptr<GridCellRange> OmbriGrid::mergedSingleSelection() const {
    if (!_state->mergeManager) return _state->selection;
    auto anchor = std::make_shared<GridCellRange>(_state->selection->row(), _state->selection->col());
    auto merged = _state->mergeManager->getMergedRangeForCells(anchor, GridCellTypeCell);
    return merged ? merged : anchor;
}

// ---- the current item ----

std::int32_t OmbriGrid::rowItemIndex(std::int32_t row) const {
    if (!within(row, _state->rows->count()) || _state->cells->isGroupRow(row)) return -1;
    // A flat binding makes one row per item of the view, in its order.
    if (_state->rows->mirrorsView({})) return row;
    if (static_cast<std::size_t>(row) < _state->rowItemPositions.size())
        return _state->rowItemPositions[static_cast<std::size_t>(row)];
    return -1;
}

void OmbriGrid::_syncCollectionView() {
    if (!_state->collectionView) return;
    const std::int32_t row = _state->selection ? _state->selection->row() : -1;
    _state->collectionView->moveCurrentToPosition(row < 0 ? -1 : rowItemIndex(row));
}
