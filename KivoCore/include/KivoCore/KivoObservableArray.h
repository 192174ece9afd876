#pragma once
// An ordered list that announces every change through `collectionChanged`. Changes apply at once;
// inside update batches their announcements are dropped and the outermost end announces one reset.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "KivoCore/IKivoNotifyCollectionChanged.h"
#include "KivoCore/KivoCoreExport.h"
#include "KivoCore/KivoNotifyCollectionChangedEventArgs.h"
#include "KivoCore/ValueList.h"
#include "Platform/foundation/passkey.h"
#include "Platform/foundation/value.h"

namespace kivo::testing {
// Defined by tests alone, to reach the batch counter's limit without two billion calls.
struct ObservableArrayAccess;
}  // namespace kivo::testing

class KIVO_CORE_EXPORT KivoObservableArray : public plat::Object, public IKivoNotifyCollectionChanged {
public:
    explicit KivoObservableArray(std::size_t capacity = 0);

    std::shared_ptr<KivoEvent> collectionChanged() const override { return _collectionChanged; }
    void setCollectionChanged(std::shared_ptr<KivoEvent> event) override { _collectionChanged = std::move(event); }

    // ---- reading (never announces) ----
    std::size_t count() const { return _storage.size(); }
    // Out-of-range indices throw std::out_of_range.
    const plat::Value& objectAtIndex(std::size_t index) const;
    const plat::Value& operator[](std::int64_t index) const;  // the subscript read
    template <class T>
    std::shared_ptr<T> objectAtIndexAs(std::size_t index) const {
        return objectAtIndex(index).as<T>();
    }
    // First equal item, or plat::NotFound.
    std::size_t indexOfObject(const plat::Value& item) const;
    // The storage itself: changes made through it are not announced.
    kivo::ValueList& sourceArray() { return _storage; }
    const kivo::ValueList& sourceArray() const { return _storage; }
    kivo::ValueList::const_iterator begin() const { return _storage.begin(); }
    kivo::ValueList::const_iterator end() const { return _storage.end(); }
    bool isUpdating() const { return _updating > 0; }

    // ---- changing (applied, then announced) ----
    void addObject(const plat::Value& item);
    void addObjectsFromArray(const plat::Array& items);
    void insertObject(const plat::Value& item, std::size_t index);  // index ≤ count, else std::out_of_range
    void removeObjectAtIndex(std::size_t index);
    // Removes every item equal to `item`, then announces one removal per item removed, highest index
    // first, so that a copy applying them in order stays in step; an absent item changes and announces
    // nothing.
    void removeObject(const plat::Value& item);
    void replaceObjectAtIndex(std::size_t index, const plat::Value& item);
    void setObject(const plat::Value& item, std::int64_t index);  // the subscript write: a replace
    void removeAllObjects();

    // ---- batching ----
    void beginUpdate();  // a begin past the counter's range is logged and ignored
    // Never below zero; the outermost end announces one reset. The batch is closed before the reset
    // is announced, so a handler that throws leaves it closed, and the exception reaches the caller.
    void endUpdate();
    // A batch around `block`. A block that throws still closes the batch, and its exception reaches
    // the caller; one thrown by a handler of the closing reset is then logged, the block's goes on.
    void deferUpdate(const std::function<void()>& block);

    // The most batches open at once (the counter's range).
    std::int32_t batchLimit(plat::Passkey<kivo::testing::ObservableArrayAccess>) const { return _batchLimit; }
    void setBatchLimit(plat::Passkey<kivo::testing::ObservableArrayAccess>, std::int32_t limit) { _batchLimit = limit; }

    // ---- announcing ----
    void raiseCollectionChanged(std::int64_t action, plat::ArrayPtr items, std::int64_t startingIndex, plat::ArrayPtr oldItems,
                                std::int64_t oldStartingIndex);
    // The hook subclasses override to act on every change; the base raises `collectionChanged`.
    virtual void onCollectionChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args);

private:
    KIVO_CORE_NO_EXPORT void checkIndex(std::size_t index, const char* what) const;

    kivo::ValueList _storage;
    std::int32_t _updating = 0;
    std::int32_t _batchLimit = INT32_MAX;
    std::shared_ptr<KivoEvent> _collectionChanged;
};
