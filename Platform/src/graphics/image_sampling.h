#pragma once
// Internal: keeps a drawn source image within what Cairo's pixel compositor can sample. It samples
// a transformed source in 16.16 fixed point, so a source side near 32,768 pixels (or a very strong
// shrink, whose filter reaches as far) draws nothing at all; such a source is drawn from a copy
// reduced by a whole factor instead.

#include <memory>

#include "Platform/foundation/geometry.h"

namespace plat {
class Image;
}

namespace plat::detail {

// The largest extent, in source pixels, that a draw may sample: a side plus the reach of its filter
// (source pixels per device pixel). Half of the fixed-point range, which leaves room for the margins.
constexpr double MaxSampledExtent = 16384;

// The whole factor to reduce `image` by before drawing it into `userRect` under `ctm` (1: as it is).
int sourceReduction(const Image& image, const Rect& userRect, const AffineTransform& ctm);

// A copy `factor` times smaller a side (rounded up): each pixel is the average of a square of them.
std::shared_ptr<Image> boxReduced(const Image& image, int factor);

}  // namespace plat::detail
