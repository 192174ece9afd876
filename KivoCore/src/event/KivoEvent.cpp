#include "KivoCore/KivoEvent.h"

#include <algorithm>

namespace {

bool sameOwner(const std::weak_ptr<void>& a, const std::shared_ptr<void>& b) { return !a.owner_before(b) && !b.owner_before(a); }

// Copy-on-write removal of the first subscription that `matches`, leaving a raise in progress its snapshot.
template <class Match>
void eraseFirst(std::shared_ptr<const KivoEvent::Handlers>& handlers, Match matches) {
    if (!handlers) return;
    auto found = std::find_if(handlers->begin(), handlers->end(), [&](const auto& h) { return matches(*h); });
    if (found == handlers->end()) return;
    auto list = std::make_shared<KivoEvent::Handlers>(*handlers);
    list->erase(list->begin() + (found - handlers->begin()));
    handlers = std::move(list);
}

}  // namespace

bool KivoEventHandler::isOwnedBy(const std::shared_ptr<void>& owner) const {
    if (_this.expired()) return owner == nullptr;
    return owner != nullptr && sameOwner(_this, owner);
}

void KivoEvent::addHandler(const KivoEventBlock& handler, const std::shared_ptr<void>& owner) {
    auto list = _handlers ? std::make_shared<Handlers>(*_handlers) : std::make_shared<Handlers>();
    list->push_back(std::make_shared<KivoEventHandler>(handler, owner));
    _handlers = std::move(list);
}

void KivoEvent::removeHandler(const KivoEventBlock& handler, const std::shared_ptr<void>& owner) {
    eraseFirst(_handlers, [&](const KivoEventHandler& h) { return h.handler().isSameBlock(handler) && h.isOwnedBy(owner); });
}

void KivoEvent::removeHandlersForObject(const std::shared_ptr<void>& owner) {
    eraseFirst(_handlers, [&](const KivoEventHandler& h) { return h.thisObject() == nullptr || h.isOwnedBy(owner); });
}

void KivoEvent::removeAllHandlers() {
    if (_handlers) _handlers = std::make_shared<Handlers>();
}

void KivoEvent::raise(const std::shared_ptr<plat::Object>& sender, const std::shared_ptr<KivoEventArgs>& args) const {
    auto snapshot = _handlers;
    if (!snapshot) return;
    for (const auto& h : *snapshot) h->handler()(std::make_shared<KivoEventContainer>(sender, args));
}
