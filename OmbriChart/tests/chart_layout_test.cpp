#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KivoCore/KivoDataType.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "chart_test_access.h"
#include "test_chart.h"

namespace {

// What an axis band needs around its ticks when it shows no labels: a Y band 8 (label gaps and
// padding), an X band 2.
constexpr double YBandExtra = 8, XBandExtra = 2;

// Makes an axis measure exactly `thickness`: no labels, and a tick that takes the rest.
void measureAs(const std::shared_ptr<KivoAxis>& axis, double thickness) {
    axis->setLabelsVisible(false);
    axis->setMajorTickLength(thickness - (axis->axisType() == KivoAxisTypeY ? YBandExtra : XBandExtra));
}

std::string describe(const std::shared_ptr<KivoRect>& r) {
    if (!r) return "nil";
    return std::to_string(r->left()) + ", " + std::to_string(r->top()) + ", " + std::to_string(r->width()) + " x " +
           std::to_string(r->height());
}

std::string describe(double l, double t, double w, double h) { return describe(KivoRect::create(l, t, w, h)); }

class ChartLayoutTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    std::shared_ptr<TestChart> chart = TestChart::create();
    std::shared_ptr<IKivoRenderEngine> engine = chart->renderEngine();
    std::shared_ptr<KivoAxis> x = chart->axisX();
    std::shared_ptr<KivoAxis> y = chart->axisY();

    void SetUp() override {
        measureAs(x, 20);
        measureAs(y, 30);
    }
    std::shared_ptr<KivoAxis> addAxis(std::int64_t position, double thickness, bool usedBySeries = true) {
        auto axis = KivoAxis::create(position, chart);
        measureAs(axis, thickness);
        OmbriChartTestAccess::axesArray(*chart).push_back(axis);
        if (usedBySeries) {
            auto s = KivoSeries::create(chart, "v", "v");
            if (axis->axisType() == KivoAxisTypeY)
                s->setAxisY(axis);
            else
                s->setAxisX(axis);
            chart->series()->addObject(plat::Value(s));
        }
        return axis;
    }
    void layout(double l = 0, double t = 0, double w = 400, double h = 300) {
        chart->layout(KivoRect::create(l, t, w, h), engine);
    }
};

}  // namespace

TEST_F(ChartLayoutTest, AxesTakeTheirThicknessAroundThePlotArea) {
    layout();
    EXPECT_EQ(describe(chart->plotRect()), describe(30, 0, 370, 280));
    EXPECT_EQ(describe(x->axrect()), describe(30, 280, 370, 20));
    // A Y axis is handed its length in the width; its band reads in screen orientation.
    EXPECT_EQ(describe(y->axrect()), describe(0, 0, 30, 280));
    EXPECT_EQ(y->plotrect(), chart->plotRect());
    EXPECT_TRUE(x->desiredSize()->isEqual(KivoSize::create(400, 20)));
    EXPECT_TRUE(y->desiredSize()->isEqual(KivoSize::create(300, 30)));

    // No axis takes more than 30 % of the area across it.
    measureAs(x, 120);
    measureAs(y, 150);
    layout();
    EXPECT_EQ(describe(x->axrect()), describe(120, 210, 280, 90));
    EXPECT_EQ(y->desiredSize()->height(), 120);

    // The area's corner and the plot margin (top, left, bottom, right) move the plot area.
    measureAs(x, 20);
    measureAs(y, 30);
    chart->setPlotMargin({10, 5, 15, 25});
    layout(50, 40);
    EXPECT_EQ(describe(chart->plotRect()), describe(85, 50, 340, 255));
    EXPECT_EQ(describe(x->axrect()), describe(85, 305, 340, 20));
    EXPECT_EQ(describe(y->axrect()), describe(55, 50, 30, 255));

    // A margin larger than the area leaves a plot area of 1 by 1.
    chart->setPlotMargin({400, 400, 400, 400});
    layout();
    EXPECT_EQ(describe(chart->plotRect()), describe(430, 400, 1, 1));
}

