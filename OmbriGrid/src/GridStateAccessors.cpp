// The grid's accessors of what it holds, out of line since the header does not show its state.
#include "GridState.h"
#include "OmbriGrid/OmbriGrid.h"

std::shared_ptr<OmbriGridDelegate> OmbriGrid::delegate() const { return _state->delegate.lock(); }
void OmbriGrid::setDelegate(const std::shared_ptr<OmbriGridDelegate>& delegate) { _state->delegate = delegate; }
const std::shared_ptr<OmbriGridDelegate>& OmbriGrid::strongDelegate() const { return _state->strongDelegate; }
const std::shared_ptr<GridRowCollection>& OmbriGrid::rows() const { return _state->rows; }
const std::shared_ptr<GridColumnCollection>& OmbriGrid::columns() const { return _state->columns; }
const std::shared_ptr<GridPanel>& OmbriGrid::cells() const { return _state->cells; }
const std::shared_ptr<GridPanel>& OmbriGrid::columnHeaders() const { return _state->columnHeaders; }
const std::shared_ptr<GridPanel>& OmbriGrid::rowHeaders() const { return _state->rowHeaders; }
const std::shared_ptr<GridPanel>& OmbriGrid::topLeftCells() const { return _state->topLeftCells; }
const std::shared_ptr<GridRow>& OmbriGrid::columnHeaderRow() const { return _state->columnHeaderRow; }
const std::shared_ptr<KivoCollectionView>& OmbriGrid::collectionView() const { return _state->collectionView; }
const plat::ArrayPtr& OmbriGrid::itemsSource() const { return _state->itemsSource; }
const std::shared_ptr<GridHitTestInfo>& OmbriGrid::contextMenuHitTest() const { return _state->contextMenuHTI; }
const std::shared_ptr<GridMergeManager>& OmbriGrid::mergeManager() const { return _state->mergeManager; }
const std::shared_ptr<OmbriGridDetailProvider>& OmbriGrid::detailProvider() const { return _state->detailProvider; }
const std::shared_ptr<GridCellFactory>& OmbriGrid::cellFactory() const { return _state->cellFactory; }
void OmbriGrid::setCellFactory(std::shared_ptr<GridCellFactory> factory) { _state->cellFactory = std::move(factory); }
const std::shared_ptr<IKivoValueFormatter>& OmbriGrid::valueFormatter() const { return _state->valueFormatter; }
const std::shared_ptr<GridCellRange>& OmbriGrid::selection() const { return _state->selection; }
GridSelectionMode OmbriGrid::selectionMode() const { return _state->selectionMode; }
plat::Point OmbriGrid::offset() const { return _state->cellsStart; }
plat::Rect OmbriGrid::clientRect() const { return _state->clientRect; }
double OmbriGrid::originX() const { return _state->originX; }
double OmbriGrid::originY() const { return _state->originY; }
plat::Point OmbriGrid::scrollPosition() const { return {_state->originX, _state->originY}; }
