#pragma once
// The view of an application's items that data-bound controls read: a source list shared with the
// application, the visible list derived from it (filtered, then sorted by the sort descriptions), the
// groups built from the visible list, a current item with cancelable changing and changed events,
// editing with commit and cancel, and `collectionChanged`, whose announcements always describe the
// visible list (`items`), so a control can mirror it change by change.
//
// The view keeps the visible list and its groups as positions in the source list, and fetches items
// when asked: the lists it hands out are made then, and never change afterwards.

#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "KivoCore/IKivoCollectionView.h"
#include "KivoCore/KivoCoreExport.h"
#include "KivoCore/KivoNotifyCollectionChangedEventArgs.h"
#include "KivoCore/KivoObservableArray.h"
#include "KivoCore/KivoSortDescription.h"
#include "Platform/foundation/passkey.h"

namespace kivo::detail {
class EditSnapshot;
class GroupTree;
class ListShelf;
class VisibleList;
struct GroupEdit;
}  // namespace kivo::detail

namespace kivo::testing {
class CollectionViewLimits;
}  // namespace kivo::testing

class KIVO_CORE_EXPORT KivoCollectionView : public plat::Object, public IKivoEditableCollectionView {
public:
    // Maps a sort value before comparison: (description, item, value) in, value out.
    using SortConverter = std::function<plat::Value(const std::shared_ptr<KivoSortDescription>& description,
                                                    const plat::Value& item, const plat::Value& value)>;
    using ItemCreator = std::function<plat::Value()>;

    // An empty view: empty source, no current item, nothing refreshed.
    template <class View = KivoCollectionView>
    static std::shared_ptr<View> create() {
        std::shared_ptr<View> view(new View());
        view->initialize(plat::Passkey<KivoCollectionView>{}, true);
        return view;
    }
    // A view over `source`, shared with the caller (null: a new empty list), refreshed without an
    // announcement and positioned on the first item.
    template <class View = KivoCollectionView>
    static std::shared_ptr<View> create(plat::ArrayPtr source) {
        std::shared_ptr<View> view(new View());
        view->initialize(plat::Passkey<KivoCollectionView>{}, false);
        view->initializeWithSource(plat::Passkey<KivoCollectionView>{}, std::move(source));
        return view;
    }
    ~KivoCollectionView() override;
    // The steps of create() after construction, exported for the templates above as they are
    // instantiated in the applications; the key keeps every other caller out.
    void initialize(plat::Passkey<KivoCollectionView>, bool withEvent);
    void initializeWithSource(plat::Passkey<KivoCollectionView>, plat::ArrayPtr source);

    // ---- source, visible list, groups ----
    const plat::ArrayPtr& sourceCollection() const override { return _sourceCollection; }
    // Another list (by identity): commits pending edits, then refreshes and moves to the first item.
    void setSourceCollection(plat::ArrayPtr source) override;
    // The visible items, as a list made when first asked for after a change. The list never changes:
    // after a change the view makes a new one. One that nobody else holds stays valid until the main
    // run loop turns, so a loop over `*items()` may edit the view; keep the pointer to use it longer.
    const plat::ArrayPtr& items() const override;
    // Built by the last refresh and kept in step with each edit of the visible list since.
    const KivoCollectionViewGroupList& groups() const override;
    bool isEmpty() const override;
    std::int32_t itemCount() const;
    // Whether the visible list is the whole source list in its own order, so that a visible index is
    // also the item's index in the source (no filter or sort has hidden or moved an item since the
    // last refresh, and the view shows no items of a list it was given before).
    bool showsSourceInOrder() const;
    // The visible item at `index`, read without making the items list; nil outside the list.
    plat::Value itemAt(std::int32_t index) const;
    const Filter& filter() const override { return _filter; }
    // Refreshes unless both the old and the new filter are empty. The filter, the sort converter and
    // the group descriptions run inside refreshes, on items taken by reference from the source list:
    // a change they ask of the view then is refused with a log line, and they must not change the
    // source list (a refresh that finds it changed is abandoned with a log line before it reads
    // another item, and the reference they hold is spent).
    void setFilter(Filter filter) override;
    // KivoSortDescription entries, most significant first; every change refreshes the view.
    const std::shared_ptr<KivoObservableArray>& sortDescriptions() const override { return _sortDescriptions; }
    // KivoGroupDescription entries, outermost first; every change refreshes the view.
    const std::shared_ptr<KivoObservableArray>& groupDescriptions() const override { return _groupDescriptions; }
    const SortConverter& sortConverter() const { return _sortConverter; }
    void setSortConverter(SortConverter converter) { _sortConverter = std::move(converter); }
    const ItemCreator& newItemCreator() const { return _newItemCreator; }
    void setNewItemCreator(ItemCreator creator) { _newItemCreator = std::move(creator); }
    bool canFilter() const override { return true; }
    bool canGroup() const override { return true; }
    bool canSort() const override { return true; }

