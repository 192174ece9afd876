// The collection view's editing operations. Each applies to the source list and to the visible list
// (no re-sort or re-filter until a refresh), keeps the groups in step, and announces what changed in
// the visible list, with visible indices, so that a control mirroring `items` stays exact even with a
// filter or sort in force.

#include <algorithm>
#include <string>

#include "KivoCore/KivoCollectionView.h"
#include "Platform/foundation/log.h"
#include "collection/CollectionViewSupport.h"
#include "collection/EditSnapshot.h"
#include "collection/GroupTree.h"

using kivo::detail::indexOfEqual;
using kivo::detail::indexOfIdentical;

namespace {

plat::ArrayPtr listOf(const plat::Value& item) { return std::make_shared<plat::Array>(plat::Array{item}); }

std::int64_t signedIndex(size_t i) { return static_cast<std::int64_t>(i); }

// A list with [at, at + removed) replaced by `inserted`, without making it.
class SplicedItems : public kivo::detail::ItemSequence {
public:
    SplicedItems(const plat::Array& base, size_t at, size_t removed, const plat::Array& inserted)
        : _base(base), _at(at), _removed(removed), _inserted(inserted) {}
    size_t size() const override { return _base.size() - _removed + _inserted.size(); }
    const plat::Value& at(size_t i) const override {
        if (i >= _at && i - _at < _inserted.size()) return _inserted[i - _at];
        size_t j = i < _at ? i : i - _inserted.size() + _removed;
        return j < _base.size() ? _base[j] : Nil;
    }

private:
    const plat::Array& _base;
    size_t _at, _removed;
    const plat::Array& _inserted;
};

}  // namespace

plat::Array& KivoCollectionView::mutableSource() {
    if (!_sourceCollection) _sourceCollection = std::make_shared<plat::Array>();
    return *_sourceCollection;
}

void KivoCollectionView::clampPosition() { _currentPosition = std::min(_currentPosition, itemCount() - 1); }

// ---- the groups of an edit ----

bool KivoCollectionView::prepareGroups(kivo::detail::GroupEdit& edit, size_t at, size_t removed, const plat::Array& inserted,
                                       const char* operation) {
    kivo::detail::GroupTree& tree = *_groupTree;
    if (!tree.hasLevels()) return true;
    const size_t visible = _items->size(), source = _sourceCollection ? _sourceCollection->size() : 0;
    std::string failure;
    {
        kivo::detail::ScopedFlag busy(_busy);
        try {
            bool inStep = tree.itemCount() == visible;
            if (inStep && tree.editsInPlace()) edit.names = tree.nameItems(inserted);
            // Naming may have met a nil name, after which only building again is sure to be right.
            if (!inStep || !tree.editsInPlace()) {
                edit.names.clear();
                edit.rebuilt = std::make_unique<kivo::detail::GroupTree>(tree.descriptions());
                edit.rebuilt->build(SplicedItems(*_items, at, removed, inserted));
            }
        } catch (const std::exception& e) {
            failure = e.what();
        } catch (...) {
            failure = "an exception of an unknown type";
        }
    }
    if (failure.empty() && (_items->size() != visible || (_sourceCollection ? _sourceCollection->size() : 0) != source))
        failure = "the lists changed while the groups were worked out";
    if (failure.empty()) return true;
    plat::log(std::string("KivoCollectionView ") + operation + " failed: " + failure + "; nothing changed");
    return false;
}

void KivoCollectionView::commitGroups(kivo::detail::GroupEdit& edit, size_t at, size_t removed, const plat::Array& inserted) {
    if (edit.rebuilt)
        _groupTree = std::move(edit.rebuilt);
    else if (_groupTree->hasLevels())
        _groupTree->splice(at, removed, inserted, edit.names);
}

// ---- adding a new item ----

plat::Value KivoCollectionView::addNew() {
    if (refusedWhileBusy("addNew")) return {};
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
    _currentAddItem = item;  // pending already when its add is announced
    if (!appendItems(plat::Array{item}, "addNew")) {
        _currentAddItem = {};
        return {};
    }
    moveCurrentTo(item);
    return _currentAddItem;
}

void KivoCollectionView::commitNew() {
    if (!isAddingNew() || refusedWhileBusy("commitNew")) return;
    _currentAddItem = {};
    refresh();
}

void KivoCollectionView::cancelNew() {
    if (!isAddingNew() || refusedWhileBusy("cancelNew")) return;
    plat::Value item = std::exchange(_currentAddItem, {});
    remove(item);
}

// ---- editing an item ----

void KivoCollectionView::editItem(const plat::Value& item) {
    if (item.isNil() || (isEditingItem() && _currentEditItem.isIdentical(item)) || refusedWhileBusy("editItem")) return;
    // Only a visible item can be edited: moving to an absent one would merely clear the current item.
    size_t index = indexOfEqual(*_items, item);
    if (index == plat::NotFound) {
        plat::log("KivoCollectionView editItem: " + item.description() + " is not in the view, no edit begun");
        return;
    }
    if (!moveCurrentToPosition(static_cast<std::int32_t>(index))) return;
    commitEdit();
    _currentEditItem = item;
    _editClone = std::make_unique<kivo::detail::EditSnapshot>(kivo::detail::EditSnapshot::take(item));
}

void KivoCollectionView::commitEdit() {
    if (!isEditingItem() || refusedWhileBusy("commitEdit")) return;
    _currentEditItem = {};
    _editClone.reset();
    refresh();
}

