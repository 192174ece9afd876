#include "KivoCore/KivoCollectionViewGroup.h"

#include "KivoCore/KivoAggregate.h"

std::uint64_t KivoCollectionViewGroup::totalItemCount() const {
    std::uint64_t total = _items->size();
    for (const auto& g : _groups)
        if (g) total += g->totalItemCount();
    return total;
}

namespace {

void appendRecursive(const KivoCollectionViewGroup& group, plat::Array& out) {
    out.insert(out.end(), group.items()->begin(), group.items()->end());
    for (const auto& g : group.groups())
        if (g) appendRecursive(*g, out);
}

}  // namespace

plat::ArrayPtr KivoCollectionViewGroup::itemsRecursive() const {
    auto out = std::make_shared<plat::Array>();
    out->reserve(totalItemCount());
    appendRecursive(*this, *out);
    return out;
}

double KivoCollectionViewGroup::getAggregate(std::int64_t aggregate, const std::optional<std::string>& binding) const {
    return KivoGetAggregate(aggregate, *itemsRecursive(), binding);
}
