#include "KivoCore/KivoEvent.h"

#include <algorithm>

namespace {

bool sameOwner(const std::weak_ptr<void>& a, const std::shared_ptr<void>& b) { return !a.owner_before(b) && !b.owner_before(a); }

using Handlers = KivoEvent::Handlers;

// The list to change: made on first use, and copied first only while someone else holds it (a raise
// in progress, or a caller of handlers()), who keeps seeing the list as it was.
Handlers& writable(std::shared_ptr<Handlers>& handlers) {
    if (!handlers)
        handlers = std::make_shared<Handlers>();
    else if (handlers.use_count() > 1)
        handlers = std::make_shared<Handlers>(*handlers);
    return *handlers;
}

// Removes the first subscription that `matches`; copies nothing when there is none.
template <class Match>
void eraseFirst(std::shared_ptr<Handlers>& handlers, Match matches) {
    if (!handlers) return;
    auto found = std::find_if(handlers->begin(), handlers->end(), [&](const auto& h) { return matches(*h); });
    if (found == handlers->end()) return;
    const auto index = found - handlers->begin();
    Handlers& list = writable(handlers);
    list.erase(list.begin() + index);
}

}  // namespace

bool KivoEventHandler::isOwnedBy(const std::shared_ptr<void>& owner) const {
    if (_this.expired()) return owner == nullptr;
    return owner != nullptr && sameOwner(_this, owner);
}

void KivoEvent::addHandler(const KivoEventBlock& handler, const std::shared_ptr<void>& owner) {
    writable(_handlers).push_back(std::make_shared<KivoEventHandler>(handler, owner));
}

void KivoEvent::removeHandler(const KivoEventBlock& handler, const std::shared_ptr<void>& owner) {
    eraseFirst(_handlers, [&](const KivoEventHandler& h) { return h.handler().isSameBlock(handler) && h.isOwnedBy(owner); });
}

void KivoEvent::removeHandlersForObject(const std::shared_ptr<void>& owner) {
    eraseFirst(_handlers, [&](const KivoEventHandler& h) { return h.thisObject() == nullptr || h.isOwnedBy(owner); });
}

void KivoEvent::removeAllHandlers() {
    if (!_handlers) return;  // a nil list stays nil
    if (_handlers.use_count() > 1)
        _handlers = std::make_shared<Handlers>();
    else
        _handlers->clear();
}

void KivoEvent::raise(const std::shared_ptr<plat::Object>& sender, const std::shared_ptr<KivoEventArgs>& args) const {
    auto snapshot = _handlers;
    if (!snapshot) return;
    for (const auto& h : *snapshot) h->handler()(std::make_shared<KivoEventContainer>(sender, args));
}
