#include <gtest/gtest.h>

#include "OmbriChart/KivoChartLineMarker.h"
#include "OmbriChart/KivoChartMarkerBaseView.h"
#include "Platform/testing/touches.h"
#include "Platform/ui/gestures.h"
#include "touch_fixture.h"

namespace {

using State = plat::GestureRecognizerState;

class NoRender : public IKivoChartMarkerRender {
public:
    void renderMarker() override {}
};

}  // namespace

class ChartPanZoomTest : public TouchChartTest {
protected:
    void SetUp() override {
        TouchChartTest::SetUp();
        chart->legend()->setPosition(KivoAxisPositionNone);
        chart->setChartType(OmbriChartTypeLine);
        chart->setBindingX("x");
        setItems({10, 20, 30, 40, 50, 60, 70, 80}, {}, {0, 1, 2, 3, 4, 5, 6, 7});
        add("sales");
        draw();
    }
    double width(const KivoAxis& axis) const { return axis.axrect()->width(); }
    double height(const KivoAxis& axis) const { return axis.axrect()->height(); }
    bool panHears() { return OmbriChartTestAccess::panShouldReceiveTouch(*chart); }
};

TEST_F(ChartPanZoomTest, ThePanHearsTouchesOnlyWithSomethingToScrollOrDrag) {
    const auto& marker = chart->lineMarker();
    EXPECT_FALSE(panHears());
    marker->setIsVisible(true);
    EXPECT_TRUE(panHears());
    marker->setInteraction(KivoChartMarkerInteractionNone);
    EXPECT_FALSE(panHears());
    marker->setInteraction(KivoChartMarkerInteractionDrag);
    marker->setIsVisible(false);
    EXPECT_FALSE(panHears());

    chart->axisY()->setScale(0.5);
    EXPECT_TRUE(panHears());
    chart->axisY()->setScale(1);
    auto added = KivoAxis::create(KivoAxisPositionRight, chart);
    added->setScale(0.5);
    OmbriChartTestAccess::axesArray(*chart).push_back(added);
    EXPECT_TRUE(panHears());
    OmbriChartTestAccess::axesArray(*chart).clear();
    EXPECT_FALSE(panHears());

    // The tap and the pinch hear every touch; the pan's answer reaches the window's arena: a drag over
    // a chart with nothing to scroll leaves the axes as they were.
    OmbriChartTestAccess::axesArray(*chart) = {chart->axisX(), chart->axisY()};
    const double before = chart->axisX()->scrollPosition();
    plat::testing::Touches(window).drag({200, 150}, {100, 150});
    EXPECT_EQ(chart->axisX()->scrollPosition(), before);
}

TEST_F(ChartPanZoomTest, APanScrollsEachZoomedAxisAlongItsOwnDirection) {
    for (const bool rotated : {false, true}) {
        chart->setRotated(rotated);
        draw();
        auto& x = *chart->axisX();
        auto& y = *chart->axisY();
        x.setScale(0.5);
        y.setScale(0.25);
        x.setScrollPosition(0.5);
        y.setScrollPosition(0.5);
        OmbriChartTestAccess::scrollBy(*chart, 10, 6);
        EXPECT_DOUBLE_EQ(x.scrollPosition(), 0.5 - 10 / (width(x) / 0.5 - width(x))) << rotated;
        EXPECT_DOUBLE_EQ(y.scrollPosition(), 0.5 + 6 / (height(y) / 0.25 - height(y))) << rotated;

        // An axis at scale 1 has no step; the other still scrolls.
        x.setScale(1);
        const double xBefore = x.scrollPosition();
        OmbriChartTestAccess::scrollBy(*chart, 10, -6);
        EXPECT_EQ(x.scrollPosition(), xBefore) << rotated;
        EXPECT_DOUBLE_EQ(y.scrollPosition(), 0.5) << rotated;

        // Positions stay within 0…1.
        OmbriChartTestAccess::scrollBy(*chart, 0, 1e6);
        EXPECT_EQ(y.scrollPosition(), 1) << rotated;
        OmbriChartTestAccess::scrollBy(*chart, 0, -1e6);
        EXPECT_EQ(y.scrollPosition(), 0) << rotated;
        y.setScale(1);
    }
}

TEST_F(ChartPanZoomTest, AddedAxesScrollWhenZoomed) {
    auto added = KivoAxis::create(KivoAxisPositionRight, chart);
    added->setAxisName("right");
    OmbriChartTestAccess::axesArray(*chart).push_back(added);
    auto second = add("cost");
    second->setAxisYname("right");
    draw();
    ASSERT_TRUE(added->axrect());
    added->setScale(0.5);
    added->setScrollPosition(0.5);
    OmbriChartTestAccess::scrollBy(*chart, 0, 8);
    EXPECT_DOUBLE_EQ(added->scrollPosition(), 0.5 + 8 / (height(*added) / 0.5 - height(*added)));
    EXPECT_EQ(chart->axisX()->scrollPosition(), 0);  // the primary axes are not zoomed
}

