#pragma once
// What a collection-changed event announces: the action, the new items with the index of the first,
// and the old items with theirs. There is no move action.

#include <cstdint>
#include <memory>

#include "KivoCore/KivoCoreExport.h"
#include "KivoCore/KivoEventArgs.h"
#include "Platform/foundation/value.h"

enum KivoNotifyCollectionChangedAction : std::int64_t {
    KivoNotifyCollectionChangedActionAdd = 0,
    KivoNotifyCollectionChangedActionRemove = 1,
    KivoNotifyCollectionChangedActionReplace = 2,
    KivoNotifyCollectionChangedActionReset = 3,
};

class KIVO_CORE_EXPORT KivoNotifyCollectionChangedEventArgs : public KivoEventArgs {
public:
    // Both lists null and both indices -1.
    explicit KivoNotifyCollectionChangedEventArgs(std::int64_t action) : _action(action) {}
    KivoNotifyCollectionChangedEventArgs(std::int64_t action, plat::ArrayPtr items, std::int64_t startingIndex,
                                         plat::ArrayPtr oldItems, std::int64_t oldStartingIndex)
        : _action(action),
          _items(std::move(items)),
          _startingIndex(startingIndex),
          _oldItems(std::move(oldItems)),
          _oldStartingIndex(oldStartingIndex) {}

    static std::shared_ptr<KivoNotifyCollectionChangedEventArgs> reset() {
        return std::make_shared<KivoNotifyCollectionChangedEventArgs>(KivoNotifyCollectionChangedActionReset);
    }

    std::int64_t action() const { return _action; }
    void setAction(std::int64_t a) { _action = a; }
    const plat::ArrayPtr& items() const { return _items; }
    void setItems(plat::ArrayPtr items) { _items = std::move(items); }
    std::int64_t startingIndex() const { return _startingIndex; }
    void setStartingIndex(std::int64_t i) { _startingIndex = i; }
    const plat::ArrayPtr& oldItems() const { return _oldItems; }
    void setOldItems(plat::ArrayPtr items) { _oldItems = std::move(items); }
    std::int64_t oldStartingIndex() const { return _oldStartingIndex; }
    void setOldStartingIndex(std::int64_t i) { _oldStartingIndex = i; }

private:
    std::int64_t _action;
    plat::ArrayPtr _items;
    std::int64_t _startingIndex = -1;
    plat::ArrayPtr _oldItems;
    std::int64_t _oldStartingIndex = -1;
};
