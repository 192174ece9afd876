// The grid's own doors to its cells: subscripting, writing, hit testing and the long press.
#include "GridState.h"
#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/ui/gesture_recognizer.h"
#include "Platform/ui/menu_controller.h"
#include "events/DelegateRule.h"
#include "events/GridEvents.h"
#include "look/GridSettings.h"
#include "taps/GridInput.h"

std::shared_ptr<GridRowAccessor> OmbriGrid::objectAtIndexedSubscript(std::int32_t row) {
    return _state->cells->objectAtIndexedSubscript(row);
}

void OmbriGrid::setCellData(const plat::Value& value, std::int32_t row, std::int32_t col) {
    _state->cells->setCellData(value, row, col);
}

std::shared_ptr<GridHitTestInfo> OmbriGrid::hitTest(plat::Point point) {
    return std::make_shared<GridHitTestInfo>(sharedAs<OmbriGrid>(), point);
}

bool OmbriGrid::onCellLongPressed(plat::Point point) {
    const auto alive = keepAlive();
    const auto hit = hitTest(point);
    auto args = std::make_shared<GridCellRangeEventArgs>(hit->gridPanel(), hit->cellRange());
    if (_state->events->CellLongPressed) _state->events->CellLongPressed->raise(sharedAs<OmbriGrid>(), args);
    const bool cancel = args->cancel();
    if (const auto d = delegate()) d->cellLongPressed(sharedAs<OmbriGrid>(), args->panel(), args->cellRange());
    return !cancel;
}

void OmbriGrid::respondToLongPressGesture(plat::GestureRecognizer& recognizer) {
    const auto alive = keepAlive();
    takeFirstResponder();
    if (recognizer.state() != plat::GestureRecognizerState::Began) return;
    auto& menu = plat::MenuController::shared();
    menu.setMenuVisible(false, true);
    const plat::Point at = recognizer.locationInView(this);
    onCellLongPressed(at);
    if (!_state->settings->defaultContextMenu) return;
    _state->contextMenuHTI = hitTest(at);
    menu.setTargetRect({at.x, at.y, 0, 0}, sharedAs<OmbriGrid>());
    menu.setMenuVisible(true, true);
}

const std::shared_ptr<plat::LongPressGestureRecognizer>& OmbriGrid::longPressRecognizer() const {
    return _state->input->longPress;
}
