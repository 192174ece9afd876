// The press handler: the decision whether a short press begins, then the column resize or the
// selection handle's drag it does.
//
// Sections: the decision; the press; resizing; the handle drag.
#include "resizing/GridPress.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "GridInternals.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/ui/gestures.h"
#include "Platform/ui/menu_controller.h"

namespace kivo::detail {

namespace {
// How far from a header cell's edge a press still grabs it.
constexpr std::int32_t ResizeZone = 15;
// The narrowest a drag makes a column, unless its maximum is lower.
constexpr std::int64_t SmallestDragWidth = 15;

constexpr int NoHandle = 0;
constexpr int EndHandle = 2;

// A drag width held to 15 points, then to the column's own minimum and maximum (the maximum last, so
// that a maximum below 15 wins).
std::int32_t limitDragWidth(const GridColumn& column, std::int64_t w) {
    w = std::max(w, SmallestDragWidth);
    if (column.minWidth() > 0 && w < column.minWidth()) w = column.minWidth();
    if (column.maxWidth() > 0 && w > column.maxWidth()) w = column.maxWidth();
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(w, INT32_MIN, INT32_MAX));
}

// The width a column shows; a hidden one keeps the width it would show again rather than the 0 it
// renders while hidden.
std::int32_t shownWidth(const GridColumn& column, const GridColumnCollection& columns) {
    if (column.isVisible()) return column.renderWidth();
    return column.size() >= 0 ? column.size() : columns.defaultSize();
}

bool isRangeMode(GridSelectionMode mode) { return mode == GridSelectionModeCellRange || mode == GridSelectionModeRowRange; }
}  // namespace

// ---- the decision ----

bool GridPress::shouldBegin(plat::Point point) {
    _pressColumn = -1;
    _pressHandle = NoHandle;
    if (!std::isfinite(point.x) || !std::isfinite(point.y)) return false;
    const auto hit = _grid.hitTest(point);
    const GridCellType type = hit->cellType();
    if (type == GridCellTypeColumnHeader) {
        _pressColumn = columnToSize(*hit, point);
        return _pressColumn >= 0;
    }
    // The header row past the last column: no column there to size, and the press is no handle drag.
    const auto& corner = _grid.topLeftCells();
    const double hw = _grid.rowHeaderVisible() ? corner->columns()->totalSize() : 0;
    const double hh = _grid.columnHeaderVisible() ? corner->rows()->totalSize() : 0;
    if (type == GridCellTypeNone && _grid.columnHeaderVisible() && point.x > hw && point.y >= 0 && point.y <= hh) return false;
    if (_columnBeingSized < 0) {
        const auto& selection = _grid.selection();
        if (_grid.editRange() || !isRangeMode(_grid.selectionMode()) || !selection || !selection->isValid()) return false;
    }
    if (type == GridCellTypeCell) {
        _pressHandle = _grid.cells()->getAdorner(point);
        return _pressHandle != NoHandle;
    }
    return type != GridCellTypeRowHeader;
}

std::int32_t GridPress::columnToSize(const GridHitTestInfo& hit, plat::Point point) {
    const auto& columns = *_grid.columns();
    const std::int32_t c = hit.column();
    const auto column = columns.column(c);
    if (!column) return -1;
    _markX = point.x;
    const double hx = _grid.rowHeaderVisible() ? _grid.topLeftCells()->columns()->totalSize() : 0;
    double left = column->pos() + hx;
    if (c >= columns.frozen()) left -= GridInternals::originX(_grid);
    const auto L = static_cast<std::int64_t>(std::trunc(left));
    const auto X = static_cast<std::int64_t>(std::trunc(point.x));
    const std::int64_t R = column->renderWidth() + L - X;
    std::int32_t sized = -1;
    if (X - L < ResizeZone) {
        sized = c - 1;
        while (sized >= 0 && !columns.column(sized)->isVisible()) --sized;
    }
    // The right edge wins over the left one when a column is narrower than both zones.
    if (R < ResizeZone) sized = c;
    const auto target = columns.column(sized);
    if (!target || !target->allowResizing() || !_grid.allowResizing()) return -1;
    return sized;
}

// ---- the press ----

