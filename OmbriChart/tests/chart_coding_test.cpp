#include <gtest/gtest.h>

#include "OmbriChart/OmbriChart.h"
#include "Platform/testing/archives.h"

namespace {

#define SAME(getter) PLAT_SAME_GETTER(OmbriChart, getter)

TEST(ChartCoding, AChartFromAnInterfaceFileStartsAsFromAFrame) {
    plat::testing::expectSameAsFromFrame<OmbriChart>(
        "OmbriChart", {10, 20, 400, 300},
        {SAME(chartType), SAME(bindingX), SAME(selectionMode), SAME(borderColor), SAME(borderWidth),
         SAME(plotAreaBackgroundColor), SAME(header), SAME(footer), SAME(count), SAME(stacking), SAME(symbolSize),
         SAME(interpolateNulls), SAME(rotated), SAME(zoomMode), SAME(isAnimated), SAME(isChartUpdate), SAME(isAllSeriesHidden),
         SAME(xDataType)});
}

TEST(ChartCoding, AnArchiveWithABadKeyIsRefused) { plat::testing::expectBadKeysRefused("OmbriChart"); }

}  // namespace
