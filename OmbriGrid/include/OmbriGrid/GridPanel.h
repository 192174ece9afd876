#pragma once
// One of the grid's four regions (cells, column headers, row headers, top-left corner): a view-less
// pairing of a row collection and a column collection, with the cache of the cell images drawn for it.

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "OmbriGrid/GridCellRange.h"
#include "OmbriGrid/KivoOmbriGridExport.h"
#include "OmbriGrid/OmbriGridTypes.h"
#include "Platform/foundation/geometry.h"
#include "Platform/foundation/object.h"
#include "Platform/foundation/passkey.h"
#include "Platform/foundation/value.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/text.h"

class OmbriGrid;
class GridRowColCollection;
class GridRowCollection;
class GridColumnCollection;
class GridRowCol;
class GridRow;
class GridColumn;
class GridRowAccessor;
class KivoCheckBox;
namespace plat {
class Image;
class Context;
}  // namespace plat
namespace kivo::detail {
class GridInternals;
}

class KIVO_GRID_EXPORT GridPanel : public plat::Object {
public:
    // Most cell images a panel keeps; the drawing empties the cache past it.
    static constexpr std::size_t CacheSize = 1024;

    GridPanel(const std::shared_ptr<OmbriGrid>& grid, GridCellType cellType, std::shared_ptr<GridRowCollection> rows,
              std::shared_ptr<GridColumnCollection> columns);
    ~GridPanel() override;

    std::shared_ptr<OmbriGrid> grid() const { return _grid.lock(); }
    GridCellType cellType() const { return _cellType; }
    const std::shared_ptr<GridRowCollection>& rows() const { return _rows; }
    const std::shared_ptr<GridColumnCollection>& columns() const { return _columns; }
    // The extent of the columns and of the rows, in whole points.
    std::int32_t width() const;
    std::int32_t height() const;
    // Drops cell images: all of them for null; for a column those of the column and of the next one
    // (whose left grid line it draws over); for a row that row's.
    void resetCache(const GridRowCol* item);
    std::size_t cachedImageCount() const { return _cache.size(); }

    // ---- cell values ----
    // Values of cells without a binding, keyed "row-column"; null until the first write.
    const plat::DictionaryPtr& unboundCells() const { return _unboundCells; }
    void setUnboundCells(plat::DictionaryPtr cells);
    // Reads and writes through the row, then the column: panel[row][col].
    std::shared_ptr<GridRowAccessor> objectAtIndexedSubscript(std::int32_t row);
    // The cell's value, formatted by its column when asked; nil outside the panel.
    plat::Value getCellData(std::int32_t row, std::int32_t col, bool formatted) const;
    // Writes through the binding, or into the unbound values (nil removes one). Refused with a log line
    // outside the panel, and where it would write into the group a group row heads.
    void setCellData(const plat::Value& value, std::int32_t row, std::int32_t col);
    // The same write without invalidating the grid, for callers that write many cells and then
    // invalidate once; false when refused.
    bool storeCellData(const plat::Value& value, std::int32_t row, std::int32_t col);

    // ---- geometry (grid view coordinates, whole points) ----
    std::int32_t offsetX() const;
    std::int32_t offsetY() const;
    std::int32_t originX() const;
    std::int32_t originY() const;
    // The far edge of the last frozen column and row; 0 where none is frozen.
    plat::Point frozenPoint() const;
    // The whole panel: rows 0…count − 1, columns 0…count − 1.
    std::shared_ptr<GridCellRange> viewRange() const;
    // One cell, merging ignored; frozen cells stay put while the rest scrolls. Zero outside the panel.
    plat::Rect getCellRectInternal(std::int32_t row, std::int32_t col) const;
    // The cell's merged range, as the merge manager gives it.
    plat::Rect getCellRect(std::int32_t row, std::int32_t col) const;
    // The range's rectangle; a merged one is held inside the scrolling area and the frame, never
    // narrower or lower than its first cell.
    plat::Rect getCellRect(std::int32_t row, std::int32_t col, const GridCellRange& range) const;

    // ---- visibility ----
    std::int32_t getFirstVisibleRow() const;
    std::int32_t getFirstVisibleColumn() const;
    bool isRowVisible(std::int32_t row) const;
    bool isRowTopVisible(std::int32_t row) const;
    bool isRowBottomVisible(std::int32_t row) const;
    bool isColLeftVisible(std::int32_t col) const;
    bool isColMidVisible(std::int32_t col) const;
    bool isColRightVisible(std::int32_t col) const;
    // Only on the cells panel, only for a group row.
    bool isGroupRow(std::int32_t row) const;
    plat::Rect getClipRect() const;

