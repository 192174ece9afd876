#include "OmbriGrid/GridRowColCollection.h"
#include "GridInternals.h"

#include <algorithm>
#include <cmath>

#include "KivoCore/KivoCollectionView.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridMergeManager.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/log.h"
#include "Platform/runtime/dispatch.h"
#include "foundation/saturating_cast.h"
#include "layout/AxisPositions.h"

namespace {
// Items added one by one past a full binding before the rows are bound again in full.
constexpr std::uint64_t MaxAddedBeyondBinding = 4096;

std::int32_t saturate(std::int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(v);
}
}  // namespace

GridRowColCollection::GridRowColCollection(const std::shared_ptr<OmbriGrid>& grid, std::int32_t defaultSize)
    : _grid(grid),
      _defaultSize(defaultSize >= 1 ? defaultSize : (grid ? grid->defaultRowSize() : 1)),
      _positions(std::make_unique<kivo::detail::AxisPositions>()) {}

GridRowColCollection::~GridRowColCollection() = default;

void GridRowColCollection::settingChanged() {
    // The grid's invalidation runs application code, which may let go of the grid and with it this collection.
    const auto alive = keepAlive();
    _structureStale = true;
    _dirty = true;
    if (auto g = grid()) {
        // The header sizes decide where the cells start.
        if (isHeaderAxis())
            kivo::detail::GridInternals::headersChanged(*g);
        else
            g->invalidate();
    }
}

bool GridRowColCollection::isHeaderAxis() const {
    auto panel = gridPanel();
    return panel && panel->cellType() != GridCellTypeCell;
}

void GridRowColCollection::setDefaultSize(std::int32_t size) {
    if (size == _defaultSize) return;
    auto g = grid();
    _defaultSize = size >= 1 ? size : (g ? g->defaultRowSize() : 1);
    settingChanged();
}

void GridRowColCollection::setMinSize(std::int32_t size) {
    if (size == _minSize) return;
    _minSize = size;
    settingChanged();
}

void GridRowColCollection::setMaxSize(std::int32_t size) {
    if (size == _maxSize) return;
    _maxSize = size;
    settingChanged();
}

std::int32_t GridRowColCollection::frozen() const {
    const auto n = count();
    return static_cast<std::size_t>(_frozen) < n ? _frozen : saturate(static_cast<std::int64_t>(n));
}

void GridRowColCollection::setFrozen(std::int32_t frozen) {
    if (frozen < 0) {
        // Compared as an unsigned number it would freeze every item.
        plat::log("Grid: frozen count " + std::to_string(frozen) + " refused: it must not be negative");
        return;
    }
    if (frozen == _frozen) return;
    _frozen = frozen;
    settingChanged();
}

void GridRowColCollection::_setDirty(bool dirty) const {
    _dirty = dirty;
    if (dirty) _structureStale = true;
}

bool GridRowColCollection::_update() const {
    if (!_dirty || isUpdating() || _laying) return false;
    _laying = true;
    _dirty = false;
    _layout();
    _laying = false;
    return true;
}

void GridRowColCollection::_layout() const {
    if (_structureStale || _positions->count() != count()) {
        relayoutAll();
        return;
    }
    for (const auto& weak : _pending) {
        // Only items still held here count; their index is wherever the edits since have moved them.
        const auto object = weak.lock();
        const auto* item = static_cast<const GridRowCol*>(object.get());
        if (!item) continue;
        if (const std::int64_t index = _positions->indexOf(*item); index >= 0)
            _positions->set(static_cast<std::size_t>(index), item->renderSize());
    }
    _pending.clear();
}

std::int32_t GridRowColCollection::placeholderRenderSize() const {
    std::int32_t s = _defaultSize;
    if (s < _minSize) s = _minSize;
    if (_maxSize > 0 && s > _maxSize) s = _maxSize;
    return s;
}

std::int32_t GridRowColCollection::claimPlaceholder(std::int64_t source, GridRowCol*& row) const {
    row = nullptr;
    // A placeholder whose row the application holds: that row takes the place.
    if (!_madeRows.empty())
        if (auto it = _madeRows.find(source); it != _madeRows.end()) {
            row = it->second;
            return row->renderSize();
        }
    return placeholderRenderSize();
}

std::optional<std::int64_t> GridRowColCollection::placeholderAt(std::size_t index) const {
    const kivo::ValueList& items = sourceArray();
    if (const auto counted = items.countingAt(index)) return counted;
    const plat::Value& v = items[index];
    return v.isInteger() ? std::optional<std::int64_t>(v.asInteger()) : std::nullopt;
}

