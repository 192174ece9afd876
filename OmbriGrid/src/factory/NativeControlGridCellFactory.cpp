#include "OmbriGrid/NativeControlGridCellFactory.h"

#include <string>

#include "KivoCore/KivoEvent.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowCol.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/log.h"
#include "Platform/ui/view.h"
#include "factory/FactoryParts.h"

namespace {

// Past this many views the cache is emptied whole at the start of the next pass, so views of cells
// long scrolled away (or of rows long gone) do not pile up.
constexpr std::size_t CacheLimit = 256;

}  // namespace

NativeControlGridCellFactory::NativeControlGridCellFactory(const std::shared_ptr<OmbriGrid>& grid)
    : _grid(grid), _createViewForCell(std::make_shared<KivoEvent>()), _impl(std::make_unique<Impl>(grid)) {}

std::shared_ptr<NativeControlGridCellFactory> NativeControlGridCellFactory::create(const std::shared_ptr<OmbriGrid>& grid) {
    std::shared_ptr<NativeControlGridCellFactory> factory(new NativeControlGridCellFactory(grid));
    if (grid) {
        factory->subscribe();
    } else {
        plat::log("Grid: a native-control cell factory made without a grid places no views");
    }
    return factory;
}

NativeControlGridCellFactory::~NativeControlGridCellFactory() {
    for (const auto& weak : _impl->subscribed)
        if (const auto event = weak.lock()) event->removeHandlersForObject(_impl->owner);
    // The cache, then the clip views, leave the grid as the rest of the factory goes.
}

void NativeControlGridCellFactory::subscribe() {
    const auto grid = _grid.lock();
    const std::weak_ptr<NativeControlGridCellFactory> weak =
        std::static_pointer_cast<NativeControlGridCellFactory>(shared_from_this());
    // Each handler holds the factory while it runs: what the application does in a view's callbacks
    // may drop the last other reference to it.
    auto on = [&](const std::shared_ptr<KivoEvent>& event, auto&& action) {
        if (!event) return;
        event->addHandler(
            [weak, action](const std::shared_ptr<KivoEventContainer>& container) {
                if (const auto self = weak.lock()) action(*self, container);
            },
            _impl->owner);
        _impl->subscribed.push_back(event);
    };
    on(grid->ombriGridInvalidated(), [](NativeControlGridCellFactory& self, const auto&) { self.clearCache(); });
    on(grid->ombriGridRendering(), [](NativeControlGridCellFactory& self, const auto&) { self.layoutPass(); });
    on(grid->ombriGridProcessItemOverlay(), [](NativeControlGridCellFactory& self, const std::shared_ptr<KivoEventContainer>& c) {
        if (const auto args = c->args<GridFormatItemEventArgs>()) self.placeView(*args);
    });
}

void NativeControlGridCellFactory::setStrongDelegate(std::shared_ptr<NativeControlGridCellFactoryDelegate> delegate) {
    _strongDelegate = std::move(delegate);
    setDelegate(_strongDelegate);
}

void NativeControlGridCellFactory::updateCell(const std::shared_ptr<GridPanel>& panel, std::int32_t row, std::int32_t col,
                                              plat::Context*, const std::shared_ptr<GridCellRange>&) {
    if (panel) panel->drawCell(row, col, true, true);
}

void NativeControlGridCellFactory::clearCache() {
    _impl->cache.clear();
}

void NativeControlGridCellFactory::layoutPass() {
    const auto grid = _grid.lock();
    if (!grid) return;
    auto& clips = _impl->clips;
    clips.layout(kivo::detail::regionMetrics(*grid));
    clips.bringToFront();
    // An open editor stays over the views: it must show, and take the touches of the cell it edits.
    if (const auto& editor = grid->activeEditor(); editor && editor->superview() == grid) grid->bringSubviewToFront(editor.get());
    if (_impl->cache.size() >= CacheLimit) clearCache();
    _impl->cache.hideAll();
}

void NativeControlGridCellFactory::placeView(const GridFormatItemEventArgs& args) {
    const auto grid = _grid.lock();
    const auto& panel = args.panel();
    if (!grid || !panel || panel->cellType() != GridCellTypeCell || !panel->rows()) return;
    const std::int32_t r = args.row(), c = args.col();
    const auto row = std::dynamic_pointer_cast<GridRow>(panel->rows()->item(r));
    if (!row || !row->isVisible() || std::dynamic_pointer_cast<GridGroupRow>(row)) return;

    const kivo::detail::CellViewCache::Key key{row->identity(), c, static_cast<std::int64_t>(panel->cellType())};
    auto view = _impl->cache.find(key);
    if (!view) {
        view = askForView(panel, args.cellRange());
        if (!view) return;
        if (grid->isDescendantOf(view.get())) {
            plat::log("Grid: the view for cell (" + std::to_string(r) + ", " + std::to_string(c) +
                      ") refused: it holds the grid");
            return;
        }
        _impl->cache.store(key, view);
    }
    const auto& clip = _impl->clips.clip(kivo::detail::cellRegion(r, c, grid->frozenRows(), grid->frozenColumns()));
    plat::Rect rect = panel->getCellRect(r, c);
    rect.origin.x -= clip->frame().x();
    rect.origin.y -= clip->frame().y();
    view->setFrame(rect);
    view->setHidden(false);
    const auto& selection = grid->selection();
    const bool selected = selection && selection->intersects(GridCellRange(r, c));
    view->setTintColor(selected ? grid->selectionTextColor() : grid->tintColor());
    clip->addSubview(view);
    // The window laid its tree out before this pass began: a view new to it is laid out here, so its
    // first frame shows its content in place.
    view->layoutIfNeeded();
}

std::shared_ptr<plat::View> NativeControlGridCellFactory::askForView(const std::shared_ptr<GridPanel>& panel,
                                                                     const std::shared_ptr<GridCellRange>& range) {
    auto args = std::make_shared<GridCreateViewForCellEventArgs>(panel, range);
    if (const auto event = _createViewForCell) event->raise(shared_from_this(), args);
    if (const auto delegate = _delegate)
        if (auto answer = delegate->createViewForCell(_grid.lock(), panel, range)) args->setView(std::move(*answer));
    return args->view();
}
