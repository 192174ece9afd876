// The collection view's state outside editing: construction, source and filter, refresh (the visible
// list, its sort and its groups), the current item, batching and announcements. Editing operations
// live in KivoCollectionViewEditing.cpp.

#include "KivoCore/KivoCollectionView.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>

#include "KivoCore/KivoGroupDescription.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/log.h"
#include "collection/CollectionViewSupport.h"
#include "collection/EditSnapshot.h"
#include "collection/GroupTree.h"
#include "collection/ItemSorter.h"
#include "collection/VisibleList.h"

KivoCollectionView::KivoCollectionView()
    : _shelf(std::make_shared<kivo::detail::ListShelf>()),
      _sourceCollection(std::make_shared<plat::Array>()),
      _visible(std::make_unique<kivo::detail::VisibleList>(_sourceCollection)),
      _sortDescriptions(std::make_shared<KivoObservableArray>()),
      _groupDescriptions(std::make_shared<KivoObservableArray>()),
      _groupTree(std::make_unique<kivo::detail::GroupTree>(kivo::detail::GroupDescriptionList{}, *_visible, _shelf)) {}

KivoCollectionView::~KivoCollectionView() = default;

void KivoCollectionView::initialize(plat::Passkey<KivoCollectionView>, bool withEvent) {
    std::weak_ptr<KivoCollectionView> weak = std::static_pointer_cast<KivoCollectionView>(shared_from_this());
    _sortDescriptions->collectionChanged()->addHandler(
        [weak](const auto&) {
            if (auto view = weak.lock(); view && view->canSort()) view->refresh();
        },
        shared_from_this());
    _groupDescriptions->collectionChanged()->addHandler(
        [weak](const auto&) {
            if (auto view = weak.lock(); view && view->canGroup()) view->refresh();
        },
        shared_from_this());
    if (withEvent) _collectionChanged = std::make_shared<KivoEvent>();
}

void KivoCollectionView::initializeWithSource(plat::Passkey<KivoCollectionView>, plat::ArrayPtr source) {
    // The event comes after the source, so the first refresh announces nothing.
    setSourceCollection(source ? std::move(source) : std::make_shared<plat::Array>());
    _collectionChanged = std::make_shared<KivoEvent>();
}

// ---- source and filter ----

void KivoCollectionView::setSourceCollection(plat::ArrayPtr source) {
    if (source == _sourceCollection || refusedWhileBusy("setSourceCollection")) return;
    commitEdit();
    commitNew();
    _sourceCollection = std::move(source);
    refresh();
    moveCurrentToFirst();
}

void KivoCollectionView::setFilter(Filter filter) {
    if ((!filter && !_filter) || refusedWhileBusy("setFilter")) return;
    _filter = std::move(filter);
    refresh();
}

size_t KivoCollectionView::visibleCount() const { return _visible->size(); }

std::int32_t KivoCollectionView::itemCount() const {
    return static_cast<std::int32_t>(std::min<size_t>(visibleCount(), INT32_MAX));
}

bool KivoCollectionView::isEmpty() const { return visibleCount() == 0; }

bool KivoCollectionView::showsSourceInOrder() const {
    const size_t sourceCount = _sourceCollection ? _sourceCollection->size() : 0;
    return _visible->base() == _sourceCollection && _visible->isIdentity() && visibleCount() == sourceCount;
}

const plat::ArrayPtr& KivoCollectionView::items() const {
    if (!_items) _items = _visible->materialize();
    return _items;
}

// ---- refresh ----

bool KivoCollectionView::refusedWhileBusy(const char* operation) const {
    if (!_busy) return false;
    plat::log(std::string("KivoCollectionView ") + operation +
              ": refused while the view rebuilds its lists (a filter, sort converter or group description may not "
              "change the view)");
    return true;
}