std::int32_t GridRowColCollection::claimAt(std::size_t index, GridRowCol*& row) const {
    // A placeholder of a counting run is read as its number: the run stays unmade.
    if (const auto source = sourceArray().countingAt(index)) return claimPlaceholder(*source, row);
    return claim(sourceArray()[index], row);
}

std::int32_t GridRowColCollection::claim(const plat::Value& value, GridRowCol*& row) const {
    row = nullptr;
    if (value.isInteger()) return claimPlaceholder(value.asInteger(), row);
    row = value.isObject() ? dynamic_cast<GridRowCol*>(value.asObject().get()) : nullptr;
    if (!row) return 0;
    adopt(*row);
    return row->renderSize();
}

void GridRowColCollection::push(const std::shared_ptr<GridRowCol>& item) {
    // Inside a batch nothing is announced until it closes; the item is this collection's before then.
    if (item) adopt(*item);
    addObject(plat::Value(item));
}

std::shared_ptr<GridRowColCollection> GridRowColCollection::self() const {
    // Null while no shared pointer holds the collection (being made, or going): no owner to give.
    return std::const_pointer_cast<GridRowColCollection>(
        std::static_pointer_cast<const GridRowColCollection>(weak_from_this().lock()));
}

void GridRowColCollection::adopt(GridRowCol& row) const {
    // A row made for a placeholder and put into the list itself is stored from now on; the collection
    // that made it must not answer for it any more.
    if (row.sourceSlot({}) >= 0) {
        if (auto maker = row.owner()) maker->forgetMade(row);
        row.sourceSlot({}) = -1;
    }
    if (row.owner().get() != this) row.setOwner({}, self());
}

void GridRowColCollection::adoptEntered(const KivoNotifyCollectionChangedEventArgs& args) {
    auto adoptValue = [this](const plat::Value& v) {
        if (auto* row = v.isObject() ? dynamic_cast<GridRowCol*>(v.asObject().get()) : nullptr) adopt(*row);
    };
    const kivo::ValueList& items = sourceArray();
    switch (args.action()) {
        case KivoNotifyCollectionChangedActionAdd:
            if (args.items())
                for (const plat::Value& v : *args.items()) adoptValue(v);
            break;
        case KivoNotifyCollectionChangedActionReplace:
            // The announcement carries the old item only: the new one stands in its place.
            if (args.oldStartingIndex() >= 0 && static_cast<std::size_t>(args.oldStartingIndex()) < items.size())
                adoptValue(items[static_cast<std::size_t>(args.oldStartingIndex())]);
            break;
        case KivoNotifyCollectionChangedActionReset:
            // A closed batch says nothing of what entered: every stored row is looked at. A list of
            // placeholders alone holds none, nor does a counting run.
            if (!_plainPlaceholders)
                for (std::size_t i = 0; i < items.size(); ++i)
                    if (!items.countingAt(i)) adoptValue(items[i]);
            break;
        default:
            break;
    }
}

void GridRowColCollection::relayoutAll() const {
    _structureStale = false;
    _pending.clear();
    if (_madeRows.empty() && sourceArray().heldValueCount() == 0) {
        // Counting runs alone, no row made for any of their placeholders: every place has the
        // placeholder size, and a million of them need not be asked for one by one.
        _positions->assignUniform(count(), placeholderRenderSize());
    } else {
        _positions->assign(count(), [&](std::size_t i) {
            kivo::detail::AxisPositions::Entry entry;
            entry.size = claimAt(i, entry.anchor);
            return entry;
        });
    }
    const auto later = std::move(_keepLater);
    _keepLater.clear();
    for (const auto& row : later)
        if (row->sourceSlot({}) >= 0) store(*row);
}

bool GridRowColCollection::placesFollowTheList() const {
    return !_structureStale && !isUpdating() && _positions->count() == count();
}

void GridRowColCollection::keep(GridRowCol& row) const {
    if (placesFollowTheList())
        store(row);
    else
        _keepLater.push_back(std::static_pointer_cast<GridRowCol>(row.shared_from_this()));
}

