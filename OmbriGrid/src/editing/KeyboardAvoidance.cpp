// Keeps the open editor above the on-screen keyboard, and lets the keyboard's going away commit the
// edit (unless the grid itself is closing it).

#include <cmath>

#include "GridInternals.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/runtime/system_notifications.h"
#include "Platform/ui/navigation_controller.h"
#include "Platform/ui/screen.h"
#include "Platform/ui/window.h"
#include "editing/EditSession.h"

namespace kivo::detail {

namespace {
// A keyboard that covers less of the screen than this leaves the editor where it is.
constexpr double SmallKeyboard = 100.0;
}  // namespace

void EditSession::keyboardShown(const plat::Notification& notification) {
    finishing = false;
    const auto frame = plat::keyboardEndFrame(notification);
    if (!frame) return;
    const double screenHeight = plat::Screen::main().bounds().height();
    if (std::fabs(screenHeight - frame->y()) < SmallKeyboard) return;

    const auto open = activeEditor;
    const plat::Rect editorFrame = open ? open->frame() : plat::Rect{};
    const double editorTop = open ? _grid.convertPointToScreen(editorFrame.origin).y : 0.0;
    double bar = 0;
    if (const auto w = _grid.window())
        if (const auto nav = std::dynamic_pointer_cast<plat::NavigationController>(w->rootViewController()))
            bar = nav->toolbar()->frame().height();

    const double room = screenHeight - frame->height() - (bar + editorTop + 2 * editorFrame.height());
    if (room >= 0) return;
    double& originY = GridInternals::originY(_grid);
    originY -= room;
    double y = editorFrame.y() + room;
    // Never so far up that the editor passes under the column headers and the frozen rows.
    const double top = static_cast<double>(_grid.columnHeaders()->height()) + _grid.cells()->frozenPoint().y;
    if (top > y) {
        originY -= top - y;
        y = top + _grid.gridLinesWidth();
    }
    if (open) open->setFrame({editorFrame.x(), y, editorFrame.width(), editorFrame.height()});
    _grid.invalidate();
}

void EditSession::keyboardHiding() {
    if (!finishing) finish(false);
}

}  // namespace kivo::detail
