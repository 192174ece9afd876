#pragma once
// Thin strokes along the device axes (axes, grid lines, ticks, cell and frame lines) land on
// fractional device positions wherever layout puts them; rasterised as they are, one line comes out as
// a crisp pixel and its neighbour as two half-grey ones. The backend moves such strokes by less than
// a pixel so that each covers whole device pixels. Any other stroke (curves, slanted segments, thick
// lines) is left as it is, and so is the recorded geometry.

#include <optional>
#include <vector>

#include "Platform/foundation/geometry.h"
#include "Platform/graphics/path.h"

namespace plat::detail {

// A stroke of at most this many points wide (in the image's points) counts as thin: axes, grid and
// cell lines are one point or less; data lines (1.5 and more) are left alone.
inline constexpr double ThinStrokePoints = 1.25;

struct SnappedStroke {
    Path devicePath;     // in device pixels
    double deviceWidth;  // a whole number of pixels, at least one
    double dashScale;    // user lengths (dash pattern, phase) to device pixels
};

// The whole number of device pixels a stroke `lineWidth` wide through `ctm` is drawn across, when the
// transform neither rotates nor skews nor stretches one axis more than the other and the stroke is
// thin on an image of `imageScale` pixels per point; nullopt otherwise.
std::optional<double> thinStrokeWidth(const AffineTransform& ctm, double lineWidth, double imageScale);

// The centre of a line `width` whole pixels wide nearest to `v`: on a pixel's middle for an odd
// width, on a pixel edge for an even one.
double snapCentre(double v, double width);

// The snapped stroke of `userPath` drawn through `ctm` at `lineWidth`, when the path is made only of
// straight segments along the device axes and the stroke is thin on an image of `imageScale` pixels
// per point; nullopt otherwise.
std::optional<SnappedStroke> snapThinStroke(const Path& userPath, const AffineTransform& ctm, double lineWidth,
                                            double imageScale);

}  // namespace plat::detail
