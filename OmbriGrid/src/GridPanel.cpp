#include "OmbriGrid/GridPanel.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "KivoCore/KivoCollectionViewGroup.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridMergeManager.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/log.h"
#include "Platform/graphics/image.h"
#include "foundation/saturating_cast.h"

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
    const std::int32_t index = item->placedIndex({});
    const bool column = dynamic_cast<const GridColumn*>(item) != nullptr;
    for (auto it = _cache.begin(); it != _cache.end();) {
        const auto row = static_cast<std::int32_t>(it->first >> 32);
        const auto col = static_cast<std::int32_t>(it->first & 0xffffffffu);
        const bool drop =
            column ? (col == index || static_cast<std::int64_t>(col) == static_cast<std::int64_t>(index) + 1) : row == index;
        it = drop ? _cache.erase(it) : std::next(it);
    }
}

// ---- cell values ----

namespace {
bool isGroup(const GridRow* row) { return dynamic_cast<const GridGroupRow*>(row) != nullptr; }
}  // namespace

std::string GridPanel::cellKey(std::int32_t row, std::int32_t col) { return std::to_string(row) + "-" + std::to_string(col); }

bool GridPanel::inside(std::int32_t row, std::int32_t col) const {
    return _rows && _columns && row >= 0 && col >= 0 && static_cast<std::size_t>(row) < _rows->count() &&
           static_cast<std::size_t>(col) < _columns->count();
}

void GridPanel::setUnboundCells(plat::DictionaryPtr cells) {
    _unboundCells = std::move(cells);
    if (auto g = grid()) g->invalidate();
}

std::shared_ptr<GridRowAccessor> GridPanel::objectAtIndexedSubscript(std::int32_t row) {
    return std::make_shared<GridRowAccessor>(std::static_pointer_cast<GridPanel>(shared_from_this()), row);
}

plat::Value GridPanel::getCellData(std::int32_t row, std::int32_t col, bool formatted) const {
    if (!inside(row, col)) return {};
    const auto r = _rows->row(row);
    const auto c = _columns->column(col);
    if (!r || !c) return {};
    return cellData(*r, *c, row, col, formatted);
}

plat::Value GridPanel::cellData(const GridRow& r, const GridColumn& c, std::int32_t row, std::int32_t col, bool formatted) const {
    plat::Value value;
    const bool bound = c.binding() && !r.dataItem().isNil() && !isGroup(&r);
    if (bound) value = c.getBoundValue(r.dataItem());
    if (!bound || value.isNil()) {
        auto unbound = [&] {
            plat::Value v;
            if (_unboundCells)
                if (auto it = _unboundCells->find(cellKey(row, col)); it != _unboundCells->end()) v = it->second;
            return v;
        };
        switch (_cellType) {
            case GridCellTypeCell:
                if (c.aggregate() != 0 && isGroup(&r)) {
                    if (auto group = r.dataItem().as<KivoCollectionViewGroup>())
                        value = plat::Value(group->getAggregate(c.aggregate(), c.binding()));
                    else
                        value = plat::Value();
                    break;
                }
                value = unbound();
                return formatted ? c.getFormattedValue(value) : value;
            case GridCellTypeColumnHeader: {
                auto g = grid();
                if (g && &r == g->columnHeaderRow().get() && c.header()) {
                    const auto header = formatted ? c.getFormattedHeader() : c.header();
                    if (header && !header->empty()) return plat::Value(*header);
                }
                // Headers fall back on the stored value, never formatted.
                return unbound();
            }
            case GridCellTypeRowHeader:
            case GridCellTypeTopLeft:
                value = unbound();
                return formatted ? c.getFormattedValue(value) : value;
            default:
                value = plat::Value();
                break;
        }
    }
    return formatted ? c.getFormattedValue(value) : value;
}

void GridPanel::setCellData(const plat::Value& value, std::int32_t row, std::int32_t col) {
    if (!storeCellData(value, row, col)) return;
    if (auto g = grid()) {
        if (g->mergeManager()) g->mergeManager()->dropCache();
        g->invalidate();
    }
}

