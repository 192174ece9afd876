#include "detail/DetailViews.h"

#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridDetailProvider.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/ui/button.h"
#include "Platform/ui/view.h"
#include "detail/OpenDetails.h"

namespace kivo::detail {

namespace {
// A detail view is inset by this much on every side of its band.
constexpr double DetailInset = 1.0;

std::shared_ptr<OmbriGridDetailProvider> sharedProvider(OmbriGridDetailProvider& provider) {
    return std::static_pointer_cast<OmbriGridDetailProvider>(provider.shared_from_this());
}
}  // namespace

std::array<plat::Rect, 2> detailFrames(const RegionMetrics& m) {
    const double bandTop = m.columnHeaderHeight + m.frozen.y;
    const double width = m.width - m.rowHeaderWidth;
    return {plat::Rect{m.rowHeaderWidth, 0, width, bandTop}, plat::Rect{m.rowHeaderWidth, bandTop, width, m.height - bandTop}};
}

DetailViews::DetailViews(const std::shared_ptr<OmbriGrid>& grid) : _regions(grid) {
    for (auto& clip : _details) {
        clip = makeClipView();
        if (grid) grid->addSubview(clip);
    }
}

DetailViews::~DetailViews() {
    clear();
    for (const auto& clip : _details) clip->removeFromSuperview();
}

void DetailViews::clear() {
    _cache.clear();
}

void DetailViews::beginPass(const OmbriGrid& grid) {
    const RegionMetrics m = regionMetrics(grid);
    _regions.layout(m);
    const auto frames = detailFrames(m);
    for (std::size_t i = 0; i < _details.size(); ++i) _details[i]->setFrame(frames[i]);
    if (_cache.size() >= OmbriGridDetailProvider::CacheLimit) clear();
    _cache.hideAll();
}

void DetailViews::placeOver(OmbriGridDetailProvider& provider, const GridFormatItemEventArgs& args) {
    if (provider.detailVisibilityMode() == GridDetailVisibilityModeNone) return;
    const auto grid = provider.grid();
    const auto& panel = args.panel();
    if (!grid || !panel || !panel->rows()) return;
    const GridRowCollection& rows = *panel->rows();
    const std::int32_t r = args.row(), c = args.col();
    if (r < 0 || static_cast<std::size_t>(r) >= rows.count()) return;
    const bool header = panel->cellType() == GridCellTypeRowHeader;
    // Buttons go over row headers and views over detail rows only: the cells of the other rows are
    // passed by before a row object is made for them.
    const bool detail = isDetailAt(rows, r);
    if (header == detail) return;
    const auto row = rows.row(r);
    if (!row || !row->isVisible() || std::dynamic_pointer_cast<GridGroupRow>(row)) return;

    const CellViewCache::Key key{row->identity(), detail ? 0 : c, panel->cellType()};
    auto view = _cache.find(key);
    const bool frozen = r < grid->frozenRows();
    const auto& clip = header ? regionClip(frozen ? Region::TopLeft : Region::LeftStrip)
                              : detailClip(frozen ? DetailClip::Top : DetailClip::Bottom);
    // A detail band's own extent, not held inside the scrolling area as a merged range's drawing is:
    // its view scrolls on under the frozen band and is cut there.
    plat::Rect rect = detail ? panel->getCellRectInternal(r, c) : panel->getCellRect(r, c);
    rect.origin.x -= clip->frame().x();
    rect.origin.y -= clip->frame().y();

    if (!view) {
        if (header) {
            auto button = makeButton(provider, row);
            if (!button) return;
            button->setTag(r);
            std::weak_ptr<plat::Object> weak = provider.weak_from_this();
            button->addTarget(
                [weak](plat::Control& sender) {
                    const auto owner = std::static_pointer_cast<OmbriGridDetailProvider>(weak.lock());
                    if (auto* b = dynamic_cast<plat::Button*>(&sender); owner && b) owner->expandCollapseAction(*b);
                },
                plat::ControlEventTouchUpInside);
            button->setSelected(isDetailAt(rows, static_cast<std::int64_t>(r) + 1));
            view = button;
        } else {
            if (r == 0) return;
            view = makeDetailView(provider, rows.row(r - 1));
            if (!view) return;
        }
        _cache.store(key, view);
    }

    if (header) {
        view->setFrame(rect);
        view->setTag(r);
        // The last row has no row after it to say; its button keeps the state it has.
        if (static_cast<std::size_t>(r) + 1 < rows.count())
            if (auto* button = dynamic_cast<plat::Button*>(view.get()))
                button->setSelected(isDetailAt(rows, static_cast<std::int64_t>(r) + 1));
    } else {
        const double width = grid->bounds().width() - grid->rowHeaders()->width();
        view->setFrame({DetailInset, rect.y() + DetailInset, width - 2 * DetailInset, rect.height() - 2 * DetailInset});
    }
    view->setHidden(false);
    clip->addSubview(view);
    // Placed during the drawing pass, after the window's layout: a new or moved view lays itself out
    // now to show in this pass.
    view->layoutIfNeeded();
}

std::shared_ptr<plat::Button> DetailViews::makeButton(OmbriGridDetailProvider& provider, const std::shared_ptr<GridRow>& row) {
    if (!provider.showExpandButton()) {
        // Invisible, and still the row header's hit zone.
        auto button = plat::Button::create(plat::ButtonType::Custom);
        button->setBackgroundColor(plat::Color::clear());
        return button;
    }
    auto button = plat::Button::create(plat::ButtonType::System);
    button->setTitle(std::string("+"), plat::ControlStateNormal);
    button->setTitle(std::string("-"), plat::ControlStateSelected);
    const auto self = sharedProvider(provider);
    auto args = std::make_shared<GridRowHeaderLoadingEventArgs>(row, button);
    if (const auto& event = provider.gridRowHeaderLoading()) event->raise(self, args);
    std::shared_ptr<plat::Button> chosen = args->button();
    if (const auto delegate = provider.delegate())
        if (auto answer = delegate->gridRowHeaderLoading(self, row, chosen)) chosen = std::move(*answer);
    return chosen;
}

std::shared_ptr<plat::View> DetailViews::makeDetailView(OmbriGridDetailProvider& provider,
                                                        const std::shared_ptr<GridRow>& parent) {
    const auto self = sharedProvider(provider);
    auto args = std::make_shared<GridDetailCellCreatingEventArgs>(parent);
    if (const auto& event = provider.detailCellCreating()) event->raise(self, args);
    if (const auto delegate = provider.delegate())
        if (auto answer = delegate->detailCellCreating(self, parent)) args->setView(std::move(*answer));
    return args->view();
}

}  // namespace kivo::detail
