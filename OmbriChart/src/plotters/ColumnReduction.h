// Thins a dense polyline to what a pixel column can show: each column's first, last, lowest and
// highest point, so a line of a million points costs what a few thousand cost to stroke.
#pragma once

#include <span>
#include <vector>

namespace kivo::detail {

// How far beyond the plot's edges, in points, columns stay one device pixel wide: half the widest line
// whose round joins and caps may reach back into the plot from there.
constexpr double EdgeBand = 16;

// When the polyline has more than two points per device-pixel column along `along`, keeps each column's
// first, last, lowest and highest point (in drawing order), keeps NaN gaps as gaps, and returns true with
// the result in outAlong/outAcross; returns false (outputs untouched) below that threshold.
//
// `along` is the screen coordinate that advances with the data (x for an upright chart, y when rotated)
// and `across` the other one; `start` and `extent` give the plot along `along` in points, `deviceScale`
// the device pixels per point. Off the plot, pixel columns go on for `EdgeBand` points (a stroke that far
// out still reaches into the plot); beyond that band each side is one column, so the segments that cross
// the band keep their exact end points. A point with a non-finite coordinate is a gap: each run of them
// becomes one NaN point in the output.
bool reduceToPixelColumns(std::span<const double> along, std::span<const double> across, double start, double extent,
                          double deviceScale, std::vector<double>& outAlong, std::vector<double>& outAcross);

}  // namespace kivo::detail
