#include "OmbriGrid/GridMergeManager.h"

#include <algorithm>
#include <optional>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "detail/OpenDetails.h"
#include "merge/MergeRuns.h"

using kivo::detail::MergeRun;
using kivo::detail::MergeRuns;

namespace {

std::string textOf(const GridPanel& panel, std::int32_t row, std::int32_t col) {
    const plat::Value v = panel.getCellData(row, col, true);
    return v.isNil() ? std::string() : v.description();
}

bool isGroupAt(const GridPanel& panel, std::int32_t row) {
    auto r = panel.rows()->row(row);
    return r && std::dynamic_pointer_cast<GridGroupRow>(r) != nullptr;
}

bool visibleAt(const GridRowColCollection& items, std::int32_t i) {
    auto item = items.item(i);
    return item && item->isVisible();
}

bool mergingAt(const GridRowColCollection& items, std::int32_t i) {
    auto item = items.item(i);
    return item && item->allowMerging();
}

// How far a growth from index `from` may reach along the rows (down) or the columns of a panel: the
// whole panel, except that frozen items of the cells panel merge only among themselves.
MergeRun reachOf(const OmbriGrid* grid, const GridPanel& panel, bool down, std::int32_t from) {
    const auto view = panel.viewRange();
    const std::int32_t lo = down ? view->row() : view->col();
    const std::int32_t hi = down ? view->row2() : view->col2();
    const bool cells = grid && grid->cells().get() == &panel;
    const std::int32_t frozen = cells ? (down ? grid->frozenRows() : grid->frozenColumns()) : 0;
    if (from < frozen) return {lo, frozen - 1};
    return {std::max(lo, frozen), hi};
}

// Widens `r` outward within `reach`, stepping over hidden items; on each side the first visible item
// that `joins` refuses ends the growth. The item stays held while `joins` reads its cells: a row made
// for a placeholder is then made once per step, not once per look.
template <class Joins>
MergeRun widen(const GridRowColCollection& items, MergeRun reach, MergeRun r, const Joins& joins) {
    const auto step = [&](std::int32_t i) {
        const auto item = items.item(i);
        if (!item || !item->isVisible()) return 0;
        return joins(i, *item) ? 1 : -1;
    };
    for (std::int32_t i = r.first - 1; i >= reach.first; --i) {
        const int s = step(i);
        if (s < 0) break;
        if (s > 0) r.first = i;
    }
    for (std::int32_t i = r.last + 1; i <= reach.last; ++i) {
        const int s = step(i);
        if (s < 0) break;
        if (s > 0) r.last = i;
    }
    return r;
}

bool isGroup(const GridRowCol& row) { return dynamic_cast<const GridGroupRow*>(&row) != nullptr; }

// The growth of [first, last] of one column (down) or one row (across) over neighbours showing `text`;
// a group row ends a growth down.
MergeRun grow(const OmbriGrid* grid, const GridPanel& panel, bool down, std::int32_t line, MergeRun r, const std::string& text) {
    const auto reach = reachOf(grid, panel, down, r.first);
    if (down)
        return widen(*panel.rows(), reach, r,
                     [&](std::int32_t i, const GridRowCol& row) { return !isGroup(row) && textOf(panel, i, line) == text; });
    return widen(*panel.columns(), reach, r, [&](std::int32_t j, const GridRowCol&) { return textOf(panel, line, j) == text; });
}

// Where the runs of a panel kind are kept; no runs: walked afresh, nothing kept.
struct Keeping {
    MergeRuns* runs = nullptr;
    GridCellType type = GridCellTypeNone;
};

// The growth of one axis: down a column for `down`, else across a row. A range of more than one cell
// grows down only, and a range across needs the row's merging flag, a range down the column's.
std::shared_ptr<GridCellRange> oneAxis(const OmbriGrid* grid, const GridCellRange& range, const GridPanel& panel, bool down) {
    auto r = std::make_shared<GridCellRange>(range.row(), range.col(), range.row2(), range.col2());
    if (!down && !r->isSingleCell()) return r;
    if (!mergingAt(down ? *panel.columns() : *panel.rows(), down ? r->col() : r->row())) return r;
    const std::string text = textOf(panel, r->row(), r->col());
    if (text.empty()) return r;
    if (down) {
        const auto rows = grow(grid, panel, true, r->col(), {r->row(), r->row2()}, text);
        r->setRow(rows.first);
        r->setRow2(rows.last);
    } else {
        const auto cols = grow(grid, panel, false, r->row(), {r->col(), r->col2()}, text);
        r->setCol(cols.first);
        r->setCol2(cols.last);
    }
    return r;
}

// The run of one cell along one axis, from the kept runs when there are any.
MergeRun runOf(const OmbriGrid* grid, const GridPanel& panel, bool down, std::int32_t row, std::int32_t col,
               const Keeping& keeping) {
    const std::int32_t at = down ? row : col;
    const std::int32_t line = down ? col : row;
    const MergeRun single{at, at};
    if (!mergingAt(down ? *panel.columns() : *panel.rows(), line)) return single;
    // Any cell of a run grows to that same run, except a hidden one or a group row's, which start by
    // rules of their own: those are walked afresh and never kept.
    const bool kept = keeping.runs && visibleAt(down ? *panel.rows() : *panel.columns(), at) && !(down && isGroupAt(panel, at));
    const auto key = MergeRuns::lineKey(keeping.type, down, line);
    if (kept)
        if (const auto known = keeping.runs->find(key, at)) return *known;
    const std::string text = textOf(panel, row, col);
    if (text.empty()) return single;
    const MergeRun found = grow(grid, panel, down, line, single, text);
    if (kept) keeping.runs->store(key, found);
    return found;
}

// The two-way growth: one axis first (down when `vertical`), then the other, where a neighbour joins
// that shows the same text and whose own run along the first axis spans exactly the same stretch.
std::shared_ptr<GridCellRange> twoWay(const OmbriGrid* grid, const GridCellRange& range, const GridPanel& panel, bool vertical,
                                      const Keeping& keeping) {
    std::shared_ptr<GridCellRange> r;
    if (!range.isSingleCell()) {
        r = oneAxis(grid, range, panel, vertical);
    } else {
        const auto one = runOf(grid, panel, vertical, range.row(), range.col(), keeping);
        r = vertical ? std::make_shared<GridCellRange>(one.first, range.col(), one.last, range.col())
                     : std::make_shared<GridCellRange>(range.row(), one.first, range.row(), one.last);
    }
    const std::string text = textOf(panel, r->row(), r->col());
    if (text.empty()) return r;
    if (vertical) {
        const MergeRun rows{r->row(), r->row2()};
        const auto joins = [&](std::int32_t j, const GridRowCol& column) {
            return column.allowMerging() && textOf(panel, rows.first, j) == text &&
                   runOf(grid, panel, true, rows.first, j, keeping) == rows;
        };
        const auto cols = widen(*panel.columns(), reachOf(grid, panel, false, r->col()), {r->col(), r->col2()}, joins);
        r->setCol(cols.first);
        r->setCol2(cols.last);
        return r;
    }
    const MergeRun cols{r->col(), r->col2()};
    const auto joins = [&](std::int32_t i, const GridRowCol& row) {
        return row.allowMerging() && !isGroup(row) && textOf(panel, i, cols.first) == text &&
               runOf(grid, panel, false, i, cols.first, keeping) == cols;
    };
    const auto rows = widen(*panel.rows(), reachOf(grid, panel, true, r->row()), {r->row(), r->row2()}, joins);
    r->setRow(rows.first);
    r->setRow2(rows.last);
    return r;
}

}  // namespace

