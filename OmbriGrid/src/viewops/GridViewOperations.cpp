// The grid's public operations on groups and items of its view, its questions about cells, and
// scrolling a row or column into view. Every index is checked here: outside the grid the questions
// answer nothing and the operations move nothing.
#include <cmath>
#include <string>
#include "GridState.h"

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoCollectionViewGroup.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/log.h"
#include "Platform/runtime/dispatch.h"

namespace {
bool within(std::int32_t index, std::size_t count) { return index >= 0 && static_cast<std::size_t>(index) < count; }

// Of two origins, the one nearer the current; the second wins a tie.
double nearer(double first, double second, double current) {
    return std::abs(first - current) < std::abs(second - current) ? first : second;
}
}  // namespace

// ---- groups and items ----

void OmbriGrid::removeFromGroup(const std::string& name, std::int32_t index) {
    const auto alive = keepAlive();
    const auto view = _state->collectionView;
    if (!view) return;
    for (const auto& group : view->groups()) {
        if (!group || group->name() != name) continue;
        // The group's list is taken before the view changes under it.
        const plat::ArrayPtr items = group->items();
        if (!items || !within(index, items->size())) {
            plat::log("Grid: no item " + std::to_string(index) + " in group \"" + name + "\" of " +
                      std::to_string(items ? items->size() : 0) + " items; nothing removed");
            return;
        }
        const plat::Value item = (*items)[static_cast<std::size_t>(index)];
        view->remove(item);
        invalidate();
        return;
    }
}

void OmbriGrid::addItem(const plat::Value& item) {
    if (!_state->collectionView) {
        plat::log("Grid: addItem refused: the grid is bound to no collection view");
        return;
    }
    _state->collectionView->addObject(item);
}

void OmbriGrid::collapseGroupsToLevel(std::int32_t level) {
    const auto alive = keepAlive();
    // An open edit is committed first: its rows may be about to disappear under a collapsed group.
    if (!finishEditing(false)) return;
    const std::size_t count = _state->rows->count();
    for (std::size_t i = 0; i < count && i <= INT32_MAX; ++i) {
        if (!_state->cells->isGroupRow(static_cast<std::int32_t>(i))) continue;
        const auto group = std::dynamic_pointer_cast<GridGroupRow>(_state->rows->row(static_cast<std::int64_t>(i)));
        if (group) group->setIsCollapsed(level < 0 || group->level() >= static_cast<std::uint64_t>(level));
    }
}

// ---- cell questions ----

plat::Rect OmbriGrid::getCellRectForRow(std::int32_t row, std::int32_t col) const {
    if (!_state->cells || !within(row, _state->rows->count()) || !within(col, _state->columns->count())) return {};
    return _state->cells->getCellRect(row, col);
}

plat::Value OmbriGrid::getCellDataForRow(std::int32_t row, std::int32_t col, bool formatted) const {
    if (!_state->cells) return {};
    return _state->cells->getCellData(row, col, formatted);
}

bool OmbriGrid::isRowInView(std::int32_t row, std::int32_t col) const {
    if (!within(row, _state->rows->count()) || !within(col, _state->columns->count())) return false;
    const plat::Rect r = getCellRectForRow(row, col);
    return r.y() >= _state->cellsStart.y && r.y() <= _state->clientRect.size.height - _state->rows->renderSizeAt(row);
}

bool OmbriGrid::isColumnInView(std::int32_t col, std::int32_t row) const {
    if (!within(row, _state->rows->count()) || !within(col, _state->columns->count())) return false;
    const plat::Rect r = getCellRectForRow(row, col);
    return r.x() >= _state->cellsStart.x && r.x() <= _state->clientRect.size.width - _state->columns->renderSizeAt(col);
}

// ---- scrolling into view ----

void OmbriGrid::scrollRowIntoView(std::int32_t row) {
    if (!within(row, _state->rows->count()) || _state->columns->count() == 0) return;
    const auto alive = keepAlive();
    double y = _state->originY;
    if (!(_state->cells->isRowBottomVisible(row) && _state->cells->isRowTopVisible(row))) {
        const plat::Rect r = getCellRectForRow(row, 0);
        // The row's bottom at the bottom edge, or its top just under the frozen rows.
        const double bottom = r.y() + _state->originY + r.height() - _state->clientRect.size.height;
        const double top = r.y() + _state->originY - _state->cells->frozenPoint().y - _state->cellsStart.y;
        y = nearer(bottom, top, _state->originY);
    }
    // Even a row in view has the origin brought back within the content.
    setScrollPosition({_state->originX, y});
}

void OmbriGrid::scrollColumnIntoView(std::int32_t col) {
    if (!within(col, _state->columns->count()) || _state->rows->count() == 0) return;
    const auto alive = keepAlive();
    double x = _state->originX;
    if (!(_state->cells->isColRightVisible(col) && _state->cells->isColLeftVisible(col))) {
        const plat::Rect r = getCellRectForRow(0, col);
        const double right = r.x() + _state->originX + r.width() - _state->clientRect.size.width;
        const double left = r.x() + _state->originX - _state->cells->frozenPoint().x - _state->cellsStart.x;
        x = nearer(right, left, _state->originX);
    }
    setScrollPosition({x, _state->originY});
}

bool OmbriGrid::scrollIntoView(std::int32_t row, std::int32_t col) {
    if (!within(row, _state->rows->count()) || !within(col, _state->columns->count())) return false;
    if (_state->isEverDrawnFlag) {
        scrollRowIntoView(row);
        scrollColumnIntoView(col);
        return true;
    }
    // Before the first pass there is no client area to measure: wait for the set-up to be laid out.
    plat::dispatch::async(plat::dispatch::Queue::main(), [weak = std::weak_ptr<OmbriGrid>(sharedAs<OmbriGrid>()), row, col] {
        if (const auto grid = weak.lock()) {
            // Still undrawn (the set-up is laid out, not yet drawn): measure the area the first pass
            // will draw, so that the origin has room to move.
            if (!grid->_state->isEverDrawnFlag) grid->_measureClientArea(grid->bounds());
            grid->scrollRowIntoView(row);
            grid->scrollColumnIntoView(col);
        }
    });
    return true;
}
