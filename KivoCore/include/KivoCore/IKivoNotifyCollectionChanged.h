#pragma once
// A collection that announces its changes through a collection-changed event.

#include <memory>

#include "KivoCore/KivoCoreExport.h"
#include "KivoCore/KivoEvent.h"

class KIVO_CORE_EXPORT IKivoNotifyCollectionChanged {
public:
    virtual ~IKivoNotifyCollectionChanged() = default;
    virtual std::shared_ptr<KivoEvent> collectionChanged() const = 0;
    virtual void setCollectionChanged(std::shared_ptr<KivoEvent> event) = 0;
};