bool GridPanel::storeCellData(const plat::Value& value, std::int32_t row, std::int32_t col) {
    if (!inside(row, col)) {
        plat::log("GridPanel setCellData: cell (" + std::to_string(row) + ", " + std::to_string(col) +
                  ") lies outside the panel, refused");
        return false;
    }
    const auto r = _rows->row(row);
    const auto c = _columns->column(col);
    if (!r || !c) return false;
    auto g = grid();
    const auto binding = c->binding();
    if (binding && !binding->empty() && !r->dataItem().isNil()) {
        if (isGroup(r.get())) {
            // Its data item is the group itself, which a cell must never write into.
            plat::log("GridPanel setCellData: row " + std::to_string(row) + " heads a group, refused");
            return false;
        }
        c->setBoundValue(value, r->dataItem());
    } else {
        if (!_unboundCells) _unboundCells = std::make_shared<plat::Dictionary>();
        if (value.isNil())
            _unboundCells->erase(cellKey(row, col));
        else
            (*_unboundCells)[cellKey(row, col)] = value;
        if (g && r == g->columnHeaderRow()) c->setHeader(value.description());
    }
    return true;
}

plat::Value GridRowAccessor::objectAtIndexedSubscript(std::int32_t col) const {
    return _panel ? _panel->getCellData(_rowIndex, col, false) : plat::Value();
}

void GridRowAccessor::setObject(const plat::Value& value, std::int32_t col) {
    if (_panel) _panel->setCellData(value, _rowIndex, col);
}

// ---- geometry ----

namespace {
std::int32_t whole(double v) { return plat::detail::saturatingCast<std::int32_t>(std::trunc(v)); }
}  // namespace

std::int32_t GridPanel::offsetX() const {
    auto g = grid();
    return g && scrollsHorizontally() ? whole(g->offset().x) : 0;
}
std::int32_t GridPanel::offsetY() const {
    auto g = grid();
    return g && scrollsVertically() ? whole(g->offset().y) : 0;
}
std::int32_t GridPanel::originX() const {
    auto g = grid();
    return g && scrollsHorizontally() ? whole(g->originX()) : 0;
}
std::int32_t GridPanel::originY() const {
    auto g = grid();
    return g && scrollsVertically() ? whole(g->originY()) : 0;
}

plat::Point GridPanel::frozenPoint() const {
    plat::Point p{0, 0};
    if (_columns && _columns->frozen() > 0) {
        const std::int32_t last = _columns->frozen() - 1;
        p.x = static_cast<double>(_columns->posAt(last)) + _columns->renderSizeAt(last);
    }
    if (_rows && _rows->frozen() > 0) {
        const std::int32_t last = _rows->frozen() - 1;
        p.y = static_cast<double>(_rows->posAt(last)) + _rows->renderSizeAt(last);
    }
    return p;
}

std::shared_ptr<GridCellRange> GridPanel::viewRange() const {
    const auto rows = _rows ? static_cast<std::int64_t>(_rows->count()) : 0;
    const auto cols = _columns ? static_cast<std::int64_t>(_columns->count()) : 0;
    return std::make_shared<GridCellRange>(0, 0, plat::detail::saturatingCast<std::int32_t>(static_cast<double>(rows - 1)),
                                           plat::detail::saturatingCast<std::int32_t>(static_cast<double>(cols - 1)));
}

plat::Rect GridPanel::getCellRectInternal(std::int32_t row, std::int32_t col) const {
    auto g = grid();
    if (!g || !inside(row, col)) return {};
    // Summed in 64 bits and read saturated, as the collections sum their positions: extreme sizes and
    // origins pin a cell at the edge of the range instead of overflowing.
    const std::int64_t fx = col < _columns->frozen() ? whole(g->originX()) : 0;
    const std::int64_t fy = row < _rows->frozen() ? whole(g->originY()) : 0;
    // offsetX() - originX() and offsetY() - originY(), from the grid already at hand.
    const std::int64_t dx = scrollsHorizontally() ? static_cast<std::int64_t>(whole(g->offset().x)) - whole(g->originX()) : 0;
    const std::int64_t dy = scrollsVertically() ? static_cast<std::int64_t>(whole(g->offset().y)) - whole(g->originY()) : 0;
    const std::int64_t colPos = _columns->posAt(col);
    const std::int64_t rowPos = _rows->posAt(row);
    const double width = _columns->renderSizeAt(col);
    const double height = _rows->renderSizeAt(row);
    auto at = [](std::int64_t a, std::int64_t b, std::int64_t c = 0) {
        return static_cast<double>(whole(static_cast<double>(a + b + c)));
    };
    switch (_cellType) {
        case GridCellTypeTopLeft:
            return {at(colPos, dx), at(rowPos, dy), width, height};
        case GridCellTypeRowHeader:
            return {at(colPos, dx), at(rowPos, dy, fy), width, height};
        case GridCellTypeColumnHeader:
            if (height < 0) {
                const double panelHeight = g->columnHeaders() ? g->columnHeaders()->height() : 0;
                return {at(colPos, dx, fx), at(rowPos, dy), width, panelHeight};
            }
            [[fallthrough]];
        default:
            return {at(colPos, dx, fx), at(rowPos, dy, fy), width, height};
    }
}

