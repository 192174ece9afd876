#include "selection/ItemPositions.h"

#include <algorithm>
#include <cstddef>

namespace kivo::detail {
namespace {
struct Pending {
    plat::ArrayPtr items;    // the bottom group's items, in list order
    std::size_t next = 0;    // the first not yet placed
    std::size_t firstRow;    // the row of its first item
};

void walk(const KivoCollectionViewGroupList& groups, std::vector<std::int32_t>& rows, std::vector<Pending>& pending) {
    for (const auto& group : groups) {
        if (!group) continue;
        rows.push_back(-1);
        if (group->isBottomLevel()) {
            const auto& items = group->items();
            if (!items || items->empty()) continue;
            pending.push_back({items, 0, rows.size()});
            rows.resize(rows.size() + items->size(), -1);
        } else {
            walk(group->groups(), rows, pending);
        }
    }
}
}  // namespace

std::vector<std::int32_t> groupedItemPositions(const plat::Array& visible, const KivoCollectionViewGroupList& groups) {
    std::vector<std::int32_t> rows;
    std::vector<Pending> pending;
    walk(groups, rows, pending);
    // Groups still waiting for items; one whose items are all placed leaves the scan.
    std::vector<std::size_t> open(pending.size());
    for (std::size_t i = 0; i < open.size(); ++i) open[i] = i;
    const std::size_t count = std::min<std::size_t>(visible.size(), INT32_MAX);
    for (std::size_t k = 0; k < count && !open.empty(); ++k) {
        for (auto it = open.begin(); it != open.end(); ++it) {
            Pending& p = pending[*it];
            if (!((*p.items)[p.next] == visible[k])) continue;
            rows[p.firstRow + p.next] = static_cast<std::int32_t>(k);
            if (++p.next == p.items->size()) open.erase(it);
            break;
        }
    }
    return rows;
}

}  // namespace kivo::detail
