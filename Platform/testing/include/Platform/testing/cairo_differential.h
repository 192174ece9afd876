#pragma once
// The differential check of drawing: a scene drawn into a small Cairo surface and into a recording
// context must agree. Every pixel whose square, grown by `margin` on each side, lies inside a recorded
// fill (and its clip) must be painted; every pixel whose grown square misses all fills (or lies outside
// their clip) must be clear. Pixels near an edge are not judged (antialiasing), so the check finds
// disagreements of more than about one and a half pixels: a wrong transform, angle convention, fill
// rule or clip, not a rounding. Fills only: a scene strokes with a clear colour, and clips by
// rectangles (a recorded clip is its bounding box).
//
//   EXPECT_TRUE(cairoMatchesRecording([](plat::Context& c) { c.fillRect({3, 4, 10, 7}); }));

#include <gtest/gtest.h>

#include <functional>

#include "Platform/foundation/geometry.h"

namespace plat {
class Context;
}

namespace plat::testing {

// Fails also when the scene fills nothing, or leaves fewer than half of the pixels judged.
::testing::AssertionResult cairoMatchesRecording(const std::function<void(Context&)>& scene, Size pixels = {40, 30},
                                                 double margin = 0.5);

}  // namespace plat::testing
