#pragma once
// What lies under a point of the grid: the panel (top-left, column headers, row headers or cells) and
// the row and column in it, with the frozen rows and columns and the scroll position taken into account.

#include <cstdint>
#include <memory>

#include "OmbriGrid/GridCellRange.h"
#include "OmbriGrid/KivoOmbriGridExport.h"
#include "OmbriGrid/OmbriGridTypes.h"
#include "Platform/foundation/geometry.h"
#include "Platform/foundation/object.h"

class OmbriGrid;
class GridPanel;

class KIVO_GRID_EXPORT GridHitTestInfo : public plat::Object {
public:
    // Finds the panel under the point, then the cell in it.
    GridHitTestInfo(std::shared_ptr<OmbriGrid> grid, plat::Point point);
    // Finds the cell in the given panel (a coordinate before its start hits index 0).
    GridHitTestInfo(const std::shared_ptr<GridPanel>& panel, plat::Point point);

    plat::Point point() const { return _point; }
    // Null when the point hits no cell.
    std::shared_ptr<GridPanel> gridPanel() const { return _gridPanel; }
    std::int32_t row() const { return _row; }
    std::int32_t column() const { return _column; }
    // Nearness to a cell border is not told: always false.
    bool edgeLeft() const { return false; }
    bool edgeTop() const { return false; }
    bool edgeRight() const { return false; }
    bool edgeBottom() const { return false; }
    // The panel's type, GridCellTypeNone without panel.
    GridCellType cellType() const;
    std::shared_ptr<GridCellRange> cellRange() const { return std::make_shared<GridCellRange>(_row, _column); }

private:
    KIVO_GRID_NO_EXPORT void findCell();

    std::shared_ptr<OmbriGrid> _grid;
    std::int32_t _row = -1;
    std::int32_t _column = -1;
    std::shared_ptr<GridPanel> _gridPanel;
    plat::Point _point;
};