plat::Rect GridPanel::getCellRect(std::int32_t row, std::int32_t col) const {
    auto g = grid();
    if (!g || !g->mergeManager()) return getCellRectInternal(row, col);
    return getCellRect(row, col, g->mergeManager()->mergedRangeOfCell(row, col, _cellType));
}

plat::Rect GridPanel::getCellRect(std::int32_t row, std::int32_t col, const GridCellRange& range) const {
    // A single cell's corners are one cell: its rectangle, whole points all, spans itself exactly.
    if (range.isSingleCell()) return getCellRectInternal(range.row(), range.col());
    auto g = grid();
    if (!g) return {};
    const plat::Rect r1 = getCellRectInternal(range.row(), range.col());
    const plat::Rect r2 = getCellRectInternal(range.row2(), range.col2());
    plat::Rect r{r1.origin.x, r1.origin.y, r2.origin.x + r2.size.width - r1.origin.x, r2.origin.y + r2.size.height - r1.origin.y};
    const plat::Point frozen = frozenPoint();
    const double top = std::trunc(offsetY() + (row >= g->frozenRows() ? frozen.y : 0));
    const double left = std::trunc(offsetX() + (col >= g->frozenColumns() ? frozen.x : 0));
    const double line = g->gridLinesWidth();
    if (r.origin.y < top) {
        const double d = std::trunc(top - r.origin.y);
        const double height = r.size.height - d + line;
        if (r2.size.height > height) {
            r.origin.y = r2.origin.y;
            r.size.height = r2.size.height;
        } else {
            r.origin.y = r.origin.y + d - line;
            r.size.height = height;
        }
    }
    const plat::Rect frame = g->frame();
    if (r.origin.y + r.size.height > frame.size.height)
        r.size.height = std::max(r.size.height - std::trunc(r.origin.y + r.size.height - frame.size.height), r1.size.height);
    if (r.origin.x < left) {
        const double d = std::trunc(left - r.origin.x);
        const double width = r.size.width - d + line;
        if (r2.size.width > width) {
            r.origin.x = r2.origin.x;
            r.size.width = r2.size.width;
        } else {
            r.origin.x = r.origin.x + d - line;
            r.size.width = width;
        }
    }
    if (r.origin.x + r.size.width > frame.size.width)
        r.size.width = std::max(r.size.width - std::trunc(r.origin.x + r.size.width - frame.size.width), r1.size.width);
    return r;
}

// ---- visibility ----

namespace {
// The first index whose far edge (pos + render size) reaches `origin`, by binary search over the
// running sums; 0 when none does.
std::int32_t firstEndingAtOrAfter(const GridRowColCollection& items, double origin) {
    std::int64_t lo = 0;
    std::int64_t hi = static_cast<std::int64_t>(items.count());
    const std::int64_t n = hi;
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (static_cast<double>(items.posAt(mid)) + items.renderSizeAt(mid) >= origin)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo < n ? static_cast<std::int32_t>(lo) : 0;
}
}  // namespace

std::int32_t GridPanel::getFirstVisibleRow() const {
    auto g = grid();
    if (!g || !scrollsVertically() || !_rows || _rows->count() == 0) return 0;
    return firstEndingAtOrAfter(*_rows, g->originY());
}

std::int32_t GridPanel::getFirstVisibleColumn() const {
    auto g = grid();
    if (!g || !scrollsHorizontally() || !_columns || _columns->count() == 0) return 0;
    return firstEndingAtOrAfter(*_columns, g->originX());
}

bool GridPanel::isRowVisible(std::int32_t row) const {
    auto g = grid();
    if (!g || !_rows || row < 0 || static_cast<std::size_t>(row) >= _rows->count()) return false;
    if (!scrollsVertically()) return true;
    const double p = _rows->posAt(row), s = _rows->renderSizeAt(row);
    const double oY = g->originY(), fY = frozenPoint().y, H = g->clientRect().size.height;
    if (p - oY - fY > H) return false;
    if (oY > p + s) return false;
    return true;
}

