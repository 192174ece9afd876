#include <gtest/gtest.h>

#include "ChartCore/OmbriChartBase.h"
#include "Platform/testing/archives.h"

namespace {

#define SAME(getter) PLAT_SAME_GETTER(OmbriChartBase, getter)

TEST(ChartBaseCoding, AChartBaseFromAnInterfaceFileStartsAsFromAFrame) {
    plat::testing::expectSameAsFromFrame<OmbriChartBase>(
        "OmbriChartBase", {0, 0, 300, 200},
        {SAME(binding), SAME(bindingX), SAME(chartType), SAME(selectionMode), SAME(selectedBorderColor),
         SAME(selectedBorderWidth), SAME(legendToggle), SAME(isSeriesVisibilityAnimation), SAME(textColor), SAME(borderColor),
         SAME(borderWidth), SAME(plotAreaBackgroundColor), SAME(header), SAME(footer), SAME(headerTextColor),
         SAME(footerTextColor)});
}

TEST(ChartBaseCoding, AnArchiveWithABadKeyIsRefused) { plat::testing::expectBadKeysRefused("OmbriChartBase"); }

}  // namespace
