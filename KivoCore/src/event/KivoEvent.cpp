#include "KivoCore/KivoEvent.h"

namespace {

bool sameOwner(const std::weak_ptr<void>& a, const std::shared_ptr<void>& b) {
    return !a.owner_before(b) && !b.owner_before(a);
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
    if (!_handlers) return;
    for (size_t i = 0; i < _handlers->size(); ++i) {
        const auto& h = (*_handlers)[i];
        if (h->handler().isSameBlock(handler) && h->isOwnedBy(owner)) {
            auto list = std::make_shared<Handlers>(*_handlers);
            list->erase(list->begin() + static_cast<std::ptrdiff_t>(i));
            _handlers = std::move(list);
            return;
        }
    }
}

void KivoEvent::removeHandlersForObject(const std::shared_ptr<void>& owner) {
    if (!_handlers) return;
    for (size_t i = 0; i < _handlers->size(); ++i) {
        const auto& h = (*_handlers)[i];
        if (h->thisObject() == nullptr || h->isOwnedBy(owner)) {
            auto list = std::make_shared<Handlers>(*_handlers);
            list->erase(list->begin() + static_cast<std::ptrdiff_t>(i));
            _handlers = std::move(list);
            return;
        }
    }
}

void KivoEvent::removeAllHandlers() {
    if (_handlers) _handlers = std::make_shared<Handlers>();
}

void KivoEvent::raise(const std::shared_ptr<plat::Object>& sender, const std::shared_ptr<KivoEventArgs>& args) const {
    auto snapshot = _handlers;
    if (!snapshot) return;
    for (const auto& h : *snapshot) h->handler()(std::make_shared<KivoEventContainer>(sender, args));
}
