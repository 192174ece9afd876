#include "OmbriGrid/GridMergeManager.h"

#include "KivoCore/KivoEvent.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"

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

}  // namespace

std::shared_ptr<GridMergeManager> GridMergeManager::create(const std::shared_ptr<OmbriGrid>& grid) {
    auto manager = std::make_shared<GridMergeManager>(grid);
    if (grid && grid->ombriGridDroppedCaches()) {
        std::weak_ptr<GridMergeManager> weak = manager;
        grid->ombriGridDroppedCaches()->addHandler(
            [weak](const std::shared_ptr<KivoEventContainer>&) {
                if (auto m = weak.lock()) m->dropCache();
            },
            manager);
    }
    return manager;
}

GridMergeManager::~GridMergeManager() = default;

std::uint64_t GridMergeManager::key(std::int32_t row, std::int32_t col, GridCellType type) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32) ^
           (static_cast<std::uint64_t>(static_cast<std::uint32_t>(col)) << 3) ^ static_cast<std::uint64_t>(type & 7);
}

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
    if (bits == 0) return range;
    const auto k = key(range->row(), range->col(), type);
    if (auto it = _cache.find(k); it != _cache.end()) return it->second;
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
    auto result = getMergedRangeForCells(range, *panel, vertical, true);
    for (std::int32_t r = result->row(); r <= result->row2(); ++r)
        for (std::int32_t c = result->col(); c <= result->col2(); ++c) _cache[key(r, c, type)] = result;
    return result;
}

std::shared_ptr<GridCellRange> GridMergeManager::getMergedRangeForCells(const std::shared_ptr<GridCellRange>& range,
                                                                        const GridPanel& panel, bool vertical, bool expand) const {
    if (!expand) return vertical ? getVerticallyMergedRange(*range, panel) : getHorizontallyMergedRange(*range, panel);
    auto g = grid();
    const auto& rows = *panel.rows();
    const auto& cols = *panel.columns();
    const auto view = panel.viewRange();
    const bool cells = g && g->cells().get() == &panel;
    if (vertical) {
        auto v = getVerticallyMergedRange(*range, panel);
        const std::string text = textOf(panel, v->row(), v->col());
        if (text.empty()) return v;
        const std::int32_t fc = cells ? g->frozenColumns() : 0;
        std::int32_t lo = view->col(), hi = view->col2();
        if (v->col() < fc) hi = fc - 1;
        const bool frozenSide = v->col() < fc;
        auto joins = [&](std::int32_t j) {
            if (!mergingAt(cols, j) || textOf(panel, v->row(), j) != text) return false;
            auto own = getVerticallyMergedRange(GridCellRange(v->row(), j), panel);
            return own->row() == v->row() && own->row2() == v->row2();
        };
        for (std::int32_t j = v->col() - 1; j >= lo && (j < fc) == frozenSide; --j) {
            if (!visibleAt(cols, j)) continue;
            if (!joins(j)) break;
            v->setCol(j);
        }
        for (std::int32_t j = v->col2() + 1; j <= hi && (j < fc) == frozenSide; ++j) {
            if (!visibleAt(cols, j)) continue;
            if (!joins(j)) break;
            v->setCol2(j);
        }
        return v;
    }
    auto h = getHorizontallyMergedRange(*range, panel);
    const std::string text = textOf(panel, h->row(), h->col());
    if (text.empty()) return h;
    const std::int32_t fr = cells ? g->frozenRows() : 0;
    std::int32_t lo = view->row(), hi = view->row2();
    if (h->row() < fr) hi = fr - 1;
    const bool frozenSide = h->row() < fr;
    auto joins = [&](std::int32_t i) {
        if (!mergingAt(rows, i) || isGroupAt(panel, i) || textOf(panel, i, h->col()) != text) return false;
        auto own = getHorizontallyMergedRange(GridCellRange(i, h->col()), panel);
        return own->col() == h->col() && own->col2() == h->col2();
    };
    for (std::int32_t i = h->row() - 1; i >= lo && (i < fr) == frozenSide; --i) {
        if (!visibleAt(rows, i)) continue;
        if (!joins(i)) break;
        h->setRow(i);
    }
    for (std::int32_t i = h->row2() + 1; i <= hi && (i < fr) == frozenSide; ++i) {
        if (!visibleAt(rows, i)) continue;
        if (!joins(i)) break;
        h->setRow2(i);
    }
    return h;
}

std::shared_ptr<GridCellRange> GridMergeManager::getHorizontallyMergedRange(const GridCellRange& range,
                                                                            const GridPanel& panel) const {
    auto r = std::make_shared<GridCellRange>(range.row(), range.col(), range.row2(), range.col2());
    auto g = grid();
    const auto view = panel.viewRange();
    const std::int32_t fc = g && g->cells().get() == &panel ? g->frozenColumns() : 0;
    std::int32_t lo = view->col(), hi = view->col2();
    if (r->col() < fc) hi = fc - 1;
    if (!r->isSingleCell() || !mergingAt(*panel.rows(), r->row())) return r;
    const std::string text = textOf(panel, r->row(), r->col());
    if (text.empty()) return r;
    const bool frozenSide = r->col() < fc;
    const auto& cols = *panel.columns();
    for (std::int32_t j = r->col() - 1; j >= lo && (j < fc) == frozenSide; --j) {
        if (!visibleAt(cols, j)) continue;
        if (textOf(panel, r->row(), j) != text) break;
        r->setCol(j);
    }
    for (std::int32_t j = r->col2() + 1; j <= hi && (j < fc) == frozenSide; ++j) {
        if (!visibleAt(cols, j)) continue;
        if (textOf(panel, r->row(), j) != text) break;
        r->setCol2(j);
    }
    return r;
}

std::shared_ptr<GridCellRange> GridMergeManager::getVerticallyMergedRange(const GridCellRange& range, const GridPanel& panel) const {
    auto r = std::make_shared<GridCellRange>(range.row(), range.col(), range.row2(), range.col2());
    auto g = grid();
    const auto view = panel.viewRange();
    const std::int32_t fr = g && g->cells().get() == &panel ? g->frozenRows() : 0;
    std::int32_t lo = view->row(), hi = view->row2();
    if (r->row() < fr) hi = fr - 1;
    if (!mergingAt(*panel.columns(), r->col())) return r;
    const std::string text = textOf(panel, r->row(), r->col());
    if (text.empty()) return r;
    const bool frozenSide = r->row() < fr;
    const auto& rows = *panel.rows();
    for (std::int32_t i = r->row() - 1; i >= lo && (i < fr) == frozenSide; --i) {
        if (!visibleAt(rows, i)) continue;
        if (isGroupAt(panel, i) || textOf(panel, i, r->col()) != text) break;
        r->setRow(i);
    }
    for (std::int32_t i = r->row2() + 1; i <= hi && (i < fr) == frozenSide; ++i) {
        if (!visibleAt(rows, i)) continue;
        if (isGroupAt(panel, i) || textOf(panel, i, r->col()) != text) break;
        r->setRow2(i);
    }
    return r;
}
