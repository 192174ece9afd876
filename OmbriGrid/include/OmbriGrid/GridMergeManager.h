#pragma once
// Decides which cells of a panel merge into one range: neighbours showing the same formatted text,
// where the grid's merging bits and the rows' or columns' merging flags allow it. The runs of equal
// texts it finds are kept until the data changes (a cell's value, the rows or columns, their flags,
// the merging bits or the frozen counts), not merely until the next repaint, so a block of any length
// is walked once per data change. Holds its grid weakly.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "OmbriGrid/GridCellRange.h"
#include "OmbriGrid/KivoOmbriGridExport.h"
#include "OmbriGrid/OmbriGridTypes.h"
#include "Platform/foundation/object.h"

class OmbriGrid;
class GridPanel;

namespace kivo::detail {
class MergeRuns;
}  // namespace kivo::detail

class KIVO_GRID_EXPORT GridMergeManager : public plat::Object {
public:
    static std::shared_ptr<GridMergeManager> create(const std::shared_ptr<OmbriGrid>& grid);
    explicit GridMergeManager(const std::shared_ptr<OmbriGrid>& grid);
    ~GridMergeManager() override;
    std::shared_ptr<OmbriGrid> grid() const { return _grid.lock(); }

    // The merged range of one cell of a panel of `type`: the range given where merging does not apply
    // (not one cell, a row outside the grid's rows, merging off), else a new range of the block, which
    // the caller may change freely. Answers from the runs kept since the last data change.
    std::shared_ptr<GridCellRange> getMergedRangeForCells(const std::shared_ptr<GridCellRange>& range, GridCellType type);
    // The same for the one cell at `row`, `col`, by value: the cell itself where nothing merges, found
    // without making a range (a panel asks this of every cell it draws).
    GridCellRange mergedRangeOfCell(std::int32_t row, std::int32_t col, GridCellType type);
    // The same growth walked afresh, reading every neighbour on the way: nothing kept, nothing reused.
    std::shared_ptr<GridCellRange> getMergedRangeForCells(const std::shared_ptr<GridCellRange>& range, const GridPanel& panel,
                                                          bool vertical, bool expand) const;
    std::shared_ptr<GridCellRange> getHorizontallyMergedRange(const GridCellRange& range, const GridPanel& panel) const;
    std::shared_ptr<GridCellRange> getVerticallyMergedRange(const GridCellRange& range, const GridPanel& panel) const;

    // The runs kept, and forgetting them: the grid calls dropCache whenever the data changes.
    std::size_t cachedCount() const;
    void dropCache();

private:
    KIVO_GRID_NO_EXPORT std::optional<GridCellRange> settledRange(const OmbriGrid& g, std::int32_t row, std::int32_t col,
                                                                  GridCellType type);

    std::weak_ptr<OmbriGrid> _grid;
    std::unique_ptr<kivo::detail::MergeRuns> _runs;
};
