#include "KivoCore/KivoCollectionViewGroup.h"

#include "KivoCore/KivoAggregate.h"
#include "collection/GroupTree.h"

const plat::ArrayPtr& KivoCollectionViewGroup::items() const {
    if (!_items) {
        auto list = std::make_shared<plat::Array>();
        if (_members) _members->fill(*list);
        _items = std::move(list);
    }
    return _items;
}

std::uint64_t KivoCollectionViewGroup::totalItemCount() const {
    std::uint64_t total = _members ? _members->count() : _items ? _items->size() : 0;
    for (const auto& g : _groups)
        if (g) total += g->totalItemCount();
    return total;
}

plat::ArrayPtr KivoCollectionViewGroup::itemsRecursive() const {
    auto out = std::make_shared<plat::Array>();
    out->reserve(totalItemCount());
    // Straight from the members: no list is made for each group on the way.
    auto append = [&](auto& self, const KivoCollectionViewGroup& group) -> void {
        if (group._members)
            group._members->fill(*out);
        else if (group._items)
            out->insert(out->end(), group._items->begin(), group._items->end());
        for (const auto& g : group.groups())
            if (g) self(self, *g);
    };
    append(append, *this);
    return out;
}

double KivoCollectionViewGroup::getAggregate(std::int64_t aggregate, const std::optional<std::string>& binding) const {
    return KivoGetAggregate(aggregate, *itemsRecursive(), binding);
}