void GridRowColCollection::store(GridRowCol& row) const {
    forgetMade(row);
    _plainPlaceholders = false;
    row.sourceSlot({}) = -1;
    const std::int64_t index = _positions->indexOf(row);
    // A placeholder removed meanwhile leaves the row to the application alone.
    if (index < 0 || !placeholderAt(static_cast<std::size_t>(index))) return;
    const_cast<GridRowColCollection*>(this)->sourceArray()[static_cast<std::size_t>(index)] =
        plat::Value(std::static_pointer_cast<GridRowCol>(row.shared_from_this()));
}

void GridRowColCollection::forgetMadeRows() {
    // Their placeholders will mean other items: the rows must not answer for them.
    const auto made = std::move(_madeRows);
    _madeRows.clear();
    for (const auto& [source, row] : made) {
        (void)source;
        row->sourceSlot({}) = -1;
        row->setOwner({}, nullptr);
        kivo::detail::AxisPositions::release(*row);
    }
    _keepLater.clear();
}

void GridRowColCollection::disown(GridRowCol& row) const {
    forgetMade(row);
    row.sourceSlot({}) = -1;
    row.setOwner({}, nullptr);
    kivo::detail::AxisPositions::release(row);
}

const GridRowCol* GridRowColCollection::madeRowOf(const plat::Value& item) const {
    if (!item.isObject()) return nullptr;
    const auto* row = dynamic_cast<const GridRowCol*>(item.asObject().get());
    return row && row->sourceSlot({}) >= 0 && row->owner().get() == this ? row : nullptr;
}

std::size_t GridRowColCollection::indexOfObject(const plat::Value& item) const {
    // Integers in the list are placeholders, no rows of their own.
    if (item.isInteger()) return plat::NotFound;
    if (const auto* row = item.isObject() ? dynamic_cast<const GridRowCol*>(item.asObject().get()) : nullptr;
        row && row->owner().get() == this) {
        const std::int32_t i = currentIndexOf(*row);
        return i >= 0 ? static_cast<std::size_t>(i) : plat::NotFound;
    }
    return KivoObservableArray::indexOfObject(item);
}

void GridRowColCollection::removeObject(const plat::Value& item) {
    if (item.isInteger()) return;
    const auto* row = madeRowOf(item);
    if (!row) {
        KivoObservableArray::removeObject(item);
        return;
    }
    const std::int64_t source = row->sourceSlot({});
    // Inside a batch the row may stand in the list itself as well as by its placeholder: both go.
    KivoObservableArray::removeObject(item);
    KivoObservableArray::removeObject(plat::Value(source));
}

void GridRowColCollection::forgetMade(const GridRowCol& row) const {
    if (auto it = _madeRows.find(row.sourceSlot({})); it != _madeRows.end() && it->second == &row) _madeRows.erase(it);
}

bool GridRowColCollection::replayEdit(const KivoNotifyCollectionChangedEventArgs& args) {
    if (_structureStale) return false;
    auto& positions = *_positions;
    const std::size_t n = count();
    switch (args.action()) {
        case KivoNotifyCollectionChangedActionAdd: {
            const std::size_t k = args.items() ? args.items()->size() : 0;
            const std::int64_t at = args.startingIndex();
            if (at < 0 || positions.count() + k != n || static_cast<std::size_t>(at) + k > n) return false;
            const auto start = static_cast<std::size_t>(at);
            positions.insert(start, k, [&](std::size_t j) {
                kivo::detail::AxisPositions::Entry entry;
                entry.size = claimAt(start + j, entry.anchor);
                return entry;
            });
            return true;
        }
        case KivoNotifyCollectionChangedActionRemove: {
            const std::size_t k = args.oldItems() ? args.oldItems()->size() : 0;
            const std::int64_t at = args.oldStartingIndex();
            // Several removals of one change are announced after all of them took place, each at the index
            // it had once the ones announced before it were applied: the list may be shorter already.
            if (at < 0 || positions.count() < n + k || static_cast<std::size_t>(at) + k > positions.count()) return false;
            positions.erase(static_cast<std::size_t>(at), k);
            return true;
        }
        case KivoNotifyCollectionChangedActionReplace: {
            const std::int64_t at = args.oldStartingIndex();
            if (at < 0 || positions.count() != n || static_cast<std::size_t>(at) >= n) return false;
            const auto index = static_cast<std::size_t>(at);
            GridRowCol* row = nullptr;
            positions.set(index, claimAt(index, row));
            if (row) positions.anchor(*row, index);
            return true;
        }
        default:
            return false;
    }
}

