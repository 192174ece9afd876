// The collection view's editing operations. Each applies to the source list and to the visible list
// (no re-sort or re-filter until a refresh) and announces what changed in the visible list, with
// visible indices, so that a control mirroring `items` stays exact even with a filter or sort in force.

#include <algorithm>
#include <string>

#include "KivoCore/KivoCollectionView.h"
#include "Platform/foundation/log.h"
#include "collection/CollectionViewSupport.h"
#include "collection/EditSnapshot.h"
#include "collection/GroupBuilder.h"

using kivo::detail::indexOfEqual;
using kivo::detail::indexOfIdentical;

namespace {

plat::ArrayPtr listOf(const plat::Value& item) { return std::make_shared<plat::Array>(plat::Array{item}); }

std::int64_t signedIndex(size_t i) { return static_cast<std::int64_t>(i); }

}  // namespace

plat::Array& KivoCollectionView::mutableSource() {
    if (!_sourceCollection) _sourceCollection = std::make_shared<plat::Array>();
    return *_sourceCollection;
}

void KivoCollectionView::visibleListEdited() {
    _currentPosition = std::min(_currentPosition, itemCount() - 1);
    // Regrouping a large list costs as much as a refresh: do it once, when the groups are next read.
    if (_groupDescriptions->count() > 0 || !_groups.empty()) _groupsStale = true;
}

// ---- adding a new item ----

plat::Value KivoCollectionView::addNew() {
    commitEdit();
    commitNew();
    plat::Value item;
    if (_newItemCreator) {
        item = _newItemCreator();
    } else if (!_items->empty()) {
        item = kivo::detail::defaultInstanceLike((*_items)[0]);
        if (item.isNil() && (*_items)[0].isObject())
            plat::log("KivoCollectionView addNew: cannot make a " + (*_items)[0].asObject()->className() +
                      " without a newItemCreator");
    }
    if (item.isNil()) return {};
    mutableSource().push_back(item);
    size_t index = _items->size();
    _items->push_back(item);
    _currentAddItem = item;
    visibleListEdited();
    raiseCollectionChanged(KivoNotifyCollectionChangedActionAdd, listOf(item), signedIndex(index), nullptr, -1);
    moveCurrentTo(item);
    return _currentAddItem;
}

void KivoCollectionView::commitNew() {
    if (!isAddingNew()) return;
    _currentAddItem = {};
    refresh();
}

void KivoCollectionView::cancelNew() {
    if (!isAddingNew()) return;
    plat::Value item = std::exchange(_currentAddItem, {});
    remove(item);
}

// ---- editing an item ----

void KivoCollectionView::editItem(const plat::Value& item) {
    if (item.isNil() || (isEditingItem() && _currentEditItem.isIdentical(item))) return;
    // Only a visible item can be edited: moving to an absent one would merely clear the current item.
    size_t index = indexOfEqual(*_items, item);
    if (index == plat::NotFound || !moveCurrentToPosition(static_cast<std::int32_t>(index))) return;
    commitEdit();
    _currentEditItem = item;
    _editClone = std::make_unique<kivo::detail::EditSnapshot>(kivo::detail::EditSnapshot::take(item));
}

void KivoCollectionView::commitEdit() {
    if (!isEditingItem()) return;
    _currentEditItem = {};
    _editClone.reset();
    refresh();
}

void KivoCollectionView::cancelEdit() {
    if (!isEditingItem()) return;
    // The application's own object keeps its place; only its values go back to where they were.
    plat::Value item = std::exchange(_currentEditItem, {});
    auto clone = std::move(_editClone);
    if (clone) clone->restoreTo(item);
    raiseCollectionChanged();
}

// ---- adding and removing ----

void KivoCollectionView::appendItems(const plat::Array& added) {
    if (added.empty()) return;
    auto list = std::make_shared<plat::Array>(added);  // also guards against `added` aliasing our lists
    plat::Array& source = mutableSource();
    source.insert(source.end(), list->begin(), list->end());
    size_t start = _items->size();
    _items->insert(_items->end(), list->begin(), list->end());
    visibleListEdited();
    raiseCollectionChanged(KivoNotifyCollectionChangedActionAdd, list, signedIndex(start), nullptr, -1);
}