void GridPress::respond(plat::GestureRecognizer& recognizer) {
    using State = plat::GestureRecognizerState;
    const auto alive = GridInternals::keepAlive(_grid);
    GridInternals::takeFirstResponder(_grid);
    plat::MenuController::shared().setMenuVisible(false, true);
    const plat::Point point = recognizer.locationInView(&_grid);
    switch (recognizer.state()) {
        case State::Began:
            begin(point);
            break;
        case State::Changed:
            if (_columnBeingSized >= 0)
                resizeStep(point.x);
            else
                dragSelectionHandle(point);
            break;
        case State::Ended:
        case State::Cancelled:
            end();
            break;
        default:
            break;
    }
}

void GridPress::begin(plat::Point point) {
    const std::int32_t column = std::exchange(_pressColumn, -1);
    const int handle = std::exchange(_pressHandle, NoHandle);
    if (column >= 0 && _grid.columns()->column(column)) {
        // A resize and an open editor do not mix: the edit is dropped, not written.
        _grid.finishEditing(true);
        _columnBeingSized = column;
        dropColumnCaches(column);
        _grid.setNeedsDisplay();
        return;
    }
    // The end handle keeps the top-left corner where it is; the start handle keeps the bottom-right one.
    if (handle != NoHandle) GridInternals::selOrigin(_grid) = handle == EndHandle;
    if (_grid.hitTest(point)->cellType() == GridCellTypeCell && _grid.selection()) _selStart = _grid.selection()->clone();
}

void GridPress::end() {
    _selStart.reset();
    _pressColumn = -1;
    _pressHandle = NoHandle;
    const std::int32_t sized = std::exchange(_columnBeingSized, -1);
    if (const auto column = _grid.columns()->column(sized)) {
        const bool retyped = column->fixWidthType({});
        column->fixWidth({}, limitDragWidth(*column, column->renderWidth()), retyped);
    }
    dropColumnCaches(sized);
    _grid.setNeedsDisplay();
}

// ---- resizing ----

void GridPress::resizeStep(double x) {
    const auto& columns = *_grid.columns();
    const auto column = columns.column(_columnBeingSized);
    if (!column) {
        // The columns changed under the finger: there is nothing left to size.
        end();
        return;
    }
    if (!std::isfinite(x)) return;
    const double dx = std::trunc(x - _markX);
    const double w = dx + shownWidth(*column, columns);
    const auto clamped = static_cast<std::int64_t>(std::clamp(w, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
    fixColumnWidths(limitDragWidth(*column, clamped));
    // Only the whole points used move the mark: the rest of a move counts with the next one, so that a
    // slow drag, in moves of less than a point, still moves the edge.
    _markX += dx;
    _grid.invalidate();
}

void GridPress::fixColumnWidths(std::int32_t sizedWidth) {
    const auto& columns = *_grid.columns();
    // Star columns stop sharing the free width: each is held at what it shows now, so that only the
    // dragged column moves. Asking for the total lays the columns out first.
    static_cast<void>(columns.totalSize());
    const std::size_t count = columns.count();
    std::vector<std::int32_t> widths(count);
    for (std::size_t i = 0; i < count; ++i)
        if (const auto c = columns.column(static_cast<std::int64_t>(i))) widths[i] = shownWidth(*c, columns);
    if (_columnBeingSized >= 0 && static_cast<std::size_t>(_columnBeingSized) < count)
        widths[static_cast<std::size_t>(_columnBeingSized)] = sizedWidth;
    std::vector<bool> retyped(count);
    for (std::size_t i = 0; i < count; ++i)
        if (const auto c = columns.column(static_cast<std::int64_t>(i))) retyped[i] = c->fixWidthType({});
    for (std::size_t i = 0; i < count; ++i)
        if (const auto c = columns.column(static_cast<std::int64_t>(i))) c->fixWidth({}, widths[i], retyped[i]);
}

// ---- the handle drag ----

void GridPress::dragSelectionHandle(plat::Point point) {
    // A press that did not begin on the cells has no selection to extend from.
    if (!_selStart) return;
    const auto hit = _grid.hitTest(point);
    if (hit->cellType() != GridCellTypeCell) return;
    const GridCellRange& start = *_selStart;
    if (GridInternals::selOrigin(_grid))
        _grid.setSelection(std::make_shared<GridCellRange>(start.topRow(), start.leftCol(), hit->row(), hit->column()));
    else
        _grid.setSelection(std::make_shared<GridCellRange>(hit->row(), hit->column(), start.bottomRow(), start.rightCol()));
}

}  // namespace kivo::detail
