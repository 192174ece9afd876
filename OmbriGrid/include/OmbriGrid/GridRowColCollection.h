#pragma once
// The rows or the columns of one panel, laid out along their axis: default, minimum and maximum sizes,
// the frozen items at the start, each item's index and position, the total extent and the item under
// a coordinate. Layout is lazy: a change marks it stale and the next reader brings it up to date, a
// change of one item's size or flags in time that does not grow with the number of items, and never
// while an update batch is open. Listeners of `collectionChanged` always receive a reset.
//
// Insertions, removals and replacements announced by the list are replayed on the positions as edits
// of their own, in time that does not grow with the number of items; a reset, a setting or a batch
// rebuilds them.
//
// A row collection bound to a list of items keeps a placeholder for each row: the item's index in
// that list, which is what the base class reads there. A row object is made on request and held
// weakly: the same object answers while the application holds it, and a row no one holds is made
// again when asked for, so a million plain rows cost no million objects. A row whose size or flags
// change from the defaults is stored in the placeholder's stead, and outlives the application's hold.
// A binding's placeholders are a counting run of the base list, which holds no value apiece: the
// collection's own readers read them as numbers, and only an entry reached by reference takes one.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "KivoCore/KivoObservableArray.h"
#include "OmbriGrid/GridRowCol.h"
#include "OmbriGrid/KivoOmbriGridExport.h"
#include "Platform/foundation/passkey.h"

class OmbriGrid;
class GridPanel;
class GridColumn;
class KivoCollectionView;
namespace kivo::detail {
class AxisPositions;
struct ClipboardRow;
class GridClipboard;
class GridInternals;
class GroupCollapse;
}  // namespace kivo::detail

class KIVO_GRID_EXPORT GridRowColCollection : public KivoObservableArray {
public:
    // A default size below 1 takes the grid's default row size.
    GridRowColCollection(const std::shared_ptr<OmbriGrid>& grid, std::int32_t defaultSize);
    ~GridRowColCollection() override;

    std::shared_ptr<OmbriGrid> grid() const { return _grid.lock(); }
    std::int32_t defaultSize() const { return _defaultSize; }
    // Below 1 stores the grid's default row size.
    void setDefaultSize(std::int32_t size);
    std::int32_t minSize() const { return _minSize; }
    void setMinSize(std::int32_t size);
    std::int32_t maxSize() const { return _maxSize; }  // applied when above 0
    void setMaxSize(std::int32_t size);
    // The stored number, at most the item count. A negative number is refused with a log line.
    std::int32_t frozen() const;
    void setFrozen(std::int32_t frozen);

    // The sum of the render sizes (summed in 64 bits, read saturated at the 32-bit maximum).
    std::int32_t totalSize() const;
    // The item under coordinate p, which stands for [p, p + 1): the item starting at p wins over the
    // one ending there, and an item of size 0 is never the answer while a sized item covers p. Before
    // the start 0, past the end the last index, -1 when empty.
    std::int32_t getIndexAt(std::int32_t p) const;
    // Position and render size of the item at `index` (0 outside), read from the layout without making
    // a row object for a placeholder.
    std::int32_t posAt(std::int64_t index) const;
    std::int32_t renderSizeAt(std::int64_t index) const;
    // The sum of the render sizes of items first…last inclusive, indices outside counting 0.
    std::int64_t renderSizeOf(std::int64_t first, std::int64_t last) const;

    // The item at `index` (made now for a placeholder), null outside.
    std::shared_ptr<GridRowCol> item(std::int64_t index) const;
    // Appends `item`, which belongs here at once, also inside a batch.
    void push(const std::shared_ptr<GridRowCol>& item);
    // The panel that shows this collection, looked for among the cells, top-left, column-header and
    // row-header panels in this order; null when none.
    std::shared_ptr<GridPanel> gridPanel() const;

    // Lookups by identity that know a row made for a placeholder: the list holds the placeholder, and
    // the row stands for it. (They hide the list's own lookups, which compare stored values only.)
    std::size_t indexOfObject(const plat::Value& item) const;
    bool containsObject(const plat::Value& item) const { return indexOfObject(item) != plat::NotFound; }
    void removeObject(const plat::Value& item);

