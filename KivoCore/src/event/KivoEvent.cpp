#include "KivoCore/KivoEvent.h"

#include <cstdint>
#include <map>
#include <unordered_map>

namespace {

bool sameOwner(const std::weak_ptr<void>& a, const std::shared_ptr<void>& b) { return !a.owner_before(b) && !b.owner_before(a); }

using Handlers = KivoEvent::Handlers;
constexpr std::uint32_t None = UINT32_MAX;
// Empty slots are swept out once they outnumber the subscriptions (and are more than a few).
constexpr std::size_t SweepAt = 64;

}  // namespace

// Where the subscriptions of each block and of each owner lie, as chains of positions in list order
// threaded through `links`: a removal looks at the subscriptions of its block or its owner only.
// Owners are told apart as the handlers tell them apart, by the object they share (a base class's
// address of it is the same owner), so they are ordered rather than hashed.
struct KivoEvent::Index {
    struct Chain {
        std::uint32_t head = None, tail = None;
        std::size_t live = 0;
    };
    using BlockChains = std::unordered_map<const void*, Chain>;
    // An owner's key keeps its control block alive, so a key is never taken over by a later owner.
    using OwnerChains = std::map<std::weak_ptr<void>, Chain, std::owner_less<>>;
    struct Links {
        std::uint32_t nextOfBlock = None, nextOfOwner = None;
        OwnerChains::iterator owner;
    };

    BlockChains byBlock;
    OwnerChains byOwner;
    std::vector<Links> links;  // one per slot of the list
    std::size_t removed = 0;   // empty slots
    std::uint32_t first = 0;   // no subscription lies before it

    void link(Chain& c, std::uint32_t Links::*next, std::uint32_t at) {
        if (c.live == 0)
            c.head = at;
        else
            links[c.tail].*next = at;
        c.tail = at;
        ++c.live;
    }

    void append(const Handlers& list, OwnerChains::iterator owner) {
        const auto at = static_cast<std::uint32_t>(links.size());
        links.push_back({None, None, owner});
        link(byBlock[list[at]->handler().identity()], &Links::nextOfBlock, at);
        link(owner->second, &Links::nextOfOwner, at);
    }
    void append(const Handlers& list, const std::shared_ptr<void>& owner) {
        append(list, byOwner.try_emplace(std::weak_ptr<void>(owner)).first);
    }

    // The first subscription on the chain that `matches`; removed slots at its head leave it.
    template <class Match>
    std::uint32_t find(Chain& c, std::uint32_t Links::*next, const Handlers& list, Match matches) {
        if (c.live == 0) return None;
        while (!list[c.head]) c.head = links[c.head].*next;
        for (std::uint32_t p = c.head; p != None; p = links[p].*next)
            if (list[p] && matches(*list[p])) return p;
        return None;
    }
    template <class Chains, class Key, class Match>
    std::uint32_t find(Chains& chains, const Key& key, std::uint32_t Links::*next, const Handlers& list, Match matches) {
        auto it = chains.find(key);
        return it == chains.end() ? None : find(it->second, next, list, matches);
    }

    void remove(Handlers& list, std::uint32_t at) {
        auto block = byBlock.find(list[at]->handler().identity());
        if (--block->second.live == 0) byBlock.erase(block);
        auto owner = links[at].owner;
        if (--owner->second.live == 0) byOwner.erase(owner);
        list[at].reset();
        ++removed;
        while (first < list.size() && !list[first]) ++first;
    }

    // Drops the empty slots: in place while nobody else holds the list, else into a new one.
    void sweep(std::shared_ptr<Handlers>& handlers) {
        const bool shared = handlers.use_count() > 1;
        Handlers& from = *handlers;
        auto swept = shared ? std::make_shared<Handlers>() : handlers;
        std::vector<OwnerChains::iterator> owners;  // of the kept subscriptions, in order
        owners.reserve(from.size() - removed);
        for (std::size_t i = 0; i < from.size(); ++i) {
            if (!from[i]) continue;
            owners.push_back(links[i].owner);
            if (shared)
                swept->push_back(from[i]);
            else
                from[owners.size() - 1] = std::move(from[i]);
        }
        if (!shared) from.resize(owners.size());
        handlers = std::move(swept);
        // Every owner key left has kept subscriptions: its chain is made again.
        byBlock.clear();
        for (auto& entry : byOwner) entry.second = Chain();
        links.clear();
        removed = 0;
        first = 0;
        for (auto owner : owners) append(*handlers, owner);
    }
};

