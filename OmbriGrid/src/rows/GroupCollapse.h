#pragma once
// The collapse or expansion of a group row, run from the main queue.

#include <cstdint>

class GridGroupRow;
class GridRowColCollection;
class GridRowCol;

namespace kivo::detail {

class GroupCollapse {
public:
    static void run(GridGroupRow& row, bool collapse);
    // Sets or clears flag bits of an item, telling only its collection's layout.
    static bool setQuietly(GridRowCol& item, std::uint64_t mask, bool value);
};

}  // namespace kivo::detail
