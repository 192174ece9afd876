// The collection view's state outside editing: construction, source and filter, refresh (the visible
// list, its sort and its groups), the current item, batching and announcements. Editing operations
// live in KivoCollectionViewEditing.cpp.

#include "KivoCore/KivoCollectionView.h"

#include <algorithm>
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

using kivo::detail::indexOfEqual;

KivoCollectionView::KivoCollectionView()
    : _sourceCollection(std::make_shared<plat::Array>()),
      _items(std::make_shared<plat::Array>()),
      _sortDescriptions(std::make_shared<KivoObservableArray>()),
      _groupDescriptions(std::make_shared<KivoObservableArray>()),
      _groupTree(std::make_unique<kivo::detail::GroupTree>(kivo::detail::GroupDescriptionList{})) {}

KivoCollectionView::~KivoCollectionView() = default;

void KivoCollectionView::_initialize(bool withEvent) {
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

void KivoCollectionView::_initializeWithSource(plat::ArrayPtr source) {
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

std::int32_t KivoCollectionView::itemCount() const {
    return static_cast<std::int32_t>(std::min<size_t>(_items->size(), INT32_MAX));
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

// Writes the visible items over the previous list, in place: an item that stays in its place costs
// no reference count change, and no memory is allocated.
class VisibleListWriter {
public:
    explicit VisibleListWriter(plat::Array& out, size_t expected) : _out(out) {
        if (_out.capacity() < expected) _out.reserve(expected);
    }
    void append(const plat::Value& item) {
        if (_written < _out.size())
            _out[_written] = item;
        else
            _out.push_back(item);
        ++_written;
    }
    ~VisibleListWriter() { _out.resize(_written); }

private:
    plat::Array& _out;
    size_t _written = 0;
};

// The source items a refresh shows, in the order it worked out (all of them, in source order, when
// there is no order).
class OrderedItems : public kivo::detail::ItemSequence {
public:
    OrderedItems(const plat::Array& list, const std::vector<std::uint32_t>* order) : _list(list), _order(order) {}
    size_t size() const override { return _order ? _order->size() : _list.size(); }
    const plat::Value& at(size_t i) const override {
        size_t j = _order ? (*_order)[i] : i;
        return j < _list.size() ? _list[j] : Nil;
    }

private:
    const plat::Array& _list;
    const std::vector<std::uint32_t>* _order;
};

// The positions in `all` of the items that pass the filter, in sorted order; none when that is simply
// all of them in source order, or when there is no sort (the items that pass are then in `filtered`,
// taken in the filter's pass while each is at hand). Runs the application's filter and sort converter.
std::optional<std::vector<std::uint32_t>> visibleOrder(const plat::Array& all, const IKivoCollectionView::Filter& filter,
                                                       const kivo::detail::SortDescriptionList& sorts,
                                                       const KivoCollectionView::SortConverter& converter,
                                                       plat::Array& filtered) {
    if (sorts.empty()) {
        if (filter)
            for (size_t i = 0; i < all.size(); ++i)
                if (filter(all[i]) && i < all.size()) filtered.push_back(all[i]);
        return std::nullopt;
    }
    std::vector<std::uint32_t> kept;
    if (filter) {
        for (size_t i = 0; i < all.size(); ++i)
            if (filter(all[i])) kept.push_back(static_cast<std::uint32_t>(i));
    }
    kivo::detail::ItemList candidates{all, filter ? &kept : nullptr};
    std::vector<std::uint32_t> order = kivo::detail::sortOrder(candidates, sorts, converter, plat::Locale::current());
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
    if (_updateCount > 0 || isAddingNew() || isEditingItem() || refusedWhileBusy("refresh")) return;

    static const plat::Array noItems;
    const plat::ArrayPtr source = _sourceCollection;
    const plat::Array& all = source ? *source : noItems;
    // Copies: the application may replace them meanwhile.
    const Filter filter = _filter;
    const SortConverter converter = _sortConverter;
    kivo::detail::SortDescriptionList sorts;
    for (const auto& entry : *_sortDescriptions)
        if (auto d = entry.as<KivoSortDescription>()) sorts.push_back(std::move(d));

    // Everything that runs the application's code comes first, the lists change only once it is done:
    // a refresh that fails leaves the view as it was.
    std::optional<std::vector<std::uint32_t>> order;
    auto tree = std::make_unique<kivo::detail::GroupTree>(kivo::detail::groupDescriptionsOf(*_groupDescriptions));
    {
        kivo::detail::ScopedFlag busy(_busy);
        const plat::Value* data = all.data();
        const size_t size = all.size();
        try {
            order = visibleOrder(all, filter, sorts, converter, _spareItems);
            if (tree->hasLevels()) {
                if (filter && !order)
                    tree->build(OrderedItems(_spareItems, nullptr));
                else
                    tree->build(OrderedItems(all, order ? &*order : nullptr));
            }
            if (all.data() != data || all.size() != size) throw std::runtime_error("the source list changed during the refresh");
        } catch (const std::exception& e) {
            _spareItems.clear();
            plat::log(std::string("KivoCollectionView refresh failed: ") + e.what() + "; the view keeps its items");
            return;
        } catch (...) {
            _spareItems.clear();
            plat::log("KivoCollectionView refresh failed with an exception of an unknown type; the view keeps its items");
            return;
        }
    }

    plat::Value remembered = currentItem();
    // The previous list is reused when nobody else holds it.
    plat::ArrayPtr visible = _items.use_count() == 1 ? _items : std::make_shared<plat::Array>();
    if (filter && !order) {
        // The previous items go, the list's room stays for the next refresh.
        std::swap(*visible, _spareItems);
        _spareItems.clear();
    } else if (!order) {
        VisibleListWriter writer(*visible, all.size());
        for (const auto& item : all) writer.append(item);
    } else {
        const std::vector<std::uint32_t>& positions = *order;
        VisibleListWriter writer(*visible, positions.size());
        // Sorted items are scattered in memory, and writing one touches its reference count and that
        // of the item it replaces: fetch the list entries well ahead, then the objects they point to.
        constexpr size_t EntryAhead = 16, ObjectAhead = 8;
        const plat::Array& previous = *visible;
        for (size_t k = 0; k < positions.size(); ++k) {
            if (k + EntryAhead < positions.size()) __builtin_prefetch(&all[positions[k + EntryAhead]]);
            if (k + ObjectAhead < positions.size()) {
                __builtin_prefetch(all[positions[k + ObjectAhead]].asObject().get());
                if (k + ObjectAhead < previous.size()) __builtin_prefetch(previous[k + ObjectAhead].asObject().get());
            }
            writer.append(all[positions[k]]);
        }
    }
    _items = std::move(visible);
    _groupTree = std::move(tree);

    size_t found = remembered.isNil() ? plat::NotFound : indexOfEqual(*_items, remembered);
    if (found != plat::NotFound)
        _currentPosition = static_cast<std::int32_t>(found);
    else
        _currentPosition = std::min(_currentPosition, itemCount() - 1);

    if (announce) onCollectionChanged(KivoNotifyCollectionChangedEventArgs::reset());
}

const KivoCollectionViewGroupList& KivoCollectionView::groups() const { return _groupTree->groups(); }

void KivoCollectionView::beginUpdate() {
    // Only a caller that never ends its batches gets here; the counter must not overflow for it.
    if (_updateCount == std::numeric_limits<std::int32_t>::max()) {
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
    // The batch ends even when the block throws, so the view never stays frozen.
    struct Guard {
        KivoCollectionView* view;
        ~Guard() { view->endUpdate(); }
    };
    beginUpdate();
    Guard guard{this};
    if (block) block();
}

// ---- current item ----

plat::Value KivoCollectionView::currentItem() const {
    if (_currentPosition < 0 || static_cast<size_t>(_currentPosition) >= _items->size()) return {};
    return (*_items)[static_cast<size_t>(_currentPosition)];
}

bool KivoCollectionView::contains(const plat::Value& item) const {
    return std::any_of(_items->begin(), _items->end(), [&](const plat::Value& v) { return v.isIdentical(item); });
}

bool KivoCollectionView::moveCurrentTo(const plat::Value& item) {
    size_t index = indexOfEqual(*_items, item);
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
