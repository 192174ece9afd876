#pragma once
// Builds a collection view's group tree from its visible list: for each item, level by level, the
// level's description names the item's group; the first group in the current list whose name matches
// takes it, or a new group is appended; bottom-level groups collect the items. Groups therefore stand
// in the order of their first items, and items keep their visible order.

#include <memory>
#include <vector>

#include "KivoCore/KivoCollectionViewGroup.h"

namespace kivo::detail {

using GroupDescriptionList = std::vector<std::shared_ptr<KivoGroupDescription>>;

KivoCollectionViewGroupList buildGroups(const plat::Array& items, const GroupDescriptionList& descriptions);

// Empties a group list that is being replaced, faster than dropping it: the items of groups that no
// one else holds are released in an order the memory system can fetch ahead.
void releaseGroups(KivoCollectionViewGroupList& groups);

}  // namespace kivo::detail