void GridRowColCollection::_itemChanged(const GridRowCol& item) const {
    _dirty = true;
    // Visibility, merging flags, bindings and formats decide which cells merge.
    if (auto g = grid(); g && g->mergeManager()) g->mergeManager()->dropCache();
    if (item.sourceSlot({}) >= 0) keep(const_cast<GridRowCol&>(item));
    if (_structureStale) return;
    // An item removed from the collection may still name it as owner: only one the positions hold counts.
    if (_positions->indexOf(item) < 0) return;
    // More changes than items since the last layout: one rebuild is cheaper than replaying them.
    if (_pending.size() >= count())
        _structureStale = true;
    else
        _pending.push_back(item.weak_from_this());
}

std::int32_t GridRowColCollection::placedIndexOf(const GridRowCol& item) const { return saturate(_positions->indexOf(item)); }

std::int32_t GridRowColCollection::currentIndexOf(const GridRowCol& item) const {
    if (const std::int64_t placed = _positions->indexOf(item); placed >= 0 || placesFollowTheList()) return saturate(placed);
    // Inside a batch the positions wait for its end; the list itself knows. A bound row is usually still
    // where its placeholder was put, so that look comes first.
    const kivo::ValueList& items = sourceArray();
    const std::int64_t source = item.sourceSlot({});
    if (source >= 0 && static_cast<std::uint64_t>(source) < items.size() &&
        placeholderAt(static_cast<std::size_t>(source)) == source)
        return saturate(source);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (const auto placeholder = placeholderAt(i)) {
            if (source >= 0 && *placeholder == source) return saturate(static_cast<std::int64_t>(i));
        } else if (const plat::Value& v = items[i]; v.isObject() && v.asObject().get() == &item) {
            return saturate(static_cast<std::int64_t>(i));
        }
    }
    return -1;
}

std::int32_t GridRowColCollection::totalSize() const {
    _update();
    return saturate(_positions->total());
}

std::int32_t GridRowColCollection::getIndexAt(std::int32_t p) const {
    _update();
    const std::size_t n = _positions->count();
    if (n == 0) return -1;
    if (p < 0) return 0;
    const std::size_t i = _positions->find(p);
    return saturate(static_cast<std::int64_t>(i < n ? i : n - 1));
}

std::int32_t GridRowColCollection::posAt(std::int64_t index) const {
    _update();
    if (index < 0 || static_cast<std::size_t>(index) >= _positions->count()) return 0;
    return saturate(_positions->prefix(static_cast<std::size_t>(index)));
}

std::int32_t GridRowColCollection::renderSizeAt(std::int64_t index) const {
    _update();
    if (index < 0) return 0;
    return _positions->sizeAt(static_cast<std::size_t>(index));
}

std::int64_t GridRowColCollection::renderSizeOf(std::int64_t first, std::int64_t last) const {
    _update();
    const auto n = static_cast<std::int64_t>(_positions->count());
    if (first < 0) first = 0;
    if (last > n - 1) last = n - 1;
    if (first > last) return 0;
    return _positions->prefix(static_cast<std::size_t>(last + 1)) - _positions->prefix(static_cast<std::size_t>(first));
}

std::shared_ptr<GridRowCol> GridRowColCollection::item(std::int64_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= count()) return nullptr;
    const auto placeholder = placeholderAt(static_cast<std::size_t>(index));
    if (!placeholder) {
        const plat::Value& v = sourceArray()[static_cast<std::size_t>(index)];
        auto stored = v.isObject() ? std::dynamic_pointer_cast<GridRowCol>(v.asObject()) : nullptr;
        // Put in while the positions waited for a rebuild: it belongs here already, and its render size
        // reads this collection's defaults.
        if (stored && stored->owner().get() != this) stored->setOwner({}, self());
        return stored;
    }
    const std::int64_t source = *placeholder;
    // A placeholder: the row the application still holds for it, or one made now and held weakly.
    if (auto it = _madeRows.find(source); it != _madeRows.end())
        if (auto held = std::dynamic_pointer_cast<GridRow>(it->second->weak_from_this().lock())) {
            if (placesFollowTheList() && _positions->indexOf(*held) != index)
                _positions->anchor(*held, static_cast<std::size_t>(index));
            return held;
        }
    auto row = std::make_shared<GridRow>(placeholderItem(source));
    row->setOwner({}, self());
    row->sourceSlot({}) = source;
    row->setIdentity({}, _identityBase + static_cast<std::uint64_t>(source));
    _madeRows[source] = row.get();
    // Placed at once while the positions follow the list; otherwise the rebuild they wait for places it.
    if (placesFollowTheList()) _positions->anchor(*row, static_cast<std::size_t>(index));
    return row;
}