bool GridPanel::isRowTopVisible(std::int32_t row) const {
    auto g = grid();
    if (!g || !_rows || row < 0 || static_cast<std::size_t>(row) >= _rows->count()) return false;
    if (!scrollsVertically() || row < _rows->frozen()) return true;
    const double p = _rows->posAt(row), s = _rows->renderSizeAt(row);
    const double oY = g->originY(), fY = frozenPoint().y, H = g->clientRect().size.height, offY = offsetY();
    // p counts the frozen rows already: they are not added again.
    if (p - oY - s + offY >= H) return false;
    if (oY + fY + offY >= p + offY) return false;
    return true;
}

bool GridPanel::isRowBottomVisible(std::int32_t row) const {
    auto g = grid();
    if (!g || !_rows || row < 0 || static_cast<std::size_t>(row) >= _rows->count()) return false;
    if (!scrollsVertically() || row < _rows->frozen()) return true;
    const double p = _rows->posAt(row), s = _rows->renderSizeAt(row);
    const double oY = g->originY(), fY = frozenPoint().y, H = g->clientRect().size.height, offY = offsetY();
    if (p - oY + s + offY >= H) return false;
    if (oY + fY >= p + s + offY) return false;
    return true;
}

bool GridPanel::isColLeftVisible(std::int32_t col) const {
    auto g = grid();
    if (!g || !_columns || col < 0 || static_cast<std::size_t>(col) >= _columns->count()) return false;
    if (!scrollsHorizontally() || col < _columns->frozen()) return true;
    const double p = _columns->posAt(col), s = _columns->renderSizeAt(col);
    const double oX = g->originX(), fX = frozenPoint().x, W = g->clientRect().size.width;
    if (p - oX + fX - s > W) return false;
    if (oX + fX > p) return false;
    return true;
}

bool GridPanel::isColMidVisible(std::int32_t col) const {
    auto g = grid();
    if (!g || !_columns || col < 0 || static_cast<std::size_t>(col) >= _columns->count()) return false;
    if (!scrollsHorizontally() || col < _columns->frozen()) return true;
    // Measured with the width drawn: the stored width may be a star weight, or -1 for the default.
    const double p = _columns->posAt(col), w = _columns->renderSizeAt(col);
    const double oX = g->originX(), fX = frozenPoint().x, W = g->clientRect().size.width;
    return p - oX < W && p + w > oX + fX;
}

bool GridPanel::isColRightVisible(std::int32_t col) const {
    auto g = grid();
    if (!g || !_columns || col < 0 || static_cast<std::size_t>(col) >= _columns->count()) return false;
    if (!scrollsHorizontally() || col < _columns->frozen()) return true;
    const double e = static_cast<double>(_columns->posAt(col)) + _columns->renderSizeAt(col);
    const double oX = g->originX(), fX = frozenPoint().x, W = g->clientRect().size.width;
    if (e - oX > W + 10.0) return false;
    if (oX + fX > e + 10) return false;
    return true;
}

bool GridPanel::isGroupRow(std::int32_t row) const {
    if (_cellType != GridCellTypeCell || !_rows || row < 0 || static_cast<std::size_t>(row) >= _rows->count()) return false;
    const plat::Value& v = _rows->sourceArray()[static_cast<std::size_t>(row)];
    return v.isObject() && dynamic_cast<const GridGroupRow*>(v.asObject().get()) != nullptr;
}

plat::Rect GridPanel::getClipRect() const {
    auto g = grid();
    if (!g) return {};
    const auto& corner = g->topLeftCells();
    const double rw = g->rowHeaderVisible() && corner ? corner->columns()->totalSize() : 0;
    const double ch = g->columnHeaderVisible() && corner ? corner->rows()->totalSize() : 0;
    const double W = g->clientRect().size.width, H = g->clientRect().size.height;
    switch (_cellType) {
        case GridCellTypeTopLeft:
            return {0, 0, rw, ch};
        case GridCellTypeRowHeader:
            return {0, ch, rw, H - ch};
        case GridCellTypeColumnHeader:
            return {rw, 0, W - rw, ch};
        default:
            return {rw, ch, W - rw, H - ch};
    }
}

int GridPanel::getAdorner(plat::Point point) const {
    auto holds = [&](const plat::Rect& r) {
        return !r.isNull() && point.x >= r.minX() && point.x <= r.maxX() && point.y >= r.minY() && point.y <= r.maxY();
    };
    if (holds(_adornerStart)) return 1;
    if (holds(_adornerEnd)) return 2;
    return 0;
}
