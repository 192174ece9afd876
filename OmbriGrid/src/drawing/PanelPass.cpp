// The drawing pass of one panel: its visible cells in four areas (scrolling, frozen columns, frozen
// rows, frozen corner), each ordinary cell through the grid's cell factory, group rows as bands; the
// cells panel ends with its scroll indicators.

#include <algorithm>
#include <cmath>
#include <vector>

#include "OmbriGrid/GridCellFactory.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/graphics/context.h"
#include "Platform/graphics/path.h"

namespace {
// Scroll indicators: the bar's thickness, its corner radius, its shortest length, its margin.
constexpr double IndicatorThickness = 4.0;
constexpr double IndicatorRadius = 15.0;
constexpr double IndicatorMinLength = 15.0;
constexpr double IndicatorMargin = 8.0;

double finiteOr0(double v) { return std::isfinite(v) ? v : 0.0; }

plat::Path roundedRect(const plat::Rect& r, double radius) {
    // The corners cannot be rounder than half the bar's short side.
    const double k = std::min({radius, r.width() / 2, r.height() / 2});
    plat::Path p;
    p.moveTo({r.x() + k, r.y()});
    p.lineTo({r.maxX() - k, r.y()});
    p.quadTo({r.maxX(), r.y()}, {r.maxX(), r.y() + k});
    p.lineTo({r.maxX(), r.maxY() - k});
    p.quadTo({r.maxX(), r.maxY()}, {r.maxX() - k, r.maxY()});
    p.lineTo({r.x() + k, r.maxY()});
    p.quadTo({r.x(), r.maxY()}, {r.x(), r.maxY() - k});
    p.lineTo({r.x(), r.y() + k});
    p.quadTo({r.x(), r.y()}, {r.x() + k, r.y()});
    p.close();
    return p;
}
}  // namespace

void GridPanel::setPassLook() {
    const auto g = grid();
    switch (_cellType) {
        case GridCellTypeColumnHeader:
        case GridCellTypeTopLeft:
            _fillColor = g->columnHeaderBackgroundColor();
            _textColor = g->columnHeaderTextColor();
            _lineColor = g->headerGridLinesColor();
            _font = g->columnHeaderFont();
            break;
        case GridCellTypeRowHeader:
            _fillColor = g->rowHeaderBackgroundColor();
            _textColor = g->rowHeaderTextColor();
            _lineColor = g->headerGridLinesColor();
            _font = g->rowHeaderFont();
            break;
        default: {
            const auto bg = g->backgroundColor();
            _fillColor = bg ? *bg : plat::Color::clear();
            _textColor = g->textColor();
            _lineColor = g->gridLinesColor();
            _font = g->font();
            break;
        }
    }
    _textAttributes = plat::TextAttributes{};
    _textAttributes.color = _textColor;
    _textAttributes.font = _font;
}

std::int32_t GridPanel::nextRow(std::int32_t row, std::int32_t end) const {
    std::int64_t lo = static_cast<std::int64_t>(row) + 1;
    if (lo >= end || _rows->renderSizeAt(lo) > 0) return static_cast<std::int32_t>(std::min<std::int64_t>(lo, end));
    // Rows of size 0 all end where the next one with room begins: the first row ending past that point.
    const std::int64_t at = _rows->posAt(lo);
    std::int64_t hi = end;
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (static_cast<std::int64_t>(_rows->posAt(mid)) + _rows->renderSizeAt(mid) > at)
            hi = mid;
        else
            lo = mid + 1;
    }
    return static_cast<std::int32_t>(lo);
}

void GridPanel::handToFactory(std::int32_t row, std::int32_t col) {
    const auto g = grid();
    const auto self = std::static_pointer_cast<GridPanel>(shared_from_this());
    if (const auto& factory = g->cellFactory())
        factory->updateCell(self, row, col, _context, nullptr);
    else
        drawCell(row, col, true);
}

template <class Cell>
void GridPanel::walkScrollingRows(Cell&& cell) {
    const auto R = static_cast<std::int32_t>(_rows->count());
    std::int32_t r = std::max(_firstVisibleRow, _rows->frozen());
    if (r < R && _rows->renderSizeAt(r) == 0) r = nextRow(r, R);
    while (r < R) {
        if (!isRowVisible(r)) break;
        if (isGroupRow(r))
            r += std::max(0, drawGroupRow(r));
        else
            cell(r);
        r = nextRow(r, R);
    }
}

GridPanel::KeptPass::KeptPass(GridPanel& p)
    : panel(p),
      context(p._context),
      fillColor(p._fillColor),
      textColor(p._textColor),
      lineColor(p._lineColor),
      font(p._font),
      lineWidth(p._lineWidth),
      textAttributes(p._textAttributes),
      firstVisibleRow(p._firstVisibleRow) {}