plat::Value GridRowColCollection::placeholderItem(std::int64_t source) const {
    if (source < 0) return {};
    if (const auto view = _readsView.lock())
        return source <= INT32_MAX ? view->itemAt(static_cast<std::int32_t>(source)) : plat::Value();
    const std::size_t bound = _placeholderItems ? _placeholderItems->size() : 0;
    const auto i = static_cast<std::size_t>(source);
    if (i < bound) return (*_placeholderItems)[i];
    if (i - bound < _addedItems.size()) return _addedItems[i - bound];
    return {};
}

std::shared_ptr<GridPanel> GridRowColCollection::gridPanel() const {
    auto g = grid();
    if (!g) return nullptr;
    for (const auto* panel : {&g->cells(), &g->topLeftCells(), &g->columnHeaders(), &g->rowHeaders()}) {
        if (!*panel) continue;
        if (static_cast<const GridRowColCollection*>((*panel)->rows().get()) == this ||
            static_cast<const GridRowColCollection*>((*panel)->columns().get()) == this)
            return *panel;
    }
    return nullptr;
}

void GridRowColCollection::onCollectionChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
    // Dropping the caches runs application code, which may let go of the grid and with it this collection.
    const auto alive = keepAlive();
    _dirty = true;
    // Items taken out no longer belong here; a replaced one leaves its place to the new one.
    if (args && args->oldItems())
        for (const plat::Value& old : *args->oldItems()) {
            if (old.isInteger() && !_madeRows.empty())
                if (auto it = _madeRows.find(old.asInteger()); it != _madeRows.end()) disown(*it->second);
            if (auto item = old.as<GridRowCol>()) {
                if (args->action() == KivoNotifyCollectionChangedActionReplace &&
                    item->laidOutIndex({}) == args->oldStartingIndex())
                    kivo::detail::AxisPositions::release(*item);
                item->setOwner({}, nullptr);
            }
        }
    // Items that entered belong here at once: their sizes, formats and headers read this collection
    // and its grid before any layout runs. The binding's own batch that left the positions up to date
    // placed, and so adopted, each one already: the closing reset need not look at every row.
    const bool spliced = _spliced && args && args->action() == KivoNotifyCollectionChangedActionReset;
    if (args && !spliced) adoptEntered(*args);
    // An edit the binding did not make: the rows no longer mirror the view.
    if (!_binding) {
        _mirrorsView = false;
        _plainPlaceholders = false;
    }
    if (_spliced && args && args->action() == KivoNotifyCollectionChangedActionReset)
        _spliced = false;  // the binding's own batch, which left the positions up to date
    else if (!args || !replayEdit(*args))
        _structureStale = true;
    if (auto g = grid()) {
        if (g->mergeManager()) g->mergeManager()->dropCache();
        g->dropCaches();
        g->setNeedsDisplay();
        if (isHeaderAxis()) kivo::detail::GridInternals::headersChanged(*g);
        // Weak: a grid released before the queue runs is left alone.
        std::weak_ptr<OmbriGrid> weak = g;
        plat::dispatch::async(plat::dispatch::Queue::main(), [weak] {
            if (auto grid = weak.lock()) {
                kivo::detail::GridInternals::constrainOriginInternal(*grid);
                grid->setNeedsDisplay();
            }
        });
    }
    KivoObservableArray::onCollectionChanged(KivoNotifyCollectionChangedEventArgs::reset());
}

// ---- GridColumnCollection ----

std::shared_ptr<GridColumn> GridColumnCollection::column(std::int64_t index) const {
    return std::dynamic_pointer_cast<GridColumn>(item(index));
}

std::shared_ptr<GridColumn> GridColumnCollection::objectForKeyedSubscript(const std::string& key) const {
    for (const plat::Value& v : sourceArray())
        if (auto c = v.as<GridColumn>(); c && c->binding() == key) return c;
    return nullptr;
}

