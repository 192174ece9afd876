#pragma once
// Rows and columns: one base with a flag word, a size with its own limits (-1: the owning collection's
// default) and the index and position the owning collection lays out. GridRow adds the data item;
// GridGroupRow heads a group and collapses it; GridDetailRow carries a master row's detail;
// GridEmptyRow is a spacer. Any change marks the owner's layout stale, drops the cell images it
// affects and redraws the grid.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "OmbriGrid/GridCellRange.h"
#include "OmbriGrid/KivoOmbriGridExport.h"
#include "OmbriGrid/OmbriGridTypes.h"
#include "Platform/foundation/object.h"
#include "Platform/foundation/passkey.h"
#include "Platform/foundation/value.h"

class OmbriGrid;
class GridPanel;
class GridRowColCollection;
namespace kivo::detail {
class GroupCollapse;
class AxisPositions;
struct AxisChunk;
}  // namespace kivo::detail

class KIVO_GRID_EXPORT GridRowCol : public plat::Object {
public:
    ~GridRowCol() override;

    bool visible() const { return _getFlag(GridRowColFlagsVisible); }
    void setVisible(bool v) { _setFlag(GridRowColFlagsVisible, v); }
    bool allowResizing() const { return _getFlag(GridRowColFlagsAllowResizing); }
    void setAllowResizing(bool v) { _setFlag(GridRowColFlagsAllowResizing, v); }
    bool allowDragging() const { return _getFlag(GridRowColFlagsAllowDragging); }
    void setAllowDragging(bool v) { _setFlag(GridRowColFlagsAllowDragging, v); }
    bool allowMerging() const { return _getFlag(GridRowColFlagsAllowMerging); }
    void setAllowMerging(bool v) { _setFlag(GridRowColFlagsAllowMerging, v); }
    bool isSelected() const { return _getFlag(GridRowColFlagsSelected); }
    void setIsSelected(bool v) { _setFlag(GridRowColFlagsSelected, v); }
    bool isReadOnly() const { return _getFlag(GridRowColFlagsReadOnly); }
    void setIsReadOnly(bool v) { _setFlag(GridRowColFlagsReadOnly, v); }
    bool wordWrap() const { return _getFlag(GridRowColFlagsWordWrap); }
    void setWordWrap(bool v) { _setFlag(GridRowColFlagsWordWrap, v); }
    // Shown: visible, and not hidden by a collapsed group above it.
    bool isVisible() const;
    std::uint64_t flags() const { return _flags; }

    std::int32_t size() const { return _size; }
    void setSize(std::int32_t size);
    // What the item really takes on screen. Hidden items take nothing, a negative size stands for the
    // owner's default, and the limits apply last, the owner's then the item's; within each pair the
    // maximum is applied after the minimum, so it decides where the two cross. -1 for an item of
    // default size that no collection has laid out.
    virtual std::int32_t renderSize() const;
    // Laid out first when the owner's layout is stale. -1 for an item in no collection.
    std::int32_t pos() const;
    std::int32_t index() const;
    std::shared_ptr<GridRowColCollection> owner() const { return _owner.lock(); }
    std::shared_ptr<OmbriGrid> grid() const;

    // Marks the owner's layout stale, drops this item's cell images in the cells, column-header and
    // row-header panels, and asks the grid for display. Silent without owner.
    void onPropertyChanged();
    // Called after every change of size; columns announce it.
    virtual void onResize() {}

protected:
    GridRowCol(std::uint64_t flags) : _flags(flags) {}

    bool _getFlag(std::uint64_t mask) const { return (_flags & mask) != 0; }
    // False, changing nothing, when the mask's bits already read as `value`.
    bool _setFlag(std::uint64_t mask, bool value);
    std::int32_t minSizeValue() const { return _minSize; }
    std::int32_t maxSizeValue() const { return _maxSize; }
    // Store and notify when the value differs; false when it did not.
    bool changeMinSize(std::int32_t v);
    bool changeMaxSize(std::int32_t v);
    // The base render size, for overrides that fall back on it.
    std::int32_t limitedRenderSize() const;

public:
    // For the panel, which drops an item's cell images while its collection changes: the index last
    // laid out, without laying anything out.
    KIVO_GRID_NO_EXPORT std::int32_t placedIndex(plat::Passkey<GridPanel>) const { return _placedIndex(); }
    // For the group collapse, which drops every cache at once: a flag change that tells only the
    // owner's layout.
    KIVO_GRID_NO_EXPORT bool setFlagQuietly(plat::Passkey<kivo::detail::GroupCollapse>, std::uint64_t mask, bool value) {
        return _setFlagQuietly(mask, value);
    }
    // For the axis positions, which keep each item's place among their chunks.
    KIVO_GRID_NO_EXPORT kivo::detail::AxisChunk*& chunkSlot(plat::Passkey<kivo::detail::AxisPositions>) { return _chunk; }
    KIVO_GRID_NO_EXPORT kivo::detail::AxisChunk* chunkSlot(plat::Passkey<kivo::detail::AxisPositions>) const { return _chunk; }
    KIVO_GRID_NO_EXPORT std::size_t& offsetSlot(plat::Passkey<kivo::detail::AxisPositions>) { return _offset; }
    KIVO_GRID_NO_EXPORT std::size_t offsetSlot(plat::Passkey<kivo::detail::AxisPositions>) const { return _offset; }

private:
    friend class GridRowColCollection;
    friend class OmbriGrid;
    KIVO_GRID_NO_EXPORT void _setOwner(const std::shared_ptr<GridRowColCollection>& owner);
    // The index the owner's positions hold for this item now, without laying anything out; -1 when
    // it holds none.
    KIVO_GRID_NO_EXPORT std::int32_t _placedIndex() const;
    // A flag change that tells only the owner's layout: the group collapse drops every cache at once.
    KIVO_GRID_NO_EXPORT bool _setFlagQuietly(std::uint64_t mask, bool value);

