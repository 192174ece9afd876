#include "OmbriGrid/GridPanel.h"

#include <iterator>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "Platform/graphics/image.h"

GridPanel::GridPanel(const std::shared_ptr<OmbriGrid>& grid, GridCellType cellType, std::shared_ptr<GridRowCollection> rows,
                     std::shared_ptr<GridColumnCollection> columns)
    : _grid(grid), _cellType(cellType), _rows(std::move(rows)), _columns(std::move(columns)) {}

GridPanel::~GridPanel() = default;

std::int32_t GridPanel::width() const { return _columns ? _columns->totalSize() : 0; }
std::int32_t GridPanel::height() const { return _rows ? _rows->totalSize() : 0; }

std::uint64_t GridPanel::cacheKey(std::int32_t row, std::int32_t col) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32) | static_cast<std::uint32_t>(col);
}

void GridPanel::resetCache(const GridRowCol* item) {
    if (!item) {
        _cache.clear();
        return;
    }
    // The index the item was last laid out at: reading index() here would lay the collection out in
    // the middle of a change.
    const std::int32_t index = item->_placedIndex();
    const bool column = dynamic_cast<const GridColumn*>(item) != nullptr;
    for (auto it = _cache.begin(); it != _cache.end();) {
        const auto row = static_cast<std::int32_t>(it->first >> 32);
        const auto col = static_cast<std::int32_t>(it->first & 0xffffffffu);
        const bool drop =
            column ? (col == index || static_cast<std::int64_t>(col) == static_cast<std::int64_t>(index) + 1) : row == index;
        it = drop ? _cache.erase(it) : std::next(it);
    }
}
