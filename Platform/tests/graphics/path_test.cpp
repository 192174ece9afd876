#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "Platform/graphics/path.h"
#include "Platform/testing/geometry_matchers.h"

using namespace plat;
using plat::testing::PointNear;
using std::numbers::pi;

TEST(Path, NestedRectanglesFollowTheFillRule) {
    Path p;
    p.addRect({0, 0, 100, 100});
    p.addRect({25, 25, 50, 50});  // same direction: nonzero fills the hole, even-odd leaves it
    EXPECT_TRUE(p.contains({50, 50}, FillRule::NonZero));
    EXPECT_FALSE(p.contains({50, 50}, FillRule::EvenOdd));
    EXPECT_TRUE(p.contains({10, 10}, FillRule::EvenOdd));
    EXPECT_FALSE(p.contains({150, 50}, FillRule::NonZero));
    EXPECT_FALSE(p.contains({NAN, 50}));
}

TEST(Path, OppositeWindingCutsAHoleUnderNonZero) {
    Path p;
    p.addArc({50, 50}, 40, 0, 2 * pi, ArcDirection::IncreasingAngle);
    p.close();
    p.moveTo({70, 50});
    p.addArc({50, 50}, 20, 0, -2 * pi, ArcDirection::DecreasingAngle);
    p.close();
    EXPECT_FALSE(p.contains({50, 50}, FillRule::NonZero));
    EXPECT_TRUE(p.contains({50, 15}, FillRule::NonZero));
}

TEST(Path, OpenSubpathsAreClosedForContainment) {
    Path p;
    p.moveTo({0, 0});
    p.lineTo({100, 0});
    p.lineTo({0, 100});
    EXPECT_TRUE(p.contains({10, 10}));
    EXPECT_FALSE(p.contains({80, 80}));
}

TEST(Path, ArcAngleConvention) {
    // Angle 0 is +x; increasing angles run towards +y, which is clockwise on the y-down screen.
    Path p;
    p.addArc({100, 100}, 50, 0, pi / 2, ArcDirection::IncreasingAngle);
    EXPECT_THAT(p.points().front(), PointNear({150, 100}));
    EXPECT_THAT(p.currentPoint(), PointNear({100, 150}));
    Rect b = p.bounds();
    EXPECT_NEAR(b.x(), 100, 1e-6);
    EXPECT_NEAR(b.y(), 100, 1e-6);
    EXPECT_NEAR(b.width(), 50, 1e-6);
    EXPECT_NEAR(b.height(), 50, 1e-6);

    // Decreasing from 0 to π/2 goes the long way round (three quarters).
    Path q;
    q.addArc({0, 0}, 10, 0, pi / 2, ArcDirection::DecreasingAngle);
    EXPECT_THAT(q.currentPoint(), PointNear({0, 10}));
    EXPECT_NEAR(q.bounds().width(), 20, 1e-6);
    EXPECT_NEAR(q.bounds().y(), -10, 1e-6);

    // The arc's points stay on the circle.
    for (const auto& poly : p.flattened(0.01))
        for (Point pt : poly.points) EXPECT_NEAR(std::hypot(pt.x - 100, pt.y - 100), 50, 0.02);
}

TEST(Path, ArcJoinsTheCurrentPointWithALine) {
    Path p;
    p.moveTo({0, 0});
    p.addArc({50, 0}, 10, pi, 2 * pi);
    ASSERT_GE(p.verbs().size(), 2u);
    EXPECT_EQ(p.verbs()[1], Path::Verb::Line);
    EXPECT_THAT(p.points()[1], PointNear({40, 0}));
}

TEST(Path, HugeOrBadArcSweepsStayBounded) {
    Path p;
    p.addArc({0, 0}, 10, 0, 1e9);
    EXPECT_LT(p.verbs().size(), 20u);
    Path q;
    q.addArc({0, 0}, 10, 0, NAN);
    q.addArc({NAN, 0}, 10, 0, 1);
    EXPECT_TRUE(q.isEmpty());
}

TEST(Path, EllipseAndQuadBounds) {
    Path e;
    e.addEllipse({45, 47, 10, 6});
    Rect b = e.bounds();
    EXPECT_NEAR(b.x(), 45, 1e-3);
    EXPECT_NEAR(b.y(), 47, 1e-3);
    EXPECT_NEAR(b.width(), 10, 1e-3);
    EXPECT_NEAR(b.height(), 6, 1e-3);
    EXPECT_TRUE(e.contains({50, 50}));
    EXPECT_FALSE(e.contains({45.5, 47.5}));  // corner of the box, outside the ellipse

    Path q;
    q.moveTo({0, 0});
    q.quadTo({10, 20}, {20, 0});  // peak at t = 1/2: y = 10, not the control point's 20
    EXPECT_NEAR(q.bounds().height(), 10, 1e-3);
}

TEST(Path, TransformedMovesEveryPoint) {
    Path p;
    p.addRect({1, 2, 3, 4});
    Path t = p.transformed(AffineTransform::scale(2, 2).concat(AffineTransform::translation(10, 0)));
    Rect b = t.bounds();
    EXPECT_EQ(b, Rect(12, 4, 6, 8));
}
