// The hit areas of a scatter or bubble series' pass, made from its block when first asked for.

#include "plotters/LinePointArea.h"

namespace kivo::detail {

const BubblePointArea& BubblePointBlock::area(std::size_t k) const {
    if (!_bubblesMade) {
        _bubbleAreas.reserve(size());
        const bool stands = !standX.empty();
        for (std::size_t j = 0; j < size(); ++j)
            _bubbleAreas.emplace_back(&info, sx[j], sy[j], pointIndex(j), x(j), y(j), sizeAt(j), stands ? standX[j] : sx[j],
                                      stands ? standY[j] : sy[j]);
        _bubblesMade = true;
    }
    return _bubbleAreas[k];
}

void BubblePointBlock::reset(std::size_t expected) {
    LinePointBlock::reset(expected);
    sizes.clear();
    standX.clear();
    standY.clear();
    // Areas of an earlier pass are dropped, their memory kept while it fits.
    reuseFor(_bubbleAreas, _bubblesMade ? expected : 0);
    _bubblesMade = false;
}

}  // namespace kivo::detail
