#pragma once
// The one door from the grid's parts (scroller, edit session, clipboard, press handler, row and
// column collections) and from the grid tests' access type into the grid's private members, and
// into what the panels, the collections, the data map and the detail provider open to it by passkey.
// Each reaches only what it names here.

#include <functional>
#include <memory>
#include <optional>

#include "GridState.h"
#include "OmbriGrid/GridDataMap.h"
#include "OmbriGrid/OmbriGrid.h"
#include "events/DelegateRule.h"
#include "scrolling/GridScroller.h"

namespace kivo::detail {

class GridInternals {
public:
    // Holds the grid while a part calls out to handlers that may let go of it.
    static std::shared_ptr<const plat::Object> keepAlive(const OmbriGrid& grid) { return grid.holdAlive({}); }
    static std::shared_ptr<OmbriGrid> self(OmbriGrid& grid) { return grid.sharedSelf({}); }

    // ---- what the rows, the columns and their collections tell the grid ----
    // The header sizes changed: the cells start elsewhere.
    static void headersChanged(OmbriGrid& grid) { grid.headersChanged({}); }
    static void constrainOriginInternal(OmbriGrid& grid) { grid.state({}).scroller->constrainOrigin(); }
    // The grid's one way of raising an event: the handlers, then the delegate.
    static bool raiseCancelable(OmbriGrid& grid, const std::shared_ptr<KivoEvent>& event,
                                const std::shared_ptr<KivoCancelEventArgs>& args, DelegateRule rule,
                                const std::function<std::optional<bool>(OmbriGridDelegate&)>& ask) {
        return grid.raiseCancelable({}, event, args, rule, ask);
    }
    static void raiseNotice(OmbriGrid& grid, const std::shared_ptr<KivoEvent>& event, const std::shared_ptr<KivoEventArgs>& args,
                            const std::function<void(OmbriGridDelegate&)>& tell) {
        grid.raiseNotice({}, event, args, tell);
    }

    // ---- the origin, which the scroller moves ----
    static double& originX(OmbriGrid& grid) { return grid.state({}).originX; }
    static double& originY(OmbriGrid& grid) { return grid.state({}).originY; }
    static plat::Point panMax(const OmbriGrid& grid) { return grid.state({}).scroller->panMax(); }
    static void takeFirstResponder(OmbriGrid& grid) { grid.takeFirstResponder({}); }
    // ---- the parts the grid composes ----
    static GridScroller& scroller(const OmbriGrid& grid) { return *grid.state({}).scroller; }
    static EditSession& edit(const OmbriGrid& grid) { return *grid.state({}).edit; }
    static GridPress& press(const OmbriGrid& grid) { return *grid.state({}).press; }
    static GridClipboard& clipboard(const OmbriGrid& grid) { return *grid.state({}).clipboard; }

    // ---- what the press handler reaches ----
    // Which corner of the selection an extension moves (true: the far corner, the anchor staying put).
    static bool& selOrigin(OmbriGrid& grid) { return grid.state({}).selOrigin; }
    static bool selOrigin(const OmbriGrid& grid) { return grid.state({}).selOrigin; }
    // Set while a header tap changes the sort: the rebinding that follows only reorders the same items.
    static bool& headerSortRunning(OmbriGrid& grid) { return grid.state({}).headerSortRunning; }

    // ---- state the tests place or read directly, past the setters' checks ----
    static std::shared_ptr<KivoCollectionView>& collectionView(OmbriGrid& grid) { return grid.state({}).collectionView; }
    static std::shared_ptr<GridCellRange>& selection(OmbriGrid& grid) { return grid.state({}).selection; }
    static std::shared_ptr<GridHitTestInfo>& contextMenuHit(OmbriGrid& grid) { return grid.state({}).contextMenuHTI; }
    static const std::shared_ptr<GridRowCollection>& headerRows(const OmbriGrid& grid) { return grid.state({}).headerRows; }
    static const std::shared_ptr<GridColumnCollection>& headerColumns(const OmbriGrid& grid) { return grid.state({}).headerCols; }

    // ---- the collections' layout ----
    static bool layoutIsStale(const GridRowColCollection& c) { return c.layoutIsStale({}); }
    static bool layOut(const GridRowColCollection& c) { return c.layOut({}); }
    static void markLayoutStale(const GridRowColCollection& c) { c.markLayoutStale({}); }
    // Binds the rows to a plain list, as the grid's binding does, without a grid to bind.
    static void bindItems(GridRowCollection& rows, const plat::ArrayPtr& items) { rows.bindList({}, items); }
    static bool readsReorderedView(const GridRowCollection& rows) { return rows.readsReorderedView({}); }

    // ---- the panels' cell images, and the detail provider's views ----
    static GridPanel::CellImages& cellImages(GridPanel& panel) { return panel.cellImages({}); }
    static std::uint64_t cellImageKey(std::int32_t row, std::int32_t col) { return GridPanel::cellImageKey({}, row, col); }
    static void drawCellsStraight(GridPanel& panel, bool on) { panel.drawCellsStraight({}, on); }
    static DetailViews& detailViews(OmbriGridDetailProvider& provider) { return provider.views({}); }
    static bool overlayIdle(const OmbriGridDetailProvider& provider, const KivoEvent::Handlers& handlers) {
        return provider.overlayIdle({}, handlers);
    }

    // ---- the data map's own lookup, which its public lookups go through ----
    static std::int32_t indexOf(const GridDataMap& map, const plat::Value& value, const std::string& path, bool caseSensitive) {
        return map.indexOf({}, value, path, caseSensitive);
    }
};

}  // namespace kivo::detail
