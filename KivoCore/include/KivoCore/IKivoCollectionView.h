#pragma once
// The protocols of a collection view: reading a filtered, sorted and grouped view of a source list
// with a current item (IKivoCollectionView), and editing it (IKivoEditableCollectionView).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "KivoCore/IKivoNotifyCollectionChanged.h"
#include "KivoCore/KivoCollectionViewGroup.h"
#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/value.h"

class KivoObservableArray;

class KIVO_CORE_EXPORT IKivoCollectionView : public IKivoNotifyCollectionChanged {
public:
    using Filter = std::function<bool(const plat::Value& item)>;

    virtual bool contains(const plat::Value& item) const = 0;
    virtual bool moveCurrentTo(const plat::Value& item) = 0;
    virtual bool moveCurrentToFirst() = 0;
    virtual bool moveCurrentToLast() = 0;
    virtual bool moveCurrentToNext() = 0;
    virtual bool moveCurrentToPosition(std::int32_t position) = 0;
    virtual bool moveCurrentToPrevious() = 0;
    virtual void refresh() = 0;
    virtual void refresh(bool announce) = 0;
    virtual void beginUpdate() = 0;
    virtual void endUpdate() = 0;
    virtual void deferUpdate(const std::function<void()>& block) = 0;

    virtual bool canFilter() const = 0;
    virtual bool canGroup() const = 0;
    virtual bool canSort() const = 0;
    virtual plat::Value currentItem() const = 0;
    virtual std::int32_t currentPosition() const = 0;
    virtual const Filter& filter() const = 0;
    virtual void setFilter(Filter filter) = 0;
    virtual const std::shared_ptr<KivoObservableArray>& groupDescriptions() const = 0;
    virtual const KivoCollectionViewGroupList& groups() const = 0;
    virtual bool isEmpty() const = 0;
    virtual const std::shared_ptr<KivoObservableArray>& sortDescriptions() const = 0;
    virtual const plat::ArrayPtr& sourceCollection() const = 0;
    virtual void setSourceCollection(plat::ArrayPtr source) = 0;
    virtual std::shared_ptr<KivoEvent> currentChanged() const = 0;
    virtual void setCurrentChanged(std::shared_ptr<KivoEvent> event) = 0;
    virtual std::shared_ptr<KivoEvent> currentChanging() const = 0;
    virtual void setCurrentChanging(std::shared_ptr<KivoEvent> event) = 0;
    virtual const plat::ArrayPtr& items() const = 0;
};

class KIVO_CORE_EXPORT IKivoEditableCollectionView : public IKivoCollectionView {
public:
    virtual plat::Value addNew() = 0;
    virtual void cancelEdit() = 0;
    virtual void cancelNew() = 0;
    virtual void commitEdit() = 0;
    virtual void commitNew() = 0;
    virtual void editItem(const plat::Value& item) = 0;
    virtual void remove(const plat::Value& item) = 0;
    virtual void removeAt(std::int32_t index) = 0;
    virtual void addObject(const plat::Value& item) = 0;
    virtual void addObjects(const plat::Array& items) = 0;
    virtual void insertObject(const plat::Value& item, std::size_t index) = 0;
    virtual void removeAllObjects() = 0;
    virtual void replaceObjectAtIndex(std::size_t index, const plat::Value& item) = 0;

    virtual bool canAddNew() const = 0;
    virtual bool canCancelEdit() const = 0;
    virtual bool canRemove() const = 0;
    virtual const plat::Value& currentAddItem() const = 0;
    virtual const plat::Value& currentEditItem() const = 0;
    virtual bool isAddingNew() const = 0;
    virtual bool isEditingItem() const = 0;
};
