// Taps on the grid: the single tap (events, leaving the editor, sorting by a header, toggling a group
// row, selecting) and the double tap (its event, selecting, opening or closing the editor).
#include "GridInternals.h"
#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoGeometry.h"
#include "KivoCore/KivoSortDescription.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/foundation/log.h"
#include "Platform/ui/control.h"
#include "Platform/ui/gesture_recognizer.h"
#include "Platform/ui/gestures.h"
#include "Platform/ui/menu_controller.h"
#include "editing/EditSession.h"
#include "events/DelegateRule.h"
#include "events/GridEvents.h"
#include "foundation/scoped_flag.h"
#include "look/GridSettings.h"
#include "taps/GridInput.h"

using kivo::detail::DelegateRule;
using kivo::detail::GridInternals;

namespace {

// A header tap's sort: the column's description flipped in place, or the whole sort replaced by an
// ascending one on the column, each behind SortingColumn.
void sortByColumnHeader(OmbriGrid& grid, const GridHitTestInfo& hit) {
    const std::int32_t col = hit.column();
    if (col < 0 || static_cast<std::size_t>(col) >= grid.columns()->count()) return;
    const auto column = grid.columns()->column(col);
    if (!column || !column->allowSorting()) return;
    // A path that names nothing would sort every item as equal and still announce a sort.
    const auto path = column->getSortMemberPath();
    if (!path || path->empty()) return;
    if (!grid.collectionView()) {
        plat::log("Grid: the header of column " + std::to_string(col) + " sorts nothing: the grid has no collection view");
        return;
    }
    const auto alive = GridInternals::keepAlive(grid);
    const auto view = grid.collectionView();
    const auto sorts = view->sortDescriptions();
    auto args = std::make_shared<GridCellRangeEventArgs>(grid.columnHeaders(), std::make_shared<GridCellRange>(-1, col));

    for (std::size_t i = 0; i < sorts->count(); ++i) {
        auto sort = sorts->objectAtIndexAs<KivoSortDescription>(i);
        if (!sort || sort->property() != *path) continue;
        if (!grid.onSortingColumn(args)) return;
        // A handler may have edited the list meanwhile: the description is put back where it stands now.
        const std::size_t at = sorts->indexOfObject(plat::Value(sort));
        if (at == plat::NotFound) return;
        sort->setAscending(!sort->ascending());
        plat::detail::ScopedFlag sorting(GridInternals::headerSortRunning(grid));
        sorts->replaceObjectAtIndex(at, plat::Value(sort));
        grid.onSortedColumn(args);
        return;
    }

    auto sort = std::make_shared<KivoSortDescription>(*path, true);
    if (!grid.onSortingColumn(args)) return;
    // One batch: the view sorts once and the rows are rebuilt once, not once for the emptied list and
    // again for the new key.
    {
        plat::detail::ScopedFlag sorting(GridInternals::headerSortRunning(grid));
        sorts->deferUpdate([&] {
            sorts->removeAllObjects();
            sorts->addObject(plat::Value(sort));
        });
    }
    grid.onSortedColumn(args);
}

}  // namespace

bool OmbriGrid::gestureRecognizerShouldReceiveTouch(plat::GestureRecognizer& recognizer, const plat::Touch& touch) {
    if (&recognizer != _state->input->doubleTap.get()) return true;
    // A text field (the editor) keeps its double taps on the grid, which closes an editor left open
    // elsewhere and keeps the one under the finger.
    const auto view = touch.view();
    return !dynamic_cast<plat::Control*>(view.get()) || dynamic_cast<plat::TextField*>(view.get());
}

void OmbriGrid::respondToTapGesture(plat::GestureRecognizer& recognizer) {
    const auto alive = keepAlive();
    takeFirstResponder();
    plat::MenuController::shared().setMenuVisible(false, true);
    const plat::Point at = recognizer.locationInView(this);

    auto tapped = std::make_shared<KivoPointEventArgs>(KivoPoint::create(at.x, at.y));
    if (!raiseCancelable(_state->events->Tapped, tapped, DelegateRule::EitherStops,
                         [this, &tapped](OmbriGridDelegate& d) { return d.tapped(sharedAs<OmbriGrid>(), tapped->point()); }))
        return;

    const auto hit = hitTest(at);
    auto args = std::make_shared<GridCellRangeEventArgs>(hit->gridPanel(), hit->cellRange());
    if (!raiseCancelable(_state->events->CellTapped, args, DelegateRule::Replaces, [this, &args](OmbriGridDelegate& d) {
            return d.cellTapped(sharedAs<OmbriGrid>(), args->panel(), args->cellRange());
        }))
        return;

    if (dynamic_cast<plat::TextField*>(_state->edit->activeEditor.get()) && !_state->edit->isOnEditRange(*hit))
        finishEditing(false);

    if (_state->settings->allowSorting && hit->cellType() == GridCellTypeColumnHeader) sortByColumnHeader(*this, *hit);

    if (hit->gridPanel() == _state->cells && hit->row() >= 0 && static_cast<std::size_t>(hit->row()) < _state->rows->count())
        if (auto group = std::dynamic_pointer_cast<GridGroupRow>(_state->rows->row(hit->row())))
            group->setIsCollapsed(!group->isCollapsed());

    _state->selOrigin = true;
    handleSelection(*hit);
}

void OmbriGrid::respondToDoubleTapGesture(plat::GestureRecognizer& recognizer) {
    const auto alive = keepAlive();
    takeFirstResponder();
    plat::MenuController::shared().setMenuVisible(false, true);
    const auto hit = hitTest(recognizer.locationInView(this));

    auto args = std::make_shared<GridCellRangeEventArgs>(hit->gridPanel(), hit->cellRange());
    bool goOn;
    {
        // No edit may start while the event runs: one started by a handler would race the editor
        // this double tap opens.
        plat::detail::ScopedFlag lock(_state->edit->startLock);
        goOn =
            raiseCancelable(_state->events->CellDoubleTapped, args, DelegateRule::Replaces, [this, &args](OmbriGridDelegate& d) {
                return d.cellDoubleTapped(sharedAs<OmbriGrid>(), args->panel(), args->cellRange());
            });
    }
    if (!goOn) return;

    handleSelection(*hit);
    if (hit->gridPanel() != _state->cells || (_state->edit->activeEditor && !_state->edit->isOnEditRange(*hit))) {
        // A second tap away from the open editor only closes it; the next one may open another.
        _state->edit->returnFromEditor();
        return;
    }
    if (!_state->edit->activeEditor) startEditing(true, hit->row(), hit->column());
}

bool OmbriGrid::onSortingColumn(const std::shared_ptr<GridCellRangeEventArgs>& args) {
    return raiseCancelable(_state->events->SortingColumn, args, DelegateRule::Replaces, [this, &args](OmbriGridDelegate& d) {
        return d.sortingColumn(sharedAs<OmbriGrid>(), args->panel(), args->cellRange());
    });
}

void OmbriGrid::onSortedColumn(const std::shared_ptr<GridCellRangeEventArgs>& args) {
    raiseNotice(_state->events->SortedColumn, args,
                [this, &args](OmbriGridDelegate& d) { d.sortedColumn(sharedAs<OmbriGrid>(), args->panel(), args->cellRange()); });
}
