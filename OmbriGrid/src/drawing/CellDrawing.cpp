// One cell of a panel: its cached image, or a new image made of its background and content, and the
// overlay put on it every time it reaches the screen.
//
// Sections: one cell; events; colours; background; content.

#include <algorithm>
#include <cmath>

#include "GridInternals.h"
#include "KivoCore/KivoCheckBox.h"
#include "KivoCore/KivoDataType.h"
#include "KivoCore/KivoEvent.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridMergeManager.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/graphics/context.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/image_context.h"
#include "Platform/graphics/text.h"
#include "Platform/ui/layer.h"
#include "Platform/ui/screen.h"
#include "drawing/TextCut.h"
#include "foundation/saturating_cast.h"

namespace {
// Room between a cell's edges and its text.
constexpr double TextInset = 4.0;
// The check box's half side, as a share of the default row size.
constexpr double CheckBoxShare = 0.28;

// A context's drawing state for the length of a scope.
struct SavedState {
    explicit SavedState(plat::Context& c) : context(c) { context.save(); }
    ~SavedState() { context.restore(); }
    plat::Context& context;
};

bool hasHandlers(const KivoEvent& event) {
    const auto handlers = event.handlers();
    return handlers && !handlers->empty();
}

// Whether raising the overlay event would reach a handler that does something with it: the grid's own
// detail provider listens to every cell's, and does nothing with it while it shows no details.
bool overlayHeard(const OmbriGrid& g, const KivoEvent& event) {
    const auto handlers = event.handlers();
    if (!handlers || handlers->empty()) return false;
    const auto& provider = g.detailProvider();
    return !provider || !kivo::detail::GridInternals::overlayIdle(*provider, *handlers);
}

plat::Color colorOrClear(const std::optional<plat::Color>& c) { return c ? *c : plat::Color::clear(); }

// Whether `rect` lands on whole device pixels, each of them covered whole by a fill of it.
bool onWholePixels(const plat::Context& c, const plat::Rect& rect) {
    const plat::AffineTransform& t = c.ctm();
    if (t.b != 0 || t.c != 0) return false;
    auto whole = [](double v) { return std::isfinite(v) && v == std::round(v); };
    return whole(t.a * rect.x() + t.tx) && whole(t.d * rect.y() + t.ty) && whole(t.a * rect.maxX() + t.tx) &&
           whole(t.d * rect.maxY() + t.ty);
}
}  // namespace

// ---- one cell ----

GridPanel::LentContext::LentContext(GridPanel& p) : panel(p), lent(!p._context) {
    if (lent) panel._context = plat::currentContext();
}
GridPanel::LentContext::~LentContext() {
    if (lent) panel._context = nullptr;
}

