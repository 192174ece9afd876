#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "foundation/saturating_cast.h"

using plat::detail::saturatingCast;

TEST(SaturatingCast, DoublesOutsideTheRangeClampAndNaNIsZero) {
    using I64 = std::numeric_limits<std::int64_t>;
    using I32 = std::numeric_limits<std::int32_t>;
    const double inf = std::numeric_limits<double>::infinity();
    const double belowTwoTo63 = std::nextafter(9223372036854775808.0, 0.0);
    struct Case {
        double value;
        std::int64_t as64;
        std::int32_t as32;
        std::uint8_t asByte;
    };
    const Case cases[] = {
        {3.9, 3, 3, 3},
        {-3.9, -3, -3, 0},
        {std::nan(""), 0, 0, 0},
        {inf, I64::max(), I32::max(), 255},
        {-inf, I64::min(), I32::min(), 0},
        {1e19, I64::max(), I32::max(), 255},
        {9223372036854775808.0, I64::max(), I32::max(), 255},
        {belowTwoTo63, static_cast<std::int64_t>(belowTwoTo63), I32::max(), 255},
        {-9223372036854775808.0, I64::min(), I32::min(), 0},
        {2147483647.5, 2147483647, I32::max(), 255},
        {-2147483648.5, -2147483648, I32::min(), 0},
        {255.99, 255, 255, 255},
        {256.0, 256, 256, 255},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(saturatingCast<std::int64_t>(c.value), c.as64) << c.value;
        EXPECT_EQ(saturatingCast<std::int32_t>(c.value), c.as32) << c.value;
        EXPECT_EQ(saturatingCast<std::uint8_t>(c.value), c.asByte) << c.value;
    }
    EXPECT_EQ(saturatingCast<std::uint64_t>(1.8446744073709552e19), std::numeric_limits<std::uint64_t>::max());
}