void KivoCollectionView::addObject(const plat::Value& item) { appendItems(plat::Array{item}); }

void KivoCollectionView::addObjects(const plat::Array& items) { appendItems(items); }

void KivoCollectionView::insertObject(const plat::Value& given, std::size_t index) {
    const plat::Value item = given;  // may be an entry of the lists changed below
    plat::Array& source = mutableSource();
    if (index > source.size()) {
        plat::log("KivoCollectionView insertObject: index " + std::to_string(index) + " beyond bounds [0 .. " +
                  std::to_string(source.size()) + "], ignored");
        return;
    }
    source.insert(source.begin() + static_cast<std::ptrdiff_t>(index), item);
    // With a filter or sort in force the visible list is shorter or ordered otherwise: the item goes
    // at the same index when there is one, else at the end.
    size_t visibleIndex = std::min(index, _items->size());
    _items->insert(_items->begin() + static_cast<std::ptrdiff_t>(visibleIndex), item);
    visibleListEdited();
    raiseCollectionChanged(KivoNotifyCollectionChangedActionAdd, listOf(item), signedIndex(visibleIndex), nullptr, -1);
}

void KivoCollectionView::replaceObjectAtIndex(std::size_t index, const plat::Value& given) {
    const plat::Value item = given;  // may be an entry of the lists changed below
    plat::Array& source = mutableSource();
    if (index >= source.size()) {
        plat::log("KivoCollectionView replaceObjectAtIndex: index " + std::to_string(index) + " beyond bounds [0 .. " +
                  std::to_string(source.size()) + "), ignored");
        return;
    }
    plat::Value old = std::exchange(source[index], item);
    // The visible list holds the old item at the same index when it mirrors the source; otherwise it
    // is wherever it was sorted to, or nowhere when filtered out (then nothing visible changes).
    size_t visibleIndex = index < _items->size() && (*_items)[index].isIdentical(old) ? index : indexOfIdentical(*_items, old);
    if (visibleIndex == plat::NotFound) return;
    (*_items)[visibleIndex] = item;
    visibleListEdited();
    raiseCollectionChanged(KivoNotifyCollectionChangedActionReplace, listOf(item), -1, listOf(old), signedIndex(visibleIndex));
}

void KivoCollectionView::remove(const plat::Value& given) {
    const plat::Value item = given;  // may be an entry of the lists changed below
    if (isAddingNew() && _currentAddItem.isIdentical(item)) {
        cancelNew();  // which removes it
        return;
    }
    if (isEditingItem() && _currentEditItem.isIdentical(item)) cancelEdit();
    if (!_sourceCollection) return;
    plat::Array& source = *_sourceCollection;
    size_t sourceIndex = indexOfEqual(source, item);
    if (sourceIndex == plat::NotFound) return;
    source.erase(source.begin() + static_cast<std::ptrdiff_t>(sourceIndex));
    size_t visibleIndex = indexOfEqual(*_items, item);
    if (visibleIndex == plat::NotFound) return;  // filtered out: nothing visible changes
    plat::Value removed = (*_items)[visibleIndex];
    _items->erase(_items->begin() + static_cast<std::ptrdiff_t>(visibleIndex));
    visibleListEdited();
    raiseCollectionChanged(KivoNotifyCollectionChangedActionRemove, nullptr, -1, listOf(removed), signedIndex(visibleIndex));
}

void KivoCollectionView::removeAt(std::int32_t index) {
    if (index < 0 || index >= itemCount()) return;
    plat::Value item = (*_items)[static_cast<size_t>(index)];
    remove(item);
}

void KivoCollectionView::removeAllObjects() {
    if (_sourceCollection) _sourceCollection->clear();
    _items->clear();
    visibleListEdited();
    raiseCollectionChanged(KivoNotifyCollectionChangedActionReset, nullptr, -1, nullptr, -1);
}
