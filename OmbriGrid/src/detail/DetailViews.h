#pragma once
// The provider's views over the grid: the "+"/"-" buttons over the data rows' headers and the
// application's detail views over the detail rows, kept by row identity between passes and laid into
// six clip views. The four region clip views hold the buttons (two of them stay empty, laid out only);
// two more, spanning the width right of the row headers, hold the detail views of the frozen rows (DT)
// and of the scrolling rows (DB), so a detail view is cut where its band scrolls under the headers
// and never moves sideways.

#include <array>
#include <cstdint>
#include <memory>

#include "overlay/CellViewCache.h"
#include "overlay/RegionClips.h"

class OmbriGrid;
class OmbriGridDetailProvider;
class GridRow;
class GridFormatItemEventArgs;
namespace plat {
class View;
class Button;
}  // namespace plat

namespace kivo::detail {

enum class DetailClip : int { Top = 0, Bottom = 1 };

// The frames of DT and DB in the grid's coordinates, from the same figures as the regions'.
std::array<plat::Rect, 2> detailFrames(const RegionMetrics& m);

class DetailViews {
public:
    explicit DetailViews(const std::shared_ptr<OmbriGrid>& grid);
    // The clip views, and the views in them, leave the grid.
    ~DetailViews();
    DetailViews(const DetailViews&) = delete;
    DetailViews& operator=(const DetailViews&) = delete;

    const std::shared_ptr<plat::View>& regionClip(Region region) const { return _regions.clip(region); }
    const std::shared_ptr<plat::View>& detailClip(DetailClip which) const { return _details[static_cast<std::size_t>(which)]; }
    std::size_t cachedCount() const { return _cache.size(); }

    // The start of a drawing pass: the frames, the cache emptied when full, every kept view hidden and
    // detached until its cell is drawn again.
    void beginPass(const OmbriGrid& grid);
    // A cell was put on screen: its button or detail view, found or made, goes over it.
    void placeOver(OmbriGridDetailProvider& provider, const GridFormatItemEventArgs& args);
    void clear();

private:
    std::shared_ptr<plat::Button> makeButton(OmbriGridDetailProvider& provider, const std::shared_ptr<GridRow>& row);
    std::shared_ptr<plat::View> makeDetailView(OmbriGridDetailProvider& provider, const std::shared_ptr<GridRow>& parent);

    RegionClips _regions;
    std::array<std::shared_ptr<plat::View>, 2> _details;
    CellViewCache _cache;
};

}  // namespace kivo::detail