    void onCollectionChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) override;

    // For the group collapse: one item's flags changed, and its render size is brought up to date at
    // the next layout.
    KIVO_GRID_NO_EXPORT void itemChanged(plat::Passkey<kivo::detail::GroupCollapse>, const GridRowCol& item) const {
        _itemChanged(item);
    }
    // For the library's internal-access class: whether the layout is stale, and bringing it up to date
    // (true when it ran).
    KIVO_GRID_NO_EXPORT bool layoutIsStale(plat::Passkey<kivo::detail::GridInternals>) const { return isDirty(); }
    KIVO_GRID_NO_EXPORT bool layOut(plat::Passkey<kivo::detail::GridInternals>) const { return _update(); }
    KIVO_GRID_NO_EXPORT void markLayoutStale(plat::Passkey<kivo::detail::GridInternals>) const { _setDirty(true); }
    // For the items, which ask for their place and tell of their changes: an item's index after the
    // layout, the index laid out last without laying anything out, a change of its size or flags, and a
    // row made for a placeholder going.
    KIVO_GRID_NO_EXPORT std::int32_t indexOfItem(plat::Passkey<GridRowCol>, const GridRowCol& item) const {
        _update();
        return currentIndexOf(item);
    }
    KIVO_GRID_NO_EXPORT std::int32_t placedIndexOfItem(plat::Passkey<GridRowCol>, const GridRowCol& item) const {
        return placedIndexOf(item);
    }
    KIVO_GRID_NO_EXPORT void itemPropertyChanged(plat::Passkey<GridRowCol>, const GridRowCol& item) const { _itemChanged(item); }
    KIVO_GRID_NO_EXPORT void forgetMadeRow(plat::Passkey<GridRowCol>, const GridRowCol& row) const { forgetMade(row); }
    // True when the items' sizes place the cells (header rows or columns) and the collection is not
    // laying itself out, which reads the sizes it writes.
    KIVO_GRID_NO_EXPORT bool sizesPlaceCells(plat::Passkey<GridRowCol>) const { return isHeaderAxis() && !_laying; }

protected:
    // Lays the items out when stale and no batch is open; true when it ran.
    bool _update() const;
    void _setDirty(bool dirty) const;
    bool isDirty() const { return _dirty; }
    // The layout proper; the column collection distributes the star widths first.
    virtual void _layout() const;
    // Rebuilds every item's render size and place.
    void relayoutAll() const;
    // A setting of the collection changed: every render size is rebuilt, and the grid redraws.
    void settingChanged();
    // The header rows or header columns, whose sizes place the cells: not the cells' own axis.
    bool isHeaderAxis() const;
    // The render size of a placeholder row: a plain row of default size.
    std::int32_t placeholderRenderSize() const;
    // Lets go of the rows made for placeholders: a new list's placeholders mean other items.
    void forgetMadeRows();

private:
    // One item's size or flags changed: its render size is brought up to date at the next layout.
    KIVO_GRID_NO_EXPORT void _itemChanged(const GridRowCol& item) const;
    // The index the positions hold for `item` now, without laying out; -1 when they hold none.
    KIVO_GRID_NO_EXPORT std::int32_t placedIndexOf(const GridRowCol& item) const;
    // The index of `item` now, without laying out: where the positions hold it, or, while they do not
    // follow the list (inside a batch), where the list holds it or its placeholder; -1 when nowhere.
    KIVO_GRID_NO_EXPORT std::int32_t currentIndexOf(const GridRowCol& item) const;
    // The row `item` holds when it was made for a placeholder of this collection, else null.
    KIVO_GRID_NO_EXPORT const GridRowCol* madeRowOf(const plat::Value& item) const;
    // Replays an announced insertion, removal or replacement on the positions; false when they must
    // be rebuilt instead.
    KIVO_GRID_NO_EXPORT bool replayEdit(const KivoNotifyCollectionChangedEventArgs& args);
    // Makes `row` one of this collection's items: its owner from now on.
    KIVO_GRID_NO_EXPORT void adopt(GridRowCol& row) const;
    // Adopts the rows an announced change put into the list.
    KIVO_GRID_NO_EXPORT void adoptEntered(const KivoNotifyCollectionChangedEventArgs& args);
    KIVO_GRID_NO_EXPORT std::shared_ptr<GridRowColCollection> self() const;
    // True while the positions stand one to one for the list, as they were last told.
    KIVO_GRID_NO_EXPORT bool placesFollowTheList() const;
    // A row made for a placeholder changed: it is stored in the placeholder's stead, now or, while
    // the positions cannot find it, at the next rebuild.
    KIVO_GRID_NO_EXPORT void keep(GridRowCol& row) const;
    KIVO_GRID_NO_EXPORT void store(GridRowCol& row) const;
    // A row made for a placeholder goes.
    KIVO_GRID_NO_EXPORT void forgetMade(const GridRowCol& row) const;

    std::weak_ptr<OmbriGrid> _grid;
    std::int32_t _frozen = 0;
    std::int32_t _defaultSize;
    std::int32_t _minSize = 0;
    std::int32_t _maxSize = 0;
    mutable bool _laying = false;
    // Made rows that changed while the positions could not place them, stored by the next rebuild.
    mutable std::vector<std::shared_ptr<GridRowCol>> _keepLater;

