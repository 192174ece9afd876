#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "OmbriPie/OmbriPie.h"
#include "control/PieMaskPaths.h"
#include "pie_access.h"

namespace {

constexpr double Pi = std::numbers::pi;

// The point at distance `d` along the pie angle `a` from (100, 100).
plat::Point at(double d, double a) { return {100 - d * std::cos(a), 100 - d * std::sin(a)}; }

}  // namespace

TEST(PieMaskPaths, TheRingCoversFromTheInnerRadiusToTheOuterOneAllRound) {
    struct Case {
        double inner, outer;
    };
    for (const Case c : {Case{0, 50}, Case{20, 50}, Case{49, 50}}) {
        const plat::Path ring = kivo::pie::ringMaskPath(100, 100, c.inner, c.outer);
        const double between = (c.inner + c.outer) / 2;
        for (const double a : {0.3, Pi / 2, 2.0, 3 * Pi / 2, 5.5}) {
            for (const auto rule : {plat::FillRule::NonZero, plat::FillRule::EvenOdd}) {
                EXPECT_TRUE(ring.contains(at(between, a), rule)) << c.inner << " " << a;
                EXPECT_FALSE(ring.contains(at(c.outer + 1, a), rule)) << c.inner << " " << a;
                if (c.inner > 1) {
                    EXPECT_FALSE(ring.contains(at(c.inner - 1, a), rule)) << c.inner << " " << a;
                }
            }
        }
    }
    EXPECT_TRUE(kivo::pie::ringMaskPath(100, 100, 50, 50).isEmpty());
    EXPECT_TRUE(kivo::pie::ringMaskPath(100, 100, 60, 50).isEmpty());
}

TEST(PieMaskPaths, TheSectorCoversWhatTheGrowingSliceHasNotReachedAndAFullTurnTheDisc) {
    struct Case {
        double start, sweep;
    };
    for (const Case c : {Case{Pi / 2, Pi / 2}, Case{0, 0.5}, Case{Pi / 2, 1.5 * Pi}, Case{-1, 4}}) {
        const plat::Path cover = kivo::pie::sectorMaskPath(100, 100, 50, c.start, c.sweep);
        EXPECT_FALSE(cover.contains(at(25, c.start + c.sweep / 2))) << c.start << " " << c.sweep;
        EXPECT_TRUE(cover.contains(at(25, c.start + c.sweep + (2 * Pi - c.sweep) / 2))) << c.start << " " << c.sweep;
        EXPECT_FALSE(cover.contains(at(51, c.start - 0.1))) << c.start << " " << c.sweep;
    }
    for (const double sweep : {2 * Pi, 7.0}) {
        const plat::Path disc = kivo::pie::sectorMaskPath(100, 100, 40, 1, sweep);
        for (const double a : {0.0, 1.0, 4.0}) EXPECT_TRUE(disc.contains(at(39, a))) << sweep << " " << a;
        EXPECT_FALSE(disc.contains(at(41, 2)));
    }
}

TEST(PieMaskPaths, TheViewsRingReachesTheAnimationRadius) {
    auto pie = OmbriPie::create({0, 0, 200, 200});
    const auto& view = pie->pieControl();
    view->setAnimationRadius(80);
    const plat::Path ring = kivo::detail::PieTestAccess::piePath(*view, 100, 100, 30);
    EXPECT_TRUE(ring.contains(at(79, 1)));
    EXPECT_FALSE(ring.contains(at(81, 1)));
    EXPECT_FALSE(ring.contains(at(29, 1)));
    EXPECT_EQ(kivo::detail::PieTestAccess::piePath(*view, 100, 100, 30, 0.5, 1), kivo::pie::sectorMaskPath(100, 100, 30, 0.5, 1));
}
