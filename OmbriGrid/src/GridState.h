#pragma once
// What the grid holds: its parts, its collections and panels, the application's settings and the
// state its gestures, scrolling and binding keep between calls. Only the grid's own sources and its
// internal-access class see it.

#include <cstdint>
#include <memory>
#include <vector>

#include "OmbriGrid/OmbriGrid.h"

namespace kivo::detail {

struct GridState {
    // The 26 events, made with the grid.
    std::unique_ptr<kivo::detail::GridEvents> events;
    std::weak_ptr<OmbriGridDelegate> delegate;
    std::shared_ptr<OmbriGridDelegate> strongDelegate;

    std::shared_ptr<GridRowCollection> rows;
    std::shared_ptr<GridColumnCollection> columns;
    std::shared_ptr<GridRowCollection> headerRows;
    std::shared_ptr<GridColumnCollection> headerCols;
    std::shared_ptr<GridPanel> cells, columnHeaders, rowHeaders, topLeftCells;
    std::shared_ptr<GridRow> columnHeaderRow;
    std::shared_ptr<KivoCollectionView> collectionView;
    plat::ArrayPtr itemsSource;
    std::shared_ptr<GridHitTestInfo> contextMenuHTI;
    // The view whose announcements the grid follows, and the subscription's owner token.
    std::weak_ptr<KivoCollectionView> followedView;
    std::shared_ptr<int> viewToken;
    std::shared_ptr<GridMergeManager> mergeManager;
    std::shared_ptr<OmbriGridDetailProvider> detailProvider;
    std::shared_ptr<GridCellFactory> cellFactory;
    std::shared_ptr<IKivoValueFormatter> valueFormatter;
    std::shared_ptr<GridCellRange> selection;
    // Grouped rows: the view position of each row's item (-1 for group rows), in row order.
    std::vector<std::int32_t> rowItemPositions;
    // The gesture recognisers and the keyboard subscriptions.
    std::unique_ptr<kivo::detail::GridInput> input;

    // The look and behaviour settings, as the application set them.
    std::unique_ptr<kivo::detail::GridSettings> settings;

    GridSelectionMode selectionMode = GridSelectionModeRow;
    bool isEverDrawnFlag = false;

    plat::Rect clientRect{};
    plat::Point cellsStart{};
    double originX = 0, originY = 0;
    // The pan, the glide, the bounce and the indicators' fade.
    std::unique_ptr<kivo::detail::GridScroller> scroller;
    // ---- editing ----
    // The open edit, and the editor and picker it reuses.
    std::unique_ptr<kivo::detail::EditSession> edit;

    // ---- taps and sorting ----
    // Which corner of the selection an extension moves: true, the far corner (row2, col2), the anchor
    // staying put (a tap sets it); false, the anchor, the far corner staying put (the start handle).
    bool selOrigin = false;
    // While a header tap changes the sort: the rebinding that follows only reorders the same items.
    bool headerSortRunning = false;

    // ---- column resizing and the selection handles' drag ----
    std::unique_ptr<kivo::detail::GridPress> press;

    // ---- keyboard commands ----

    // ---- clipboard ----
    // The grid's own copy, whether it is a cut, and the paste that runs.
    std::unique_ptr<kivo::detail::GridClipboard> clipboard;

    // ---- detail rows and cell views ----
};

}  // namespace kivo::detail
