#pragma once
// Opens detail rows beneath the grid's data rows. Holds its grid weakly.

#include <memory>

#include "OmbriGrid/KivoOmbriGridExport.h"
#include "Platform/foundation/object.h"

class OmbriGrid;
class GridRow;

class KIVO_GRID_EXPORT OmbriGridDetailProvider : public plat::Object {
public:
    static constexpr double DefaultDetailHeight = 200.0;

    explicit OmbriGridDetailProvider(const std::shared_ptr<OmbriGrid>& grid) : _grid(grid) {}
    std::shared_ptr<OmbriGrid> grid() const { return _grid.lock(); }

    // Unchecked, as the detail rows truncate it (saturated) when they lay out; the grid redraws.
    double detailHeight() const { return _detailHeight; }
    void setDetailHeight(double height);
    // Closes the detail under `row`, or every detail for null. There are no open details yet.
    void hideDetail(const std::shared_ptr<GridRow>& row) {}

private:
    std::weak_ptr<OmbriGrid> _grid;
    double _detailHeight = DefaultDetailHeight;
};