void KivoCollectionView::cancelEdit() {
    if (!isEditingItem() || refusedWhileBusy("cancelEdit")) return;
    // The application's own object keeps its place; only its values go back to where they were.
    plat::Value item = std::exchange(_currentEditItem, {});
    auto clone = std::move(_editClone);
    if (clone) clone->restoreTo(item);
    raiseCollectionChanged();
}

// ---- adding and removing ----

bool KivoCollectionView::appendItems(const plat::Array& added, const char* operation) {
    if (refusedWhileBusy(operation)) return false;
    auto list = std::make_shared<plat::Array>(added);  // also guards against `added` aliasing our lists
    size_t start = _items->size();
    kivo::detail::GroupEdit groups;
    if (!prepareGroups(groups, start, 0, *list, operation)) return false;
    plat::Array& source = mutableSource();
    source.insert(source.end(), list->begin(), list->end());
    _items->insert(_items->end(), list->begin(), list->end());
    commitGroups(groups, start, 0, *list);
    clampPosition();
    raiseCollectionChanged(KivoNotifyCollectionChangedActionAdd, list, signedIndex(start), nullptr, -1);
    return true;
}

void KivoCollectionView::addObject(const plat::Value& item) { appendItems(plat::Array{item}, "addObject"); }

void KivoCollectionView::addObjects(const plat::Array& items) { appendItems(items, "addObjects"); }

void KivoCollectionView::insertObject(const plat::Value& given, std::size_t index) {
    if (refusedWhileBusy("insertObject")) return;
    const plat::Array inserted{given};  // `given` may be an entry of the lists changed below
    plat::Array& source = mutableSource();
    if (index > source.size()) {
        plat::log("KivoCollectionView insertObject: index " + std::to_string(index) + " beyond bounds [0 .. " +
                  std::to_string(source.size()) + "], ignored");
        return;
    }
    // With a filter or sort in force the visible list is shorter or ordered otherwise: the item goes
    // at the same index when there is one, else at the end.
    size_t visibleIndex = std::min(index, _items->size());
    kivo::detail::GroupEdit groups;
    if (!prepareGroups(groups, visibleIndex, 0, inserted, "insertObject")) return;
    source.insert(source.begin() + static_cast<std::ptrdiff_t>(index), inserted[0]);
    _items->insert(_items->begin() + static_cast<std::ptrdiff_t>(visibleIndex), inserted[0]);
    commitGroups(groups, visibleIndex, 0, inserted);
    clampPosition();
    raiseCollectionChanged(KivoNotifyCollectionChangedActionAdd, listOf(inserted[0]), signedIndex(visibleIndex), nullptr, -1);
}

void KivoCollectionView::replaceObjectAtIndex(std::size_t index, const plat::Value& given) {
    if (refusedWhileBusy("replaceObjectAtIndex")) return;
    const plat::Array inserted{given};  // `given` may be an entry of the lists changed below
    plat::Array& source = mutableSource();
    if (index >= source.size()) {
        plat::log("KivoCollectionView replaceObjectAtIndex: index " + std::to_string(index) + " beyond bounds [0 .. " +
                  std::to_string(source.size()) + "), ignored");
        return;
    }
    const plat::Value old = source[index];
    // The visible list holds the old item at the same index when it mirrors the source; otherwise it
    // is wherever it was sorted to, or nowhere when filtered out (then nothing visible changes).
    size_t visibleIndex = index < _items->size() && (*_items)[index].isIdentical(old) ? index : indexOfIdentical(*_items, old);
    if (visibleIndex == plat::NotFound) {
        source[index] = inserted[0];
        return;
    }
    kivo::detail::GroupEdit groups;
    if (!prepareGroups(groups, visibleIndex, 1, inserted, "replaceObjectAtIndex")) return;
    source[index] = inserted[0];
    (*_items)[visibleIndex] = inserted[0];
    commitGroups(groups, visibleIndex, 1, inserted);
    raiseCollectionChanged(KivoNotifyCollectionChangedActionReplace, listOf(inserted[0]), -1, listOf(old),
                           signedIndex(visibleIndex));
}

void KivoCollectionView::remove(const plat::Value& given) {
    if (refusedWhileBusy("remove")) return;
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
    size_t visibleIndex = indexOfEqual(*_items, item);
    if (visibleIndex == plat::NotFound) {  // filtered out: nothing visible changes
        source.erase(source.begin() + static_cast<std::ptrdiff_t>(sourceIndex));
        return;
    }
    kivo::detail::GroupEdit groups;
    if (!prepareGroups(groups, visibleIndex, 1, {}, "remove")) return;
    plat::Value removed = (*_items)[visibleIndex];
    source.erase(source.begin() + static_cast<std::ptrdiff_t>(sourceIndex));
    _items->erase(_items->begin() + static_cast<std::ptrdiff_t>(visibleIndex));
    commitGroups(groups, visibleIndex, 1, {});
    clampPosition();
    raiseCollectionChanged(KivoNotifyCollectionChangedActionRemove, nullptr, -1, listOf(removed), signedIndex(visibleIndex));
}

void KivoCollectionView::removeAt(std::int32_t index) {
    if (index < 0 || index >= itemCount()) return;
    plat::Value item = (*_items)[static_cast<size_t>(index)];
    remove(item);
}

void KivoCollectionView::removeAllObjects() {
    if (refusedWhileBusy("removeAllObjects")) return;
    if (_sourceCollection) _sourceCollection->clear();
    _items->clear();
    _groupTree->clear();
    clampPosition();
    raiseCollectionChanged(KivoNotifyCollectionChangedActionReset, nullptr, -1, nullptr, -1);
}