    // ---- selection handles ----
    // 1 on the start handle, else 2 on the end handle, else 0; a null rectangle holds nothing.
    int getAdorner(plat::Point point) const;
    void setAdorners(const plat::Rect& start, const plat::Rect& end) {
        _adornerStart = start;
        _adornerEnd = end;
    }

    // ---- drawing (inside the grid's drawing pass, into the current context) ----
    // Draws the visible cells: the scrolling area, then the frozen columns, the frozen rows and the
    // frozen corner over it; on the cells panel the scroll indicators last.
    void drawCells();
    // One cell, or the merged range it anchors, from its cached image when there is one.
    void drawCell(std::int32_t row, std::int32_t col, bool background) { drawCell(row, col, background, true); }
    // Without the foreground only the background and lines; without the background only the content.
    void drawCell(std::int32_t row, std::int32_t col, bool background, bool foreground);
    // Sets the fill and text colours of the cell by panel, selection mode and selection.
    void prepareCell(std::int32_t row, std::int32_t col, const GridCellRange& range);
    void drawCellBackground(std::int32_t row, std::int32_t col, const plat::Rect& rect, const GridCellRange& range) {
        drawCellBackground(row, col, rect, range, std::nullopt);
    }
    // Fills the cell (in `color` when given) and draws its grid lines, frozen borders and sizing edges.
    void drawCellBackground(std::int32_t row, std::int32_t col, const plat::Rect& rect, const GridCellRange& range,
                            std::optional<plat::Color> color);
    // The band text of a group row: the collapse glyph and the grid's format with its placeholders
    // filled in. Nil for a row that is hidden or not a group row.
    std::optional<std::string> getGroupRowHeader(std::int32_t row) const;
    // Draws a group row as one band; answers how many following rows the caller skips (the group's
    // items when it is collapsed).
    std::int32_t drawGroupRow(std::int32_t row);
    // The two handles of a cell-range or row-range selection, recording their touch rectangles.
    void drawSelection();
    // Moves a handle's square inside the grid's client area.
    void adjustAdornerRect(plat::Rect& rect, float diameter) const;
    // The context being drawn into: the grid's, or a cell image's while that image is made.
    plat::Context* context() const { return _context; }

    // For the library's internal-access class: the cell images by cell key, and the switch that draws
    // cells straight into the grid's context.
    using CellImages = std::unordered_map<std::uint64_t, std::shared_ptr<plat::Image>>;
    KIVO_GRID_NO_EXPORT CellImages& cellImages(plat::Passkey<kivo::detail::GridInternals>) { return _cache; }
    KIVO_GRID_NO_EXPORT static std::uint64_t cellImageKey(plat::Passkey<kivo::detail::GridInternals>, std::int32_t row,
                                                          std::int32_t col) {
        return cacheKey(row, col);
    }
    KIVO_GRID_NO_EXPORT void drawCellsStraight(plat::Passkey<kivo::detail::GridInternals>, bool on) { _cellImagesOff = on; }

private:
    KIVO_GRID_NO_EXPORT static std::uint64_t cacheKey(std::int32_t row, std::int32_t col);
    KIVO_GRID_NO_EXPORT static plat::Rect nullRect() { return {INFINITY, INFINITY, 0, 0}; }
    KIVO_GRID_NO_EXPORT static std::string cellKey(std::int32_t row, std::int32_t col);
    KIVO_GRID_NO_EXPORT bool inside(std::int32_t row, std::int32_t col) const;
    // getCellData once the cell's row and column are found.
    KIVO_GRID_NO_EXPORT plat::Value cellData(const GridRow& r, const GridColumn& c, std::int32_t row, std::int32_t col,
                                             bool formatted) const;
    KIVO_GRID_NO_EXPORT bool scrollsVertically() const {
        return _cellType == GridCellTypeCell || _cellType == GridCellTypeRowHeader;
    }
    KIVO_GRID_NO_EXPORT bool scrollsHorizontally() const {
        return _cellType == GridCellTypeCell || _cellType == GridCellTypeColumnHeader;
    }