std::shared_ptr<GridMergeManager> GridMergeManager::create(const std::shared_ptr<OmbriGrid>& grid) {
    return std::make_shared<GridMergeManager>(grid);
}

GridMergeManager::GridMergeManager(const std::shared_ptr<OmbriGrid>& grid) : _grid(grid), _runs(std::make_unique<MergeRuns>()) {}

GridMergeManager::~GridMergeManager() = default;

std::size_t GridMergeManager::cachedCount() const { return _runs->size(); }

void GridMergeManager::dropCache() { _runs->clear(); }

// What a single cell's lookup settles before any growth: the cell's detail row spanning the columns,
// or the cell alone where merging is off.
std::optional<GridCellRange> GridMergeManager::settledRange(const OmbriGrid& g, std::int32_t row, std::int32_t col,
                                                            GridCellType type) {
    // Read from the list: asking for the row would make one for a placeholder, on every cell drawn.
    if (type == GridCellTypeCell && kivo::detail::isDetailAt(*g.rows(), row))
        return GridCellRange(row, 0, row, static_cast<std::int32_t>(g.columns()->count()) - 1);
    const std::int64_t bits = g.allowMerging();
    _runs->keepFor({bits, g.frozenRows(), g.frozenColumns(), g.showSort(), g.valueFormatter().get(), g.columnHeaderRow().get()});
    if (bits == 0) return GridCellRange(row, col);
    return std::nullopt;
}

