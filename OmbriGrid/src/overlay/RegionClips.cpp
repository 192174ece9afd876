#include "overlay/RegionClips.h"

#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/ui/view.h"

namespace kivo::detail {

RegionMetrics regionMetrics(const OmbriGrid& grid) {
    RegionMetrics m;
    m.rowHeaderWidth = grid.rowHeaders()->width();
    m.columnHeaderHeight = grid.columnHeaders()->height();
    m.frozen = grid.cells()->frozenPoint();
    m.width = grid.bounds().width();
    m.height = grid.bounds().height();
    return m;
}

std::array<plat::Rect, 4> regionFrames(const RegionMetrics& m) {
    const plat::Rect a{0, 0, m.rowHeaderWidth + m.frozen.x, m.columnHeaderHeight + m.frozen.y};
    const double restW = m.width - a.width();
    const double restH = m.height - a.height();
    return {a, plat::Rect{0, a.height(), a.width(), restH}, plat::Rect{a.width(), 0, restW, a.height()},
            plat::Rect{a.width(), a.height(), restW, restH}};
}

Region cellRegion(std::int32_t row, std::int32_t col, std::int32_t frozenRows, std::int32_t frozenColumns) {
    const bool top = row < frozenRows;
    const bool left = col < frozenColumns;
    if (top) return left ? Region::TopLeft : Region::TopStrip;
    return left ? Region::LeftStrip : Region::Scrolling;
}

std::shared_ptr<plat::View> makeClipView() {
    auto view = plat::View::create();
    view->setClipsToBounds(true);
    return view;
}

RegionClips::RegionClips(const std::shared_ptr<plat::View>& host) : _host(host) {
    for (auto& clip : _clips) {
        clip = makeClipView();
        if (host) host->addSubview(clip);
    }
}

RegionClips::~RegionClips() {
    for (const auto& clip : _clips) clip->removeFromSuperview();
}

void RegionClips::layout(const RegionMetrics& m) {
    const auto frames = regionFrames(m);
    for (std::size_t i = 0; i < _clips.size(); ++i) _clips[i]->setFrame(frames[i]);
}

void RegionClips::bringToFront() {
    const auto host = _host.lock();
    if (!host) return;
    for (const auto& clip : _clips) host->bringSubviewToFront(clip.get());
}

}  // namespace kivo::detail
