#pragma once
// Where the items of a grouped binding stand in the view: the rows of a grouped view follow its
// groups, not its list, so each row's item position is worked out once, as the rows are made.

#include <cstdint>
#include <vector>

#include "KivoCore/KivoCollectionViewGroup.h"
#include "Platform/foundation/value.h"

namespace kivo::detail {

// One entry per row that group rows for `groups` would make, depth first (a group row, then its
// items or its sub-groups): -1 for a group row, else the item's position in `visible`. Each bottom
// group's items keep the order of the list, so walking the list once hands every position to the
// first group, in row order, whose next item it is.
std::vector<std::int32_t> groupedItemPositions(const plat::Array& visible, const KivoCollectionViewGroupList& groups);

}  // namespace kivo::detail
