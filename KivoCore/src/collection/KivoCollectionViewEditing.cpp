// The collection view's editing operations. Each applies to the source list and to the visible list
// (no re-sort or re-filter until a refresh), keeps the groups in step, and announces what changed in
// the visible list, with visible indices, so that a control mirroring `items` stays exact even with a
// filter or sort in force. Edits by position go straight to their entries: nothing is looked for.

#include <algorithm>
#include <string>

#include "KivoCore/KivoCollectionView.h"
#include "Platform/foundation/log.h"
#include "collection/CollectionViewSupport.h"
#include "collection/EditSnapshot.h"
#include "collection/GroupTree.h"
#include "collection/VisibleList.h"

using kivo::detail::indexOfEqual;

namespace {

plat::ArrayPtr listOf(const plat::Value& item) { return std::make_shared<plat::Array>(plat::Array{item}); }

std::int64_t signedIndex(size_t i) { return static_cast<std::int64_t>(i); }

// The visible list with [at, at + removed) replaced by `inserted`, without making it.
class SplicedItems : public kivo::detail::ItemSequence {
public:
    SplicedItems(const kivo::detail::VisibleList& base, size_t at, size_t removed, const plat::Array& inserted)
        : _base(base), _at(at), _removed(removed), _inserted(inserted) {}
    size_t size() const override { return _base.size() - _removed + _inserted.size(); }
    const plat::Value& at(size_t i) const override {
        if (i >= _at && i - _at < _inserted.size()) return _inserted[i - _at];
        size_t j = i < _at ? i : i - _inserted.size() + _removed;
        return j < _base.size() ? _base.at(j) : Nil;
    }

private:
    const kivo::detail::VisibleList& _base;
    size_t _at, _removed;
    const plat::Array& _inserted;
};

}  // namespace

plat::Array& KivoCollectionView::mutableSource() {
    if (!_sourceCollection) _sourceCollection = std::make_shared<plat::Array>();
    return *_sourceCollection;
}

void KivoCollectionView::prepareBase() {
    mutableSource();
    if (_visible->base() == _sourceCollection) return;
    // The visible list shows another list's items (the source was replaced while refreshes were held
    // back): it keeps them in a copy of its own, unless there are none to keep.
    if (visibleCount() == 0)
        _visible->rebind(_sourceCollection);
    else if (!_visible->ownsBase())
        _visible->takeOwnCopy();
}

void KivoCollectionView::visibleChanged() {
    _shelf->retire(std::move(_items));
    _currentPosition = std::min(_currentPosition, itemCount() - 1);
}

// ---- the groups of an edit ----

bool KivoCollectionView::prepareGroups(kivo::detail::GroupEdit& edit, size_t at, size_t removed, const plat::Array& inserted,
                                       const char* operation) {
    kivo::detail::GroupTree& tree = *_groupTree;
    if (!tree.hasLevels()) return true;
    const size_t visible = visibleCount(), source = _sourceCollection ? _sourceCollection->size() : 0;
    std::string failure;
    {
        kivo::detail::ScopedFlag busy(_busy);
        try {
            bool inStep = tree.itemCount() == visible;
            if (inStep && tree.editsInPlace()) edit.names = tree.nameItems(inserted);
            // Naming may have met an item with no name, after which only building again is sure to be right.
            if (!inStep || !tree.editsInPlace()) {
                edit.names.clear();
                edit.rebuilt = std::make_unique<kivo::detail::GroupTree>(tree.descriptions(), *_visible, _shelf);
                const kivo::detail::BaseGuard guard(*_visible->base());
                edit.rebuilt->build(SplicedItems(*_visible, at, removed, inserted), &guard);
            }
        } catch (const kivo::detail::BaseListChanged&) {
            failure = "the lists changed while the groups were worked out";
        } catch (...) {
            failure = kivo::detail::describeException(std::current_exception());
        }
    }
    if (failure.empty() && (visibleCount() != visible || (_sourceCollection ? _sourceCollection->size() : 0) != source))
        failure = "the lists changed while the groups were worked out";
    if (failure.empty()) return true;
    edit.rebuilt.reset();
    plat::log(std::string("KivoCollectionView ") + operation + " failed: " + failure + "; nothing changed");
    return false;
}

