#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "Platform/runtime/ticks.h"

using plat::Ticks;
using namespace std::chrono_literals;

TEST(Ticks, SecondsBecomeTheNearestTickAndOutOfRangeValuesSaturate) {
    struct Case {
        double seconds;
        Ticks expected;
    };
    const Case cases[] = {
        {0.1, 100ms},
        {2e-9, 2ns},
        {0.4e-9, 0ns},
        {-0.25, -250ms},
        {1.7e9, Ticks(1'700'000'000'000'000'000)},
        // A date near today: the nearest tick to the double, not a multiple of 256 ns.
        {1704067200.25, Ticks(1'704'067'200'250'000'000)},
        {NAN, 0ns},
        {INFINITY, Ticks::max()},
        {1e300, Ticks::max()},
        {-INFINITY, Ticks::min()},
    };
    for (const Case& c : cases) EXPECT_EQ(plat::ticksFromSeconds(c.seconds), c.expected) << c.seconds;
}

TEST(Ticks, TicksBecomeSecondsAndMomentsNearTodayComeBackToTheirTick) {
    EXPECT_EQ(plat::secondsFromTicks(1500ms), 1.5);
    EXPECT_EQ(plat::secondsFromTicks(-1500ms), -1.5);
    const Ticks moment(1'704'067'200'125'000'000);
    EXPECT_EQ(plat::ticksFromSeconds(plat::secondsFromTicks(moment)), moment);
}