namespace {

using kivo::detail::BaseGuard;
using kivo::detail::PositionVector;

// The positions in `all` of the items that pass the filter, in sorted order. Runs the application's
// filter and sort converter, and checks after each run that the list is still the one being read.
PositionVector visibleOrder(const plat::Array& all, const BaseGuard& guard, const IKivoCollectionView::Filter& filter,
                            const kivo::detail::SortDescriptionList& sorts, const KivoCollectionView::SortConverter& converter) {
    const size_t count = guard.size();
    PositionVector kept;
    if (filter) {
        kept.reserve(count);
        // The filter reads each item's object, which lies apart from the list: fetch objects ahead.
        constexpr size_t Ahead = 16;
        for (size_t i = 0; i < count; ++i) {
            if (i + Ahead < count) kivo::detail::prefetchObject(all[i + Ahead]);
            bool keep = filter(all[i]);
            guard.check();
            if (keep) kept.push_back(static_cast<kivo::detail::Position>(i));
        }
        if (kept.size() < kept.capacity() / 4 * 3) kept.shrink_to_fit();
    }
    if (sorts.empty()) return kept;
    kivo::detail::ItemList candidates{all, filter ? &kept : nullptr};
    PositionVector order = kivo::detail::sortOrder(candidates, sorts, converter, plat::Locale::current(), &guard);
    if (filter)
        for (auto& k : order) k = kept[k];
    return order;
}

// Apart, so that beginUpdate itself stays a compare and an add.
[[gnu::cold, gnu::noinline]] void logBatchLimit(std::int32_t open) {
    plat::log("KivoCollectionView beginUpdate: " + std::to_string(open) + " batches are open already, ignored");
}

}  // namespace

void KivoCollectionView::refresh(bool announce) {
    if (_updateCount > 0) return;
    if (isAddingNew() || isEditingItem()) {
        _refreshPending = true;  // cancelNew refreshes then
        return;
    }
    if (refusedWhileBusy("refresh")) return;

    const plat::ArrayPtr source = _sourceCollection ? _sourceCollection : std::make_shared<plat::Array>();
    const plat::Array& all = *source;
    if (all.size() > kivo::detail::MaxPositions) {
        plat::log("KivoCollectionView refresh failed: " + std::to_string(all.size()) +
                  " items are more than the view can show; the view keeps its items");
        return;
    }
    // Copies: the application may replace them meanwhile.
    const Filter filter = _filter;
    const SortConverter converter = _sortConverter;
    kivo::detail::SortDescriptionList sorts;
    for (const auto& entry : *_sortDescriptions)
        if (auto d = entry.as<KivoSortDescription>()) sorts.push_back(std::move(d));

    // Everything that runs the application's code comes first, the view changes only once it is done:
    // a refresh that fails leaves the view as it was.
    auto visible = std::make_unique<kivo::detail::VisibleList>(source);
    auto tree =
        std::make_unique<kivo::detail::GroupTree>(kivo::detail::groupDescriptionsOf(*_groupDescriptions), *visible, _shelf);
    {
        kivo::detail::ScopedFlag busy(_busy);
        const BaseGuard guard(all);
        auto failed = [](const std::string& why) {
            plat::log("KivoCollectionView refresh failed" + why + "; the view keeps its items");
        };
        try {
            if (!filter && sorts.empty())
                visible->setIdentity(all.size());
            else
                visible->setPositions(visibleOrder(all, guard, filter, sorts, converter));
            if (tree->hasLevels()) tree->build(kivo::detail::VisibleItems(*visible), &guard);
            guard.check();
        } catch (const kivo::detail::BaseListChanged&) {
            failed(": the source list changed during the refresh");
            return;
        } catch (const std::exception& e) {
            failed(std::string(": ") + e.what());
            return;
        } catch (...) {
            failed(" with an exception of an unknown type");
            return;
        }
    }

    plat::Value remembered = currentItem();
    // The old groups go first: those someone holds keep their items, read through the old list.
    _groupTree = std::move(tree);
    _visible = std::move(visible);
    _refreshPending = false;
    _shelf->retire(std::move(_items));

    size_t found = remembered.isNil() ? plat::NotFound : _visible->indexOfEqual(remembered);
    if (found != plat::NotFound)
        _currentPosition = static_cast<std::int32_t>(found);
    else
        _currentPosition = std::min(_currentPosition, itemCount() - 1);

    if (announce) onCollectionChanged(KivoNotifyCollectionChangedEventArgs::reset());
}

const KivoCollectionViewGroupList& KivoCollectionView::groups() const { return _groupTree->groups(); }

void KivoCollectionView::beginUpdate() {
    // Only a caller that never ends its batches gets here; the counter must not overflow for it.
    if (_updateCount >= _batchLimit) {
        logBatchLimit(_updateCount);
        return;
    }
    ++_updateCount;
}

void KivoCollectionView::endUpdate() {
    bool leavingOutermost = _updateCount <= 1;
    if (_updateCount > 0) --_updateCount;
    if (leavingOutermost) refresh();
}

