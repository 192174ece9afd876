#include "overlay/CellViewCache.h"

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
    for (const auto& [key, view] : _views) {
        view->setHidden(true);
        view->removeFromSuperview();
    }
}

}  // namespace kivo::detail
