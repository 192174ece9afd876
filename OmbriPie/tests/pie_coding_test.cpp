#include <gtest/gtest.h>

#include "OmbriPie/OmbriPie.h"
#include "Platform/testing/archives.h"

namespace {

#define SAME(getter) PLAT_SAME_GETTER(OmbriPie, getter)

TEST(PieCoding, APieFromAnInterfaceFileStartsAsFromAFrame) {
    plat::testing::expectSameAsFromFrame<OmbriPie>(
        "OmbriPie", {0, 0, 320, 240},
        {SAME(startAngle), SAME(offset), SAME(innerRadius), SAME(sliceBorderWidth), SAME(selectedItemOffset), SAME(reversed),
         SAME(isAnimated), SAME(rotation), SAME(isUpdateAnimated), SAME(selectedIndex), SAME(selectedItemPosition), SAME(scale),
         SAME(radius), SAME(borderColor), SAME(borderWidth), SAME(header), SAME(footer)});
}

TEST(PieCoding, AnArchiveWithABadKeyIsRefused) { plat::testing::expectBadKeysRefused("OmbriPie"); }

}  // namespace
