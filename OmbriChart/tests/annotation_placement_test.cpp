// Where annotations stand: positions, the four attachments and unknown ones, time axes, anchors that
// cannot be placed, data-index anchors on columns, and the offset.

#include <cmath>

#include "OmbriChart/KivoChartImageAnnotation.h"
#include "Platform/graphics/image.h"
#include "annotation_fixture.h"

namespace {

using PlacementTest = AnnotationTest;

TEST_F(PlacementTest, PositionsPlaceTheBoxAroundTheAnchorUnknownOnesAsCenter) {
    standardChart();
    const auto box = addBox();
    box->setAttachment(-7);  // chart coordinates, no clip
    box->setPoint(KivoPoint::create(100, 50));
    const struct {
        std::int64_t position;
        double x, y;
    } cases[] = {{0, 80, 50}, {1, 80, 40}, {2, 60, 40}, {3, 100, 40}, {4, 80, 30}, {7, 80, 40}, {-1, 80, 40}};
    for (const auto& c : cases) {
        box->setPosition(c.position);
        draw();
        const auto* op = inkStroke();
        ASSERT_TRUE(op) << c.position;
        expectRectNear(op->bounds(), deviceRect(c.x, c.y, 40, 20), "position " + std::to_string(c.position));
    }
}

TEST_F(PlacementTest, AttachmentsConvertTheAnchorAndOnlyDataAnchorsAreClipped) {
    standardChart();
    const KivoRect plot = *chart->plotRect();
    const auto& ax = *chart->axisX();
    const auto& ay = *chart->axisY();
    const auto box = addBox();
    const plat::Rect plotDevice = deviceRect(plot.left(), plot.top(), plot.width(), plot.height());
    const struct {
        std::int64_t attachment;
        double px, py;    // the anchor point
        double cx, cy;    // where the box's centre stands, in chart coordinates
        bool clipped;
    } cases[] = {
        {0, 0, 0, plot.left(), plot.top(), false},  // the default: centred on the plot's corner
        {0, 30, 15, plot.left() + 30, plot.top() + 15, false},
        {1, 2, 25, ax.convert(2), ay.convert(25), true},
        {3, 0.5, 0.5, plot.left() + plot.width() / 2, plot.top() + plot.height() / 2, false},
        {9, 120, 70, 120, 70, false},
        {-1, 120, 70, 120, 70, false},
    };
    for (const auto& c : cases) {
        box->setAttachment(c.attachment);
        box->point()->setX(c.px);  // held, not copied: seen at the next drawing
        box->point()->setY(c.py);
        draw();
        const auto* op = inkStroke();
        ASSERT_TRUE(op) << c.attachment;
        expectRectNear(op->bounds(), deviceRect(c.cx - 20, c.cy - 10, 40, 20), "attachment " + std::to_string(c.attachment));
        const bool clippedToPlot = op->clip && std::fabs(op->clip->x() - plotDevice.x()) < 0.01 &&
                                   std::fabs(op->clip->width() - plotDevice.width()) < 0.01 &&
                                   std::fabs(op->clip->height() - plotDevice.height()) < 0.01;
        EXPECT_EQ(clippedToPlot, c.clipped) << c.attachment;
    }
}

TEST_F(PlacementTest, DataCoordinatesFollowTheRotationOfTheChart) {
    standardChart();
    const auto box = addBox(10, 10);
    box->setAttachment(KivoAnnotationAttachmentDataCoordinate);
    box->setPoint(KivoPoint::create(3, 100));
    draw();
    ASSERT_TRUE(inkStroke());
    expectRectNear(inkStroke()->bounds(), deviceRect(chart->axisX()->convert(3) - 5, chart->axisY()->convert(100) - 5, 10, 10));

    chart->setRotated(true);
    draw();
    ASSERT_TRUE(inkStroke());
    // 3 is the data X, on the vertical axis; 100 the value, on the horizontal one.
    expectRectNear(inkStroke()->bounds(), deviceRect(chart->axisX()->convert(100) - 5, chart->axisY()->convert(3) - 5, 10, 10));
}

TEST_F(PlacementTest, OnATimeAxisDataXCountsDaysInsideTheWindowAndSecondsOutside) {
    setSales({10, 40, 20, 30});
    chart->setBindingX("day");
    add("sales");
    draw();
    const auto& ax = *chart->axisX();
    ASSERT_TRUE(ax.isTimeAxis());
    const double lo = (ax.actualMin() - ax.actualDataMin()) / 86400, hi = (ax.actualMax() - ax.actualDataMin()) / 86400;
    ASSERT_LE(lo, 0);
    ASSERT_GT(hi, 2);
    const auto box = addBox(10, 10);
    box->setAttachment(KivoAnnotationAttachmentDataCoordinate);
    const double startX = ax.convert(ax.actualMin()), endX = ax.convert(ax.actualMax());
    const double secondDay = AnnotationDay0 + 86400;
    const struct {
        double x, expected;
    } cases[] = {{lo, startX}, {hi, endX}, {secondDay, ax.convert(secondDay)}};
    for (const auto& c : cases) {
        box->setPoint(KivoPoint::create(c.x, 20));
        draw();
        ASSERT_TRUE(inkStroke()) << c.x;
        EXPECT_NEAR(inkStroke()->bounds().x() + 5, device(c.expected, 0).x, 0.01) << c.x;
    }
}

TEST_F(PlacementTest, AnchorsThatCannotBePlacedDrawNothingAndKeepTheOldOutline) {
    standardChart();
    const auto box = addBox(10, 10);
    const struct {
        const char* what;
        std::int64_t attachment;
        double x;
        std::int32_t series, point;
    } cases[] = {
        {"NaN x", KivoAnnotationAttachmentDataCoordinate, NAN, 0, 0},
        {"series -1", KivoAnnotationAttachmentDataIndex, 0, -1, 0},
        {"series past the end", KivoAnnotationAttachmentDataIndex, 0, 2, 0},
        {"point past the end", KivoAnnotationAttachmentDataIndex, 0, 0, 4},
    };
    for (const auto& c : cases) {
        box->setAttachment(KivoAnnotationAttachmentAbsolute);
        box->setPoint(KivoPoint::create(20, 20));
        box->setSeriesIndex(0);
        box->setPointIndex(0);
        draw();
        const auto before = box->path();
        ASSERT_TRUE(before) << c.what;
        box->setAttachment(c.attachment);
        box->setPoint(KivoPoint::create(c.x, 20));
        box->setSeriesIndex(c.series);
        box->setPointIndex(c.point);
        draw();
        EXPECT_FALSE(inkStroke()) << c.what;
        EXPECT_EQ(box->path(), before) << c.what;
        EXPECT_FALSE(box->render(chart->renderEngine())) << c.what;
    }
}

TEST_F(PlacementTest, ADataIndexAnchorStandsOnItsSeriesBarAndKeepsTheValue) {
    standardChart();
    const auto box = addBox(10, 10);
    box->setAttachment(KivoAnnotationAttachmentDataIndex);
    box->setSeriesIndex(1);
    box->setPointIndex(2);
    draw();
    const auto drawn = bars(1);
    ASSERT_EQ(drawn.size(), 4u);
    const double barCentre = drawn[2].rect.left() + drawn[2].rect.width() / 2;
    ASSERT_NE(barCentre, sx(2));  // the second series' bar is off the category's centre
    ASSERT_TRUE(inkStroke());
    expectRectNear(inkStroke()->bounds(), deviceRect(barCentre - 5, sy(25) - 5, 10, 10));
}

TEST_F(PlacementTest, ADataIndexAnchorStandsOnALinePointNotTwiceItsHeight) {
    chart->setChartType(OmbriChartTypeLine);
    standardChart();
    const auto box = addBox(10, 10);
    box->setAttachment(KivoAnnotationAttachmentDataIndex);
    box->setPointIndex(2);
    draw();
    ASSERT_TRUE(inkStroke());
    expectRectNear(inkStroke()->bounds(), deviceRect(sx(2) - 5, sy(20) - 5, 10, 10));
}

TEST_F(PlacementTest, TheOffsetMovesEveryKindButAPolygonNotAttachedByIndex) {
    standardChart();
    auto image = std::make_shared<plat::Image>(4, 4);
    const auto text = addAnnotation<KivoChartTextAnnotation>();
    text->setText("Note");
    const auto rect = addAnnotation<KivoChartRectangleAnnotation>();
    const auto ellipse = addAnnotation<KivoChartEllipseAnnotation>();
    const auto line = addAnnotation<KivoChartLineAnnotation>();
    line->setEnd(KivoPoint::create(30, 30));
    const auto pic = addAnnotation<KivoChartImageAnnotation>();
    pic->setSource(image);
    const auto polygon = addAnnotation<KivoChartPolygonAnnotation>();
    polygon->setPoints({KivoPoint::create(0, 0), KivoPoint::create(20, 0), KivoPoint::create(10, 20)});
    const auto indexed = addAnnotation<KivoChartPolygonAnnotation>();
    indexed->setAttachment(KivoAnnotationAttachmentDataIndex);
    indexed->setPoints({KivoPoint::create(0, 0), KivoPoint::create(20, 0), KivoPoint::create(10, 20)});
    for (const auto& box : std::initializer_list<std::shared_ptr<KivoChartAnnotation>>{rect, ellipse, pic}) {
        box->setWidth(30);
        box->setHeight(20);
    }
    const struct {
        const char* what;
        std::shared_ptr<KivoChartAnnotation> annotation;
        bool moves;
    } cases[] = {{"text", text, true},       {"rectangle", rect, true},    {"ellipse", ellipse, true}, {"line", line, true},
                 {"image", pic, true},       {"polygon", polygon, false}, {"indexed polygon", indexed, true}};
    const auto outlines = [&] {
        std::vector<plat::Rect> out;
        for (const auto& c : cases) {
            EXPECT_TRUE(c.annotation->path()) << c.what;
            out.push_back(c.annotation->path() ? c.annotation->path()->bounds() : plat::Rect{});
        }
        return out;
    };
    draw();
    const auto before = outlines();
    for (const auto& c : cases) c.annotation->setOffset(KivoPoint::create(10, -5));
    draw();
    const auto after = outlines();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const double dx = cases[i].moves ? 10 : 0, dy = cases[i].moves ? -5 : 0;
        EXPECT_NEAR(after[i].x() - before[i].x(), dx, 1e-9) << cases[i].what;
        EXPECT_NEAR(after[i].y() - before[i].y(), dy, 1e-9) << cases[i].what;
    }
}

}  // namespace