TEST_F(ChartPanZoomTest, ADragScrollsByItsLengthOnceTheTranslationIsTakenEachTime) {
    auto& x = *chart->axisX();
    x.setScale(0.5);
    x.setScrollPosition(1);
    plat::testing::Touches(window).drag({250, 150}, {210, 150});
    // The pan begins after a few points of movement: at most the whole 40 points are scrolled.
    const double perPoint = 1 / (width(x) / 0.5 - width(x));
    EXPECT_LE(1 - x.scrollPosition(), 0);  // dragged left: towards the end, already at 1
    x.setScrollPosition(0.5);
    plat::testing::Touches(window).drag({250, 150}, {290, 150});
    const double moved = 0.5 - x.scrollPosition();
    EXPECT_GT(moved, 25 * perPoint);
    EXPECT_LE(moved, 40 * perPoint + 1e-12);
}

TEST_F(ChartPanZoomTest, APinchZoomsOnlyBeyondTheThresholds) {
    chart->setZoomMode(KivoZoomModeXY);
    struct Case {
        double g;
        bool zooms;
    };
    // From a scale of 0.5: zooming in (g > 1) needs a change above 0.002, out above 0.0002.
    const Case cases[] = {{1.001, false}, {1.005, true}, {1 / 1.0003, false}, {1 / 1.001, true}};
    for (const auto& c : cases) {
        chart->axisX()->setScale(0.5);
        chart->axisY()->setScale(0.5);
        OmbriChartTestAccess::zoomBy(*chart, State::Changed, 100, 100, c.g);
        EXPECT_EQ(chart->axisX()->scale() != 0.5, c.zooms) << c.g;
        EXPECT_EQ(chart->axisY()->scale() != 0.5, c.zooms) << c.g;
        if (c.zooms) {
            EXPECT_DOUBLE_EQ(chart->axisX()->scale(), 0.5 / c.g);
        }
    }
}

TEST_F(ChartPanZoomTest, APinchKeepsToTheModeAndToAxesWithoutACrossing) {
    chart->setZoomMode(KivoZoomModeX);
    OmbriChartTestAccess::zoomBy(*chart, State::Began, 100, 100, 2);
    EXPECT_DOUBLE_EQ(chart->axisX()->scale(), 0.5);
    EXPECT_EQ(chart->axisY()->scale(), 1);
    EXPECT_DOUBLE_EQ(chart->axisX()->gestureProportion(), 100 / width(*chart->axisX()));
    OmbriChartTestAccess::zoomBy(*chart, State::Changed, 100, 100, 1.5);
    EXPECT_EQ(chart->axisX()->gestureProportion(), 0.5);
    OmbriChartTestAccess::zoomBy(*chart, State::Ended, 100, 100, 1.5);
    EXPECT_EQ(chart->axisX()->gestureProportion(), 0.0);

    chart->setZoomMode(KivoZoomModeY);
    chart->axisX()->setOrigin(3);  // the other axis crosses at a value: no zoom
    OmbriChartTestAccess::zoomBy(*chart, State::Began, 100, 100, 2);
    EXPECT_EQ(chart->axisY()->scale(), 1);
    chart->axisX()->setOrigin(NAN);
    OmbriChartTestAccess::zoomBy(*chart, State::Began, 100, 100, 2);
    EXPECT_DOUBLE_EQ(chart->axisY()->scale(), 0.5);
    EXPECT_DOUBLE_EQ(chart->axisY()->gestureProportion(), 1 - 100 / height(*chart->axisY()));

    chart->setZoomMode(KivoZoomModeNone);
    OmbriChartTestAccess::zoomBy(*chart, State::Began, 100, 100, 2);
    EXPECT_DOUBLE_EQ(chart->axisY()->scale(), 0.5);
}

TEST_F(ChartPanZoomTest, EachPinchCallbackCarriesTheChangeSinceTheLastOne) {
    chart->setZoomMode(KivoZoomModeX);
    std::vector<double> scales;
    chart->pinchRecognizer()->addTarget(
        [&](plat::GestureRecognizer& r) { scales.push_back(static_cast<plat::PinchGestureRecognizer&>(r).scale()); });
    plat::testing::Touches(window).pinch({200, 150}, 40, 120);
    ASSERT_FALSE(scales.empty());
    for (const double s : scales) EXPECT_EQ(s, 1.0);
    // Spread to three times the distance: about a third of the axis shows (each callback applied).
    EXPECT_LT(chart->axisX()->scale(), 0.5);
}