// Before the lists change: a tree let go of here may still read its groups' items from them.
void KivoCollectionView::commitGroups(kivo::detail::GroupEdit& edit, size_t at, size_t removed, size_t inserted) {
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
    } else if (visibleCount() > 0) {
        const plat::Value first = _visible->at(0);
        item = kivo::detail::defaultInstanceLike(first);
        if (item.isNil() && first.isObject())
            plat::log("KivoCollectionView addNew: cannot make a " + first.asObject()->className() + " without a newItemCreator");
    }
    if (item.isNil()) return {};
    plat::Value before = currentItem();
    _currentAddItem = item;  // pending already when its add is announced
    if (!appendItems(plat::Array{item}, "addNew")) {
        _currentAddItem = {};
        return {};
    }
    _currentBeforeAdd = std::move(before);
    moveCurrentTo(item);
    return _currentAddItem;
}

void KivoCollectionView::commitNew() {
    if (!isAddingNew() || refusedWhileBusy("commitNew")) return;
    _currentAddItem = {};
    _currentBeforeAdd = {};
    refresh();
}

void KivoCollectionView::cancelNew() {
    if (!isAddingNew() || refusedWhileBusy("cancelNew")) return;
    plat::Value item = std::exchange(_currentAddItem, {});
    plat::Value before = std::exchange(_currentBeforeAdd, {});
    // The item went in at the end: look for this very object from there.
    const plat::Array* source = _sourceCollection.get();
    size_t s = plat::NotFound;
    for (size_t i = source ? source->size() : 0; i-- > 0;)
        if ((*source)[i].isIdentical(item)) {
            s = i;
            break;
        }
    if (s == plat::NotFound) {
        remove(item);
    } else {
        size_t k = _visible->base() == _sourceCollection ? _visible->indexOfPosition(s) : _visible->indexOfIdentical(item);
        removeVisible(k, s, "cancelNew");
    }
    // Whatever was asked for while the item was pending (a filter, a sort, groups) applies now.
    if (_refreshPending) refresh();
    if (before.isNil())
        moveCurrentToPosition(-1);
    else if (_visible->indexOfEqual(before) != plat::NotFound)
        moveCurrentTo(before);
}

// ---- editing an item ----

void KivoCollectionView::editItem(const plat::Value& item) {
    if (item.isNil() || (isEditingItem() && _currentEditItem.isIdentical(item)) || refusedWhileBusy("editItem")) return;
    // Only a visible item can be edited: moving to an absent one would merely clear the current item.
    size_t index = _visible->indexOfEqual(item);
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
    size_t start = visibleCount();
    kivo::detail::GroupEdit groups;
    if (!prepareGroups(groups, start, 0, *list, operation)) return false;
    prepareBase();
    commitGroups(groups, start, 0, list->size());
    plat::Array& source = *_sourceCollection;
    size_t from = source.size();
    source.insert(source.end(), list->begin(), list->end());
    if (_visible->ownsBase())
        for (const auto& item : *list) _visible->insertOwned(visibleCount(), item);
    else
        _visible->appendShared(from, list->size());
    visibleChanged();
    raiseCollectionChanged(KivoNotifyCollectionChangedActionAdd, list, signedIndex(start), nullptr, -1);
    return true;
}

void KivoCollectionView::addObject(const plat::Value& item) { appendItems(plat::Array{item}, "addObject"); }

void KivoCollectionView::addObjects(const plat::Array& items) { appendItems(items, "addObjects"); }

