#include <gtest/gtest.h>

#include <cmath>

#include "ChartCore/KivoChartTooltip.h"
#include "KivoCore/KivoDataType.h"
#include "OmbriChart/KivoAxis.h"
#include "Platform/testing/virtual_clock.h"
#include "test_chart.h"

namespace {

constexpr double Day = KivoAxis::SecondsPerDay;
constexpr double Jan2024 = 1704067200;

class AxisZoomTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<TestChart> chart = TestChart::create();
    std::shared_ptr<KivoAxis> axis = chart->axisX();
    int rangeChanges = 0;

    void SetUp() override {
        axis->setRangeChanged(std::make_shared<KivoEvent>());
        axis->rangeChanged()->addHandler(KivoEventBlock([this](const std::shared_ptr<KivoEventContainer>&) { ++rangeChanges; }),
                                         chart);
    }
    void update(double lo, double hi, std::int64_t type = KivoDataTypeNumber) { axis->updateActualLimits(type, lo, hi); }
    void expectWindow(double lo, double hi) {
        EXPECT_DOUBLE_EQ(KivoAxis::objectToDouble(axis->min()), lo);
        EXPECT_DOUBLE_EQ(KivoAxis::objectToDouble(axis->max()), hi);
    }
};

}  // namespace

TEST_F(AxisZoomTest, ScaleCentresAWindowAndScrollingMovesIt) {
    update(0, 100);
    axis->setGestureProportion(0.5);
    axis->setScale(0.5);
    expectWindow(25, 75);
    EXPECT_EQ(axis->scrollPosition(), 0.5);
    EXPECT_EQ(axis->displayedRange(), 50);
    EXPECT_EQ(rangeChanges, 1);

    // The next pass shows the window.
    update(0, 100);
    EXPECT_EQ(axis->actualMin(), 25);
    EXPECT_EQ(axis->actualMax(), 75);

    axis->setScrollPosition(1);
    expectWindow(50, 100);
    EXPECT_EQ(rangeChanges, 2);
    EXPECT_TRUE(axis->hasLess());
    EXPECT_FALSE(axis->hasMore());
    axis->showLess();
    EXPECT_EQ(axis->scrollPosition(), 0.75);
    expectWindow(37.5, 87.5);

    // Unchanged values change nothing.
    axis->setScale(0.5);
    axis->setScrollPosition(0.75);
    EXPECT_EQ(rangeChanges, 3);
}

TEST_F(AxisZoomTest, ValuesAreClampedAndNaNIsIgnored) {
    struct Case {
        double scale, position;
        double expectedScale, expectedPosition;
    };
    const Case cases[] = {{2, 1.5, 1, 1}, {-1, -3, 0, 0}, {0.25, 0.5, 0.25, 0.5}, {NAN, NAN, 1, 0}};
    for (const auto& c : cases) {
        auto fresh = KivoAxis::create(KivoAxisPositionBottom, chart);
        fresh->updateActualLimits(KivoDataTypeNumber, 0, 100);
        fresh->setScale(c.scale);
        fresh->setScrollPosition(c.position);
        EXPECT_EQ(fresh->scale(), c.expectedScale) << c.scale;
        EXPECT_EQ(fresh->scrollPosition(), c.expectedPosition) << c.position;
        const double range = fresh->displayedRange();
        fresh->setDisplayedRange(NAN);
        EXPECT_EQ(fresh->displayedRange(), range);
    }
}

TEST_F(AxisZoomTest, ScrollToPlacesTheValueByItsAnchorAndKeepsIt) {
    update(0, 100);
    axis->setDisplayedRange(20);
    update(0, 100);
    expectWindow(0, 20);

    axis->scrollTo(80, KivoAxisScrollPositionEnd);
    expectWindow(60, 80);
    axis->scrollTo(50, KivoAxisScrollPositionCenter);
    expectWindow(40, 60);
    axis->scrollTo(500, KivoAxisScrollPositionStart);  // clamped into the data
    expectWindow(80, 100);

    // The anchor holds over later passes.
    axis->scrollTo(30, KivoAxisScrollPositionStart);
    update(0, 100);
    EXPECT_EQ(axis->actualMin(), 30);
    EXPECT_EQ(axis->actualMax(), 50);
}