    // ---- current item ----
    std::int32_t currentPosition() const override { return _currentPosition; }
    plat::Value currentItem() const override;
    bool contains(const plat::Value& item) const override;  // the very same object is visible
    bool moveCurrentTo(const plat::Value& item) override;
    bool moveCurrentToFirst() override;
    bool moveCurrentToLast() override;
    bool moveCurrentToNext() override;
    bool moveCurrentToPrevious() override;
    // -1 <= position < itemCount; other positions are ignored. Answers whether the position is now
    // `position`.
    bool moveCurrentToPosition(std::int32_t position) override;
    std::shared_ptr<KivoEvent> currentChanging() const override { return _currentChanging; }
    void setCurrentChanging(std::shared_ptr<KivoEvent> event) override { _currentChanging = std::move(event); }
    std::shared_ptr<KivoEvent> currentChanged() const override { return _currentChanged; }
    void setCurrentChanged(std::shared_ptr<KivoEvent> event) override { _currentChanged = std::move(event); }
    // Raise the events; onCurrentChanging answers false when a handler cancelled.
    virtual bool onCurrentChanging(const std::shared_ptr<KivoCancelEventArgs>& args);
    virtual void onCurrentChanged(const std::shared_ptr<KivoEventArgs>& args);

    // ---- refresh and batching ----
    void refresh() override { refresh(true); }
    // Rebuilds the visible list and the groups (not while a batch is open or an item is being added
    // or edited) and keeps the current item when it is still visible; announces a reset when asked.
    // A refresh that fails (a filter, converter or description throws) is logged and changes nothing.
    void refresh(bool announce) override;
    void beginUpdate() override;  // a begin past the counter's range is logged and ignored
    void endUpdate() override;    // never below zero; leaving the outermost batch refreshes
    // The batch closes whatever the block or the closing refresh's handlers throw; the first exception
    // then goes on to the caller (a second one, from the closing refresh, is logged).
    void deferUpdate(const std::function<void()>& block) override;
    bool isUpdating() const { return _updateCount > 0; }

    // ---- editing ----
    plat::Value addNew() override;
    void commitNew() override;
    // Takes the new item out again and leaves the view as before addNew, with any filter, sort or
    // grouping asked for meanwhile applied, and the item current before it current again.
    void cancelNew() override;
    // An item the view does not show is refused with a log line.
    void editItem(const plat::Value& item) override;
    void commitEdit() override;
    void cancelEdit() override;
    void remove(const plat::Value& item) override;
    // Removes the visible item at `index` where it stands in the source, without looking for it.
    void removeAt(std::int32_t index) override;
    void addObject(const plat::Value& item) override;
    void addObjects(const plat::Array& items) override;  // an empty list announces an empty add
    void insertObject(const plat::Value& item, std::size_t index) override;
    void replaceObjectAtIndex(std::size_t index, const plat::Value& item) override;
    void removeAllObjects() override;
    bool canAddNew() const override { return true; }
    bool canCancelEdit() const override { return true; }
    bool canRemove() const override { return true; }
    const plat::Value& currentAddItem() const override { return _currentAddItem; }
    const plat::Value& currentEditItem() const override { return _currentEditItem; }
    bool isAddingNew() const override { return !_currentAddItem.isNil(); }
    bool isEditingItem() const override { return !_currentEditItem.isNil(); }

