#include <gtest/gtest.h>

#include "OmbriGauge/KivoBulletGraph.h"
#include "OmbriGauge/KivoLinearGauge.h"
#include "OmbriGauge/KivoRadialGauge.h"
#include "Platform/testing/archives.h"

namespace {

#define SAME(T, getter) PLAT_SAME_GETTER(T, getter)
#define GAUGE_GETTERS(T)                                                                                                    \
    SAME(T, value), SAME(T, min), SAME(T, max), SAME(T, origin), SAME(T, step), SAME(T, thickness), SAME(T, isReadOnly),    \
        SAME(T, isEnabled), SAME(T, showRanges), SAME(T, faceColor), SAME(T, faceBorderColor), SAME(T, faceBorderWidth),    \
        SAME(T, pointerColor), SAME(T, pointerThickness), SAME(T, showText), SAME(T, minFontSize), SAME(T, valueFontColor), \
        SAME(T, format), SAME(T, isAnimated), SAME(T, getAnimationDuration), SAME(T, scale)

TEST(GaugeCoding, GaugesFromAnInterfaceFileStartAsFromAFrame) {
    const plat::Rect frame{10, 10, 300, 60};
    plat::testing::expectSameAsFromFrame<KivoLinearGauge>("KivoLinearGauge", frame,
                                                          {GAUGE_GETTERS(KivoLinearGauge), SAME(KivoLinearGauge, direction)});
    plat::testing::expectSameAsFromFrame<KivoRadialGauge>("KivoRadialGauge", frame,
                                                          {GAUGE_GETTERS(KivoRadialGauge), SAME(KivoRadialGauge, startAngle),
                                                           SAME(KivoRadialGauge, sweepAngle), SAME(KivoRadialGauge, autoScale)});
    plat::testing::expectSameAsFromFrame<KivoBulletGraph>(
        "KivoBulletGraph", frame,
        {GAUGE_GETTERS(KivoBulletGraph), SAME(KivoBulletGraph, target), SAME(KivoBulletGraph, bad), SAME(KivoBulletGraph, good)});
}

// A gauge from an interface file has no gauge rectangle until its first layout pass, which takes
// the decoded frame, as a frame's initialiser does at once.
TEST(GaugeCoding, AGaugeFromAnInterfaceFileTakesItsRectangleFromTheLayoutPass) {
    const plat::Rect frame{10, 20, 200, 120};
    const auto fromFrame = KivoRadialGauge::create(frame);
    const auto fromCoder = plat::testing::decodeView<KivoRadialGauge>("KivoRadialGauge", frame);
    ASSERT_TRUE(fromCoder);
    EXPECT_FALSE(fromCoder->rectGauge());
    fromCoder->layoutIfNeeded();
    ASSERT_TRUE(fromCoder->rectGauge());
    EXPECT_EQ(fromCoder->rectGauge()->left(), fromFrame->rectGauge()->left());
    EXPECT_EQ(fromCoder->rectGauge()->top(), fromFrame->rectGauge()->top());
    EXPECT_EQ(fromCoder->rectGauge()->width(), fromFrame->rectGauge()->width());
    EXPECT_EQ(fromCoder->rectGauge()->height(), fromFrame->rectGauge()->height());
}

TEST(GaugeCoding, AnArchiveWithABadKeyIsRefused) {
    for (const char* cls : {"KivoLinearGauge", "KivoRadialGauge", "KivoBulletGraph"}) plat::testing::expectBadKeysRefused(cls);
}

}  // namespace