TEST_F(AxisZoomTest, DisplayedRangeSetsTheScaleFromTheDataRange) {
    update(-10, 0);
    axis->setDisplayedRange(5);
    EXPECT_EQ(axis->scale(), 0.5);
    EXPECT_EQ(axis->scrollPosition(), 0);
    expectWindow(-10, 0);

    auto flat = KivoAxis::create(KivoAxisPositionBottom, chart);
    flat->updateActualLimits(KivoDataTypeNumber, 3, 3);
    flat->setDisplayedRange(5);
    EXPECT_EQ(flat->scale(), 1.0);
}

TEST_F(AxisZoomTest, ScrollPositionIsZeroWithoutAFreeSpanAndNeverNaN) {
    update(3, 3);  // no data range: no free span
    axis->setGestureProportion(0.5);
    axis->setScale(0.5);
    EXPECT_EQ(axis->scrollPosition(), 0);

    update(0, 100);
    axis->setScale(1);  // the window is all the data
    EXPECT_EQ(axis->scrollPosition(), 0);
    axis->scrollTo(60, KivoAxisScrollPositionCenter);
    EXPECT_EQ(axis->scrollPosition(), 0);
    EXPECT_FALSE(std::isnan(KivoAxis::objectToDouble(axis->min())));
}

TEST_F(AxisZoomTest, ScrollingAnUnzoomedAxisKeepsShowingAllItsData) {
    update(0, 100);
    axis->setScrollPosition(0.5);
    EXPECT_EQ(axis->scrollPosition(), 0.5);
    update(0, 100);
    EXPECT_EQ(axis->actualMin(), 0);
    EXPECT_EQ(axis->actualMax(), 100);
    EXPECT_FALSE(axis->hasMore());
    EXPECT_FALSE(axis->hasLess());
}

TEST_F(AxisZoomTest, AZeroWidthWindowScrollsLikeAnyZoomedWindow) {
    // Scale 0 counts as zoomed: the empty window still moves along the data.
    update(0, 100);
    axis->setScale(0);
    axis->setScrollPosition(1);
    expectWindow(100, 100);
    axis->setScrollPosition(0.25);
    expectWindow(25, 25);
}

TEST_F(AxisZoomTest, WithoutDataLimitsScaleIsStoredAndTakesEffectAtTheFirstPass) {
    axis->setScale(0.5);
    EXPECT_EQ(axis->scale(), 0.5);
    EXPECT_EQ(rangeChanges, 0);
    update(0, 100);
    EXPECT_EQ(axis->actualMin(), 0);
    EXPECT_EQ(axis->actualMax(), 50);
}

TEST_F(AxisZoomTest, ATimeAxisTurnsAGivenDisplayedRangeFromDaysIntoSecondsOnce) {
    update(Jan2024, Jan2024 + 30 * Day, KivoDataTypeDate);
    axis->setDisplayedRange(7);  // days
    for (int pass = 0; pass < 3; ++pass) {
        update(Jan2024, Jan2024 + 30 * Day, KivoDataTypeDate);
        EXPECT_DOUBLE_EQ(axis->displayedRange(), 7 * Day) << "pass " << pass;
        EXPECT_DOUBLE_EQ(axis->actualMax() - axis->actualMin(), 7 * Day) << "pass " << pass;
    }

    // A pinch below one day writes seconds: no later pass multiplies them.
    axis->setScale(0.01);
    const double pinched = axis->displayedRange();
    EXPECT_DOUBLE_EQ(pinched, 0.3 * Day);
    update(Jan2024, Jan2024 + 30 * Day, KivoDataTypeDate);
    update(Jan2024, Jan2024 + 30 * Day, KivoDataTypeDate);
    EXPECT_DOUBLE_EQ(axis->displayedRange(), pinched);
    EXPECT_DOUBLE_EQ(axis->actualMax() - axis->actualMin(), pinched);
}

TEST_F(AxisZoomTest, ACalibratedChangeHidesTheTooltip) {
    update(0, 100);
    const auto& content = chart->tooltip()->content();
    content->show();
    EXPECT_FALSE(axis->calibrateScale(1));  // unchanged
    EXPECT_TRUE(content->isVisible());
    EXPECT_TRUE(axis->calibrateScrollPosition(0.5));
    EXPECT_FALSE(content->isVisible());
}
