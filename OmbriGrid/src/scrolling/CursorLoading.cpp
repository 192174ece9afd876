// Loading more items from a cursor collection view once the grid is scrolled to the bottom of what it
// has.
#include "scrolling/CursorLoading.h"

#include <atomic>
#include <cmath>

#include "GridInternals.h"
#include "KivoCore/KivoCursorCollectionView.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/process_cache.h"
#include "foundation/saturating_cast.h"
#include "scrolling/GridScroller.h"

namespace {
// Rows of header height in this many screens are asked for.
constexpr double ScreensPerLoad = 2;

std::atomic<bool>& loading() {
    static std::atomic<bool> flag{false};
    // A test starts with no load running, whatever the test before it left.
    [[maybe_unused]] static const bool resettable = (plat::addProcessStateReset([] { flag = false; }), true);
    return flag;
}
}  // namespace

using kivo::detail::GridInternals;

namespace kivo::detail {
bool gridIsLoadingMoreItems() { return loading(); }
}  // namespace kivo::detail

bool OmbriGrid::isScrolledToBottom() const { return _state->originY > _state->scroller->panMax().y - bounds().height(); }

void kivo::detail::GridScroller::tryLoadMore() {
    const auto cursor = std::dynamic_pointer_cast<KivoCursorCollectionView>(_grid.collectionView());
    if (!cursor || !_grid.isScrolledToBottom() || loading()) return;
    // A cursor with nothing more starts no load, so the flag never waits for a completion that will not come.
    if (!cursor->hasMoreItems()) return;
    if (loading().exchange(true)) return;
    plat::Value count;
    const auto& headerRows = *GridInternals::headerRows(_grid);
    if (headerRows.count() > 0) {
        // A header row of no height asks with no count rather than divide by zero.
        const double h = headerRows.row(0)->renderHeight();
        if (h > 0)
            count =
                plat::Value(plat::detail::saturatingCast<std::int64_t>(std::trunc(ScreensPerLoad * _grid.bounds().height() / h)));
    }
    cursor->loadMoreItems(count, [] { loading() = false; });
}
