// The detail provider: its settings, and opening and closing details, which moves the frozen rows and
// the selection with the rows. Its views over the grid are detail/DetailViews'.

#include "OmbriGrid/OmbriGridDetailProvider.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/foundation/log.h"
#include "Platform/ui/button.h"
#include "detail/DetailViews.h"
#include "detail/OpenDetails.h"

using kivo::detail::isDetailAt;
using kivo::detail::OpenDetails;

namespace {
bool isDataRow(const std::shared_ptr<GridRow>& row) {
    return row && !std::dynamic_pointer_cast<GridGroupRow>(row) && !std::dynamic_pointer_cast<GridDetailRow>(row);
}
}  // namespace

OmbriGridDetailProvider::OmbriGridDetailProvider(const std::shared_ptr<OmbriGrid>& grid)
    : _grid(grid),
      _detailCellCreating(std::make_shared<KivoEvent>()),
      _gridRowHeaderLoading(std::make_shared<KivoEvent>()),
      _token(std::make_shared<int>(0)),
      _views(std::make_unique<kivo::detail::DetailViews>(grid)),
      _open(std::make_unique<OpenDetails>()) {
    if (!grid) return;
    // Made inside the constructor, so the handlers reach the provider through its token: a handler
    // whose token is gone finds a provider that is gone.
    std::weak_ptr<int> alive = _token;
    auto self = [alive, this]() -> OmbriGridDetailProvider* { return alive.expired() ? nullptr : this; };
    auto subscribe = [this](const std::shared_ptr<KivoEvent>& event, KivoEventBlock block) {
        if (event) event->addHandler(block, _token);
    };
    subscribe(grid->ombriGridSelectionChanged(), [self](const std::shared_ptr<KivoEventContainer>& c) {
        if (auto* p = self()) p->onSelectionChanged(c);
    });
    subscribe(grid->ombriGridInvalidated(), [self](const std::shared_ptr<KivoEventContainer>&) {
        if (auto* p = self()) p->clearCache();
    });
    subscribe(grid->ombriGridRendering(), [self](const std::shared_ptr<KivoEventContainer>&) {
        if (auto* p = self())
            if (auto g = p->grid()) p->_views->beginPass(*g);
    });
    subscribe(grid->ombriGridProcessItemOverlay(), [self](const std::shared_ptr<KivoEventContainer>& c) {
        auto* p = self();
        const auto args = c->args<GridFormatItemEventArgs>();
        if (!p || !args) return;
        const auto keep = p->keepAlive();
        p->_views->placeOver(*p, *args);
    });
    if (const auto& rows = grid->rows())
        subscribe(rows->collectionChanged(), [self](const std::shared_ptr<KivoEventContainer>&) {
            if (auto* p = self()) p->_open->rowsChanged();
        });
}

OmbriGridDetailProvider::~OmbriGridDetailProvider() {
    if (const auto grid = _grid.lock()) {
        for (const auto* event : {&grid->ombriGridSelectionChanged(), &grid->ombriGridInvalidated(), &grid->ombriGridRendering(),
                                  &grid->ombriGridProcessItemOverlay()})
            if (*event) (*event)->removeHandlersForObject(_token);
        if (const auto& rows = grid->rows())
            if (const auto event = rows->collectionChanged()) event->removeHandlersForObject(_token);
    }
    // The views leave the grid with their clip views.
    _views.reset();
}

void OmbriGridDetailProvider::setStrongDelegate(std::shared_ptr<OmbriGridDetailProviderDelegate> delegate) {
    _strongDelegate = std::move(delegate);
    setDelegate(_strongDelegate);
}

void OmbriGridDetailProvider::setDetailHeight(double height) {
    // Rows are whole points: anything a row could not be is refused rather than made into a height.
    if (!std::isfinite(height) || height < 0 || height > static_cast<double>(INT32_MAX)) {
        plat::log("Grid detail: height " + std::to_string(height) +
                  " refused: it must be finite, not negative and within the whole-point range");
        return;
    }
    _detailHeight = height;
    const auto grid = _grid.lock();
    if (!grid) return;
    const auto alive = keepAlive();
    // The rows keep their sizes laid out: each detail row tells them its new one.
    for (const auto& open : _open->all(*grid->rows())) open.row->onPropertyChanged();
    grid->invalidate();
}

void OmbriGridDetailProvider::setShowExpandButton(bool show) {
    _showExpandButton = show;
    if (auto grid = _grid.lock()) grid->invalidate();
}