void GridPanel::drawCell(std::int32_t row, std::int32_t col, bool background, bool foreground) {
    const auto g = grid();
    const LentContext lent(*this);
    if (!g || !_context) return;
    // Dropped whole: 1,024 images are kept, the 1,025th empties the cache at the next cell.
    if (_cache.size() > CacheSize) _cache.clear();
    const std::uint64_t key = cacheKey(row, col);
    if (const auto it = _cache.find(key); it != _cache.end()) {
        _context->drawImage(*it->second, getCellRectInternal(row, col));
        raiseOverlay(row, col);
        return;
    }
    const auto& manager = g->mergeManager();
    const GridCellRange range = manager ? manager->mergedRangeOfCell(row, col, _cellType) : GridCellRange(row, col);
    if (!range.isSingleCell()) {
        // Only the range's top-left cell, or its top-left visible one, draws the range.
        if (std::max(range.row(), _firstVisibleRow) < row || std::max(range.col(), getFirstVisibleColumn()) < col) return;
        row = range.row();
        col = range.col();
    }
    const plat::Rect rect = getCellRect(row, col, range);
    // Hidden rows and columns have nothing to show, nor anything to put an overlay on.
    if (!(rect.width() > 0) || !(rect.height() > 0)) return;

    const double scale = plat::Screen::main().scale();
    auto pixels = [scale](double side) { return plat::detail::saturatingCast<std::int64_t>(std::ceil(side * scale)); };
    const bool refused = _cellImagesOff || plat::Image::sizeRefusal(pixels(rect.width()), pixels(rect.height())).has_value();
    // A cell that covers its pixels opaquely from its first fill on is drawn straight into the target
    // where the target's pixels can be read back, and kept as a copy of them: the same pixels as its
    // own image would hold, without making one and copying it in.
    const auto& gridBackground = g->backgroundColor();
    const bool opaqueCell = g->isOpaque() && background && gridBackground && gridBackground->a >= 1;
    if (!refused && opaqueCell && range.isSingleCell() && _context->canCopyPixels(rect, scale)) {
        {
            SavedState saved(*_context);
            _context->clipToRect(rect);
            _cellImageRect = rect;
            renderCell(row, col, rect, range, background, foreground);
            _cellImageRect.reset();
        }
        if (auto image = _context->copyOpaquePixels(rect, scale)) _cache[key] = std::move(image);
    } else if (refused) {
        // Beyond the platform's image limits: drawn straight, clipped as its image would be, uncached.
        SavedState saved(*_context);
        _context->clipToRect(rect);
        renderCell(row, col, rect, range, background, foreground);
    } else {
        plat::Context* gridContext = _context;
        std::shared_ptr<plat::Image> image;
        {
            plat::ImageContext cellImage(rect.size, scale, g->isOpaque() && background);
            _context = &cellImage.context();
            _context->translate(-rect.x(), -rect.y());
            _cellImageRect = rect;
            renderCell(row, col, rect, range, background, foreground);
            _cellImageRect.reset();
            image = cellImage.finish();
        }
        _context = gridContext;
        if (image) {
            // A merged range is redrawn every time: which of its cells anchors it changes as it scrolls.
            if (range.isSingleCell()) _cache[key] = image;
            _context->drawImage(*image, rect);
        }
    }
    raiseOverlay(row, col);
}

void GridPanel::renderCell(std::int32_t row, std::int32_t col, const plat::Rect& rect, const GridCellRange& range,
                           bool background, bool foreground) {
    const auto g = grid();
    if (background) drawCellBackground(row, col, rect, range);
    const FormatAnswer answer = raiseFormatItem(row, col);
    if (answer.finished || answer.cancel) return;
    // The in-place editor covers the cell: its background is all that shows.
    if (_cellType == GridCellTypeCell && g->editRange() && g->editRange()->intersects(range)) return;
    // Found once for the value and the content: a placeholder's row is made anew at every look.
    if (!inside(row, col)) return;
    const auto rowItem = _rows->row(row);
    const auto column = _columns->column(col);
    if (!rowItem || !column) return;
    const plat::Value value = cellData(*rowItem, *column, row, col, true);
    if (!value.isNil() && foreground) drawContent(*rowItem, *column, row, col, rect, range, value);
}

// ---- events ----

GridPanel::FormatAnswer GridPanel::raiseFormatItem(std::int32_t row, std::int32_t col) {
    FormatAnswer answer;
    const auto g = grid();
    const auto& event = g->ombriGridFormatItem();
    const bool listened = event && hasHandlers(*event);
    const auto d = g->delegate();
    // Every cell drawn asks: with nobody to answer, nothing is made for the question.
    if (!listened && !d) return answer;
    const auto self = std::static_pointer_cast<GridPanel>(shared_from_this());
    if (listened) {
        auto args = std::make_shared<GridFormatItemEventArgs>(self, std::make_shared<GridCellRange>(row, col), _context);
        event->raise(g, args);
        answer.cancel = args->cancel();
    }
    if (d)
        if (const auto done = d->formatItem(g, self, std::make_shared<GridCellRange>(row, col), _context))
            answer.finished = *done;
    return answer;
}

void GridPanel::raiseOverlay(std::int32_t row, std::int32_t col) {
    const auto g = grid();
    const auto& event = g->ombriGridProcessItemOverlay();
    const bool listened = event && overlayHeard(*g, *event);
    const auto d = g->delegate();
    if (!listened && !d) return;
    const auto self = std::static_pointer_cast<GridPanel>(shared_from_this());
    if (listened)
        event->raise(g, std::make_shared<GridFormatItemEventArgs>(self, std::make_shared<GridCellRange>(row, col), _context));
    if (d) d->processItemOverlay(g, self, std::make_shared<GridCellRange>(row, col), _context);
}

