#include <gtest/gtest.h>

#include "OmbriChart/KivoChartHitTestInfo.h"
#include "OmbriChart/OmbriChartOptions.h"
#include "Platform/testing/virtual_clock.h"
#include "test_chart.h"

TEST(ChartRecords, ANewHitTestResultHasAnEmptyDataPointAndNothingFound) {
    plat::testing::VirtualClock clock;
    auto chart = TestChart::create();
    const auto info = KivoChartHitTestInfo::create(chart, 12, 34);
    EXPECT_EQ(info->chart(), chart);
    EXPECT_EQ(info->x(), 12);
    EXPECT_EQ(info->y(), 34);
    ASSERT_TRUE(info->dataPoint());
    EXPECT_EQ(info->dataPoint()->seriesIndex(), -1);
    EXPECT_EQ(info->chartElement(), KivoChartElementPlotArea);
    EXPECT_FALSE(info->annotation() || info->area() || info->series());
    // A data point made on its own starts at zero.
    EXPECT_EQ(KivoChartDataPoint::create()->seriesIndex(), 0);
}

TEST(ChartRecords, OptionsAreSinglePrecisionAndEverySetRedraws) {
    plat::testing::VirtualClock clock;
    auto chart = TestChart::create();
    const auto& options = chart->options();
    EXPECT_EQ(options->groupWidth(), 0.7f);
    EXPECT_NE(static_cast<double>(options->groupWidth()), 0.7);
    EXPECT_EQ(options->candleWidth(), 0.7f);
    EXPECT_EQ(options->bubbleMinSize(), 5.0f);
    EXPECT_EQ(options->bubbleMaxSize(), 30.0f);
    chart->invalidates = 0;
    options->setGroupWidth(options->groupWidth());
    options->setBubbleMaxSize(40);
    EXPECT_EQ(chart->invalidates, 2);
}
