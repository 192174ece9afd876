#pragma once
// Clip views that hold platform views over the grid: one per scroll region, so that a cell's view
// moving beneath the headers, or beneath the frozen rows and columns, is cut off where its region
// ends. Their frames follow only the header sizes and the frozen extents, never the scroll position.

#include <array>
#include <cstdint>
#include <memory>

#include "Platform/foundation/geometry.h"

class OmbriGrid;
namespace plat {
class View;
}

namespace kivo::detail {

// What the frames are made of, in the grid's coordinates: the row-header width and column-header
// height (whole points), the frozen area's far corner in the cells panel, the grid's size.
struct RegionMetrics {
    double rowHeaderWidth = 0, columnHeaderHeight = 0;
    plat::Point frozen{};
    double width = 0, height = 0;
};
RegionMetrics regionMetrics(const OmbriGrid& grid);

enum class Region : int { TopLeft = 0, LeftStrip = 1, TopStrip = 2, Scrolling = 3 };

// The four regions' frames: frozen rows and columns, the left strip of frozen columns under them, the
// top strip of frozen rows right of them, the scrolling rest.
std::array<plat::Rect, 4> regionFrames(const RegionMetrics& m);

// The region of a cells-panel cell by the grid's frozen rows and columns.
Region cellRegion(std::int32_t row, std::int32_t col, std::int32_t frozenRows, std::int32_t frozenColumns);

// A clipping view of zero frame.
std::shared_ptr<plat::View> makeClipView();

// The four clip views, added to the grid in region order when made, taken off it when destroyed.
class RegionClips {
public:
    explicit RegionClips(const std::shared_ptr<plat::View>& host);
    ~RegionClips();
    RegionClips(const RegionClips&) = delete;
    RegionClips& operator=(const RegionClips&) = delete;

    const std::shared_ptr<plat::View>& clip(Region region) const { return _clips[static_cast<std::size_t>(region)]; }
    // The frames of this pass.
    void layout(const RegionMetrics& m);
    // Over every other subview of the host, in region order.
    void bringToFront();

private:
    std::weak_ptr<plat::View> _host;
    std::array<std::shared_ptr<plat::View>, 4> _clips;
};

}  // namespace kivo::detail