GridPanel::KeptPass::~KeptPass() {
    panel._context = context;
    panel._fillColor = fillColor;
    panel._textColor = textColor;
    panel._lineColor = lineColor;
    panel._font = font;
    panel._lineWidth = lineWidth;
    panel._textAttributes = textAttributes;
    panel._firstVisibleRow = firstVisibleRow;
}

void GridPanel::drawCells() {
    const auto g = grid();
    plat::Context* context = plat::currentContext();
    if (!g || !context || !_rows || !_columns) return;
    const auto alive = shared_from_this();
    // A cell's handler may redraw the window, and this panel with it, before this pass is done.
    const KeptPass outer(*this);
    const auto R = static_cast<std::int32_t>(_rows->count());
    const auto C = static_cast<std::int32_t>(_columns->count());
    _firstVisibleRow = getFirstVisibleRow();
    _context = context;
    _lineWidth = g->gridLinesWidth();
    setPassLook();

    std::vector<char> visible(static_cast<std::size_t>(C));
    for (std::int32_t c = 0; c < C; ++c)
        visible[static_cast<std::size_t>(c)] = isColLeftVisible(c) || isColRightVisible(c) || isColMidVisible(c);
    const std::int32_t frozenCols = std::clamp(_columns->frozen(), 0, C);
    const std::int32_t frozenRows = std::clamp(_rows->frozen(), 0, R);

    // A row made for a placeholder lives only while someone holds it: held across its cells, it is made
    // once per row rather than at every look of every cell.
    auto drawRow = [&](std::int32_t r) {
        const auto held = _rows->row(r);
        for (std::int32_t c = frozenCols; c < C; ++c)
            if (visible[static_cast<std::size_t>(c)]) handToFactory(r, c);
    };
    // Scrolling area.
    walkScrollingRows(drawRow);
    // Frozen columns, over it.
    for (std::int32_t c = 0; c < frozenCols; ++c) walkScrollingRows([&](std::int32_t r) { handToFactory(r, c); });
    // Frozen rows.
    for (std::int32_t r = nextRow(-1, frozenRows); r < frozenRows; r = nextRow(r, frozenRows)) {
        if (isGroupRow(r)) {
            r += std::max(0, drawGroupRow(r));
            continue;
        }
        drawRow(r);
    }
    // Frozen corner.
    for (std::int32_t c = 0; c < frozenCols; ++c)
        for (std::int32_t r = nextRow(-1, frozenRows); r < frozenRows; r = nextRow(r, frozenRows)) {
            if (isGroupRow(r))
                r += std::max(0, drawGroupRow(r));
            else
                handToFactory(r, c);
        }
    if (_cellType == GridCellTypeCell) drawScrollIndicators();
}

void GridPanel::drawScrollIndicators() {
    const auto g = grid();
    plat::Context& c = *_context;
    const plat::Rect B = g->bounds();
    const double rw = g->rowHeaderVisible() && g->rowHeaders() ? g->rowHeaders()->width() : 0;
    const double ch = g->columnHeaderVisible() && g->columnHeaders() ? g->columnHeaders()->height() : 0;
    const plat::Point f = frozenPoint();
    const double oX = g->originX(), oY = g->originY();
    c.setFillColor(g->scrollIndicatorColor());

    const double T = B.width() - 2 * IndicatorMargin - rw - f.x;
    const double L0 = T / (width() - 2 * IndicatorMargin) * T;
    if (L0 >= 0 && std::isfinite(L0)) {
        const double L = std::max(IndicatorMinLength, L0);
        if (T - 3.0 >= L) {
            const double ratio = finiteOr0(oX / (width() - (B.width() - rw)));
            const double x = (T - L) * ratio + offsetX() + f.x + IndicatorMargin;
            c.fillPath(roundedRect({x, B.height() - IndicatorMargin, L, IndicatorThickness}, IndicatorRadius));
        }
    }

    const double TV = B.height() - 2 * IndicatorMargin - ch - f.y;
    const double V0 = TV / height() * TV;
    if (!(V0 >= 0 && std::isfinite(V0))) return;
    const double top = offsetY() + f.y + IndicatorMargin;
    double d = height() - (B.height() - ch);
    if (d == 0) d = 100.0;
    const double ratio = finiteOr0(oY / d);
    const double L = std::max(IndicatorMinLength, V0);
    double p = (TV - L) * ratio + top;
    double n = std::min(TV, L);
    if (p < top) {
        n = std::max(IndicatorMinLength, n - (top - p));
        p = top;
    }
    if (p + n > top + TV) {
        n = std::max(IndicatorMinLength, n - (p + n - (top + TV)));
        if (p + n > top + TV) p -= p + n - (top + TV);
    }
    if (TV - 3.0 >= n) c.fillPath(roundedRect({B.width() - IndicatorMargin, p, IndicatorThickness, n}, IndicatorRadius));
}
