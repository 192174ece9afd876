#include "OmbriGrid/GridRowCol.h"
#include "GridInternals.h"

#include <atomic>

#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridDetailProvider.h"
#include "Platform/runtime/dispatch.h"
#include "foundation/saturating_cast.h"
#include "layout/AxisPositions.h"
#include "rows/GroupCollapse.h"

GridRowCol::~GridRowCol() {
    if (_source >= 0)
        if (auto owner = _owner.lock()) owner->forgetMadeRow({}, *this);
    kivo::detail::AxisPositions::release(*this);
}

bool GridRowCol::isVisible() const { return _getFlag(GridRowColFlagsVisible) && !_getFlag(GridRowColFlagsHiddenByCollapse); }

bool GridRowCol::_setFlag(std::uint64_t mask, bool value) {
    if (!_setFlagQuietly(mask, value)) return false;
    onPropertyChanged();
    return true;
}

bool GridRowCol::_setFlagQuietly(std::uint64_t mask, bool value) {
    if (_getFlag(mask) == value) return false;
    _flags = value ? (_flags | mask) : (_flags & ~mask);
    return true;
}

void GridRowCol::setSize(std::int32_t size) {
    if (size == _size) return;
    _size = size;
    onPropertyChanged();
    onResize();
}

bool GridRowCol::changeMinSize(std::int32_t v) {
    if (v == _minSize) return false;
    _minSize = v;
    onPropertyChanged();
    return true;
}

bool GridRowCol::changeMaxSize(std::int32_t v) {
    if (v == _maxSize) return false;
    _maxSize = v;
    onPropertyChanged();
    return true;
}

std::int32_t GridRowCol::renderSize() const { return limitedRenderSize(); }

std::int32_t GridRowCol::limitedRenderSize() const {
    if (!isVisible()) return 0;
    std::int32_t s = _size;
    if (auto owner = _owner.lock()) {
        if (s < 0) s = owner->defaultSize();
        if (s < owner->minSize()) s = owner->minSize();
        if (owner->maxSize() > 0 && s > owner->maxSize()) s = owner->maxSize();
    }
    if (s < _minSize) s = _minSize;
    if (_maxSize > 0 && s > _maxSize) s = _maxSize;
    return s;
}

std::int32_t GridRowCol::pos() const {
    auto owner = _owner.lock();
    return owner ? owner->posAt(index()) : 0;
}

std::int32_t GridRowCol::index() const {
    auto owner = _owner.lock();
    if (!owner) return -1;
    return owner->indexOfItem({}, *this);
}

std::int32_t GridRowCol::_placedIndex() const {
    auto owner = _owner.lock();
    return owner ? owner->placedIndexOfItem({}, *this) : -1;
}

std::shared_ptr<OmbriGrid> GridRowCol::grid() const {
    auto owner = _owner.lock();
    return owner ? owner->grid() : nullptr;
}

void GridRowCol::onPropertyChanged() {
    auto owner = _owner.lock();
    if (!owner) return;
    owner->itemPropertyChanged({}, *this);
    auto grid = owner->grid();
    if (!grid) return;
    for (const auto* panel : {&grid->cells(), &grid->columnHeaders(), &grid->rowHeaders()})
        if (*panel) (*panel)->resetCache(this);
    grid->setNeedsDisplay();
    // A header row or column placed by its size: the cells start where the headers end. Not while the
    // header collection lays itself out, as it reads the sizes it is writing.
    if (owner->sizesPlaceCells({})) kivo::detail::GridInternals::headersChanged(*grid);
}

void GridRowCol::_setOwner(const std::shared_ptr<GridRowColCollection>& owner) { _owner = owner; }

// ---- GridRow ----

std::uint64_t GridRow::reserveIdentities(std::uint64_t count) {
    // Rows are made on the main thread, but a count that can never hand out one number twice costs nothing.
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(count, std::memory_order_relaxed);
}

void GridRow::setHeight(std::int32_t height) {
    setSize(height);
    if (auto g = grid()) kivo::detail::GridInternals::headersChanged(*g);
}

// ---- GridGroupRow ----

void GridGroupRow::setLevel(std::uint64_t level) {
    if (level == _level) return;
    _level = level;
    onPropertyChanged();
}

std::int32_t GridGroupRow::renderSize() const {
    if (!isVisible()) return 0;
    auto owner = this->owner();
    if (size() < 0 && owner) {
        const auto* rows = dynamic_cast<const GridRowCollection*>(owner.get());
        return rows ? rows->defaultGroupSize() : owner->defaultSize();
    }
    return limitedRenderSize();
}

namespace {
// The group row stored at `index` of the collection, or null (a placeholder is a plain row).
const GridGroupRow* groupRowAt(const GridRowColCollection& rows, std::size_t index) {
    if (rows.sourceArray().countingAt(index)) return nullptr;
    const plat::Value& v = rows.sourceArray()[index];
    return v.isObject() ? dynamic_cast<const GridGroupRow*>(v.asObject().get()) : nullptr;
}
}  // namespace

bool GridGroupRow::hasChildren() const {
    auto owner = this->owner();
    if (!owner || !owner->grid()) return true;
    const auto i = static_cast<std::uint64_t>(index());
    const std::uint64_t count = owner->count();
    if (count > 0 && i < count - 1) {
        const GridGroupRow* next = groupRowAt(*owner, i + 1);
        return next ? _level < next->level() : true;
    }
    return false;
}

std::shared_ptr<GridCellRange> GridGroupRow::cellRange() const {
    const std::int32_t i = index();
    auto owner = this->owner();
    const std::int64_t count = owner ? static_cast<std::int64_t>(owner->count()) : 0;
    std::int64_t end = count - 1;
    for (std::int64_t j = static_cast<std::int64_t>(i) + 1; j < count; ++j) {
        const GridGroupRow* g = groupRowAt(*owner, static_cast<std::size_t>(j));
        if (g && g->level() <= _level) {
            end = j - 1;
            break;
        }
    }
    auto g = grid();
    const std::int64_t lastColumn = g ? static_cast<std::int64_t>(g->columns()->count()) - 1 : -1;
    return std::make_shared<GridCellRange>(i, 0, plat::detail::saturatingCast<std::int32_t>(static_cast<double>(end)),
                                           plat::detail::saturatingCast<std::int32_t>(static_cast<double>(lastColumn)));
}

void GridGroupRow::setIsCollapsed(bool collapsed) {
    // Weak: a row (and with it the way to its grid) released before the queue runs is left alone.
    std::weak_ptr<GridGroupRow> weak = std::static_pointer_cast<GridGroupRow>(shared_from_this());
    plat::dispatch::async(plat::dispatch::Queue::main(), [weak, collapsed] {
        if (auto row = weak.lock()) kivo::detail::GroupCollapse::run(*row, collapsed);
    });
}

// ---- GridDetailRow ----

std::int32_t GridDetailRow::renderSize() const {
    if (_getFlag(GridRowColFlagsHiddenByCollapse)) return 0;
    auto g = grid();
    if (!g || !g->detailProvider()) return 0;
    return plat::detail::saturatingCast<std::int32_t>(g->detailProvider()->detailHeight());
}
