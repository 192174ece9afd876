#include <gtest/gtest.h>

#include "OmbriChart/KivoChartLineMarker.h"
#include "OmbriChart/KivoChartMarkerBaseView.h"
#include "OmbriChart/XamarinChartMarkerRender.h"
#include "Platform/testing/touches.h"
#include "Platform/ui/gestures.h"
#include "touch_fixture.h"

namespace {

using State = plat::GestureRecognizerState;

class CountingRender : public IKivoChartMarkerRender {
public:
    int renders = 0;
    void renderMarker() override { ++renders; }
};

class MarkerDelegate : public OmbriChartDelegate {
public:
    int moves = 0;
    unsigned answeredMethods() const override { return LineMarkerPositionChanged; }
    void lineMarkerPositionChanged(const std::shared_ptr<OmbriChartBase>&) override { ++moves; }
};

}  // namespace

class LineMarkerTest : public TouchChartTest {
protected:
    std::shared_ptr<KivoChartLineMarker> marker;
    std::shared_ptr<CountingRender> render = std::make_shared<CountingRender>();

    void SetUp() override {
        TouchChartTest::SetUp();
        chart->legend()->setPosition(KivoAxisPositionNone);
        marker = chart->lineMarker();
    }
    // A line chart of x 0…4 drawn, with a visible marker and a 40 × 20 content.
    void lineChart(bool rotated = false) {
        chart->setChartType(OmbriChartTypeLine);
        chart->setBindingX("x");
        chart->setRotated(rotated);
        setItems({10, 20, 30, 40, 50}, {}, {0, 1, 2, 3, 4});
        add("sales");
        draw();
        showMarker();
    }
    void showMarker() {
        auto content = KivoChartMarkerBaseView::create(marker, {0, 0, 40, 20});
        content->setMarkerRender(render);
        marker->setContent(content);
        marker->setIsVisible(true);
    }
    // The view point of a drawn point (its hit area's centre).
    plat::Point pixelOf(std::int32_t series, std::int32_t point) const { return centreOf(series, point); }
    // Where the marker lines were drawn: the vertical line's x and the horizontal line's y.
    std::pair<double, double> drawnLines() const {
        double vx = NAN, hy = NAN;
        for (const auto* op : rec.strokes()) {
            if (op->color != KivoChartLineMarker::defaultLineColor()) continue;
            const auto b = op->bounds();
            if (b.width() < 1e-9) vx = b.x();
            if (b.height() < 1e-9) hy = b.y();
        }
        return {vx, hy};
    }
};

TEST_F(LineMarkerTest, ANewMarkerHasItsDefaults) {
    EXPECT_EQ(marker->chart(), chart);
    EXPECT_EQ(marker->lines(), KivoChartMarkerLinesVertical);
    EXPECT_EQ(marker->interaction(), KivoChartMarkerInteractionMove);
    EXPECT_EQ(marker->alignment(), KivoChartMarkerAlignmentRightBottom);
    EXPECT_FALSE(marker->dragContent());
    EXPECT_FALSE(marker->isVisible());
    EXPECT_TRUE(std::isnan(marker->horizontalPosition()) && std::isnan(marker->verticalPosition()));
    EXPECT_TRUE(std::isnan(marker->xPosition()) && std::isnan(marker->yPosition()));
    EXPECT_EQ(marker->seriesIndex(), 0);
    EXPECT_FALSE(marker->content());
    EXPECT_EQ(marker->horizontalLineWidth(), 3.0);
    EXPECT_EQ(marker->verticalLineWidth(), 3.0);
    EXPECT_EQ(marker->horizontalLineColor(), plat::Color::rgb255(127, 127, 127));
    EXPECT_EQ(marker->verticalLineColor(), plat::Color::rgb255(127, 127, 127));
    EXPECT_TRUE(marker->dataPoints().empty());
    EXPECT_TRUE(marker->positionChanged());
    EXPECT_TRUE(marker->firstShow());
    EXPECT_FALSE(marker->isShowXFContent());
}

