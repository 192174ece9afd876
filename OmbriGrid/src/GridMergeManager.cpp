#include "OmbriGrid/GridMergeManager.h"

#include <algorithm>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
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

bool operator==(const MergeRun& a, const MergeRun& b) { return a.first == b.first && a.last == b.last; }

}  // namespace

std::shared_ptr<GridMergeManager> GridMergeManager::create(const std::shared_ptr<OmbriGrid>& grid) {
    return std::make_shared<GridMergeManager>(grid);
}

GridMergeManager::GridMergeManager(const std::shared_ptr<OmbriGrid>& grid) : _grid(grid), _runs(std::make_unique<MergeRuns>()) {}

GridMergeManager::~GridMergeManager() = default;

std::size_t GridMergeManager::cachedCount() const { return _runs->size(); }

void GridMergeManager::dropCache() { _runs->clear(); }

std::shared_ptr<GridCellRange> GridMergeManager::getMergedRangeForCells(const std::shared_ptr<GridCellRange>& range,
                                                                        GridCellType type) {
    auto g = grid();
    if (!g || !range || !range->isSingleCell() || range->row() < 0 ||
        static_cast<std::size_t>(range->row()) >= g->rows()->count())
        return range;
    if (type == GridCellTypeCell && std::dynamic_pointer_cast<GridDetailRow>(g->rows()->row(range->row())))
        return std::make_shared<GridCellRange>(range->row(), 0, range->row(),
                                               static_cast<std::int32_t>(g->columns()->count()) - 1);
    const std::int64_t bits = g->allowMerging();
    // Runs found under other settings are not reused.
    const Settings now{bits,          g->frozenRows(),           g->frozenColumns(),
                       g->showSort(), g->valueFormatter().get(), g->columnHeaderRow().get()};
    if (!(now == _settings)) {
        _runs->clear();
        _settings = now;
    }
    if (bits == 0) return range;
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
    return twoWay(*range, *panel, vertical, type);
}

std::shared_ptr<GridCellRange> GridMergeManager::getMergedRangeForCells(const std::shared_ptr<GridCellRange>& range,
                                                                        const GridPanel& panel, bool vertical,
                                                                        bool expand) const {
    if (!expand) return vertical ? getVerticallyMergedRange(*range, panel) : getHorizontallyMergedRange(*range, panel);
    return twoWay(*range, panel, vertical, GridCellTypeNone);
}

MergeRun GridMergeManager::run(const GridPanel& panel, bool down, std::int32_t row, std::int32_t col, GridCellType keptAs) const {
    const std::int32_t at = down ? row : col;
    const std::int32_t line = down ? col : row;
    const MergeRun single{at, at};
    if (!mergingAt(down ? *panel.columns() : *panel.rows(), line)) return single;
    // Any cell of a run grows to that same run, except a hidden one or a group row's, which start by
    // rules of their own: those are walked afresh and never kept.
    const bool kept =
        keptAs != GridCellTypeNone && visibleAt(down ? *panel.rows() : *panel.columns(), at) && !(down && isGroupAt(panel, at));
    const auto key = MergeRuns::lineKey(keptAs, down, line);
    if (kept)
        if (const auto known = _runs->find(key, at)) return *known;
    const std::string text = textOf(panel, row, col);
    if (text.empty()) return single;
    const auto g = grid();
    const MergeRun found = grow(g.get(), panel, down, line, single, text);
    if (kept) _runs->store(key, found);
    return found;
}

std::shared_ptr<GridCellRange> GridMergeManager::twoWay(const GridCellRange& range, const GridPanel& panel, bool vertical,
                                                        GridCellType keptAs) const {
    const auto g = grid();
    std::shared_ptr<GridCellRange> r;
    if (!range.isSingleCell()) {
        r = vertical ? getVerticallyMergedRange(range, panel) : getHorizontallyMergedRange(range, panel);
    } else {
        const auto one = run(panel, vertical, range.row(), range.col(), keptAs);
        r = vertical ? std::make_shared<GridCellRange>(one.first, range.col(), one.last, range.col())
                     : std::make_shared<GridCellRange>(range.row(), one.first, range.row(), one.last);
    }
    const std::string text = textOf(panel, r->row(), r->col());
    if (text.empty()) return r;
    if (vertical) {
        // Columns join whose own run down from the block's top row spans exactly the block's rows.
        const MergeRun rows{r->row(), r->row2()};
        const auto joins = [&](std::int32_t j, const GridRowCol& column) {
            return column.allowMerging() && textOf(panel, rows.first, j) == text &&
                   run(panel, true, rows.first, j, keptAs) == rows;
        };
        const auto cols = widen(*panel.columns(), reachOf(g.get(), panel, false, r->col()), {r->col(), r->col2()}, joins);
        r->setCol(cols.first);
        r->setCol2(cols.last);
        return r;
    }
    // Rows join whose own run across from the block's left column spans exactly the block's columns.
    const MergeRun cols{r->col(), r->col2()};
    const auto joins = [&](std::int32_t i, const GridRowCol& row) {
        return row.allowMerging() && !isGroup(row) && textOf(panel, i, cols.first) == text &&
               run(panel, false, i, cols.first, keptAs) == cols;
    };
    const auto rows = widen(*panel.rows(), reachOf(g.get(), panel, true, r->row()), {r->row(), r->row2()}, joins);
    r->setRow(rows.first);
    r->setRow2(rows.last);
    return r;
}

std::shared_ptr<GridCellRange> GridMergeManager::getHorizontallyMergedRange(const GridCellRange& range,
                                                                            const GridPanel& panel) const {
    auto r = std::make_shared<GridCellRange>(range.row(), range.col(), range.row2(), range.col2());
    if (!r->isSingleCell() || !mergingAt(*panel.rows(), r->row())) return r;
    const std::string text = textOf(panel, r->row(), r->col());
    if (text.empty()) return r;
    const auto g = grid();
    const auto cols = grow(g.get(), panel, false, r->row(), {r->col(), r->col2()}, text);
    r->setCol(cols.first);
    r->setCol2(cols.last);
    return r;
}

std::shared_ptr<GridCellRange> GridMergeManager::getVerticallyMergedRange(const GridCellRange& range,
                                                                          const GridPanel& panel) const {
    auto r = std::make_shared<GridCellRange>(range.row(), range.col(), range.row2(), range.col2());
    if (!mergingAt(*panel.columns(), r->col())) return r;
    const std::string text = textOf(panel, r->row(), r->col());
    if (text.empty()) return r;
    const auto g = grid();
    const auto rows = grow(g.get(), panel, true, r->col(), {r->row(), r->row2()}, text);
    r->setRow(rows.first);
    r->setRow2(rows.last);
    return r;
}
