// The origin's bounds, which the scroller keeps as the content and the client area change, and the
// grid's programmatic position.
#include <cmath>

#include "GridInternals.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/log.h"
#include "events/GridEvents.h"
#include "look/GridSettings.h"
#include "scrolling/GridScroller.h"
#include "scrolling/ScrollBounds.h"

using kivo::detail::clampOrigin;
using kivo::detail::GridInternals;
using kivo::detail::GridScroller;

void OmbriGrid::respondToPanGesture(plat::GestureRecognizer& recognizer) { _state->scroller->pan(recognizer); }

void GridScroller::updatePanMax() {
    const plat::Rect client = _grid.clientRect();
    const plat::Point start = _grid.offset();
    _panMax.x = _grid.columns()->totalSize() - client.size.width + start.x;
    _panMax.y = _grid.rows()->totalSize() - client.size.height + start.y;
}

void GridScroller::positionMoved(plat::Point before) {
    if (std::trunc(_grid.originX()) == before.x && std::trunc(_grid.originY()) == before.y) return;
    GridInternals::raiseNotice(_grid, _grid.ombriGridScrollPositionChanged(), KivoEventArgs::empty(),
                               [this](OmbriGridDelegate& d) { d.scrollPositionChanged(GridInternals::self(_grid)); });
}

// ---- keeping the origin in bounds ----

void GridScroller::constrainOrigin() {
    double& originX = GridInternals::originX(_grid);
    double& originY = GridInternals::originY(_grid);
    originY = clampOrigin(originY, _panMax.y);
    originX = clampOrigin(originX, _panMax.x);
}

void GridScroller::constrainOriginNonFinal() {
    double& originX = GridInternals::originX(_grid);
    double& originY = GridInternals::originY(_grid);
    // Mid-gesture, touch feedback lets the content follow the finger past the top or bottom so the
    // release can bounce it back; only the final constraint pulls it inside.
    if (!_grid.touchFeedback()) originY = clampOrigin(originY, _panMax.y);
    originX = clampOrigin(originX, _panMax.x);
}

// ---- the programmatic position ----

void OmbriGrid::setScrollPosition(plat::Point position) {
    if (!std::isfinite(position.x) || !std::isfinite(position.y)) {
        plat::log("Grid: scroll position refused: its coordinates must be finite");
        return;
    }
    const auto alive = keepAlive();
    _state->originX = position.x;
    _state->originY = position.y;
    _state->scroller->constrainFinal();
    // The cell images and views hold no position: a move only redraws them elsewhere.
    setNeedsDisplay();
}