void OmbriGridDetailProvider::setDetailVisibilityMode(std::int64_t mode) {
    const auto grid = _grid.lock();
    if (!grid) {
        _detailVisibilityMode = mode;
        return;
    }
    const auto alive = keepAlive();
    if (mode == GridDetailVisibilityModeMultiple) {
        _detailVisibilityMode = mode;
        grid->invalidate();
        return;
    }
    if (mode == GridDetailVisibilityModeSingle) {
        const auto first = _open->first(*grid->rows());
        if (!first.row) {
            _detailVisibilityMode = mode;
            grid->invalidate();
            return;
        }
        // Only the topmost detail stays open: its parent is found again once the others are gone.
        const auto parent = first.index > 0 ? grid->rows()->row(first.index - 1) : nullptr;
        doExpandCollapse(-1);
        _detailVisibilityMode = mode;
        grid->invalidate();
        if (parent && parent->owner() == grid->rows()) doExpandCollapse(parent->index());
        return;
    }
    doExpandCollapse(-1);
    _detailVisibilityMode = mode;
    grid->invalidate();
    if (mode == GridDetailVisibilityModeSelection && followsSelection()) doExpandCollapse(grid->selection()->row());
}

// ---- opening and closing ----

bool OmbriGridDetailProvider::followsSelection() const {
    const auto grid = _grid.lock();
    if (!grid) return false;
    const auto mode = grid->selectionMode();
    return mode == GridSelectionModeRow || mode == GridSelectionModeCell;
}

std::int32_t OmbriGridDetailProvider::indexOfRow(const OmbriGrid& grid, const std::shared_ptr<GridRow>& row,
                                                 const char* request) const {
    const auto& rows = grid.rows();
    const std::size_t i = row && row->owner() == rows ? rows->indexOfObject(plat::Value(row)) : plat::NotFound;
    if (i == plat::NotFound) {
        plat::log(std::string("Grid detail: ") + request + " refused: the row is not among the grid's rows");
        return -1;
    }
    return static_cast<std::int32_t>(i);
}

void OmbriGridDetailProvider::showDetail(const std::shared_ptr<GridRow>& row, bool hideOthers) {
    const auto grid = _grid.lock();
    if (!grid) return;
    const auto alive = keepAlive();
    if (indexOfRow(*grid, row, "showDetail") < 0) return;
    if (!isDataRow(row)) return;
    if (hideOthers) doExpandCollapse(-1);
    // The indices moved if details above it closed.
    const std::int32_t index = row->index();
    if (index >= 0 && !isDetailAt(*grid->rows(), static_cast<std::int64_t>(index) + 1)) doExpandCollapse(index);
}

void OmbriGridDetailProvider::hideDetail(const std::shared_ptr<GridRow>& row) {
    if (!row) {
        doExpandCollapse(-1);
        return;
    }
    const auto grid = _grid.lock();
    if (!grid) return;
    const std::int32_t index = indexOfRow(*grid, row, "hideDetail");
    if (index >= 0 && isDataRow(row) && isDetailAt(*grid->rows(), static_cast<std::int64_t>(index) + 1)) doExpandCollapse(index);
}

void OmbriGridDetailProvider::expandCollapseAction(plat::Button& button) {
    button.setSelected(!button.isSelected());
    doExpandCollapse(static_cast<std::int32_t>(std::clamp<std::int64_t>(button.tag(), INT32_MIN, INT32_MAX)));
}

void OmbriGridDetailProvider::commitEdit(OmbriGrid& grid) {
    if (grid.editRange()) grid.finishEditing(false);
}

void OmbriGridDetailProvider::doExpandCollapse(std::int32_t index) {
    const auto grid = _grid.lock();
    if (!grid) return;
    const auto alive = keepAlive();
    const auto keepGrid = grid;
    if (index == -1) {
        closeAll(*grid);
        return;
    }
    const auto& rows = grid->rows();
    if (index < 0 || static_cast<std::size_t>(index) >= rows->count()) {
        plat::log("Grid detail: row index " + std::to_string(index) + " refused: it is neither -1 nor a row of the grid");
        return;
    }
    // Only a data row has a detail; group and detail rows have none to open or close.
    if (!isDataRow(rows->row(index))) return;
    commitEdit(*grid);
    // The commit runs the application's code, which may have moved the rows.
    if (static_cast<std::size_t>(index) >= rows->count()) return;
    if (isDetailAt(*rows, static_cast<std::int64_t>(index) + 1))
        closeDetail(*grid, index);
    else
        openDetail(*grid, index);
}