void GridColumnCollection::_layout() const {
    auto g = grid();
    // The free width of the cells area, in whole points; 64 bits, so that wide columns cannot wrap it.
    std::int64_t free =
        g ? plat::detail::saturatingCast<std::int64_t>(std::trunc(g->clientRect().size.width - g->offset().x)) : 0;
    std::size_t lastStar = SIZE_MAX;
    const kivo::ValueList& items = sourceArray();
    auto columnAt = [&](std::size_t i) {
        return items[i].isObject() ? dynamic_cast<GridColumn*>(items[i].asObject().get()) : nullptr;
    };
    // A weight that is not positive and finite weighs nothing.
    auto weightOf = [](const GridColumn& c) { return std::isfinite(c.starWidth()) && c.starWidth() > 0 ? c.starWidth() : 0.0; };
    double largest = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        GridColumn* c = columnAt(i);
        if (!c || !c->visible()) continue;
        if (c->widthType() != GridWidthTypeStar) {
            free -= c->renderWidth();
        } else {
            largest = std::max(largest, weightOf(*c));
            lastStar = i;
        }
    }
    // The weights are scaled by a power of two that brings the largest below 1, which is exact: shares
    // come out as the plain weights would give them, and no sum of huge weights overflows (nor one of
    // tiny weights rounds to nothing, as a sum kept in whole numbers would).
    int exponent = 0;
    if (largest > 0) std::frexp(largest, &exponent);
    auto scaled = [&](const GridColumn& c) { return std::ldexp(weightOf(c), -exponent); };
    double total = 0;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (GridColumn* c = columnAt(i); c && c->visible() && c->widthType() == GridWidthTypeStar) total += scaled(*c);
    const std::int64_t share = free;
    for (std::size_t i = 0; i < items.size(); ++i) {
        GridColumn* c = columnAt(i);
        if (!c || !c->visible() || c->widthType() != GridWidthTypeStar) continue;
        std::int64_t w = free;
        if (i != lastStar)
            w = total > 0
                    ? plat::detail::saturatingCast<std::int64_t>(std::trunc(scaled(*c) * static_cast<double>(share) / total))
                    : 0;
        // A negative size would read as the default width.
        if (w < 0) w = 0;
        if (c->minWidth() != -1 && w < c->minWidth()) w = c->minWidth();
        // A maximum of 0 means no limit.
        if (c->maxWidth() > 0 && w > c->maxWidth()) w = c->maxWidth();
        c->setSize(saturate(w));
        if (i != lastStar) free -= c->renderWidth();
    }
    relayoutAll();
}

// ---- GridRowCollection ----

GridRowCollection::GridRowCollection(const std::shared_ptr<OmbriGrid>& grid, std::int32_t defaultSize)
    : GridColumnCollection(grid, defaultSize), _defaultGroupSize(grid ? grid->defaultRowSize() : 1) {
    _identityBase = GridRow::reserveIdentities(MaxAddedBeyondBinding + 1);
}

std::shared_ptr<GridRow> GridRowCollection::row(std::int64_t index) const {
    return std::dynamic_pointer_cast<GridRow>(item(index));
}

void GridRowCollection::setDefaultGroupSize(std::int32_t size) {
    if (size == _defaultGroupSize) return;
    auto g = grid();
    _defaultGroupSize = size >= 1 ? size : (g ? g->defaultRowSize() : 1);
    settingChanged();
}

namespace {
// The empty row a spacer item binds.
plat::Value spacerRow(std::int32_t height) {
    auto row = std::make_shared<GridEmptyRow>();
    row->setHeight(height);
    return plat::Value(std::move(row));
}

// The source list of a view that shows it as it is, holding at least its `n` visible items: read by
// reference rather than item by item through the view.
const plat::Array* inOrderSource(const KivoCollectionView& view, std::size_t n) {
    if (!view.showsSourceInOrder()) return nullptr;
    const plat::ArrayPtr& source = view.sourceCollection();
    return source && source->size() >= n ? source.get() : nullptr;
}

// One placeholder per item, the item's index, or the spacer row the item asks for; true when every
// item took a placeholder. `list`, when given, holds the items in order; otherwise `view` reads them.
// The placeholders are one counting run, no value apiece; a spacer row takes its item's entry, which
// makes that entry's block only.
template <class Spacer>
bool fillPlaceholders(kivo::ValueList& storage, std::size_t n, Spacer spacer, const plat::Array* list,
                      const KivoCollectionView* view) {
    storage.assignCounting(n);
    if (!spacer) return true;
    bool plain = true;
    auto place = [&](const plat::Value& item, std::size_t i) {
        if (const auto height = spacer(item)) {
            storage[i] = spacerRow(*height);
            plain = false;
        }
    };
    if (!list) {
        for (std::size_t i = 0; i < n; ++i) place(view->itemAt(static_cast<std::int32_t>(i)), i);
        return plain;
    }
    for (std::size_t i = 0; i < n; ++i) place((*list)[i], i);
    return plain;
}
}  // namespace