// ---- colours ----

void GridPanel::prepareCell(std::int32_t row, std::int32_t, const GridCellRange& range) {
    const auto g = grid();
    if (!g) return;
    std::int64_t mode = g->selectionMode();
    const auto& sel = g->selection();
    const bool selected = sel && sel->intersects(range);
    switch (_cellType) {
        case GridCellTypeRowHeader:
            if ((mode == GridSelectionModeRow || mode == GridSelectionModeRowRange) && selected) {
                _fillColor = g->headerSelectedBackgroundColor();
                _textColor = g->headerSelectedTextColor();
            } else {
                _fillColor = g->rowHeaderBackgroundColor();
                _textColor = g->rowHeaderTextColor();
            }
            break;
        case GridCellTypeColumnHeader:
            if ((mode == GridSelectionModeCell || mode == GridSelectionModeCellRange) && selected) {
                _fillColor = g->headerSelectedBackgroundColor();
                _textColor = g->headerSelectedTextColor();
            } else {
                _fillColor = g->columnHeaderBackgroundColor();
                _textColor = g->columnHeaderTextColor();
            }
            break;
        case GridCellTypeCell:
            if (g->editRange() && g->editRange()->intersects(range)) mode = GridSelectionModeNone;
            if (mode >= GridSelectionModeCell && mode <= GridSelectionModeRowRange && selected) {
                _fillColor = g->selectionBackgroundColor();
                _textColor = g->selectionTextColor();
            } else {
                _fillColor = colorOrClear(row % 2 != 0 ? g->alternatingRowBackgroundColor() : g->backgroundColor());
                _textColor = g->textColor();
            }
            break;
        default:
            return;
    }
    _textAttributes.color = _textColor;
}

// ---- background ----

void GridPanel::drawCellBackground(std::int32_t row, std::int32_t col, const plat::Rect& rect, const GridCellRange& range,
                                   std::optional<plat::Color> color) {
    const auto g = grid();
    if (!g || !_context) return;
    plat::Context& c = *_context;
    prepareCell(row, col, range);
    {
        SavedState saved(c);
        // A cell's own image on whole pixels ends where the cell does: a clip to the cell would change
        // nothing there, and an opaque fill hides the grid's background, its pixels the fill's either way.
        const bool ownImage = _cellImageRect && onWholePixels(c, rect);
        if (!(ownImage && *_cellImageRect == rect)) c.clipToRect(rect);
        const plat::Color fill = color ? *color : _fillColor;
        const bool hidden = ownImage && fill.a >= 1;
        if (g->isOpaque() && !hidden) {
            c.setFillColor(colorOrClear(g->backgroundColor()));
            c.fillRect(rect);
        }
        c.setFillColor(fill);
        c.fillRect(rect);
        c.setStrokeColor(_lineColor);
        c.setLineWidth(_lineWidth);
        const double x = rect.x(), y = rect.y(), r = rect.maxX(), b = rect.maxY();
        switch (g->gridLinesVisibility()) {
            case GridLinesVisibilityHorizontal:
                c.strokeLine({x, y}, {r, y});
                break;
            case GridLinesVisibilityVertical:
                c.strokeLine({x, y}, {x, b});
                c.strokeLine({r, y}, {r, b});
                break;
            case GridLinesVisibilityAll:
                c.strokeRect(rect);
                break;
            default:
                break;
        }
        const std::int32_t frozenCols = g->frozenColumns(), frozenRows = g->frozenRows();
        const bool acrossColumns = _cellType == GridCellTypeCell || _cellType == GridCellTypeColumnHeader;
        const bool acrossRows = _cellType == GridCellTypeCell || _cellType == GridCellTypeRowHeader;
        c.setStrokeColor(g->frozenCellsBorderColor());
        if (acrossColumns) {
            if (range.col2() == frozenCols - 1) c.strokeLine({r, y}, {r, b});
            if (frozenCols > 0 && range.col() == frozenCols) c.strokeLine({x, y}, {x, b});
        }
        if (acrossRows) {
            if (range.row2() == frozenRows - 1) c.strokeLine({x, b}, {r, b});
            if (frozenRows > 0 && range.row() == frozenRows) c.strokeLine({x, y}, {r, y});
        }
        if (acrossColumns) {
            const std::int32_t sized = g->columnBeingSized();
            c.setStrokeColor(plat::Color::black());
            if (range.col2() == sized) c.strokeLine({r, y}, {r, b});
            if (static_cast<std::int64_t>(range.col()) == static_cast<std::int64_t>(sized) + 1 && range.col() > 0 &&
                (g->gridLinesVisibility() & GridLinesVisibilityVertical) != 0)
                c.strokeLine({x, y}, {x, b});
        }
    }
    c.setStrokeColor(_textColor);
}

