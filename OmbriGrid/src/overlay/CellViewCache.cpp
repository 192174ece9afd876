#include "overlay/CellViewCache.h"

#include <vector>

#include "Platform/ui/view.h"

namespace kivo::detail {

std::shared_ptr<plat::View> CellViewCache::find(const Key& key) const {
    const auto it = _views.find(key);
    return it == _views.end() ? nullptr : it->second;
}

void CellViewCache::store(const Key& key, std::shared_ptr<plat::View> view) {
    if (view) _views[key] = std::move(view);
}

void CellViewCache::clear() {
    // Taken out first: a view leaving its superview may run code that looks at the cache.
    auto views = std::move(_views);
    _views.clear();
    for (const auto& [key, view] : views) view->removeFromSuperview();
}

void CellViewCache::hideAll() {
    // Walked over a copy: a view leaving its superview may run code that empties or fills the cache.
    std::vector<std::shared_ptr<plat::View>> views;
    views.reserve(_views.size());
    for (const auto& [key, view] : _views) views.push_back(view);
    for (const auto& view : views) {
        view->setHidden(true);
        view->removeFromSuperview();
    }
}

}  // namespace kivo::detail