TEST_F(LineMarkerTest, AHiddenOrInertMarkerDoesNotMoveAndIsNotShownByTheHost) {
    lineChart();
    auto host = KivoChartMarkerBaseView::create(marker, {0, 0, 40, 20});
    host->setMarkerRender(XamarinChartMarkerRender::create());
    marker->setContent(host);
    marker->setIsVisible(false);
    marker->setIsVisible(true);
    EXPECT_TRUE(marker->isShowXFContent());

    marker->setInteraction(KivoChartMarkerInteractionNone);
    marker->showAt(100, 100);
    EXPECT_FALSE(marker->isShowXFContent());
    EXPECT_TRUE(std::isnan(marker->xPosition()));

    // The host's content is flagged, never placed.
    marker->setInteraction(KivoChartMarkerInteractionMove);
    marker->showAt(100, 100);
    EXPECT_TRUE(marker->isShowXFContent());
    EXPECT_FALSE(marker->firstShow());
    EXPECT_FALSE(host->superview());

    marker->setIsVisible(false);
    EXPECT_FALSE(marker->isShowXFContent());
    marker->showAt(120, 100);
    EXPECT_NE(marker->xPosition(), 120);
}

TEST_F(LineMarkerTest, DraggingAHostsContentMovesTheMarkerByTheAlignment) {
    lineChart();
    auto host = KivoChartMarkerBaseView::create(marker, {100, 80, 40, 20});
    host->setMarkerRender(XamarinChartMarkerRender::create());
    chart->addSubview(host);
    marker->setContent(host);
    marker->setInteraction(KivoChartMarkerInteractionDrag);
    marker->setSeriesIndex(-1);
    marker->setLines(KivoChartMarkerLinesNone);  // no line to grab: only the content moves it
    struct Case {
        std::int64_t alignment;
        double x, y;
    };
    // A finger at (110, 85) on the content; alignments past 4 keep the point at the finger.
    const Case cases[] = {{1, 90, 75}, {2, 130, 75}, {3, 90, 95}, {4, 130, 95}, {9, 110, 85}};
    for (const auto& c : cases) {
        marker->setAlignment(c.alignment);
        OmbriChartTestAccess::_panLineMarker(*chart, State::Changed, 110, 85);
        EXPECT_EQ(marker->xPosition(), c.x) << c.alignment;
        EXPECT_EQ(marker->yPosition(), c.y) << c.alignment;
    }
}

TEST_F(LineMarkerTest, ItStaysAtTheTouchOrSnapsToItsSeries) {
    lineChart();
    const auto p = pixelOf(0, 2);
    marker->setSeriesIndex(-1);
    marker->showAt(p.x + 7, p.y - 30);
    EXPECT_EQ(marker->xPosition(), p.x + 7);
    EXPECT_EQ(marker->yPosition(), p.y - 30);
    ASSERT_EQ(marker->dataPoints().size(), 1u);
    EXPECT_EQ(marker->dataPoints()[0]->pointIndex(), 2);
    EXPECT_EQ(render->renders, 1);
    EXPECT_FALSE(marker->content()->isHidden());
    EXPECT_EQ(marker->content()->superview(), chart);

    marker->setSeriesIndex(0);
    marker->showAt(p.x + 7, p.y - 30);
    EXPECT_NEAR(marker->xPosition(), p.x, 1e-9);
    EXPECT_NEAR(marker->yPosition(), p.y, 1e-9);
    EXPECT_NEAR(marker->x(), 2, 1e-9);
    EXPECT_NEAR(marker->y(), 30, 1e-9);

    // No data points around (outside the chart): nothing moves, nothing is told.
    int raised = 0;
    marker->positionChanged()->addHandler([&](const std::shared_ptr<KivoEventContainer>&) { ++raised; }, nullptr);
    marker->showAt(-50, -50);
    EXPECT_NEAR(marker->xPosition(), p.x, 1e-9);
    EXPECT_EQ(raised, 0);
}

