#include <gtest/gtest.h>

#include "OmbriChart/OmbriChart.h"
#include "Platform/testing/archives.h"

namespace {

#define SAME(getter) PLAT_SAME_GETTER(OmbriChart, getter)

TEST(ChartCoding, AChartFromAnInterfaceFileStartsAsFromAFrame) {
    plat::testing::expectSameAsFromFrame<OmbriChart>(
        "OmbriChart", {10, 20, 400, 300},
        {SAME(chartType),
         SAME(bindingX),
         SAME(selectionMode),
         SAME(borderColor),
         SAME(borderWidth),
         SAME(plotAreaBackgroundColor),
         SAME(header),
         SAME(footer),
         SAME(count),
         SAME(stacking),
         SAME(symbolSize),
         SAME(interpolateNulls),
         SAME(rotated),
         SAME(zoomMode),
         SAME(isAnimated),
         SAME(isChartUpdate),
         SAME(isAllSeriesHidden),
         SAME(xDataType),
         SAME(isReallyRotated),
         SAME(maxItemsVisible),
         SAME(beginPlotElementLoading),
         SAME(isHandleXFPlotElementLoading),
         SAME(isSeriesCollectionUpdated),
         SAME(isCollectionViewUpdated),
         SAME(prevAxisXMin),
         SAME(prevAxisXMax),
         SAME(prevAxisYMin),
         SAME(prevAxisYMax),
         // Parts made by the initialiser: present on both, holding as much.
         {"axes", [](const OmbriChart& a, const OmbriChart& b) { return !a.axisX() == !b.axisX() && !a.axisY() == !b.axisY(); }},
         {"series", [](const OmbriChart& a, const OmbriChart& b) { return a.series()->count() == b.series()->count(); }},
         {"annotations",
          [](const OmbriChart& a, const OmbriChart& b) { return a.annotations()->count() == b.annotations()->count(); }}});
}

TEST(ChartCoding, AnArchiveWithABadKeyIsRefused) { plat::testing::expectBadKeysRefused("OmbriChart"); }

}  // namespace
