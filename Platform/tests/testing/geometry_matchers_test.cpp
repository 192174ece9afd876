#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "Platform/testing/geometry_matchers.h"

using plat::Point;
using plat::Rect;
using plat::Size;
using plat::testing::GeometryTolerance;
using plat::testing::PointNear;
using plat::testing::RectNear;
using plat::testing::SizeNear;

TEST(GeometryMatchers, AgreeWithinTheToleranceAndNameTheComponentThatIsOff) {
    EXPECT_THAT((Point{1 + GeometryTolerance / 2, 2}), PointNear({1, 2}));
    EXPECT_THAT((Point{1 + GeometryTolerance * 2, 2}), ::testing::Not(PointNear({1, 2})));
    EXPECT_THAT((Size{3, 4.05}), SizeNear({3, 4}, 0.1));
    EXPECT_THAT((Rect{0, 0, NAN, 1}), RectNear({0, 0, NAN, 1})) << "an undefined coordinate can be expected";
    EXPECT_THAT((Rect{0, 0, 1, 1}), ::testing::Not(RectNear({0, 0, NAN, 1})));

    ::testing::StringMatchResultListener why;
    EXPECT_FALSE(::testing::ExplainMatchResult(RectNear({10, 20, 30, 40}), Rect(10, 20, 30, 41), &why));
    EXPECT_EQ(why.str(), "height is off by 1");
    EXPECT_EQ(::testing::PrintToString(Rect(1, 2, 3, 4)), "(1, 2, 3 x 4)");
}