TEST_F(LineMarkerTest, SnappedLinesPassThroughThePointOnBarAndRotatedCharts) {
    struct Case {
        const char* name;
        std::int64_t type;
        bool rotated;
    };
    for (const auto& c : {Case{"bar", OmbriChartTypeBar, false}, Case{"rotated line", OmbriChartTypeLine, true}}) {
        chart->setChartType(c.type);
        chart->setRotated(c.rotated);
        chart->setBindingX("x");
        setItems({10, 20, 30, 40, 50}, {}, {0, 1, 2, 3, 4});
        add("sales");
        marker->setLines(KivoChartMarkerLinesBoth);
        showMarker();
        for (const double zoom : {1.0, 0.5}) {
            chart->axisX()->setScale(zoom);  // the value axis of both charts
            draw();
            const auto p = pixelOf(0, 1);
            // A touch near the point along the categories, off it across them.
            marker->showAt(p.x + 30, p.y + 3);
            draw();
            const auto [vx, hy] = drawnLines();
            // Across a rotated chart the point's pixel is its value's (a bar's end), down it the
            // category's middle.
            const double valuePixel = chart->dataToPoint(KivoPoint::create(20, 0))->x();
            EXPECT_NEAR(vx, valuePixel, 1e-6) << c.name << " " << zoom;
            EXPECT_NEAR(hy, p.y, 1e-6) << c.name << " " << zoom;
            const auto data = chart->pointToData(KivoPoint::create(marker->xPosition(), marker->yPosition()));
            EXPECT_EQ(marker->x(), data->x()) << c.name;
            EXPECT_EQ(marker->y(), data->y()) << c.name;
            EXPECT_NEAR(marker->x(), 20, 1e-9) << c.name << ": the value runs across a rotated chart";
        }
        chart->axisX()->setScale(1);
        chart->series()->removeAllObjects();
    }
}

TEST_F(LineMarkerTest, AFixedFractionHoldsTheLineOutOfRangeIsIgnoredNaNReleases) {
    lineChart();
    const auto& plot = *chart->plotRect();
    marker->setSeriesIndex(-1);
    marker->setHorizontalPosition(0.5);
    marker->showAt(plot.left() + 10, plot.top() + 20);
    EXPECT_DOUBLE_EQ(marker->xPosition(), plot.left() + plot.width() / 2);
    EXPECT_DOUBLE_EQ(marker->yPosition(), plot.top() + 20);
    marker->setSeriesIndex(0);  // snapping moves only the free coordinate
    marker->showAt(plot.left() + 10, plot.top() + 20);
    EXPECT_DOUBLE_EQ(marker->xPosition(), plot.left() + plot.width() / 2);
    EXPECT_NEAR(marker->yPosition(), pixelOf(0, 2).y, 1e-9);

    marker->setHorizontalPosition(1.5);
    EXPECT_EQ(marker->horizontalPosition(), 0.5);
    const double y = marker->yPosition();
    marker->setHorizontalPosition(NAN);
    EXPECT_TRUE(std::isnan(marker->horizontalPosition()));
    EXPECT_DOUBLE_EQ(marker->xPosition(), plot.left() + plot.width() / 2);  // released in place
    EXPECT_EQ(marker->yPosition(), y);
    marker->setSeriesIndex(-1);
    marker->showAt(plot.left() + 10, plot.top() + 20);
    EXPECT_EQ(marker->xPosition(), plot.left() + 10);
}

