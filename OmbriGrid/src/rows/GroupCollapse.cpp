#include "rows/GroupCollapse.h"

#include "GridInternals.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "events/DelegateRule.h"

namespace kivo::detail {

bool GroupCollapse::setQuietly(GridRowCol& item, std::uint64_t mask, bool value) {
    if (!item.setFlagQuietly({}, mask, value)) return false;
    if (auto owner = item.owner()) owner->itemChanged({}, item);
    return true;
}

void GroupCollapse::run(GridGroupRow& row, bool collapse) {
    if (collapse == row.isCollapsed() || !row.owner()) return;
    auto grid = row.grid();
    if (!grid) return;
    const auto alive = kivo::detail::GridInternals::keepAlive(*grid);
    const auto keepRow = row.shared_from_this();
    const auto span = row.cellRange();
    const auto& rows = grid->rows();
    auto range = std::make_shared<GridCellRange>(row.index(), -1);
    auto args = std::make_shared<GridCellRangeEventArgs>(grid->cells(), range);
    const auto cells = grid->cells();
    if (!kivo::detail::GridInternals::raiseCancelable(
            *grid, grid->ombriGridGroupCollapsedChanging(), args, DelegateRule::EitherStops,
            [&](OmbriGridDelegate& d) { return d.groupCollapsedChanging(grid, cells, range); }))
        return;

    // Each member's flag tells only the layout; the one invalidate at the end drops every panel's
    // images at once, so collapsing n rows costs n layout updates and one pass over each cache.
    setQuietly(row, GridRowColFlagsCollapsed, collapse);
    const std::int64_t count = static_cast<std::int64_t>(rows->count());
    std::int64_t r = span->topRow();
    while (r >= -1 && r < span->bottomRow()) {
        ++r;
        if (r >= count) break;
        auto item = rows->item(r);
        if (!item) continue;
        setQuietly(*item, GridRowColFlagsHiddenByCollapse, collapse);
        // A collapsed sub-group keeps its members hidden: they are skipped.
        if (auto group = std::dynamic_pointer_cast<GridGroupRow>(item); group && group->isCollapsed())
            r = group->cellRange()->bottomRow();
    }

    kivo::detail::GridInternals::raiseNotice(*grid, grid->ombriGridGroupCollapsedChanged(), args,
                                             [&](OmbriGridDelegate& d) { d.groupCollapsedChanged(grid, cells, range); });
    grid->invalidate();
}

}  // namespace kivo::detail
