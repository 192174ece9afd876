#pragma once
// Base classes of every event's arguments: plain, cancelable (handlers set `cancel`, the raiser reads
// it afterwards), and cancelable with a point.

#include <memory>

#include "KivoCore/KivoCoreExport.h"
#include "KivoCore/KivoGeometry.h"
#include "Platform/foundation/object.h"

class KIVO_CORE_EXPORT KivoEventArgs : public plat::Object {
public:
    // A new instance on every call, never a shared one: handlers may keep or change it.
    static std::shared_ptr<KivoEventArgs> empty() { return std::make_shared<KivoEventArgs>(); }
};

class KIVO_CORE_EXPORT KivoCancelEventArgs : public KivoEventArgs {
public:
    bool cancel() const { return _cancel; }
    void setCancel(bool cancel) { _cancel = cancel; }

private:
    bool _cancel = false;
};

class KIVO_CORE_EXPORT KivoPointEventArgs : public KivoCancelEventArgs {
public:
    KivoPointEventArgs() = default;
    explicit KivoPointEventArgs(std::shared_ptr<KivoPoint> point) : _point(std::move(point)) {}

    const std::shared_ptr<KivoPoint>& point() const { return _point; }
    void setPoint(std::shared_ptr<KivoPoint> point) { _point = std::move(point); }

private:
    std::shared_ptr<KivoPoint> _point;
};
