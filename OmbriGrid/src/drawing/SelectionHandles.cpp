// The two handles of a cell-range or row-range selection: circles at its top-left and bottom-right
// corners (in a row range, at the middle of the visible width), which touches grab to extend it.

#include <algorithm>

#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/graphics/context.h"

namespace {
constexpr double HandleDiameter = 11.0;
constexpr double HandleRadius = HandleDiameter / 2;
constexpr double HandleBorder = 2.0;
// A touch a little outside the circle still grabs it.
constexpr double HandleTouchMargin = 4.0;
}  // namespace

void GridPanel::adjustAdornerRect(plat::Rect& rect, float diameter) const {
    const auto g = grid();
    if (!g) return;
    const double W = g->clientRect().width(), H = g->clientRect().height();
    if (rect.origin.x < 0) rect.origin.x = 1.0;
    if (rect.origin.y < 0) rect.origin.y = 1.0;
    if (rect.origin.x + diameter > W) rect.origin.x = W - diameter - 1.0;
    if (rect.origin.y + diameter > H) rect.origin.y = H - diameter - 1.0;
}

void GridPanel::drawSelection() {
    _adornerStart = _adornerEnd = nullRect();
    const auto g = grid();
    if (!g || _cellType != GridCellTypeCell) return;
    const GridSelectionMode mode = g->selectionMode();
    const auto& sel = g->selection();
    if ((mode != GridSelectionModeCellRange && mode != GridSelectionModeRowRange) || !sel || !sel->isValid() || g->editRange())
        return;
    plat::Context* context = plat::currentContext();
    if (!context) return;
    plat::Context& c = *context;
    const double rw = g->rowHeaderVisible() && g->topLeftCells() ? g->topLeftCells()->columns()->totalSize() : 0;
    // The clip stays: the handles are the last drawing of the pass.
    c.clipToRect(getClipRect());
    c.setFillColor(g->selectionAdornerColor());
    c.setStrokeColor(g->selectionAdornerBorderColor());
    c.setLineWidth(HandleBorder);
    const double m = std::min(static_cast<double>(width()) + rw, g->clientRect().width()) * 0.5;
    const bool rows = mode == GridSelectionModeRowRange;

    // The cell's rectangle in the row, at the column under the middle of the view for a row range.
    auto anchorCell = [&](std::int32_t row, std::int32_t col, bool bottom) {
        const plat::Rect cell = getCellRect(row, col);
        if (!rows) return cell;
        const auto hit = g->hitTest({m - HandleRadius, (bottom ? cell.maxY() : cell.y()) - HandleRadius});
        const auto range = hit ? hit->cellRange() : nullptr;
        // A point past the last column hits none; the row's own edge is where the handle goes then.
        if (!range || !inside(row, range->col())) return cell;
        return getCellRect(row, range->col());
    };
    auto draw = [&](plat::Point origin, plat::Rect& touch) {
        plat::Rect square{origin.x, origin.y, HandleDiameter, HandleDiameter};
        adjustAdornerRect(square, static_cast<float>(HandleDiameter));
        c.fillEllipse(square);
        c.strokeEllipse(square);
        touch = square.insetBy(-HandleTouchMargin, -HandleTouchMargin);
    };

    const std::int32_t top = sel->topRow(), left = sel->leftCol(), bottom = sel->bottomRow(), right = sel->rightCol();
    // A selection naming cells outside the panel has no corner to put a handle on.
    if (inside(top, left) && _rows->row(top)->isVisible() && isRowTopVisible(top) && (isColLeftVisible(left) || rows)) {
        const plat::Rect cell = anchorCell(top, left, false);
        draw(rows ? plat::Point{m - HandleRadius, cell.y() - HandleRadius} : plat::Point{cell.x() - HandleRadius, cell.y() - HandleRadius},
             _adornerStart);
    }
    if (inside(bottom, right) && _rows->row(bottom)->isVisible() && isRowBottomVisible(bottom) &&
        (isColRightVisible(right) || rows)) {
        const plat::Rect cell = anchorCell(bottom, right, true);
        draw(rows ? plat::Point{m - HandleRadius, cell.maxY() - HandleRadius}
                  : plat::Point{cell.maxX() - HandleRadius, cell.maxY() - HandleRadius},
             _adornerEnd);
    }
}