void OmbriGridDetailProvider::openDetail(OmbriGrid& grid, std::int32_t i) {
    const auto& rows = grid.rows();
    auto detail = std::make_shared<GridDetailRow>();
    if (grid.frozenRows() > i) grid.setFrozenRows(grid.frozenRows() + 1);
    {
        OpenDetails::OwnEdit own(*_open);
        rows->insertObject(plat::Value(detail), static_cast<std::size_t>(i) + 1);
    }
    _open->added(detail);
    const auto& sel = grid.selection();
    const bool follow = _detailVisibilityMode == GridDetailVisibilityModeSelection && followsSelection();
    if (follow) {
        if (sel->row() != i) {
            sel->setRow(i);
            sel->setRow2(i);
        }
    } else {
        if (sel->row() > i) sel->setRow(sel->row() + 1);
        if (sel->row2() > i) sel->setRow2(sel->row2() + 1);
    }
    if (_detailVisibilityMode != GridDetailVisibilityModeSingle && _detailVisibilityMode != GridDetailVisibilityModeSelection)
        return;
    const auto other = _open->first(*rows, detail.get());
    if (!other.row) return;
    const std::int32_t j = other.index;
    if (j < grid.frozenRows()) grid.setFrozenRows(grid.frozenRows() - 1);
    // Each end of the selection on its own test: a range reaching past the detail keeps its rows.
    const auto& s = grid.selection();
    if (j < s->row()) s->setRow(s->row() - 1);
    if (j < s->row2()) s->setRow2(s->row2() - 1);
    OpenDetails::OwnEdit own(*_open);
    rows->removeObjectAtIndex(static_cast<std::size_t>(j));
}

void OmbriGridDetailProvider::closeDetail(OmbriGrid& grid, std::int32_t i) {
    if (grid.frozenRows() > i) grid.setFrozenRows(grid.frozenRows() - 1);
    const auto& sel = grid.selection();
    if (sel->row() > i) sel->setRow(sel->row() - 1);
    if (sel->row2() > i) sel->setRow2(sel->row2() - 1);
    OpenDetails::OwnEdit own(*_open);
    grid.rows()->removeObjectAtIndex(static_cast<std::size_t>(i) + 1);
}

void OmbriGridDetailProvider::closeAll(OmbriGrid& grid) {
    const auto& rows = grid.rows();
    auto found = _open->all(*rows);
    if (found.empty()) return;
    commitEdit(grid);
    found = _open->all(*rows);
    const std::int32_t frozen = grid.frozenRows();
    std::int32_t above = 0;
    for (const auto& f : found)
        if (f.index < frozen) ++above;
    if (above > 0) grid.setFrozenRows(frozen - above);
    for (const auto& f : found) {
        const std::int32_t k = f.row->index();
        if (k < 0) continue;
        const auto& sel = grid.selection();
        if (k < sel->row()) sel->setRow(sel->row() - 1);
        if (k < sel->row2()) sel->setRow2(sel->row2() - 1);
        OpenDetails::OwnEdit own(*_open);
        rows->removeObjectAtIndex(static_cast<std::size_t>(k));
    }
}

void OmbriGridDetailProvider::onSelectionChanged(const std::shared_ptr<KivoEventContainer>& container) {
    if (_detailVisibilityMode != GridDetailVisibilityModeSelection || !followsSelection()) return;
    const auto args = container ? container->args<GridCellRangeEventArgs>() : nullptr;
    const auto grid = _grid.lock();
    if (!args || !grid) return;
    const std::int32_t row = args->row();
    // A selection on a group or detail row opens and closes nothing.
    if (row != -1 && (row < 0 || static_cast<std::size_t>(row) >= grid->rows()->count() || !isDataRow(grid->rows()->row(row))))
        return;
    doExpandCollapse(row);
}

void OmbriGridDetailProvider::clearCache() { _views->clear(); }

kivo::detail::DetailViews& OmbriGridDetailProvider::views(plat::Passkey<kivo::detail::GridInternals>) { return *_views; }

bool OmbriGridDetailProvider::overlayIdle(plat::Passkey<kivo::detail::GridInternals>, const KivoEvent::Handlers& handlers) const {
    if (_detailVisibilityMode != GridDetailVisibilityModeNone) return false;
    return std::all_of(handlers.begin(), handlers.end(), [this](const auto& h) { return !h || h->isOwnedBy(_token); });
}
