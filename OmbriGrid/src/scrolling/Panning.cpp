// The grid's side of scrolling: the origin's bounds and the programmatic position. The pan, the glide,
// the bounce and the indicators belong to the scroller.
#include <cmath>

#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/log.h"
#include "events/GridEvents.h"
#include "look/GridSettings.h"
#include "scrolling/GridScroller.h"
#include "scrolling/ScrollBounds.h"

using kivo::detail::clampOrigin;

void OmbriGrid::respondToPanGesture(plat::GestureRecognizer& recognizer) { _scroller->pan(recognizer); }

void OmbriGrid::updatePanMax() {
    _panMax.x = _columns->totalSize() - _clientRect.size.width + _cellsStart.x;
    _panMax.y = _rows->totalSize() - _clientRect.size.height + _cellsStart.y;
}

void OmbriGrid::scrollPositionMoved(plat::Point before) {
    if (std::trunc(_originX) == before.x && std::trunc(_originY) == before.y) return;
    raiseNotice(_events->ScrollPositionChanged, KivoEventArgs::empty(),
                [this](OmbriGridDelegate& d) { d.scrollPositionChanged(sharedAs<OmbriGrid>()); });
}

// ---- keeping the origin in bounds ----

void OmbriGrid::_constrainOriginInternal() {
    _originY = clampOrigin(_originY, _panMax.y);
    _originX = clampOrigin(_originX, _panMax.x);
}

void OmbriGrid::_constrainOriginNonFinal() {
    // Mid-gesture, touch feedback lets the content follow the finger past the top or bottom so the
    // release can bounce it back; only the final constraint pulls it inside.
    if (!_settings->touchFeedback) _originY = clampOrigin(_originY, _panMax.y);
    _originX = clampOrigin(_originX, _panMax.x);
}

// ---- the programmatic position ----

void OmbriGrid::setScrollPosition(plat::Point position) {
    if (!std::isfinite(position.x) || !std::isfinite(position.y)) {
        plat::log("Grid: scroll position refused: its coordinates must be finite");
        return;
    }
    const auto alive = keepAlive();
    _originX = position.x;
    _originY = position.y;
    _scroller->constrainFinal();
    // The cell images and views hold no position: a move only redraws them elsewhere.
    setNeedsDisplay();
}