    std::weak_ptr<OmbriGrid> _grid;
    GridCellType _cellType;
    std::shared_ptr<GridRowCollection> _rows;
    std::shared_ptr<GridColumnCollection> _columns;
    // ---- drawing helpers ----
    // Walks the rows of the scrolling area from the first visible one, drawing group rows and handing
    // each other row to `cell`; stops below the view.
    template <class Cell>
    KIVO_GRID_NO_EXPORT void walkScrollingRows(Cell&& cell);
    // The next row that takes room: rows of size 0 (hidden, or under a collapsed group) are stepped
    // over by their positions.
    KIVO_GRID_NO_EXPORT std::int32_t nextRow(std::int32_t row, std::int32_t end) const;
    KIVO_GRID_NO_EXPORT void handToFactory(std::int32_t row, std::int32_t col);
    KIVO_GRID_NO_EXPORT void setPassLook();
    KIVO_GRID_NO_EXPORT void drawScrollIndicators();
    // The cell's content (text or check box) in `rect`, the cell's (merged) rectangle.
    KIVO_GRID_NO_EXPORT void drawContent(const GridRow& rowItem, const GridColumn& column, std::int32_t row, std::int32_t col,
                                         const plat::Rect& rect, const GridCellRange& range, const plat::Value& value);
    // FormatItem for the cell: the handlers' cancel and whether the delegate finished the cell.
    struct FormatAnswer {
        bool cancel = false, finished = false;
    };
    KIVO_GRID_NO_EXPORT FormatAnswer raiseFormatItem(std::int32_t row, std::int32_t col);
    KIVO_GRID_NO_EXPORT void raiseOverlay(std::int32_t row, std::int32_t col);
    // Draws the cell into the panel's context as it stands (a cell image's, or the grid's).
    KIVO_GRID_NO_EXPORT void renderCell(std::int32_t row, std::int32_t col, const plat::Rect& rect, const GridCellRange& range,
                                        bool background, bool foreground);
    KIVO_GRID_NO_EXPORT void strokeBandOutline(const plat::Rect& band) const;
    // The drawing state of a pass, put aside for the length of a pass that starts inside it (a handler
    // or delegate redrawing the window from a cell) and given back when that one ends.
    struct KeptPass {
        explicit KeptPass(GridPanel& panel);
        ~KeptPass();
        KeptPass(const KeptPass&) = delete;
        KeptPass& operator=(const KeptPass&) = delete;
        GridPanel& panel;
        plat::Context* context;
        plat::Color fillColor, textColor, lineColor;
        plat::Font font;
        double lineWidth;
        plat::TextAttributes textAttributes;
        std::int32_t firstVisibleRow;
    };
    // Outside a pass a cell or group row drawn on its own draws into the current context.
    struct LentContext {
        explicit LentContext(GridPanel& panel);
        ~LentContext();
        GridPanel& panel;
        bool lent;
    };

    CellImages _cache;
    // The drawing state of the pass in progress.
    plat::Context* _context = nullptr;
    plat::Color _fillColor, _textColor, _lineColor;
    plat::Font _font;
    double _lineWidth = 1;
    plat::TextAttributes _textAttributes;
    std::int32_t _firstVisibleRow = 0;
    // Cells drawn straight into the grid's context, as when the platform refuses a cell's image.
    bool _cellImagesOff = false;
    // While a cell is drawn into its own new image (which only what the cell draws covers): its rectangle.
    std::optional<plat::Rect> _cellImageRect;
    // A check box for each state that draws every Boolean cell of the panel in that state, and what it
    // was last set to: a cell like the one before lays nothing out anew.
    struct CellCheckBox {
        std::shared_ptr<KivoCheckBox> box;
        plat::Size size;
        plat::Color tint;
        std::int32_t side = -1;
    };
    std::array<CellCheckBox, 2> _checkBoxes;
    plat::DictionaryPtr _unboundCells;
    plat::Rect _adornerStart = nullRect();
    plat::Rect _adornerEnd = nullRect();
};

// One row of a panel, subscripted by column: reads the raw value, writes through the panel.
class KIVO_GRID_EXPORT GridRowAccessor : public plat::Object {
public:
    GridRowAccessor(std::shared_ptr<GridPanel> panel, std::int32_t rowIndex) : _panel(std::move(panel)), _rowIndex(rowIndex) {}
    const std::shared_ptr<GridPanel>& panel() const { return _panel; }
    std::int32_t rowIndex() const { return _rowIndex; }
    plat::Value objectAtIndexedSubscript(std::int32_t col) const;
    plat::Value operator[](std::int32_t col) const { return objectAtIndexedSubscript(col); }
    void setObject(const plat::Value& value, std::int32_t col);

private:
    std::shared_ptr<GridPanel> _panel;
    std::int32_t _rowIndex;
};
