#pragma once
// One of the grid's four regions (cells, column headers, row headers, top-left corner): a view-less
// pairing of a row collection and a column collection, with the cache of the cell images drawn for it.

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "OmbriGrid/KivoOmbriGridExport.h"
#include "OmbriGrid/OmbriGridTypes.h"
#include "Platform/foundation/object.h"

class OmbriGrid;
class GridRowColCollection;
class GridRowCollection;
class GridColumnCollection;
class GridRowCol;
namespace plat {
class Image;
}
namespace kivo::detail {
struct GridTestAccess;
}

class KIVO_GRID_EXPORT GridPanel : public plat::Object {
public:
    // Most cell images a panel keeps; the drawing empties the cache past it.
    static constexpr std::size_t CacheSize = 1024;

    GridPanel(const std::shared_ptr<OmbriGrid>& grid, GridCellType cellType, std::shared_ptr<GridRowCollection> rows,
              std::shared_ptr<GridColumnCollection> columns);
    ~GridPanel() override;

    std::shared_ptr<OmbriGrid> grid() const { return _grid.lock(); }
    GridCellType cellType() const { return _cellType; }
    const std::shared_ptr<GridRowCollection>& rows() const { return _rows; }
    const std::shared_ptr<GridColumnCollection>& columns() const { return _columns; }
    // The extent of the columns and of the rows, in whole points.
    std::int32_t width() const;
    std::int32_t height() const;
    // Drops cell images: all of them for null; for a column those of the column and of the next one
    // (whose left grid line it draws over); for a row that row's.
    void resetCache(const GridRowCol* item);
    std::size_t cachedImageCount() const { return _cache.size(); }

private:
    friend struct kivo::detail::GridTestAccess;
    static std::uint64_t cacheKey(std::int32_t row, std::int32_t col);

    std::weak_ptr<OmbriGrid> _grid;
    GridCellType _cellType;
    std::shared_ptr<GridRowCollection> _rows;
    std::shared_ptr<GridColumnCollection> _columns;
    std::unordered_map<std::uint64_t, std::shared_ptr<plat::Image>> _cache;
};