GridCellRange GridMergeManager::mergedRangeOfCell(std::int32_t row, std::int32_t col, GridCellType type) {
    const auto g = grid();
    if (!g || row < 0 || static_cast<std::size_t>(row) >= g->rows()->count()) return GridCellRange(row, col);
    if (const auto settled = settledRange(*g, row, col, type)) return *settled;
    const auto merged = getMergedRangeForCells(std::make_shared<GridCellRange>(row, col), type);
    return merged ? *merged : GridCellRange(row, col);
}

std::shared_ptr<GridCellRange> GridMergeManager::getMergedRangeForCells(const std::shared_ptr<GridCellRange>& range,
                                                                        GridCellType type) {
    auto g = grid();
    if (!g || !range || !range->isSingleCell() || range->row() < 0 ||
        static_cast<std::size_t>(range->row()) >= g->rows()->count())
        return range;
    if (const auto settled = settledRange(*g, range->row(), range->col(), type))
        return settled->isSingleCell() && settled->col() == range->col() ? range : std::make_shared<GridCellRange>(*settled);
    const std::int64_t bits = g->allowMerging();
    std::shared_ptr<GridPanel> panel;
    bool vertical = true;
    if (type == GridCellTypeCell && (bits & GridAllowMergingCells)) {
        panel = g->cells();
    } else if (type == GridCellTypeColumnHeader && (bits & GridAllowMergingColumnHeaders)) {
        panel = g->columnHeaders();
        vertical = false;
    } else if (type == GridCellTypeRowHeader && (bits & GridAllowMergingRowHeaders)) {
        panel = g->rowHeaders();
    } else if (type == GridCellTypeTopLeft && (bits & GridAllowMergingAllHeaders)) {
        panel = g->topLeftCells();
    }
    if (!panel) return range;
    return twoWay(g.get(), *range, *panel, vertical, {_runs.get(), type});
}

std::shared_ptr<GridCellRange> GridMergeManager::getMergedRangeForCells(const std::shared_ptr<GridCellRange>& range,
                                                                        const GridPanel& panel, bool vertical,
                                                                        bool expand) const {
    const auto g = grid();
    if (!expand) return oneAxis(g.get(), *range, panel, vertical);
    return twoWay(g.get(), *range, panel, vertical, {});
}

std::shared_ptr<GridCellRange> GridMergeManager::getHorizontallyMergedRange(const GridCellRange& range,
                                                                            const GridPanel& panel) const {
    return oneAxis(grid().get(), range, panel, false);
}

std::shared_ptr<GridCellRange> GridMergeManager::getVerticallyMergedRange(const GridCellRange& range,
                                                                          const GridPanel& panel) const {
    return oneAxis(grid().get(), range, panel, true);
}