TEST_F(LineMarkerTest, TheContentGoesBesideThePointAndInsideThePlot) {
    chart->setPlotRect(KivoRect::create(0, 0, 200, 100));
    const auto size = KivoSize::create(40, 20);
    struct Case {
        std::int64_t alignment;
        std::int64_t lines;
        double x, y;
        double left, top;
    };
    // Both lines 3 wide: 1.5 of each stays clear. Content 40 × 20 in a 200 × 100 plot.
    const Case cases[] = {
        {1, 3, 100, 50, 101.5, 51.5},                              // right, below
        {1, 3, 190, 95, 148.5, 73.5},                              // flips left near the right edge, above near the bottom
        {2, 3, 100, 50, 58.5, 51.5},                               // left, below
        {2, 3, 10, 50, 11.5, 51.5},                                // flips right near the left edge
        {3, 3, 100, 50, 101.5, 28.5},                              // right, above
        {3, 3, 100, 10, 101.5, 11.5},                              // flips below near the top
        {4, 3, 100, 50, 58.5, 28.5},                               // left, above
        {0, 3, 100, 50, 101.5, 28.5},                              // placed as 3
        {1, 3, 0, 0, 3, 3},                                        // kept off the plot's corner by a line's width
        {1, 0, 100, 50, 100, 50},                                  // no lines: no half widths
        {4, 0, 100, 50, 60, 30},      {1, 1, 100, 50, 101.5, 50},  // only the vertical line
    };
    for (const auto& c : cases) {
        marker->setAlignment(c.alignment);
        marker->setLines(c.lines);
        marker->setPosition(c.x, c.y);
        const auto corner = marker->calculateContentPosition(size);
        EXPECT_DOUBLE_EQ(corner->x(), c.left) << c.alignment << " " << c.lines << " at " << c.x << ", " << c.y;
        EXPECT_DOUBLE_EQ(corner->y(), c.top) << c.alignment << " " << c.lines << " at " << c.x << ", " << c.y;
    }
}

TEST_F(LineMarkerTest, DraggingALineTakesABandOfHalfItsWidthAndTwentyFive) {
    lineChart();
    marker->setInteraction(KivoChartMarkerInteractionDrag);
    marker->setSeriesIndex(-1);
    marker->setVerticalLineWidth(5);
    const auto& plot = *chart->plotRect();
    const double x0 = plot.left() + 100, y = plot.top() + 50;
    marker->showAt(x0, y);
    const auto pan = [&](State state, double x) { OmbriChartTestAccess::_panLineMarker(*chart, state, x, y); };

    pan(State::Began, x0 + 27.6);  // beyond 2.5 + 25
    EXPECT_DOUBLE_EQ(marker->xPosition(), x0);
    pan(State::Began, x0 + 27.4);
    EXPECT_DOUBLE_EQ(marker->xPosition(), x0 + 27.4);
    pan(State::Changed, x0 + 150);  // the drag holds the line now
    EXPECT_DOUBLE_EQ(marker->xPosition(), x0 + 150);
    pan(State::Ended, x0 + 160);
    EXPECT_DOUBLE_EQ(marker->xPosition(), x0 + 160);
    pan(State::Began, x0 + 100);  // a new drag far from the line
    EXPECT_DOUBLE_EQ(marker->xPosition(), x0 + 160);
    pan(State::Began, x0 + 170);
    pan(State::Cancelled, x0 + 175);
    pan(State::Changed, x0 + 60);  // the cancelled drag holds nothing
    EXPECT_DOUBLE_EQ(marker->xPosition(), x0 + 175);
    pan(State::Changed, plot.right() + 5);  // outside the plot: nothing
    EXPECT_DOUBLE_EQ(marker->xPosition(), x0 + 175);
}

