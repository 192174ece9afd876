#pragma once
// The one door the grid tests use into the grid's inner workings: everything goes through the grid's
// internal-access class.

#include <functional>
#include <memory>
#include <optional>

#include "GridInternals.h"
#include "KivoCore/KivoCollectionView.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/graphics/image.h"
#include "Platform/runtime/timer.h"
#include "clipboard/GridClipboard.h"
#include "editing/EditSession.h"
#include "events/DelegateRule.h"
#include "resizing/GridPress.h"
#include "scrolling/GridScroller.h"

namespace kivo::detail {

struct GridTestAccess {
    static bool isDirty(const GridRowColCollection& c) { return GridInternals::layoutIsStale(c); }
    static bool update(const GridRowColCollection& c) { return GridInternals::layOut(c); }
    static void bindItems(GridRowCollection& rows, const plat::ArrayPtr& items) { GridInternals::bindItems(rows, items); }
    // Puts a stand-in image into a panel's cache for the cell (row, col).
    static void cacheCell(GridPanel& panel, std::int32_t row, std::int32_t col) {
        GridInternals::cellImages(panel)[GridInternals::cellImageKey(row, col)] = std::make_shared<plat::Image>(1, 1);
    }
    static bool isCached(const GridPanel& panel, std::int32_t row, std::int32_t col) {
        return GridInternals::cellImages(const_cast<GridPanel&>(panel)).count(GridInternals::cellImageKey(row, col)) != 0;
    }
    static bool raise(OmbriGrid& grid, const std::shared_ptr<KivoEvent>& event, const std::shared_ptr<KivoCancelEventArgs>& args,
                      DelegateRule rule, const std::function<std::optional<bool>(OmbriGridDelegate&)>& ask) {
        return GridInternals::raiseCancelable(grid, event, args, rule, ask);
    }
    static void setCollectionView(OmbriGrid& grid, std::shared_ptr<KivoCollectionView> view) {
        GridInternals::collectionView(grid) = std::move(view);
    }
    // The rows' total size summed row by row, as a naive layout would.
    static std::int64_t naiveTotal(const GridRowColCollection& c) {
        std::int64_t total = 0;
        for (std::size_t i = 0; i < c.count(); ++i) total += c.item(static_cast<std::int64_t>(i))->renderSize();
        return total;
    }
    static plat::Point panMax(const OmbriGrid& grid) { return GridInternals::panMax(grid); }
    // Cells drawn straight into the grid's context, as the platform's refusal of an image makes them:
    // what a cell draws then reaches the test's recording context.
    static void drawCellsStraight(GridPanel& panel, bool on = true) { GridInternals::drawCellsStraight(panel, on); }
    static void setEditRange(OmbriGrid& grid, std::shared_ptr<GridCellRange> range) {
        GridInternals::edit(grid).range = std::move(range);
    }
    static void setColumnBeingSized(OmbriGrid& grid, std::int32_t column) {
        GridInternals::press(grid).setColumnBeingSized(column);
    }
    static const std::shared_ptr<GridRowCollection>& headerRows(const OmbriGrid& grid) { return GridInternals::headerRows(grid); }
    static const std::shared_ptr<GridColumnCollection>& headerColumns(const OmbriGrid& grid) {
        return GridInternals::headerColumns(grid);
    }
    static const std::shared_ptr<plat::TextField>& editor(const OmbriGrid& grid) { return GridInternals::edit(grid).editor; }
    // A selection stored as it is, past every check of the setter.
    static void placeSelection(OmbriGrid& grid, const GridCellRange& range) { GridInternals::selection(grid) = range.clone(); }
    // ---- view operations ----
    // An origin as a glide past an edge leaves it, before anything clamps it.
    static void placeOrigin(OmbriGrid& grid, double x, double y) {
        GridInternals::originX(grid) = x;
        GridInternals::originY(grid) = y;
    }
    // ---- scrolling ----
    // True while a glide or a bounce runs.
    static bool isSliding(const OmbriGrid& grid) { return GridInternals::scroller(grid).isSliding(); }
    static bool editTimerLock(const OmbriGrid& grid) { return GridInternals::scroller(grid).isMovingOrigin(); }
    // Starts a glide (or a bounce) from the origin to `to`, `seconds` long, as a release or an
    // over-scroll would.
    static void slide(OmbriGrid& grid, plat::Point to, float seconds, bool bounce) {
        GridInternals::scroller(grid).slide(to, seconds, bounce);
    }
    // True from the last final constraint until the fade has run its ticks.
    static bool isFadePending(const OmbriGrid& grid) { return GridInternals::scroller(grid).isFadePending(); }
    // ---- editing ----
    static void setEditStartLock(OmbriGrid& grid, bool on) { GridInternals::edit(grid).startLock = on; }
    static void setEditTimerLock(OmbriGrid& grid, bool on) { GridInternals::scroller(grid).setMovingOrigin(on); }
    static bool isFinishing(const OmbriGrid& grid) { return GridInternals::edit(grid).finishing; }
    static const std::shared_ptr<plat::PickerView>& dataMapPicker(const OmbriGrid& grid) {
        return GridInternals::edit(grid).picker;
    }
    static const std::shared_ptr<plat::Toolbar>& dataMapPickerToolbar(const OmbriGrid& grid) {
        return GridInternals::edit(grid).pickerToolbar;
    }

    // ---- taps and sorting ----
    static bool editStartLock(const OmbriGrid& grid) { return GridInternals::edit(grid).startLock; }
    static bool selOrigin(const OmbriGrid& grid) { return GridInternals::selOrigin(grid); }
    // Whether the rows read their items from the view where they stand (after a header tap's re-sort).
    static bool rowsReadTheView(const OmbriGrid& grid) { return GridInternals::readsReorderedView(*grid.rows()); }

    // ---- column resizing and the selection handles' drag ----

    // ---- keyboard commands ----
    static void setSelOrigin(OmbriGrid& grid, bool anchorStays) { GridInternals::selOrigin(grid) = anchorStays; }

    // ---- clipboard ----
    static const std::vector<std::vector<plat::Value>>& localClipboard(const OmbriGrid& grid) {
        return GridInternals::clipboard(grid).copy().values;
    }
    static const std::shared_ptr<GridCellRange>& copiedRange(const OmbriGrid& grid) {
        return GridInternals::clipboard(grid).copy().range;
    }
    static bool copyBeingCut(const OmbriGrid& grid) { return GridInternals::clipboard(grid).isCut(); }
    // The cell the edit menu was opened on, as a long press there records it.
    static void pressForMenu(OmbriGrid& grid, std::shared_ptr<GridHitTestInfo> hit) {
        GridInternals::contextMenuHit(grid) = std::move(hit);
    }

    // ---- data maps ----
    static std::int32_t indexOf(const GridDataMap& map, const plat::Value& value, const std::string& path, bool caseSensitive) {
        return GridInternals::indexOf(map, value, path, caseSensitive);
    }

    // ---- detail rows ----
    // The provider's views over the grid (the tests include "detail/DetailViews.h" to use them).
    static DetailViews& detailViews(OmbriGridDetailProvider& provider) { return GridInternals::detailViews(provider); }

    // ---- cell views ----
};

}  // namespace kivo::detail

namespace grid_test {
using Access = kivo::detail::GridTestAccess;
}
