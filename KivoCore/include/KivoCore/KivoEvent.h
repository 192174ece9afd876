#pragma once
// The suite's multicast event: handler blocks subscribed with the object that owns them (held weakly),
// called in the order of adding with the sender and one shared arguments object.

#include <functional>
#include <memory>
#include <vector>

#include "KivoCore/KivoCoreExport.h"
#include "KivoCore/KivoEventArgs.h"

// What a handler receives: the sender (held weakly) and the event's arguments.
class KIVO_CORE_EXPORT KivoEventContainer : public plat::Object {
public:
    KivoEventContainer(const std::shared_ptr<plat::Object>& sender, std::shared_ptr<KivoEventArgs> eventArgs)
        : _sender(sender), _eventArgs(std::move(eventArgs)) {}

    std::shared_ptr<plat::Object> sender() const { return _sender.lock(); }
    const std::shared_ptr<KivoEventArgs>& eventArgs() const { return _eventArgs; }
    template <class T>
    std::shared_ptr<T> args() const {
        return std::dynamic_pointer_cast<T>(_eventArgs);
    }

private:
    std::weak_ptr<plat::Object> _sender;
    std::shared_ptr<KivoEventArgs> _eventArgs;
};

// A handler block with an identity: copies are the same block, each construction from a callable is
// a new one. Removal compares blocks by this identity, never by what they do.
class KIVO_CORE_EXPORT KivoEventBlock {
public:
    using Function = std::function<void(const std::shared_ptr<KivoEventContainer>&)>;

    KivoEventBlock() = default;
    // clang-format off
    template <class F>
        requires(std::is_invocable_v<F&, const std::shared_ptr<KivoEventContainer>&> &&
                 !std::is_same_v<std::remove_cvref_t<F>, KivoEventBlock>)
    KivoEventBlock(F&& f) : _fn(std::make_shared<const Function>(std::forward<F>(f))) {}
    // clang-format on

    void operator()(const std::shared_ptr<KivoEventContainer>& c) const {
        if (_fn && *_fn) (*_fn)(c);
    }
    bool isSameBlock(const KivoEventBlock& other) const { return _fn == other._fn; }
    // The block's identity, shared by its copies: what isSameBlock compares.
    const void* identity() const { return _fn.get(); }
    explicit operator bool() const { return _fn != nullptr; }

private:
    std::shared_ptr<const Function> _fn;
};

// One subscription: the block and its owner, held weakly (it reads as null once the owner is gone).
class KIVO_CORE_EXPORT KivoEventHandler : public plat::Object {
public:
    KivoEventHandler(KivoEventBlock handler, const std::shared_ptr<void>& owner) : _handler(std::move(handler)), _this(owner) {}

    const KivoEventBlock& handler() const { return _handler; }
    // The owner of the subscription (the object the platform called `this`); null once it is gone.
    std::shared_ptr<void> thisObject() const { return _this.lock(); }
    // Same owner by identity; an owner that is gone compares as null.
    bool isOwnedBy(const std::shared_ptr<void>& owner) const;

private:
    KivoEventBlock _handler;
    std::weak_ptr<void> _this;
};

class KIVO_CORE_EXPORT KivoEvent : public plat::Object {
public:
    using Handlers = std::vector<std::shared_ptr<KivoEventHandler>>;

    KivoEvent();
    ~KivoEvent() override;
    KivoEvent(const KivoEvent&) = delete;
    KivoEvent& operator=(const KivoEvent&) = delete;

    // Null until the first handler is added; in the order of adding. The list handed out never changes
    // afterwards: later subscriptions go to a new list.
    std::shared_ptr<const Handlers> handlers() const;

    // Adding one block twice subscribes it twice: it then runs twice for every event.
    void addHandler(const KivoEventBlock& handler, const std::shared_ptr<void>& owner);
    // Removes the first subscription of this very block with this very owner.
    void removeHandler(const KivoEventBlock& handler, const std::shared_ptr<void>& owner);
    // Removes ONE subscription: the first whose owner is `owner` or is already gone.
    void removeHandlersForObject(const std::shared_ptr<void>& owner);
    void removeAllHandlers();
    // Calls every handler present at the start, in order, each with a new container around the same
    // arguments (a `cancel` set by one handler is seen by the next and by the raiser). Handlers of
    // owners that are gone are still called.
    void raise(const std::shared_ptr<plat::Object>& sender, const std::shared_ptr<KivoEventArgs>& args) const;

private:
    struct Index;

    // Copy-on-write only while shared: a raise holds the list it walks (as does a caller of
    // handlers()), so a handler that subscribes or unsubscribes during the raise changes a copy and
    // the raise goes on over the list as it stood when it began. Unshared, the list changes in place,
    // so adding is amortised constant time. Removing leaves an empty slot, found through the index
    // by block and by owner, and the slots are swept out before the list is handed out or grows
    // mostly empty: removing is amortised constant time too.
    mutable std::shared_ptr<Handlers> _handlers;
    mutable std::unique_ptr<Index> _index;
};