protected:
    // The row collection's binding edits the list and its positions itself.
    // A made row whose placeholder left the list belongs to the application alone.
    KIVO_GRID_NO_EXPORT void disown(GridRowCol& row) const;
    // Makes `value` one of this collection's items and gives its render size and the row to place.
    KIVO_GRID_NO_EXPORT std::int32_t claim(const plat::Value& value, GridRowCol*& row) const;
    // The same for the entry at `index` of the list, a placeholder of a counting run read as its number.
    KIVO_GRID_NO_EXPORT std::int32_t claimAt(std::size_t index, GridRowCol*& row) const;
    // The same for placeholder `source`.
    KIVO_GRID_NO_EXPORT std::int32_t claimPlaceholder(std::int64_t source, GridRowCol*& row) const;
    // The placeholder at `index` (below the count), read from a counting run without making its values;
    // none for a stored row.
    KIVO_GRID_NO_EXPORT std::optional<std::int64_t> placeholderAt(std::size_t index) const;
    mutable bool _dirty = false;
    // Every index and size is rebuilt at the next layout (the items themselves changed).
    mutable bool _structureStale = true;
    mutable std::unique_ptr<kivo::detail::AxisPositions> _positions;
    // Items whose render size changed since the last layout; held weakly, as an item may leave and
    // go before the layout runs.
    mutable std::vector<std::weak_ptr<const plat::Object>> _pending;
    // Rows made for placeholders and held by the application alone, by placeholder; each takes
    // itself out as it goes.
    mutable std::unordered_map<std::int64_t, GridRowCol*> _madeRows;

    // The item a placeholder stands for: first the list bound last in full, then the items added since.
    plat::Value placeholderItem(std::int64_t source) const;

    // The source list placeholders index into (rows only).
    plat::ArrayPtr _placeholderItems;
    // Items added to the bound list since, one by one; their placeholders follow the list's.
    plat::Array _addedItems;
    // Identities of the rows made for placeholders: the first of a block kept for this binding, one
    // per source, so a row made again for the same placeholder is the same row to whoever keeps views
    // for it. Sources reach at most twice the bound list plus the items added before a rebinding.
    std::uint64_t _identityBase = 0;
    // The rows stand for the bound view's items as a full flat binding of it would make them; any edit
    // that the binding did not make ends it.
    bool _mirrorsView = false;
    // The list holds exactly one placeholder per bound item, in order: no spacer, no stored row, no
    // item added since.
    mutable bool _plainPlaceholders = false;
    // While set, placeholders are positions in this view's visible list, read from it as asked: the
    // rows of a view that only changed its order need no list of their own.
    std::weak_ptr<KivoCollectionView> _readsView;
    // The view read is one a header tap reordered under rows bound before, not one bound in full.
    bool _readsReorder = false;
    // The binding is editing the rows.
    bool _binding = false;
    // The positions are up to date for the batch now closing: they followed its edits one by one, or
    // its reorder left every place as it was.
    bool _spliced = false;
};

class KIVO_GRID_EXPORT GridColumnCollection : public GridRowColCollection {
public:
    using GridRowColCollection::GridRowColCollection;

    std::shared_ptr<GridColumn> column(std::int64_t index) const;
    // The first column bound to `key` (paths compare by value); null when none.
    std::shared_ptr<GridColumn> objectForKeyedSubscript(const std::string& key) const;

protected:
    // Fixed columns take their widths; star columns share what is left of the client width by weight
    // (a weight that is not positive and finite counts 0), the last one taking the remainder; no
    // share is ever below 0.
    void _layout() const override;
};

class KIVO_GRID_EXPORT GridRowCollection : public GridColumnCollection {
public:
    GridRowCollection(const std::shared_ptr<OmbriGrid>& grid, std::int32_t defaultSize);

    std::shared_ptr<GridRow> row(std::int64_t index) const;
    std::int32_t defaultGroupSize() const { return _defaultGroupSize; }
    // Below 1 stores the grid's default row size.
    void setDefaultGroupSize(std::int32_t size);

    // Points `view` at row `index`, reading a plain bound row without making its object: copying or
    // pasting many rows would make and drop one per row.
    KIVO_GRID_NO_EXPORT void viewRow(plat::Passkey<kivo::detail::GridClipboard>, kivo::detail::ClipboardRow& view,
                                     std::int32_t index) const;

protected:
    // Rows lay out as the base does: no star sizes.
    void _layout() const override { GridRowColCollection::_layout(); }

public:
    // The height of the spacer row an item asks for, or none for an item that binds a plain row.
    using SpacerTest = std::optional<std::int32_t> (*)(const plat::Value& item);