TEST_F(LineMarkerTest, TapsPlaceADraggedMarkerOnlyTheFirstTime) {
    lineChart();
    marker->setInteraction(KivoChartMarkerInteractionDrag);
    marker->setSeriesIndex(-1);
    const auto& plot = *chart->plotRect();
    plat::testing::Touches(window).tap({plot.left() + 30, plot.top() + 40});
    EXPECT_DOUBLE_EQ(marker->xPosition(), plot.left() + 30);
    EXPECT_FALSE(marker->firstShow());
    plat::testing::Touches(window).tap({plot.left() + 90, plot.top() + 40});
    EXPECT_DOUBLE_EQ(marker->xPosition(), plot.left() + 30);

    marker->setInteraction(KivoChartMarkerInteractionMove);
    plat::testing::Touches(window).tap({plot.left() + 90, plot.top() + 40});
    EXPECT_DOUBLE_EQ(marker->xPosition(), plot.left() + 90);
}

TEST_F(LineMarkerTest, DraggingTheContentKeepsThePointAtItsCorner) {
    lineChart();
    const auto& content = marker->content();
    const KivoPoint finger(150, 100);
    struct Case {
        std::int64_t alignment;
        double x, y;
    };
    const Case cases[] = {{0, 130, 90}, {1, 130, 90}, {2, 170, 90}, {3, 130, 110}, {4, 170, 110}, {7, 150, 100}};
    marker->setInteraction(KivoChartMarkerInteractionDrag);
    marker->setDragContent(true);
    for (const auto& c : cases) {
        marker->setAlignment(c.alignment);
        const auto target = content->dragTarget(finger);
        EXPECT_EQ(target.x(), c.x) << c.alignment;
        EXPECT_EQ(target.y(), c.y) << c.alignment;
    }
    // Otherwise the point follows the finger.
    marker->setDragContent(false);
    EXPECT_EQ(content->dragTarget(finger).x(), 150);

    // A real drag of the content moves the marker.
    marker->setInteraction(KivoChartMarkerInteractionMove);
    marker->setSeriesIndex(-1);
    const auto& plot = *chart->plotRect();
    marker->showAt(plot.left() + 50, plot.top() + 50);
    const auto frame = content->frame();
    plat::testing::Touches(window).drag({frame.midX(), frame.midY()}, {frame.midX() + 60, frame.midY() + 10});
    EXPECT_NEAR(marker->xPosition(), frame.midX() + 60, 1e-9);
}

TEST_F(LineMarkerTest, TheDelegateOrTheEventIsToldNeverBoth) {
    lineChart();
    int raised = 0;
    marker->positionChanged()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& c) {
            ++raised;
            EXPECT_EQ(c->sender(), marker);
        },
        nullptr);
    marker->showAt(150, 100);
    EXPECT_EQ(raised, 1);
    auto delegate = std::make_shared<MarkerDelegate>();
    chart->setDelegate(delegate);
    marker->showAt(160, 100);
    EXPECT_EQ(delegate->moves, 1);
    EXPECT_EQ(raised, 1);
}

TEST(LineMarkerLifetime, AChartLetGoLeavesNoMarkerContentOrRecogniserAlive) {
    plat::testing::VirtualClock clock;
    std::weak_ptr<OmbriChart> chartAlive;
    std::weak_ptr<KivoChartLineMarker> markerAlive;
    std::weak_ptr<plat::View> contentAlive;
    std::weak_ptr<plat::GestureRecognizer> panAlive, contentPanAlive;
    {
        auto chart = OmbriChart::create({0, 0, 300, 200});
        auto content = KivoChartMarkerBaseView::create(chart->lineMarker(), {0, 0, 40, 20});
        content->setMarkerRender(std::make_shared<CountingRender>());
        chart->lineMarker()->setContent(content);
        chart->addSubview(content);
        chartAlive = chart;
        markerAlive = chart->lineMarker();
        contentAlive = content;
        panAlive = chart->panRecognizer();
        contentPanAlive = content->panRecognizer();
    }
    EXPECT_TRUE(chartAlive.expired());
    EXPECT_TRUE(markerAlive.expired());
    EXPECT_TRUE(contentAlive.expired());
    EXPECT_TRUE(panAlive.expired());
    EXPECT_TRUE(contentPanAlive.expired());
}
