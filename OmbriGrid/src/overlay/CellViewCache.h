#pragma once
// Platform views kept for cells, by the row's identity, the column and the panel's cell type: a view
// stays with its row while indices shift, and a row made after a rebinding never finds an older
// row's view.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <tuple>

namespace plat {
class View;
}

namespace kivo::detail {

class CellViewCache {
public:
    struct Key {
        std::uint64_t row;
        std::int32_t col;
        std::int64_t cellType;
        auto operator<=>(const Key&) const = default;
    };

    ~CellViewCache() { clear(); }

    std::shared_ptr<plat::View> find(const Key& key) const;
    void store(const Key& key, std::shared_ptr<plat::View> view);
    std::size_t size() const { return _views.size(); }
    // Every view off its superview, and the cache empty.
    void clear();
    // Every view hidden and off its superview, kept for the pass that shows it again.
    void hideAll();

private:
    std::map<Key, std::shared_ptr<plat::View>> _views;
};

}  // namespace kivo::detail