    // For the grid's binding, which makes and follows the rows: the entries below, and whether the
    // rows mirror the bound view and are being edited by the binding.
    KIVO_GRID_NO_EXPORT void bindItems(plat::Passkey<OmbriGrid>, const plat::ArrayPtr& items) { _bindItems(items); }
    KIVO_GRID_NO_EXPORT void bindView(plat::Passkey<OmbriGrid>, const std::shared_ptr<KivoCollectionView>& view,
                                      SpacerTest spacer) {
        _bindView(view, spacer);
    }
    KIVO_GRID_NO_EXPORT bool keepItemsBefore(plat::Passkey<OmbriGrid>, const KivoNotifyCollectionChangedEventArgs& edit) {
        return keepItemsBefore(edit);
    }
    KIVO_GRID_NO_EXPORT bool reorderedAs(plat::Passkey<OmbriGrid>, const std::shared_ptr<KivoCollectionView>& view) {
        return _reorderedAs(view);
    }
    KIVO_GRID_NO_EXPORT bool followEdit(plat::Passkey<OmbriGrid>, const KivoNotifyCollectionChangedEventArgs& edit,
                                        SpacerTest spacer) {
        return _followEdit(edit, spacer);
    }
    KIVO_GRID_NO_EXPORT bool& mirrorsView(plat::Passkey<OmbriGrid>) { return _mirrorsView; }
    KIVO_GRID_NO_EXPORT bool mirrorsView(plat::Passkey<OmbriGrid>) const { return _mirrorsView; }
    KIVO_GRID_NO_EXPORT bool& binding(plat::Passkey<OmbriGrid>) { return _binding; }
    // For the library's internal-access class: one placeholder row per item of `items`, as a binding
    // of a plain list makes them.
    KIVO_GRID_NO_EXPORT void bindList(plat::Passkey<kivo::detail::GridInternals>, const plat::ArrayPtr& items) {
        _bindItems(items);
    }
    // Whether the rows read their items from a view where they stand, after a header tap's re-sort.
    KIVO_GRID_NO_EXPORT bool readsReorderedView(plat::Passkey<kivo::detail::GridInternals>) const {
        return !_readsView.expired() && _readsReorder;
    }

private:
    // Replaces every row by one placeholder per item of `items` (a spacer row where `spacer` says so),
    // inside one batch (one reset).
    KIVO_GRID_NO_EXPORT void _bindItems(const plat::ArrayPtr& items, SpacerTest spacer = nullptr);
    // The same for the visible items of `view`, read from it by position: the placeholders stand for
    // its positions until the first edit followed, so binding makes no list of the items.
    KIVO_GRID_NO_EXPORT void _bindView(const std::shared_ptr<KivoCollectionView>& view, SpacerTest spacer);
    // Both: `n` placeholders for the items of `items`, or of `view` by position; `list`, when given,
    // holds them in order to read by reference.
    KIVO_GRID_NO_EXPORT void bindPlaceholders(const plat::ArrayPtr& items, const std::shared_ptr<KivoCollectionView>& view,
                                              std::size_t n, const plat::Array* list, SpacerTest spacer);
    // Before the first edit followed on placeholders that read the view: the list they stood for, made
    // again from the view and the edit; false when the two do not agree.
    KIVO_GRID_NO_EXPORT bool keepItemsBefore(const KivoNotifyCollectionChangedEventArgs& edit);
    // Rows that mirror `view` with plain placeholders, after the view changed its order and nothing
    // else: the same placeholders now stand for the items at their positions in the view. The rows'
    // made rows go; inside the caller's batch. False, changing nothing, when the rows must be rebuilt.
    KIVO_GRID_NO_EXPORT bool _reorderedAs(const std::shared_ptr<KivoCollectionView>& view);
    // Applies one add, remove or replace announced by the bound flat view to the rows that mirror it,
    // inside the batch the caller holds open, in time that does not grow with the row count; false,
    // changing nothing, when the rows must be rebuilt instead.
    KIVO_GRID_NO_EXPORT bool _followEdit(const KivoNotifyCollectionChangedEventArgs& edit, SpacerTest spacer);
    // The value a new row for `item` takes in the list: a spacer row, or a placeholder.
    KIVO_GRID_NO_EXPORT plat::Value rowValueFor(const plat::Value& item, SpacerTest spacer);

    std::int32_t _defaultGroupSize;
};