void KivoCollectionView::insertObject(const plat::Value& given, std::size_t index) {
    if (refusedWhileBusy("insertObject")) return;
    const plat::Array inserted{given};  // `given` may be an entry of the lists changed below
    if (index > mutableSource().size()) {
        plat::log("KivoCollectionView insertObject: index " + std::to_string(index) + " beyond bounds [0 .. " +
                  std::to_string(_sourceCollection->size()) + "], ignored");
        return;
    }
    // With a filter or sort in force the visible list is shorter or ordered otherwise: the item goes
    // at the same index when there is one, else at the end.
    size_t k = std::min(index, visibleCount());
    kivo::detail::GroupEdit groups;
    if (!prepareGroups(groups, k, 0, inserted, "insertObject")) return;
    prepareBase();
    commitGroups(groups, k, 0, 1);
    plat::Array& source = *_sourceCollection;
    source.insert(source.begin() + static_cast<std::ptrdiff_t>(index), inserted[0]);
    if (_visible->ownsBase())
        _visible->insertOwned(k, inserted[0]);
    else
        _visible->insertShared(k, index);
    visibleChanged();
    raiseCollectionChanged(KivoNotifyCollectionChangedActionAdd, listOf(inserted[0]), signedIndex(k), nullptr, -1);
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
    // Visible where its position is; while the view shows another list's items, wherever the very
    // same item is. Not visible (filtered out): nothing visible changes.
    size_t k = _visible->base() == _sourceCollection ? _visible->indexOfPosition(index) : _visible->indexOfIdentical(old);
    if (k == plat::NotFound) {
        source[index] = inserted[0];
        return;
    }
    kivo::detail::GroupEdit groups;
    if (!prepareGroups(groups, k, 1, inserted, "replaceObjectAtIndex")) return;
    prepareBase();
    commitGroups(groups, k, 1, 1);
    (*_sourceCollection)[index] = inserted[0];
    if (_visible->ownsBase()) _visible->replaceOwned(k, inserted[0]);  // else its position now holds it
    visibleChanged();
    raiseCollectionChanged(KivoNotifyCollectionChangedActionReplace, listOf(inserted[0]), -1, listOf(old), signedIndex(k));
}

void KivoCollectionView::removeVisible(size_t k, size_t s, const char* operation) {
    plat::Array& source = *_sourceCollection;
    if (k == plat::NotFound) {  // filtered out: nothing visible changes
        source.erase(source.begin() + static_cast<std::ptrdiff_t>(s));
        if (_visible->base() == _sourceCollection) _visible->eraseShared(plat::NotFound, s);
        return;
    }
    kivo::detail::GroupEdit groups;
    if (!prepareGroups(groups, k, 1, {}, operation)) return;
    const plat::Value removed = _visible->at(k);
    prepareBase();
    commitGroups(groups, k, 1, 0);
    source.erase(source.begin() + static_cast<std::ptrdiff_t>(s));
    if (_visible->ownsBase())
        _visible->eraseOwned(k);
    else
        _visible->eraseShared(k, s);
    visibleChanged();
    raiseCollectionChanged(KivoNotifyCollectionChangedActionRemove, nullptr, -1, listOf(removed), signedIndex(k));
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
    size_t s = indexOfEqual(*_sourceCollection, item);
    if (s == plat::NotFound) return;
    size_t k = _visible->base() == _sourceCollection ? _visible->indexOfPosition(s) : _visible->indexOfEqual(item);
    removeVisible(k, s, "remove");
}

void KivoCollectionView::removeAt(std::int32_t index) {
    if (index < 0 || index >= itemCount() || refusedWhileBusy("removeAt")) return;
    const auto k = static_cast<size_t>(index);
    const plat::Value item = _visible->at(k);
    // A pending new item or the item under edit: their own ways out come first, and may refresh.
    if ((isAddingNew() && _currentAddItem.isIdentical(item)) || (isEditingItem() && _currentEditItem.isIdentical(item))) {
        remove(item);
        return;
    }
    if (_visible->base() == _sourceCollection) {
        size_t s = _visible->positionAt(k);
        if (s < _sourceCollection->size()) removeVisible(k, s, "removeAt");
        return;
    }
    // The view shows another list's items: the source loses its first equal one, if it has one.
    size_t s = _sourceCollection ? indexOfEqual(*_sourceCollection, item) : plat::NotFound;
    if (s != plat::NotFound) removeVisible(k, s, "removeAt");
}

void KivoCollectionView::removeAllObjects() {
    if (refusedWhileBusy("removeAllObjects")) return;
    _groupTree->clear();  // first: groups someone holds keep their items, read from the lists
    if (_sourceCollection) _sourceCollection->clear();
    _visible->rebind(_sourceCollection);
    visibleChanged();
    raiseCollectionChanged(KivoNotifyCollectionChangedActionReset, nullptr, -1, nullptr, -1);
}