// ---- content ----

void GridPanel::drawContent(const GridRow& rowItem, const GridColumn& column, std::int32_t row, std::int32_t col,
                            const plat::Rect& rect, const GridCellRange& range, const plat::Value& value) {
    const auto g = grid();
    const bool header = _cellType == GridCellTypeColumnHeader;
    // Only what the cell can show is laid out; a header, truncated in its middle, keeps its end too.
    const plat::AttributedString attributed(
        kivo::detail::cutText(value.description(), kivo::detail::shownCharacters(rect.size, _textAttributes.font), header),
        _textAttributes);
    plat::TextOptions options;
    if (header) options.lineBreak = plat::LineBreakMode::TruncateMiddle;
    const bool wraps = column.wordWrap() || rowItem.wordWrap();
    plat::TextOptions measuring;
    const plat::Size size = wraps ? plat::measureText(attributed, rect.width(), measuring) : plat::measureText(attributed);

    plat::Rect textRect = rect;
    const auto alignment = header ? column.headerHorizontalAlignment() : column.horizontalAlignment();
    if (alignment == GridHorizontalAlignmentCenter)
        textRect.origin.x += std::max(TextInset, (rect.width() - size.width) * 0.5);
    else if (alignment == GridHorizontalAlignmentRight)
        textRect.origin.x += std::max(TextInset, rect.width() - size.width - TextInset);
    else
        textRect.origin.x += TextInset;
    textRect.origin.y += std::max(TextInset, (rect.height() - size.height) * 0.5);
    const bool checkBox = _cellType == GridCellTypeCell && column.dataType() == KivoDataTypeBoolean;
    if (rect.height() > size.height && !checkBox && !rowItem.wordWrap()) textRect.size.height = size.height;

    if (checkBox) {
        // The check box's layer is rendered at the cell's origin, its frame the text rectangle's size
        // (only the size shows). Each setting below lays the box out anew, unanimated; a box whose
        // size, side and tint are those of the cell already shows it as it is.
        const bool checked = cellData(rowItem, column, row, col, false).asBool();
        CellCheckBox& kept = _checkBoxes[checked ? 1 : 0];
        if (!kept.box) {
            kept.box = KivoCheckBox::create(textRect);
            kept.box->setUserInteractionEnabled(false);
            kept.box->setHidden(false);
        }
        KivoCheckBox& box = *kept.box;
        const auto side = static_cast<std::int32_t>(std::trunc(g->defaultRowSize() * CheckBoxShare));
        const auto& sel = g->selection();
        const plat::Color tint = sel && sel->intersects(range) ? g->selectionTextColor() : g->tintColor();
        if (kept.side != side || kept.tint != tint || kept.size != textRect.size) {
            box.setIsChecked(checked);
            box.setIntrinsicSize(side);
            if (box.tintColor() != tint) box.setTintColor(tint);
            // The frame, set last, lays the box out whatever else changed.
            box.setFrame(textRect);
            kept.side = side;
            kept.tint = tint;
            kept.size = textRect.size;
        }
        SavedState saved(*_context);
        _context->translate(rect.x(), rect.y());
        box.layer()->renderInContext(*_context);
        return;
    }
    _context->drawText(attributed, textRect, options);
}