void KivoCollectionView::deferUpdate(const std::function<void()>& block) {
    // The batch ends whatever the block throws, and a handler of the closing refresh may throw too:
    // the first exception goes on to the caller once the batch is closed, never out of a destructor.
    beginUpdate();
    std::exception_ptr failure;
    try {
        if (block) block();
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        endUpdate();
    } catch (...) {
        if (!failure) throw;
        plat::log("KivoCollectionView deferUpdate: a collectionChanged handler failed as the batch closed (" +
                  kivo::detail::describeException(std::current_exception()) + "); the batch's own exception goes on");
    }
    if (failure) std::rethrow_exception(failure);
}

void KivoCollectionView::setBatchLimit(plat::Passkey<kivo::testing::CollectionViewLimits>, std::int32_t limit) {
    _batchLimit = std::max(limit, 0);
}

// ---- current item ----

plat::Value KivoCollectionView::itemAt(std::int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= visibleCount()) return {};
    return _visible->at(static_cast<size_t>(index));
}

plat::Value KivoCollectionView::currentItem() const {
    if (_currentPosition < 0 || static_cast<size_t>(_currentPosition) >= visibleCount()) return {};
    return _visible->at(static_cast<size_t>(_currentPosition));
}

bool KivoCollectionView::contains(const plat::Value& item) const { return _visible->indexOfIdentical(item) != plat::NotFound; }

bool KivoCollectionView::moveCurrentTo(const plat::Value& item) {
    size_t index = _visible->indexOfEqual(item);
    return moveCurrentToPosition(index == plat::NotFound ? -1 : static_cast<std::int32_t>(index));
}

bool KivoCollectionView::moveCurrentToFirst() { return moveCurrentToPosition(0); }
bool KivoCollectionView::moveCurrentToLast() { return moveCurrentToPosition(itemCount() - 1); }
bool KivoCollectionView::moveCurrentToNext() { return moveCurrentToPosition(_currentPosition + 1); }
bool KivoCollectionView::moveCurrentToPrevious() { return moveCurrentToPosition(_currentPosition - 1); }

bool KivoCollectionView::moveCurrentToPosition(std::int32_t position) {
    if (refusedWhileBusy("moveCurrentToPosition")) return _currentPosition == position;
    if (position >= -1 && position < itemCount() && position != _currentPosition) {
        // A changing handler may change the list: the move happens only if the position still exists.
        if (onCurrentChanging(std::make_shared<KivoCancelEventArgs>()) && position < itemCount()) {
            _currentPosition = position;
            onCurrentChanged(KivoEventArgs::empty());
        }
    }
    return _currentPosition == position;
}

bool KivoCollectionView::onCurrentChanging(const std::shared_ptr<KivoCancelEventArgs>& args) {
    if (auto event = _currentChanging) event->raise(shared_from_this(), args);
    return !args->cancel();
}

void KivoCollectionView::onCurrentChanged(const std::shared_ptr<KivoEventArgs>& args) {
    if (auto event = _currentChanged) event->raise(shared_from_this(), args);
}

// ---- announcing ----

void KivoCollectionView::raiseCollectionChanged() { refresh(); }

void KivoCollectionView::raiseCollectionChanged(std::int64_t action, plat::ArrayPtr items, std::int64_t startingIndex,
                                                plat::ArrayPtr oldItems, std::int64_t oldStartingIndex) {
    onCollectionChanged(std::make_shared<KivoNotifyCollectionChangedEventArgs>(action, std::move(items), startingIndex,
                                                                               std::move(oldItems), oldStartingIndex));
}

void KivoCollectionView::onCollectionChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
    if (auto event = _collectionChanged) event->raise(shared_from_this(), args);
}

bool KivoCollectionView::implementsInterface(std::string_view name) const {
    return name == "ICollectionView" || name == "IEditableCollectionView" || name == "IPagedCollectionView" ||
           name == "INotifyCollectionChanged";
}

plat::ArrayPtr KivoCollectionView::mergeGroupItems(const KivoCollectionViewGroupList& groups) const {
    auto result = std::make_shared<plat::Array>();
    for (const auto& group : groups) {
        if (!group) continue;
        if (!group->isBottomLevel()) {
            plat::ArrayPtr merged = mergeGroupItems(group->groups());
            group->items()->insert(group->items()->end(), merged->begin(), merged->end());
        }
        result->insert(result->end(), group->items()->begin(), group->items()->end());
    }
    return result;
}