    // ---- announcing ----
    std::shared_ptr<KivoEvent> collectionChanged() const override { return _collectionChanged; }
    void setCollectionChanged(std::shared_ptr<KivoEvent> event) override { _collectionChanged = std::move(event); }
    // A refresh announced as a reset.
    void raiseCollectionChanged();
    // Announces one change, batch or not.
    void raiseCollectionChanged(std::int64_t action, plat::ArrayPtr items, std::int64_t startingIndex, plat::ArrayPtr oldItems,
                                std::int64_t oldStartingIndex);
    virtual void onCollectionChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args);

    // True for exactly "ICollectionView", "IEditableCollectionView", "IPagedCollectionView" and
    // "INotifyCollectionChanged".
    bool implementsInterface(std::string_view name) const;

    // A new list of the groups' items, each upper group first taking in its descendants' items (which
    // changes those groups: a second call appends them again).
    plat::ArrayPtr mergeGroupItems(const KivoCollectionViewGroupList& groups) const;

    // For tests: the number of batches that may be open at once.
    void setBatchLimit(plat::Passkey<kivo::testing::CollectionViewLimits>, std::int32_t limit);

protected:
    KivoCollectionView();

private:
    KIVO_CORE_NO_EXPORT plat::Array& mutableSource();
    // Readies the visible list for an edit of the source: positions in the source, or, while it shows
    // items of another list, a private copy of them.
    KIVO_CORE_NO_EXPORT void prepareBase();
    // True, with a log line, when called back from the application code that a refresh or a
    // regrouping runs: changes made then are refused, so the lists being rebuilt stay intact.
    KIVO_CORE_NO_EXPORT bool refusedWhileBusy(const char* operation) const;
    // Works out the groups of the visible list with [at, at + removed) replaced by `inserted`, before
    // any list changes. Answers false (logged; nothing changed) when the application's code fails.
    KIVO_CORE_NO_EXPORT bool prepareGroups(kivo::detail::GroupEdit& edit, size_t at, size_t removed, const plat::Array& inserted,
                                           const char* operation);
    KIVO_CORE_NO_EXPORT void commitGroups(kivo::detail::GroupEdit& edit, size_t at, size_t removed, size_t inserted);
    KIVO_CORE_NO_EXPORT bool appendItems(const plat::Array& added, const char* operation);
    // Takes out the visible item at `visibleIndex`, which stands at `sourceIndex` in the source.
    KIVO_CORE_NO_EXPORT void removeVisible(size_t visibleIndex, size_t sourceIndex, const char* operation);
    // After an edit of the visible list: the list handed out is out of date, and the current position
    // stays within the list.
    KIVO_CORE_NO_EXPORT void visibleChanged();
    KIVO_CORE_NO_EXPORT size_t visibleCount() const;

    // Destroyed in reverse: the groups before the visible list they read, both before the shelf.
    std::shared_ptr<kivo::detail::ListShelf> _shelf;
    plat::ArrayPtr _sourceCollection;
    std::unique_ptr<kivo::detail::VisibleList> _visible;
    mutable plat::ArrayPtr _items;  // made from _visible when asked
    std::int32_t _currentPosition = -1;
    std::int32_t _updateCount = 0;
    std::int32_t _batchLimit = INT32_MAX;
    Filter _filter;
    std::shared_ptr<KivoObservableArray> _sortDescriptions;
    std::shared_ptr<KivoObservableArray> _groupDescriptions;
    std::unique_ptr<kivo::detail::GroupTree> _groupTree;  // the groups, built by the last refresh
    bool _busy = false;                                   // while application code runs in a rebuild
    bool _refreshPending = false;                         // a refresh held back by a pending new item
    ItemCreator _newItemCreator;
    SortConverter _sortConverter;
    plat::Value _currentAddItem;
    plat::Value _currentBeforeAdd;  // the current item when addNew began
    plat::Value _currentEditItem;
    std::unique_ptr<kivo::detail::EditSnapshot> _editClone;
    std::shared_ptr<KivoEvent> _collectionChanged;
    std::shared_ptr<KivoEvent> _currentChanging;
    std::shared_ptr<KivoEvent> _currentChanged;
};