void GridRowCollection::_bindItems(const plat::ArrayPtr& items, SpacerTest spacer) {
    bindPlaceholders(items, nullptr, items ? items->size() : 0, items.get(), spacer);
}

void GridRowCollection::_bindView(const std::shared_ptr<KivoCollectionView>& view, SpacerTest spacer) {
    if (!view) {
        _bindItems(nullptr, spacer);
        return;
    }
    const auto n = static_cast<std::size_t>(std::max(view->itemCount(), 0));
    bindPlaceholders(nullptr, view, n, inOrderSource(*view, n), spacer);
}

void GridRowCollection::bindPlaceholders(const plat::ArrayPtr& items, const std::shared_ptr<KivoCollectionView>& view,
                                         std::size_t n, const plat::Array* list, SpacerTest spacer) {
    beginUpdate();
    removeAllObjects();
    forgetMadeRows();
    _placeholderItems = items;
    _readsView = view;
    _readsReorder = false;
    _addedItems.clear();
    _spliced = false;
    _identityBase = GridRow::reserveIdentities(2 * static_cast<std::uint64_t>(n) + MaxAddedBeyondBinding + 1);
    _plainPlaceholders = fillPlaceholders(sourceArray(), n, spacer, list, view.get());
    endUpdate();
}

bool GridRowCollection::keepItemsBefore(const KivoNotifyCollectionChangedEventArgs& edit) {
    const auto view = _readsView.lock();
    if (!view) return true;
    const auto action = edit.action();
    if (action != KivoNotifyCollectionChangedActionAdd && action != KivoNotifyCollectionChangedActionRemove &&
        action != KivoNotifyCollectionChangedActionReplace)
        return false;
    const std::size_t n = count();
    const auto now = static_cast<std::size_t>(std::max(view->itemCount(), 0));
    const std::size_t added = action != KivoNotifyCollectionChangedActionRemove && edit.items() ? edit.items()->size() : 0;
    const std::size_t removed = action != KivoNotifyCollectionChangedActionAdd && edit.oldItems() ? edit.oldItems()->size() : 0;
    const std::int64_t start = action == KivoNotifyCollectionChangedActionAdd ? edit.startingIndex()
                               : edit.oldStartingIndex() >= 0                 ? edit.oldStartingIndex()
                                                                              : edit.startingIndex();
    // The view already shows the edit: without it, it must show the rows' items as they were. A change
    // announced in several parts after all of them took place does not add up, and rebuilds.
    if (start < 0 || now + removed != n + added || static_cast<std::size_t>(start) + added > now) return false;
    const auto at = static_cast<std::size_t>(start);
    const plat::Array* list = inOrderSource(*view, now);
    auto visible = [&](std::size_t i) { return list ? (*list)[i] : view->itemAt(static_cast<std::int32_t>(i)); };
    auto before = std::make_shared<plat::Array>();
    before->reserve(n);
    for (std::size_t i = 0; i < at; ++i) before->push_back(visible(i));
    if (removed > 0) before->insert(before->end(), edit.oldItems()->begin(), edit.oldItems()->end());
    for (std::size_t i = at + added; i < now; ++i) before->push_back(visible(i));
    _placeholderItems = std::move(before);
    _readsView.reset();
    _readsReorder = false;
    return true;
}

plat::Value GridRowCollection::rowValueFor(const plat::Value& item, SpacerTest spacer) {
    if (spacer)
        if (const auto height = spacer(item)) return spacerRow(*height);
    const std::size_t bound = _placeholderItems ? _placeholderItems->size() : 0;
    _addedItems.push_back(item);
    return plat::Value(static_cast<std::int64_t>(bound + _addedItems.size() - 1));
}

bool GridRowCollection::_reorderedAs(const std::shared_ptr<KivoCollectionView>& view) {
    if (!view || !_mirrorsView || !_plainPlaceholders || _spliced) return false;
    if (count() != static_cast<std::size_t>(std::max(view->itemCount(), 0))) return false;
    // Their placeholders now mean other items: the rows made for them must not answer for them.
    forgetMadeRows();
    _placeholderItems.reset();
    _addedItems.clear();
    _readsView = view;
    _readsReorder = true;
    // Placeholders with no made rows all take the placeholder size: when every place already had it,
    // the new order lays out exactly as the old one, and a million rows need not be laid out again.
    if (!_structureStale && _pending.empty() && _positions->count() == count() &&
        _positions->allUnanchoredOfSize(placeholderRenderSize()))
        _spliced = true;
    return true;
}

