#pragma once
// GoogleMock matchers for points, sizes and rectangles, with one tolerance policy for every test:
// coordinates agree when they differ by at most GeometryTolerance points (rounding of the arithmetic,
// far below anything visible); a test of approximate geometry (curves drawn as Bézier arcs, flattened
// paths) passes its own tolerance and names it.
//
//   EXPECT_THAT(view->frame(), RectNear({10, 20, 100, 40}));
//   EXPECT_THAT(ring.bounds(), RectNear({50, 50, 100, 100}, BezierArcTolerance));

#include <gmock/gmock.h>

#include "Platform/foundation/geometry.h"

namespace plat::testing {

inline constexpr double GeometryTolerance = 1e-6;
// Paths keep circular and elliptical arcs as cubic Bézier segments, which stray a little from the true
// curve (at most 0.03 % of the radius, between the segments' ends): bounds of such paths compare
// within this.
inline constexpr double BezierArcTolerance = 0.01;

::testing::Matcher<Point> PointNear(Point expected, double tolerance = GeometryTolerance);
::testing::Matcher<Size> SizeNear(Size expected, double tolerance = GeometryTolerance);
::testing::Matcher<Rect> RectNear(Rect expected, double tolerance = GeometryTolerance);

}  // namespace plat::testing
