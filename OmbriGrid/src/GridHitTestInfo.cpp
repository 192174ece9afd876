#include "OmbriGrid/GridHitTestInfo.h"

#include <cmath>

#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "foundation/saturating_cast.h"

namespace {
// The header extents the hit test measures against: 0 for headers that are hidden.
double headerWidth(const OmbriGrid& g) {
    return g.rowHeaderVisible() && g.topLeftCells() ? g.topLeftCells()->columns()->totalSize() : 0;
}
double headerHeight(const OmbriGrid& g) {
    return g.columnHeaderVisible() && g.topLeftCells() ? g.topLeftCells()->rows()->totalSize() : 0;
}

std::int32_t indexAt(const GridRowColCollection& items, double p) {
    if (!std::isfinite(p) || p > items.totalSize()) return -1;
    return items.getIndexAt(plat::detail::saturatingCast<std::int32_t>(std::trunc(p)));
}
}  // namespace

GridHitTestInfo::GridHitTestInfo(std::shared_ptr<OmbriGrid> grid, plat::Point point) : _grid(std::move(grid)), _point(point) {
    if (!_grid) return;
    const double hw = headerWidth(*_grid), hh = headerHeight(*_grid);
    const plat::Rect client = _grid->clientRect();
    const double x = point.x, y = point.y;
    if (x >= 0 && y >= 0 && x <= client.size.width + hw && y <= client.size.height + hh) {
        if (x <= hw && y <= hh)
            _gridPanel = _grid->topLeftCells();
        else if (x <= hw)
            _gridPanel = _grid->rowHeaders();
        else if (y <= hh)
            _gridPanel = _grid->columnHeaders();
        else
            _gridPanel = _grid->cells();
    }
    findCell();
}

GridHitTestInfo::GridHitTestInfo(const std::shared_ptr<GridPanel>& panel, plat::Point point)
    : _grid(panel ? panel->grid() : nullptr), _gridPanel(panel), _point(point) {
    findCell();
}

void GridHitTestInfo::findCell() {
    if (!_grid || !_gridPanel) {
        _gridPanel.reset();
        return;
    }
    const double hw = headerWidth(*_grid), hh = headerHeight(*_grid);
    const GridCellType type = _gridPanel->cellType();
    const plat::Point frozen = _gridPanel->frozenPoint();
    double y = _point.y, x = _point.x;
    if (type == GridCellTypeCell || type == GridCellTypeRowHeader) {
        y -= hh;
        if (!(frozen.y > 0 && y < frozen.y)) y += _grid->originY();
    }
    if (type == GridCellTypeCell || type == GridCellTypeColumnHeader) {
        x -= hw;
        if (!(frozen.x > 0 && x < frozen.x)) x += _grid->originX();
    }
    _row = indexAt(*_gridPanel->rows(), y);
    _column = indexAt(*_gridPanel->columns(), x);
    if (_row < 0 || _column < 0) _gridPanel.reset();
}

GridCellType GridHitTestInfo::cellType() const { return _gridPanel ? _gridPanel->cellType() : GridCellTypeNone; }