bool GridRowCollection::_followEdit(const KivoNotifyCollectionChangedEventArgs& edit, SpacerTest spacer) {
    auto& positions = *_positions;
    kivo::ValueList& storage = sourceArray();
    const std::size_t n = storage.size();
    // Placeholders read from the view stand for its items as they are now, not before the edit: they
    // take a list of their own first.
    if (!_mirrorsView || !keepItemsBefore(edit)) return false;
    _plainPlaceholders = false;
    // Positions waiting for a rebuild (none laid out since the binding) are left to it.
    const bool place = !_structureStale && positions.count() == n;
    const std::size_t bound = _placeholderItems ? _placeholderItems->size() : 0;
    const std::size_t added = edit.items() ? edit.items()->size() : 0;
    const std::size_t removed = edit.oldItems() ? edit.oldItems()->size() : 0;
    // Items added one by one keep the items they replaced alive; past the size of a full binding, one
    // is cheaper.
    if (_addedItems.size() + added > bound + MaxAddedBeyondBinding) return false;
    std::size_t at = 0;
    std::size_t take = 0;
    switch (edit.action()) {
        case KivoNotifyCollectionChangedActionAdd:
            if (edit.startingIndex() < 0 || static_cast<std::size_t>(edit.startingIndex()) > n) return false;
            at = static_cast<std::size_t>(edit.startingIndex());
            break;
        case KivoNotifyCollectionChangedActionRemove:
            take = removed;
            if (edit.oldStartingIndex() < 0 || static_cast<std::size_t>(edit.oldStartingIndex()) + take > n) return false;
            at = static_cast<std::size_t>(edit.oldStartingIndex());
            break;
        case KivoNotifyCollectionChangedActionReplace: {
            take = removed;
            const std::int64_t start = edit.oldStartingIndex() >= 0 ? edit.oldStartingIndex() : edit.startingIndex();
            if (start < 0 || static_cast<std::size_t>(start) + take > n) return false;
            at = static_cast<std::size_t>(start);
            break;
        }
        default:
            return false;
    }
    if (edit.action() != KivoNotifyCollectionChangedActionRemove || take > 0) {
        // Rows going: their objects belong to no one now.
        auto disownPlaceholder = [&](std::int64_t source) {
            if (!_madeRows.empty())
                if (auto it = _madeRows.find(source); it != _madeRows.end()) disown(*it->second);
        };
        for (std::size_t i = at; i < at + take; ++i) {
            if (const auto placeholder = placeholderAt(i))
                disownPlaceholder(*placeholder);
            else if (auto row = storage[i].as<GridRowCol>())
                disown(*row);
        }
    }
    if (edit.action() != KivoNotifyCollectionChangedActionAdd && take == 0) return true;
    if (edit.action() == KivoNotifyCollectionChangedActionReplace && take == added) {
        // In place: nothing after the replaced rows moves.
        for (std::size_t j = 0; j < added; ++j) {
            storage[at + j] = rowValueFor((*edit.items())[j], spacer);
            if (!place) continue;
            GridRowCol* row = nullptr;
            positions.set(at + j, claim(storage[at + j], row));
            if (row) positions.anchor(*row, at + j);
        }
        _spliced = place;
        _dirty = true;
        return true;
    }
    if (take > 0) {
        storage.erase(storage.begin() + static_cast<std::ptrdiff_t>(at),
                      storage.begin() + static_cast<std::ptrdiff_t>(at + take));
        if (place) positions.erase(at, take);
    }
    if (edit.action() != KivoNotifyCollectionChangedActionRemove && added > 0) {
        plat::Array values;
        values.reserve(added);
        for (const plat::Value& item : *edit.items()) values.push_back(rowValueFor(item, spacer));
        storage.insert(storage.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(values.begin()),
                       std::make_move_iterator(values.end()));
        if (place)
            positions.insert(at, added, [&](std::size_t j) {
                kivo::detail::AxisPositions::Entry entry;
                entry.size = claim(storage[at + j], entry.anchor);
                return entry;
            });
    }
    _spliced = place;
    _dirty = true;
    return true;
}