#pragma once
// Decides which cells of a panel merge into one range: neighbours showing the same formatted text,
// where the grid's merging bits and the rows' or columns' merging flags allow it. Every cell of a
// merged block maps to the same range until the grid drops its caches. Holds its grid weakly.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "OmbriGrid/GridCellRange.h"
#include "OmbriGrid/KivoOmbriGridExport.h"
#include "OmbriGrid/OmbriGridTypes.h"
#include "Platform/foundation/object.h"

class OmbriGrid;
class GridPanel;

class KIVO_GRID_EXPORT GridMergeManager : public plat::Object {
public:
    // Subscribes to the grid's DroppedCaches, which empties the cache.
    static std::shared_ptr<GridMergeManager> create(const std::shared_ptr<OmbriGrid>& grid);
    explicit GridMergeManager(const std::shared_ptr<OmbriGrid>& grid) : _grid(grid) {}
    ~GridMergeManager() override;
    std::shared_ptr<OmbriGrid> grid() const { return _grid.lock(); }

    // The merged range of one cell of a panel of `type`: the range given where merging does not apply
    // (not one cell, a row outside the grid's rows, merging off), else the block's shared range.
    std::shared_ptr<GridCellRange> getMergedRangeForCells(const std::shared_ptr<GridCellRange>& range, GridCellType type);
    std::shared_ptr<GridCellRange> getMergedRangeForCells(const std::shared_ptr<GridCellRange>& range, const GridPanel& panel,
                                                          bool vertical, bool expand) const;
    std::shared_ptr<GridCellRange> getHorizontallyMergedRange(const GridCellRange& range, const GridPanel& panel) const;
    std::shared_ptr<GridCellRange> getVerticallyMergedRange(const GridCellRange& range, const GridPanel& panel) const;

    std::size_t cachedCount() const { return _cache.size(); }
    void dropCache() { _cache.clear(); }

private:
    static std::uint64_t key(std::int32_t row, std::int32_t col, GridCellType type);

    std::weak_ptr<OmbriGrid> _grid;
    std::unordered_map<std::uint64_t, std::shared_ptr<GridCellRange>> _cache;
};