TEST_F(ChartLayoutTest, FurtherAxesOnASideLieOutsideTheFirst) {
    auto bottom2 = addAxis(KivoAxisPositionBottom, 25);
    auto right = addAxis(KivoAxisPositionRight, 40);
    auto right2 = addAxis(KivoAxisPositionRight, 35);
    auto top = addAxis(KivoAxisPositionTop, 15);
    layout();
    EXPECT_EQ(describe(chart->plotRect()), describe(30, 15, 295, 240));
    EXPECT_EQ(describe(x->axrect()), describe(30, 255, 295, 20));
    EXPECT_EQ(describe(bottom2->axrect()), describe(30, 275, 295, 25));
    EXPECT_EQ(describe(right->axrect()), describe(325, 15, 40, 240));
    EXPECT_EQ(describe(right2->axrect()), describe(365, 15, 35, 240));
    EXPECT_EQ(describe(top->axrect()), describe(30, 0, 295, 15));
    EXPECT_EQ(chart->axesInUse().size(), 6u);
}

TEST_F(ChartLayoutTest, AnAxisOnNoSideTakesNoRoom) {
    // An X axis at the left of a chart drawn rotated, and one with no position at all.
    chart->setRotated(true);
    auto sideways = addAxis(KivoAxisPositionBottom, 25);
    sideways->setPosition(KivoAxisPositionLeft);
    ASSERT_EQ(sideways->axisType(), KivoAxisTypeX);
    ASSERT_EQ(sideways->position(), KivoAxisPositionLeft);
    auto nowhere = addAxis(KivoAxisPositionNone, 25);
    layout();
    EXPECT_EQ(describe(chart->plotRect()), describe(30, 0, 370, 280));
    EXPECT_EQ(describe(sideways->axrect()), describe(30, 0, 370, 1));
    EXPECT_EQ(describe(nowhere->axrect()), describe(30, 0, 370, 1));
}

TEST_F(ChartLayoutTest, HalfTheWidestLabelStaysFreeAtTheEnds) {
    // An X axis whose widest label is about 70 wide, a Y axis that takes no room: the plot keeps half
    // that label free at its left and right.
    chart->setAxesArray({x, KivoAxis::create(KivoAxisPositionNone, chart)});
    x->setLabelsVisible(true);
    x->updateActualLimits(KivoDataTypeString, 0, 1, {"a", "A wide label"}, nullptr);
    layout();
    const double half = x->annoSize()->width() / 2;
    EXPECT_GT(half, 20);
    EXPECT_EQ(describe(chart->plotRect()), describe(half, 0, 400 - 2 * half, 300 - x->desiredSize()->height()));

    // A margin wider than the overhang wins; the overhang of a Y axis is half its label's width too,
    // kept free at the top and bottom.
    chart->setPlotMargin({0, 2 * half, 0, 0});
    chart->setAxesArray({x, y});
    y->setLabelsVisible(true);
    y->updateActualLimits(KivoDataTypeString, 0, 1, {"Another label"}, nullptr);
    layout();
    const double yHalf = y->annoSize()->width() / 2;
    EXPECT_DOUBLE_EQ(chart->plotRect()->left(), 2 * half + y->desiredSize()->height());
    EXPECT_DOUBLE_EQ(chart->plotRect()->right(), 400 - half);
    EXPECT_DOUBLE_EQ(chart->plotRect()->top(), yHalf);
}

TEST_F(ChartLayoutTest, TheFirstPassKeepsTheAxesInUse) {
    EXPECT_EQ(chart->count(), 0);
    EXPECT_TRUE(chart->axisArr().empty());
    auto unused = addAxis(KivoAxisPositionRight, 40, false);
    layout();
    EXPECT_EQ(chart->count(), 1);
    EXPECT_EQ(chart->axisArr(), (OmbriChart::AxisList{x, y}));  // an axis no series uses is not in use
    EXPECT_FALSE(unused->axrect());

    auto used = addAxis(KivoAxisPositionLeft, 40);
    layout();
    EXPECT_EQ(chart->count(), 2);
    EXPECT_EQ(chart->axisArr(), (OmbriChart::AxisList{x, y}));
    EXPECT_EQ(chart->axesInUse(), (OmbriChart::AxisList{x, y, used}));
    EXPECT_EQ(chart->getActualAxesArray(), chart->axesInUse());
}
