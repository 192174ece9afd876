// The grid's side of the short press, which the press handler does, and the column's side of a
// resize.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>
#include "GridState.h"

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/ui/gestures.h"
#include "resizing/GridPress.h"
#include "taps/GridInput.h"

bool GridColumn::fixWidthType(plat::Passkey<kivo::detail::GridPress>) {
    if (_widthType == GridWidthTypeSized) return false;
    _widthType = GridWidthTypeSized;
    return true;
}

void GridColumn::fixWidth(plat::Passkey<kivo::detail::GridPress>, std::int32_t points, bool retyped) {
    if (size() != points) {
        setSize(points);
        return;
    }
    if (!retyped) return;
    onPropertyChanged();
    onResize();
}

// ---- the decision ----

bool OmbriGrid::gestureRecognizerShouldBegin(plat::GestureRecognizer& recognizer) {
    if (&recognizer != _state->input->press.get()) return true;
    return _state->press->shouldBegin(recognizer.locationInView(this));
}

std::int32_t OmbriGrid::columnBeingSized() const { return _state->press->columnBeingSized(); }

void OmbriGrid::respondToPressGesture(plat::GestureRecognizer& recognizer) { _state->press->respond(recognizer); }

void kivo::detail::GridPress::dropColumnCaches(std::int32_t column) {
    const auto item = _grid.columns()->column(column);
    for (const auto* panel : {&_grid.cells(), &_grid.columnHeaders(), &_grid.rowHeaders()}) (*panel)->resetCache(item.get());
}