bool KivoEventHandler::isOwnedBy(const std::shared_ptr<void>& owner) const {
    if (_this.expired()) return owner == nullptr;
    return owner != nullptr && sameOwner(_this, owner);
}

KivoEvent::KivoEvent() = default;
KivoEvent::~KivoEvent() = default;

std::shared_ptr<const KivoEvent::Handlers> KivoEvent::handlers() const {
    if (_index && _index->removed > 0) _index->sweep(_handlers);
    return _handlers;
}

void KivoEvent::addHandler(const KivoEventBlock& handler, const std::shared_ptr<void>& owner) {
    if (!_handlers) {
        _handlers = std::make_shared<Handlers>();
        _index = std::make_unique<Index>();
    } else if (_handlers.use_count() > 1) {
        // Someone holds the list: the new one leaves it as it was.
        if (_index->removed > 0)
            _index->sweep(_handlers);
        else
            _handlers = std::make_shared<Handlers>(*_handlers);
    }
    _handlers->push_back(std::make_shared<KivoEventHandler>(handler, owner));
    _index->append(*_handlers, owner);
}

namespace {

// The list to empty a slot of: copied first while someone else holds it, positions kept.
Handlers& writable(std::shared_ptr<Handlers>& handlers) {
    if (handlers.use_count() > 1) handlers = std::make_shared<Handlers>(*handlers);
    return *handlers;
}

}  // namespace

void KivoEvent::removeHandler(const KivoEventBlock& handler, const std::shared_ptr<void>& owner) {
    if (!_handlers) return;
    Index& index = *_index;
    auto matches = [&](const KivoEventHandler& h) { return h.handler().isSameBlock(handler) && h.isOwnedBy(owner); };
    // Both chains hold the first match in list order; a subscription whose owner is gone matches no
    // owner but a null one, and is on its block's chain: walk the owner's chain only for a living owner.
    std::uint32_t at;
    auto ownChain = owner ? index.byOwner.find(owner) : index.byOwner.end();
    auto blockChain = index.byBlock.find(handler.identity());
    if (blockChain == index.byBlock.end()) return;
    if (ownChain != index.byOwner.end() && ownChain->second.live < blockChain->second.live)
        at = index.find(ownChain->second, &Index::Links::nextOfOwner, *_handlers, matches);
    else
        at = index.find(blockChain->second, &Index::Links::nextOfBlock, *_handlers, matches);
    if (at == None) return;
    index.remove(writable(_handlers), at);
    if (index.removed > SweepAt && index.removed * 2 > _handlers->size()) index.sweep(_handlers);
}

void KivoEvent::removeHandlersForObject(const std::shared_ptr<void>& owner) {
    if (!_handlers) return;
    Index& index = *_index;
    const Handlers& list = *_handlers;
    auto any = [](const KivoEventHandler&) { return true; };
    // The first of: the owner's own subscription, one made without an owner, and one whose owner has
    // gone since (only the subscriptions ahead of the other two need that look).
    std::uint32_t at = index.find(index.byOwner, std::weak_ptr<void>(), &Index::Links::nextOfOwner, list, any);
    if (owner) {
        std::uint32_t own = index.find(index.byOwner, owner, &Index::Links::nextOfOwner, list,
                                       [&](const KivoEventHandler& h) { return h.isOwnedBy(owner); });
        if (own < at) at = own;
    }
    const std::uint32_t end = at == None ? static_cast<std::uint32_t>(list.size()) : at;
    for (std::uint32_t p = index.first; p < end; ++p)
        if (list[p] && list[p]->isOwnedBy(nullptr)) {
            at = p;
            break;
        }
    if (at == None) return;
    index.remove(writable(_handlers), at);
    if (index.removed > SweepAt && index.removed * 2 > _handlers->size()) index.sweep(_handlers);
}

void KivoEvent::removeAllHandlers() {
    if (!_handlers) return;  // a null list stays null
    if (_handlers.use_count() > 1)
        _handlers = std::make_shared<Handlers>();
    else
        _handlers->clear();
    *_index = Index();
}

void KivoEvent::raise(const std::shared_ptr<plat::Object>& sender, const std::shared_ptr<KivoEventArgs>& args) const {
    auto snapshot = _handlers;
    if (!snapshot) return;
    for (const auto& h : *snapshot)
        if (h) h->handler()(std::make_shared<KivoEventContainer>(sender, args));
}