    std::uint64_t _flags;
    std::weak_ptr<GridRowColCollection> _owner;
    std::int32_t _minSize = -1;
    std::int32_t _maxSize = -1;
    std::int32_t _size = -1;
    // Where the owner's positions keep this item: a chunk of them and the offset in it, so that an
    // insertion or removal elsewhere never has to re-stamp this item.
    kivo::detail::AxisChunk* _chunk = nullptr;
    std::size_t _offset = 0;
    // The placeholder a row was made for while only the application holds it (its item's index in the
    // bound list); -1 once the collection stores the row, or for a row made by the application.
    std::int64_t _source = -1;
};

class KIVO_GRID_EXPORT GridRow : public GridRowCol {
public:
    GridRow() : GridRowCol(GridRowColFlagsVisible | GridRowColFlagsAllowResizing), _identity(nextIdentity()) {}
    explicit GridRow(plat::Value dataItem) : GridRow() { _dataItem = std::move(dataItem); }

    std::int32_t height() const { return size(); }
    // The size, then the cells origin follows (a column-header row sets the header height).
    void setHeight(std::int32_t height);
    std::int32_t minHeight() const { return minSizeValue(); }
    void setMinHeight(std::int32_t v) { changeMinSize(v); }
    std::int32_t maxHeight() const { return maxSizeValue(); }
    void setMaxHeight(std::int32_t v) { changeMaxSize(v); }
    std::int32_t renderHeight() const { return renderSize(); }
    const plat::Value& dataItem() const { return _dataItem; }
    void setDataItem(plat::Value item) { _dataItem = std::move(item); }
    // Given when the row is made, from a process-wide count, and never given again: views kept for a
    // row follow it while indices shift, and a row made after a rebinding never finds an older row's.
    // A row made again for the same bound item (rows are made on request) has the same identity.
    std::uint64_t identity() const { return _identity; }

    // A block of `count` identities no row is given otherwise; the first of them.
    static std::uint64_t reserveIdentities(std::uint64_t count);

private:
    friend class GridRowColCollection;
    KIVO_GRID_NO_EXPORT static std::uint64_t nextIdentity() { return reserveIdentities(1); }

    plat::Value _dataItem;
    std::uint64_t _identity;
};

class KIVO_GRID_EXPORT GridGroupRow : public GridRow {
public:
    GridGroupRow() { setIsReadOnly(true); }

    // All ones until a binding sets the level of the group the row heads.
    std::uint64_t level() const { return _level; }
    void setLevel(std::uint64_t level);
    bool isCollapsed() const { return _getFlag(GridRowColFlagsCollapsed); }
    // Deferred to the main queue, since the collapse is announced through the grid's events: queued
    // calls keep their order, each one seeing what the one before it did. Nothing happens for a grid
    // or row that is gone by the time the queue gets to it.
    void setIsCollapsed(bool collapsed);
    // True without grid or owner; false for the last row, or when the next row is a group row of the
    // same or a higher level.
    bool hasChildren() const;
    // The rows the group covers: its own row to the row before the next group of its level or above.
    std::shared_ptr<GridCellRange> cellRange() const;
    // A negative size takes the owner's group size, without limits.
    std::int32_t renderSize() const override;

private:
    std::uint64_t _level = UINT64_MAX;
};

class KIVO_GRID_EXPORT GridDetailRow : public GridRow {
public:
    // The detail provider's height, 0 while hidden by a collapsed group or without a provider.
    std::int32_t renderSize() const override;
};

class KIVO_GRID_EXPORT GridEmptyRow : public GridRow {};
